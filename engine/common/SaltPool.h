// The writer's random pool: SHA-1-mixed entropy for salts, IVs and random data.
#pragma once
#include <cstddef>
#include <cstdint>

enum { kSaltPoolLength = 260 };  // thirteen SHA-1 digests

// Fills up to n bytes and returns how many; 0 means no entropy could be had.
typedef size_t (*EntropySourceProc)(uint8_t *buffer, size_t n);

struct SaltPool {
  uint8_t pool[kSaltPoolLength];
  uint8_t output[kSaltPoolLength];
  uint32_t position;
  EntropySourceProc source;
};

// Each returns 1, or 0 when the entropy source gave nothing (the pool is then
// not to be drawn from).
int SaltPoolInit(EntropySourceProc source, SaltPool *state);
int SaltPoolRead(uint8_t *out, size_t n, SaltPool *state);
int SaltPoolUpdate(SaltPool *state);
void SaltPoolWipe(SaltPool *state);
void SaltPoolMix(uint8_t pool[kSaltPoolLength]);

// The performance counter mixed with the operating system's random generator:
// the counter alone is guessable, and strong encryption's file key rests on
// these bytes.
size_t SaltEntropy(uint8_t *buffer, size_t n);
