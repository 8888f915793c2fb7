// Hand-made Shrink, Implode and Reduce members for what the encoders never
// write: malformed trees, codes and follower indexes, and the LZW corners.
#include <gtest/gtest.h>

#include <string>

#include "BitWriter.h"
#include "DecoderMemoryIo.h"

namespace {

constexpr int kShrink = 1;
constexpr int kReduce2 = 3;
constexpr int kImplode = 6;

std::string Text(const std::vector<uint8_t>& bytes) { return {bytes.begin(), bytes.end()}; }

TEST(Unshrink, CodeBeingDefinedRepeatsThePreviousString) {
  BitWriter out;
  out.Bits('a', 9).Bits(257, 9).Bits(257, 9);  // "a", then "aa" twice over
  DecodeRun run = DecodeBytes(kShrink, out.Bytes(), 5);
  EXPECT_EQ(run.result, kDecodeDone);
  EXPECT_EQ(Text(run.output), "aaaaa");
}

TEST(Unshrink, CodeSizeStopsAtThirteenBits) {
  BitWriter out;
  out.Bits('A', 9);
  for (unsigned bits = 9; bits <= 13; ++bits) out.Bits(256, bits).Bits(1, bits);
  out.Bits('B', 13).Bits('C', 13);
  DecodeRun run = DecodeBytes(kShrink, out.Bytes(), 3);
  EXPECT_EQ(run.result, kDecodeDone);
  EXPECT_EQ(Text(run.output), "ABC");
}

TEST(Unshrink, MalformedCodes) {
  BitWriter firstAboveByte;
  firstAboveByte.Bits(300, 9);
  // 300 is free but not the next code: read as the code being defined, it
  // leaves the previous code free, and a string through it is corrupt.
  BitWriter throughFree;
  throughFree.Bits('a', 9).Bits('b', 9).Bits(300, 9).Bits(300, 9);
  for (const BitWriter& out : {firstAboveByte, throughFree})
    EXPECT_EQ(DecodeBytes(kShrink, out.Bytes(), 10).result, kDecodeCorrupt);
}

TEST(Explode, TreeDescriptionsThatDoNotAddUp) {
  BitWriter tooMany;  // 5 x 16 codes for a tree of 64
  tooMany.Bits(4, 8);
  for (int i = 0; i < 5; ++i) tooMany.Bits(0xF5, 8);
  BitWriter tooFew;  // 16 codes for a tree of 64
  tooFew.Bits(0, 8).Bits(0xF5, 8);
  for (const BitWriter& out : {tooMany, tooFew})
    EXPECT_EQ(DecodeBytes(kImplode, out.Bytes(), 100).result, kDecodeBadTree);
}

TEST(Explode, OverSubscribedTree) {
  BitWriter out;  // 64 codes of 5 bits where 32 fill the code space
  out.Bits(3, 8);
  for (int i = 0; i < 4; ++i) out.Bits(0xF4, 8);
  EXPECT_EQ(DecodeBytes(kImplode, out.Bytes(), 100).result, kDecodeBadCodes);
}

TEST(Unreduce, FollowerIndexPastTheSetIsCorrupt) {
  BitWriter out;
  for (int x = 255; x > 0; --x) out.Bits(0, 6);
  out.Bits(3, 6).Bits('x', 8).Bits('y', 8).Bits('z', 8);  // byte 0 has 3 followers
  out.Bits(0, 1).Bits(3, 2);                              // index 3 of 3
  EXPECT_EQ(DecodeBytes(kReduce2, out.Bytes(), 10).result, kDecodeCorrupt);
}

TEST(LegacyDecoders, EmptyMemberReadsNothing) {
  for (int method : {kShrink, kReduce2, kImplode}) {
    DecodeRun run = DecodeBytes(method, {}, 0);
    EXPECT_EQ(run.result, kDecodeDone) << method;
    EXPECT_TRUE(run.output.empty()) << method;
  }
}

}  // namespace
