// Unshrink: the decoder of the zip APPNOTE's Shrinking method (1), LZW with
// codes of 9 to 13 bits and partial clearing of the dictionary's leaves.
// The stream has no end code: it ends with the input, or once the member's
// size is reached.

#include <cstring>

#include "DecoderBits.h"
#include "DecoderState.h"
#include "DecoderWindow.h"

namespace {

constexpr unsigned kControlCode = 256;
constexpr unsigned kFirstFreeCode = 257;
constexpr unsigned kMinCodeBits = 9;
constexpr unsigned kMaxCodeBits = 13;
constexpr unsigned kGrowCode = 1;
constexpr unsigned kPartialClearCode = 2;
constexpr int16_t kFree = -1;

bool IsFree(const ShrinkDictionary& dictionary, unsigned code) {
  return code >= kFirstFreeCode && dictionary.parent[code] == kFree;
}

unsigned NextFreeCode(const ShrinkDictionary& dictionary, unsigned from) {
  while (from < kShrinkCodes && dictionary.parent[from] != kFree) ++from;
  return from;
}

// Frees every leaf: each defined code that is no other code's parent. The
// whole dictionary is looked at, since codes above the next free one stay
// defined after an earlier clear, and their parents keep their meaning. The
// stack serves as the scratch marks.
unsigned PartialClear(ShrinkDictionary& dictionary) {
  uint8_t* leaf = dictionary.stack;
  for (unsigned code = kFirstFreeCode; code < kShrinkCodes; ++code)
    leaf[code] = dictionary.parent[code] != kFree;
  for (unsigned code = kFirstFreeCode; code < kShrinkCodes; ++code) {
    int16_t parent = dictionary.parent[code];
    if (parent >= static_cast<int16_t>(kFirstFreeCode)) leaf[parent] = 0;
  }
  for (unsigned code = kFirstFreeCode; code < kShrinkCodes; ++code)
    if (leaf[code]) dictionary.parent[code] = kFree;
  return NextFreeCode(dictionary, kFirstFreeCode);
}

// Reads one code; false once the input has run out.
bool ReadCode(DecoderState& state, unsigned bits, unsigned* code) {
  DecoderNeed(state, bits);
  if (state.inputEnded && (state.stopped || state.bitCount - bits < state.padBits)) return false;
  *code = DecoderBits(state, bits);
  return true;
}

class Unshrinker {
 public:
  explicit Unshrinker(DecoderState& state)
      : state_(state), dictionary_(state.scratch.shrink), remaining_(state.uncompressedSize) {
    for (unsigned code = 0; code < kShrinkCodes; ++code) dictionary_.parent[code] = kFree;
    for (unsigned code = 0; code < 256; ++code) dictionary_.suffix[code] = static_cast<uint8_t>(code);
  }

  DecodeResult Run() {
    unsigned code;
    if (remaining_ == 0) return kDecodeDone;
    if (!ReadCode(state_, codeBits_, &code)) return kDecodeInputEnded;
    if (code > 255) return kDecodeCorrupt;
    unsigned previous = code;
    uint8_t previousFirst = static_cast<uint8_t>(code);
    if (!Output(&previousFirst, 1)) return kDecodeStopped;
    while (remaining_ > 0 && ReadCode(state_, codeBits_, &code)) {
      if (code == kControlCode) {
        if (!ReadCode(state_, codeBits_, &code)) break;
        if (code == kGrowCode && codeBits_ < kMaxCodeBits) ++codeBits_;
        if (code == kPartialClearCode) nextFree_ = PartialClear(dictionary_);
        continue;
      }
      uint8_t* string = dictionary_.stack + kShrinkCodes;
      unsigned walk = code;
      if (IsFree(dictionary_, code)) {
        // The code being defined: the previous string plus its own first byte.
        *--string = previousFirst;
        walk = previous;
      }
      while (walk >= kFirstFreeCode) {
        if (string == dictionary_.stack || IsFree(dictionary_, walk)) return kDecodeCorrupt;
        *--string = dictionary_.suffix[walk];
        walk = static_cast<unsigned>(dictionary_.parent[walk]);
      }
      if (walk == kControlCode || string == dictionary_.stack) return kDecodeCorrupt;
      *--string = static_cast<uint8_t>(walk);
      if (!Output(string, static_cast<size_t>(dictionary_.stack + kShrinkCodes - string)))
        return kDecodeStopped;

      if (nextFree_ < kShrinkCodes) {
        dictionary_.parent[nextFree_] = static_cast<int16_t>(previous);
        dictionary_.suffix[nextFree_] = *string;
        nextFree_ = NextFreeCode(dictionary_, nextFree_ + 1);
      }
      previous = code;
      previousFirst = *string;
    }
    // With no size to go by (function 10), the data ends where the codes run out.
    return remaining_ == 0 || state_.uncompressedSize == UINT64_MAX ? kDecodeDone : kDecodeInputEnded;
  }

 private:
  // Writes a string through the window, cut at the member's size.
  bool Output(const uint8_t* bytes, size_t count) {
    if (count > remaining_) count = static_cast<size_t>(remaining_);
    remaining_ -= count;
    while (count > 0) {
      size_t room = kDecoderWindowSize - state_.windowPos;
      size_t run = count < room ? count : room;
      std::memcpy(state_.window + state_.windowPos, bytes, run);
      state_.windowPos += run;
      bytes += run;
      count -= run;
      if (state_.windowPos == kDecoderWindowSize && !DecoderFlushWindow(state_)) return false;
    }
    return true;
  }

  DecoderState& state_;
  ShrinkDictionary& dictionary_;
  uint64_t remaining_;
  unsigned codeBits_ = kMinCodeBits;
  unsigned nextFree_ = kFirstFreeCode;
};

}  // namespace

DecodeResult UnshrinkMember(DecoderState& state) {
  DecoderResetInput(state);
  DecoderResetOutput(state);
  DecodeResult result = Unshrinker(state).Run();
  if (state.stopped || state.outputResult != 0) return kDecodeStopped;
  if (result == kDecodeDone && !DecoderFlushWindow(state)) return kDecodeStopped;
  return result;
}
