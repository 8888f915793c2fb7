#include "classlib/docking/dockcontext.h"

#include "classlib/docking/minidockframe.h"
#include "classlib/winapp.h"

namespace {
bool Horizontal(DWORD dwStyle) { return (dwStyle & CBRS_ORIENT_HORZ) != 0; }
bool Vertical(DWORD dwStyle) { return (dwStyle & CBRS_ORIENT_VERT) != 0; }

// Moves rect so pt lies inside it.
void KeepPointInside(CRect& rect, CPoint pt) {
  int dx = pt.x < rect.left ? pt.x - rect.left : pt.x > rect.right ? pt.x - rect.right : 0;
  int dy = pt.y < rect.top ? pt.y - rect.top : pt.y > rect.bottom ? pt.y - rect.bottom : 0;
  rect.OffsetRect(dx, dy);
}

// The outline a floating frame would have around a bar of that size.
CRect FloatingOutline(const CRect& bar) {
  CRect rect = bar;
  ::AdjustWindowRectEx(&rect, WS_POPUP | WS_CAPTION | WS_THICKFRAME, FALSE, WS_EX_TOOLWINDOW);
  return rect;
}
}  // namespace

CDockContext::CDockContext(CControlBar* pBar) : m_pBar(pBar), m_pDockSite(pBar->m_pDockSite) {}

void CDockContext::StartDrag(CPoint pt) {
  if (!m_pDockSite) m_pDockSite = m_pBar->m_pDockSite;
  if (!m_pDockSite) return;
  m_bDragging = TRUE;
  InitLoop();
  CRect rect;
  m_pBar->GetWindowRect(&rect);
  m_ptLast = pt;
  // The other orientation's outline is centred on the mouse across the bar.
  if (Horizontal(m_dwStyle)) {
    CSize size = m_pBar->CalcDynamicLayout(-1, LM_VERTDOCK);
    m_rectDragHorz = rect;
    m_rectDragVert = CRect(CPoint(pt.x - rect.Height() / 2, rect.top), size);
  } else {
    CSize size = m_pBar->CalcDynamicLayout(-1, LM_HORZ | LM_HORZDOCK);
    m_rectDragVert = rect;
    m_rectDragHorz = CRect(CPoint(rect.left, pt.y - rect.Width() / 2), size);
  }
  m_rectFrameDragHorz = FloatingOutline(m_rectDragHorz);
  m_rectFrameDragVert = FloatingOutline(m_rectDragVert);
  m_rectFrameBorders = CRect(m_rectDragHorz.left - m_rectFrameDragHorz.left, m_rectDragHorz.top - m_rectFrameDragHorz.top,
                             m_rectFrameDragHorz.right - m_rectDragHorz.right,
                             m_rectFrameDragHorz.bottom - m_rectDragHorz.bottom);
  m_rectRequestedSize = m_rectActualSize = rect;
  m_rectActualFrameSize = m_rectFrameDragHorz;
  KeepPointInside(m_rectDragHorz, pt);
  KeepPointInside(m_rectDragVert, pt);
  KeepPointInside(m_rectFrameDragHorz, pt);
  KeepPointInside(m_rectFrameDragVert, pt);
  m_dwOverDockStyle = CanDock();
  Move(pt);
  Track();
}

void CDockContext::ResetLoopState() {
  // Pending paints first, or they would draw over the outline.
  MSG msg;
  while (::PeekMessageA(&msg, nullptr, WM_PAINT, WM_PAINT, PM_REMOVE)) ::DispatchMessageA(&msg);
  m_dwDockStyle = m_pBar->m_dwDockStyle;
  m_dwStyle = m_pBar->m_dwStyle & CBRS_ALIGN_ANY;
  if (!m_dwStyle) m_dwStyle = CBRS_ALIGN_TOP;
  m_rectLast.SetRectEmpty();
  m_sizeLast = CSize(0, 0);
  m_bForceFrame = m_bFlip = m_bDitherLast = FALSE;
}

void CDockContext::InitLoop() {
  ResetLoopState();
  HWND hDesktop = ::GetDesktopWindow();
  DWORD flags = DCX_WINDOW | DCX_CACHE;
  if (::LockWindowUpdate(hDesktop)) flags |= DCX_LOCKWINDOWUPDATE;
  m_pDC = new CDC;
  m_pDC->Attach(::GetDCEx(hDesktop, nullptr, flags));
}

// Every way out of the loop comes through here.
void CDockContext::CancelLoop() {
  if (m_pDC) DrawFocusRect(TRUE);
  if (::GetCapture() == m_pBar->m_hWnd) ::ReleaseCapture();
  HWND hDesktop = ::GetDesktopWindow();
  ::LockWindowUpdate(nullptr);
  if (m_pDC) {
    ::ReleaseDC(hDesktop, m_pDC->Detach());
    delete m_pDC;
    m_pDC = nullptr;
  }
}

BOOL CDockContext::Track() {
  if (::GetCapture()) {
    CancelLoop();
    return FALSE;
  }
  m_pBar->SetCapture();
  while (::GetCapture() == m_pBar->m_hWnd) {
    MSG msg;
    if (!::GetMessageA(&msg, nullptr, 0, 0)) {
      AfxPostQuitMessage(static_cast<int>(msg.wParam));
      break;
    }
    switch (msg.message) {
      case WM_LBUTTONUP:
        EndDrag();
        return TRUE;
      case WM_MOUSEMOVE:
        Move(msg.pt);
        break;
      case WM_KEYUP:
        OnKey(static_cast<int>(msg.wParam), FALSE);
        break;
      case WM_KEYDOWN:
        OnKey(static_cast<int>(msg.wParam), TRUE);
        if (msg.wParam == VK_ESCAPE) {
          CancelLoop();
          return FALSE;
        }
        break;
      case WM_RBUTTONDOWN:
        CancelLoop();
        return FALSE;
      default:
        ::DispatchMessageA(&msg);
        break;
    }
  }
  CancelLoop();
  return FALSE;
}

void CDockContext::Move(CPoint pt) {
  CSize offset = pt - m_ptLast;
  m_rectDragHorz.OffsetRect(offset.cx, offset.cy);
  m_rectFrameDragHorz.OffsetRect(offset.cx, offset.cy);
  m_rectDragVert.OffsetRect(offset.cx, offset.cy);
  m_rectFrameDragVert.OffsetRect(offset.cx, offset.cy);
  m_ptLast = pt;
  m_dwOverDockStyle = m_bForceFrame ? 0 : CanDock();
  DrawFocusRect();
}

void CDockContext::OnKey(int nChar, BOOL bDown) {
  if (nChar == VK_CONTROL) UpdateState(&m_bForceFrame, bDown);
  if (nChar == VK_SHIFT) UpdateState(&m_bFlip, bDown);
}

void CDockContext::UpdateState(BOOL* pFlag, BOOL bNewValue) {
  if (*pFlag == bNewValue) return;
  *pFlag = bNewValue;
  // Flipping means something only for a bar that docks both ways.
  m_bFlip = Horizontal(m_dwDockStyle) && Vertical(m_dwDockStyle) && m_bFlip;
  m_dwOverDockStyle = m_bForceFrame ? 0 : CanDock();
  DrawFocusRect();
}

DWORD CDockContext::CanDock() {
  bool horz = Horizontal(m_dwStyle) != (m_bFlip != FALSE);
  DWORD dwDock = 0;
  if (horz && Horizontal(m_dwDockStyle))
    dwDock = m_pDockSite->CanDock(m_rectDragHorz, m_dwDockStyle & ~CBRS_ORIENT_VERT);
  else if (Vertical(m_dwDockStyle))
    dwDock = m_pDockSite->CanDock(m_rectDragVert, m_dwDockStyle & ~CBRS_ORIENT_HORZ);
  if (m_bFlip) return dwDock;
  // Either orientation docks when both outlines agree on the side.
  if (!dwDock && Horizontal(m_dwDockStyle)) {
    DWORD current = m_pDockSite->CanDock(m_rectDragVert, m_dwDockStyle & ~CBRS_ORIENT_VERT);
    dwDock = m_pDockSite->CanDock(m_rectDragHorz, m_dwDockStyle & ~CBRS_ORIENT_VERT);
    if (dwDock != current) dwDock = 0;
  }
  if (!dwDock && Vertical(m_dwDockStyle)) {
    DWORD current = m_pDockSite->CanDock(m_rectDragHorz, m_dwDockStyle & ~CBRS_ORIENT_HORZ);
    dwDock = m_pDockSite->CanDock(m_rectDragVert, m_dwDockStyle & ~CBRS_ORIENT_HORZ);
    if (dwDock != current) dwDock = 0;
  }
  return dwDock;
}

CDockBar* CDockContext::GetDockBar(DWORD dwOverDockStyle) {
  CDockBar* pDockBar = nullptr;
  if (Horizontal(dwOverDockStyle))
    m_pDockSite->CanDock(m_rectDragHorz, dwOverDockStyle & ~CBRS_ORIENT_VERT, &pDockBar);
  else if (Vertical(dwOverDockStyle))
    m_pDockSite->CanDock(m_rectDragVert, dwOverDockStyle & ~CBRS_ORIENT_HORZ, &pDockBar);
  return pDockBar;
}

// A thin outline where the bar would dock, a thick dithered one where it would float.
void CDockContext::DrawFocusRect(BOOL bRemoveRect) {
  if (!m_pDC) return;
  CSize size(1, 1);
  CBrush* pWhite = CBrush::FromHandle(static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
  CBrush* pDither = CDC::GetHalftoneBrush();
  CBrush* pBrush = pWhite;
  CRect rect;
  if (Horizontal(m_dwOverDockStyle)) {
    rect = m_rectDragHorz;
  } else if (Vertical(m_dwOverDockStyle)) {
    rect = m_rectDragVert;
  } else {
    size = CSize(::GetSystemMetrics(SM_CXFRAME) - 1, ::GetSystemMetrics(SM_CYFRAME) - 1);
    rect = Horizontal(m_dwStyle) != (m_bFlip != FALSE) ? m_rectFrameDragHorz : m_rectFrameDragVert;
    pBrush = pDither;
  }
  if (bRemoveRect) size = CSize(0, 0);
  // One pixel in: the docked outline looks pressed into its place.
  if (m_dwOverDockStyle & CBRS_ORIENT_ANY) rect.InflateRect(-1, -1);
  m_pDC->DrawDragRect(&rect, size, &m_rectLast, m_sizeLast, pBrush, m_bDitherLast ? pDither : pWhite);
  m_rectLast = rect;
  m_sizeLast = size;
  m_bDitherLast = pBrush == pDither;
}

void CDockContext::EndDrag() {
  CancelLoop();
  m_bDragging = FALSE;
  if (m_dwOverDockStyle) {
    CDockBar* pDockBar = GetDockBar(m_dwOverDockStyle);
    if (!pDockBar) return;
    CRect rect = Vertical(m_dwOverDockStyle) ? m_rectDragVert : m_rectDragHorz;
    UINT uID = static_cast<UINT>(::GetDlgCtrlID(pDockBar->m_hWnd));
    if (uID >= AFX_IDW_DOCKBAR_TOP && uID <= AFX_IDW_DOCKBAR_BOTTOM) {
      m_uMRUDockID = uID;
      m_rectMRUDockPos = rect;
      pDockBar->ScreenToClient(&m_rectMRUDockPos);
    }
    m_pDockSite->DockControlBar(m_pBar, pDockBar, &rect);
    m_pDockSite->RecalcLayout();
    return;
  }
  bool horz = Horizontal(m_dwStyle) != (m_bFlip != FALSE);
  m_dwMRUFloatStyle = (horz ? CBRS_ALIGN_TOP : CBRS_ALIGN_LEFT) | (m_dwDockStyle & CBRS_FLOAT_MULTI);
  m_ptMRUFloatPos = (horz ? m_rectFrameDragHorz : m_rectFrameDragVert).TopLeft();
  m_pDockSite->FloatControlBar(m_pBar, m_ptMRUFloatPos, m_dwMRUFloatStyle);
}

void CDockContext::ToggleDocking() {
  if (!m_pDockSite) m_pDockSite = m_pBar->m_pDockSite;
  if (!m_pDockSite) return;
  if (m_pBar->IsFloating()) {
    if (!(m_pBar->m_dwDockStyle & CBRS_ALIGN_ANY)) return;
    CDockBar* pDockBar = nullptr;
    CRect rect = m_rectMRUDockPos;
    if (m_uMRUDockID) {
      CControlBar* pDock = m_pDockSite->GetControlBar(m_uMRUDockID);
      if (pDock && pDock->IsDockBar()) {
        pDockBar = static_cast<CDockBar*>(pDock);
        pDockBar->ClientToScreen(&rect);
      }
    }
    m_pDockSite->ReDockControlBar(m_pBar, pDockBar, pDockBar ? &rect : nullptr);
    m_pDockSite->RecalcLayout();
    return;
  }
  // Remember where it docks, so the next toggle brings it back there.
  if (m_pBar->m_pDockBar) {
    m_uMRUDockID = static_cast<UINT>(::GetDlgCtrlID(m_pBar->m_pDockBar->m_hWnd));
    m_pBar->GetWindowRect(&m_rectMRUDockPos);
    m_pBar->m_pDockBar->ScreenToClient(&m_rectMRUDockPos);
  }
  CPoint ptFloat = m_ptMRUFloatPos;
  if (ptFloat.x < 0 || ptFloat.y < 0) {
    CRect rect;
    m_pBar->GetWindowRect(&rect);
    ptFloat = rect.TopLeft();
  }
  m_pDockSite->FloatControlBar(m_pBar, ptFloat, m_dwMRUFloatStyle);
}
