#include "screenshot.h"

#include "dib_pixels.h"
#include "golden_image.h"

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
  return WriteBmp24(path, m_cx, m_cy, [this](int x, int y) { return Pixel(x, y); });
}

Screenshot::Screenshot(HWND hWnd) : Dib32(ClientSize(hWnd).cx, ClientSize(hWnd).cy) {
  ::RedrawWindow(hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  HDC screen = ::GetDC(hWnd);
  ::BitBlt(Dc(), 0, 0, Width(), Height(), screen, 0, 0, SRCCOPY);
  ::ReleaseDC(hWnd, screen);
}
