#include "ZipExecute.h"

#include <string.h>

#include "../common/MessageTable.h"
#include "../common/SaltPool.h"
#include "messages/ZipLog.h"
#include "messages/ZipMessages.h"
#include "messages/ZipProgress.h"
#include "messages/ZipReport.h"
#include "update/ZipEntryList.h"
#include "volumes/ZipDrives.h"
#include "ZipCommandEnd.h"
#include "ZipFileList.h"
#include "ZipMain.h"
#include "ZipPending.h"
#include "ZipStrings.h"

namespace {

enum { kPasswordDetailId = 143 };
const char kDefaultTitle[] = "Compress Progress";

struct RecordVersion {
  size_t size;
  int version;
};

const RecordVersion kRecordVersions[] = {
    {sizeof(ZIPCMDSTRUCT100), 100}, {sizeof(ZIPCMDSTRUCT200), 200}, {sizeof(ZIPCMDSTRUCT300), 300},
    {sizeof(ZIPCMDSTRUCT500), 500}, {sizeof(ZIPCMDSTRUCT), 600},
};

int VersionOfSize(int32_t size) {
  for (const RecordVersion &v : kRecordVersions)
    if (static_cast<int32_t>(v.size) == size) return v.version;
  return 0;
}

// Fields a record of the given size carries in full.
bool Carries(int32_t size, size_t offset, size_t width) {
  return size >= 0 && static_cast<size_t>(size) >= offset + width;
}

int Refuse(int code, const char *detail, int quiet) {
  ZipReportError(code, detail, quiet);
  return code;
}

// A call from inside a running command (one of its callbacks) is refused
// without touching the running command's result or its first-error report.
int RefuseReentry(ZipState *state, int quiet) {
  int result = state->result;
  int reports = state->errorReports;
  state->errorReports = 0;
  ZipReportError(1, nullptr, quiet);
  state->result = result;
  state->errorReports = reports;
  return 1;
}

void BeginCommand(ZipState *state, const ZIPCMDSTRUCT *caller) {
  state->busy = 1;
  state->cancel = 0;
  state->memorySource = 0;
  state->memoryOutput = 0;
  state->memBlock = nullptr;
  state->memBlockSize = 0;
  state->multiVolControl = 0;
  state->subOptions = 0;
  state->subOptions2 = 0;
  state->messageDisplay = nullptr;
  state->messageDisplayData = nullptr;
  state->renameProc = nullptr;
  state->renameProcEx = nullptr;
  state->renameUserData = nullptr;
  state->memoryIo = nullptr;
  state->memoryIoData = nullptr;
  ZipStrongContextFree(state);
  state->minorText[0] = '\0';
  state->majorText[0] = '\0';
  state->diagLog = Carries(caller->size, offsetof(ZIPCMDSTRUCT, diagLogFlag), 4) ? caller->diagLogFlag : 0;
  state->recordVersion = VersionOfSize(caller->size);
}

// The caller's record widened to the newest layout; fields beyond its size
// are zero, except the progress title of the two oldest layouts.
int WidenRecord(const ZIPCMDSTRUCT *caller, ZIPCMDSTRUCT *record, int quiet) {
  memset(record, 0, sizeof *record);
  if (!VersionOfSize(caller->size)) return Refuse(16, nullptr, quiet);
  memcpy(record, caller, static_cast<size_t>(caller->size));
  if (!Carries(caller->size, offsetof(ZIPCMDSTRUCT, lpszExtProgTitle), sizeof record->lpszExtProgTitle))
    record->lpszExtProgTitle = const_cast<char *>(kDefaultTitle);
  return 0;
}

int TakeEncryption(const ZIPCMDSTRUCT *record, ZipState *state, int quiet) {
  state->cipher.kind = kEncryptTraditional;
  state->cipher.strength = 0;
  if (!record->encryptFlag) return 0;
  if (record->lZipSubOptions2 & ZSO2_STRONG_ENCRYPTION) {
    state->cipher.kind = kEncryptStrong;
    state->cipher.strength = record->lSEInfo & 3;
    if (!ZipStrongContextAlloc(state)) return Refuse(4, nullptr, quiet);
    if (state->cipher.strength < 1) return Refuse(16, nullptr, quiet);
  } else if (record->lZipSubOptions2 & ZSO2_REFUSED_KIND) {
    ZipStrongContextFree(state);
    return Refuse(16, nullptr, quiet);
  }
  return 0;
}

int RefuseMultiVolume(int boxType, int quiet) {
  if (boxType >= 0 && !quiet) ZipMessageBox(boxType, MB_OK, 0, 0, nullptr);
  return Refuse(20, nullptr, quiet);
}

int CheckMultiVolume(const ZIPCMDSTRUCT *record, ZipState *state, int quiet) {
  uint16_t control = state->multiVolControl;
  if (!(control & ZMV_MULTI_VOLUME)) return 0;
  int drive = ZipDriveOfPath(state->archiveName);
  if (!ZipIsRemovableDrive(drive)) return RefuseMultiVolume(ZIP_BOX_NOT_REMOVABLE, quiet);
  if (record->Function != ZIP_ADD || record->fixFlag || record->fixHarderFlag || record->growExistingFlag)
    return RefuseMultiVolume(-1, quiet);
  if (control & ZMV_SPLIT_PARTS) return (control & ZMV_SPLIT_FORBIDDEN) ? RefuseMultiVolume(-1, quiet) : 0;
  // A disk is wiped or formatted only when its own type is removable: the
  // option that lets every target count as removable must not reach a fixed disk.
  if ((control & (ZMV_FORMAT | ZMV_WIPE)) && ZipDriveType(drive) != DRIVE_REMOVABLE)
    return RefuseMultiVolume(ZIP_BOX_NOT_REMOVABLE, quiet);
  if (ZipItemListUsesDrive(drive, record->lpszItemList)) return RefuseMultiVolume(ZIP_BOX_SAME_VOLUME, quiet);
  return 0;
}

void TakeCallbacks(const ZIPCMDSTRUCT *record, ZipState *state) {
  state->renameProc = record->lpRenameProc;
  state->renameProcEx = record->lpRenameProcEX;
  state->renameUserData = record->lpRenameUserData;
  CopyTextCapped(state->progressTitle, sizeof state->progressTitle,
                 record->lpszExtProgTitle ? record->lpszExtProgTitle : kDefaultTitle);
  state->majorStatus = record->lpMajorStatus;
  state->majorUserData = record->lpMajorUserData;
  state->minorStatus = record->lpMinorStatus;
  state->minorUserData = record->lpMinorUserData;
}

bool HasText(const char *text) { return text && *text; }

void TakeMemoryFields(const ZIPCMDSTRUCT *record, ZipState *state) {
  state->memBlockSize = (uint64_t)record->lMemBlockSizeH << 32 | record->lMemBlockSize;
  if (record->lpMemBlock && HasText(record->lpszItemList)) {
    state->memorySource = 1;
    state->memBlock = static_cast<const uint8_t *>(record->lpMemBlock);
  }
  if (record->lpCallbackStruct) {
    state->memoryIo = record->lpCallbackStruct->memoryIo;
    state->memoryIoData = record->lpCallbackStruct->memoryIoData;
  }
}

int CheckMemoryRoads(const ZIPCMDSTRUCT *record, ZipState *state, int quiet) {
  if ((state->subOptions & ZSO_CALLBACK_OUTPUT) && !state->memoryIo) return Refuse(16, nullptr, quiet);
  if (record->Function == ZIP_MEMORY_ENTRY &&
      (state->memorySource || HasText(record->lpszZIPFile) || !record->lpCallbackStruct || !state->memoryIo))
    return Refuse(16, nullptr, quiet);
  if (record->Function == ZIP_MEMORY_TO_MEMORY) {
    if (!HasText(record->lpszItemList) || !state->memoryIo) return Refuse(16, nullptr, quiet);
    state->memorySource = 1;
    state->memoryOutput = 1;
    state->memBlockSize = 0;
  }
  return 0;
}

bool WritesMultiVolumeFile(const ZIPCMDSTRUCT *record, const ZipState *state) {
  uint16_t control = state->multiVolControl;
  return (control & ZMV_MULTI_VOLUME) &&
         ((control & ZMV_SPLIT_PARTS) || (record->pathForTempFlag && record->lpszTempPath));
}

// The archive as this add left it, so the next command can tell whether it
// changed in between.
void RememberArchive(ZipState *state) {
  WIN32_FILE_ATTRIBUTE_DATA facts;
  if (GetFileAttributesExA(state->archiveName, GetFileExInfoStandard, &facts)) {
    FileTimeToLocalFileTime(&facts.ftLastWriteTime, &state->lastArchiveTime);
    state->lastArchiveSize = (uint64_t)facts.nFileSizeHigh << 32 | facts.nFileSizeLow;
  }
  CopyTextCapped(state->lastArchiveName, sizeof state->lastArchiveName, state->archiveName);
  state->entryListKept = 1;
}

void ReleaseEncryption(ZipState *state) {
  ZipCipherStateRelease(&state->cipher);
  ZipStrongContextFree(state);
}

// Steps after the record is widened, up to the release of the command's
// encryption state.
int RunCommand(ZIPCMDSTRUCT *record, ZipState *state, int quiet) {
  // The callback first, so an application that moves the log moves all of it.
  state->messageDisplay = record->lpMessageDisplay;
  state->messageDisplayData = record->lpMessageDisplayData;
  ZipDiagLogCommand(record);
  state->function = record->Function;

  if (record->Function != ZIP_MEMORY_ENTRY && !record->lpszZIPFile) return Refuse(16, nullptr, quiet);
  ZipCopyUnquoted(state->archiveName, record->lpszZIPFile ? record->lpszZIPFile : "");
  state->multiVolControl = record->wMultiVolControl;
  state->subOptions = record->wZipSubOptions;
  state->subOptions2 = record->lZipSubOptions2 & (ZSO2_PATH_SENSITIVE | ZSO2_RENAME_EX);

  int result = TakeEncryption(record, state, quiet);
  if (result) return result;
  state->zip64Allowed = record->LargeZIPFilesFlag != 0;
  state->memoryOutput = (state->subOptions & ZSO_CALLBACK_OUTPUT) != 0;
  ZipActivityLogHeader(state->workingDirectory);

  if ((result = CheckMultiVolume(record, state, quiet))) return result;
  ZipMainDefaults(state);
  state->promptsAllowed = !quiet;
  TakeCallbacks(record, state);
  if (record->Function < ZIP_FRESHEN || record->Function > ZIP_MEMORY_TO_MEMORY) return Refuse(16, nullptr, quiet);

  bool multiVolumeFile = WritesMultiVolumeFile(record, state);
  if (multiVolumeFile && (result = ZipOpenMultiVolumeOutput(state, record->lpszTempPath))) return result;
  TakeMemoryFields(record, state);
  result = CheckMemoryRoads(record, state, quiet);

  if (!result) {
    bool progressProgram = state->subOptions & ZSO_PROGRESS_PROGRAM;
    if (progressProgram) ZipStartProgressProgram(state->subOptions & ZSO_PROGRESS_CANCEL_BUTTON);
    result = record->Function == ZIP_MEMORY_ENTRY ? ZipMemoryEntry(record, state) : ZipMain(record, state);
    if (progressProgram) ZipCloseProgressWindow();
  }
  if (multiVolumeFile) ZipCloseMultiVolumeOutput(state, result);

  bool addMode = record->Function >= ZIP_ADD;
  if (addMode && result == 0) RememberArchive(state);
  else ZipFreeEntryList(state);
  return result;
}

}  // namespace

int ZipExecute(ZIPCMDSTRUCT *caller) {
  if (!caller) return 16;
  ZipState *state = ZipCurrentState();
  if (!state) {
    if (!ZipThreadStateCreate()) return 4;
    state = ZipCurrentState();
  }
  // A record too short to say whether it is quiet is refused without a box.
  int quiet = Carries(caller->size, offsetof(ZIPCMDSTRUCT, quietFlag), 4) ? caller->quietFlag : 1;
  if (state->busy) return RefuseReentry(state, quiet);
  state->errorReports = 0;

  BeginCommand(state, caller);
  ZIPCMDSTRUCT record;
  int result = WidenRecord(caller, &record, quiet);
  if (!result) result = RunCommand(&record, state, quiet);
  ReleaseEncryption(state);

  ZipReportError(result, nullptr, quiet || !state->promptsAllowed);
  state->busy = 0;
  ZipCloseActivityLog();
  ZipFreePatterns(state);
  return result;
}

void ZipMemoryEntryLevel(int compFactor, int *level, int *forcedMethod) {
  int clamped = compFactor < 1 ? 1 : compFactor > 19 ? 19 : compFactor;
  *forcedMethod = clamped > 9 ? 9 : -1;
  *level = clamped > 9 ? clamped - 10 : clamped;
}

void ZipFreePassword(ZipState *state) {
  if (state->password) {
    SecureZeroMemory(state->password, state->passwordLength);
    GlobalFree(state->password);
  }
  state->password = nullptr;
  state->passwordLength = 0;
}

int ZipTakePassword(const char *password, ZipState *state) {
  const char *detail = ZipMessageText(kPasswordDetailId, 2);
  int quiet = !state->promptsAllowed;
  if (!HasText(password)) return Refuse(16, detail, quiet);
  bool aes = state->cipher.kind == kEncryptWinZipAes || state->cipher.kind == kEncryptStrong;
  size_t length = strnlen(password, aes ? 128 : 65);
  ZipFreePassword(state);
  state->password = static_cast<char *>(GlobalAlloc(GPTR, length + 16));
  if (!state->password) return Refuse(4, detail, quiet);
  if (state->cipher.kind == kEncryptWinZipAes && !ZipAesStateAlloc(&state->cipher)) return Refuse(4, detail, quiet);
  if (aes && !SaltPoolInit(SaltEntropy, &state->cipher.saltPool)) return Refuse(4, detail, quiet);
  memcpy(state->password, password, length);
  state->passwordLength = static_cast<uint32_t>(length);
  return 0;
}

int ZipMemoryEntry(ZIPCMDSTRUCT *record, ZipState *state) {
  state->main.mode = ZIP_MODE_ADD;
  state->outputName[0] = '\0';
  state->archiveName[0] = '\0';
  state->output = INVALID_HANDLE_VALUE;
  ZipMemoryEntryLevel(record->compFactor, &state->level, &state->forcedMethod);
  if (record->convertLFtoCRLFFlag) ++state->convertLineEnds;
  if (record->quietFlag) state->promptsAllowed = 0;

  int result = record->encryptFlag ? ZipTakePassword(record->lpszEncryptCode, state) : 0;
  if (!result) result = ZipCompressMemoryItem(record->lpszItemList, state);

  ZipFreePassword(state);
  if (state->forcedMethod == 9) Deflate64FreeBuffers(&state->encoder);
  else DeflateFreeBuffers(&state->encoder);
  return ZipFinish(state, result);
}
