#include "DecodeTable.h"

#include "DecoderState.h"

namespace {

constexpr unsigned kMaxCodeLength = 16;

uint32_t MakeEntry(unsigned op, unsigned bits, unsigned value) {
  return bits | (op << 8) | (value << 16);
}

uint32_t PlainSymbol(unsigned symbol, unsigned bits, const DecodeAlphabet& alphabet) {
  if (symbol < alphabet.simpleCount) {
    unsigned op = symbol < 256 ? alphabet.ops.literal : alphabet.ops.endOfBlock;
    return MakeEntry(op, bits, symbol);
  }
  unsigned index = symbol - alphabet.simpleCount;
  return MakeEntry(alphabet.extraBits[index], bits, alphabet.bases[index]);
}

uint32_t PlainLink(unsigned root, unsigned subWidth, unsigned start, const DecodeAlphabet& alphabet) {
  return MakeEntry(alphabet.ops.literal + subWidth, root, start);
}

uint32_t PlainInvalid(unsigned width) { return MakeEntry(kOpInvalid, width, 0); }

uint32_t PackedSymbol(unsigned symbol, unsigned bits, const DecodeAlphabet& alphabet) {
  if (symbol < alphabet.simpleCount) {
    if (symbol < 256) return bits | (bits << 8) | kPackedLiteral | (symbol << 16);
    return bits | (bits << 8) | kPackedExceptional | (kPackedEndOfBlock << 16);
  }
  unsigned index = symbol - alphabet.simpleCount;
  if (alphabet.extraBits[index] == kOpInvalid) return kPackedExceptional;
  return (bits + alphabet.extraBits[index]) | (bits << 8) | (unsigned{alphabet.bases[index]} << 16);
}

uint32_t PackedLink(unsigned root, unsigned subWidth, unsigned start, const DecodeAlphabet&) {
  return root | (subWidth << 8) | kPackedExceptional | kPackedLink | (start << 16);
}

uint32_t PackedInvalid(unsigned) { return kPackedExceptional; }

// How each layout spells a symbol, a link to a sub-table and an unused
// slot, and whether its first level keeps the wanted width.
struct EntryMaker {
  uint32_t (*symbol)(unsigned symbol, unsigned bits, const DecodeAlphabet& alphabet);
  uint32_t (*link)(unsigned root, unsigned subWidth, unsigned start, const DecodeAlphabet& alphabet);
  uint32_t (*invalid)(unsigned width);
  bool keepsWidth;
};
constexpr EntryMaker kEntryMakers[] = {
    {PlainSymbol, PlainLink, PlainInvalid, false},
    {PackedSymbol, PackedLink, PackedInvalid, true},
};

// The input delivers a code's bits first bit first, so tables are indexed
// by the code written backwards.
unsigned Reverse(unsigned code, unsigned length) {
  unsigned reversed = 0;
  for (unsigned i = 0; i < length; ++i) {
    reversed = (reversed << 1) | (code & 1);
    code >>= 1;
  }
  return reversed;
}

void Fill(uint32_t* slots, unsigned first, unsigned size, unsigned stride, uint32_t entry) {
  for (unsigned i = first; i < size; i += stride) slots[i] = entry;
}

// Width of a sub-table whose first code is `length` bits long: grown until
// the codes still to place fill it, or the longest code fits.
unsigned SubTableWidth(unsigned length, unsigned root, unsigned maxLength,
                       const unsigned* remaining) {
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

}  // namespace

BuildResult BuildDecodeTable(const uint8_t* lengths, unsigned count,
                             const DecodeAlphabet& alphabet, uint32_t* table,
                             unsigned* width) {
  unsigned counts[kMaxCodeLength + 1] = {};
  for (unsigned symbol = 0; symbol < count; ++symbol) ++counts[lengths[symbol]];
  counts[0] = 0;

  const EntryMaker& make = kEntryMakers[static_cast<unsigned>(alphabet.layout)];
  unsigned maxLength = kMaxCodeLength;
  while (maxLength > 0 && counts[maxLength] == 0) --maxLength;
  if (maxLength == 0) {
    // Nothing can be decoded: every entry a lookup reaches says so.
    Fill(table, 0, make.keepsWidth ? 1u << *width : 1, 1, make.invalid(0));
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
  for (unsigned length = 1; length <= kMaxCodeLength; ++length)
    offsets[length + 1] = offsets[length] + counts[length];
  uint16_t sorted[288];
  for (unsigned symbol = 0; symbol < count; ++symbol)
    if (lengths[symbol]) sorted[offsets[lengths[symbol]]++] = static_cast<uint16_t>(symbol);

  unsigned root = *width < maxLength || make.keepsWidth ? *width : maxLength;
  *width = root;
  unsigned used = 1u << root;
  Fill(table, 0, used, 1, make.invalid(root));

  unsigned remaining[kMaxCodeLength + 1];
  for (unsigned length = 0; length <= kMaxCodeLength; ++length) remaining[length] = counts[length];

  unsigned code = 0;          // canonical code of the current symbol, first bit high
  unsigned codeLength = 0;
  unsigned openPrefix = ~0u;  // first-level slot of the sub-table being filled
  uint32_t* subTable = nullptr;
  unsigned subWidth = 0;
  unsigned placed = offsets[kMaxCodeLength];
  for (unsigned i = 0; i < placed; ++i) {
    unsigned symbol = sorted[i];
    unsigned length = lengths[symbol];
    code <<= length - codeLength;
    codeLength = length;
    unsigned reversed = Reverse(code, length);
    if (length <= root) {
      Fill(table, reversed, 1u << root, 1u << length, make.symbol(symbol, length, alphabet));
    } else {
      unsigned prefix = reversed & ((1u << root) - 1);
      if (prefix != openPrefix) {
        subWidth = SubTableWidth(length, root, maxLength, remaining);
        if (used + (1u << subWidth) > kDecodeTableCapacity) return kBuildNoRoom;
        table[prefix] = make.link(root, subWidth, used, alphabet);
        subTable = table + used;
        Fill(subTable, 0, 1u << subWidth, 1, make.invalid(subWidth));
        used += 1u << subWidth;
        openPrefix = prefix;
      }
      unsigned extra = length - root;
      Fill(subTable, reversed >> root, 1u << subWidth, 1u << extra,
           make.symbol(symbol, extra, alphabet));
    }
    --remaining[length];
    ++code;
  }
  return left > 0 && maxLength > 1 ? kBuildIncomplete : kBuildComplete;
}
