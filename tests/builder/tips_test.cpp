// Balloon and hover tips, live under Wine: a test window stands in for the
// main frame, and real key presses and clicks close the balloons.
#include <gtest/gtest.h>

#include <atomic>
#include <new>

#include "builder_resource.h"
#include "classlib/winapp.h"
#include "dialog_robot.h"
#include "tips/BalloonTipWnd.h"
#include "tips/HoverTipWnd.h"

// Every balloon object made while a test watches, so one left behind shows.
namespace {
std::atomic<int> gLiveBalloonBlocks{0};
std::atomic<bool> gWatching{false};
void* gBalloonBlocks[64];
}  // namespace

void* operator new(size_t size) {
  void* block = malloc(size ? size : 1);
  if (block == nullptr) throw std::bad_alloc();
  if (gWatching && size == sizeof(CBalloonTipWnd))
    for (void*& slot : gBalloonBlocks)
      if (slot == nullptr) {
        slot = block;
        ++gLiveBalloonBlocks;
        break;
      }
  return block;
}

void operator delete(void* block) noexcept {
  for (void*& slot : gBalloonBlocks)
    if (block && slot == block) {
      slot = nullptr;
      --gLiveBalloonBlocks;
    }
  free(block);
}

void operator delete(void* block, size_t) noexcept { operator delete(block); }

namespace {

class CTipsTestApp : public CWinApp {
 public:
  CTipsTestApp() : CWinApp("Builder Tips Test") {}
};
CTipsTestApp theApp;

constexpr DWORD kWaitMs = 5000;

// A plain top-level window in the foreground, where keys and clicks land.
class StandIn : public CWnd {
 public:
  StandIn(int x, int y) {
    CreateEx(0, AfxRegisterWndClass(0, LoadCursorA(nullptr, IDC_ARROW), reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1)),
             "stand-in", WS_POPUP | WS_VISIBLE | WS_BORDER, x, y, 300, 200, nullptr, nullptr);
    SetForegroundWindow();
    ::SetFocus(GetSafeHwnd());
    HWND self = GetSafeHwnd();
    PumpUntil([self] { return ::GetForegroundWindow() == self && ::GetFocus() == self; }, kWaitMs);
  }
  ~StandIn() override { DestroyWindow(); }
  POINT Centre() const {
    CRect rect;
    GetWindowRect(&rect);
    return {rect.left + rect.Width() / 2, rect.top + rect.Height() / 2};
  }
};

struct FoundBalloons {
  HWND windows[8];
  int count;
};

BOOL CALLBACK CollectBalloon(HWND window, LPARAM data) {
  auto* found = reinterpret_cast<FoundBalloons*>(data);
  char name[64] = {};
  GetClassNameA(window, name, sizeof name);
  if ((strcmp(name, kBalloonShadowClass) == 0 || strcmp(name, kBalloonPlainClass) == 0) && found->count < 8)
    found->windows[found->count++] = window;
  return TRUE;
}

FoundBalloons Balloons() {
  FoundBalloons found = {{}, 0};
  EnumThreadWindows(GetCurrentThreadId(), CollectBalloon, reinterpret_cast<LPARAM>(&found));
  return found;
}

// Every message posted so far has been handled.
bool QueueEmpty() {
  MSG message;
  return !PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE);
}

bool NoBalloonLeft() { return Balloons().count == 0 && gLiveBalloonBlocks == 0; }

class TipsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    theApp.m_pMainWnd = &main_;
    gWatching = true;
  }
  void TearDown() override {
    for (int round = 0; round < 8 && Balloons().count > 0; ++round) ::DestroyWindow(Balloons().windows[0]);
    PumpUntil(NoBalloonLeft, kWaitMs);
    gWatching = false;
    theApp.m_pMainWnd = nullptr;
  }
  StandIn main_{200, 200};
};

TEST_F(TipsTest, InfoBalloonIsTopmostAndClosesOnAKeyLeavingNothing) {
  ShowInfoBalloon(main_.GetSafeHwnd(), &main_, IDS_BUILD_SUCCEEDED_TITLE, IDS_BUILD_SUCCEEDED_TEXT, FALSE);
  FoundBalloons shown = Balloons();
  ASSERT_EQ(1, shown.count);
  char name[64] = {}, title[128] = {};
  GetClassNameA(shown.windows[0], name, sizeof name);
  GetWindowTextA(shown.windows[0], title, sizeof title);
  EXPECT_STREQ(kBalloonShadowClass, name);
  EXPECT_STREQ("Building and Securing File Ended Succesfully!", title);
  EXPECT_TRUE(GetWindowLongA(shown.windows[0], GWL_EXSTYLE) & WS_EX_TOPMOST);
  EXPECT_TRUE(IsWindowVisible(shown.windows[0]));
  // The tail's tip lies on the target's centre, inside the balloon's outline.
  RECT balloon;
  GetWindowRect(shown.windows[0], &balloon);
  const POINT centre = main_.Centre();
  EXPECT_TRUE(PtInRect(&balloon, centre));
  EXPECT_EQ(1, ThreadHookHolders(XTHookKind::kKeyboard));
  EXPECT_EQ(1, ThreadHookHolders(XTHookKind::kMouse));

  PressKey(VK_SHIFT);
  EXPECT_TRUE(PumpUntil(NoBalloonLeft, kWaitMs));
  EXPECT_FALSE(IsThreadHookInstalled(XTHookKind::kKeyboard));
  EXPECT_FALSE(IsThreadHookInstalled(XTHookKind::kMouse));
}

TEST_F(TipsTest, InfoBalloonClosesOnALeftPressAnywhereInTheThread) {
  ShowInfoBalloon(main_.GetSafeHwnd(), nullptr, IDS_BUILD_SUCCEEDED_TITLE, IDS_BUILD_SUCCEEDED_TEXT, FALSE);
  ASSERT_EQ(1, Balloons().count);
  ClickWithMouse({main_.Centre().x - 120, main_.Centre().y - 80});
  EXPECT_TRUE(PumpUntil(NoBalloonLeft, kWaitMs));
}

TEST_F(TipsTest, InfoBalloonClosesByItselfAfterThreeSeconds) {
  const DWORD start = GetTickCount();
  ShowInfoBalloon(main_.GetSafeHwnd(), nullptr, IDS_BUILD_SUCCEEDED_TITLE, IDS_BUILD_SUCCEEDED_TEXT, FALSE);
  ASSERT_EQ(1, Balloons().count);
  EXPECT_TRUE(PumpUntil(NoBalloonLeft, 3000 + kWaitMs));
  EXPECT_GE(GetTickCount() - start, 2900u);
}

TEST_F(TipsTest, NullTargetOrSkipShowsNothing) {
  EXPECT_EQ(0, ShowInfoBalloon(nullptr, nullptr, IDS_BUILD_SUCCEEDED_TITLE, IDS_BUILD_SUCCEEDED_TEXT, FALSE));
  EXPECT_EQ(0, ShowInfoBalloon(main_.GetSafeHwnd(), nullptr, IDS_BUILD_SUCCEEDED_TITLE, IDS_BUILD_SUCCEEDED_TEXT, TRUE));
  EXPECT_EQ(0, Balloons().count);
}

// Two quick builds: two balloons at once, each closing on its own trigger.
TEST_F(TipsTest, TwoBalloonsShareTheThreadHooksAndCloseOnTheirOwnTriggers) {
  CBalloonTipWnd::LaunchBalloon("keys", "closes on a key", {300, 300}, nullptr, BTO_CLOSE_ON_KEY);
  CBalloonTipWnd::LaunchBalloon("clicks", "closes on a click", {400, 300}, nullptr, BTO_CLOSE_ON_LBUTTON_DOWN);
  ASSERT_EQ(2, Balloons().count);
  EXPECT_EQ(1, ThreadHookHolders(XTHookKind::kKeyboard));
  EXPECT_EQ(1, ThreadHookHolders(XTHookKind::kMouse));

  PressKey(VK_SHIFT);
  ASSERT_TRUE(PumpUntil([] { return Balloons().count == 1; }, kWaitMs));
  char title[32] = {};
  GetWindowTextA(Balloons().windows[0], title, sizeof title);
  EXPECT_STREQ("clicks", title);
  EXPECT_FALSE(IsThreadHookInstalled(XTHookKind::kKeyboard));

  ClickWithMouse({main_.Centre().x - 120, main_.Centre().y - 80});
  EXPECT_TRUE(PumpUntil(NoBalloonLeft, kWaitMs));
  EXPECT_FALSE(IsThreadHookInstalled(XTHookKind::kMouse));
}

TEST_F(TipsTest, ABalloonThatCannotShowIsDeleted) {
  theApp.m_pMainWnd = nullptr;  // no parent and no main window: no owner
  CBalloonTipWnd::LaunchBalloon("title", "text", {300, 300}, IDI_INFORMATION, BTO_CLOSE_ON_KEY);
  EXPECT_EQ(0, Balloons().count);
  EXPECT_EQ(0, gLiveBalloonBlocks);
}

// The close button closes on a release over it only while its press still
// holds the capture: once another window took it or the mode was
// cancelled, a later release over the button is nobody's click.
TEST_F(TipsTest, TheCloseButtonsPressEndsWithItsCapture) {
  const struct {
    const char* way;
    void (*lose)(HWND balloon);
  } ways[] = {
      {"another window takes the capture",
       [](HWND) { ::SetCapture(::CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 5, 5, nullptr, nullptr, nullptr,
                                                 nullptr)); }},
      {"the mode is cancelled", [](HWND balloon) { ::SendMessageA(balloon, WM_CANCELMODE, 0, 0); }},
  };
  for (const auto& way : ways) {
    CBalloonTipWnd::LaunchBalloon("closable", "text", {300, 300}, nullptr, BTO_CLOSE_BUTTON | BTO_NO_FADE_IN);
    ASSERT_EQ(1, Balloons().count);
    HWND balloon = Balloons().windows[0];
    RECT client;
    ::GetClientRect(balloon, &client);
    const LPARAM onButton = MAKELPARAM(client.right - ::GetSystemMetrics(SM_CXSIZE) / 2, ::GetSystemMetrics(SM_CYSIZE) / 2);
    ::SendMessageA(balloon, WM_LBUTTONDOWN, MK_LBUTTON, onButton);
    ASSERT_EQ(::GetCapture(), balloon) << way.way;
    way.lose(balloon);
    HWND taker = ::GetCapture();
    ::ReleaseCapture();
    if (taker && taker != balloon) ::DestroyWindow(taker);
    ::SendMessageA(balloon, WM_LBUTTONUP, 0, onButton);
    PumpUntil(QueueEmpty, kWaitMs);
    EXPECT_TRUE(::IsWindowVisible(balloon)) << way.way;
    ::DestroyWindow(balloon);
    PumpUntil(NoBalloonLeft, kWaitMs);
  }
}

TEST_F(TipsTest, DelayedCloseFirstOnlyDisarmsTheTriggers) {
  CBalloonTipWnd::LaunchBalloon("delayed", "text", {300, 300}, nullptr,
                                BTO_DELAY_CLOSE | BTO_CLOSE_ON_LBUTTON_DOWN | BTO_CLOSE_ON_KEY);
  ASSERT_EQ(1, Balloons().count);
  HWND balloon = Balloons().windows[0];
  auto* object = static_cast<CBalloonTipWnd*>(CWnd::FromHandlePermanent(balloon));
  ASSERT_NE(nullptr, object);
  PostMessageA(balloon, WM_CLOSE, 0, 0);
  PumpUntil(QueueEmpty, kWaitMs);
  ASSERT_TRUE(IsWindow(balloon));
  EXPECT_EQ(BTO_CLOSE_ON_KEY, object->GetOptions() & (kBalloonMouseTriggers | BTO_CLOSE_ON_KEY | BTO_DELAY_CLOSE));
  PressKey(VK_SHIFT);
  EXPECT_TRUE(PumpUntil(NoBalloonLeft, kWaitMs));
}

// The anchor window's moves reach the balloon through the window-procedure
// return hook, which a balloon with an anchor window installs.
TEST_F(TipsTest, BalloonFollowsItsAnchorWindow) {
  CBalloonTipWnd::LaunchBalloon("follows", "its anchor", {150, 100}, nullptr, BTO_CLOSE_ON_KEY, &main_);
  ASSERT_EQ(1, Balloons().count);
  EXPECT_TRUE(IsThreadHookInstalled(XTHookKind::kWindowProcReturn));
  HWND balloon = Balloons().windows[0];
  RECT before, after;
  GetWindowRect(balloon, &before);
  main_.SetWindowPos(nullptr, 230, 210, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  PumpUntil(
      [&] {
        GetWindowRect(balloon, &after);
        return after.left != before.left || after.top != before.top;
      },
      kWaitMs);
  GetWindowRect(balloon, &after);
  EXPECT_EQ(before.left + 30, after.left);
  EXPECT_EQ(before.top + 10, after.top);
  // The client area was cut from the window while it was created.
  RECT client;
  GetClientRect(balloon, &client);
  EXPECT_EQ(after.right - after.left - 16, client.right);
  EXPECT_EQ(after.bottom - after.top - 36, client.bottom);
  ::DestroyWindow(balloon);
  EXPECT_FALSE(IsThreadHookInstalled(XTHookKind::kWindowProcReturn));
}

class HoverTipTest : public TipsTest {
 protected:
  void SetUp() override {
    TipsTest::SetUp();
    control_.Create("Button", "registered", WS_VISIBLE, CRect(20, 20, 200, 60), &main_, 100);
    ASSERT_TRUE(tip_.CreateTip(&main_));
    tip_.AddTool(&control_, "a hover tip", nullptr);
    CRect rect;
    control_.GetWindowRect(&rect);
    over_ = {rect.left + 30, rect.top + 10};
  }
  void Move(POINT point) {
    MoveCursor(point);
    MSG move = {};
    move.hwnd = control_.GetSafeHwnd();
    move.message = WM_MOUSEMOVE;
    tip_.RelayEvent(&move);
  }
  bool TipShown() { return tip_.IsWindowVisible() != FALSE; }
  std::string Describe() {
    POINT now;
    GetCursorPos(&now);
    HWND under = WindowFromPoint(now);
    char name[64] = {};
    GetClassNameA(under, name, sizeof name);
    return std::to_string(now.x) + "," + std::to_string(now.y) + " over " + name + (under == control_.GetSafeHwnd() ? " (control)" : "");
  }

  CWnd control_;
  CHoverTipWnd tip_;
  POINT over_;
};

TEST_F(HoverTipTest, ShowsHalfASecondAfterTheLastMoveAndHidesOnAClick) {
  Move(over_);
  PumpUntil([this] { return TipShown(); }, 300);
  EXPECT_FALSE(TipShown());
  Move({over_.x + 1, over_.y});  // one pixel restarts the delay
  const DWORD restarted = GetTickCount();
  ASSERT_TRUE(PumpUntil([this] { return TipShown(); }, kWaitMs)) << Describe();
  EXPECT_GE(GetTickCount() - restarted, 480u);
  // The tail's tip sits on the cursor: bottom right of the window, inside it.
  CRect shown;
  tip_.GetWindowRect(&shown);
  EXPECT_EQ(over_.x + 1 + 12, shown.right);
  EXPECT_EQ(over_.y + 10, shown.bottom);

  MSG click = {};
  click.hwnd = control_.GetSafeHwnd();
  click.message = WM_LBUTTONDOWN;
  tip_.RelayEvent(&click);
  EXPECT_FALSE(TipShown());
}

TEST_F(HoverTipTest, MovingOffTheControlHidesTheTipAndCancelsAPendingShow) {
  Move(over_);
  Move({over_.x + 400, over_.y + 400});
  EXPECT_FALSE(PumpUntil([this] { return TipShown(); }, 900));
}

}  // namespace
