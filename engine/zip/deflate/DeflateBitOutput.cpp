#include "DeflateBitOutput.h"

#include <cstdlib>
#include <cstring>

namespace {

// The smallest buffer that still takes a stored block header.
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
  s->out = static_cast<uint8_t*>(malloc(capacity + kOutputSlack));
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

uint32_t SpillFullBuffer(DeflateEncoderState* s, uint32_t fill) {
  WriteThrough(s, s->out, s->outCapacity);
  fill -= s->outCapacity;
  memmove(s->out, s->out + s->outCapacity, fill);
  return fill;
}

void AlignBitOutput(DeflateEncoderState* s) {
  if (s->bitCount > 0) PutBits(s, 0, 8 - s->bitCount);
  s->bitBuffer = 0;
  s->bitCount = 0;
  FlushOutputBuffer(s);
}

void WriteStoredBytes(DeflateEncoderState* s, const uint8_t* data, uint32_t length, bool withHeader) {
  AlignBitOutput(s);
  if (withHeader) {
    uint16_t inverse = uint16_t(~length);
    PutBits(s, uint32_t(length & 0xFFFF) | uint32_t(inverse) << 16, 32);
    FlushOutputBuffer(s);
  }
  WriteThrough(s, data, length);
}
