// CXTProfileBlob: one binary settings value guarded by a CRC-32: four bytes,
// the little-endian CRC-32 of the rest, then the payload. A value that is too
// short or whose CRC does not match loads nothing; four zero bytes are an
// empty payload. The payload is built and read through File() with an archive.
#pragma once

#include "classlib/file.h"

class CXTProfileBlob {
 public:
  enum { kGrowBytes = 1024, kCrcBytes = 4 };

  CXTProfileBlob() : m_file(kGrowBytes) {}
  CXTProfileBlob(const CXTProfileBlob&) = delete;
  CXTProfileBlob& operator=(const CXTProfileBlob&) = delete;

  CMemFile& File() { return m_file; }
  // Leaves the checked payload in File(), positioned at its start.
  BOOL Load(LPCSTR section, LPCSTR entry);
  // Writes what File() holds (emptying it) behind its CRC-32.
  BOOL Save(LPCSTR section, LPCSTR entry);

 private:
  CMemFile m_file;
};
