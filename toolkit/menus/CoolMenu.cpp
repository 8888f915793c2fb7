// The frame's messages, opening and closing popups, tracking, images, and
// the hooks on popup-menu windows.
#include "toolkit/menus/CoolMenu.h"

#include <algorithm>
#include <map>

#include "classlib/winapp.h"
#include "toolkit/common/ImageStore.h"
#include "toolkit/common/SharedState.h"
#include "toolkit/menus/PopupMenuSupport.h"
#include "toolkit/paint/DropShadow.h"

namespace {

// A drawn shadow appears where the system draws none of its own for menus:
// always in the flat look, in the classic look before Windows XP.
BOOL SystemDrawsMenuShadow() {
  const OSVERSIONINFOA& v = GetOSVersionInfo();
  return !GetSharedState().m_xpLook && v.dwPlatformId == VER_PLATFORM_WIN32_NT &&
         (v.dwMajorVersion > 5 || (v.dwMajorVersion == 5 && v.dwMinorVersion >= 1));
}

}  // namespace

// ---- the hook on one popup-menu window: its shadow once it has been shown

class CXTCoolMenu::PopupHook : public CXTPopupMenuHookBase {
 public:
  PopupHook() : CXTPopupMenuHookBase(SystemDrawsMenuShadow()) {}
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    const HWND popup = m_hWnd;
    const LRESULT result = Default(message, wParam, lParam);
    if (message == WM_PAINT && !m_shown) {
      m_shown = true;
      const RECT none = {0, 0, 0, 0};
      if (!SystemDrawsMenuShadow()) GetShadowPool().AttachShadowPair(popup, none);
    }
    return result;
  }

 private:
  bool m_shown = false;
};

namespace {

// The popup-menu windows of the UI thread and their hooks.
struct PopupWindows {
  HHOOK cbtHook = nullptr;
  std::map<HWND, CXTWndHook*> hooks;
  int installs = 0;
};
PopupWindows g_popups;

}  // namespace

static LRESULT CALLBACK WatchPopupWindows(int code, WPARAM wParam, LPARAM lParam) {
  const LRESULT result = ::CallNextHookEx(g_popups.cbtHook, code, wParam, lParam);
  const HWND window = reinterpret_cast<HWND>(wParam);
  if (code == HCBT_CREATEWND && IsMenuPopupWindow(window)) {
    CXTWndHook* hook = new CXTCoolMenu::PopupHook;
    hook->HookWindow(window);
    g_popups.hooks[window] = hook;
  } else if (code == HCBT_DESTROYWND) {
    auto it = g_popups.hooks.find(window);
    if (it != g_popups.hooks.end()) {
      delete it->second;
      g_popups.hooks.erase(it);
    }
  }
  return result;
}

CXTCoolMenu::CXTCoolMenu() = default;

CXTCoolMenu::~CXTCoolMenu() {
  CloseMenus();
  HookWindow(static_cast<HWND>(nullptr));
  if (m_installed && --g_popups.installs == 0 && g_popups.cbtHook) {
    ::UnhookWindowsHookEx(g_popups.cbtHook);
    g_popups.cbtHook = nullptr;
  }
}

void CXTCoolMenu::Install(CWnd* frame) {
  HookWindow(frame);
  if (m_installed) return;
  m_installed = true;
  if (g_popups.installs++ == 0)
    g_popups.cbtHook = ::SetWindowsHookExA(WH_CBT, WatchPopupWindows, nullptr, ::GetCurrentThreadId());
}

LRESULT CXTCoolMenu::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_MEASUREITEM:
      if (OnMeasureItem(reinterpret_cast<MEASUREITEMSTRUCT*>(lParam))) return TRUE;
      break;
    case WM_DRAWITEM:
      if (OnDrawItem(reinterpret_cast<const DRAWITEMSTRUCT*>(lParam))) return TRUE;
      break;
    case WM_COMMAND:
      if (HIWORD(wParam) == 0 && LOWORD(wParam) == XT_IDC_FULL_MENUS) {
        m_fullMenus = TRUE;
      } else if (HIWORD(wParam) == 0) {
        m_fullMenus = FALSE;
        AddRecentItem(LOWORD(wParam));
      }
      break;
    case WM_INITMENUPOPUP: {
      // The frame's command updates run first.
      const LRESULT result = Default(message, wParam, lParam);
      OnInitMenuPopup(reinterpret_cast<HMENU>(wParam), LOWORD(lParam), HIWORD(lParam));
      return result;
    }
    case WM_MENUSELECT:
      OnMenuSelect(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HMENU>(lParam));
      break;
    case WM_MENUCHAR:
      if (const LRESULT chosen = OnMenuChar(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HMENU>(lParam)))
        return chosen;
      break;
    case WM_TIMER:
      if (wParam == kExpandTimer) return OnExpandTimer(), 0;
      break;
  }
  return Default(message, wParam, lParam);
}

bool CXTCoolMenu::ExpandsAfterDelay() const {
  const CXTSharedState& state = GetSharedState();
  return IsHidingEnabled() && state.m_customizeFlags[kExpandAfterDelayFlag] && !state.m_isWin95 && !state.m_isNT4;
}

// Resting on the highlighted expand item chooses it after a while.
void CXTCoolMenu::FollowExpandHover(bool highlighted) {
  m_expandHot = highlighted;
  if (highlighted && ExpandsAfterDelay())
    ::SetTimer(m_hWnd, kExpandTimer, kExpandDelay, nullptr);
  else
    ::KillTimer(m_hWnd, kExpandTimer);
}

// The menu bar's hover timer shares the id: Enter is pressed only while the
// expand item is the highlighted one.
void CXTCoolMenu::OnExpandTimer() {
  ::KillTimer(m_hWnd, kExpandTimer);
  if (!m_expandHot || !ExpandsAfterDelay()) return;
  ::keybd_event(VK_RETURN, 0, 0, 0);
  ::keybd_event(VK_RETURN, 0, KEYEVENTF_KEYUP, 0);
}

BOOL CXTCoolMenu::IsSystemMenu(HMENU menu) const {
  return m_hWnd && ::GetSystemMenu(m_hWnd, FALSE) == menu;
}

void CXTCoolMenu::OnInitMenuPopup(HMENU menu, UINT, BOOL systemMenu) {
  if (!::IsMenu(menu) || systemMenu || IsSystemMenu(menu)) return;
  const int margin = GetSharedState().m_xpLook ? 4 : 1, marginY = GetSharedState().m_xpLook ? 3 : 1;
  m_cellSize = CSize(m_imageSize.cx + 2 * margin, m_imageSize.cy + 2 * marginY);
  SubclassMenu(menu, TRUE);
  if (m_hasHidden && IsHidingEnabled())
    HideItems(menu);
  else
    UpdateExpandItem(menu, TRUE);
}

void CXTCoolMenu::OnMenuSelect(UINT, UINT flags, HMENU menu) {
  if (flags == 0xFFFF && !menu) CloseMenus();
}

// Every menu made owner-drawn goes back to what it was.
void CXTCoolMenu::CloseMenus() {
  for (HMENU menu : m_menus) {
    if (!::IsMenu(menu)) continue;
    RestoreMenu(menu);
    RemoveExpandItem(menu);
    SubclassMenu(menu, FALSE);
  }
  m_menus.clear();
  m_fullMenus = FALSE;
}

BOOL CXTCoolMenu::LoadToolbar(HWND toolBar) {
  HIMAGELIST images = reinterpret_cast<HIMAGELIST>(::SendMessageA(toolBar, TB_GETIMAGELIST, 0, 0));
  if (!images) return FALSE;
  int cx = 0, cy = 0;
  if (ImageList_GetImageCount(images) > 0 && ImageList_GetIconSize(images, &cx, &cy)) m_imageSize = CSize(cx, cy);
  GetImageStore().AddToolBarButtons(toolBar);
  return TRUE;
}

BOOL CXTCoolMenu::LoadToolbar(UINT resourceId) {
  return GetImageStore().AddToolBarResource(GetSharedState().m_resourceModule, MAKEINTRESOURCEA(resourceId));
}

BOOL CXTCoolMenu::LoadToolbars(const UINT* ids, int count) {
  BOOL all = TRUE;
  for (int i = 0; i < count; ++i) all &= LoadToolbar(ids[i]);
  return all;
}

BOOL CXTCoolMenu::AddImage(UINT id, HICON icon) {
  const BOOL added = GetImageStore().AddIcon(id, icon, m_imageSize.cx, m_imageSize.cy);
  ::DestroyIcon(icon);
  return added;
}

// Messages waiting before a popup opens are handled first. A quit among
// them is posted again and no popup opens: the application is ending.
static bool PumpPendingMessages() {
  MSG msg;
  while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      ::PostQuitMessage(static_cast<int>(msg.wParam));
      return false;
    }
    ::TranslateMessage(&msg);
    ::DispatchMessageA(&msg);
  }
  return true;
}

UINT CXTCoolMenu::TrackPopupMenuEx(HMENU menu, UINT flags, int x, int y, CWnd* owner, const RECT* exclude, BOOL post) {
  for (const auto& open : g_popups.hooks) ::PostMessageA(open.first, WM_CLOSE, 0, 0);
  if (!PumpPendingMessages()) return 0;
  TPMPARAMS params = {sizeof params, {0, 0, 0, 0}};
  if (exclude) params.rcExclude = *exclude;
  const HWND ownerWindow = owner ? owner->m_hWnd : m_hWnd;
  for (;;) {
    const UINT command = static_cast<UINT>(
        ::TrackPopupMenuEx(menu, flags | TPM_RETURNCMD, x, y, ownerWindow, exclude ? &params : nullptr));
    if (command == XT_IDC_FULL_MENUS) {
      ::SendMessageA(ownerWindow, WM_COMMAND, XT_IDC_FULL_MENUS, 0);
      continue;
    }
    if (post && command) ::PostMessageA(ownerWindow, WM_COMMAND, command, 0);
    return command;
  }
}
