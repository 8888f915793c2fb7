// Mutated archives and entry records, extracted into a scratch folder: the
// engine may refuse them in any way it likes, but it must not crash, hang or
// write anything outside the destination.
#include <gtest/gtest.h>
#include <random>
#include "ExtractTestSupport.h"

namespace {

Bytes Mutate(const Bytes &original, std::mt19937 &random) {
  Bytes b = original;
  switch (random() % 4) {
    case 0:  // a few flipped bits anywhere
      for (int n = 1 + random() % 8; n > 0; --n) b[random() % b.size()] ^= static_cast<uint8_t>(1 << (random() % 8));
      break;
    case 1:  // bytes set to extremes, most useful in lengths and offsets
      for (int n = 1 + random() % 4; n > 0; --n) b[random() % b.size()] = random() % 2 ? 0xFF : 0x00;
      break;
    case 2:  // cut short
      b.resize(random() % b.size());
      break;
    default:  // a run of bytes copied from elsewhere in the archive
      if (b.size() > 64) {
        size_t from = random() % (b.size() - 32), to = random() % (b.size() - 32);
        std::copy(original.begin() + from, original.begin() + from + 32, b.begin() + to);
      }
  }
  return b;
}

TEST(Mutation, ArchivesNeverWriteOutsideTheDestination) {
  const char *bases[] = {"izip-6.zip", "izip-0.zip", "izip-trad.zip", "7z-aes128.zip", "7z-deflate64.zip",
                         "escape.zip", "py-zip64.zip", "legacy-implode6.zip", "legacy-shrink.zip"};
  std::mt19937 random(20261210);
  std::string scratch = Work("mutation");
  for (const char *base : bases) {
    const Bytes original = ReadFileBytes(Work(base));
    ASSERT_FALSE(original.empty()) << base;
    for (int round = 0; round < 40; ++round) {
      RemoveTree(scratch);
      CreateDirectoryA(scratch.c_str(), nullptr);
      CreateDirectoryA((scratch + "/box").c_str(), nullptr);
      CreateDirectoryA((scratch + "/box/inner").c_str(), nullptr);
      WriteFileBytes(scratch + "/mutant.zip", Mutate(original, random));
      UNZIPCMDSTRUCT command = Command(kUnzipExtract, scratch + "/mutant.zip");
      command.lpszFilespec = "*.*";
      command.recurseFlag = 1;
      command.overWriteFlag = 1;
      command.quietFlag = 1;
      command.lpszDestination = Kept(scratch + "/box/inner");
      command.decryptFlag = 1;
      command.lpszDecryptCode = "Secret123";
      UnzipExecute(&command);
      for (const std::string &file : FilesBelow(scratch))
        ASSERT_TRUE(file == "mutant.zip" || file.compare(0, 10, "box/inner/") == 0) << base << " " << round << " " << file;
    }
  }
}

TEST(Mutation, StreamRecordsFailCleanly) {
  std::mt19937 random(7);
  for (const char *record : {"stream/izip-6/0.rec", "stream/izip-trad/1.rec", "stream/7z-aes256/0.rec",
                             "stream/7z-deflate64/0.rec"}) {
    const Bytes original = ReadFileBytes(Work(record));
    ASSERT_FALSE(original.empty()) << record;
    for (int round = 0; round < 150; ++round) {
      StreamPartner partner;
      partner.record = Mutate(original, random);
      partner.chunk = 1 + random() % 5000;
      int result = RunStream(partner, "Secret123");
      EXPECT_TRUE(result >= 0 && result <= 50) << record << " " << round;
    }
  }
}

}  // namespace
