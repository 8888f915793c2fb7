// Borders, combo boxes and the drop-down arrow they share with tool bars.
#include "toolkit/common/SharedState.h"
#include "toolkit/paint/FlatPainters.h"

namespace {

// Rows of the arrow bitmap; clear bits (columns 1 to 5) are the arrow.
const WORD kArrowRows[] = {0x83, 0xC7, 0xEF};
const int kArrowWidth = 5, kArrowHeight = 3, kArrowFirstColumn = 1;

struct ComboColors {
  int arrow, button, frame;  // toolkit colour numbers; 0: see below
};
const int kFaceColor = -1, kWindowColor = -2;

COLORREF Resolve(int color) {
  if (color == kFaceColor) return GetSharedState().m_clrFace;
  if (color == kWindowColor) return GetSharedState().m_clrWindow;
  return GetToolkitColor(color);
}

}  // namespace

void FrameRectWith(CDC* dc, const RECT& rect, COLORREF color) {
  CBrush brush(color);
  ::FrameRect(dc->m_hDC, &rect, brush);
}

void DrawDropArrow(CDC* dc, const RECT& rect, COLORREF arrow, COLORREF background) {
  // Word-aligned rows of a monochrome bitmap, one byte used per row.
  CBitmap bitmap;
  bitmap.Attach(::CreateBitmap(8, kArrowHeight, 1, 1, kArrowRows));
  CDC source;
  source.CreateCompatibleDC(dc);
  CBitmap* old = source.SelectObject(&bitmap);
  const COLORREF oldText = dc->SetTextColor(arrow), oldBack = dc->SetBkColor(background);
  ::BitBlt(dc->m_hDC, (rect.left + rect.right - 3) / 2, (rect.top + rect.bottom - 1) / 2, kArrowWidth, kArrowHeight,
           source.m_hDC, kArrowFirstColumn, 0, SRCCOPY);
  dc->SetTextColor(oldText);
  dc->SetBkColor(oldBack);
  source.SelectObject(old);
}

void CXTFlatBorderPainter::DrawBorder(CWnd* window, CDC* dc, BOOL hot) {
  CXTSharedState& state = GetSharedState();
  CRect rect;
  window->GetClientRect(&rect);
  // Three frames, from the inside out.
  const COLORREF frames[] = {window->IsWindowEnabled() ? state.m_clrWindow : state.m_clrFace,
                             hot ? GetToolkitColor(32) : state.m_clrWindow, state.m_clrFace};
  CRect frame = rect;
  frame.DeflateRect(2, 2);
  for (COLORREF color : frames) {
    FrameRectWith(dc, frame, color);
    frame.InflateRect(1, 1);
  }
}

void CXTFlatComboPainter::DrawCombo(CWnd* window, CDC* dc, BOOL hot) {
  static const ComboColors kDropped = {47, 33, 32}, kHot = {44, 31, 32}, kNormal = {44, kFaceColor, kWindowColor};
  const BOOL dropped = static_cast<BOOL>(window->SendMessage(CB_GETDROPPEDSTATE));
  const ComboColors& colors = dropped ? kDropped : (hot && !m_press.IsPressSuspended() ? kHot : kNormal);
  CRect rect;
  window->GetClientRect(&rect);
  FrameRectWith(dc, rect, GetSharedState().m_clrFace);
  rect.DeflateRect(1, 1);
  FrameRectWith(dc, rect, Resolve(colors.frame));
  CRect button = rect;
  button.left = button.right - (GetSharedState().m_cxThumb + 2);
  FrameRectWith(dc, button, Resolve(colors.frame));
  button.DeflateRect(1, 1);
  dc->FillSolidRect(&button, Resolve(colors.button));
  DrawDropArrow(dc, button, Resolve(colors.arrow), Resolve(colors.button));
}
