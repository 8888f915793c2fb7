// What each side's per-thread state block keeps for encryption: the unzip
// state block embeds one UnzipCipherState, the zip state block one
// ZipCipherState, and passes its address to the routines of engine/common.
//
// Routines that work on "the calling thread's" state (the traditional cipher
// of the unzip side) find it through UnzipCipherStateOfThread(), which the
// unzip core defines: the embedded record of the thread's state block, or null
// when the thread has none. Test programs define their own.
//
// A zero-filled record is a valid empty one. Release frees what the record
// owns; call it when the state block goes.
#pragma once
#include <cstdint>
#include "Aes.h"
#include "SaltPool.h"
#include "TraditionalCipher.h"
#include "WinZipAesContext.h"

// Encryption kind of a member.
enum : uint32_t {
  kEncryptTraditional = 0,
  kEncryptWinZipAes = 2,
  kEncryptStrong = 8,
};

enum { kStrongRandomLength = 128, kStrongPaddedRandomLength = 144, kStrongValidationLength = 128 };

// The CBC chain of one strongly encrypted member. Its AES schedule is the one
// in the state's WinZipAesContext.
struct StrongKeyRecord {
  uint8_t chain[16];
  uint32_t ready;  // 1 from a successful key set-up until the record is freed
};

struct UnzipCipherState {
  uint32_t runningCrc;
  TraditionalKeys keys;
  uint32_t decryptInput;  // the input layer deciphers refills while set
  uint32_t kind;          // kEncrypt... of the current member
  uint32_t strength;      // 1 to 3
  AesTableSet *tables;    // heap; allocated by UnzipAesStateAlloc

  // WinZip AES
  uint8_t salt[16];
  uint8_t storedVerifier[2];
  WinZipAesContext aes;
  uint8_t authCode[kWinZipAesAuthCodeLength];
  uint8_t storedAuthCode[kWinZipAesAuthCodeLength];

  // Strong encryption; the three buffers are heap, sized by the header.
  uint8_t *randomData;
  uint32_t randomLength;
  uint8_t *encRandomData;
  uint32_t encRandomLength;
  uint8_t iv[16];
  uint8_t *validation;
  uint32_t validationLength;
  uint32_t ivStored;  // 1 when the header carried an IV, 0 when it came from CRC and size
  StrongKeyRecord strongKey;
  uint8_t digest[20];
};

struct ZipCipherState {
  uint32_t kind;
  uint32_t strength;
  TraditionalKeys keys;
  uint32_t placeholder;  // header writer emits zeros instead of running a set-up
  uint32_t headerSeed;   // the traditional header's generator seed
  uint32_t headerCount;
  AesTableSet *tables;   // heap; allocated by ZipAesStateAlloc
  SaltPool saltPool;

  // WinZip AES
  uint8_t salt[16];
  uint8_t verifier[2];
  WinZipAesContext aes;
  uint8_t authCode[kWinZipAesAuthCodeLength];

  // Strong encryption
  uint8_t randomData[kStrongPaddedRandomLength];
  uint8_t encRandomData[kStrongPaddedRandomLength];
  uint32_t encRandomLength;
  uint8_t iv[16];
  uint8_t validation[kStrongPaddedRandomLength];
  uint32_t randomIv;  // 1: a random IV is written in the header; 0: IV from CRC and size
  StrongKeyRecord strongKey;
  uint8_t digest[20];
};

// Defined by the unzip core (see above).
UnzipCipherState *UnzipCipherStateOfThread();

// A fresh WinZip AES context, salt, verifier and codes, and a table set
// (kept from the previous member when there is one). 1, or 0 (no state, no memory).
int UnzipAesStateAlloc(UnzipCipherState *state);
int ZipAesStateAlloc(ZipCipherState *state);
// Frees the zip side's table set and clears the keys that used it.
void ZipAesStateFree(ZipCipherState *state);

// Everything the record owns, wiped and freed; the record is left empty.
void UnzipCipherStateRelease(UnzipCipherState *state);
void ZipCipherStateRelease(ZipCipherState *state);
