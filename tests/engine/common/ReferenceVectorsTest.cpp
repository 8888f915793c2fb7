// The primitives against vectors that zlib, hashlib and the cryptography
// package computed over random inputs (made by tests/fixtures/crypto/make_vectors.py).
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <memory>
#include <sstream>

#include "Aes.h"
#include "CipherState.h"
#include "Crc32.h"
#include "CryptoTestSupport.h"
#include "HmacSha1.h"
#include "Pbkdf2.h"
#include "Sha1.h"
#include "StrongEncryption.h"
#include "WinZipAesContext.h"

namespace {

std::string Crc(std::istringstream &in) {
  std::string data;
  in >> data;
  const Bytes d = FromHex(data);
  char hex[9];
  snprintf(hex, sizeof hex, "%08x", Crc32Continue(0, d.data(), d.size()));
  return hex;
}

std::string Sha(std::istringstream &in) {
  std::string data;
  in >> data;
  const Bytes d = FromHex(data);
  uint8_t digest[20];
  Sha1Iterate(digest, d.data(), d.size(), 1);
  return ToHex(digest, 20);
}

std::string Hmac(std::istringstream &in) {
  std::string key, data;
  in >> key >> data;
  const Bytes k = FromHex(key), d = FromHex(data);
  HmacSha1Context c;
  uint8_t mac[20];
  HmacSha1Begin(&c);
  HmacSha1Key(k.data(), k.size(), &c);
  HmacSha1Data(d.data(), d.size(), &c);
  HmacSha1End(mac, 20, &c);
  return ToHex(mac, 20);
}

std::string Pbkdf(std::istringstream &in) {
  std::string password, salt;
  uint32_t iterations;
  size_t length;
  in >> password >> salt >> iterations >> length;
  const Bytes p = FromHex(password), s = FromHex(salt);
  Bytes key(length);
  Pbkdf2Sha1(p.data(), p.size(), s.data(), s.size(), iterations, key.data(), length);
  return ToHex(key);
}

std::string AesBlock(std::istringstream &in) {
  std::string key, plain;
  in >> key >> plain;
  const Bytes k = FromHex(key);
  Bytes block = FromHex(plain);
  std::unique_ptr<AesTableSet> tables(new AesTableSet());
  AesKeySchedule schedule{};
  AesEncryptKey(k.data(), uint32_t(k.size()), &schedule, tables.get());
  AesEncryptBlock(block.data(), block.data(), &schedule);
  return ToHex(block);
}

// WinZip AES counter mode over the data in uneven pieces.
std::string Ctr(std::istringstream &in) {
  std::string key, data;
  in >> key >> data;
  const Bytes k = FromHex(key);
  Bytes d = FromHex(data);
  std::unique_ptr<AesTableSet> tables(new AesTableSet());
  WinZipAesContext c{};
  c.keyStreamPosition = 16;
  AesEncryptKey(k.data(), uint32_t(k.size()), &c.schedule, tables.get());
  for (size_t at = 0, piece = 1; at < d.size(); at += piece, piece = piece * 3 % 37 + 1)
    AesCtrCrypt(&c, d.data() + at, std::min(piece, d.size() - at));
  return d.empty() ? "-" : ToHex(d);
}

// Strong encryption's CBC with padding, enciphered by the writer and read back.
std::string Cbc(std::istringstream &in, std::string *roundTrip) {
  std::string key, iv, data;
  in >> key >> iv >> data;
  const Bytes k = FromHex(key), v = FromHex(iv), plain = FromHex(data);
  ZipCipherState zip{};
  zip.tables = static_cast<AesTableSet *>(calloc(1, sizeof(AesTableSet)));
  AesEncryptKey(k.data(), uint32_t(k.size()), &zip.aes.schedule, zip.tables);
  zip.strongKey.ready = 1;
  memcpy(zip.strongKey.chain, v.data(), 16);
  Bytes buffer = plain;
  buffer.resize(plain.size() + 16);
  size_t length = plain.size();
  StrongEncryptBlocks(buffer.data(), 1, &length, &zip);
  buffer.resize(length);
  ZipCipherStateRelease(&zip);

  UnzipCipherState unzip{};
  unzip.tables = static_cast<AesTableSet *>(calloc(1, sizeof(AesTableSet)));
  AesDecryptKey(k.data(), uint32_t(k.size()), &unzip.aes.schedule, unzip.tables);
  unzip.strongKey.ready = 1;
  memcpy(unzip.strongKey.chain, v.data(), 16);
  Bytes back = buffer;
  size_t backLength = back.size();
  *roundTrip = StrongDecryptBlocks(back.data(), 1, &backLength, &unzip) == 0 &&
                       Bytes(back.begin(), back.begin() + backLength) == plain
                   ? "ok"
                   : "differs";
  UnzipCipherStateRelease(&unzip);
  return ToHex(buffer);
}

TEST(ReferenceVectors, EveryPrimitiveMatches) {
  std::ifstream file(std::string(BRENNICOR_TEST_WORK) + "/crypto/vectors.txt");
  ASSERT_TRUE(file.good()) << "vectors were not generated";
  std::string line;
  int cases = 0;
  while (std::getline(file, line)) {
    std::istringstream in(line);
    std::string kind, got, expected, roundTrip = "ok";
    in >> kind;
    if (kind == "crc") got = Crc(in);
    else if (kind == "sha1") got = Sha(in);
    else if (kind == "hmac") got = Hmac(in);
    else if (kind == "pbkdf2") got = Pbkdf(in);
    else if (kind == "aes") got = AesBlock(in);
    else if (kind == "ctr") got = Ctr(in);
    else if (kind == "cbc") got = Cbc(in, &roundTrip);
    else FAIL() << "unknown case " << kind;
    in >> expected;
    EXPECT_EQ(expected, got) << line;
    EXPECT_EQ("ok", roundTrip) << line;
    ++cases;
  }
  EXPECT_GT(cases, 0);
}

}  // namespace
