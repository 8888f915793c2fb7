// HMAC-SHA1 (RFC 2104). Calls run begin, key (any number of times), data (any
// number of times), end.
#pragma once
#include <cstddef>
#include <cstdint>
#include "Sha1.h"

struct HmacSha1Context {
  uint8_t keyBlock[64];
  Sha1Context sha;
  int32_t keyLength;  // key bytes given so far, or -1 once data input has begun
};

void HmacSha1Begin(HmacSha1Context *context);
// 0, or -1 with nothing done once data input has begun.
int HmacSha1Key(const uint8_t *key, size_t length, HmacSha1Context *context);
void HmacSha1Data(const uint8_t *data, size_t length, HmacSha1Context *context);
// Copies the first macLength bytes (at most 20) of the MAC.
void HmacSha1End(uint8_t *mac, size_t macLength, HmacSha1Context *context);

#if defined(_WIN32) && !defined(_WIN64)
static_assert(sizeof(HmacSha1Context) == 160, "HMAC-SHA1 context layout");
#endif
