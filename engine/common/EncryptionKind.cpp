#include "EncryptionKind.h"

#include "CipherState.h"
#include "StrongEncryption.h"
#include "WinZipAes.h"

namespace {

const int kBadKey = 44;
const uint16_t kUnknownKind = 0xFF00;

uint16_t Load16(const uint8_t *p) { return uint16_t(p[0] | (p[1] << 8)); }

struct AlgIdKind {
  uint16_t algId;
  uint16_t kind;
};

const AlgIdKind kStrongKinds[] = {
    {kStrongAlgAes128, 0x0801}, {kStrongAlgAes192, 0x0802}, {kStrongAlgAes256, 0x0803},
    {0x6601, 0x0900},  // DES
    {0x6609, 0x0A00},  // 3DES 112
    {0x6603, 0x0B00},  // 3DES 168
    {0x6602, 0x0C00},  // RC2 before 5.2
    {0x6702, 0x0D00},  // RC2 5.2 and later
    {0x6801, 0x0E00},  // RC4
    {0xFFFF, kUnknownKind},
};

uint16_t WinZipAesKind(const MemberCryptFacts *facts) {
  if (facts->aesExtraLength < kAesExtraLength) return kUnknownKind;
  const uint16_t version = Load16(facts->aesExtra + 4);
  const uint8_t strength = facts->aesExtra[8];
  if (version != 1 && version != 2) return kUnknownKind;
  return uint16_t((version << 8) | (strength >= 1 && strength <= 3 ? strength : 0xFF));
}

uint16_t StrongKind(const MemberCryptFacts *facts) {
  if (facts->strongExtra == nullptr || facts->strongExtraLength < 8) return kUnknownKind;
  const uint16_t algId = Load16(facts->strongExtra + 6);
  for (const AlgIdKind &entry : kStrongKinds)
    if (entry.algId == algId) return entry.kind;
  return 0;
}

int TraditionalSetup(UnzipCipherState *state, const MemberCryptFacts *facts, const char *password,
                     CipherInput *input) {
  uint8_t header[12];
  if (password == nullptr || *password == '\0') return kBadKey;
  if (input->remaining < 12 || input->read(input->context, header, 12) != 12) return kBadKey;
  input->remaining -= 12;
  return TraditionalHeaderCheck(header, password, TraditionalCheckByte(facts), state) == 0 ? 0 : kBadKey;
}

}  // namespace

uint16_t MemberEncryptionKind(const MemberCryptFacts *facts) {
  if (!(facts->centralFlags & kZipFlagEncrypted)) return 0;
  if (facts->aesExtra) return WinZipAesKind(facts);
  if (!(facts->centralFlags & kZipFlagStrongEncryption)) return 0;
  return StrongKind(facts);
}

uint8_t TraditionalCheckByte(const MemberCryptFacts *facts) {
  return (facts->localFlags & kZipFlagDataDescriptor) ? uint8_t(facts->localModTime >> 8)
                                                      : uint8_t(facts->crc32 >> 24);
}

int TraditionalHeaderCheck(const uint8_t header[12], const char *password, uint8_t checkByte,
                           UnzipCipherState *state) {
  if (state == nullptr) return -1;
  uint8_t plain[12];
  for (int i = 0; i < 12; ++i) plain[i] = header[i];
  TraditionalInitKeys(&state->keys, password);
  TraditionalDecrypt(&state->keys, plain, 12);
  return plain[11] == checkByte ? 0 : -1;
}

int DecryptionSetup(UnzipCipherState *state, const MemberCryptFacts *facts, const char *password,
                    CipherInput *input) {
  state->ivStored = 0;
  state->decryptInput = 0;
  int result;
  if (facts->aesExtra || facts->localHasAesExtra) {
    state->kind = kEncryptWinZipAes;
    result = WinZipAesHeaderRead(state, facts, password, input);
  } else if (facts->strongExtra) {
    state->kind = kEncryptStrong;
    result = StrongHeaderRead(state, facts, password, input);
  } else {
    state->kind = kEncryptTraditional;
    result = TraditionalSetup(state, facts, password, input);
  }
  state->decryptInput = result == 0;
  return result;
}

int UnzipDecryptInput(UnzipCipherState *state, uint8_t *bytes, size_t *length, int last) {
  switch (state->kind) {
    case kEncryptWinZipAes:
      WinZipAesDecrypt(bytes, *length, &state->aes);
      return 0;
    case kEncryptStrong:
      return StrongDecryptBlocks(bytes, last, length, state);
    default:
      TraditionalDecrypt(&state->keys, bytes, *length);
      return 0;
  }
}
