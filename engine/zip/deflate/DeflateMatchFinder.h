// Match finder and main loops of the Deflate and Deflate64 encoders: a
// sliding window with hash chains, a greedy loop for levels 1-3 and a lazy
// loop for levels 4-9. Each format is a traits class; the loops are
// instantiated once per format so that its constants fold into the code.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "DeflateBlockBuilder.h"
#include "DeflateCodeTables.h"
#include "DeflateEncoderState.h"

// Deflate: 32 KiB slide unit, 14-bit hash, 16-bit positions.
struct DeflateWindowFormat {
  using Position = uint16_t;
  static constexpr EncoderFormat kFormat = EncoderFormat::Deflate;
  static constexpr uint32_t kWindowSize = 0x10000;
  static constexpr uint32_t kSlideUnit = 0x8000;
  static constexpr uint32_t kMaxMatch = 258;
  static constexpr uint32_t kMinLookahead = kMaxMatch + 3 + 1;
  static constexpr uint32_t kMaxDistance = kSlideUnit - kMinLookahead;
  static constexpr uint32_t kSlideAt = kSlideUnit + kMaxDistance;
  static constexpr uint32_t kFirstRead = 0x8000;
  static constexpr uint32_t kHashMask = 0x3FFF;
  static constexpr uint32_t kChainMask = 0x7FFF;
  static Position*& Head(DeflateEncoderState* s) { return s->head16; }
  static Position*& Chain(DeflateEncoderState* s) { return s->chain16; }
  static const DeflateLengthTable& Lengths() { return kDeflateLengths; }
  static void SetLevelFlags(int level, uint16_t* flags) {
    if (level == 1) *flags |= 4;
    if (level == 9) *flags |= 2;
  }
};

// Deflate64: 64 KiB slide unit, 15-bit hash, 32-bit positions, matches up
// to 65,522 bytes with a lookahead to match.
struct Deflate64WindowFormat {
  using Position = uint32_t;
  static constexpr EncoderFormat kFormat = EncoderFormat::Deflate64;
  static constexpr uint32_t kWindowSize = 0x2FFF6;
  static constexpr uint32_t kSlideUnit = 0x10000;
  static constexpr uint32_t kMaxMatch = 0xFFF2;
  static constexpr uint32_t kMinLookahead = 0xFFF6;
  static constexpr uint32_t kMaxDistance = 0xFFFF;
  static constexpr uint32_t kSlideAt = 2 * kSlideUnit - 1;
  static constexpr uint32_t kFirstRead = kWindowSize;
  static constexpr uint32_t kHashMask = 0x7FFF;
  static constexpr uint32_t kChainMask = 0xFFFF;
  static Position*& Head(DeflateEncoderState* s) { return s->head32; }
  static Position*& Chain(DeflateEncoderState* s) { return s->chain32; }
  static const DeflateLengthTable& Lengths() { return kDeflate64Lengths; }
  static void SetLevelFlags(int level, uint16_t* flags) {
    if (level <= 2) *flags |= 4;
    if (level >= 8) *flags |= 2;
  }
};

namespace deflate_match {

constexpr uint32_t kMinMatch = 3;
// Entries of the tail chain newer than the candidate that are passed before
// giving the tail chain up: a string that recurs this often nearby is no
// rarer than the one followed.
constexpr uint32_t kTailSkipLimit = 4;
constexpr uint32_t kFarLimit = 4096;    // a 3-byte match farther back costs more than its literals
constexpr uint32_t kWindowPadding = 16; // word-wise compares may read this far past the window
constexpr int kMessageWindow = 380;
constexpr int kMessageHashTables = 390;

constexpr DeflateLevelParams kLevelParams[10] = {
    {0, 0, 0, 0},       {4, 4, 8, 4},       {4, 5, 16, 8},        {4, 6, 32, 32},
    {4, 4, 16, 16},     {8, 16, 32, 32},    {8, 16, 128, 128},    {8, 32, 128, 256},
    {32, 128, 258, 1024}, {32, 258, 258, 4096}};

inline uint64_t Load64(const uint8_t* p) {
  uint64_t v;
  memcpy(&v, p, sizeof v);
  return v;
}

inline uint16_t Load16(const uint8_t* p) {
  uint16_t v;
  memcpy(&v, p, sizeof v);
  return v;
}

inline uint32_t Load32(const uint8_t* p) {
  uint32_t v;
  memcpy(&v, p, sizeof v);
  return v;
}

// Hash of the three bytes at p: one multiply of an unaligned load spreads
// them over the table evenly, so that few chain entries hold other strings.
template <class F>
inline uint32_t HashOf(const uint8_t* p) {
  constexpr int kHashBits = __builtin_popcount(F::kHashMask);
  return ((Load32(p) & 0xFFFFFF) * 0x9E3779B1u) >> (32 - kHashBits);
}

// Length of the common prefix of scan and match, at most maxMatch; both
// are known to agree in their first two bytes. Eight bytes per step: on a
// little-endian machine the first differing byte is the lowest set bit.
static_assert(__BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__, "the match compare reads words little-endian");
template <uint32_t maxMatch>
inline uint32_t CommonLength(const uint8_t* scan, const uint8_t* match) {
  uint32_t length = 2;
  do {
    uint64_t differ = Load64(scan + length) ^ Load64(match + length);
    if (differ != 0) return std::min(length + uint32_t(__builtin_ctzll(differ) >> 3), maxMatch);
    length += 8;
  } while (length < maxMatch);
  return maxMatch;
}

template <class F>
inline uint32_t InsertString(DeflateEncoderState* s, uint32_t position) {
  typename F::Position* head = F::Head(s) + HashOf<F>(s->window + position);
  uint32_t prior = *head;
  F::Chain(s)[position & F::kChainMask] = typename F::Position(prior);
  *head = typename F::Position(position);
  return prior;
}

// A chain walk for one search. A match longer than best must repeat every
// three-byte string of its first best + 1 bytes at the same offset, so the
// chain of any of them holds all the candidates that can still win: the
// walk follows link along the chain of the string at offset and examines
// link - offset. The last of those strings (offset best - 2) reaches past
// the longest match found so far, which makes its chain the sparsest in
// repetitive data; the walk moves to it whenever its next entry lies
// farther back. That needs every string inserted (the lazy levels).
template <class F>
struct ChainWalk {
  const uint8_t* window;
  const typename F::Position* head;
  const typename F::Position* chain;
  uint32_t position;  // of the string searched for
  uint32_t limit;     // candidates must lie above this
  uint32_t link;
  uint32_t offset;
  // Candidates at or below this may take the tail chain (0: none): its
  // strings must all be inserted, so the candidates must lie best - 2 back.
  uint32_t tailFrom;

  uint32_t Candidate() const { return link - offset; }
  bool Ended() const { return link <= limit + offset; }

  uint32_t TailReach(uint32_t best) const { return position > best - 2 ? position - (best - 2) : 0; }

  // After a match of best bytes was found at candidate, or once the
  // candidates pass the point noted: takes the tail chain when it may.
  void SeekTail(uint32_t candidate, uint32_t best) {
    tailFrom = TailReach(best);
    if (candidate > tailFrom) return;
    tailFrom = 0;
    TakeTail(candidate, best);
  }

  void TakeTail(uint32_t candidate, uint32_t best) {
    uint32_t i = best - 2;
    uint32_t tail = head[HashOf<F>(window + position + i)];
    for (uint32_t skipped = 0; tail >= candidate + i && tail > limit + i; tail = chain[tail & F::kChainMask])
      if (++skipped == kTailSkipLimit) return;
    if (int64_t(tail) - i < int64_t(link) - offset) {
      link = tail;
      offset = i;
    }
  }
};

// Follows the chain from candidate for a match longer than best; on success
// sets matchStart and returns the new length, else returns best. Kept out
// of line so that the chain walk has the registers to itself. The greedy
// levels, which do not insert every string, stay on the one chain.
template <class F, bool kSwitchChains>
__attribute__((noinline)) uint32_t LongestMatch(DeflateEncoderState* s, uint32_t candidate, uint32_t best) {
  const uint8_t* window = s->window;
  const uint8_t* scan = window + s->position;
  uint32_t chainLeft = s->params.maxChain;
  if (best >= s->params.goodLength) chainLeft >>= 2;
  uint32_t limit = s->position > F::kMaxDistance ? s->position - F::kMaxDistance : 0;
  ChainWalk<F> walk{window, F::Head(s), F::Chain(s), s->position, limit, candidate, 0, 0};
  if (kSwitchChains && best >= kMinMatch) walk.tailFrom = walk.TailReach(best);
  uint32_t nice = s->params.niceLength;
  uint32_t matchStart = s->matchStart;
  uint16_t scanStart = Load16(scan);
  uint16_t scanEnd = Load16(scan + best - 1);
  const uint8_t* windowAtEnd = window + best - 1;  // candidate + this = the candidate's last two bytes
  do {
    candidate = walk.Candidate();
    walk.link = walk.chain[walk.link & F::kChainMask];
    bool improved = false;
    // Candidates from a tail chain share its string, which holds the end
    // bytes: a test of the end alone passes about every other time there and
    // its branch guesses badly, so the walks that take tail chains test both
    // ends in one branch.
    uint32_t endDiffers = Load16(windowAtEnd + candidate) ^ scanEnd;
    if (kSwitchChains ? (endDiffers | (Load16(window + candidate) ^ scanStart)) == 0
                      : endDiffers == 0 && Load16(window + candidate) == scanStart) {
      uint32_t length = CommonLength<F::kMaxMatch>(scan, window + candidate);
      if (length > best) {
        matchStart = candidate;
        best = length;
        if (length >= nice) break;
        scanEnd = Load16(scan + best - 1);
        windowAtEnd = window + best - 1;
        improved = true;
      }
    }
    if (kSwitchChains && (improved || candidate <= walk.tailFrom)) walk.SeekTail(candidate, best);
  } while (!walk.Ended() && --chainLeft != 0);
  s->matchStart = matchStart;
  return best;
}

// Moves the newer half of the window down by one slide unit; positions that
// fall off the front become 0, the chain end.
template <class F>
void SlideWindow(DeflateEncoderState* s) {
  constexpr uint32_t unit = F::kSlideUnit;
  memmove(s->window, s->window + unit, F::kWindowSize - unit);
  s->matchStart = s->matchStart >= unit ? s->matchStart - unit : 0;
  s->position -= unit;
  s->blockStart -= unit;
  auto slide = [](typename F::Position* table, uint32_t count) {
    for (uint32_t i = 0; i < count; ++i)
      table[i] = table[i] >= unit ? typename F::Position(table[i] - unit) : typename F::Position(0);
  };
  slide(F::Head(s), F::kHashMask + 1);
  slide(F::Chain(s), F::kChainMask + 1);
}

template <class F>
void FillWindow(DeflateEncoderState* s) {
  do {
    if (s->position >= F::kSlideAt) SlideWindow<F>(s);
    if (s->inputEnded) return;
    uint32_t space = F::kWindowSize - s->lookahead - s->position;
    if (space == 0) return;
    if (s->io.pending && s->io.pending(s->io.context) != 0) {
      s->inputEnded = true;
      return;
    }
    uint32_t got = s->io.read(s->io.context, s->window + s->position + s->lookahead, space);
    if (got == 0) {
      s->inputEnded = true;
      return;
    }
    s->lookahead += std::min(got, space);
  } while (s->lookahead < F::kMinLookahead);
}

// Refills when the lookahead runs short; false once nothing is left to code
// or an error stands.
template <class F>
inline bool MoreToCode(DeflateEncoderState* s) {
  if (s->lookahead < F::kMinLookahead) FillWindow<F>(s);
  return s->lookahead != 0 && s->result == 0;
}

template <class F>
void FreeMatchBuffers(DeflateEncoderState* s) {
  free(s->window);
  free(F::Head(s));
  free(F::Chain(s));
  s->window = nullptr;
  F::Head(s) = nullptr;
  F::Chain(s) = nullptr;
}

inline int FailMatchFinder(DeflateEncoderState* s, int messageId) {
  s->result = 4;
  s->messageId = messageId;
  if (s->io.fail) s->io.fail(s->io.context, 4, messageId);
  return 4;
}

template <class F>
int MatchFinderInit(DeflateEncoderState* s, int level, uint16_t* flags) {
  using Position = typename F::Position;
  level = std::clamp(level, 1, 9);
  if (F::Head(s) == nullptr) {
    // A window left by the other format has the wrong size.
    FreeMatchBuffers<DeflateWindowFormat>(s);
    FreeMatchBuffers<Deflate64WindowFormat>(s);
  }
  if (s->window == nullptr) {
    s->window = static_cast<uint8_t*>(calloc(F::kWindowSize + kWindowPadding, 1));
    if (s->window == nullptr) return FailMatchFinder(s, kMessageWindow);
  }
  if (F::Head(s) == nullptr) F::Head(s) = static_cast<Position*>(malloc((F::kHashMask + 1) * sizeof(Position)));
  if (F::Chain(s) == nullptr)
    F::Chain(s) = static_cast<Position*>(calloc(F::kChainMask + 1, sizeof(Position)));
  if (F::Head(s) == nullptr || F::Chain(s) == nullptr) return FailMatchFinder(s, kMessageHashTables);
  memset(F::Head(s), 0, (F::kHashMask + 1) * sizeof(Position));

  s->format = F::kFormat;
  s->level = level;
  s->params = kLevelParams[level];
  if (flags) F::SetLevelFlags(level, flags);

  s->position = 0;
  s->blockStart = 0;
  s->matchStart = 0;
  s->lookahead = 0;
  s->inputEnded = false;
  uint32_t got = s->io.read(s->io.context, s->window, F::kFirstRead);
  if (got == 0) {
    s->inputEnded = true;
    return 0;
  }
  s->lookahead = std::min(got, F::kFirstRead);
  if (s->lookahead < F::kMinLookahead) FillWindow<F>(s);
  return 0;
}

// Asks for the bytes the next position's search most likely compares first,
// so that fetching them overlaps this position's work.
template <class F>
inline void PrefetchNextCandidate(DeflateEncoderState* s) {
  __builtin_prefetch(s->window + F::Head(s)[HashOf<F>(s->window + s->position + 1)]);
}

// Levels 1-3: take the longest match at each position; insert the strings
// of short matches only.
template <class F>
void RunGreedy(DeflateEncoderState* s) {
  const DeflateLengthTable& lengths = F::Lengths();
  while (MoreToCode<F>(s)) {
    uint32_t head = InsertString<F>(s, s->position);
    PrefetchNextCandidate<F>(s);
    uint32_t matchLength = 0;
    if (head != 0 && s->position - head <= F::kMaxDistance)
      matchLength = std::min(LongestMatch<F, false>(s, head, kMinMatch - 1), s->lookahead);
    bool endBlock;
    if (matchLength >= kMinMatch) {
      endBlock = TallyMatch(s, lengths, s->position - s->matchStart, matchLength);
      s->lookahead -= matchLength;
      if (matchLength <= s->params.lazyLength) {
        for (uint32_t n = matchLength - 1; n > 0; --n) InsertString<F>(s, ++s->position);
        ++s->position;
      } else {
        s->position += matchLength;
      }
    } else {
      endBlock = TallyLiteral(s, s->window[s->position]);
      --s->lookahead;
      ++s->position;
    }
    if (endBlock) FlushBlock(s, false);
  }
  if (s->result == 0) FlushBlock(s, true);
}

// Levels 4-9: a match is taken only when the next position does not start
// a longer one; the byte in between waits as a pending literal.
template <class F>
void RunLazy(DeflateEncoderState* s) {
  const DeflateLengthTable& lengths = F::Lengths();
  bool literalPending = false;  // the byte before the current position
  uint32_t matchLength = kMinMatch - 1;
  while (MoreToCode<F>(s)) {
    uint32_t head = InsertString<F>(s, s->position);
    uint32_t prevLength = matchLength;
    uint32_t prevStart = s->matchStart;
    matchLength = kMinMatch - 1;
    if (head != 0 && prevLength < s->params.lazyLength && s->position - head <= F::kMaxDistance) {
      matchLength = std::min(LongestMatch<F, true>(s, head, prevLength), s->lookahead);
      if (matchLength == kMinMatch && s->position - s->matchStart > kFarLimit) matchLength = kMinMatch - 1;
    }
    if (prevLength >= kMinMatch && matchLength <= prevLength) {
      bool endBlock = TallyMatch(s, lengths, s->position - 1 - prevStart, prevLength);
      s->lookahead -= prevLength - 1;
      for (uint32_t n = prevLength - 2; n > 0; --n) InsertString<F>(s, ++s->position);
      ++s->position;
      literalPending = false;
      matchLength = kMinMatch - 1;
      if (endBlock) FlushBlock(s, false);
    } else {
      if (literalPending && TallyLiteral(s, s->window[s->position - 1])) FlushBlock(s, false);
      literalPending = true;
      ++s->position;
      --s->lookahead;
    }
  }
  if (s->result != 0) return;
  if (literalPending) TallyLiteral(s, s->window[s->position - 1]);
  FlushBlock(s, true);
}

template <class F>
uint64_t Compress(DeflateEncoderState* s) {
  if (s->window == nullptr || F::Head(s) == nullptr || s->items.litLen == nullptr || s->out == nullptr)
    return 0;
  if (s->level <= 3)
    RunGreedy<F>(s);
  else
    RunLazy<F>(s);
  return s->compressedBytes;
}

}  // namespace deflate_match
