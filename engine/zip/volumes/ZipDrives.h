// Drive facts the zip side checks before writing across volumes.
#pragma once

#include <windows.h>
#include <stddef.h>
#include <stdint.h>

// 1 when every target counts as removable (wZipSubOptions 0x0080), when split
// parts are written, or when the drive (0 = current, 1 = A ... 26) is a
// removable or CD-ROM drive; 0 for numbers outside 0-26.
int ZipIsRemovableDrive(int drive);
// 1-26 for a path that begins with a letter, a colon and a separator (the
// current drive when it is no letter); -1 otherwise.
int ZipDriveOfPath(const char *path);
// 1 when an item of the list, taken as a full path that does not begin with
// a backslash, lies on the drive (0 = current).
int ZipItemListUsesDrive(int drive, const char *itemList);
// 1 when the drive (0 = current) is a removable or CD-ROM drive by its type
// alone, whatever the command's options say.
int ZipDriveTypeIsRemovable(int drive);
// The drive's type as the drive services report it (0 = current drive);
// DRIVE_UNKNOWN for numbers outside 1-26.
UINT ZipDriveType(int drive);
// 1-26 for the drive of the current directory; 0 when it has none.
int ZipCurrentDrive(void);
// The drive's root ("X:\", 0 = current drive) in out; 0 with an empty text
// for numbers outside 1-26.
int ZipDriveRoot(int drive, char *out, size_t capacity);
// The root of a path: "\\server\share\" for a UNC path, "X:\" for a drive
// path; empty for any other.
void ZipPathRoot(const char *path, char *out, size_t capacity);
// Bytes free to the caller on the path's volume; all ones but the top bit
// when that cannot be learnt.
uint64_t ZipGetFreeSpace(const char *path);
