#include "BlowfishCipher.h"

#include <cstring>

#include "BlowfishPiTable.h"

enum { kModeCbc = 1, kModeCfb = 2 };

uint32_t CBlowfishCipher::F(uint32_t x) const {
  return ((s_[0][x >> 24] + s_[1][(x >> 16) & 0xFF]) ^ s_[2][(x >> 8) & 0xFF]) + s_[3][x & 0xFF];
}

// The decryption runs the same rounds with the P-array taken backwards.
template <bool Reverse>
void CBlowfishCipher::Feistel(BlowfishBlock* block) const {
  auto p = [this](int i) { return p_[Reverse ? 17 - i : i]; };
  uint32_t l = block->left, r = block->right;
#pragma GCC unroll 8
  for (int i = 0; i < 16; i += 2) {  // two rounds, so the halves swap back
    l ^= p(i);
    r ^= F(l) ^ p(i + 1);
    l ^= F(r);
  }
  block->left = r ^ p(17);
  block->right = l ^ p(16);
}

void CBlowfishCipher::BlowfishEncryptBlock(BlowfishBlock* block) const { Feistel<false>(block); }

void CBlowfishCipher::BlowfishDecryptBlock(BlowfishBlock* block) const { Feistel<true>(block); }

void CBlowfishCipher::BlowfishLoadBlock(const uint8_t bytes[8], BlowfishBlock* block) {
  block->left = uint32_t(bytes[0]) << 24 | uint32_t(bytes[1]) << 16 | uint32_t(bytes[2]) << 8 | bytes[3];
  block->right = uint32_t(bytes[4]) << 24 | uint32_t(bytes[5]) << 16 | uint32_t(bytes[6]) << 8 | bytes[7];
}

void CBlowfishCipher::BlowfishStoreBlock(const BlowfishBlock& block, uint8_t bytes[8]) {
  const uint32_t halves[2] = {block.left, block.right};
  for (int i = 0; i < 8; i++) bytes[i] = uint8_t(halves[i / 4] >> (24 - 8 * (i % 4)));
}

void CBlowfishCipher::BlowfishInit(const uint8_t* key, int keyLength, uint32_t ivLeft, uint32_t ivRight) {
  chainStart_ = {ivLeft, ivRight};
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
