#include "Crc32.h"

#include "CipherState.h"

const Crc32Slices kCrc32Slices;

namespace {

inline uint32_t LoadLe32(const uint8_t *at) {
  return uint32_t{at[0]} | uint32_t{at[1]} << 8 | uint32_t{at[2]} << 16 | uint32_t{at[3]} << 24;
}

}  // namespace

uint32_t Crc32Fold(uint32_t running, const uint8_t *data, size_t length) {
  const uint8_t *const end = data + length;
  for (; end - data >= 4; data += 4) {
    running ^= LoadLe32(data);
    const auto &slice = kCrc32Slices.slice;
    running = slice[3][running & 0xFF] ^ slice[2][(running >> 8) & 0xFF] ^ slice[1][(running >> 16) & 0xFF] ^
              slice[0][running >> 24];
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
