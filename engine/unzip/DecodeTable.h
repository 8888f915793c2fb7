// Canonical Huffman decode tables for the member decoders: a first-level
// table indexed by the next `width` input bits, and sub-tables for longer
// codes reached through link entries. Entries come in two layouts: plain
// ones for Explode and the code-length code, and packed ones that let the
// Inflate loops take a whole symbol with one shift.
#pragma once

#include <cstdint>

// A plain entry packs three fields: number of input bits the entry consumes
// (bits 0-7, lowest so that dropping them needs no shift of the entry),
// operation (8-15) and value (16-31: literal byte, base value, or the start
// of a sub-table). A link entry's bits are the first-level width
// it consumed; sub-table entries count only the bits past it.
//
// Operations: 0-16 a length or distance with that many extra bits; then
// end of block; then literal; then link + m for a sub-table of m bits; 99
// invalid. The decoders place end of block at 15 and literal at 16.
struct DecodeOps {
  uint8_t endOfBlock;
  uint8_t literal;
};
constexpr DecodeOps kDeflateOps{15, 16};
constexpr uint8_t kOpInvalid = 99;

inline unsigned EntryBits(uint32_t entry) { return entry & 0xFF; }
inline unsigned EntryOp(uint32_t entry) { return (entry >> 8) & 0xFF; }
inline unsigned EntryValue(uint32_t entry) { return entry >> 16; }

// A packed entry holds in bits 0-5 every bit the symbol takes, its code and
// its extra bits together, so one shift consumes both; bits 6-7 stay 0, so
// that a bit count may have the whole entry subtracted and keep its low
// byte right. Bits 8-12 are the code's own length (the extra bits' value is
// the consumed bits above it), bits 13-14 flags, bits 16-31 the value as in
// a plain entry. A link consumes the first-level width and keeps its
// sub-table's width in bits 8-12; an exceptional entry that is not a link
// is the end of block (value 1) or invalid (value 0, consuming nothing).
// A literal's flag is the top bit, above its byte, so that the decode loop
// tells literals apart by the entry's sign; its value's low byte is the
// literal.
constexpr uint32_t kPackedLiteral = 1u << 31;
constexpr uint32_t kPackedExceptional = 1u << 14;
constexpr uint32_t kPackedLink = 1u << 13;
constexpr unsigned kPackedEndOfBlock = 1;

inline unsigned PackedBits(uint32_t entry) { return entry & 63; }
inline unsigned PackedCodeBits(uint32_t entry) { return (entry >> 8) & 31; }
// The extra bits' value from the bits held before the entry was consumed.
inline uint64_t PackedExtra(uint64_t before, uint32_t entry) {
  return (before & ((uint64_t{1} << PackedBits(entry)) - 1)) >> PackedCodeBits(entry);
}

enum class EntryLayout : uint8_t { kPlain, kPacked };

// Symbols below simpleCount are literals (or, at 256, end of block); the
// others take base and extraBits at [symbol - simpleCount], an extra-bit
// count of 99 marking a symbol that must not occur.
struct DecodeAlphabet {
  unsigned simpleCount;
  const uint16_t* bases;
  const uint8_t* extraBits;
  DecodeOps ops;
  EntryLayout layout = EntryLayout::kPlain;
};

enum BuildResult : int {
  kBuildComplete = 0,
  kBuildIncomplete = 1,      // code space left over (a lone 1-bit code excepted)
  kBuildOversubscribed = 2,
  kBuildNoRoom = 3,
};

// Builds the table for count code lengths (0 = unused, at most 16) into
// table, whose capacity is kDecodeTableCapacity entries. *width is the
// wanted first-level width on entry and the one used on return: 0 for a set
// with no codes, whose entries are all invalid; a plain table's is cut to
// the longest code (and a table with no codes is then one entry), a packed
// table's always kept, so that its users may index it with a fixed mask.
BuildResult BuildDecodeTable(const uint8_t* lengths, unsigned count,
                             const DecodeAlphabet& alphabet, uint32_t* table,
                             unsigned* width);
