// Round trips of the Deflate and Deflate64 encoders through our own inflate
// (and zlib's where it is linked), and the block choices the output allows.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "Crc32.h"
#include "DecoderMemoryIo.h"
#include "DeflateBlockBuilder.h"
#include "DeflateMemoryEncoder.h"
#include "DeflateTestData.h"

#ifdef BRENNICOR_TEST_ZLIB
#include <zlib.h>
#endif

namespace {

constexpr DeflateOutputTraits kFileOutput{true, false, false, false};
constexpr DeflateOutputTraits kMultiVolumeOutput{false, false, false, false};
constexpr DeflateOutputTraits kMemoryEntryOutput{false, true, true, false};

bool InflateOurs(const std::vector<uint8_t>& compressed, EncoderFormat format, std::vector<uint8_t>& out) {
  DecodeRun run = DecodeBytes(format == EncoderFormat::Deflate64 ? 9 : 8, compressed, 0);
  out = std::move(run.output);
  return run.result == kDecodeDone;
}

#ifdef BRENNICOR_TEST_ZLIB
bool InflateZlib(const std::vector<uint8_t>& compressed, size_t expectedSize, std::vector<uint8_t>& out) {
  z_stream z{};
  if (inflateInit2(&z, -15) != Z_OK) return false;
  out.assign(expectedSize + 1, 0);
  z.next_in = const_cast<uint8_t*>(compressed.data());
  z.avail_in = uInt(compressed.size());
  z.next_out = out.data();
  z.avail_out = uInt(out.size());
  int r = inflate(&z, Z_FINISH);
  out.resize(z.total_out);
  bool whole = r == Z_STREAM_END && z.avail_in == 0;
  inflateEnd(&z);
  return whole;
}
#endif

// The member must come back byte for byte through our inflate and, for
// Deflate, through zlib's.
void ExpectInflatesTo(const std::vector<uint8_t>& compressed, EncoderFormat format,
                      const std::vector<uint8_t>& expected) {
  std::vector<uint8_t> back;
  EXPECT_TRUE(InflateOurs(compressed, format, back));
  EXPECT_TRUE(back == expected);
#ifdef BRENNICOR_TEST_ZLIB
  if (format == EncoderFormat::Deflate) {
    EXPECT_TRUE(InflateZlib(compressed, expected.size(), back));
    EXPECT_TRUE(back == expected);
  }
#endif
}

// Encodes and checks the member: stored whole (method 0) or inflating back.
void ExpectRoundTrip(DeflateMemoryRun& run, const std::vector<uint8_t>& input, const std::string& what) {
  SCOPED_TRACE(what);
  uint64_t length = run.Encode(input);
  ASSERT_EQ(run.result, 0);
  ASSERT_EQ(length, run.output.size());
  if (run.method == 0) {
    EXPECT_EQ(run.output, input);
    return;
  }
  ASSERT_EQ(run.method, 8);
  ExpectInflatesTo(run.output, run.format, input);
}

// A Deflate state set up for the block builder's own cases: the test fills
// the block, calls FlushBlock and finds the output in run.output.
struct BlockUnderTest {
  DeflateMemoryRun run;
  DeflateEncoderState s{};
  explicit BlockUnderTest(DeflateOutputTraits traits) {
    s.io = {&DeflateMemoryRun::Read, &DeflateMemoryRun::Write, nullptr, nullptr, nullptr, &run};
    s.traits = traits;
    EXPECT_EQ(DeflateOutputInit(&s, 20480), 0);
    EXPECT_EQ(ct_init(&s, &run.internalAttributes, &run.method), 0);
  }
  ~BlockUnderTest() { DeflateStateRelease(&s); }
};

int FirstBlockType(const std::vector<uint8_t>& out) { return out.empty() ? -1 : (out[0] >> 1) & 3; }

const char* FormatName(EncoderFormat f) { return f == EncoderFormat::Deflate ? "deflate" : "deflate64"; }

// Sizes around both formats' window slides, the first read and the least
// lookahead, for both main loops, for text, incompressible bytes and long
// runs, read whole and in short pieces.
TEST(DeflateEncoder, RoundTripsAroundTheWindowSlide) {
  const size_t sizes[] = {0,     1,     3,     258,   262,   32506, 32507, 32767, 32768, 32769,
                          65273, 65274, 65275, 65535, 65536, 65537, 131070, 131071, 131072, 196599};
  const size_t largest = sizes[sizeof sizes / sizeof sizes[0] - 1];
  const std::vector<uint8_t> sources[] = {TextData(largest, 1), RandomData(largest, 2), RunData(largest, 3)};
  const char* kinds[] = {"text", "random", "runs"};
  for (EncoderFormat format : {EncoderFormat::Deflate, EncoderFormat::Deflate64}) {
    for (int kind = 0; kind < 3; ++kind) {
      for (size_t size : sizes) {
        std::vector<uint8_t> input(sources[kind].begin(), sources[kind].begin() + size);
        for (int level : {1, 3, 4, 6, 9}) {
          DeflateMemoryRun run;
          run.format = format;
          run.level = level;
          run.traits = level % 2 ? kFileOutput : kMultiVolumeOutput;
          run.readSize = level == 3 || level == 4 ? 1000 : UINT32_MAX;
          ExpectRoundTrip(run, input,
                          std::string(FormatName(format)) + " " + kinds[kind] + " size " +
                              std::to_string(size) + " level " + std::to_string(level));
          if (HasFailure()) return;
        }
      }
    }
  }
}

// Literal counts that each exceed the two before them combined make the
// optimal tree 18 levels deep; the block's codes must be cut to 15 bits and
// still be complete, or the inflaters refuse them.
TEST(DeflateEncoder, LimitsCodeLengthsOfSkewedBlocks) {
  std::vector<uint8_t> literals;
  uint32_t a = 1, b = 1;
  for (int symbol = 0; symbol < 18; ++symbol) {
    literals.insert(literals.end(), a, uint8_t('A' + symbol));
    uint32_t next = a + b + 1;
    a = b;
    b = next;
  }
  uint32_t r = 17;
  for (size_t i = literals.size() - 1; i > 0; --i) std::swap(literals[i], literals[NextRandom(r) % (i + 1)]);

  BlockUnderTest block(kMultiVolumeOutput);  // dynamic codes only
  for (uint8_t literal : literals) ASSERT_FALSE(TallyLiteral(&block.s, literal));
  block.s.position = uint32_t(literals.size());
  FlushBlock(&block.s, true);
  EXPECT_EQ(block.s.result, 0);
  EXPECT_EQ(FirstBlockType(block.run.output), 2);
  ExpectInflatesTo(block.run.output, EncoderFormat::Deflate, literals);
}

struct BlockChoiceCase {
  const char* what;
  EncoderFormat format;
  DeflateOutputTraits traits;
  size_t size;
  uint16_t method;        // after the run
  int firstBlockType;     // -1: no block header (stored whole)
};

TEST(DeflateEncoder, ChoosesBlocksTheOutputAllows) {
  const BlockChoiceCase cases[] = {
      {"empty file member is stored whole", EncoderFormat::Deflate, kFileOutput, 0, 0, -1},
      {"empty memory entry is one fixed block", EncoderFormat::Deflate, kMemoryEntryOutput, 0, 8, 1},
      {"small random file member is stored whole", EncoderFormat::Deflate, kFileOutput, 100, 0, -1},
      {"multi-volume Deflate writes dynamic blocks only", EncoderFormat::Deflate, kMultiVolumeOutput, 100, 8, 2},
      {"memory entry never stores", EncoderFormat::Deflate, kMemoryEntryOutput, 100, 8, 1},
      {"multi-volume Deflate64 may store", EncoderFormat::Deflate64, kMultiVolumeOutput, 100, 8, 0},
      {"Deflate64 memory entry never stores", EncoderFormat::Deflate64, kMemoryEntryOutput, 100, 8, 1},
  };
  std::vector<uint8_t> random = RandomData(100, 5);
  for (const auto& c : cases) {
    DeflateMemoryRun run;
    run.format = c.format;
    run.traits = c.traits;
    run.outputCapacity = c.traits.memoryEntry ? 8192 : 20480;
    std::vector<uint8_t> input(random.begin(), random.begin() + c.size);
    ExpectRoundTrip(run, input, c.what);
    EXPECT_EQ(run.method, c.method) << c.what;
    EXPECT_EQ(c.firstBlockType == -1 ? -1 : FirstBlockType(run.output), c.firstBlockType) << c.what;
    if (c.firstBlockType == -1) {
      EXPECT_EQ(run.output.size(), c.size) << c.what;
    }
  }
  DeflateMemoryRun empty;
  empty.traits = kMemoryEntryOutput;
  empty.Encode(nullptr, 0);
  EXPECT_EQ(empty.output, (std::vector<uint8_t>{0x03, 0x00}));
}

TEST(DeflateEncoder, SetsLevelFlagsAndClampsLevels) {
  struct {
    EncoderFormat format;
    int level;
    uint16_t flags;
  } cases[] = {
      {EncoderFormat::Deflate, 0, 4},   {EncoderFormat::Deflate, 1, 4},   {EncoderFormat::Deflate, 2, 0},
      {EncoderFormat::Deflate, 8, 0},   {EncoderFormat::Deflate, 9, 2},   {EncoderFormat::Deflate, 12, 2},
      {EncoderFormat::Deflate64, 1, 4}, {EncoderFormat::Deflate64, 2, 4}, {EncoderFormat::Deflate64, 5, 0},
      {EncoderFormat::Deflate64, 8, 2}, {EncoderFormat::Deflate64, 9, 2},
  };
  std::vector<uint8_t> input = TextData(5000, 6);
  for (const auto& c : cases) {
    DeflateMemoryRun run;
    run.format = c.format;
    run.level = c.level;
    ExpectRoundTrip(run, input, std::string(FormatName(c.format)) + " level " + std::to_string(c.level));
    EXPECT_EQ(run.flags, c.flags) << FormatName(c.format) << " level " << c.level;
  }
}

TEST(DeflateEncoder, MarksTextAndBinaryMembers) {
  std::vector<uint8_t> text = TextData(4000, 7);
  std::vector<uint8_t> binary = RandomData(4000, 8);
  for (size_t i = 0; i < binary.size(); ++i)
    if (i % 10 != 0) binary[i] %= 7;  // 90% of the bytes below 7

  DeflateMemoryRun textRun;
  textRun.traits.convertEol = true;
  textRun.Encode(text);
  EXPECT_EQ(textRun.internalAttributes, 1);
  EXPECT_TRUE(textRun.warnings.empty());

  DeflateMemoryRun binaryRun;
  binaryRun.traits.convertEol = true;
  binaryRun.Encode(binary);
  EXPECT_EQ(binaryRun.internalAttributes, 0);
  EXPECT_EQ(binaryRun.warnings, std::vector<int>{334});
}

// Matches in Deflate64 run to 65,522 bytes: a 70,000-byte run costs a few
// bytes only with the 16-bit length code.
TEST(DeflateEncoder, Deflate64CodesLongRunsWithLongMatches) {
  std::vector<uint8_t> input(70000, 'x');
  for (int level : {1, 9}) {
    DeflateMemoryRun run;
    run.format = EncoderFormat::Deflate64;
    run.level = level;
    ExpectRoundTrip(run, input, "level " + std::to_string(level));
    EXPECT_LT(run.output.size(), 24u) << "level " << level;
  }
}

// A stored block carries at most 65,535 bytes: a longer stored run splits.
TEST(DeflateEncoder, SplitsStoredRunsLongerThanABlockAllows) {
  std::vector<uint8_t> input = RandomData(65536, 9);
  BlockUnderTest block(kFileOutput);
  block.run.data = input.data();
  block.run.size = input.size();
  DeflateEncoderState& s = block.s;
  ASSERT_EQ(DeflateInit(&s, 6, &block.run.flags), 0);
  // The whole 64 KiB in the window as one block of literals.
  memcpy(s.window, input.data(), input.size());
  s.position = 65536;
  s.lookahead = 0;
  for (uint8_t b : input) ++s.litFreq[b];
  FlushBlock(&s, false);
  FlushBlock(&s, true);
  EXPECT_EQ(s.result, 0);

  const std::vector<uint8_t>& out = block.run.output;
  ASSERT_GE(out.size(), 5u);
  EXPECT_EQ(out[0] & 7, 0);  // stored, not final
  EXPECT_EQ(out[1] | out[2] << 8, 65535);
  ExpectInflatesTo(out, EncoderFormat::Deflate, input);
}

TEST(DeflateEncoder, StopsAtAFailedWrite) {
  std::vector<uint8_t> input = RandomData(1 << 20, 10);
  DeflateMemoryRun run;
  run.traits = kMultiVolumeOutput;
  run.failWriteAfter = 2;
  run.Encode(input);
  EXPECT_EQ(run.result, 14);
  EXPECT_EQ(run.writeSizes.size(), 2u);
  EXPECT_LT(run.taken, input.size());  // the encoder stopped reading
}

// A cancel request ends the input: what was read still makes a whole stream.
TEST(DeflateEncoder, EndsTheInputOnACancelRequest) {
  std::vector<uint8_t> input = TextData(500000, 16);
  for (EncoderFormat format : {EncoderFormat::Deflate, EncoderFormat::Deflate64}) {
    DeflateMemoryRun run;
    run.format = format;
    run.readSize = 40000;
    run.cancelAfterReads = 3;
    run.Encode(input);
    EXPECT_EQ(run.result, 0);
    EXPECT_EQ(run.reads, 3) << FormatName(format);
    ASSERT_LT(run.taken, input.size());
    std::vector<uint8_t> back;
    EXPECT_TRUE(InflateOurs(run.output, format, back));
    EXPECT_TRUE(std::equal(back.begin(), back.end(), input.begin()) && back.size() == run.taken);
  }
}

TEST(DeflateEncoder, MemoryEntryOutputLeavesInBufferSizedPieces) {
  std::vector<uint8_t> input = TextData(300000, 11);
  for (EncoderFormat format : {EncoderFormat::Deflate, EncoderFormat::Deflate64}) {
    DeflateMemoryRun run;
    run.format = format;
    run.traits = kMemoryEntryOutput;
    run.outputCapacity = 8192;
    ExpectRoundTrip(run, input, FormatName(format));
    ASSERT_GT(run.writeSizes.size(), 1u);
    for (uint32_t piece : run.writeSizes) EXPECT_LE(piece, 8192u);
  }
}

// Writes a small zip of Deflate and Deflate64 members for the check with
// 7-Zip, Info-ZIP unzip and Python's zipfile.
void Put16(std::vector<uint8_t>& b, uint32_t v) {
  b.push_back(uint8_t(v));
  b.push_back(uint8_t(v >> 8));
}
void Put32(std::vector<uint8_t>& b, uint32_t v) {
  Put16(b, v & 0xFFFF);
  Put16(b, v >> 16);
}

struct ZipMember {
  std::string name;
  uint16_t method;
  uint16_t flags;
  uint32_t crc;
  uint32_t size;
  std::vector<uint8_t> data;
  uint32_t offset;
};

void PutHeader(std::vector<uint8_t>& b, const ZipMember& m, bool central) {
  Put32(b, central ? 0x02014B50 : 0x04034B50);
  if (central) Put16(b, 21);
  Put16(b, 21);
  Put16(b, m.flags);
  Put16(b, m.method);
  Put32(b, 0x00210000);  // 1980-01-01 00:00
  Put32(b, m.crc);
  Put32(b, uint32_t(m.data.size()));
  Put32(b, m.size);
  Put16(b, uint16_t(m.name.size()));
  Put16(b, 0);
  if (central) {
    for (int i = 0; i < 3; ++i) Put16(b, 0);  // comment, disk, internal attributes
    Put32(b, 0);
    Put32(b, m.offset);
  }
  b.insert(b.end(), m.name.begin(), m.name.end());
}

TEST(DeflateEncoder, WritesZipForExternalTools) {
  struct {
    const char* name;
    EncoderFormat format;
    int level;
    std::vector<uint8_t> input;
  } sources[] = {
      {"text64-6.txt", EncoderFormat::Deflate64, 6, TextData(300000, 12)},
      {"run64-9.bin", EncoderFormat::Deflate64, 9, std::vector<uint8_t>(200000, 'r')},
      {"mixed64-1.bin", EncoderFormat::Deflate64, 1, RunData(250000, 13)},
      {"random64-3.bin", EncoderFormat::Deflate64, 3, RandomData(140000, 14)},
      {"text-9.txt", EncoderFormat::Deflate, 9, TextData(100000, 15)},
  };
  std::vector<uint8_t> zip;
  std::vector<ZipMember> members;
  for (auto& src : sources) {
    DeflateMemoryRun run;
    run.format = src.format;
    run.level = src.level;
    run.traits = kMultiVolumeOutput;  // never stored whole
    run.Encode(src.input);
    ASSERT_EQ(run.result, 0) << src.name;
    ZipMember m{src.name,
                uint16_t(src.format == EncoderFormat::Deflate64 ? 9 : 8),
                run.flags,
                Crc32Continue(0, src.input.data(), src.input.size()),
                uint32_t(src.input.size()),
                run.output,
                uint32_t(zip.size())};
    PutHeader(zip, m, false);
    zip.insert(zip.end(), m.data.begin(), m.data.end());
    members.push_back(std::move(m));
  }
  uint32_t directory = uint32_t(zip.size());
  for (const auto& m : members) PutHeader(zip, m, true);
  Put32(zip, 0x06054B50);
  Put32(zip, 0);
  Put16(zip, uint16_t(members.size()));
  Put16(zip, uint16_t(members.size()));
  Put32(zip, uint32_t(zip.size()) - directory - 12);
  Put32(zip, directory);
  Put16(zip, 0);

  FILE* f = fopen(BRENNICOR_TEST_WORK "/deflate_members.zip", "wb");
  ASSERT_NE(f, nullptr);
  EXPECT_EQ(fwrite(zip.data(), 1, zip.size(), f), zip.size());
  fclose(f);
}

}  // namespace
