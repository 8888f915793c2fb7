// Hand-made Deflate and Deflate64 blocks for the paths zlib never writes:
// malformed headers and code sets, matches at the window's limits, and
// distances that reach before the member's own output.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "BitWriter.h"
#include "DecoderMemoryIo.h"

namespace {

constexpr int kDeflate = 8;
constexpr int kDeflate64 = 9;

struct Match {
  unsigned length;
  unsigned distance;
};

// One literal/length or distance symbol with its extra bits.
struct Coded {
  unsigned symbol;
  unsigned extraBits;
  unsigned extra;
};

Coded LengthSymbol(unsigned length, bool deflate64) {
  static const unsigned bases[] = {3,  4,  5,  6,  7,  8,  9,  10, 11,  13,  15,  17,  19,  23, 27,
                                   31, 35, 43, 51, 59, 67, 83, 99, 115, 131, 163, 195, 227, 258};
  static const unsigned extra[] = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2,
                                   2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};
  if (deflate64 && length >= 259) return {285, 16, length - 3};
  unsigned code = 28;
  while (bases[code] > length || (deflate64 && code == 28)) --code;
  return {257 + code, extra[code], length - bases[code]};
}

Coded DistanceSymbol(unsigned distance) {
  unsigned code = 0;
  unsigned base = 1;
  for (;;) {
    unsigned extraBits = code < 4 ? 0 : code / 2 - 1;
    if (distance < base + (1u << extraBits)) return {code, extraBits, distance - base};
    base += 1u << extraBits;
    ++code;
  }
}

// Fixed-code literal/length symbol, as RFC 1951 lays the codes out.
void FixedSymbol(BitWriter& out, unsigned symbol) {
  if (symbol < 144) out.Code(0x30 + symbol, 8);
  else if (symbol < 256) out.Code(0x190 + symbol - 144, 9);
  else if (symbol < 280) out.Code(symbol - 256, 7);
  else out.Code(0xC0 + symbol - 280, 8);
}

void FixedMatch(BitWriter& out, Match match, bool deflate64) {
  Coded length = LengthSymbol(match.length, deflate64);
  FixedSymbol(out, length.symbol);
  out.Bits(length.extra, length.extraBits);
  Coded distance = DistanceSymbol(match.distance);
  out.Code(distance.symbol, 5).Bits(distance.extra, distance.extraBits);
}

void StoredBlock(BitWriter& out, const std::vector<uint8_t>& bytes, bool last) {
  out.Bits(last, 1).Bits(0, 2).AlignToByte();
  out.Bits(static_cast<uint32_t>(bytes.size()), 16).Bits(~static_cast<uint32_t>(bytes.size()), 16);
  for (uint8_t b : bytes) out.Bits(b, 8);
}

std::vector<uint8_t> RandomBytes(size_t n, unsigned seed) {
  std::mt19937 rng(seed);
  std::vector<uint8_t> bytes(n);
  for (auto& b : bytes) b = static_cast<uint8_t>(rng());
  return bytes;
}

// What a list of matches appends to out, byte by byte as LZ77 defines it.
void AppendMatches(std::vector<uint8_t>& out, const std::vector<Match>& matches) {
  for (Match m : matches)
    for (unsigned i = 0; i < m.length; ++i) out.push_back(out[out.size() - m.distance]);
}

// Stored blocks of random bytes up to shortOfSlide bytes short of the point
// where the window fills and keeps only its history, then one fixed block of
// the leading literals and matches that run across that point, and literals
// after them, so that the matches past it are decoded with input to spare.
void ExpectMatchesAcrossTheSlide(int method, size_t shortOfSlide, const std::vector<uint8_t>& leading,
                                 const std::vector<Match>& matches) {
  std::vector<uint8_t> expected = RandomBytes(kInflateWindowSize - shortOfSlide, 7);
  BitWriter out;
  for (size_t at = 0; at < expected.size(); at += 40000) {
    size_t end = std::min(expected.size(), at + 40000);
    StoredBlock(out, {expected.begin() + at, expected.begin() + end}, false);
  }
  out.Bits(1, 1).Bits(1, 2);
  for (uint8_t literal : leading) {
    FixedSymbol(out, literal);
    expected.push_back(literal);
  }
  for (Match m : matches) FixedMatch(out, m, method == kDeflate64);
  AppendMatches(expected, matches);
  for (uint8_t literal : RandomBytes(64, 8)) {
    FixedSymbol(out, literal);
    expected.push_back(literal);
  }
  FixedSymbol(out, 256);

  DecodeRun run = DecodeBytes(method, out.Bytes(), 0);
  EXPECT_EQ(run.result, kDecodeDone);
  EXPECT_TRUE(run.output == expected);
}

TEST(InflateBlocks, LongestMatchesAcrossTheWindowSlide) {
  ExpectMatchesAcrossTheSlide(kDeflate, 100, {}, {{258, 32768}, {258, 32768}, {258, 1}, {3, 32768}});
  // Three bytes past the slide: a short distance back over it, then sources
  // in the kept history, some of them running on into the new bytes.
  ExpectMatchesAcrossTheSlide(kDeflate, 100, {}, {{103, 32768}, {10, 12}, {100, 200}, {250, 260}});
  ExpectMatchesAcrossTheSlide(kDeflate64, 100, {}, {{65538, 65536}, {65538, 65536}, {259, 3}});
}

// Two literals and a longest match, the most one pass of the fast loop
// writes before it looks at the room left, ending just before the window's
// end, at it and one past it had it no room for them.
TEST(InflateBlocks, TwoLiteralsAndALongestMatchUpToTheWindowsEnd) {
  for (size_t shortOfSlide : {258, 259, 260, 261}) {
    SCOPED_TRACE(shortOfSlide);
    ExpectMatchesAcrossTheSlide(kDeflate, shortOfSlide, {'x', 'y'}, {{258, 1}, {258, 32768}});
  }
}

TEST(InflateBlocks, DistanceBeforeTheMembersStartIsCorrupt) {
  BitWriter first;
  first.Bits(1, 1).Bits(1, 2);
  for (char c : std::string("abc")) FixedSymbol(first, static_cast<unsigned>(c));
  FixedMatch(first, {3, 3}, false);
  FixedSymbol(first, 256);
  std::vector<uint8_t> valid = first.Bytes();

  BitWriter tooFar;
  tooFar.Bits(1, 1).Bits(1, 2);
  FixedSymbol(tooFar, 'a');
  FixedMatch(tooFar, {3, 2}, false);
  FixedSymbol(tooFar, 256);

  for (int method : {kDeflate, kDeflate64}) {
    DecoderState state{};
    DecodeRun run = DecodeBytes(method, valid, 0, 0, {}, &state);
    EXPECT_EQ(run.result, kDecodeDone);
    EXPECT_EQ(std::string(run.output.begin(), run.output.end()), "abcabc");
    // The window still holds the first member's bytes: the second member
    // may not reach them.
    EXPECT_EQ(DecodeBytes(method, tooFar.Bytes(), 0, 0, {}, &state).result, kDecodeCorrupt);
  }
}

// A longest match after a few KiB of literals, reaching back to the
// member's first byte or past it. Followed by more literals than one pass
// of the fast loop reads, the fast loop decodes the match; at the end of the
// input the careful loop does (Deflate64 has only the careful one). One byte
// past what was written is as corrupt as a match's length past it.
TEST(InflateBlocks, DistanceBeforeTheMembersStartIsCorruptInEitherLoop) {
  constexpr size_t kWritten = 3000;
  struct Case {
    const char* name;
    int method;
    unsigned beyondWritten;
    size_t literalsAfter;
    DecodeResult expected;
  };
  const Case cases[] = {
      {"fast loop, to the first byte", kDeflate, 0, 64, kDecodeDone},
      {"fast loop, one byte before it", kDeflate, 1, 64, kDecodeCorrupt},
      {"fast loop, a match's length before it", kDeflate, 258, 64, kDecodeCorrupt},
      {"careful loop, to the first byte", kDeflate, 0, 0, kDecodeDone},
      {"careful loop, one byte before it", kDeflate, 1, 0, kDecodeCorrupt},
      {"careful loop, a match's length before it", kDeflate, 258, 0, kDecodeCorrupt},
      {"Deflate64, to the first byte", kDeflate64, 0, 64, kDecodeDone},
      {"Deflate64, one byte before it", kDeflate64, 1, 64, kDecodeCorrupt},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::vector<uint8_t> expected = RandomBytes(kWritten, 11);
    BitWriter out;
    out.Bits(1, 1).Bits(1, 2);
    for (uint8_t literal : expected) FixedSymbol(out, literal);
    const Match match{258, static_cast<unsigned>(kWritten) + c.beyondWritten};
    FixedMatch(out, match, c.method == kDeflate64);
    if (c.expected == kDecodeDone) AppendMatches(expected, {match});
    for (uint8_t literal : RandomBytes(c.literalsAfter, 12)) {
      FixedSymbol(out, literal);
      expected.push_back(literal);
    }
    FixedSymbol(out, 256);

    DecodeRun run = DecodeBytes(c.method, out.Bytes(), 0);
    EXPECT_EQ(run.result, c.expected);
    if (c.expected == kDecodeDone) EXPECT_TRUE(run.output == expected);
  }
}

// A dynamic block header from its code lengths. Unless spelt out, the
// code-length code gives 4 bits to each of the symbols 0-14 and 5 bits to
// 15 and 16 (complete), and the lengths are sent one symbol each.
struct CodeLengthSymbol {
  unsigned symbol;
  unsigned extra;  // the repeat count's extra bits, for 16-18
};

struct Dynamic {
  std::vector<uint8_t> literalLengths;
  std::vector<uint8_t> distanceLengths;
  std::vector<uint8_t> codeLengthCode = {};
  std::vector<CodeLengthSymbol> codeLengthSymbols = {};
};

std::vector<unsigned> CanonicalCodes(const std::vector<uint8_t>& lengths) {
  std::vector<unsigned> codes(lengths.size());
  unsigned code = 0;
  for (unsigned length = 1; length <= 15; ++length) {
    for (size_t s = 0; s < lengths.size(); ++s)
      if (lengths[s] == length) codes[s] = code++;
    code <<= 1;
  }
  return codes;
}

void DynamicHeader(BitWriter& out, const Dynamic& d, bool last = true) {
  static const unsigned order[19] = {16, 17, 18, 0, 8, 7, 9, 6, 10, 5,
                                     11, 4, 12, 3, 13, 2, 14, 1, 15};
  static const unsigned repeatBits[3] = {2, 3, 7};
  std::vector<uint8_t> clLengths = d.codeLengthCode;
  if (clLengths.empty()) {
    clLengths.assign(19, 4);
    clLengths[15] = clLengths[16] = 5;
    clLengths[17] = clLengths[18] = 0;
  }
  out.Bits(last ? 1 : 0, 1).Bits(2, 2);
  out.Bits(static_cast<uint32_t>(d.literalLengths.size() - 257), 5);
  out.Bits(static_cast<uint32_t>(d.distanceLengths.size() - 1), 5);
  out.Bits(19 - 4, 4);
  for (unsigned symbol : order) out.Bits(clLengths[symbol], 3);
  std::vector<unsigned> clCodes = CanonicalCodes(clLengths);
  std::vector<CodeLengthSymbol> symbols = d.codeLengthSymbols;
  if (symbols.empty()) {
    for (uint8_t length : d.literalLengths) symbols.push_back({length, 0});
    for (uint8_t length : d.distanceLengths) symbols.push_back({length, 0});
  }
  for (CodeLengthSymbol s : symbols) {
    out.Code(clCodes[s.symbol], clLengths[s.symbol]);
    if (s.symbol >= 16) out.Bits(s.extra, repeatBits[s.symbol - 16]);
  }
}

// Literals 'a' and 'b', end of block and length 3 (symbol 257), 2 bits each.
std::vector<uint8_t> SmallLiteralLengths() {
  std::vector<uint8_t> lengths(258, 0);
  lengths['a'] = lengths['b'] = lengths[256] = lengths[257] = 2;
  return lengths;
}

// "ab", a match of 3 at distance 2 ("aba"), end of block; the blocks whose
// header is at fault end after it.
void WriteSmallBlock(BitWriter& out, const Dynamic& d, bool last) {
  DynamicHeader(out, d, last);
  if (d.distanceLengths.size() < 2 || d.literalLengths['a'] != 2) return;
  std::vector<unsigned> lit = CanonicalCodes(d.literalLengths);
  std::vector<unsigned> dist = CanonicalCodes(d.distanceLengths);
  out.Code(lit['a'], 2).Code(lit['b'], 2).Code(lit[257], 2);
  out.Code(dist[1], d.distanceLengths[1]);  // distance code 1: distance 2
  out.Code(lit[256], 2);
}

std::vector<uint8_t> SmallBlock(const Dynamic& d) {
  BitWriter out;
  WriteSmallBlock(out, d, true);
  return out.Bytes();
}

// Fixed blocks before and after a stored and a dynamic block: each fixed
// block decodes with the fixed codes, whatever tables the blocks between
// left behind.
TEST(InflateBlocks, FixedBlocksBetweenStoredAndDynamicBlocks) {
  std::vector<uint8_t> twoDistances(30, 0);
  twoDistances[0] = twoDistances[1] = 1;
  auto fixedBlock = [](BitWriter& out, const char* literals, bool last) {
    out.Bits(last ? 1 : 0, 1).Bits(1, 2);
    for (const char* c = literals; *c; ++c) FixedSymbol(out, static_cast<unsigned char>(*c));
    FixedMatch(out, {4, 3}, false);
    FixedSymbol(out, 256);
  };
  BitWriter out;
  fixedBlock(out, "abc", false);
  StoredBlock(out, {'-', '-'}, false);
  fixedBlock(out, "xyz", false);
  WriteSmallBlock(out, {SmallLiteralLengths(), twoDistances}, false);
  fixedBlock(out, "pqr", true);
  for (int method : {kDeflate, kDeflate64}) {
    DecodeRun run = DecodeBytes(method, out.Bytes(), 0);
    EXPECT_EQ(run.result, kDecodeDone) << "method " << method;
    EXPECT_EQ(std::string(run.output.begin(), run.output.end()), "abcabca--xyzxyzxababapqrpqrp");
  }
}

TEST(InflateBlocks, DynamicHeaders) {
  std::vector<uint8_t> twoDistances(30, 0);
  twoDistances[0] = twoDistances[1] = 1;
  std::vector<uint8_t> thirtyOne(31, 0);
  thirtyOne[0] = thirtyOne[1] = 1;
  std::vector<uint8_t> thirtyTwo(32, 0);
  thirtyTwo[0] = thirtyTwo[1] = 1;

  struct Row {
    const char* what;
    Dynamic block;
    DecodeResult deflate;
    DecodeResult deflate64;
  };
  const Row rows[] = {
      {"plain", {SmallLiteralLengths(), twoDistances}, kDecodeDone, kDecodeDone},
      {"HDIST 31", {SmallLiteralLengths(), thirtyOne}, kDecodeCorrupt, kDecodeDone},
      {"HDIST 32", {SmallLiteralLengths(), thirtyTwo}, kDecodeCorrupt, kDecodeDone},
  };
  for (const Row& row : rows) {
    for (int method : {kDeflate, kDeflate64}) {
      DecodeRun run = DecodeBytes(method, SmallBlock(row.block), 0);
      DecodeResult want = method == kDeflate ? row.deflate : row.deflate64;
      EXPECT_EQ(run.result, want) << row.what << " method " << method;
      if (want == kDecodeDone) {
        EXPECT_EQ(std::string(run.output.begin(), run.output.end()), "ababa");
      }
    }
  }
}

TEST(InflateBlocks, RepeatCodeFirstRepeatsZero) {
  Dynamic block{SmallLiteralLengths(), std::vector<uint8_t>(2, 1)};
  // A code-length code for 0, 1 and 2 (2 bits) and 16 and 18 (3 bits).
  block.codeLengthCode.assign(19, 0);
  block.codeLengthCode[0] = block.codeLengthCode[1] = block.codeLengthCode[2] = 2;
  block.codeLengthCode[16] = block.codeLengthCode[18] = 3;
  block.codeLengthSymbols = {
      {16, 0},        // lengths 0-2: the "previous" length 0, 3 times
      {18, 94 - 11},  // 3-96: zeros
      {2, 0},         // 'a'
      {2, 0},         // 'b'
      {18, 138 - 11}, // 99-236
      {18, 19 - 11},  // 237-255
      {2, 0},         // end of block
      {2, 0},         // length 3
      {1, 0},         // two distance codes of 1 bit
      {1, 0}};
  for (int method : {kDeflate, kDeflate64}) {
    DecodeRun run = DecodeBytes(method, SmallBlock(block), 0);
    EXPECT_EQ(run.result, kDecodeDone);
    EXPECT_EQ(std::string(run.output.begin(), run.output.end()), "ababa");
  }
}

// Malformed blocks, each as its bits.
TEST(InflateBlocks, MalformedBlocks) {
  std::vector<uint8_t> twoDistances(2, 1);

  BitWriter badStored;
  badStored.Bits(1, 1).Bits(0, 2).AlignToByte().Bits(5, 16).Bits(0xFFFA ^ 1, 16);
  BitWriter typeThree;
  typeThree.Bits(1, 1).Bits(3, 2);
  BitWriter fixedDistance30;
  fixedDistance30.Bits(1, 1).Bits(1, 2);
  FixedSymbol(fixedDistance30, 'x');
  FixedSymbol(fixedDistance30, 257);
  fixedDistance30.Code(30, 5).Bits(0, 14);

  std::vector<uint8_t> overLiterals = SmallLiteralLengths();
  overLiterals['c'] = 2;
  std::vector<uint8_t> underLiterals = SmallLiteralLengths();
  underLiterals['a'] = 3;
  std::vector<uint8_t> noLiterals(258, 0);

  struct Row {
    const char* what;
    std::vector<uint8_t> bytes;
    DecodeResult deflate;
    DecodeResult deflate64;
  };
  const Row rows[] = {
      {"NLEN not the complement of LEN", badStored.Bytes(), kDecodeCorrupt, kDecodeCorrupt},
      {"block type 3", typeThree.Bytes(), kDecodeBadCodes, kDecodeBadCodes},
      {"HLIT 287", SmallBlock({std::vector<uint8_t>(287, 0), twoDistances}), kDecodeCorrupt,
       kDecodeCorrupt},
      {"no code-length codes",
       SmallBlock({SmallLiteralLengths(), twoDistances, std::vector<uint8_t>(19, 0), {{0, 0}}}),
       kDecodeCorrupt, kDecodeCorrupt},
      {"fixed distance code 30", fixedDistance30.Bytes(), kDecodeCorrupt, kDecodeCorrupt},
      {"no literal/length codes", SmallBlock({noLiterals, twoDistances}), kDecodeCorrupt,
       kDecodeCorrupt},
      {"over-subscribed literal/length code", SmallBlock({overLiterals, twoDistances}),
       kDecodeBadCodes, kDecodeBadCodes},
      {"incomplete literal/length code", SmallBlock({underLiterals, twoDistances}),
       kDecodeCorrupt, kDecodeCorrupt},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(DecodeBytes(kDeflate, row.bytes, 0).result, row.deflate) << row.what;
    EXPECT_EQ(DecodeBytes(kDeflate64, row.bytes, 0).result, row.deflate64) << row.what;
  }
}

// A single distance code of zero bits sends a block of literals only, even
// when the literal/length code has lengths for length codes (RFC 1951
// 3.2.7): the block decodes, and a length code in it is corrupt.
TEST(InflateBlocks, NoDistanceCodesServeLiteralsOnly) {
  const Dynamic header{SmallLiteralLengths(), std::vector<uint8_t>(1, 0)};
  std::vector<unsigned> lit = CanonicalCodes(header.literalLengths);
  BitWriter literals;
  DynamicHeader(literals, header);
  literals.Code(lit['a'], 2).Code(lit['b'], 2).Code(lit[256], 2);
  BitWriter withMatch;
  DynamicHeader(withMatch, header);
  withMatch.Code(lit['a'], 2).Code(lit['b'], 2).Code(lit[257], 2).Bits(0, 8);
  for (int method : {kDeflate, kDeflate64}) {
    DecodeRun run = DecodeBytes(method, literals.Bytes(), 0);
    EXPECT_EQ(run.result, kDecodeDone) << method;
    EXPECT_EQ(std::string(run.output.begin(), run.output.end()), "ab") << method;
    EXPECT_EQ(DecodeBytes(method, withMatch.Bytes(), 0).result, kDecodeCorrupt) << method;
  }
}

TEST(InflateBlocks, RepeatPastTheLastLengthIsCorrupt) {
  Dynamic block{SmallLiteralLengths(), std::vector<uint8_t>(2, 1)};
  for (uint8_t length : block.literalLengths) block.codeLengthSymbols.push_back({length, 0});
  block.codeLengthSymbols.push_back({1, 0});
  block.codeLengthSymbols.push_back({16, 0});  // 3 of the previous length, with 1 slot left
  EXPECT_EQ(DecodeBytes(kDeflate, SmallBlock(block), 0).result, kDecodeCorrupt);
}

}  // namespace
