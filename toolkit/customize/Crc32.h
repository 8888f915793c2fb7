// CXTCrc32: the standard reflected CRC-32 (polynomial 0xEDB88320) over a
// running value; started from 0, Update over a buffer gives the buffer's
// CRC-32 as zip and zlib compute it. Stored settings values are keyed by it.
#pragma once

#include <cstddef>
#include <cstdint>

class CXTCrc32 {
 public:
  uint32_t Update(const void* data, size_t length);
  uint32_t Value() const { return m_value; }

  static uint32_t Of(const void* data, size_t length) { return CXTCrc32().Update(data, length); }

 private:
  uint32_t m_value = 0;
};
