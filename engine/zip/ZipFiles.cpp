#include "ZipFiles.h"

#include <windows.h>
#include <stdio.h>
#include <string.h>

#include "volumes/ZipDrives.h"
#include "ZipState.h"

namespace {

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

bool Exists(const char *path) { return GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES; }

// Where the folders below the root begin.
size_t FirstFolder(const char *path) {
  char root[ZIP_PATH_SIZE];
  ZipPathRoot(path, root, sizeof root);
  size_t start = strlen(root);
  size_t length = strlen(path);
  if (start == 0 && IsSeparator(path[0])) start = 1;
  return start < length ? start : length;
}

}  // namespace

int ZipCreatePathFolders(const char *path) {
  char work[ZIP_PATH_SIZE];
  if (!path || strlen(path) >= sizeof work) return 15;
  strcpy(work, path);
  for (char *c = work + FirstFolder(path); *c; c = CharNextA(c)) {
    if (!IsSeparator(*c)) continue;
    char separator = *c;
    *c = '\0';
    bool made = Exists(work) || CreateDirectoryA(work, nullptr);
    *c = separator;
    if (!made) return 15;
  }
  return 0;
}

int ZipUniqueFileName(const char *folder, char *out, size_t capacity) {
  static const char kAlphabet[] = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ_";
  const unsigned kLetters = sizeof kAlphabet - 1;
  DWORD thread = GetCurrentThreadId();
  size_t length = strlen(folder);
  const char *separator = (length && IsSeparator(folder[length - 1])) ? "" : "\\";
  for (char letter = 'a'; letter <= 'z'; ++letter) {
    int written = snprintf(out, capacity, "%s%s%c%c%c%05lu", folder, separator, kAlphabet[thread % kLetters],
                           kAlphabet[thread / kLetters % kLetters], letter, (unsigned long)(thread % 100000));
    if (written < 0 || static_cast<size_t>(written) >= capacity) return 0;
    if (!Exists(out)) return 1;
  }
  return 0;
}
