// What both directions of strong encryption share: key derivation and the
// algorithm identifiers of the AES key lengths.
#include <cstring>

#include "SecureWipe.h"
#include "Sha1.h"
#include "StrongEncryption.h"

void StrongDeriveKey(const uint8_t digest[20], size_t keyLength, uint8_t *key) {
  uint8_t inner[64], outer[64], both[40];
  memset(inner, 0x36, sizeof inner);
  memset(outer, 0x5C, sizeof outer);
  for (int i = 0; i < 20; ++i) {
    inner[i] ^= digest[i];
    outer[i] ^= digest[i];
  }
  Sha1Iterate(both, inner, sizeof inner, 1);
  Sha1Iterate(both + 20, outer, sizeof outer, 1);
  memcpy(key, both, keyLength < 40 ? keyLength : 40);
  SecureWipe(inner, sizeof inner);
  SecureWipe(outer, sizeof outer);
  SecureWipe(both, sizeof both);
}

uint16_t StrongAlgIdOfStrength(uint32_t strength) {
  return strength == 2 ? kStrongAlgAes192 : strength == 3 ? kStrongAlgAes256 : kStrongAlgAes128;
}

uint32_t StrongBitLengthOfStrength(uint32_t strength) { return strength == 2 ? 192 : strength == 3 ? 256 : 128; }

int StrongScheduleKey(uint32_t bitLength, const uint8_t digest[20], AesKeySetupProc setup,
                      AesKeySchedule *schedule, AesTableSet *tables) {
  if (bitLength != 128 && bitLength != 192 && bitLength != 256) return 0;
  uint8_t key[32];
  StrongDeriveKey(digest, bitLength / 8, key);
  const int result = setup(key, bitLength / 8, schedule, tables);
  SecureWipe(key, sizeof key);
  return result;
}
