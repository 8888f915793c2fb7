// CRC-32 as zip uses it: reflected polynomial 0xEDB88320.
#pragma once
#include <cstddef>
#include <cstdint>

extern const uint32_t kCrc32Table[256];

// One table step, the unit both CRC-32 and the traditional cipher are made of.
inline uint32_t Crc32Step(uint32_t crc, uint8_t byte) { return kCrc32Table[(crc ^ byte) & 0xFF] ^ (crc >> 8); }

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
