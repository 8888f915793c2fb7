#include "DecodeTable.h"

#include <cstring>

#include "DecoderState.h"

namespace {

constexpr unsigned kMaxCodeLength = 16;

uint32_t MakeEntry(unsigned op, unsigned bits, unsigned value) { return bits | (op << 8) | (value << 16); }

// How each layout spells a symbol, a link to a sub-table and an unused
// slot, and whether its first level keeps the wanted width. The builder is
// instantiated once per layout, so that these fold into its loops.
struct PlainEntries {
  static constexpr bool kKeepsWidth = false;
  static uint32_t Symbol(unsigned symbol, unsigned bits, const DecodeAlphabet& alphabet) {
    if (symbol < alphabet.simpleCount) {
      unsigned op = symbol < 256 ? alphabet.ops.literal : alphabet.ops.endOfBlock;
      return MakeEntry(op, bits, symbol);
    }
    unsigned index = symbol - alphabet.simpleCount;
    return MakeEntry(alphabet.extraBits[index], bits, alphabet.bases[index]);
  }
  static uint32_t Link(unsigned root, unsigned subWidth, unsigned start, const DecodeAlphabet& alphabet) {
    return MakeEntry(alphabet.ops.literal + subWidth, root, start);
  }
  static uint32_t Invalid(unsigned width) { return MakeEntry(kOpInvalid, width, 0); }
};

struct PackedEntries {
  static constexpr bool kKeepsWidth = true;
  static uint32_t Symbol(unsigned symbol, unsigned bits, const DecodeAlphabet& alphabet) {
    if (symbol < alphabet.simpleCount) {
      if (symbol < 256) return bits | (bits << 8) | kPackedLiteral | (symbol << 16);
      return bits | (bits << 8) | kPackedExceptional | (kPackedEndOfBlock << 16);
    }
    unsigned index = symbol - alphabet.simpleCount;
    if (alphabet.extraBits[index] == kOpInvalid) return kPackedExceptional;
    return (bits + alphabet.extraBits[index]) | (bits << 8) | (unsigned{alphabet.bases[index]} << 16);
  }
  static uint32_t Link(unsigned root, unsigned subWidth, unsigned start, const DecodeAlphabet&) {
    return root | (subWidth << 8) | kPackedExceptional | kPackedLink | (start << 16);
  }
  static uint32_t Invalid(unsigned) { return kPackedExceptional; }
};

// The input delivers a code's bits first bit first, so tables are indexed
// by the code written backwards. The canonical codes of one length count
// up; this is that count done on the reversed code: the highest clear bit
// below `length` is set and the ones above it cleared. Moving on to a
// longer code appends zeros at the code's end, which leaves the reversed
// code as it is.
unsigned NextReversed(unsigned reversed, unsigned length) {
  unsigned bit = 1u << (length - 1);
  while (reversed & bit) bit >>= 1;
  return bit ? (reversed & (bit - 1)) | bit : 0;
}

void Fill(uint32_t* slots, unsigned first, unsigned size, unsigned stride, uint32_t entry) {
  for (unsigned i = first; i < size; i += stride) slots[i] = entry;
}

// Width of a sub-table whose first code is `length` bits long: grown until
// the codes still to place fill it, or the longest code fits.
unsigned SubTableWidth(unsigned length, unsigned root, unsigned maxLength, const unsigned* remaining) {
  unsigned width = length - root;
  int left = 1 << width;
  while (root + width < maxLength) {
    left -= remaining[root + width];
    if (left <= 0) break;
    ++width;
    left <<= 1;
  }
  return width;
}

// The codes in canonical order (by length, then by symbol) and what the
// walk through them has reached.
struct CodeWalk {
  const uint8_t* lengths;
  const uint16_t* sorted;
  unsigned next;      // index into sorted
  unsigned reversed;  // the current code, reversed
};

// The first level, for codes of up to `root` bits: it grows from two slots,
// doubling after each length, so that a code is written once at its
// reversed value and every copy of it comes with the doubling. Slots no
// code reaches keep the invalid entry the first two start with.
template <class Entries>
void FillFirstLevel(CodeWalk& walk, const unsigned* counts, unsigned root, const DecodeAlphabet& alphabet,
                    uint32_t* table) {
  table[0] = table[1] = Entries::Invalid(root);
  for (unsigned length = 1;; ++length) {
    for (unsigned n = counts[length]; n > 0; --n) {
      unsigned symbol = walk.sorted[walk.next++];
      table[walk.reversed] = Entries::Symbol(symbol, length, alphabet);
      walk.reversed = NextReversed(walk.reversed, length);
    }
    if (length == root) return;
    std::memcpy(table + (1u << length), table, sizeof *table << length);
  }
}

// The codes longer than `root` bits, in sub-tables reached through links in
// the first level; `used` is the table's length so far.
template <class Entries>
BuildResult FillSubTables(CodeWalk& walk, unsigned* remaining, unsigned root, unsigned maxLength, unsigned placed,
                          const DecodeAlphabet& alphabet, uint32_t* table) {
  unsigned used = 1u << root;
  unsigned openPrefix = ~0u;  // first-level slot of the sub-table being filled
  uint32_t* subTable = nullptr;
  unsigned subWidth = 0;
  for (; walk.next < placed; ++walk.next) {
    unsigned symbol = walk.sorted[walk.next];
    unsigned length = walk.lengths[symbol];
    unsigned prefix = walk.reversed & ((1u << root) - 1);
    if (prefix != openPrefix) {
      subWidth = SubTableWidth(length, root, maxLength, remaining);
      if (used + (1u << subWidth) > kDecodeTableCapacity) return kBuildNoRoom;
      table[prefix] = Entries::Link(root, subWidth, used, alphabet);
      subTable = table + used;
      Fill(subTable, 0, 1u << subWidth, 1, Entries::Invalid(subWidth));
      used += 1u << subWidth;
      openPrefix = prefix;
    }
    unsigned extra = length - root;
    Fill(subTable, walk.reversed >> root, 1u << subWidth, 1u << extra, Entries::Symbol(symbol, extra, alphabet));
    --remaining[length];
    walk.reversed = NextReversed(walk.reversed, length);
  }
  return kBuildComplete;
}

template <class Entries>
BuildResult Build(const uint8_t* lengths, unsigned count, const DecodeAlphabet& alphabet, uint32_t* table,
                  unsigned* width) {
  unsigned counts[kMaxCodeLength + 1] = {};
  for (unsigned symbol = 0; symbol < count; ++symbol) ++counts[lengths[symbol]];
  counts[0] = 0;

  unsigned maxLength = kMaxCodeLength;
  while (maxLength > 0 && counts[maxLength] == 0) --maxLength;
  if (maxLength == 0) {
    // Nothing can be decoded: every entry a lookup reaches says so.
    Fill(table, 0, Entries::kKeepsWidth ? 1u << *width : 1, 1, Entries::Invalid(0));
    *width = 0;
    return kBuildComplete;
  }

  int left = 1;
  for (unsigned length = 1; length <= kMaxCodeLength; ++length) {
    left = (left << 1) - static_cast<int>(counts[length]);
    if (left < 0) return kBuildOversubscribed;
  }

  // Symbols in canonical order: by length, then by value.
  unsigned offsets[kMaxCodeLength + 2] = {};
  for (unsigned length = 1; length <= kMaxCodeLength; ++length) offsets[length + 1] = offsets[length] + counts[length];
  uint16_t sorted[288];
  for (unsigned symbol = 0; symbol < count; ++symbol)
    if (lengths[symbol]) sorted[offsets[lengths[symbol]]++] = static_cast<uint16_t>(symbol);

  unsigned root = *width < maxLength || Entries::kKeepsWidth ? *width : maxLength;
  *width = root;
  CodeWalk walk{lengths, sorted, 0, 0};
  FillFirstLevel<Entries>(walk, counts, root, alphabet, table);

  unsigned remaining[kMaxCodeLength + 1];
  for (unsigned length = 0; length <= kMaxCodeLength; ++length) remaining[length] = counts[length];
  BuildResult built =
      FillSubTables<Entries>(walk, remaining, root, maxLength, offsets[kMaxCodeLength], alphabet, table);
  if (built != kBuildComplete) return built;
  return left > 0 && maxLength > 1 ? kBuildIncomplete : kBuildComplete;
}

using Builder = BuildResult (*)(const uint8_t*, unsigned, const DecodeAlphabet&, uint32_t*, unsigned*);
constexpr Builder kBuilders[] = {Build<PlainEntries>, Build<PackedEntries>};

}  // namespace

BuildResult BuildDecodeTable(const uint8_t* lengths, unsigned count, const DecodeAlphabet& alphabet, uint32_t* table,
                             unsigned* width) {
  return kBuilders[static_cast<unsigned>(alphabet.layout)](lengths, count, alphabet, table, width);
}
