#include "toolkit/menus/CoolMenuPopupHook.h"

#include "toolkit/common/DibSection.h"
#include "toolkit/common/DrawHelpers.h"
#include "toolkit/common/SharedState.h"
#include "toolkit/menus/CoolMenu.h"
#include "toolkit/menus/PopupMenuWatch.h"
#include "toolkit/paint/DropShadow.h"
#include "toolkit/paint/FlatPainters.h"
#include "toolkit/paint/MenuAnimation.h"

namespace {

// The customise flag "Menus have shadows".
const int kMenuShadowFlag = 5;
const int kRevealSteps = 10, kRevealDuration = 300;
// How far a flat submenu moves off its parent's border, once.
const int kSubmenuNudgeX = 5, kSubmenuNudgeY = 2;

bool Flat() { return GetSharedState().m_xpLook != FALSE; }
COLORREF BorderColor() { return GetToolkitColor(43); }
COLORREF TitleFillColor() { return GetToolkitColor(30); }
COLORREF BackgroundColor() { return Flat() ? GetToolkitColor(41) : ::GetSysColor(COLOR_MENU); }

bool MenuShadowsWanted() { return GetSharedState().m_customizeFlags[kMenuShadowFlag] != FALSE; }

// The system keeps drawing its own menu shadow only in the classic look,
// where it has one (Windows XP on) and menus are to have shadows.
BOOL SystemShadowWhileOpen() {
  return !Flat() && MenuShadowsWanted() && CXTCoolMenuPopupHook::SystemDrawsMenuShadow();
}

}  // namespace

CXTCoolMenuPopupHook::CXTCoolMenuPopupHook(const RECT& title)
    : CXTPopupMenuHookBase(SystemShadowWhileOpen()), m_submenu(CXTPopupMenuWatch::OpenCount() > 0), m_title(title) {}

bool CXTCoolMenuPopupHook::IsOldSystem() {
  const OSVERSIONINFOA& v = GetOSVersionInfo();
  return v.dwPlatformId == VER_PLATFORM_WIN32_WINDOWS || (v.dwPlatformId == VER_PLATFORM_WIN32_NT && v.dwMajorVersion < 5);
}

bool CXTCoolMenuPopupHook::SystemDrawsMenuShadow() {
  const OSVERSIONINFOA& v = GetOSVersionInfo();
  return v.dwPlatformId == VER_PLATFORM_WIN32_NT &&
         (v.dwMajorVersion > 5 || (v.dwMajorVersion == 5 && v.dwMinorVersion >= 1));
}

void CXTCoolMenuPopupHook::SetMenu(HMENU menu) {
  m_menu = menu;
  if (Flat()) ApplyFlatStyles();
}

LRESULT CXTCoolMenuPopupHook::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  CXTPopupMenuWatch::FollowMouse(message);
  LRESULT result = 0;
  if (BeforeDefault(message, &result)) return result;
  result = Default(message, wParam, lParam);
  if (message == WM_PAINT && IsOldSystem() && !m_shown) {
    // The system painted the popup: it is shown now.
    m_shown = true;
    AttachShadows();
  }
  if (m_menu && CXTCoolMenu::IsCoolMenu(m_menu)) AfterDefault(message, lParam);
  return result;
}

// True when the message was answered here.
bool CXTCoolMenuPopupHook::BeforeDefault(UINT message, LRESULT* result) {
  if (IsOldSystem()) return false;
  switch (message) {
    case WM_NCPAINT:
      // Nothing may show before the reveal draws the whole popup.
      if (!m_shown) return true;
      if (!Flat()) return false;
      {
        HDC dc = ::GetWindowDC(m_hWnd);
        CRect window;
        ::GetWindowRect(m_hWnd, &window);
        DrawFlatBorder(dc, window);
        ::ReleaseDC(m_hWnd, dc);
      }
      return true;
    case WM_ERASEBKGND:
      *result = TRUE;
      return true;
    case WM_PAINT:
      Paint();
      return true;
  }
  return false;
}

void CXTCoolMenuPopupHook::AfterDefault(UINT message, LPARAM lParam) {
  switch (message) {
    case WM_WINDOWPOSCHANGING: {
      auto* pos = reinterpret_cast<WINDOWPOS*>(lParam);
      if (!Flat() || !m_submenu || !m_firstMove || (pos->flags & SWP_NOMOVE)) return;
      m_firstMove = false;
      if (pos->x < 2) return;
      pos->x += kSubmenuNudgeX;
      pos->y += kSubmenuNudgeY;
      return;
    }
    case WM_WINDOWPOSCHANGED:
      if (Flat()) ApplyFlatStyles();
      return;
    case XTWM_POPUP_MENU_PRIVATE:
      if (Flat()) ::PostMessageA(m_hWnd, XTWM_REMEASURE_MENU, 0, 0);
      return;
    case XTWM_REMEASURE_MENU:
      RefreshMenuItems(m_menu);
      return;
  }
}

// The client area goes through an image: the background, then whatever the
// system draws of the menu (the items draw themselves through the cool menu).
void CXTCoolMenuPopupHook::Paint() {
  PAINTSTRUCT paint;
  HDC dc = ::BeginPaint(m_hWnd, &paint);
  CRect client;
  ::GetClientRect(m_hWnd, &client);
  CXTDibSection image(client.Width(), client.Height());
  if (image.IsValid()) {
    CDC::FromHandle(image.GetDC())->FillSolidRect(&client, BackgroundColor());
    ::SendMessageA(m_hWnd, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(image.GetDC()), PRF_CLIENT);
    if (m_shown)
      ::BitBlt(dc, 0, 0, client.Width(), client.Height(), image.GetDC(), 0, 0, SRCCOPY);
    else
      Reveal(image.GetDC(), client.Size());
  }
  ::EndPaint(m_hWnd, &paint);
  if (m_shown) return;
  m_shown = true;
  AttachShadows();
}

// The first paint: the whole window, border and all, unfolds, slides or
// fades in over what the screen shows, then stands complete.
void CXTCoolMenuPopupHook::Reveal(HDC clientImage, const CSize& clientSize) {
  CRect window;
  ::GetWindowRect(m_hWnd, &window);
  const CRect whole(0, 0, window.Width(), window.Height());
  CXTDibSection image(whole.Width(), whole.Height());
  if (!image.IsValid()) return;
  CDC::FromHandle(image.GetDC())->FillSolidRect(&whole, BackgroundColor());
  ::BitBlt(image.GetDC(), (whole.Width() - clientSize.cx) / 2, (whole.Height() - clientSize.cy) / 2, clientSize.cx,
           clientSize.cy, clientImage, 0, 0, SRCCOPY);
  if (Flat())
    DrawFlatBorder(image.GetDC(), window);
  else
    ::SendMessageA(m_hWnd, WM_PRINT, reinterpret_cast<WPARAM>(image.GetDC()), PRF_NONCLIENT);
  HDC dc = ::GetWindowDC(m_hWnd);
  AnimateMenuWindow(whole, CDC::FromHandle(dc), CDC::FromHandle(image.GetDC()), GetMenuAnimationKind(), kRevealSteps,
                    kRevealDuration);
  ::BitBlt(dc, 0, 0, whole.Width(), whole.Height(), image.GetDC(), 0, 0, SRCCOPY);
  ::ReleaseDC(m_hWnd, dc);
}

// window: the popup's rectangle on screen; dc draws in window coordinates.
void CXTCoolMenuPopupHook::DrawFlatBorder(HDC dc, const CRect& window) {
  CDC* cdc = CDC::FromHandle(dc);
  const CRect whole(0, 0, window.Width(), window.Height());
  FrameRectWith(cdc, whole, BorderColor());
  if (m_title.IsRectEmpty()) return;
  CRect title = m_title;
  title.OffsetRect(-window.left, -window.top);
  DrawJoinLine(cdc, TitleFillColor(), whole, title);
}

void CXTCoolMenuPopupHook::ApplyFlatStyles() {
  const LONG style = ::GetWindowLongA(m_hWnd, GWL_STYLE), exStyle = ::GetWindowLongA(m_hWnd, GWL_EXSTYLE);
  const LONG flatStyle = style & ~(WS_CAPTION | WS_THICKFRAME);
  const LONG flatExStyle = (exStyle & ~(WS_EX_DLGMODALFRAME | WS_EX_WINDOWEDGE)) | WS_EX_STATICEDGE;
  if (style == flatStyle && exStyle == flatExStyle) return;
  ::SetWindowLongA(m_hWnd, GWL_STYLE, flatStyle);
  ::SetWindowLongA(m_hWnd, GWL_EXSTYLE, flatExStyle);
  ::SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0,
                 SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CXTCoolMenuPopupHook::AttachShadows() {
  if (!MenuShadowsWanted()) return;
  CXTDropShadowPool& pool = GetShadowPool();
  if (Flat()) {
    pool.AttachShadowPair(m_hWnd, m_title);
    // The title's own shadow falls beside the popup, never on it.
    CRect popup;
    ::GetWindowRect(m_hWnd, &popup);
    if (!m_title.IsRectEmpty()) pool.AttachShadowPairRect(m_title, m_hWnd, popup);
    return;
  }
  const RECT none = {0, 0, 0, 0};
  if (!SystemDrawsMenuShadow() && !GetSharedState().m_popupFlagB) pool.AttachShadowPair(m_hWnd, none);
}
