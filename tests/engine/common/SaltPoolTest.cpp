#include <gtest/gtest.h>

#include <cstring>

#include "CipherState.h"
#include "CryptoTestSupport.h"
#include "SaltPool.h"
#include "StrongEncryption.h"
#include "WinZipAes.h"

namespace {

TEST(SaltPool, SaltLengthFollowsStrengthAndSaltsDiffer) {
  for (uint32_t strength = 1; strength <= 3; ++strength) {
    ZipCipherState zip{};
    zip.strength = strength;
    ASSERT_EQ(1, ZipMakeSalt(&zip));
    const size_t length = 4 * strength + 4;
    const Bytes first(zip.salt, zip.salt + 16);
    for (size_t i = length; i < 16; ++i) EXPECT_EQ(0, zip.salt[i]) << "byte " << i << " beyond the salt";
    ASSERT_EQ(1, ZipMakeSalt(&zip));
    EXPECT_NE(first, Bytes(zip.salt, zip.salt + 16));
    ZipSaltPoolEnd(&zip);
    EXPECT_EQ(nullptr, zip.saltPool.source);
  }
}

TEST(SaltPool, ReadsAcrossRefillsStayFresh) {
  SaltPool pool;
  ASSERT_EQ(1, SaltPoolInit(SaltEntropy, &pool));
  Bytes a(300), b(300);
  ASSERT_EQ(1, SaltPoolRead(a.data(), a.size(), &pool));  // crosses the 260-byte output once
  ASSERT_EQ(1, SaltPoolRead(b.data(), b.size(), &pool));
  EXPECT_NE(a, b);
  EXPECT_NE(Bytes(a.begin(), a.begin() + 40), Bytes(a.begin() + 260, a.end()));
  SaltPoolWipe(&pool);
}

// Beside the counter every draw carries the operating system's random bytes:
// two draws in a row differ well beyond the counter's eight bytes.
TEST(SaltPool, EntropyIsMoreThanTheCounter) {
  uint8_t a[64], b[64];
  ASSERT_EQ(64u, SaltEntropy(a, sizeof a));
  ASSERT_EQ(64u, SaltEntropy(b, sizeof b));
  EXPECT_NE(0, memcmp(a + 8, b + 8, 56));
  EXPECT_EQ(0u, SaltEntropy(a, 0));
}

size_t NoEntropy(uint8_t *, size_t) { return 0; }

size_t OneByteOfEntropy(uint8_t *buffer, size_t) {
  static uint8_t next = 0;
  buffer[0] = next++;
  return 1;
}

TEST(SaltPool, WithoutEntropyNothingIsDrawn) {
  SaltPool pool;
  EXPECT_EQ(0, SaltPoolInit(NoEntropy, &pool));
  uint8_t out[16] = {};
  EXPECT_EQ(0, SaltPoolRead(out, sizeof out, &pool));
  for (uint8_t b : out) EXPECT_EQ(0, b);

  // A source that gives a byte at a time is called until the pool is full.
  EXPECT_EQ(1, SaltPoolInit(OneByteOfEntropy, &pool));
  EXPECT_EQ(1, SaltPoolRead(out, sizeof out, &pool));
}

}  // namespace
