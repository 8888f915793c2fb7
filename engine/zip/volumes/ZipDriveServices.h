// The drive services under the multi-volume layer and the floppy formatter:
// where a drive's root is, its type, free space, name length and label, and
// the raw-disk calls. They sit in one table so that a removable drive can be
// simulated: the system's table is in use unless a caller installs another.
#pragma once

#include <windows.h>
#include <stddef.h>
#include <stdint.h>

// Free space when the volume cannot tell.
const uint64_t ZIP_FREE_SPACE_UNKNOWN = 0x7FFFFFFFFFFFFFFFull;

struct ZipDriveServices {
  // "X:\" for drive 1-26.
  void (*driveRoot)(int drive, char *out, size_t capacity);
  // GetDriveTypeA of a root.
  UINT (*driveType)(const char *root);
  // Bytes available to the caller; ZIP_FREE_SPACE_UNKNOWN when unknown.
  uint64_t (*freeSpace)(const char *root);
  // Longest name component the volume takes; 0 when unknown.
  DWORD (*maxNameLength)(const char *root);
  BOOL (*setVolumeLabel)(const char *root, const char *label);
  // Raw disk: a device ("\\.\A:", "\\.\vwin32") opened with these flags,
  // its I/O controls, sector writes at a byte offset, and its close.
  HANDLE (*openDevice)(const char *name, DWORD access, DWORD share, DWORD flags);
  BOOL (*deviceControl)(HANDLE device, DWORD code, void *in, DWORD inSize, void *out, DWORD outSize,
                        DWORD *returned);
  BOOL (*writeAt)(HANDLE device, uint64_t offset, const void *bytes, DWORD length);
  BOOL (*closeDevice)(HANDLE device);
  // The label of the volume at a root into out (capacity bytes); FALSE when
  // the volume cannot tell.
  BOOL (*volumeLabel)(const char *root, char *out, size_t capacity);
};

// The table in use.
const ZipDriveServices &ZipDrive(void);
// The system's own table.
const ZipDriveServices &ZipSystemDriveServices(void);
// Puts a table in place of the system's for the whole process (null puts the
// system's back); the table must outlive its use.
void ZipInstallDriveServices(const ZipDriveServices *services);
