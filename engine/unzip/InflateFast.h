// The Inflate fast loop: Deflate (method 8) symbols decoded while the input
// run and the window both have room, with packed decode tables. The careful
// loop in Inflate.cpp takes over near either end.
#pragma once

#include <cstddef>
#include <cstdint>

#include "DecoderState.h"

enum FastExit { kFastLeftRoom, kFastEndOfBlock, kFastCorrupt };

// The first-level widths of the packed tables: kept whatever the codes, so
// that a lookup masks with a constant.
constexpr unsigned kLiteralTableWidth = 11;
constexpr unsigned kDistanceTableWidth = 8;
constexpr uint64_t kLiteralTableMask = (uint64_t{1} << kLiteralTableWidth) - 1;
constexpr uint64_t kDistanceTableMask = (uint64_t{1} << kDistanceTableWidth) - 1;

// The fast loop runs while the input run holds two refills' worth of bytes
// and the window has room for the most one pass of the loop writes before
// it looks at the room again (two literals, then a longest match) and a
// copy's overrun, so that it needs neither the byte-wise refill nor a flush;
// it leaves the window short of full, where the careful loop slides it.
constexpr ptrdiff_t kFastInput = 16;
constexpr size_t kFastPassOutput = 2 + 258;
constexpr size_t kFastOutputLimit = kInflateWindowSize - kFastPassOutput;

// Decodes with the current block's packed tables (in the state's scratch)
// until the input run or the window runs short, the block ends or the data
// turns out corrupt, and leaves the state where it stopped.
FastExit InflateFast(DecoderState& state);
