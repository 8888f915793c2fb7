#include "toolkit/common/DibSection.h"

CXTDibSection::CXTDibSection(int width, int height) : m_width(width), m_height(height) {
  if (width <= 0 || height <= 0) return;
  BITMAPINFO bi = {};
  bi.bmiHeader.biSize = sizeof bi.bmiHeader;
  bi.bmiHeader.biWidth = width;
  bi.bmiHeader.biHeight = -height;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  m_bitmap = ::CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  m_dc = m_bitmap ? ::CreateCompatibleDC(nullptr) : nullptr;
  if (!m_dc) return;
  m_old = ::SelectObject(m_dc, m_bitmap);
  m_bits = static_cast<DWORD*>(bits);
}

CXTDibSection::~CXTDibSection() {
  if (m_dc) {
    ::SelectObject(m_dc, m_old);
    ::DeleteDC(m_dc);
  }
  if (m_bitmap) ::DeleteObject(m_bitmap);
}

DWORD* CXTDibSection::Pixels() {
  ::GdiFlush();
  return m_bits;
}
