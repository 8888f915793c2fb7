#include <gtest/gtest.h>

#include <vector>

#include "AesBlockCipher.h"
#include "CipherVectorFile.h"

namespace {

int ModeNumber(const std::string& mode) {
  return mode == "cbc" ? CAesBlockCipher::kModeCbc : mode == "cfb" ? CAesBlockCipher::kModeCfb : 0;
}

std::vector<uint8_t> Counting(size_t n) {
  std::vector<uint8_t> bytes(n);
  for (size_t i = 0; i < n; i++) bytes[i] = uint8_t(i);
  return bytes;
}

TEST(AesBlockCipher, Fips197ExampleVectors) {
  struct Case {
    const char* key;
    const char* plain;
    const char* cipher;
  } cases[] = {
      {"2b7e151628aed2a6abf7158809cf4f3c", "3243f6a8885a308d313198a2e0370734", "3925841d02dc09fbdc118597196a0b32"},
      {"000102030405060708090a0b0c0d0e0f", "00112233445566778899aabbccddeeff", "69c4e0d86a7b0430d8cdb78070b4c55a"},
      {"000102030405060708090a0b0c0d0e0f1011121314151617", "00112233445566778899aabbccddeeff",
       "dda97ca4864cdfe06eaf70a0ec0d7191"},
      {"000102030405060708090a0b0c0d0e0f101112131415161718191a1b1c1d1e1f", "00112233445566778899aabbccddeeff",
       "8ea2b7ca516745bfeafc49904b496089"},
  };
  for (const Case& c : cases) {
    std::vector<uint8_t> key = FromHex(c.key), plain = FromHex(c.plain), expected = FromHex(c.cipher);
    CAesBlockCipher aes;
    ASSERT_EQ(0, aes.MakeKey(int(key.size()), 16, nullptr, key.data()));
    uint8_t out[16], back[16];
    ASSERT_EQ(0, aes.EncryptBlock(plain.data(), out));
    EXPECT_EQ(expected, std::vector<uint8_t>(out, out + 16)) << c.key;
    ASSERT_EQ(0, aes.DecryptBlock(out, back));
    EXPECT_EQ(plain, std::vector<uint8_t>(back, back + 16)) << c.key;
  }
}

TEST(AesBlockCipher, BuffersMatchAnIndependentLibrary) {
  std::vector<CipherVector> vectors = LoadCipherVectors("aes");
  ASSERT_FALSE(vectors.empty());
  for (const CipherVector& v : vectors) {
    int mode = ModeNumber(v.mode);
    std::vector<uint8_t> out(v.plain.size()), back(v.plain.size());
    CAesBlockCipher encryptor, decryptor;
    ASSERT_EQ(0, encryptor.MakeKey(int(v.key.size()), 16, v.iv.data(), v.key.data()));
    ASSERT_EQ(0, decryptor.MakeKey(int(v.key.size()), 16, v.iv.data(), v.key.data()));
    ASSERT_EQ(0, encryptor.EncryptBuffer(out.data(), v.plain.data(), out.size(), mode));
    EXPECT_EQ(v.cipherText, out) << v.mode << " key " << v.key.size();
    ASSERT_EQ(0, decryptor.DecryptBuffer(back.data(), v.cipherText.data(), back.size(), mode));
    EXPECT_EQ(v.plain, back) << v.mode << " key " << v.key.size();
  }
}

TEST(AesBlockCipher, RoundsFollowTheLargerSize) {
  struct Case {
    int key, block, rounds;
  } cases[] = {{16, 16, 10}, {16, 24, 12}, {24, 32, 14}, {32, 16, 14}, {24, 16, 12}};
  std::vector<uint8_t> key = Counting(32);
  for (const Case& c : cases) {
    CAesBlockCipher aes;
    ASSERT_EQ(0, aes.MakeKey(c.key, c.block, nullptr, key.data()));
    EXPECT_EQ(c.rounds, aes.Rounds()) << c.key << "/" << c.block;
  }
}

TEST(AesBlockCipher, WideBlocksRoundTripInEveryMode) {
  std::vector<uint8_t> key = Counting(32), iv = Counting(32), plain(96);
  for (size_t i = 0; i < plain.size(); i++) plain[i] = uint8_t(i * 7 + 3);
  for (int block : {24, 32}) {
    for (int keyLength : {16, 24, 32}) {
      for (int mode : {0, 1, 2}) {
        CAesBlockCipher encryptor, decryptor;
        ASSERT_EQ(0, encryptor.MakeKey(keyLength, block, iv.data(), key.data()));
        ASSERT_EQ(0, decryptor.MakeKey(keyLength, block, iv.data(), key.data()));
        std::vector<uint8_t> out(plain.size()), back(plain.size());
        ASSERT_EQ(0, encryptor.EncryptBuffer(out.data(), plain.data(), out.size(), mode));
        EXPECT_NE(plain, out);
        ASSERT_EQ(0, decryptor.DecryptBuffer(back.data(), out.data(), back.size(), mode));
        EXPECT_EQ(plain, back) << "block " << block << " key " << keyLength << " mode " << mode;
      }
    }
  }
}

TEST(AesBlockCipher, ChainRunsOnAcrossCalls) {
  std::vector<uint8_t> key = Counting(16), iv = Counting(16), plain(32, 0x5A);
  for (int mode : {1, 2}) {
    CAesBlockCipher whole, split;
    whole.MakeKey(16, 16, iv.data(), key.data());
    split.MakeKey(16, 16, iv.data(), key.data());
    uint8_t once[32], twice[32];
    whole.EncryptBuffer(once, plain.data(), 32, mode);
    split.EncryptBuffer(twice, plain.data(), 16, mode);
    split.EncryptBuffer(twice + 16, plain.data() + 16, 16, mode);
    EXPECT_EQ(0, memcmp(once, twice, 32)) << mode;
  }
}

TEST(AesBlockCipher, BadCallsChangeNothing) {
  std::vector<uint8_t> key = Counting(16), iv = Counting(16), plain(48, 1);
  CAesBlockCipher unkeyed;
  uint8_t out[48] = {};
  EXPECT_EQ(1, unkeyed.EncryptBlock(plain.data(), out));
  EXPECT_EQ(1, unkeyed.EncryptBuffer(out, plain.data(), 16, 1));
  EXPECT_EQ(1, unkeyed.MakeKey(16, 16, iv.data(), nullptr));
  EXPECT_EQ(1, unkeyed.MakeKey(20, 16, iv.data(), key.data()));
  EXPECT_EQ(1, unkeyed.MakeKey(16, 8, iv.data(), key.data()));

  for (int mode : {0, 1, 2}) {
    CAesBlockCipher aes, reference;
    aes.MakeKey(16, 16, iv.data(), key.data());
    reference.MakeKey(16, 16, iv.data(), key.data());
    uint8_t untouched[48];
    memset(untouched, 0xEE, sizeof untouched);
    memcpy(out, untouched, sizeof out);
    EXPECT_EQ(1, aes.EncryptBuffer(out, plain.data(), 17, mode));
    EXPECT_EQ(1, aes.DecryptBuffer(out, plain.data(), 17, mode));
    EXPECT_EQ(1, aes.EncryptBuffer(out, plain.data(), 0, mode));
    EXPECT_EQ(0, memcmp(out, untouched, sizeof out));
    // The chain stands where it stood: both objects now agree.
    uint8_t a[16], b[16];
    aes.EncryptBuffer(a, plain.data(), 16, mode);
    reference.EncryptBuffer(b, plain.data(), 16, mode);
    EXPECT_EQ(0, memcmp(a, b, 16)) << mode;
  }
}

}  // namespace
