#include "DeflateBlockBuilder.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "DeflateBitOutput.h"
#include "DeflateHuffman.h"

namespace {

constexpr uint32_t kDeflateItemCapacity = 0x4000;
constexpr uint32_t kDeflate64ItemCapacity = 0x8000;
constexpr uint32_t kMaxStoredLength = 0xFFFF;
constexpr int kMaxLiteralBits = 15;
constexpr int kMaxBitLengthBits = 7;
constexpr uint16_t kAttributesUnknown = 0xFFFF;
constexpr int kMessageOutOfMemory = 332;
constexpr int kMessageBinaryEol = 334;

enum BlockType : uint32_t { kStored = 0, kFixed = 1, kDynamic = 2 };

// Order in which the bit-length code lengths are sent (RFC 1951 3.2.7).
constexpr uint8_t kBitLengthOrder[kBitLengthCodes] = {16, 17, 18, 0, 8, 7, 9, 6, 10, 5,
                                                      11, 4, 12, 3, 13, 2, 14, 1, 15};
constexpr uint8_t kRepeatExtraBits[3] = {2, 3, 7};  // codes 16, 17, 18
constexpr uint8_t kRepeatMinimum[3] = {3, 3, 11};

int DistanceCodeCount(EncoderFormat format) {
  return format == EncoderFormat::Deflate ? 30 : kMaxDistanceCodes;
}

// The codes one block is written with.
struct CodeSet {
  const uint16_t* literalCode;
  const uint8_t* literalLength;
  const uint16_t* distanceCode;
  const uint8_t* distanceLength;
};

// The block's own Huffman codes and what they cost.
struct DynamicTrees {
  uint8_t literalLength[kLiteralCodes];
  uint16_t literalCode[kLiteralCodes];
  uint8_t distanceLength[kMaxDistanceCodes];
  uint16_t distanceCode[kMaxDistanceCodes];
  uint8_t bitLength[kBitLengthCodes];
  uint16_t bitLengthCode[kBitLengthCodes];
  uint32_t bitLengthFreq[kBitLengthCodes];
  int maxLiteral;
  int maxDistance;
  int bitLengthsSent;  // entries of kBitLengthOrder sent, 4 at least
  uint64_t dynamicBits;
  uint64_t fixedBits;
};

// Walks a code-length sequence as it is sent: runs of zeros as codes 17 and
// 18, repeats of a length as code 16 after the length itself, short runs as
// plain lengths. emit(symbol, repeatCount) gets each code (repeatCount only
// for 16-18).
template <class Emit>
void WalkCodeLengths(const uint8_t* lengths, int count, Emit emit) {
  for (int i = 0; i < count;) {
    int length = lengths[i];
    int run = 1;
    while (i + run < count && lengths[i + run] == length) ++run;
    i += run;
    if (length != 0) {
      emit(length, 0);
      --run;
    }
    while (run >= 3) {
      int symbol = length != 0 ? 16 : run <= 10 ? 17 : 18;
      int chunk = std::min(run, length != 0 ? 6 : symbol == 17 ? 10 : 138);
      emit(symbol, chunk);
      run -= chunk;
    }
    for (; run > 0; --run) emit(length, 0);
  }
}

// Cost in bits of the lengths, codes and extra bits the items need.
uint64_t SymbolBits(const uint32_t* freq, const uint8_t* lengths, int count) {
  uint64_t bits = 0;
  for (int i = 0; i < count; ++i) bits += uint64_t(freq[i]) * lengths[i];
  return bits;
}

uint64_t ExtraBits(const DeflateEncoderState* s, const DeflateLengthTable& table, int distanceCodes) {
  uint64_t bits = 0;
  for (int c = 0; c < kLengthCodes; ++c) bits += uint64_t(s->litFreq[kEndOfBlock + 1 + c]) * table.extra[c];
  for (int c = 0; c < distanceCodes; ++c) bits += uint64_t(s->distFreq[c]) * DistanceExtraBits(c);
  return bits;
}

void BuildTrees(const DeflateEncoderState* s, DynamicTrees& t) {
  const DeflateLengthTable& table = LengthTableOf(s->format);
  int distanceCodes = DistanceCodeCount(s->format);
  t.maxLiteral = BuildCodeLengths(s->litFreq, kLiteralCodes, kMaxLiteralBits, t.literalLength);
  t.maxDistance = BuildCodeLengths(s->distFreq, distanceCodes, kMaxLiteralBits, t.distanceLength);
  AssignCanonicalCodes(t.literalLength, kLiteralCodes, t.literalCode);
  AssignCanonicalCodes(t.distanceLength, distanceCodes, t.distanceCode);

  memset(t.bitLengthFreq, 0, sizeof t.bitLengthFreq);
  auto count = [&t](int symbol, int) { ++t.bitLengthFreq[symbol]; };
  WalkCodeLengths(t.literalLength, t.maxLiteral + 1, count);
  WalkCodeLengths(t.distanceLength, t.maxDistance + 1, count);
  BuildCodeLengths(t.bitLengthFreq, kBitLengthCodes, kMaxBitLengthBits, t.bitLength);
  AssignCanonicalCodes(t.bitLength, kBitLengthCodes, t.bitLengthCode);
  t.bitLengthsSent = kBitLengthCodes;
  while (t.bitLengthsSent > 4 && t.bitLength[kBitLengthOrder[t.bitLengthsSent - 1]] == 0) --t.bitLengthsSent;

  uint64_t extra = ExtraBits(s, table, distanceCodes);
  uint64_t header = 5 + 5 + 4 + 3 * uint64_t(t.bitLengthsSent);
  for (int c = 16; c <= 18; ++c) header += uint64_t(t.bitLengthFreq[c]) * kRepeatExtraBits[c - 16];
  t.dynamicBits = header + SymbolBits(t.bitLengthFreq, t.bitLength, kBitLengthCodes) +
                  SymbolBits(s->litFreq, t.literalLength, kLiteralCodes) +
                  SymbolBits(s->distFreq, t.distanceLength, distanceCodes) + extra;
  t.fixedBits = SymbolBits(s->litFreq, kFixedCodes.literalLength, kLiteralCodes) +
                SymbolBits(s->distFreq, kFixedCodes.distanceLength, distanceCodes) + extra;
}

void SendCodeLengths(DeflateEncoderState* s, const DynamicTrees& t) {
  PutBits(s, uint32_t(t.maxLiteral + 1 - 257), 5);
  PutBits(s, uint32_t(t.maxDistance + 1 - 1), 5);
  PutBits(s, uint32_t(t.bitLengthsSent - 4), 4);
  for (int i = 0; i < t.bitLengthsSent; ++i) PutBits(s, t.bitLength[kBitLengthOrder[i]], 3);
  auto send = [s, &t](int symbol, int repeat) {
    PutBits(s, t.bitLengthCode[symbol], t.bitLength[symbol]);
    if (symbol >= 16) PutBits(s, uint32_t(repeat - kRepeatMinimum[symbol - 16]), kRepeatExtraBits[symbol - 16]);
  };
  WalkCodeLengths(t.literalLength, t.maxLiteral + 1, send);
  WalkCodeLengths(t.distanceLength, t.maxDistance + 1, send);
}

// A code with its extra bits behind it, as it goes out.
struct CodedSymbol {
  uint32_t bits;
  uint32_t count;
};

struct DistanceCode {
  uint32_t extraMask;  // picks the extra bits out of distance - 1
  uint16_t code;
  uint8_t codeBits;
  uint8_t count;  // code and extra bits
};

// The block's codes looked up by what an item holds, so that sending an
// item takes no branch on whether it is a literal or a match: on mixed data
// such a branch guesses wrong about every other item. The literal-length
// entries are indexed by the literal, or by 256 + length - 3 with the
// length's extra bits already in place; lengths past 258 (Deflate64 only)
// take longLength and put their extra bits in themselves.
struct ItemCodes {
  CodedSymbol literalOrLength[512];
  CodedSymbol longLength;
  DistanceCode distance[kMaxDistanceCodes];
};

constexpr uint32_t kMatchFlag = 256;

void BuildItemCodes(const CodeSet& codes, const DeflateLengthTable& table, int distanceCodes, ItemCodes& item) {
  for (uint32_t literal = 0; literal < 256; ++literal)
    item.literalOrLength[literal] = {codes.literalCode[literal], codes.literalLength[literal]};
  for (uint32_t lengthMinus3 = 0; lengthMinus3 < 256; ++lengthMinus3) {
    uint32_t lengthCode = table.code[lengthMinus3];
    uint32_t symbol = kEndOfBlock + 1 + lengthCode;
    uint32_t codeBits = codes.literalLength[symbol];
    item.literalOrLength[kMatchFlag + lengthMinus3] = {
        codes.literalCode[symbol] | ((lengthMinus3 - table.base[lengthCode]) << codeBits),
        codeBits + table.extra[lengthCode]};
  }
  uint32_t longSymbol = kEndOfBlock + kLengthCodes;
  item.longLength = {codes.literalCode[longSymbol], codes.literalLength[longSymbol]};
  for (int c = 0; c < distanceCodes; ++c)
    item.distance[c] = {(1u << DistanceExtraBits(c)) - 1, codes.distanceCode[c], codes.distanceLength[c],
                        uint8_t(codes.distanceLength[c] + DistanceExtraBits(c))};
}

// One store per item: a Deflate length and distance with their extra bits
// take at most 20 + 28 bits, which fit beside the fewer than 8 bits held. A
// Deflate64 pair may take 31 + 29 and goes out in two.
void SendItems(DeflateEncoderState* s, const CodeSet codes) {
  const bool deflate64 = s->format == EncoderFormat::Deflate64;
  const DeflateLengthTable& table = LengthTableOf(s->format);
  ItemCodes item;
  BuildItemCodes(codes, table, DistanceCodeCount(s->format), item);
  const uint16_t* litLens = s->items.litLen;
  const uint16_t* distances = s->items.distance;
  uint32_t count = s->items.count;
  BitCursor bits(s);
  for (uint32_t i = 0; i < count; ++i) {
    uint32_t litLen = litLens[i];
    uint32_t distance = distances[i];
    uint32_t isMatch = distance != 0;
    CodedSymbol symbol = litLen < 256 ? item.literalOrLength[isMatch * kMatchFlag + litLen]
                                      : CodedSymbol{item.longLength.bits | litLen << item.longLength.count,
                                                    item.longLength.count + table.extra[kLengthCodes - 1]};
    bits.Add(symbol.bits, symbol.count);
    if (deflate64) bits.Flush(s);
    // A literal takes the path of distance 1 and sends none of it.
    uint32_t distanceOrOne = distance + (isMatch ^ 1);
    DistanceCode d = item.distance[DistanceCodeOf(distanceOrOne)];
    uint32_t extra = (distanceOrOne - 1) & d.extraMask;
    uint32_t keep = 0u - isMatch;
    bits.Put(s, (d.code | extra << d.codeBits) & keep, d.count & keep);
  }
  bits.Put(s, codes.literalCode[kEndOfBlock], codes.literalLength[kEndOfBlock]);
  bits.Save(s);
}

// A member is text when bytes outside the printable range are rare.
void ClassifyMember(DeflateEncoderState* s) {
  if (s->internalAttributes == nullptr || *s->internalAttributes != kAttributesUnknown) return;
  uint64_t binary = 0, text = 0;
  for (int c = 0; c < 7; ++c) binary += s->litFreq[c];
  for (int c = 7; c < 128; ++c) text += s->litFreq[c];
  for (int c = 128; c < 256; ++c) binary += s->litFreq[c];
  bool isText = binary <= text / 4;
  *s->internalAttributes = isText ? 1 : 0;
  if (!isText && s->traits.convertEol && s->io.warn) s->io.warn(s->io.context, kMessageBinaryEol);
}

// Stored blocks hold at most 65,535 bytes each; a longer run is split.
void WriteStoredBlocks(DeflateEncoderState* s, const uint8_t* data, uint64_t length, bool final) {
  do {
    uint32_t piece = uint32_t(std::min<uint64_t>(length, kMaxStoredLength));
    length -= piece;
    PutBits(s, (kStored << 1) | uint32_t(final && length == 0), 3);
    WriteStoredBytes(s, data, piece, true);
    data += piece;
  } while (length > 0);
}

uint64_t StoredBlocksBytes(uint64_t length) {
  uint64_t pieces = length == 0 ? 1 : (length + kMaxStoredLength - 1) / kMaxStoredLength;
  return length + 4 + 5 * (pieces - 1);
}

void StartBlock(DeflateEncoderState* s) {
  memset(s->litFreq, 0, sizeof s->litFreq);
  memset(s->distFreq, 0, sizeof s->distFreq);
  s->litFreq[kEndOfBlock] = 1;
  s->items.count = 0;
  s->items.matches = 0;
}

bool NothingWrittenYet(const DeflateEncoderState* s) {
  return s->compressedBytes == 0 && s->outFill == 0 && s->bitCount == 0;
}

}  // namespace

int BlockBuilderInit(DeflateEncoderState* s, EncoderFormat format, uint16_t* internalAttributes,
                     uint16_t* method) {
  s->format = format;
  s->result = 0;
  s->messageId = 0;
  s->internalAttributes = internalAttributes;
  s->method = method;
  s->compressedBytes = 0;
  uint32_t capacity = format == EncoderFormat::Deflate ? kDeflateItemCapacity : kDeflate64ItemCapacity;
  if (s->items.capacity < capacity) {
    free(s->items.litLen);
    free(s->items.distance);
    s->items.litLen = static_cast<uint16_t*>(malloc(capacity * sizeof(uint16_t)));
    s->items.distance = static_cast<uint16_t*>(malloc(capacity * sizeof(uint16_t)));
    s->items.capacity = capacity;
    if (s->items.litLen == nullptr || s->items.distance == nullptr) {
      free(s->items.litLen);
      free(s->items.distance);
      s->items = DeflateItems{};
      s->result = 17;
      s->messageId = kMessageOutOfMemory;
      if (s->io.fail) s->io.fail(s->io.context, 17, kMessageOutOfMemory);
      return 17;
    }
  }
  // A format with a smaller block limit uses only part of larger buffers.
  s->items.capacity = capacity;
  StartBlock(s);
  return 0;
}

bool BlockWorthEnding(const DeflateEncoderState* s) {
  const DeflateItems& it = s->items;
  uint64_t bits = uint64_t(it.count) * 8;
  int distanceCodes = DistanceCodeCount(s->format);
  for (int c = 0; c < distanceCodes; ++c) bits += uint64_t(s->distFreq[c]) * (5 + DistanceExtraBits(c));
  uint64_t inputBytes = uint64_t(int64_t(s->position) - s->blockStart);
  return it.matches < it.count / 2 && bits / 8 < inputBytes / 2;
}

void FlushBlock(DeflateEncoderState* s, bool final) {
  const uint8_t* data = s->blockStart >= 0 ? s->window + s->blockStart : nullptr;
  uint64_t length = uint64_t(int64_t(s->position) - s->blockStart);
  ClassifyMember(s);

  DynamicTrees trees;
  BuildTrees(s, trees);
  uint64_t dynamicBytes = (trees.dynamicBits + 3 + 7) / 8;
  uint64_t fixedBytes = (trees.fixedBits + 3 + 7) / 8;
  uint64_t bestBytes = std::min(dynamicBytes, fixedBytes);

  bool deflate64 = s->format == EncoderFormat::Deflate64;
  const DeflateOutputTraits& out = s->traits;
  bool storeAllowed = !out.callbackRecord && (deflate64 || out.seekable);
  bool fixedAllowed = deflate64 || out.seekable || out.memoryEntry;

  if (final && data != nullptr && NothingWrittenYet(s) && length <= bestBytes && out.seekable &&
      !out.callbackRecord) {
    // The whole member fits one block that would not shrink: keep it as it is.
    WriteStoredBytes(s, data, uint32_t(length), false);
    if (s->method) *s->method = 0;
  } else if (data != nullptr && storeAllowed && StoredBlocksBytes(length) <= bestBytes) {
    WriteStoredBlocks(s, data, length, final);
  } else if (fixedAllowed && fixedBytes == bestBytes) {
    PutBits(s, (kFixed << 1) | uint32_t(final), 3);
    SendItems(s, {kFixedCodes.literalCode, kFixedCodes.literalLength, kFixedCodes.distanceCode,
                  kFixedCodes.distanceLength});
  } else {
    PutBits(s, (kDynamic << 1) | uint32_t(final), 3);
    SendCodeLengths(s, trees);
    SendItems(s, {trees.literalCode, trees.literalLength, trees.distanceCode, trees.distanceLength});
  }
  StartBlock(s);
  s->blockStart = s->position;
  if (final) AlignBitOutput(s);
}
