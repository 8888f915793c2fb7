#include "toolkit/docking/MiniDockFrameWnd.h"

#include "classlib/docking/dockcontext.h"
#include "toolkit/bars/ControlBar.h"
#include "toolkit/common/MemDC.h"
#include "toolkit/common/SharedState.h"
#include "toolkit/controls/ControlMessages.h"
#include "toolkit/menus/MenuBar.h"
#include "toolkit_resource.h"

IMPLEMENT_DYNCREATE(CXTMiniDockFrameWnd, CMiniDockFrameWnd)

BEGIN_MESSAGE_MAP(CXTMiniDockFrameWnd, CMiniDockFrameWnd)
ON_WM_NCPAINT()
ON_WM_NCACTIVATE()
ON_WM_NCMOUSEMOVE()
ON_WM_NCLBUTTONDOWN()
ON_WM_NCLBUTTONUP()
ON_WM_SHOWWINDOW()
ON_WM_ERASEBKGND()
ON_MESSAGE(WM_SETTEXT, OnSetText)
ON_MESSAGE(WM_IDLEUPDATECMDUI, OnIdleUpdateCmdUI)
ON_MESSAGE(XTWM_INITCONTROL, OnBuildCaption)
END_MESSAGE_MAP()

namespace {
const int kGlyphCell = 10;
const COLORREF kGlyphMask = RGB(255, 0, 255);
const UINT_PTR kTipId = 1;
}  // namespace

BOOL CXTMiniDockFrameWnd::Create(CWnd* pParent, DWORD dwBarStyle) {
  if (!CMiniDockFrameWnd::Create(pParent, dwBarStyle)) return FALSE;
  m_glyphs.Create(IDB_XT_MENU_BAR_GLYPHS, kGlyphCell, 1, kGlyphMask);
  CreateCaptionTip();
  // The bar arrives after creation: the caption is built once it is there.
  PostMessage(XTWM_INITCONTROL);
  return TRUE;
}

void CXTMiniDockFrameWnd::CreateCaptionTip() {
  if (!m_tip.Create(this, TTS_ALWAYSTIP | TTS_NOPREFIX)) return;
  TOOLINFOA info = {};
  info.cbSize = TTTOOLINFOA_V2_SIZE;
  info.uFlags = TTF_TRACK | TTF_ABSOLUTE;
  info.hwnd = m_hWnd;
  info.uId = kTipId;
  info.lpszText = const_cast<LPSTR>("");
  m_tip.SendMessage(TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&info));
}

void CXTMiniDockFrameWnd::RecalcLayout(BOOL bNotify) {
  CMiniDockFrameWnd::RecalcLayout(bNotify);
  if (!m_hWnd || m_buttons.empty()) return;
  const int narrowest = GetSharedState().m_cxSmallIcon * (1 + static_cast<int>(m_buttons.size()));
  CRect window;
  GetWindowRect(&window);
  if (window.Width() < narrowest)
    SetWindowPos(nullptr, 0, 0, narrowest, window.Height(), SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

BOOL CXTMiniDockFrameWnd::IsToolkitBar(CWnd* pWnd) const {
  return m_hWnd && pWnd && pWnd->IsKindOf(RUNTIME_CLASS(CXTControlBar));
}

BOOL CXTMiniDockFrameWnd::IsMenuBar(CWnd* pWnd) const {
  return m_hWnd && pWnd && pWnd->IsKindOf(RUNTIME_CLASS(CXTMenuBar));
}

CControlBar* CXTMiniDockFrameWnd::GetFirstBar() const {
  if (!m_hWnd) return nullptr;
  for (int i = 1; i < static_cast<int>(m_wndDockBar.m_arrBars.GetSize()); ++i)
    if (CControlBar* pBar = m_wndDockBar.GetDockedControlBar(i)) return pBar;
  return nullptr;
}

CDockContext* CXTMiniDockFrameWnd::GetBarDragContext(CControlBar* pBar) const {
  return m_hWnd && pBar ? pBar->m_pDockContext : nullptr;
}

BOOL CXTMiniDockFrameWnd::DrawsOwnCaption() const { return IsToolkitBar(GetFirstBar()); }

CXTCaptionLook CXTMiniDockFrameWnd::CurrentLook() const {
  CXTCaptionLook look;
  look.flat = GetSharedState().m_xpLook != FALSE;
  BOOL gradient = FALSE;
  ::SystemParametersInfoA(SPI_GETGRADIENTCAPTIONS, 0, &gradient, 0);
  look.gradient = gradient != FALSE;
  return look;
}

// ---- the caption buttons

void CXTMiniDockFrameWnd::BuildCaption() {
  const BuiltLook look = GetSharedState().m_xpLook ? kFlatLook : kClassicLook;
  CControlBar* pBar = GetFirstBar();
  if (!pBar || look == m_builtLook) return;
  if (IsToolkitBar(pBar)) {
    m_buttons.clear();
    if (!IsMenuBar(pBar)) m_buttons.push_back(CXTCaptionButton());
    // The caption's own close button stands in for the system's.
    ModifyStyle(WS_SYSMENU, 0);
  }
  m_builtLook = look;
  RecalcLayout();
  if (IsWindowVisible()) {
    Invalidate();
    SetWindowPos(nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
  }
}

void CXTMiniDockFrameWnd::PlaceButtons() {
  CRect window;
  GetWindowRect(&window);
  XTPlaceCaptionButtons(m_buttons, window.Size(), CurrentLook());
}

CXTCaptionButton* CXTMiniDockFrameWnd::ButtonAt(CPoint screenPoint) {
  CRect window;
  GetWindowRect(&window);
  PlaceButtons();
  const CPoint point = screenPoint - window.TopLeft();
  for (CXTCaptionButton& button : m_buttons)
    if (!button.tooNarrow && button.rect.PtInRect(point)) return &button;
  return nullptr;
}

void CXTMiniDockFrameWnd::SetButtonStates(const CXTCaptionButton* pHot, const CXTCaptionButton* pPressed) {
  bool changed = false;
  for (CXTCaptionButton& button : m_buttons) {
    const BOOL hot = &button == pHot, pressed = &button == pPressed;
    changed |= button.hot != hot || button.pressed != pressed;
    button.hot = hot;
    button.pressed = pressed;
  }
  if (!changed) return;
  PaintCaption();
  CPoint cursor;
  ::GetCursorPos(&cursor);
  ShowCaptionTip(cursor, pHot && pHot->type == CXTCaptionButton::kClose);
}

void CXTMiniDockFrameWnd::ShowCaptionTip(CPoint point, BOOL closeTip) {
  if (!m_tip.m_hWnd) return;
  if (!closeTip) {
    m_tip.SendMessage(TTM_TRACKACTIVATE, FALSE, 0);
    return;
  }
  CString text;
  text.LoadString(IDS_XT_CLOSE);
  TOOLINFOA info = {};
  info.cbSize = TTTOOLINFOA_V2_SIZE;
  info.hwnd = m_hWnd;
  info.uId = kTipId;
  info.lpszText = const_cast<LPSTR>(static_cast<LPCSTR>(text));
  m_tip.SendMessage(TTM_UPDATETIPTEXTA, 0, reinterpret_cast<LPARAM>(&info));
  const int below = ::GetSystemMetrics(SM_CYCURSOR) / 2;
  m_tip.SendMessage(TTM_TRACKPOSITION, 0, MAKELPARAM(point.x, point.y + below));
  m_tip.SendMessage(TTM_TRACKACTIVATE, TRUE, reinterpret_cast<LPARAM>(&info));
}

// ---- painting

void CXTMiniDockFrameWnd::DrawCaptionButton(CDC* pDC, const CXTCaptionButton& button) {
  XTDrawCaptionButton(pDC, button, CurrentLook(), &m_glyphs);
}

void CXTMiniDockFrameWnd::PaintCaption() {
  if (!m_hWnd || !DrawsOwnCaption()) return;
  CWindowDC dc(this);
  CRect window, client;
  GetWindowRect(&window);
  GetClientRect(&client);
  ClientToScreen(&client);
  client.OffsetRect(-window.TopLeft());
  window.OffsetRect(-window.TopLeft());
  dc.ExcludeClipRect(&client);
  PlaceButtons();
  CString title;
  GetFirstBar()->GetWindowText(title);
  if (title.IsEmpty()) title.LoadString(IDS_XT_TOOLBAR);
  CXTMemDC memDC(&dc, &window);
  XTDrawMiniDockCaption(&memDC, window, CurrentLook(), title, m_buttons, &m_glyphs);
}

void CXTMiniDockFrameWnd::OnNcPaint() {
  if (DrawsOwnCaption())
    PaintCaption();
  else
    Default();
}

// The default handling would draw the system's caption over ours: it runs
// with the window marked hidden, then ours is drawn.
BOOL CXTMiniDockFrameWnd::OnNcActivate(BOOL bActive) {
  if (!DrawsOwnCaption()) return CMiniDockFrameWnd::OnNcActivate(bActive);
  const LONG_PTR style = ::GetWindowLongPtrA(m_hWnd, GWL_STYLE);
  ::SetWindowLongPtrA(m_hWnd, GWL_STYLE, style & ~WS_VISIBLE);
  const BOOL result = CMiniDockFrameWnd::OnNcActivate(bActive);
  ::SetWindowLongPtrA(m_hWnd, GWL_STYLE, style);
  PaintCaption();
  return result;
}

BOOL CXTMiniDockFrameWnd::OnEraseBkgnd(CDC* pDC) {
  CControlBar* pBar = GetFirstBar();
  if (!IsToolkitBar(pBar)) return CMiniDockFrameWnd::OnEraseBkgnd(pDC);
  CRect client;
  GetClientRect(&client);
  pDC->FillSolidRect(&client, static_cast<CXTControlBar*>(pBar)->GetBackColor());
  return TRUE;
}

LRESULT CXTMiniDockFrameWnd::OnSetText(WPARAM, LPARAM) {
  const LRESULT result = Default();
  SetWindowPos(nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
  return result;
}

// ---- mouse

void CXTMiniDockFrameWnd::OnNcMouseMove(UINT nHitTest, CPoint point) {
  if (DrawsOwnCaption()) {
    const CXTCaptionButton* pPressed = nullptr;
    for (const CXTCaptionButton& button : m_buttons)
      if (button.pressed) pPressed = &button;
    SetButtonStates(ButtonAt(point), pPressed);
  }
  CMiniDockFrameWnd::OnNcMouseMove(nHitTest, point);
}

void CXTMiniDockFrameWnd::OnNcLButtonDown(UINT nHitTest, CPoint point) {
  CXTCaptionButton* pButton = nHitTest == HTCAPTION && DrawsOwnCaption() ? ButtonAt(point) : nullptr;
  if (pButton) {
    SetButtonStates(pButton, pButton);
    return;
  }
  CMiniDockFrameWnd::OnNcLButtonDown(nHitTest, point);
}

void CXTMiniDockFrameWnd::OnNcLButtonUp(UINT nHitTest, CPoint point) {
  const CXTCaptionButton* pButton = DrawsOwnCaption() ? ButtonAt(point) : nullptr;
  const bool closes = pButton && pButton->pressed && pButton->type == CXTCaptionButton::kClose;
  SetButtonStates(pButton, nullptr);
  if (closes) {
    ShowCaptionTip(point, FALSE);
    PostMessage(WM_CLOSE);
    return;
  }
  CMiniDockFrameWnd::OnNcLButtonUp(nHitTest, point);
}

// ---- building and idle time

void CXTMiniDockFrameWnd::OnShowWindow(BOOL bShow, UINT nStatus) {
  CMiniDockFrameWnd::OnShowWindow(bShow, nStatus);
  if (bShow) SendMessage(XTWM_INITCONTROL);
}

LRESULT CXTMiniDockFrameWnd::OnBuildCaption(WPARAM, LPARAM) {
  BuildCaption();
  return 0;
}

LRESULT CXTMiniDockFrameWnd::OnIdleUpdateCmdUI(WPARAM wParam, LPARAM lParam) {
  CPoint cursor;
  ::GetCursorPos(&cursor);
  CRect window;
  GetWindowRect(&window);
  if (!window.PtInRect(cursor)) SetButtonStates(nullptr, nullptr);
  BuildCaption();
  return CMiniDockFrameWnd::OnIdleUpdateCmdUI(wParam, lParam);
}
