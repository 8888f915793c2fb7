#include "PathParts.h"

#include <cstring>

#include "BoundedText.h"

static void CopySpan(char (&target)[260], const char* begin, const char* end) {
  size_t length = static_cast<size_t>(end - begin);
  if (length > sizeof target - 1) length = sizeof target - 1;
  std::memcpy(target, begin, length);
  target[length] = '\0';
}

PathParts::PathParts(const char* path) {
  if (path == nullptr) path = "";
  const char* end = path + std::strlen(path);
  const char* at = path;
  if (path[0] && path[1] == ':') at += 2;
  CopySpan(drive, path, at);

  const char* nameStart = at;
  for (const char* p = at; p < end; p++)
    if (*p == '\\' || *p == '/') nameStart = p + 1;
  CopySpan(folder, at, nameStart);

  const char* dot = end;
  for (const char* p = nameStart; p < end; p++)
    if (*p == '.') dot = p;
  CopySpan(name, nameStart, dot);
  CopySpan(extension, dot, end);
}

bool HasWildcard(const char* text) { return text && std::strpbrk(text, "?*") != nullptr; }
