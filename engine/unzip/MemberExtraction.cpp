#include "MemberExtraction.h"

#include <cstdio>
#include <cstring>
#include "../common/LocalFileTime.h"
#include "../common/UnzipMessages.h"
#include "ArchiveDirectory.h"
#include "MemberInfo.h"
#include "MemberNameText.h"
#include "MemberPathSafety.h"
#include "MethodDispatch.h"
#include "PathNames.h"
#include "UnzipFiles.h"
#include "UnzipInput.h"
#include "UnzipLog.h"
#include "UnzipOutput.h"
#include "UnzipReport.h"

enum : uint32_t {
  kTargetMax = 2047,
  kVolumeLabelAttribute = 0x08,
  kOutputAttributeMask = 0x27,  // read-only, hidden, system, archive
  kMethodMax = 19,
};

// What one member is written as: its path and the time and attributes it gets.
// Files are made under the wide path; the ANSI path is what callbacks and
// messages show.
struct MemberTarget {
  char path[kTargetMax + 1];
  wchar_t widePath[kTargetMax + 1];
  uint16_t dosDate;
  uint16_t dosTime;
  uint32_t attributes;  // the attribute word, as the rename records carry it
  bool folder;
  bool renamed;  // the date and time are the application's
};

static bool FileExists(const wchar_t *path) { return GetFileAttributesW(path) != INVALID_FILE_ATTRIBUTES; }

// An ANSI path the application or the user chose becomes the target.
static void TargetTakeAnsiPath(MemberTarget *target, const char *path) {
  if (path != target->path) lstrcpynA(target->path, path, sizeof target->path);
  TextToWide(CP_ACP, target->path, target->widePath, kTargetMax + 1);
}

// A member the engine will not write, told to the application (and shown
// unless quiet) with the member's name; the command goes on.
static int ReportSkipped(UnzipState *state, const char *text) {
  UnzipDiagLogLine(text);
  char buffer[kUnzipMessageBufferSize];
  lstrcpynA(buffer, text, sizeof buffer);
  if (!state->command.quietFlag) {
    UnzipShowMessage(kUnzipMsgErrorReport, MB_OK, 49, 0, buffer);
  } else if (state->messageDisplay) {
    char title[kUnzipMessageBufferSize];
    lstrcpynA(title, UnzipMessageText(kUmsgErrorTitle, 0), sizeof title);
    state->messageDisplay(kUnzipMsgErrorReport, MB_OK, 49, 0, buffer, title, state->messageDisplayData);
  }
  return 49;
}

static const char *const kVerdictTexts[] = {
    "",
    "a \"..\" component",
    "a ':' (alternate data stream)",
    "a component ending in a dot or a blank",
    "a device name",
    "a control character",
    "a path too long",
};

static int ReportUnsafeName(UnzipState *state, MemberPathVerdict verdict) {
  char text[kUnzipMessageBufferSize];
  snprintf(text, sizeof text, "%s: skipped, its name holds %s and would be written outside the destination folder.",
           state->directory.member.name, kVerdictTexts[verdict]);
  return ReportSkipped(state, text);
}

// The member's path below the base folder, made from its UTF-8 name when it
// has one. 0, or 49 when the name would reach outside it (reported).
static int FormTargetPath(UnzipState *state, const char *base, MemberTarget *target) {
  const CurrentMember &member = state->directory.member;
  char relative[kTargetMax + 1];
  MemberPathVerdict verdict =
      MemberPathMakeRelative(member.nameIsUtf8 ? member.utf8Name : member.name, relative, sizeof relative);
  if (verdict != kMemberPathSafe) return ReportUnsafeName(state, verdict);
  wchar_t wideRelative[kTargetMax + 1];
  TextToWide(member.nameIsUtf8 ? CP_UTF8 : CP_ACP, relative, wideRelative, kTargetMax + 1);
  // 8.3 names are made from the ANSI form of the name.
  if (state->truncateLongNames) {
    WideToAnsi(wideRelative, relative, sizeof relative);
    PathTruncate83(relative, relative);
    TextToWide(CP_ACP, relative, wideRelative, kTargetMax + 1);
  }
  size_t length = wcslen(wideRelative);
  target->folder = length == 0 || wideRelative[length - 1] == L'\\';
  // Without stored folders a folder member is the destination itself.
  if (state->command.noDirectoryNamesFlag) {
    const wchar_t *last = wcsrchr(wideRelative, L'\\');
    if (target->folder) wideRelative[0] = L'\0';
    else if (last) memmove(wideRelative, last + 1, (wcslen(last + 1) + 1) * sizeof(wchar_t));
  }
  TextToWide(CP_ACP, base, target->widePath, kTargetMax + 1);
  size_t baseLength = wcslen(target->widePath);
  if (baseLength + wcslen(wideRelative) > kTargetMax) return ReportUnsafeName(state, kMemberPathTooLong);
  wcscpy(target->widePath + baseLength, wideRelative);
  WideToAnsi(target->widePath, target->path, sizeof target->path);
  return 0;
}

// The path as Windows resolves it (separators, "." steps); 0 when it cannot.
static DWORD FullPath(const wchar_t *path, wchar_t *out, DWORD capacity) {
  DWORD length = GetFullPathNameW(path, capacity, out, nullptr);
  return length < capacity ? length : 0;
}

static bool SameFile(const wchar_t *target, const char *ansiPath) {
  wchar_t other[kTargetMax + 1];
  if (!TextToWide(CP_ACP, ansiPath, other, kTargetMax + 1)) return false;
  wchar_t a[kTargetMax + 1], b[kTargetMax + 1];
  if (!FullPath(target, a, kTargetMax + 1) || !FullPath(other, b, kTargetMax + 1)) return lstrcmpiW(target, other) == 0;
  return lstrcmpiW(a, b) == 0;
}

// The target must still lie below the base once Windows has resolved it.
static int CheckContainment(UnzipState *state, const char *base, const MemberTarget *target) {
  wchar_t wideBase[kTargetMax + 1], fullBase[kTargetMax + 1], fullTarget[kTargetMax + 1];
  TextToWide(CP_ACP, base, wideBase, kTargetMax + 1);
  DWORD baseLength = FullPath(wideBase, fullBase, kTargetMax + 1);
  DWORD targetLength = FullPath(target->widePath, fullTarget, kTargetMax + 1);
  // Paths the system cannot resolve here rest on the name's own check.
  if (!baseLength || !targetLength) return 0;
  if (targetLength >= baseLength && CompareStringW(LOCALE_INVARIANT, NORM_IGNORECASE, fullBase, baseLength, fullTarget,
                                                   baseLength) == CSTR_EQUAL)
    return 0;
  char text[kUnzipMessageBufferSize];
  snprintf(text, sizeof text, "%s: skipped, it would be written outside the destination folder.",
           state->directory.member.name);
  return ReportSkipped(state, text);
}

// Either rename record: the target goes out, the application's choice comes back.
template <typename Record>
static void OfferRename(Record *record, void (CALLBACK *proc)(void *, void *), void *data, MemberTarget *target) {
  lstrcpynA(record->path, target->path, sizeof record->path);
  record->dosDate = target->dosDate;
  record->dosTime = target->dosTime;
  record->attributes = target->attributes;
  proc(record, data);
  record->path[sizeof record->path - 1] = '\0';
  // An unchanged path keeps the wide name it was made from.
  if (strcmp(record->path, target->path) != 0) TargetTakeAnsiPath(target, record->path);
  target->dosDate = static_cast<uint16_t>(record->dosDate);
  target->dosTime = static_cast<uint16_t>(record->dosTime);
  target->attributes = record->attributes;
  target->renamed = true;
}

static void AskRename(UnzipState *state, MemberTarget *target) {
  if (state->renameLongRecord && state->renameProcEx) {
    UnzipRenameRecordEx record;
    memset(&record, 0, sizeof record);
    record.size = sizeof record;
    record.uncompressedSize = state->directory.member.values.uncompressedSize;
    OfferRename(&record, state->renameProcEx, state->renameUserData, target);
  } else if (state->renameProc) {
    // The short record's path takes 259 characters and the terminator.
    UnzipRenameRecord record;
    memset(&record, 0, sizeof record);
    OfferRename(&record, state->renameProc, state->renameUserData, target);
  }
}

// Creates the folders the path names, up to its last backslash. 0 or 28.
static int CreateFolders(const wchar_t *path) {
  wchar_t folder[kTargetMax + 1];
  lstrcpynW(folder, path, kTargetMax + 1);
  wchar_t *last = wcsrchr(folder, L'\\');
  if (!last) return 0;
  *last = L'\0';
  // Up to the longest folder that exists, then each missing one in order.
  size_t length = wcslen(folder);
  size_t existing = length;
  while (existing > 0 && !FileExists(folder)) {
    wchar_t *cut = wcsrchr(folder, L'\\');
    if (!cut) break;
    *cut = L'\0';
    existing = wcslen(folder);
  }
  lstrcpynW(folder, path, static_cast<int>(length + 1));
  for (size_t i = existing + 1; i <= length; ++i) {
    if (folder[i] != L'\\' && folder[i] != L'\0') continue;
    wchar_t saved = folder[i];
    folder[i] = L'\0';
    if (!FileExists(folder) && !CreateDirectoryW(folder, nullptr)) return 28;
    folder[i] = saved;
  }
  return 0;
}

// Asks before an existing file is replaced. 0 to overwrite, 48, 49, or the
// path replaced by the user's choice.
static int AskOverwrite(UnzipState *state, MemberTarget *target) {
  if (state->command.quietFlag) return 49;
  DWORD attributes = GetFileAttributesW(target->widePath);
  bool readOnly = (attributes & FILE_ATTRIBUTE_READONLY) != 0;
  char question[kUnzipMessageBufferSize];
  snprintf(question, sizeof question, UnzipMessageText(readOnly ? kUmsgReadOnlyOverwrite : kUmsgOverwrite, 0),
           target->path);
  HCURSOR cursor = SetCursor(LoadCursor(nullptr, IDC_WAIT));
  int style = state->recordVersion <= 200 ? MB_YESNOCANCEL : 15;
  int answer = UnzipShowMessage(kUnzipMsgOverwrite, style, 0, 0, question);
  SetCursor(cursor);
  switch (answer) {
    case IDYES:
      break;
    case IDIGNORE:
    case 100:
      state->overwriteAll = 1;
      break;
    case IDNO:
      return 49;
    case 101:
      SaveAsQuery(target->path, sizeof target->path, UnzipMessageText(kUmsgRenameRequest, 0));
      TargetTakeAnsiPath(target, target->path);
      return target->path[0] ? 0 : 49;
    default:  // Cancel, or a dialog that could not be shown
      return 48;
  }
  if (readOnly) SetFileAttributesW(target->widePath, attributes & ~FILE_ATTRIBUTE_READONLY);
  return 0;
}

// Freshening or updating by index: whether the file on disk asks for the member.
static bool WantedByDate(const UnzipState *state, const MemberTarget *target) {
  const UNZIPCMDSTRUCT &command = state->command;
  if (!command.freshenFlag && !command.updateFlag) return true;
  uint32_t onDisk = FileDosDateTime(target->widePath);
  if (onDisk == 0) return command.updateFlag != 0;
  return onDisk < (static_cast<uint32_t>(target->dosDate) << 16 | target->dosTime);
}

HANDLE CreateOutputFile(const wchar_t *path) {
  UnzipState *state = UnzipStateOfThread();
  if (state && state->deleteBeforeCreate && FileExists(path)) {
    SetFileAttributesW(path, FILE_ATTRIBUTE_NORMAL);
    if (!DeleteFileW(path)) return INVALID_HANDLE_VALUE;
  }
  return CreateFileW(path, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, CREATE_ALWAYS,
                     FILE_ATTRIBUTE_ARCHIVE | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
}

static FILETIME FileTimeOfDos(uint16_t date, uint16_t time) {
  FILETIME local = {}, utc = {};
  // By the daylight rule of the member's own date.
  if (DosDateTimeToFileTime(date, time, &local)) FileTimeOfLocalFileTime(local, &utc);
  return utc;
}

static void RestoreFolderTimes(const MemberTarget *target) {
  wchar_t path[kTargetMax + 1];
  lstrcpynW(path, target->widePath, kTargetMax + 1);
  size_t length = wcslen(path);
  if (length > 0 && path[length - 1] == L'\\') path[length - 1] = L'\0';
  HANDLE folder = CreateFileW(path, FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (folder != INVALID_HANDLE_VALUE) {
    FILETIME time = FileTimeOfDos(target->dosDate, target->dosTime);
    SetFileTime(folder, &time, &time, &time);
    CloseHandle(folder);
  }
  SetFileAttributesW(path, (target->attributes & kOutputAttributeMask) | FILE_ATTRIBUTE_DIRECTORY);
}

// A temporary file beside the target, so a failed member never replaces an
// existing file with a broken one.
static bool TemporaryBeside(const wchar_t *target, wchar_t *temporary) {
  wchar_t folder[MAX_PATH];
  const wchar_t *last = wcsrchr(target, L'\\');
  if (!last || static_cast<size_t>(last - target) + 1 >= MAX_PATH) return false;
  lstrcpynW(folder, target, static_cast<int>(last - target + 2));
  return GetTempFileNameW(folder, L"~bz", 0, temporary) != 0;
}

// Where a member's bytes go: straight to the target when no file is there
// (or option bit 0 removed it), else to a temporary file that replaces the
// target only once the member is complete.
struct PendingOutput {
  // Set field by field: an initializer list would keep a whole empty path as
  // an image in the program's data to copy from.
  PendingOutput() : temporary(false), file(INVALID_HANDLE_VALUE) { path[0] = L'\0'; }
  wchar_t path[kTargetMax + 1];
  bool temporary;
  HANDLE file;
};

static HANDLE CreateNewFile(const wchar_t *path) {
  return CreateFileW(path, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, CREATE_NEW,
                     FILE_ATTRIBUTE_ARCHIVE | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
}

// The output of a target that exists already: the question (unless every
// file may be replaced), then a temporary file beside it, or with option bit
// 0 the file removed and made anew. 0, or the answer's result; *retry when
// the user chose another path.
static int OpenOverExisting(UnzipState *state, MemberTarget *target, PendingOutput *pending, bool *retry) {
  *retry = false;
  if (!state->overwriteAll) {
    char before[kTargetMax + 1];
    lstrcpynA(before, target->path, sizeof before);
    int answer = AskOverwrite(state, target);
    if (answer) return answer;
    if (strcmp(before, target->path) != 0) return *retry = true, 0;
  }
  if (state->deleteBeforeCreate) {
    pending->file = CreateOutputFile(pending->path);
    return pending->file != INVALID_HANDLE_VALUE ? 0 : 28;
  }
  pending->temporary = true;
  if (!TemporaryBeside(target->widePath, pending->path)) return 28;
  pending->file = CreateOutputFile(pending->path);
  if (pending->file != INVALID_HANDLE_VALUE) return 0;
  DeleteFileW(pending->path);
  return 28;
}

// Creates the member's output. A new file is made where it goes, asking the
// file system once (under Wine every look-up of a missing name reads the
// whole folder, so asking first would make many entries cost more than their
// files); an existing one is asked about and written beside.
static int OpenPendingOutput(UnzipState *state, MemberTarget *target, PendingOutput *pending) {
  pending->temporary = false;
  for (;;) {
    lstrcpynW(pending->path, target->widePath, kTargetMax + 1);
    pending->file = CreateNewFile(pending->path);
    if (pending->file != INVALID_HANDLE_VALUE) return 0;
    DWORD error = GetLastError();
    if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) return 28;
    bool retry = false;
    int result = OpenOverExisting(state, target, pending, &retry);
    if (!retry) return result;
  }
}

// Dates the output and puts it in place; a failed member's output goes,
// unless option bit 6 keeps it. The member's result, or 28.
static int FinishPendingOutput(UnzipState *state, const MemberTarget *target, PendingOutput *pending, int result) {
  if (result == 0) {
    FILETIME time = FileTimeOfDos(target->dosDate, target->dosTime);
    SetFileTime(pending->file, &time, &time, &time);
  }
  CloseHandle(pending->file);
  if (result != 0 && !state->keepPartialOutput) {
    DeleteFileW(pending->path);
    return result;
  }
  // Created with the archive bit; the others need setting.
  uint32_t attributes = target->attributes & kOutputAttributeMask;
  if (attributes & ~FILE_ATTRIBUTE_ARCHIVE) SetFileAttributesW(pending->path, attributes);
  if (pending->temporary && !MoveFileExW(pending->path, target->widePath, MOVEFILE_REPLACE_EXISTING)) {
    SetFileAttributesW(pending->path, FILE_ATTRIBUTE_NORMAL);
    DeleteFileW(pending->path);
    return result ? result : 28;
  }
  return result;
}

static void SetItemText(UnzipState *state, uint32_t id, const char *name) {
  snprintf(state->itemText, sizeof state->itemText, UnzipMessageText(id, 0), name);
}

static int ReadLocalHeaderHere(UnzipState *state, uint64_t *dataOffset, int badSignature) {
  uint8_t *header = state->localHeader;
  uint64_t offset = LocalHeaderOffset();
  DWORD read = 0;
  if (FileSeek64(state->archiveHandle, static_cast<int64_t>(offset), FILE_BEGIN) < 0 ||
      !ReadFile(state->archiveHandle, header, kLocalHeaderSize, &read, nullptr) || read != kLocalHeaderSize)
    return 3;
  if (ReadLe32(header) != kLocalHeaderSignature) return badSignature;
  uint16_t nameLength = ReadLe16(header + kLhNameLength);
  uint16_t extraLength = ReadLe16(header + kLhExtraLength);
  ReadMemberName(nameLength);
  if (!LocalExtraRead(header, extraLength)) return 3;
  *dataOffset = offset + kLocalHeaderSize + nameLength + extraLength;
  return 0;
}

// Whether the local header just read names the member: its name read as
// the central one's stored bytes would be.
static bool LocalNameMatches(UnzipState *state) {
  char stored[sizeof state->directory.member.storedName];
  lstrcpynA(stored, state->directory.member.storedName, sizeof stored);
  if (!state->noOemConversion) OemToCharA(stored, stored);
  return lstrcmpiA(state->nameBuffer, stored) == 0;
}

// The disk or split part that holds the member's local header. 0, or 48.
static int TakeMemberDisk(UnzipState *state, uint32_t disk) {
  const EndRecord &end = state->directory.end;
  int total = end.thisDisk != UINT32_MAX ? static_cast<int>(end.thisDisk) + 1 : 0;
  ArchiveClose();
  InputFileClose();  // a disk about to change takes every handle on it along
  if (state->splitFiles) {
    if (OpenSplitPart(static_cast<int>(disk) + 1, total) != 1) return 48;
  } else {
    int answer = total ? UnzipShowMessage(kUnzipMsgDiskOfPrompt, MB_OKCANCEL, static_cast<int>(disk) + 1, total, nullptr)
                       : UnzipShowMessage(kUnzipMsgDiskPrompt, MB_OKCANCEL, static_cast<int>(disk) + 1, 0, nullptr);
    if (answer != IDOK) return 48;
  }
  return ArchiveOpen() == INVALID_HANDLE_VALUE ? 48 : 0;
}

// Positions at the member's local header, asking for its disk when it lies
// on another; reads it, its name and its extra field. 0, 3, 29 or 48.
static int LocateLocalHeader(UnzipState *state, uint64_t *dataOffset) {
  const CurrentMember &member = state->directory.member;
  UnzipDirectoryState &directory = state->directory;
  // Split parts are taken by name for every member: the part the directory
  // reader holds open need not be the one its disk number says.
  if (!directory.spanned || (!state->splitFiles && member.values.startDisk == directory.currentDisk)) {
    if (state->archiveHandle == INVALID_HANDLE_VALUE) ArchiveOpen();
    return ReadLocalHeaderHere(state, dataOffset, 3);
  }
  for (;;) {
    int result = TakeMemberDisk(state, member.values.startDisk);
    if (result) return result;
    if ((result = ReadLocalHeaderHere(state, dataOffset, 29)) != 0) return result;
    if (LocalNameMatches(state)) break;
    if (state->splitFiles) return 29;  // a named part does not change by asking again
  }
  directory.currentDisk = member.values.startDisk;
  return 0;
}

static int OutputSinkOf(const UnzipState *state) {
  if (state->command.testFlag) return kSinkNone;
  if (state->command.Function == kUnzipMemoryToMemory) return kSinkWindowCallback;
  if (state->fileToMemory) return kSinkMemory;
  return kSinkFile;
}

static uint16_t MemberMethod(const CurrentMember &member) {
  if (member.method == kMethodAes && member.extras.aesLength >= 11) return ReadLe16(member.extras.aes + 9);
  return member.method;
}

static bool MemberEncrypted(const CurrentMember &member) { return ReadLe16(member.central + kChFlags) & 1; }

// Starts reading the member's data and, for an encrypted member, checks
// the password against its decryption header.
static int StartMemberInput(UnzipState *state, uint64_t remaining, int unknownLength) {
  InputStart(state, static_cast<int64_t>(remaining), unknownLength);
  return MemberEncrypted(state->directory.member) ? InputDecryptionSetup(state) : 0;
}

// Decodes the member whose input is started into the output; frees nothing.
static int DecodeStarted(UnzipState *state, int sink, HANDLE file, uint64_t limit) {
  OutputStart(state, sink, file, limit);
  return DecompressMember(state, MemberMethod(state->directory.member));
}

// Positions the data, prepares decryption, creates the output and runs the
// decoder. The target path is empty when nothing goes to disk. The output is
// created only once the password has opened the member, so a wrong password
// never touches an existing file.
static int MemberExtractData(UnzipState *state, MemberTarget *target, uint64_t dataOffset) {
  const CurrentMember &member = state->directory.member;
  if (ReadLe32(member.central + kChExternalAttr) & kVolumeLabelAttribute) return 46;
  char dataPath[kUnzipPathCapacity];
  lstrcpynA(dataPath, state->volumePath[0] ? state->volumePath : state->archiveName, sizeof dataPath);
  if (InputFileOpen(dataPath) != 0) return 9;
  if (FileSeek64(state->volumeHandle, static_cast<int64_t>(dataOffset), FILE_BEGIN) < 0) return 3;

  int sink = OutputSinkOf(state);
  char partBefore[kUnzipPathCapacity];
  lstrcpynA(partBefore, state->volumePath, sizeof partBefore);
  state->expectedTotal[0] = member.values.uncompressedSize;
  state->expectedTotal[1] = 0;
  PendingOutput pending;
  int result = StartMemberInput(state, member.values.compressedSize, 0);
  if (!result && sink == kSinkFile) result = OpenPendingOutput(state, target, &pending);
  if (!result) result = DecodeStarted(state, sink, pending.file, member.values.uncompressedSize);
  // Spanning on into later parts leaves the directory reader where it was.
  lstrcpynA(state->volumePath, partBefore, sizeof state->volumePath);
  if (sink != kSinkFile || pending.file == INVALID_HANDLE_VALUE) return result;
  return FinishPendingOutput(state, target, &pending, result);
}

// Everything before the data for a member written to disk: the path, the
// application's rename, folders, the archive itself, existing files. 0 to go
// on, or a result code.
static int PrepareTarget(UnzipState *state, MemberTarget *target) {
  int result = FormTargetPath(state, state->destination, target);
  if (!result) result = CheckContainment(state, state->destination, target);
  if (result) return result;
  AskRename(state, target);
  target->folder = target->path[0] && target->path[strlen(target->path) - 1] == '\\';
  if (CreateFolders(target->widePath)) return 28;
  if (SameFile(target->widePath, state->archiveName)) return UnzipFail(state, 49, kUmsgOnTopOfItself);
  if (!state->directory.filespecLoop && !WantedByDate(state, target)) return 11;
  return 0;
}

// The member is encrypted and the password did not open it: skip it, or stop.
static int AnswerWrongPassword(UnzipState *state) {
  bool skip = state->command.quietFlag != 0;
  if (!skip) {
    char question[kUnzipMessageBufferSize];
    snprintf(question, sizeof question, UnzipMessageText(kUmsgEncryptedSkip, 0), state->directory.member.name);
    skip = UnzipShowMessage(kUnzipMsgQuestion, MB_OKCANCEL, 0, 0, question) == IDOK;
  }
  if (!skip) return 44;
  state->passwordSkipped = 1;
  return 49;
}

static void LogDone(UnzipState *state, uint32_t id, const char *name) {
  char line[kUnzipMessageBufferSize];
  snprintf(line, sizeof line, UnzipMessageText(id, 0), name);
  UnzipActivityLogLine(line);
}

static int ExtractPrepared(UnzipState *state, MemberTarget *target) {
  CurrentMember &member = state->directory.member;
  if (MemberMethod(member) > kMethodMax) return 42;
  uint64_t dataOffset = 0;
  int result = LocateLocalHeader(state, &dataOffset);
  if (result) return result;
  if (!target->renamed) {
    target->dosDate = ReadLe16(state->localHeader + kLhDate);
    target->dosTime = ReadLe16(state->localHeader + kLhTime);
  }
  int sink = OutputSinkOf(state);
  if (target->folder) {
    if (sink == kSinkFile) {
      RestoreFolderTimes(target);
      LogDone(state, kUmsgActivityExtracted, member.name);
    }
    return 0;
  }
  if (sink == kSinkNone) SetItemText(state, kUmsgTesting, member.name);
  else if (sink == kSinkMemory) SetItemText(state, kUmsgFileToMemory, member.name);
  else if (sink == kSinkWindowCallback) SetItemText(state, kUmsgMemoryToMemory, member.name);
  else SetItemText(state, kUmsgExtracting, target->path);
  if ((result = MemberBuffersPrepare(state)) != 0) return result;
  result = MemberExtractData(state, target, dataOffset);
  if (result == 44 && MemberEncrypted(member)) return AnswerWrongPassword(state);
  if (result == 0)
    LogDone(state, sink == kSinkNone ? kUmsgActivityTested : sink == kSinkFile ? kUmsgActivityExtracted : kUmsgActivityMemory,
            sink == kSinkFile ? target->path : member.name);
  return result;
}

int ExtractMember(UnzipState *state) {
  CurrentMember &member = state->directory.member;
  // A spanned archive on a fixed drive is a split set, also when its end
  // record was read by an earlier command.
  if (state->directory.spanned && !IsRemovableDrive(DriveNumberOfPath(state->archiveName))) state->splitFiles = 1;
  // Function 11 hands its output to the callback; without one there is nowhere to put it.
  if (OutputSinkOf(state) == kSinkWindowCallback && !state->memoryIo) return UnzipFail(state, 47, kUmsgFileToMemParameters);
  MemberTarget target;
  memset(&target, 0, sizeof target);
  target.dosDate = ReadLe16(member.central + kChDate);
  target.dosTime = ReadLe16(member.central + kChTime);
  target.attributes = MemberAttributeWord(&member);
  const char *lastChar = member.name[0] ? member.name + strlen(member.name) - 1 : member.name;
  target.folder = *lastChar == '/' || *lastChar == '\\';
  int result = 0;
  if (OutputSinkOf(state) == kSinkFile) result = PrepareTarget(state, &target);
  if (result == 0) result = ExtractPrepared(state, &target);
  // A member that failed leaves nothing behind for the next one.
  if (result != 48) state->cancelFlag = 0;
  return result;
}

enum : uint16_t { kMethodShrink = 1, kMethodImplode = 6 };
enum : uint32_t { kSizeNotStated = 0xFFFFFFFF };

// Function 10 reads until the callback's last bytes. Deflate ends by itself,
// but the older methods end where the member's size is used up: Reduce and
// Implode may hold padding bits past their last item that would decode as
// more, so they go only with a size the record states; Shrink also stops
// when its codes run out. The output limit; *refused when it cannot go.
static uint64_t StreamOutputLimit(const UnzipState *state, uint16_t method, bool *refused) {
  *refused = false;
  bool legacy = method >= kMethodShrink && method <= kMethodImplode;
  if (!legacy) return UINT64_MAX;
  if (state->streamStatedSize != kSizeNotStated) return state->streamStatedSize;
  *refused = method != kMethodShrink;
  return UINT64_MAX;
}

int ExtractStreamMember(UnzipState *state) {
  CurrentMember &member = state->directory.member;
  if (MemberMethod(member) > kMethodMax) return UnzipFail(state, 42, 0);
  bool refused = false;
  uint64_t limit = StreamOutputLimit(state, MemberMethod(member), &refused);
  if (refused) return UnzipFail(state, 2, 0);
  int result = MemberBuffersPrepare(state);
  if (result) return UnzipFail(state, result, kUmsgGlobalHeap);
  lstrcpynA(state->itemText, member.name, sizeof state->itemText);
  result = StartMemberInput(state, 0, 1);
  if (!result) result = DecodeStarted(state, kSinkCallback, INVALID_HANDLE_VALUE, limit);
  if (result == 0) LogDone(state, kUmsgActivityMemory, member.name);
  state->cancelFlag = 0;
  return result;
}
