#include "UnzipFiles.h"

#include <cstring>
#include "../common/LocalFileTime.h"
#include "DosTime.h"
#include "UnzipDriveServices.h"
#include "UnzipState.h"

uint32_t FileDosDateTime(const char *name) {
  wchar_t wide[MAX_PATH * 4];
  return MultiByteToWideChar(CP_ACP, 0, name, -1, wide, MAX_PATH * 4) > 0 ? FileDosDateTime(wide) : 0;
}

uint32_t FileDosDateTime(const wchar_t *name) {
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileW(name, &found);
  if (search == INVALID_HANDLE_VALUE) return 0;
  FindClose(search);
  FILETIME local;
  WORD date = 0, time = 0;
  if (LocalFileTimeOfFileTime(found.ftLastWriteTime, &local)) FileTimeToDosDateTime(&local, &date, &time);
  return static_cast<uint32_t>(date) << 16 | time;
}

struct tm FileTimeToTm(FILETIME time) {
  struct tm out;
  memset(&out, 0, sizeof out);
  FILETIME local;
  WORD date = 0, dosTime = 0;
  if (LocalFileTimeOfFileTime(time, &local) && FileTimeToDosDateTime(&local, &date, &dosTime)) {
    DosDateTimeParts parts = DosDateTimeUnpack(date, dosTime);
    out.tm_year = parts.year - 1900;
    out.tm_mon = parts.month - 1;
    out.tm_mday = parts.day;
    out.tm_hour = parts.hour;
    out.tm_min = parts.minute;
    out.tm_sec = parts.second;
  } else {
    out.tm_year = 80;
    out.tm_mday = 1;
    out.tm_hour = 12;
  }
  out.tm_isdst = -1;
  return out;
}

static time_t TimeOf(FILETIME time) {
  struct tm parts = FileTimeToTm(time);
  return mktime(&parts);
}

int FileStatInfo(const char *name, FileStatus *status) {
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA(name, &found);
  if (search == INVALID_HANDLE_VALUE) search = FindFirstFileA(name, &found);
  if (search == INVALID_HANDLE_VALUE) return -1;
  FindClose(search);
  memset(status, 0, sizeof *status);
  char letter = name[0];
  if (name[1] == ':' && ((letter >= 'A' && letter <= 'Z') || (letter >= 'a' && letter <= 'z')))
    status->drive = (letter | 0x20) - 'a';
  status->mode = found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY ? 0x41B6 : 0x81B6;
  status->links = 1;
  status->size = found.nFileSizeLow;
  status->fullSize = static_cast<uint64_t>(found.nFileSizeHigh) << 32 | found.nFileSizeLow;
  status->accessTime = TimeOf(found.ftLastAccessTime);
  status->modifyTime = TimeOf(found.ftLastWriteTime);
  status->createTime = TimeOf(found.ftCreationTime);
  status->lastWrite = found.ftLastWriteTime;
  return 0;
}

int64_t FileSeek64(HANDLE file, int64_t distance, DWORD origin) {
  LARGE_INTEGER move, position;
  move.QuadPart = distance;
  if (!SetFilePointerEx(file, move, &position, origin)) return -1;
  return position.QuadPart;
}

int64_t FileSize64(HANDLE file) {
  LARGE_INTEGER size;
  return GetFileSizeEx(file, &size) ? size.QuadPart : -1;
}

int IsRemovableDrive(int drive) {
  UnzipState *state = UnzipStateOfThread();
  if (!state || drive < 0 || drive > 26) return 0;
  if (state->treatDriveRemovable) return 1;
  char root[4] = {'A', ':', '\\', '\0'};
  if (drive == 0) {
    char folder[MAX_PATH + 1];
    if (GetCurrentDirectoryA(sizeof folder, folder) < 2 || folder[1] != ':') return 0;
    root[0] = folder[0];
  } else {
    root[0] = static_cast<char>('A' + drive - 1);
  }
  UINT type = UnzipDrive().driveType(root);
  return type == DRIVE_REMOVABLE || type == DRIVE_CDROM;
}

int ArchiveReadByte() {
  UnzipState *state = UnzipStateOfThread();
  if (!state || state->archiveHandle == INVALID_HANDLE_VALUE) return -1;
  unsigned char byte;
  DWORD read = 0;
  if (!ReadFile(state->archiveHandle, &byte, 1, &read, nullptr) || read != 1) return -1;
  return byte;
}

enum : uint32_t { kVolumeLabelAttribute = 0x08, kVolumeLabelLength = 11 };

void ReadMemberName(uint32_t length) {
  UnzipState *state = UnzipStateOfThread();
  if (!state) return;
  char *name = state->nameBuffer;
  memset(name, 0, sizeof state->nameBuffer);
  if (length > sizeof state->nameBuffer - 1) length = sizeof state->nameBuffer - 1;
  DWORD read = 0;
  if (state->archiveHandle != INVALID_HANDLE_VALUE) ReadFile(state->archiveHandle, name, length, &read, nullptr);
  uint32_t external = ReadLe32(state->directory.member.central + kChExternalAttr);
  if (external & kVolumeLabelAttribute) {
    for (char *p = name; *p; ++p)
      if (*p == '.') *p = ' ';
    name[kVolumeLabelLength] = '\0';
  }
  if (!state->noOemConversion) OemToCharA(name, name);
}
