// CRC-32 as zip uses it: reflected polynomial 0xEDB88320.
#pragma once
#include <cstddef>
#include <cstdint>

// Slicing by four: slice k gives a byte's CRC followed by k zero bytes, so
// that four bytes fold in one step of four independent lookups instead of
// four dependent ones. Slice 0 is the plain byte table.
struct Crc32Slices {
  uint32_t slice[4][256];
  constexpr Crc32Slices() : slice() {
    for (uint32_t n = 0; n < 256; ++n) {
      uint32_t c = n;
      for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
      slice[0][n] = c;
    }
    for (unsigned k = 1; k < 4; ++k)
      for (unsigned n = 0; n < 256; ++n) slice[k][n] = (slice[k - 1][n] >> 8) ^ slice[0][slice[k - 1][n] & 0xFF];
  }
};
// Computed by the compiler, so it is a read-only constant like a written-out table.
extern const Crc32Slices kCrc32Slices;

// One table step, the unit both CRC-32 and the traditional cipher are made of.
inline uint32_t Crc32Step(uint32_t crc, uint8_t byte) {
  return kCrc32Slices.slice[0][(crc ^ byte) & 0xFF] ^ (crc >> 8);
}

// Folds bytes into a running register without complementing it.
uint32_t Crc32Fold(uint32_t running, const uint8_t *data, size_t length);
// Continues a finished CRC-32 over more bytes (complemented before and after);
// Crc32Continue(0, data, n) is the plain CRC-32 of the data.
uint32_t Crc32Continue(uint32_t crc, const uint8_t *data, size_t length);

// The unzip side's running CRC-32 of the member being extracted.
struct UnzipCipherState;
// Folds bytes into the state's running value; the extraction starts it at
// 0xFFFFFFFF and compares its complement with the stored CRC.
void UnzipCrcUpdate(const uint8_t *data, size_t length, UnzipCipherState *state);
// Continues the state's running value taken as a finished CRC-32 and returns
// (and keeps) the result; null data gives 0.
uint32_t UnzipCrc32(const uint8_t *data, size_t length, UnzipCipherState *state);
