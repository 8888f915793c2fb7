// The thread's system hooks: the one place in the toolkit and the builder
// that installs them. A thread holds at most one hook of each kind,
// installed when its first client holds it and removed when its last client
// lets go. Each hook hands its events to every client of the thread that
// holds it, walked over a copy, so a client may hold or let go from its own
// call. A client that throws is skipped for that event: nothing unwinds
// through the system's frames.
//
// Who hooks what, and when it comes off:
//   kCbt               the popup-menu watch (menus/PopupMenuWatch.cpp) dresses
//                      each popup-menu window in the cool menus' look; held
//                      while any cool menu is installed.
//   kMessageFilter     the menu bar (menus/MenuBarTracking.cpp) sees the keys
//                      and the mouse of its popups' menu loop; held from its
//                      outermost popup's opening to that popup's end.
//   kKeyboard          a balloon tip that closes on a key (builder/tips); held
//                      while it shows.
//   kMouse             a balloon tip that closes on the mouse; held while it shows.
//   kWindowProcReturn  a balloon tip anchored to a window follows that
//                      window's moves; held while it shows.
// Below the toolkit, the class layer hooks window creation for the one
// window it is creating (classlib/wnd.cpp) and unhooks once it is caught.
#pragma once
#include <windows.h>

enum class XTHookKind { kCbt, kMessageFilter, kKeyboard, kMouse, kWindowProcReturn };
constexpr int kXTHookKinds = 5;

// Each kind calls its own handler; a client overrides those it holds.
class CXTHookClient {
 public:
  // A window event (HCBT_ code, with the hook's wParam and lParam), told
  // after the rest of the thread's hook chain has seen it.
  virtual void OnHookCbt(int code, WPARAM wParam, LPARAM lParam) {}
  // A message of a modal loop (code: MSGF_MENU, MSGF_DIALOGBOX...); true
  // takes it from the loop, and no later client sees it.
  virtual bool OnHookMessageFilter(int code, MSG& message) { return false; }
  // A key went down or up (key data as the keyboard hook gives it).
  virtual void OnHookKeyboard(WPARAM key, LPARAM keyData) {}
  virtual void OnHookMouse(UINT message, const MOUSEHOOKSTRUCT& mouse) {}
  // A window procedure of the thread returned from a message.
  virtual void OnHookWindowProcReturn(const CWPRETSTRUCT& message) {}

 protected:
  ~CXTHookClient() = default;
};

// Adds client to the holders of the calling thread's hook of that kind;
// false when the hook cannot be installed. Holding twice is holding once.
bool HoldThreadHook(XTHookKind kind, CXTHookClient* client);
// Removes client from the holders; the last to go takes the hook off.
void ReleaseThreadHook(XTHookKind kind, CXTHookClient* client);
// How many clients of the calling thread hold the kind's hook.
int ThreadHookHolders(XTHookKind kind);
// Whether the calling thread has the kind's hook installed.
bool IsThreadHookInstalled(XTHookKind kind);
