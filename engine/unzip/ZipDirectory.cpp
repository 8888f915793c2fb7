#include "ZipDirectory.h"

enum : uint32_t { kZip64LocatorSize = 20 };

#include <cstdlib>
#include <cstring>

int SourceReadExact(const ArchiveSource *source, uint64_t offset, void *buffer, uint32_t length) {
  if (offset > source->size || length > source->size - offset) return 0;
  return source->readAt(source->context, offset, buffer, length) == static_cast<int64_t>(length);
}

static bool IsSignatureAt(const uint8_t *p, uint32_t signature) { return ReadLe32(p) == signature; }

// A directory or local header start as the buffered search recognises it.
static bool IsHeaderStart(const uint8_t *p) {
  return p[0] == 'P' && p[1] == 'K' && (p[2] == 1 || p[2] == 3) && (p[3] == 2 || p[3] == 4);
}

struct Tail {
  uint8_t *bytes;
  uint32_t length;
  uint64_t start;
};

// The last bytes of the source, at most window of them. 0, or kEndNoMemory
// or kEndNotFound (a failed read) with nothing left to free.
static int64_t ReadTail(const ArchiveSource *source, uint32_t window, Tail *tail) {
  tail->length = source->size < window ? static_cast<uint32_t>(source->size) : window;
  tail->start = source->size - tail->length;
  tail->bytes = static_cast<uint8_t *>(malloc(tail->length ? tail->length : 1));
  if (!tail->bytes) return kEndNoMemory;
  if (SourceReadExact(source, tail->start, tail->bytes, tail->length)) return 0;
  free(tail->bytes);
  tail->bytes = nullptr;
  return kEndNotFound;
}

// An end record stands at p only when its comment ends within the file.
static bool EndRecordFitsAt(const Tail &tail, uint32_t p) {
  uint32_t commentLength = ReadLe16(tail.bytes + p + 20);
  return commentLength <= tail.length - p - kEndRecordSize;
}

static int StartsWithCentralHeader(const ArchiveSource *source) {
  uint8_t head[4];
  return SourceReadExact(source, 0, head, 4) && IsSignatureAt(head, kCentralHeaderSignature);
}

int64_t EndRecordSearchBuffered(const ArchiveSource *source, int promptSuppress) {
  Tail tail;
  if (int64_t failure = ReadTail(source, kEndSearchWindow, &tail)) return failure;
  int64_t found = kEndNotOnThisDisk;
  bool cutRecordAfter = false;
  if (tail.length >= kEndRecordSize) {
    for (uint32_t p = tail.length - kEndRecordSize + 1; p-- > 0;) {
      if (IsSignatureAt(tail.bytes + p, kEndRecordSignature)) {
        if (EndRecordFitsAt(tail, p)) {
          found = cutRecordAfter ? kEndAmbiguous : static_cast<int64_t>(tail.start + p);
          break;
        }
        cutRecordAfter = true;
      }
      if (IsHeaderStart(tail.bytes + p)) break;
    }
  }
  free(tail.bytes);
  if (found == kEndNotOnThisDisk && !promptSuppress && StartsWithCentralHeader(source)) return kEndCentralOnly;
  return found;
}

// The last position at or before `last` (relative to the tail) where the
// signature stands; -1 when there is none.
static int64_t LastSignature(const Tail &tail, int64_t last, uint32_t signature) {
  for (int64_t p = last; p >= 0; --p)
    if (IsSignatureAt(tail.bytes + p, signature)) return p;
  return -1;
}

int64_t EndRecordSearchDirect(const ArchiveSource *source) {
  Tail tail;
  if (int64_t failure = ReadTail(source, kEndSearchWindow, &tail)) return failure;
  const int64_t last = LastSignature(tail, static_cast<int64_t>(tail.length) - kEndRecordSize, kEndRecordSignature);
  int64_t p = last;
  while (p >= 0 && !EndRecordFitsAt(tail, static_cast<uint32_t>(p))) p = LastSignature(tail, p - 1, kEndRecordSignature);
  free(tail.bytes);
  if (p < 0) return kEndNotFound;
  return p == last ? static_cast<int64_t>(tail.start) + p : kEndAmbiguous;
}

int Zip64LocatorSearch(const ArchiveSource *source, int64_t endOffset, Zip64Locator *locator) {
  Tail tail;
  if (ReadTail(source, kZip64LocatorWindow, &tail)) return 0;
  int64_t last = endOffset - static_cast<int64_t>(tail.start) - kZip64LocatorSize;
  if (last > static_cast<int64_t>(tail.length) - kZip64LocatorSize)
    last = static_cast<int64_t>(tail.length) - kZip64LocatorSize;
  int64_t p = LastSignature(tail, last, kZip64LocatorSignature);
  if (p >= 0) {
    const uint8_t *at = tail.bytes + p;
    locator->disk = ReadLe32(at + 4);
    locator->zip64Offset = ReadLe64(at + 8);
    locator->diskCount = ReadLe32(at + 16);
  }
  free(tail.bytes);
  return p >= 0;
}

enum : uint32_t { kZip64EndFixed = 44 };

static int Zip64EndParse(const ArchiveSource *source, uint64_t offset, EndRecord *record) {
  uint8_t head[12];
  if (!SourceReadExact(source, offset, head, sizeof head) || !IsSignatureAt(head, kZip64EndSignature)) return 3;
  uint64_t size = ReadLe64(head + 4);
  if (size < 1 || size > kZip64EndFixed) return 3;
  uint8_t body[kZip64EndFixed] = {};
  if (!SourceReadExact(source, offset + sizeof head, body, static_cast<uint32_t>(size))) return 3;
  record->recordSize = size;
  record->versionMadeBy = ReadLe16(body);
  record->versionNeeded = ReadLe16(body + 2);
  record->thisDisk = ReadLe32(body + 4);
  record->directoryDisk = ReadLe32(body + 8);
  record->entriesOnDisk = ReadLe64(body + 12);
  record->totalEntries = ReadLe64(body + 20);
  record->directorySize = ReadLe64(body + 28);
  record->directoryOffset = ReadLe64(body + 36);
  record->zip64Offset = static_cast<int64_t>(offset);
  return 0;
}

int EndRecordParse(const ArchiveSource *source, int64_t endOffset, EndRecord *record) {
  uint8_t fields[18];
  if (endOffset < 0 || !SourceReadExact(source, static_cast<uint64_t>(endOffset) + 4, fields, sizeof fields))
    return 3;
  memset(record, 0, sizeof *record);
  record->recordSize = kZip64EndFixed;
  record->versionMadeBy = 20;
  record->versionNeeded = 20;
  record->thisDisk = ReadLe16(fields);
  record->directoryDisk = ReadLe16(fields + 2);
  record->entriesOnDisk = ReadLe16(fields + 4);
  record->totalEntries = ReadLe16(fields + 6);
  record->directorySize = ReadLe32(fields + 8);
  record->directoryOffset = ReadLe32(fields + 12);
  record->commentLength = ReadLe16(fields + 16);
  record->endOffset = endOffset;
  record->zip64Offset = -1;
  bool saturated = record->thisDisk == 0xFFFF || record->directoryDisk == 0xFFFF ||
                   record->entriesOnDisk == 0xFFFF || record->totalEntries == 0xFFFF ||
                   record->directorySize == 0xFFFFFFFF || record->directoryOffset == 0xFFFFFFFF;
  Zip64Locator locator;
  if (!saturated || !Zip64LocatorSearch(source, endOffset, &locator)) return 0;
  return Zip64EndParse(source, locator.zip64Offset, record);
}

void DirectoryCacheFree(DirectoryCache *cache) {
  free(cache->block);
  free(cache->offsets);
  memset(cache, 0, sizeof *cache);
}

enum : uint64_t {
  kCacheInitialBytes = 142848,
  kOffsetTableInitialBytes = 8,
};

// Room for n bytes in a malloc'ed block of *capacity bytes, doubling.
static int Reserve(void **block, uint64_t *capacity, uint64_t needed) {
  if (needed <= *capacity) return 1;
  uint64_t grown = *capacity ? *capacity : 1;
  while (grown < needed) grown *= 2;
  if (grown > SIZE_MAX) return 0;
  void *moved = realloc(*block, static_cast<size_t>(grown));
  if (!moved) return 0;
  *block = moved;
  *capacity = grown;
  return 1;
}

static int OffsetTableSet(DirectoryCache *cache, uint64_t index, uint64_t value) {
  uint64_t bytes = cache->offsetCapacity * sizeof(uint32_t);
  if (index >= cache->offsetCapacity) {
    if (!Reserve(reinterpret_cast<void **>(&cache->offsets), &bytes, index * 4 + 1024)) return 0;
    cache->offsetCapacity = bytes / sizeof(uint32_t);
  }
  cache->offsets[index] = static_cast<uint32_t>(value);
  return 1;
}

int64_t DirectoryLoad(DirectoryCache *cache, const ArchiveSource *source, uint64_t start, uint64_t total, int first) {
  if (first) {
    DirectoryCacheFree(cache);
    uint64_t offsetBytes = 0;
    if (!Reserve(reinterpret_cast<void **>(&cache->block), &cache->capacity, kCacheInitialBytes) ||
        !Reserve(reinterpret_cast<void **>(&cache->offsets), &offsetBytes, kOffsetTableInitialBytes))
      return -1;
    cache->offsetCapacity = offsetBytes / sizeof(uint32_t);
    cache->offsets[0] = 0;
  }
  int64_t loaded = 0;
  uint64_t position = start;
  // A disk that ends after a header has no more to give; only a header cut
  // short is a failed read.
  while (cache->count < total && position < source->size) {
    uint8_t header[kCentralHeaderSize];
    // The end record after the last header is shorter than a header: only
    // a central header cut short is a failed read.
    uint32_t wanted = source->size - position < sizeof header ? static_cast<uint32_t>(source->size - position)
                                                                : static_cast<uint32_t>(sizeof header);
    if (wanted < 4 || !SourceReadExact(source, position, header, wanted)) return -1;
    if (!IsSignatureAt(header, kCentralHeaderSignature)) break;
    if (wanted < sizeof header) return -1;
    uint64_t variable = static_cast<uint64_t>(ReadLe16(header + kChNameLength)) + ReadLe16(header + kChExtraLength) +
                        ReadLe16(header + kChCommentLength);
    uint64_t end = cache->used + kCentralHeaderSize + variable;
    // Offsets are 32-bit entries: a directory past 4 GiB cannot be cached.
    if (end > UINT32_MAX || !Reserve(reinterpret_cast<void **>(&cache->block), &cache->capacity, end)) return -1;
    memcpy(cache->block + cache->used, header, sizeof header);
    if (!SourceReadExact(source, position + kCentralHeaderSize, cache->block + cache->used + kCentralHeaderSize,
                         static_cast<uint32_t>(variable)))
      return -1;
    if (!OffsetTableSet(cache, cache->count + 1, end)) return -1;
    cache->used = end;
    cache->count++;
    position += kCentralHeaderSize + variable;
    loaded++;
  }
  return loaded;
}

static void CopyRecord(uint8_t *copy, uint32_t *copyLength, const uint8_t *record, uint32_t length) {
  memcpy(copy, record, length);
  *copyLength = length;
}

int ExtraFieldWalk(const uint8_t *extra, uint32_t length, ExtraFieldCopies *copies) {
  if (length < 5) return 1;
  struct Kind {
    uint16_t id;
    uint8_t *copy;
    uint32_t *copyLength;
    uint32_t limit;
    bool seen;
  } kinds[] = {
      {kZip64ExtraId, copies->zip64, &copies->zip64Length, kZip64ExtraMax, false},
      {0x9901, copies->aes, &copies->aesLength, kAesExtraMax, false},
      {0x0017, copies->strong, &copies->strongLength, kStrongExtraMax, false},
  };
  uint32_t position = 0;
  while (length - position >= 4) {
    uint16_t id = ReadLe16(extra + position);
    uint32_t whole = 4u + ReadLe16(extra + position + 2);
    if (whole > length - position) return 0;
    for (Kind &kind : kinds) {
      if (kind.id != id || kind.seen) continue;
      kind.seen = true;
      if (whole > kind.limit) return 0;
      CopyRecord(kind.copy, kind.copyLength, extra + position, whole);
    }
    position += whole;
  }
  return 1;
}

// Replaces each saturated value with the next one the Zip64 record holds.
// 0 when the record holds fewer values than the header saturated.
static int Zip64Resolve(const uint8_t *record, uint32_t recordLength, bool sizesOnly, MemberValues *values) {
  struct Wide {
    uint64_t *value;
    uint64_t narrow;
  } wide[] = {
      {&values->uncompressedSize, 0xFFFFFFFF},
      {&values->compressedSize, 0xFFFFFFFF},
      {&values->localHeaderOffset, 0xFFFFFFFF},
  };
  uint32_t position = 4;
  uint32_t fields = sizesOnly ? 2 : 3;
  for (uint32_t i = 0; i < fields; ++i) {
    if (*wide[i].value != wide[i].narrow) continue;
    if (recordLength < position + 8) return 0;
    *wide[i].value = ReadLe64(record + position);
    position += 8;
  }
  if (!sizesOnly && values->startDisk == 0xFFFF) {
    if (recordLength < position + 4) return 0;
    values->startDisk = ReadLe32(record + position);
  }
  return 1;
}

// The record formed when a member has none, so later code always finds one.
static void Zip64RecordForm(const MemberValues &values, ExtraFieldCopies *copies) {
  uint8_t *r = copies->zip64;
  WriteLe16(r, kZip64ExtraId);
  WriteLe16(r + 2, 28);
  WriteLe64(r + 4, values.uncompressedSize);
  WriteLe64(r + 12, values.compressedSize);
  WriteLe64(r + 20, values.localHeaderOffset);
  WriteLe32(r + 28, values.startDisk);
  copies->zip64Length = kZip64ExtraMax;
}

enum : uint8_t { kHostHpfs = 2 };
enum : uint16_t { kLocalFlagDataDescriptor = 0x0008 };

int MemberFromCache(const DirectoryCache *cache, uint64_t index, CurrentMember *member) {
  if (index >= cache->count) return 0;
  const uint8_t *header = cache->block + cache->offsets[index];
  memset(member, 0, sizeof *member);
  member->index = index;
  memcpy(member->central, header, kCentralHeaderSize);
  uint16_t nameLength = ReadLe16(header + kChNameLength);
  uint16_t extraLength = ReadLe16(header + kChExtraLength);
  if (!ExtraFieldWalk(header + kCentralHeaderSize + nameLength, extraLength, &member->extras)) return 0;
  if (header[kChMadeBy + 1] == kHostHpfs) WriteLe32(member->central + kChExternalAttr, 0);
  MemberValues &values = member->values;
  values.uncompressedSize = ReadLe32(header + kChUncompressed);
  values.compressedSize = ReadLe32(header + kChCompressed);
  values.localHeaderOffset = ReadLe32(header + kChLocalOffset);
  values.startDisk = ReadLe16(header + kChStartDisk);
  if (member->extras.zip64Length) {
    if (!Zip64Resolve(member->extras.zip64, member->extras.zip64Length, false, &values)) return 0;
  } else {
    Zip64RecordForm(values, &member->extras);
  }
  member->method = ReadLe16(header + kChMethod);
  if (member->method == kMethodAes && member->extras.aesLength == kAesExtraMax)
    member->method = ReadLe16(member->extras.aes + 9);
  if (nameLength > kMemberNameMax) return 0;
  memcpy(member->name, header + kCentralHeaderSize, nameLength);
  member->name[nameLength] = '\0';
  memcpy(member->storedName, member->name, nameLength + 1);
  MemberTakeUtf8Name(member, header + kCentralHeaderSize, nameLength, header + kCentralHeaderSize + nameLength,
                     extraLength);
  return 1;
}

int LocalExtraApply(CurrentMember *member, const uint8_t localHeader[kLocalHeaderSize], const uint8_t *extra,
                    uint32_t length) {
  if (length < 5) return 1;
  ExtraFieldCopies local = {};
  if (!ExtraFieldWalk(extra, length, &local)) return 0;
  // A member written with a data descriptor had no sizes to give when its
  // local header was written (a streamed Zip64 member holds zeros there):
  // the central header's CRC and sizes rule.
  bool sizesFollowData = (ReadLe16(localHeader + kLhFlags) & kLocalFlagDataDescriptor) != 0;
  if (local.zip64Length && !sizesFollowData) {
    MemberValues sizes = member->values;
    sizes.uncompressedSize = ReadLe32(localHeader + kLhUncompressed);
    sizes.compressedSize = ReadLe32(localHeader + kLhCompressed);
    bool saturated = sizes.uncompressedSize == 0xFFFFFFFF || sizes.compressedSize == 0xFFFFFFFF;
    if (!Zip64Resolve(local.zip64, local.zip64Length, true, &sizes)) return 0;
    if (saturated) {
      member->values.uncompressedSize = sizes.uncompressedSize;
      member->values.compressedSize = sizes.compressedSize;
    }
    CopyRecord(member->extras.zip64, &member->extras.zip64Length, local.zip64, local.zip64Length);
  }
  if (local.aesLength) CopyRecord(member->extras.aes, &member->extras.aesLength, local.aes, local.aesLength);
  return 1;
}

// A source whose offsets count from `shift` bytes into another one.
struct ShiftedSource {
  const ArchiveSource *base;
  int64_t shift;
};

static int64_t ShiftedReadAt(void *context, uint64_t offset, void *buffer, uint32_t length) {
  auto *shifted = static_cast<const ShiftedSource *>(context);
  return shifted->base->readAt(shifted->base->context, offset + static_cast<uint64_t>(shifted->shift), buffer, length);
}

enum : uint32_t { kZip64EndRecordSize = 56 };

// How far the archive's recorded offsets fall short of the file positions:
// the directory (or the Zip64 end record) ends right before the next record,
// wherever the end record says it starts. 0 when it cannot be told.
static int64_t OffsetShiftOf(const ArchiveSource *source, int64_t endOffset) {
  uint8_t end[kEndRecordSize];
  if (!SourceReadExact(source, static_cast<uint64_t>(endOffset), end, sizeof end) || ReadLe16(end + 4) != 0) return 0;
  uint32_t size = ReadLe32(end + 12), offset = ReadLe32(end + 16);
  if (size != 0xFFFFFFFF && offset != 0xFFFFFFFF && ReadLe16(end + 10) != 0xFFFF)
    return endOffset - static_cast<int64_t>(static_cast<uint64_t>(offset) + size);
  uint8_t locator[kZip64LocatorSize], zip64End[4];
  int64_t locatorAt = endOffset - kZip64LocatorSize;
  int64_t zip64At = locatorAt - kZip64EndRecordSize;
  if (zip64At < 0 || !SourceReadExact(source, static_cast<uint64_t>(locatorAt), locator, sizeof locator) ||
      !IsSignatureAt(locator, kZip64LocatorSignature) ||
      !SourceReadExact(source, static_cast<uint64_t>(zip64At), zip64End, sizeof zip64End) ||
      !IsSignatureAt(zip64End, kZip64EndSignature))
    return 0;
  return zip64At - static_cast<int64_t>(ReadLe64(locator + 8));
}

int EndRecordParseShifted(const ArchiveSource *source, int64_t endOffset, EndRecord *record) {
  int64_t shift = endOffset >= 0 ? OffsetShiftOf(source, endOffset) : 0;
  if (shift > 0) {
    ShiftedSource shifted = {source, shift};
    ArchiveSource view = {&shifted, ShiftedReadAt, source->size - static_cast<uint64_t>(shift)};
    uint8_t head[4];
    if (EndRecordParse(&view, endOffset - shift, record) == 0 && record->thisDisk == 0 &&
        (record->totalEntries == 0 || (SourceReadExact(&view, record->directoryOffset, head, sizeof head) &&
                                       IsSignatureAt(head, kCentralHeaderSignature)))) {
      record->directoryOffset += static_cast<uint64_t>(shift);
      record->endOffset = endOffset;
      if (record->zip64Offset >= 0) record->zip64Offset += shift;
      record->offsetShift = shift;
      return 0;
    }
  }
  int result = EndRecordParse(source, endOffset, record);
  record->offsetShift = 0;
  return result;
}
