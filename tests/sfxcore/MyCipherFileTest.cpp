#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "MyCipherFile.h"
#include "SfxcoreTestFiles.h"

namespace {

const size_t kLineBuffer = 0x4000;

// Lines the Python check decrypts again with an independent library.
const std::vector<std::string> kProjectLines = {
    "PRJ_TAG = _KORVANE_BRENNICOR_PRJ_", "", "exactly sixteen!", "exactly sixteen!",
    "ABOUT_BOX_TEXT = first line\r\nsecond line", std::string(0x3FF0, 'L'),
};

TEST(MyCipherFile, RecordsComeBackInOrderThenTheEndGivesACode) {
  const std::string path = WorkPath("sfxcore-record-file.bin");
  WriteRecordLines(path, kProjectLines);

  CMyCipherFile file;
  ASSERT_EQ(CMyCipherFile::kDone, file.Open(path.c_str(), 1));
  std::vector<char> buffer(kLineBuffer);
  for (const std::string& line : kProjectLines) {
    ASSERT_EQ(CMyCipherFile::kDone, file.ReadRecord(buffer.data(), buffer.size()));
    EXPECT_EQ(line, std::string(buffer.data()));
  }
  EXPECT_EQ(CMyCipherFile::kEndOfFile, file.ReadRecord(buffer.data(), buffer.size()));
  file.Close();
  EXPECT_EQ(CMyCipherFile::kNotOpen, file.ReadRecord(buffer.data(), buffer.size()));

  // Record lengths: 0 for the empty text, 16 with no padding for sixteen
  // characters, and two equal texts enciphered differently (the chain runs on).
  const std::string bytes = ReadBytes(path);
  const size_t second = 12 + 4 + 48;
  ASSERT_GT(bytes.size(), second + 4 + 4 + 16 + 4 + 16);
  EXPECT_EQ(std::string("\0\0\0\0", 4), bytes.substr(second, 4));
  EXPECT_EQ(std::string("\x10\0\0\0", 4), bytes.substr(second + 4, 4));
  EXPECT_NE(bytes.substr(second + 8, 16), bytes.substr(second + 8 + 20, 16));
}

TEST(MyCipherFile, WritingRefusesWhatReadingWouldRefuse) {
  CMyCipherFile file;
  EXPECT_EQ(CMyCipherFile::kNotOpen, file.WriteRecord("x"));
  ASSERT_EQ(CMyCipherFile::kDone, file.Open(WorkPath("sfxcore-limits.bin").c_str(), 0));
  EXPECT_EQ(CMyCipherFile::kNoText, file.WriteRecord(nullptr));
  EXPECT_EQ(CMyCipherFile::kTextTooLong, file.WriteRecord(std::string(0x3FF1, 'x').c_str()));
  EXPECT_EQ(CMyCipherFile::kDone, file.WriteRecord("after"));
  file.Close();

  ASSERT_EQ(CMyCipherFile::kDone, file.Open(WorkPath("sfxcore-limits.bin").c_str(), 1));
  char small[8] = {};
  EXPECT_EQ(CMyCipherFile::kNoBuffer, file.ReadRecord(nullptr, 100));
  // Sixteen bytes and a terminator do not fit in eight.
  EXPECT_EQ(CMyCipherFile::kFailed, file.ReadRecord(small, sizeof small));
  file.Close();
}

TEST(MyCipherFile, DamagedFilesEndWithACode) {
  const std::string good = WorkPath("sfxcore-good.bin");
  WriteRecordLines(good, {"one record of twenty", "another"});
  const std::string bytes = ReadBytes(good);
  ASSERT_EQ(12u + 4 + 32 + 4 + 16, bytes.size());
  const std::string damaged = WorkPath("sfxcore-damaged.bin");

  std::string flipped = bytes;
  flipped[0] ^= 0x01;
  std::string lengthOverLimit = bytes;
  lengthOverLimit.replace(12, 4, std::string("\x00\x40\x00\x00", 4));
  std::string lengthNotBlock = bytes;
  lengthNotBlock.replace(12, 4, std::string("\x11\x00\x00\x00", 4));
  struct Case {
    const char* what;
    std::string content;
    int openResult;
    int firstRead;
  } cases[] = {
      {"empty file", "", CMyCipherFile::kFailed, 0},
      {"header cut short", bytes.substr(0, 7), CMyCipherFile::kFailed, 0},
      {"check altered", flipped, CMyCipherFile::kCheckMismatch, 0},
      {"length word cut short", bytes.substr(0, 14), CMyCipherFile::kDone, CMyCipherFile::kShortRead},
      {"cipher text cut short", bytes.substr(0, 30), CMyCipherFile::kDone, CMyCipherFile::kShortRead},
      {"length above the limit", lengthOverLimit, CMyCipherFile::kDone, CMyCipherFile::kFailed},
      {"length not whole blocks", lengthNotBlock, CMyCipherFile::kDone, CMyCipherFile::kFailed},
  };
  std::vector<char> buffer(kLineBuffer);
  for (const Case& c : cases) {
    WriteBytes(damaged, c.content);
    CMyCipherFile file;
    ASSERT_EQ(c.openResult, file.Open(damaged.c_str(), 1)) << c.what;
    if (c.openResult == CMyCipherFile::kDone)
      EXPECT_EQ(c.firstRead, file.ReadRecord(buffer.data(), buffer.size())) << c.what;
    else
      EXPECT_EQ(CMyCipherFile::kNotOpen, file.ReadRecord(buffer.data(), buffer.size())) << c.what;
    file.Close();
  }
  CMyCipherFile missing;
  EXPECT_EQ(CMyCipherFile::kFailed, missing.Open(WorkPath("sfxcore-none\\x.bin").c_str(), 1));
  EXPECT_EQ(CMyCipherFile::kFailed, missing.Open(nullptr, 1));
}

// The settings block of a built program: fixed keys on a file the caller
// opened, records from the caller's position on. The Python check compares
// the first record with a golden vector.
TEST(MyCipherFile, AttachedFileWithFixedKeys) {
  const std::string path = WorkPath("sfxcore-settings-block.bin");
  const std::vector<std::string> lines = {"PATH = C:\\KorvaneSFX\\SecuredFiles\\", "FOLDERS = 1", "AUTO RUN = 0",
                                          "OVERWRITE = 1", "EXECUTE FILE = "};
  FILE* out = fopen(path.c_str(), "wb+");
  ASSERT_NE(nullptr, out);
  CMyCipherFile writer;
  writer.Attach(out);
  EXPECT_EQ(CMyCipherFile::kKeyFailed, writer.SetKeys(nullptr, "amber crane : go"));
  ASSERT_EQ(CMyCipherFile::kDone, writer.SetKeys("Marble cove tide", "amber crane : go"));
  for (const std::string& line : lines) ASSERT_EQ(CMyCipherFile::kDone, writer.WriteRecord(line.c_str()));
  writer.Close();

  FILE* in = fopen(path.c_str(), "rb");
  ASSERT_NE(nullptr, in);
  CMyCipherFile reader;
  reader.Attach(in);
  ASSERT_EQ(CMyCipherFile::kDone, reader.SetKeys("Marble cove tide", "amber crane : go"));
  std::vector<char> buffer(kLineBuffer);
  for (const std::string& line : lines) {
    ASSERT_EQ(CMyCipherFile::kDone, reader.ReadRecord(buffer.data(), buffer.size()));
    EXPECT_EQ(line, std::string(buffer.data()));
  }
  reader.Close();
}

}  // namespace
