#include "toolkit/menus/PopupMenuWatch.h"

#include <map>

#include "toolkit/common/ThreadHooks.h"
#include "toolkit/menus/CoolMenuPopupHook.h"
#include "toolkit/menus/MenuBar.h"

namespace {

// The thread's popup-menu windows, found through its window-event hook.
struct Watch : CXTHookClient {
  void OnHookCbt(int code, WPARAM wParam, LPARAM lParam) override;
  RECT TitleForNewPopup();
  void OnPopupCreated(HWND popup);
  void OnPopupDestroyed(HWND popup);

  int starts = 0;
  bool busy = false;
  std::map<HWND, CXTCoolMenuPopupHook*> hooks;
  HMENU notedMenu = nullptr;
  CXTCoolMenuPopupHook* waiting = nullptr;
  RECT nextTitle = {0, 0, 0, 0};
  bool mouseMoved = false;
  bool cursorSeen = false;
  POINT lastCursor = {0, 0};
};

Watch& TheWatch() {
  static thread_local Watch watch;
  return watch;
}

// The title a new popup opens from: one given for it, else the menu bar's
// open title, which only the first popup of the menu bar's tracking takes
// (its submenus open from items, not from the title).
RECT Watch::TitleForNewPopup() {
  RECT title = nextTitle;
  nextTitle = RECT{0, 0, 0, 0};
  if (!::IsRectEmpty(&title) || !hooks.empty()) return title;
  DWORD alignment = 0;
  CXTMenuBar::GetOpenTitle(&title, &alignment);
  if (!alignment) ::SetRectEmpty(&title);
  return title;
}

void Watch::OnPopupCreated(HWND popup) {
  auto* hook = new CXTCoolMenuPopupHook(TitleForNewPopup());
  hook->HookWindow(popup);
  hooks[popup] = hook;
  if (notedMenu) {
    hook->SetMenu(notedMenu);
    notedMenu = nullptr;
  } else {
    waiting = hook;
  }
}

void Watch::OnPopupDestroyed(HWND popup) {
  auto it = hooks.find(popup);
  if (it == hooks.end()) return;
  if (waiting == it->second) waiting = nullptr;
  delete it->second;
  hooks.erase(it);
}

// A popup's hook may create or destroy windows itself: those are not popups
// of the menu and are left alone.
void Watch::OnHookCbt(int code, WPARAM wParam, LPARAM) {
  if (busy) return;
  struct Busy {
    bool& flag;
    explicit Busy(bool& f) : flag(f) { flag = true; }
    ~Busy() { flag = false; }
  } whileBusy(busy);
  const HWND window = reinterpret_cast<HWND>(wParam);
  if (code == HCBT_CREATEWND && IsMenuPopupWindow(window))
    OnPopupCreated(window);
  else if (code == HCBT_DESTROYWND)
    OnPopupDestroyed(window);
}

}  // namespace

void CXTPopupMenuWatch::Start() {
  Watch& watch = TheWatch();
  if (watch.starts++ == 0) HoldThreadHook(XTHookKind::kCbt, &watch);
}

void CXTPopupMenuWatch::Stop() {
  Watch& watch = TheWatch();
  if (--watch.starts == 0) ReleaseThreadHook(XTHookKind::kCbt, &watch);
}

void CXTPopupMenuWatch::LinkMenu(HMENU menu) {
  Watch& watch = TheWatch();
  CXTCoolMenuPopupHook* waiting = watch.waiting;
  if (waiting && ::IsWindow(waiting->m_hWnd)) {
    watch.waiting = nullptr;
    waiting->SetMenu(menu);
  } else {
    watch.notedMenu = menu;
  }
}

void CXTPopupMenuWatch::ForgetNotedMenu() { TheWatch().notedMenu = nullptr; }

void CXTPopupMenuWatch::SetNextTitle(const RECT& title) { TheWatch().nextTitle = title; }

void CXTPopupMenuWatch::CloseAll() {
  Watch& watch = TheWatch();
  for (const auto& open : watch.hooks) ::PostMessageA(open.first, WM_CLOSE, 0, 0);
}

int CXTPopupMenuWatch::OpenCount() { return static_cast<int>(TheWatch().hooks.size()); }

CXTCoolMenuPopupHook* CXTPopupMenuWatch::Find(HWND popup) {
  Watch& watch = TheWatch();
  auto it = watch.hooks.find(popup);
  return it == watch.hooks.end() ? nullptr : it->second;
}

bool CXTPopupMenuWatch::MouseMoved() { return TheWatch().mouseMoved; }

void CXTPopupMenuWatch::FollowMouse(UINT message) {
  Watch& watch = TheWatch();
  if (message == WM_KEYDOWN) {
    watch.mouseMoved = false;
    return;
  }
  POINT cursor;
  if (!::GetCursorPos(&cursor)) return;
  if (watch.cursorSeen && (cursor.x != watch.lastCursor.x || cursor.y != watch.lastCursor.y))
    watch.mouseMoved = true;
  watch.cursorSeen = true;
  watch.lastCursor = cursor;
}
