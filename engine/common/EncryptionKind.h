// Classifying an encrypted member and setting up its decryption.
#pragma once
#include <cstddef>
#include <cstdint>
#include "CipherInput.h"

struct UnzipCipherState;

enum : uint16_t {
  kZipFlagEncrypted = 0x0001,
  kZipFlagDataDescriptor = 0x0008,
  kZipFlagStrongEncryption = 0x0040,
  kAesExtraId = 0x9901,
  kStrongExtraId = 0x0017,
};
enum { kAesExtraLength = 11, kStrongExtraLength = 16 };  // whole records, id and size included

// What the directory reader knows of the current member that decryption needs.
struct MemberCryptFacts {
  uint16_t centralFlags;       // general-purpose flags of the central header
  uint16_t localFlags;         // general-purpose flags of the local header
  uint16_t localModTime;       // DOS time of the local header
  uint32_t crc32;              // as the central directory gives it
  uint64_t uncompressedSize;
  const uint8_t *aesExtra;     // the central header's 0x9901 record, or null
  size_t aesExtraLength;
  uint32_t localHasAesExtra;   // the local header carries a 0x9901 record
  const uint8_t *strongExtra;  // the kept 0x0017 record, or null
  size_t strongExtraLength;
};

// Kind in the high byte, strength in the low byte.
uint16_t MemberEncryptionKind(const MemberCryptFacts *facts);

// Reads and checks the member's encryption header from the input, which then
// stands at the first enciphered data byte; sets the kind and turns
// decryptInput on. 0, 3 (structure invalid), 4 (out of memory) or 44 (bad or
// missing key).
int DecryptionSetup(UnzipCipherState *state, const MemberCryptFacts *facts, const char *password,
                    CipherInput *input);

// The check byte a traditional header must end in.
uint8_t TraditionalCheckByte(const MemberCryptFacts *facts);
// Keys from the password, header deciphered; 0 when its last byte is the
// check byte, else -1 (also without a state).
int TraditionalHeaderCheck(const uint8_t header[12], const char *password, uint8_t checkByte,
                           UnzipCipherState *state);

// Deciphers one refill of member data for the state's kind, in place. For
// strong encryption the length must be whole blocks, and `last` checks and
// removes the padding (the length shrinks). 0, or 3/4 from the strong path.
int UnzipDecryptInput(UnzipCipherState *state, uint8_t *bytes, size_t *length, int last);
