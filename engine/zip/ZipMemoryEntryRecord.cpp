// Function 6: one member compressed between the memory I/O callbacks and
// handed out as a memory entry record: a central directory header (with the
// strong-encryption extra when the member is strongly encrypted), then the
// encryption header and the compressed data. The record carries no real CRC
// or sizes; its reader takes the data to the end of the record.
#include <stdlib.h>
#include <string.h>

#include "../common/CipherState.h"
#include "../common/StrongEncryption.h"
#include "../unzip/DosTime.h"
#include "messages/ZipLog.h"
#include "messages/ZipMessages.h"
#include "messages/ZipReport.h"
#include "writer/ZipMemberCompressor.h"
#include "writer/ZipMemberEncoder.h"
#include "writer/ZipMemberInput.h"
#include "writer/ZipOutput.h"
#include "writer/ZipRecordBytes.h"
#include "writer/ZipRecordWriter.h"
#include "ZipCommand.h"
#include "ZipEntry.h"
#include "ZipPending.h"
#include "ZipState.h"

namespace {

const uint32_t kOutputBuffer = 8192;
const uint32_t kUnknownSize = 0xFFFFFFFF;
enum { kMessageUnexpected = 392, kMessageMemoryToMemory = 707, kMessageNoMemory = 143 };
enum : uint16_t { kHostNtfs = 11 << 8 };

uint32_t LocalDosDateTime() {
  SYSTEMTIME now;
  GetLocalTime(&now);
  return DosDateTimePack(now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond);
}

bool Strong(const ZipState *state) { return state->password && state->cipher.kind == kEncryptStrong; }

void PrepareEntry(ZipState *state, ZipEntry *entry) {
  bool zip64 = state->zip64Allowed;
  bool deflate64 = state->forcedMethod == 9;
  entry->method = deflate64 ? 9 : 8;
  entry->versionNeeded = zip64 ? 45 : deflate64 ? 21 : 20;
  entry->versionMadeBy = zip64 ? 45 : deflate64 && !state->main.upperCaseNames ? 21 : 20;
  if (state->subOptions & ZSO_ANSI_NAMES) entry->versionMadeBy |= kHostNtfs;
  entry->dosDateTime = LocalDosDateTime();
  entry->crc = entry->dosDateTime << 16;
  entry->compressedSize = kUnknownSize;
  entry->uncompressedSize = zip64 ? kUnknownSize : 0;
  entry->localFlags = Strong(state) ? 0x41 : state->password ? 1 : 0;
  if (state->password) {
    entry->encrypted = 1;
    entry->cryptKind = state->cipher.kind;
    entry->cryptStrength = state->cipher.strength;
  }
}

// The header goes out in one write of the callback; 0, 9 or 4.
int SendHeader(ZipState *state, const ZipEntry *entry) {
  uint32_t extra = Strong(state) ? ZIP_STRONG_EXTRA_SIZE : 0;
  uint32_t length = ZIP_CENTRAL_HEADER_SIZE + entry->nameLength + extra;
  uint8_t *header = static_cast<uint8_t *>(calloc(length + 1, 1));
  if (!header) return 4;
  ZipRecordBytes out{header};
  out.U32(ZIP_CENTRAL_SIGNATURE);
  out.U16(entry->versionMadeBy);
  out.U16(entry->versionNeeded);
  out.U16(entry->localFlags);
  out.U16(entry->method);
  out.U32(entry->dosDateTime);
  out.U32(entry->crc);
  out.U32(uint32_t(entry->compressedSize));
  out.U32(uint32_t(entry->uncompressedSize));
  out.U16(entry->nameLength);
  out.U16(extra);
  out.U16(0);
  out.U16(0);
  out.U16(entry->internalAttributes);
  out.U32(0);
  out.U32(0);
  out.Bytes(entry->name, entry->nameLength);
  if (extra) StrongExtraField(state->cipher.strength, out.at);
  uint32_t sent = ZipCallbackWrite(state, header, length);
  free(header);
  if (sent == length) return 0;
  return state->cancel ? 9 : 4;
}

int WriteCryptHeader(ZipState *state, const ZipEntry *entry) {
  if (Strong(state)) state->cipher.randomIv = 1;
  int result = ZipWriteCryptHeader(state, entry->crc, state->password, nullptr);
  if (result) ZipReportError(result, ZipMessageText(kMessageUnexpected, 2), !state->promptsAllowed);
  return result;
}

int Compress(ZipState *state, ZipEntry *entry) {
  DeflateOutputTraits traits{false, true, true, state->convertLineEnds > 0};
  int result = ZipStartEncoder(state, entry, traits, kOutputBuffer, &entry->localFlags);
  if (!result) result = state->cancel ? 9 : state->result;
  if (!result) result = SendHeader(state, entry);
  if (!result && state->password) result = WriteCryptHeader(state, entry);
  if (!result) {
    ZipRunEncoder(state);
    result = state->cancel ? 9 : state->result;
  }
  if (!result && Strong(state) && !ZipFlushStrong(state, nullptr))
    result = state->result ? state->result : ZipWriteFailureCode(state, 14);
  ZipStopEncoder(state);
  return result;
}

}  // namespace

int ZipCompressMemoryEntry(ZipState *state, ZipEntry *entry) {
  ZipBeginMember(state, entry->name);
  state->writer.memoryEntry = 1;
  state->writer.memberOutput = nullptr;
  state->readInput = ZipReadCallbackInput;
  PrepareEntry(state, entry);
  int result = Compress(state, entry);
  state->writer.memoryEntry = 0;
  if (!result) ZipActivityLogLine(ZipMessageText(kMessageMemoryToMemory, 2));
  return result;
}

int ZipCompressMemoryItem(const char *name, ZipState *state) {
  ZipEntry entry = {};
  size_t length = name ? strlen(name) : 0;
  // The record's name length is 16 bits wide.
  if (length > 0xFFFF) {
    ZipReportError(16, nullptr, !state->promptsAllowed);
    return 16;
  }
  if (length) {
    entry.name = static_cast<char *>(malloc(length + 1));
    if (!entry.name) {
      ZipReportError(4, ZipMessageText(kMessageNoMemory, 2), !state->promptsAllowed);
      return 4;
    }
    memcpy(entry.name, name, length + 1);
    entry.path = entry.name;
  }
  entry.nameLength = uint32_t(length);
  entry.internalAttributes = ZIP_ATTRIBUTES_UNKNOWN;
  int result = ZipCompressMemoryEntry(state, &entry);
  free(entry.name);
  return result;
}
