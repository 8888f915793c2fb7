// Block builder shared by the Deflate and Deflate64 encoders: collects the
// literals and matches of one block, then writes it stored, with the fixed
// codes or with its own Huffman codes, whichever the output allows and is
// smallest.
#pragma once

#include <cstdint>

#include "DeflateCodeTables.h"
#include "DeflateEncoderState.h"

// Allocates the item buffers for the format (kept for the state's life) and
// starts the first block; 0, or 17 without memory.
int BlockBuilderInit(DeflateEncoderState* s, EncoderFormat format, uint16_t* internalAttributes,
                     uint16_t* method);

// Writes the block that runs from blockStart to the current position and
// starts the next one. The final block also aligns the output to a byte.
void FlushBlock(DeflateEncoderState* s, bool final);

// Decides whether a block that mostly holds literals should end early so that
// its codes can adapt: every 0x1000 items from level 3 up.
bool BlockWorthEnding(const DeflateEncoderState* s);

// Tally: both return true when the block must end now.
inline bool TallyEnds(DeflateEncoderState* s) {
  const DeflateItems& it = s->items;
  if ((it.count & 0xFFF) == 0 && s->level >= 3 && BlockWorthEnding(s)) return true;
  return it.count >= it.capacity - 1;
}

inline bool TallyLiteral(DeflateEncoderState* s, uint8_t literal) {
  DeflateItems& it = s->items;
  it.litLen[it.count] = literal;
  it.distance[it.count] = 0;
  ++it.count;
  ++s->litFreq[literal];
  return TallyEnds(s);
}

inline bool TallyMatch(DeflateEncoderState* s, const DeflateLengthTable& lengths, uint32_t distance,
                       uint32_t length) {
  DeflateItems& it = s->items;
  uint32_t lengthMinus3 = length - 3;
  it.litLen[it.count] = uint16_t(lengthMinus3);
  it.distance[it.count] = uint16_t(distance);
  ++it.count;
  ++it.matches;
  ++s->litFreq[kEndOfBlock + 1 + LengthCodeOf(lengths, lengthMinus3)];
  ++s->distFreq[DistanceCodeOf(distance)];
  return TallyEnds(s);
}
