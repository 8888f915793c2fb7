// A memory DC over a top-down 32-bit DIB section, read back pixel by pixel:
// drawing checked where drawing is the behaviour.
#pragma once

#include <vector>

#include "classlib/dc.h"
#include "dib_pixels.h"

class DibSurface {
 public:
  DibSurface(int w, int h, COLORREF fill = RGB(255, 255, 255)) : m_w(w), m_h(h) {
    m_bitmap = CreateTopDownDib32(w, h, &m_bits);
    m_dc.CreateCompatibleDC(nullptr);
    m_old = ::SelectObject(m_dc.m_hDC, m_bitmap);
    m_dc.FillSolidRect(0, 0, w, h, fill);
  }
  ~DibSurface() {
    ::SelectObject(m_dc.m_hDC, m_old);
    ::DeleteObject(m_bitmap);
  }
  CDC& dc() { return m_dc; }
  COLORREF at(int x, int y) const { return DibPixel(m_bits, m_w, x, y); }
  // The colours of a run of pixels from (x, y), dx and dy per step.
  std::vector<COLORREF> run(int x, int y, int dx, int dy, int n) const {
    std::vector<COLORREF> out;
    for (int i = 0; i < n; ++i) out.push_back(at(x + i * dx, y + i * dy));
    return out;
  }
  // The first n pixels as stored (0x00RRGGBB).
  std::vector<DWORD> pixels(int n) const {
    ::GdiFlush();
    return std::vector<DWORD>(m_bits, m_bits + n);
  }
  int width() const { return m_w; }
  int height() const { return m_h; }

 private:
  int m_w, m_h;
  HBITMAP m_bitmap;
  DWORD* m_bits = nullptr;
  CDC m_dc;
  HGDIOBJ m_old;
};
