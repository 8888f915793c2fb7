// Clearing key material in a way the compiler may not drop.
#pragma once
#include <cstddef>

inline void SecureWipe(void *p, size_t n) {
  volatile unsigned char *b = static_cast<volatile unsigned char *>(p);
  for (size_t i = 0; i < n; ++i) b[i] = 0;
}
