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
  return ZipDriveTypeIsRemovable(drive);
}

int ZipDriveTypeIsRemovable(int drive) {
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
  const char *volume = root[0] ? root : nullptr;
  ULARGE_INTEGER available, total, free;
  if (GetDiskFreeSpaceExA(volume, &available, &total, &free) && static_cast<int64_t>(available.QuadPart) >= 0)
    return available.QuadPart;
  DWORD sectorsPerCluster, bytesPerSector, freeClusters, clusters;
  if (GetDiskFreeSpaceA(volume, &sectorsPerCluster, &bytesPerSector, &freeClusters, &clusters))
    return static_cast<uint64_t>(sectorsPerCluster) * bytesPerSector * freeClusters;
  return 0x7FFFFFFFFFFFFFFFull;
}
