#include <gtest/gtest.h>

#include <cstring>

#include "CipherState.h"
#include "CryptoTestSupport.h"
#include "EncryptionKind.h"
#include "WinZipAes.h"

namespace {

const char kPassword[] = "winzip";

Bytes AesExtra(uint16_t version, uint8_t strength, const char *vendor = "AE") {
  return Bytes{0x01, 0x99, 7, 0, uint8_t(version), uint8_t(version >> 8), uint8_t(vendor[0]), uint8_t(vendor[1]),
               strength, 0, 0};
}

// A member as the zip side writes it: salt, verifier, enciphered data, code.
Bytes WriteMember(uint32_t strength, const Bytes &plain) {
  ZipCipherState zip{};
  zip.strength = strength;
  EXPECT_EQ(1, ZipAesStateAlloc(&zip));
  EXPECT_EQ(1, ZipMakeSalt(&zip));
  uint8_t verifier[2];
  EXPECT_EQ(0, WinZipAesInit(strength, kPassword, uint32_t(strlen(kPassword)), zip.salt, verifier, &zip.aes, &zip));
  Bytes member(zip.salt, zip.salt + WinZipAesSaltLength(strength));
  member.insert(member.end(), verifier, verifier + 2);
  Bytes data = plain;
  WinZipAesEncrypt(data.data(), data.size(), &zip.aes);
  member.insert(member.end(), data.begin(), data.end());
  uint8_t code[10];
  EXPECT_EQ(10, WinZipAesAuthCode(code, &zip.aes));
  member.insert(member.end(), code, code + 10);
  ZipCipherStateRelease(&zip);
  return member;
}

struct ReadResult {
  int code;
  int64_t remaining;
  uint32_t strength;
  Bytes plain;
  bool authentic;
};

ReadResult ReadMember(const Bytes &member, const Bytes &extra, const char *password = kPassword,
                      bool extraInLocalOnly = false) {
  UnzipCipherState state{};
  MemberCryptFacts facts{};
  facts.centralFlags = kZipFlagEncrypted;
  if (extraInLocalOnly) {
    facts.localHasAesExtra = 1;
  } else {
    facts.aesExtra = extra.data();
    facts.aesExtraLength = extra.size();
  }
  CipherBufferInput buffer{member.data(), member.size(), 0};
  CipherInput input = CipherInputOverBuffer(&buffer, int64_t(member.size()));
  ReadResult r{DecryptionSetup(&state, &facts, password, &input), input.remaining, state.strength, {}, false};
  if (r.code == 0) {
    EXPECT_EQ(kEncryptWinZipAes, state.kind);
    EXPECT_EQ(1u, state.decryptInput);
    r.plain.assign(member.begin() + buffer.position, member.begin() + buffer.position + input.remaining);
    size_t length = r.plain.size();
    UnzipDecryptInput(&state, r.plain.data(), &length, 0);
    WinZipAesAuthCode(state.authCode, &state.aes);
    r.authentic = memcmp(state.authCode, member.data() + member.size() - 10, 10) == 0;
  }
  UnzipCipherStateRelease(&state);
  return r;
}

TEST(WinZipAes, WrittenMembersReadBackForEveryStrengthAndVersion) {
  const Bytes plain = FromText("Counter mode with a little-endian counter, authenticated by HMAC-SHA1.");
  for (uint32_t strength = 1; strength <= 3; ++strength)
    for (uint16_t version : {1, 2}) {
      const ReadResult r = ReadMember(WriteMember(strength, plain), AesExtra(version, uint8_t(strength)));
      ASSERT_EQ(0, r.code) << strength;
      EXPECT_EQ(strength, r.strength);
      EXPECT_EQ(int64_t(plain.size()), r.remaining);
      EXPECT_EQ(plain, r.plain);
      EXPECT_TRUE(r.authentic);
    }
}

TEST(WinZipAes, HeaderRefusals) {
  const Bytes plain(40, 'x');
  const Bytes member = WriteMember(1, plain);
  EXPECT_EQ(44, ReadMember(member, AesExtra(2, 1), "wrong").code);
  EXPECT_EQ(44, ReadMember(member, AesExtra(2, 1), "").code);
  EXPECT_EQ(44, ReadMember(member, AesExtra(2, 4)).code);        // 4 & 3 is 0
  EXPECT_EQ(0, ReadMember(member, AesExtra(2, 5)).code);         // 5 & 3 is 1: AES-128
  EXPECT_EQ(44, ReadMember(member, AesExtra(3, 1)).code);        // vendor version
  EXPECT_EQ(44, ReadMember(member, AesExtra(2, 1, "AX")).code);  // vendor id
  EXPECT_EQ(44, ReadMember(member, AesExtra(2, 1), kPassword, true).code);
  Bytes shortExtra = AesExtra(2, 1);
  shortExtra.resize(9);
  EXPECT_EQ(44, ReadMember(member, shortExtra).code);
  EXPECT_EQ(44, ReadMember(member, AesExtra(2, 1), std::string(129, 'p').c_str()).code);

  // An empty member is salt, verifier and code alone; one byte less is no member.
  const Bytes empty = WriteMember(1, Bytes());
  const ReadResult r = ReadMember(empty, AesExtra(2, 1));
  EXPECT_EQ(0, r.code);
  EXPECT_EQ(0, r.remaining);
  const Bytes cut(empty.begin(), empty.end() - 1);
  EXPECT_EQ(44, ReadMember(cut, AesExtra(2, 1)).code);

  Bytes tampered = member;
  tampered[20] ^= 1;
  EXPECT_FALSE(ReadMember(tampered, AesExtra(2, 1)).authentic);
}

TEST(WinZipAes, CounterModeIsAStreamFromCounterOne) {
  AesTableSet *tables = new AesTableSet();
  const Bytes key(16, 0x42);
  WinZipAesContext one{}, split{};
  for (WinZipAesContext *c : {&one, &split}) {
    c->keyStreamPosition = 16;
    AesEncryptKey(key.data(), 16, &c->schedule, tables);
  }
  Bytes a(17, 0), b(17, 0);
  AesCtrCrypt(&one, a.data(), 17);
  AesCtrCrypt(&split, b.data(), 16);
  AesCtrCrypt(&split, b.data() + 16, 1);
  EXPECT_EQ(a, b);
  uint8_t counter[16] = {1}, stream[16];
  AesEncryptBlock(counter, stream, &one.schedule);
  EXPECT_EQ(ToHex(stream, 16), ToHex(a.data(), 16));

  // The carry runs through the first eight bytes and stops there.
  memset(one.counter, 0xFF, 8);
  one.counter[8] = 0x11;
  one.keyStreamPosition = 16;
  AesCtrCrypt(&one, a.data(), 1);
  uint8_t expected[16] = {};
  expected[8] = 0x11;
  EXPECT_EQ(ToHex(expected, 16), ToHex(one.counter, 16));
  delete tables;
}

TEST(WinZipAes, KeySetUpResults) {
  ZipCipherState zip{};
  ASSERT_EQ(1, ZipAesStateAlloc(&zip));
  uint8_t verifier[2];
  const std::string longPassword(129, 'p');
  EXPECT_EQ(-100, WinZipAesInit(1, longPassword.c_str(), 129, zip.salt, verifier, &zip.aes, &zip));
  EXPECT_EQ(-101, WinZipAesInit(0, "p", 1, zip.salt, verifier, &zip.aes, &zip));
  EXPECT_EQ(-101, WinZipAesInit(4, "p", 1, zip.salt, verifier, &zip.aes, &zip));
  EXPECT_EQ(0, WinZipAesInit(3, longPassword.c_str(), 128, zip.salt, verifier, &zip.aes, &zip));
  ZipCipherStateRelease(&zip);
  EXPECT_EQ(0, UnzipAesStateAlloc(nullptr));
}

TEST(EncryptionKind, CodeTable) {
  const Bytes strong128 = {0x17, 0, 12, 0, 2, 0, 0x0E, 0x66, 128, 0, 1, 0, 0, 0, 0, 0};
  auto strongWith = [&](uint16_t algId) {
    Bytes e = strong128;
    e[6] = uint8_t(algId);
    e[7] = uint8_t(algId >> 8);
    return e;
  };
  struct Case {
    uint16_t flags;
    Bytes aes, strong;
    uint16_t code;
  };
  const Case cases[] = {
      {0, AesExtra(2, 1), {}, 0x0000},
      {1, AesExtra(1, 1), {}, 0x0101},
      {1, AesExtra(1, 3), {}, 0x0103},
      {1, AesExtra(1, 7), {}, 0x01FF},
      {1, AesExtra(2, 2), {}, 0x0202},
      {1, AesExtra(2, 0), {}, 0x02FF},
      {1, AesExtra(9, 1), {}, 0xFF00},
      {1, {}, {}, 0x0000},
      {0x41, {}, {}, 0xFF00},
      {0x41, {}, strong128, 0x0801},
      {0x41, {}, strongWith(0x660F), 0x0802},
      {0x41, {}, strongWith(0x6610), 0x0803},
      {0x41, {}, strongWith(0x6601), 0x0900},
      {0x41, {}, strongWith(0x6609), 0x0A00},
      {0x41, {}, strongWith(0x6603), 0x0B00},
      {0x41, {}, strongWith(0x6602), 0x0C00},
      {0x41, {}, strongWith(0x6702), 0x0D00},
      {0x41, {}, strongWith(0x6801), 0x0E00},
      {0x41, {}, strongWith(0xFFFF), 0xFF00},
      {0x41, {}, strongWith(0x1234), 0x0000},
      {0x01, {}, strong128, 0x0000},
  };
  for (const Case &c : cases) {
    MemberCryptFacts facts{};
    facts.centralFlags = c.flags;
    if (!c.aes.empty()) facts.aesExtra = c.aes.data(), facts.aesExtraLength = c.aes.size();
    if (!c.strong.empty()) facts.strongExtra = c.strong.data(), facts.strongExtraLength = c.strong.size();
    EXPECT_EQ(c.code, MemberEncryptionKind(&facts)) << std::hex << c.code;
  }
}

// A traditional header as the writer makes it: ten random bytes, then the
// check byte XOR 0xFF and the check byte, enciphered.
Bytes TraditionalHeader(const char *password, uint8_t check) {
  Bytes header = {9, 8, 7, 6, 5, 4, 3, 2, 1, 0, uint8_t(check ^ 0xFF), check};
  TraditionalKeys keys;
  TraditionalInitKeys(&keys, password);
  TraditionalEncrypt(&keys, header.data(), header.size());
  return header;
}

TEST(TraditionalEncryption, HeaderCheckByte) {
  MemberCryptFacts facts{};
  facts.centralFlags = kZipFlagEncrypted;
  facts.crc32 = 0xAB000000;
  facts.localModTime = 0xCD00;
  struct Case {
    uint16_t localFlags;
    uint8_t headerCheck;
    const char *password;
    int result;
  };
  const Case cases[] = {
      {0, 0xAB, "pw", 0},
      {0, 0xCD, "pw", 44},
      {kZipFlagDataDescriptor, 0xCD, "pw", 0},
      {kZipFlagDataDescriptor, 0xAB, "pw", 44},  // the CRC's byte where the time's belongs
      {0, 0xAB, "", 44},
  };
  for (const Case &c : cases) {
    facts.localFlags = c.localFlags;
    const Bytes member = TraditionalHeader("pw", c.headerCheck);
    UnzipCipherState state{};
    CipherBufferInput buffer{member.data(), member.size(), 0};
    CipherInput input = CipherInputOverBuffer(&buffer, int64_t(member.size()));
    EXPECT_EQ(c.result, DecryptionSetup(&state, &facts, c.password, &input)) << c.localFlags << " " << c.result;
    EXPECT_EQ(c.result == 0, state.decryptInput == 1);
  }
  EXPECT_EQ(-1, TraditionalHeaderCheck(TraditionalHeader("pw", 1).data(), "pw", 1, nullptr));
}

TEST(TraditionalEncryption, DataAfterTheHeaderDeciphers) {
  Bytes member = {9, 8, 7, 6, 5, 4, 3, 2, 1, 0, 0x54, 0xAB};
  const Bytes plain = FromText("traditional member data");
  member.insert(member.end(), plain.begin(), plain.end());
  TraditionalKeys keys;
  TraditionalInitKeys(&keys, "pw");
  TraditionalEncrypt(&keys, member.data(), member.size());

  MemberCryptFacts facts{};
  facts.crc32 = 0xAB123456;
  UnzipCipherState state{};
  CipherBufferInput buffer{member.data(), member.size(), 0};
  CipherInput input = CipherInputOverBuffer(&buffer, int64_t(member.size()));
  ASSERT_EQ(0, DecryptionSetup(&state, &facts, "pw", &input));
  EXPECT_EQ(int64_t(plain.size()), input.remaining);
  Bytes data(member.begin() + 12, member.end());
  size_t length = data.size();
  EXPECT_EQ(0, UnzipDecryptInput(&state, data.data(), &length, 0));
  EXPECT_EQ(plain, data);
}

}  // namespace
