// The Inflate fast loop: Deflate (method 8) symbols decoded while the input
// run and the window both have room, with packed decode tables. The careful
// loop in Inflate.cpp takes over near either end.
#pragma once

#include <cstddef>
#include <cstdint>

#include "DecoderState.h"

enum FastExit { kFastLeftRoom, kFastEndOfBlock, kFastCorrupt };

// The current block's packed tables, each with the mask of its first level.
struct BlockTables {
  const uint32_t* literals;
  uint64_t literalMask;
  const uint32_t* distances;
  uint64_t distanceMask;
};

// The fast loop runs while the input run holds two refills' worth of bytes
// and the window has room for a longest match (258) and a copy's overrun,
// so that it needs neither the byte-wise refill nor a flush.
constexpr ptrdiff_t kFastInput = 16;
constexpr size_t kFastOutputLimit = kDecoderWindowSize - 258;

// Decodes until the input run or the window runs short, the block ends or
// the data turns out corrupt, and leaves the state where it stopped.
FastExit InflateFast(DecoderState& state, const BlockTables& tables);
