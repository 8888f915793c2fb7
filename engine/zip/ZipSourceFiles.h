// File helpers of the main loop: the facts of a source, its DOS time, the
// temporary archive's name, copying byte ranges and putting the new archive
// in place of the old one.
#pragma once

#include <windows.h>
#include <stdint.h>

struct ZipState;

// A source's DOS date-time (0 when it is not found), attributes (mask 0x37),
// 64-bit size and its three local file times (creation, access, write; may
// be null). The volume label entry and the memory item answer with their own
// values. A path ending in a separator is looked up without it; a missing
// one of that form answers attributes 16 and size -3, any other missing path
// attributes 0 and size 0.
uint32_t ZipSourceInfo(const char *path, uint32_t *attributes, uint64_t *size, FILETIME times[3]);
// Sets the file's creation, access and write times from a local DOS
// date-time; nothing when the file cannot be opened for writing.
void ZipSetFileDosTime(const char *path, uint32_t dosDateTime);
// The 64-bit size of an open file, or -1.
int64_t ZipFileSize64(HANDLE file);
enum : uint64_t { ZIP_COPY_ALL = ~0ull };
// Copies count bytes (or up to the end with ZIP_COPY_ALL) from the current
// positions; 0, 11 read failure, 10 write failure, 9 cancelled.
int ZipCopyFileRange(HANDLE from, HANDLE to, uint64_t count);
// The temporary archive's name in state->loop.tempName: in the command's
// temporary folder, else in the current folder. 0 when it cannot be formed.
int ZipTempFileName(ZipState *state);
// Puts the temporary file under the archive's name; 0, 10, 14 or 15.
int ZipReplaceArchive(const char *archive, const char *temporary);
