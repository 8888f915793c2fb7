#include <cstring>
#include "../common/UnzipMessages.h"
#include "ArchiveDirectory.h"
#include "MemberInfo.h"
#include "PathNames.h"
#include "UnzipFunctions.h"
#include "UnzipLog.h"
#include "UnzipProgress.h"
#include "UnzipReport.h"

static const char kDefaultProgressTitle[] = "Extract Progress";

struct RecordVersion {
  uint32_t size;
  int version;
};
static const RecordVersion kRecordVersions[] = {
    {sizeof(UNZIPCMDSTRUCT100), 100}, {sizeof(UNZIPCMDSTRUCT200), 200}, {sizeof(UNZIPCMDSTRUCT300), 300},
    {sizeof(UNZIPCMDSTRUCT500), 500}, {sizeof(UNZIPCMDSTRUCT600), 600},
};

// The layout version of a record size, or 0 when the size is not accepted.
static int VersionOfSize(uint32_t size) {
  for (const RecordVersion &entry : kRecordVersions)
    if (entry.size == size) return entry.version;
  return 0;
}

static void ResetPerCall(UnzipState *state, const UNZIPCMDSTRUCT100 *record) {
  state->cancelFlag = 0;
  state->errorReported = 0;
  state->infoFilled = 0;
  state->callerOldInfo = nullptr;
  state->fileToMemory = state->memoryToMemory = state->streamEntry = 0;
  state->memoryInputEnded = 0;
  state->overrun = 0;
  state->volumePath[0] = '\0';
  state->destination[0] = '\0';
  state->messageDisplay = nullptr;
  state->messageDisplayData = nullptr;
  state->diagnosticLog = record->diagnosticLogFlag;
  int memoryFunction = record->Function >= UNZIP_FILETOMEM && record->Function <= kUnzipMemoryToMemory;
  state->inputBufferSize = memoryFunction ? kUnzipMemoryBufferSize : kUnzipInputBufferSize;
  state->outputBufferSize = memoryFunction ? kUnzipMemoryBufferSize : kUnzipOutputBufferSize;
}

// The caller's record widened into the state's newest-layout copy. Each
// version's layout is the start of the next one's.
static void WidenRecord(UnzipState *state, const void *record, uint32_t size) {
  memset(&state->command, 0, sizeof state->command);
  memcpy(&state->command, record, size);
  if (state->recordVersion < 300) {
    state->command.lpszExtProgTitle = kDefaultProgressTitle;
    if (state->command.zInfo) {
      state->callerOldInfo = static_cast<UnzipMemberInfoOld *>(state->command.zInfo);
      state->command.zInfo = &state->infoOldCopy;
    }
  }
}

static void NarrowRecord(UnzipState *state, void *record, uint32_t size) {
  if (state->callerOldInfo) {
    if (state->infoFilled) MemberInfoToOld(&state->infoOldCopy, state->callerOldInfo);
    state->command.zInfo = state->callerOldInfo;
  }
  if (state->recordVersion < 300) state->command.lpszExtProgTitle = nullptr;
  memcpy(record, &state->command, size);
}

static void TakeCallbacks(UnzipState *state) {
  const UNZIPCMDSTRUCT &command = state->command;
  state->messageDisplay = command.lpMessageDisplay;
  state->messageDisplayData = command.lpMessageDisplayData;
  state->renameProc = command.lpRenameProc;
  state->renameUserData = command.lpRenameUserData;
  state->renameProcEx = command.lpRenameProcEX;
  state->memoryIo = command.lpCallbackStruct ? command.lpCallbackStruct->memoryIo : nullptr;
  state->memoryIoData = command.lpCallbackStruct ? command.lpCallbackStruct->memoryIoData : nullptr;
}

// Destination: at least two characters, a drive letter and colon or a UNC
// start; kept with a trailing backslash.
static int TakeDestination(UnzipState *state) {
  const char *given = state->command.lpszDestination;
  if (!given) return UnzipFail(state, 47, kUmsgNeedDestination);
  // A longer path would be cut short silently: refuse it.
  if (strnlen(given, kPathTextMax) >= kPathTextMax) return UnzipFail(state, 47, UnzipResultMessageId(47));
  char path[kPathTextMax];
  PathStripQuotes(path, given);
  if (strlen(path) < 2) return UnzipFail(state, 47, kUmsgDestinationIncomplete);
  if (path[1] != ':' && !(path[0] == '\\' && path[1] == '\\')) return UnzipFail(state, 47, kUmsgDestinationDrive);
  lstrcpynA(state->destination, path, sizeof state->destination - 1);
  if (!PathEndsWithBackslash(state->destination)) strcat(state->destination, "\\");
  return 0;
}

static int CheckDestination(UnzipState *state) {
  const UNZIPCMDSTRUCT &command = state->command;
  if (command.freshenFlag && command.updateFlag) return UnzipFail(state, 47, kUmsgFreshenAndUpdate);
  if (command.freshenFlag || command.updateFlag) return TakeDestination(state);
  // Extraction to disk takes the destination the same way.
  if (command.Function == kUnzipExtract && !command.testFlag && command.lpszDestination)
    return TakeDestination(state);
  return 0;
}

static int TakePassword(UnzipState *state) {
  SecureZeroMemory(state->password, sizeof state->password);
  if (!state->command.decryptFlag) return 0;
  const char *code = state->command.lpszDecryptCode;
  if (!code || strnlen(code, kUnzipPasswordMax + 1) > kUnzipPasswordMax) return UnzipFail(state, 47, kUmsgDecryptKey);
  lstrcpynA(state->password, code, sizeof state->password);
  return 0;
}

static int TakeOptions(UnzipState *state) {
  const UNZIPCMDSTRUCT &command = state->command;
  uint16_t bits = command.wUnzipSubOptions;
  state->deleteBeforeCreate = (bits & kUnzipDeleteBeforeCreate) != 0;
  state->statusMayCancel = (bits & kUnzipStatusMayCancel) != 0;
  state->skipLongNames = (bits & kUnzipSkipLongNames) != 0;
  state->truncateLongNames = (bits & kUnzipTruncateNames) != 0;
  state->keepPartialOutput = (bits & kUnzipKeepPartialOutput) != 0;
  state->treatDriveRemovable = (bits & kUnzipRemovableDrive) != 0;
  state->activityLogOn = (bits & kUnzipActivityLog) != 0;
  state->skipLabelCheck = (bits & kUnzipSkipLabelCheck) != 0;
  state->noOemConversion = (bits & kUnzipNoOemConversion) != 0;
  state->callbackRecordUsed = (bits & kUnzipCallbackRecord) != 0;
  state->splitFiles = (bits & kUnzipSplitFiles) != 0;
  state->noMessagePump = (bits & kUnzipNoMessagePump) != 0;
  state->overwriteAll = command.overWriteFlag != 0;
  state->renameLongRecord = (command.lUnZipSubOptions2 & kUnzipRenameLongRecord) != 0;
  state->outputModeWord = command.outputModeFlag ? kOutputModeText : kOutputModeBinary;
  if (state->callbackRecordUsed && !state->memoryIo) return UnzipFail(state, 47, UnzipResultMessageId(47));
  return 0;
}

static bool SelectsByName(const UNZIPCMDSTRUCT &command) {
  const char *filespec = command.lpszFilespec;
  return (filespec && filespec[0] && PathIsValidName(filespec)) || command.index >= 0;
}

static void TakeMemoryFields(UnzipState *state) {
  const UNZIPCMDSTRUCT &command = state->command;
  state->memBlock = command.lpMemBlock;
  state->memBlockSize = static_cast<uint64_t>(command.lMemBlockSizeH) << 32 | command.lMemBlockSize;
  state->startingOffset = static_cast<uint64_t>(command.lStartingOffsetH) << 32 | command.lStartingOffset;
  state->fileToMemory = command.lpMemBlock && SelectsByName(command);
  if (command.Function == kUnzipMemoryToMemory && !state->fileToMemory) {
    state->memoryToMemory = 1;
    state->memBlock = nullptr;
    state->fileToMemory = SelectsByName(command);
  }
  state->streamEntry = command.Function == UNZIP_STREAM_ENTRY;
}

static void TakeProgressTitle(UnzipState *state) {
  const char *title = state->command.lpszExtProgTitle;
  lstrcpynA(state->progressTitle, title && title[0] ? title : kDefaultProgressTitle, sizeof state->progressTitle);
}

// The checks every command passes before its function runs.
static int CheckCommand(UnzipState *state) {
  const UNZIPCMDSTRUCT &command = state->command;
  int result;
  if (command.Function != UNZIP_STREAM_ENTRY && (!command.lpszZIPFile || !command.lpszZIPFile[0]))
    return UnzipFail(state, 47, kUmsgNoZipName);
  if ((result = CheckDestination(state)) != 0) return result;
  if ((result = TakePassword(state)) != 0) return result;
  if ((result = TakeOptions(state)) != 0) return result;
  TakeMemoryFields(state);
  TakeProgressTitle(state);
  ActivityLogHeader();
  PathStripQuotes(state->archiveName, command.lpszZIPFile ? command.lpszZIPFile : "");
  bool listing = command.Function == kUnzipNextInfo || command.Function == kUnzipNextMatch;
  if (!state->streamEntry && !(listing && state->directory.cache.valid)) ArchiveOpen();
  return 0;
}

static void CloseHandles(UnzipState *state) {
  ArchiveClose();
  if (state->volumeHandle != INVALID_HANDLE_VALUE) CloseHandle(state->volumeHandle);
  state->volumeHandle = INVALID_HANDLE_VALUE;
  UnzipActivityLogClose();
}

static void LogOrReportResult(UnzipState *state, int result) {
  int function = state->command.Function;
  bool extraction = function == UNZIP_STREAM_ENTRY ||
                    ((function == kUnzipExtract || function == UNZIP_FILETOMEM || function == kUnzipMemoryToMemory) &&
                     state->command.lpszFilespec);
  if (extraction && result != 0 && result != 44) UnzipReportError(result, nullptr, state->command.quietFlag);
  UnzipDiagLogResult(result, &state->command);
}

static int Execute(UnzipState *state, UNZIPCMDSTRUCT *record) {
  auto *base = reinterpret_cast<const UNZIPCMDSTRUCT100 *>(record);
  ResetPerCall(state, base);
  uint32_t size = base->structSize;
  state->recordVersion = VersionOfSize(size);
  if (!state->recordVersion) {
    UnzipReportError(47, UnzipMessageText(kUmsgRecordSize, 2), 1);
    return 47;
  }
  WidenRecord(state, record, size);
  // The callbacks first, so that the whole command's log goes where the
  // application's texts say.
  TakeCallbacks(state);
  UnzipDiagLogCommand(&state->command);
  int result = CheckCommand(state);
  if (result == 0) result = UnzipDispatch(state);
  NarrowRecord(state, record, size);
  LogOrReportResult(state, result);
  return result;
}

// A call from inside a running one is refused without disturbing it.
static int RefuseReentry(UnzipState *state, const UNZIPCMDSTRUCT *record) {
  int quiet = record && VersionOfSize(record->structSize) ? record->quietFlag : 1;
  int reported = state->errorReported;
  state->errorReported = 0;
  UnzipReportError(45, UnzipMessageText(kUmsgReentry, 2), quiet);
  state->errorReported = reported;
  return 45;
}

int UnzipExecute(UNZIPCMDSTRUCT *record) {
  UnzipState *state = UnzipStateOfThread();
  if (!state) {
    if (!UnzipThreadAttach()) return 4;
    state = UnzipStateOfThread();
  }
  if (state->reentry) return RefuseReentry(state, record);
  if (!record) return 47;
  state->reentry = 1;
  int result = Execute(state, record);
  CloseHandles(state);
  state->reentry = 0;
  return result;
}
