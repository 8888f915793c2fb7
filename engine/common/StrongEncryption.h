// The zip APPNOTE's strong encryption with AES: a decryption header (IV,
// enciphered random data, CRC-checked validation block) and AES-CBC data.
#pragma once
#include <cstddef>
#include <cstdint>
#include "Aes.h"
#include "CipherInput.h"

struct UnzipCipherState;
struct ZipCipherState;
struct MemberCryptFacts;

enum : uint16_t {
  kStrongAlgAes128 = 0x660E,
  kStrongAlgAes192 = 0x660F,
  kStrongAlgAes256 = 0x6610,
  kStrongFormat = 3,
};

// Key of keyLength bytes (at most 40) from a 20-byte digest.
void StrongDeriveKey(const uint8_t digest[20], size_t keyLength, uint8_t *key);
uint16_t StrongAlgIdOfStrength(uint32_t strength);
uint32_t StrongBitLengthOfStrength(uint32_t strength);
// Sets the key derived from the digest into the schedule with AesEncryptKey or
// AesDecryptKey; 1 on success, 0 for a bit length other than 128, 192, 256.
typedef int (*AesKeySetupProc)(const uint8_t *, uint32_t, AesKeySchedule *, AesTableSet *);
int StrongScheduleKey(uint32_t bitLength, const uint8_t digest[20], AesKeySetupProc setup,
                      AesKeySchedule *schedule, AesTableSet *tables);

// Reading side.
int StrongHeaderRead(UnzipCipherState *state, const MemberCryptFacts *facts, const char *password,
                     CipherInput *input);
int StrongDecryptRandomData(const char *password, UnzipCipherState *state);
int StrongDecryptValidate(const char *password, UnzipCipherState *state);
int StrongDecryptKeyInit(uint32_t bitLength, const uint8_t digest[20], UnzipCipherState *state);
// In place, whole blocks; with `last` the PKCS #7 padding is checked and
// removed from *length. 0, 3 (not whole blocks) or 4 (bad padding).
int StrongDecryptBlocks(uint8_t *bytes, int last, size_t *length, UnzipCipherState *state);
void StrongDecryptFree(UnzipCipherState *state);
int StrongDecryptRelease(UnzipCipherState *state);
int StrongDecryptCleanup(UnzipCipherState *state);

// Writing side. The IV is random when state->randomIv is set, else the
// member's CRC-32 and uncompressed size (the deferred case, after the data).
int StrongEncryptRandomData(const char *password, uint32_t memberCrc, uint64_t memberSize, ZipCipherState *state);
int StrongEncryptSetup(const char *password, uint32_t memberCrc, uint64_t memberSize, ZipCipherState *state);
int StrongEncryptKeyInit(uint32_t bitLength, const uint8_t digest[20], ZipCipherState *state);
// In place; whole blocks only, except that `last` pads, so the buffer needs 16
// bytes of room then. *length becomes the bytes enciphered. Returns 0.
int StrongEncryptBlocks(uint8_t *bytes, int last, size_t *length, ZipCipherState *state);
// 1, or 0 when no entropy could be had.
int StrongRandomBytes(uint8_t *buffer, size_t n, ZipCipherState *state);
void StrongEncryptFree(ZipCipherState *state);
int StrongEncryptRelease(ZipCipherState *state);
int StrongEncryptCleanup(ZipCipherState *state);

// The records the writer puts around a strongly encrypted member, made from
// what StrongEncryptSetup left in the state.
void StrongExtraField(uint32_t strength, uint8_t record[16]);
size_t StrongDecryptionHeaderLength(const ZipCipherState *state);
// Writes the header into out (StrongDecryptionHeaderLength bytes).
size_t StrongWriteDecryptionHeader(const ZipCipherState *state, uint8_t *out);
