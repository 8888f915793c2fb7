#include "ZipSourceFiles.h"

#include <string.h>

#include "../common/LocalFileTime.h"
#include "../common/MessageTable.h"
#include "../unzip/DosTime.h"
#include "messages/ZipProgress.h"
#include "ZipFiles.h"
#include "ZipState.h"

namespace {

enum : uint32_t { kCopyBlock = 0x40000, kAttributeMask = 0x37, kVolumeAttribute = 8 };
enum : uint64_t { kMissingDirectorySize = ~0ull - 2 };

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

uint32_t DosOfFileTime(const FILETIME &utc) {
  SYSTEMTIME parts;
  if (!LocalTimeOfFileTime(utc, &parts)) return 0;
  return DosDateTimePack(parts.wYear, parts.wMonth, parts.wDay, parts.wHour, parts.wMinute, parts.wSecond);
}

void LocalTimesNow(FILETIME times[3]) {
  if (!times) return;
  SYSTEMTIME now;
  GetLocalTime(&now);
  SystemTimeToFileTime(&now, &times[0]);
  times[1] = times[2] = times[0];
}

uint32_t NowAsDos() {
  SYSTEMTIME now;
  GetLocalTime(&now);
  return DosDateTimePack(now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond);
}

uint32_t MemoryItemInfo(const ZipState *state, uint32_t *attributes, uint64_t *size, FILETIME times[3]) {
  *attributes = 0;
  if (state->memoryOutput) *size = state->zip64Allowed ? 0x7FFFFFFFFFFFFFFFull : 0x0000000FFFFFFFFFull;
  else *size = state->memBlockSize;
  LocalTimesNow(times);
  return NowAsDos();
}

}  // namespace

uint32_t ZipSourceInfo(const char *path, uint32_t *attributes, uint64_t *size, FILETIME times[3]) {
  ZipState *state = ZipCurrentState();
  if (state && state->loop.memoryItem[0] && lstrcmpiA(path, state->loop.memoryItem) == 0)
    return MemoryItemInfo(state, attributes, size, times);
  if (state && state->loop.volumeLabel[0] && strcmp(path, state->loop.volumeLabel) == 0) {
    *attributes = kVolumeAttribute;
    *size = 0;
    LocalTimesNow(times);
    return state->loop.volumeLabelTime;
  }

  char lookup[ZIP_PATH_SIZE];
  CopyTextCapped(lookup, sizeof lookup, path);
  size_t length = strlen(lookup);
  bool directoryForm = length > 0 && IsSeparator(lookup[length - 1]);
  if (directoryForm && length > 1) lookup[length - 1] = '\0';

  WIN32_FILE_ATTRIBUTE_DATA facts;
  if (!GetFileAttributesExA(lookup, GetFileExInfoStandard, &facts)) {
    *attributes = directoryForm ? FILE_ATTRIBUTE_DIRECTORY : 0;
    *size = directoryForm ? uint64_t(kMissingDirectorySize) : 0;
    return 0;
  }
  *attributes = facts.dwFileAttributes & kAttributeMask;
  *size = (uint64_t)facts.nFileSizeHigh << 32 | facts.nFileSizeLow;
  if (times) {
    LocalFileTimeOfFileTime(facts.ftCreationTime, &times[0]);
    LocalFileTimeOfFileTime(facts.ftLastAccessTime, &times[1]);
    LocalFileTimeOfFileTime(facts.ftLastWriteTime, &times[2]);
  }
  return DosOfFileTime(facts.ftLastWriteTime);
}

void ZipSetFileDosTime(const char *path, uint32_t dosDateTime) {
  HANDLE file = CreateFileA(path, GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  FILETIME local, utc;
  if (DosDateTimeToFileTime(static_cast<WORD>(dosDateTime >> 16), static_cast<WORD>(dosDateTime), &local) &&
      FileTimeOfLocalFileTime(local, &utc))
    SetFileTime(file, &utc, &utc, &utc);
  CloseHandle(file);
}

int64_t ZipFileSize64(HANDLE file) {
  LARGE_INTEGER size;
  if (!GetFileSizeEx(file, &size)) return -1;
  return size.QuadPart;
}

int ZipCopyFileRange(HANDLE from, HANDLE to, uint64_t count) {
  ZipState *state = ZipCurrentState();
  uint8_t *block = static_cast<uint8_t *>(VirtualAlloc(nullptr, kCopyBlock, MEM_COMMIT, PAGE_READWRITE));
  if (!block) return 4;
  int result = 0;
  while (count) {
    DWORD want = count < kCopyBlock ? static_cast<DWORD>(count) : DWORD(kCopyBlock);
    DWORD got = 0;
    if (!ReadFile(from, block, want, &got, nullptr)) {
      result = 11;
      break;
    }
    if (got == 0) {
      if (count != ZIP_COPY_ALL) result = 11;
      break;
    }
    DWORD written = 0;
    if (!WriteFile(to, block, got, &written, nullptr) || written != got) {
      result = 10;
      break;
    }
    if (count != ZIP_COPY_ALL) count -= got;
    if (state && ZipCheckCancel(state)) {
      result = 9;
      break;
    }
  }
  VirtualFree(block, 0, MEM_RELEASE);
  return result;
}

int ZipTempFileName(ZipState *state) {
  const char *folder = state->main.tempFolder;
  char current[ZIP_PATH_SIZE];
  if (!folder || !*folder) {
    DWORD length = GetCurrentDirectoryA(sizeof current, current);
    if (length == 0 || length >= sizeof current) return 0;
    folder = current;
  }
  return ZipUniqueFileName(folder, state->loop.tempName, sizeof state->loop.tempName);
}

int ZipReplaceArchive(const char *archive, const char *temporary) {
  if (GetFileAttributesA(archive) != INVALID_FILE_ATTRIBUTES) {
    SetFileAttributesA(archive, FILE_ATTRIBUTE_NORMAL);
    if (!DeleteFileA(archive)) return 15;
  }
  if (MoveFileA(temporary, archive)) return 0;

  // Another volume: copy the bytes over.
  HANDLE from = CreateFileA(temporary, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (from == INVALID_HANDLE_VALUE) return 10;
  HANDLE to = CreateFileA(archive, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (to == INVALID_HANDLE_VALUE) {
    CloseHandle(from);
    return 15;
  }
  int result = ZipCopyFileRange(from, to, ZIP_COPY_ALL);
  CloseHandle(from);
  if (!CloseHandle(to) && !result) result = 14;
  if (result) {
    DeleteFileA(archive);
    return result == 10 ? 14 : result;
  }
  DeleteFileA(temporary);
  return 0;
}
