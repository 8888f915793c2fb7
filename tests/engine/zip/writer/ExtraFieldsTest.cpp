// The extra-field walk over entries of existing archives: values taken from
// the Zip64 block, blocks cut out, and malformed lengths that stop the walk.
#include <gtest/gtest.h>

#include <vector>

#include "update/ZipExtraFields.h"

namespace {

using Bytes = std::vector<uint8_t>;

void Put16(Bytes &b, uint32_t v) {
  b.push_back(uint8_t(v));
  b.push_back(uint8_t(v >> 8));
}
void Put64(Bytes &b, uint64_t v) {
  for (int i = 0; i < 8; ++i) b.push_back(uint8_t(v >> (8 * i)));
}

Bytes Block(uint16_t id, const Bytes &data) {
  Bytes b;
  Put16(b, id);
  Put16(b, uint32_t(data.size()));
  b.insert(b.end(), data.begin(), data.end());
  return b;
}

Bytes Concat(std::initializer_list<Bytes> parts) {
  Bytes all;
  for (const Bytes &p : parts) all.insert(all.end(), p.begin(), p.end());
  return all;
}

TEST(ZipExtraFields, Zip64TakesOnlyTheOverflowedValues) {
  Bytes values;
  Put64(values, 0x123456789ull);  // uncompressed
  Put64(values, 0x100000000ull);  // compressed
  Bytes other = Block(0x5455, Bytes(5, 7));
  Bytes extra = Concat({other, Block(1, values), Block(0x7875, Bytes(3, 1))});
  uint32_t length = uint32_t(extra.size()), found = 0, disk = 0;
  uint64_t uncompressed = 0xFFFFFFFF, compressed = 0xFFFFFFFF, offset = 1234;
  ASSERT_EQ(ZipTakeZip64Extra(extra.data(), &length, &uncompressed, &compressed, &offset, &disk, &found, 1), 1);
  EXPECT_EQ(uncompressed, 0x123456789ull);
  EXPECT_EQ(compressed, 0x100000000ull);
  EXPECT_EQ(offset, 1234u);
  EXPECT_EQ(found, 20u);
  EXPECT_EQ(length, uint32_t(other.size() + 7));
  EXPECT_EQ(Bytes(extra.begin(), extra.begin() + length), Concat({other, Block(0x7875, Bytes(3, 1))}));

  // A block too short for what is marked leaves the values as they are.
  Bytes shortValues;
  Put64(shortValues, 99);
  Bytes shortExtra = Block(1, shortValues);
  length = uint32_t(shortExtra.size());
  uncompressed = compressed = 0xFFFFFFFF;
  ASSERT_EQ(ZipTakeZip64Extra(shortExtra.data(), &length, &uncompressed, &compressed, &offset, &disk, &found, 0), 1);
  EXPECT_EQ(uncompressed, 0xFFFFFFFFu);
}

TEST(ZipExtraFields, EncryptionBlocksCopiedAndCut) {
  Bytes aes = Block(0x9901, {2, 0, 'A', 'E', 3, 8, 0});
  Bytes strong = Block(0x0017, {2, 0, 0x10, 0x66, 0, 1, 1, 0, 0, 0, 0, 0});
  Bytes extra = Concat({strong, aes});
  uint32_t length = uint32_t(extra.size()), found = 0;
  uint8_t copy[16] = {};
  ASSERT_EQ(ZipTakeAesExtra(extra.data(), &length, &found, copy, 1), 1);
  EXPECT_EQ(found, 11u);
  EXPECT_EQ(Bytes(copy, copy + 11), aes);
  EXPECT_EQ(length, 16u);
  ASSERT_EQ(ZipTakeStrongExtra(extra.data(), &length, &found, copy, 0), 1);
  EXPECT_EQ(Bytes(copy, copy + 16), strong);
  EXPECT_EQ(length, 16u);
  // Larger than the format allows: not taken.
  Bytes big = Block(0x9901, Bytes(12, 0));
  length = uint32_t(big.size());
  EXPECT_EQ(ZipTakeAesExtra(big.data(), &length, &found, nullptr, 1), 0);
  EXPECT_EQ(length, uint32_t(big.size()));
}

// A block whose stated size runs past the end of the extra stops the walk:
// nothing behind it is found and nothing is read past the buffer.
TEST(ZipExtraFields, OverlongBlockStopsTheWalk) {
  struct Case {
    const char *label;
    Bytes extra;
  };
  Bytes lying = {0x55, 0x54, 0xF0, 0xFF};  // claims 65,520 bytes
  const Case cases[] = {
      {"overlong first block", Concat({lying, Block(0x9901, {2, 0, 'A', 'E', 3, 8, 0})})},
      {"overlong target block", {0x01, 0x99, 20, 0, 2, 0, 'A', 'E'}},
      {"header only", {0x01, 0x99, 0, 0}},
      {"three bytes", {0x01, 0x99, 7}},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.label);
    // A copy exactly as long as stated: nothing may be read past it.
    uint8_t *exact = new uint8_t[c.extra.size()];
    std::copy(c.extra.begin(), c.extra.end(), exact);
    uint32_t length = uint32_t(c.extra.size()), found = 99;
    EXPECT_EQ(ZipTakeAesExtra(exact, &length, &found, nullptr, 1), 0);
    EXPECT_EQ(found, 0u);
    EXPECT_EQ(length, uint32_t(c.extra.size()));
    uint64_t a = 0xFFFFFFFF, b = 0xFFFFFFFF, o = 0xFFFFFFFF;
    uint32_t disk = 0;
    EXPECT_EQ(ZipTakeZip64Extra(exact, &length, &a, &b, &o, &disk, &found, 1), 0);
    delete[] exact;
  }
}

}  // namespace
