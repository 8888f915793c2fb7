// Bit input shared by the member decoders. Bits are taken from the low end
// of a 64-bit buffer; bytes enter above the bits held, first byte lowest.
// Past the end of the input the buffer is topped up with zero bits, counted
// in padBits, so a decoder may look ahead freely and finds out afterwards
// (DecoderReadPastEnd) whether it used any of them.
#pragma once

#include <cstring>

#include "DecoderState.h"

// Clears the input side of the state for a new member.
void DecoderResetInput(DecoderState& state);

// Asks fillInput for the next run once the current one is used up; false
// (with inputEnded, and stopped when asked to stop, set) when none comes.
bool DecoderNextRun(DecoderState& state);

// Tops the bit buffer up to more than 56 bits, one byte at a time.
void DecoderRefillSlow(DecoderState& state);

// The result of a decoder that stopped with `result`: a stop request, or
// having read past the end of the input, explains any failure better.
DecodeResult DecoderOutcome(const DecoderState& state, DecodeResult result);

// True once the decoder has used bits from past the end of the input.
inline bool DecoderReadPastEnd(const DecoderState& state) {
  return state.bitCount < state.padBits;
}

// Tops bits up to at least 56 from eight bytes at next, loaded as one
// little-endian word: the bytes it counts as taken land whole below bit 56,
// and the part of the next byte above them is the same bits the next load
// puts there again. Needs count below 56 and eight bytes at next.
inline void DecoderRefillWord(uint64_t& bits, unsigned& count, const uint8_t*& next) {
  uint64_t word;
  std::memcpy(&word, next, sizeof word);
#if defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_BIG_ENDIAN__
  word = __builtin_bswap64(word);
#endif
  bits |= word << count;
  next += (63 - count) >> 3;
  count |= 56;
}

// Tops the bit buffer up to at least 56 bits (it must hold fewer).
inline void DecoderRefill(DecoderState& state) {
  if (state.inEnd - state.inNext >= 8) {
    DecoderRefillWord(state.bitBuffer, state.bitCount, state.inNext);
  } else {
    DecoderRefillSlow(state);
  }
}

// Makes sure n bits (n at most 56) are held.
inline void DecoderNeed(DecoderState& state, unsigned n) {
  if (state.bitCount < n) DecoderRefill(state);
}

inline unsigned DecoderPeek(const DecoderState& state, unsigned n) {
  return static_cast<unsigned>(state.bitBuffer & ((uint64_t{1} << n) - 1));
}

inline void DecoderDrop(DecoderState& state, unsigned n) {
  state.bitBuffer >>= n;
  state.bitCount -= n;
}

inline unsigned DecoderBits(DecoderState& state, unsigned n) {
  DecoderNeed(state, n);
  unsigned value = DecoderPeek(state, n);
  DecoderDrop(state, n);
  return value;
}
