#include "toolkit/docking/MiniDockCaption.h"

#include "toolkit/common/SharedState.h"

namespace {

const int kGlyphCell = 10;
const int kGradientStrips = 64;

// The glyph cell of each button type in the caption glyph strip.
int GlyphIndex(CXTCaptionButton::Type type) { return type == CXTCaptionButton::kClose ? 2 : 3; }

struct ButtonColors {
  COLORREF back, glyph;
};

ButtonColors ColorsOf(const CXTCaptionButton& button, const CXTCaptionLook& look) {
  const CXTSharedState& s = GetSharedState();
  if (!look.flat) return {s.m_clrFace, s.m_clrMenuText};
  if (button.hot && button.pressed) return {GetToolkitColor(33), GetToolkitColor(45)};
  if (button.hot) return {GetToolkitColor(31), s.m_clrMenuText};
  return {s.m_clrShadow, s.m_clrSelectionText};
}

void DrawGlyph(CDC* dc, CImageList* glyphs, int index, const CRect& rect, COLORREF color) {
  if (!glyphs || !glyphs->GetSafeHandle()) return;
  HICON icon = ImageList_GetIcon(glyphs->GetSafeHandle(), index, ILD_NORMAL);
  if (!icon) return;
  CPoint at = rect.TopLeft();
  if (rect.Width() > kGlyphCell) at.x += (rect.Width() - kGlyphCell) / 2;
  if (rect.Height() > kGlyphCell) at.y += (rect.Height() - kGlyphCell) / 2;
  HBRUSH brush = ::CreateSolidBrush(color);
  ::DrawStateA(dc->m_hDC, brush, nullptr, reinterpret_cast<LPARAM>(icon), 0, at.x, at.y, kGlyphCell, kGlyphCell,
               DST_ICON | DSS_MONO);
  ::DeleteObject(brush);
  ::DestroyIcon(icon);
}

COLORREF Blend(COLORREF a, COLORREF b, int k) {
  auto mix = [k](int x, int y) { return (x * (kGradientStrips - k) + y * k) / kGradientStrips; };
  return RGB(mix(GetRValue(a), GetRValue(b)), mix(GetGValue(a), GetGValue(b)), mix(GetBValue(a), GetBValue(b)));
}

void FillGradient(CDC* dc, const CRect& band, COLORREF from, COLORREF to) {
  for (int k = 0; k < kGradientStrips; ++k) {
    const int left = band.left + band.Width() * k / kGradientStrips;
    const int right = band.left + band.Width() * (k + 1) / kGradientStrips;
    dc->FillSolidRect(CRect(left, band.top, right, band.bottom), Blend(from, to, k));
  }
}

// Flat: two shadow rings, the corners inside them filled, a shadow band.
CRect DrawFlatFrame(CDC* dc, const CRect& window) {
  const COLORREF shadow = GetSharedState().m_clrShadow;
  CRect ring = window;
  for (int i = 0; i < 2; ++i, ring.DeflateRect(1, 1)) dc->Draw3dRect(&ring, shadow, shadow);
  for (const CPoint& corner : {ring.TopLeft(), CPoint(ring.right - 1, ring.top), CPoint(ring.left, ring.bottom - 1),
                               CPoint(ring.right - 1, ring.bottom - 1)})
    dc->SetPixel(corner.x, corner.y, shadow);
  const int inset = ::GetSystemMetrics(SM_CYEDGE) - 1;
  CRect band(window.left + inset, window.top + inset, window.right - inset, 0);
  band.bottom = band.top + ::GetSystemMetrics(SM_CYSMICON) + ::GetSystemMetrics(SM_CYEDGE) - 2;
  dc->FillSolidRect(&band, shadow);
  return band;
}

// Classic: a raised edge and the active caption band, plain or shaded.
CRect DrawClassicFrame(CDC* dc, const CRect& window, bool gradient) {
  const CXTSharedState& s = GetSharedState();
  CRect edge = window;
  dc->DrawEdge(&edge, EDGE_RAISED, BF_RECT);
  const int inset = ::GetSystemMetrics(SM_CYEDGE) + 1;
  CRect band(window.left + inset, window.top + inset, window.right - inset, 0);
  band.bottom = band.top + ::GetSystemMetrics(SM_CYSMICON) - ::GetSystemMetrics(SM_CYEDGE) - 1;
  if (gradient)
    FillGradient(dc, band, s.m_clrActiveCaption, s.m_clrGradientActiveCaption);
  else
    dc->FillSolidRect(&band, s.m_clrActiveCaption);
  return band;
}

void DrawTitle(CDC* dc, const CRect& band, const CRect& window, const CString& title,
               const std::vector<CXTCaptionButton>& buttons) {
  const int edge = ::GetSystemMetrics(SM_CXEDGE);
  CRect text(window.left + edge, band.top, window.right - edge, band.bottom);
  for (const CXTCaptionButton& button : buttons)
    if (!button.tooNarrow) text.right -= button.rect.Width();
  CXTSharedState& s = GetSharedState();
  CFont* oldFont = dc->SelectObject(&s.GetFont(CXTSharedState::kFontBold));
  const COLORREF oldColor = dc->SetTextColor(s.m_clrCaptionText);
  const int oldMode = dc->SetBkMode(TRANSPARENT);
  dc->DrawText(title, &text, DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS);
  dc->SetBkMode(oldMode);
  dc->SetTextColor(oldColor);
  dc->SelectObject(oldFont);
}

}  // namespace

void XTPlaceCaptionButtons(std::vector<CXTCaptionButton>& buttons, CSize window, const CXTCaptionLook& look) {
  const CXTSharedState& s = GetSharedState();
  const int cxEdge = ::GetSystemMetrics(SM_CXEDGE), cyEdge = ::GetSystemMetrics(SM_CYEDGE);
  int right = window.cx - cxEdge;
  for (CXTCaptionButton& button : buttons) {
    CRect rect(right - s.m_cxSmallIcon, cyEdge, right, cyEdge + s.m_cySmallIcon - 1);
    right -= s.m_cxSmallIcon - (look.flat ? 0 : 2);
    if (!look.flat) rect.DeflateRect(2, 2);
    button.rect = rect;
    button.tooNarrow = rect.left < 2 * cxEdge;
  }
}

void XTDrawCaptionButton(CDC* dc, const CXTCaptionButton& button, const CXTCaptionLook& look, CImageList* glyphs) {
  if (button.tooNarrow) return;
  const CXTSharedState& s = GetSharedState();
  const ButtonColors colors = ColorsOf(button, look);
  CRect rect = button.rect;
  dc->FillSolidRect(&rect, colors.back);
  if (!look.flat) {
    const bool sunken = button.pressed && button.hot;
    CRect outside = rect;
    outside.InflateRect(1, 1);
    dc->Draw3dRect(&outside, sunken ? s.m_clrWindowFrame : s.m_clrFace, sunken ? s.m_clrFace : s.m_clrWindowFrame);
    dc->Draw3dRect(&rect, sunken ? s.m_clrShadow : s.m_clrHighlight, sunken ? s.m_clrHighlight : s.m_clrShadow);
  } else if (button.hot) {
    dc->Draw3dRect(&rect, s.m_clrSelection, s.m_clrSelection);
  }
  DrawGlyph(dc, glyphs, GlyphIndex(button.type), rect, colors.glyph);
}

void XTDrawMiniDockCaption(CDC* dc, const CRect& window, const CXTCaptionLook& look, const CString& title,
                           const std::vector<CXTCaptionButton>& buttons, CImageList* glyphs) {
  dc->FillSolidRect(&window, look.flat ? GetToolkitColor(30) : GetSharedState().m_clrFace);
  const CRect band = look.flat ? DrawFlatFrame(dc, window) : DrawClassicFrame(dc, window, look.gradient);
  DrawTitle(dc, band, window, title, buttons);
  for (const CXTCaptionButton& button : buttons) XTDrawCaptionButton(dc, button, look, glyphs);
}
