// The top-down 32-bit DIB section both drawing surfaces of the tests draw
// into, and the colour of one of its pixels.
#pragma once

#include <windows.h>

inline HBITMAP CreateTopDownDib32(int width, int height, DWORD** bits) {
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  return ::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(bits), nullptr, 0);
}

// Pending drawing is flushed first, so the pixel is what was drawn.
inline COLORREF DibPixel(const DWORD* bits, int width, int x, int y) {
  ::GdiFlush();
  const DWORD p = bits[y * width + x];
  return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
}
