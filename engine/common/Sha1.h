// SHA-1 (FIPS 180-1).
#pragma once
#include <cstddef>
#include <cstdint>

struct Sha1Context {
  uint32_t byteCountLow;   // counted in bytes; turned into bits only at the end
  uint32_t byteCountHigh;
  uint32_t chain[5];
  uint8_t block[64];
};

void Sha1Init(Sha1Context *context);
void Sha1Update(const uint8_t *data, size_t length, Sha1Context *context);
void Sha1Final(uint8_t digest[20], Sha1Context *context);
// The compression function over the block buffer and the chaining words.
void Sha1Transform(Sha1Context *context);
// Digest of the data, then count - 1 more times the digest of the previous digest.
void Sha1Iterate(uint8_t digest[20], const uint8_t *data, size_t length, int count);

#if defined(_WIN32) && !defined(_WIN64)
static_assert(sizeof(Sha1Context) == 92, "SHA-1 context layout");
#endif
