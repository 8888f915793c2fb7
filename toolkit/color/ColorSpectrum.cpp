#include "toolkit/color/ColorSpectrum.h"

#include <algorithm>

#include "toolkit/common/ColorMath.h"

namespace {

// The crosshair's arms: three pixels thick, from 5 to 10 pixels off the point.
const int kArmNear = 5, kArmFar = 10, kArmHalfThickness = 1;

CRect ClientOf(const CWnd& wnd) {
  CRect client;
  wnd.GetClientRect(&client);
  return client;
}

}  // namespace

CPoint CXTColorSpectrum::CursorForColor() const {
  const CRect client = ClientOf(*this);
  return CPoint(static_cast<int>(client.Width() * m_hue),
                static_cast<int>(client.Height() - client.Height() * m_saturation));
}

void CXTColorSpectrum::SpectrumSetHue(double hue) {
  PickerSetCursorAt(static_cast<int>(ClientOf(*this).Width() * hue), m_cursor.y, FALSE);
}

void CXTColorSpectrum::SpectrumSetSaturation(double saturation) {
  const int height = ClientOf(*this).Height();
  PickerSetCursorAt(m_cursor.x, static_cast<int>(height - height * saturation), FALSE);
}

CPoint CXTColorSpectrum::CursorAfterKey(UINT key) const {
  const CRect client = ClientOf(*this);
  const struct {
    UINT key;
    int dx, dy;
  } kSteps[] = {{VK_LEFT, -1, 0}, {VK_UP, 0, -1}, {VK_RIGHT, 1, 0}, {VK_DOWN, 0, 1}};
  for (const auto& step : kSteps)
    if (step.key == key)
      return CPoint(std::min<int>(std::max<int>(m_cursor.x + step.dx, 0), client.right),
                    std::min<int>(std::max<int>(m_cursor.y + step.dy, 0), client.bottom));
  return m_cursor;
}

// Column x, row i from the bottom: hue x / width, saturation i / height.
void CXTColorSpectrum::DrawPicture(CXTDibSection& picture, const CRect& client) {
  const int width = client.Width(), height = client.Height();
  DWORD* pixels = picture.Pixels();
  for (int i = 0; i < height; ++i) {
    DWORD* row = pixels + static_cast<size_t>(height - i - 1) * width;
    for (int x = 0; x < width; ++x) {
      const xtcolor::Color c = xtcolor::HLStoRGB(static_cast<double>(x) / width, static_cast<double>(i) / height, 0.5);
      row[x] = (xtcolor::Red(c) << 16) | (xtcolor::Green(c) << 8) | xtcolor::Blue(c);
    }
  }
}

void CXTColorSpectrum::DrawCursor(CDC& dc, const CRect&) {
  const COLORREF color = HasFocus() ? RGB(255, 255, 255) : RGB(0, 0, 0);
  const int x = m_cursor.x, y = m_cursor.y, t = kArmHalfThickness;
  const CRect arms[] = {
      CRect(x - kArmFar, y - t, x - kArmNear + 1, y + t + 1),  // left
      CRect(x + kArmNear, y - t, x + kArmFar + 1, y + t + 1),  // right
      CRect(x - t, y - kArmFar, x + t + 1, y - kArmNear + 1),  // above
      CRect(x - t, y + kArmNear, x + t + 1, y + kArmFar + 1),  // below
  };
  for (const CRect& arm : arms) dc.FillSolidRect(&arm, color);
}

// Arms drawn beyond the control's edge lie on the page: it draws them away.
void CXTColorSpectrum::OnFocusChanged() {
  CRect inner = ClientOf(*this);
  inner.DeflateRect(kArmFar, kArmFar);
  if (!inner.PtInRect(m_cursor) && GetParent()) GetParent()->Invalidate();
  Invalidate(FALSE);
}
