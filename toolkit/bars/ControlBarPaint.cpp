// The flat look of a toolkit bar's non-client area: borders, the three
// grippers, all painted off-screen and copied to the window in one blit.
#include "toolkit/bars/ControlBar.h"
#include "toolkit/common/MemDC.h"
#include "toolkit/common/SharedState.h"

namespace {
const int kToolkitGripperColor = 38;
const int kGripperInset = 2;   // from the bar's edge and from the gripper's ends
const int kGripperThick = 3;   // a raised gripper bar
const int kSecondGripper = 5;  // the double gripper's second bar, from the edge
const int kXPLineStart = 4;    // the first dotted line, along the gripper
const int kXPLineSpacing = 2;
const int kXPLineLength = 3;
const int kXPLeastExtent = 10;  // shorter grippers get no lines

struct BorderColors {
  COLORREF dark, light;
};

BorderColors ColorsOfLook() {
  const CXTSharedState& state = GetSharedState();
  if (state.m_xpLook) return {state.m_clrFace, state.m_clrFace};
  return {state.m_clrShadow, state.m_clrHighlight};
}
}  // namespace

void CXTControlBar::DrawBorders(CDC* pDC, CRect& rect) {
  const DWORD style = m_dwStyle;
  if (!(style & CBRS_BORDER_ANY)) return;
  const bool left = style & CBRS_BORDER_LEFT, top = style & CBRS_BORDER_TOP;
  const bool right = style & CBRS_BORDER_RIGHT, bottom = style & CBRS_BORDER_BOTTOM;
  const bool raised = style & CBRS_BORDER_3D;
  const BorderColors c = ColorsOfLook();
  const int width = rect.Width();
  const int rightLimit = rect.right - (raised ? 1 : 0), bottomLimit = rect.bottom - (raised ? 1 : 0);
  const int stripTop = rect.top + (top ? 2 : 0);
  const int stripHeight = bottomLimit - (bottom ? 2 : 0) - stripTop;

  if (left) pDC->FillSolidRect(0, stripTop - 1, 1, stripHeight + 1, c.dark);
  if (top) pDC->FillSolidRect(0, 0, width - 1, 1, c.dark);
  if (right) pDC->FillSolidRect(rightLimit - 1, stripTop - 1, 1, stripHeight + 1, c.dark);
  if (bottom) pDC->FillSolidRect(0, bottomLimit - 1, width - 1, 1, c.dark);
  if (raised) {
    if (left) pDC->FillSolidRect(1, stripTop, 1, stripHeight, c.light);
    if (top) pDC->FillSolidRect(1, 1, width - 3, 1, c.light);
    if (right) pDC->FillSolidRect(rect.right - 1, stripTop - 2, 1, stripHeight + 3, c.light);
    if (bottom) pDC->FillSolidRect(0, rect.bottom - 1, width, 1, c.light);
  }

  if (m_bInRebar) {
    rect.DeflateRect(left ? 2 : 0, top ? 2 : 0, right ? 2 : 0, bottom ? 2 : 0);
    return;
  }
  if (right) pDC->FillSolidRect(--rect.right, rect.top, 1, rect.Height(), c.dark);
  if (bottom) pDC->FillSolidRect(rect.left, --rect.bottom, rect.Width(), 1, c.dark);
  if (top) pDC->FillSolidRect(rect.left, rect.top++, rect.Width(), 1, c.light);
  if (left) pDC->FillSolidRect(rect.left++, rect.top, 1, rect.Height(), c.light);
}

void CXTControlBar::DrawGripper(CDC* pDC, const CRect& rect) {
  if ((m_dwStyle & (CBRS_GRIPPER | CBRS_FLOATING)) != CBRS_GRIPPER) return;
  const CXTSharedState& state = GetSharedState();
  // Bars docked along the top or bottom hold their gripper at the left.
  const bool atLeft = IsHorzDocked() != FALSE;
  const int extent = atLeft ? rect.Height() : rect.Width();

  if (m_dwXTBarStyle & XT_CBS_DOUBLE_GRIPPER) {
    for (int offset : {kGripperInset, kSecondGripper}) {
      const int length = extent - 2 * kGripperInset;
      if (atLeft) {
        pDC->Draw3dRect(rect.left + offset, rect.top + kGripperInset, kGripperThick, length, state.m_clrHighlight,
                        state.m_clrShadow);
        pDC->SetPixel(rect.left + offset, rect.top + extent - 3, state.m_clrHighlight);
      } else {
        pDC->Draw3dRect(rect.left + kGripperInset, rect.top + offset, length, kGripperThick, state.m_clrHighlight,
                        state.m_clrShadow);
        pDC->SetPixel(rect.left + extent - 3, rect.top + offset, state.m_clrHighlight);
      }
    }
    return;
  }

  if (state.m_xpLook) {
    if (extent < kXPLeastExtent) return;
    const int count = (extent - kXPLeastExtent) / kXPLineSpacing + 1;
    CPen pen(PS_SOLID, 1, GetToolkitColor(kToolkitGripperColor));
    CPen* oldPen = pDC->SelectObject(&pen);
    for (int i = 0; i < count; ++i) {
      const int along = kXPLineStart + i * kXPLineSpacing;
      if (atLeft) {
        pDC->MoveTo(rect.left + kGripperInset, rect.top + along);
        pDC->LineTo(rect.left + kGripperInset + kXPLineLength, rect.top + along);
      } else {
        pDC->MoveTo(rect.left + along, rect.top + kGripperInset);
        pDC->LineTo(rect.left + along, rect.top + kGripperInset + kXPLineLength);
      }
    }
    pDC->SelectObject(oldPen);
    return;
  }

  const int length = extent - m_cyTopBorder - m_cyBottomBorder - 2 * kGripperInset;
  if (atLeft)
    pDC->Draw3dRect(rect.left + kGripperInset, rect.top + kGripperInset + m_cyTopBorder, kGripperThick, length,
                    state.m_clrHighlight, state.m_clrShadow);
  else
    pDC->Draw3dRect(rect.left + kGripperInset + m_cyTopBorder, rect.top + kGripperInset, length, kGripperThick,
                    state.m_clrHighlight, state.m_clrShadow);
}

void CXTControlBar::DrawNcArea() {
  CWindowDC dc(this);
  CRect window, client;
  GetWindowRect(&window);
  GetClientRect(&client);
  ClientToScreen(&client);
  client.OffsetRect(-window.left, -window.top);
  dc.ExcludeClipRect(&client);
  window.OffsetRect(-window.left, -window.top);
  CXTMemDC memDC(&dc, &window, GetBackColor());
  CRect inside = window;
  DrawBorders(&memDC, inside);
  memDC.FillSolidRect(&inside, GetBackColor());
  DrawGripper(&memDC, inside);
}
