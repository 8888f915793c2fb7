#include "ZipLog.h"

#include <inttypes.h>
#include <stddef.h>
#include <stdio.h>
#include <string.h>

#include "../../common/EngineLog.h"
#include "../../common/MessageTable.h"
#include "../ZipCommand.h"
#include "../ZipState.h"
#include "ZipMessages.h"

namespace {

enum { kDiagLogNameId = 108, kDiagHeaderId = 192, kActivityLogNameId = 701, kActivityHeaderId = 702,
       kVersionId = 706 };

// How one field of the record is printed.
enum FieldKind {
  kNumber,    // 32-bit, %d or %#08lx as its message says
  kWord,      // 16-bit option word
  kPointer,   // the pointer only
  kText,      // the pointer, then the text it points at
  kSecret,    // the pointer, then a mask in place of the password
  kMemBlock,  // the pointer, then the block's bytes up to its first zero
  kSizes,     // pulFileSizeArray
};

struct FieldLine {
  int id;
  FieldKind kind;
  size_t offset;
  int textLimit;
};

#define FIELD(id, kind, name, limit) {id, kind, offsetof(ZIPCMDSTRUCT, name), limit}

const FieldLine kFieldLines[] = {
    FIELD(193, kNumber, Function, 0),
    FIELD(194, kText, lpszZIPFile, 2048),
    FIELD(195, kText, lpszItemList, 20000),
    FIELD(196, kPointer, lpMajorStatus, 0),
    FIELD(197, kPointer, lpMajorUserData, 0),
    FIELD(198, kPointer, lpMinorStatus, 0),
    FIELD(199, kPointer, lpMinorUserData, 0),
    FIELD(200, kNumber, dosifyFlag, 0),
    FIELD(201, kNumber, recurseFlag, 0),
    FIELD(202, kNumber, compFactor, 0),
    FIELD(203, kNumber, quietFlag, 0),
    FIELD(204, kNumber, pathForTempFlag, 0),
    FIELD(205, kText, lpszTempPath, 2048),
    FIELD(206, kNumber, fixFlag, 0),
    FIELD(207, kNumber, fixHarderFlag, 0),
    FIELD(208, kNumber, includeVolumeFlag, 0),
    FIELD(209, kNumber, deleteOriginalFlag, 0),
    FIELD(210, kNumber, growExistingFlag, 0),
    FIELD(211, kNumber, noDirectoryNamesFlag, 0),
    FIELD(212, kNumber, convertLFtoCRLFFlag, 0),
    FIELD(213, kNumber, addCommentFlag, 0),
    FIELD(214, kText, lpszComment, 4096),
    FIELD(215, kNumber, afterDateFlag, 0),
    FIELD(216, kText, lpszDate, 32),
    FIELD(217, kNumber, oldAsLatestFlag, 0),
    FIELD(218, kNumber, includeOnlyFollowingFlag, 0),
    FIELD(219, kText, lpszIncludeFollowing, 4096),
    FIELD(220, kNumber, excludeFollowingFlag, 0),
    FIELD(221, kText, lpszExludeFollowing, 4096),
    FIELD(222, kNumber, noDirectoryEntriesFlag, 0),
    FIELD(223, kNumber, includeSysHiddenFlag, 0),
    FIELD(224, kNumber, dontCompressTheseSuffixesFlag, 0),
    FIELD(225, kText, lpszStoreSuffixes, 4096),
    FIELD(226, kNumber, encryptFlag, 0),
    FIELD(227, kSecret, lpszEncryptCode, 128),
    FIELD(228, kPointer, lpMessageDisplay, 0),
    FIELD(229, kPointer, lpMessageDisplayData, 0),
    FIELD(230, kWord, wMultiVolControl, 0),
    FIELD(231, kWord, wZipSubOptions, 0),
    FIELD(232, kPointer, lpCallbackStruct, 0),
    FIELD(233, kNumber, lResv2, 0),
    FIELD(234, kText, lpszExtProgTitle, 1024),
    FIELD(235, kPointer, lpRenameProc, 0),
    FIELD(236, kPointer, lpRenameUserData, 0),
    FIELD(237, kMemBlock, lpMemBlock, 1024),
    FIELD(238, kNumber, lMemBlockSize, 0),
    FIELD(239, kNumber, lMemBlockSizeH, 0),
    FIELD(240, kNumber, LargeZIPFilesFlag, 0),
    FIELD(241, kSizes, pulFileSizeArray, 32),
    FIELD(243, kNumber, lZipSubOptions2, 0),
    FIELD(244, kPointer, lpRenameProcEX, 0),
    FIELD(245, kNumber, lSEInfo, 0),
    FIELD(246, kNumber, lResv7, 0),
    FIELD(247, kNumber, lResv8, 0),
    FIELD(750, kNumber, lResv9_16[0], 0),
    FIELD(751, kNumber, lResv9_16[1], 0),
    FIELD(752, kNumber, lResv9_16[2], 0),
    FIELD(753, kNumber, lResv9_16[3], 0),
    FIELD(754, kNumber, lResv9_16[4], 0),
    FIELD(755, kNumber, lResv9_16[5], 0),
    FIELD(756, kNumber, lResv9_16[6], 0),
    FIELD(757, kNumber, lResv9_16[7], 0),
};

#undef FIELD

template <typename T>
T FieldValue(const ZIPCMDSTRUCT *record, size_t offset) {
  T value;
  memcpy(&value, reinterpret_cast<const char *>(record) + offset, sizeof value);
  return value;
}

// The log's name as the application may have rewritten it.
void LogName(int id, char *out, size_t capacity) { CopyTextCapped(out, capacity, ZipMessageText(id, 0)); }

// The part sizes in square brackets, one blank between, at most 32.
void WritePartSizes(HANDLE file, const ZIPCMDSTRUCT *record) {
  const uint32_t *sizes = record->pulFileSizeArray;
  bool wide = record->wMultiVolControl & ZMV_SIZES_64;
  char line[64];
  int written = 0;
  for (; sizes && written < 32; ++written) {
    uint64_t size = wide ? sizes[2 * written] | (uint64_t)sizes[2 * written + 1] << 32 : sizes[written];
    if (size == 0) break;
    if (wide) snprintf(line, sizeof line, "%s[%" PRIu64 "]", written ? " " : "", size);
    else snprintf(line, sizeof line, "%s[%ld]", written ? " " : "", (long)size);
    LogFileWriteText(file, line);
  }
  if (written == 0) {
    if (wide) snprintf(line, sizeof line, "[%s]", "0");
    else snprintf(line, sizeof line, ZipMessageText(242, 0), 0L);
    LogFileWriteText(file, line);
  }
  LogFileWriteText(file, "\r\n");
}

void WriteFieldLine(HANDLE file, const ZIPCMDSTRUCT *record, const FieldLine &field) {
  char line[ZIP_MESSAGE_SIZE + 32];
  const char *format = ZipMessageText(field.id, 0);
  switch (field.kind) {
    case kNumber:
      snprintf(line, sizeof line, format, FieldValue<int32_t>(record, field.offset));
      LogFileWriteText(file, line);
      return;
    case kWord:
      snprintf(line, sizeof line, format, FieldValue<uint16_t>(record, field.offset));
      LogFileWriteText(file, line);
      return;
    case kSizes:
      LogFileWriteText(file, format);
      WritePartSizes(file, record);
      return;
    default:
      break;
  }
  const char *pointer = FieldValue<const char *>(record, field.offset);
  FormatHexLine(line, sizeof line, format, static_cast<uint64_t>(reinterpret_cast<uintptr_t>(pointer)));
  LogFileWriteText(file, line);
  switch (field.kind) {
    case kText:
      DiagLogWriteText(file, pointer, field.textLimit);
      break;
    case kSecret:
      DiagLogWriteText(file, pointer ? "********" : nullptr, field.textLimit);
      break;
    case kMemBlock: {
      uint32_t size = record->lMemBlockSize;
      DiagLogWriteText(file, pointer, static_cast<int>(size < 1024u ? size : 1024u));
      break;
    }
    default:
      break;
  }
}

// The diagnostic log, opened for one write, when the command asks for it.
HANDLE OpenDiagLog() {
  ZipState *state = ZipCurrentState();
  if (!state || !state->diagLog) return INVALID_HANDLE_VALUE;
  char name[ZIP_MESSAGE_SIZE];
  LogName(kDiagLogNameId, name, sizeof name);
  return LogFileOpen(name);
}

}  // namespace

void ZipVersionText(char *out, size_t capacity) { FormatVersionText(out, capacity, ZipMessageText(kVersionId, 1)); }

void ZipDiagLogLine(const char *text) {
  HANDLE file = OpenDiagLog();
  if (file == INVALID_HANDLE_VALUE) return;
  LogFileWriteText(file, "\r\n");
  LogFileWriteText(file, text);
  LogFileWriteText(file, "\r\n");
  CloseHandle(file);
}

void ZipDiagLogCommand(const ZIPCMDSTRUCT *record) {
  HANDLE file = OpenDiagLog();
  if (file == INVALID_HANDLE_VALUE) return;
  char version[ZIP_MESSAGE_SIZE];
  char header[2 * ZIP_MESSAGE_SIZE];
  ZipVersionText(version, sizeof version);
  snprintf(header, sizeof header, ZipMessageText(kDiagHeaderId, 0), version);
  LogFileWriteText(file, "\r\n");
  LogFileWriteText(file, header);
  for (const FieldLine &field : kFieldLines) WriteFieldLine(file, record, field);
  LogFileWriteText(file, "\r\n");
  CloseHandle(file);
}

void ZipActivityLogLine(const char *text) {
  ZipState *state = ZipCurrentState();
  if (!state || !(state->subOptions & ZSO_ACTIVITY_LOG)) return;
  if (state->activityLog == INVALID_HANDLE_VALUE) {
    char name[ZIP_MESSAGE_SIZE];
    LogName(kActivityLogNameId, name, sizeof name);
    state->activityLog = LogFileOpen(name);
  }
  LogFileWriteText(state->activityLog, text);
  LogFileWriteText(state->activityLog, "\r\n");
}

void ZipCloseActivityLog(void) {
  ZipState *state = ZipCurrentState();
  if (!state || state->activityLog == INVALID_HANDLE_VALUE) return;
  CloseHandle(state->activityLog);
  state->activityLog = INVALID_HANDLE_VALUE;
}

void ZipActivityLogHeader(char *directory) {
  GetCurrentDirectoryA(ZIP_PATH_SIZE, directory);
  char version[ZIP_MESSAGE_SIZE];
  char line[2 * ZIP_MESSAGE_SIZE];
  ZipVersionText(version, sizeof version);
  snprintf(line, sizeof line, ZipMessageText(kActivityHeaderId, 0), version);
  ZipActivityLogLine(line);
}
