#include "MyFileUtility.h"

#include <io.h>

#include <cctype>
#include <cstdio>
#include <cstring>

#include "BoundedText.h"
#include "PathParts.h"

static bool EndsWithSeparator(const char* text) {
  size_t length = std::strlen(text);
  return length && (text[length - 1] == '\\' || text[length - 1] == '/');
}

const char* CMyFileUtility::MakeExeName(const char* path, int keepFolder) {
  static char result[260];
  result[0] = '\0';
  if (path == nullptr) return result;
  PathParts parts(path);
  if (keepFolder) {
    AppendBounded(result, parts.drive);
    AppendBounded(result, parts.folder);
  }
  AppendBounded(result, parts.name);
  return AppendBounded(result, ".exe");
}

int CMyFileUtility::EndsWithChar(const char* text, char c) {
  if (text == nullptr) return 0;
  size_t length = std::strlen(text);
  if (length == 0) return 0;
  if (text[length - 1] == c) return 1;
  return length > 2 && text[0] == '"' && text[length - 1] == '"' && text[length - 2] == c;
}

uint32_t CMyFileUtility::GetFileSizeByPath(const char* path) {
  if (path == nullptr) return 0;
  FILE* file = std::fopen(path, "rb");
  if (file == nullptr) return 0;
  long size = std::fseek(file, 0, SEEK_END) == 0 ? std::ftell(file) : 0;
  std::fclose(file);
  return size > 0 ? static_cast<uint32_t>(size) : 0;
}

const char* CMyFileUtility::AbbreviatePath(const char* path, int maxChars, int withBackslash) {
  static char result[260];
  if (path == nullptr) path = "";
  size_t length = std::strlen(path);
  size_t keep = maxChars > 0 ? static_cast<size_t>(maxChars) : 0;
  if (length <= keep) return CopyBounded(result, path);
  CopyBounded(result, withBackslash ? "...\\" : "...");
  return AppendBounded(result, path + length - keep);
}

int CMyFileUtility::FileExists(const char* path) { return path && path[0] && _access(path, 0) == 0; }

const char* CMyFileUtility::GetFileNamePart(const char* path, int withExtension) {
  static char result[520];
  PathParts parts(path);
  CopyBounded(result, parts.name);
  return withExtension ? AppendBounded(result, parts.extension) : result;
}

const char* CMyFileUtility::GetExtensionOfPath(const char* path) {
  static char result[260];
  PathParts parts(path);
  return CopyBounded(result, 5, parts.extension);
}

const char* CMyFileUtility::GetDriveOfPath(const char* path) {
  static char result[260];
  return CopyBounded(result, PathParts(path).drive);
}

static void UpperCase(char* text) {
  for (; *text; text++) *text = static_cast<char>(std::toupper(static_cast<unsigned char>(*text)));
}

int CMyFileUtility::IsExtensionInList(const char* path, const char* list) {
  if (path == nullptr || list == nullptr) return 0;
  PathParts parts(path);
  if (parts.extension[0] == '\0') return 0;
  char upperList[261];
  CopyBounded(upperList, list);
  UpperCase(upperList);
  UpperCase(parts.extension);
  return std::strstr(upperList, parts.extension) != nullptr;
}

const char* CMyFileUtility::GetFolderOfPath(const char* path, int withDrive) {
  static char result[520];
  result[0] = '\0';
  if (path == nullptr) return result;
  PathParts parts(path);
  if (withDrive) {
    AppendBounded(result, parts.drive);
    AppendBounded(result, parts.folder);
  } else {
    bool dropLeadingBackslash = parts.drive[0] && parts.folder[0] == '\\';
    AppendBounded(result, parts.folder + (dropLeadingBackslash ? 1 : 0));
  }
  if (result[0] && !EndsWithSeparator(result)) AppendBounded(result, "\\");
  return result;
}

int CMyFileUtility::StripWildcardName(const char* path, char output[260]) {
  PathParts parts(path);
  if (HasWildcard(parts.name) || HasWildcard(parts.extension)) {
    CopyBounded(output, 260, parts.drive);
    AppendBounded(output, 260, parts.folder);
  } else {
    CopyBounded(output, 260, path);
  }
  return 1;
}

const char* CMyFileUtility::Unquote(const char* text) {
  static char result[260];
  result[0] = '\0';
  if (text == nullptr) return result;
  size_t length = std::strlen(text);
  if (length <= 2) return result;
  if (text[0] == '"') {
    size_t inner = length - 2 < sizeof result - 1 ? length - 2 : sizeof result - 1;
    std::memcpy(result, text + 1, inner);
    result[inner] = '\0';
    if (result[0]) return result;
  }
  return CopyBounded(result, text);
}

const char* CMyFileUtility::Quote(const char* text) {
  static char result[260];
  if (text == nullptr) text = "";
  if (text[0] == '"') return CopyBounded(result, text);
  CopyBounded(result, sizeof result - 1, "\"");
  AppendBounded(result, sizeof result - 1, text);
  return AppendBounded(result, "\"");
}

int CMyFileUtility::ReplaceExtension(char* path, const char* newExtension) {
  if (path == nullptr || newExtension == nullptr) return 0;
  PathParts parts(Unquote(path));
  char rebuilt[260];
  CopyBounded(rebuilt, parts.drive);
  AppendBounded(rebuilt, parts.folder);
  AppendBounded(rebuilt, parts.name);
  AppendBounded(rebuilt, newExtension);
  CopyBounded(path, sizeof rebuilt, rebuilt);
  return 1;
}

// A folder is what the current directory can be set to; the current
// directory is put back afterwards.
static bool IsFolder(const char* path) {
  char saved[MAX_PATH];
  DWORD savedLength = GetCurrentDirectoryA(sizeof saved, saved);
  if (!SetCurrentDirectoryA(path)) return false;
  if (savedLength > 0 && savedLength < sizeof saved) SetCurrentDirectoryA(saved);
  return true;
}

int CMyFileUtility::GetPathKind(const char* path) {
  if (path == nullptr || path[0] == '\0') return kPathIsNothing;
  char tested[260];
  StripWildcardName(path, tested);
  if (tested[0] && IsFolder(tested)) return kPathIsFolder;
  return FileExists(tested) ? kPathIsFile : kPathIsNothing;
}

const char* CMyFileUtility::PathBesideProgram(HINSTANCE module, const char* fileName) {
  static char moduleName[260];
  static char beside[260];
  DWORD length = GetModuleFileNameA(module, moduleName, sizeof moduleName);
  moduleName[length < sizeof moduleName ? length : 0] = '\0';
  if (fileName == nullptr || fileName[0] == '\0') return moduleName;
  PathParts parts(moduleName);
  CopyBounded(beside, parts.drive);
  AppendBounded(beside, parts.folder);
  return AppendBounded(beside, fileName);
}
