// Inputs the program writer and build tests share.
#pragma once
#include <string>

#include "SelfExtractorWriter.h"

inline std::string WorkFile(const std::string& relative) {
  return std::string(BRENNICOR_TEST_WORK) + "/" + relative;
}

inline std::string PatternBytes(size_t size) {
  std::string bytes(size, '\0');
  for (size_t i = 0; i < size; ++i) bytes[i] = static_cast<char>((i * 31 + 5) & 0xFF);
  return bytes;
}

// A stand-in of about a real stub image's size.
inline std::string FakeStubImage() { return "MZ" + PatternBytes(40000); }

inline StubImage ImageOf(const std::string& bytes) {
  StubImage image;
  image.bytes = bytes.data();
  image.size = bytes.size();
  return image;
}
