// Pulling the Zip64, AES and strong-encryption blocks out of an existing
// entry's extra data. The walk trusts no length: a block whose data would run
// past the end of the extra stops it, and nothing is found there.
#pragma once

#include <stdint.h>

// Takes from the Zip64 block the values the caller marked as overflowed (a
// size or offset reading 0xFFFFFFFF, a disk number reading 0xFFFF...) when the
// block covers them all; with remove the block is cut out and *extraLength
// shrinks. 1 when a block was found; *foundLength gets its whole length.
int ZipTakeZip64Extra(uint8_t *extra, uint32_t *extraLength, uint64_t *uncompressedSize, uint64_t *compressedSize,
                      uint64_t *localHeaderOffset, uint32_t *diskNumber, uint32_t *foundLength, int remove);

// The AES block (id 0x9901, at most 11 bytes) and the strong-encryption block
// (id 0x0017, at most 16 bytes): copied whole to copy when given, cut out
// with remove. 1 when found.
int ZipTakeAesExtra(uint8_t *extra, uint32_t *extraLength, uint32_t *foundLength, uint8_t *copy, int remove);
int ZipTakeStrongExtra(uint8_t *extra, uint32_t *extraLength, uint32_t *foundLength, uint8_t *copy, int remove);
