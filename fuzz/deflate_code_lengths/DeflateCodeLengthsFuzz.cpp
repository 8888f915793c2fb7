// Builds length-limited Huffman code lengths for arbitrary frequencies and
// checks that every used symbol gets a code, none is longer than the limit,
// and the code set is complete.
//
// Input: byte 0 picks the limit (odd: 7 bits over 19 symbols, even: 15 bits
// over 286); then each byte pair is one symbol's frequency, its high byte
// an exponent so that frequencies span many orders of magnitude.
#include <cstdint>
#include <cstdlib>

#include "DeflateHuffman.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  bool bitLengthTree = data[0] & 1;
  int maxBits = bitLengthTree ? 7 : 15;
  int count = bitLengthTree ? 19 : 286;
  uint32_t freq[286] = {};
  for (int i = 0; i < count && size_t(1 + 2 * i + 1) < size; ++i) {
    uint32_t mantissa = data[1 + 2 * i];
    uint32_t exponent = data[2 + 2 * i] % 16;
    freq[i] = mantissa << exponent;
  }
  uint8_t lengths[286];
  int maxCode = BuildCodeLengths(freq, count, maxBits, lengths);
  uint64_t space = 0;
  int coded = 0;
  for (int i = 0; i < count; ++i) {
    if (lengths[i] > maxBits || (freq[i] != 0 && lengths[i] == 0) || (lengths[i] != 0 && i > maxCode)) abort();
    if (lengths[i] == 0) continue;
    space += uint64_t(1) << (maxBits - lengths[i]);
    ++coded;
  }
  if (coded < 2 || space != (uint64_t(1) << maxBits)) abort();
  return 0;
}
