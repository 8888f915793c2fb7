#include "ZipMain.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "../common/MessageTable.h"
#include "../unzip/DosTime.h"
#include "messages/ZipLog.h"
#include "messages/ZipMessages.h"
#include "messages/ZipProgress.h"
#include "messages/ZipReport.h"
#include "update/ZipArchiveReader.h"
#include "update/ZipEntryList.h"
#include "volumes/ZipDirectoryAhead.h"
#include "volumes/ZipVolumeRoom.h"
#include "writer/ZipCentralDirectory.h"
#include "writer/ZipMemberCompressor.h"
#include "writer/ZipRecordWriter.h"
#include "ZipCommandEnd.h"
#include "ZipExecute.h"
#include "ZipFileList.h"
#include "ZipFiles.h"
#include "ZipSourceFiles.h"
#include "ZipStrings.h"

namespace {

enum {
  kProcessingArguments = 103,
  kNotMatched = 132,
  kNotFoundOrEmpty = 135,
  kCopyingInstead = 136,
  kCouldNotOpen = 137,
  kNewArchiveLeftAs = 139,
  kPassword = 143,
  kInvalidDate = 148,
  kProcessingList = 150,
  kDeleteOptions = 152,
  kTempName = 154,
  kAddingFiles = 155,
  kReplacing = 156,
  kAboutToZip = 158,
  kCopying = 159,
  kTooManyEntries = 262,
  kCommentFormat = 263,
  kDeletedLine = 704,
  kProcessingItems = 700,
};
enum { kItemSize = 4096, kWorkBufferSize = 8192, kSpanMarkerSize = 4 };

int Stop(ZipState *state, int code, const char *detail) {
  ZipAbort(code, detail);
  return ZipFinish(state, code);
}

// "text name" for the abort details that name an entry.
int StopNaming(ZipState *state, int code, int messageId, const char *name) {
  char detail[ZIP_PATH_SIZE];
  snprintf(detail, sizeof detail, "%s %s", ZipMessageText(messageId, 2), name ? name : "");
  return Stop(state, code, detail);
}

ZipMode ModeOf(int function) {
  switch (function) {
    case ZIP_FRESHEN: return ZIP_MODE_FRESHEN;
    case ZIP_DELETE: return ZIP_MODE_DELETE;
    case ZIP_UPDATE: return ZIP_MODE_UPDATE;
    default: return ZIP_MODE_ADD;
  }
}

// ".zip" when the last component has no dot; 0 when it does not fit.
int AddDefaultSuffix(char *name, size_t capacity) {
  const char *last = strrchr(name, '\\');
  if (strchr(last ? last : name, '.')) return 1;
  if (strlen(name) + 5 > capacity) return 0;
  strcat(name, ".zip");
  return 1;
}

void TakeLevel(const ZIPCMDSTRUCT *record, ZipState *state) {
  int level = record->compFactor < 0 ? 0 : record->compFactor > 19 ? 19 : record->compFactor;
  if (level == 0 && state->memoryOutput) level = 1;
  state->forcedMethod = level >= 10 ? 9 : level == 0 ? 0 : -1;
  state->level = level >= 10 ? level - 10 : level;
}

char *Duplicate(const char *text) {
  size_t size = strlen(text) + 1;
  char *copy = static_cast<char *>(malloc(size));
  if (copy) memcpy(copy, text, size);
  return copy;
}

// Part sizes as 64-bit values, up to the first zero.
int TakePartSizes(const ZIPCMDSTRUCT *record, ZipState *state) {
  const uint32_t *sizes = record->pulFileSizeArray;
  if (!sizes) return 0;
  bool wide = state->multiVolControl & ZMV_SIZES_64;
  uint32_t count = 0;
  while (wide ? (sizes[2 * count] || sizes[2 * count + 1]) : sizes[count]) ++count;
  state->main.partSizes = static_cast<uint64_t *>(calloc(count + 1, sizeof(uint64_t)));
  if (!state->main.partSizes) return 4;
  for (uint32_t i = 0; i < count; ++i)
    state->main.partSizes[i] = wide ? (uint64_t)sizes[2 * i + 1] << 32 | sizes[2 * i] : sizes[i];
  state->main.partCount = count;
  return 0;
}

// The settings of the record beyond level and password. 0, or a code
// already reported.
int TakeSettings(const ZIPCMDSTRUCT *record, ZipState *state) {
  ZipMainSettings &main = state->main;
  main.recurse = record->recurseFlag != 0;
  main.moveSources = record->deleteOriginalFlag != 0;
  main.storeDirectoryNames = !record->noDirectoryNamesFlag;
  main.upperCaseNames = record->dosifyFlag & 1;
  if (record->convertLFtoCRLFFlag) ++state->convertLineEnds;
  main.includeSysHidden = record->includeSysHiddenFlag != 0;
  main.volumeLabelEntry = record->includeVolumeFlag != 0;
  main.addDirectoryEntries = !record->noDirectoryEntriesFlag;
  if (record->dontCompressTheseSuffixesFlag && record->lpszStoreSuffixes) state->storeSuffixes = record->lpszStoreSuffixes;
  if (record->addCommentFlag && record->lpszComment) {
    char *comment = Duplicate(record->lpszComment);
    if (!comment) return ZipAbort(4, ZipMessageText(kCommentFormat, 2));
    free(main.comment);
    main.comment = comment;
    state->loop.commentLength = static_cast<uint32_t>(strlen(comment) & 0xFFFF);
  }
  main.archiveTimeFromNewest = record->oldAsLatestFlag != 0;
  if (record->afterDateFlag) {
    main.afterDate = ZipAfterDate(record->lpszDate);
    if (!main.afterDate) return ZipAbort(16, ZipMessageText(kInvalidDate, 2));
  }
  if (TakePartSizes(record, state)) return ZipAbort(4, nullptr);
  bool multiVolume = state->multiVolControl & ZMV_MULTI_VOLUME;
  if (!main.growInPlace && !multiVolume && record->pathForTempFlag && record->lpszTempPath) {
    char folder[ZIP_PATH_SIZE];
    ZipCopyUnquoted(folder, record->lpszTempPath);
    if (!(main.tempFolder = Duplicate(folder))) return ZipAbort(4, nullptr);
  }
  return 0;
}

// The item list into the file list or the delete marks. 0, or a code
// already reported.
int CollectItems(const ZIPCMDSTRUCT *record, ZipState *state) {
  const char *cursor = record->lpszItemList ? record->lpszItemList : "";
  char item[kItemSize], unquoted[ZIP_PATH_SIZE];
  bool first = true;
  while (ZipNextItem(&cursor, item, sizeof item)) {
    ZipCopyUnquoted(unquoted, item);
    int result;
    if (first && state->memorySource) result = ZipAddMemoryItem(unquoted, state);
    else if (state->main.mode == ZIP_MODE_DELETE) result = ZipMarkForDelete(unquoted, state);
    else result = ZipCollectItem(unquoted, state);
    first = false;
    if (result == -1) ZipWarn(ZipMessageText(kNotMatched, 1), unquoted);
    else if (result) return ZipAbort(result, unquoted);
  }
  return 0;
}

bool UpdatesByTime(const ZipState *state) {
  return state->main.mode == ZIP_MODE_UPDATE || state->main.mode == ZIP_MODE_FRESHEN;
}

// Keeps the marks of the entries that are to be written again (or deleted).
// The count of marked entries, or -1 on cancel.
int64_t SelectExistingEntries(ZipState *state) {
  int64_t count = 0;
  for (ZipEntry *entry = state->entries; entry; entry = entry->next) {
    if (ZipCheckCancel(state)) return -1;
    if (!(entry->selected & ZIP_MARK_PROCESS)) continue;
    bool keep = state->main.mode == ZIP_MODE_DELETE;
    if (!keep) {
      uint32_t attributes;
      uint64_t size;
      uint32_t sourceTime = ZipSourceInfo(entry->path, &attributes, &size, nullptr);
      bool current = sourceTime && sourceTime >= state->main.afterDate;
      keep = current && (!UpdatesByTime(state) || entry->dosDateTime < sourceTime);
      if (!keep && current) entry->selected |= ZIP_MARK_MOVE;
    }
    if (keep) ++count;
    else entry->selected &= ~ZIP_MARK_PROCESS;
  }
  return count;
}

// Drops the new files the mode or the after-date leaves out. 0, or 9.
int SelectNewFiles(ZipState *state) {
  bool adds = state->main.mode == ZIP_MODE_ADD || state->main.mode == ZIP_MODE_UPDATE;
  for (ZipNewFile *node = state->loop.newFiles; node;) {
    if (ZipCheckCancel(state)) return 9;
    node = adds && node->dosDateTime >= state->main.afterDate ? node->next : ZipRemoveNewFile(node, state);
  }
  return 0;
}

// Whether the command has anything to do: 0 to go on, else the code it ends with.
int NothingToDo(const ZipState *state, int64_t marked, const ZIPCMDSTRUCT *record) {
  if (marked || state->loop.newFileCount) return -1;
  bool rewrite = (record->addCommentFlag && record->lpszComment) || state->main.archiveTimeFromNewest ||
                 state->main.repairLevel;
  if (state->entryCount && rewrite) return -1;
  if (UpdatesByTime(state)) return 0;
  return !state->entryCount && (state->main.archiveTimeFromNewest || state->main.repairLevel) ? 13 : 12;
}

// Opens (or creates) the archive for writing to prove it can be written.
int ProveWritable(ZipState *state) {
  bool existed = GetFileAttributesA(state->archiveName) != INVALID_FILE_ATTRIBUTES;
  HANDLE file = CreateFileA(state->archiveName, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return 15;
  CloseHandle(file);
  state->loop.archiveAttributes = GetFileAttributesA(state->archiveName);
  if (!existed) DeleteFileA(state->archiveName);
  return 0;
}

HANDLE OpenForReading(const char *name) {
  return CreateFileA(name, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
}

int SeekTo(HANDLE file, uint64_t offset) {
  LARGE_INTEGER at;
  at.QuadPart = static_cast<int64_t>(offset);
  return SetFilePointerEx(file, at, nullptr, FILE_BEGIN);
}

bool HasOldArchive(const ZipState *state) { return state->entryCount || state->loop.preambleSize; }

bool SplitParts(const ZipState *state) {
  return (state->multiVolControl & (ZMV_MULTI_VOLUME | ZMV_SPLIT_PARTS)) == (ZMV_MULTI_VOLUME | ZMV_SPLIT_PARTS);
}

bool Staging(const ZipState *state) {
  return (state->multiVolControl & (ZMV_MULTI_VOLUME | ZMV_SPLIT_PARTS)) == ZMV_MULTI_VOLUME &&
         state->volumeFile != INVALID_HANDLE_VALUE;
}

bool DirectoryAhead(const ZipState *state) { return ZipWritesDirectoryAhead(state); }

// Where archive bytes go: a staging file collects each disk's bytes before
// they are copied to the disk file (state->output).
HANDLE *ArchiveBytes(ZipState *state) { return Staging(state) ? &state->volumeFile : &state->output; }

// The output: the archive itself when growing, else a temporary file that
// starts with the old archive's preamble. 0, or a code already reported.
int OpenOutput(ZipState *state) {
  ZipWriterState &writer = state->writer;
  if (state->growingInPlace) {
    CopyTextCapped(state->outputName, sizeof state->outputName, state->archiveName);
    state->output = CreateFileA(state->archiveName, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                OPEN_EXISTING, 0, nullptr);
    if (state->output == INVALID_HANDLE_VALUE) return ZipAbort(13, state->archiveName);
    if (!SeekTo(state->output, state->centralOffset)) return ZipAbort(2, state->archiveName);
    writer.outputOffset = state->centralOffset;
    return 0;
  }
  if (SplitParts(state)) {
    // The first part, opened with the command, takes the archive's bytes.
    CopyTextCapped(state->outputName, sizeof state->outputName, state->volumeName);
    state->output = state->volumeFile;
    writer.outputOffset = 0;
    return state->output == INVALID_HANDLE_VALUE ? ZipAbort(13, state->archiveName) : 0;
  }
  if (state->multiVolControl & ZMV_MULTI_VOLUME) {
    CopyTextCapped(state->outputName, sizeof state->outputName, state->archiveName);
    state->output = CreateFileA(state->archiveName, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    writer.outputOffset = 0;
    return state->output == INVALID_HANDLE_VALUE ? ZipAbort(13, state->archiveName) : 0;
  }
  if (!ZipTempFileName(state)) return ZipAbort(4, ZipMessageText(kTempName, 2));
  const char *temp = state->loop.tempName;
  if (ZipCreatePathFolders(temp)) return ZipAbort(15, temp);
  state->output = CreateFileA(temp, GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (state->output == INVALID_HANDLE_VALUE) return ZipAbort(10, temp);
  CopyTextCapped(state->outputName, sizeof state->outputName, temp);
  writer.outputOffset = 0;
  if (!HasOldArchive(state)) return 0;
  state->oldArchive = OpenForReading(state->archiveName);
  if (state->oldArchive == INVALID_HANDLE_VALUE) return ZipAbort(13, state->archiveName);
  if (!state->loop.preambleSize) return 0;
  int result = ZipCopyFileRange(state->oldArchive, state->output, state->loop.preambleSize);
  if (result) return ZipAbort(result, result == 10 ? temp : state->archiveName);
  writer.outputOffset = state->loop.preambleSize;
  return 0;
}

// What an entry taken over from the old archive carried, set aside while it
// is compressed again from its source, so a source that cannot be read
// leaves the old member to be copied.
void SetAside(ZipEntry *entry, ZipEntry *old) {
  *old = *entry;
  entry->localExtra = entry->centralExtra = nullptr;
  entry->localExtraLength = entry->centralExtraLength = 0;
  entry->hasSavedAes = entry->hasSavedStrong = 0;
  entry->descriptorLength = 0;
  entry->storedName = entry->keptCentralExtra = nullptr;
  entry->keptCentralExtraLength = 0;
  entry->keptCentral = 0;
  // Written again, the entry is named by this command's rules.
  if (entry->pendingName) {
    entry->name = entry->pendingName;
    entry->nameLength = static_cast<uint32_t>(strlen(entry->name));
    entry->pendingName = nullptr;
  }
}

// The old name goes too when the entry took its pending one.
void DropSetAside(ZipEntry *old) {
  if (old->centralExtra != old->localExtra) free(old->centralExtra);
  free(old->localExtra);
  ZipForgetKeptRecords(old);
  if (old->pendingName) free(old->name);
}

// The old member comes back whole, with the name it was stored under; the
// source path stays.
void RestoreSetAside(ZipEntry *entry, const ZipEntry *old) {
  ZipEntry *next = entry->next;
  char *path = entry->path, *name = entry->name;
  bool renamed = old->pendingName != nullptr;
  if (renamed) free(name);
  *entry = *old;
  entry->next = next;
  entry->path = path;
  entry->pendingName = nullptr;
  if (!renamed) entry->name = name;
}

// An entry marked in a mode other than delete, written again from its
// source; an unreadable source keeps the old member. 0, or the code the
// command ends with (reported).
int RewriteEntry(ZipState *state, ZipEntry *entry) {
  ZipEntry old;
  SetAside(entry, &old);
  int result = ZipCompressMember(state, entry, ArchiveBytes(state));
  if (result == 18) {
    RestoreSetAside(entry, &old);
    state->loop.sourcesUnreadable = 1;
    ZipWarn(ZipMessageText(kCopyingInstead, 1), entry->path);
    entry->selected &= ~ZIP_MARK_PROCESS;
    result = ZipCopyEntry(state, entry, state->oldArchive, ArchiveBytes(state));
    if (result) return StopNaming(state, result, kCopying, entry->name);
    return 0;
  }
  DropSetAside(&old);
  if (result) return StopNaming(state, result, kAboutToZip, entry->name);
  entry->selected = (entry->selected & ~ZIP_MARK_PROCESS) | ZIP_MARK_ADDED;
  return 0;
}

void LogDeleted(const ZipEntry *entry) {
  char line[ZIP_PATH_SIZE + 32];
  snprintf(line, sizeof line, ZipMessageText(kDeletedLine, 2), entry->name);
  ZipActivityLogLine(line);
}

// The existing entries, in archive order. 0, or a code already reported.
int WriteExistingEntries(ZipState *state) {
  ZipEntry **link = &state->entries;
  while (ZipEntry *entry = *link) {
    if (ZipCheckCancel(state)) return Stop(state, 9, nullptr);
    bool marked = entry->selected & ZIP_MARK_PROCESS;
    if (marked && state->main.mode == ZIP_MODE_DELETE) {
      LogDeleted(entry);
      *link = entry->next;
      --state->entryCount;
      state->loop.entryTail = nullptr;
      ZipFreeEntry(entry);
      continue;
    }
    int result = 0;
    if (marked) {
      if ((result = RewriteEntry(state, entry))) return result;
    } else if (!state->growingInPlace &&
               (result = ZipCopyEntry(state, entry, state->oldArchive, ArchiveBytes(state)))) {
      return StopNaming(state, result, kCopying, entry->name);
    }
    link = &entry->next;
  }
  return 0;
}

// The new files, in sorted order. A source that cannot be read ends the
// additions there. 0, or a code already reported.
int WriteNewFiles(ZipState *state) {
  for (ZipNewFile *node = state->loop.newFiles; node; node = ZipRemoveNewFile(node, state)) {
    if (ZipCheckCancel(state)) return Stop(state, 9, nullptr);
    auto *entry = static_cast<ZipEntry *>(calloc(1, sizeof(ZipEntry)));
    if (!entry) return Stop(state, 4, ZipMessageText(kAddingFiles, 2));
    entry->name = node->name;
    entry->path = node->path;
    node->name = node->path = nullptr;
    entry->nameLength = static_cast<uint32_t>(strlen(entry->name));
    entry->dosDateTime = node->dosDateTime;
    entry->externalAttributes = node->attributes;
    entry->internalAttributes = ZIP_ATTRIBUTES_UNKNOWN;
    int result = ZipCompressMember(state, entry, ArchiveBytes(state));
    if (result == 18) {
      state->loop.sourcesUnreadable = 1;
      ZipWarn(ZipMessageText(kCouldNotOpen, 1), entry->path);
      ZipFreeEntry(entry);
      break;
    }
    if (result) {
      int code = StopNaming(state, result, kAboutToZip, entry->name);
      ZipFreeEntry(entry);
      return code;
    }
    entry->selected = ZIP_MARK_ADDED;
    ZipAppendEntry(entry, state);
  }
  return 0;
}

int CloseFile(HANDLE *file) {
  if (*file == INVALID_HANDLE_VALUE) return 1;
  BOOL closed = CloseHandle(*file);
  *file = INVALID_HANDLE_VALUE;
  return closed;
}

// The directory written ahead gets its final headers; the end records on
// the last part point back at it, on the first part after the span marker.
int FinishDirectoryAhead(ZipState *state) {
  uint64_t size = 0;
  int result = ZipRewriteDirectoryAhead(state, *ArchiveBytes(state), &size);
  if (result) return result;
  return ZipWriteEndRecordsAhead(state, size, ArchiveBytes(state));
}

// The part that holds the closing records takes the archive's own name.
int FinishSplitParts(ZipState *state) {
  state->volume.finishing = 1;
  bool closed = CloseFile(&state->output);
  state->volumeFile = INVALID_HANDLE_VALUE;
  if (!closed) return Stop(state, 10, state->volumeName);
  DeleteFileA(state->archiveName);
  if (!MoveFileA(state->volumeName, state->archiveName)) return Stop(state, 15, state->archiveName);
  state->outputName[0] = '\0';
  state->loop.archiveReplaced = 1;
  ZipMessageBox(ZIP_BOX_FILE_READY, MB_OK, int(state->volume.partsWritten + 1), 0, state->archiveName);
  return 0;
}

// Central directory, end records, and the new archive put in place.
int FinishArchive(ZipState *state) {
  if (state->multiVolControl & ZMV_MULTI_VOLUME) {
    state->volume.closingStage = SplitParts(state);
    state->writer.outputOffset = ZipVolumePosition(state, *ArchiveBytes(state));
  }
  int result = !DirectoryAhead(state) ? ZipWriteCentralDirectory(state, ArchiveBytes(state), 1)
               : SplitParts(state)     ? FinishDirectoryAhead(state)
                                       : ZipFinishDirectoryAheadOnDisks(state);
  if (result) return Stop(state, result, state->outputName);
  if (SplitParts(state)) return FinishSplitParts(state);
  // Written ahead on disks, the last disk's bytes have left the staging file.
  if (Staging(state) && !DirectoryAhead(state)) {
    // The last disk's bytes are still in the staging file.
    state->volume.finishing = 1;
    if ((result = ZipNextVolume(state, &state->volumeFile))) return Stop(state, result, state->archiveName);
  }
  CloseFile(&state->oldArchive);
  // A grown archive may have been longer; its old end must not linger.
  if (state->growingInPlace) SetEndOfFile(state->output);
  bool closed = CloseFile(&state->output);
  if (!closed) return Stop(state, state->growingInPlace ? 14 : 10, state->outputName);
  DeflateFreeBuffers(&state->encoder);
  Deflate64FreeBuffers(&state->encoder);
  if (state->growingInPlace || (state->multiVolControl & ZMV_MULTI_VOLUME)) {
    state->outputName[0] = '\0';
    state->loop.archiveReplaced = 1;
    return 0;
  }
  result = ZipReplaceArchive(state->archiveName, state->loop.tempName);
  if (result) {
    ZipWarn(ZipMessageText(kNewArchiveLeftAs, 1), state->loop.tempName);
    state->outputName[0] = '\0';  // the temporary file stays for the user
    return Stop(state, result, ZipMessageText(kReplacing, 2));
  }
  state->outputName[0] = '\0';
  state->loop.archiveReplaced = 1;
  if (state->loop.archiveAttributes != INVALID_FILE_ATTRIBUTES && state->loop.archiveAttributes)
    SetFileAttributesA(state->archiveName, state->loop.archiveAttributes);
  return 0;
}

void ResetCommand(ZipState *state) {
  ZipLoopState &loop = state->loop;
  ZipFreeNewFiles(state);
  loop.tempName[0] = '\0';
  loop.volumeLabelListed = 0;
  loop.volumeLabel[0] = '\0';
  loop.memoryItem[0] = '\0';
  loop.archiveAttributes = INVALID_FILE_ATTRIBUTES;
  loop.sourcesUnreadable = 0;
  loop.archiveReplaced = 0;
  state->outputName[0] = '\0';
  state->output = INVALID_HANDLE_VALUE;
  state->oldArchive = INVALID_HANDLE_VALUE;
  state->growingInPlace = 0;
  state->writer.itemNumber = 0;
  state->volume.partsWritten = 0;
  state->volume.closingStage = 0;
  state->volume.finishing = 0;
}

// Steps up to reading the old archive and taking the settings. 0, or a code
// already reported.
int Prepare(ZIPCMDSTRUCT *record, ZipState *state) {
  ResetCommand(state);
  int result = ZipBuildPatternList(record, state);
  if (result) return result;
  state->main.mode = ModeOf(record->Function);
  if (!AddDefaultSuffix(state->archiveName, sizeof state->archiveName))
    return ZipAbort(4, ZipMessageText(kProcessingArguments, 2));
  state->main.repairLevel = (record->fixFlag != 0) + (record->fixHarderFlag != 0);
  state->main.growInPlace = record->growExistingFlag != 0;
  if ((result = ZipReadArchive(state))) return ZipAbort(result, state->archiveName);
  TakeLevel(record, state);
  if (record->encryptFlag && (result = ZipTakePassword(record->lpszEncryptCode, state))) return result;
  return TakeSettings(record, state);
}

// Steps of choosing what the command writes. 0 to write, -1 when the command
// ends without writing (its code in *code), or a code already reported.
int Select(ZIPCMDSTRUCT *record, ZipState *state, int *code) {
  ZipMainSettings &main = state->main;
  ZipMajorStatus(ZipMessageText(kProcessingItems, 2), 0, 0);
  int result = CollectItems(record, state);
  if (result) return result;
  if (UpdatesByTime(state))
    for (ZipEntry *entry = state->entries; entry; entry = entry->next) {
      if (ZipCheckCancel(state)) break;
      if (ZipPatternFilter(entry->name, state)) entry->selected |= ZIP_MARK_PROCESS;
    }
  if (ZipCheckCancel(state)) return ZipAbort(9, nullptr);
  result = ZipSortNewFiles(state);
  if (result) return ZipAbort(result, result == 4 ? ZipMessageText(kProcessingList, 2) : state->archiveName);
  if (state->level == 9) state->storeSuffixes = nullptr;
  if (main.mode == ZIP_MODE_DELETE && (main.moveSources || main.recurse || state->password || state->loop.commentLength))
    return ZipAbort(16, ZipMessageText(kDeleteOptions, 2));
  if (!state->entryCount && (main.mode != ZIP_MODE_ADD || main.growInPlace))
    ZipWarn(state->archiveName, ZipMessageText(kNotFoundOrEmpty, 1));
  if (!main.tempFolder) {
    char folder[ZIP_PATH_SIZE];
    CopyTextCapped(folder, sizeof folder, state->archiveName);
    char *cut = nullptr;
    for (char *c = folder; *c; c = CharNextA(c))
      if (*c == '\\' || *c == '/' || *c == ':') cut = c;
    if (cut) {
      cut[1] = '\0';
      main.tempFolder = Duplicate(folder);
    }
  }
  int64_t marked = SelectExistingEntries(state);
  if (marked < 0 || SelectNewFiles(state)) return ZipAbort(9, nullptr);
  int nothing = NothingToDo(state, marked, record);
  if (nothing >= 0) {
    ZipReportError(nothing, nullptr, !state->promptsAllowed);
    *code = nothing;
    return -1;
  }
  state->growingInPlace = main.growInPlace && !marked && HasOldArchive(state);
  state->loop.itemTotal = static_cast<uint32_t>(marked) + state->loop.newFileCount;
  return 0;
}

}  // namespace

uint32_t ZipAfterDate(const char *text) {
  if (!text || strlen(text) != 6) return 0;
  for (int i = 0; i < 6; ++i)
    if (text[i] < '0' || text[i] > '9') return 0;
  int month = (text[0] - '0') * 10 + text[1] - '0';
  int day = (text[2] - '0') * 10 + text[3] - '0';
  int year = (text[4] - '0') * 10 + text[5] - '0';
  if (month < 1 || month > 12 || day < 1 || day > 31) return 0;
  return DosDateTimePack(year < 80 ? 2000 + year : 1900 + year, month, day, 0, 0, 0);
}

int ZipMain(ZIPCMDSTRUCT *record, ZipState *state) {
  int result = Prepare(record, state);
  if (result) return ZipFinish(state, result);
  int code = 0;
  result = Select(record, state, &code);
  if (result == -1) return ZipFinish(state, code);
  if (result) return ZipFinish(state, result);

  bool pathForTemp = record->pathForTempFlag != 0;
  if (!(pathForTemp && !HasOldArchive(state)) && (result = ProveWritable(state))) return Stop(state, result, state->archiveName);
  if (state->main.repairLevel) state->loop.preambleSize = 0;
  if ((result = OpenOutput(state))) return ZipFinish(state, result);

  state->loop.workBuffer = static_cast<uint8_t *>(malloc(kWorkBufferSize));
  if (!state->loop.workBuffer) return Stop(state, 4, nullptr);
  uint64_t total = state->entryCount + state->loop.newFileCount;
  if (!state->zip64Allowed && total >= 0xFFFF) return Stop(state, 6, ZipMessageText(kTooManyEntries, 2));
  if ((state->multiVolControl & ZMV_MULTI_VOLUME) && state->writer.outputOffset == 0 &&
      (result = ZipWriteSpanMarker(state, ArchiveBytes(state))))
    return Stop(state, result, state->outputName);
  if (state->multiVolControl & ZMV_MULTI_VOLUME) state->writer.outputOffset += kSpanMarkerSize;
  if (DirectoryAhead(state) && (result = ZipWriteDirectoryAhead(state, ArchiveBytes(state))))
    return Stop(state, result, state->outputName);

  if ((result = WriteExistingEntries(state))) return result;
  if ((result = WriteNewFiles(state))) return result;
  ZipFreePassword(state);
  if (state->result) return Stop(state, state->result, nullptr);
  if ((result = FinishArchive(state))) return result;
  return ZipFinish(state, state->loop.sourcesUnreadable ? 18 : 0);
}
