// Blowfish (64-bit block, 16 rounds, keys of 1 to 56 bytes) with ECB, CBC and
// 64-bit CFB over whole buffers. Blocks are read as two big-endian halves.
// Every buffer call starts its chain afresh from the IV given to BlowfishInit,
// so one message must go through one call.
#pragma once
#include <cstddef>
#include <cstdint>

struct BlowfishBlock {
  uint32_t left;
  uint32_t right;
};

class CBlowfishCipher {
 public:
  static constexpr int kMaxKeyBytes = 56;
  static constexpr int kBlockBytes = 8;

  // Stores the IV; with a key runs the key schedule on at most its first 56
  // bytes. Without a key the object stays unkeyed and refuses to encipher.
  void BlowfishInit(const uint8_t* key, int keyLength, uint32_t ivLeft, uint32_t ivRight);

  // mode 1 CBC, 2 CFB-64, anything else ECB. Returns 1 and writes nothing for
  // an unkeyed object or a length that is 0 or not a multiple of 8; else 0.
  int BlowfishEncryptBuffer(const uint8_t* in, uint8_t* out, size_t length, int mode) const;
  int BlowfishDecryptBuffer(const uint8_t* in, uint8_t* out, size_t length, int mode) const;

  void BlowfishEncryptBlock(BlowfishBlock* block) const;
  void BlowfishDecryptBlock(BlowfishBlock* block) const;
  static void BlowfishLoadBlock(const uint8_t bytes[8], BlowfishBlock* block);
  static void BlowfishStoreBlock(const BlowfishBlock& block, uint8_t bytes[8]);

 private:
  uint32_t F(uint32_t x) const;
  template <bool Reverse>
  void Feistel(BlowfishBlock* block) const;
  int CheckCall(size_t length) const;

  BlowfishBlock chainStart_ = {0, 0};  // the IV; every call's chain starts here
  uint32_t p_[18] = {};
  uint32_t s_[4][256] = {};
  bool keyed_ = false;
};
