#include "ZipStrings.h"

#include <windows.h>

#include "../unzip/PathNames.h"

namespace {

char *ReplaceChar(char *text, char from, char to) {
  if (!text) return text;
  for (char *c = text; *c; c = CharNextA(c))
    if (*c == from) *c = to;
  return text;
}

size_t CharLength(const char *c) { return static_cast<size_t>(CharNextA(c) - c); }

}  // namespace

char *ZipPathToSlashes(char *text) { return ReplaceChar(text, '\\', '/'); }

char *ZipPathToBackslashes(char *text) { return ReplaceChar(text, '/', '\\'); }

char *ZipCopyUnquoted(char *dest, const char *source) { return ZipPathToBackslashes(PathStripQuotes(dest, source)); }

int ZipIsDirectoryName(const char *name) {
  const char *last = nullptr;
  for (const char *c = name; c && *c; c = CharNextA(c)) last = c;
  return last && *last == '/';
}

int ZipNextItem(const char **cursor, char *out, size_t capacity) {
  const char *c = *cursor;
  while (*c == ' ') ++c;
  if (!*c) {
    *cursor = c;
    return 0;
  }
  size_t used = 0;
  bool quoted = false;
  for (; *c && (quoted || *c != ' '); c += CharLength(c)) {
    if (*c == '"') {
      quoted = !quoted;
      continue;
    }
    size_t length = CharLength(c);
    if (used + length > capacity - 1) continue;
    for (size_t i = 0; i < length; ++i) out[used++] = c[i];
  }
  out[used] = '\0';
  *cursor = c;
  return 1;
}

void **ZipBinarySearch(const void *key, void **array, size_t count, int (*compare)(const void *, const void *)) {
  size_t low = 0, high = count;
  while (low < high) {
    size_t middle = low + (high - low) / 2;
    int order = compare(key, array[middle]);
    if (order == 0) return &array[middle];
    if (order < 0) high = middle;
    else low = middle + 1;
  }
  return nullptr;
}
