#include "ZipFormatter.h"

#include <windows.h>
#include <winioctl.h>
#include <stdio.h>
#include <string.h>

#include "../messages/ZipMessages.h"
#include "../messages/ZipProgress.h"
#include "../ZipCommand.h"
#include "../ZipState.h"
#include "ZipDrives.h"
#include "ZipDriveServices.h"

namespace {

enum { kFormattingDrive = 603, kFormattingCylinder = 604, kInitializingMedia = 606 };

bool Windows9x() {
  OSVERSIONINFOA version = {};
  version.dwOSVersionInfoSize = sizeof version;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
  BOOL known = GetVersionExA(&version);
#pragma GCC diagnostic pop
  return known && version.dwPlatformId == VER_PLATFORM_WIN32_WINDOWS;
}

}  // namespace

HANDLE ZipOpenLockedVolume(int drive) {
  char name[8];
  snprintf(name, sizeof name, "\\\\.\\%c:", 'A' + drive - 1);
  HANDLE volume = ZipDrive().openDevice(name, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                        FILE_FLAG_WRITE_THROUGH | FILE_FLAG_RANDOM_ACCESS);
  if (volume == INVALID_HANDLE_VALUE) return volume;
  DWORD returned;
  // A volume that cannot be locked is still formatted; the controls that
  // follow fail on their own when another program holds it.
  ZipDrive().deviceControl(volume, FSCTL_LOCK_VOLUME, nullptr, 0, nullptr, 0, &returned);
  return volume;
}

void ZipCloseLockedVolume(HANDLE volume) {
  DWORD returned;
  ZipDrive().deviceControl(volume, FSCTL_UNLOCK_VOLUME, nullptr, 0, nullptr, 0, &returned);
  ZipDrive().closeDevice(volume);
}

int ZipFormatDrive(int drive, int lowDensity) {
#if defined(_WIN32) && !defined(_WIN64)
  if (Windows9x()) return ZipFormatDrive9x(drive, lowDensity);
#else
  (void)Windows9x;
#endif
  return ZipFormatDriveNt(drive, lowDensity);
}

int ZipDismountDrive(int drive) {
  ZipState *state = ZipCurrentState();
  if (state && (state->multiVolControl & ZMV_SPLIT_PARTS)) return 1;
  if (drive < 1 || drive > 26) return 0;
  HANDLE volume = ZipOpenLockedVolume(drive);
  if (volume == INVALID_HANDLE_VALUE) return 0;
  DWORD returned;
  ZipDrive().deviceControl(volume, FSCTL_DISMOUNT_VOLUME, nullptr, 0, nullptr, 0, &returned);
  ZipCloseLockedVolume(volume);
  return 1;
}

int ZipFormatTarget(int drive) {
  if (drive < 1 || drive > 26) drive = ZipCurrentDrive();
  if (drive != 1 && drive != 2) return 0;
  // Only the drive's own type counts: an option that makes every target
  // removable must never lead to a format of a fixed disk.
  return ZipDriveType(drive) == DRIVE_REMOVABLE ? drive : 0;
}

int ZipLoadBootSector(uint8_t out[FLOPPY_SECTOR_SIZE]) {
  HMODULE module = ZipModuleInstance();
  HRSRC found = FindResourceA(module, "BOOTSECTOR", "bootsector");
  if (!found || SizeofResource(module, found) < FLOPPY_SECTOR_SIZE) return 0;
  HGLOBAL loaded = LoadResource(module, found);
  const void *bytes = loaded ? LockResource(loaded) : nullptr;
  if (!bytes) return 0;
  memcpy(out, bytes, FLOPPY_SECTOR_SIZE);
  return 1;
}

uint32_t ZipFormatSerialNow(void) {
  SYSTEMTIME now;
  GetLocalTime(&now);
  return FloppySerialNumber(now.wYear, now.wMonth, now.wDay, now.wHour, now.wMilliseconds);
}

int ZipFormatProgress(int drive, uint32_t cylinder, uint32_t cylinders) {
  char text[ZIP_MESSAGE_SIZE];
  snprintf(text, sizeof text, ZipMessageText(kFormattingDrive, 0), 'A' + drive - 1);
  ZipMinorStatus(text, 100, 100);
  snprintf(text, sizeof text, ZipMessageText(kFormattingCylinder, 0), int(cylinder));
  return ZipMajorStatus(text, cylinders, cylinder) != 0;
}

void ZipFormatInitializing(void) { ZipMajorStatus(ZipMessageText(kInitializingMedia, 0), 100, 100); }
