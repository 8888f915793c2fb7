#include "ArchiveDirectory.h"

#include <cstdio>
#include <cstring>
#include "MemberNameText.h"
#include "PathNames.h"
#include "UnzipFiles.h"
#include "UnzipReport.h"

static HANDLE OpenForReading(const char *path) {
  HANDLE file = INVALID_HANDLE_VALUE;
  for (int attempt = 0; attempt < 5 && file == INVALID_HANDLE_VALUE; ++attempt)
    file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                       FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
  return file;
}

// The file the archive is read from now: a split part or the archive itself.
static const char *CurrentVolumePath(const UnzipState *state) {
  return state->volumePath[0] ? state->volumePath : state->archiveName;
}

void ArchiveClose() {
  UnzipState *state = UnzipStateOfThread();
  if (!state || state->archiveHandle == INVALID_HANDLE_VALUE) return;
  CloseHandle(state->archiveHandle);
  state->archiveHandle = INVALID_HANDLE_VALUE;
}

HANDLE ArchiveOpen() {
  UnzipState *state = UnzipStateOfThread();
  if (!state) return INVALID_HANDLE_VALUE;
  ArchiveClose();
  state->archiveHandle = OpenForReading(CurrentVolumePath(state));
  return state->archiveHandle;
}

int ArchiveSize() {
  UnzipState *state = UnzipStateOfThread();
  if (!state) return 9;
  if (state->streamEntry) return 0;
  if (state->archiveHandle == INVALID_HANDLE_VALUE && ArchiveOpen() == INVALID_HANDLE_VALUE) return 9;
  FileStatus status;
  int64_t size = FileSize64(state->archiveHandle);
  if (size <= 0 || FileStatInfo(CurrentVolumePath(state), &status) != 0) return 9;
  state->directory.archiveSize = static_cast<uint64_t>(size);
  state->directory.archiveTime = status.lastWrite;
  return 0;
}

static int64_t HandleReadAt(void *context, uint64_t offset, void *buffer, uint32_t length) {
  HANDLE file = *static_cast<HANDLE *>(context);
  if (FileSeek64(file, static_cast<int64_t>(offset), FILE_BEGIN) < 0) return -1;
  DWORD read = 0;
  if (!ReadFile(file, buffer, length, &read, nullptr)) return -1;
  return read;
}

ArchiveSource ArchiveSourceOfHandle(HANDLE *handle) {
  int64_t size = *handle == INVALID_HANDLE_VALUE ? -1 : FileSize64(*handle);
  return {handle, HandleReadAt, size < 0 ? 0 : static_cast<uint64_t>(size)};
}

int ArchiveStartsWithCentralHeader() {
  UnzipState *state = UnzipStateOfThread();
  if (!state) return 0;
  ArchiveSource source = ArchiveSourceOfHandle(&state->archiveHandle);
  uint8_t head[4];
  return SourceReadExact(&source, 0, head, 4) && ReadLe32(head) == kCentralHeaderSignature;
}

void DirectoryInvalidate(UnzipState *state) {
  UnzipDirectoryState &directory = state->directory;
  directory.endRecordRead = 0;
  DirectoryCacheFree(&directory.cache);
  directory.nextIndex = 0;
  directory.cacheArchiveName[0] = '\0';
  directory.cacheArchiveSize = 0;
  directory.cacheArchiveTime = FILETIME{};
}

static int ReplaceBuffer(uint8_t **buffer, uint32_t size) {
  if (*buffer) GlobalFree(*buffer);
  *buffer = static_cast<uint8_t *>(GlobalAlloc(GPTR, size));
  return *buffer != nullptr;
}

int DirectoryPrepare(const char *archiveName) {
  UnzipState *state = UnzipStateOfThread();
  if (!state) return 4;
  UnzipDirectoryState &directory = state->directory;
  if (!directory.filespecLoop) {
    state->readPosition = state->writePosition = 0;
    state->expectedTotal[0] = state->expectedTotal[1] = 0;
    lstrcpynA(state->archiveName, archiveName, sizeof state->archiveName);
    if (ArchiveSize() != 0) return 9;
  }
  bool sameArchive = lstrcmpiA(directory.cacheArchiveName, state->archiveName) == 0 &&
                     directory.cacheArchiveSize == directory.archiveSize &&
                     CompareFileTime(&directory.cacheArchiveTime, &directory.archiveTime) == 0;
  if (!sameArchive) DirectoryInvalidate(state);
  if (!ReplaceBuffer(&state->inputBuffer, state->inputBufferSize + 4) ||
      !ReplaceBuffer(&state->outputBuffer, state->outputBufferSize + 1))
    return 4;
  return 0;
}

static bool ArchiveOnRemovable(const UnzipState *state) {
  return IsRemovableDrive(DriveNumberOfPath(state->archiveName)) != 0;
}

// An end record for a disk that holds central headers but no end record: the
// disks and the totals are found out while the directory is read.
static const uint32_t kDiskUndetermined = 0xFFFFFFFF;
static const uint64_t kTotalUndetermined = UINT64_MAX;

static int TakeCentralOnlyDisk(UnzipState *state) {
  UnzipDirectoryState &directory = state->directory;
  memset(&directory.end, 0, sizeof directory.end);
  directory.end.thisDisk = directory.end.directoryDisk = kDiskUndetermined;
  directory.end.totalEntries = kTotalUndetermined;
  directory.end.endOffset = directory.end.zip64Offset = -1;
  directory.endRecordRead = 1;
  directory.spanned = 1;
  directory.currentDisk = 0;
  return DirectoryLoadIfNeeded();
}

// Asks for the disk or split part that holds the end record; 0 to search
// again, or a result code.
static int TakeLastVolume(UnzipState *state, bool *triedLastPart) {
  ArchiveClose();
  if (state->splitFiles) {
    // The last part has been taken already: searching it again finds nothing new.
    if (*triedLastPart || OpenSplitPart(0, 0) != 1) return 3;
    *triedLastPart = true;
  } else if (UnzipShowMessage(kUnzipMsgDiskPrompt, MB_OKCANCEL, 0, -1, nullptr) != IDOK) {
    return 48;
  }
  return ArchiveOpen() == INVALID_HANDLE_VALUE ? 3 : 0;
}

static void TakeDiskNumbers(UnzipState *state) {
  UnzipDirectoryState &directory = state->directory;
  EndRecord &end = directory.end;
  if (end.thisDisk != 0) {
    directory.spanned = 1;
    if (!ArchiveOnRemovable(state)) state->splitFiles = 1;
  } else {
    directory.spanned = 0;
    if (end.entriesOnDisk == end.totalEntries && end.directoryDisk == end.thisDisk) end.directoryDisk = 0;
  }
  directory.currentDisk = end.thisDisk;
}

int EndRecordRead(int promptSuppress) {
  UnzipState *state = UnzipStateOfThread();
  if (!state) return 4;
  UnzipDirectoryState &directory = state->directory;
  if (directory.endRecordRead) return 0;
  bool triedLastPart = false;
  for (;;) {
    ArchiveSource source = ArchiveSourceOfHandle(&state->archiveHandle);
    int64_t found = state->splitFiles || ArchiveOnRemovable(state) ? EndRecordSearchBuffered(&source, promptSuppress)
                                                                   : EndRecordSearchDirect(&source);
    if (found == kEndNoMemory) return 5;
    if (found == kEndNotFound || found == kEndAmbiguous) return 3;
    if (found == kEndCentralOnly) return TakeCentralOnlyDisk(state);
    if (found == kEndNotOnThisDisk) {
      int result = TakeLastVolume(state, &triedLastPart);
      if (result) return result;
      promptSuppress = 1;
      continue;
    }
    if (EndRecordParseShifted(&source, found, &directory.end) != 0) return 3;
    break;
  }
  directory.endRecordRead = 1;
  TakeDiskNumbers(state);
  return 0;
}

// Puts the disk of a spanned directory in place: a split part by name, or a
// disk the user inserts. 0, or 48 when the user cancels.
static int TakeDirectoryDisk(UnzipState *state, uint32_t disk) {
  const EndRecord &end = state->directory.end;
  bool countKnown = end.thisDisk != kDiskUndetermined;
  int diskCount = countKnown ? static_cast<int>(end.thisDisk) + 1 : 0;
  for (;;) {
    ArchiveClose();
    if (state->splitFiles) {
      if (OpenSplitPart(static_cast<int>(disk) + 1, diskCount) != 1) return 48;
    } else {
      int answer = countKnown
                       ? UnzipShowMessage(kUnzipMsgDiskOfPrompt, MB_OKCANCEL, static_cast<int>(disk) + 1, diskCount, nullptr)
                       : UnzipShowMessage(kUnzipMsgDiskPrompt, MB_OKCANCEL, static_cast<int>(disk) + 1, 0, nullptr);
      if (answer != IDOK) return 48;
    }
    if (ArchiveOpen() != INVALID_HANDLE_VALUE) break;
    if (state->splitFiles || UnzipShowMessage(kUnzipMsgOpenError, MB_OKCANCEL, 0, 0, nullptr) != IDOK) return 48;
  }
  state->directory.currentDisk = disk;
  return 0;
}

// While the totals are undetermined, a disk's own end record settles them.
static void SettleUndeterminedTotal(UnzipState *state, HANDLE *handle) {
  EndRecord &end = state->directory.end;
  if (end.totalEntries != kTotalUndetermined) return;
  ArchiveSource source = ArchiveSourceOfHandle(handle);
  int64_t found = EndRecordSearchDirect(&source);
  EndRecord record;
  if (found >= 0 && EndRecordParse(&source, found, &record) == 0) end = record;
}

static int LoadSpannedDirectory(UnzipState *state) {
  UnzipDirectoryState &directory = state->directory;
  uint32_t firstDisk = directory.end.directoryDisk == kDiskUndetermined ? 0 : directory.end.directoryDisk;
  for (uint32_t disk = firstDisk;; ++disk) {
    int64_t loaded = 0;
    while (loaded <= 0) {
      int result = TakeDirectoryDisk(state, disk);
      if (result) return result;
      ArchiveSource source = ArchiveSourceOfHandle(&state->archiveHandle);
      bool first = disk == firstDisk;
      loaded = DirectoryLoad(&directory.cache, &source, first ? directory.end.directoryOffset : 0,
                             directory.end.totalEntries, first);
      if (loaded <= 0) UnzipShowMessage(kUnzipMsgReadError, MB_OK, 0, 0, nullptr);
    }
    SettleUndeterminedTotal(state, &state->archiveHandle);
    if (directory.cache.count >= directory.end.totalEntries) return 0;
  }
}

int DirectoryLoadIfNeeded() {
  UnzipState *state = UnzipStateOfThread();
  if (!state) return 4;
  UnzipDirectoryState &directory = state->directory;
  if (directory.cache.valid) return 0;
  if (directory.currentDisk == directory.end.directoryDisk && directory.end.directoryDisk != kDiskUndetermined) {
    ArchiveSource source = ArchiveSourceOfHandle(&state->archiveHandle);
    int64_t loaded = DirectoryLoad(&directory.cache, &source, directory.end.directoryOffset,
                                   directory.end.totalEntries, 1);
    if (loaded < 0 || static_cast<uint64_t>(loaded) != directory.end.totalEntries) {
      UnzipShowMessage(kUnzipMsgReadError, MB_OK, 0, 0, nullptr);
      return 3;
    }
  } else {
    int result = LoadSpannedDirectory(state);
    if (result) return result;
  }
  directory.cache.valid = 1;
  lstrcpynA(directory.cacheArchiveName, state->archiveName, sizeof directory.cacheArchiveName);
  directory.cacheArchiveSize = directory.archiveSize;
  directory.cacheArchiveTime = directory.archiveTime;
  directory.nextIndex = 0;
  return 0;
}

int MemberAt(uint64_t index) {
  UnzipState *state = UnzipStateOfThread();
  if (!state) return 0;
  CurrentMember &member = state->directory.member;
  if (!MemberFromCache(&state->directory.cache, index, &member)) return 0;
  member.values.localHeaderOffset += static_cast<uint64_t>(state->directory.end.offsetShift);
  MemberNameToAnsi(&member, state->noOemConversion);
  return 1;
}

int DirectoryNext() {
  UnzipState *state = UnzipStateOfThread();
  if (!state) return 4;
  int result = DirectoryLoadIfNeeded();
  if (result) return result;
  UnzipDirectoryState &directory = state->directory;
  if (directory.nextIndex >= directory.cache.count) return 2;
  if (!MemberAt(directory.nextIndex)) return 3;
  directory.nextIndex++;
  return 0;
}

uint64_t LocalHeaderOffset() {
  UnzipState *state = UnzipStateOfThread();
  return state ? state->directory.member.values.localHeaderOffset : 0;
}

int LocalExtraRead(const uint8_t localHeader[kLocalHeaderSize], uint32_t extraLength) {
  UnzipState *state = UnzipStateOfThread();
  if (!state) return 0;
  if (extraLength < 5) return 1;
  auto *extra = static_cast<uint8_t *>(GlobalAlloc(GPTR, extraLength));
  if (!extra) return 0;
  DWORD read = 0;
  int applied = ReadFile(state->archiveHandle, extra, extraLength, &read, nullptr) && read == extraLength &&
                LocalExtraApply(&state->directory.member, localHeader, extra, extraLength);
  GlobalFree(extra);
  return applied;
}

static bool FileExists(const char *path) { return GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES; }

// The archive name with the last ".zip" (any case) of its file name and all
// after it replaced by the extension, or with the extension appended. A
// ".zip" inside a folder name is never touched.
static void PartName(char *out, size_t capacity, const char *archive, const char *extension) {
  char lower[kUnzipPathCapacity];
  lstrcpynA(lower, archive, sizeof lower);
  CharLowerA(lower);
  const char *name = lower;
  static const char kSeparators[] = {'\\', '/', ':'};
  for (char separator : kSeparators) {
    const char *last = PathFindLastChar(name, separator);
    if (last) name = last + 1;
  }
  const char *zip = nullptr;
  for (const char *found = PathFindString(name, ".zip"); found; found = PathFindString(found + 1, ".zip")) zip = found;
  int keep = zip ? static_cast<int>(zip - lower) : static_cast<int>(strlen(archive));
  snprintf(out, capacity, "%.*s%s", keep, archive, extension);
}

int OpenSplitPart(int part, int total) {
  UnzipState *state = UnzipStateOfThread();
  if (!state) return 2;
  if (state->messageDisplay) {
    lstrcpynA(state->nameBuffer, state->archiveName, sizeof state->nameBuffer);
    char second[kUnzipMessageBufferSize] = "";
    int answer = state->messageDisplay(kUnzipMsgSplitPart, MB_YESNOCANCEL, part, total, state->nameBuffer, second,
                                       state->messageDisplayData);
    if (answer == IDCANCEL) return 2;
    if (answer == IDYES) {
      if (!FileExists(state->nameBuffer)) return 2;
      lstrcpynA(state->volumePath, state->nameBuffer, sizeof state->volumePath);
      return 1;
    }
  }
  char extension[16];
  char path[kUnzipPathCapacity];
  if (part == 0)
    snprintf(extension, sizeof extension, ".zip");
  else
    snprintf(extension, sizeof extension, part < 100 ? ".zip.z%02d" : ".zip.%03d", part);
  PartName(path, sizeof path, state->archiveName, extension);
  if (part != 0 && !FileExists(path)) {
    snprintf(extension, sizeof extension, part < 100 ? ".z%02d" : ".%03d", part);
    PartName(path, sizeof path, state->archiveName, extension);
    if (!FileExists(path)) lstrcpynA(path, state->archiveName, sizeof path);
  }
  if (!FileExists(path)) return 2;
  lstrcpynA(state->volumePath, path, sizeof state->volumePath);
  return 1;
}
