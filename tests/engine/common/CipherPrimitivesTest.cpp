#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "Aes.h"
#include "CipherState.h"
#include "Crc32.h"
#include "CryptoTestSupport.h"
#include "HmacSha1.h"
#include "Pbkdf2.h"
#include "Sha1.h"
#include "TraditionalCipher.h"

namespace {

struct AesTest : ::testing::Test {
  std::unique_ptr<AesTableSet> tables{new AesTableSet()};
  AesKeySchedule schedule{};
};

const Bytes kFipsPlain = FromHex("00112233445566778899aabbccddeeff");

// FIPS-197 appendix C.
TEST_F(AesTest, FipsExampleVectorsForAllKeySizes) {
  const struct {
    const char *key, *cipher;
  } cases[] = {
      {"000102030405060708090a0b0c0d0e0f", "69c4e0d86a7b0430d8cdb78070b4c55a"},
      {"000102030405060708090a0b0c0d0e0f1011121314151617", "dda97ca4864cdfe06eaf70a0ec0d7191"},
      {"000102030405060708090a0b0c0d0e0f101112131415161718191a1b1c1d1e1f", "8ea2b7ca516745bfeafc49904b496089"},
  };
  for (const auto &c : cases) {
    const Bytes key = FromHex(c.key);
    uint8_t block[16];
    ASSERT_EQ(1, AesEncryptKey(key.data(), uint32_t(key.size()), &schedule, tables.get()));
    EXPECT_EQ(uint32_t(key.size() / 4 + 6), schedule.rounds);
    ASSERT_EQ(1, AesEncryptBlock(kFipsPlain.data(), block, &schedule));
    EXPECT_EQ(c.cipher, ToHex(block, 16));
    ASSERT_EQ(1, AesDecryptKey(key.data(), uint32_t(key.size()), &schedule, tables.get()));
    ASSERT_EQ(1, AesDecryptBlock(block, block, &schedule));  // in place
    EXPECT_EQ(ToHex(kFipsPlain), ToHex(block, 16));
  }
}

TEST_F(AesTest, KeyLengthInBytesOrBitsAndNothingElse) {
  const Bytes key = FromHex("000102030405060708090a0b0c0d0e0f101112131415161718191a1b1c1d1e1f");
  AesKeySchedule bits{};
  ASSERT_EQ(1, AesEncryptKey(key.data(), 16, &schedule, tables.get()));
  ASSERT_EQ(1, AesEncryptKey(key.data(), 128, &bits, tables.get()));
  EXPECT_EQ(0, memcmp(&schedule, &bits, sizeof schedule));

  for (uint32_t length : {20u, 64u, 0u, 8u, 512u}) {
    AesKeySchedule bad{};
    EXPECT_EQ(0, AesEncryptKey(key.data(), length, &bad, tables.get())) << length;
    EXPECT_EQ(0u, bad.rounds);
    uint8_t out[16];
    memset(out, 0xA5, sizeof out);
    EXPECT_EQ(0, AesEncryptBlock(kFipsPlain.data(), out, &bad));
    EXPECT_EQ(0, AesDecryptBlock(kFipsPlain.data(), out, &bad));
    for (uint8_t b : out) EXPECT_EQ(0xA5, b);
  }
}

TEST_F(AesTest, BlockRoutineRefusesTheOtherDirection) {
  const Bytes key(16, 7);
  uint8_t out[16] = {};
  ASSERT_EQ(1, AesEncryptKey(key.data(), 16, &schedule, tables.get()));
  EXPECT_EQ(0, AesDecryptBlock(kFipsPlain.data(), out, &schedule));
  ASSERT_EQ(1, AesDecryptKey(key.data(), 16, &schedule, tables.get()));
  EXPECT_EQ(0, AesEncryptBlock(kFipsPlain.data(), out, &schedule));
  for (uint8_t b : out) EXPECT_EQ(0, b);
}

std::string Sha1Hex(const Bytes &data) {
  uint8_t digest[20];
  Sha1Iterate(digest, data.data(), data.size(), 1);
  return ToHex(digest, 20);
}

TEST(Sha1, StandardVectors) {
  EXPECT_EQ("a9993e364706816aba3e25717850c26c9cd0d89d", Sha1Hex(FromText("abc")));
  // 56 bytes: the length no longer fits and a second padding block follows.
  EXPECT_EQ("84983e441c3bd26ebaae4aa1f95129e5e54670f1",
            Sha1Hex(FromText("abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq")));
  EXPECT_EQ("34aa973cd4c4daa4f61eeb2bdbad27316534016f", Sha1Hex(Bytes(1000000, 'a')));
}

TEST(Sha1, PiecesOfAnySizeGiveTheSameDigest) {
  Bytes message(700);
  for (size_t i = 0; i < message.size(); ++i) message[i] = uint8_t(i * 31 + 7);
  const std::string whole = Sha1Hex(message);
  for (size_t piece : {size_t(1), size_t(63), size_t(64), size_t(65), size_t(129)}) {
    Sha1Context c;
    Sha1Init(&c);
    for (size_t at = 0; at < message.size(); at += piece) {
      Sha1Update(message.data() + at, std::min(piece, message.size() - at), &c);
      Sha1Update(message.data(), 0, &c);  // empty pieces change nothing
    }
    uint8_t digest[20];
    Sha1Final(digest, &c);
    EXPECT_EQ(whole, ToHex(digest, 20)) << piece;
  }
}

TEST(Sha1, IterateRehashesTheDigest) {
  uint8_t once[20], twice[20], expected[20];
  const Bytes data = FromText("iterate");
  Sha1Iterate(once, data.data(), data.size(), 0);
  EXPECT_EQ(Sha1Hex(data), ToHex(once, 20));
  Sha1Iterate(twice, data.data(), data.size(), 2);
  Sha1Iterate(expected, once, 20, 1);
  EXPECT_EQ(ToHex(expected, 20), ToHex(twice, 20));
}

std::string Hmac(const Bytes &key, const Bytes &data, size_t macLength = 20) {
  HmacSha1Context c;
  uint8_t mac[20];
  HmacSha1Begin(&c);
  HmacSha1Key(key.data(), key.size(), &c);
  HmacSha1Data(data.data(), data.size(), &c);
  HmacSha1End(mac, macLength, &c);
  return ToHex(mac, macLength);
}

// RFC 2202, section 3.
TEST(HmacSha1, Rfc2202Vectors) {
  const struct {
    Bytes key, data;
    const char *mac;
  } cases[] = {
      {Bytes(20, 0x0b), FromText("Hi There"), "b617318655057264e28bc0b6fb378c8ef146be00"},
      {FromText("Jefe"), FromText("what do ya want for nothing?"), "effcdf6ae5eb2fa2d27416d5f184df9c259a7c79"},
      {Bytes(20, 0xaa), Bytes(50, 0xdd), "125d7342b9ac11cd91a39af48aa17b4f63f175d3"},
      {FromHex("0102030405060708090a0b0c0d0e0f10111213141516171819"), Bytes(50, 0xcd),
       "4c9007f4026250c6bc8414f9bf50c86c2d7235da"},
      {Bytes(20, 0x0c), FromText("Test With Truncation"), "4c1a03424b55e07fe7f27be1d58bb9324a9a5a04"},
      {Bytes(80, 0xaa), FromText("Test Using Larger Than Block-Size Key - Hash Key First"),
       "aa4ae5e15272d00e95705637ce8a3b55ed402112"},
      {Bytes(80, 0xaa), FromText("Test Using Larger Than Block-Size Key and Larger Than One Block-Size Data"),
       "e8e99d0f45237d786d6bbaa7965c7808bbff1a91"},
  };
  for (const auto &c : cases) EXPECT_EQ(c.mac, Hmac(c.key, c.data));
  EXPECT_EQ("4c1a03424b55e07fe7f27be1d58b", Hmac(Bytes(20, 0x0c), FromText("Test With Truncation"), 14));
}

TEST(HmacSha1, KeyInPiecesAndKeyAfterData) {
  Bytes key(150);
  for (size_t i = 0; i < key.size(); ++i) key[i] = uint8_t(i);
  const Bytes data = FromText("message");
  // Pieces that cross the 64-byte boundary at various points.
  for (size_t split : {size_t(1), size_t(63), size_t(64), size_t(65), size_t(100)}) {
    for (size_t length : {size_t(64), size_t(65), size_t(150)}) {
      if (split > length) continue;
      HmacSha1Context c;
      uint8_t mac[20];
      HmacSha1Begin(&c);
      EXPECT_EQ(0, HmacSha1Key(key.data(), split, &c));
      EXPECT_EQ(0, HmacSha1Key(key.data() + split, length - split, &c));
      HmacSha1Data(data.data(), data.size(), &c);
      HmacSha1End(mac, 20, &c);
      EXPECT_EQ(Hmac(Bytes(key.begin(), key.begin() + length), data), ToHex(mac, 20)) << split << " " << length;
    }
  }
  // A key over one block is the same as its digest as key (RFC 2104).
  uint8_t digest[20];
  Sha1Iterate(digest, key.data(), 65, 1);
  EXPECT_EQ(Hmac(Bytes(digest, digest + 20), data), Hmac(Bytes(key.begin(), key.begin() + 65), data));

  HmacSha1Context c, before;
  HmacSha1Begin(&c);
  HmacSha1Key(key.data(), 16, &c);
  HmacSha1Data(data.data(), data.size(), &c);
  before = c;
  EXPECT_EQ(-1, HmacSha1Key(key.data(), 16, &c));
  EXPECT_EQ(0, memcmp(&before, &c, sizeof c));
}

std::string Pbkdf2(const Bytes &password, const Bytes &salt, uint32_t iterations, size_t length) {
  Bytes key(length);
  Pbkdf2Sha1(password.data(), password.size(), salt.data(), salt.size(), iterations, key.data(), length);
  return ToHex(key);
}

// RFC 6070, without the case of 16,777,216 iterations.
TEST(Pbkdf2Sha1, Rfc6070Vectors) {
  const Bytes password = FromText("password"), salt = FromText("salt");
  EXPECT_EQ("0c60c80f961f0e71f3a9b524af6012062fe037a6", Pbkdf2(password, salt, 1, 20));
  EXPECT_EQ("ea6c014dc72d6f8ccd1ed92ace1d41f0d8de8957", Pbkdf2(password, salt, 2, 20));
  EXPECT_EQ("4b007901b765489abead49d926f721d065a429c1", Pbkdf2(password, salt, 4096, 20));
  EXPECT_EQ("3d2eec4fe41c849b80c8d83662c0e44a8b291a964cf2f07038",
            Pbkdf2(FromText("passwordPASSWORDpassword"), FromText("saltSALTsaltSALTsaltSALTsaltSALTsalt"), 4096, 25));
  EXPECT_EQ("56fa6aa75548099dcc37d7f03425e0c3", Pbkdf2(Bytes{'p', 'a', 's', 's', 0, 'w', 'o', 'r', 'd'},
                                                       Bytes{'s', 'a', 0, 'l', 't'}, 4096, 16));
  // Longer keys are the blocks in order, the last one cut.
  const std::string four = Pbkdf2(password, salt, 3, 80);
  EXPECT_EQ(four.substr(0, 68), Pbkdf2(password, salt, 3, 34));
  EXPECT_EQ(four.substr(0, 132), Pbkdf2(password, salt, 3, 66));
}

TEST(Crc32, CheckValueAndRunningForms) {
  UnzipCipherState state{};
  const Bytes digits = FromText("123456789");
  EXPECT_EQ(0xCBF43926u, UnzipCrc32(digits.data(), digits.size(), &state));
  state.runningCrc = 0;
  EXPECT_EQ(0u, UnzipCrc32(nullptr, 5, &state));
  // Two halves continue to the whole.
  state.runningCrc = 0;
  UnzipCrc32(digits.data(), 4, &state);
  EXPECT_EQ(0xCBF43926u, UnzipCrc32(digits.data() + 4, 5, &state));
  // The extraction's form: start at all ones, fold, complement at the end.
  state.runningCrc = 0xFFFFFFFF;
  UnzipCrcUpdate(digits.data(), 3, &state);
  UnzipCrcUpdate(digits.data() + 3, 6, &state);
  EXPECT_EQ(0xCBF43926u, ~state.runningCrc);
}

TEST(TraditionalCipher, KeysAndRoundTripBetweenTheSides) {
  UnzipCipherState unzip{};
  gTestThreadCipherState = &unzip;
  UnzipCryptInitKeys("");
  EXPECT_EQ(0x12345678u, unzip.keys.key0);
  EXPECT_EQ(0x23456789u, unzip.keys.key1);
  EXPECT_EQ(0x34567890u, unzip.keys.key2);

  ZipCipherState zip{};
  Bytes data = FromText("The zip side enciphers, the unzip side gets the plain bytes back.");
  const Bytes plain = data;
  ZipCryptInitKeys("secret", &zip);
  for (uint8_t &b : data) {
    const uint8_t p = b;
    b ^= ZipCryptDecryptByte(&zip);
    ZipCryptUpdateKeys(p, &zip);
  }
  EXPECT_NE(plain, data);
  UnzipCryptInitKeys("secret");
  for (uint8_t &b : data) {
    b ^= UnzipCryptDecryptByte();
    UnzipCryptUpdateKeys(b);
  }
  EXPECT_EQ(plain, data);

  // Without a state on the thread the unzip side does nothing.
  gTestThreadCipherState = nullptr;
  UnzipCryptInitKeys("other");
  EXPECT_EQ(0, UnzipCryptDecryptByte());
}

}  // namespace
