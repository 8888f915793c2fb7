#include "ZipRecordWriter.h"

#include <stdlib.h>
#include <string.h>

#include "../../common/CipherState.h"
#include "../../common/StrongEncryption.h"
#include "../../common/WinZipAes.h"
#include "../volumes/ZipVolumeRoom.h"
#include "../ZipCommand.h"
#include "../ZipEntry.h"
#include "../ZipState.h"
#include "ZipOutput.h"
#include "ZipRecordBytes.h"

namespace {

const uint32_t kOverflow32 = 0xFFFFFFFF;
const uint64_t kLocalZip64Threshold = 3500000000u;
enum { kLocalZip64Size = 20, kDescriptor64Size = 24, kDescriptor32Size = 16, kZip64EndSize = 56,
       kZip64LocatorSize = 20, kEndSize = 22 };
enum : uint16_t { kZip64ExtraId = 1, kAesExtraId = 0x9901 };

bool MultiVolume(const ZipState *state) { return (state->multiVolControl & ZMV_MULTI_VOLUME) != 0; }
bool PartOpen(const ZipState *state) {
  return state->volumeFile && state->volumeFile != INVALID_HANDLE_VALUE;
}

// Makes sure the record (and what must follow it on the same volume) lands
// on the current volume.
int MakeRoom(ZipState *state, uint64_t length, HANDLE *output) {
  if (!MultiVolume(state)) return 0;
  if (PartOpen(state)) {
    if (ZipSpaceLeft(state) >= length) return 0;
    int result = ZipNextVolume(state, output);
    // A staging file went to its disk; when that disk cannot take the
    // record, the record starts the next one.
    if (result || (state->multiVolControl & ZMV_SPLIT_PARTS) || ZipSpaceLeft(state) >= length) return result;
  }
  if (ZipMakeRoom(state, length) == 0) return 0;
  return state->cancel ? 9 : 19;
}

int Emit(ZipState *state, const uint8_t *record, size_t length, uint64_t room, HANDLE *output) {
  int result = MakeRoom(state, room, output);
  if (result) return result;
  return ZipWriteOutput(state, record, length, output) == length ? 0 : ZipWriteFailureCode(state, 10);
}

// One heap buffer per record, freed whatever happens.
struct RecordBuffer {
  uint8_t *data;
  explicit RecordBuffer(size_t size) : data(static_cast<uint8_t *>(calloc(size ? size : 1, 1))) {}
  ~RecordBuffer() { free(data); }
};

uint16_t AesStrengthByte(uint32_t strength) { return strength == 2 || strength == 3 ? uint16_t(strength) : 1; }

bool EntryKind(const ZipEntry *entry, uint32_t kind) { return entry->encrypted && entry->cryptKind == kind; }

bool StrongMember(const ZipEntry *entry) {
  return !entry->hasSavedAes && (entry->hasSavedStrong || EntryKind(entry, kEncryptStrong));
}

bool CentralMethod99(const ZipEntry *entry) {
  return entry->hasSavedAes || (!entry->hasSavedStrong && EntryKind(entry, kEncryptWinZipAes));
}

uint32_t Low32(uint64_t v) { return uint32_t(v); }

// --- local header ---

bool LocalNeedsZip64(const ZipState *state, const ZipEntry *e) {
  return state->zip64Allowed && (state->function == ZIP_MEMORY_TO_MEMORY || e->compressedSize >> 32 ||
                                 e->uncompressedSize > kLocalZip64Threshold || MultiVolume(state));
}

uint16_t LocalVersionNeeded(const ZipEntry *e, bool zip64) {
  if (zip64 || e->versionNeeded <= 44) return e->versionNeeded;
  if (EntryKind(e, kEncryptStrong)) return 51;
  return e->method == 9 ? 21 : 20;
}

uint32_t RoomForCryptHeaderStart(const ZipState *state, const ZipEntry *e) {
  if (!state->password || !e->encrypted) return 0;
  if (e->cryptKind == kEncryptWinZipAes) return WinZipAesSaltLength(e->cryptStrength & 3) + 2;
  return ZIP_TRADITIONAL_HEADER_SIZE;
}

// --- central header ---

struct CentralZip64 {
  bool uncompressed, compressed, offset;
  uint32_t Size() const {
    uint32_t data = 8 * (uncompressed + compressed + offset);
    return data ? data + 4 : 0;
  }
};

CentralZip64 CentralZip64Fields(const ZipState *state, const ZipEntry *e) {
  CentralZip64 z{false, false, false};
  if (!state->zip64Allowed) return z;
  if (state->multiVolControl & ZMV_ZIP64_AHEAD) return CentralZip64{true, true, true};
  bool memoryOutput = state->function == ZIP_MEMORY_TO_MEMORY;
  z.uncompressed = e->uncompressedSize >= kOverflow32 || memoryOutput;
  z.compressed = e->compressedSize >= kOverflow32 || memoryOutput;
  z.offset = e->localHeaderOffset >= kOverflow32;
  return z;
}

uint32_t CentralCryptExtraLength(const ZipEntry *e) {
  if (e->keptCentral) return 0;
  if (e->hasSavedAes || EntryKind(e, kEncryptWinZipAes)) return ZIP_AES_EXTRA_SIZE;
  if (e->hasSavedStrong || EntryKind(e, kEncryptStrong)) return ZIP_STRONG_EXTRA_SIZE;
  return 0;
}

void PutCentralCryptExtra(const ZipEntry *e, ZipRecordBytes &out) {
  uint8_t field[ZIP_STRONG_EXTRA_SIZE];
  if (e->keptCentral) return;
  if (e->hasSavedAes) out.Bytes(e->savedAes, ZIP_AES_EXTRA_SIZE);
  else if (e->hasSavedStrong) out.Bytes(e->savedStrong, ZIP_STRONG_EXTRA_SIZE);
  else if (EntryKind(e, kEncryptWinZipAes)) {
    ZipAesExtraField(e->cryptStrength, e->method, field);
    out.Bytes(field, ZIP_AES_EXTRA_SIZE);
  } else if (EntryKind(e, kEncryptStrong)) {
    StrongExtraField(e->cryptStrength, field);
    out.Bytes(field, ZIP_STRONG_EXTRA_SIZE);
  }
}

// Versions of a central header. Version needed never carries a host byte: a
// reader takes the whole word as the version it must understand.
void CentralVersions(const ZipEntry *e, bool zip64, uint16_t *madeBy, uint16_t *needed) {
  if (e->keptCentral) {
    // A copied member keeps its writer's words; a Zip64 block it did not
    // have before asks for a reader of Zip64.
    *madeBy = e->versionMadeBy;
    *needed = zip64 && e->versionNeeded < 45 ? 45 : e->versionNeeded;
    return;
  }
  if (StrongMember(e)) {
    *madeBy = 60;
    *needed = 51;
    return;
  }
  if (zip64) {
    *madeBy = e->versionMadeBy;
    *needed = e->versionNeeded;
    return;
  }
  uint16_t fallback = e->method == 9 ? 21 : 20;
  *madeBy = e->versionMadeBy < 45 ? e->versionMadeBy : uint16_t((e->versionMadeBy & 0xFF00) | fallback);
  *needed = e->versionNeeded < 45 ? e->versionNeeded : fallback;
}

void CountCentralHeader(ZipState *state) {
  ZipWriterState &w = state->writer;
  if (w.centralStartDisk == ZIP_DISK_NOT_RECORDED) {
    w.centralStartDisk = w.lastCentralDisk = w.currentDisk;
    w.centralCountOnDisk = 0;
  } else if (w.currentDisk != w.lastCentralDisk) {
    w.lastCentralDisk = w.currentDisk;
    w.centralCountOnDisk = 0;
  }
  ++w.centralCountOnDisk;
}

// --- end records ---

uint16_t Cap16(uint64_t v) { return v >= 0xFFFF ? 0xFFFF : uint16_t(v); }
uint32_t Cap32(uint64_t v) { return v >= kOverflow32 ? kOverflow32 : uint32_t(v); }

void PutZip64End(const ZipState *state, uint64_t total, uint64_t size, uint64_t offset, ZipRecordBytes &out) {
  const ZipWriterState &w = state->writer;
  bool multi = MultiVolume(state);
  out.U32(ZIP64_END_SIGNATURE);
  out.U64(kZip64EndSize - 12);
  out.U16(45);
  out.U16(45);
  out.U32(multi ? w.currentDisk : 0);
  out.U32(multi ? w.centralStartDisk : 0);
  out.U64(multi ? w.centralCountOnDisk : total);
  out.U64(total);
  out.U64(size);
  out.U64(offset);
  out.U32(ZIP64_LOCATOR_SIGNATURE);
  out.U32(multi ? w.currentDisk : 0);
  out.U64(w.outputOffset);
  // A single-volume archive is one disk in all (readers check this count).
  out.U32(multi ? w.currentDisk + 1 : 1);
}

void PutEndFields(const ZipState *state, bool zip64, uint64_t total, uint64_t size, uint64_t offset,
                  ZipRecordBytes &out) {
  const ZipWriterState &w = state->writer;
  if (!MultiVolume(state)) {
    out.U16(0);
    out.U16(0);
    out.U16(zip64 ? Cap16(total) : uint16_t(total));
    out.U16(zip64 ? Cap16(total) : uint16_t(total));
  } else if (zip64 && PartOpen(state)) {
    out.U16(0xFFFF);
    out.U16(0xFFFF);
    out.U16(0xFFFF);
    out.U16(0xFFFF);
    out.U32(kOverflow32);
    out.U32(kOverflow32);
    return;
  } else if (zip64) {
    out.U16(Cap16(w.currentDisk));
    out.U16(Cap16(w.centralStartDisk));
    out.U16(Cap16(w.centralCountOnDisk));
    out.U16(Cap16(total));
  } else {
    out.U16(w.currentDisk);
    out.U16(w.centralStartDisk);
    out.U16(uint16_t(w.centralCountOnDisk));
    out.U16(uint16_t(total));
  }
  out.U32(zip64 ? Cap32(size) : Low32(size));
  out.U32(zip64 ? Cap32(offset) : Low32(offset));
}

// --- encryption header ---

uint32_t StrongPlaceholderLength(const ZipState *state) {
  return 2 + (state->cipher.randomIv ? 16 : 0) + 4 + 8 + 2 + kStrongPaddedRandomLength + 4 + 2 +
         kStrongValidationLength;
}

int BuildTraditionalHeader(ZipState *state, uint32_t check, const char *password, uint8_t *header) {
  // Ten random bytes from the salt pool: a generator reseeded with the time
  // for every header would repeat them across members.
  if (!StrongRandomBytes(header, 10, &state->cipher)) return 4;
  uint8_t c = uint8_t(check >> 24);
  header[10] = c ^ 0xFF;
  header[11] = c;
  TraditionalInitKeys(&state->cipher.keys, password);
  TraditionalEncrypt(&state->cipher.keys, header, ZIP_TRADITIONAL_HEADER_SIZE);
  return 0;
}

int BuildAesHeader(ZipState *state, const char *password, uint8_t *header) {
  ZipCipherState &cipher = state->cipher;
  uint32_t saltLength = WinZipAesSaltLength(cipher.strength & 3);
  if (!ZipAesStateAlloc(&cipher) || !ZipMakeSalt(&cipher)) return 4;
  if (WinZipAesInit(cipher.strength & 3, password, uint32_t(strlen(password)), cipher.salt, cipher.verifier,
                    &cipher.aes, &cipher) != 0)
    return 4;
  memcpy(header, cipher.salt, saltLength);
  memcpy(header + saltLength, cipher.verifier, 2);
  return 0;
}

int BuildStrongHeader(ZipState *state, uint32_t check, const char *password, uint8_t *header) {
  ZipCipherState &cipher = state->cipher;
  if (StrongEncryptSetup(password, check, state->writer.inputCount, &cipher) != 0) return 4;
  StrongWriteDecryptionHeader(&cipher, header);
  // The data continue the CBC chain of the validation block.
  state->strongCount = 0;
  state->strongFlag = 0;
  return 0;
}

int BuildCryptHeader(ZipState *state, uint32_t check, const char *password, uint8_t *header) {
  switch (state->cipher.kind) {
    case kEncryptWinZipAes:
      return BuildAesHeader(state, password, header);
    case kEncryptStrong:
      return BuildStrongHeader(state, check, password, header);
    default:
      return BuildTraditionalHeader(state, check, password, header);
  }
}

}  // namespace

void ZipAesExtraField(uint32_t strength, uint16_t method, uint8_t record[11]) {
  ZipRecordBytes out{record};
  out.U16(kAesExtraId);
  out.U16(7);
  out.U16(2);
  out.Bytes("AE", 2);
  out.at[0] = uint8_t(AesStrengthByte(strength));
  ++out.at;
  out.U16(method);
}

void ZipStoredName(const ZipState *state, const ZipEntry *entry, uint8_t *out) {
  if (!entry->nameLength) return;
  if (entry->storedName) {
    memcpy(out, entry->storedName, entry->nameLength);
    return;
  }
  memcpy(out, entry->name, entry->nameLength);
  if (!(state->subOptions & ZSO_ANSI_NAMES))
    CharToOemBuffA(entry->name, reinterpret_cast<char *>(out), entry->nameLength);
}

int ZipWriteLocalHeader(ZipState *state, ZipEntry *e, HANDLE *output) {
  bool zip64 = LocalNeedsZip64(state, e);
  bool aes = EntryKind(e, kEncryptWinZipAes);
  e->localZip64Length = zip64 ? kLocalZip64Size : 0;
  e->localAesLength = aes ? ZIP_AES_EXTRA_SIZE : 0;
  uint32_t extra = e->localZip64Length + e->localExtraLength + e->localAesLength;
  if (extra > 0xFFFF) return 4;
  size_t length = ZIP_LOCAL_HEADER_SIZE + e->nameLength + extra;
  RecordBuffer record(length);
  if (!record.data) return 4;

  bool sizesOverflow = e->compressedSize >> 32 || e->uncompressedSize >> 32;
  ZipRecordBytes out{record.data};
  out.U32(ZIP_LOCAL_SIGNATURE);
  out.U16(LocalVersionNeeded(e, zip64));
  out.U16(e->localFlags);
  out.U16(aes ? 99 : e->method);
  out.U32(e->dosDateTime);
  out.U32(aes ? 0 : e->crc);
  out.U32(zip64 && sizesOverflow ? kOverflow32 : Low32(e->compressedSize));
  out.U32(zip64 && sizesOverflow ? kOverflow32 : Low32(e->uncompressedSize));
  out.U16(e->nameLength);
  out.U16(extra);
  ZipStoredName(state, e, out.at);
  out.at += e->nameLength;
  if (zip64) {
    out.U16(kZip64ExtraId);
    out.U16(16);
    out.U64(e->uncompressedSize);
    out.U64(e->compressedSize);
  }
  out.Bytes(e->localExtra, e->localExtraLength);
  if (aes) ZipAesExtraField(e->cryptStrength, e->method, out.at);
  return Emit(state, record.data, length, length + RoomForCryptHeaderStart(state, e), output);
}

int ZipWriteDataDescriptor(ZipState *state, const ZipEntry *e, HANDLE *output) {
  uint8_t record[kDescriptor64Size];
  ZipRecordBytes out{record};
  out.U32(ZIP_DESCRIPTOR_SIGNATURE);
  out.U32(e->crc);
  if (state->zip64Allowed) {
    out.U64(e->compressedSize);
    out.U64(e->uncompressedSize);
  } else {
    out.U32(Low32(e->compressedSize));
    out.U32(Low32(e->uncompressedSize));
  }
  size_t length = size_t(out.at - record);
  return Emit(state, record, length, length, output);
}

int ZipWriteSpanMarker(ZipState *state, HANDLE *output) {
  uint8_t record[4];
  ZipRecordBytes{record}.U32(ZIP_DESCRIPTOR_SIGNATURE);
  return Emit(state, record, 4, 4, output);
}

uint8_t *ZipCentralHeaderBytes(ZipState *state, ZipEntry *e, size_t *length) {
  CentralZip64 z64 = CentralZip64Fields(state, e);
  e->centralZip64Length = z64.Size();
  e->centralCryptLength = CentralCryptExtraLength(e);
  if (e->keptCentral) e->centralExtraLength = e->keptCentralExtraLength;
  const uint8_t *otherExtra = e->keptCentral ? e->keptCentralExtra : e->centralExtra;
  uint32_t extra = e->centralZip64Length + e->centralExtraLength + e->centralCryptLength;
  if (extra > 0xFFFF || e->commentLength > 0xFFFF) return nullptr;
  *length = ZIP_CENTRAL_HEADER_SIZE + e->nameLength + extra + e->commentLength;
  auto *record = static_cast<uint8_t *>(calloc(*length, 1));
  if (!record) return nullptr;

  uint16_t madeBy, needed;
  CentralVersions(e, z64.Size() != 0, &madeBy, &needed);
  bool method99 = CentralMethod99(e) && !e->keptCentral;
  ZipRecordBytes out{record};
  out.U32(ZIP_CENTRAL_SIGNATURE);
  out.U16(madeBy);
  out.U16(needed);
  out.U16(e->centralFlags);
  out.U16(e->keptCentral ? e->keptMethod : method99 ? 99 : e->method);
  out.U32(e->dosDateTime);
  out.U32(method99 ? 0 : e->crc);
  out.U32(z64.compressed ? kOverflow32 : Low32(e->compressedSize));
  out.U32(z64.uncompressed ? kOverflow32 : Low32(e->uncompressedSize));
  out.U16(e->nameLength);
  out.U16(extra);
  out.U16(e->commentLength);
  out.U16(e->diskStart);
  out.U16(StrongMember(e) && !e->keptCentral ? 0 : e->internalAttributes);
  out.U32(e->externalAttributes);
  out.U32(z64.offset ? kOverflow32 : Low32(e->localHeaderOffset));
  ZipStoredName(state, e, out.at);
  out.at += e->nameLength;
  if (z64.Size()) {
    out.U16(kZip64ExtraId);
    out.U16(z64.Size() - 4);
    if (z64.uncompressed) out.U64(e->uncompressedSize);
    if (z64.compressed) out.U64(e->compressedSize);
    if (z64.offset) out.U64(e->localHeaderOffset);
  }
  out.Bytes(otherExtra, e->centralExtraLength);
  PutCentralCryptExtra(e, out);
  out.Bytes(e->comment, e->commentLength);
  return record;
}

int ZipWriteCentralHeader(ZipState *state, ZipEntry *e, HANDLE *output) {
  size_t length;
  uint8_t *record = ZipCentralHeaderBytes(state, e, &length);
  if (!record) return 4;
  int result = Emit(state, record, length, length, output);
  free(record);
  // Counted on the volume it landed on: making room may have changed volumes.
  if (!result && MultiVolume(state)) CountCentralHeader(state);
  return result;
}

int ZipWriteEndRecords(ZipState *state, uint64_t total, uint64_t size, uint64_t offset, uint32_t commentLength,
                       const char *comment, HANDLE *output) {
  commentLength &= 0xFFFF;
  bool zip64 = state->zip64Allowed && (total >= 0xFFFF || size >= kOverflow32 || offset >= kOverflow32);
  if (zip64) {
    uint8_t record[kZip64EndSize + kZip64LocatorSize];
    ZipRecordBytes out{record};
    PutZip64End(state, total, size, offset, out);
    int result = Emit(state, record, sizeof record, sizeof record, output);
    if (result) return result;
  }
  size_t length = kEndSize + commentLength;
  RecordBuffer record(length);
  if (!record.data) return 4;
  ZipRecordBytes out{record.data};
  out.U32(ZIP_END_SIGNATURE);
  PutEndFields(state, zip64, total, size, offset, out);
  out.U16(commentLength);
  out.Bytes(comment, comment ? commentLength : 0);
  return Emit(state, record.data, length, length, output);
}

uint32_t ZipCryptHeaderLength(const ZipState *state) {
  switch (state->cipher.kind) {
    case kEncryptWinZipAes:
      return WinZipAesSaltLength(state->cipher.strength & 3) + 2;
    case kEncryptStrong:
      return state->writer.encryptionSuspended ? StrongPlaceholderLength(state)
                                               : uint32_t(StrongDecryptionHeaderLength(&state->cipher));
    default:
      return ZIP_TRADITIONAL_HEADER_SIZE;
  }
}

int ZipWriteCryptHeader(ZipState *state, uint32_t check, const char *password, HANDLE *output) {
  state->writer.cryptHeaderLength = 0;
  if (!password) return 16;
  bool placeholder = state->writer.encryptionSuspended && state->cipher.kind != kEncryptTraditional;
  uint8_t header[kStrongPaddedRandomLength + kStrongValidationLength + 64] = {};
  int result = placeholder ? 0 : BuildCryptHeader(state, check, password, header);
  if (result) return result;

  uint32_t length = ZipCryptHeaderLength(state);
  result = Emit(state, header, length, length, output);
  if (result == 0) state->writer.cryptHeaderLength = length;
  return result;
}
