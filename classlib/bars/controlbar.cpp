#include "classlib/bars/controlbar.h"

#include "classlib/docking/dockcontext.h"
#include "classlib/frame/framewnd.h"
#include "classlib/nonclient.h"
#include "classlib/resource.h"

IMPLEMENT_DYNAMIC(CControlBar, CWnd)

BEGIN_MESSAGE_MAP(CControlBar, CWnd)
  ON_MESSAGE(WM_SIZEPARENT, OnSizeParent)
  ON_MESSAGE(WM_IDLEUPDATECMDUI, OnIdleUpdateCmdUI)
  ON_WM_CREATE()
  ON_WM_DESTROY()
  ON_WM_TIMER()
  ON_WM_PAINT()
  ON_WM_ERASEBKGND()
  ON_WM_NCCALCSIZE()
  ON_WM_NCPAINT()
  ON_WM_MOUSEACTIVATE()
  ON_WM_LBUTTONDOWN()
  ON_WM_LBUTTONDBLCLK()
END_MESSAGE_MAP()

namespace {
// The flyby timer: while it runs, the bar checks that the mouse is still over it.
const UINT_PTR kFlybyCheckTimer = 0xE000;
const UINT kFlybyCheckMs = 200;
const int kBorder = 2;       // one bordered side
const int kGripperWidth = 8;  // the gripper and its gaps
}  // namespace

CControlBar::CControlBar() = default;

CControlBar::~CControlBar() {
  if (m_pDockSite) m_pDockSite->RemoveControlBar(this);
  delete m_pDockContext;
}

void CControlBar::GetBarInfo(CControlBarInfo* pInfo) {
  pInfo->m_nBarID = static_cast<UINT>(::GetDlgCtrlID(m_hWnd));
  pInfo->m_pBar = this;
  pInfo->m_bVisible = IsVisible();
  pInfo->m_nMRUWidth = m_nMRUWidth;
  pInfo->m_bHorz = (m_dwStyle & CBRS_ORIENT_HORZ) != 0;
  pInfo->m_bFloating = IsFloating();
  if (m_pDockBar) {
    CRect rect;
    GetWindowRect(&rect);
    m_pDockBar->ScreenToClient(&rect);
    pInfo->m_pointPos = rect.TopLeft();
  }
  pInfo->m_bDocking = m_pDockContext != nullptr;
  if (m_pDockContext) {
    pInfo->m_uMRUDockID = m_pDockContext->m_uMRUDockID;
    pInfo->m_rectMRUDockPos = m_pDockContext->m_rectMRUDockPos;
    pInfo->m_dwMRUFloatStyle = m_pDockContext->m_dwMRUFloatStyle;
    pInfo->m_ptMRUFloatPos = m_pDockContext->m_ptMRUFloatPos;
  }
}

void CControlBar::SetBarInfo(CControlBarInfo* pInfo, CFrameWnd* pFrameWnd) {
  m_nMRUWidth = pInfo->m_nMRUWidth;
  if (pInfo->m_bDocking && m_pDockContext) {
    m_pDockContext->m_uMRUDockID = pInfo->m_uMRUDockID;
    m_pDockContext->m_rectMRUDockPos = pInfo->m_rectMRUDockPos;
    m_pDockContext->m_dwMRUFloatStyle = pInfo->m_dwMRUFloatStyle;
    m_pDockContext->m_ptMRUFloatPos = pInfo->m_ptMRUFloatPos;
  }
  // A record without a place leaves the bar where its dock bar put it.
  if (m_pDockBar && !m_pDockBar->m_bFloating && pInfo->m_pointPos != CPoint(-1, -1))
    SetWindowPos(nullptr, pInfo->m_pointPos.x, pInfo->m_pointPos.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  pFrameWnd->ShowControlBar(this, pInfo->m_bVisible, TRUE);
}

void CControlBar::PostNcDestroy() {
  if (m_bAutoDelete) delete this;
}

DWORD CControlBar::SplitBarStyle(DWORD dwStyle) {
  m_dwStyle = dwStyle & CBRS_ALL;
  return dwStyle & ~CBRS_ALL;
}

void CControlBar::SetBarStyle(DWORD dwStyle) {
  DWORD old = m_dwStyle;
  m_dwStyle = dwStyle;
  if (old != dwStyle) OnBarStyleChange(old, dwStyle);
}

void CControlBar::SetBorders(int cxLeft, int cyTop, int cxRight, int cyBottom) {
  m_cxLeftBorder = cxLeft;
  m_cyTopBorder = cyTop;
  m_cxRightBorder = cxRight;
  m_cyBottomBorder = cyBottom;
}

// The bar's owner stays its first parent, wherever it is docked later.
void CControlBar::EnableDocking(DWORD dwDockStyle) {
  m_dwDockStyle = dwDockStyle;
  if (!m_pDockContext) m_pDockContext = new CDockContext(this);
  if (!m_hWndOwner) m_hWndOwner = ::GetParent(m_hWnd);
}

// A press on no tool drags the bar; a double click floats or docks it.
void CControlBar::OnLButtonDown(UINT, CPoint pt) {
  if (m_pDockBar && m_pDockContext && OnToolHitTest(pt, nullptr) == -1) {
    ClientToScreen(&pt);
    m_pDockContext->StartDrag(pt);
    return;
  }
  Default();
}

void CControlBar::OnLButtonDblClk(UINT, CPoint pt) {
  if (m_pDockBar && m_pDockContext && OnToolHitTest(pt, nullptr) == -1) {
    m_pDockContext->ToggleDocking();
    return;
  }
  Default();
}

CFrameWnd* CControlBar::GetDockingFrame() const {
  CFrameWnd* pFrame = GetParentFrame();
  return pFrame ? pFrame : m_pDockSite;
}

BOOL CControlBar::IsFloating() const {
  if (IsDockBar()) return static_cast<const CDockBar*>(this)->m_bFloating;
  return m_pDockBar && m_pDockBar->m_bFloating;
}

// ---- geometry

void CControlBar::CalcInsideRect(CRect& rect, BOOL bHorz) const {
  if (m_dwStyle & CBRS_BORDER_LEFT) rect.left += kBorder;
  if (m_dwStyle & CBRS_BORDER_TOP) rect.top += kBorder;
  if (m_dwStyle & CBRS_BORDER_RIGHT) rect.right -= kBorder;
  if (m_dwStyle & CBRS_BORDER_BOTTOM) rect.bottom -= kBorder;
  bool gripper = (m_dwStyle & (CBRS_GRIPPER | CBRS_FLOATING)) == CBRS_GRIPPER;
  if (bHorz) {
    rect.left += m_cxLeftBorder + (gripper ? kGripperWidth : 0);
    rect.top += m_cyTopBorder;
    rect.right -= m_cxRightBorder;
    rect.bottom -= m_cyBottomBorder;
  } else {
    rect.left += m_cyTopBorder;
    rect.top += m_cxLeftBorder + (gripper ? kGripperWidth : 0);
    rect.right -= m_cyBottomBorder;
    rect.bottom -= m_cxRightBorder;
  }
}

CSize CControlBar::CalcFixedLayout(BOOL bStretch, BOOL bHorz) {
  CSize size(bStretch && bHorz ? 32767 : 0, bStretch && !bHorz ? 32767 : 0);
  CRect inside;
  CalcInsideRect(inside, bHorz);
  // The inside of an empty rectangle is negative by the borders.
  size.cx -= inside.Width();
  size.cy -= inside.Height();
  return size;
}

CSize CControlBar::CalcDynamicLayout(int, DWORD nMode) {
  return CalcFixedLayout((nMode & LM_STRETCH) != 0, (nMode & LM_HORZ) != 0);
}

// ---- showing and hiding

void CControlBar::DelayShow(BOOL bShow) {
  BOOL visible = (GetStyle() & WS_VISIBLE) != 0;
  m_nStateFlags &= ~(delayHide | delayShow);
  if (bShow && !visible) m_nStateFlags |= delayShow;
  if (!bShow && visible) m_nStateFlags |= delayHide;
}

BOOL CControlBar::IsVisible() const {
  if (m_nStateFlags & delayHide) return FALSE;
  return (m_nStateFlags & delayShow) || (GetStyle() & WS_VISIBLE);
}

DWORD CControlBar::RecalcDelayShow(AFX_SIZEPARENTPARAMS* lpLayout) {
  DWORD dwStyle = (m_dwStyle & CBRS_ALIGN_ANY) | (GetStyle() & WS_VISIBLE);
  if (!(m_nStateFlags & (delayHide | delayShow))) return dwStyle;
  bool show = (m_nStateFlags & delayShow) != 0;
  dwStyle = show ? (dwStyle | WS_VISIBLE) : (dwStyle & ~WS_VISIBLE);
  if (lpLayout->hDWP) {
    m_nStateFlags &= ~(delayHide | delayShow);
    lpLayout->hDWP = ::DeferWindowPos(lpLayout->hDWP, m_hWnd, nullptr, 0, 0, 0, 0,
                                      SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE |
                                          (show ? SWP_SHOWWINDOW : SWP_HIDEWINDOW));
  }
  return dwStyle;
}

// ---- layout

LRESULT CControlBar::OnSizeParent(WPARAM, LPARAM lParam) {
  AFX_SIZEPARENTPARAMS* lpLayout = reinterpret_cast<AFX_SIZEPARENTPARAMS*>(lParam);
  DWORD dwStyle = RecalcDelayShow(lpLayout);
  if (!(dwStyle & WS_VISIBLE) || !(dwStyle & CBRS_ALIGN_ANY)) return 0;

  CRect rect(lpLayout->rect);
  CSize avail = rect.Size();
  DWORD dwMode = lpLayout->bStretch ? LM_STRETCH : 0;
  if ((m_dwStyle & CBRS_SIZE_DYNAMIC) && (m_dwStyle & CBRS_FLOATING))
    dwMode |= LM_HORZ | LM_MRUWIDTH;
  else if (dwStyle & CBRS_ORIENT_HORZ)
    dwMode |= LM_HORZ | LM_HORZDOCK;
  else
    dwMode |= LM_VERTDOCK;
  CSize size = CalcDynamicLayout(-1, dwMode);
  size.cx = size.cx < avail.cx ? size.cx : avail.cx;
  size.cy = size.cy < avail.cy ? size.cy : avail.cy;

  if (dwStyle & CBRS_ORIENT_HORZ) {
    lpLayout->sizeTotal.cy += size.cy;
    if (size.cx > lpLayout->sizeTotal.cx) lpLayout->sizeTotal.cx = size.cx;
    if (dwStyle & CBRS_ALIGN_TOP) {
      lpLayout->rect.top += size.cy;
    } else {
      rect.top = rect.bottom - size.cy;
      lpLayout->rect.bottom -= size.cy;
    }
  } else {
    lpLayout->sizeTotal.cx += size.cx;
    if (size.cy > lpLayout->sizeTotal.cy) lpLayout->sizeTotal.cy = size.cy;
    if (dwStyle & CBRS_ALIGN_LEFT) {
      lpLayout->rect.left += size.cx;
    } else {
      rect.left = rect.right - size.cx;
      lpLayout->rect.right -= size.cx;
    }
  }
  rect.right = rect.left + size.cx;
  rect.bottom = rect.top + size.cy;
  if (lpLayout->hDWP) AfxRepositionWindow(lpLayout, m_hWnd, &rect);
  return 0;
}

// ---- idle time

LRESULT CControlBar::OnIdleUpdateCmdUI(WPARAM wParam, LPARAM) {
  BOOL visible = (GetStyle() & WS_VISIBLE) != 0;
  UINT swp = 0;
  if ((m_nStateFlags & delayHide) && visible) swp = SWP_HIDEWINDOW;
  if ((m_nStateFlags & delayShow) && !visible) swp = SWP_SHOWWINDOW;
  m_nStateFlags &= ~(delayShow | delayHide);
  if (swp) SetWindowPos(nullptr, 0, 0, 0, 0, swp | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);

  // A docked bar updates only while its dock bar shows too.
  bool shown = (GetStyle() & WS_VISIBLE) && (!m_pDockBar || (m_pDockBar->GetStyle() & WS_VISIBLE));
  if (!shown) return 0;
  CWnd* pOwner = GetOwner();
  CFrameWnd* pTarget = pOwner && pOwner->IsKindOf(RUNTIME_CLASS(CFrameWnd)) ? static_cast<CFrameWnd*>(pOwner)
                                                                             : GetParentFrame();
  if (pTarget) OnUpdateCmdUI(pTarget, static_cast<BOOL>(wParam));
  return 0;
}

// ---- creation

int CControlBar::OnCreate(LPCREATESTRUCTA lpcs) {
  if (CWnd::OnCreate(lpcs) == -1) return -1;
  if (m_dwStyle & CBRS_TOOLTIPS) EnableToolTips();
  CWnd* pParent = GetParent();
  if (pParent && pParent->IsKindOf(RUNTIME_CLASS(CFrameWnd))) {
    m_pDockSite = static_cast<CFrameWnd*>(pParent);
    m_pDockSite->AddControlBar(this);
  }
  return 0;
}

void CControlBar::OnDestroy() {
  if (AfxGetThreadState()->m_pLastStatus == this) SetStatusText(-1);
  if (m_pDockBar) {
    m_pDockBar->DropBar(this);
    m_pDockBar = nullptr;
  }
  if (m_pDockSite) {
    m_pDockSite->RemoveControlBar(this);
    m_pDockSite = nullptr;
  }
  CWnd::OnDestroy();
}

// ---- messages that belong to the owner

LRESULT CControlBar::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_NOTIFY:
    case WM_COMMAND:
    case WM_DRAWITEM:
    case WM_MEASUREITEM:
    case WM_DELETEITEM:
    case WM_COMPAREITEM:
    case WM_VKEYTOITEM:
    case WM_CHARTOITEM: {
      LRESULT lResult = 0;
      if (OnWndMsg(message, wParam, lParam, &lResult)) return lResult;
      CWnd* pOwner = GetOwner();
      return pOwner ? pOwner->SendMessage(message, wParam, lParam) : 0;
    }
    default:
      return CWnd::WindowProc(message, wParam, lParam);
  }
}

// ---- fly-by status text

BOOL CControlBar::PreTranslateMessage(MSG* pMsg) {
  if (CWnd::PreTranslateMessage(pMsg)) return TRUE;
  if ((m_dwStyle & CBRS_FLYBY) && pMsg->message == WM_MOUSEMOVE) {
    CPoint point = pMsg->pt;
    ScreenToClient(&point);
    CRect client;
    GetClientRect(&client);
    INT_PTR nHit = -1;
    if (::PtInRect(&client, point) && !(GetStyle() & WS_DISABLED)) nHit = OnToolHitTest(point, nullptr);
    SetStatusText(nHit);
  }
  return FALSE;
}

BOOL CControlBar::SetStatusText(INT_PTR nHit) {
  CWnd* pOwner = GetOwner();
  AFX_THREAD_STATE* state = AfxGetThreadState();
  if (nHit == -1) {
    state->m_pLastStatus = nullptr;
    KillTimer(kFlybyCheckTimer);
    if (!(m_nStateFlags & statusSet)) return FALSE;
    m_nStateFlags &= ~statusSet;
    if (pOwner) pOwner->SendMessage(WM_POPMESSAGESTRING, AFX_IDS_IDLEMESSAGE);
    return TRUE;
  }
  if ((m_nStateFlags & statusSet) && state->m_nLastStatus == nHit) return FALSE;
  state->m_pLastStatus = this;
  state->m_nLastStatus = nHit;
  if (pOwner) pOwner->SendMessage(WM_SETMESSAGESTRING, static_cast<WPARAM>(nHit));
  m_nStateFlags |= statusSet;
  SetTimer(kFlybyCheckTimer, kFlybyCheckMs);
  return TRUE;
}

void CControlBar::CheckFlybyStillOver() {
  POINT pt;
  ::GetCursorPos(&pt);
  HWND under = ::WindowFromPoint(pt);
  if (under != m_hWnd && !::IsChild(m_hWnd, under)) SetStatusText(-1);
}

void CControlBar::OnTimer(UINT_PTR nIDEvent) {
  if (nIDEvent == kFlybyCheckTimer)
    CheckFlybyStillOver();
  else
    Default();
}

// ---- drawing

int CControlBar::OnMouseActivate(CWnd*, UINT, UINT) {
  // Clicking a bar never takes the activation from the frame's view.
  return MA_NOACTIVATE;
}

void CControlBar::OnNcCalcSize(BOOL, NCCALCSIZE_PARAMS* lpncsp) {
  CRect inside;
  CalcInsideRect(inside, (m_dwStyle & CBRS_ORIENT_HORZ) != 0);
  RECT& r = lpncsp->rgrc[0];
  r.left += inside.left;
  r.top += inside.top;
  r.right += inside.right;
  r.bottom += inside.bottom;
  if (r.right < r.left) r.right = r.left;
  if (r.bottom < r.top) r.bottom = r.top;
}

// The borders and gripper live outside the client area, which stays the bar's own.
void CControlBar::OnNcPaint() {
  CWindowDC dc(this);
  CRect window, client;
  GetNonClientRects(this, &window, &client);
  dc.ExcludeClipRect(&client);
  DrawBorders(&dc, window);
  DrawGripper(&dc, window);
}

BOOL CControlBar::OnEraseBkgnd(CDC* pDC) {
  CRect rect;
  GetClientRect(&rect);
  pDC->FillSolidRect(&rect, ::GetSysColor(COLOR_BTNFACE));
  return TRUE;
}

void CControlBar::OnPaint() {
  CPaintDC dc(this);
  DoPaint(&dc);
}

void CControlBar::DoPaint(CDC*) {}

void CControlBar::DrawBorders(CDC* pDC, CRect& rect) {
  pDC->FillSolidRect(&rect, ::GetSysColor(COLOR_BTNFACE));
  COLORREF shadow = ::GetSysColor(COLOR_BTNSHADOW), light = ::GetSysColor(COLOR_BTNHIGHLIGHT);
  if (m_dwStyle & CBRS_BORDER_TOP) pDC->FillSolidRect(rect.left, rect.top, rect.Width(), 1, shadow);
  if (m_dwStyle & CBRS_BORDER_BOTTOM) pDC->FillSolidRect(rect.left, rect.bottom - 1, rect.Width(), 1, shadow);
  if (m_dwStyle & CBRS_BORDER_LEFT) pDC->FillSolidRect(rect.left, rect.top, 1, rect.Height(), shadow);
  if (m_dwStyle & CBRS_BORDER_RIGHT) pDC->FillSolidRect(rect.right - 1, rect.top, 1, rect.Height(), shadow);
  if (m_dwStyle & CBRS_BORDER_TOP) pDC->FillSolidRect(rect.left, rect.top + 1, rect.Width(), 1, light);
  if (m_dwStyle & CBRS_BORDER_LEFT) pDC->FillSolidRect(rect.left + 1, rect.top, 1, rect.Height(), light);
}

void CControlBar::DrawGripper(CDC* pDC, const CRect& rect) {
  if ((m_dwStyle & (CBRS_GRIPPER | CBRS_FLOATING)) != CBRS_GRIPPER) return;
  COLORREF shadow = ::GetSysColor(COLOR_BTNSHADOW), light = ::GetSysColor(COLOR_BTNHIGHLIGHT);
  if (m_dwStyle & CBRS_ORIENT_HORZ) {
    int x = rect.left + m_cxLeftBorder;
    pDC->Draw3dRect(x, rect.top + m_cyTopBorder + kBorder, 3, rect.Height() - 2 * kBorder - m_cyTopBorder - m_cyBottomBorder,
                    light, shadow);
  } else {
    int y = rect.top + m_cxLeftBorder;
    pDC->Draw3dRect(rect.left + m_cyTopBorder + kBorder, y, rect.Width() - 2 * kBorder - m_cyTopBorder - m_cyBottomBorder, 3,
                    light, shadow);
  }
}
