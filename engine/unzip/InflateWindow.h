// Inflate's output window: one straight run of bytes rather than a ring, so
// that a match's source always lies just behind it in memory. When the
// window fills, its bytes are handed on and the last history's worth (the
// format's farthest distance) moves to its start, where decoding goes on
// behind them.
#pragma once

#include <cstddef>
#include <cstdint>

#include "DecoderState.h"

// Hands on the bytes not yet handed on; false when writeOutput asked to stop.
bool InflateHandOn(DecoderState& state);

// With the window full: hands its bytes on and keeps only the last history
// bytes, at its start. False when writeOutput asked to stop.
bool InflateSlide(DecoderState& state, size_t history);

inline bool InflatePutByte(DecoderState& state, uint8_t byte, size_t history) {
  state.window[state.windowPos++] = byte;
  return state.windowPos < kInflateWindowSize || InflateSlide(state, history);
}

// Copies length bytes from distance back (no farther back than the window's
// position, nor than history), overlapping copies byte by byte so that short
// distances repeat, sliding the window wherever it fills. False when
// writeOutput asked to stop.
bool InflateCopyMatch(DecoderState& state, size_t distance, size_t length, size_t history);
