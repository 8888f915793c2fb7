// Inflate (method 8, RFC 1951) and Inflate64 (method 9, the 64 KiB window
// variant of the zip APPNOTE): one decoder built twice from a format record.

#include <cstring>

#include "DecodeTable.h"
#include "DecoderBits.h"
#include "DecoderState.h"
#include "DecoderWindow.h"
#include "InflateFast.h"
#include "InflateWindow.h"

namespace {

constexpr uint8_t kNoCode = kOpInvalid;

// Length codes 257-287; 286 and 287 must not occur.
constexpr uint16_t kLengthBases[31] = {3,  4,  5,  6,  7,  8,  9,  10,  11,  13,  15,
                                       17, 19, 23, 27, 31, 35, 43, 51,  59,  67,  83,
                                       99, 115, 131, 163, 195, 227, 258, 0, 0};
constexpr uint8_t kLengthExtra[31] = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2, 2,
                                      3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0, kNoCode, kNoCode};
// Deflate64: code 285 is base 3 with 16 extra bits.
constexpr uint16_t kLength64Bases[31] = {3,  4,  5,  6,  7,  8,  9,  10,  11,  13,  15,
                                         17, 19, 23, 27, 31, 35, 43, 51,  59,  67,  83,
                                         99, 115, 131, 163, 195, 227, 3, 0, 0};
constexpr uint8_t kLength64Extra[31] = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2, 2,
                                        3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 16, kNoCode, kNoCode};
// Distance codes 0-31; only Deflate64 admits 30 and 31.
constexpr uint16_t kDistanceBases[32] = {
    1,    2,    3,    4,    5,    7,     9,     13,    17,    25,    33,
    49,   65,   97,   129,  193,  257,   385,   513,   769,   1025,  1537,
    2049, 3073, 4097, 6145, 8193, 12289, 16385, 24577, 32769, 49153};
constexpr uint8_t kDistanceExtra[32] = {0, 0, 0,  0,  1,  1,  2,  2,  3,  3,  4,
                                        4, 5, 5,  6,  6,  7,  7,  8,  8,  9,  9,
                                        10, 10, 11, 11, 12, 12, 13, 13, 14, 14};
constexpr uint8_t kCodeLengthOrder[19] = {16, 17, 18, 0, 8,  7, 9,  6, 10, 5,
                                          11, 4,  12, 3, 13, 2, 14, 1, 15};

constexpr unsigned kCodeLengthWidth = 7;

struct DeflateFormat {
  static constexpr unsigned kDistanceCodes = 30;
  static constexpr unsigned kMaxLength = 258;
  static constexpr size_t kHistory = 32768;
  static constexpr bool kFastLoop = true;
  static constexpr const uint16_t* kLengths = kLengthBases;
  static constexpr const uint8_t* kLengthExtraBits = kLengthExtra;
};

struct Deflate64Format {
  static constexpr unsigned kDistanceCodes = 32;
  static constexpr unsigned kMaxLength = 65538;
  static constexpr size_t kHistory = 65536;
  static constexpr bool kFastLoop = false;
  static constexpr const uint16_t* kLengths = kLength64Bases;
  static constexpr const uint8_t* kLengthExtraBits = kLength64Extra;
};

template <class Format>
DecodeAlphabet LiteralAlphabet() {
  return {257, Format::kLengths, Format::kLengthExtraBits, kDeflateOps, EntryLayout::kPacked};
}

template <class Format>
DecodeAlphabet DistanceAlphabet() {
  return {0, kDistanceBases, kDistanceExtra, kDeflateOps, EntryLayout::kPacked};
}

inline uint64_t LowBits(uint64_t bits, unsigned n) { return bits & ((uint64_t{1} << n) - 1); }

// Decodes symbols up to the end of the block: through the fast loop where
// it can run (Deflate only: Deflate64's longer lengths outgrow one refill
// per match), and near the end of the input run or of the window one
// symbol at a time, refilling byte by byte and sliding the window where it
// fills. The bit buffer and the window position live in locals here,
// written back around every call that uses the state, so that the compiler
// keeps them in registers.
template <class Format>
DecodeResult InflateCodes(DecoderState& state) {
  const uint32_t* const literals = state.scratch.tables.literal;
  const uint32_t* const distances = state.scratch.tables.distance;
  uint8_t* const window = state.window;
  size_t pos = 0;
  uint64_t bits = 0;
  unsigned bitCount = 0;
  const uint8_t* next = nullptr;
  const uint8_t* end = nullptr;

  auto save = [&] {
    state.windowPos = pos;
    state.bitBuffer = bits;
    state.bitCount = bitCount;
    state.inNext = next;
  };
  auto load = [&] {
    pos = state.windowPos;
    bits = state.bitBuffer;
    bitCount = state.bitCount;
    next = state.inNext;
    end = state.inEnd;
  };
  auto refill = [&] {
    if (end - next >= 8) {
      DecoderRefillWord(bits, bitCount, next);
    } else {
      save();
      DecoderRefillSlow(state);
      load();
    }
  };
  auto drop = [&](unsigned n) {
    bits >>= n;
    bitCount -= n;
  };
  // Looks up and consumes a symbol with its extra bits, following a link
  // into its sub-table; *value gets its value plus the extra bits.
  auto decode = [&](const uint32_t* table, uint64_t mask, size_t* value) {
    uint32_t entry = table[bits & mask];
    if ((entry & kPackedLink) != 0) {
      drop(PackedBits(entry));
      entry = table[(entry >> 16) + LowBits(bits, PackedCodeBits(entry))];
    }
    *value = (entry >> 16) + PackedExtra(bits, entry);
    drop(PackedBits(entry));
    return entry;
  };

  load();
  for (;;) {
    if (Format::kFastLoop) {
      save();
      FastExit exit = InflateFast(state);
      load();
      if (exit == kFastEndOfBlock) return kDecodeDone;
      if (exit == kFastCorrupt) return kDecodeCorrupt;
    }

    if (bitCount < 48) refill();
    if (state.inputEnded && (state.stopped || bitCount < state.padBits)) {
      save();
      return kDecodeInputEnded;
    }
    size_t length = 0;
    uint32_t entry = decode(literals, kLiteralTableMask, &length);
    if (entry & kPackedLiteral) {
      window[pos++] = static_cast<uint8_t>(length);
      if (pos == kInflateWindowSize) {
        save();
        bool flowing = InflateSlide(state, Format::kHistory);
        load();
        if (!flowing) return kDecodeStopped;
      }
      continue;
    }
    if (entry & kPackedExceptional) {
      save();
      return length == kPackedEndOfBlock ? kDecodeDone : kDecodeCorrupt;
    }
    if (Format::kMaxLength > 258 && bitCount < 30) refill();

    size_t distance = 0;
    entry = decode(distances, kDistanceTableMask, &distance);
    if (entry & kPackedExceptional) {
      save();
      return kDecodeCorrupt;
    }
    // The window holds the whole history behind its position once it has
    // slid, so only a member's first run can be too short.
    if (distance > pos) {
      save();
      return kDecodeCorrupt;  // before the start of this member's output
    }
    save();
    if (!InflateCopyMatch(state, distance, length, Format::kHistory)) return kDecodeStopped;
    load();
  }
}

template <class Format>
DecodeResult InflateStored(DecoderState& state) {
  DecoderDrop(state, state.bitCount & 7);
  unsigned length = DecoderBits(state, 16);
  unsigned complement = DecoderBits(state, 16);
  if (length != (~complement & 0xFFFF)) return kDecodeCorrupt;

  // Whole bytes already in the bit buffer first, then straight from the input.
  while (length > 0 && state.bitCount >= 8) {
    uint8_t byte = static_cast<uint8_t>(DecoderPeek(state, 8));
    DecoderDrop(state, 8);
    --length;
    if (!InflatePutByte(state, byte, Format::kHistory)) return kDecodeStopped;
  }
  if (state.bitCount == 0) state.bitBuffer = 0;
  while (length > 0) {
    if (state.inNext == state.inEnd && !DecoderNextRun(state)) return kDecodeInputEnded;
    size_t run = static_cast<size_t>(state.inEnd - state.inNext);
    if (run > length) run = length;
    if (run > kInflateWindowSize - state.windowPos) run = kInflateWindowSize - state.windowPos;
    std::memcpy(state.window + state.windowPos, state.inNext, run);
    state.inNext += run;
    state.windowPos += run;
    length -= static_cast<unsigned>(run);
    if (state.windowPos == kInflateWindowSize && !InflateSlide(state, Format::kHistory)) return kDecodeStopped;
  }
  return kDecodeDone;
}

// The fixed block's tables. A member keeps them until a dynamic block's
// take their place: a stream of many small fixed blocks (short inputs, or a
// compressor flushing often) would otherwise spend longer building them
// than decoding.
template <class Format>
DecodeResult BuildFixedTables(DecoderState& state) {
  uint8_t lengths[288];
  std::memset(lengths, 8, 144);
  std::memset(lengths + 144, 9, 112);
  std::memset(lengths + 256, 7, 24);
  std::memset(lengths + 280, 8, 8);
  unsigned literalWidth = kLiteralTableWidth;
  BuildResult built = BuildDecodeTable(lengths, 288, LiteralAlphabet<Format>(),
                                       state.scratch.tables.literal, &literalWidth);
  if (built != kBuildComplete) return static_cast<DecodeResult>(built);

  std::memset(lengths, 5, Format::kDistanceCodes);
  unsigned distanceWidth = kDistanceTableWidth;
  built = BuildDecodeTable(lengths, Format::kDistanceCodes, DistanceAlphabet<Format>(),
                           state.scratch.tables.distance, &distanceWidth);
  if (built > kBuildIncomplete) return static_cast<DecodeResult>(built);
  return kDecodeDone;
}

template <class Format>
DecodeResult InflateFixed(DecoderState& state, bool* fixedTablesHeld) {
  if (!*fixedTablesHeld) {
    DecodeResult built = BuildFixedTables<Format>(state);
    if (built != kDecodeDone) return built;
    *fixedTablesHeld = true;
  }
  return InflateCodes<Format>(state);
}

// Reads the literal/length and distance code lengths of a dynamic block.
DecodeResult ReadCodeLengths(DecoderState& state, uint8_t* lengths, unsigned count) {
  uint8_t codeLengths[19] = {};
  unsigned codeLengthCount = DecoderBits(state, 4) + 4;
  for (unsigned i = 0; i < codeLengthCount; ++i)
    codeLengths[kCodeLengthOrder[i]] = static_cast<uint8_t>(DecoderBits(state, 3));

  // Every code-length symbol is a plain value: 0-15 a length, 16-18 a repeat.
  const DecodeAlphabet alphabet{19, nullptr, nullptr, kDeflateOps};
  uint32_t* table = state.scratch.tables.length;
  unsigned width = kCodeLengthWidth;
  BuildResult built = BuildDecodeTable(codeLengths, 19, alphabet, table, &width);
  if (built != kBuildComplete) return static_cast<DecodeResult>(built);
  if (width == 0) return kDecodeCorrupt;

  unsigned previous = 0;
  for (unsigned i = 0; i < count;) {
    DecoderNeed(state, width + 7);
    uint32_t entry = table[DecoderPeek(state, width)];
    if (EntryOp(entry) == kOpInvalid) return kDecodeCorrupt;
    DecoderDrop(state, EntryBits(entry));
    unsigned symbol = EntryValue(entry);
    if (symbol < 16) {
      lengths[i++] = static_cast<uint8_t>(symbol);
      previous = symbol;
      continue;
    }
    unsigned repeat;
    if (symbol == 16) {
      repeat = 3 + DecoderBits(state, 2);
    } else {
      repeat = symbol == 17 ? 3 + DecoderBits(state, 3) : 11 + DecoderBits(state, 7);
      previous = 0;
    }
    if (repeat > count - i) return kDecodeCorrupt;
    std::memset(lengths + i, static_cast<int>(previous), repeat);
    i += repeat;
  }
  return kDecodeDone;
}

template <class Format>
DecodeResult InflateDynamic(DecoderState& state) {
  unsigned literalCount = DecoderBits(state, 5) + 257;
  unsigned distanceCount = DecoderBits(state, 5) + 1;
  if (literalCount > 286 || distanceCount > Format::kDistanceCodes) return kDecodeCorrupt;

  uint8_t lengths[286 + 32];
  DecodeResult read = ReadCodeLengths(state, lengths, literalCount + distanceCount);
  if (read != kDecodeDone) return read;

  unsigned literalWidth = kLiteralTableWidth;
  BuildResult built = BuildDecodeTable(lengths, literalCount, LiteralAlphabet<Format>(),
                                       state.scratch.tables.literal, &literalWidth);
  if (built != kBuildComplete) return static_cast<DecodeResult>(built);
  if (literalWidth == 0) return kDecodeCorrupt;

  unsigned distanceWidth = kDistanceTableWidth;
  built = BuildDecodeTable(lengths + literalCount, distanceCount, DistanceAlphabet<Format>(),
                           state.scratch.tables.distance, &distanceWidth);
  // No distance codes at all is how RFC 1951 sends a block of literals only,
  // whatever HLIT says: only a length code that turns up in it is corrupt.
  if (built != kBuildComplete) return static_cast<DecodeResult>(built);
  return InflateCodes<Format>(state);
}

template <class Format>
DecodeResult InflateBlock(DecoderState& state, bool* last, bool* fixedTablesHeld) {
  unsigned header = DecoderBits(state, 3);
  *last = header & 1;
  switch (header >> 1) {
    case 0:
      return InflateStored<Format>(state);
    case 1:
      return InflateFixed<Format>(state, fixedTablesHeld);
    case 2:
      *fixedTablesHeld = false;
      return InflateDynamic<Format>(state);
    default:
      return kDecodeBadCodes;
  }
}

template <class Format>
DecodeResult InflateStream(DecoderState& state) {
  DecoderResetInput(state);
  DecoderResetOutput(state);
  bool last = false, fixedTablesHeld = false;
  while (!last) {
    DecodeResult result = InflateBlock<Format>(state, &last, &fixedTablesHeld);
    if (result != kDecodeDone) return DecoderOutcome(state, result);
  }
  DecodeResult result = DecoderOutcome(state, kDecodeDone);
  if (result == kDecodeDone && !InflateHandOn(state)) return kDecodeStopped;
  return result;
}

}  // namespace

DecodeResult InflateMember(DecoderState& state) { return InflateStream<DeflateFormat>(state); }

DecodeResult Inflate64Member(DecoderState& state) { return InflateStream<Deflate64Format>(state); }
