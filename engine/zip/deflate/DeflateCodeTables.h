// Symbol tables of the Deflate formats (RFC 1951 section 3.2.5), with the
// Deflate64 changes: length code 285 carries 16 extra bits (length - 3) and
// distance codes 30 and 31 reach 64 KiB with 14 extra bits.
#pragma once

#include <cstdint>

#include "DeflateEncoderState.h"

constexpr int kLiteralCodes = 286;      // literals, end of block, 29 length codes
constexpr int kEndOfBlock = 256;
constexpr int kLengthCodes = 29;
constexpr int kMaxDistanceCodes = 32;
constexpr int kBitLengthCodes = 19;
constexpr int kFixedLiteralCodes = 288;  // the fixed code set has two unused codes

struct DeflateLengthTable {
  uint8_t code[256];           // length - 3 (up to 255) -> length code - 257
  uint16_t base[kLengthCodes]; // smallest length - 3 of each code
  uint8_t extra[kLengthCodes];
};

constexpr DeflateLengthTable MakeLengthTable(EncoderFormat format) {
  DeflateLengthTable t{};
  uint16_t base = 0;
  for (int c = 0; c < kLengthCodes - 1; ++c) {
    uint8_t extra = c < 8 ? 0 : uint8_t((c - 4) / 4);
    t.base[c] = base;
    t.extra[c] = extra;
    for (int n = 0; n < (1 << extra) && base + n < 256; ++n) t.code[base + n] = uint8_t(c);
    base = uint16_t(base + (1 << extra));
  }
  if (format == EncoderFormat::Deflate) {
    // Length 258 has its own code; code 284 stops one short of it.
    t.base[kLengthCodes - 1] = 255;
    t.extra[kLengthCodes - 1] = 0;
    t.code[255] = kLengthCodes - 1;
  } else {
    // Code 284 covers up to 258; code 285 sends any length - 3 in 16 bits.
    t.base[kLengthCodes - 1] = 0;
    t.extra[kLengthCodes - 1] = 16;
  }
  return t;
}

inline constexpr DeflateLengthTable kDeflateLengths = MakeLengthTable(EncoderFormat::Deflate);
inline constexpr DeflateLengthTable kDeflate64Lengths = MakeLengthTable(EncoderFormat::Deflate64);

inline const DeflateLengthTable& LengthTableOf(EncoderFormat format) {
  return format == EncoderFormat::Deflate ? kDeflateLengths : kDeflate64Lengths;
}

// Length code (0-28) of a match length - 3; Deflate64 lengths past 258 use code 28.
inline unsigned LengthCodeOf(const DeflateLengthTable& t, unsigned lengthMinus3) {
  return lengthMinus3 < 256 ? t.code[lengthMinus3] : kLengthCodes - 1;
}

// Distance codes pair up per power of two: code 2k and 2k+1 split [2^k, 2^(k+1)),
// the bit below the top one choosing; d 0 and 1 have codes of their own.
// Without a branch: the first distances are as common as any other, and a
// branch on them would guess wrong.
inline unsigned DistanceCodeOf(unsigned distance) {
  unsigned d = distance - 1;
  unsigned top = 31u - unsigned(__builtin_clz(d | 1));
  return 2 * top + ((2 * d >> top) & 1) + unsigned(d == 1);
}

inline unsigned DistanceExtraBits(unsigned code) { return code < 4 ? 0 : code / 2 - 1; }

inline unsigned DistanceBase(unsigned code) {
  return code < 4 ? code + 1 : ((2u + (code & 1)) << (code / 2 - 1)) + 1;
}

// The fixed Huffman codes, already bit-reversed for output.
struct FixedCodes {
  uint16_t literalCode[kFixedLiteralCodes];
  uint8_t literalLength[kFixedLiteralCodes];
  uint16_t distanceCode[kMaxDistanceCodes];
  uint8_t distanceLength[kMaxDistanceCodes];
};

constexpr uint16_t ReverseBits(unsigned code, unsigned length) {
  unsigned r = 0;
  for (unsigned i = 0; i < length; ++i, code >>= 1) r = (r << 1) | (code & 1);
  return uint16_t(r);
}

// Canonical codes from code lengths (RFC 1951 section 3.2.2), bit-reversed.
// Works at compile time for the fixed codes and at run time for each block.
constexpr void AssignCanonicalCodes(const uint8_t* lengths, int count, uint16_t* codes) {
  uint16_t lengthCount[16] = {};
  for (int i = 0; i < count; ++i) ++lengthCount[lengths[i]];
  lengthCount[0] = 0;
  uint16_t next[16] = {};
  unsigned code = 0;
  for (int bits = 1; bits < 16; ++bits) {
    code = (code + lengthCount[bits - 1]) << 1;
    next[bits] = uint16_t(code);
  }
  for (int i = 0; i < count; ++i)
    if (lengths[i]) codes[i] = ReverseBits(next[lengths[i]]++, lengths[i]);
}

constexpr uint8_t FixedLiteralLength(int symbol) {
  return symbol < 144 ? 8 : symbol < 256 ? 9 : symbol < 280 ? 7 : 8;
}

constexpr FixedCodes MakeFixedCodes() {
  FixedCodes f{};
  for (int i = 0; i < kFixedLiteralCodes; ++i) f.literalLength[i] = FixedLiteralLength(i);
  AssignCanonicalCodes(f.literalLength, kFixedLiteralCodes, f.literalCode);
  for (auto& l : f.distanceLength) l = 5;
  AssignCanonicalCodes(f.distanceLength, kMaxDistanceCodes, f.distanceCode);
  return f;
}

inline constexpr FixedCodes kFixedCodes = MakeFixedCodes();
