#include <stdlib.h>
#include <string.h>

#include "messages/ZipMessages.h"
#include "ZipCommandEnd.h"
#include "ZipFileList.h"
#include "ZipStrings.h"
#include "ZipWildcard.h"

namespace {

enum { kPatternCreationDetail = 140, kItemSize = 4096 };

int CountItems(const char *list) {
  char item[kItemSize];
  int count = 0;
  while (list && ZipNextItem(&list, item, sizeof item)) ++count;
  return count;
}

// Appends the list's items of one kind; 0, or 4.
int AddPatterns(const char *list, char kind, ZipState *state) {
  char item[kItemSize], unquoted[ZIP_PATH_SIZE];
  while (list && ZipNextItem(&list, item, sizeof item)) {
    ZipCopyUnquoted(unquoted, item);
    char *text = ZipStoredNameOfPath(unquoted, state);
    if (!text) return 4;
    state->patterns[state->patternCount].text = text;
    state->patterns[state->patternCount++].kind = kind;
  }
  return 0;
}

bool IsSeparator(char c) { return c == '/'; }

// Length of the component at c (up to the next slash).
size_t ComponentLength(const char *c) {
  const char *end = c;
  while (*end && !IsSeparator(*end)) end = CharNextA(end);
  return static_cast<size_t>(end - c);
}

// Copies the name without empty and ".." components; a trailing slash (a
// directory entry) stays.
void DropParentComponents(const char *from, char *to) {
  char *out = to;
  bool trailingSlash = false;
  for (const char *c = from; *c;) {
    size_t length = ComponentLength(c);
    bool parent = length == 2 && c[0] == '.' && c[1] == '.';
    if (length && !parent) {
      if (out != to) *out++ = '/';
      memcpy(out, c, length);
      out += length;
    }
    c += length;
    trailingSlash = *c != '\0';
    if (*c) ++c;
  }
  if (trailingSlash && out != to) *out++ = '/';
  *out = '\0';
}

// Past "//server/share/" of a network name.
const char *SkipServerAndShare(const char *name) {
  const char *c = name + 2;
  for (int component = 0; component < 2 && *c; ++component) {
    c += ComponentLength(c);
    if (*c) ++c;
  }
  return c;
}

}  // namespace

char *ZipStoredNameOfPath(const char *path, const ZipState *state) {
  size_t size = strlen(path) + 1;
  char *work = static_cast<char *>(malloc(size));
  char *name = static_cast<char *>(malloc(size));
  if (!work || !name) {
    free(work);
    free(name);
    return nullptr;
  }
  memcpy(work, path, size);
  ZipPathToSlashes(work);
  const char *c = work;
  if (c[0] == '/' && c[1] == '/') c = SkipServerAndShare(c);
  else if (c[0] && !IsDBCSLeadByte(static_cast<BYTE>(c[0])) && c[1] == ':') c += 2;
  DropParentComponents(c, name);
  free(work);

  if (!state->main.storeDirectoryNames) {
    char *last = name;
    for (char *p = name; *p; p = CharNextA(p))
      if (*p == '/' && p[1]) last = p + 1;
    memmove(name, last, strlen(last) + 1);
  }
  if (state->main.upperCaseNames) CharUpperA(name);
  return name;
}

int ZipBuildPatternList(const ZIPCMDSTRUCT *record, ZipState *state) {
  ZipFreePatterns(state);
  const char *include = record->includeOnlyFollowingFlag ? record->lpszIncludeFollowing : nullptr;
  const char *exclude = record->excludeFollowingFlag ? record->lpszExludeFollowing : nullptr;
  int total = CountItems(include) + CountItems(exclude);
  if (!total) return 0;
  state->patterns = static_cast<ZipPattern *>(calloc(static_cast<size_t>(total), sizeof(ZipPattern)));
  int result = state->patterns ? AddPatterns(include, 'i', state) : 4;
  state->loop.includePatternCount = state->patternCount;
  if (!result) result = AddPatterns(exclude, 'x', state);
  if (result) ZipAbort(result, ZipMessageText(kPatternCreationDetail, 2));
  return result;
}

void ZipFreePatterns(ZipState *state) {
  for (int i = 0; state->patterns && i < state->patternCount; ++i) free(state->patterns[i].text);
  free(state->patterns);
  state->patterns = nullptr;
  state->patternCount = 0;
  state->loop.includePatternCount = 0;
}

int ZipPatternFilter(const char *storedName, const ZipState *state) {
  if (!state->patternCount) return 1;
  int take = state->loop.includePatternCount == 0;
  for (int i = 0; i < state->patternCount; ++i) {
    const ZipPattern &pattern = state->patterns[i];
    if (!ZipNameMatches(storedName, pattern.text)) continue;
    if (pattern.kind == 'x') return 0;
    take = 1;
  }
  return take;
}
