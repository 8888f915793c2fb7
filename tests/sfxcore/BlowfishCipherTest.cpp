#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "BlowfishCipher.h"
#include "CipherVectorFile.h"

namespace {

int ModeNumber(const std::string& mode) { return mode == "cbc" ? 1 : mode == "cfb" ? 2 : 0; }

uint32_t Half(const std::vector<uint8_t>& iv, int which) {
  BlowfishBlock block;
  CBlowfishCipher::BlowfishLoadBlock(iv.data(), &block);
  return which ? block.right : block.left;
}

CBlowfishCipher Keyed(const std::vector<uint8_t>& key, uint32_t ivLeft = 0, uint32_t ivRight = 0) {
  CBlowfishCipher cipher;
  cipher.BlowfishInit(key.data(), int(key.size()), ivLeft, ivRight);
  return cipher;
}

// Published ECB vectors of the cipher's description (single blocks).
TEST(BlowfishCipher, PublishedEcbVectors) {
  struct Case {
    const char* key;
    const char* plain;
    const char* cipher;
  } cases[] = {
      {"0000000000000000", "0000000000000000", "4ef997456198dd78"},
      {"ffffffffffffffff", "ffffffffffffffff", "51866fd5b85ecb8a"},
      {"3000000000000000", "1000000000000001", "7d856f9a613063f2"},
      {"1111111111111111", "1111111111111111", "2466dd878b963c9d"},
      {"0123456789abcdef", "1111111111111111", "61f9c3802281b096"},
      {"1111111111111111", "0123456789abcdef", "7d0cc630afda1ec7"},
      {"fedcba9876543210", "0123456789abcdef", "0aceab0fc6a0a28d"},
  };
  for (const Case& c : cases) {
    CBlowfishCipher cipher = Keyed(FromHex(c.key));
    std::vector<uint8_t> plain = FromHex(c.plain), out(8), back(8);
    ASSERT_EQ(0, cipher.BlowfishEncryptBuffer(plain.data(), out.data(), 8, 0));
    EXPECT_EQ(FromHex(c.cipher), out) << c.key;
    ASSERT_EQ(0, cipher.BlowfishDecryptBuffer(out.data(), back.data(), 8, 0));
    EXPECT_EQ(plain, back) << c.key;
  }
}

TEST(BlowfishCipher, BuffersMatchAnIndependentLibrary) {
  std::vector<CipherVector> vectors = LoadCipherVectors("blowfish");
  ASSERT_FALSE(vectors.empty());
  for (const CipherVector& v : vectors) {
    CBlowfishCipher cipher = Keyed(v.key, Half(v.iv, 0), Half(v.iv, 1));
    std::vector<uint8_t> out(v.plain.size()), back(v.plain.size());
    int mode = ModeNumber(v.mode);
    ASSERT_EQ(0, cipher.BlowfishEncryptBuffer(v.plain.data(), out.data(), out.size(), mode));
    EXPECT_EQ(v.cipherText, out) << v.mode << " key " << v.key.size();
    ASSERT_EQ(0, cipher.BlowfishDecryptBuffer(v.cipherText.data(), back.data(), back.size(), mode));
    EXPECT_EQ(v.plain, back) << v.mode << " key " << v.key.size();
    // Every call starts from the IV again: a second call repeats the first.
    std::vector<uint8_t> again(out.size());
    cipher.BlowfishEncryptBuffer(v.plain.data(), again.data(), again.size(), mode);
    EXPECT_EQ(out, again);
  }
}

TEST(BlowfishCipher, KeyIsCutTo56Bytes) {
  std::vector<uint8_t> key(60);
  for (size_t i = 0; i < key.size(); i++) key[i] = uint8_t(i * 13 + 1);
  std::vector<uint8_t> first56(key.begin(), key.begin() + 56), plain(16, 0x42), a(16), b(16);
  Keyed(key).BlowfishEncryptBuffer(plain.data(), a.data(), 16, 0);
  Keyed(first56).BlowfishEncryptBuffer(plain.data(), b.data(), 16, 0);
  EXPECT_EQ(a, b);
}

TEST(BlowfishCipher, CfbFromZeroIvXorsTheEnciphedZeroBlock) {
  std::vector<uint8_t> key = FromHex("00112233445566778899aabbccddeeff"), plain = FromHex("0123456789abcdef");
  CBlowfishCipher cipher = Keyed(key);
  std::vector<uint8_t> zero(8, 0), pad(8), out(8);
  cipher.BlowfishEncryptBuffer(zero.data(), pad.data(), 8, 0);
  cipher.BlowfishEncryptBuffer(plain.data(), out.data(), 8, 2);
  for (int i = 0; i < 8; i++) EXPECT_EQ(uint8_t(plain[i] ^ pad[i]), out[i]);
}

TEST(BlowfishCipher, RefusesBadLengthsAndMissingKey) {
  std::vector<uint8_t> plain(16, 7), out(16, 0xEE);
  CBlowfishCipher cipher = Keyed(FromHex("0011223344556677"));
  for (size_t length : {0, 7, 9}) {
    EXPECT_EQ(1, cipher.BlowfishEncryptBuffer(plain.data(), out.data(), length, 1)) << length;
    EXPECT_EQ(1, cipher.BlowfishDecryptBuffer(plain.data(), out.data(), length, 1)) << length;
  }
  EXPECT_EQ(std::vector<uint8_t>(16, 0xEE), out);
  EXPECT_EQ(0, cipher.BlowfishEncryptBuffer(plain.data(), out.data(), 8, 1));
  EXPECT_EQ(0, cipher.BlowfishEncryptBuffer(plain.data(), out.data(), 16, 1));

  CBlowfishCipher unkeyed;
  unkeyed.BlowfishInit(nullptr, 0, 0, 0);
  EXPECT_EQ(1, unkeyed.BlowfishEncryptBuffer(plain.data(), out.data(), 8, 0));
}

}  // namespace
