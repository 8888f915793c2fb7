// Length-limited Huffman code lengths for one block's symbol frequencies.
#pragma once

#include <cstdint>

// Fills lengths[0..count) (0 for unused symbols, at most maxBits) and returns
// the highest symbol with a code. At least two symbols get a code, so that
// the code set is complete: unused symbols 0 and 1 are taken in as needed.
int BuildCodeLengths(const uint32_t* freq, int count, int maxBits, uint8_t* lengths);
