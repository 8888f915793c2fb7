#include "toolkit/bars/HiddenButtonsPopup.h"

#include <algorithm>

#include "toolkit/bars/ToolBarMessages.h"
#include "toolkit/common/SharedState.h"
#include "toolkit_resource.h"

IMPLEMENT_DYNAMIC(CXTHiddenButtonsToolbar, CXTToolBar)
IMPLEMENT_DYNAMIC(CXTHiddenButtonsWndHook, CXTWndHook)
IMPLEMENT_DYNAMIC(CXTExpMenuWnd, CWnd)

namespace {

const UINT kPopupClassStyle = CS_SAVEBITS | CS_CLASSDC | CS_HREDRAW | CS_VREDRAW;
const DWORD kPopupStyle = WS_POPUP | WS_DLGFRAME;
const DWORD kFrameStyles = WS_CAPTION | WS_THICKFRAME;
const DWORD kFrameExStyles = WS_EX_STATICEDGE | WS_EX_WINDOWEDGE | WS_EX_DLGMODALFRAME;
// Bar styles of the pop-up's tool bars: floating, dynamic, with tips, at the top.
const DWORD kHiddenBarStyle = WS_CHILD | WS_VISIBLE | CBRS_ALIGN_TOP | CBRS_FLYBY | CBRS_TOOLTIPS |
                              CBRS_SIZE_DYNAMIC | CBRS_FLOATING;
const DWORD kCustomizeBarStyle = kHiddenBarStyle & ~CBRS_FLOATING;
const int kPopupBackColor = 41;
const int kFrameColor = 43;
const int kOpenEdgeColor = 30;
const int kWideButton = 41;
const int kWideRow = 250;
const int kButtonsARow = 6;
const int kBarGap = 2;

}  // namespace

COLORREF CXTHiddenButtonsToolbar::GetBackColor() const {
  return GetSharedState().m_xpLook ? GetToolkitColor(kPopupBackColor) : GetSharedState().m_clrFace;
}

LRESULT CXTHiddenButtonsWndHook::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_NCACTIVATE:
      return Default(message, TRUE, lParam);
    case WM_COMMAND:
      if (m_pPopup->IsLentControl(LOWORD(wParam))) break;
      // Handled once the pop-up is gone, as if it had never been open.
      ::PostMessageA(m_hWnd, message, wParam, lParam);
      m_pPopup->Close();
      return 0;
    case XTWM_DROPDOWN_CLOSED:
      m_pPopup->PostMessage(WM_CLOSE);
      break;
    default:
      break;
  }
  return Default(message, wParam, lParam);
}

BEGIN_MESSAGE_MAP(CXTExpMenuWnd, CWnd)
ON_WM_CREATE()
ON_WM_DESTROY()
ON_WM_NCCALCSIZE()
ON_WM_NCPAINT()
ON_WM_ACTIVATE()
ON_WM_ACTIVATEAPP()
ON_WM_KILLFOCUS()
ON_WM_ERASEBKGND()
ON_WM_WINDOWPOSCHANGED()
ON_COMMAND(XT_IDC_CUSTOMIZE, OnCustomize)
END_MESSAGE_MAP()

CXTExpMenuWnd::CXTExpMenuWnd(const CRect& chevronRect, CXTToolBar* bar, CWnd* chevron)
    : m_hook(this), m_chevronRect(chevronRect), m_pBar(bar), m_notifyWnd(chevron ? chevron->m_hWnd : nullptr) {
  m_hiddenBar.m_pMenu = this;
  m_customizeBar.m_pMenu = this;
}

CXTExpMenuWnd* CXTExpMenuWnd::Open(const CRect& chevronRect, CXTToolBar* bar, CWnd* chevron) {
  CXTExpMenuWnd* popup = new CXTExpMenuWnd(chevronRect, bar, chevron);
  LPCSTR className = AfxRegisterWndClass(kPopupClassStyle, ::LoadCursor(nullptr, IDC_ARROW));
  if (!popup->CreateEx(0, className, nullptr, kPopupStyle, CRect(0, 0, 0, 0), bar, 0)) {
    // A window that never was leaves the object to us.
    if (!popup->m_hWnd) delete popup;
    return nullptr;
  }
  if (!popup->ShowHiddenButtonsPopup()) {
    popup->Close();
    return nullptr;
  }
  return popup;
}

void CXTExpMenuWnd::Close() {
  if (m_bClosing) return;
  m_bClosing = TRUE;
  DestroyWindow();
}

BOOL CXTExpMenuWnd::IsLentControl(UINT id) const {
  return m_hiddenBar.m_hWnd && ::GetDlgItem(m_hiddenBar.m_hWnd, static_cast<int>(id)) != nullptr;
}

BOOL CXTExpMenuWnd::ShowHiddenButtonsPopup() {
  const int buttonWidth = LOWORD(m_pBar->SendMessage(TB_GETBUTTONSIZE));
  const int rowWidth = buttonWidth > kWideButton ? kWideRow : kButtonsARow * buttonWidth;
  m_pBar->FillHiddenButtons(&m_hiddenBar, rowWidth);
  CSize size(0, 0);
  if (m_hiddenBar.GetButtonCount() > 0) size = m_hiddenBar.CalcDynamicLayout(rowWidth, LM_HORZ);
  if (m_customizeBar.m_hWnd) {
    const CSize customize = m_customizeBar.CalcDynamicLayout(rowWidth, LM_HORZ);
    size.cx = std::max(size.cx, customize.cx);
    size.cy += customize.cy;
    m_customizeBar.SendMessage(TB_SETBUTTONSIZE, 0, MAKELPARAM(0, ::GetSystemMetrics(SM_CYMENU)));
    m_customizeBar.SendMessage(TB_SETBUTTONWIDTH, 0, MAKELPARAM(size.cx, size.cx));
  }
  CRect frame(0, 0, 100, 100);
  SendMessage(WM_NCCALCSIZE, FALSE, reinterpret_cast<LPARAM>(&frame));
  size.cx += 100 - frame.Width();
  size.cy += 100 - frame.Height();
  m_hiddenBar.OnUpdateCmdUI(m_pBar->GetParentFrame(), TRUE);
  SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(GetSharedState().GetFont(CXTSharedState::kFontNormal).m_hObject));
  const CSize window(size.cx + 6, size.cy + 3);
  const CPoint origin = PopupOrigin(window);
  return SetWindowPos(nullptr, origin.x, origin.y, window.cx, window.cy, SWP_NOZORDER | SWP_SHOWWINDOW);
}

// Below a bar at the top or floating, above one at the bottom, beside one at a side.
CPoint CXTExpMenuWnd::PopupOrigin(CSize window) const {
  const BOOL flat = GetSharedState().m_xpLook;
  const DWORD style = m_pBar->GetBarStyle();
  const CRect& chevron = m_chevronRect;
  if (!(style & CBRS_FLOATING)) {
    if (style & CBRS_ALIGN_BOTTOM) return CPoint(chevron.left, chevron.top - window.cy + 1 - (flat ? 0 : 2));
    if (style & CBRS_ALIGN_RIGHT) return CPoint(chevron.left - window.cx + 1, chevron.top);
    if (style & CBRS_ALIGN_LEFT) return CPoint(chevron.right - (flat ? 1 : 0), chevron.top);
  }
  return CPoint(chevron.left, chevron.bottom - (flat ? 1 : 0));
}

int CXTExpMenuWnd::OnCreate(LPCREATESTRUCTA lpcs) {
  if (CWnd::OnCreate(lpcs) == -1) return -1;
  m_hook.HookWindow(m_pBar->GetParentFrame());
  if (GetSharedState().m_xpLook) {
    ModifyStyle(kFrameStyles, 0);
    ModifyStyleEx(kFrameExStyles, 0);
    SetWindowPos(nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
  }
  const DWORD lookStyles = m_pBar->GetStyle() & (TBSTYLE_FLAT | TBSTYLE_LIST);
  if (!m_hiddenBar.CreateEx(this, lookStyles, kHiddenBarStyle, CRect(0, 0, 0, 0), CXTToolBar::kStandardBarId))
    return -1;
  m_pBar->LendLookTo(m_hiddenBar);
  if (m_pBar->IsCustomizable() && !CreateCustomizeBar()) return -1;
  return 0;
}

BOOL CXTExpMenuWnd::CreateCustomizeBar() {
  const DWORD style = kCustomizeBarStyle | (m_pBar->HasHiddenButtons() ? CBRS_BORDER_TOP : 0);
  if (!m_customizeBar.CreateEx(this, TBSTYLE_FLAT | TBSTYLE_LIST, style, CRect(0, 0, 0, 0),
                               CXTToolBar::kStandardBarId))
    return FALSE;
  const UINT command = XT_IDC_CUSTOMIZE;
  if (!m_customizeBar.SetButtons(&command, 1)) return FALSE;
  CString text;
  text.LoadString(IDS_XT_CUSTOMIZE);
  return m_customizeBar.SetButtonText(0, text);
}

void CXTExpMenuWnd::OnDestroy() {
  m_hook.HookWindow(static_cast<HWND>(nullptr));
  // The lent controls go home hidden; the bar places them when they fit again.
  for (HWND child = ::GetWindow(m_hiddenBar.m_hWnd, GW_CHILD); child;) {
    HWND next = ::GetWindow(child, GW_HWNDNEXT);
    if (::GetDlgCtrlID(child) != XT_IDC_CUSTOMIZE) {
      ::ShowWindow(child, SW_HIDE);
      ::SetParent(child, m_pBar->m_hWnd);
    }
    child = next;
  }
  if (m_notifyWnd) ::SendMessageA(m_notifyWnd, XTWM_CHEVRON_POPUP_CLOSED, 0, 0);
  CWnd::OnDestroy();
}

void CXTExpMenuWnd::OnNcCalcSize(BOOL, NCCALCSIZE_PARAMS* params) {
  if (!GetSharedState().m_xpLook) {
    Default();
    return;
  }
  ::InflateRect(&params->rgrc[0], -1, -1);
}

void CXTExpMenuWnd::OnNcPaint() {
  if (GetSharedState().m_xpLook) {
    CWindowDC dc(this);
    CRect window;
    GetWindowRect(&window);
    CRect frame(0, 0, window.Width(), window.Height());
    const COLORREF color = GetToolkitColor(kFrameColor);
    dc.Draw3dRect(&frame, color, color);
    PaintOpenEdge(&dc, window);
  }
  Default();
}

// The piece of the frame the chevron touches stays open towards it.
void CXTExpMenuWnd::PaintOpenEdge(CDC* dc, const CRect& window) const {
  if (m_chevronRect.IsRectEmpty()) return;
  CRect touching = m_chevronRect;
  touching.InflateRect(1, 1);
  CRect edge;
  if (!edge.IntersectRect(&touching, &window)) return;
  edge.OffsetRect(-window.left, -window.top);
  const bool above = m_chevronRect.bottom <= window.top + 1, below = m_chevronRect.top >= window.bottom - 1;
  if (above || below) {
    const int y = above ? 0 : window.Height() - 1;
    dc->FillSolidRect(edge.left + 1, y, std::max(0, edge.Width() - 2), 1, GetToolkitColor(kOpenEdgeColor));
  } else {
    const int x = m_chevronRect.right <= window.left + 1 ? 0 : window.Width() - 1;
    dc->FillSolidRect(x, edge.top + 1, 1, std::max(0, edge.Height() - 2), GetToolkitColor(kOpenEdgeColor));
  }
}

void CXTExpMenuWnd::OnActivate(UINT state, CWnd*, BOOL) {
  Default();
  if (state == WA_INACTIVE) Close();
}

void CXTExpMenuWnd::OnActivateApp(BOOL active, DWORD) {
  Default();
  if (!active) Close();
}

void CXTExpMenuWnd::OnKillFocus(CWnd* newFocus) {
  if (newFocus == this) return;
  Default();
  ::ReleaseCapture();
}

BOOL CXTExpMenuWnd::OnEraseBkgnd(CDC* dc) {
  CRect client;
  GetClientRect(&client);
  dc->FillSolidRect(&client, m_hiddenBar.GetBackColor());
  return TRUE;
}

void CXTExpMenuWnd::OnWindowPosChanged(WINDOWPOS* pos) {
  Default();
  if (pos->cx <= 0 || pos->cy <= 0 || !m_hiddenBar.m_hWnd) return;
  CRect window, client;
  GetWindowRect(&window);
  GetClientRect(&client);
  const int width = pos->cx - (window.Width() - client.Width());
  int hiddenHeight = 0;
  if (m_hiddenBar.GetButtonCount() > 0)
    hiddenHeight = m_hiddenBar.CalcDynamicLayout(width, LM_HORZ | LM_COMMIT).cy;
  m_hiddenBar.SetWindowPos(nullptr, 1, 1, width, hiddenHeight, SWP_NOZORDER | SWP_NOACTIVATE);
  if (!m_customizeBar.m_hWnd) return;
  const int top = hiddenHeight < 4 ? 1 : hiddenHeight + kBarGap;
  const int customizeHeight = m_customizeBar.CalcDynamicLayout(width - 2, LM_HORZ | LM_COMMIT).cy;
  m_customizeBar.SetWindowPos(nullptr, 1, top, width - 2, customizeHeight, SWP_NOZORDER | SWP_NOACTIVATE);
}

void CXTExpMenuWnd::OnCustomize() {
  if (m_notifyWnd) ::PostMessageA(m_notifyWnd, WM_COMMAND, XT_IDC_CUSTOMIZE, 0);
  Close();
}
