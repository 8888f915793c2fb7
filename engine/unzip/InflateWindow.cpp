#include "InflateWindow.h"

#include <algorithm>
#include <cstring>

bool InflateHandOn(DecoderState& state) {
  const size_t count = state.windowPos - state.windowFlushed;
  if (count == 0) return true;
  const uint8_t* bytes = state.window + state.windowFlushed;
  state.windowFlushed = state.windowPos;
  state.memberOutput += count;
  state.outputResult = state.io.writeOutput(state.io.context, bytes, count);
  return state.outputResult == 0;
}

bool InflateSlide(DecoderState& state, size_t history) {
  if (!InflateHandOn(state)) return false;
  static_assert(kInflateWindowSize >= 2 * 65536, "the kept history and its old place never overlap");
  std::memcpy(state.window, state.window + state.windowPos - history, history);
  state.windowPos = history;
  state.windowFlushed = history;
  return true;
}

bool InflateCopyMatch(DecoderState& state, size_t distance, size_t length, size_t history) {
  while (length > 0) {
    const size_t run = std::min(length, kInflateWindowSize - state.windowPos);
    uint8_t* const to = state.window + state.windowPos;
    const uint8_t* const from = to - distance;
    if (distance >= run) {
      std::memcpy(to, from, run);
    } else {
      for (size_t i = 0; i < run; ++i) to[i] = from[i];
    }
    state.windowPos += run;
    length -= run;
    if (state.windowPos == kInflateWindowSize && !InflateSlide(state, history)) return false;
  }
  return true;
}
