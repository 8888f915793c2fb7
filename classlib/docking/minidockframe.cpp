#include "classlib/docking/minidockframe.h"

#include "classlib/docking/dockcontext.h"

IMPLEMENT_DYNCREATE(CMiniFrameWnd, CFrameWnd)
IMPLEMENT_DYNCREATE(CMiniDockFrameWnd, CMiniFrameWnd)

BEGIN_MESSAGE_MAP(CMiniDockFrameWnd, CMiniFrameWnd)
  ON_WM_CLOSE()
  ON_WM_ACTIVATE()
  ON_WM_MOUSEACTIVATE()
  ON_WM_NCLBUTTONDOWN()
  ON_WM_NCLBUTTONDBLCLK()
END_MESSAGE_MAP()

// The small caption is the tool window's.
BOOL CMiniFrameWnd::PreCreateWindow(CREATESTRUCTA& cs) {
  if (!CFrameWnd::PreCreateWindow(cs)) return FALSE;
  cs.dwExStyle = (cs.dwExStyle & ~WS_EX_CLIENTEDGE) | WS_EX_TOOLWINDOW;
  return TRUE;
}

CMiniDockFrameWnd::CMiniDockFrameWnd() : m_wndDockBar(TRUE) { m_wndDockBar.m_bAutoDelete = FALSE; }

BOOL CMiniDockFrameWnd::Create(CWnd* pParent, DWORD dwBarStyle) {
  m_bInRecalcLayout = TRUE;
  DWORD dwStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | MFS_MOVEFRAME | MFS_4THICKFRAME | MFS_SYNCACTIVE |
                  MFS_BLOCKSYSMENU | FWS_SNAPTOBARS;
  if (dwBarStyle & CBRS_SIZE_DYNAMIC) dwStyle = (dwStyle & ~MFS_MOVEFRAME) | WS_THICKFRAME;
  if (!CFrameWnd::Create(nullptr, "", dwStyle, rectDefault, pParent)) {
    m_bInRecalcLayout = FALSE;
    return FALSE;
  }
  DWORD dockStyle = (dwBarStyle & (CBRS_ALIGN_LEFT | CBRS_ALIGN_RIGHT)) ? CBRS_ALIGN_LEFT : CBRS_ALIGN_TOP;
  dockStyle |= dwBarStyle & CBRS_FLOAT_MULTI;
  // Made as the owner's child, so it joins the owner's bars, then moved in here.
  if (!m_wndDockBar.Create(pParent, WS_CHILD | WS_VISIBLE | dockStyle, AFX_IDW_DOCKBAR_FLOAT)) {
    m_bInRecalcLayout = FALSE;
    return FALSE;
  }
  m_wndDockBar.SetParent(this);
  m_bInRecalcLayout = FALSE;
  return TRUE;
}

// The frame fits its dock bar and takes its title.
void CMiniDockFrameWnd::RecalcLayout(BOOL) {
  if (m_bInRecalcLayout || !m_wndDockBar.m_hWnd) return;
  m_bInRecalcLayout = TRUE;
  m_nIdleFlags &= ~(idleLayout | idleNotify);
  CRect rect(0, 0, 32767, 32767);
  RepositionBars(0, 0xFFFF, AFX_IDW_PANE_FIRST, reposQuery, &rect, &rect, FALSE);
  RepositionBars(0, 0xFFFF, AFX_IDW_PANE_FIRST, reposExtra, &m_rectBorder, &rect, TRUE);
  ::AdjustWindowRectEx(&rect, GetStyle(), FALSE, GetExStyle());
  SetWindowPos(nullptr, 0, 0, rect.Width(), rect.Height(), SWP_NOACTIVATE | SWP_NOMOVE | SWP_NOZORDER);
  CString title;
  m_wndDockBar.GetWindowText(title);
  CString current;
  GetWindowText(current);
  if (current != title) SetWindowText(title);
  m_bInRecalcLayout = FALSE;
}

// Closing a floating frame hides its bars; the frame goes with the last one.
void CMiniDockFrameWnd::OnClose() { m_wndDockBar.ShowAll(FALSE); }

// While a floating frame is active, its owner's caption stays active too.
void CMiniDockFrameWnd::OnActivate(UINT nState, CWnd* pWndOther, BOOL) {
  Default();
  CWnd* pOwner = CWnd::FromHandlePermanent(::GetWindow(m_hWnd, GW_OWNER));
  if (!pOwner || !(GetStyle() & MFS_SYNCACTIVE)) return;
  // Passing to another floating frame of the owner keeps it; any other window ends it.
  bool stay = nState != WA_INACTIVE || (pWndOther && ::GetWindow(pWndOther->m_hWnd, GW_OWNER) == pOwner->m_hWnd);
  if (stay)
    pOwner->m_nFlags |= WF_STAYACTIVE;
  else
    pOwner->m_nFlags &= ~WF_STAYACTIVE;
  pOwner->SendMessage(WM_NCACTIVATE, stay || ::GetActiveWindow() == pOwner->m_hWnd);
}

int CMiniDockFrameWnd::OnMouseActivate(CWnd*, UINT, UINT) { return MA_ACTIVATE; }

CControlBar* CMiniDockFrameWnd::CaptionBar() {
  if (m_wndDockBar.m_dwStyle & CBRS_FLOAT_MULTI) return nullptr;
  for (INT_PTR i = 1; i < m_wndDockBar.m_arrBars.GetSize(); ++i)
    if (CControlBar* pBar = m_wndDockBar.GetDockedControlBar(static_cast<int>(i)))
      return pBar->m_pDockContext ? pBar : nullptr;
  return nullptr;
}

// Dragging the caption drags the bar: it may dock again on the way.
void CMiniDockFrameWnd::OnNcLButtonDown(UINT nHitTest, CPoint point) {
  CControlBar* pBar = nHitTest == HTCAPTION ? CaptionBar() : nullptr;
  if (!pBar) {
    Default();
    return;
  }
  if (CWnd* pOwner = CWnd::FromHandle(::GetWindow(m_hWnd, GW_OWNER))) pOwner->SetActiveWindow();
  pBar->m_pDockContext->StartDrag(point);
}

void CMiniDockFrameWnd::OnNcLButtonDblClk(UINT nHitTest, CPoint point) {
  CControlBar* pBar = nHitTest == HTCAPTION ? CaptionBar() : nullptr;
  if (!pBar) {
    Default();
    return;
  }
  pBar->m_pDockContext->ToggleDocking();
}
