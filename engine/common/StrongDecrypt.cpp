// Reading strongly encrypted members: the decryption header, the password
// check through the random data and the validation block, and CBC decryption.
#include <cstdlib>
#include <cstring>

#include "CipherState.h"
#include "Crc32.h"
#include "EncryptionKind.h"
#include "SecureWipe.h"
#include "Sha1.h"
#include "StrongEncryption.h"

namespace {

const int kStructureInvalid = 3;
const int kOutOfMemory = 4;
const int kBadPadding = 4;
const int kDecryptFailed = 22;
const int kBadKey = 44;
const size_t kMaxIvLength = 16;

uint16_t Load16(const uint8_t *p) { return uint16_t(p[0] | (p[1] << 8)); }
uint32_t Load32(const uint8_t *p) { return uint32_t(Load16(p)) | (uint32_t(Load16(p + 2)) << 16); }

void FreeBuffer(uint8_t **buffer, size_t length) {
  if (*buffer) SecureWipe(*buffer, length);
  free(*buffer);
  *buffer = nullptr;
}

uint32_t StrengthOfAlgId(uint16_t algId) {
  return algId == kStrongAlgAes192 ? 2 : algId == kStrongAlgAes256 ? 3 : 1;
}

// The header as it is read: every read is counted against the member's
// compressed bytes, so a header that claims more than the member holds stops
// before it is read.
struct HeaderReader {
  CipherInput *input;
  int64_t taken;
  int error;

  bool Read(uint8_t *out, size_t n) {
    if (error) return false;
    if (taken + int64_t(n) > input->remaining) {
      error = kBadKey;
      return false;
    }
    if (input->read(input->context, out, n) != n) {
      error = kStructureInvalid;
      return false;
    }
    taken += int64_t(n);
    return true;
  }

  bool Skip(uint64_t n) {
    uint8_t scratch[256];
    while (n > 0) {
      const size_t take = n < sizeof scratch ? size_t(n) : sizeof scratch;
      if (!Read(scratch, take)) return false;
      n -= take;
    }
    return true;
  }

  // A buffer of n + extra bytes holding the next n bytes of the header.
  uint8_t *ReadNew(size_t n, size_t extra) {
    if (error) return nullptr;
    uint8_t *buffer = static_cast<uint8_t *>(calloc(1, n + extra));
    if (buffer == nullptr) {
      error = kOutOfMemory;
      return nullptr;
    }
    if (!Read(buffer, n)) {
      free(buffer);
      return nullptr;
    }
    return buffer;
  }

  bool Fail(int code) {
    if (!error) error = code;
    return false;
  }
};

// The IV of a header without one: the member's CRC-32 and uncompressed size.
void IvFromMember(const MemberCryptFacts *facts, uint8_t iv[16]) {
  memset(iv, 0, 16);
  for (int i = 0; i < 4; ++i) iv[i] = uint8_t(facts->crc32 >> (8 * i));
  for (int i = 0; i < 8; ++i) iv[4 + i] = uint8_t(facts->uncompressedSize >> (8 * i));
}

// Reads the header's fields into the state; the header's length when it
// holds together, else 0 with reader->error set.
int64_t ReadHeaderFields(HeaderReader *r, const MemberCryptFacts *facts, const uint8_t *extra,
                         UnzipCipherState *state) {
  uint8_t field[12];
  if (!r->Read(field, 2)) return 0;
  const uint16_t ivSize = Load16(field);
  if (ivSize == 0) {
    IvFromMember(facts, state->iv);
  } else {
    // Only 16 bytes make the IV, but the header holds all ivSize of them.
    const size_t keep = ivSize < kMaxIvLength ? ivSize : kMaxIvLength;
    if (!r->Read(state->iv, keep) || !r->Skip(ivSize - keep)) return 0;
    state->ivStored = 1;
  }

  if (!r->Read(field, 12)) return 0;
  const uint32_t size = Load32(field);
  const int64_t sizeStart = r->taken;
  if (size == 0 || Load16(field + 4) != kStrongFormat || Load16(field + 6) != Load16(extra + 6) ||
      Load16(field + 8) != Load16(extra + 8) || Load16(field + 10) != Load16(extra + 10))
    return r->Fail(kStructureInvalid);

  if (!r->Read(field, 2)) return 0;
  state->encRandomLength = Load16(field);
  if (state->encRandomLength == 0) return r->Fail(kStructureInvalid);
  state->encRandomData = r->ReadNew(state->encRandomLength, 0);

  if (!r->Read(field, 4) || !r->Skip(Load32(field)) || !r->Read(field, 2)) return 0;
  state->validationLength = Load16(field);
  if (state->validationLength == 0) return r->Fail(kStructureInvalid);
  state->validation = r->ReadNew(state->validationLength, 16);
  if (r->error) return 0;

  // Size covers everything after itself: bytes it claims beyond the fields
  // are skipped, and fields that run past it are a broken header.
  const int64_t afterSize = r->taken - sizeStart + 8;
  if (afterSize > int64_t(size)) return r->Fail(kStructureInvalid);
  if (!r->Skip(uint64_t(size) - uint64_t(afterSize))) return 0;
  return r->taken;
}

int KeyFromPassword(const char *password, UnzipCipherState *state) {
  const size_t length = password ? strlen(password) : 0;
  Sha1Iterate(state->digest, reinterpret_cast<const uint8_t *>(password ? password : ""), length, 1);
  return StrongDecryptKeyInit(StrongBitLengthOfStrength(state->strength), state->digest, state);
}

}  // namespace

int StrongDecryptKeyInit(uint32_t bitLength, const uint8_t digest[20], UnzipCipherState *state) {
  SecureWipe(&state->strongKey, sizeof state->strongKey);
  const int failed = !UnzipAesStateAlloc(state) ||
                     !StrongScheduleKey(bitLength, digest, AesDecryptKey, &state->aes.schedule, state->tables);
  if (failed) StrongDecryptFree(state);
  else state->strongKey.ready = 1;
  return failed;
}

int StrongDecryptBlocks(uint8_t *bytes, int last, size_t *length, UnzipCipherState *state) {
  const size_t total = *length;
  *length = 0;
  if (!state->strongKey.ready || total % 16 != 0) return kStructureInvalid;
  uint8_t *chain = state->strongKey.chain;
  for (size_t offset = 0; offset < total; offset += 16) {
    uint8_t *block = bytes + offset;
    uint8_t enciphered[16];
    memcpy(enciphered, block, 16);
    AesDecryptBlock(block, block, &state->aes.schedule);
    for (int i = 0; i < 16; ++i) block[i] ^= chain[i];
    memcpy(chain, enciphered, 16);
  }
  size_t plain = total;
  if (last) {
    const uint8_t pad = total ? bytes[total - 1] : 0;
    if (pad < 1 || pad > 16) return kBadPadding;
    for (size_t i = total - pad; i < total; ++i)
      if (bytes[i] != pad) return kBadPadding;
    plain -= pad;
  }
  *length = plain;
  return 0;
}

void StrongDecryptFree(UnzipCipherState *state) {
  SecureWipe(&state->aes, sizeof state->aes);  // its schedule points at the tables
  free(state->tables);
  state->tables = nullptr;
  SecureWipe(&state->strongKey, sizeof state->strongKey);
}

int StrongDecryptCleanup(UnzipCipherState *state) {
  StrongDecryptFree(state);
  FreeBuffer(&state->randomData, state->encRandomLength + 16);
  FreeBuffer(&state->encRandomData, state->encRandomLength);
  FreeBuffer(&state->validation, state->validationLength + 16);
  state->randomLength = 0;
  state->encRandomLength = 0;
  state->validationLength = 0;
  return 0;
}

int StrongDecryptRelease(UnzipCipherState *state) { return StrongDecryptCleanup(state); }

int StrongDecryptRandomData(const char *password, UnzipCipherState *state) {
  int result = 0;
  if (KeyFromPassword(password, state) != 0) {
    StrongDecryptCleanup(state);
    return kDecryptFailed;
  }
  FreeBuffer(&state->randomData, state->encRandomLength + 16);
  state->randomData = static_cast<uint8_t *>(calloc(1, state->encRandomLength + 16));
  if (state->randomData == nullptr) {
    result = kOutOfMemory;
  } else {
    memcpy(state->randomData, state->encRandomData, state->encRandomLength);
    memcpy(state->strongKey.chain, state->iv, 16);
    size_t length = state->encRandomLength;
    if (StrongDecryptBlocks(state->randomData, 1, &length, state) != 0) result = kDecryptFailed;
    state->randomLength = uint32_t(length);
  }
  StrongDecryptFree(state);
  if (result) StrongDecryptCleanup(state);
  return result;
}

int StrongDecryptValidate(const char *password, UnzipCipherState *state) {
  if (StrongDecryptRandomData(password, state) != 0) return kDecryptFailed;
  const size_t ivLength = state->ivStored ? 16 : 12;
  Sha1Context sha;
  Sha1Init(&sha);
  Sha1Update(state->iv, ivLength, &sha);
  Sha1Update(state->randomData, state->randomLength, &sha);
  Sha1Final(state->digest, &sha);
  if (StrongDecryptKeyInit(StrongBitLengthOfStrength(state->strength), state->digest, state) != 0)
    return kDecryptFailed;
  if (state->validation == nullptr || state->validationLength == 0) {
    StrongDecryptFree(state);
    return kOutOfMemory;
  }

  int result = 0;
  memcpy(state->strongKey.chain, state->iv, 16);
  size_t length = state->validationLength;
  if (StrongDecryptBlocks(state->validation, 0, &length, state) != 0) {
    result = kDecryptFailed;
  } else {
    const uint32_t stored = Load32(state->validation + length - 4);  // whole blocks: at least 16 bytes
    if (Crc32Continue(0, state->validation, length - 4) != stored) result = kStructureInvalid;
  }
  if (result) StrongDecryptFree(state);
  return result;
}

int StrongHeaderRead(UnzipCipherState *state, const MemberCryptFacts *facts, const char *password,
                     CipherInput *input) {
  const uint8_t *extra = facts->strongExtra;
  if (extra == nullptr || facts->strongExtraLength < 12 || !(Load16(extra + 10) & 1) || Load16(extra + 4) != 2)
    return kBadKey;
  const uint16_t algId = Load16(extra + 6);
  if (algId != kStrongAlgAes128 && algId != kStrongAlgAes192 && algId != kStrongAlgAes256) return kBadKey;

  StrongDecryptRelease(state);
  state->strength = StrengthOfAlgId(algId);
  state->decryptInput = 0;
  state->ivStored = 0;
  memset(state->iv, 0, sizeof state->iv);

  HeaderReader reader = {input, 0, 0};
  const int64_t headerLength = ReadHeaderFields(&reader, facts, extra, state);
  if (reader.error) {
    if (reader.error == kBadKey) input->remaining = 0;
    return reader.error;
  }
  if (StrongDecryptValidate(password, state) != 0) return kBadKey;
  input->remaining -= headerLength;
  state->decryptInput = 1;
  return 0;
}
