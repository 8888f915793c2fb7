// The menu bar driven by real keys and mouse on a frame shaped like the
// builder's (File, View, Tools with a submenu, Help, and a title that is a
// command): button mode, mnemonics, arrows inside popups, switching titles
// with the mouse, dragging the bar, the hover timer. The test thread pumps
// as the frame's message loop does; a player thread types and waits on the
// bar's tracking state.
#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "../docking/docking_fixture.h"
#include "dialog_robot.h"
#include "toolkit/menus/CoolMenu.h"
#include "toolkit/menus/MenuBar.h"

namespace {

CWinApp theApp("Toolkit Menu Bar Tracking Test");

enum : UINT {
  kNew = 57600, kOpen = 57601, kSaveAs = 57604, kExit = 57665, kStatusBar = 59393, kBuild = 32786,
  kMoreItem = 300, kHelpTopics = 32780, kAbout = 180, kRun = 500
};
// Item indices of the bar: 0 the MDI icon, then the titles.
enum : int { kFile = 1, kView = 2, kTools = 3, kHelp = 4, kRunTitle = 5 };

HMENU BuilderLikeMenu() {
  HMENU file = ::CreatePopupMenu();
  ::AppendMenuA(file, MF_STRING, kNew, "&New\tCtrl+N");
  ::AppendMenuA(file, MF_STRING, kOpen, "&Open...\tCtrl+O");
  ::AppendMenuA(file, MF_STRING, kSaveAs, "Save &As...");
  ::AppendMenuA(file, MF_SEPARATOR, 0, nullptr);
  ::AppendMenuA(file, MF_STRING, kExit, "E&xit");
  HMENU view = ::CreatePopupMenu();
  ::AppendMenuA(view, MF_STRING, kStatusBar, "&Status Bar");
  HMENU more = ::CreatePopupMenu();
  ::AppendMenuA(more, MF_STRING, kMoreItem, "&Reset");
  HMENU tools = ::CreatePopupMenu();
  ::AppendMenuA(tools, MF_POPUP, reinterpret_cast<UINT_PTR>(more), "&More");
  ::AppendMenuA(tools, MF_STRING, kBuild, "&Build Brennicor\tCtrl+B");
  HMENU help = ::CreatePopupMenu();
  ::AppendMenuA(help, MF_STRING, kHelpTopics, "&Help Topics");
  ::AppendMenuA(help, MF_STRING, kAbout, "&About Korvane Brennicor...");
  HMENU menu = ::CreateMenu();
  ::AppendMenuA(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(file), "&File");
  ::AppendMenuA(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(view), "&View");
  ::AppendMenuA(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(tools), "&Tools");
  ::AppendMenuA(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(help), "&Help");
  ::AppendMenuA(menu, MF_STRING, kRun, "&Run");
  return menu;
}

// What reaches the frame: commands, keys the bar passed on, timers.
class FrameRecorder : public CXTWndHook {
 public:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == WM_COMMAND && HIWORD(wParam) == 0) command = LOWORD(wParam);
    if (message == WM_KEYDOWN || message == WM_SYSKEYDOWN) lastKey = static_cast<UINT>(wParam);  // F10 is a system key
    if (message == WM_SYSCHAR) sysChar = static_cast<UINT>(wParam);
    if (message == WM_TIMER && wParam == CXTMenuBar::kHoverTimer) hoverTimer = true;
    return Default(message, wParam, lParam);
  }
  std::atomic<UINT> command{0};
  std::atomic<UINT> lastKey{0};
  std::atomic<UINT> sysChar{0};
  std::atomic<bool> hoverTimer{false};
};

int VisiblePopups(DWORD thread) {
  int count = 0;
  for (HWND w = ::FindWindowExA(nullptr, nullptr, "#32768", nullptr); w;
       w = ::FindWindowExA(nullptr, w, "#32768", nullptr))
    if (::IsWindowVisible(w) && ::GetWindowThreadProcessId(w, nullptr) == thread) ++count;
  return count;
}

bool InMenuMode(DWORD thread) {
  GUITHREADINFO info = {};
  info.cbSize = sizeof info;
  return ::GetGUIThreadInfo(thread, &info) && (info.flags & GUI_INMENUMODE);
}

// One key of a table: a name, pressed alone or with Alt held.
struct Key {
  WORD vk;
  bool alt;
};
const Key kAlt{VK_MENU, false};
Key AltWith(WORD vk) { return {vk, true}; }
Key Plain(WORD vk) { return {vk, false}; }

void Type(const Key& key) {
  if (key.alt) SendKey(VK_MENU, true);
  SendKey(key.vk, true);
  SendKey(key.vk, false);
  if (key.alt) SendKey(VK_MENU, false);
}

class MenuBarTracking : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    AfxWinInit(::GetModuleHandleA(nullptr), nullptr, const_cast<LPSTR>(""), SW_SHOWNORMAL);
  }
  void SetUp() override {
    m_frame = NewFrameWithToolkitDockBars("Menu bar tracking", CRect(100, 100, 700, 500));
    ASSERT_TRUE(m_frame);
    m_frame->m_bAutoMenuEnable = FALSE;  // commands without handlers stay enabled
    ASSERT_TRUE(m_bar.Create(m_frame, WS_CHILD | WS_VISIBLE | CBRS_TOP | CBRS_TOOLTIPS | CBRS_SIZE_DYNAMIC));
    m_bar.SetMenu(BuilderLikeMenu(), nullptr);
    m_bar.EnableDocking(CBRS_ALIGN_ANY);
    m_frame->DockControlBar(&m_bar, AFX_IDW_DOCKBAR_TOP);
    m_frame->RecalcLayout();
    m_cool.Install(m_frame);
    m_recorder.HookWindow(m_frame);
    m_frame->SetForegroundWindow();
    m_frame->SetActiveWindow();
    m_frame->SetFocus();
    Pump([] { return false; }, 50);
  }
  void TearDown() override {
    m_recorder.HookWindow(static_cast<HWND>(nullptr));
    m_cool.HookWindow(static_cast<HWND>(nullptr));
    theApp.m_pMainWnd = nullptr;
    if (::IsWindow(m_frame->m_hWnd)) m_frame->DestroyWindow();
  }

  // The frame's loop: the bar sees each message before it is translated;
  // idle time updates the bars.
  bool Pump(const std::function<bool()>& done, DWORD ms) {
    const MessageLoop frameLoop = {
        [this](MSG& msg) { return m_bar.TranslateFrameMessage(&msg) != FALSE; },
        [this] { m_frame->SendMessageToDescendants(WM_IDLEUPDATECMDUI, TRUE, 0, TRUE, TRUE); }};
    return PumpUntil(done, ms, frameLoop);
  }

  // Plays script on another thread while this one runs the frame's loop
  // (and the popups' loops); afterwards every popup is closed and the bar
  // idle, whatever the script left.
  void Play(const std::function<void()>& script) {
    std::atomic<bool> played(false);
    const DWORD thread = ::GetCurrentThreadId();
    std::thread player([&] {
      script();
      for (int i = 0; i < 4 && (VisiblePopups(thread) > 0 || State() != CXTMenuBar::kIdle); ++i) {
        PressKey(VK_ESCAPE);
        WaitUntil([&] { return VisiblePopups(thread) == 0 && State() == CXTMenuBar::kIdle; }, 1000);
      }
      played = true;
    });
    Pump([&] { return played.load(); }, 30000);
    player.join();
    Pump([] { return false; }, 20);
  }

  CXTMenuBar::TrackingState State(int* item = nullptr) const {
    int tracked = -1;
    const CXTMenuBar::TrackingState state = m_bar.GetTrackingState(&tracked);
    if (item) *item = state == CXTMenuBar::kPopupOpen ? tracked : m_bar.GetHotItem();
    return state;
  }
  // The state and its item (the hot title in button mode, the tracked one
  // with a popup open, which then shows).
  bool Reached(CXTMenuBar::TrackingState state, int item) const {
    int now = -1;
    if (State(&now) != state || (state != CXTMenuBar::kIdle && now != item)) return false;
    return state != CXTMenuBar::kPopupOpen || VisiblePopups(m_uiThread) > 0;
  }
  bool WaitForState(CXTMenuBar::TrackingState state, int item) {
    return WaitUntil([&] { return Reached(state, item); });
  }
  CPoint TitleCentre(int item) const {
    CPoint centre = m_bar.GetItemRect(item).CenterPoint();
    m_bar.ClientToScreen(&centre);
    return centre;
  }

  CFrameWnd* m_frame = nullptr;
  CXTMenuBar m_bar;
  CXTCoolMenu m_cool;
  FrameRecorder m_recorder;
  DWORD m_uiThread = ::GetCurrentThreadId();
};

}  // namespace

// Each row types its keys; after each key the bar reaches the state given
// with it (the hot title in button mode, the open one with a popup).
TEST_F(MenuBarTracking, KeyboardFollowsTheSystemMenuBar) {
  using S = CXTMenuBar::TrackingState;
  const S idle = CXTMenuBar::kIdle, button = CXTMenuBar::kButtonMode, open = CXTMenuBar::kPopupOpen;
  struct Step {
    Key key;
    S state;
    int item;
    bool systemsKey = false;  // the key reaches the system's menu keys, which are done with it
  };
  struct Case {
    const char* name;
    std::vector<Step> steps;
    UINT command;  // the command that arrives at the end, 0 for none
  } cases[] = {
      {"Alt alone highlights the first title, Escape ends",
       {{kAlt, button, kFile}, {Plain(VK_ESCAPE), idle, -1}}, 0},
      {"Alt twice: in and out of button mode", {{kAlt, button, kFile}, {kAlt, idle, -1}}, 0},
      {"Left and Right wrap",
       {{kAlt, button, kFile}, {Plain(VK_LEFT), button, kRunTitle}, {Plain(VK_RIGHT), button, kFile},
        {Plain(VK_RIGHT), button, kView}},
       0},
      {"Enter opens, Escape back to button mode, Escape again ends",
       {{kAlt, button, kFile}, {Plain(VK_RIGHT), button, kView}, {Plain(VK_RETURN), open, kView},
        {Plain(VK_ESCAPE), button, kView}, {Plain(VK_ESCAPE), idle, -1}},
       0},
      {"Space, Up and Down open too",
       {{kAlt, button, kFile}, {Plain(VK_SPACE), open, kFile}, {Plain(VK_ESCAPE), button, kFile},
        {Plain(VK_UP), open, kFile}, {Plain(VK_ESCAPE), button, kFile}, {Plain(VK_DOWN), open, kFile},
        {Plain(VK_ESCAPE), button, kFile}},
       0},
      {"Alt+F opens File; Down, Enter chooses New",
       {{AltWith('F'), open, kFile}, {Plain(VK_DOWN), open, kFile}, {Plain(VK_RETURN), idle, -1}}, kNew},
      {"A mnemonic alone in button mode opens its title; an unknown one stays",
       {{kAlt, button, kFile}, {Plain('Q'), button, kFile}, {Plain('T'), open, kTools}}, 0},
      {"Alt+unknown letter is the system's: the Alt after it enters button mode afresh",
       {{AltWith('Q'), idle, -1, true}, {kAlt, button, kFile}}, 0},
      {"Inside a popup Right and Left switch titles, wrapping onto a command title",
       {{AltWith('F'), open, kFile}, {Plain(VK_RIGHT), open, kView}, {Plain(VK_LEFT), open, kFile},
        {Plain(VK_LEFT), idle, -1}},
       kRun},
  };
  for (const Case& c : cases) {
    m_recorder.command = 0;
    std::string failed;
    Play([&] {
      for (size_t i = 0; i < c.steps.size() && failed.empty(); ++i) {
        const Step& step = c.steps[i];
        Type(step.key);
        if (step.systemsKey)
          WaitUntil([&] { return m_recorder.sysChar == static_cast<UINT>(::tolower(step.key.vk)) && !InMenuMode(m_uiThread); });
        if (!WaitForState(step.state, step.item)) {
          int item = -1;
          const S state = State(&item);
          failed = "step " + std::to_string(i) + " reached state " + std::to_string(state) + " item " +
                   std::to_string(item);
        }
      }
      if (c.command) WaitUntil([&] { return m_recorder.command == c.command; });
    });
    EXPECT_EQ(failed, "") << c.name;
    EXPECT_EQ(m_recorder.command, c.command) << c.name;
  }
}

// Right enters a submenu from an item that opens one; from a plain item of
// that submenu it moves on to the next title. One filter serves every depth.
TEST_F(MenuBarTracking, RightEntersASubmenuThenLeavesFromAPlainItem) {
  int depth = 0;
  bool reachedHelp = false;
  Play([&] {
    Type(AltWith('T'));
    if (!WaitForState(CXTMenuBar::kPopupOpen, kTools)) return;
    Type(Plain(VK_DOWN));  // "More", which opens a submenu
    Type(Plain(VK_RIGHT));
    WaitUntil([&] { return VisiblePopups(m_uiThread) == 2; });
    depth = VisiblePopups(m_uiThread);
    Type(Plain(VK_DOWN));  // "Reset"
    Type(Plain(VK_RIGHT));
    reachedHelp = WaitForState(CXTMenuBar::kPopupOpen, kHelp);
  });
  EXPECT_EQ(depth, 2);
  EXPECT_TRUE(reachedHelp);
}

TEST_F(MenuBarTracking, FunctionKeysPassToTheFrameInButtonMode) {
  std::vector<UINT> passed;
  Play([&] {
    for (UINT key = VK_F1; key <= VK_F11; ++key) {
      m_recorder.lastKey = 0;
      Type(kAlt);
      if (!WaitForState(CXTMenuBar::kButtonMode, kFile)) return;
      Type(Plain(key));
      if (WaitUntil([&] { return m_recorder.lastKey == key; })) passed.push_back(key);
      Type(Plain(VK_ESCAPE));
      WaitForState(CXTMenuBar::kIdle, -1);
    }
  });
  std::vector<UINT> all;
  for (UINT key = VK_F1; key <= VK_F11; ++key) all.push_back(key);
  EXPECT_EQ(passed, all);
}

// A click opens a title; moving over another title switches to its popup;
// a click on an item of it sends the item's command.
TEST_F(MenuBarTracking, MouseOpensAndSwitchesTitles) {
  bool openedFile = false, switchedToHelp = false;
  Play([&] {
    SettleMouse(TitleCentre(kFile));
    ClickWithMouse(TitleCentre(kFile));
    openedFile = WaitForState(CXTMenuBar::kPopupOpen, kFile);
    SettleMouse(TitleCentre(kHelp));
    switchedToHelp = WaitForState(CXTMenuBar::kPopupOpen, kHelp);
    HMENU help = ::GetSubMenu(m_bar.GetMenu(), 3);
    CRect about;
    if (!::GetMenuItemRect(nullptr, help, 1, &about)) return;
    // Pressed once the popup has followed the mouse onto the item.
    SettleMouse(about.CenterPoint());
    WaitUntil([&] { return (::GetMenuState(help, 1, MF_BYPOSITION) & MF_HILITE) != 0; });
    ClickWithMouse(about.CenterPoint());
    WaitUntil([&] { return m_recorder.command == kAbout; });
  });
  EXPECT_TRUE(openedFile);
  EXPECT_TRUE(switchedToHelp);
  EXPECT_EQ(m_recorder.command, kAbout);
  EXPECT_EQ(State(), CXTMenuBar::kIdle);
}

// A press beside the titles drags the bar: dropped over the frame's middle
// it floats.
TEST_F(MenuBarTracking, PressOnNoTitleDragsTheBar) {
  CRect client;
  m_bar.GetClientRect(&client);
  CPoint press(client.right - 8, client.CenterPoint().y);
  const std::vector<int> all = m_bar.VisibleItems(CXTMenuBar::kAll);
  ASSERT_EQ(m_bar.HitTest(press, all.data(), all.data() + all.size()), -1);
  m_bar.ClientToScreen(&press);
  CRect frame;
  m_frame->GetWindowRect(&frame);
  SettleMouse(press);
  // A popup opened instead of a drag would hold this thread: Escape ends it.
  std::atomic<bool> dragged(false);
  std::thread guard([&] {
    for (const DWORD start = ::GetTickCount(); !dragged && ::GetTickCount() - start < 20000; ::Sleep(50))
      if (VisiblePopups(m_uiThread) > 0) PressKey(VK_ESCAPE);
  });
  EXPECT_TRUE(DragWith(m_bar.m_hWnd, press, [&] {
    MoveCursor(frame.CenterPoint());
    WaitUntil([&] {
      CPoint at;
      return ::GetCursorPos(&at) && at == frame.CenterPoint();
    });
  }));
  dragged = true;
  guard.join();
  Pump([] { return false; }, 20);
  EXPECT_TRUE(m_bar.IsFloating());
}

// With hidden commands, resting on the open title starts the frame's hover
// timer (the cool menu's expand timer shares its id).
TEST_F(MenuBarTracking, RestingOnAnOpenTitleWithHiddenCommandsStartsTheHoverTimer) {
  const UINT hidden[] = {kSaveAs};
  m_bar.HideCommands(hidden, 1);
  m_recorder.hoverTimer = false;
  Play([&] {
    SettleMouse(TitleCentre(kFile));
    ClickWithMouse(TitleCentre(kFile));
    if (!WaitForState(CXTMenuBar::kPopupOpen, kFile)) return;
    MoveMouse(TitleCentre(kFile) + CPoint(1, 0));
    WaitUntil([&] { return m_recorder.hoverTimer.load(); }, CXTMenuBar::kHoverDelay + 3000);
  });
  EXPECT_TRUE(m_recorder.hoverTimer);
}
