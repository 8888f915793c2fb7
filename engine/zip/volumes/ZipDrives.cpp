#include "ZipDrives.h"

#include <windows.h>
#include <ctype.h>
#include <string.h>

#include "../ZipCommand.h"
#include "../ZipState.h"
#include "../ZipStrings.h"
#include "ZipDriveServices.h"

namespace {

int DriveOfLetter(char letter) {
  int upper = toupper(static_cast<unsigned char>(letter));
  return (upper >= 'A' && upper <= 'Z') ? upper - 'A' + 1 : ZipCurrentDrive();
}

}  // namespace

int ZipCurrentDrive(void) {
  char directory[MAX_PATH];
  DWORD length = GetCurrentDirectoryA(sizeof directory, directory);
  if (length < 2 || length >= sizeof directory || directory[1] != ':') return 0;
  return toupper(static_cast<unsigned char>(directory[0])) - 'A' + 1;
}

int ZipDriveRoot(int drive, char *out, size_t capacity) {
  if (drive == 0) drive = ZipCurrentDrive();
  out[0] = '\0';
  if (drive < 1 || drive > 26) return 0;
  ZipDrive().driveRoot(drive, out, capacity);
  return out[0] != '\0';
}

UINT ZipDriveType(int drive) {
  char root[ZIP_PATH_SIZE];
  return ZipDriveRoot(drive, root, sizeof root) ? ZipDrive().driveType(root) : DRIVE_UNKNOWN;
}

int ZipIsRemovableDrive(int drive) {
  ZipState *state = ZipCurrentState();
  if (state && ((state->subOptions & ZSO_ALL_REMOVABLE) ||
                ((state->multiVolControl & ZMV_SPLIT_PARTS) && (state->multiVolControl & ZMV_MULTI_VOLUME))))
    return 1;
  return ZipDriveTypeIsRemovable(drive);
}

int ZipDriveTypeIsRemovable(int drive) {
  UINT type = ZipDriveType(drive);
  return type == DRIVE_REMOVABLE || type == DRIVE_CDROM;
}

int ZipDriveOfPath(const char *path) {
  if (!path || !path[0]) return -1;
  const char *colon = strchr(path, ':');
  if (!colon || colon == path || (colon[1] != '\\' && colon[1] != '/')) return -1;
  return DriveOfLetter(colon[-1]);
}

int ZipItemListUsesDrive(int drive, const char *itemList) {
  if (!itemList) return 0;
  if (drive == 0) drive = ZipCurrentDrive();
  char item[ZIP_PATH_SIZE];
  char full[ZIP_PATH_SIZE];
  for (const char *cursor = itemList; ZipNextItem(&cursor, item, sizeof item);) {
    DWORD length = GetFullPathNameA(item, sizeof full, full, nullptr);
    if (length == 0 || length >= sizeof full || full[0] == '\\') continue;
    if (ZipDriveOfPath(full) == drive) return 1;
  }
  return 0;
}

void ZipPathRoot(const char *path, char *out, size_t capacity) {
  size_t length = 0;
  if ((path[0] == '\\' || path[0] == '/') && (path[1] == '\\' || path[1] == '/')) {
    const char *c = path + 2;
    for (int separators = 0; *c && separators < 2; c = CharNextA(c))
      if (*c == '\\' || *c == '/') ++separators;
    length = static_cast<size_t>(c - path);
  } else if (path[0] && path[1] == ':') {
    length = 2;
  }
  if (length + 2 > capacity) length = 0;
  memcpy(out, path, length);
  if (length && out[length - 1] != '\\' && out[length - 1] != '/') out[length++] = '\\';
  out[length] = '\0';
}

uint64_t ZipGetFreeSpace(const char *path) {
  char root[ZIP_PATH_SIZE];
  ZipPathRoot(path, root, sizeof root);
  return ZipDrive().freeSpace(root);
}
