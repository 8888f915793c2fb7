#include "TraditionalCipher.h"

#include "Crc32.h"

void TraditionalInitKeys(TraditionalKeys *keys, const char *password) {
  keys->key0 = 0x12345678;
  keys->key1 = 0x23456789;
  keys->key2 = 0x34567890;
  for (const char *p = password; p && *p; ++p) TraditionalUpdateKeys(keys, uint8_t(*p));
}

void TraditionalUpdateKeys(TraditionalKeys *keys, uint8_t plain) {
  keys->key0 = Crc32Step(keys->key0, plain);
  keys->key1 = (keys->key1 + (keys->key0 & 0xFF)) * 134775813u + 1;
  keys->key2 = Crc32Step(keys->key2, uint8_t(keys->key1 >> 24));
}

uint8_t TraditionalStreamByte(const TraditionalKeys *keys) {
  const uint32_t t = (keys->key2 & 0xFFFF) | 2;
  return uint8_t((t * (t ^ 1)) >> 8);
}

void TraditionalDecrypt(TraditionalKeys *keys, uint8_t *bytes, size_t length) {
  for (size_t i = 0; i < length; ++i) {
    bytes[i] ^= TraditionalStreamByte(keys);
    TraditionalUpdateKeys(keys, bytes[i]);
  }
}

void TraditionalEncrypt(TraditionalKeys *keys, uint8_t *bytes, size_t length) {
  for (size_t i = 0; i < length; ++i) {
    const uint8_t plain = bytes[i];
    bytes[i] ^= TraditionalStreamByte(keys);
    TraditionalUpdateKeys(keys, plain);
  }
}
