// State and entry points of the member decoders: Inflate (method 8),
// Inflate64 (method 9), Explode (6), Unreduce (2-5) and Unshrink (1).
// Portable: no platform header, so the same code is tested, fuzzed and
// benchmarked natively. The unzip state block embeds one DecoderState; the
// input layer fills in DecoderIo and the member fields, calls one decoder per
// member and maps its DecodeResult to an unzip result code.
#pragma once

#include <cstddef>
#include <cstdint>

// How a decoder reaches the input layer. Every routine gets the context back
// as its first argument.
struct DecoderIo {
  // Makes the next run of the member's compressed bytes available: points
  // *bytes at them and returns how many there are (they stay valid until the
  // next call). The bytes are already deciphered, and the runs never go past
  // the member's compressed size. Returns 0 at the end of the member's
  // input, or a negative value when decoding must stop (the cancel flag was
  // raised, e.g. by a refused disk prompt or a cancelling callback). After
  // it has returned 0 or less it is not called again for this member.
  //
  // A whole run rather than one byte per call lets the decode loops pull
  // 64 bits at a time; the input layer backs it with its refill buffer.
  ptrdiff_t (*fillInput)(void* context, const uint8_t** bytes);
  // Hands count decoded bytes on, in output order (the output layer hands
  // each whole buffer's worth on from where it lies and gathers the rest
  // in its output buffer, flushed whenever that fills).
  // Returns 0 to go on; anything else (a failed write, a full memory block,
  // or the cancel flag raised meanwhile, e.g. by a cancelling progress
  // callback) stops the decoder, which then returns kDecodeStopped and
  // leaves the value in DecoderState::outputResult. Bytes of a stopped
  // member that were not yet handed on are dropped.
  int (*writeOutput)(void* context, const uint8_t* bytes, size_t count);
  void* context;
};

// What a decoder returns. Only kDecodeDone means the member's data ended
// where its own format says it ends.
enum DecodeResult : int {
  kDecodeDone = 0,          // the stream ended cleanly (Deflate: the end code of
                            // the last block; the others: the member's size)
  kDecodeCorrupt = 1,       // invalid code, bad stored length, bad header,
                            // incomplete code set, distance before the start
  kDecodeBadCodes = 2,      // over-subscribed code set, or Deflate block type 3
  kDecodeNoMemory = 3,      // a decode table did not fit (never for valid codes)
  kDecodeBadTree = 4,       // Explode: a tree description that does not add up
  kDecodeInputEnded = 5,    // the input ran out before the stream's end
  kDecodeStopped = 6,       // fillInput or writeOutput asked to stop
};

// Output window shared by the decoders (Unshrink stages its strings there).
// Explode, Unreduce and Unshrink use its first kDecoderWindowSize bytes as
// a ring; Inflate uses the whole of it as one straight run (InflateWindow.h),
// long enough that moving its history to the start costs little beside the
// bytes decoded between two moves. The slack past the end lets the Inflate
// fast loop copy whole words without checking every byte.
constexpr size_t kDecoderWindowSize = 65536;
constexpr size_t kInflateWindowSize = 262144;
constexpr size_t kDecoderWindowSlack = 64;

// Decode tables: packed 32-bit entries. Every sub-table but the last is full,
// and a full one of 2^m entries holds at least m + 1 codes, which bounds the
// tables the decoders build below this capacity (at most 4,736 entries: 256
// Implode literal codes of up to 16 bits under a 9-bit first level).
constexpr size_t kDecodeTableCapacity = 5120;

// Decode tables of the current block (Explode holds three trees at once).
struct DecodeTables {
  uint32_t literal[kDecodeTableCapacity];
  uint32_t distance[kDecodeTableCapacity];
  uint32_t length[kDecodeTableCapacity];
};

// Unshrink's LZW dictionary: codes 0-255 are the bytes themselves, 256 is
// the control code, 257-8191 are defined as a parent code plus a byte.
constexpr unsigned kShrinkCodes = 8192;
struct ShrinkDictionary {
  int16_t parent[kShrinkCodes];  // -1 for a free code
  uint8_t suffix[kShrinkCodes];
  uint8_t stack[kShrinkCodes];   // a string's bytes, last byte first
};

union DecoderScratch {
  DecodeTables tables;
  ShrinkDictionary shrink;
};

struct DecoderState {
  DecoderIo io;

  // Set by the input layer before each member.
  uint64_t uncompressedSize;  // Explode, Unreduce, Unshrink stop here
  uint16_t generalFlags;      // Explode: bit 1 8K dictionary, bit 2 literal tree
  uint64_t compressedSize;    // Explode: over 200,000 widens the distance lookup

  // Result of the last writeOutput that stopped the decoder, else 0.
  int outputResult;

  // Input: the run fillInput exposed, and the bit buffer taken from it (low
  // bits first). padBits counts the zero bits put in past the end of input;
  // once fewer bits than that are held, the decoder has read past the end.
  const uint8_t* inNext;
  const uint8_t* inEnd;
  uint64_t bitBuffer;
  unsigned bitCount;
  unsigned padBits;
  bool inputEnded;  // fillInput returned 0 or less
  bool stopped;     // fillInput returned a negative value

  // Output window: bytes at [windowFlushed, windowPos) are not yet handed
  // on (the ring decoders hand on from 0 and restart there).
  size_t windowPos;
  size_t windowFlushed;
  uint64_t memberOutput;  // bytes of this member already handed on
  uint8_t window[kInflateWindowSize + kDecoderWindowSlack];

  DecoderScratch scratch;
};

// One call per member, after the input layer has set io and the member
// fields. Each resets the rest of the state itself.
DecodeResult InflateMember(DecoderState& state);
DecodeResult Inflate64Member(DecoderState& state);
DecodeResult ExplodeMember(DecoderState& state);
DecodeResult UnreduceMember(DecoderState& state, int factor);  // factor 1-4
DecodeResult UnshrinkMember(DecoderState& state);
