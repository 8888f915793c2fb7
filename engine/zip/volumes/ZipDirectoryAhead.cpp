#include "ZipDirectoryAhead.h"

#include <stdlib.h>
#include <string.h>

#include "../../common/CipherState.h"
#include "../writer/ZipOutput.h"
#include "../writer/ZipRecordWriter.h"
#include "../ZipEntry.h"
#include "../ZipState.h"
#include "../ZipStrings.h"
#include "ZipSplitParts.h"
#include "ZipVolumeRoom.h"

namespace {

enum : uint32_t { kSpanMarkerSize = 4 };
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

}  // namespace

int ZipWriteDirectoryAhead(ZipState *state, HANDLE *output) {
  ZipVolumeState &volume = state->volume;
  volume.aheadSize = 0;
  for (ZipNewFile *file = state->loop.newFiles; file; file = file->next) {
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
