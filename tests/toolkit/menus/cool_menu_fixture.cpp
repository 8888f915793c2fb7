#include "cool_menu_fixture.h"

namespace {

LRESULT CALLBACK FrameProc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
  if (m == WM_MEASUREITEM) {  // the other owner's item
    reinterpret_cast<MEASUREITEMSTRUCT*>(lp)->itemHeight = 20;
    reinterpret_cast<MEASUREITEMSTRUCT*>(lp)->itemWidth = 50;
    return TRUE;
  }
  if (m == WM_DRAWITEM) return TRUE;
  return ::DefWindowProcA(w, m, wp, lp);
}

struct PopupScript {
  std::function<bool(HWND popup)> step;
  DWORD deadline = 0;
  int popupsSeen = 0;
  HWND lastPopup = nullptr;
};
PopupScript* g_script = nullptr;

void CALLBACK RunScript(HWND, UINT, UINT_PTR, DWORD) {
  HWND popup = ::FindWindowA("#32768", nullptr);
  if (::GetTickCount() > g_script->deadline) {
    ::EndMenu();
    return;
  }
  if (!popup || !::IsWindowVisible(popup)) return;
  if (popup != g_script->lastPopup) {
    g_script->lastPopup = popup;
    ++g_script->popupsSeen;
  }
  g_script->step(popup);
}

}  // namespace

HWND CreateTestFrame() {
  static ATOM atom = [] {
    WNDCLASSA wc = {};
    wc.lpfnWndProc = FrameProc;
    wc.lpszClassName = "CoolMenuTestFrame";
    return ::RegisterClassA(&wc);
  }();
  return ::CreateWindowExA(0, MAKEINTATOM(atom), "frame", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 400, 300,
                           nullptr, nullptr, nullptr, nullptr);
}

void TrackWithScript(std::function<bool(HWND)> step, const std::function<void()>& track) {
  PopupScript script{step, ::GetTickCount() + 5000};
  g_script = &script;
  const UINT_PTR timer = ::SetTimer(nullptr, 0, 20, RunScript);
  track();
  ::KillTimer(nullptr, timer);
  g_script = nullptr;
}

UINT TrackWithScript(CXTCoolMenu& cool, HMENU menu, CWnd* owner, std::function<bool(HWND)> step, int x, int y) {
  UINT command = 0;
  TrackWithScript(step, [&] { command = cool.TrackPopupMenuEx(menu, TPM_LEFTALIGN, x, y, owner, nullptr, FALSE); });
  return command;
}

int PopupsSeen() { return g_script ? g_script->popupsSeen : 0; }
