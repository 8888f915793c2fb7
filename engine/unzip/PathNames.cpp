#include "PathNames.h"

#include <windows.h>
#include <cstring>

static const char *Next(const char *p) { return CharNextA(p); }
static bool IsLead(const char *p) { return IsDBCSLeadByte(static_cast<BYTE>(*p)) && p[1]; }

const char *PathFindChar(const char *text, char character) {
  for (const char *p = text;; p = Next(p)) {
    if (*p == character) return p;
    if (!*p) return nullptr;
  }
}

const char *PathFindLastChar(const char *text, char character) {
  const char *found = nullptr;
  for (const char *p = text; *p; p = Next(p))
    if (*p == character) found = p;
  return found;
}

const char *PathFindString(const char *text, const char *substring) {
  size_t length = strlen(substring);
  for (const char *p = text; *p; p = Next(p))
    if (strncmp(p, substring, length) == 0) return p;
  return length == 0 ? text : nullptr;
}

int PathEndsWithBackslash(const char *path) {
  const char *last = nullptr;
  for (const char *p = path; *p; p = Next(p)) last = p;
  return last && *last == '\\';
}

static void CopySpan(char *out, const char *from, const char *to) {
  if (!out) return;
  size_t length = static_cast<size_t>(to - from);
  if (length > kPathTextMax - 1) length = kPathTextMax - 1;
  memcpy(out, from, length);
  out[length] = '\0';
}

// End of a "\\server\share" start, or the start itself.
static const char *UncRootEnd(const char *path) {
  const char *p = path + 2;
  for (int separators = 0; *p; p = Next(p))
    if (*p == '\\' && ++separators == 2) break;
  return p;
}

void PathSplit(const char *path, char *drive, char *directory, char *name, char *extension) {
  const char *rest = path;
  const char *colon = PathFindChar(path, ':');
  if (path[0] == '\\' && path[1] == '\\')
    rest = UncRootEnd(path);
  else if (colon)
    rest = colon + 1;
  CopySpan(drive, path, rest);
  const char *slash = PathFindLastChar(rest, '\\');
  if (!slash) slash = PathFindLastChar(rest, '/');
  const char *base = slash ? slash + 1 : rest;
  CopySpan(directory, rest, base);
  const char *dot = PathFindLastChar(base, '.');
  const char *end = base + strlen(base);
  CopySpan(name, base, dot ? dot : end);
  CopySpan(extension, dot ? dot : end, end);
}

static void Append(char *out, const char *text) {
  size_t used = strlen(out);
  if (used < kPathTextMax - 1) lstrcpynA(out + used, text, static_cast<int>(kPathTextMax - used));
}

void PathBuild(char *out, const char *drive, const char *directory, const char *name, const char *extension) {
  out[0] = '\0';
  bool rooted = false;
  if (drive && drive[0]) {
    if (drive[0] == '\\' && drive[1] == '\\') {
      Append(out, drive);
    } else {
      char letter[4] = {drive[0], ':', '\\', '\0'};
      Append(out, letter);
    }
    rooted = true;
  }
  if (directory && directory[0]) {
    const char *d = directory;
    if (rooted && *d == '\\') d++;
    if (out[0] && !PathEndsWithBackslash(out) && *d) Append(out, "\\");
    Append(out, d);
  }
  if (name && name[0]) {
    if (out[0] && !PathEndsWithBackslash(out)) Append(out, "\\");
    Append(out, name);
  }
  if (extension && extension[0]) {
    if (extension[0] != '.') Append(out, ".");
    Append(out, extension);
  }
}

void PathNamePart(char *out, const char *path) {
  char name[kPathTextMax], extension[kPathTextMax];
  PathSplit(path, nullptr, nullptr, name, extension);
  lstrcpynA(out, name, kPathTextMax);
  Append(out, extension);
}

char *PathStripQuotes(char *out, const char *text) {
  if (!out || !text) return nullptr;
  size_t used = 0;
  for (const char *p = text; *p && used < kPathTextMax - 1; ++p)
    if (*p != '"') out[used++] = *p;
  out[used] = '\0';
  return out;
}

static bool IsSeparator(char c) { return c == '\\' || c == '/' || c == ':'; }

int PathIsLongName(const char *path) {
  int nameBytes = 0, extensionBytes = 0;
  bool inExtension = false;
  for (const char *p = path; *p; p = Next(p)) {
    if (IsSeparator(*p)) {
      nameBytes = extensionBytes = 0;
      inExtension = false;
      continue;
    }
    if (*p == ' ' || *p == '"') return 1;
    if (*p == '.' && !inExtension) {
      inExtension = true;
      continue;
    }
    int width = IsLead(p) ? 2 : 1;
    if (*p == '.') return 1;  // a second dot in one component
    (inExtension ? extensionBytes : nameBytes) += width;
    if (nameBytes > 8 || extensionBytes > 3) return 1;
  }
  return 0;
}

char *PathTruncate83(char *out, const char *path) {
  char work[kPathTextMax];
  size_t used = 0;
  int nameBytes = 0, extensionBytes = 0;
  bool inExtension = false;
  for (const char *p = path; *p && used < kPathTextMax - 3; p = Next(p)) {
    if (IsSeparator(*p)) {
      nameBytes = extensionBytes = 0;
      inExtension = false;
      work[used++] = *p;
      continue;
    }
    if (*p == ' ' || *p == '"') continue;
    if (*p == '.') {
      if (!inExtension) work[used++] = '.';
      inExtension = true;
      continue;
    }
    int width = IsLead(p) ? 2 : 1;
    int &count = inExtension ? extensionBytes : nameBytes;
    if (count + width > (inExtension ? 3 : 8)) continue;
    count += width;
    memcpy(work + used, p, static_cast<size_t>(width));
    used += static_cast<size_t>(width);
  }
  work[used] = '\0';
  lstrcpynA(out, work, kPathTextMax);
  return out;
}

int PathIsValidName(const char *name) {
  if (!name) return 0;
  for (const char *p = name; *p; p = Next(p)) {
    if (IsLead(p)) continue;
    unsigned char c = static_cast<unsigned char>(*p);
    if ((c >= 1 && c <= 31) || strchr("*:<>?|", c)) return 0;
  }
  return 1;
}

int WildcardMatch(const char *name, const char *pattern, int caseSensitive) {
  if (pattern[0] == '*') return 0;
  if (!pattern[0] || !name[0]) return !pattern[0] && !name[0] ? 0 : -1;
  char n[kPathTextMax], p[kPathTextMax];
  lstrcpynA(n, name, sizeof n);
  lstrcpynA(p, pattern, sizeof p);
  // At the first "*" both are cut at the same position: the rest matches anything.
  const char *np = n, *pp = p;
  while (*pp && *np) {
    if (*pp == '*') {
      p[pp - p] = '\0';
      n[np - n] = '\0';
      break;
    }
    np = Next(np);
    pp = Next(pp);
  }
  if (*pp == '*') p[pp - p] = '\0';
  if (strlen(n) != strlen(p)) return -1;
  if (!caseSensitive) {
    CharUpperA(n);
    CharUpperA(p);
  }
  for (const char *a = n, *b = p; *b; a = Next(a), b = Next(b)) {
    if (*b == '?') continue;
    int width = IsLead(b) ? 2 : 1;
    if (memcmp(a, b, static_cast<size_t>(width)) != 0) return -1;
  }
  return 0;
}

// Splits at the last dot; the extension comes without its dot.
static void SplitNameExtension(const char *text, char *name, char *extension) {
  const char *dot = PathFindLastChar(text, '.');
  const char *end = text + strlen(text);
  CopySpan(name, text, dot ? dot : end);
  CopySpan(extension, dot ? dot + 1 : end, end);
}

int NameMatchesPattern(const char *name, const char *pattern, int caseSensitive) {
  if (!name || !pattern || !name[0] || !pattern[0]) return -1;
  if (strcmp(pattern, "*.*") == 0 || strcmp(pattern, "*") == 0) return 0;
  char nameBase[kPathTextMax], nameExt[kPathTextMax], patternBase[kPathTextMax], patternExt[kPathTextMax];
  SplitNameExtension(name, nameBase, nameExt);
  SplitNameExtension(pattern, patternBase, patternExt);
  if (WildcardMatch(nameBase, patternBase, caseSensitive) != 0) return -1;
  return WildcardMatch(nameExt, patternExt, caseSensitive);
}

static int DriveLetterNumber(char letter) {
  if (letter >= 'a' && letter <= 'z') letter = static_cast<char>(letter - 'a' + 'A');
  return letter >= 'A' && letter <= 'Z' ? letter - 'A' + 1 : 0;
}

static int CurrentDrive() {
  char folder[MAX_PATH + 1];
  DWORD length = GetCurrentDirectoryA(sizeof folder, folder);
  int drive = length >= 2 && folder[1] == ':' ? DriveLetterNumber(folder[0]) : 0;
  return drive ? drive : 3;
}

int DriveNumberOfPath(const char *path) {
  int drive = 0;
  if (path && path[0] && path[1] == ':' && (path[2] == '\\' || path[2] == '/')) drive = DriveLetterNumber(path[0]);
  return drive ? drive : CurrentDrive();
}

// Length of the "\\server\share" start of a path.
static size_t UncRootLength(const char *path) { return static_cast<size_t>(UncRootEnd(path) - path); }

int PathsOnSameVolume(const char *first, const char *second) {
  bool firstUnc = first[0] == '\\' && first[1] == '\\';
  bool secondUnc = second[0] == '\\' && second[1] == '\\';
  if (firstUnc || secondUnc) {
    if (!firstUnc || !secondUnc) return 0;
    size_t length = UncRootLength(first);
    return length == UncRootLength(second) && CompareStringA(LOCALE_SYSTEM_DEFAULT, NORM_IGNORECASE, first,
                                                             static_cast<int>(length), second,
                                                             static_cast<int>(length)) == CSTR_EQUAL;
  }
  if (DriveNumberOfPath(first) != DriveNumberOfPath(second)) return 0;
  return first[1] == ':' && second[1] == ':';
}
