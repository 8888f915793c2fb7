#include "toolkit/color/ColorLuminanceBar.h"

#include <algorithm>

#include "toolkit/common/ColorMath.h"
#include "toolkit/common/SharedState.h"

namespace {

const int kBarInset = 4, kBarWidth = 14;
// The arrow: from x = 17 (its point) to 26, four rows above and below.
const int kArrowLeft = 17, kArrowRight = 26, kArrowHalfHeight = 4;

DWORD Argb(xtcolor::Color c) { return (xtcolor::Red(c) << 16) | (xtcolor::Green(c) << 8) | xtcolor::Blue(c); }

}  // namespace

CRect CXTColorLuminanceBar::GetBarRect() const {
  CRect client;
  GetClientRect(&client);
  return CRect(0, kBarInset, kBarWidth, std::max<int>(kBarInset, client.bottom - kBarInset));
}

int CXTColorLuminanceBar::ClampToBar(int y) const {
  const CRect bar = GetBarRect();
  return std::min<int>(std::max<int>(y, bar.top), std::max<int>(bar.top, bar.bottom - 1));
}

void CXTColorLuminanceBar::PickerSetCursorAt(int, int y, BOOL bNotify) {
  CXTColorPickerStatic::PickerSetCursorAt(0, ClampToBar(y), bNotify);
}

CPoint CXTColorLuminanceBar::CursorForColor() const {
  const CRect bar = GetBarRect();
  return CPoint(0, ClampToBar(static_cast<int>(bar.bottom - bar.Height() * m_luminance)));
}

void CXTColorLuminanceBar::BarSetLuminance(double luminance) {
  const CRect bar = GetBarRect();
  PickerSetCursorAt(0, static_cast<int>(bar.bottom - bar.Height() * luminance), FALSE);
}

CPoint CXTColorLuminanceBar::CursorAfterKey(UINT key) const {
  if (key == VK_UP) return CPoint(0, ClampToBar(m_cursor.y - 1));
  if (key == VK_DOWN) return CPoint(0, ClampToBar(m_cursor.y + 1));
  return m_cursor;
}

// Row by row from the bottom: black, the luminances between, white on top;
// the rest of the control in the face colour.
void CXTColorLuminanceBar::DrawPicture(CXTDibSection& picture, const CRect& client) {
  const CRect bar = GetBarRect();
  const COLORREF face = GetSharedState().m_clrFace;
  std::fill(picture.Pixels(), picture.Pixels() + picture.PixelCount(), Argb(face));
  const int height = bar.Height();
  for (int row = 0; row < height; ++row) {
    const xtcolor::Color c = row == 0            ? RGB(0, 0, 0)
                             : row == height - 1 ? RGB(255, 255, 255)
                                                 : xtcolor::HLStoRGB(m_hue, m_saturation,
                                                                     static_cast<double>(row) / height);
    DWORD* line = picture.Pixels() + static_cast<size_t>(bar.bottom - 1 - row) * client.Width();
    std::fill(line + bar.left, line + std::min<int>(bar.right, client.Width()), Argb(c));
  }
}

// The arrow points at the row picked: black while the bar has the focus,
// else in the shadow colour with a black outline.
void CXTColorLuminanceBar::DrawCursor(CDC& dc, const CRect& client) {
  const CXTSharedState& state = GetSharedState();
  CRect right(kArrowLeft, client.top, client.right, client.bottom);
  dc.FillSolidRect(&right, state.m_clrFace);
  const int y = m_cursor.y;
  const POINT arrow[] = {{kArrowLeft, y}, {kArrowRight, y - kArrowHalfHeight}, {kArrowRight, y + kArrowHalfHeight}};
  CBrush fill(HasFocus() ? RGB(0, 0, 0) : state.m_clrShadow);
  CPen outline(PS_SOLID, 1, RGB(0, 0, 0));
  const int saved = dc.SaveDC();
  dc.SelectObject(&fill);
  dc.SelectObject(&outline);
  ::Polygon(dc.m_hDC, arrow, 3);
  dc.RestoreDC(saved);
}
