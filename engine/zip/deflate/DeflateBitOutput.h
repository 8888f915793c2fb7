// Bit output shared by the Deflate and Deflate64 encoders: a 64-bit buffer
// filled from its least significant end, handed to the output buffer four
// bytes at a time, and the output buffer handed to the archive writer.
#pragma once

#include <cstdint>
#include <cstring>

#include "DeflateEncoderState.h"

// Hands the waiting output bytes to the writer; a failed write stands in the
// state's result and stops all further output.
void FlushOutputBuffer(DeflateEncoderState* s);

// Writes the bits still held as whole bytes (the last one padded with zeros)
// and flushes the output buffer.
void AlignBitOutput(DeflateEncoderState* s);

// Aligns, writes LEN and NLEN of a stored block when asked, then hands the
// bytes to the writer straight from where they are.
void WriteStoredBytes(DeflateEncoderState* s, const uint8_t* data, uint32_t length, bool withHeader);

inline void PutOutputBytes(DeflateEncoderState* s, const uint8_t* bytes, uint32_t count) {
  if (s->outFill + count > s->outCapacity) FlushOutputBuffer(s);
  memcpy(s->out + s->outFill, bytes, count);
  s->outFill += count;
}

// Sends the low n bits of value (n <= 32).
inline void PutBits(DeflateEncoderState* s, uint32_t value, unsigned n) {
  s->bitBuffer |= uint64_t(value) << s->bitCount;
  s->bitCount += n;
  if (s->bitCount >= 32) {
    uint8_t bytes[4];
    uint32_t low = uint32_t(s->bitBuffer);
    for (int i = 0; i < 4; ++i) bytes[i] = uint8_t(low >> (8 * i));
    PutOutputBytes(s, bytes, 4);
    s->bitBuffer >>= 32;
    s->bitCount -= 32;
  }
}
