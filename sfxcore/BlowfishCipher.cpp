#include "BlowfishCipher.h"

#include <cstring>

#include "BlowfishPiTable.h"

enum { kModeCbc = 1, kModeCfb = 2 };

uint32_t CBlowfishCipher::F(uint32_t x) const {
  return ((s_[0][x >> 24] + s_[1][(x >> 16) & 0xFF]) ^ s_[2][(x >> 8) & 0xFF]) + s_[3][x & 0xFF];
}

// Two Feistel rounds per step, so the halves swap back in place each time.
#define BLOWFISH_ROUNDS(L, R, P0, P1) \
  L ^= p_[P0];                        \
  R ^= F(L);                          \
  R ^= p_[P1];                        \
  L ^= F(R);

void CBlowfishCipher::BlowfishEncryptBlock(BlowfishBlock* block) const {
  uint32_t l = block->left, r = block->right;
  BLOWFISH_ROUNDS(l, r, 0, 1)
  BLOWFISH_ROUNDS(l, r, 2, 3)
  BLOWFISH_ROUNDS(l, r, 4, 5)
  BLOWFISH_ROUNDS(l, r, 6, 7)
  BLOWFISH_ROUNDS(l, r, 8, 9)
  BLOWFISH_ROUNDS(l, r, 10, 11)
  BLOWFISH_ROUNDS(l, r, 12, 13)
  BLOWFISH_ROUNDS(l, r, 14, 15)
  block->left = r ^ p_[17];
  block->right = l ^ p_[16];
}

void CBlowfishCipher::BlowfishDecryptBlock(BlowfishBlock* block) const {
  uint32_t l = block->left, r = block->right;
  BLOWFISH_ROUNDS(l, r, 17, 16)
  BLOWFISH_ROUNDS(l, r, 15, 14)
  BLOWFISH_ROUNDS(l, r, 13, 12)
  BLOWFISH_ROUNDS(l, r, 11, 10)
  BLOWFISH_ROUNDS(l, r, 9, 8)
  BLOWFISH_ROUNDS(l, r, 7, 6)
  BLOWFISH_ROUNDS(l, r, 5, 4)
  BLOWFISH_ROUNDS(l, r, 3, 2)
  block->left = r ^ p_[0];
  block->right = l ^ p_[1];
}

#undef BLOWFISH_ROUNDS

void CBlowfishCipher::BlowfishLoadBlock(const uint8_t bytes[8], BlowfishBlock* block) {
  block->left = uint32_t(bytes[0]) << 24 | uint32_t(bytes[1]) << 16 | uint32_t(bytes[2]) << 8 | bytes[3];
  block->right = uint32_t(bytes[4]) << 24 | uint32_t(bytes[5]) << 16 | uint32_t(bytes[6]) << 8 | bytes[7];
}

void CBlowfishCipher::BlowfishStoreBlock(const BlowfishBlock& block, uint8_t bytes[8]) {
  const uint32_t halves[2] = {block.left, block.right};
  for (int i = 0; i < 8; i++) bytes[i] = uint8_t(halves[i / 4] >> (24 - 8 * (i % 4)));
}

void CBlowfishCipher::BlowfishInit(const uint8_t* key, int keyLength, uint32_t ivLeft, uint32_t ivRight) {
  iv_ = {ivLeft, ivRight};
  chainStart_ = iv_;
  keyed_ = false;
  if (key == nullptr || keyLength <= 0) return;
  if (keyLength > kMaxKeyBytes) keyLength = kMaxKeyBytes;

  std::memcpy(p_, kBlowfishPiWords, sizeof p_);
  std::memcpy(s_, kBlowfishPiWords + 18, sizeof s_);
  int k = 0;
  for (uint32_t& word : p_) {
    uint32_t keyWord = 0;
    for (int i = 0; i < 4; i++) {
      keyWord = keyWord << 8 | key[k];
      k = (k + 1) % keyLength;
    }
    word ^= keyWord;
  }
  // The schedule overwrites the P-array and then the S-boxes pair by pair
  // with the running encipherment of the all-zero block.
  BlowfishBlock block = {0, 0};
  uint32_t* targets[2] = {p_, &s_[0][0]};
  const int targetWords[2] = {18, 4 * 256};
  for (int t = 0; t < 2; t++) {
    for (int i = 0; i < targetWords[t]; i += 2) {
      BlowfishEncryptBlock(&block);
      targets[t][i] = block.left;
      targets[t][i + 1] = block.right;
    }
  }
  keyed_ = true;
}

int CBlowfishCipher::CheckCall(size_t length) const {
  return !keyed_ || length == 0 || length % kBlockBytes != 0;
}

static BlowfishBlock Xor(BlowfishBlock a, BlowfishBlock b) { return {a.left ^ b.left, a.right ^ b.right}; }

int CBlowfishCipher::BlowfishEncryptBuffer(const uint8_t* in, uint8_t* out, size_t length, int mode) const {
  if (CheckCall(length)) return 1;
  BlowfishBlock chain = chainStart_;
  for (size_t at = 0; at < length; at += kBlockBytes) {
    BlowfishBlock block;
    BlowfishLoadBlock(in + at, &block);
    if (mode == kModeCbc) {
      block = Xor(block, chain);
      BlowfishEncryptBlock(&block);
      chain = block;
    } else if (mode == kModeCfb) {
      BlowfishEncryptBlock(&chain);
      block = Xor(block, chain);
      chain = block;
    } else {
      BlowfishEncryptBlock(&block);
    }
    BlowfishStoreBlock(block, out + at);
  }
  return 0;
}

int CBlowfishCipher::BlowfishDecryptBuffer(const uint8_t* in, uint8_t* out, size_t length, int mode) const {
  if (CheckCall(length)) return 1;
  BlowfishBlock chain = chainStart_;
  for (size_t at = 0; at < length; at += kBlockBytes) {
    BlowfishBlock cipher, block;
    BlowfishLoadBlock(in + at, &cipher);
    if (mode == kModeCbc) {
      block = cipher;
      BlowfishDecryptBlock(&block);
      block = Xor(block, chain);
      chain = cipher;
    } else if (mode == kModeCfb) {
      BlowfishEncryptBlock(&chain);
      block = Xor(cipher, chain);
      chain = cipher;
    } else {
      block = cipher;
      BlowfishDecryptBlock(&block);
    }
    BlowfishStoreBlock(block, out + at);
  }
  return 0;
}
