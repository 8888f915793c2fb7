#include "classlib/view/view.h"

IMPLEMENT_DYNAMIC(CScrollView, CView)

BEGIN_MESSAGE_MAP(CScrollView, CView)
  ON_WM_SIZE()
  ON_WM_HSCROLL()
  ON_WM_VSCROLL()
END_MESSAGE_MAP()

void CScrollView::SetScrollSizes(int nMapMode, SIZE sizeTotal, SIZE sizePage, SIZE sizeLine) {
  m_nMapMode = nMapMode;
  m_totalLog = sizeTotal;
  m_pageDev = sizePage.cx || sizePage.cy ? CSize(sizePage) : CSize(sizeTotal.cx / 10, sizeTotal.cy / 10);
  m_lineDev = sizeLine.cx || sizeLine.cy ? CSize(sizeLine) : CSize(m_pageDev.cx / 10, m_pageDev.cy / 10);
  if (m_hWnd) UpdateBars();
}

CPoint CScrollView::GetScrollPosition() const { return CPoint(GetScrollPos(SB_HORZ), GetScrollPos(SB_VERT)); }

void CScrollView::ScrollToPosition(POINT pt) {
  ScrollBy(SB_HORZ, pt.x);
  ScrollBy(SB_VERT, pt.y);
}

// Moves the contents so position nNewPos of the bar is at the window's edge.
void CScrollView::ScrollBy(int nBar, int nNewPos) {
  SCROLLINFO info;
  GetScrollInfo(nBar, &info);
  int maxPos = info.nMax - static_cast<int>(info.nPage) + 1;
  if (nNewPos > maxPos) nNewPos = maxPos;
  if (nNewPos < 0) nNewPos = 0;
  int delta = nNewPos - info.nPos;
  if (delta == 0) return;
  SetScrollPos(nBar, nNewPos);
  if (nBar == SB_HORZ)
    ScrollWindow(-delta, 0);
  else
    ScrollWindow(0, -delta);
}

// A bar shows while the window is smaller than the total size along it.
void CScrollView::UpdateBars() {
  static const int bars[] = {SB_HORZ, SB_VERT};
  for (int nBar : bars) {
    CRect client;
    GetClientRect(&client);
    int total = nBar == SB_HORZ ? m_totalLog.cx : m_totalLog.cy;
    int shown = nBar == SB_HORZ ? client.Width() : client.Height();
    if (total <= shown) {
      ScrollBy(nBar, 0);
      ShowScrollBar(nBar, FALSE);
      continue;
    }
    SCROLLINFO info = {};
    info.cbSize = sizeof info;
    info.fMask = SIF_RANGE | SIF_PAGE;
    info.nMax = total - 1;
    info.nPage = static_cast<UINT>(shown);
    SetScrollInfo(nBar, &info, TRUE);
    ShowScrollBar(nBar, TRUE);
  }
}

void CScrollView::OnSize(UINT, int, int) {
  Default();
  UpdateBars();
}

static int NewScrollPos(CWnd* pWnd, int nBar, UINT nSBCode, int line, int page) {
  SCROLLINFO info;
  pWnd->GetScrollInfo(nBar, &info);
  switch (nSBCode) {
    case SB_LINEUP: return info.nPos - line;
    case SB_LINEDOWN: return info.nPos + line;
    case SB_PAGEUP: return info.nPos - page;
    case SB_PAGEDOWN: return info.nPos + page;
    case SB_TOP: return 0;
    case SB_BOTTOM: return info.nMax;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: return info.nTrackPos;
    default: return info.nPos;
  }
}

void CScrollView::OnHScroll(UINT nSBCode, UINT, CScrollBar*) {
  ScrollBy(SB_HORZ, NewScrollPos(this, SB_HORZ, nSBCode, m_lineDev.cx ? m_lineDev.cx : 1, m_pageDev.cx));
}

void CScrollView::OnVScroll(UINT nSBCode, UINT, CScrollBar*) {
  ScrollBy(SB_VERT, NewScrollPos(this, SB_VERT, nSBCode, m_lineDev.cy ? m_lineDev.cy : 1, m_pageDev.cy));
}
