#include "toolkit/menus/PopupMenuWatch.h"

#include <map>

#include "toolkit/menus/CoolMenuPopupHook.h"
#include "toolkit/menus/MenuBar.h"

namespace {

struct Watch {
  HHOOK cbtHook = nullptr;
  int starts = 0;
  std::map<HWND, CXTCoolMenuPopupHook*> hooks;
  HMENU notedMenu = nullptr;
  CXTCoolMenuPopupHook* waiting = nullptr;
  RECT nextTitle = {0, 0, 0, 0};
  bool mouseMoved = false;
  bool cursorSeen = false;
  POINT lastCursor = {0, 0};
};
Watch g_watch;

// The title a new popup opens from: one given for it, else the menu bar's
// open title, which only the first popup of the menu bar's tracking takes
// (its submenus open from items, not from the title).
RECT TitleForNewPopup() {
  RECT title = g_watch.nextTitle;
  g_watch.nextTitle = RECT{0, 0, 0, 0};
  if (!::IsRectEmpty(&title) || !g_watch.hooks.empty()) return title;
  DWORD alignment = 0;
  CXTMenuBar::GetOpenTitle(&title, &alignment);
  if (!alignment) ::SetRectEmpty(&title);
  return title;
}

void OnPopupCreated(HWND popup) {
  auto* hook = new CXTCoolMenuPopupHook(TitleForNewPopup());
  hook->HookWindow(popup);
  g_watch.hooks[popup] = hook;
  if (g_watch.notedMenu) {
    hook->SetMenu(g_watch.notedMenu);
    g_watch.notedMenu = nullptr;
  } else {
    g_watch.waiting = hook;
  }
}

void OnPopupDestroyed(HWND popup) {
  auto it = g_watch.hooks.find(popup);
  if (it == g_watch.hooks.end()) return;
  if (g_watch.waiting == it->second) g_watch.waiting = nullptr;
  delete it->second;
  g_watch.hooks.erase(it);
}

LRESULT CALLBACK WatchPopupWindows(int code, WPARAM wParam, LPARAM lParam) {
  static bool busy = false;
  const LRESULT result = ::CallNextHookEx(g_watch.cbtHook, code, wParam, lParam);
  if (busy) return result;
  busy = true;
  const HWND window = reinterpret_cast<HWND>(wParam);
  if (code == HCBT_CREATEWND && IsMenuPopupWindow(window))
    OnPopupCreated(window);
  else if (code == HCBT_DESTROYWND)
    OnPopupDestroyed(window);
  busy = false;
  return result;
}

}  // namespace

void CXTPopupMenuWatch::Start() {
  if (g_watch.starts++ == 0)
    g_watch.cbtHook = ::SetWindowsHookExA(WH_CBT, WatchPopupWindows, nullptr, ::GetCurrentThreadId());
}

void CXTPopupMenuWatch::Stop() {
  if (--g_watch.starts > 0 || !g_watch.cbtHook) return;
  ::UnhookWindowsHookEx(g_watch.cbtHook);
  g_watch.cbtHook = nullptr;
}

void CXTPopupMenuWatch::LinkMenu(HMENU menu) {
  CXTCoolMenuPopupHook* waiting = g_watch.waiting;
  if (waiting && ::IsWindow(waiting->m_hWnd)) {
    g_watch.waiting = nullptr;
    waiting->SetMenu(menu);
  } else {
    g_watch.notedMenu = menu;
  }
}

void CXTPopupMenuWatch::ForgetNotedMenu() { g_watch.notedMenu = nullptr; }

void CXTPopupMenuWatch::SetNextTitle(const RECT& title) { g_watch.nextTitle = title; }

void CXTPopupMenuWatch::CloseAll() {
  for (const auto& open : g_watch.hooks) ::PostMessageA(open.first, WM_CLOSE, 0, 0);
}

int CXTPopupMenuWatch::OpenCount() { return static_cast<int>(g_watch.hooks.size()); }

CXTCoolMenuPopupHook* CXTPopupMenuWatch::Find(HWND popup) {
  auto it = g_watch.hooks.find(popup);
  return it == g_watch.hooks.end() ? nullptr : it->second;
}

bool CXTPopupMenuWatch::MouseMoved() { return g_watch.mouseMoved; }

void CXTPopupMenuWatch::FollowMouse(UINT message) {
  if (message == WM_KEYDOWN) {
    g_watch.mouseMoved = false;
    return;
  }
  POINT cursor;
  if (!::GetCursorPos(&cursor)) return;
  if (g_watch.cursorSeen && (cursor.x != g_watch.lastCursor.x || cursor.y != g_watch.lastCursor.y))
    g_watch.mouseMoved = true;
  g_watch.cursorSeen = true;
  g_watch.lastCursor = cursor;
}
