// The floppy formatter: a new disk of a multi-volume set gets a low-level
// format and an empty FAT12 file system. Windows NT formats through the disk
// I/O controls of the volume device, Windows 9x through the VWIN32 device
// (32-bit builds only). Every call goes through the drive services, so a
// drive can be simulated.
#pragma once

#include <windows.h>
#include <stdint.h>

#include "FloppyLayout.h"

// Drive 1-26 (0 = current); only A: and B: whose drive type is removable are
// formatted, whatever the command's options make count as removable. 1 on
// success, 0 on failure or cancel; the volume is always unlocked and closed.
int ZipFormatDrive(int drive, int lowDensity);
// Dismounts the drive between disks; 1 at once for split parts, 0 for drive
// numbers outside 1-26 and for a volume that cannot be opened.
int ZipDismountDrive(int drive);

// Shared by the two implementations.

// The volume "\\.\X:" opened for a format and locked; INVALID_HANDLE_VALUE
// when it cannot be opened. The close unlocks it.
HANDLE ZipOpenLockedVolume(int drive);
void ZipCloseLockedVolume(HANDLE volume);
// The drive a format acts on (0 = current drive), or 0 when it may not be
// formatted.
int ZipFormatTarget(int drive);
// The module's "BOOTSECTOR" resource of type "bootsector" (512 bytes) copied
// into out; 0 when the module carries none.
int ZipLoadBootSector(uint8_t out[FLOPPY_SECTOR_SIZE]);
// The serial number for a format made now.
uint32_t ZipFormatSerialNow(void);
// Per-item "Formatting Drive %c:..." and overall "Formatting Cylinder %d";
// 1 when the overall report asks to cancel.
int ZipFormatProgress(int drive, uint32_t cylinder, uint32_t cylinders);
// Overall "Initializing Media...".
void ZipFormatInitializing(void);

// The Windows NT implementation.
int ZipFormatDriveNt(int drive, int lowDensity);
#if defined(_WIN32) && !defined(_WIN64)
// The Windows 9x implementation.
int ZipFormatDrive9x(int drive, int lowDensity);
#endif
