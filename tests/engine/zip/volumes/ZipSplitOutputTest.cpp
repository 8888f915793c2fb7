#include <gtest/gtest.h>

#include <memory>

#include "../../../../engine/common/CipherState.h"
#include "SimulatedDrive.h"
#include "VolumeArchive.h"
#include "volumes/ZipDrives.h"
#include "volumes/ZipSplitParts.h"
#include "volumes/ZipVolumeRoom.h"
#include "writer/ZipOutput.h"
#include "ZipExecute.h"
#include "ZipTestSupport.h"

namespace {

class ZipSplitOutputTest : public ZipStateTest {
 protected:
  // A split command on the work drive, whose longest name the simulated
  // drive answers; its first part open.
  void Begin(const std::string &folder, DWORD maxNameLength, std::vector<uint64_t> sizes) {
    drive_.letter = 'Z';
    drive_.type = DRIVE_FIXED;
    drive_.capacity = 1ull << 40;
    drive_.maxNameLength = maxNameLength;
    scope_.reset();
    scope_.reset(new SimulatedDriveScope(&drive_));
    archive_ = folder + "\\backup.zip";
    strcpy(state->archiveName, archive_.c_str());
    state->multiVolControl = ZMV_MULTI_VOLUME | ZMV_SPLIT_PARTS;
    state->messageDisplay = RecordMessage;
    state->messageDisplayData = &recorder_;
    sizes_ = sizes;
    state->main.partSizes = sizes_.empty() ? nullptr : sizes_.data();
    state->main.partCount = uint32_t(sizes_.size());
    StartVolumeBookkeeping(state);
    ASSERT_EQ(ZipOpenMultiVolumeOutput(state, nullptr), 0);
    state->writer.volumeFree = ZipGetFreeSpace(state->volumeName);
  }

  // The closing records went into the last part; it takes the archive's name.
  void Finish() {
    state->volume.finishing = 1;
    CloseHandle(state->volumeFile);
    state->volumeFile = INVALID_HANDLE_VALUE;
    ASSERT_TRUE(MoveFileExA(state->volumeName, archive_.c_str(), MOVEFILE_REPLACE_EXISTING));
  }

  void TearDown() override {
    if (state->volumeFile != INVALID_HANDLE_VALUE) CloseHandle(state->volumeFile);
    state->main.partSizes = nullptr;
    scope_.reset();
    ZipStateTest::TearDown();
  }

  std::string Part(int n, bool appended) {
    char name[ZIP_PATH_SIZE];
    EXPECT_EQ(ZipSplitPartName(archive_.c_str(), appended, n, name, sizeof name), 1);
    return name;
  }

  SimulatedDrive drive_;
  std::unique_ptr<SimulatedDriveScope> scope_;
  MessageRecorder recorder_;
  std::string archive_;
  std::vector<uint64_t> sizes_;
};

TEST_F(ZipSplitOutputTest, RoomLeftFollowsTheSizeList) {
  struct Case {
    std::vector<uint64_t> sizes;
    uint32_t disk;
    uint64_t free;
    uint64_t room;
  };
  const Case cases[] = {
      {{2000000, 1000000}, 0, 1ull << 40, 1000000},  // part 1 takes entry 1
      {{2000000, 1000000}, 1, 1ull << 40, 2000000},  // later parts entry 0
      {{2000000, 1000000}, 7, 1ull << 40, 2000000},
      {{2000000, 1000000}, 1, 1500000, 1500000},     // bounded by the free space
      {{1000}, 0, 1ull << 40, 65536},                // never below 64 KiB
      {{}, 3, 777777, 777777},
  };
  Begin(FreshFolder("room"), 255, {});
  for (const Case &c : cases) {
    state->main.partSizes = const_cast<uint64_t *>(c.sizes.empty() ? nullptr : c.sizes.data());
    state->main.partCount = uint32_t(c.sizes.size());
    state->writer.currentDisk = c.disk;
    state->writer.volumeFree = c.free;
    EXPECT_EQ(ZipSpaceLeft(state), c.room) << "disk " << c.disk << " free " << c.free;
  }
  uint8_t bytes[100] = {};
  ASSERT_EQ(ZipWriteOutput(state, bytes, sizeof bytes, &state->volumeFile), sizeof bytes);
  EXPECT_EQ(ZipSpaceLeft(state), 777777u - 100);
}

TEST_F(ZipSplitOutputTest, PartsNamedByTheVolumesLongestNameReadBack) {
  std::vector<Member> members = RandomMembers({150000, 150000, 5000, 0}, 7);
  for (bool longNames : {true, false}) {
    std::string folder = FreshFolder(longNames ? "split-long" : "split-short");
    Begin(folder, longNames ? 255 : 254, {200000, 100000});
    ASSERT_EQ(WriteVolumeArchive(state, members, &state->volumeFile), 0);
    Finish();
    EXPECT_EQ(SizeOf(Part(1, longNames)), 100000u);
    EXPECT_EQ(SizeOf(Part(2, longNames)), 200000u);
    EXPECT_TRUE(Exists(archive_));
    EXPECT_FALSE(Exists(Part(3, longNames)));
    EXPECT_FALSE(Exists(Part(1, !longNames)));
    // One file-ready notice per finished part, numbered from 1.
    ASSERT_EQ(recorder_.shown.size(), 2u);
    EXPECT_EQ(recorder_.shown[1].type, 14);
    EXPECT_EQ(recorder_.shown[1].number, 2);
    EXPECT_EQ(recorder_.shown[1].text, Part(2, longNames));
    ExpectReadsBack(archive_, members, FreshFolder(longNames ? "split-long-out" : "split-short-out"));
    recorder_.shown.clear();
    state->volume.finishing = 0;
  }
}

TEST_F(ZipSplitOutputTest, CentralDirectoryAcrossParts) {
  struct Case {
    const char *set;
    std::vector<size_t> sizes;
    uint32_t startDisk;
  };
  // Long comments make a directory of more than a part out of few members;
  // after one member of 64,300 bytes not even its first header fits.
  const Case cases[] = {{"split-many", std::vector<size_t>(60, 20), 0}, {"split-late", {64300}, 1}};
  for (const Case &c : cases) {
    SCOPED_TRACE(c.set);
    std::vector<Member> members = RandomMembers(c.sizes, 13);
    for (Member &m : members) m.comment = std::string(1200, 'c');
    Begin(FreshFolder(c.set), 254, {65536});
    ASSERT_EQ(WriteVolumeArchive(state, members, &state->volumeFile), 0);
    Finish();
    // The end record counts exactly the central headers of the last part,
    // which begins with the first one that did not fit the part before.
    Bytes last = ReadBytes(archive_);
    size_t end = last.size() - 22;
    auto le16 = [&](size_t at) { return uint32_t(last[at] | last[at + 1] << 8); };
    auto le32 = [&](size_t at) { return le16(at) | le16(at + 2) << 16; };
    ASSERT_EQ(le32(end), 0x06054B50u);
    size_t at = 0;
    uint32_t headers = 0;
    for (; at + 46 <= end && le32(at) == 0x02014B50u; ++headers) at += 46 + le16(at + 28) + le16(at + 30) + le16(at + 32);
    EXPECT_EQ(at, end);
    EXPECT_EQ(le16(end + 8), headers);
    EXPECT_EQ(le16(end + 10), members.size());
    // Its size is every header's, and its offset leads to the first header on
    // the part the directory starts on.
    uint64_t size = 0;
    for (const Member &m : members) size += 46 + m.name.size() + m.comment.size();
    EXPECT_EQ(le32(end + 12), size);
    ASSERT_EQ(le16(end + 6), c.startDisk);
    Bytes first = c.startDisk == le16(end + 4) ? last : ReadBytes(Part(int(c.startDisk) + 1, false));
    uint32_t offset = le32(end + 16);
    ASSERT_LT(offset + 4u, first.size());
    EXPECT_EQ(first[offset] | first[offset + 1] << 8 | first[offset + 2] << 16 | uint32_t(first[offset + 3]) << 24,
              0x02014B50u);
    ExpectReadsBack(archive_, members, FreshFolder(std::string(c.set) + "-out"));
    state->volume.finishing = 0;
  }
}

TEST_F(ZipSplitOutputTest, TheHundredthPartIsNumbered100) {
  std::vector<Member> members = RandomMembers({100 * 65536}, 11);
  Begin(FreshFolder("split-100"), 254, {65536});
  ASSERT_EQ(WriteVolumeArchive(state, members, &state->volumeFile), 0);
  Finish();
  std::string base = archive_.substr(0, archive_.size() - 4);
  EXPECT_EQ(SizeOf(base + ".z99"), 65536u);
  EXPECT_EQ(SizeOf(base + ".100"), 65536u);
  EXPECT_FALSE(Exists(base + ".z100"));
  EXPECT_EQ(state->volume.partsWritten, 100u);
  ExpectReadsBack(archive_, members, FreshFolder("split-100-out"));
}

TEST_F(ZipSplitOutputTest, CompressedAndEncipheredMembersAcrossParts) {
  std::vector<Member> members = TextMembers({300000, 1000, 200000}, 21);
  for (const char *password : {static_cast<const char *>(nullptr), "volume secret"}) {
    SCOPED_TRACE(password ? "WinZip AES" : "plain");
    std::string set = password ? "split-aes" : "split-deflate";
    Begin(FreshFolder(set), 254, {65536});
    if (password) {
      state->cipher.kind = kEncryptWinZipAes;
      state->cipher.strength = 3;
      ASSERT_EQ(ZipTakePassword(password, state), 0);
    }
    ASSERT_EQ(WriteCompressedVolumeArchive(state, members, FreshFolder(set + "-sources"), &state->volumeFile), 0);
    Finish();
    EXPECT_GE(state->volume.partsWritten, 3u);
    if (password) {
      // The first member's data follow the span marker, its header, name,
      // AES extra, salt and verifier; the part ends on a cipher block.
      uint64_t dataStart = 4 + 30 + members[0].name.size() + 11 + 16 + 2;
      EXPECT_EQ((SizeOf(Part(1, false)) - dataStart) % 16, 0u);
    }
    ExpectReadsBack(archive_, members, FreshFolder(set + "-out"), password);
    ZipFreePassword(state);
    state->cipher.kind = kEncryptTraditional;
    state->volume.finishing = 0;
  }
}

TEST_F(ZipSplitOutputTest, CipherBlocksNeverStraddleTwoParts) {
  struct Case {
    uint32_t kind;
    bool aligned;
  };
  const Case cases[] = {{kEncryptWinZipAes, true}, {kEncryptStrong, true}, {kEncryptTraditional, false}};
  Bytes data = RandomMembers({200000}, 3)[0].data;
  const size_t header = 37;  // the member's headers before its enciphered data
  for (const Case &c : cases) {
    Begin(FreshFolder("cipher"), 254, {65536});
    state->cipher.kind = c.kind;
    ASSERT_EQ(ZipWriteOutput(state, data.data(), header, &state->volumeFile), header);
    for (size_t at = header; at < data.size(); at += 20480) {
      size_t piece = std::min<size_t>(20480, data.size() - at);
      ASSERT_EQ(ZipWriteOutput(state, data.data() + at, piece, &state->volumeFile), piece);
    }
    Finish();
    uint64_t first = SizeOf(Part(1, false));
    if (c.aligned) EXPECT_EQ((first - header) % 16, 0u) << c.kind;
    else EXPECT_EQ(first, 65536u);
    EXPECT_LE(first, 65536u);
    Bytes joined;
    for (int n = 1; Exists(Part(n, false)); ++n) {
      Bytes part = ReadBytes(Part(n, false));
      joined.insert(joined.end(), part.begin(), part.end());
    }
    Bytes last = ReadBytes(archive_);
    joined.insert(joined.end(), last.begin(), last.end());
    EXPECT_TRUE(joined == data) << c.kind;
    state->cipher.kind = kEncryptTraditional;
    state->volume.finishing = 0;
  }
}

}  // namespace
