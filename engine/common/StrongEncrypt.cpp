// Writing strongly encrypted members: the random data, the validation block,
// CBC encryption with PKCS #7 padding, and the header records around them.
#include <cstring>

#include "CipherState.h"
#include "Crc32.h"
#include "EncryptionKind.h"
#include "SecureWipe.h"
#include "Sha1.h"
#include "StrongEncryption.h"
#include "WinZipAes.h"

namespace {

const int kEncryptFailed = 22;
const size_t kValidationDataLength = kStrongValidationLength - 4;

void Store16(uint8_t *p, uint32_t v) {
  p[0] = uint8_t(v);
  p[1] = uint8_t(v >> 8);
}

void Store32(uint8_t *p, uint32_t v) {
  Store16(p, v);
  Store16(p + 2, v >> 16);
}

size_t IvLength(const ZipCipherState *state) { return state->randomIv ? 16 : 12; }

void EncipherBlock(uint8_t *block, ZipCipherState *state) {
  uint8_t *chain = state->strongKey.chain;
  for (int i = 0; i < 16; ++i) block[i] ^= chain[i];
  AesEncryptBlock(block, block, &state->aes.schedule);
  memcpy(chain, block, 16);
}

int KeyFromPassword(const char *password, ZipCipherState *state) {
  const size_t length = password ? strlen(password) : 0;
  Sha1Iterate(state->digest, reinterpret_cast<const uint8_t *>(password ? password : ""), length, 1);
  return StrongEncryptKeyInit(StrongBitLengthOfStrength(state->strength), state->digest, state);
}

}  // namespace

int StrongRandomBytes(uint8_t *buffer, size_t n, ZipCipherState *state) {
  if (state->saltPool.source == nullptr && !SaltPoolInit(SaltEntropy, &state->saltPool)) return 0;
  return SaltPoolRead(buffer, n, &state->saltPool);
}

int StrongEncryptKeyInit(uint32_t bitLength, const uint8_t digest[20], ZipCipherState *state) {
  SecureWipe(&state->strongKey, sizeof state->strongKey);
  const int failed = !ZipAesStateAlloc(state) || !ZipMakeSalt(state) ||
                     !StrongScheduleKey(bitLength, digest, AesEncryptKey, &state->aes.schedule, state->tables);
  if (failed) StrongEncryptFree(state);
  else state->strongKey.ready = 1;
  return failed;
}

int StrongEncryptBlocks(uint8_t *bytes, int last, size_t *length, ZipCipherState *state) {
  const size_t whole = *length & ~size_t(15);
  const size_t tail = *length & 15;
  for (size_t offset = 0; offset < whole; offset += 16) EncipherBlock(bytes + offset, state);
  *length = whole;
  if (last) {
    uint8_t *block = bytes + whole;
    memset(block + tail, int(16 - tail), 16 - tail);
    EncipherBlock(block, state);
    *length += 16;
  }
  return 0;
}

void StrongEncryptFree(ZipCipherState *state) {
  ZipAesStateFree(state);
  SecureWipe(&state->strongKey, sizeof state->strongKey);
}

int StrongEncryptRelease(ZipCipherState *state) {
  StrongEncryptFree(state);
  return 0;
}

int StrongEncryptCleanup(ZipCipherState *state) {
  StrongEncryptFree(state);
  SecureWipe(state->randomData, sizeof state->randomData);
  SecureWipe(state->encRandomData, sizeof state->encRandomData);
  SecureWipe(state->validation, sizeof state->validation);
  state->encRandomLength = 0;
  return 0;
}

int StrongEncryptRandomData(const char *password, uint32_t memberCrc, uint64_t memberSize, ZipCipherState *state) {
  memset(state->iv, 0, sizeof state->iv);
  if (state->randomIv) {
    if (!StrongRandomBytes(state->iv, 16, state)) return kEncryptFailed;
  } else {
    Store32(state->iv, memberCrc);
    Store32(state->iv + 4, uint32_t(memberSize));
    Store32(state->iv + 8, uint32_t(memberSize >> 32));
  }
  if (KeyFromPassword(password, state) != 0) {
    StrongEncryptCleanup(state);
    return kEncryptFailed;
  }
  int result = 0;
  if (!StrongRandomBytes(state->randomData, kStrongRandomLength, state)) {
    result = kEncryptFailed;
  } else {
    memcpy(state->encRandomData, state->randomData, kStrongRandomLength);
    memcpy(state->strongKey.chain, state->iv, 16);
    size_t length = kStrongRandomLength;
    StrongEncryptBlocks(state->encRandomData, 1, &length, state);
    state->encRandomLength = uint32_t(length);
  }
  StrongEncryptFree(state);
  if (result) StrongEncryptCleanup(state);
  return result;
}

int StrongEncryptSetup(const char *password, uint32_t memberCrc, uint64_t memberSize, ZipCipherState *state) {
  if (StrongEncryptRandomData(password, memberCrc, memberSize, state) != 0) return kEncryptFailed;
  Sha1Context sha;
  Sha1Init(&sha);
  Sha1Update(state->iv, IvLength(state), &sha);
  Sha1Update(state->randomData, kStrongRandomLength, &sha);
  Sha1Final(state->digest, &sha);
  if (StrongEncryptKeyInit(StrongBitLengthOfStrength(state->strength), state->digest, state) != 0)
    return kEncryptFailed;

  memset(state->validation, 0, sizeof state->validation);
  if (!StrongRandomBytes(state->validation, kValidationDataLength, state)) {
    StrongEncryptFree(state);
    return kEncryptFailed;
  }
  Store32(state->validation + kValidationDataLength, Crc32Continue(0, state->validation, kValidationDataLength));
  memcpy(state->strongKey.chain, state->iv, 16);
  size_t length = kStrongValidationLength;
  StrongEncryptBlocks(state->validation, 0, &length, state);
  return 0;
}

void StrongExtraField(uint32_t strength, uint8_t record[16]) {
  memset(record, 0, 16);
  Store16(record, kStrongExtraId);
  Store16(record + 2, 12);
  Store16(record + 4, 2);
  Store16(record + 6, StrongAlgIdOfStrength(strength));
  Store16(record + 8, StrongBitLengthOfStrength(strength));
  Store16(record + 10, 1);
}

size_t StrongDecryptionHeaderLength(const ZipCipherState *state) {
  const size_t ivLength = state->randomIv ? 16 : 0;
  return 2 + ivLength + 4 + 8 + 2 + state->encRandomLength + 4 + 2 + kStrongValidationLength;
}

size_t StrongWriteDecryptionHeader(const ZipCipherState *state, uint8_t *out) {
  const size_t total = StrongDecryptionHeaderLength(state);
  const size_t ivLength = state->randomIv ? 16 : 0;
  uint8_t *p = out;
  Store16(p, uint32_t(ivLength));
  memcpy(p + 2, state->iv, ivLength);
  p += 2 + ivLength;
  Store32(p, uint32_t(total - (p - out) - 4));
  Store16(p + 4, kStrongFormat);
  Store16(p + 6, StrongAlgIdOfStrength(state->strength));
  Store16(p + 8, StrongBitLengthOfStrength(state->strength));
  Store16(p + 10, 1);
  Store16(p + 12, state->encRandomLength);
  p += 14;
  memcpy(p, state->encRandomData, state->encRandomLength);
  p += state->encRandomLength;
  Store32(p, 0);
  Store16(p + 4, kStrongValidationLength);
  memcpy(p + 6, state->validation, kStrongValidationLength);
  return total;
}
