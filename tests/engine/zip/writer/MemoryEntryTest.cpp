// Function 6: the memory entry record's header fields, its failures, and the
// records the external check re-wraps into zips for 7-Zip, Info-ZIP and
// Python.
#include <stdio.h>

#include <string>

#include "WriterTestSupport.h"
#include "ZipCommand.h"

namespace {

enum { kHeader = 46 };

struct HeaderCase {
  const char *label;
  MemoryEntryOptions options;
  uint16_t madeBy, needed, flags, method;
  uint32_t uncompressedField;
  uint16_t extraLength;
};

const HeaderCase kHeaderCases[] = {
    {"deflate level 6", {6}, 20, 20, 0, 8, 0, 0},
    {"deflate level 1", {1}, 20, 20, 4, 8, 0, 0},
    {"deflate level 9", {9}, 20, 20, 2, 8, 0, 0},
    {"factor 0 is level 1", {0}, 20, 20, 4, 8, 0, 0},
    {"deflate64 level 5", {15}, 21, 21, 0, 9, 0, 0},
    {"deflate64 level 9", {25}, 21, 21, 2, 9, 0, 0},
    {"zip64", {6, nullptr, 0, true}, 45, 45, 0, 8, 0xFFFFFFFF, 0},
    {"ansi names", {6, nullptr, 0, false, ZSO_ANSI_NAMES}, 0x0B14, 20, 0, 8, 0, 0},
    {"traditional", {6, "secret"}, 20, 20, 1, 8, 0, 0},
    {"strong 128", {6, "secret", 1}, 20, 20, 0x41, 8, 0, 16},
    {"strong 256 deflate64", {19, "secret", 3, true}, 45, 45, 0x43, 9, 0xFFFFFFFF, 16},
};

TEST_F(ZipWriterTest, MemoryEntryHeaderFields) {
  for (const HeaderCase &c : kHeaderCases) {
    SCOPED_TRACE(c.label);
    MemoryIo io;
    io.input = TestData(5000, 1);
    SYSTEMTIME now;
    GetLocalTime(&now);
    ASSERT_EQ(RunMemoryEntry(&io, "dir/member.txt", c.options), 0);
    const std::vector<uint8_t> &r = io.output;
    ASSERT_GT(r.size(), size_t(kHeader + 14 + c.extraLength));
    EXPECT_TRUE(io.positionsAgree);
    EXPECT_EQ(Le32(r, 0), 0x02014B50u);
    EXPECT_EQ(Le16(r, 4), c.madeBy);
    EXPECT_EQ(Le16(r, 6), c.needed);
    EXPECT_EQ(Le16(r, 8), c.flags);
    EXPECT_EQ(Le16(r, 10), c.method);
    uint32_t dateTime = Le32(r, 12);
    EXPECT_EQ(dateTime >> 16, uint32_t((now.wYear - 1980) << 9 | now.wMonth << 5 | now.wDay));
    EXPECT_EQ(Le32(r, 16), dateTime << 16);
    EXPECT_EQ(Le32(r, 20), 0xFFFFFFFFu);
    EXPECT_EQ(Le32(r, 24), c.uncompressedField);
    EXPECT_EQ(Le16(r, 28), 14);
    EXPECT_EQ(Le16(r, 30), c.extraLength);
    EXPECT_EQ(Le16(r, 32), 0);
    EXPECT_EQ(Le16(r, 34), 0);
    EXPECT_EQ(Le16(r, 36), 0xFFFF);
    EXPECT_EQ(Le32(r, 38), 0u);
    EXPECT_EQ(Le32(r, 42), 0u);
    EXPECT_EQ(std::string(r.begin() + kHeader, r.begin() + kHeader + 14), "dir/member.txt");
  }
}

TEST_F(ZipWriterTest, StrongEncryptionExtraAndHeader) {
  const uint16_t algIds[] = {0x660E, 0x660F, 0x6610};
  for (uint32_t strength = 1; strength <= 3; ++strength) {
    SCOPED_TRACE(strength);
    MemoryIo io;
    io.input = TestData(100, 2);
    ASSERT_EQ(RunMemoryEntry(&io, "a", {6, "pw", strength}), 0);
    const std::vector<uint8_t> expected = {0x17, 0, 12, 0, 2, 0, uint8_t(algIds[strength - 1]),
                                           uint8_t(algIds[strength - 1] >> 8), uint8_t(64 + 64 * strength),
                                           uint8_t((64 + 64 * strength) >> 8), 1, 0, 0, 0, 0, 0};
    const size_t extra = kHeader + 1;
    EXPECT_EQ(std::vector<uint8_t>(io.output.begin() + extra, io.output.begin() + extra + 16), expected);
    // The decryption header follows at once: a 16-byte IV, then format 3 and
    // the same algorithm; the data are whole cipher blocks.
    const size_t header = extra + 16;
    EXPECT_EQ(Le16(io.output, header), 16);
    EXPECT_EQ(Le16(io.output, header + 22), 3);
    EXPECT_EQ(Le16(io.output, header + 24), algIds[strength - 1]);
    uint16_t randomLength = Le16(io.output, header + 30);
    size_t data = header + 32 + randomLength + 4 + 2 + 128;
    ASSERT_LT(data, io.output.size());
    EXPECT_EQ((io.output.size() - data) % 16, 0u);
  }
}

TEST_F(ZipWriterTest, ReadPiecesDoNotChangeTheData) {
  std::vector<uint8_t> data = TestData(70000, 3);
  MemoryIo whole, pieces;
  whole.input = pieces.input = data;
  pieces.readPiece = 777;
  ASSERT_EQ(RunMemoryEntry(&whole, "x", {6}), 0);
  ASSERT_EQ(RunMemoryEntry(&pieces, "x", {6}), 0);
  EXPECT_EQ(std::vector<uint8_t>(whole.output.begin() + kHeader + 1, whole.output.end()),
            std::vector<uint8_t>(pieces.output.begin() + kHeader + 1, pieces.output.end()));
}

struct FailureCase {
  const char *label;
  MemoryEntryOptions options;
  bool onRead;
  int at, answer;
  int result;
};

// Write 0 is the header; with strong encryption write 1 is the decryption
// header and write 2 the first 8 KiB of cipher text.
const FailureCase kFailureCases[] = {
    {"header refused", {6}, false, 0, 1, 4},
    {"header cancelled", {6}, false, 0, 2, 9},
    {"traditional header refused", {6, "pw"}, false, 1, 0, 4},
    {"strong data refused", {6, "pw", 2}, false, 2, 1, 4},
    {"strong data cancelled", {6, "pw", 2}, false, 2, 2, 9},
    {"data refused", {6}, false, 1, 5, 4},
    {"read cancelled", {6}, true, 1, 2, 9},
    {"read failed", {6}, true, 1, 1, 11},
};

TEST_F(ZipWriterTest, MemoryEntryFailures) {
  for (const FailureCase &c : kFailureCases) {
    SCOPED_TRACE(c.label);
    MemoryIo io;
    io.input = TestData(200000, 4);
    io.readPiece = 4096;
    (c.onRead ? io.readAnswerAt : io.writeAnswerAt) = c.at;
    (c.onRead ? io.readAnswer : io.writeAnswer) = c.answer;
    EXPECT_EQ(RunMemoryEntry(&io, "f", c.options), c.result);
  }
}

// The records the external check re-wraps: every size and encryption kind,
// and every compression factor on one size.
TEST_F(ZipWriterTest, RecordsForTheExternalCheck) {
  struct Kind {
    const char *tag;
    MemoryEntryOptions options;
  };
  const Kind kinds[] = {
      {"deflate", {6}},
      {"deflate64", {15}},
      {"traditional", {6, "Tr4d-pw"}},
      {"traditional64", {17, "Tr4d-pw"}},
      {"strong1", {6, "Str0ng pw", 1}},
      {"strong2", {12, "Str0ng pw", 2}},
      {"strong3", {9, "Str0ng pw", 3, true}},
  };
  const size_t sizes[] = {0, 1, 61440, 1 << 20};
  std::string manifest;
  auto add = [&](const std::string &name, const MemoryEntryOptions &options, size_t size) {
    MemoryIo io;
    io.input = TestData(size, uint32_t(size + options.compFactor));
    ASSERT_EQ(RunMemoryEntry(&io, name.c_str(), options), 0) << name;
    WriteWorkFile(name + ".rec", io.output);
    WriteWorkFile(name + ".in", io.input);
    manifest += name + " " + (options.password ? options.password : "-") + "\n";
  };
  for (const Kind &kind : kinds)
    for (size_t size : sizes) add(std::string(kind.tag) + "-" + std::to_string(size), kind.options, size);
  for (int factor = 1; factor <= 19; ++factor) add("factor" + std::to_string(factor), {factor}, 61440);
  std::vector<uint8_t> bytes(manifest.begin(), manifest.end());
  WriteWorkFile("memory-entries.txt", bytes);
}

}  // namespace
