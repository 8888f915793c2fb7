// The 16- and 32-bit little-endian words of the record file, the secure container
// and the program's offset word.
#pragma once
#include <cstdint>

inline uint16_t LoadLe16(const uint8_t* p) { return uint16_t(p[0] | p[1] << 8); }

inline uint32_t LoadLe32(const uint8_t* p) {
  return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

inline void StoreLe16(uint16_t value, uint8_t* p) {
  p[0] = uint8_t(value);
  p[1] = uint8_t(value >> 8);
}

inline void StoreLe32(uint32_t value, uint8_t* p) {
  for (int i = 0; i < 4; ++i) p[i] = uint8_t(value >> (8 * i));
}
