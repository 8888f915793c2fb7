#include "WinZipAes.h"

#include <cstring>

#include "CipherState.h"
#include "EncryptionKind.h"

namespace {

const int kBadKey = 44;
const int kOutOfMemory = 4;

// The AES extra field: id, size, vendor version, vendor id "AE", strength, method.
struct AesExtra {
  uint16_t vendorVersion;
  uint8_t vendorId[2];
  uint8_t strength;
};

bool ParseAesExtra(const MemberCryptFacts *facts, AesExtra *extra) {
  if (facts->aesExtra == nullptr || facts->aesExtraLength < kAesExtraLength) return false;
  const uint8_t *p = facts->aesExtra;
  extra->vendorVersion = uint16_t(p[4] | (p[5] << 8));
  extra->vendorId[0] = p[6];
  extra->vendorId[1] = p[7];
  extra->strength = p[8];
  return true;
}

}  // namespace

int WinZipAesDecryptInit(uint32_t strength, const char *password, uint32_t passwordLength, const uint8_t *salt,
                         uint8_t verifier[2], WinZipAesContext *context, UnzipCipherState *state) {
  return WinZipAesKeysInit(strength, reinterpret_cast<const uint8_t *>(password), passwordLength, salt, verifier,
                           context, state->tables);
}

int WinZipAesInit(uint32_t strength, const char *password, uint32_t passwordLength, const uint8_t *salt,
                  uint8_t verifier[2], WinZipAesContext *context, ZipCipherState *state) {
  return WinZipAesKeysInit(strength, reinterpret_cast<const uint8_t *>(password), passwordLength, salt, verifier,
                           context, state->tables);
}

int WinZipAesHeaderRead(UnzipCipherState *state, const MemberCryptFacts *facts, const char *password,
                        CipherInput *input) {
  AesExtra extra;
  if (!ParseAesExtra(facts, &extra) || extra.vendorId[0] != 'A' || extra.vendorId[1] != 'E' ||
      (extra.vendorVersion != 1 && extra.vendorVersion != 2) || (extra.strength & 3) == 0)
    return kBadKey;
  if (!UnzipAesStateAlloc(state)) return kOutOfMemory;
  const uint32_t strength = extra.strength == 2 ? 2 : extra.strength == 3 ? 3 : 1;
  state->strength = strength;

  // Salt, verifier and the trailing code must fit; an empty member has no data bytes.
  const uint32_t saltLength = WinZipAesSaltLength(strength);
  const int64_t overhead = saltLength + 2 + kWinZipAesAuthCodeLength;
  if (input->remaining - overhead < 0) {
    input->remaining = 0;
    return kBadKey;
  }
  memset(state->salt, 0, sizeof state->salt);
  if (input->read(input->context, state->salt, saltLength) != saltLength ||
      input->read(input->context, state->storedVerifier, 2) != 2)
    return kBadKey;
  input->remaining -= overhead;

  uint8_t verifier[2];
  const size_t passwordLength = password ? strlen(password) : 0;
  if (passwordLength > 128 ||
      WinZipAesDecryptInit(strength, password, uint32_t(passwordLength), state->salt, verifier, &state->aes,
                           state) != 0 ||
      memcmp(verifier, state->storedVerifier, 2) != 0)
    return kBadKey;
  return 0;
}

int ZipMakeSalt(ZipCipherState *state) {
  if (!SaltPoolInit(SaltEntropy, &state->saltPool)) return 0;
  return SaltPoolRead(state->salt, WinZipAesSaltLength(state->strength & 3), &state->saltPool);
}

void ZipSaltPoolEnd(ZipCipherState *state) { SaltPoolWipe(&state->saltPool); }
