// Huffman code lengths: complete codes within the length limit, also for
// frequencies whose optimal tree is far deeper than the limit.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "DeflateHuffman.h"

namespace {

std::vector<uint32_t> Fibonacci(int count) {
  std::vector<uint32_t> f;
  uint32_t a = 1, b = 1;
  for (int i = 0; i < count; ++i) {
    f.push_back(a);
    uint32_t next = a + b;
    a = b;
    b = next;
  }
  return f;
}

TEST(DeflateCodeLengths, GivesCompleteCodesWithinTheLimit) {
  struct Case {
    std::string what;
    std::vector<uint32_t> freq;
    int maxBits;
  };
  std::vector<Case> cases = {
      {"flat", std::vector<uint32_t>(286, 5), 15},
      {"fibonacci over 15 bits", Fibonacci(30), 15},
      {"fibonacci over 7 bits", Fibonacci(19), 7},
      {"one symbol", {0, 0, 0, 9}, 15},
      {"no symbol", {0, 0, 0, 0}, 15},
  };
  std::vector<uint32_t> spread(286, 0);  // fibonacci weights scattered over the alphabet
  std::vector<uint32_t> fib = Fibonacci(25);
  for (size_t i = 0; i < fib.size(); ++i) spread[(i * 37) % 286] = fib[i];
  cases.push_back({"fibonacci spread", spread, 15});

  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    std::vector<uint8_t> lengths(c.freq.size());
    int maxCode = BuildCodeLengths(c.freq.data(), int(c.freq.size()), c.maxBits, lengths.data());
    uint64_t space = 0;
    int coded = 0;
    for (size_t i = 0; i < lengths.size(); ++i) {
      EXPECT_LE(lengths[i], c.maxBits);
      if (c.freq[i] != 0) {
        EXPECT_NE(lengths[i], 0);
      }
      if (lengths[i] == 0) continue;
      EXPECT_LE(int(i), maxCode);
      space += uint64_t(1) << (c.maxBits - lengths[i]);
      ++coded;
    }
    EXPECT_EQ(space, uint64_t(1) << c.maxBits);  // complete: neither over- nor undersubscribed
    EXPECT_GE(coded, 2);
  }
}

}  // namespace
