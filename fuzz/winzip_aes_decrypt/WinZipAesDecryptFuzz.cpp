// WinZip AES reading over arbitrary member bytes. The keys are derived once
// per run (PBKDF2 is most of a member's cost and none of its risk); each
// input is then deciphered in counter mode, whole and in a split of refills
// it picks, and both must give the same bytes and authentication code. One
// input in 32 goes the whole road instead: the salt and verifier header,
// the key derivation, then the data.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "CipherState.h"
#include "EncryptionKind.h"
#include "WinZipAesContext.h"

namespace {

const char kPassword[] = "fuzz";
const uint8_t kSalt[16] = {7, 1, 8, 2, 8, 1, 8, 2, 8, 4, 5, 9, 0, 4, 5, 2};

struct DerivedKeys {
  AesTableSet *tables;
  WinZipAesContext context[3];  // by strength 1 to 3
};

const DerivedKeys &Keys() {
  static DerivedKeys keys = [] {
    DerivedKeys derived{};
    derived.tables = static_cast<AesTableSet *>(calloc(1, sizeof(AesTableSet)));
    for (uint32_t strength = 1; strength <= 3; ++strength) {
      uint8_t verifier[2];
      if (WinZipAesKeysInit(strength, reinterpret_cast<const uint8_t *>(kPassword), sizeof kPassword - 1, kSalt,
                            verifier, &derived.context[strength - 1], derived.tables) != 0)
        abort();
    }
    return derived;
  }();
  return keys;
}

void DecryptMember(const uint8_t *data, size_t size) {
  // First byte: vendor version and strength byte of the extra field.
  const uint8_t control = data[0];
  const uint8_t extra[kAesExtraLength] = {0x01, 0x99, 7, 0, uint8_t(1 + (control & 1)), 0, 'A', 'E',
                                          uint8_t(control >> 1), 0, 0};
  MemberCryptFacts facts{};
  facts.centralFlags = kZipFlagEncrypted;
  facts.aesExtra = extra;
  facts.aesExtraLength = sizeof extra;
  UnzipCipherState state{};
  CipherBufferInput buffer{data + 1, size - 1, 0};
  CipherInput input = CipherInputOverBuffer(&buffer, int64_t(size - 1));
  if (DecryptionSetup(&state, &facts, kPassword, &input) == 0) {
    std::vector<uint8_t> rest(data + 1 + buffer.position, data + size);
    size_t length = size_t(input.remaining) < rest.size() ? size_t(input.remaining) : rest.size();
    UnzipDecryptInput(&state, rest.data(), &length, 0);
    WinZipAesAuthCode(state.authCode, &state.aes);
  }
  UnzipCipherStateRelease(&state);
}

// The data after the header, refill by refill as the input layer hands it on.
void DecryptWithDerivedKeys(const uint8_t *data, size_t size) {
  const uint8_t control = data[0];
  UnzipCipherState whole{}, split{};
  for (UnzipCipherState *state : {&whole, &split}) {
    state->kind = kEncryptWinZipAes;
    state->strength = 1 + control % 3;
    state->aes = Keys().context[state->strength - 1];
  }
  std::vector<uint8_t> a(data + 1, data + size), b = a;
  size_t length = a.size();
  UnzipDecryptInput(&whole, a.data(), &length, 0);
  for (size_t at = 0, step = control % 40 + 1; at < b.size(); at += step, step = step * 7 % 41 + 1) {
    size_t piece = b.size() - at < step ? b.size() - at : step;
    UnzipDecryptInput(&split, b.data() + at, &piece, 0);
  }
  uint8_t codeA[kWinZipAesAuthCodeLength], codeB[kWinZipAesAuthCodeLength];
  WinZipAesAuthCode(codeA, &whole.aes);
  WinZipAesAuthCode(codeB, &split.aes);
  if (a != b || memcmp(codeA, codeB, sizeof codeA) != 0) abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  if (size < 1) return 0;
  if ((data[0] & 0xF8) == 0xF8)
    DecryptMember(data, size);
  else
    DecryptWithDerivedKeys(data, size);
  return 0;
}
