// Unreduce: the decoder of the zip APPNOTE's Reducing methods (2-5,
// compression factors 1-4). Bytes come through probabilistic follower sets;
// the byte stream they form is then expanded, with 144 as the escape that
// starts a back-reference of up to 4 KiB.

#include "DecoderBits.h"
#include "DecoderState.h"
#include "DecoderWindow.h"

namespace {

constexpr unsigned kEscape = 144;
constexpr unsigned kMaxFollowers = 64;

struct FollowerSets {
  uint8_t bytes[256][kMaxFollowers];
  uint8_t count[256];
};

// Bits of a follower index for a set of n bytes: enough to hold n - 1, at
// least 1.
unsigned FollowerIndexBits(unsigned n) {
  unsigned bits = 1;
  while ((1u << bits) < n) ++bits;
  return bits;
}

void LoadFollowerSets(DecoderState& state, FollowerSets& sets) {
  for (int x = 255; x >= 0; --x) {
    unsigned n = DecoderBits(state, 6);
    sets.count[x] = static_cast<uint8_t>(n);
    for (unsigned i = 0; i < n; ++i) sets.bytes[x][i] = static_cast<uint8_t>(DecoderBits(state, 8));
  }
}

// The next byte of the intermediate stream, given the one before it; -1 for
// an index past the end of the set.
int NextByte(DecoderState& state, const FollowerSets& sets, unsigned previous) {
  unsigned n = sets.count[previous];
  if (n == 0 || DecoderBits(state, 1)) return static_cast<int>(DecoderBits(state, 8));
  unsigned index = DecoderBits(state, FollowerIndexBits(n));
  return index < n ? sets.bytes[previous][index] : -1;
}

enum class Expand { Plain, Escaped, LongLength, Distance };

DecodeResult Unreduce(DecoderState& state, int factor) {
  if (factor < 1 || factor > 4) return kDecodeCorrupt;
  const unsigned lengthMask = 0x7Fu >> (factor - 1);
  const unsigned distanceShift = 8 - factor;
  const unsigned distanceMask = (1u << factor) - 1;

  FollowerSets sets;
  LoadFollowerSets(state, sets);

  uint64_t remaining = state.uncompressedSize;
  Expand mode = Expand::Plain;
  unsigned previous = 0;
  unsigned code = 0;    // the byte after the escape
  unsigned length = 0;
  while (remaining > 0) {
    DecoderNeed(state, 9);
    if (state.inputEnded && (state.stopped || DecoderReadPastEnd(state))) return kDecodeInputEnded;
    int next = NextByte(state, sets, previous);
    if (next < 0) return kDecodeCorrupt;
    unsigned byte = static_cast<unsigned>(next);
    previous = byte;
    switch (mode) {
      case Expand::Plain:
        if (byte == kEscape) {
          mode = Expand::Escaped;
          continue;
        }
        break;
      case Expand::Escaped:
        if (byte == 0) {
          byte = kEscape;
          mode = Expand::Plain;
          break;
        }
        code = byte;
        length = byte & lengthMask;
        mode = length == lengthMask ? Expand::LongLength : Expand::Distance;
        continue;
      case Expand::LongLength:
        length += byte;
        mode = Expand::Distance;
        continue;
      case Expand::Distance: {
        size_t distance = ((code >> distanceShift) & distanceMask) * 256 + byte + 1;
        uint64_t count = length + 3;
        if (count > remaining) count = remaining;
        if (!DecoderCopyMatch(state, distance, static_cast<size_t>(count))) return kDecodeStopped;
        remaining -= count;
        mode = Expand::Plain;
        continue;
      }
    }
    if (!DecoderPutByte(state, static_cast<uint8_t>(byte))) return kDecodeStopped;
    --remaining;
  }
  return kDecodeDone;
}

}  // namespace

DecodeResult UnreduceMember(DecoderState& state, int factor) {
  DecoderResetInput(state);
  DecoderResetOutput(state);
  if (state.uncompressedSize == 0) return kDecodeDone;
  DecodeResult result = DecoderOutcome(state, Unreduce(state, factor));
  if (result == kDecodeDone && !DecoderFlushWindow(state)) return kDecodeStopped;
  return result;
}
