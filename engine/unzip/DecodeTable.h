// Canonical Huffman decode tables for the member decoders: a first-level
// table indexed by the next `width` input bits, and sub-tables for longer
// codes reached through link entries.
#pragma once

#include <cstdint>

// An entry packs three fields: number of input bits the entry consumes
// (bits 0-7, lowest so that dropping them needs no shift of the entry),
// operation (8-15) and value (16-31: literal byte, base value, or the start
// of a sub-table). A link entry's bits are the first-level width
// it consumed; sub-table entries count only the bits past it.
//
// Operations: 0-16 a length or distance with that many extra bits; then
// end of block; then literal; then link + m for a sub-table of m bits; 99
// invalid. Deflate places end of block at 15 and literal at 16; Deflate64,
// whose lengths take up to 16 extra bits, at 17 and 18.
struct DecodeOps {
  uint8_t endOfBlock;
  uint8_t literal;
};
constexpr DecodeOps kDeflateOps{15, 16};
constexpr DecodeOps kDeflate64Ops{17, 18};
constexpr uint8_t kOpInvalid = 99;

inline unsigned EntryBits(uint32_t entry) { return entry & 0xFF; }
inline unsigned EntryOp(uint32_t entry) { return (entry >> 8) & 0xFF; }
inline unsigned EntryValue(uint32_t entry) { return entry >> 16; }

// Symbols below simpleCount are literals (or, at 256, end of block); the
// others take base and extraBits at [symbol - simpleCount], an extra-bit
// count of 99 marking a symbol that must not occur.
struct DecodeAlphabet {
  unsigned simpleCount;
  const uint16_t* bases;
  const uint8_t* extraBits;
  DecodeOps ops;
};

enum BuildResult : int {
  kBuildComplete = 0,
  kBuildIncomplete = 1,      // code space left over (a lone 1-bit code excepted)
  kBuildOversubscribed = 2,
  kBuildNoRoom = 3,
};

// Builds the table for count code lengths (0 = unused, at most 16) into
// table, whose capacity is kDecodeTableCapacity entries. *width is the
// wanted first-level width on entry and the one used on return (cut to the
// longest code; 0 for a set with no codes, whose single entry is invalid).
BuildResult BuildDecodeTable(const uint8_t* lengths, unsigned count,
                             const DecodeAlphabet& alphabet, uint32_t* table,
                             unsigned* width);
