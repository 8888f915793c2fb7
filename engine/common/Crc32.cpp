#include "Crc32.h"

#include "CipherState.h"

namespace {

struct Crc32TableMaker {
  uint32_t entries[256];
  constexpr Crc32TableMaker() : entries() {
    for (uint32_t n = 0; n < 256; ++n) {
      uint32_t c = n;
      for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
      entries[n] = c;
    }
  }
};

constexpr Crc32TableMaker kMaker;

// Slicing by four: slice k gives a byte's CRC followed by k zero bytes, so
// that four bytes fold in one step of four independent lookups instead of
// four dependent ones (three tables more, 3 KiB, where the stub's size
// allows no more).
struct Crc32SliceMaker {
  uint32_t slices[4][256];
  constexpr Crc32SliceMaker() : slices() {
    for (unsigned n = 0; n < 256; ++n) slices[0][n] = kMaker.entries[n];
    for (unsigned k = 1; k < 4; ++k)
      for (unsigned n = 0; n < 256; ++n)
        slices[k][n] = (slices[k - 1][n] >> 8) ^ kMaker.entries[slices[k - 1][n] & 0xFF];
  }
};

constexpr Crc32SliceMaker kSlices;

inline uint32_t LoadLe32(const uint8_t *at) {
  return uint32_t{at[0]} | uint32_t{at[1]} << 8 | uint32_t{at[2]} << 16 | uint32_t{at[3]} << 24;
}

}  // namespace

// Computed by the compiler, so it is a read-only constant like a written-out table.
const uint32_t kCrc32Table[256] = {
#define E(i) kMaker.entries[i]
#define E8(i) E(i), E(i + 1), E(i + 2), E(i + 3), E(i + 4), E(i + 5), E(i + 6), E(i + 7)
#define E64(i) E8(i), E8(i + 8), E8(i + 16), E8(i + 24), E8(i + 32), E8(i + 40), E8(i + 48), E8(i + 56)
    E64(0), E64(64), E64(128), E64(192)
#undef E64
#undef E8
#undef E
};

uint32_t Crc32Fold(uint32_t running, const uint8_t *data, size_t length) {
  const uint8_t *const end = data + length;
  for (; end - data >= 4; data += 4) {
    running ^= LoadLe32(data);
    running = kSlices.slices[3][running & 0xFF] ^ kSlices.slices[2][(running >> 8) & 0xFF] ^
              kSlices.slices[1][(running >> 16) & 0xFF] ^ kSlices.slices[0][running >> 24];
  }
  for (; data < end; ++data) running = Crc32Step(running, *data);
  return running;
}

uint32_t Crc32Continue(uint32_t crc, const uint8_t *data, size_t length) {
  return ~Crc32Fold(~crc, data, length);
}

void UnzipCrcUpdate(const uint8_t *data, size_t length, UnzipCipherState *state) {
  state->runningCrc = Crc32Fold(state->runningCrc, data, length);
}

uint32_t UnzipCrc32(const uint8_t *data, size_t length, UnzipCipherState *state) {
  if (data == nullptr) return 0;
  state->runningCrc = Crc32Continue(state->runningCrc, data, length);
  return state->runningCrc;
}
