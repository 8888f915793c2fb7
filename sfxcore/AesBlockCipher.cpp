#include "AesBlockCipher.h"

#include <array>
#include <cstring>

namespace {

// The tables are derived at compile time from the field arithmetic of the
// standard, so no constant of the cipher is typed by hand.
constexpr uint8_t Times2(uint8_t x) { return uint8_t(x << 1 ^ (x & 0x80 ? 0x1B : 0)); }

constexpr uint8_t Multiply(uint8_t a, uint8_t b) {
  uint8_t product = 0;
  for (; b; b >>= 1, a = Times2(a))
    if (b & 1) product ^= a;
  return product;
}

constexpr uint8_t Rotl8(uint8_t x, int n) { return uint8_t(x << n | x >> (8 - n)); }

struct Tables {
  uint8_t sbox[256];
  uint8_t inverseSbox[256];
  // Round tables: column word of MixColumns (or its inverse) applied to one
  // substituted byte standing in row 0, which is the high byte. A byte in row
  // r gives the same word rotated right by 8r bits; rotating at each use
  // keeps 6 KiB of tables out of every built program, and these ciphers
  // only ever run over a few settings records.
  uint32_t encrypt[256];
  uint32_t decrypt[256];
};

uint32_t Rotr32(uint32_t x, int n) { return x >> n | x << (32 - n); }

constexpr uint32_t Column(uint8_t a, uint8_t b, uint8_t c, uint8_t d) {
  return uint32_t(a) << 24 | uint32_t(b) << 16 | uint32_t(c) << 8 | d;
}

constexpr Tables MakeTables() {
  Tables t{};
  // Inverses through powers of the generator 3: x^-1 = 3^(255 - log3 x).
  uint8_t power[255] = {}, logarithm[256] = {};
  uint8_t p = 1;
  for (int i = 0; i < 255; i++, p = Multiply(p, 3)) {
    power[i] = p;
    logarithm[p] = uint8_t(i);
  }
  for (int x = 0; x < 256; x++) {
    uint8_t inv = x ? power[(255 - logarithm[x]) % 255] : 0;
    uint8_t s = uint8_t(inv ^ Rotl8(inv, 1) ^ Rotl8(inv, 2) ^ Rotl8(inv, 3) ^ Rotl8(inv, 4) ^ 0x63);
    t.sbox[x] = s;
    t.inverseSbox[s] = uint8_t(x);
  }
  for (int x = 0; x < 256; x++) {
    uint8_t s = t.sbox[x], i = t.inverseSbox[x];
    uint32_t e = Column(Multiply(s, 2), s, s, Multiply(s, 3));
    uint32_t d = Column(Multiply(i, 14), Multiply(i, 9), Multiply(i, 13), Multiply(i, 11));
    t.encrypt[x] = e;
    t.decrypt[x] = d;
  }
  return t;
}

constexpr Tables kTables = MakeTables();

uint32_t SubWord(uint32_t w) {
  return Column(kTables.sbox[w >> 24], kTables.sbox[w >> 16 & 0xFF], kTables.sbox[w >> 8 & 0xFF],
                kTables.sbox[w & 0xFF]);
}

// One output column of a round: the round table's words for the bytes
// standing in rows 0..3.
uint32_t RoundColumn(const uint32_t* table, uint8_t row0, uint8_t row1, uint8_t row2, uint8_t row3) {
  return table[row0] ^ Rotr32(table[row1], 8) ^ Rotr32(table[row2], 16) ^ Rotr32(table[row3], 24);
}

// InvMixColumns of a round-key word, for the equivalent inverse cipher.
uint32_t InverseMixWord(uint32_t w) {
  const uint8_t* s = kTables.sbox;
  return RoundColumn(kTables.decrypt, s[w >> 24], s[w >> 16 & 0xFF], s[w >> 8 & 0xFF], s[w & 0xFF]);
}

uint32_t LoadWord(const uint8_t* p) { return Column(p[0], p[1], p[2], p[3]); }

void StoreWord(uint32_t w, uint8_t* p) {
  p[0] = uint8_t(w >> 24);
  p[1] = uint8_t(w >> 16);
  p[2] = uint8_t(w >> 8);
  p[3] = uint8_t(w);
}

// Row shifts of the Rijndael proposal by block width in columns.
constexpr int ShiftOf(int columns, int row) {
  return row == 0 ? 0 : columns == 8 && row >= 2 ? row + 1 : row;
}

// One block through all rounds. Encryption reads row r of output column j
// from input column j + shift; decryption from j - shift (InvShiftRows).
template <int Columns, bool Encrypt>
void Cipher(const uint32_t (*keys)[CAesBlockCipher::kMaxBlockWords], int rounds, const uint8_t* in,
            uint8_t* out) {
  const auto& round = Encrypt ? kTables.encrypt : kTables.decrypt;
  const uint8_t* last = Encrypt ? kTables.sbox : kTables.inverseSbox;
  int source[4][Columns];
  for (int row = 0; row < 4; row++)
    for (int j = 0; j < Columns; j++) {
      int shift = ShiftOf(Columns, row);
      source[row][j] = (j + (Encrypt ? shift : Columns - shift)) % Columns;
    }

  uint32_t state[Columns], next[Columns];
  for (int j = 0; j < Columns; j++) state[j] = LoadWord(in + 4 * j) ^ keys[0][j];
  for (int r = 1; r < rounds; r++) {
    for (int j = 0; j < Columns; j++)
      next[j] = RoundColumn(round, state[source[0][j]] >> 24, state[source[1][j]] >> 16 & 0xFF,
                            state[source[2][j]] >> 8 & 0xFF, state[source[3][j]] & 0xFF) ^
                keys[r][j];
    std::memcpy(state, next, sizeof state);
  }
  for (int j = 0; j < Columns; j++) {
    uint32_t w = Column(last[state[source[0][j]] >> 24], last[state[source[1][j]] >> 16 & 0xFF],
                        last[state[source[2][j]] >> 8 & 0xFF], last[state[source[3][j]] & 0xFF]);
    StoreWord(w ^ keys[rounds][j], out + 4 * j);
  }
}

template <bool Encrypt>
void CipherBlock(int blockSize, const uint32_t (*keys)[CAesBlockCipher::kMaxBlockWords], int rounds,
                 const uint8_t* in, uint8_t* out) {
  switch (blockSize) {
    case 16: Cipher<4, Encrypt>(keys, rounds, in, out); break;
    case 24: Cipher<6, Encrypt>(keys, rounds, in, out); break;
    default: Cipher<8, Encrypt>(keys, rounds, in, out); break;
  }
}

bool IsRijndaelSize(int bytes) { return bytes == 16 || bytes == 24 || bytes == 32; }

void XorBytes(uint8_t* target, const uint8_t* with, int count) {
  for (int i = 0; i < count; i++) target[i] ^= with[i];
}

}  // namespace

int CAesBlockCipher::MakeKey(int keyLength, int blockSize, const uint8_t* iv, const uint8_t* key) {
  if (key == nullptr || !IsRijndaelSize(keyLength) || !IsRijndaelSize(blockSize)) return 1;
  keyLength_ = keyLength;
  blockSize_ = blockSize;
  rounds_ = (keyLength > blockSize ? keyLength : blockSize) / 4 + 6;
  std::memset(chain_, 0, sizeof chain_);
  if (iv) std::memcpy(chain_, iv, blockSize);

  // Key expansion into one run of words, then cut into round keys.
  const int keyWords = keyLength / 4, columns = blockSize / 4;
  const int totalWords = columns * (rounds_ + 1);
  uint32_t w[(kMaxRounds + 1) * kMaxBlockWords];
  for (int i = 0; i < keyWords; i++) w[i] = LoadWord(key + 4 * i);
  uint8_t roundConstant = 1;
  for (int i = keyWords; i < totalWords; i++) {
    uint32_t temp = w[i - 1];
    if (i % keyWords == 0) {
      temp = SubWord(temp << 8 | temp >> 24) ^ uint32_t(roundConstant) << 24;
      roundConstant = Times2(roundConstant);
    } else if (keyWords > 6 && i % keyWords == 4) {
      temp = SubWord(temp);
    }
    w[i] = w[i - keyWords] ^ temp;
  }
  for (int r = 0; r <= rounds_; r++)
    for (int j = 0; j < columns; j++) {
      encryptKeys_[r][j] = w[r * columns + j];
      uint32_t forDecrypt = w[(rounds_ - r) * columns + j];
      decryptKeys_[r][j] = (r == 0 || r == rounds_) ? forDecrypt : InverseMixWord(forDecrypt);
    }
  initialised_ = 1;
  return 0;
}

int CAesBlockCipher::EncryptBlock(const uint8_t* in, uint8_t* out) const {
  if (!initialised_) return 1;
  CipherBlock<true>(blockSize_, encryptKeys_, rounds_, in, out);
  return 0;
}

int CAesBlockCipher::DecryptBlock(const uint8_t* in, uint8_t* out) const {
  if (!initialised_) return 1;
  CipherBlock<false>(blockSize_, decryptKeys_, rounds_, in, out);
  return 0;
}

int CAesBlockCipher::CheckBuffer(size_t length) const {
  return !initialised_ || length == 0 || length % size_t(blockSize_) != 0;
}

int CAesBlockCipher::EncryptBuffer(uint8_t* out, const uint8_t* in, size_t length, int mode) {
  if (CheckBuffer(length)) return 1;
  uint8_t block[4 * kMaxBlockWords];
  for (size_t at = 0; at < length; at += blockSize_) {
    if (mode == kModeCbc) {
      std::memcpy(block, in + at, blockSize_);
      XorBytes(block, chain_, blockSize_);
      EncryptBlock(block, chain_);
      std::memcpy(out + at, chain_, blockSize_);
    } else if (mode == kModeCfb) {
      EncryptBlock(chain_, block);
      XorBytes(block, in + at, blockSize_);
      std::memcpy(chain_, block, blockSize_);
      std::memcpy(out + at, block, blockSize_);
    } else {
      EncryptBlock(in + at, out + at);
    }
  }
  return 0;
}

int CAesBlockCipher::DecryptBuffer(uint8_t* out, const uint8_t* in, size_t length, int mode) {
  if (CheckBuffer(length)) return 1;
  uint8_t block[4 * kMaxBlockWords];
  for (size_t at = 0; at < length; at += blockSize_) {
    if (mode == kModeCbc) {
      DecryptBlock(in + at, block);
      XorBytes(block, chain_, blockSize_);
      std::memcpy(chain_, in + at, blockSize_);
    } else if (mode == kModeCfb) {
      EncryptBlock(chain_, block);
      XorBytes(block, in + at, blockSize_);
      std::memcpy(chain_, in + at, blockSize_);
    } else {
      DecryptBlock(in + at, block);
    }
    std::memcpy(out + at, block, blockSize_);
  }
  return 0;
}
