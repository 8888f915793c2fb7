#include "ZipDirectoryAhead.h"

#include <stdlib.h>
#include <string.h>

#include "../../common/CipherState.h"
#include "../messages/ZipReport.h"
#include "../writer/ZipOutput.h"
#include "../writer/ZipRecordWriter.h"
#include "../ZipEntry.h"
#include "../ZipFileList.h"
#include "../ZipState.h"
#include "../ZipStrings.h"
#include "ZipDrives.h"
#include "ZipFormatter.h"
#include "ZipSplitParts.h"
#include "ZipVolumeRoom.h"

namespace {

enum : uint32_t { kSpanMarkerSize = 4 };
// The disk prompt's number that asks for the first disk of the set.
enum { kFirstDisk = -1 };
enum : uint16_t { kEncryptedFlag = 0x0001, kStrongFlags = 0x0041 };

// What is known of a new file before it is written: enough for a header of
// the length its final one will have.
void ScratchEntry(const ZipState *state, const ZipNewFile *file, ZipEntry *e) {
  memset(e, 0, sizeof *e);
  e->name = file->name;
  e->path = file->path;
  e->nameLength = static_cast<uint32_t>(strlen(file->name));
  e->dosDateTime = file->dosDateTime;
  e->externalAttributes = file->attributes;
  e->encrypted = state->password && !ZipIsDirectoryName(file->name);
  e->cryptKind = state->cipher.kind;
  e->cryptStrength = state->cipher.strength;
  bool strong = e->encrypted && e->cryptKind == kEncryptStrong;
  e->centralFlags = strong ? kStrongFlags : e->encrypted ? kEncryptedFlag : 0;
  uint16_t plain = state->forcedMethod == 9 && !state->main.upperCaseNames ? 21 : 20;
  e->versionMadeBy = e->versionNeeded = strong ? 51 : state->zip64Allowed ? 45 : plain;
}

bool SeekTo(HANDLE file, uint64_t offset) {
  LARGE_INTEGER at;
  at.QuadPart = static_cast<LONGLONG>(offset);
  return SetFilePointerEx(file, at, nullptr, FILE_BEGIN) != 0;
}

bool WriteAll(HANDLE file, const void *bytes, size_t length) {
  DWORD written = 0;
  return WriteFile(file, bytes, static_cast<DWORD>(length), &written, nullptr) && written == length;
}

// The first part still starts with a central header of the first entry's
// stored name: the directory reserved there.
bool HoldsReservedDirectory(ZipState *state, HANDLE first) {
  const ZipEntry *entry = state->entries;
  if (!entry) return true;
  size_t length = ZIP_CENTRAL_HEADER_SIZE + entry->nameLength;
  auto *header = static_cast<uint8_t *>(malloc(length * 2));
  if (!header) return false;
  uint8_t *name = header + length;
  DWORD got = 0;
  bool holds = SeekTo(first, kSpanMarkerSize) && ReadFile(first, header, DWORD(length), &got, nullptr) &&
               got == length && memcmp(header, "PK\x01\x02", 4) == 0;
  if (holds) {
    ZipStoredName(state, entry, name);
    holds = memcmp(header + ZIP_CENTRAL_HEADER_SIZE, name, entry->nameLength) == 0;
  }
  free(header);
  return holds;
}

// Every entry's final header over the reserved ones; what is left of the
// reservation (files that were left out) is zeroed.
int RewriteHeaders(ZipState *state, HANDLE first, uint64_t *size) {
  *size = 0;
  if (!SeekTo(first, kSpanMarkerSize)) return 10;
  for (ZipEntry *entry = state->entries; entry; entry = entry->next) {
    size_t length;
    uint8_t *record = ZipCentralHeaderBytes(state, entry, &length);
    if (!record) return 4;
    bool fits = *size + length <= state->volume.aheadSize;
    bool written = fits && WriteAll(first, record, length);
    free(record);
    if (!written) return 10;
    *size += length;
  }
  static const uint8_t zeros[512] = {};
  for (uint64_t left = state->volume.aheadSize - *size; left;) {
    size_t piece = left < sizeof zeros ? size_t(left) : sizeof zeros;
    if (!WriteAll(first, zeros, piece)) return 10;
    left -= piece;
  }
  return 0;
}

// The length of the final headers of the entries written. 0 or 4.
int FinalDirectorySize(ZipState *state, uint64_t *size) {
  *size = 0;
  for (ZipEntry *entry = state->entries; entry; entry = entry->next) {
    size_t length;
    uint8_t *record = ZipCentralHeaderBytes(state, entry, &length);
    if (!record) return 4;
    free(record);
    *size += length;
  }
  return 0;
}

// The end records at the end of the last disk, written through its staging
// file when there is one; the disk's archive file is closed. endAt and
// lastSize say where they start and where the disk ends.
int CloseLastDisk(ZipState *state, uint64_t directorySize, uint64_t *endAt, uint64_t *lastSize) {
  bool staging = state->volumeFile != INVALID_HANDLE_VALUE;
  HANDLE *bytes = staging ? &state->volumeFile : &state->output;
  *endAt = ZipVolumePosition(state, *bytes);
  int result = ZipWriteEndRecordsAhead(state, directorySize, bytes);
  if (!result && staging) {
    state->volume.finishing = 1;
    result = ZipNextVolume(state, &state->volumeFile);
  }
  *lastSize = ZipVolumePosition(state, *bytes);
  if (state->output != INVALID_HANDLE_VALUE && !CloseHandle(state->output) && !result) result = 10;
  state->output = INVALID_HANDLE_VALUE;
  return result;
}

// The last disk, when it is still the one in the drive, ends again where
// its end records began.
void TakeOffEndRecords(const char *archive, uint64_t endAt, uint64_t lastSize) {
  HANDLE last = CreateFileA(archive, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  if (last == INVALID_HANDLE_VALUE) return;
  LARGE_INTEGER size = {};
  uint8_t signature[4] = {};
  DWORD got = 0;
  bool isLast = GetFileSizeEx(last, &size) && uint64_t(size.QuadPart) == lastSize && SeekTo(last, endAt) &&
                ReadFile(last, signature, sizeof signature, &got, nullptr) && got == sizeof signature &&
                (memcmp(signature, "PK\x05\x06", 4) == 0 || memcmp(signature, "PK\x06\x06", 4) == 0);
  if (isLast && SeekTo(last, endAt)) SetEndOfFile(last);
  CloseHandle(last);
}

// Asks until the disk in the drive holds the reserved directory; its archive
// file open for writing in *first. 0, or 9 when the user refuses.
int AskForFirstDisk(ZipState *state, HANDLE *first) {
  int drive = ZipDriveOfPath(state->archiveName);
  for (;;) {
    ZipDismountDrive(drive);
    if (ZipMessageBox(ZIP_BOX_DISK_PROMPT, MB_OKCANCEL, kFirstDisk, 0, nullptr) != IDOK) {
      state->cancel = 1;
      return 9;
    }
    *first = CreateFileA(state->archiveName, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (*first != INVALID_HANDLE_VALUE) {
      if (HoldsReservedDirectory(state, *first)) return 0;
      CloseHandle(*first);
    }
    ZipMessageBox(ZIP_BOX_INVALID_FIRST_DISK, MB_OK, 0, 0, nullptr);
  }
}

}  // namespace

bool ZipWritesDirectoryAhead(const ZipState *state) {
  return (state->multiVolControl & (ZMV_MULTI_VOLUME | ZMV_ZIP64_AHEAD)) == (ZMV_MULTI_VOLUME | ZMV_ZIP64_AHEAD);
}

int ZipWriteEndRecordsAhead(ZipState *state, uint64_t directorySize, HANDLE *output) {
  ZipWriterState &writer = state->writer;
  writer.centralStartDisk = writer.lastCentralDisk = 0;
  writer.centralCountOnDisk = writer.currentDisk == 0 ? state->entryCount : 0;
  return ZipWriteEndRecords(state, state->entryCount, directorySize, kSpanMarkerSize, state->loop.commentLength,
                            state->main.comment, output);
}

int ZipWriteDirectoryAhead(ZipState *state, HANDLE *output) {
  ZipVolumeState &volume = state->volume;
  volume.aheadSize = 0;
  for (ZipNewFile *file = state->loop.newFiles; file; file = file->next) {
    if ((state->subOptions & ZSO_RENAME_CALLBACK) && ZipRenameNewFile(file, state)) return 4;
    ZipEntry scratch;
    ScratchEntry(state, file, &scratch);
    size_t length;
    uint8_t *record = ZipCentralHeaderBytes(state, &scratch, &length);
    if (!record) return 4;
    bool written = ZipSpaceLeft(state) >= length && ZipWriteOutput(state, record, length, output) == length;
    free(record);
    if (!written || state->writer.currentDisk != 0) return 10;
    volume.aheadSize += length;
    state->writer.outputOffset += length;
  }
  return 0;
}

int ZipRewriteDirectoryAhead(ZipState *state, HANDLE current, uint64_t *size) {
  bool onFirst = state->writer.currentDisk == 0;
  HANDLE first = current;
  LARGE_INTEGER zero = {}, resume = {};
  if (onFirst) {
    if (!SetFilePointerEx(current, zero, &resume, FILE_CURRENT)) return 10;
  } else {
    char name[ZIP_PATH_SIZE];
    if (!ZipSplitPartName(state->archiveName, state->volumeLongNames, 1, name, sizeof name)) return 10;
    first = CreateFileA(name, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (first == INVALID_HANDLE_VALUE) return 9;
  }
  int result = HoldsReservedDirectory(state, first) ? RewriteHeaders(state, first, size) : 9;
  if (onFirst) {
    if (!SetFilePointerEx(current, resume, nullptr, FILE_BEGIN) && !result) result = 10;
  } else if (!CloseHandle(first) && !result) {
    result = 10;
  }
  return result;
}

int ZipFinishDirectoryAheadOnDisks(ZipState *state) {
  uint64_t size, endAt, lastSize;
  int result = FinalDirectorySize(state, &size);
  if (result) return result;
  if (size > state->volume.aheadSize) return 10;
  bool oneDisk = state->writer.currentDisk == 0;
  if ((result = CloseLastDisk(state, size, &endAt, &lastSize))) return result;
  HANDLE first = INVALID_HANDLE_VALUE;
  if (oneDisk) {
    first = CreateFileA(state->archiveName, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (first == INVALID_HANDLE_VALUE || !HoldsReservedDirectory(state, first)) result = 10;
  } else if ((result = AskForFirstDisk(state, &first))) {
    TakeOffEndRecords(state->archiveName, endAt, lastSize);
  }
  uint64_t written;
  if (!result) result = RewriteHeaders(state, first, &written);
  if (first != INVALID_HANDLE_VALUE && !CloseHandle(first) && !result) result = 10;
  return result;
}
