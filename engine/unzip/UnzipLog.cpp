#include "UnzipLog.h"

#include <cstddef>
#include <cstdio>
#include <cstring>
#include "../common/EngineLog.h"
#include "../common/UnzipMessages.h"
#include "UnzipReport.h"

static const char *DiagLogName() { return UnzipMessageText(kUmsgDiagLogName, 0); }

static HANDLE DiagLogOpen() {
  UnzipState *state = UnzipStateOfThread();
  if (!state || !state->diagnosticLog) return INVALID_HANDLE_VALUE;
  char name[kUnzipMessageBufferSize];
  lstrcpynA(name, DiagLogName(), sizeof name);
  return LogFileOpen(name);
}

void UnzipDiagLogLine(const char *text) {
  HANDLE log = DiagLogOpen();
  if (log == INVALID_HANDLE_VALUE) return;
  LogFileWriteText(log, "\r\n");
  LogFileWriteText(log, text);
  LogFileWriteText(log, "\r\n");
  CloseHandle(log);
}

void FormatVersionLine(char *out, size_t capacity) {
  FormatVersionText(out, capacity, UnzipMessageText(kUmsgVersionLine, 0));
}

enum FieldKind { kFieldInt, kFieldLong, kFieldWord, kFieldPointer, kFieldHex32, kFieldText, kFieldSecret };

struct FieldLine {
  uint32_t id;
  FieldKind kind;
  size_t offset;
  int textLimit;  // for kFieldText: how far the text is read
};

#define FIELD(id, kind, name, limit) {id, kind, offsetof(UNZIPCMDSTRUCT, name), limit}
static const FieldLine kFieldLines[] = {
    FIELD(77, kFieldInt, Function, 0),
    FIELD(78, kFieldText, lpszZIPFile, 2048),
    FIELD(79, kFieldPointer, zInfo, 0),
    FIELD(80, kFieldText, lpszFilespec, 20000),
    FIELD(81, kFieldInt, index, 0),
    FIELD(82, kFieldText, lpszDestination, 2048),
    FIELD(83, kFieldInt, freshenFlag, 0),
    FIELD(84, kFieldInt, updateFlag, 0),
    FIELD(85, kFieldInt, overWriteFlag, 0),
    FIELD(86, kFieldInt, quietFlag, 0),
    FIELD(87, kFieldInt, testFlag, 0),
    FIELD(88, kFieldInt, noDirectoryNamesFlag, 0),
    FIELD(89, kFieldInt, recurseFlag, 0),
    FIELD(90, kFieldInt, noDirectoryItemsFlag, 0),
    FIELD(91, kFieldPointer, lpMinorStatus, 0),
    FIELD(92, kFieldPointer, lpMinorUserData, 0),
    FIELD(93, kFieldPointer, lpMajorStatus, 0),
    FIELD(94, kFieldPointer, lpMajorUserData, 0),
    FIELD(95, kFieldInt, returnCount, 0),
    FIELD(96, kFieldText, lpszReturnString, 4096),
    FIELD(97, kFieldInt, decryptFlag, 0),
    FIELD(98, kFieldSecret, lpszDecryptCode, 65),
    FIELD(99, kFieldPointer, lpMessageDisplay, 0),
    FIELD(100, kFieldPointer, lpMessageDisplayData, 0),
    FIELD(127, kFieldWord, wUnzipSubOptions, 0),
    FIELD(133, kFieldPointer, lpCallbackStruct, 0),
    FIELD(135, kFieldText, lpszExtProgTitle, 1024),
    FIELD(136, kFieldPointer, lpRenameProc, 0),
    FIELD(137, kFieldPointer, lpRenameUserData, 0),
    FIELD(138, kFieldPointer, lpMemBlock, 0),
    FIELD(139, kFieldLong, lMemBlockSize, 0),
    FIELD(151, kFieldLong, lMemBlockSizeH, 0),
    FIELD(140, kFieldLong, lStartingOffset, 0),
    FIELD(152, kFieldLong, lStartingOffsetH, 0),
    FIELD(134, kFieldPointer, pZipInfoEx, 0),
    FIELD(150, kFieldHex32, lUnZipSubOptions2, 0),
    FIELD(153, kFieldPointer, lpRenameProcEX, 0),
    FIELD(154, kFieldHex32, lResv7, 0),
    FIELD(155, kFieldHex32, lResv8, 0),
};
#undef FIELD

static void WriteFieldLine(HANDLE log, const UNZIPCMDSTRUCT *record, const FieldLine &field) {
  const auto *at = reinterpret_cast<const uint8_t *>(record) + field.offset;
  const char *format = UnzipMessageText(field.id, 0);
  char line[kUnzipMessageBufferSize + 64];
  int32_t int32;
  uint16_t word;
  const void *pointer = nullptr;
  switch (field.kind) {
    case kFieldInt:
    case kFieldLong:
      memcpy(&int32, at, sizeof int32);
      if (field.kind == kFieldInt)
        snprintf(line, sizeof line, format, static_cast<int>(int32));
      else
        snprintf(line, sizeof line, format, static_cast<long>(int32));
      break;
    case kFieldWord:
      memcpy(&word, at, sizeof word);
      snprintf(line, sizeof line, format, static_cast<unsigned>(word));
      break;
    case kFieldHex32:
      memcpy(&int32, at, sizeof int32);
      FormatHexLine(line, sizeof line, format, static_cast<uint32_t>(int32));
      break;
    case kFieldPointer:
    case kFieldText:
    case kFieldSecret:
      memcpy(&pointer, at, sizeof pointer);
      FormatHexLine(line, sizeof line, format, reinterpret_cast<uintptr_t>(pointer));
      break;
  }
  LogFileWriteText(log, line);
  if (field.kind == kFieldText) DiagLogWriteText(log, static_cast<const char *>(pointer), field.textLimit);
  // A log file in the Windows folder is no place for a password.
  if (field.kind == kFieldSecret) DiagLogWriteText(log, pointer ? "********" : nullptr, field.textLimit);
}

void UnzipDiagLogCommand(const UNZIPCMDSTRUCT *record) {
  HANDLE log = DiagLogOpen();
  if (log == INVALID_HANDLE_VALUE) return;
  char version[kUnzipMessageBufferSize];
  char header[2 * kUnzipMessageBufferSize];
  FormatVersionLine(version, sizeof version);
  snprintf(header, sizeof header, UnzipMessageText(kUmsgDiagHeader, 0), version);
  LogFileWriteText(log, "\r\n");
  LogFileWriteText(log, header);
  for (const FieldLine &field : kFieldLines) WriteFieldLine(log, record, field);
  LogFileWriteText(log, "\r\n");
  CloseHandle(log);
}

void UnzipDiagLogResult(int code, const UNZIPCMDSTRUCT *record) {
  HANDLE log = DiagLogOpen();
  if (log == INVALID_HANDLE_VALUE) return;
  char line[3 * kUnzipMessageBufferSize];
  const char *response = UnzipMessageText(kUmsgResponse, 0);
  snprintf(line, sizeof line, "%s %d %s \r\n", response, code, UnzipMessageText(UnzipResultMessageId(code), 1));
  LogFileWriteText(log, line);
  snprintf(line, sizeof line, UnzipMessageText(kUmsgResultCount, 0), static_cast<int>(record->returnCount));
  LogFileWriteText(log, line);
  LogFileWriteText(log, "\r\n");
  snprintf(line, sizeof line, "%s %llx \r\n", UnzipMessageText(kUmsgResultString, 0),
           static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(record->lpszReturnString)));
  LogFileWriteText(log, line);
  CloseHandle(log);
}

void UnzipActivityLogLine(const char *text) {
  UnzipState *state = UnzipStateOfThread();
  if (!state || !state->activityLogOn) return;
  if (state->activityLog == INVALID_HANDLE_VALUE) {
    char name[kUnzipMessageBufferSize];
    lstrcpynA(name, UnzipMessageText(kUmsgActivityLogName, 0), sizeof name);
    state->activityLog = LogFileOpen(name);
  }
  LogFileWriteText(state->activityLog, text);
  LogFileWriteText(state->activityLog, "\r\n");
}

void ActivityLogHeader() {
  char version[kUnzipMessageBufferSize];
  char header[2 * kUnzipMessageBufferSize];
  FormatVersionLine(version, sizeof version);
  snprintf(header, sizeof header, UnzipMessageText(kUmsgActivityHeader, 0), version);
  UnzipActivityLogLine(header);
}

void UnzipActivityLogClose() {
  UnzipState *state = UnzipStateOfThread();
  if (!state || state->activityLog == INVALID_HANDLE_VALUE) return;
  CloseHandle(state->activityLog);
  state->activityLog = INVALID_HANDLE_VALUE;
}
