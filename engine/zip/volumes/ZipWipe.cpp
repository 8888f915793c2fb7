#include "ZipWipe.h"

#include <windows.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "../messages/ZipMessages.h"
#include "../messages/ZipProgress.h"
#include "../ZipCommand.h"
#include "../ZipState.h"
#include "ZipDrives.h"

namespace {

enum { kWipingDrive = 605 };
const DWORD kProtected = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;

bool Dots(const char *name) { return strcmp(name, ".") == 0 || strcmp(name, "..") == 0; }

bool Join(char *out, size_t capacity, const char *directory, const char *name) {
  size_t length = strlen(directory);
  const char *separator = length && (directory[length - 1] == '\\' || directory[length - 1] == '/') ? "" : "\\";
  int written = snprintf(out, capacity, "%s%s%s", directory, separator, name);
  return written >= 0 && size_t(written) < capacity;
}

// Drops the protecting bits when asked; true when none is left.
bool Unprotect(const char *path, DWORD attributes, int clearAttributes) {
  if (clearAttributes && (attributes & kProtected)) {
    attributes &= ~kProtected;
    if (SetFileAttributesA(path, attributes ? attributes : FILE_ATTRIBUTE_NORMAL) == FALSE) return false;
  }
  return !(attributes & kProtected);
}

// Directories found depth-first, parents before their children; removed in
// reverse order, so every directory goes after what it holds.
struct DirectoryList {
  char **paths = nullptr;
  size_t count = 0;
  size_t capacity = 0;
  ~DirectoryList() {
    for (size_t i = 0; i < count; ++i) free(paths[i]);
    free(paths);
  }
  bool Add(const char *path) {
    if (count == capacity) {
      size_t grown = capacity ? capacity * 2 : 32;
      auto **larger = static_cast<char **>(realloc(paths, grown * sizeof *paths));
      if (!larger) return false;
      paths = larger;
      capacity = grown;
    }
    char *copy = static_cast<char *>(malloc(strlen(path) + 1));
    if (!copy) return false;
    strcpy(copy, path);
    paths[count++] = copy;
    return true;
  }
};

// Adds the subdirectories of the directory that the wipe walks.
bool AddSubdirectories(const char *directory, int clearAttributes, DirectoryList *list) {
  char pattern[ZIP_PATH_SIZE], path[ZIP_PATH_SIZE];
  if (!Join(pattern, sizeof pattern, directory, "*.*")) return true;
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA(pattern, &found);
  if (search == INVALID_HANDLE_VALUE) return true;
  bool added = true;
  do {
    DWORD a = found.dwFileAttributes;
    if (!(a & FILE_ATTRIBUTE_DIRECTORY) || Dots(found.cFileName)) continue;
    if (!clearAttributes && (a & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM))) continue;
    if (Join(path, sizeof path, directory, found.cFileName)) added = list->Add(path);
  } while (added && FindNextFileA(search, &found));
  FindClose(search);
  return added;
}

void RemoveEmptied(const char *path, int clearAttributes) {
  DWORD attributes = GetFileAttributesA(path);
  if (attributes != INVALID_FILE_ATTRIBUTES && Unprotect(path, attributes, clearAttributes))
    RemoveDirectoryA(path);
}

}  // namespace

int ZipWipeDirectoryFiles(const char *directory, int clearAttributes) {
  char text[ZIP_MESSAGE_SIZE], pattern[ZIP_PATH_SIZE], path[ZIP_PATH_SIZE];
  snprintf(text, sizeof text, ZipMessageText(kWipingDrive, 0), directory[0]);
  ZipMinorStatus(text, 100, 100);
  if (!Join(pattern, sizeof pattern, directory, "*.*")) return 0;
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA(pattern, &found);
  if (search == INVALID_HANDLE_VALUE) return 0;
  int result = 1;
  do {
    if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) || !Join(path, sizeof path, directory, found.cFileName))
      continue;
    if (!Unprotect(path, found.dwFileAttributes, clearAttributes)) continue;
    if (ZipMajorStatus(path, 100, 100)) {
      if (ZipState *state = ZipCurrentState()) state->cancel = 1;
      result = 0;
      break;
    }
    DeleteFileA(path);
  } while (FindNextFileA(search, &found));
  FindClose(search);
  return result;
}

int ZipWipeTree(int drive, int clearAttributes) {
  char root[ZIP_PATH_SIZE];
  if (!ZipDriveRoot(drive, root, sizeof root)) return 1;
  DirectoryList list;
  if (!list.Add(root)) return 0;
  ZipState *state = ZipCurrentState();
  for (size_t i = 0; i < list.count; ++i) {
    ZipWipeDirectoryFiles(list.paths[i], clearAttributes);
    if (state && state->cancel) return 1;
    if (!AddSubdirectories(list.paths[i], clearAttributes, &list)) return 0;
  }
  // The root itself stays.
  for (size_t i = list.count; i-- > 1;) RemoveEmptied(list.paths[i], clearAttributes);
  return 1;
}

int ZipWipeVolume(int drive, unsigned control) {
  // Only the drive's own type counts: an option that makes every target
  // removable must never lead to a wipe of a fixed disk.
  if (ZipDriveType(drive) != DRIVE_REMOVABLE) return 0;
  int clearAttributes = (control & ZMV_WIPE_HIDDEN) != 0;
  if (control & ZMV_WIPE_TREE) return ZipWipeTree(drive, clearAttributes);
  char root[ZIP_PATH_SIZE];
  if (!ZipDriveRoot(drive, root, sizeof root)) return 0;
  ZipWipeDirectoryFiles(root, clearAttributes);
  return 1;
}
