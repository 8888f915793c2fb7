#include "screenshot.h"

#include <stdio.h>

#include <vector>

#include "dib_pixels.h"

namespace {
SIZE ClientSize(HWND hWnd) {
  RECT client;
  ::GetClientRect(hWnd, &client);
  return {client.right, client.bottom};
}
}  // namespace

Dib32::Dib32(int cx, int cy) : m_cx(cx), m_cy(cy) {
  m_hdc = ::CreateCompatibleDC(nullptr);
  m_bitmap = CreateTopDownDib32(cx, cy, &m_bits);
  m_old = ::SelectObject(m_hdc, m_bitmap);
}

Dib32::~Dib32() {
  ::SelectObject(m_hdc, m_old);
  ::DeleteObject(m_bitmap);
  ::DeleteDC(m_hdc);
}

COLORREF Dib32::Pixel(int x, int y) const { return DibPixel(m_bits, m_cx, x, y); }

bool Dib32::Save(const std::string& path) const {
  FILE* f = fopen(path.c_str(), "wb");
  if (!f) return false;
  int row = (m_cx * 3 + 3) & ~3;
  BITMAPFILEHEADER file = {};
  BITMAPINFOHEADER header = {};
  file.bfType = 0x4D42;
  file.bfOffBits = sizeof file + sizeof header;
  file.bfSize = file.bfOffBits + row * m_cy;
  header.biSize = sizeof header;
  header.biWidth = m_cx;
  header.biHeight = m_cy;
  header.biPlanes = 1;
  header.biBitCount = 24;
  fwrite(&file, sizeof file, 1, f);
  fwrite(&header, sizeof header, 1, f);
  std::vector<BYTE> line(row);
  for (int y = m_cy - 1; y >= 0; --y) {
    for (int x = 0; x < m_cx; ++x) {
      COLORREF c = Pixel(x, y);
      line[x * 3] = GetBValue(c);
      line[x * 3 + 1] = GetGValue(c);
      line[x * 3 + 2] = GetRValue(c);
    }
    fwrite(line.data(), row, 1, f);
  }
  fclose(f);
  return true;
}

Screenshot::Screenshot(HWND hWnd) : Dib32(ClientSize(hWnd).cx, ClientSize(hWnd).cy) {
  ::RedrawWindow(hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  HDC screen = ::GetDC(hWnd);
  ::BitBlt(Dc(), 0, 0, Width(), Height(), screen, 0, 0, SRCCOPY);
  ::ReleaseDC(hWnd, screen);
}
