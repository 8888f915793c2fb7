#include "classlib/view/splitter.h"

#include <limits.h>

#include "classlib/document/document.h"

IMPLEMENT_DYNAMIC(CSplitterWnd, CWnd)

BEGIN_MESSAGE_MAP(CSplitterWnd, CWnd)
  ON_WM_SIZE()
  ON_WM_PAINT()
  ON_WM_SETCURSOR()
  ON_WM_LBUTTONDOWN()
  ON_WM_LBUTTONUP()
  ON_WM_MOUSEMOVE()
  ON_WM_CANCELMODE()
  ON_WM_CAPTURECHANGED()
  ON_WM_KEYDOWN()
END_MESSAGE_MAP()

namespace {
const int kTrackerBorder = 1;  // a tracker includes one border line the bar does not
const int kGridLimit = 16;     // panes per side that the pane ids can tell apart
}  // namespace

CSplitterWnd::CSplitterWnd() = default;

CSplitterWnd::~CSplitterWnd() {
  delete[] m_pRowInfo;
  delete[] m_pColInfo;
}

BOOL CSplitterWnd::CreateStatic(CWnd* pParentWnd, int nRows, int nCols, DWORD dwStyle, UINT nID) {
  if (nRows < 1 || nCols < 1 || nRows >= kGridLimit || nCols >= kGridLimit) return FALSE;
  m_nRows = m_nMaxRows = nRows;
  m_nCols = m_nMaxCols = nCols;
  delete[] m_pRowInfo;
  delete[] m_pColInfo;
  m_pRowInfo = new CRowColInfo[nRows]();
  m_pColInfo = new CRowColInfo[nCols]();
  m_bHasHScroll = (dwStyle & WS_HSCROLL) != 0;
  m_bHasVScroll = (dwStyle & WS_VSCROLL) != 0;
  AfxDeferRegisterClass(AFX_WNDMDIFRAME_REG);
  return CreateEx(0, AFX_WNDMDIFRAME, nullptr, dwStyle & ~(WS_HSCROLL | WS_VSCROLL), CRect(), pParentWnd, nID);
}

BOOL CSplitterWnd::CreateView(int row, int col, CRuntimeClass* pViewClass, SIZE sizeInit, CCreateContext* pContext) {
  if (row < 0 || row >= m_nRows || col < 0 || col >= m_nCols || GetPane(row, col)) return FALSE;
  m_pColInfo[col].nIdealSize = sizeInit.cx;
  m_pRowInfo[row].nIdealSize = sizeInit.cy;
  CCreateContext fromActive;
  if (!pContext) {
    // Without a context the new pane views the active pane's document.
    CWnd* pOld = GetActivePane();
    if (pOld && pOld->IsKindOf(RUNTIME_CLASS(CView))) {
      fromActive.m_pLastView = static_cast<CView*>(pOld);
      fromActive.m_pCurrentDoc = fromActive.m_pLastView->GetDocument();
      if (fromActive.m_pCurrentDoc) fromActive.m_pNewDocTemplate = fromActive.m_pCurrentDoc->GetDocTemplate();
    }
  }
  CObject* pObject = pViewClass->CreateObject();
  if (!pObject || !pObject->IsKindOf(RUNTIME_CLASS(CWnd))) {
    delete pObject;
    return FALSE;
  }
  CWnd* pWnd = static_cast<CWnd*>(pObject);
  if (!pWnd->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(CPoint(0, 0), sizeInit), this,
                    IdFromRowCol(row, col), pContext ? pContext : &fromActive))
    return FALSE;
  if (!pContext) pWnd->SendMessage(WM_INITIALUPDATE);
  return TRUE;
}

void CSplitterWnd::GetRowInfo(int row, int& cyCur, int& cyMin) const {
  cyCur = m_pRowInfo[row].nCurSize;
  cyMin = m_pRowInfo[row].nMinSize;
}

void CSplitterWnd::SetRowInfo(int row, int cyIdeal, int cyMin) {
  m_pRowInfo[row].nIdealSize = cyIdeal;
  m_pRowInfo[row].nMinSize = cyMin;
}

void CSplitterWnd::GetColumnInfo(int col, int& cxCur, int& cxMin) const {
  cxCur = m_pColInfo[col].nCurSize;
  cxMin = m_pColInfo[col].nMinSize;
}

void CSplitterWnd::SetColumnInfo(int col, int cxIdeal, int cxMin) {
  m_pColInfo[col].nIdealSize = cxIdeal;
  m_pColInfo[col].nMinSize = cxMin;
}

CWnd* CSplitterWnd::GetPane(int row, int col) const {
  HWND hPane = ::GetDlgItem(m_hWnd, IdFromRowCol(row, col));
  return hPane ? FromHandlePermanent(hPane) : nullptr;
}

BOOL CSplitterWnd::IsChildPane(CWnd* pWnd, int* pRow, int* pCol) {
  if (!pWnd || ::GetParent(pWnd->m_hWnd) != m_hWnd) return FALSE;
  int nID = pWnd->GetDlgCtrlID() - AFX_IDW_PANE_FIRST;
  if (nID < 0 || nID / 16 >= m_nRows || nID % 16 >= m_nCols) return FALSE;
  if (pRow) *pRow = nID / 16;
  if (pCol) *pCol = nID % 16;
  return TRUE;
}

// ---- layout

void CSplitterWnd::GetInsideRect(CRect& rect) const {
  GetClientRect(&rect);
  rect.left += m_cxBorder;
  rect.top += m_cyBorder;
  rect.right -= m_cxBorder;
  rect.bottom -= m_cyBorder;
  if (m_bHasVScroll) rect.right -= ::GetSystemMetrics(SM_CXVSCROLL) - 1;
  if (m_bHasHScroll) rect.bottom -= ::GetSystemMetrics(SM_CYHSCROLL) - 1;
}

// Rows or columns get their ideal sizes while there is room; the last one
// takes the rest; one below its minimum is hidden and its room goes to the one before.
static void LayoutRowCol(CSplitterWnd::CRowColInfo* pInfo, int nMax, int nSize, int nSizeSplitter);

void CSplitterWnd::RecalcLayout() {
  if (!m_hWnd || !m_pColInfo) return;
  CRect client;
  GetClientRect(&client);
  client.left += m_cxBorder;
  client.top += m_cyBorder;
  CRect inside;
  GetInsideRect(inside);
  LayoutRowCol(m_pColInfo, m_nCols, inside.Width(), m_cxSplitterGap);
  LayoutRowCol(m_pRowInfo, m_nRows, inside.Height(), m_cySplitterGap);

  AFX_SIZEPARENTPARAMS layout = {};
  layout.hDWP = ::BeginDeferWindowPos(m_nCols * m_nRows + 1);
  int x = client.left;
  for (int col = 0; col < m_nCols; ++col) {
    int cx = m_pColInfo[col].nCurSize;
    int y = client.top;
    for (int row = 0; row < m_nRows; ++row) {
      int cy = m_pRowInfo[row].nCurSize;
      if (CWnd* pPane = GetPane(row, col)) {
        CRect rect(x, y, x + cx, y + cy);
        AfxRepositionWindow(&layout, pPane->m_hWnd, &rect);
      }
      y += cy + m_cySplitterGap;
    }
    x += cx + m_cxSplitterGap;
  }
  if (layout.hDWP) ::EndDeferWindowPos(layout.hDWP);
  DrawAllSplitBars(nullptr, inside.right, inside.bottom);
}

static void LayoutRowCol(CSplitterWnd::CRowColInfo* pInfo, int nMax, int nSize, int nSizeSplitter) {
  if (nSize < 0) nSize = 0;
  for (int i = 0; i < nMax - 1; ++i) {
    if (pInfo[i].nIdealSize < pInfo[i].nMinSize) pInfo[i].nIdealSize = 0;
    pInfo[i].nCurSize = pInfo[i].nIdealSize;
  }
  pInfo[nMax - 1].nCurSize = INT_MAX;
  for (int i = 0; i < nMax; ++i) {
    if (nSize == 0) {
      pInfo[i].nCurSize = 0;
      continue;
    }
    if (nSize < pInfo[i].nMinSize && i != 0) {
      pInfo[i].nCurSize = 0;
      pInfo[i - 1].nCurSize += nSize + 2;
      nSize = 0;
    } else if (pInfo[i].nCurSize == 0) {
      // too small to see
    } else if (nSize < pInfo[i].nCurSize) {
      pInfo[i].nCurSize = nSize;
      nSize = 0;
    } else {
      nSize -= pInfo[i].nCurSize;
    }
    if (i == nMax - 1) continue;
    if (nSize > nSizeSplitter) {
      nSize -= nSizeSplitter;
    } else {
      pInfo[i].nCurSize += nSize;
      if (pInfo[i].nCurSize > nSizeSplitter - 2) pInfo[i].nCurSize -= nSizeSplitter - 2;
      nSize = 0;
    }
  }
}

void CSplitterWnd::OnSize(UINT nType, int cx, int cy) {
  if (nType != SIZE_MINIMIZED && cx > 0 && cy > 0) RecalcLayout();
  Default();
}

// ---- activation

CWnd* CSplitterWnd::GetActivePane(int* pRow, int* pCol) {
  CWnd* pPane = nullptr;
  if (CFrameWnd* pFrame = GetParentFrame()) pPane = pFrame->GetActiveView();
  if (!pPane) pPane = GetFocus();
  return IsChildPane(pPane, pRow, pCol) ? pPane : nullptr;
}

void CSplitterWnd::SetActivePane(int row, int col, CWnd* pWnd) {
  CWnd* pPane = pWnd ? pWnd : GetPane(row, col);
  if (!pPane) return;
  CFrameWnd* pFrame = GetParentFrame();
  if (pFrame && pPane->IsKindOf(RUNTIME_CLASS(CView)))
    pFrame->SetActiveView(static_cast<CView*>(pPane));
  else
    pPane->SetFocus();
}

BOOL CSplitterWnd::CanActivateNext(BOOL) { return m_nRows * m_nCols > 1; }

void CSplitterWnd::ActivateNext(BOOL bPrev) {
  int row, col;
  if (!GetActivePane(&row, &col)) return;
  if (bPrev) {
    if (--col < 0) {
      col = m_nCols - 1;
      if (--row < 0) row = m_nRows - 1;
    }
  } else if (++col >= m_nCols) {
    col = 0;
    if (++row >= m_nRows) row = 0;
  }
  SetActivePane(row, col);
}

// ---- hit testing

int CSplitterWnd::HitTest(CPoint pt) const {
  CRect client;
  GetClientRect(&client);
  client.left += m_cxBorder;
  client.top += m_cyBorder;
  client.right -= m_cxBorder;
  client.bottom -= m_cyBorder;
  CRect rect = client;
  int col;
  for (col = 0; col < m_nCols - 1; ++col) {
    rect.left += m_pColInfo[col].nCurSize;
    rect.right = rect.left + m_cxSplitterGap;
    if (::PtInRect(&rect, pt)) break;
    rect.left = rect.right;
  }
  rect = client;
  int row;
  for (row = 0; row < m_nRows - 1; ++row) {
    rect.top += m_pRowInfo[row].nCurSize;
    rect.bottom = rect.top + m_cySplitterGap;
    if (::PtInRect(&rect, pt)) break;
    rect.top = rect.bottom;
  }
  if (col != m_nCols - 1) return row != m_nRows - 1 ? splitterIntersection1 + row * 15 + col : hSplitterBar1 + col;
  return row != m_nRows - 1 ? vSplitterBar1 + row : noHit;
}

// The bar's rectangle without its border; also sets m_rectLimit (where it
// may go) and m_ptTrackOffset.
void CSplitterWnd::GetHitRect(int ht, CRect& rectHit) {
  CRect client;
  GetClientRect(&client);
  client.left += m_cxBorder;
  client.top += m_cyBorder;
  client.right -= m_cxBorder;
  client.bottom -= m_cyBorder;
  int x = client.left, y = client.top, cx = client.Width(), cy = client.Height();
  m_ptTrackOffset = CPoint(0, 0);
  if (ht >= vSplitterBar1 && ht <= vSplitterBar15) {
    int row = ht - vSplitterBar1;
    for (int i = 0; i < row; ++i) y += m_pRowInfo[i].nCurSize + m_cySplitterGap;
    m_rectLimit.top = y;
    y += m_pRowInfo[row].nCurSize + m_cyBorderShare + kTrackerBorder;
    m_rectLimit.bottom -= m_cySplitter;
    cy = m_cySplitter - 2 * m_cyBorder;
  } else if (ht >= hSplitterBar1 && ht <= hSplitterBar15) {
    int col = ht - hSplitterBar1;
    for (int i = 0; i < col; ++i) x += m_pColInfo[i].nCurSize + m_cxSplitterGap;
    m_rectLimit.left = x;
    x += m_pColInfo[col].nCurSize + m_cxBorderShare + kTrackerBorder;
    m_rectLimit.right -= m_cxSplitter;
    cx = m_cxSplitter - 2 * m_cxBorder;
  }
  rectHit = CRect(x, y, x + cx, y + cy);
}

// ---- tracking

void CSplitterWnd::StartTracking(int ht) {
  if (ht == noHit || ht == vSplitterBox || ht == hSplitterBox || ht == bothSplitterBox) return;
  GetInsideRect(m_rectLimit);
  if (ht >= splitterIntersection1 && ht <= splitterIntersection225) {
    int row = (ht - splitterIntersection1) / 15;
    int col = (ht - splitterIntersection1) % 15;
    GetHitRect(row + vSplitterBar1, m_rectTracker);
    int yTrackOffset = m_ptTrackOffset.y;
    m_bTracking2 = TRUE;
    GetHitRect(col + hSplitterBar1, m_rectTracker2);
    m_ptTrackOffset.y = yTrackOffset;
  } else {
    GetHitRect(ht, m_rectTracker);
  }
  // The active view keeps its focus for when tracking ends.
  if (CWnd* pPane = GetActivePane())
    if (pPane->IsKindOf(RUNTIME_CLASS(CView))) static_cast<CView*>(pPane)->OnActivateFrame(WA_INACTIVE, GetParentFrame());
  SetCapture();
  SetFocus();
  RedrawWindow(nullptr, nullptr, RDW_ALLCHILDREN | RDW_UPDATENOW);
  m_bTracking = TRUE;
  OnInvertTracker(m_rectTracker);
  if (m_bTracking2) OnInvertTracker(m_rectTracker2);
  m_htTrack = ht;
  SetSplitCursor(ht);
}

// Tracking is over before the capture goes, so the capture change that
// releasing it sends finds nothing left to cancel.
void CSplitterWnd::StopTracking(BOOL bAccept) {
  if (!m_bTracking) return;
  const BOOL second = m_bTracking2;
  m_bTracking = m_bTracking2 = FALSE;
  if (::GetCapture() == m_hWnd) ::ReleaseCapture();
  OnInvertTracker(m_rectTracker);
  if (second) OnInvertTracker(m_rectTracker2);
  CWnd* pOldActive = GetActivePane();
  m_rectTracker.OffsetRect(-kTrackerBorder, -kTrackerBorder);
  m_rectTracker2.OffsetRect(-kTrackerBorder, -kTrackerBorder);
  if (bAccept) {
    if (m_htTrack >= vSplitterBar1 && m_htTrack <= vSplitterBar15) {
      TrackRowSize(m_rectTracker.top, m_htTrack - vSplitterBar1);
    } else if (m_htTrack >= hSplitterBar1 && m_htTrack <= hSplitterBar15) {
      TrackColumnSize(m_rectTracker.left, m_htTrack - hSplitterBar1);
    } else if (m_htTrack >= splitterIntersection1 && m_htTrack <= splitterIntersection225) {
      TrackRowSize(m_rectTracker.top, (m_htTrack - splitterIntersection1) / 15);
      TrackColumnSize(m_rectTracker2.left, (m_htTrack - splitterIntersection1) % 15);
    }
    RecalcLayout();
  }
  if (pOldActive && pOldActive == GetActivePane()) {
    SetActivePane(-1, -1, pOldActive);
    pOldActive->SetFocus();
  }
}

// y and x are in this window; the new size is measured from the pane's origin.
void CSplitterWnd::TrackRowSize(int y, int row) {
  CPoint pt(0, y);
  ClientToScreen(&pt);
  if (CWnd* pPane = GetPane(row, 0)) pPane->ScreenToClient(&pt);
  m_pRowInfo[row].nIdealSize = pt.y < m_pRowInfo[row].nMinSize ? 0 : pt.y;
}

void CSplitterWnd::TrackColumnSize(int x, int col) {
  CPoint pt(x, 0);
  ClientToScreen(&pt);
  if (CWnd* pPane = GetPane(0, col)) pPane->ScreenToClient(&pt);
  m_pColInfo[col].nIdealSize = pt.x < m_pColInfo[col].nMinSize ? 0 : pt.x;
}

// The bar keeps its distance to the mouse: a drag by d moves it by d.
void CSplitterWnd::OnLButtonDown(UINT, CPoint pt) {
  if (m_bTracking) return;
  int ht = HitTest(pt);
  StartTracking(ht);
  if (!m_bTracking) return;
  bool both = m_bTracking2;
  if (ht >= hSplitterBar1 && ht <= hSplitterBar15) m_ptTrackOffset.x = m_rectTracker.left - pt.x;
  if (ht >= vSplitterBar1 && ht <= vSplitterBar15) m_ptTrackOffset.y = m_rectTracker.top - pt.y;
  if (both) m_ptTrackOffset = CPoint(m_rectTracker2.left - pt.x, m_rectTracker.top - pt.y);
}

void CSplitterWnd::OnLButtonUp(UINT, CPoint) { StopTracking(TRUE); }

void CSplitterWnd::OnCancelMode() { StopTracking(FALSE); }

// A drag ends with its capture, however that is lost.
void CSplitterWnd::OnCaptureChanged(CWnd* pWnd) {
  if (pWnd != this) StopTracking(FALSE);
  CWnd::OnCaptureChanged(pWnd);
}

void CSplitterWnd::OnKeyDown(UINT nChar, UINT, UINT) {
  if (nChar == VK_ESCAPE) StopTracking(FALSE);
  if (nChar == VK_RETURN) StopTracking(TRUE);
}

static void MoveTracker(CSplitterWnd* pSplitter, CRect& tracker, int dx, int dy) {
  if (dx == 0 && dy == 0) return;
  pSplitter->OnInvertTracker(tracker);
  tracker.OffsetRect(dx, dy);
  pSplitter->OnInvertTracker(tracker);
}

void CSplitterWnd::OnMouseMove(UINT, CPoint pt) {
  if (m_bTracking && GetCapture() != this) StopTracking(FALSE);
  if (!m_bTracking) {
    SetSplitCursor(HitTest(pt));
    return;
  }
  pt.Offset(m_ptTrackOffset);
  pt.y = pt.y < m_rectLimit.top ? m_rectLimit.top : pt.y > m_rectLimit.bottom ? m_rectLimit.bottom : pt.y;
  pt.x = pt.x < m_rectLimit.left ? m_rectLimit.left : pt.x > m_rectLimit.right ? m_rectLimit.right : pt.x;
  if (m_htTrack >= vSplitterBar1 && m_htTrack <= vSplitterBar15) {
    MoveTracker(this, m_rectTracker, 0, pt.y - m_rectTracker.top);
  } else if (m_htTrack >= hSplitterBar1 && m_htTrack <= hSplitterBar15) {
    MoveTracker(this, m_rectTracker, pt.x - m_rectTracker.left, 0);
  } else {
    MoveTracker(this, m_rectTracker, 0, pt.y - m_rectTracker.top);
    MoveTracker(this, m_rectTracker2, pt.x - m_rectTracker2.left, 0);
  }
}

// ---- drawing and cursors

void CSplitterWnd::OnInvertTracker(const CRect& rect) {
  CDC* pDC = GetDC();
  CBrush* pBrush = CDC::GetHalftoneBrush();
  HGDIOBJ hOld = pBrush ? ::SelectObject(pDC->m_hDC, pBrush->m_hObject) : nullptr;
  ::PatBlt(pDC->m_hDC, rect.left, rect.top, rect.Width(), rect.Height(), PATINVERT);
  if (hOld) ::SelectObject(pDC->m_hDC, hOld);
  ReleaseDC(pDC);
}

void CSplitterWnd::SetSplitCursor(int ht) {
  LPCSTR cursor = IDC_ARROW;
  if (ht >= vSplitterBar1 && ht <= vSplitterBar15)
    cursor = IDC_SIZENS;
  else if (ht >= hSplitterBar1 && ht <= hSplitterBar15)
    cursor = IDC_SIZEWE;
  else if (ht >= splitterIntersection1 && ht <= splitterIntersection225)
    cursor = IDC_SIZEALL;
  ::SetCursor(::LoadCursorA(nullptr, cursor));
}

// The mouse moves set the cursor over the client area.
BOOL CSplitterWnd::OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT) {
  if (nHitTest == HTCLIENT && pWnd == this && !m_bTracking) return TRUE;
  return static_cast<BOOL>(Default());
}

void CSplitterWnd::OnDrawSplitter(CDC* pDC, ESplitType nType, const CRect& rectArg) {
  if (!pDC) {
    RedrawWindow(&rectArg, nullptr, RDW_INVALIDATE | RDW_NOCHILDREN);
    return;
  }
  CRect rect = rectArg;
  COLORREF face = ::GetSysColor(COLOR_BTNFACE);
  if (nType == splitBorder) {
    pDC->Draw3dRect(&rect, ::GetSysColor(COLOR_BTNSHADOW), ::GetSysColor(COLOR_BTNHIGHLIGHT));
    rect.InflateRect(-1, -1);
    pDC->Draw3dRect(&rect, ::GetSysColor(COLOR_WINDOWFRAME), face);
    return;
  }
  pDC->FillSolidRect(&rect, face);
}

void CSplitterWnd::DrawAllSplitBars(CDC* pDC, int cxInside, int cyInside) {
  CRect client;
  GetClientRect(&client);
  CRect rect = client;
  rect.left += m_cxBorder;
  for (int col = 0; col < m_nCols - 1; ++col) {
    rect.left += m_pColInfo[col].nCurSize + m_cxBorderShare;
    rect.right = rect.left + m_cxSplitterGap;
    if (rect.left > cxInside) break;
    OnDrawSplitter(pDC, splitBar, rect);
    rect.left = rect.right + m_cxBorderShare;
  }
  rect = client;
  rect.top += m_cyBorder;
  for (int row = 0; row < m_nRows - 1; ++row) {
    rect.top += m_pRowInfo[row].nCurSize + m_cyBorderShare;
    rect.bottom = rect.top + m_cySplitterGap;
    if (rect.top > cyInside) break;
    OnDrawSplitter(pDC, splitBar, rect);
    rect.top = rect.bottom + m_cyBorderShare;
  }
  OnDrawSplitter(pDC, splitBorder, client);
}

void CSplitterWnd::OnPaint() {
  CPaintDC dc(this);
  CRect inside;
  GetInsideRect(inside);
  DrawAllSplitBars(&dc, inside.right, inside.bottom);
}

// Commands and notifications the splitter leaves go to its frame.
BOOL CSplitterWnd::OnCommand(WPARAM wParam, LPARAM lParam) {
  if (CWnd::OnCommand(wParam, lParam)) return TRUE;
  CWnd* pParent = GetParent();
  return pParent && pParent->SendMessage(WM_COMMAND, wParam, lParam);
}

BOOL CSplitterWnd::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
  if (CWnd::OnNotify(wParam, lParam, pResult)) return TRUE;
  CWnd* pParent = GetParent();
  if (!pParent) return FALSE;
  *pResult = pParent->SendMessage(WM_NOTIFY, wParam, lParam);
  return TRUE;
}
