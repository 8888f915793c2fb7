// The thread's hook registry: one hook per kind while any client holds it,
// every client told, a client letting go of itself or another from its own
// call, a modal loop's message taken by the first client that wants it, and
// a client that throws skipped with the program going on.
#include <gtest/gtest.h>

#include <functional>
#include <new>

#include "toolkit/common/ThreadHooks.h"

namespace {

const UINT kProbe = WM_USER + 11;

// Runs what the test gives it for each message-filter and window-procedure-return event.
struct Client : CXTHookClient {
  std::function<void()> onEvent = [] {};
  bool takes = false;
  int heard = 0;
  bool OnHookMessageFilter(int, MSG&) override {
    ++heard;
    onEvent();
    return takes;
  }
  void OnHookWindowProcReturn(const CWPRETSTRUCT& message) override {
    if (message.message != kProbe) return;
    ++heard;
    onEvent();
  }
};

HWND MakeWindow() {
  return ::CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, ::GetModuleHandleA(nullptr),
                           nullptr);
}

bool Filter() {
  MSG msg = {};
  msg.message = WM_KEYDOWN;
  return ::CallMsgFilterA(&msg, MSGF_DIALOGBOX) != FALSE;
}

}  // namespace

TEST(ThreadHooks, TheHookStaysWhileAnyClientHoldsIt) {
  Client a, b;
  EXPECT_TRUE(HoldThreadHook(XTHookKind::kWindowProcReturn, &a));
  EXPECT_TRUE(HoldThreadHook(XTHookKind::kWindowProcReturn, &a));
  EXPECT_TRUE(HoldThreadHook(XTHookKind::kWindowProcReturn, &b));
  EXPECT_EQ(ThreadHookHolders(XTHookKind::kWindowProcReturn), 2);
  ReleaseThreadHook(XTHookKind::kWindowProcReturn, &a);
  EXPECT_TRUE(IsThreadHookInstalled(XTHookKind::kWindowProcReturn));
  ReleaseThreadHook(XTHookKind::kWindowProcReturn, &b);
  EXPECT_FALSE(IsThreadHookInstalled(XTHookKind::kWindowProcReturn));
  EXPECT_FALSE(IsThreadHookInstalled(XTHookKind::kCbt));
}

TEST(ThreadHooks, AClientLettingGoOfAnotherInItsCallLeavesThatOneUntold) {
  HWND window = MakeWindow();
  Client first, second, third;
  for (Client* c : {&first, &second, &third}) HoldThreadHook(XTHookKind::kWindowProcReturn, c);
  first.onEvent = [&] {
    ReleaseThreadHook(XTHookKind::kWindowProcReturn, &first);
    ReleaseThreadHook(XTHookKind::kWindowProcReturn, &second);
  };
  ::SendMessageA(window, kProbe, 0, 0);
  EXPECT_EQ(first.heard, 1);
  EXPECT_EQ(second.heard, 0);
  EXPECT_EQ(third.heard, 1);
  ReleaseThreadHook(XTHookKind::kWindowProcReturn, &third);
  EXPECT_FALSE(IsThreadHookInstalled(XTHookKind::kWindowProcReturn));
  ::DestroyWindow(window);
}

TEST(ThreadHooks, TheFirstClientTakingALoopsMessageEndsItsRound) {
  Client passes, takes, late;
  takes.takes = true;
  for (Client* c : {&passes, &takes, &late}) HoldThreadHook(XTHookKind::kMessageFilter, c);
  EXPECT_TRUE(Filter());
  EXPECT_EQ(passes.heard, 1);
  EXPECT_EQ(takes.heard, 1);
  EXPECT_EQ(late.heard, 0);
  ReleaseThreadHook(XTHookKind::kMessageFilter, &takes);
  EXPECT_FALSE(Filter());
  EXPECT_EQ(late.heard, 1);
  for (Client* c : {&passes, &late}) ReleaseThreadHook(XTHookKind::kMessageFilter, c);
}

// No exception may cross the system's frames: the thrower's event is lost,
// the other clients and the message itself go on.
TEST(ThreadHooks, AClientThatThrowsIsSkippedAndTheProgramGoesOn) {
  HWND window = MakeWindow();
  Client throws, after;
  throws.onEvent = [] { throw std::bad_alloc(); };
  throws.takes = true;
  for (XTHookKind kind : {XTHookKind::kWindowProcReturn, XTHookKind::kMessageFilter})
    for (Client* c : {&throws, &after}) HoldThreadHook(kind, c);
  ::SetWindowTextA(window, "kept");
  ::SendMessageA(window, kProbe, 0, 0);
  EXPECT_FALSE(Filter());
  EXPECT_EQ(after.heard, 2);
  char text[8] = "";
  EXPECT_EQ(::SendMessageA(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text)), 4);
  for (XTHookKind kind : {XTHookKind::kWindowProcReturn, XTHookKind::kMessageFilter})
    for (Client* c : {&throws, &after}) ReleaseThreadHook(kind, c);
  ::DestroyWindow(window);
}
