#include "ZipExtraFields.h"

#include <string.h>

namespace {

enum : uint16_t { kZip64Id = 1, kAesId = 0x9901, kStrongId = 0x0017 };
enum : uint32_t { kZip64Largest = 32, kAesLargest = 11, kStrongLargest = 16 };
const uint32_t kOverflow32 = 0xFFFFFFFF;

uint16_t Le16(const uint8_t *p) { return uint16_t(p[0] | p[1] << 8); }
uint32_t Le32(const uint8_t *p) { return Le16(p) | uint32_t(Le16(p + 2)) << 16; }
uint64_t Le64(const uint8_t *p) { return Le32(p) | uint64_t(Le32(p + 4)) << 32; }

// The first block with the id, when the walk reaches it over whole blocks
// and it is at most largest bytes: its position and whole length.
bool FindBlock(const uint8_t *extra, uint32_t length, uint16_t id, uint32_t largest, uint32_t *at, uint32_t *whole) {
  length &= 0xFFFF;
  if (!extra || length <= 4) return false;
  for (*at = 0; length - *at >= 4;) {
    *whole = 4u + Le16(extra + *at + 2);
    if (*whole > length - *at) return false;
    if (Le16(extra + *at) == id) return *whole <= largest;
    *at += *whole;
  }
  return false;
}

void CutBlock(uint8_t *extra, uint32_t *length, uint32_t at, uint32_t whole) {
  memmove(extra + at, extra + at + whole, (*length & 0xFFFF) - at - whole);
  *length -= whole;
}

int TakeBlock(uint8_t *extra, uint32_t *length, uint32_t *foundLength, uint8_t *copy, int remove, uint16_t id,
              uint32_t largest) {
  *foundLength = 0;
  uint32_t at, whole;
  if (!FindBlock(extra, *length, id, largest, &at, &whole)) return 0;
  *foundLength = whole;
  if (copy) memcpy(copy, extra + at, whole);
  if (remove) CutBlock(extra, length, at, whole);
  return 1;
}

}  // namespace

int ZipTakeZip64Extra(uint8_t *extra, uint32_t *extraLength, uint64_t *uncompressedSize, uint64_t *compressedSize,
                      uint64_t *localHeaderOffset, uint32_t *diskNumber, uint32_t *foundLength, int remove) {
  *foundLength = 0;
  uint32_t at, whole;
  if (!FindBlock(extra, *extraLength, kZip64Id, kZip64Largest, &at, &whole)) return 0;
  uint8_t block[kZip64Largest] = {};
  memcpy(block, extra + at, whole);

  uint64_t *values[] = {uncompressedSize, compressedSize, localHeaderOffset};
  bool marked[4];
  uint32_t needed = 0;
  for (int i = 0; i < 3; ++i) {
    marked[i] = *values[i] == kOverflow32;
    needed += marked[i] ? 8 : 0;
  }
  marked[3] = *diskNumber == kOverflow32;
  needed += marked[3] ? 4 : 0;
  if (needed <= whole - 4) {
    const uint8_t *p = block + 4;
    for (int i = 0; i < 3; ++i)
      if (marked[i]) {
        *values[i] = Le64(p);
        p += 8;
      }
    if (marked[3]) *diskNumber = Le32(p);
  }
  *foundLength = whole;
  if (remove) CutBlock(extra, extraLength, at, whole);
  return 1;
}

int ZipTakeAesExtra(uint8_t *extra, uint32_t *extraLength, uint32_t *foundLength, uint8_t *copy, int remove) {
  return TakeBlock(extra, extraLength, foundLength, copy, remove, kAesId, kAesLargest);
}

int ZipTakeStrongExtra(uint8_t *extra, uint32_t *extraLength, uint32_t *foundLength, uint8_t *copy, int remove) {
  return TakeBlock(extra, extraLength, foundLength, copy, remove, kStrongId, kStrongLargest);
}
