#include "Pbkdf2.h"

#include <cstring>

#include "HmacSha1.h"

void Pbkdf2Sha1(const uint8_t *password, size_t passwordLength, const uint8_t *salt, size_t saltLength,
                uint32_t iterations, uint8_t *key, size_t keyLength) {
  HmacSha1Context keyed;
  HmacSha1Begin(&keyed);
  HmacSha1Key(password, passwordLength, &keyed);
  HmacSha1Data(nullptr, 0, &keyed);  // the padded key block is hashed once, then copied

  for (uint32_t index = 1; keyLength > 0; ++index) {
    const uint8_t counter[4] = {uint8_t(index >> 24), uint8_t(index >> 16), uint8_t(index >> 8), uint8_t(index)};
    uint8_t u[20], block[20];
    HmacSha1Context c = keyed;
    HmacSha1Data(salt, saltLength, &c);
    HmacSha1Data(counter, 4, &c);
    HmacSha1End(u, 20, &c);
    memcpy(block, u, 20);
    for (uint32_t i = 1; i < iterations; ++i) {
      c = keyed;
      HmacSha1Data(u, 20, &c);
      HmacSha1End(u, 20, &c);
      for (int k = 0; k < 20; ++k) block[k] ^= u[k];
    }
    const size_t take = keyLength < 20 ? keyLength : 20;
    memcpy(key, block, take);
    key += take;
    keyLength -= take;
  }
}
