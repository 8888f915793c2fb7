// Rijndael with keys and blocks of 16, 24 or 32 bytes; with a 16-byte block it
// is AES (FIPS-197). Buffers go through ECB, CBC or CFB with whole-block
// feedback; the chain runs on from call to call until the next MakeKey.
#pragma once
#include <cstddef>
#include <cstdint>

class CAesBlockCipher {
 public:
  enum { kModeEcb = 0, kModeCbc = 1, kModeCfb = 2 };
  static constexpr int kMaxRounds = 14;
  static constexpr int kMaxBlockWords = 8;

  CAesBlockCipher() = default;
  virtual ~CAesBlockCipher() = default;

  // Sizes in bytes (16, 24 or 32). The IV (block-size bytes, zeros when null)
  // becomes the chain. Returns 1 for a missing key or a bad size, else 0.
  int MakeKey(int keyLength, int blockSize, const uint8_t* iv, const uint8_t* key);

  // One block of the configured size. 1 when no key is set, else 0.
  int EncryptBlock(const uint8_t* in, uint8_t* out) const;
  int DecryptBlock(const uint8_t* in, uint8_t* out) const;

  // 1 (nothing done) when no key is set or the length is 0 or not a multiple
  // of the block size; else 0.
  int EncryptBuffer(uint8_t* out, const uint8_t* in, size_t length, int mode);
  int DecryptBuffer(uint8_t* out, const uint8_t* in, size_t length, int mode);

  int Rounds() const { return rounds_; }
  int BlockSize() const { return blockSize_; }

 private:
  int CheckBuffer(size_t length) const;

  int initialised_ = 0;
  uint32_t encryptKeys_[kMaxRounds + 1][kMaxBlockWords] = {};
  uint32_t decryptKeys_[kMaxRounds + 1][kMaxBlockWords] = {};
  int keyLength_ = 0;
  int blockSize_ = 0;
  int rounds_ = 0;
  uint8_t chain_[4 * kMaxBlockWords] = {};
};
