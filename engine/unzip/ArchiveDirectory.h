// The archive directory reader over the thread's open archive: end records,
// the cached central directory, split parts and spanned disks.
#pragma once
#include "UnzipState.h"

HANDLE ArchiveOpen();
void ArchiveClose();
// Opens the archive by name and takes its size and identity; 0, or 9.
int ArchiveSize();
int ArchiveStartsWithCentralHeader();

// The archive handle as a directory source.
ArchiveSource ArchiveSourceOfHandle(HANDLE *handle);

// Called at the start of every function that reads the directory; 0, 4 or 9.
int DirectoryPrepare(const char *archiveName);
// Drops the cache, the end record and the listing position.
void DirectoryInvalidate(UnzipState *state);

// 0, 3, 5 or 48.
int EndRecordRead(int promptSuppress);
// Loads the central directory when the cache is not valid; 0, 3 or 48.
int DirectoryLoadIfNeeded();
// The next member into the state's current member; 0, 2 after the last, 3 or 48.
int DirectoryNext();
// Member index into the state's current member, its name converted unless
// the command keeps names as stored; 1, or 0 when its header is bad.
int MemberAt(uint64_t index);

uint64_t LocalHeaderOffset();
// Reads the local extra field (the archive stands at it) and applies it; 1 or 0.
int LocalExtraRead(const uint8_t localHeader[kLocalHeaderSize], uint32_t extraLength);

// Finds the file of one part of a split archive and makes it the volume path;
// 1 found, 2 not found or cancelled.
int OpenSplitPart(int part, int total);
