// Bit output shared by the Deflate and Deflate64 encoders: a 64-bit buffer
// filled from its least significant end, whose whole bytes go into the
// output buffer with one unaligned 64-bit store per call, and the output
// buffer handed to the archive writer in pieces of its capacity.
#pragma once

#include <cstdint>
#include <cstring>

#include "DeflateEncoderState.h"

// Bytes behind the output buffer's capacity: a store may complete a few
// bytes past it and write eight.
constexpr uint32_t kOutputSlack = 16;

// Hands the waiting output bytes to the writer; a failed write stands in the
// state's result and stops all further output.
void FlushOutputBuffer(DeflateEncoderState* s);

// Hands a full buffer's capacity to the writer and moves the bytes past it
// to the front; returns the bytes left waiting.
uint32_t SpillFullBuffer(DeflateEncoderState* s, uint32_t fill);

// Writes the bits still held as whole bytes (the last one padded with zeros)
// and flushes the output buffer.
void AlignBitOutput(DeflateEncoderState* s);

// Aligns, writes LEN and NLEN of a stored block when asked, then hands the
// bytes to the writer straight from where they are.
void WriteStoredBytes(DeflateEncoderState* s, const uint8_t* data, uint32_t length, bool withHeader);

// The bit buffer and the output position, copied out of the state by loops
// that send many symbols so that they stay in registers (a byte store could
// otherwise change any field of the state, as far as the compiler knows).
// Fewer than 8 bits are held between calls.
static_assert(__BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__, "the bit buffer is stored little-endian");
struct BitCursor {
  uint64_t buffer;
  uint32_t count;
  uint32_t fill;
  uint32_t capacity;
  uint8_t* out;

  explicit BitCursor(const DeflateEncoderState* s)
      : buffer(s->bitBuffer), count(s->bitCount), fill(s->outFill), capacity(s->outCapacity), out(s->out) {}

  void Save(DeflateEncoderState* s) const {
    s->bitBuffer = buffer;
    s->bitCount = count;
    s->outFill = fill;
  }

  // Sends the low n bits of value (n <= 32).
  void Put(DeflateEncoderState* s, uint32_t value, unsigned n) {
    Add(value, n);
    Flush(s);
  }

  // Adds bits without storing them: the bits held must stay within 64,
  // at most 57 after a Put or Flush.
  void Add(uint32_t value, unsigned n) {
    buffer |= uint64_t(value) << count;
    count += n;
  }

  // Stores the whole bytes held.
  void Flush(DeflateEncoderState* s) {
    memcpy(out + fill, &buffer, sizeof buffer);
    fill += count >> 3;
    buffer >>= count & ~7u;
    count &= 7;
    if (fill >= capacity) fill = SpillFullBuffer(s, fill);
  }
};

inline void PutBits(DeflateEncoderState* s, uint32_t value, unsigned n) {
  BitCursor cursor(s);
  cursor.Put(s, value, n);
  cursor.Save(s);
}
