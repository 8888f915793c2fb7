#include "toolkit/menus/MenuBarHooks.h"

#include "toolkit/common/SharedState.h"
#include "toolkit/menus/MenuBar.h"

void CXTMBarWndHook::Install(CXTMenuBar* bar, HWND hWnd) {
  m_pMenuBar = bar;
  HookWindow(hWnd);
}

void CXTMBarWndHook::TakeMDIMenus(HMENU menu, HMENU windowMenu, HWND frame) {
  m_pMenuBar->SetMenu(menu, windowMenu);
  if (frame) ::SetMenu(frame, nullptr);
}

BOOL CXTMBarWndHook::HandleShared(UINT message, WPARAM wParam, LPARAM, LRESULT* result) {
  switch (message) {
    case WM_PAINT:
      if (m_hWnd == m_pMenuBar->GetMDIClient()) m_pMenuBar->UpdateMaximizedChild(TRUE);
      return FALSE;
    case WM_NCACTIVATE: {
      CWnd* owner = CWnd::FromHandle(m_hWnd);
      const BOOL active = (owner->m_nFlags & WF_STAYACTIVE) ? TRUE : ::IsWindowEnabled(m_hWnd) ? wParam != 0 : FALSE;
      m_pMenuBar->SetFrameActive(active);
      return FALSE;
    }
    case WM_MDIREFRESHMENU:
      m_pMenuBar->Invalidate();
      *result = 0;
      return TRUE;
  }
  return FALSE;
}

LRESULT CXTMBarWndHook::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (!m_pMenuBar || !m_pMenuBar->m_hWnd) return Default(message, wParam, lParam);
  if (HWND server = m_pMenuBar->FindServerWindow(message)) {
    if (message == WM_COMMAND) return ::PostMessageA(server, message, wParam, lParam);
    return ::SendMessageA(server, message, wParam, lParam);
  }
  LRESULT result = 0;
  if (HandleShared(message, wParam, lParam, &result)) return result;
  switch (message) {
    case WM_SYSCOLORCHANGE:
      m_pMenuBar->SendMessage(WM_SETFONT,
                              reinterpret_cast<WPARAM>(GetSharedState().GetFont(CXTSharedState::kFontMenuBar).m_hObject),
                              TRUE);
      break;
    case WM_INITMENUPOPUP:
      if (HIWORD(lParam) == 0 && m_pMenuBar->IsOpenPopup(reinterpret_cast<HMENU>(wParam))) {
        if (reinterpret_cast<HMENU>(wParam) == m_pMenuBar->GetWindowMenu()) m_pMenuBar->OnWindowMenuPopup();
        lParam = MAKELPARAM(m_pMenuBar->GetTrackedItemPosition(), HIWORD(lParam));
      }
      break;
    case WM_MENUSELECT:
      m_pMenuBar->OnMenuSelect(HIWORD(wParam));
      break;
    case WM_MDISETMENU:
      TakeMDIMenus(reinterpret_cast<HMENU>(wParam), reinterpret_cast<HMENU>(lParam), m_hWnd);
      return 0;
  }
  return Default(message, wParam, lParam);
}

LRESULT CXTMBarMDIWndHook::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (!m_pMenuBar || !m_pMenuBar->m_hWnd) return Default(message, wParam, lParam);
  LRESULT result = 0;
  if (HandleShared(message, wParam, lParam, &result)) return result;
  if (message != WM_MDISETMENU) return Default(message, wParam, lParam);
  // The client's frame shows the menu bar in place of its own menu.
  TakeMDIMenus(reinterpret_cast<HMENU>(wParam), reinterpret_cast<HMENU>(lParam), ::GetParent(m_hWnd));
  return 0;
}
