#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "CipherState.h"
#include "Crc32.h"
#include "CryptoTestSupport.h"
#include "EncryptionKind.h"
#include "StrongEncryption.h"
#include "StrongMemberWriter.h"

namespace {

const char kPassword[] = "strong password";

struct ReadResult {
  int code;
  int64_t remaining;
  Bytes plain;
};

ReadResult ReadMember(const StrongMember &m, const char *password = kPassword, uint32_t crc = 0x11223344,
                      uint64_t size = 0, const Bytes *extraOverride = nullptr) {
  UnzipCipherState state{};
  MemberCryptFacts facts{};
  facts.centralFlags = kZipFlagEncrypted | kZipFlagStrongEncryption;
  facts.crc32 = crc;
  facts.uncompressedSize = size;
  const Bytes &extra = extraOverride ? *extraOverride : m.extra;
  facts.strongExtra = extra.data();
  facts.strongExtraLength = extra.size();
  CipherBufferInput buffer{m.bytes.data(), m.bytes.size(), 0};
  CipherInput input = CipherInputOverBuffer(&buffer, int64_t(m.bytes.size()));
  ReadResult r{DecryptionSetup(&state, &facts, password, &input), input.remaining, {}};
  if (r.code == 0) {
    EXPECT_EQ(kEncryptStrong, state.kind);
    EXPECT_EQ(int64_t(m.bytes.size() - buffer.position), input.remaining);
    r.plain.assign(m.bytes.begin() + buffer.position, m.bytes.end());
    size_t length = r.plain.size();
    EXPECT_EQ(0, UnzipDecryptInput(&state, r.plain.data(), &length, 1));
    r.plain.resize(length);
  }
  UnzipCipherStateRelease(&state);
  return r;
}

const Bytes kPlain = FromText("Strong encryption: a decryption header, then AES-CBC with PKCS #7 padding.");

TEST(StrongEncryption, WrittenMembersReadBack) {
  for (uint32_t strength = 1; strength <= 3; ++strength) {
    const StrongMember m = WriteStrongMember(strength, true, kPassword, kPlain);
    EXPECT_EQ(size_t(166 + 144), m.headerLength);
    const ReadResult r = ReadMember(m);
    ASSERT_EQ(0, r.code) << strength;
    EXPECT_EQ(kPlain, r.plain);
  }
}

TEST(StrongEncryption, HeaderWithoutIvTakesCrcAndSize) {
  const StrongMember m = WriteStrongMember(3, false, kPassword, kPlain, 0xCAFEF00D, kPlain.size());
  EXPECT_EQ(size_t(150 + 144), m.headerLength);
  const ReadResult r = ReadMember(m, kPassword, 0xCAFEF00D, kPlain.size());
  ASSERT_EQ(0, r.code);
  EXPECT_EQ(kPlain, r.plain);
  EXPECT_EQ(44, ReadMember(m, kPassword, 0xCAFEF00E, kPlain.size()).code);
}

TEST(StrongEncryption, IvLongerThanSixteenBytesIsConsumedWhole) {
  StrongMember m = WriteStrongMember(1, true, kPassword, kPlain);
  m.bytes[0] = 20;
  m.bytes.insert(m.bytes.begin() + 18, {0xEE, 0xEE, 0xEE, 0xEE});
  const ReadResult r = ReadMember(m);
  ASSERT_EQ(0, r.code);
  EXPECT_EQ(kPlain, r.plain);
}

void Put16(Bytes &b, size_t at, uint16_t v) {
  b[at] = uint8_t(v);
  b[at + 1] = uint8_t(v >> 8);
}

TEST(StrongEncryption, BrokenHeaderFields) {
  const StrongMember good = WriteStrongMember(1, true, kPassword, kPlain);
  // Offsets in a header with a 16-byte IV: Size 18, Format 22, AlgID 24,
  // Bitlen 26, Flags 28, ErdSize 30, Erd 32, Reserved1 176, VSize 180.
  const struct {
    size_t offset;
    uint16_t value;
    int code;
  } cases[] = {
      {18, 0, 3},       {18, 100, 3},  // Size 0; Size shorter than the fields
      {22, 2, 3},       {24, kStrongAlgAes256, 3}, {26, 192, 3}, {28, 3, 3},
      {30, 0, 3},       {180, 0, 3},
      {176, 0xFFFF, 44}, // Reserved1 claims more than the member holds
  };
  for (const auto &c : cases) {
    StrongMember m = good;
    Put16(m.bytes, c.offset, c.value);
    if (c.offset == 176) Put16(m.bytes, 178, 0xFFFF);
    EXPECT_EQ(c.code, ReadMember(m).code) << c.offset;
  }
  StrongMember cut = good;
  cut.bytes.resize(100);
  EXPECT_EQ(44, ReadMember(cut).code);
}

TEST(StrongEncryption, ExtraFieldRefusals) {
  const StrongMember m = WriteStrongMember(1, true, kPassword, kPlain);
  const struct {
    size_t offset;
    uint16_t value;
  } cases[] = {{10, 0}, {6, 0x6601}, {4, 1}};  // no password flag, DES, format 1
  for (const auto &c : cases) {
    Bytes extra = m.extra;
    Put16(extra, c.offset, c.value);
    EXPECT_EQ(44, ReadMember(m, kPassword, 0x11223344, 0, &extra).code) << c.offset;
  }
}

TEST(StrongEncryption, WrongPasswordOrBrokenValidationGives44) {
  const StrongMember m = WriteStrongMember(2, true, kPassword, kPlain);
  EXPECT_EQ(44, ReadMember(m, "Strong password").code);
  EXPECT_EQ(44, ReadMember(m, "").code);
  // The random data still deciphers, but the validation CRC no longer holds.
  StrongMember broken = m;
  broken.bytes[m.headerLength - 40] ^= 0x01;
  EXPECT_EQ(44, ReadMember(broken).code);
}

// Encipher and decipher states sharing one key.
struct CbcPair {
  ZipCipherState zip{};
  UnzipCipherState unzip{};
  CbcPair() {
    uint8_t digest[20] = {1, 2, 3};
    EXPECT_EQ(0, StrongEncryptKeyInit(128, digest, &zip));
    EXPECT_EQ(0, StrongDecryptKeyInit(128, digest, &unzip));
  }
  ~CbcPair() {
    ZipCipherStateRelease(&zip);
    UnzipCipherStateRelease(&unzip);
  }
};

TEST(StrongEncryption, EncipherPadsOnlyOnTheLastCall) {
  CbcPair pair;
  Bytes data(128 + 16, 0x61);
  size_t length = 128;
  EXPECT_EQ(0, StrongEncryptBlocks(data.data(), 1, &length, &pair.zip));
  EXPECT_EQ(144u, length);
  size_t plain = length;
  EXPECT_EQ(0, StrongDecryptBlocks(data.data(), 0, &plain, &pair.unzip));
  EXPECT_EQ(Bytes(16, 0x10), Bytes(data.begin() + 128, data.end()));

  Bytes twenty(20, 0x62);
  length = 20;
  EXPECT_EQ(0, StrongEncryptBlocks(twenty.data(), 0, &length, &pair.zip));
  EXPECT_EQ(16u, length);
  EXPECT_EQ(Bytes(4, 0x62), Bytes(twenty.begin() + 16, twenty.end()));  // the tail waits for the next call
}

TEST(StrongEncryption, DecipherChecksPaddingOnTheLastCall) {
  const struct {
    uint8_t padByte;
    size_t padCount;
    int code;
    size_t plainLength;
  } cases[] = {{0, 1, 4, 0}, {17, 1, 4, 0}, {1, 1, 0, 31}, {16, 16, 0, 16}, {2, 1, 4, 0}};
  for (const auto &c : cases) {
    CbcPair pair;
    Bytes data(32, 0x30);
    std::fill(data.end() - c.padCount, data.end(), c.padByte);
    size_t length = 32;
    StrongEncryptBlocks(data.data(), 0, &length, &pair.zip);
    EXPECT_EQ(c.code, StrongDecryptBlocks(data.data(), 1, &length, &pair.unzip)) << int(c.padByte);
    if (c.code == 0) {
      EXPECT_EQ(c.plainLength, length);
    }
  }
  CbcPair pair;
  Bytes twenty(20);
  size_t length = 20;
  EXPECT_EQ(3, StrongDecryptBlocks(twenty.data(), 0, &length, &pair.unzip));
  EXPECT_EQ(0u, length);
  length = 0;
  EXPECT_EQ(4, StrongDecryptBlocks(twenty.data(), 1, &length, &pair.unzip));  // padding is never absent
}

TEST(StrongEncryption, KeySetUpTakesOnlyAesBitLengths) {
  const uint8_t digest[20] = {};
  for (uint32_t bits : {0u, 16u, 64u, 160u, 512u}) {
    ZipCipherState zip{};
    UnzipCipherState unzip{};
    EXPECT_EQ(1, StrongEncryptKeyInit(bits, digest, &zip)) << bits;
    EXPECT_EQ(1, StrongDecryptKeyInit(bits, digest, &unzip)) << bits;
    EXPECT_EQ(0u, zip.strongKey.ready);
    EXPECT_EQ(nullptr, unzip.tables);
    size_t length = 16;
    uint8_t block[16] = {};
    EXPECT_EQ(3, StrongDecryptBlocks(block, 0, &length, &unzip));
    ZipCipherStateRelease(&zip);
    UnzipCipherStateRelease(&unzip);
  }
}

TEST(StrongEncryption, ValidationBlockCarriesTheCrcOfItsData) {
  ZipCipherState zip{};
  zip.strength = 1;
  zip.randomIv = 1;
  ASSERT_EQ(0, StrongEncryptSetup(kPassword, 0, 0, &zip));
  EXPECT_EQ(144u, zip.encRandomLength);
  const Bytes validation(zip.validation, zip.validation + 128);

  // Decipher with the file key the reader derives, from the IV.
  UnzipCipherState unzip{};
  Bytes material(zip.iv, zip.iv + 16);
  material.insert(material.end(), zip.randomData, zip.randomData + 128);
  uint8_t digest[20];
  Sha1Iterate(digest, material.data(), material.size(), 1);
  ASSERT_EQ(0, StrongDecryptKeyInit(128, digest, &unzip));
  memcpy(unzip.strongKey.chain, zip.iv, 16);
  Bytes plain = validation;
  size_t length = plain.size();
  ASSERT_EQ(0, StrongDecryptBlocks(plain.data(), 0, &length, &unzip));
  const uint32_t crc = Crc32Continue(0, plain.data(), 124);
  EXPECT_EQ(crc, uint32_t(plain[124] | plain[125] << 8 | plain[126] << 16 | uint32_t(plain[127]) << 24));
  ZipCipherStateRelease(&zip);
  UnzipCipherStateRelease(&unzip);
}

}  // namespace
