#include "MyFileUtility.h"

#include <cstdio>
#include <cstring>
#include <cwchar>
#include <string>

#include "BoundedText.h"

// Numbers tried after the tick count before giving up on a fresh name.
static const int kNameAttempts = 10000;

const char* CMyFileUtility::MakeTempFolder(int create) {
  static char result[260];
  result[0] = '\0';
  char tempPath[MAX_PATH];
  DWORD length = GetTempPathA(sizeof tempPath, tempPath);
  if (length == 0 || length >= sizeof tempPath) return result;

  // The tick count alone repeats within one tick: step on from it until a
  // name is free (and, when asked, created by us).
  DWORD number = GetTickCount();
  for (int attempt = 0; attempt < kNameAttempts; attempt++, number++) {
    int written = std::snprintf(result, sizeof result, "%s%lu\\", tempPath, static_cast<unsigned long>(number));
    if (written <= 0 || written >= static_cast<int>(sizeof result)) break;
    if (!create) {
      if (!FileExists(result)) return result;
    } else if (CreateDirectoryA(result, nullptr)) {
      Cleanup().Add(result, CMyCleanupList::kFolder, 1);
      return result;
    } else if (GetLastError() != ERROR_ALREADY_EXISTS) {
      break;
    }
  }
  result[0] = '\0';
  return result;
}

// Creates the file only when nothing of that name exists, so the name is
// ours and deleting it later cannot take someone else's file.
static bool CreateFreshFile(const char* path) {
  HANDLE file = CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  CloseHandle(file);
  return true;
}

const char* CMyFileUtility::MakeTempFileName(const char* targetFolder, const char* suffix) {
  static char result[260];
  result[0] = '\0';
  char folder[260];
  CopyBounded(folder, MakeTempFolder(1));
  if (folder[0] == '\0') return result;
  if (targetFolder && targetFolder[0]) {
    CopyBounded(folder, targetFolder);
    size_t length = std::strlen(folder);
    if (folder[length - 1] != '\\' && folder[length - 1] != '/') AppendBounded(folder, "\\");
  }
  if (suffix == nullptr || suffix[0] == '\0') suffix = "_";

  DWORD tick = GetTickCount();
  for (int attempt = 0; attempt < kNameAttempts; attempt++) {
    int written = std::snprintf(result, sizeof result, "%s%lu%s%d", folder, static_cast<unsigned long>(tick),
                                suffix, attempt);
    if (written <= 0 || written >= static_cast<int>(sizeof result)) break;
    if (CreateFreshFile(result)) {
      Cleanup().Add(result, CMyCleanupList::kFile, 1);
      return result;
    }
    if (GetLastError() != ERROR_FILE_EXISTS && GetLastError() != ERROR_ALREADY_EXISTS) break;
  }
  result[0] = '\0';
  return result;
}

static bool IsDotEntry(const wchar_t* name) { return wcscmp(name, L".") == 0 || wcscmp(name, L"..") == 0; }

// Wide all the way down: a name the code page cannot spell reaches the
// narrow functions as question marks, and its file would stay behind.
static void DeleteFolderTreeWide(const std::wstring& base, int recurse) {
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileW((base + L"\\*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return;
  do {
    if (IsDotEntry(found.cFileName)) continue;
    const std::wstring path = base + L"\\" + found.cFileName;
    if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
      if (!recurse) continue;
      // A junction or link is removed itself, never followed: what it points
      // at is not ours.
      if (found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)
        RemoveDirectoryW(path.c_str());
      else
        DeleteFolderTreeWide(path, recurse);
    } else {
      SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
      DeleteFileW(path.c_str());
    }
  } while (FindNextFileW(search, &found));
  FindClose(search);
  RemoveDirectoryW(base.c_str());
}

int CMyFileUtility::DeleteFolderTree(const char* folder, int recurse) {
  if (folder == nullptr || folder[0] == '\0') return 0;
  std::string base = folder;
  const std::string kAll = "*.*";
  if (base.size() >= kAll.size() && base.compare(base.size() - kAll.size(), kAll.size(), kAll) == 0)
    base.erase(base.size() - kAll.size());
  while (!base.empty() && (base.back() == '\\' || base.back() == '/')) base.pop_back();
  const int length = MultiByteToWideChar(CP_ACP, 0, base.c_str(), -1, nullptr, 0);
  if (length <= 0) return 0;
  std::wstring wide(static_cast<size_t>(length), L'\0');
  MultiByteToWideChar(CP_ACP, 0, base.c_str(), -1, &wide[0], length);
  wide.resize(static_cast<size_t>(length) - 1);
  if (GetFileAttributesW(wide.c_str()) == INVALID_FILE_ATTRIBUTES) return 0;
  DeleteFolderTreeWide(wide, recurse);
  return 1;
}
