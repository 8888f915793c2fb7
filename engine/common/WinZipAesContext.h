// WinZip AES (AE-1/AE-2) data path: AES in counter mode with a little-endian
// counter from 1, and HMAC-SHA1 over the enciphered bytes.
#pragma once
#include <cstddef>
#include <cstdint>
#include "Aes.h"
#include "HmacSha1.h"

enum { kWinZipAesAuthCodeLength = 10, kWinZipAesIterations = 1000 };

struct WinZipAesContext {
  uint8_t counter[16];
  uint8_t keyStream[16];
  AesKeySchedule schedule;
  HmacSha1Context hmac;
  uint32_t keyStreamPosition;  // 16: the key-stream block is used up
  uint32_t passwordLength;
  uint32_t strength;           // 1 to 3
};

// Strength s (1 to 3): AES key of 8 * (s + 1) bytes, salt of 4 * s + 4 bytes.
inline uint32_t AesKeyLengthOfStrength(uint32_t strength) { return 8 * (strength + 1); }
inline uint32_t WinZipAesSaltLength(uint32_t strength) { return 4 * strength + 4; }

// Derives the keys (PBKDF2, 1000 iterations) and the 2-byte verifier.
// 0, -100 (password longer than 128 bytes) or -101 (strength not 1 to 3).
int WinZipAesKeysInit(uint32_t strength, const uint8_t *password, uint32_t passwordLength, const uint8_t *salt,
                      uint8_t verifier[2], WinZipAesContext *context, AesTableSet *tables);

void AesCtrCrypt(WinZipAesContext *context, uint8_t *bytes, size_t length);
void WinZipAesDecrypt(uint8_t *bytes, size_t length, WinZipAesContext *context);
void WinZipAesEncrypt(uint8_t *bytes, size_t length, WinZipAesContext *context);
// Ends the MAC and writes its first 10 bytes; returns 10.
int WinZipAesAuthCode(uint8_t code[kWinZipAesAuthCodeLength], WinZipAesContext *context);
