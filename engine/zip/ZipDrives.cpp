#include "ZipDrives.h"

#include <windows.h>
#include <ctype.h>
#include <string.h>

#include "ZipCommand.h"
#include "ZipState.h"
#include "ZipStrings.h"

namespace {

int CurrentDrive() {
  char directory[MAX_PATH];
  DWORD length = GetCurrentDirectoryA(sizeof directory, directory);
  if (length < 2 || length >= sizeof directory || directory[1] != ':') return 0;
  return toupper(static_cast<unsigned char>(directory[0])) - 'A' + 1;
}

int DriveOfLetter(char letter) {
  int upper = toupper(static_cast<unsigned char>(letter));
  return (upper >= 'A' && upper <= 'Z') ? upper - 'A' + 1 : CurrentDrive();
}

}  // namespace

int ZipIsRemovableDrive(int drive) {
  ZipState *state = ZipCurrentState();
  if (state && ((state->subOptions & ZSO_ALL_REMOVABLE) ||
                ((state->multiVolControl & ZMV_SPLIT_PARTS) && (state->multiVolControl & ZMV_MULTI_VOLUME))))
    return 1;
  if (drive < 0 || drive > 26) return 0;
  if (drive == 0) drive = CurrentDrive();
  if (drive == 0) return 0;
  char root[] = "A:\\";
  root[0] = static_cast<char>('A' + drive - 1);
  UINT type = GetDriveTypeA(root);
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
  if (drive == 0) drive = CurrentDrive();
  char item[ZIP_PATH_SIZE];
  char full[ZIP_PATH_SIZE];
  for (const char *cursor = itemList; ZipNextItem(&cursor, item, sizeof item);) {
    DWORD length = GetFullPathNameA(item, sizeof full, full, nullptr);
    if (length == 0 || length >= sizeof full || full[0] == '\\') continue;
    if (ZipDriveOfPath(full) == drive) return 1;
  }
  return 0;
}
