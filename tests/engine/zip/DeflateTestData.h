// Deterministic inputs for the encoder tests: each kind leans on a different
// part of the match finder and the block builder.
#pragma once

#include <algorithm>
#include <cstdint>
#include <vector>

inline uint32_t NextRandom(uint32_t& state) {
  state ^= state << 13;
  state ^= state >> 17;
  state ^= state << 5;
  return state;
}

// Incompressible bytes.
inline std::vector<uint8_t> RandomData(size_t size, uint32_t seed) {
  std::vector<uint8_t> out(size);
  uint32_t r = seed * 2654435761u + 1;
  for (auto& b : out) b = uint8_t(NextRandom(r) >> 24);
  return out;
}

// Words from a small vocabulary with spaces and line ends: many short and
// medium matches at all distances.
inline std::vector<uint8_t> TextData(size_t size, uint32_t seed) {
  static const char* const kWords[] = {"the",    "encoder", "window", "slides", "by",      "half",
                                       "match",  "longest", "chain",  "of",     "hash",    "heads",
                                       "block",  "stored",  "fixed",  "codes",  "dynamic", "trees",
                                       "return", "while",   "for",    "if",     "int",     "{"};
  std::vector<uint8_t> out;
  out.reserve(size);
  uint32_t r = seed * 2654435761u + 1;
  while (out.size() < size) {
    const char* w = kWords[NextRandom(r) % (sizeof kWords / sizeof kWords[0])];
    while (*w && out.size() < size) out.push_back(uint8_t(*w++));
    if (out.size() < size) out.push_back(NextRandom(r) % 9 == 0 ? '\n' : ' ');
  }
  return out;
}

// Runs of one byte (longer than 258), random stretches, and copies from far
// back (up to 60,000 bytes): the longest matches and the far distance codes.
inline std::vector<uint8_t> RunData(size_t size, uint32_t seed) {
  std::vector<uint8_t> out;
  out.reserve(size);
  uint32_t r = seed * 2654435761u + 1;
  while (out.size() < size) {
    uint32_t pick = NextRandom(r) % 3;
    size_t length = 1 + NextRandom(r) % 1200;
    if (pick == 0) {
      uint8_t b = uint8_t(NextRandom(r));
      for (size_t i = 0; i < length; ++i) out.push_back(b);
    } else if (pick == 1 || out.size() < 1000) {
      for (size_t i = 0; i < length; ++i) out.push_back(uint8_t(NextRandom(r) >> 24));
    } else {
      size_t distance = 1 + NextRandom(r) % std::min<size_t>(out.size(), 60000);
      size_t from = out.size() - distance;
      for (size_t i = 0; i < length; ++i) out.push_back(out[from + i]);
    }
  }
  out.resize(size);
  return out;
}
