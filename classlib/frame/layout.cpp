// Laying out a frame: bars along the edges, the client pane in the rest,
// now or at the next idle time; showing and hiding bars.
#include "classlib/docking/dockbar.h"
#include "classlib/frame/framewnd.h"

void AfxRepositionWindow(AFX_SIZEPARENTPARAMS* lpLayout, HWND hWnd, LPCRECT lpRect) {
  HWND hParent = ::GetParent(hWnd);
  RECT current;
  ::GetWindowRect(hWnd, &current);
  ::MapWindowPoints(nullptr, hParent, reinterpret_cast<LPPOINT>(&current), 2);
  if (::EqualRect(&current, lpRect)) return;
  if (lpLayout->hDWP)
    lpLayout->hDWP = ::DeferWindowPos(lpLayout->hDWP, hWnd, nullptr, lpRect->left, lpRect->top,
                                      lpRect->right - lpRect->left, lpRect->bottom - lpRect->top,
                                      SWP_NOACTIVATE | SWP_NOZORDER);
  else
    ::SetWindowPos(hWnd, nullptr, lpRect->left, lpRect->top, lpRect->right - lpRect->left,
                   lpRect->bottom - lpRect->top, SWP_NOACTIVATE | SWP_NOZORDER);
}

void CWnd::RepositionBars(UINT nIDFirst, UINT nIDLast, UINT nIDLeftOver, UINT nFlag, LPRECT lpRectParam,
                          LPCRECT lpRectClient, BOOL bStretch) {
  AFX_SIZEPARENTPARAMS layout = {};
  layout.bStretch = bStretch;
  if (lpRectClient)
    layout.rect = *lpRectClient;
  else
    GetClientRect(&layout.rect);
  bool query = (nFlag & ~reposNoPosLeftOver) == reposQuery;
  if (!query) layout.hDWP = ::BeginDeferWindowPos(8);

  HWND hWndLeftOver = nullptr;
  for (HWND hChild = ::GetTopWindow(m_hWnd); hChild; hChild = ::GetWindow(hChild, GW_HWNDNEXT)) {
    UINT nID = static_cast<UINT>(::GetDlgCtrlID(hChild));
    if (nID == nIDLeftOver)
      hWndLeftOver = hChild;
    else if (nID >= nIDFirst && nID <= nIDLast && FromHandlePermanent(hChild))
      ::SendMessageA(hChild, WM_SIZEPARENT, 0, reinterpret_cast<LPARAM>(&layout));
  }

  if (query) {
    if (lpRectParam) {
      if (bStretch)
        ::CopyRect(lpRectParam, &layout.rect);
      else
        ::SetRect(lpRectParam, 0, 0, layout.sizeTotal.cx, layout.sizeTotal.cy);
    }
    return;
  }
  if (nIDLeftOver && hWndLeftOver && !(nFlag & reposNoPosLeftOver)) {
    CRect rect(layout.rect);
    if ((nFlag & ~reposNoPosLeftOver) == reposExtra && lpRectParam) {
      rect.left += lpRectParam->left;
      rect.top += lpRectParam->top;
      rect.right -= lpRectParam->right;
      rect.bottom -= lpRectParam->bottom;
    }
    if (CWnd* pLeftOver = FromHandle(hWndLeftOver)) pLeftOver->CalcWindowRect(&rect, 1);
    AfxRepositionWindow(&layout, hWndLeftOver, &rect);
  }
  if (layout.hDWP) ::EndDeferWindowPos(layout.hDWP);
}

void CFrameWnd::RecalcLayout(BOOL) {
  if (m_bInRecalcLayout) return;
  m_bInRecalcLayout = TRUE;
  m_nIdleFlags &= ~(idleLayout | idleNotify);
  RepositionBars(0, 0xFFFF, AFX_IDW_PANE_FIRST, reposExtra, &m_rectBorder);
  m_bInRecalcLayout = FALSE;
}

// ---- control bars

void CFrameWnd::AddControlBar(CControlBar* pBar) {
  if (!m_listControlBars.Find(pBar)) m_listControlBars.AddTail(pBar);
}

void CFrameWnd::RemoveControlBar(CControlBar* pBar) {
  if (POSITION pos = m_listControlBars.Find(pBar)) m_listControlBars.RemoveAt(pos);
}

CControlBar* CFrameWnd::GetControlBar(UINT nID) {
  if (nID == 0) return nullptr;
  for (POSITION pos = m_listControlBars.GetHeadPosition(); pos;) {
    CControlBar* pBar = static_cast<CControlBar*>(m_listControlBars.GetNext(pos));
    if (pBar->m_hWnd && static_cast<UINT>(::GetDlgCtrlID(pBar->m_hWnd)) == nID) return pBar;
  }
  return nullptr;
}

void CFrameWnd::ShowControlBar(CControlBar* pBar, BOOL bShow, BOOL bDelay) {
  CFrameWnd* pParentFrame = pBar->GetDockingFrame();
  if (!pParentFrame) pParentFrame = this;
  if (bDelay) {
    pBar->DelayShow(bShow);
    pParentFrame->DelayRecalcLayout();
  } else {
    pBar->SetWindowPos(nullptr, 0, 0, 0, 0,
                       SWP_NOZORDER | SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | (bShow ? SWP_SHOWWINDOW : SWP_HIDEWINDOW));
    // Clears a delayed show or hide that would undo this one.
    pBar->DelayShow(bShow);
    if (bShow || !pBar->IsFloating()) pParentFrame->RecalcLayout(FALSE);
  }
  if (pBar->IsFloating()) ShowFloatingFrameFor(pBar, pParentFrame, bShow, bDelay);
}

// A floating frame shows while one of its bars does.
void CFrameWnd::ShowFloatingFrameFor(CControlBar* pBar, CFrameWnd* pFloatingFrame, BOOL bShow, BOOL bDelay) {
  int visible = pBar->m_pDockBar ? pBar->m_pDockBar->GetDockedVisibleCount() : (bShow ? 1 : 0);
  int nShow = visible == 0 ? SW_HIDE : (visible == 1 && bShow ? SW_SHOWNA : -1);
  pFloatingFrame->m_nShowDelay = -1;
  if (nShow == -1) {
    if (!bDelay) pFloatingFrame->RecalcLayout(bShow);
  } else if (bDelay) {
    pFloatingFrame->m_nShowDelay = nShow;
  } else {
    pFloatingFrame->ShowWindow(nShow);
  }
}

BOOL CFrameWnd::OnBarCheck(UINT nID) {
  CControlBar* pBar = GetControlBar(nID);
  if (!pBar) return FALSE;
  ShowControlBar(pBar, (pBar->GetStyle() & WS_VISIBLE) == 0, FALSE);
  return TRUE;
}

void CFrameWnd::OnUpdateControlBarMenu(CCmdUI* pCmdUI) {
  if (CControlBar* pBar = GetControlBar(pCmdUI->m_nID))
    pCmdUI->SetCheck((pBar->GetStyle() & WS_VISIBLE) != 0);
  else
    pCmdUI->ContinueRouting();
}

// ---- idle time

LRESULT CFrameWnd::OnIdleUpdateCmdUI(WPARAM, LPARAM) {
  if (m_nIdleFlags & idleTitle) OnUpdateFrameTitle(TRUE);
  if (m_nIdleFlags & idleLayout) {
    RecalcLayout((m_nIdleFlags & idleNotify) != 0);
    UpdateWindow();
  }
  if (m_nIDTracking != m_nIDLastMessage) SetMessageText(m_nIDTracking);
  m_nIdleFlags = 0;
  return 0;
}
