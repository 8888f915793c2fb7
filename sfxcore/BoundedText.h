// Copies into fixed buffers that always end in a terminator, cutting what
// does not fit.
#pragma once
#include <cstddef>
#include <cstring>

inline char* CopyBounded(char* target, size_t capacity, const char* source) {
  size_t length = source ? strnlen(source, capacity - 1) : 0;
  std::memcpy(target, source ? source : "", length);
  target[length] = '\0';
  return target;
}

inline char* AppendBounded(char* target, size_t capacity, const char* source) {
  size_t used = strnlen(target, capacity - 1);
  CopyBounded(target + used, capacity - used, source);
  return target;
}

template <size_t N>
char* CopyBounded(char (&target)[N], const char* source) {
  return CopyBounded(target, N, source);
}

template <size_t N>
char* AppendBounded(char (&target)[N], const char* source) {
  return AppendBounded(target, N, source);
}
