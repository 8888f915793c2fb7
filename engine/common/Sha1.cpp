#include "Sha1.h"

#include <cstring>

namespace {

inline uint32_t Rotl(uint32_t x, int n) { return (x << n) | (x >> (32 - n)); }

void StoreBigEndian(uint8_t *p, uint32_t w) {
  p[0] = uint8_t(w >> 24);
  p[1] = uint8_t(w >> 16);
  p[2] = uint8_t(w >> 8);
  p[3] = uint8_t(w);
}

}  // namespace

void Sha1Init(Sha1Context *c) {
  c->byteCountLow = 0;
  c->byteCountHigh = 0;
  c->chain[0] = 0x67452301;
  c->chain[1] = 0xEFCDAB89;
  c->chain[2] = 0x98BADCFE;
  c->chain[3] = 0x10325476;
  c->chain[4] = 0xC3D2E1F0;
}

// Twenty steps per round function, each unrolled five at a time with the
// variables rotating through the macro arguments instead of being moved.
#define SHA1_STEP(f, k, a, b, c, d, e, wi)          \
  do {                                                \
    e += Rotl(a, 5) + (f) + (k) + (wi);               \
    b = Rotl(b, 30);                                  \
  } while (0)
#define CH(b, c, d) (((c ^ d) & b) ^ d)
#define PARITY(b, c, d) (b ^ c ^ d)
#define MAJ(b, c, d) ((b & c) | ((b | c) & d))
#define SHA1_FIVE(F, k, i)                                 \
  do {                                                     \
    SHA1_STEP(F(b, c, d), k, a, b, c, d, e, w[i]);         \
    SHA1_STEP(F(a, b, c), k, e, a, b, c, d, w[i + 1]);     \
    SHA1_STEP(F(e, a, b), k, d, e, a, b, c, w[i + 2]);     \
    SHA1_STEP(F(d, e, a), k, c, d, e, a, b, w[i + 3]);     \
    SHA1_STEP(F(c, d, e), k, b, c, d, e, a, w[i + 4]);     \
  } while (0)

void Sha1Transform(Sha1Context *context) {
  uint32_t w[80];
  const uint8_t *p = context->block;
  for (int i = 0; i < 16; ++i, p += 4)
    w[i] = (uint32_t(p[0]) << 24) | (uint32_t(p[1]) << 16) | (uint32_t(p[2]) << 8) | p[3];
  for (int i = 16; i < 80; ++i) w[i] = Rotl(w[i - 3] ^ w[i - 8] ^ w[i - 14] ^ w[i - 16], 1);

  uint32_t a = context->chain[0], b = context->chain[1], c = context->chain[2], d = context->chain[3],
           e = context->chain[4];
  for (int i = 0; i < 20; i += 5) SHA1_FIVE(CH, 0x5A827999u, i);
  for (int i = 20; i < 40; i += 5) SHA1_FIVE(PARITY, 0x6ED9EBA1u, i);
  for (int i = 40; i < 60; i += 5) SHA1_FIVE(MAJ, 0x8F1BBCDCu, i);
  for (int i = 60; i < 80; i += 5) SHA1_FIVE(PARITY, 0xCA62C1D6u, i);
  context->chain[0] += a;
  context->chain[1] += b;
  context->chain[2] += c;
  context->chain[3] += d;
  context->chain[4] += e;
}

#undef SHA1_STEP
#undef CH
#undef PARITY
#undef MAJ
#undef SHA1_FIVE

void Sha1Update(const uint8_t *data, size_t length, Sha1Context *c) {
  size_t used = c->byteCountLow & 63;
  const uint32_t before = c->byteCountLow;
  c->byteCountLow += uint32_t(length);
  c->byteCountHigh += uint32_t(uint64_t(length) >> 32) + (c->byteCountLow < before);
  while (length > 0) {
    size_t take = 64 - used < length ? 64 - used : length;
    memcpy(c->block + used, data, take);
    data += take;
    length -= take;
    used += take;
    if (used == 64) {
      Sha1Transform(c);
      used = 0;
    }
  }
}

void Sha1Final(uint8_t digest[20], Sha1Context *c) {
  size_t used = c->byteCountLow & 63;
  c->block[used++] = 0x80;
  if (used > 56) {
    memset(c->block + used, 0, 64 - used);
    Sha1Transform(c);
    used = 0;
  }
  memset(c->block + used, 0, 56 - used);
  StoreBigEndian(c->block + 56, (c->byteCountHigh << 3) | (c->byteCountLow >> 29));
  StoreBigEndian(c->block + 60, c->byteCountLow << 3);
  Sha1Transform(c);
  for (int i = 0; i < 5; ++i) StoreBigEndian(digest + 4 * i, c->chain[i]);
}

void Sha1Iterate(uint8_t digest[20], const uint8_t *data, size_t length, int count) {
  Sha1Context c;
  Sha1Init(&c);
  Sha1Update(data, length, &c);
  Sha1Final(digest, &c);
  for (int i = 1; i < count; ++i) {
    Sha1Init(&c);
    Sha1Update(digest, 20, &c);
    Sha1Final(digest, &c);
  }
}
