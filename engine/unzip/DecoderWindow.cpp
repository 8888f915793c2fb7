#include "DecoderWindow.h"

#include <algorithm>
#include <cstring>

void DecoderResetOutput(DecoderState& state) {
  state.windowPos = 0;
  state.windowFlushed = 0;
  state.memberOutput = 0;
}

bool DecoderFlushWindow(DecoderState& state) {
  size_t count = state.windowPos;
  state.windowPos = 0;
  state.memberOutput += count;
  if (count == 0) return true;
  state.outputResult = state.io.writeOutput(state.io.context, state.window, count);
  return state.outputResult == 0;
}

bool DecoderCopyMatch(DecoderState& state, size_t distance, size_t length) {
  constexpr size_t kMask = kDecoderWindowSize - 1;
  uint8_t* window = state.window;
  while (length > 0) {
    size_t pos = state.windowPos;
    size_t run;
    if (state.memberOutput == 0 && distance > pos) {
      run = std::min(length, distance - pos);
      std::memset(window + pos, 0, run);
    } else {
      size_t from = (pos - distance) & kMask;
      run = std::min(length, kDecoderWindowSize - std::max(pos, from));
      if (from + run <= pos || from >= pos + run) {
        std::memcpy(window + pos, window + from, run);
      } else {
        for (size_t i = 0; i < run; ++i) window[pos + i] = window[from + i];
      }
    }
    state.windowPos = pos + run;
    length -= run;
    if (state.windowPos == kDecoderWindowSize && !DecoderFlushWindow(state)) return false;
  }
  return true;
}
