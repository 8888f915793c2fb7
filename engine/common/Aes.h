// AES block cipher (FIPS-197), table driven. The tables are computed at run
// time into a table set owned by a per-thread state; nothing here is global.
#pragma once
#include <cstdint>

struct AesTableSet {
  uint32_t roundConstants[10];
  uint32_t forward[4][256];      // S-box and MixColumns, in the four byte rotations
  uint32_t forwardLast[4][256];  // S-box alone, placed in each byte position
  uint32_t inverse[4][256];      // inverse S-box and InvMixColumns
  uint32_t inverseLast[4][256];
  uint32_t inverseMix[4][256];   // InvMixColumns alone, for the decryption key schedule
  uint32_t built;                // 0 until every table above is complete
};

// Direction word: the block length, plus which way the schedule runs.
enum : uint32_t {
  kAesBlockLength = 16,
  kAesEncrypts = 1,
  kAesDecrypts = 2,
};

struct AesKeySchedule {
  uint32_t roundKeys[64];
  uint32_t rounds;       // 10, 12 or 14; 0 after a failed set-up
  uint32_t direction;    // kAesBlockLength | kAesEncrypts or | kAesDecrypts
  AesTableSet *tables;   // the owning state's table set, taken at the first set-up
};

// Fills the table set and marks it built; points an empty schedule at it.
void AesBuildTables(AesKeySchedule *schedule, AesTableSet *tables);

// Key length in bytes (16, 24, 32) or bits (128, 192, 256). 1 on success, 0 otherwise.
int AesEncryptKey(const uint8_t *key, uint32_t keyLength, AesKeySchedule *schedule, AesTableSet *tables);
int AesDecryptKey(const uint8_t *key, uint32_t keyLength, AesKeySchedule *schedule, AesTableSet *tables);

// One 16-byte block; in and out may be the same buffer. 0, output untouched,
// when the schedule was not set up for that direction.
int AesEncryptBlock(const uint8_t in[16], uint8_t out[16], const AesKeySchedule *schedule);
int AesDecryptBlock(const uint8_t in[16], uint8_t out[16], const AesKeySchedule *schedule);
