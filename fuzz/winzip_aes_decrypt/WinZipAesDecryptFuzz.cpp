// WinZip AES reading over arbitrary member bytes: the salt and verifier
// header, then counter-mode decryption and the authentication code. The
// counter mode is also checked to give the same bytes in any split of refills.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "CipherState.h"
#include "EncryptionKind.h"
#include "WinZipAesContext.h"

namespace {

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
  if (DecryptionSetup(&state, &facts, "fuzz", &input) == 0) {
    std::vector<uint8_t> rest(data + 1 + buffer.position, data + size);
    size_t length = size_t(input.remaining) < rest.size() ? size_t(input.remaining) : rest.size();
    UnzipDecryptInput(&state, rest.data(), &length, 0);
    WinZipAesAuthCode(state.authCode, &state.aes);
  }
  UnzipCipherStateRelease(&state);
}

void CounterModeSplits(const uint8_t *data, size_t size) {
  if (size < 34) return;
  const uint32_t keyLength = 16 + 8 * (data[0] % 3);
  AesTableSet *tables = static_cast<AesTableSet *>(calloc(1, sizeof(AesTableSet)));
  WinZipAesContext whole{}, split{};
  for (WinZipAesContext *c : {&whole, &split}) {
    c->keyStreamPosition = 16;
    AesEncryptKey(data + 1, keyLength, &c->schedule, tables);
    HmacSha1Begin(&c->hmac);
  }
  const uint8_t *message = data + 1 + 32;
  const size_t length = size - 33;
  std::vector<uint8_t> a(message, message + length), b = a;
  WinZipAesDecrypt(a.data(), a.size(), &whole);
  for (size_t at = 0, step = data[1] % 40 + 1; at < length; at += step, step = step * 7 % 41 + 1)
    WinZipAesDecrypt(b.data() + at, (length - at < step ? length - at : step), &split);
  uint8_t codeA[10], codeB[10];
  WinZipAesAuthCode(codeA, &whole);
  WinZipAesAuthCode(codeB, &split);
  if (a != b || memcmp(codeA, codeB, 10) != 0) abort();
  free(tables);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  if (size < 1) return 0;
  DecryptMember(data, size);
  CounterModeSplits(data, size);
  return 0;
}
