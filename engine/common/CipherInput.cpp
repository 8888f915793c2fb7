#include "CipherInput.h"

#include <cstring>

size_t CipherBufferRead(void *context, uint8_t *out, size_t n) {
  CipherBufferInput *b = static_cast<CipherBufferInput *>(context);
  const size_t left = b->length - b->position;
  const size_t take = n < left ? n : left;
  if (take) memcpy(out, b->data + b->position, take);
  b->position += take;
  return take;
}

CipherInput CipherInputOverBuffer(CipherBufferInput *buffer, int64_t remaining) {
  CipherInput input;
  input.read = CipherBufferRead;
  input.context = buffer;
  input.remaining = remaining;
  return input;
}
