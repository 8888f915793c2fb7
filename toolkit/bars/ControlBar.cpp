#include "toolkit/bars/ControlBar.h"

#include <algorithm>
#include <iterator>

#include "classlib/dialog.h"
#include "classlib/docking/dockbar.h"
#include "classlib/docking/minidockframe.h"
#include "classlib/view/view.h"
#include "toolkit/bars/BarMessages.h"
#include "toolkit/common/MemDC.h"
#include "toolkit/common/SharedState.h"
#include "toolkit/docking/DockBar.h"
#include "toolkit/docking/DockDragContext.h"

IMPLEMENT_DYNAMIC(CXTControlBar, CControlBar)

BEGIN_MESSAGE_MAP(CXTControlBar, CControlBar)
ON_WM_WINDOWPOSCHANGING()
ON_WM_RBUTTONDOWN()
ON_WM_ERASEBKGND()
ON_WM_NCPAINT()
ON_WM_PAINT()
ON_WM_CREATE()
ON_WM_SETCURSOR()
ON_WM_DESTROY()
ON_MESSAGE(WM_IDLEUPDATECMDUI, OnIdleUpdateCmdUI)
ON_MESSAGE(XTWM_ADDREBAR, OnAddRebar)
ON_MESSAGE(XTWM_REBAR_NOTIFY, OnRebarNotify)
ON_MESSAGE(XTWM_QUERYFULLWINDOWDRAG, OnQueryFullWindowDrag)
ON_MESSAGE(XTWM_REBAR_QUERY, OnRebarQuery)
END_MESSAGE_MAP()

namespace {
const SIZE kDefaultSize = {200, 100};
const int kBarFontPoints = 8;
// A bar's edge that moves leaves this much border to repaint on either side.
const int kBorderStrip = 2;

// The bar fonts, each copied from a shared font at the bar's point size.
struct BarFontSource {
  CFont CXTControlBar::*font;
  CXTSharedState::Font shared;
};

// A tip request the owner left without a text.
bool IsUnansweredTip(const NMHDR* hdr) {
  if (hdr->code == TTN_GETDISPINFOA) {
    const NMTTDISPINFOA* info = reinterpret_cast<const NMTTDISPINFOA*>(hdr);
    return !info->hinst && (!info->lpszText || info->lpszText == LPSTR_TEXTCALLBACKA || !*info->lpszText);
  }
  if (hdr->code == TTN_GETDISPINFOW) {
    const NMTTDISPINFOW* info = reinterpret_cast<const NMTTDISPINFOW*>(hdr);
    return !info->hinst && (!info->lpszText || info->lpszText == LPSTR_TEXTCALLBACKW || !*info->lpszText);
  }
  return false;
}

// What a bar's child controls tell their parent: the owner decides.
const UINT kOwnerMessages[] = {WM_DRAWITEM,   WM_MEASUREITEM, WM_DELETEITEM, WM_VKEYTOITEM,
                               WM_CHARTOITEM, WM_COMPAREITEM, WM_NOTIFY,     WM_COMMAND};

bool IsOwnerRouted(UINT message) {
  return std::find(std::begin(kOwnerMessages), std::end(kOwnerMessages), message) != std::end(kOwnerMessages);
}
}  // namespace

CXTControlBar::CXTControlBar() {
  m_cxLeftBorder = m_cxRightBorder = 6;
  m_cyTopBorder = m_cyBottomBorder = 1;
  m_cxDefaultGap = 2;
  m_nMRUWidth = 0x7FFF;
  for (SIZE& size : m_defaultSizes) size = kDefaultSize;
  CreateBarFonts();
}

CXTControlBar::~CXTControlBar() { m_visibilityListeners.SetSize(0); }

void CXTControlBar::CreateBarFonts() {
  static const BarFontSource kSources[] = {
      {&CXTControlBar::m_fontNormal, CXTSharedState::kFontNormal},
      {&CXTControlBar::m_fontBold, CXTSharedState::kFontBold},
      {&CXTControlBar::m_fontVertical, CXTSharedState::kFontVertical},
  };
  HDC screen = ::GetDC(nullptr);
  int height = -::MulDiv(kBarFontPoints, ::GetDeviceCaps(screen, LOGPIXELSY), 72);
  ::ReleaseDC(nullptr, screen);
  for (const BarFontSource& source : kSources) {
    LOGFONTA lf = {};
    GetSharedState().GetFont(source.shared).GetLogFont(&lf);
    lf.lfHeight = height;
    CFont& font = this->*source.font;
    font.DeleteObject();
    font.CreateFontIndirect(&lf);
  }
}

// ---- styles and borders

void CXTControlBar::SetBorders(const RECT* borders) {
  SetBorders(borders->left, borders->top, borders->right, borders->bottom);
}

CRect CXTControlBar::GetBorders() const {
  return CRect(m_cxLeftBorder, m_cyTopBorder, m_cxRightBorder, m_cyBottomBorder);
}

void CXTControlBar::SetXTBarStyle(DWORD style) {
  if (m_dwXTBarStyle != style) m_dwXTBarStyle = style;
}

BOOL CXTControlBar::ModifyXTBarStyle(DWORD remove, DWORD add, BOOL redraw) {
  SetXTBarStyle((m_dwXTBarStyle & ~remove) | add);
  // The frame changes; the bar keeps its place in the z-order.
  SetWindowPos(nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_FRAMECHANGED);
  if (redraw) Invalidate();
  // The toolkit's dock bar lays out and draws its side by the same word.
  if (!m_pDockBar) return TRUE;
  if (m_pDockBar->IsKindOf(RUNTIME_CLASS(CXTDockBar)))
    static_cast<CXTDockBar*>(m_pDockBar)->SetDockStyle(m_dwXTBarStyle);
  if (redraw) m_pDockBar->Invalidate();
  return TRUE;
}

void CXTControlBar::SetContextMenu(UINT menuId, int subIndex) {
  m_nContextMenuId = menuId;
  m_nContextMenuSubIndex = subIndex;
}

// ---- docked side

UINT CXTControlBar::ParentId() const {
  HWND parent = m_hWnd ? ::GetParent(m_hWnd) : nullptr;
  return parent ? static_cast<UINT>(::GetDlgCtrlID(parent)) : 0;
}

BOOL CXTControlBar::IsLeftDocked() const { return ParentId() == AFX_IDW_DOCKBAR_LEFT; }
BOOL CXTControlBar::IsRightDocked() const { return ParentId() == AFX_IDW_DOCKBAR_RIGHT; }
BOOL CXTControlBar::IsTopDocked() const { return ParentId() == AFX_IDW_DOCKBAR_TOP; }
BOOL CXTControlBar::IsBottomDocked() const { return ParentId() == AFX_IDW_DOCKBAR_BOTTOM; }
BOOL CXTControlBar::IsHorzDocked() const { return IsTopDocked() || IsBottomDocked(); }
BOOL CXTControlBar::IsVertDocked() const { return IsLeftDocked() || IsRightDocked(); }
BOOL CXTControlBar::IsFloating() const { return !IsHorzDocked() && !IsVertDocked(); }

COLORREF CXTControlBar::GetBackColor() const { return GetSharedState().m_clrFace; }

BOOL CXTControlBar::GetBandInfo(REBARBANDINFOA* info, BOOL bHorz) {
  info->fMask |= RBBIM_CHILDSIZE;
  CSize size = CalcFixedLayout(FALSE, bHorz);
  info->cxMinChild = size.cx;
  info->cyMinChild = size.cy;
  return TRUE;
}

void CXTControlBar::EnableDocking(DWORD dwDockStyle) {
  // The toolkit's drag context, made before the class library would make its own.
  if (!m_pDockContext) m_pDockContext = new CXTDockDragContext(this);
  CControlBar::EnableDocking(dwDockStyle);
  if (!m_hWndOwner) m_hWndOwner = ::GetParent(m_hWnd);
}

// ---- the area inside borders and gripper

void CXTControlBar::CalcInsideRect(CRect& rect, BOOL bHorz) const {
  const int doubled = 2;
  if (m_dwStyle & CBRS_BORDER_LEFT) rect.left += doubled;
  if (m_dwStyle & CBRS_BORDER_TOP) rect.top += doubled;
  if (m_dwStyle & CBRS_BORDER_RIGHT) rect.right -= doubled;
  if (m_dwStyle & CBRS_BORDER_BOTTOM) rect.bottom -= doubled;
  // A vertical bar's borders turn with it.
  if (bHorz) {
    rect.left += m_cxLeftBorder;
    rect.top += m_cyTopBorder;
    rect.right -= m_cxRightBorder;
    rect.bottom -= m_cyBottomBorder;
  } else {
    rect.left += m_cyTopBorder;
    rect.top += m_cxLeftBorder;
    rect.right -= m_cyBottomBorder;
    rect.bottom -= m_cxRightBorder;
  }
  const int gripper = 7;
  if ((m_dwStyle & (CBRS_GRIPPER | CBRS_FLOATING)) != CBRS_GRIPPER) return;
  if (bHorz)
    rect.left += gripper;
  else
    rect.top += gripper;
}

// ---- showing, status text, idle update

void CXTControlBar::DelayShow(BOOL bShow) {
  CControlBar::DelayShow(bShow);
  m_visibilityListeners.NotifyAll(IsVisible());
}

BOOL CXTControlBar::SetStatusText(INT_PTR nHit) {
  if (!CControlBar::SetStatusText(nHit)) return FALSE;
  CWnd* owner = GetOwner();
  if (owner && owner->GetDescendantWindow(AFX_IDW_STATUS_BAR)) return TRUE;
  // An owner without a status line: the main window shows the prompt.
  CWnd* main = AfxGetMainWnd();
  if (!main) return TRUE;
  if (nHit == -1)
    main->SendMessage(WM_POPMESSAGESTRING, AFX_IDS_IDLEMESSAGE);
  else
    main->SendMessage(WM_SETMESSAGESTRING, static_cast<WPARAM>(nHit));
  return TRUE;
}

CWnd* CXTControlBar::IdleUpdateTarget() const {
  CWnd* owner = GetOwner();
  HWND inner = m_hWnd;
  for (HWND h = ::GetParent(inner); h; h = ::GetParent(h)) {
    CWnd* w = CWnd::FromHandlePermanent(h);
    if (w && (w->IsKindOf(RUNTIME_CLASS(CDialog)) || w->IsKindOf(RUNTIME_CLASS(CXTControlBar)))) {
      if (owner && IsUpdateTarget(owner)) return owner;
      return GetParentFrame();
    }
  }
  if (owner && owner->IsKindOf(RUNTIME_CLASS(CFrameWnd))) return owner;
  return GetParentFrame();
}

BOOL ApplyIdleShowState(CControlBar* bar) {
  BOOL visible = (bar->GetStyle() & WS_VISIBLE) != 0;
  UINT swp = 0;
  if ((bar->m_nStateFlags & CControlBar::delayHide) && visible) swp = SWP_HIDEWINDOW;
  if ((bar->m_nStateFlags & CControlBar::delayShow) && !visible) swp = SWP_SHOWWINDOW;
  bar->m_nStateFlags &= ~(CControlBar::delayShow | CControlBar::delayHide);
  if (swp) bar->SetWindowPos(nullptr, 0, 0, 0, 0, swp | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  CDockBar* dockBar = bar->m_pDockBar;
  return (bar->GetStyle() & WS_VISIBLE) && (!dockBar || (dockBar->GetStyle() & WS_VISIBLE));
}

LRESULT CXTControlBar::OnIdleUpdateCmdUI(WPARAM wParam, LPARAM) {
  if (!ApplyIdleShowState(this)) return 0;
  if (CWnd* target = IdleUpdateTarget()) OnUpdateCmdUI(static_cast<CFrameWnd*>(target), static_cast<BOOL>(wParam));
  return 0;
}

// ---- messages that belong to the owner

LRESULT CXTControlBar::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (!IsOwnerRouted(message)) return CWnd::WindowProc(message, wParam, lParam);
  LRESULT result = 0;
  if (OnWndMsg(message, wParam, lParam, &result)) return result;
  CWnd* owner = GetOwner();
  if (owner) result = owner->SendMessage(message, wParam, lParam);
  // A tip the owner has no text for: the bar's own control may know one.
  if (message == WM_NOTIFY && IsUnansweredTip(reinterpret_cast<NMHDR*>(lParam)))
    return DefWindowProc(message, wParam, lParam);
  return result;
}

// ---- window messages

int CXTControlBar::OnCreate(LPCREATESTRUCTA lpcs) {
  if (CControlBar::OnCreate(lpcs) == -1) return -1;
  SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(GetSharedState().GetFont(CXTSharedState::kFontNormal).m_hObject),
              TRUE);
  m_pCreationFrame = GetParentFrame();
  return 0;
}

void CXTControlBar::OnDestroy() {
  // A view inside the bar must not stay any frame's active view.
  CFrameWnd* parentFrame = GetParentFrame();
  if (parentFrame && parentFrame->IsKindOf(RUNTIME_CLASS(CMiniDockFrameWnd))) parentFrame = nullptr;
  CFrameWnd* frames[] = {GetTopLevelFrame(), parentFrame, m_pCreationFrame};
  for (CFrameWnd* frame : frames) {
    if (!frame) continue;
    CView* view = frame->GetActiveView();
    if (view && ::IsChild(m_hWnd, view->m_hWnd)) frame->SetActiveView(nullptr, TRUE);
  }
  CControlBar::OnDestroy();
}

void CXTControlBar::OnPaint() {
  CPaintDC dc(this);
  if (!(GetStyle() & WS_VISIBLE)) return;
  CRect client;
  GetClientRect(&client);
  CXTMemDC memDC(&dc, &client, GetBackColor());
  DoPaint(&memDC);
}

void CXTControlBar::OnWindowPosChanging(WINDOWPOS* pos) {
  Default();
  if (pos->flags & SWP_NOSIZE) return;
  CRect window;
  GetWindowRect(&window);
  if (window.Width() != pos->cx && (m_dwStyle & CBRS_BORDER_RIGHT)) {
    CRect oldEdge(window.Width() - kBorderStrip, 0, window.Width(), window.Height());
    CRect newEdge(pos->cx - kBorderStrip, 0, pos->cx, window.Height());
    RedrawWindow(&oldEdge, nullptr, RDW_INVALIDATE | RDW_FRAME);
    RedrawWindow(&newEdge, nullptr, RDW_INVALIDATE | RDW_FRAME);
  }
  if (window.Height() != pos->cy && (m_dwStyle & CBRS_BORDER_BOTTOM)) {
    CRect oldEdge(0, window.Height() - kBorderStrip, window.Width(), window.Height());
    CRect newEdge(0, pos->cy - kBorderStrip, window.Width(), pos->cy);
    RedrawWindow(&oldEdge, nullptr, RDW_INVALIDATE | RDW_FRAME);
    RedrawWindow(&newEdge, nullptr, RDW_INVALIDATE | RDW_FRAME);
  }
}

BOOL CXTControlBar::HitTestGripper() const {
  if (!(m_dwStyle & CBRS_GRIPPER)) return FALSE;
  CRect window, client;
  GetWindowRect(&window);
  ScreenToClient(&window);
  GetClientRect(&client);
  if (IsHorzDocked())
    window.right = client.left;
  else
    window.bottom = client.top;
  POINT cursor;
  ::GetCursorPos(&cursor);
  ScreenToClient(&cursor);
  return window.PtInRect(cursor);
}

BOOL CXTControlBar::OnSetCursor(CWnd*, UINT, UINT) {
  if (!m_bInRebar && HitTestGripper()) {
    ::SetCursor(GetSharedState().m_cursors[CXTSharedState::kCursorSizeAll]);
    return TRUE;
  }
  return static_cast<BOOL>(Default());
}

// ---- messages of rebar hosts

LRESULT CXTControlBar::OnAddRebar(WPARAM wParam, LPARAM lParam) {
  m_bInRebar = TRUE;
  return static_cast<BYTE>(GetBandInfo(reinterpret_cast<REBARBANDINFOA*>(lParam), wParam != 0));
}

LRESULT CXTControlBar::OnRebarNotify(WPARAM wParam, LPARAM lParam) {
  RebarBandNotify(lParam, wParam != 0);
  return 0;
}

LRESULT CXTControlBar::OnQueryFullWindowDrag(WPARAM, LPARAM) { return static_cast<BYTE>(CanDragFullWindow()); }

LRESULT CXTControlBar::OnRebarQuery(WPARAM, LPARAM lParam) { return static_cast<BYTE>(RebarQuery(lParam)); }
