#include "MyCleanupList.h"

#include <windows.h>

#include "BoundedText.h"
#include "MyFileUtility.h"

CMyCleanupList::~CMyCleanupList() { RunCleanup(); }

void CMyCleanupList::Add(const char* path, int kind, int flag) {
  if (path == nullptr) return;
  Entry entry;
  entry.kind = kind;
  entry.flag = flag;
  CopyBounded(entry.path, path);
  entries_.push_back(entry);
}

void CMyCleanupList::RunCleanup() {
  for (const Entry& entry : entries_) {
    if (entry.path[0] == '\0') continue;
    int pathKind = CMyFileUtility::GetPathKind(entry.path);
    if (entry.kind == kFile && pathKind == CMyFileUtility::kPathIsFile) {
      SetFileAttributesA(entry.path, FILE_ATTRIBUTE_NORMAL);
      DeleteFileA(entry.path);
    } else if (entry.kind == kFolder && pathKind == CMyFileUtility::kPathIsFolder) {
      CMyFileUtility::DeleteFolderTree(entry.path, 1);
    }
  }
}
