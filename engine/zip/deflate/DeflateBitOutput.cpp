#include "DeflateBitOutput.h"

#include <cstdlib>

namespace {

// The smallest buffer that still takes a whole bit-buffer word and a stored
// block header.
constexpr uint32_t kMinOutputCapacity = 16;

void WriteThrough(DeflateEncoderState* s, const uint8_t* data, uint32_t count) {
  if (s->result != 0 || count == 0) return;
  int failed = s->io.write(s->io.context, data, count);
  if (failed != 0) {
    s->result = failed;
    return;
  }
  s->compressedBytes += count;
}

}  // namespace

int DeflateOutputInit(DeflateEncoderState* s, uint32_t capacity) {
  s->bitBuffer = 0;
  s->bitCount = 0;
  DeflateOutputRelease(s);
  if (capacity < kMinOutputCapacity) capacity = kMinOutputCapacity;
  s->out = static_cast<uint8_t*>(malloc(capacity));
  if (s->out == nullptr) return 4;
  s->outCapacity = capacity;
  return 0;
}

void DeflateOutputRelease(DeflateEncoderState* s) {
  free(s->out);
  s->out = nullptr;
  s->outFill = 0;
  s->outCapacity = 0;
}

void FlushOutputBuffer(DeflateEncoderState* s) {
  WriteThrough(s, s->out, s->outFill);
  s->outFill = 0;
}

void AlignBitOutput(DeflateEncoderState* s) {
  uint8_t bytes[8];
  uint32_t count = (s->bitCount + 7) / 8;
  for (uint32_t i = 0; i < count; ++i) bytes[i] = uint8_t(s->bitBuffer >> (8 * i));
  PutOutputBytes(s, bytes, count);
  s->bitBuffer = 0;
  s->bitCount = 0;
  FlushOutputBuffer(s);
}

void WriteStoredBytes(DeflateEncoderState* s, const uint8_t* data, uint32_t length, bool withHeader) {
  AlignBitOutput(s);
  if (withHeader) {
    uint16_t inverse = uint16_t(~length);
    const uint8_t header[4] = {uint8_t(length), uint8_t(length >> 8), uint8_t(inverse), uint8_t(inverse >> 8)};
    PutOutputBytes(s, header, 4);
    FlushOutputBuffer(s);
  }
  WriteThrough(s, data, length);
}
