// Pictures for drawing checks: a 32-bit surface to draw into and read back,
// and a capture of what a window shows on the screen, which can be kept as a
// BMP file in the scratch folder.
#pragma once

#include <windows.h>

#include <string>

// A memory DC over a top-down 32-bit DIB section.
class Dib32 {
 public:
  Dib32(int cx, int cy);
  ~Dib32();
  Dib32(const Dib32&) = delete;
  Dib32& operator=(const Dib32&) = delete;
  HDC Dc() const { return m_hdc; }
  COLORREF Pixel(int x, int y) const;
  int Width() const { return m_cx; }
  int Height() const { return m_cy; }
  // A 24-bit BMP file.
  bool Save(const std::string& path) const;

 private:
  int m_cx, m_cy;
  HDC m_hdc;
  DWORD* m_bits = nullptr;
  HBITMAP m_bitmap;
  HGDIOBJ m_old;
};

// The client area of a window as it is on the screen once repainted.
class Screenshot : public Dib32 {
 public:
  explicit Screenshot(HWND hWnd);
};
