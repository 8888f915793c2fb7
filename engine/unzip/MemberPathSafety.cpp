#include "MemberPathSafety.h"

#include <cstring>

static bool IsSeparator(char c) { return c == '/' || c == '\\'; }

static bool IsLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

static char Upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

// Past "X:", "\\server\share\" (or "//..."), "\\?\" and "\\.\" prefixes and
// any leading separators.
static const char *SkipRoot(const char *name) {
  for (;;) {
    if (IsLetter(name[0]) && name[1] == ':') {
      name += 2;
    } else if (IsSeparator(name[0]) && IsSeparator(name[1])) {
      name += 2;
      // Server (or "?" / ".") and share: two components belong to the root.
      for (int part = 0; part < 2; ++part) {
        while (*name && !IsSeparator(*name)) ++name;
        while (IsSeparator(*name)) ++name;
      }
    } else if (IsSeparator(name[0])) {
      ++name;
    } else {
      return name;
    }
  }
}

// Windows drops trailing dots and blanks, then the extension (from the
// first dot), then the blanks before it, and compares what is left.
bool MemberPathNamesDevice(const char *component, size_t length) {
  static const char *const kDevices[] = {"CON", "PRN", "AUX", "NUL", "CONIN$", "CONOUT$"};
  while (length > 0 && (component[length - 1] == '.' || component[length - 1] == ' ')) --length;
  size_t base = 0;
  while (base < length && component[base] != '.') ++base;
  while (base > 0 && component[base - 1] == ' ') --base;
  char upper[8];
  if (base >= sizeof upper) return false;
  for (size_t i = 0; i < base; ++i) upper[i] = Upper(component[i]);
  upper[base] = '\0';
  for (const char *device : kDevices)
    if (strcmp(upper, device) == 0) return true;
  // COM1-COM9 and LPT1-LPT9.
  return base == 4 && (memcmp(upper, "COM", 3) == 0 || memcmp(upper, "LPT", 3) == 0) && upper[3] >= '1' &&
         upper[3] <= '9';
}

static MemberPathVerdict CheckComponent(const char *component, size_t length) {
  if (length == 2 && component[0] == '.' && component[1] == '.') return kMemberPathParent;
  for (size_t i = 0; i < length; ++i) {
    unsigned char c = static_cast<unsigned char>(component[i]);
    if (c < 0x20) return kMemberPathControl;
    if (c == ':') return kMemberPathStream;
  }
  char last = component[length - 1];
  if (last == '.' || last == ' ') return kMemberPathTrailing;
  if (MemberPathNamesDevice(component, length)) return kMemberPathDevice;
  return kMemberPathSafe;
}

MemberPathVerdict MemberPathMakeRelative(const char *stored, char *out, size_t capacity) {
  if (capacity == 0) return kMemberPathTooLong;
  out[0] = '\0';
  const char *p = SkipRoot(stored);
  size_t used = 0;
  while (*p) {
    const char *start = p;
    while (*p && !IsSeparator(*p)) ++p;
    size_t length = static_cast<size_t>(p - start);
    bool folderEnd = IsSeparator(*p);
    while (IsSeparator(*p)) ++p;
    if (length == 0 || (length == 1 && start[0] == '.')) continue;
    MemberPathVerdict verdict = CheckComponent(start, length);
    if (verdict != kMemberPathSafe) {
      out[0] = '\0';
      return verdict;
    }
    size_t needed = length + (folderEnd ? 1 : 0);
    if (used + needed + 1 > capacity) {
      out[0] = '\0';
      return kMemberPathTooLong;
    }
    memcpy(out + used, start, length);
    used += length;
    if (folderEnd) out[used++] = '\\';
  }
  out[used] = '\0';
  return kMemberPathSafe;
}
