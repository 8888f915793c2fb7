#include "StrongMemberWriter.h"

#include <gtest/gtest.h>

#include "StrongEncryption.h"

StrongMember WriteStrongMember(uint32_t strength, bool randomIv, const char *password, const Bytes &plain,
                               uint32_t crc, uint64_t size) {
  ZipCipherState zip{};
  zip.strength = strength;
  zip.randomIv = randomIv;
  StrongMember m;
  m.extra.resize(16);
  StrongExtraField(strength, m.extra.data());
  EXPECT_EQ(0, StrongEncryptSetup(password, crc, size, &zip));
  m.headerLength = StrongDecryptionHeaderLength(&zip);
  m.bytes.resize(m.headerLength);
  EXPECT_EQ(m.headerLength, StrongWriteDecryptionHeader(&zip, m.bytes.data()));
  Bytes data = plain;
  data.resize(plain.size() + 16);
  size_t length = plain.size();
  StrongEncryptBlocks(data.data(), 1, &length, &zip);
  m.bytes.insert(m.bytes.end(), data.begin(), data.begin() + length);
  ZipCipherStateRelease(&zip);
  return m;
}
