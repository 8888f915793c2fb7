#include "InflateFast.h"

#include <atomic>
#include <cstring>

#include "DecodeTable.h"

namespace {

// The loop's helpers must fold into it, so that the bit buffer and the
// output pointer stay in registers rather than behind a reference.
#define INFLATE_INLINE __attribute__((always_inline))
// Marks a rare branch, so that the common path runs straight on.
#define INFLATE_RARELY(condition) __builtin_expect(!!(condition), 0)

INFLATE_INLINE inline uint64_t LoadWord(const uint8_t* at) {
  uint64_t word;
  std::memcpy(&word, at, sizeof word);
#if defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_BIG_ENDIAN__
  word = __builtin_bswap64(word);
#endif
  return word;
}

INFLATE_INLINE inline void StoreWord(uint8_t* at, uint64_t word) { std::memcpy(at, &word, sizeof word); }

// Copies a match whose source and destination both end before the window's
// end, in whole words, writing up to 32 bytes past the match's end (and
// reading as far past its source). A distance of 8 or more (nearly every
// match, so that the test is seldom mispredicted) moves its first 32 bytes
// in four words without a test, which covers most matches, and the rest 16
// bytes per step where the distance allows and 8 otherwise; a distance of 1
// repeats its byte a word at a time; another distance under 8 is first
// spelt out byte by byte to a multiple of itself of at least 8, which then
// serves as the distance of 8-byte steps, the first 16 bytes without a test.
INFLATE_INLINE inline void CopyWithin(uint8_t* to, const uint8_t* from, size_t length, size_t distance) {
  uint8_t* const end = to + length;
  if (distance >= 8) {
    std::memcpy(to, from, 8);
    std::memcpy(to + 8, from + 8, 8);
    std::memcpy(to + 16, from + 16, 8);
    std::memcpy(to + 24, from + 24, 8);
    if (to + 32 >= end) return;
    if (distance >= 16) {
      for (to += 32, from += 32; to < end; to += 16, from += 16) std::memcpy(to, from, 16);
      return;
    }
    for (to += 32, from += 32; to < end; to += 8, from += 8) std::memcpy(to, from, 8);
    return;
  }
  if (distance == 1) {
    const uint64_t repeated = uint64_t{*from} * 0x0101010101010101u;
    StoreWord(to, repeated);
    StoreWord(to + 8, repeated);
    for (to += 16; to < end; to += 8) StoreWord(to, repeated);
    return;
  }
  // The smallest multiple of the distance that is at least 8.
  static constexpr uint8_t kStrides[8] = {0, 8, 8, 9, 8, 10, 12, 14};
  const size_t stride = kStrides[distance];
  uint8_t* const spelt = to + (stride < length ? stride : length);
  while (to < spelt) *to++ = *from++;
  if (to == end) return;
  from = to - stride;
  std::memcpy(to, from, 8);
  std::memcpy(to + 8, from + 8, 8);
  for (to += 16, from += 16; to < end; to += 8, from += 8) std::memcpy(to, from, 8);
}

// How the loop takes the low n bits of a word, n in the low six bits of its
// argument (the bits above, zero up to bit 7, are ignored, so that a packed
// entry serves as its own count): portably through a table of masks (one
// load, where computing the mask takes three steps and a shift through the
// count register), or in one BMI2 instruction.
struct LowMasks {
  uint64_t mask[64];
};
constexpr LowMasks MakeLowMasks() {
  LowMasks masks{};
  for (unsigned n = 1; n < 64; ++n) masks.mask[n] = (masks.mask[n - 1] << 1) | 1;
  return masks;
}
constexpr LowMasks kLowMasks = MakeLowMasks();

struct PortableBits {
  INFLATE_INLINE static uint64_t Low(uint64_t word, unsigned n) { return word & kLowMasks.mask[n & 63]; }
};
#if defined(__x86_64__)
// Spelt in assembly: the loop's helpers are built for any processor, and
// only the instantiation picked for BMI2 processors ever runs it.
struct Bmi2Bits {
  INFLATE_INLINE static uint64_t Low(uint64_t word, unsigned n) {
    uint64_t low;
    asm("bzhiq %2, %1, %0" : "=r"(low) : "r"(word), "r"(uint64_t{n}));
    return low;
  }
};
#endif

// The loop itself, built once for any processor and once for those with
// the BMI2 shifts and masks, which take a symbol's bits in fewer steps.
//
// One refill gives at least 56 bits (the budgets below), so no symbol
// checks the input's end. Between refills the loop takes up to three
// literals, or up to two and a match's length, still holding the bits of
// the distance lookup; a refill comes before the distance is consumed, and
// what is left covers the next literal/length lookup, which is made before
// the following refill so that the table load does not wait for it (nor
// for the match's copy: the input limit leaves room for that second refill
// of a match, and the loop's ends are tested after the copy). Each entry is
// consumed as soon as it is looked up (an invalid one consumes nothing). The
// bit count is only ever lowered by whole entries: its low byte stays right
// (the budgets keep it from borrowing), the rest is noise.
constexpr unsigned kRefillBits = 56;
constexpr unsigned kLongestCode = 15;
constexpr unsigned kLengthExtraBits = 5;
constexpr unsigned kDistanceExtraBits = 13;
static_assert(3 * kLiteralTableWidth + kLiteralTableWidth <= kRefillBits, "three literals, then a lookup");
static_assert(2 * kLiteralTableWidth + kLongestCode + kLengthExtraBits + kDistanceTableWidth <= kRefillBits,
              "two literals and a length, then the distance lookup");
static_assert(2 * kLiteralTableWidth + kLongestCode + kLiteralTableWidth <= kRefillBits,
              "two literals and one from a sub-table, then a lookup");
static_assert(kLongestCode + kDistanceExtraBits + kLiteralTableWidth <= kRefillBits, "a distance, then a lookup");
template <class Bits>
INFLATE_INLINE inline FastExit FastLoop(DecoderState& state) {
  uint8_t* out = state.window + state.windowPos;
  uint8_t* const outLimit = state.window + kFastOutputLimit;
  const uint8_t* next = state.inNext;
  if (out >= outLimit || state.inEnd - next < kFastInput) return kFastLeftRoom;
  const uint8_t* const inLimit = state.inEnd - kFastInput;
  uint64_t bits = state.bitBuffer;
  uint64_t count = state.bitCount;
  // Both tables are reached through the state, at fixed offsets from it,
  // so that they take no register of their own (a pointer to each spilled
  // one of them to the stack).
  const DecodeTables& tables = state.scratch.tables;

  // Tops bits up to at least 56 from one unaligned word: the bytes counted
  // as taken land whole below bit 56, and the part of the next byte above
  // them is the same bits the next load puts there again.
  auto refill = [&]() INFLATE_INLINE {
    bits |= LoadWord(next) << (count & 63);
    next += 7 - ((count >> 3) & 7);
    count |= 56;
  };
  auto consume = [&](uint32_t entry) INFLATE_INLINE {
    bits >>= entry & 63;
    count -= entry;
  };
  auto roomLeft = [&](const uint8_t* at) INFLATE_INLINE { return at < outLimit && next <= inLimit; };
  const uint8_t* const window = state.window;
  // For an exceptional entry that is not a link.
  auto endOrCorrupt = [](uint32_t entry)
                          INFLATE_INLINE { return entry >> 16 == kPackedEndOfBlock ? kFastEndOfBlock : kFastCorrupt; };
  auto subEntry = [&](const uint32_t* table, uint32_t link)
                      INFLATE_INLINE { return table[(link >> 16) + Bits::Low(bits, PackedCodeBits(link))]; };
  // The value of a length or distance entry, from the bits held before it
  // was consumed: its base plus the extra bits above its code.
  auto valueOf = [](uint64_t before, uint32_t entry) INFLATE_INLINE {
    return (entry >> 16) + (Bits::Low(before, entry) >> ((entry >> 8) & 63));
  };

  FastExit exit = kFastLeftRoom;
  // The careful loop may hand over a full buffer (up to 63 bits held).
  if ((count & 63) < 56) refill();
  uint32_t entry = tables.literal[bits & kLiteralTableMask];
  // Looks up the next literal/length entry, then refills: the bits left
  // always cover the lookup, so it does not wait for the refill.
  auto lookUpThenRefill = [&]() INFLATE_INLINE {
    entry = tables.literal[bits & kLiteralTableMask];
    refill();
  };
  for (;;) {
    uint64_t before = bits;
    consume(entry);
    if (entry & kPackedLiteral) {
      // Up to three literals from one refill: each entry is consumed as soon
      // as it is looked up, literal or not (two literals and a length with
      // its extra bits take at most 38 of the 56 bits).
      *out++ = static_cast<uint8_t>(entry >> 16);
      entry = tables.literal[bits & kLiteralTableMask];
      before = bits;
      consume(entry);
      if (entry & kPackedLiteral) {
        *out++ = static_cast<uint8_t>(entry >> 16);
        entry = tables.literal[bits & kLiteralTableMask];
        before = bits;
        consume(entry);
        if (entry & kPackedLiteral) {
          *out++ = static_cast<uint8_t>(entry >> 16);
          if (!roomLeft(out)) break;
          lookUpThenRefill();
          continue;
        }
      }
    }
    if (INFLATE_RARELY(entry & kPackedExceptional)) {
      if (!(entry & kPackedLink)) {
        exit = endOrCorrupt(entry);
        break;
      }
      entry = subEntry(tables.literal, entry);
      before = bits;
      consume(entry);
      if (entry & kPackedLiteral) {
        *out++ = static_cast<uint8_t>(entry >> 16);
        if (!roomLeft(out)) break;
        lookUpThenRefill();
        continue;
      }
      if (INFLATE_RARELY(entry & kPackedExceptional)) {
        exit = endOrCorrupt(entry);
        break;
      }
    }
    const size_t length = valueOf(before, entry);

    entry = tables.distance[bits & kDistanceTableMask];
    refill();
    before = bits;
    consume(entry);
    if (INFLATE_RARELY(entry & kPackedExceptional)) {
      if (!(entry & kPackedLink)) {
        exit = kFastCorrupt;
        break;
      }
      entry = subEntry(tables.distance, entry);
      before = bits;
      consume(entry);
      if (INFLATE_RARELY(entry & kPackedExceptional)) {
        exit = kFastCorrupt;
        break;
      }
    }
    const size_t distance = valueOf(before, entry);
    uint8_t* const after = out + length;
    // Once the window has slid, the whole history lies behind the position:
    // only a member's first run can be too short.
    if (INFLATE_RARELY(distance > static_cast<size_t>(out - window))) {
      exit = kFastCorrupt;
      break;
    }
    const uint8_t* const from = out - distance;
    lookUpThenRefill();
    CopyWithin(out, from, length, distance);
    out = after;
    if (!roomLeft(out)) break;
  }
  state.windowPos = static_cast<size_t>(out - state.window);
  state.bitBuffer = bits;
  state.bitCount = static_cast<unsigned>(count & 63);
  state.inNext = next;
  return exit;
}

[[gnu::noinline]] FastExit PortableFastLoop(DecoderState& state) { return FastLoop<PortableBits>(state); }

#if defined(__x86_64__)
[[gnu::noinline, gnu::target("bmi2")]] FastExit Bmi2FastLoop(DecoderState& state) { return FastLoop<Bmi2Bits>(state); }

using FastLoopFunction = FastExit (*)(DecoderState&);

// Picked on first use. Threads that race to pick store the same value, and
// a plain atomic needs no guard from the C++ runtime (which the stub leaves
// out).
std::atomic<FastLoopFunction> pickedLoop{nullptr};

FastLoopFunction PickFastLoop() {
  __builtin_cpu_init();
  return __builtin_cpu_supports("bmi2") ? Bmi2FastLoop : PortableFastLoop;
}
#endif

}  // namespace

FastExit InflateFast(DecoderState& state) {
#if defined(__x86_64__)
  FastLoopFunction loop = pickedLoop.load(std::memory_order_relaxed);
  if (!loop) {
    loop = PickFastLoop();
    pickedLoop.store(loop, std::memory_order_relaxed);
  }
  return loop(state);
#else
  return PortableFastLoop(state);
#endif
}
