// Members made by tools and encoders nobody here wrote the decoders for
// (zlib, 7-Zip, and the test-only Shrink, Implode and Reduce encoders),
// listed by the setup step in decoders.txt.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <sstream>
#include <string>

#include "DecoderMemoryIo.h"
#include "test_files.h"

namespace {

struct Case {
  std::string name;
  int method;
  uint16_t flags;
  std::vector<uint8_t> compressed;
  std::vector<uint8_t> expected;
};

std::vector<Case> LoadCases() {
  std::string folder = std::string(BRENNICOR_TEST_WORK) + "/decoders/";
  std::ifstream list(folder + "decoders.txt");
  std::vector<Case> cases;
  std::string line;
  while (std::getline(list, line)) {
    std::istringstream fields(line);
    Case c;
    if (!(fields >> c.name >> c.method >> c.flags)) continue;
    c.compressed = ReadFileBytes(folder + c.name + ".in");
    c.expected = ReadFileBytes(folder + c.name + ".out");
    cases.push_back(std::move(c));
  }
  return cases;
}

const std::vector<Case>& Cases() {
  static const std::vector<Case> cases = LoadCases();
  return cases;
}

TEST(DecoderCases, DecodeByteExactWhateverTheInputRuns) {
  ASSERT_GT(Cases().size(), 30u) << "setup step decoders_inputs did not run";
  for (const Case& c : Cases()) {
    for (size_t runSize : {size_t{1}, size_t{4093}, size_t{1} << 20}) {
      DecoderMemoryIo io;
      io.runSize = runSize;
      DecodeRun run = DecodeBytes(c.method, c.compressed, c.expected.size(), c.flags, io);
      EXPECT_EQ(run.result, kDecodeDone) << c.name << " in runs of " << runSize;
      EXPECT_TRUE(run.output == c.expected) << c.name << " in runs of " << runSize;
    }
  }
}

// Input that stops early is never taken for a whole member.
TEST(DecoderCases, TruncatedInputIsNeverDone) {
  for (const Case& c : Cases()) {
    size_t size = c.compressed.size();
    for (size_t keep : {size_t{0}, size / 3, size / 2, size - 2, size - 1}) {
      if (keep >= size) continue;
      std::vector<uint8_t> cut(c.compressed.begin(), c.compressed.begin() + keep);
      DecodeRun run = DecodeBytes(c.method, cut, c.expected.size(), c.flags);
      EXPECT_NE(run.result, kDecodeDone) << c.name << " cut to " << keep;
      EXPECT_LE(run.output.size(), c.expected.size()) << c.name;
    }
  }
}

TEST(DecoderCases, StopWhenOutputOrInputSaysSo) {
  for (const Case& c : Cases()) {
    if (c.expected.empty()) continue;
    DecoderMemoryIo refuse;
    refuse.outputLimit = 0;
    EXPECT_EQ(DecodeBytes(c.method, c.compressed, c.expected.size(), c.flags, refuse).result,
              kDecodeStopped)
        << c.name;
    DecoderMemoryIo cancel;
    cancel.runSize = 100;
    cancel.stopAt = c.compressed.size() / 2;
    EXPECT_EQ(DecodeBytes(c.method, c.compressed, c.expected.size(), c.flags, cancel).result,
              kDecodeStopped)
        << c.name;
  }
}

}  // namespace
