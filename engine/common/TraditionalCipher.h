// The zip APPNOTE's traditional encryption: three keys advanced by every plain byte.
#pragma once
#include <cstddef>
#include <cstdint>

struct TraditionalKeys {
  uint32_t key0;
  uint32_t key1;
  uint32_t key2;
};

void TraditionalInitKeys(TraditionalKeys *keys, const char *password);
void TraditionalUpdateKeys(TraditionalKeys *keys, uint8_t plain);
uint8_t TraditionalStreamByte(const TraditionalKeys *keys);
void TraditionalDecrypt(TraditionalKeys *keys, uint8_t *bytes, size_t length);
void TraditionalEncrypt(TraditionalKeys *keys, uint8_t *bytes, size_t length);

// The two sides' bindings. The unzip side works on the calling thread's state
// (UnzipCipherStateOfThread) and does nothing, giving 0, when it has none.
struct UnzipCipherState;
struct ZipCipherState;
void UnzipCryptInitKeys(const char *password);
void UnzipCryptUpdateKeys(uint8_t plain);
uint8_t UnzipCryptDecryptByte();
void ZipCryptInitKeys(const char *password, ZipCipherState *state);
void ZipCryptUpdateKeys(uint8_t plain, ZipCipherState *state);
uint8_t ZipCryptDecryptByte(ZipCipherState *state);
