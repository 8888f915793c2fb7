// Builds compressed streams bit by bit for the tests: low bit of each byte
// first, as the zip methods pack them.
#pragma once

#include <cstdint>
#include <vector>

class BitWriter {
 public:
  // The n low bits of value, lowest first.
  BitWriter& Bits(uint32_t value, unsigned n) {
    for (unsigned i = 0; i < n; ++i) Bit((value >> i) & 1);
    return *this;
  }
  // An n-bit prefix code, highest bit first.
  BitWriter& Code(uint32_t value, unsigned n) {
    for (unsigned i = n; i-- > 0;) Bit((value >> i) & 1);
    return *this;
  }
  BitWriter& AlignToByte() {
    while (count_ % 8) Bit(0);
    return *this;
  }
  std::vector<uint8_t> Bytes() const { return bytes_; }

 private:
  void Bit(unsigned bit) {
    if (count_ % 8 == 0) bytes_.push_back(0);
    bytes_.back() |= static_cast<uint8_t>(bit << (count_ % 8));
    ++count_;
  }
  std::vector<uint8_t> bytes_;
  size_t count_ = 0;
};
