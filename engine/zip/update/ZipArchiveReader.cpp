#include "ZipArchiveReader.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "../../common/MessageTable.h"
#include "../../unzip/ZipDirectory.h"
#include "../messages/ZipMessages.h"
#include "../messages/ZipReport.h"
#include "../volumes/ZipDrives.h"
#include "../volumes/ZipFormatter.h"
#include "../volumes/ZipSplitParts.h"
#include "../volumes/ZipVolumePrepare.h"
#include "../ZipCommand.h"
#include "../ZipCommandEnd.h"
#include "../ZipFiles.h"
#include "../ZipSourceFiles.h"
#include "../ZipStrings.h"
#include "ZipEntryList.h"
#include "ZipExtraFields.h"

namespace {

enum : uint32_t {
  kZeroLengthName = 305,
  kBadDescriptor = 306,
  kDescriptorMissing = 308,
  kLocalOffsetWrong = 310,
  kNamesDiffer = 311,
  kMissingEnd = 322,
  kMultipleDisks = 323,
  kWrongCount = 324,
  kDirectorySizeWrong = 325,
  kDirectoryStartWrong = 326,
  kPreamble = 327,
  kTrailingGarbage = 328,
  kMovedFileKept = 335,
};
enum : uint16_t { kDescriptorFlag = 0x0008 };
enum : uint32_t { kDescriptorSignature = 0x08074b50, kZip64EndRecordSize = 56, kLocatorSize = 20 };
enum : uint64_t { kFirstVolumeFree = 0x200000 };

// Faults of the archive's structure: a warning and result 3.
int Fault(uint32_t id, const char *name) {
  ZipWarn(ZipMessageText(id, 1), name ? name : "");
  return 3;
}

// The archive's bytes; positions are shifted by the preamble that an
// archive written without it carries in front.
struct FileSource {
  HANDLE file;
  int64_t shift;
};

int64_t ReadAtFile(void *context, uint64_t offset, void *buffer, uint32_t length) {
  auto *source = static_cast<FileSource *>(context);
  LARGE_INTEGER at;
  at.QuadPart = static_cast<int64_t>(offset) + source->shift;
  DWORD got = 0;
  if (at.QuadPart < 0 || !SetFilePointerEx(source->file, at, nullptr, FILE_BEGIN) ||
      !ReadFile(source->file, buffer, length, &got, nullptr))
    return -1;
  return got;
}

int ReadAt(HANDLE file, uint64_t offset, void *buffer, uint32_t length) {
  FileSource source = {file, 0};
  return ReadAtFile(&source, offset, buffer, length) == static_cast<int64_t>(length);
}

uint32_t Signature(HANDLE file, uint64_t offset) {
  uint8_t bytes[4];
  return ReadAt(file, offset, bytes, 4) ? ReadLe32(bytes) : 0;
}

bool IsHeaderSignature(uint32_t signature) {
  return signature == kLocalHeaderSignature || signature == kCentralHeaderSignature ||
         signature == kZip64EndSignature || signature == kEndRecordSignature;
}

uint8_t *CopyBytes(const uint8_t *bytes, uint32_t length) {
  if (!length) return nullptr;
  auto *copy = static_cast<uint8_t *>(malloc(length));
  if (copy) memcpy(copy, bytes, length);
  return copy;
}

char *CopyText(const uint8_t *bytes, uint32_t length) {
  char *copy = static_cast<char *>(malloc(length + 1));
  if (!copy) return nullptr;
  memcpy(copy, bytes, length);
  copy[length] = '\0';
  return copy;
}

// The stored name as this side uses it, and the file it stands for.
int TakeName(ZipEntry *entry, const uint8_t *bytes, uint32_t length, const ZipState *state) {
  entry->name = CopyText(bytes, length);
  entry->path = CopyText(bytes, length);
  entry->storedName = CopyBytes(bytes, length);
  if (!entry->name || !entry->path || !entry->storedName) return 4;
  if (!(state->subOptions & ZSO_ANSI_NAMES)) {
    OemToCharA(entry->name, entry->name);
    OemToCharA(entry->path, entry->path);
  }
  ZipPathToBackslashes(entry->path);
  entry->nameLength = length;
  return 0;
}

// The AES block, kept for a member copied over unchanged; the method it
// names is the member's own.
void TakeSavedAes(ZipEntry *entry, uint32_t *length, uint8_t *extra, uint32_t *found) {
  entry->hasSavedAes = ZipTakeAesExtra(extra, length, found, entry->savedAes, 1) && *found == ZIP_AES_EXTRA_SIZE;
  if (entry->hasSavedAes) entry->method = ReadLe16(entry->savedAes + 9);
}

// The data descriptor behind a member: its length, found by the header
// signature (or the central directory) that must follow it; the sizes
// decide which of the two widths is tried first. -1 when none fits.
int DescriptorLength(HANDLE file, uint64_t at, uint64_t directoryStart, bool wide) {
  bool signed_ = Signature(file, at) == kDescriptorSignature;
  int narrow = signed_ ? 16 : 12, broad = signed_ ? 24 : 20;
  const int tries[] = {wide ? broad : narrow, wide ? narrow : broad};
  for (int length : tries) {
    uint64_t next = at + static_cast<uint64_t>(length);
    if (next == directoryStart || IsHeaderSignature(Signature(file, next))) return length;
  }
  return IsHeaderSignature(Signature(file, at)) ? 0 : -1;
}

struct CentralReading {
  HANDLE file;
  int64_t shift;             // file position minus the offsets the archive records
  uint64_t directoryStart;   // as a file position
  uint64_t lowestLocal;      // where the first member starts
};

// Local header of the entry: name check, local flags and extra, and the
// length of a descriptor behind the data. 0, 3 or 4.
int ReadLocalHeader(CentralReading *reading, ZipEntry *entry, const uint8_t *centralName, const ZipState *state) {
  uint8_t header[kLocalHeaderSize];
  if (!ReadAt(reading->file, entry->localHeaderOffset, header, sizeof header) ||
      ReadLe32(header) != kLocalHeaderSignature)
    return Fault(kLocalOffsetWrong, entry->name);
  uint32_t nameLength = ReadLe16(header + kLhNameLength);
  uint32_t extraLength = ReadLe16(header + kLhExtraLength);
  auto *variable = static_cast<uint8_t *>(malloc(nameLength + extraLength + 1));
  if (!variable) return 4;
  int result = 0;
  if (!ReadAt(reading->file, entry->localHeaderOffset + kLocalHeaderSize, variable, nameLength + extraLength))
    result = Fault(kLocalOffsetWrong, entry->name);
  else if (nameLength != entry->nameLength || memcmp(variable, centralName, nameLength) != 0)
    result = Fault(kNamesDiffer, entry->name);
  if (!result) {
    entry->localFlags = ReadLe16(header + kLhFlags);
    // The central header's values stand; the local blocks are only cut out.
    uint8_t *extra = variable + nameLength;
    uint32_t length = extraLength, disk = 0;
    uint64_t sizes[3] = {};
    ZipTakeZip64Extra(extra, &length, &sizes[0], &sizes[1], &sizes[2], &disk, &entry->localZip64Length, 1);
    ZipTakeAesExtra(extra, &length, &entry->localAesLength, nullptr, 1);
    entry->localExtraLength = length;
    if (length && entry->centralExtraLength == length && memcmp(extra, entry->centralExtra, length) == 0) {
      entry->localExtra = entry->centralExtra;
    } else if (length && !(entry->localExtra = CopyBytes(extra, length))) {
      result = 4;
    }
  }
  free(variable);
  if (result) return result;

  if (entry->localHeaderOffset < reading->lowestLocal) reading->lowestLocal = entry->localHeaderOffset;
  if (!(entry->centralFlags & kDescriptorFlag)) return 0;
  uint64_t dataEnd = entry->localHeaderOffset + kLocalHeaderSize + nameLength + extraLength + entry->compressedSize;
  bool wide = entry->localZip64Length || entry->compressedSize >= 0xFFFFFFFFu || state->zip64Allowed;
  int length = DescriptorLength(reading->file, dataEnd, reading->directoryStart, wide);
  if (length < 0) return Fault(kDescriptorMissing, entry->name);
  entry->descriptorLength = static_cast<uint32_t>(length);
  return 0;
}

// The fields local and central headers share, in the same order from the
// version needed on.
void TakeSharedFields(const uint8_t *fields, ZipEntry *entry) {
  entry->versionNeeded = ReadLe16(fields);
  entry->centralFlags = entry->localFlags = ReadLe16(fields + 2);
  entry->method = ReadLe16(fields + 4);
  entry->dosDateTime = ReadLe32(fields + 6);
  entry->crc = ReadLe32(fields + 10);
  entry->compressedSize = ReadLe32(fields + 14);
  entry->uncompressedSize = ReadLe32(fields + 18);
}

// The central header's own words and extra field (without its Zip64 block),
// for a copy that leaves the member as its writer made it. 0, or 4.
int KeepCentral(ZipEntry *entry, const uint8_t *header, const uint8_t *extra, uint32_t extraLength) {
  entry->keptCentral = 1;
  entry->keptMethod = ReadLe16(header + kChMethod);
  if (!extraLength) return 0;
  if (!(entry->keptCentralExtra = CopyBytes(extra, extraLength))) return 4;
  uint64_t sizes[3] = {~0ull, ~0ull, ~0ull};
  uint32_t length = extraLength, disk = ~0u, found = 0;
  ZipTakeZip64Extra(entry->keptCentralExtra, &length, &sizes[0], &sizes[1], &sizes[2], &disk, &found, 1);
  entry->keptCentralExtraLength = length;
  return 0;
}

// One member from its central header. 0, 3 or 4.
int EntryFromCentral(const uint8_t *header, CentralReading *reading, ZipEntry *entry, const ZipState *state) {
  entry->versionMadeBy = ReadLe16(header + kChMadeBy);
  TakeSharedFields(header + kChNeeded, entry);
  entry->diskStart = ReadLe16(header + kChStartDisk);
  entry->internalAttributes = ReadLe16(header + kChInternalAttr);
  entry->externalAttributes = ReadLe32(header + kChExternalAttr);
  entry->localHeaderOffset = ReadLe32(header + kChLocalOffset);
  uint32_t nameLength = ReadLe16(header + kChNameLength);
  uint32_t extraLength = ReadLe16(header + kChExtraLength);
  uint32_t commentLength = ReadLe16(header + kChCommentLength);
  const uint8_t *name = header + kCentralHeaderSize;
  const uint8_t *extra = name + nameLength;
  if (!nameLength) return Fault(kZeroLengthName, "");
  if (TakeName(entry, name, nameLength, state)) return 4;

  entry->centralExtra = CopyBytes(extra, extraLength);
  if (extraLength && !entry->centralExtra) return 4;
  if (KeepCentral(entry, header, extra, extraLength)) return 4;
  uint32_t length = extraLength, aesLength = 0, strongLength = 0;
  uint32_t disk = entry->diskStart == 0xFFFF ? 0xFFFFFFFFu : entry->diskStart;
  ZipTakeZip64Extra(entry->centralExtra, &length, &entry->uncompressedSize, &entry->compressedSize,
                    &entry->localHeaderOffset, &disk, &entry->centralZip64Length, 1);
  entry->diskStart = static_cast<uint16_t>(disk);
  TakeSavedAes(entry, &length, entry->centralExtra, &aesLength);
  entry->hasSavedStrong = ZipTakeStrongExtra(entry->centralExtra, &length, &strongLength, entry->savedStrong, 1) &&
                          strongLength == ZIP_STRONG_EXTRA_SIZE;
  entry->centralCryptLength = aesLength + strongLength;
  entry->centralExtraLength = length;
  if (commentLength && !(entry->comment = CopyText(extra + extraLength, commentLength))) return 4;
  entry->commentLength = commentLength;
  entry->localHeaderOffset += static_cast<uint64_t>(reading->shift);
  return ReadLocalHeader(reading, entry, name, state);
}

// Where the offsets the archive records start in the file: a Zip64 end
// record stands right before its locator, else the central directory right
// before the end record.
int64_t ArchiveShift(HANDLE file, int64_t endOffset, const EndRecord &record, bool zip64) {
  if (zip64) {
    uint8_t locator[kLocatorSize];
    int64_t actual = endOffset - kLocatorSize - kZip64EndRecordSize;
    if (actual >= 0 && ReadAt(file, static_cast<uint64_t>(endOffset - kLocatorSize), locator, sizeof locator) &&
        ReadLe32(locator) == kZip64LocatorSignature && Signature(file, static_cast<uint64_t>(actual)) == kZip64EndSignature)
      return actual - static_cast<int64_t>(ReadLe64(locator + 8));
    return 0;
  }
  return endOffset - static_cast<int64_t>(record.directoryOffset + record.directorySize);
}

bool Saturated(const uint8_t *end) {
  for (int at = 4; at < 12; at += 2)
    if (ReadLe16(end + at) == 0xFFFF) return true;
  return ReadLe32(end + 12) == 0xFFFFFFFFu || ReadLe32(end + 16) == 0xFFFFFFFFu;
}

int ReadComment(HANDLE file, uint64_t at, uint32_t length, ZipState *state) {
  if (!length) return 0;
  auto *comment = static_cast<char *>(malloc(length + 1));
  if (!comment) return 4;
  if (!ReadAt(file, at, comment, length)) {
    free(comment);
    return 11;
  }
  comment[length] = '\0';
  state->main.comment = comment;
  state->loop.commentLength = length;
  return 0;
}

// The end records and the central directory (repair level 0).
int ReadByDirectory(HANDLE file, ZipState *state) {
  FileSource plain = {file, 0};
  ArchiveSource source = {&plain, ReadAtFile, static_cast<uint64_t>(ZipFileSize64(file))};
  int64_t endOffset = EndRecordSearchDirect(&source);
  uint8_t end[kEndRecordSize];
  if (endOffset < 0 || !ReadAt(file, static_cast<uint64_t>(endOffset), end, sizeof end)) return Fault(kMissingEnd, nullptr);

  EndRecord record;
  bool zip64 = Saturated(end);
  EndRecordParse(&source, endOffset, &record);  // plain values first, for the shift
  plain.shift = ArchiveShift(file, endOffset, record, zip64);
  source.size -= static_cast<uint64_t>(plain.shift);
  if (plain.shift < 0 || EndRecordParse(&source, endOffset - plain.shift, &record))
    return Fault(kDirectoryStartWrong, nullptr);
  if (record.thisDisk || record.directoryDisk || record.entriesOnDisk != record.totalEntries)
    ZipWarn(ZipMessageText(kMultipleDisks, 1), "");

  CentralReading reading = {file, plain.shift, record.directoryOffset + static_cast<uint64_t>(plain.shift), ~0ull};
  DirectoryCache cache = {};
  int64_t loaded = record.totalEntries ? DirectoryLoad(&cache, &source, record.directoryOffset, record.totalEntries, 1) : 0;
  int result = loaded < 0 ? 11 : static_cast<uint64_t>(loaded) != record.totalEntries ? Fault(kWrongCount, nullptr) : 0;
  for (uint64_t i = 0; !result && i < cache.count; ++i) {
    auto *entry = static_cast<ZipEntry *>(calloc(1, sizeof(ZipEntry)));
    if (!entry) {
      result = 4;
      break;
    }
    ZipAppendEntry(entry, state);
    result = EntryFromCentral(cache.block + cache.offsets[i], &reading, entry, state);
  }
  if (!result && cache.count && cache.used != record.directorySize)
    ZipWarn(ZipMessageText(kDirectorySizeWrong, 1), "");
  DirectoryCacheFree(&cache);
  if (result) return result;

  state->centralOffset = reading.directoryStart;
  state->loop.preambleSize = state->entryCount ? reading.lowestLocal : reading.directoryStart;
  uint64_t commentAt = static_cast<uint64_t>(endOffset) + kEndRecordSize;
  if ((result = ReadComment(file, commentAt, ReadLe16(end + 20), state))) return result;
  uint8_t extraByte;
  if (ReadAt(file, commentAt + ReadLe16(end + 20), &extraByte, 1)) ZipWarn(ZipMessageText(kTrailingGarbage, 1), "");
  return 0;
}

// Finds the first local header or end record from the start of the file:
// its position, or -1.
int64_t FirstSignature(HANDLE file, uint64_t size) {
  enum : uint32_t { kChunk = 0x10000 };
  auto *chunk = static_cast<uint8_t *>(malloc(kChunk + 3));
  if (!chunk) return -1;
  int64_t found = -1;
  for (uint64_t at = 0; found < 0 && at + 4 <= size; at += kChunk) {
    uint32_t want = static_cast<uint32_t>(size - at < kChunk + 3 ? size - at : kChunk + 3);
    if (!ReadAt(file, at, chunk, want)) break;
    for (uint32_t i = 0; i + 4 <= want && i < kChunk; ++i) {
      uint32_t signature = ReadLe32(chunk + i);
      if (signature == kLocalHeaderSignature || signature == kEndRecordSignature) {
        found = static_cast<int64_t>(at + i);
        break;
      }
    }
  }
  free(chunk);
  return found;
}

// At repair level 2 the member's data run until the next local or central
// header, or until a descriptor whose size matches the bytes before it.
int ScanMemberEnd(HANDLE file, uint64_t dataStart, uint64_t size, ZipEntry *entry) {
  for (uint64_t at = dataStart; at + 4 <= size; ++at) {
    uint32_t signature = Signature(file, at);
    if (signature == kDescriptorSignature && (entry->localFlags & kDescriptorFlag)) {
      uint8_t descriptor[24];
      uint64_t length = at - dataStart;
      bool narrow = ReadAt(file, at, descriptor, 16) && ReadLe32(descriptor + 8) == length;
      bool wide = !narrow && ReadAt(file, at, descriptor, 24) && ReadLe64(descriptor + 8) == length;
      if (!narrow && !wide) continue;
      entry->crc = ReadLe32(descriptor + 4);
      entry->compressedSize = length;
      entry->uncompressedSize = narrow ? ReadLe32(descriptor + 12) : ReadLe64(descriptor + 16);
      entry->descriptorLength = narrow ? 16 : 24;
      return 0;
    }
    if (signature == kLocalHeaderSignature || signature == kCentralHeaderSignature) {
      entry->compressedSize = at - dataStart;
      return 0;
    }
  }
  // The file ends inside this member's data, or right after it.
  if (entry->localFlags & kDescriptorFlag) return Fault(kBadDescriptor, entry->name);
  entry->compressedSize = size - dataStart;
  return 0;
}

// The descriptor behind data of a known length (repair level 1).
int TakeDescriptor(HANDLE file, uint64_t at, ZipEntry *entry) {
  uint8_t descriptor[24];
  if (!ReadAt(file, at, descriptor, 16)) return 11;
  if (ReadLe32(descriptor) != kDescriptorSignature) return Fault(kDescriptorMissing, entry->name);
  bool wide = entry->localZip64Length && ReadAt(file, at, descriptor, 24);
  entry->crc = ReadLe32(descriptor + 4);
  entry->compressedSize = wide ? ReadLe64(descriptor + 8) : ReadLe32(descriptor + 8);
  entry->uncompressedSize = wide ? ReadLe64(descriptor + 16) : ReadLe32(descriptor + 12);
  entry->descriptorLength = wide ? 24 : 16;
  return 0;
}

// One member from its local header (repair levels); its end in *next.
int EntryFromLocal(HANDLE file, uint64_t at, uint64_t size, ZipEntry *entry, ZipState *state, uint64_t *next) {
  uint8_t header[kLocalHeaderSize];
  if (!ReadAt(file, at, header, sizeof header)) return -1;
  entry->versionMadeBy = 20;
  TakeSharedFields(header + kLhNeeded, entry);
  entry->localHeaderOffset = at;
  uint32_t nameLength = ReadLe16(header + kLhNameLength);
  uint32_t extraLength = ReadLe16(header + kLhExtraLength);
  if (!nameLength) {
    char number[16];
    snprintf(number, sizeof number, "%lu", static_cast<unsigned long>(state->entryCount));
    return Fault(kZeroLengthName, number);
  }
  auto *variable = static_cast<uint8_t *>(malloc(nameLength + extraLength + 1));
  if (!variable) return 4;
  int result = ReadAt(file, at + kLocalHeaderSize, variable, nameLength + extraLength) ? 0 : 11;
  if (!result) result = TakeName(entry, variable, nameLength, state);
  if (!result) {
    uint8_t *extra = variable + nameLength;
    uint32_t length = extraLength;
    uint64_t offset = 0;
    uint32_t disk = 0;
    ZipTakeZip64Extra(extra, &length, &entry->uncompressedSize, &entry->compressedSize, &offset, &disk,
                      &entry->localZip64Length, 1);
    TakeSavedAes(entry, &length, extra, &entry->localAesLength);
    entry->localExtraLength = entry->centralExtraLength = length;
    entry->localExtra = entry->centralExtra = CopyBytes(extra, length);
    if (length && !entry->localExtra) result = 4;
  }
  free(variable);
  if (result) return result;

  uint64_t dataStart = at + kLocalHeaderSize + nameLength + extraLength;
  // A streamed member's local header leaves its size to the descriptor.
  bool sizeUnknown = (entry->localFlags & kDescriptorFlag) && !entry->compressedSize;
  if (state->main.repairLevel >= 2 || sizeUnknown) result = ScanMemberEnd(file, dataStart, size, entry);
  else if (entry->localFlags & kDescriptorFlag) result = TakeDescriptor(file, dataStart + entry->compressedSize, entry);
  *next = dataStart + entry->compressedSize + entry->descriptorLength;
  return result;
}

// Members from their local headers alone (repair levels 1 and 2).
int ReadByLocalHeaders(HANDLE file, ZipState *state) {
  uint64_t size = static_cast<uint64_t>(ZipFileSize64(file));
  int64_t first = FirstSignature(file, size);
  if (first < 0) return 0;
  state->loop.preambleSize = static_cast<uint64_t>(first);
  uint64_t at = static_cast<uint64_t>(first);
  while (Signature(file, at) == kLocalHeaderSignature) {
    auto *entry = static_cast<ZipEntry *>(calloc(1, sizeof(ZipEntry)));
    if (!entry) return 4;
    uint64_t next = at;
    int result = EntryFromLocal(file, at, size, entry, state, &next);
    if (result < 0 || (result && result != 4 && next > size)) {
      ZipFreeEntry(entry);
      break;
    }
    ZipAppendEntry(entry, state);
    if (result) return result;
    at = next;
  }
  state->centralOffset = at;
  return 0;
}

// A new multi-volume archive: the first volume made ready.
int PrepareFirstVolume(ZipState *state) {
  ZipWriterState &writer = state->writer;
  writer.currentDisk = 0;
  writer.centralStartDisk = ZIP_DISK_NOT_RECORDED;
  writer.lastCentralDisk = 0;
  writer.centralCountOnDisk = 0;
  writer.volumeBytes = 0;
  writer.volumeFree = kFirstVolumeFree;
  bool split = state->multiVolControl & ZMV_SPLIT_PARTS;
  if (!split && ZipMessageBox(ZIP_BOX_DISK_PROMPT, MB_OKCANCEL, 1, 0, nullptr) != IDOK) return 9;
  ZipDismountDrive(ZipDriveOfPath(state->archiveName));
  if (!(state->multiVolControl & ZMV_FORMAT)) {
    if (split && state->volumeName[0]) ZipDeleteSplitPartsOf(state->volumeName, 2);
    if (GetFileAttributesA(state->archiveName) != INVALID_FILE_ATTRIBUTES && !DeleteFileA(state->archiveName)) return 3;
  }
  const char *target = split && state->volumeName[0] ? state->volumeName : state->archiveName;
  if (!ZipPrepareVolume(ZipDriveOfPath(target), state->multiVolControl)) return state->cancel ? 9 : 19;
  if (ZipCreatePathFolders(target)) return 15;
  writer.volumeFree = ZipGetFreeSpace(target);
  return 0;
}

void FormatPreambleWarning(ZipState *state) {
  char text[ZIP_PATH_SIZE];
  snprintf(text, sizeof text, ZipMessageText(kPreamble, 1), static_cast<long>(state->loop.preambleSize));
  ZipWarn(state->archiveName, text);
}

// Drops the first component count of times from the end of a stored name
// and of its source path, keeping a trailing slash on the name.
bool CutLastComponent(char *name, char *path) {
  size_t length = strlen(name);
  if (length && name[length - 1] == '/') name[--length] = '\0';
  char *slash = strrchr(name, '/');
  char *backslash = strrchr(path, '\\');
  size_t pathLength = strlen(path);
  if (pathLength && path[pathLength - 1] == '\\') {
    path[pathLength - 1] = '\0';
    backslash = strrchr(path, '\\');
  }
  if (!slash || !backslash) return false;
  slash[1] = '\0';
  backslash[1] = '\0';
  return true;
}

// A moved source goes even when read-only: the move asks for it. One that
// still cannot go (held open elsewhere) is named in a warning rather than
// left behind without a word.
void DeleteMovedFile(const char *path) {
  DWORD attributes = GetFileAttributesA(path);
  if (attributes == INVALID_FILE_ATTRIBUTES) return;
  if (attributes & FILE_ATTRIBUTE_READONLY) SetFileAttributesA(path, attributes & ~FILE_ATTRIBUTE_READONLY);
  if (DeleteFileA(path)) return;
  if (attributes & FILE_ATTRIBUTE_READONLY) SetFileAttributesA(path, attributes);
  ZipWarn(ZipMessageText(kMovedFileKept, 1), path);
}

int CompareDescending(const void *a, const void *b) {
  return lstrcmpiA(*static_cast<char *const *>(b), *static_cast<char *const *>(a));
}

}  // namespace

int ZipCheckEndRecord(const char *name, ZipState *state) {
  if (!name || !*name || strcmp(name, "-") == 0) return 13;
  HANDLE file = CreateFileA(name, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    DWORD error = GetLastError();
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? 0 : 18;
  }
  int64_t size = ZipFileSize64(file);
  int result = 0;
  if (size < 0) result = 11;
  else if (!state->zip64Allowed && size >= 0xFFFFFFFFll) result = 8;
  else if (size < static_cast<int64_t>(kEndRecordSize)) result = 11;
  if (!result) {
    FileSource plain = {file, 0};
    ArchiveSource source = {&plain, ReadAtFile, static_cast<uint64_t>(size)};
    int64_t end = EndRecordSearchDirect(&source);
    uint8_t disk[2];
    if (end == kEndNoMemory) result = 4;
    else if (end < 0 || !ReadAt(file, static_cast<uint64_t>(end) + 4, disk, 2)) result = 11;
    else if (ReadLe16(disk)) result = 21;
  }
  CloseHandle(file);
  if (result == 11 && ZipIsRemovableDrive(ZipDriveOfPath(name))) result = 21;
  return result;
}

int ZipReadArchive(ZipState *state) {
  ZipFreeEntryList(state);
  if (state->multiVolControl & ZMV_MULTI_VOLUME) return PrepareFirstVolume(state);

  uint32_t attributes;
  uint64_t size;
  uint32_t found = ZipSourceInfo(state->archiveName, &attributes, &size, nullptr);
  if (!found || size) {
    // The repair levels need no end record.
    int result = ZipCheckEndRecord(state->archiveName, state);
    if (result && !(result == 11 && state->main.repairLevel)) return result;
  } else if (!DeleteFileA(state->archiveName)) {
    return 3;
  }
  if (ZipCreatePathFolders(state->archiveName)) return 15;
  HANDLE file = CreateFileA(state->archiveName, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return 0;
  int result = state->main.repairLevel ? ReadByLocalHeaders(file, state) : ReadByDirectory(file, state);
  CloseHandle(file);
  if (result) return result;
  if (state->loop.preambleSize) FormatPreambleWarning(state);
  return ZipBuildNameIndex(state);
}

int ZipDeleteMovedFiles(ZipState *state) {
  uint32_t capacity = state->entryCount * 2 + 1, count = 0;
  auto **folders = static_cast<char **>(calloc(capacity, sizeof(char *)));
  if (!folders) return 4;
  for (ZipEntry *entry = state->entries; entry; entry = entry->next) {
    if (!(entry->selected & (ZIP_MARK_MOVE | ZIP_MARK_ADDED)) || !entry->path) continue;
    char path[ZIP_PATH_SIZE], name[ZIP_PATH_SIZE];
    CopyTextCapped(path, sizeof path, entry->path);
    CopyTextCapped(name, sizeof name, entry->name);
    ZipPathToBackslashes(path);
    if (!ZipIsDirectoryName(name)) {
      DeleteMovedFile(path);
      if (!state->main.addDirectoryEntries || !CutLastComponent(name, path)) continue;
    }
    if (count < capacity) {
      size_t length = strlen(path);
      if (length && path[length - 1] == '\\') path[length - 1] = '\0';
      char *copy = static_cast<char *>(malloc(length + 1));
      if (copy) {
        memcpy(copy, path, length + 1);
        folders[count++] = copy;
      }
    }
  }
  // Deeper folders first, so each is empty when its turn comes.
  qsort(folders, count, sizeof *folders, CompareDescending);
  for (uint32_t i = 0; i < count; ++i) {
    if (!i || lstrcmpiA(folders[i], folders[i - 1]) != 0) RemoveDirectoryA(folders[i]);
    free(folders[i]);
  }
  free(folders);
  return 0;
}
