#include "HmacSha1.h"

#include <cstring>

namespace {

const uint8_t kInnerPad = 0x36;
const uint8_t kInnerToOuterPad = 0x36 ^ 0x5C;

// Ends key input: a key longer than a block is replaced by its digest, and the
// padded key block starts the inner hash.
void EndKeyInput(HmacSha1Context *c) {
  if (c->keyLength > 64) Sha1Final(c->keyBlock, &c->sha);
  for (uint8_t &b : c->keyBlock) b ^= kInnerPad;  // the zero fill beyond the key is already there
  Sha1Init(&c->sha);
  Sha1Update(c->keyBlock, 64, &c->sha);
  c->keyLength = -1;
}

}  // namespace

void HmacSha1Begin(HmacSha1Context *c) { memset(c, 0, sizeof *c); }

int HmacSha1Key(const uint8_t *key, size_t length, HmacSha1Context *c) {
  if (c->keyLength < 0) return -1;
  const size_t total = size_t(c->keyLength) + length;
  if (total > 64) {
    // Past one block the key will be hashed: move what the block holds into the hash.
    if (c->keyLength <= 64) {
      Sha1Init(&c->sha);
      Sha1Update(c->keyBlock, size_t(c->keyLength), &c->sha);
      memset(c->keyBlock, 0, sizeof c->keyBlock);
    }
    Sha1Update(key, length, &c->sha);
  } else if (length) {
    memcpy(c->keyBlock + c->keyLength, key, length);
  }
  c->keyLength = total > 0x7FFFFFFF ? 0x7FFFFFFF : int32_t(total);
  return 0;
}

void HmacSha1Data(const uint8_t *data, size_t length, HmacSha1Context *c) {
  if (c->keyLength >= 0) EndKeyInput(c);
  if (length) Sha1Update(data, length, &c->sha);
}

void HmacSha1End(uint8_t *mac, size_t macLength, HmacSha1Context *c) {
  uint8_t inner[20], outer[20];
  if (c->keyLength >= 0) EndKeyInput(c);
  Sha1Final(inner, &c->sha);
  for (uint8_t &b : c->keyBlock) b ^= kInnerToOuterPad;
  Sha1Init(&c->sha);
  Sha1Update(c->keyBlock, 64, &c->sha);
  Sha1Update(inner, 20, &c->sha);
  Sha1Final(outer, &c->sha);
  memcpy(mac, outer, macLength < 20 ? macLength : 20);
}
