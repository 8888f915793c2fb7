// File, time and drive routines of the unzip side.
#pragma once
#include <windows.h>
#include <cstdint>
#include <ctime>

// Last-write time as local DOS date/time; 0 when the file is not found.
uint32_t FileDosDateTime(const char *name);
uint32_t FileDosDateTime(const wchar_t *name);
// Through the DOS date/time; 1980-01-01 12:00:00 when that fails.
struct tm FileTimeToTm(FILETIME time);

struct FileStatus {
  int drive;  // 0 for A, from a drive-letter prefix; else 0
  unsigned mode;  // 0x41B6 directory, 0x81B6 file
  int links;
  uint32_t size;  // low 32 bits
  time_t accessTime;
  time_t modifyTime;
  time_t createTime;
  uint64_t fullSize;
  FILETIME lastWrite;
};
// 0, or -1 when the file is not found (looked for twice).
int FileStatInfo(const char *name, FileStatus *status);

int64_t FileSeek64(HANDLE file, int64_t distance, DWORD origin);
int64_t FileSize64(HANDLE file);

// Drive 0 is the current one, 1 is A; 1 for removable and CD-ROM drives, or
// for every drive when the command treats the drive as removable.
int IsRemovableDrive(int drive);

// One byte of the open archive, or -1.
int ArchiveReadByte();
// Reads a header's name field (at most 2,047 bytes) into the state's name
// buffer; a volume label loses its dots and is cut at 11 characters.
void ReadMemberName(uint32_t length);
