// CXTDibSection: a memory DC over a top-down 32-bit DIB section, for work
// done on pixels directly (darkened shadows, layered images, fades).
#pragma once

#include <windows.h>

class CXTDibSection {
 public:
  CXTDibSection(int width, int height);
  ~CXTDibSection();
  CXTDibSection(const CXTDibSection&) = delete;
  CXTDibSection& operator=(const CXTDibSection&) = delete;

  bool IsValid() const { return m_bits != nullptr; }
  HDC GetDC() const { return m_dc; }
  // Row by row from the top, 0xAARRGGBB; pending drawing is finished first.
  DWORD* Pixels();
  int Width() const { return m_width; }
  int Height() const { return m_height; }
  size_t PixelCount() const { return static_cast<size_t>(m_width) * m_height; }

 private:
  int m_width, m_height;
  HBITMAP m_bitmap = nullptr;
  DWORD* m_bits = nullptr;
  HDC m_dc = nullptr;
  HGDIOBJ m_old = nullptr;
};
