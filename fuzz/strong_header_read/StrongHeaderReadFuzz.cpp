// The strong-encryption decryption header reader over arbitrary member bytes,
// then CBC decryption with the padding check of the last block.
#include <cstdint>
#include <vector>

#include "CipherState.h"
#include "EncryptionKind.h"
#include "StrongEncryption.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  if (size < 1) return 0;
  // First byte: key strength of the extra field, and whether the member's
  // CRC is the one the seeds were written with.
  const uint32_t strength = data[0] % 3 + 1;
  uint8_t extra[16];
  StrongExtraField(strength, extra);
  MemberCryptFacts facts{};
  facts.centralFlags = kZipFlagEncrypted | kZipFlagStrongEncryption;
  facts.crc32 = (data[0] & 0x80) ? 0 : 0x12345678;
  facts.uncompressedSize = 64;
  facts.strongExtra = extra;
  facts.strongExtraLength = sizeof extra;

  UnzipCipherState state{};
  CipherBufferInput buffer{data + 1, size - 1, 0};
  CipherInput input = CipherInputOverBuffer(&buffer, int64_t(size - 1));
  if (DecryptionSetup(&state, &facts, "fuzz", &input) == 0) {
    std::vector<uint8_t> rest(data + 1 + buffer.position, data + size);
    size_t length = rest.size();
    UnzipDecryptInput(&state, rest.data(), &length, 1);
  }
  UnzipCipherStateRelease(&state);
  return 0;
}
