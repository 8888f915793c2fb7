#include "WinZipAesContext.h"

#include <cstring>

#include "Pbkdf2.h"
#include "SecureWipe.h"

int WinZipAesKeysInit(uint32_t strength, const uint8_t *password, uint32_t passwordLength, const uint8_t *salt,
                      uint8_t verifier[2], WinZipAesContext *c, AesTableSet *tables) {
  if (passwordLength > 128) return -100;
  if (strength < 1 || strength > 3) return -101;
  c->strength = strength;
  c->passwordLength = passwordLength;
  const uint32_t k = AesKeyLengthOfStrength(strength);
  uint8_t derived[2 * 32 + 2];
  Pbkdf2Sha1(password, passwordLength, salt, WinZipAesSaltLength(strength), kWinZipAesIterations, derived,
             2 * k + 2);
  c->keyStreamPosition = 16;
  memset(c->counter, 0, sizeof c->counter);
  AesEncryptKey(derived, k, &c->schedule, tables);  // counter mode only ever encrypts
  HmacSha1Begin(&c->hmac);
  HmacSha1Key(derived + k, k, &c->hmac);
  verifier[0] = derived[2 * k];
  verifier[1] = derived[2 * k + 1];
  SecureWipe(derived, sizeof derived);
  return 0;
}

void AesCtrCrypt(WinZipAesContext *c, uint8_t *bytes, size_t length) {
  for (size_t i = 0; i < length; ++i) {
    if (c->keyStreamPosition == 16) {
      for (int b = 0; b < 8 && ++c->counter[b] == 0; ++b) {
      }
      AesEncryptBlock(c->counter, c->keyStream, &c->schedule);
      c->keyStreamPosition = 0;
    }
    bytes[i] ^= c->keyStream[c->keyStreamPosition++];
  }
}

void WinZipAesDecrypt(uint8_t *bytes, size_t length, WinZipAesContext *c) {
  HmacSha1Data(bytes, length, &c->hmac);
  AesCtrCrypt(c, bytes, length);
}

void WinZipAesEncrypt(uint8_t *bytes, size_t length, WinZipAesContext *c) {
  AesCtrCrypt(c, bytes, length);
  HmacSha1Data(bytes, length, &c->hmac);
}

int WinZipAesAuthCode(uint8_t code[kWinZipAesAuthCodeLength], WinZipAesContext *c) {
  HmacSha1End(code, kWinZipAesAuthCodeLength, &c->hmac);
  return kWinZipAesAuthCodeLength;
}
