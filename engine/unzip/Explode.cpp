// Explode: the decoder of the zip APPNOTE's Imploding method (6), an LZ77
// window of 4 or 8 KiB with Shannon-Fano coded literals, lengths and
// distances.
//
// The APPNOTE builds its Shannon-Fano codes from the bit lengths by counting
// down from the longest code; for a complete set of lengths that gives each
// symbol the bitwise complement of its canonical Huffman code. So the trees
// are built with the Inflate table builder and looked up with the input
// bits inverted.

#include "DecodeTable.h"
#include "DecoderBits.h"
#include "DecoderState.h"
#include "DecoderWindow.h"

namespace {

constexpr uint16_t kEightKiBFlag = 2;
constexpr uint16_t kLiteralTreeFlag = 4;
constexpr uint64_t kWideDistanceThreshold = 200000;

struct ImplodeTables {
  uint16_t shortLengths[64];   // 2-65, without a literal tree
  uint16_t longLengths[64];    // 3-66, with a literal tree
  uint8_t lengthExtra[64];     // code 63 takes 8 more bits
  uint16_t distances4K[64];    // 1 + 64 k
  uint16_t distances8K[64];    // 1 + 128 k
  uint8_t noExtra[64];
};

constexpr ImplodeTables MakeImplodeTables() {
  ImplodeTables tables{};
  for (unsigned k = 0; k < 64; ++k) {
    tables.shortLengths[k] = static_cast<uint16_t>(2 + k);
    tables.longLengths[k] = static_cast<uint16_t>(3 + k);
    tables.distances4K[k] = static_cast<uint16_t>(1 + 64 * k);
    tables.distances8K[k] = static_cast<uint16_t>(1 + 128 * k);
  }
  tables.lengthExtra[63] = 8;
  return tables;
}
constexpr ImplodeTables kImplode = MakeImplodeTables();

struct Tree {
  uint32_t* table;
  unsigned width;
};

// A tree description: a byte n, then n + 1 bytes, each giving (high nibble
// + 1) codes of (low nibble + 1) bits. They must add up to count codes.
DecodeResult ReadTree(DecoderState& state, unsigned count, const DecodeAlphabet& alphabet,
                      Tree* tree) {
  uint8_t lengths[256];
  unsigned bytes = DecoderBits(state, 8) + 1;
  unsigned filled = 0;
  for (unsigned i = 0; i < bytes; ++i) {
    unsigned byte = DecoderBits(state, 8);
    unsigned codes = (byte >> 4) + 1;
    if (codes > count - filled) return kDecodeBadTree;
    for (unsigned k = 0; k < codes; ++k) lengths[filled++] = static_cast<uint8_t>((byte & 15) + 1);
  }
  if (filled != count) return kDecodeBadTree;
  BuildResult built = BuildDecodeTable(lengths, count, alphabet, tree->table, &tree->width);
  return static_cast<DecodeResult>(built);
}

// Decodes one Shannon-Fano code: the input bits inverted, as a table entry.
uint32_t DecodeTree(DecoderState& state, const Tree& tree) {
  uint64_t inverted = ~state.bitBuffer;
  uint32_t entry = tree.table[inverted & ((1u << tree.width) - 1)];
  unsigned op = EntryOp(entry);
  if (op > kDeflateOps.literal && op != kOpInvalid) {
    DecoderDrop(state, EntryBits(entry));
    inverted = ~state.bitBuffer;
    entry = tree.table[EntryValue(entry) + (inverted & ((1u << (op - kDeflateOps.literal)) - 1))];
  }
  DecoderDrop(state, EntryBits(entry));
  return entry;
}

DecodeResult ExplodeItems(DecoderState& state, const Tree* literals, const Tree& lengths,
                          const Tree& distances, unsigned lowDistanceBits) {
  uint64_t remaining = state.uncompressedSize;
  while (remaining > 0) {
    // One item takes at most 1 + 7 + 16 + 16 + 8 bits.
    DecoderNeed(state, 48);
    if (state.inputEnded && (state.stopped || DecoderReadPastEnd(state))) return kDecodeInputEnded;
    if (DecoderBits(state, 1)) {
      unsigned byte;
      if (literals) {
        uint32_t entry = DecodeTree(state, *literals);
        if (EntryOp(entry) == kOpInvalid) return kDecodeCorrupt;
        byte = EntryValue(entry);
      } else {
        byte = DecoderBits(state, 8);
      }
      if (!DecoderPutByte(state, static_cast<uint8_t>(byte))) return kDecodeStopped;
      --remaining;
      continue;
    }
    unsigned low = DecoderBits(state, lowDistanceBits);
    uint32_t distance = DecodeTree(state, distances);
    uint32_t length = DecodeTree(state, lengths);
    if (EntryOp(distance) == kOpInvalid || EntryOp(length) == kOpInvalid) return kDecodeCorrupt;
    uint64_t count = EntryValue(length) + DecoderBits(state, EntryOp(length));
    // A match may not run past the member's size.
    if (count > remaining) count = remaining;
    if (!DecoderCopyMatch(state, EntryValue(distance) + low, static_cast<size_t>(count)))
      return kDecodeStopped;
    remaining -= count;
  }
  return kDecodeDone;
}

DecodeResult Explode(DecoderState& state) {
  if (state.uncompressedSize == 0) return kDecodeDone;
  bool eightKiB = state.generalFlags & kEightKiBFlag;
  bool literalTree = state.generalFlags & kLiteralTreeFlag;

  DecodeTables& tables = state.scratch.tables;
  Tree literals{tables.literal, 9};
  Tree lengths{tables.length, 7};
  Tree distances{tables.distance, state.compressedSize > kWideDistanceThreshold ? 8u : 7u};
  const DecodeAlphabet literalAlphabet{256, nullptr, nullptr, kDeflateOps};
  const DecodeAlphabet lengthAlphabet{
      0, literalTree ? kImplode.longLengths : kImplode.shortLengths, kImplode.lengthExtra,
      kDeflateOps};
  const DecodeAlphabet distanceAlphabet{
      0, eightKiB ? kImplode.distances8K : kImplode.distances4K, kImplode.noExtra, kDeflateOps};

  DecodeResult result = kDecodeDone;
  if (literalTree) result = ReadTree(state, 256, literalAlphabet, &literals);
  if (result == kDecodeDone) result = ReadTree(state, 64, lengthAlphabet, &lengths);
  if (result == kDecodeDone) result = ReadTree(state, 64, distanceAlphabet, &distances);
  if (result != kDecodeDone) return result;
  // A tree with no codes cannot occur: every description gives each symbol
  // at least one bit.
  return ExplodeItems(state, literalTree ? &literals : nullptr, lengths, distances,
                      eightKiB ? 7 : 6);
}

}  // namespace

DecodeResult ExplodeMember(DecoderState& state) {
  DecoderResetInput(state);
  DecoderResetOutput(state);
  DecodeResult result = DecoderOutcome(state, Explode(state));
  if (result == kDecodeDone && !DecoderFlushWindow(state)) return kDecodeStopped;
  return result;
}
