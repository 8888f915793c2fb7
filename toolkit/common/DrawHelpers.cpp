#include "toolkit/common/DrawHelpers.h"

#include "toolkit/common/SharedState.h"

namespace {

// Paints the brush where the source is black, keeps the destination where white.
const DWORD kRopBrushThroughBlack = 0xB8074A;

void BlitThroughBrush(CDC* dc, int x, int y, int cx, int cy, HDC mask, COLORREF color) {
  HBRUSH brush = ::CreateSolidBrush(color);
  HGDIOBJ old = ::SelectObject(dc->m_hDC, brush);
  ::BitBlt(dc->m_hDC, x, y, cx, cy, mask, 0, 0, kRopBrushThroughBlack);
  ::SelectObject(dc->m_hDC, old);
  ::DeleteObject(brush);
}

}  // namespace

void DrawEmbossedImage(CDC* dc, CImageList* images, int index, int x, int y, BOOL colorTarget) {
  int cx = 0, cy = 0;
  if (!ImageList_GetIconSize(images->m_hImageList, &cx, &cy)) return;
  HDC work = ::CreateCompatibleDC(dc->m_hDC);
  HBITMAP bitmap = colorTarget ? ::CreateCompatibleBitmap(dc->m_hDC, cx, cy) : ::CreateBitmap(cx, cy, 1, 1, nullptr);
  HGDIOBJ old = ::SelectObject(work, bitmap);
  ::PatBlt(work, 0, 0, cx, cy, WHITENESS);
  ImageList_Draw(images->m_hImageList, index, work, 0, 0, ILD_TRANSPARENT);
  const COLORREF oldText = dc->SetTextColor(RGB(0, 0, 0)), oldBack = dc->SetBkColor(RGB(255, 255, 255));
  const CXTSharedState& state = GetSharedState();
  BlitThroughBrush(dc, x + 1, y + 1, cx, cy, work, state.m_clrHighlight);
  BlitThroughBrush(dc, x, y, cx, cy, work, state.m_clrShadow);
  dc->SetTextColor(oldText);
  dc->SetBkColor(oldBack);
  ::SelectObject(work, old);
  ::DeleteObject(bitmap);
  ::DeleteDC(work);
}

void DrawHalftoneRect(CDC* dc, const RECT* rect) {
  static const WORD kRows[8] = {0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA};
  HBITMAP pattern = ::CreateBitmap(8, 8, 1, 1, kRows);
  HBRUSH brush = ::CreatePatternBrush(pattern);
  const CXTSharedState& state = GetSharedState();
  const COLORREF oldBack = dc->SetBkColor(state.m_clrFace), oldText = dc->SetTextColor(state.m_clrHighlight);
  HGDIOBJ oldBrush = ::SelectObject(dc->m_hDC, brush);
  ::PatBlt(dc->m_hDC, rect->left, rect->top, rect->right - rect->left, rect->bottom - rect->top, PATCOPY);
  ::SelectObject(dc->m_hDC, oldBrush);
  dc->SetTextColor(oldText);
  dc->SetBkColor(oldBack);
  ::DeleteObject(brush);
  ::DeleteObject(pattern);
}

void DrawJoinLine(CDC* dc, COLORREF color, const RECT& a, const RECT& b) {
  CRect joint;
  if (!joint.IntersectRect(&a, &b)) return;
  if (joint.Height() == 1 && joint.Width() > 2)
    joint.DeflateRect(1, 0);
  else if (joint.Width() == 1 && joint.Height() > 2)
    joint.DeflateRect(0, 1);
  else
    return;
  dc->FillSolidRect(&joint, color);
}
