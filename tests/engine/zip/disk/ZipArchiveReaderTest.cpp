// The update reader over archives other tools wrote (made by
// make_update_inputs.py) and over damaged ones made here.
#include <map>

#include "update/ZipArchiveReader.h"
#include "update/ZipEntryList.h"
#include "ZipDiskTestSupport.h"
#include "ZipEntry.h"

namespace {

// What make_update_inputs.py puts into every archive.
const std::map<std::string, uint64_t> kMembers = {
    {"alpha.txt", 3600}, {"docs/beta.txt", 10000}, {"docs/gamma.bin", 5000}, {"empty.txt", 0}};

struct InputCase {
  const char *archive;
  uint32_t descriptorLength;  // of every member but the stored empty one
  uint64_t preamble;
  const char *comment;
};

const InputCase kInputs[] = {
    {"infozip.zip", 0, 0, nullptr},
    {"infozip_streamed.zip", 0xFF, 0, nullptr},
    {"infozip_comment.zip", 0, 0, "an archive comment"},
    {"sevenzip.zip", 0, 0, nullptr},
    {"python_streamed.zip", 0xFF, 0, nullptr},
    {"python_zip64.zip", 0, 0, nullptr},
    {"zip64_end_record.zip", 0, 0, nullptr},
    {"preamble.zip", 0, 20000, nullptr},
};

class ZipArchiveReaderTest : public ZipDiskTest {
 protected:
  int Read(const std::string &path, int repairLevel = 0) {
    strcpy(state->archiveName, path.c_str());
    state->main.repairLevel = repairLevel;
    return ZipReadArchive(state);
  }
  std::map<std::string, uint64_t> Members() {
    std::map<std::string, uint64_t> members;
    for (ZipEntry *entry = state->entries; entry; entry = entry->next) members[entry->name] = entry->uncompressedSize;
    return members;
  }
  std::string Damaged(const std::string &name, const std::string &bytes) {
    std::string path = Scratch("reader") + "\\" + name;
    WriteText(path, bytes);
    return path;
  }
};

TEST_F(ZipArchiveReaderTest, ReadsArchivesOfOtherWriters) {
  for (const InputCase &c : kInputs) {
    SCOPED_TRACE(c.archive);
    recorder.shown.clear();
    ASSERT_EQ(Read(DiskWork("inputs\\") + c.archive), 0);
    EXPECT_EQ(Members(), kMembers);
    EXPECT_EQ(state->loop.preambleSize, c.preamble);
    int64_t size = 0;
    for (ZipEntry *entry = state->entries; entry; entry = entry->next) {
      EXPECT_EQ(entry->selected, 0);
      EXPECT_GE(entry->localHeaderOffset, c.preamble);
      if (c.descriptorLength == 0xFF && entry->uncompressedSize) {
        EXPECT_TRUE(entry->descriptorLength == 16 || entry->descriptorLength == 24) << entry->name;
        EXPECT_GT(entry->compressedSize, 0u) << entry->name;
      } else if (c.descriptorLength != 0xFF) {
        EXPECT_EQ(entry->descriptorLength, 0u) << entry->name;
      }
      size += entry->compressedSize;
    }
    EXPECT_GT(state->centralOffset, c.preamble + size);
    EXPECT_EQ(std::string(state->main.comment ? state->main.comment : ""), c.comment ? c.comment : "");
    std::vector<std::string> warnings = Warnings(recorder);
    if (c.preamble) {
      ASSERT_EQ(warnings.size(), 1u);
      EXPECT_NE(warnings[0].find("has a preamble of 20000 bytes"), std::string::npos) << warnings[0];
    } else {
      EXPECT_TRUE(warnings.empty()) << warnings[0];
    }
    EXPECT_NE(ZipFindEntry("DOCS/BETA.TXT", state), nullptr);
  }
}

TEST_F(ZipArchiveReaderTest, EndRecordFaults) {
  std::string end = std::string("PK\x05\x06", 4) + std::string(18, '\0');
  std::string onDiskOne = std::string("PK\x05\x06\x01\x00", 6) + std::string(16, '\0');
  struct {
    const char *name;
    std::string bytes;
    int result;
  } cases[] = {
      {"short.zip", std::string(21, 'x'), 11},
      {"empty.zip", end, 0},
      {"disk1.zip", onDiskOne, 21},
      {"trailing.zip", end + std::string(65560, 'x'), 11},
      {"nothing.zip", std::string(4000, 'x'), 11},
  };
  for (auto &c : cases) {
    EXPECT_EQ(Read(Damaged(c.name, c.bytes)), c.result) << c.name;
    EXPECT_EQ(state->entryCount, 0u);
  }
}

TEST_F(ZipArchiveReaderTest, EmptyFileIsDeletedAndMissingOneIsNew) {
  std::string path = Damaged("zero.zip", "");
  EXPECT_EQ(Read(path), 0);
  EXPECT_FALSE(FileExists(path));
  EXPECT_EQ(Read(Scratch("reader") + "\\absent\\new.zip"), 0);
  EXPECT_EQ(state->entryCount, 0u);
}

TEST_F(ZipArchiveReaderTest, LocalOffsetThatMissesItsHeaderIsAStructureFault) {
  std::string bytes = ReadText(DiskWork("inputs\\infozip_comment.zip"));
  size_t central = bytes.find("PK\x01\x02");
  ASSERT_NE(central, std::string::npos);
  bytes[central + 42] = 1;  // the first member's local offset, now 1
  EXPECT_EQ(Read(Damaged("offset.zip", bytes)), 3);
  std::vector<std::string> warnings = Warnings(recorder);
  ASSERT_FALSE(warnings.empty());
  EXPECT_NE(warnings[0].find("local offset in central hdr incorrect"), std::string::npos);
}

TEST_F(ZipArchiveReaderTest, RepairReadsMembersWithoutTheirDirectory) {
  for (const char *input : {"infozip.zip", "python_streamed.zip"}) {
    std::string bytes = ReadText(DiskWork("inputs\\") + input);
    std::string cut = bytes.substr(0, bytes.find("PK\x01\x02"));
    for (int level : {1, 2}) {
      SCOPED_TRACE(std::string(input) + " level " + std::to_string(level));
      EXPECT_EQ(Read(Damaged("cut.zip", cut), level), 0);
      EXPECT_EQ(Members(), kMembers);
      EXPECT_EQ(state->centralOffset, cut.size());
    }
  }
}

}  // namespace
