#include "DecoderBits.h"

void DecoderResetInput(DecoderState& state) {
  state.inNext = nullptr;
  state.inEnd = nullptr;
  state.bitBuffer = 0;
  state.bitCount = 0;
  state.padBits = 0;
  state.inputEnded = false;
  state.stopped = false;
  state.outputResult = 0;
}

bool DecoderNextRun(DecoderState& state) {
  if (state.inputEnded) return false;
  const uint8_t* bytes = nullptr;
  ptrdiff_t got = state.io.fillInput(state.io.context, &bytes);
  if (got > 0) {
    state.inNext = bytes;
    state.inEnd = bytes + got;
    return true;
  }
  state.inputEnded = true;
  state.stopped = got < 0;
  return false;
}

void DecoderRefillSlow(DecoderState& state) {
  while (state.bitCount <= 56) {
    if (state.inNext != state.inEnd || DecoderNextRun(state)) {
      state.bitBuffer |= uint64_t{*state.inNext++} << state.bitCount;
    } else {
      state.padBits += 8;
    }
    state.bitCount += 8;
  }
}

DecodeResult DecoderOutcome(const DecoderState& state, DecodeResult result) {
  if (state.stopped || state.outputResult != 0) return kDecodeStopped;
  if (DecoderReadPastEnd(state)) return kDecodeInputEnded;
  return result;
}
