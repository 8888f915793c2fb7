// One member of an add, update or freshen run: facts of its source, store or
// compress, the local header, the encryption header, the data, and the
// header rewritten with the final values when the output can seek back.
#include "ZipMemberCompressor.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "../../common/CipherState.h"
#include "../../common/StrongEncryption.h"
#include "../../common/WinZipAesContext.h"
#include "../messages/ZipLog.h"
#include "../messages/ZipMessages.h"
#include "../messages/ZipProgress.h"
#include "../volumes/ZipVolumeRoom.h"
#include "../ZipCommand.h"
#include "../ZipCommandEnd.h"
#include "../ZipEntry.h"
#include "../ZipSourceFiles.h"
#include "../ZipState.h"
#include "../ZipStrings.h"
#include "ZipMemberEncoder.h"
#include "ZipMemberInput.h"
#include "ZipOutput.h"
#include "ZipRecordWriter.h"

namespace {

const uint32_t kPiece = 8192;
const uint32_t kCopyPiece = 0x40000;
const uint32_t kFileOutputBuffer = 20480;
const uint64_t kLimit32 = 0xFFFFFFFF;
enum {
  kMessageWriteFailure = 270,
  kMessageItemOf = 391,
  kMessageUnexpected = 392,
  kMessageRewrite = 393,
  kMessageMemoryToFile = 395,
  kMessageAdded = 703,
  kMessageMemory = 705,
};
enum : uint16_t { kDescriptorFlag = 8, kEncryptedFlag = 1, kStrongFlags = 0x41, kLevelBits = 6 };
enum : uint16_t { kHostNtfs = 11 << 8 };
enum : uint32_t { kRenameAttributes = 0x27, kDirectoryAttribute = 0x10, kArchiveAttribute = 0x20 };

bool MultiVolume(const ZipState *state) { return (state->multiVolControl & ZMV_MULTI_VOLUME) != 0; }
bool Encrypting(const ZipState *state, const ZipEntry *e) { return state->password && e->encrypted; }
bool Strong(const ZipState *state, const ZipEntry *e) {
  return Encrypting(state, e) && e->cryptKind == kEncryptStrong;
}
// The output can be rewound to rewrite the local header and encipher in place.
bool Seekable(const ZipState *state) { return !MultiVolume(state) && !state->memoryIo; }

bool IsMemoryItem(const ZipState *state, const ZipEntry *e) {
  return state->memorySource && state->loop.memoryItem[0] && e->path &&
         lstrcmpiA(e->path, state->loop.memoryItem) == 0;
}

int Report(ZipState *state, int code, int messageId) {
  ZipAbort(code, messageId ? ZipMessageText(messageId, 2) : nullptr);
  return code;
}

bool Seek(HANDLE file, uint64_t offset) {
  LARGE_INTEGER to;
  to.QuadPart = int64_t(offset);
  return SetFilePointerEx(file, to, nullptr, FILE_BEGIN) != 0;
}

uint64_t CryptOverhead(const ZipState *state, const ZipEntry *e) {
  if (!Encrypting(state, e)) return 0;
  if (e->cryptKind == kEncryptWinZipAes) return (e->cryptStrength & 3) * 4 + 16;
  return e->cryptKind == kEncryptStrong ? 0 : ZIP_TRADITIONAL_HEADER_SIZE;
}

// Cipher text of a strongly encrypted member: padded to whole blocks, a whole
// block more when it already was.
uint64_t StrongPadded(uint64_t length) { return (length & ~uint64_t(15)) + 16; }

int OverallProgress(ZipState *state, const ZipEntry *e, bool memoryInput) {
  char text[ZIP_STATUS_TEXT_SIZE];
  ZipWriterState &w = state->writer;
  if (memoryInput) snprintf(text, sizeof text, "%s", ZipMessageText(kMessageMemoryToFile, 1));
  else snprintf(text, sizeof text, ZipMessageText(kMessageItemOf, 1), int(w.itemNumber + 1), int(state->loop.itemTotal));
  int answer = ZipMajorStatus(text, state->loop.itemTotal, w.itemNumber);
  ++w.itemNumber;
  return answer || state->cancel ? 9 : 0;
}

void ApplyRename(ZipState *state, ZipEntry *e, const char *name, uint32_t dosDate, uint32_t dosTime,
                 uint32_t attributes) {
  size_t length = strlen(name);
  if (length > e->nameLength) {
    char *longer = static_cast<char *>(malloc(length + 2));
    if (!longer) return;
    if (e->path != e->name) free(e->name);
    e->name = longer;
  }
  memcpy(e->name, name, length + 1);
  e->nameLength = uint32_t(length);
  e->dosDateTime = dosDate << 16 | (dosTime & 0xFFFF);
  e->externalAttributes = (e->externalAttributes & ~kRenameAttributes) | (attributes & kRenameAttributes);
  state->writer.currentName = e->name;
}

void OfferRename(ZipState *state, ZipEntry *e, uint64_t size) {
  if (state->subOptions2 & ZSO2_RENAME_EX) {
    if (!state->renameProcEx) return;
    auto *r = static_cast<ZipRenameRecordEx *>(calloc(1, sizeof(ZipRenameRecordEx)));
    if (!r) return;
    r->size = sizeof *r;
    CopyTextCapped(r->name, sizeof r->name, e->name ? e->name : "");
    CopyTextCapped(r->path, sizeof r->path, e->path ? e->path : "");
    r->dosDate = e->dosDateTime >> 16;
    r->dosTime = e->dosDateTime & 0xFFFF;
    r->attributes = e->externalAttributes;
    r->uncompressedSize = size;
    state->renameProcEx(r, state->renameUserData);
    r->name[sizeof r->name - 1] = '\0';
    ApplyRename(state, e, r->name, r->dosDate, r->dosTime, r->attributes);
    free(r);
    return;
  }
  if (!state->renameProc) return;
  ZipRenameRecord r = {};
  CopyTextCapped(r.name, sizeof r.name, e->name ? e->name : "");
  CopyTextCapped(r.path, sizeof r.path, e->path ? e->path : "");
  r.dosDate = e->dosDateTime >> 16;
  r.dosTime = e->dosDateTime & 0xFFFF;
  r.attributes = e->externalAttributes;
  state->renameProc(&r, state->renameUserData);
  r.name[sizeof r.name - 1] = '\0';
  ApplyRename(state, e, r.name, r.dosDate, r.dosTime, r.attributes);
}

bool RenameOffered(const ZipState *state) {
  bool forcedZip64 = MultiVolume(state) && (state->multiVolControl & ZMV_ZIP64_AHEAD);
  return (state->renameProc || state->renameProcEx) && !forcedZip64 && !state->writer.renameOff;
}

uint16_t ChooseMethod(const ZipState *state, const ZipEntry *e, bool noData) {
  if (noData) return 0;
  if (state->storeSuffixes && e->path && ZipIsStoreSuffix(e->path, state->storeSuffixes)) return 0;
  return state->forcedMethod == 9 ? 9 : state->forcedMethod == 0 ? 0 : 8;
}

void SetVersions(const ZipState *state, ZipEntry *e) {
  if (state->zip64Allowed) {
    e->versionMadeBy = e->versionNeeded = 45;
  } else {
    e->versionMadeBy = e->method == 9 && !state->main.upperCaseNames ? 21 : 20;
    e->versionNeeded = e->method == 0 ? 10 : e->method == 9 ? 21 : 20;
  }
  if (Strong(state, e)) e->versionMadeBy = e->versionNeeded = 51;
  if (state->subOptions & ZSO_ANSI_NAMES) e->versionMadeBy |= kHostNtfs;
}

HANDLE OpenSource(const char *path) {
  char name[ZIP_PATH_SIZE];
  CopyTextCapped(name, sizeof name, path);
  ZipPathToBackslashes(name);
  return CreateFileA(name, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                     FILE_ATTRIBUTE_NORMAL, nullptr);
}

// Stored data in 8 KiB pieces through the encrypting output.
int CopyStored(ZipState *state, HANDLE *output, uint64_t *written) {
  uint8_t *piece = static_cast<uint8_t *>(malloc(kPiece));
  if (!piece) return 4;
  int result = 0;
  uint32_t got;
  while (!result && (got = state->readInput(state, piece, kPiece)) > 0) {
    if (ZipEncryptWrite(state, piece, got, output) != got) result = MultiVolume(state) ? (state->cancel ? 9 : 14) : 10;
    else *written += got;
    if (state->cancel) result = 9;
  }
  free(piece);
  return result ? result : state->cancel ? 9 : state->result;
}

int WriteData(ZipState *state, ZipEntry *e, HANDLE *output, uint64_t *written) {
  if (e->method == 0) return CopyStored(state, output, written);
  state->writer.memberOutput = output;
  DeflateOutputTraits traits{Seekable(state), state->memoryIo != nullptr, false, state->convertLineEnds > 0};
  uint16_t levelFlags = 0;
  int result = ZipStartEncoder(state, e, traits, kFileOutputBuffer, &levelFlags);
  e->localFlags |= levelFlags;
  e->centralFlags |= levelFlags;
  if (!result) {
    *written = ZipRunEncoder(state);
    result = state->cancel ? 9 : state->result;
  }
  ZipStopEncoder(state);
  return result;
}

// The member's data read back, enciphered and written over themselves.
int EncipherInPlace(ZipState *state, ZipEntry *e, HANDLE *output, uint64_t dataStart, uint64_t length) {
  uint8_t *buffer = static_cast<uint8_t *>(malloc(kPiece + 16));
  if (!buffer) return 4;
  HANDLE file = *output;
  ZipWriterState &w = state->writer;
  w.encryptionSuspended = 0;
  int result = 0;
  uint64_t done = 0;
  // At least one round: strong encryption pads even an empty member to a block.
  do {
    uint32_t piece = uint32_t(length - done < kPiece ? length - done : kPiece);
    DWORD got = 0;
    if (!Seek(file, dataStart + done) || !ReadFile(file, buffer, piece, &got, nullptr) || got != piece) {
      result = 11;
      break;
    }
    size_t outLength = piece;
    bool last = done + piece == length;
    if (e->cryptKind == kEncryptStrong) {
      if (StrongEncryptBlocks(buffer, last, &outLength, &state->cipher) != 0) result = 22;
    } else if (e->cryptKind == kEncryptWinZipAes) {
      WinZipAesEncrypt(buffer, piece, &state->cipher.aes);
    } else {
      for (uint32_t i = 0; i < piece; ++i) {
        uint8_t plain = buffer[i];
        buffer[i] = plain ^ TraditionalStreamByte(&state->cipher.keys);
        TraditionalUpdateKeys(&state->cipher.keys, plain);
      }
    }
    DWORD put = 0;
    if (!result && (!Seek(file, dataStart + done) || !WriteFile(file, buffer, DWORD(outLength), &put, nullptr) ||
                    put != outLength))
      result = 14;
    done += piece;
    ZipMinorStatus(w.currentName, length, done);
    if (!result && state->cancel) result = 9;
  } while (!result && done < length);
  free(buffer);
  return result;
}

// Plain text must not outlive a failed member: the output is cut back to
// where the member began.
void DropPlainMember(HANDLE output, const ZipEntry *e) {
  if (Seek(output, e->localHeaderOffset)) SetEndOfFile(output);
}

int RewriteLocalHeader(ZipState *state, ZipEntry *e, HANDLE *output, uint64_t end) {
  if (!Seek(*output, e->localHeaderOffset)) return Report(state, 11, kMessageRewrite);
  e->localFlags &= ~kDescriptorFlag;
  e->centralFlags &= ~kDescriptorFlag;
  if (e->method == 0 && !state->zip64Allowed) e->versionNeeded = 10;
  int result = ZipWriteLocalHeader(state, e, output);
  if (result) return result;
  return Seek(*output, end) ? 0 : Report(state, 11, kMessageRewrite);
}

struct MemberPlan {
  bool directory;
  bool memoryInput;
  bool sizeKnown;  // callback input tells its size only at its end
  uint64_t size;
  uint32_t attributes;
};

int Prepare(ZipState *state, ZipEntry *e, MemberPlan *plan) {
  plan->memoryInput = IsMemoryItem(state, e);
  int result = OverallProgress(state, e, plan->memoryInput);
  if (result) return result;
  plan->directory = e->name && ZipIsDirectoryName(e->name);
  uint32_t dosDateTime = ZipSourceInfo(e->path ? e->path : "", &plan->attributes, &plan->size, nullptr);
  if (!dosDateTime) return 18;
  if (plan->directory) plan->size = 0;
  plan->attributes &= 0x37;
  // A member made from memory is a file, whatever the item's name says.
  if (plan->memoryInput) plan->attributes &= ~kDirectoryAttribute;
  if (state->subOptions & ZSO_CLEAR_ARCHIVE_BIT) plan->attributes &= ~kArchiveAttribute;
  plan->sizeKnown = !(plan->memoryInput && state->memoryIo);
  if (!plan->sizeKnown) plan->size = 0;
  if (!state->zip64Allowed && plan->size >= kLimit32) return 11;

  e->dosDateTime = dosDateTime;
  e->method = ChooseMethod(state, e, plan->directory || (plan->sizeKnown && plan->size == 0));
  e->encrypted = state->password && !plan->directory;
  e->cryptKind = state->cipher.kind;
  e->cryptStrength = state->cipher.strength;
  SetVersions(state, e);
  ZipWriterState &w = state->writer;
  w.expectedSize = plan->size;
  if (plan->memoryInput) state->readInput = ZipReadMemoryInput;
  else state->readInput = ZipReadFileInput;
  if (!plan->directory && !plan->memoryInput) {
    w.input = OpenSource(e->path);
    if (w.input == INVALID_HANDLE_VALUE) return 18;
  }
  return 0;
}

void SetFlags(ZipState *state, ZipEntry *e) {
  uint16_t flags = kDescriptorFlag;
  if (e->encrypted) flags |= Strong(state, e) ? kStrongFlags : kEncryptedFlag;
  ZipWriterState &w = state->writer;
  e->crc = 0;
  if (Seekable(state)) {
    flags &= ~kDescriptorFlag;
    w.deferredEncryption = e->encrypted;
  } else {
    w.encryptWhileWriting = e->encrypted;
    e->crc = e->dosDateTime << 16;
  }
  if (MultiVolume(state)) e->diskStart = uint16_t(w.currentDisk);
  e->localFlags = e->centralFlags = flags;
}

int WriteHeaders(ZipState *state, ZipEntry *e, HANDLE *output) {
  ZipWriterState &w = state->writer;
  uint32_t disk = w.currentDisk;
  int result = ZipWriteLocalHeader(state, e, output);
  if (result) return result;
  if (w.currentDisk != disk) {  // the header went to the start of a new volume
    e->localHeaderOffset = 0;
    e->diskStart = uint16_t(w.currentDisk);
  }
  w.outputOffset += ZIP_LOCAL_HEADER_SIZE + e->nameLength + e->localZip64Length + e->localExtraLength +
                    e->localAesLength;
  if (!e->encrypted) return 0;
  // Deferred: a placeholder of the header's length, filled once the CRC is known.
  w.encryptionSuspended = w.deferredEncryption;
  state->cipher.randomIv = !w.deferredEncryption;
  if (w.deferredEncryption && e->cryptKind == kEncryptTraditional) {
    uint8_t zeros[ZIP_TRADITIONAL_HEADER_SIZE] = {};
    result = ZipWriteOutput(state, zeros, sizeof zeros, output) == sizeof zeros ? 0 : 10;
    w.cryptHeaderLength = ZIP_TRADITIONAL_HEADER_SIZE;
  } else {
    result = ZipWriteCryptHeader(state, e->crc, state->password, output);
  }
  if (result) return Report(state, result, kMessageUnexpected);
  e->compressedSize += w.cryptHeaderLength;
  w.outputOffset += w.cryptHeaderLength;
  return 0;
}

int FinishDeferred(ZipState *state, ZipEntry *e, HANDLE *output, uint64_t dataStart, uint64_t dataLength) {
  ZipWriterState &w = state->writer;
  uint64_t end = w.outputOffset;
  uint64_t headerStart = dataStart - w.cryptHeaderLength;
  w.encryptionSuspended = 0;
  if (!Seek(*output, headerStart)) return 11;
  int result = ZipWriteCryptHeader(state, e->crc, state->password, output);
  if (result) return result;
  result = EncipherInPlace(state, e, output, dataStart, dataLength);
  if (!result && !Seek(*output, end)) result = 11;
  return result;
}

int AppendAuthCode(ZipState *state, ZipEntry *e, HANDLE *output) {
  uint8_t code[kWinZipAesAuthCodeLength];
  WinZipAesAuthCode(code, &state->cipher.aes);
  if (ZipWriteOutput(state, code, sizeof code, output) != sizeof code) return 14;
  state->writer.outputOffset += sizeof code;
  return 0;
}

void LogMember(ZipState *state, const ZipEntry *e, bool memoryInput) {
  char text[ZIP_PATH_SIZE + 64];
  char path[ZIP_PATH_SIZE];
  CopyTextCapped(path, sizeof path, e->path ? e->path : "");
  ZipPathToBackslashes(path);
  if (memoryInput) snprintf(text, sizeof text, ZipMessageText(kMessageMemory, 1), e->name ? e->name : "");
  else snprintf(text, sizeof text, ZipMessageText(kMessageAdded, 1), path);
  ZipActivityLogLine(text);
}

void CloseInput(ZipState *state) {
  if (state->writer.input != INVALID_HANDLE_VALUE) CloseHandle(state->writer.input);
  state->writer.input = INVALID_HANDLE_VALUE;
}

int CompressMember(ZipState *state, ZipEntry *e, HANDLE *output, const MemberPlan &plan) {
  ZipWriterState &w = state->writer;
  SetFlags(state, e);
  int result = 0;
  if (MultiVolume(state) && e->method == 0 && plan.size) {
    e->localFlags &= ~kDescriptorFlag;
    e->centralFlags &= ~kDescriptorFlag;
    e->crc = ZipPrecomputeCrc(state, e->dosDateTime, &result);
    w.inputCount = 0;
    if (result) return result;
  }
  e->compressedSize = e->method == 0 ? plan.size : 0;
  e->uncompressedSize = plan.size;
  e->internalAttributes = e->method == 0 ? 0 : ZIP_ATTRIBUTES_UNKNOWN;
  e->externalAttributes = plan.attributes;
  e->localHeaderOffset = w.outputOffset;
  if (RenameOffered(state)) OfferRename(state, e, plan.size);

  // A stored member across volumes carries its final size, overhead included.
  uint64_t storedOverhead = MultiVolume(state) && e->method == 0 ? CryptOverhead(state, e) : 0;
  e->compressedSize += storedOverhead;
  result = WriteHeaders(state, e, output);
  e->compressedSize -= storedOverhead + w.cryptHeaderLength;
  if (result) return result;

  uint64_t dataStart = w.outputOffset;
  w.runningCrc = 0;
  w.volumeBytes = 0;
  uint64_t written = 0;
  result = plan.directory ? 0 : WriteData(state, e, output, &written);
  CloseInput(state);
  if (!result && w.encryptWhileWriting && e->cryptKind == kEncryptStrong && !ZipFlushStrong(state, output))
    result = state->result ? state->result : 14;
  if (result) return result;

  uint64_t dataLength = written;
  if (Strong(state, e)) written = StrongPadded(written);
  // Offsets count from the start of the volume the data ended on.
  w.outputOffset = MultiVolume(state) ? ZipVolumePosition(state, *output) : w.outputOffset + written;
  if (!state->zip64Allowed && w.outputOffset >= kLimit32) return Report(state, 14, kMessageWriteFailure);

  e->crc = w.runningCrc;
  e->compressedSize = written + CryptOverhead(state, e) + (Strong(state, e) ? w.cryptHeaderLength : 0);
  e->uncompressedSize = state->zip64Allowed ? w.inputCount : w.inputCount & kLimit32;
  if (e->internalAttributes == ZIP_ATTRIBUTES_UNKNOWN) e->internalAttributes = 0;

  if (Seekable(state) && (result = RewriteLocalHeader(state, e, output, w.outputOffset))) return result;
  if (w.deferredEncryption && (result = FinishDeferred(state, e, output, dataStart, dataLength))) return result;
  if (Encrypting(state, e) && e->cryptKind == kEncryptWinZipAes && (result = AppendAuthCode(state, e, output)))
    return result;
  if (Strong(state, e)) StrongEncryptRelease(&state->cipher);

  bool descriptor = MultiVolume(state) || state->memoryIo;
  if (descriptor && (e->method != 0 || (e->localFlags & kDescriptorFlag))) {
    if ((result = ZipWriteDataDescriptor(state, e, output))) return result;
    w.outputOffset += state->zip64Allowed ? 24 : 16;
  }
  LogMember(state, e, plan.memoryInput);
  return 0;
}

}  // namespace

int ZipIsStoreSuffix(const char *name, const char *suffixes) {
  const char *dot = strrchr(name, '.');
  const char *slash = strrchr(name, '/');
  const char *backslash = strrchr(name, '\\');
  if (!dot || (slash && slash > dot) || (backslash && backslash > dot)) return 0;
  size_t length = strlen(dot);
  for (const char *item = suffixes; *item;) {
    size_t itemLength = strcspn(item, ":;");
    if (itemLength == length && _strnicmp(item, dot, length) == 0) return 1;
    item += itemLength;
    if (*item) ++item;
  }
  return 0;
}

int ZipCompressMember(ZipState *state, ZipEntry *e, HANDLE *output) {
  ZipBeginMember(state, e->name);
  MemberPlan plan = {};
  int result = Prepare(state, e, &plan);
  if (!result) result = CompressMember(state, e, output, plan);
  CloseInput(state);
  if (result && state->writer.deferredEncryption && output && *output != INVALID_HANDLE_VALUE)
    DropPlainMember(*output, e);
  if (!result && (state->subOptions & ZSO_CLEAR_ARCHIVE_BIT) && e->path && !plan.memoryInput) {
    DWORD attributes = GetFileAttributesA(e->path);
    if (attributes != INVALID_FILE_ATTRIBUTES) SetFileAttributesA(e->path, attributes & ~kArchiveAttribute);
  }
  return result;
}

int ZipCopyEntry(ZipState *state, ZipEntry *e, HANDLE input, HANDLE *output) {
  bool rewriteHeader = state->main.repairLevel >= 2;
  uint64_t localLength = ZIP_LOCAL_HEADER_SIZE + uint64_t(e->nameLength) + e->localZip64Length +
                         e->localExtraLength + e->localAesLength;
  // The update reader measured the descriptor (12 to 24 bytes, or none).
  uint64_t descriptor = e->descriptorLength;
  uint64_t oldOffset = e->localHeaderOffset;
  uint64_t count = e->compressedSize + descriptor;
  ZipWriterState &w = state->writer;
  e->localHeaderOffset = w.outputOffset;
  if (rewriteHeader) {
    if (ZipWriteLocalHeader(state, e, output)) return 10;
    w.outputOffset += ZIP_LOCAL_HEADER_SIZE + e->nameLength + e->localZip64Length + e->localExtraLength +
                      e->localAesLength;
  } else {
    count += localLength;
  }
  if (!Seek(input, rewriteHeader ? oldOffset + localLength : oldOffset)) return 2;
  uint8_t *piece = static_cast<uint8_t *>(malloc(kCopyPiece));
  if (!piece) return 4;
  int result = 0;
  while (!result && count) {
    DWORD want = DWORD(count < kCopyPiece ? count : kCopyPiece), got = 0;
    if (!ReadFile(input, piece, want, &got, nullptr) || got != want) result = 11;
    else if (ZipWriteOutput(state, piece, got, output) != got) result = 10;
    else if (ZipCheckCancel(state)) result = 9;
    count -= got;
    w.outputOffset += got;
  }
  free(piece);
  return result;
}
