#include "UnzipFunctions.h"

#include <cstdio>
#include <cstring>
#include "../common/UnzipMessages.h"
#include "ArchiveDirectory.h"
#include "MemberExtraction.h"
#include "MemberInfo.h"
#include "MemberMatch.h"
#include "MemberNameText.h"
#include "PathNames.h"
#include "UnzipProgress.h"
#include "UnzipReport.h"

// Prepares the directory and reads the end record; failures are reported
// with the given details.
static int OpenDirectory(UnzipState *state, uint32_t missingDetail, uint32_t badDetail) {
  int result = DirectoryPrepare(state->archiveName);
  if (result) return UnzipFail(state, result, missingDetail);
  result = EndRecordRead(0);
  return result ? UnzipFail(state, result, badDetail) : 0;
}

static int CountShortNames(UnzipState *state, uint64_t *count) {
  int result = DirectoryLoadIfNeeded();
  if (result) return result;
  *count = 0;
  for (uint64_t i = 0; i < state->directory.cache.count; ++i) {
    if (!MemberAt(i)) return 3;
    if (!PathIsLongName(state->directory.member.name)) ++*count;
  }
  return 0;
}

static int32_t CountToInt(uint64_t count) { return count > INT32_MAX ? INT32_MAX : static_cast<int32_t>(count); }

static int CountMembers(UnzipState *state) {
  DirectoryInvalidate(state);
  int result = OpenDirectory(state, kUmsgProblemReading, kUmsgProblemReading);
  if (result) return result;
  uint64_t count = state->directory.end.totalEntries;
  if (state->skipLongNames && (result = CountShortNames(state, &count)) != 0)
    return UnzipFail(state, result, kUmsgProblemReading);
  state->command.returnCount = CountToInt(count);
  return 0;
}

// Delivers the member in hand to the information record.
static int DeliverMember(UnzipState *state) {
  MemberInfoDeliver(state);
  state->infoFilled = 1;
  return 0;
}

// Makes sure the listing can go on: the end record of this archive is read.
static int ListingReady(UnzipState *state) {
  int result = DirectoryPrepare(state->archiveName);
  if (result) return UnzipFail(state, result, kUmsgProblemReading);
  if (state->directory.cache.valid) return 0;
  if (EndRecordRead(0) != 0) return UnzipFail(state, 3, kUmsgProblemReading);
  if (state->directory.end.totalEntries == 0) return UnzipFail(state, 2, kUmsgNoMoreItems);
  return 0;
}

static int NextInfo(UnzipState *state) {
  if (!MemberInfoRecordGiven(&state->command)) return UnzipFail(state, 47, kUmsgNoCommandStruct);
  int result = ListingReady(state);
  if (result) return result;
  do {
    result = DirectoryNext();
  } while (result == 0 && state->skipLongNames && PathIsLongName(state->directory.member.name));
  if (result == 2) return 2;
  return result ? UnzipFail(state, result, kUmsgProblemReading) : DeliverMember(state);
}

static int CountMatches(UnzipState *state) {
  const char *filespec = state->command.lpszFilespec;
  if (!filespec) return UnzipFail(state, 11, kUmsgNoFilespec);
  if (!state->archiveName[0] || !filespec[0]) return UnzipFail(state, 47, kUmsgFilespecEmpty);
  FilespecPatterns patterns;
  if (FilespecSplit(filespec, &patterns)) return UnzipFail(state, 47, kUmsgQuotesMismatched);
  DirectoryInvalidate(state);
  int result = OpenDirectory(state, kUmsgProblemReading, kUmsgProblemReading);
  if (result) return result;
  uint64_t count = 0;
  while ((result = NextMatchingMember(state, patterns)) == 0) ++count;
  if (result != 2) return UnzipFail(state, result, kUmsgProblemReading);
  // The matches that function 4 hands out next start from the first member.
  state->directory.nextIndex = 0;
  state->command.returnCount = CountToInt(count);
  return 0;
}

static int NextMatch(UnzipState *state) {
  FilespecPatterns patterns;
  if (FilespecSplit(state->command.lpszFilespec, &patterns)) return UnzipFail(state, 47, kUmsgQuotesMismatched);
  if (!state->command.lpszFilespec) return UnzipFail(state, 47, kUmsgNoFilespec);
  if (!MemberInfoRecordGiven(&state->command)) return UnzipFail(state, 47, kUmsgNoCommandStruct);
  int result = ListingReady(state);
  if (result) return result;
  result = NextMatchingMember(state, patterns);
  if (result == 2) return 2;
  return result ? UnzipFail(state, result, kUmsgProblemReading) : DeliverMember(state);
}

static int CommentSize(UnzipState *state) {
  if (state->directory.spanned && state->directory.end.endOffset < 0) DirectoryInvalidate(state);
  int result = OpenDirectory(state, kUmsgProblemOpening, kUmsgStructuralProblem);
  if (result) return result;
  state->command.returnCount = state->directory.end.commentLength;
  return 0;
}

// The comment lies on the last volume: put it in place. 0, or 48 when the
// user declines.
static int TakeCommentVolume(UnzipState *state) {
  if (!state->directory.spanned) return 0;
  ArchiveClose();
  if (state->splitFiles) {
    if (OpenSplitPart(0, 0) != 1) return 48;
  } else if (UnzipShowMessage(kUnzipMsgDiskPrompt, MB_OKCANCEL, 0, -1, nullptr) != IDOK) {
    return 48;
  }
  return ArchiveOpen() == INVALID_HANDLE_VALUE ? 48 : 0;
}

static int CommentText(UnzipState *state) {
  UNZIPCMDSTRUCT &command = state->command;
  int capacity = command.returnCount;
  command.returnCount = 0;
  if (command.lpszReturnString && capacity > 0) command.lpszReturnString[0] = '\0';
  int result = OpenDirectory(state, kUmsgProblemOpening, kUmsgStructuralProblem);
  if (result) return result;
  if (TakeCommentVolume(state)) return 0;
  const EndRecord &end = state->directory.end;
  if (!command.lpszReturnString || capacity <= 0 || end.commentLength == 0) return 0;
  uint32_t length = end.commentLength < static_cast<uint32_t>(capacity - 1) ? end.commentLength
                                                                            : static_cast<uint32_t>(capacity - 1);
  ArchiveSource source = ArchiveSourceOfHandle(&state->archiveHandle);
  if (!SourceReadExact(&source, static_cast<uint64_t>(end.endOffset) + kEndRecordSize, command.lpszReturnString,
                       length))
    return UnzipFail(state, 3, kUmsgStructuralProblem);
  command.lpszReturnString[length] = '\0';
  command.returnCount = static_cast<int32_t>(length);
  return 0;
}

// The cache index of the n-th member with an 8.3 name, or -1.
static int64_t ShortNameIndex(UnzipState *state, uint64_t n) {
  for (uint64_t i = 0; i < state->directory.cache.count; ++i) {
    if (!MemberAt(i)) return -1;
    if (!PathIsLongName(state->directory.member.name) && n-- == 0) return static_cast<int64_t>(i);
  }
  return -1;
}

static int InfoByIndex(UnzipState *state) {
  if (!MemberInfoRecordGiven(&state->command)) return 47;
  int result = OpenDirectory(state, kUmsgProblemReading, kUmsgProblemReading);
  if (result) return result;
  if ((result = DirectoryLoadIfNeeded()) != 0) return UnzipFail(state, result, kUmsgProblemReading);
  int32_t index = state->command.index;
  if (index < 0 || static_cast<uint64_t>(index) >= state->directory.cache.count)
    return UnzipFail(state, 25, kUmsgIndexOutOfRange);
  int64_t at = index;
  if (state->skipLongNames && (at = ShortNameIndex(state, static_cast<uint64_t>(index))) < 0)
    return UnzipFail(state, 25, kUmsgIndexLongName);
  if (!MemberAt(static_cast<uint64_t>(at))) return UnzipFail(state, 3, kUmsgProblemReading);
  return DeliverMember(state);
}

static int ExtractByFilespec(UnzipState *state) {
  FilespecPatterns patterns;
  if (FilespecSplit(state->command.lpszFilespec, &patterns)) return UnzipFail(state, 47, kUmsgQuotesMismatched);
  uint64_t total = 0;
  int result;
  state->directory.nextIndex = 0;  // the count covers the archive, wherever a listing stands
  while ((result = NextMatchingMember(state, patterns)) == 0) ++total;
  if (result != 2) return UnzipFail(state, result, kUmsgProblemReading);
  if (total == 0) return UnzipFail(state, 11, kUmsgNoMatch);
  state->directory.nextIndex = 0;
  state->directory.filespecLoop = 1;
  state->passwordSkipped = 0;
  result = 0;
  for (uint64_t number = 1; number <= total; ++number) {
    if (NextMatchingMember(state, patterns) != 0) break;
    char text[64];
    snprintf(text, sizeof text, UnzipMessageText(kUmsgItemOf, 0), static_cast<int>(number), static_cast<int>(total));
    if (UnzipMajorStatus(text, total, number)) {
      result = 48;
      break;
    }
    result = ExtractMember(state);
    if (result == 0 || result == 49) continue;
    if (result != 40 && result != 48) UnzipFail(state, result, kUmsgProblemExtracting);
    break;
  }
  state->directory.filespecLoop = 0;
  // Members left out for want of the right password leave the command
  // unfinished: it says so rather than succeed.
  if (result == 0 || result == 49) return state->passwordSkipped ? 49 : 0;
  return result;
}

static int ExtractByIndex(UnzipState *state) {
  int32_t index = state->command.index;
  if (index < 0) return UnzipFail(state, 47, kUmsgNoItemList);
  int result = DirectoryLoadIfNeeded();
  if (result) return UnzipFail(state, result, kUmsgProblemReading);
  if (static_cast<uint64_t>(index) >= state->directory.cache.count) return UnzipFail(state, 25, kUmsgIndexTooHigh);
  if (!MemberAt(static_cast<uint64_t>(index))) return UnzipFail(state, 3, kUmsgProblemReading);
  result = ExtractMember(state);
  if (result != 0 && result != 48 && result != 49) UnzipFail(state, result, kUmsgProblemExtracting);
  return result;
}

static bool WritesToMemory(const UnzipState *state) { return state->fileToMemory || state->memoryToMemory; }

static int Extract(UnzipState *state) {
  int function = state->command.Function;
  if (function != kUnzipExtract && !state->fileToMemory) return UnzipFail(state, 47, kUmsgFileToMemParameters);
  if (function == kUnzipExtract && !state->command.testFlag && !state->destination[0])
    return UnzipFail(state, 47, kUmsgNoDestination);
  int result = OpenDirectory(state, kUmsgProblemReading, kUmsgProblemReading);
  if (result) return result;
  if (state->directory.spanned && !state->splitFiles && !state->command.testFlag && !WritesToMemory(state) &&
      PathsOnSameVolume(state->destination, state->archiveName)) {
    UnzipShowMessage(kUnzipMsgSameVolume, MB_OK, 0, 0, nullptr);
    return 12;
  }
  bool progressProgram = (state->command.wUnzipSubOptions & kUnzipProgressProgram) != 0;
  if (progressProgram) UnzipStartProgressProgram(state->command.wUnzipSubOptions & kUnzipProgressCancelButton);
  result = state->command.lpszFilespec ? ExtractByFilespec(state) : ExtractByIndex(state);
  if (progressProgram) UnzipCloseProgressWindow();
  return result;
}

int MemoryReadExact(UnzipState *state, uint8_t *buffer, uint32_t wanted) {
  uint32_t got = 0;
  int status = kMemoryIoMore;
  while (got < wanted && status == kMemoryIoMore) {
    uint32_t length = wanted - got;
    status = kMemoryIoMore;
    state->memoryIo(kMemoryIoRead, buffer + got, &length, static_cast<uint32_t>(state->readPosition),
                    static_cast<uint32_t>(state->readPosition >> 32), static_cast<uint32_t>(state->writePosition),
                    static_cast<uint32_t>(state->writePosition >> 32), state->memoryIoData, &status);
    // A callback claiming more than was asked is not trusted with the buffer.
    if (length > wanted - got) return 5;
    // Nothing delivered while promising more would loop for ever: the record ended.
    if (length == 0 && status == kMemoryIoMore) status = kMemoryIoLast;
    got += length;
    state->readPosition += length;
  }
  if (status == kMemoryIoLast) state->memoryInputEnded = 1;
  if (got == wanted && (status == kMemoryIoMore || status == kMemoryIoLast)) return 0;
  if (status == kMemoryIoLast || status == kMemoryIoMore) return 2;
  return status == kMemoryIoCancel ? 48 : 5;
}

enum : uint32_t { kStreamUnknownSize = 0x7FFFFFFF };

// The local header of a stream member, formed from its central header.
static void FormLocalHeader(UnzipState *state) {
  uint8_t *central = state->directory.member.central;
  uint8_t *local = state->localHeader;
  memset(local, 0, kLocalHeaderSize);
  WriteLe32(local, kLocalHeaderSignature);
  memcpy(local + kLhNeeded, central + kChNeeded, 2);
  memcpy(local + kLhFlags, central + kChFlags, 2);
  memcpy(local + kLhMethod, central + kChMethod, 2);
  memcpy(local + kLhTime, central + kChTime, 2);
  memcpy(local + kLhDate, central + kChDate, 2);
  memcpy(local + kLhCrc, central + kChCrc, 4);
  memcpy(local + kLhNameLength, central + kChNameLength, 2);
  memcpy(local + kLhExtraLength, central + kChExtraLength, 2);
  // The data is read until the callback reports its last bytes.
  WriteLe32(local + kLhCompressed, kStreamUnknownSize);
  WriteLe32(local + kLhUncompressed, kStreamUnknownSize);
  WriteLe32(central + kChCompressed, kStreamUnknownSize);
  WriteLe32(central + kChUncompressed, kStreamUnknownSize);
}

static int ReadStreamRecord(UnzipState *state) {
  CurrentMember &member = state->directory.member;
  memset(&member, 0, sizeof member);
  int result = MemoryReadExact(state, member.central, kCentralHeaderSize);
  if (result) return UnzipFail(state, result, 0);
  if (ReadLe32(member.central) != kCentralHeaderSignature) return UnzipFail(state, 3, kUmsgStructuralProblem);
  uint16_t nameLength = ReadLe16(member.central + kChNameLength);
  uint16_t extraLength = ReadLe16(member.central + kChExtraLength);
  uint32_t variable = static_cast<uint32_t>(nameLength) + extraLength + ReadLe16(member.central + kChCommentLength);
  state->memberVariable = static_cast<uint8_t *>(GlobalAlloc(GPTR, variable + 1));
  if (!state->memberVariable) return UnzipFail(state, 5, kUmsgGlobalHeap);
  state->memberVariableLength = variable;
  if ((result = MemoryReadExact(state, state->memberVariable, variable)) != 0) return UnzipFail(state, result, 0);
  if (nameLength > kMemberNameMax) return UnzipFail(state, 3, kUmsgStructuralProblem);
  memcpy(member.name, state->memberVariable, nameLength);
  memcpy(member.storedName, member.name, nameLength);
  MemberTakeUtf8Name(&member, state->memberVariable, nameLength, state->memberVariable + nameLength, extraLength);
  MemberNameToAnsi(&member, 1);
  if (!ExtraFieldWalk(state->memberVariable + nameLength, extraLength, &member.extras))
    return UnzipFail(state, 3, kUmsgStructuralProblem);
  member.method = ReadLe16(member.central + kChMethod);
  // The size the record states, before the stream takes its place; the
  // older methods need it to know where their data ends.
  state->streamStatedSize = ReadLe32(member.central + kChUncompressed);
  FormLocalHeader(state);
  member.values.uncompressedSize = member.values.compressedSize = kStreamUnknownSize;
  return 0;
}

static int StreamEntry(UnzipState *state) {
  if (!state->memoryIo || state->fileToMemory) return UnzipFail(state, 47, kUmsgFileToMemParameters);
  state->readPosition = state->writePosition = 0;
  int result = ReadStreamRecord(state);
  if (result == 0) result = ExtractStreamMember(state);
  if (state->memberVariable) GlobalFree(state->memberVariable);
  state->memberVariable = nullptr;
  state->memberVariableLength = 0;
  return result;
}

int UnzipDispatch(UnzipState *state) {
  typedef int (*Handler)(UnzipState *);
  static const Handler handlers[] = {
      nullptr,      CountMembers, NextInfo, CountMatches, NextMatch, CommentSize, CommentText,
      InfoByIndex,  Extract,      Extract,  StreamEntry,  Extract,
  };
  int function = state->command.Function;
  if (function < kUnzipCount || function > kUnzipMemoryToMemory) return UnzipFail(state, 47, kUmsgUnknownFunction);
  return handlers[function](state);
}
