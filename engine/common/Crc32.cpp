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
  for (size_t i = 0; i < length; ++i) running = Crc32Step(running, data[i]);
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
