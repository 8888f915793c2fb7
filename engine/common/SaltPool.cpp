#include "SaltPool.h"

#include <cstring>

#include "EntropySource.h"
#include "SecureWipe.h"
#include "Sha1.h"

namespace {

const int kInitialMixes = 20;

uint32_t LoadLittleEndian(const uint8_t *p) {
  return uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24);
}

void StoreLittleEndian(uint8_t *p, uint32_t w) {
  for (int i = 0; i < 4; ++i) p[i] = uint8_t(w >> (8 * i));
}

}  // namespace

void SaltPoolMix(uint8_t pool[kSaltPoolLength]) {
  Sha1Context c;
  for (int i = 0; i < kSaltPoolLength; i += 20) {
    const uint8_t *previous = pool + (i == 0 ? kSaltPoolLength : i) - 20;
    for (int w = 0; w < 5; ++w) c.chain[w] = LoadLittleEndian(previous + 4 * w);
    for (int k = 0; k < 64; ++k) c.block[k] = pool[(i + k) % kSaltPoolLength];
    Sha1Transform(&c);
    for (int w = 0; w < 5; ++w) StoreLittleEndian(pool + i + 4 * w, c.chain[w]);
  }
  SecureWipe(&c, sizeof c);
}

int SaltPoolUpdate(SaltPool *s) {
  memcpy(s->output, s->pool, kSaltPoolLength);
  for (size_t filled = 0; filled < kSaltPoolLength;) {
    const size_t got = s->source ? s->source(s->pool + filled, kSaltPoolLength - filled) : 0;
    if (got == 0) {
      // Without entropy the pool must not be drawn from: leave it empty.
      SaltPoolWipe(s);
      return 0;
    }
    filled += got;
  }
  for (int i = 0; i < kSaltPoolLength; ++i) s->pool[i] ^= uint8_t(~s->output[i]);
  SaltPoolMix(s->pool);
  SaltPoolMix(s->output);
  return 1;
}

int SaltPoolInit(EntropySourceProc source, SaltPool *s) {
  memset(s, 0, sizeof *s);
  s->source = source;
  if (!SaltPoolUpdate(s)) return 0;
  for (int i = 0; i < kInitialMixes; ++i) SaltPoolMix(s->pool);
  return SaltPoolUpdate(s);
}

int SaltPoolRead(uint8_t *out, size_t n, SaltPool *s) {
  if (s->source == nullptr) return 0;
  while (n > 0) {
    if (s->position >= kSaltPoolLength) {
      if (!SaltPoolUpdate(s)) return 0;
      s->position = 0;
    }
    size_t take = kSaltPoolLength - s->position;
    if (take > n) take = n;
    memcpy(out, s->output + s->position, take);
    s->position += uint32_t(take);
    out += take;
    n -= take;
  }
  return 1;
}

void SaltPoolWipe(SaltPool *s) { SecureWipe(s, sizeof *s); }

size_t SaltEntropy(uint8_t *buffer, size_t n) {
  if (n == 0 || !EntropyOsRandom(buffer, n)) return 0;
  const uint64_t counter = EntropyCounter();
  for (size_t i = 0; i < n && i < 8; ++i) buffer[i] ^= uint8_t(counter >> (8 * i));
  return n;
}
