#include "ZipSplitParts.h"

#include <windows.h>
#include <stdio.h>
#include <string.h>

#include "../ZipState.h"
#include "ZipDrives.h"
#include "ZipDriveServices.h"

namespace {

// The extension's dot in the last component, or null.
char *ExtensionDot(char *name) {
  char *dot = nullptr;
  for (char *c = name; *c; c = CharNextA(c)) {
    if (*c == '\\' || *c == '/' || *c == ':') dot = nullptr;
    else if (*c == '.') dot = c;
  }
  return dot;
}

// Writes the part extension over everything after the dot.
bool SetPartExtension(char *name, size_t capacity, char *dot, int part) {
  size_t room = capacity - static_cast<size_t>(dot + 1 - name);
  int written = snprintf(dot + 1, room, part < 100 ? "z%02d" : "%03d", part);
  return written >= 0 && static_cast<size_t>(written) < room;
}

void DeleteParts(char *name, size_t capacity, int first) {
  char *dot = ExtensionDot(name);
  if (!dot) return;
  for (int part = first; part <= 999; ++part)
    if (SetPartExtension(name, capacity, dot, part)) DeleteFileA(name);
}

}  // namespace

int ZipSplitPartName(const char *archive, int appendToName, int part, char *out, size_t capacity) {
  int written = snprintf(out, capacity, "%s", archive);
  if (written < 0 || static_cast<size_t>(written) + 5 >= capacity) return 0;
  char *dot = appendToName ? nullptr : ExtensionDot(out);
  if (!dot) {
    dot = out + written;
    *dot = '.';
  }
  return SetPartExtension(out, capacity, dot, part);
}

int ZipVolumeTakesLongNames(const char *path) {
  char root[ZIP_PATH_SIZE];
  ZipPathRoot(path, root, sizeof root);
  return ZipDrive().maxNameLength(root) > 254;
}

void ZipDeleteSplitParts(const char *archive, int first) {
  char name[ZIP_PATH_SIZE + 8];
  snprintf(name, sizeof name, "%s.z00", archive);
  DeleteParts(name, sizeof name, first);
}

void ZipDeleteSplitPartsOf(const char *partName, int first) {
  char name[ZIP_PATH_SIZE + 8];
  snprintf(name, sizeof name, "%s", partName);
  DeleteParts(name, sizeof name, first);
}
