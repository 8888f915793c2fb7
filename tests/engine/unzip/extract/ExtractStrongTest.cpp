// Strongly encrypted members, written with the engine's own writer: through
// function 10 (stored members of awkward sizes, Deflate data) and, in whole
// archives that 7-Zip checks afterwards, through function 8.
#include <gtest/gtest.h>
#include <cstring>
#include "../common/CipherState.h"
#include "../common/Crc32.h"
#include "../common/StrongEncryption.h"
#include "ExtractTestSupport.h"

namespace {

const char kPassword[] = "Strong pass 1";

struct StrongData {
  Bytes extra;  // the 0x0017 record
  Bytes bytes;  // decryption header and cipher text with its padding
};

StrongData Encipher(uint32_t strength, bool randomIv, const Bytes &data, uint32_t crc, uint64_t size) {
  ZipCipherState zip{};
  zip.strength = strength;
  zip.randomIv = randomIv;
  StrongData out;
  out.extra.resize(16);
  StrongExtraField(strength, out.extra.data());
  EXPECT_EQ(0, StrongEncryptSetup(kPassword, crc, size, &zip));
  out.bytes.resize(StrongDecryptionHeaderLength(&zip));
  StrongWriteDecryptionHeader(&zip, out.bytes.data());
  Bytes cipher = data;
  cipher.resize(data.size() + 16);
  size_t length = data.size();
  StrongEncryptBlocks(cipher.data(), 1, &length, &zip);
  out.bytes.insert(out.bytes.end(), cipher.begin(), cipher.begin() + length);
  ZipCipherStateRelease(&zip);
  return out;
}

Bytes Pattern(size_t n) {
  Bytes b(n);
  for (size_t i = 0; i < n; ++i) b[i] = static_cast<uint8_t>(i * 7 + i / 251);
  return b;
}

// The raw Deflate data of a member that Info-ZIP compressed, and its text.
struct DeflateSample {
  Bytes data;
  Bytes plain;
};
DeflateSample Sample() {
  Bytes record = ReadFileBytes(Work("stream/izip-6/0.rec"));
  size_t header = 46 + (record[28] | record[29] << 8) + (record[30] | record[31] << 8);
  return {Bytes(record.begin() + header, record.end()), ReadFileBytes(Work("stream/izip-6/0.out"))};
}

const uint16_t kStrongFlags = 0x41;

TEST(StrongStream, StoredMembersOfAwkwardSizesAndEveryStrength) {
  for (uint32_t strength = 1; strength <= 3; ++strength) {
    for (size_t size : {0, 1, 15, 16, 17, 8192, 61440, 100000}) {
      SCOPED_TRACE(testing::Message() << strength << " " << size);
      Bytes plain = Pattern(size);
      StrongData s = Encipher(strength, true, plain, 0, 0);
      StreamPartner partner;
      partner.record = StreamRecord(kStrongFlags, 0, "s.bin", s.extra, s.bytes);
      partner.chunk = size % 2 ? 1000 : 0xFFFFFFFF;
      EXPECT_EQ(0, RunStream(partner, kPassword));
      EXPECT_TRUE(plain == partner.output);
    }
  }
}

TEST(StrongStream, DeflateDataAndFailuresThatDoNotLinger) {
  DeflateSample sample = Sample();
  StrongData s = Encipher(3, true, sample.data, 0, 0);
  StreamPartner good;
  good.record = StreamRecord(kStrongFlags, 8, "a.txt", s.extra, s.bytes);
  StreamPartner wrong = good;
  EXPECT_EQ(44, RunStream(wrong, "not it"));
  StreamPartner badPadding = good;
  badPadding.record.back() ^= 0x5A;
  EXPECT_NE(0, RunStream(badPadding, kPassword));
  StreamPartner cut = good;
  cut.record.resize(cut.record.size() - 16);
  EXPECT_NE(0, RunStream(cut, kPassword));
  // The failures leave nothing behind for the next member.
  ASSERT_EQ(0, RunStream(good, kPassword));
  EXPECT_TRUE(sample.plain == good.output);
}

void PutLe(Bytes &b, uint64_t v, int n) {
  for (int i = 0; i < n; ++i) b.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

struct Member {
  std::string name;
  uint16_t method;
  Bytes stored;  // what the data holds before enciphering
  Bytes plain;
};

// An archive of strongly encrypted members, local headers, directory, end record.
Bytes StrongArchive(const std::vector<Member> &members, uint32_t strength, bool randomIv) {
  Bytes archive, directory;
  for (const Member &m : members) {
    uint32_t crc = Crc32Continue(0, m.plain.data(), m.plain.size());
    StrongData s = Encipher(strength, randomIv, m.stored, crc, m.plain.size());
    uint64_t offset = archive.size();
    auto fields = [&](Bytes &out) {
      PutLe(out, 51, 2);
      PutLe(out, kStrongFlags, 2);
      PutLe(out, m.method, 2);
      PutLe(out, 0x6000, 2);
      PutLe(out, 0x5621, 2);
      PutLe(out, crc, 4);
      PutLe(out, s.bytes.size(), 4);
      PutLe(out, m.plain.size(), 4);
      PutLe(out, m.name.size(), 2);
      PutLe(out, s.extra.size(), 2);
    };
    PutLe(archive, 0x04034b50, 4);
    fields(archive);
    archive.insert(archive.end(), m.name.begin(), m.name.end());
    archive.insert(archive.end(), s.extra.begin(), s.extra.end());
    archive.insert(archive.end(), s.bytes.begin(), s.bytes.end());
    PutLe(directory, 0x02014b50, 4);
    PutLe(directory, 51, 2);
    fields(directory);
    PutLe(directory, 0, 6);  // comment length, disk, internal attributes
    PutLe(directory, 0x20, 4);
    PutLe(directory, offset, 4);
    directory.insert(directory.end(), m.name.begin(), m.name.end());
    directory.insert(directory.end(), s.extra.begin(), s.extra.end());
  }
  uint64_t directoryOffset = archive.size();
  archive.insert(archive.end(), directory.begin(), directory.end());
  PutLe(archive, 0x06054b50, 4);
  PutLe(archive, 0, 4);
  PutLe(archive, members.size(), 2);
  PutLe(archive, members.size(), 2);
  PutLe(archive, directory.size(), 4);
  PutLe(archive, directoryOffset, 4);
  PutLe(archive, 0, 2);
  return archive;
}

TEST(StrongArchives, ExtractToFilesAndAreLeftForSevenZip) {
  DeflateSample sample = Sample();
  std::vector<Member> members = {{"empty.bin", 0, {}, {}},
                                 {"one.bin", 0, Pattern(1), Pattern(1)},
                                 {"block.bin", 0, Pattern(16), Pattern(16)},
                                 {"buffer.bin", 0, Pattern(61440), Pattern(61440)},
                                 {"a.txt", 8, sample.data, sample.plain}};
  CreateDirectoryA(Work("strong").c_str(), nullptr);
  int n = 0;
  for (uint32_t strength = 1; strength <= 3; ++strength) {
    for (bool randomIv : {false, true}) {
      std::string name = "strong/strong-" + std::to_string(n++);
      SCOPED_TRACE(name);
      WriteFileBytes(Work(name + ".zip"), StrongArchive(members, strength, randomIv));
      std::string out = Work(name);
      RemoveTree(out);
      CreateDirectoryA(out.c_str(), nullptr);
      UNZIPCMDSTRUCT command = Command(kUnzipExtract, Work(name + ".zip"));
      command.lpszFilespec = "*.*";
      command.lpszDestination = Kept(out);
      command.decryptFlag = 1;
      command.lpszDecryptCode = kPassword;
      Messages().clear();
      ASSERT_EQ(0, UnzipExecute(&command)) << (Messages().empty() ? "" : Messages()[0].text);
      for (const Member &m : members) EXPECT_TRUE(m.plain == ReadFileBytes(out + "/" + m.name)) << m.name;
    }
  }
}

// Deciphered data that is not what the CRC was made over fails the member.
TEST(StrongArchives, DecipheredDataIsCheckedAgainstTheCrc) {
  Bytes changed = Pattern(1000);
  changed[500] ^= 1;
  CreateDirectoryA(Work("strong").c_str(), nullptr);
  WriteFileBytes(Work("strong/changed.zip"), StrongArchive({{"a.bin", 0, changed, Pattern(1000)}}, 3, true));
  std::string out = Work("strong/changed");
  RemoveTree(out);
  CreateDirectoryA(out.c_str(), nullptr);
  UNZIPCMDSTRUCT command = Command(kUnzipExtract, Work("strong/changed.zip"));
  command.lpszFilespec = "*.*";
  command.lpszDestination = Kept(out);
  command.quietFlag = 1;
  command.decryptFlag = 1;
  command.lpszDecryptCode = kPassword;
  EXPECT_EQ(39, UnzipExecute(&command));
  EXPECT_FALSE(Exists(out + "/a.bin"));
}

}  // namespace
