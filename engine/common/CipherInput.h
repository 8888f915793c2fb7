// How the header readers reach a member's stored bytes. The input layer
// supplies a reader that delivers the bytes as stored (never deciphered) and
// never more than asked; test and fuzz code read from a buffer.
#pragma once
#include <cstddef>
#include <cstdint>

struct CipherInput {
  // Up to n stored bytes into out; returns how many came.
  size_t (*read)(void *context, uint8_t *out, size_t n);
  void *context;
  // The member's compressed bytes not yet consumed. The readers take their
  // header out of it (and, for WinZip AES, the trailing authentication code).
  int64_t remaining;
};

// A reader over a byte buffer.
struct CipherBufferInput {
  const uint8_t *data;
  size_t length;
  size_t position;
};
size_t CipherBufferRead(void *context, uint8_t *out, size_t n);
CipherInput CipherInputOverBuffer(CipherBufferInput *buffer, int64_t remaining);
