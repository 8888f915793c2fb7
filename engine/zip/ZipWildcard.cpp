#include "ZipWildcard.h"

#include <windows.h>
#include <string.h>

#include "../common/MessageTable.h"
#include "../unzip/PathNames.h"
#include "ZipCommand.h"
#include "ZipState.h"

namespace {

enum { kWorkSize = 2048 };

// The part after the last '.' of the last path component, or null.
char *ExtensionOf(char *text) {
  char *dot = nullptr;
  for (char *c = text; *c; c = CharNextA(c)) {
    if (*c == '/') dot = nullptr;
    else if (*c == '.') dot = c;
  }
  return dot;
}

const char *LastComponent(const char *text) {
  const char *start = text;
  for (const char *c = text; *c; c = CharNextA(c))
    if (*c == '/') start = c + 1;
  return start;
}

bool PathSensitive() {
  ZipState *state = ZipCurrentState();
  return state && (state->subOptions2 & ZSO2_PATH_SENSITIVE);
}

}  // namespace

int ZipWildcardMatch(const char *pattern, const char *name) { return WildcardMatch(name, pattern, 0) == 0; }

int ZipNameMatches(const char *name, const char *pattern) {
  if (!name || !pattern || !*name || !*pattern) return 0;
  char n[kWorkSize], p[kWorkSize];
  CopyTextCapped(n, sizeof n, name);
  CopyTextCapped(p, sizeof p, pattern);

  char *nameDot = ExtensionOf(n);
  char *patternDot = ExtensionOf(p);
  const char *nameExtension = "";
  const char *patternExtension = "";
  if (nameDot) {
    *nameDot = '\0';
    nameExtension = nameDot + 1;
  }
  if (patternDot) {
    *patternDot = '\0';
    patternExtension = patternDot + 1;
  } else if (p[strlen(p) - 1] == '*') {
    patternExtension = "*";
  }

  bool nameHasPath = strchr(n, '/') != nullptr;
  bool patternHasPath = strchr(p, '/') != nullptr;
  const char *nameBase = n;
  if (PathSensitive()) {
    if (nameHasPath != patternHasPath) return 0;
  } else if (nameHasPath && !patternHasPath) {
    nameBase = LastComponent(n);
  }
  return ZipWildcardMatch(patternExtension, nameExtension) && ZipWildcardMatch(p, nameBase);
}
