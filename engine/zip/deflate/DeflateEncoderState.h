// State and entry points of the Deflate (method 8) and Deflate64 (method 9)
// encoders. Portable: no platform header, so the same code is fuzzed and
// benchmarked natively. The zip state block embeds one DeflateEncoderState
// and binds its input and output to the member compressor and the archive
// writer through DeflateIo.
#pragma once

#include <cstdint>

// How the encoder reaches the rest of the zip side. Every routine gets the
// context pointer back as its first argument.
struct DeflateIo {
  // Fills up to count bytes of the member's input; returns the bytes
  // delivered, 0 at the end of the input or on a read failure.
  uint32_t (*read)(void* context, uint8_t* buffer, uint32_t count);
  // Takes count bytes of compressed output; returns 0, or the result code of
  // a failed write (14 disk full, 9 cancelled).
  int (*write)(void* context, const uint8_t* data, uint32_t count);
  // The result code standing in the caller's state (a cancel request or a
  // reader failure); non-zero ends the input. May be null.
  int (*pending)(void* context);
  // A failure the caller reports itself: result 4 (window or hash tables,
  // messages 380 and 390) or 17 (block buffers 332, block vanished 333).
  // May be null.
  void (*fail)(void* context, int result, int messageId);
  // A warning (334: end-of-line conversion asked on a binary member). May be null.
  void (*warn)(void* context, int messageId);
  void* context;
};

// Where the output goes decides which block kinds may be written.
struct DeflateOutputTraits {
  bool seekable;        // the archive writer can move back in its output
  bool callbackRecord;  // the caller supplied a memory I/O callback record
  bool memoryEntry;     // a memory-entry run (function 6)
  bool convertEol;      // the reader turns LF into CR LF
};

enum class EncoderFormat : uint8_t { Deflate, Deflate64 };

// Longest-match search parameters of one level.
struct DeflateLevelParams {
  uint16_t goodLength;  // a match this long cuts the next search to a quarter
  uint16_t lazyLength;  // no lazy search past this; the fast loop's insert limit
  uint16_t niceLength;  // a match this long ends the search
  uint16_t maxChain;    // chain entries followed per search
};

// One block's items: a literal, or a match with its length - 3.
struct DeflateItems {
  uint16_t* litLen;    // literal byte, or match length - 3
  uint16_t* distance;  // match distance, 0 for a literal
  uint32_t count;
  uint32_t matches;
  uint32_t capacity;   // items a block may hold (the buffers may be larger)
};

struct DeflateEncoderState {
  DeflateIo io;
  DeflateOutputTraits traits;
  EncoderFormat format;

  // Result of the run: 0, or the zip result code that stopped it, with the
  // message id that explains it (0 when the caller has nothing to add).
  int result;
  int messageId;

  // Member fields the encoder sets: internal attributes (0xFFFF until the
  // text test runs) and method (turned into 0 when stored whole).
  uint16_t* internalAttributes;
  uint16_t* method;

  int level;
  DeflateLevelParams params;

  // Match finder. The window holds the history that matches reach into and
  // the lookahead; the Deflate tables use 16-bit positions, the Deflate64
  // ones 32-bit.
  uint8_t* window;
  uint16_t* head16;
  uint16_t* chain16;
  uint32_t* head32;
  uint32_t* chain32;
  uint32_t position;     // current position in the window
  int64_t blockStart;    // window position of the block's first byte; < 0 once slid away
  uint32_t lookahead;
  uint32_t matchStart;
  bool inputEnded;

  // Block builder: items and symbol frequencies of the open block.
  DeflateItems items;
  uint32_t litFreq[286];
  uint32_t distFreq[32];
  uint64_t compressedBytes;  // bytes emitted for the member so far

  // Bit output: bits fill from the least significant end.
  uint64_t bitBuffer;
  uint32_t bitCount;
  uint8_t* out;
  uint32_t outFill;
  uint32_t outCapacity;
};

// Output stage. Allocates the output buffer (20,480 bytes for file output,
// 8,192 for a memory entry); returns 0, or 4 without memory.
int DeflateOutputInit(DeflateEncoderState* state, uint32_t capacity);
void DeflateOutputRelease(DeflateEncoderState* state);

// Deflate. ct_init returns 0, or 17 when the block buffers cannot be had;
// DeflateInit returns 0, or 4 when the window or hash tables cannot be had,
// and sets the level's bits in the member's general-purpose flags.
int ct_init(DeflateEncoderState* state, uint16_t* internalAttributes, uint16_t* method);
int DeflateInit(DeflateEncoderState* state, int level, uint16_t* flags);
uint64_t DeflateCompress(DeflateEncoderState* state);
void DeflateFreeBuffers(DeflateEncoderState* state);

// Deflate64: the same roles with a 64 KiB window.
int Deflate64TreesInit(DeflateEncoderState* state, uint16_t* internalAttributes, uint16_t* method);
int Deflate64Init(DeflateEncoderState* state, int level, uint16_t* flags);
uint64_t Deflate64Compress(DeflateEncoderState* state);
void Deflate64FreeBuffers(DeflateEncoderState* state);

// Frees everything the state holds (block buffers included) at the end of
// the state's life.
void DeflateStateRelease(DeflateEncoderState* state);
