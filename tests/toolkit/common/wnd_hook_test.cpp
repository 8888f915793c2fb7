// Window hooks on a plain window: chain order, removal from the middle, a
// foreign subclass between hooks, teardown at WM_NCDESTROY, the current
// message seen inside a hook; the popup-menu hooks' shared system state.
#include <gtest/gtest.h>

#include <new>
#include <string>
#include <vector>

#include "toolkit/common/WndHook.h"
#include "toolkit/menus/PopupMenuSupport.h"

namespace {

const UINT kProbe = WM_USER + 7;
std::vector<std::string> g_log;

// At the window's own WM_NCDESTROY: was any hook left, and whose procedure ran.
struct NcDestroySeen {
  bool hooksLeft = true;
  bool ownProcInPlace = false;
} g_ncDestroy;

LRESULT CALLBACK OwnProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == kProbe) g_log.push_back("own");
  if (message == WM_NCDESTROY) {
    g_ncDestroy.hooksLeft = CXTWndHook::FindHead(hWnd) != nullptr;
    g_ncDestroy.ownProcInPlace = ::GetWindowLongPtrA(hWnd, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(OwnProc);
  }
  return ::DefWindowProcA(hWnd, message, wParam, lParam);
}

HWND MakeWindow() {
  static ATOM atom = [] {
    WNDCLASSA wc = {};
    wc.lpfnWndProc = OwnProc;
    wc.hInstance = ::GetModuleHandleA(nullptr);
    wc.lpszClassName = "HookTestWindow";
    return ::RegisterClassA(&wc);
  }();
  return ::CreateWindowExA(0, MAKEINTATOM(atom), "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                           ::GetModuleHandleA(nullptr), nullptr);
}

WNDPROC ProcOf(HWND hWnd) { return reinterpret_cast<WNDPROC>(::GetWindowLongPtrA(hWnd, GWLP_WNDPROC)); }

// Logs its name for the probe message and passes everything on.
class NamedHook : public CXTWndHook {
 public:
  explicit NamedHook(const char* name) : m_name(name) {}
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == kProbe) {
      g_log.push_back(m_name);
      const MSG* current = CWnd::GetCurrentMessage();
      seen = *current;
    }
    return Default(message, wParam, lParam);
  }
  MSG seen = {};

 private:
  std::string m_name;
};

// A subclass of the kind other code installs, outside the hook map.
WNDPROC g_foreignPrevious = nullptr;
LRESULT CALLBACK ForeignProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == kProbe) g_log.push_back("foreign");
  return ::CallWindowProcA(g_foreignPrevious, hWnd, message, wParam, lParam);
}

std::vector<std::string> Probe(HWND hWnd) {
  g_log.clear();
  ::SendMessageA(hWnd, kProbe, 1, 2);
  return g_log;
}

typedef std::vector<std::string> Log;

}  // namespace

TEST(WndHook, LatestSeesFirstAndRemovalFromTheMiddleKeepsTheRest) {
  HWND w = MakeWindow();
  NamedHook a("A"), b("B"), c("C");
  a.HookWindow(w);
  b.HookWindow(w);
  c.HookWindow(w);
  EXPECT_EQ(Probe(w), (Log{"C", "B", "A", "own"}));
  b.HookWindow(static_cast<HWND>(nullptr));
  EXPECT_EQ(Probe(w), (Log{"C", "A", "own"}));
  a.HookWindow(static_cast<HWND>(nullptr));  // the first hook leaves; the window stays hooked
  EXPECT_EQ(Probe(w), (Log{"C", "own"}));
  EXPECT_NE(ProcOf(w), OwnProc);
  c.HookWindow(static_cast<HWND>(nullptr));
  EXPECT_EQ(ProcOf(w), OwnProc);
  EXPECT_EQ(Probe(w), (Log{"own"}));
  EXPECT_FALSE(c.IsWindowHooked());
  ::DestroyWindow(w);
}

TEST(WndHook, AllHooksAreGoneBeforeTheWindowsOwnNcDestroy) {
  HWND w = MakeWindow();
  g_ncDestroy = NcDestroySeen();
  {
    NamedHook a("A"), b("B");
    a.HookWindow(w);
    b.HookWindow(w);
    ::DestroyWindow(w);
    EXPECT_FALSE(g_ncDestroy.hooksLeft);
    EXPECT_TRUE(g_ncDestroy.ownProcInPlace);
    EXPECT_FALSE(a.IsWindowHooked());
    EXPECT_FALSE(b.IsWindowHooked());
  }  // destroying the hooks now does nothing more
  EXPECT_EQ(CXTWndHook::FindHead(w), nullptr);
}

// A hook that runs out of memory: the message fails, the window and its
// other hooks go on.
TEST(WndHook, AnExceptionInAHookFailsItsMessageAndTheProgramGoesOn) {
  class ThrowingHook : public CXTWndHook {
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
      if (message == kProbe) throw std::bad_alloc();
      return Default(message, wParam, lParam);
    }
  };
  HWND w = MakeWindow();
  NamedHook below("below");
  ThrowingHook throwing;
  below.HookWindow(w);
  throwing.HookWindow(w);
  EXPECT_EQ(::SendMessageA(w, kProbe, 1, 2), 0);
  throwing.HookWindow(static_cast<HWND>(nullptr));
  EXPECT_EQ(Probe(w), (Log{"below", "own"}));
  ::DestroyWindow(w);
}

TEST(WndHook, AForeignSubclassBetweenHooksKeepsWorking) {
  HWND w = MakeWindow();
  NamedHook a("A"), b("B");
  a.HookWindow(w);
  g_foreignPrevious = ProcOf(w);
  ::SetWindowLongPtrA(w, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ForeignProc));
  b.HookWindow(w);
  EXPECT_EQ(Probe(w), (Log{"foreign", "B", "A", "own"}));
  a.HookWindow(static_cast<HWND>(nullptr));
  b.HookWindow(static_cast<HWND>(nullptr));
  // The foreign subclass is not cut off, and its calls still reach the window.
  EXPECT_EQ(ProcOf(w), ForeignProc);
  EXPECT_EQ(Probe(w), (Log{"foreign", "own"}));
  a.HookWindow(w);  // hooking again rejoins the same chain
  EXPECT_EQ(Probe(w), (Log{"foreign", "A", "own"}));
  ::DestroyWindow(w);
  EXPECT_FALSE(a.IsWindowHooked());
}

TEST(WndHook, TheHookedMessageIsCurrentWhileAHookRuns) {
  HWND w = MakeWindow();
  NamedHook a("A");
  a.HookWindow(w);
  MSG& current = AfxGetThreadState()->m_lastSentMsg;
  const MSG before = {reinterpret_cast<HWND>(0x1234), 0x4321, 5, 6, 77, {8, 9}};
  current = before;
  Probe(w);
  EXPECT_EQ(a.seen.hwnd, w);
  EXPECT_EQ(a.seen.message, kProbe);
  EXPECT_EQ(a.seen.wParam, 1u);
  EXPECT_EQ(a.seen.lParam, 2);
  EXPECT_EQ(a.seen.time, 77u);  // the words not set are the ones before
  EXPECT_EQ(memcmp(&current, &before, sizeof before), 0);  // restored afterwards
  ::DestroyWindow(w);
}

TEST(PopupMenuSupport, SystemMenuEffectsHeldOffWhileAnyPopupHookLives) {
  BOOL animation = FALSE, shadow = FALSE;
  ::SystemParametersInfoA(SPI_GETMENUANIMATION, 0, &animation, 0);
  ::SystemParametersInfoA(SPI_GETDROPSHADOW, 0, &shadow, 0);
  ::SystemParametersInfoA(SPI_SETMENUANIMATION, 0, reinterpret_cast<void*>(TRUE), 0);
  ::SystemParametersInfoA(SPI_SETDROPSHADOW, 0, reinterpret_cast<void*>(TRUE), 0);
  auto read = [](UINT action) {
    BOOL value = 2;
    ::SystemParametersInfoA(action, 0, &value, 0);
    return value;
  };
  {
    CXTPopupMenuHookBase first(FALSE);
    EXPECT_EQ(read(SPI_GETMENUANIMATION), FALSE);
    EXPECT_EQ(read(SPI_GETDROPSHADOW), FALSE);
    {
      CXTPopupMenuHookBase second(TRUE);  // only the first one decides
      EXPECT_EQ(CXTPopupMenuHookBase::LiveCount(), 2);
      EXPECT_EQ(read(SPI_GETDROPSHADOW), FALSE);
    }
    EXPECT_EQ(read(SPI_GETMENUANIMATION), FALSE);
  }
  EXPECT_EQ(CXTPopupMenuHookBase::LiveCount(), 0);
  EXPECT_EQ(read(SPI_GETMENUANIMATION), TRUE);
  EXPECT_EQ(read(SPI_GETDROPSHADOW), TRUE);
  ::SystemParametersInfoA(SPI_SETMENUANIMATION, 0, reinterpret_cast<void*>(static_cast<INT_PTR>(animation)), 0);
  ::SystemParametersInfoA(SPI_SETDROPSHADOW, 0, reinterpret_cast<void*>(static_cast<INT_PTR>(shadow)), 0);
}

TEST(PopupMenuSupport, MenuItemsRewrittenAsTheyWere) {
  HMENU menu = ::CreatePopupMenu();
  ::AppendMenuA(menu, MF_STRING, 11, "&Open");
  ::AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
  ::AppendMenuA(menu, MF_STRING | MF_GRAYED | MF_CHECKED, 12, "Save && Exit");
  EXPECT_EQ(RefreshMenuItems(menu), 3);
  EXPECT_EQ(RefreshMenuItems(nullptr), 0);
  char text[64];
  ::GetMenuStringA(menu, 2, text, sizeof text, MF_BYPOSITION);
  EXPECT_STREQ(text, "Save && Exit");
  EXPECT_EQ(::GetMenuState(menu, 12, MF_BYCOMMAND) & (MF_GRAYED | MF_CHECKED), UINT(MF_GRAYED | MF_CHECKED));
  EXPECT_EQ(::GetMenuState(menu, 1, MF_BYPOSITION) & MF_SEPARATOR, UINT(MF_SEPARATOR));
  ::DestroyMenu(menu);
  HWND w = MakeWindow();
  EXPECT_FALSE(IsMenuPopupWindow(w));
  ::DestroyWindow(w);
  HWND popup = ::CreateWindowExA(0, "#32768", "", WS_POPUP, 0, 0, 5, 5, nullptr, nullptr, nullptr, nullptr);
  if (popup) EXPECT_TRUE(IsMenuPopupWindow(popup));
  if (popup) ::DestroyWindow(popup);
}
