// Little-endian fields written one after the other into a record buffer.
#pragma once

#include <stdint.h>
#include <string.h>

struct ZipRecordBytes {
  uint8_t *at;

  void U16(uint32_t v) {
    at[0] = uint8_t(v);
    at[1] = uint8_t(v >> 8);
    at += 2;
  }
  void U32(uint32_t v) {
    U16(v);
    U16(v >> 16);
  }
  void U64(uint64_t v) {
    U32(uint32_t(v));
    U32(uint32_t(v >> 32));
  }
  void Bytes(const void *p, size_t n) {
    if (n) memcpy(at, p, n);
    at += n;
  }
};
