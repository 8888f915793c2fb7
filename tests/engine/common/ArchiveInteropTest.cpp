// Interchange with 7-Zip: WinZip AES archives it wrote are read here, and
// strongly encrypted archives written here are tested by it
// (tests/fixtures/crypto/check_strong_zip.py).
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "CipherState.h"
#include "Crc32.h"
#include "CryptoTestSupport.h"
#include "EncryptionKind.h"
#include "StrongMemberWriter.h"

namespace {

const std::string kWork = std::string(BRENNICOR_TEST_WORK) + "/crypto/";

uint16_t Get16(const Bytes &b, size_t at) { return uint16_t(b[at] | (b[at + 1] << 8)); }
uint32_t Get32(const Bytes &b, size_t at) { return Get16(b, at) | (uint32_t(Get16(b, at + 2)) << 16); }

struct LocalMember {
  uint16_t flags, method, modTime;
  uint32_t crc;
  Bytes extra, data;
};

bool ReadFirstMember(const Bytes &zip, LocalMember *m) {
  if (zip.size() < 30 || Get32(zip, 0) != 0x04034b50) return false;
  m->flags = Get16(zip, 6);
  m->method = Get16(zip, 8);
  m->modTime = Get16(zip, 10);
  m->crc = Get32(zip, 14);
  const uint32_t size = Get32(zip, 18);
  const size_t extraAt = 30 + Get16(zip, 26), dataAt = extraAt + Get16(zip, 28);
  if (dataAt + size > zip.size()) return false;
  m->extra.assign(zip.begin() + extraAt, zip.begin() + dataAt);
  m->data.assign(zip.begin() + dataAt, zip.begin() + dataAt + size);
  return true;
}

Bytes FindExtra(const Bytes &extra, uint16_t id) {
  for (size_t at = 0; at + 4 <= extra.size();) {
    const size_t length = 4 + Get16(extra, at + 2);
    if (at + length > extra.size()) break;
    if (Get16(extra, at) == id) return Bytes(extra.begin() + at, extra.begin() + at + length);
    at += length;
  }
  return Bytes();
}

TEST(ArchiveInterop, ReadsWinZipAesArchivesOf7Zip) {
  const Bytes plain = ReadFileBytes(kWork + "member.bin");
  ASSERT_FALSE(plain.empty()) << "7-Zip archives were not generated";
  for (int bits : {128, 192, 256}) {
    SCOPED_TRACE(bits);
    LocalMember m;
    ASSERT_TRUE(ReadFirstMember(ReadFileBytes(kWork + "winzip-aes" + std::to_string(bits) + ".zip"), &m));
    EXPECT_EQ(99, m.method);
    const Bytes aes = FindExtra(m.extra, kAesExtraId);
    ASSERT_EQ(size_t(kAesExtraLength), aes.size());
    EXPECT_EQ(0, Get16(aes, 9)) << "stored";

    MemberCryptFacts facts{};
    facts.centralFlags = m.flags;
    facts.localFlags = m.flags;
    facts.aesExtra = aes.data();
    facts.aesExtraLength = aes.size();
    EXPECT_EQ(uint16_t(Get16(aes, 4) << 8 | (bits / 64 - 1)), MemberEncryptionKind(&facts));

    UnzipCipherState state{};
    CipherBufferInput buffer{m.data.data(), m.data.size(), 0};
    CipherInput input = CipherInputOverBuffer(&buffer, int64_t(m.data.size()));
    ASSERT_EQ(0, DecryptionSetup(&state, &facts, "Secret pass", &input));
    ASSERT_EQ(int64_t(plain.size()), input.remaining);
    Bytes data(m.data.begin() + buffer.position, m.data.begin() + buffer.position + input.remaining);
    // Refills of an odd size, as the input layer hands them over.
    for (size_t at = 0; at < data.size(); at += 1000) {
      size_t length = std::min<size_t>(1000, data.size() - at);
      UnzipDecryptInput(&state, data.data() + at, &length, 0);
    }
    EXPECT_EQ(plain, data);
    WinZipAesAuthCode(state.authCode, &state.aes);
    EXPECT_EQ(ToHex(m.data.data() + m.data.size() - 10, 10), ToHex(state.authCode, 10));
    UnzipCipherStateRelease(&state);

    UnzipCipherState wrong{};
    buffer.position = 0;
    input = CipherInputOverBuffer(&buffer, int64_t(m.data.size()));
    EXPECT_EQ(44, DecryptionSetup(&wrong, &facts, "Secret pasS", &input));
    UnzipCipherStateRelease(&wrong);
  }
}

void Put16(Bytes &b, uint16_t v) {
  b.push_back(uint8_t(v));
  b.push_back(uint8_t(v >> 8));
}
void Put32(Bytes &b, uint32_t v) {
  Put16(b, uint16_t(v));
  Put16(b, uint16_t(v >> 16));
}

// One stored member, strongly encrypted, in the smallest zip that holds it.
Bytes StrongZip(const StrongMember &m, const Bytes &plain, uint32_t crc) {
  const std::string name = "member.txt";
  const uint16_t dosTime = 0x6000, dosDate = 0x5B8A;
  auto header = [&](Bytes &b, bool central) {
    if (central) Put16(b, 60);  // made by
    Put16(b, 51);               // needed: strong encryption
    Put16(b, kZipFlagEncrypted | kZipFlagStrongEncryption);
    Put16(b, 0);
    Put16(b, dosTime);
    Put16(b, dosDate);
    Put32(b, crc);
    Put32(b, uint32_t(m.bytes.size()));
    Put32(b, uint32_t(plain.size()));
    Put16(b, uint16_t(name.size()));
    Put16(b, uint16_t(m.extra.size()));
  };
  Bytes zip;
  Put32(zip, 0x04034b50);
  header(zip, false);
  zip.insert(zip.end(), name.begin(), name.end());
  zip.insert(zip.end(), m.extra.begin(), m.extra.end());
  zip.insert(zip.end(), m.bytes.begin(), m.bytes.end());
  const uint32_t centralAt = uint32_t(zip.size());
  Put32(zip, 0x02014b50);
  header(zip, true);
  Put16(zip, 0);  // comment
  Put16(zip, 0);  // disk
  Put16(zip, 0);  // internal attributes
  Put32(zip, 0);  // external attributes
  Put32(zip, 0);  // local header offset
  zip.insert(zip.end(), name.begin(), name.end());
  zip.insert(zip.end(), m.extra.begin(), m.extra.end());
  const uint32_t centralSize = uint32_t(zip.size()) - centralAt;
  Put32(zip, 0x06054b50);
  Put16(zip, 0);
  Put16(zip, 0);
  Put16(zip, 1);
  Put16(zip, 1);
  Put32(zip, centralSize);
  Put32(zip, centralAt);
  Put16(zip, 0);
  return zip;
}

TEST(ArchiveInterop, WritesStrongArchivesFor7Zip) {
  Bytes plain;
  for (int i = 0; i < 2000; ++i) plain.push_back(uint8_t("strong encryption\n"[i % 18]));
  const uint32_t crc = Crc32Continue(0, plain.data(), plain.size());
  const struct {
    const char *file;
    uint32_t strength;
    bool randomIv;
  } archives[] = {{"strong-aes128.zip", 1, true},
                  {"strong-aes192.zip", 2, true},
                  {"strong-aes256.zip", 3, true},
                  {"strong-aes256-crc-iv.zip", 3, false}};
  for (const auto &a : archives) {
    const StrongMember m = WriteStrongMember(a.strength, a.randomIv, "Right password", plain, crc, plain.size());
    const Bytes zip = StrongZip(m, plain, crc);
    WriteWholeFile(kWork + a.file, zip);
    EXPECT_EQ(zip, ReadFileBytes(kWork + a.file)) << a.file;
  }
}

}  // namespace
