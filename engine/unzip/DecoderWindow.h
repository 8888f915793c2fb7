// Output side shared by the member decoders: bytes are written into the
// state's window and handed on through writeOutput each time it fills, and
// at the end of the member.
#pragma once

#include "DecoderState.h"

// Clears the output side of the state for a new member.
void DecoderResetOutput(DecoderState& state);

// Hands the window's pending bytes on and restarts at position 0; false
// when writeOutput asked to stop.
bool DecoderFlushWindow(DecoderState& state);

inline bool DecoderPutByte(DecoderState& state, uint8_t byte) {
  state.window[state.windowPos++] = byte;
  return state.windowPos < kDecoderWindowSize || DecoderFlushWindow(state);
}

// Copies length bytes from distance (1 to kDecoderWindowSize) back, in runs
// that stop at the window end, overlapping runs byte by byte so that short
// distances repeat. Bytes before the start of the member's output read as
// zero; Inflate rejects such distances before it gets here. False when
// writeOutput asked to stop.
bool DecoderCopyMatch(DecoderState& state, size_t distance, size_t length);
