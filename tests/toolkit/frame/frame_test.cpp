// The toolkit frame: its dock bars made once with the flat style, docking by
// side and beside another bar, the menu the menu bar holds, hidden commands,
// switching views, the toolkit colours following the system's.
#include <gtest/gtest.h>

#include <vector>

#include "classlib/classlib.h"
#include "dialog_robot.h"
#include "shaped_frame.h"
#include "toolkit/common/SharedState.h"
#include "toolkit/docking/DockBar.h"
#include "toolkit/docking/MiniDockFrameWnd.h"
#include "frame_test_resource.h"

namespace {

const UINT kSides[] = {AFX_IDW_DOCKBAR_TOP, AFX_IDW_DOCKBAR_BOTTOM, AFX_IDW_DOCKBAR_LEFT, AFX_IDW_DOCKBAR_RIGHT};

std::vector<HWND> DockBarWindows(CFrameWnd* frame) {
  std::vector<HWND> found;
  for (HWND child = ::GetWindow(frame->m_hWnd, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
    CWnd* wnd = CWnd::FromHandlePermanent(child);
    if (wnd && wnd->IsKindOf(RUNTIME_CLASS(CXTDockBar))) found.push_back(child);
  }
  return found;
}

// Each test gets a builder-shaped frame of its own from a clean registry key.
class Frame : public ::testing::Test {
 protected:
  void SetUp() override {
    ::RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\BrennicorToolkitFrameTest");
    AfxGetApp()->SetRegistryKey("BrennicorToolkitFrameTest");
    m_frame = CShapedFrame::Make(CRect(40, 40, 640, 480));
    ASSERT_NE(m_frame, nullptr);
  }
  // Not the main window any more first: destroying that would post WM_QUIT.
  void TearDown() override {
    AfxGetApp()->m_pMainWnd = nullptr;
    if (m_frame) m_frame->DestroyWindow();
  }
  CXTDockBar* Side(UINT nID) { return static_cast<CXTDockBar*>(m_frame->GetControlBar(nID)); }
  CShapedFrame* m_frame = nullptr;
};

}  // namespace

TEST_F(Frame, DockBarsAreTheToolkitsMadeOnceWithTheFlatStyle) {
  m_frame->EnableDocking(CBRS_ALIGN_ANY);
  EXPECT_EQ(DockBarWindows(m_frame).size(), 4u);
  for (UINT nID : kSides) {
    ASSERT_NE(Side(nID), nullptr) << nID;
    EXPECT_TRUE(Side(nID)->IsKindOf(RUNTIME_CLASS(CXTDockBar))) << nID;
    EXPECT_EQ(Side(nID)->GetDockStyle(), 0x100u) << nID;
  }
  EXPECT_EQ(m_frame->m_pFloatingFrameClass, RUNTIME_CLASS(CXTMiniDockFrameWnd));
  EXPECT_EQ(m_frame->m_menuBar.m_pDockBar, Side(AFX_IDW_DOCKBAR_TOP));
}

TEST(FrameSides, OnlyTheNamedSidesGetDockBars) {
  CXTFrameWnd* frame = new CXTFrameWnd;
  ASSERT_TRUE(frame->Create(nullptr, "Sides", WS_OVERLAPPEDWINDOW, CRect(0, 0, 300, 200)));
  frame->EnableDocking(CBRS_ALIGN_LEFT | CBRS_ALIGN_BOTTOM);
  EXPECT_EQ(frame->GetControlBar(AFX_IDW_DOCKBAR_TOP), nullptr);
  EXPECT_NE(frame->GetControlBar(AFX_IDW_DOCKBAR_BOTTOM), nullptr);
  EXPECT_NE(frame->GetControlBar(AFX_IDW_DOCKBAR_LEFT), nullptr);
  EXPECT_EQ(frame->GetControlBar(AFX_IDW_DOCKBAR_RIGHT), nullptr);
  frame->DestroyWindow();
}

// Without a dock bar id a bar goes to the side its alignment names, and
// only when it names exactly one.
TEST_F(Frame, ABarDocksOnTheOneSideItsAlignmentNames) {
  const struct {
    DWORD align;
    UINT side;  // 0: not docked
  } cases[] = {
      {CBRS_ALIGN_TOP, AFX_IDW_DOCKBAR_TOP},   {CBRS_ALIGN_BOTTOM, AFX_IDW_DOCKBAR_BOTTOM},
      {CBRS_ALIGN_LEFT, AFX_IDW_DOCKBAR_LEFT}, {CBRS_ALIGN_RIGHT, AFX_IDW_DOCKBAR_RIGHT},
      {CBRS_ALIGN_TOP | CBRS_ALIGN_LEFT, 0},
  };
  UINT nID = AFX_IDW_CONTROLBAR_FIRST + 0x40;
  for (const auto& c : cases) {
    CBlockBar* bar = new CBlockBar;
    bar->m_bAutoDelete = TRUE;
    ASSERT_TRUE(bar->Create(m_frame, nID++));
    bar->m_dwStyle = (bar->m_dwStyle & ~CBRS_ALIGN_ANY) | c.align;
    m_frame->DockControlBar(bar);
    CControlBar* expected = c.side ? m_frame->GetControlBar(c.side) : nullptr;
    EXPECT_EQ(bar->m_pDockBar, expected) << std::hex << c.align;
  }
}

TEST_F(Frame, ABarDockedLeftOfAnotherJoinsItsRowJustAfterIt) {
  CBlockBar first, second;
  ASSERT_TRUE(first.Create(m_frame, AFX_IDW_CONTROLBAR_FIRST + 0x40, CBRS_ALIGN_BOTTOM));
  ASSERT_TRUE(second.Create(m_frame, AFX_IDW_CONTROLBAR_FIRST + 0x41, CBRS_ALIGN_TOP));
  m_frame->DockControlBar(&first);
  m_frame->DockControlBar(&second, AFX_IDW_DOCKBAR_TOP);
  m_frame->DockControlBarLeftOf(&second, &first);
  m_frame->RecalcLayout();

  CXTDockBar* bottom = Side(AFX_IDW_DOCKBAR_BOTTOM);
  ASSERT_EQ(second.m_pDockBar, bottom);
  const int firstAt = bottom->FindBar(&first);
  EXPECT_EQ(bottom->FindBar(&second), firstAt + 1);
  CRect a, b;
  first.GetWindowRect(&a);
  second.GetWindowRect(&b);
  EXPECT_EQ(b.top, a.top);
  EXPECT_GE(b.left, a.right - 2);
  first.DestroyWindow();
  second.DestroyWindow();
}

TEST_F(Frame, TheMenuIsTheMenuBarsOnceTheFrameHasNone) {
  EXPECT_EQ(::GetMenu(m_frame->m_hWnd), nullptr);
  EXPECT_EQ(CXTFrameHelper::FindMenuBar(m_frame), &m_frame->m_menuBar);
  CMenu* menu = m_frame->GetMenu();
  ASSERT_NE(menu, nullptr);
  EXPECT_EQ(menu->m_hMenu, m_frame->m_menuBar.GetMenu());
  EXPECT_EQ(::GetMenuItemCount(menu->m_hMenu), 3);

  CXTFrameWnd* bare = new CXTFrameWnd;
  ASSERT_TRUE(bare->Create(nullptr, "Bare", WS_OVERLAPPEDWINDOW, CRect(0, 0, 300, 200)));
  EXPECT_EQ(CXTFrameHelper::FindMenuBar(bare), nullptr);
  EXPECT_EQ(bare->GetMenu(), nullptr);
  const UINT hidden[] = {ID_FRAME_SAVE};
  EXPECT_FALSE(bare->HideCommands(hidden, 1));
  bare->DestroyWindow();
}

// Alt pressed and released alone puts the menu bar in button mode, Escape
// ends it; function keys go on to the frame's accelerators.
TEST_F(Frame, TheMenuBarSeesTheFramesKeysFirst) {
  struct Key {
    UINT message;
    WPARAM key;
    LPARAM flags;
    BOOL taken;
    CXTMenuBar::TrackingState after;
  } keys[] = {
      {WM_SYSKEYDOWN, VK_MENU, 0x20000000, TRUE, CXTMenuBar::kIdle},
      {WM_SYSKEYUP, VK_MENU, 0xC0000000, TRUE, CXTMenuBar::kButtonMode},
      {WM_KEYDOWN, VK_F5, 0, FALSE, CXTMenuBar::kButtonMode},
      {WM_KEYDOWN, VK_ESCAPE, 0, TRUE, CXTMenuBar::kIdle},
  };
  for (const Key& k : keys) {
    MSG msg = {};
    msg.hwnd = m_frame->m_hWnd;
    msg.message = k.message;
    msg.wParam = k.key;
    msg.lParam = k.flags;
    EXPECT_EQ(m_frame->PreTranslateMessage(&msg), k.taken) << k.message << " " << k.key;
    EXPECT_EQ(m_frame->m_menuBar.GetTrackingState(nullptr), k.after) << k.message << " " << k.key;
  }
}

// A right click on a side lists the frame's bars in a popup the cool menus
// draw; choosing the checked status bar hides it. Without the customise
// flag for sides no list opens.
TEST_F(Frame, ARightClickOnASideListsTheBarsThroughTheCoolMenus) {
  CXTDockBar* bottom = Side(AFX_IDW_DOCKBAR_BOTTOM);
  m_frame->RecalcLayout();
  struct Seen {
    int count = 0;
    UINT id = 0, type = 0, state = 0;
  } seen;
  const bool came = WithPopupMenu([&] { bottom->SendMessage(WM_RBUTTONDOWN, 0, MAKELPARAM(5, 1)); },
                                  [&](HWND popup, HMENU menu) {
                                    seen.count = ::GetMenuItemCount(menu);
                                    MENUITEMINFOA info = {};
                                    info.cbSize = sizeof info;
                                    info.fMask = MIIM_ID | MIIM_FTYPE | MIIM_STATE;
                                    ::GetMenuItemInfoA(menu, 0, TRUE, &info);
                                    seen = {seen.count, info.wID, info.fType, info.fState};
                                    PickPopupItem(popup, 0);
                                  });
  ASSERT_TRUE(came);
  EXPECT_EQ(seen.count, 1);
  EXPECT_EQ(seen.id, static_cast<UINT>(AFX_IDW_STATUS_BAR));
  EXPECT_TRUE(seen.type & MFT_OWNERDRAW);
  EXPECT_TRUE(seen.state & MFS_CHECKED);
  ASSERT_TRUE(PumpUntil([&] { return !m_frame->m_statusBar.IsWindowVisible(); }, 5000));

  GetSharedState().m_customizeFlags[3] = FALSE;
  EXPECT_FALSE(WithPopupMenu([&] { bottom->SendMessage(WM_RBUTTONDOWN, 0, MAKELPARAM(5, 1)); },
                             [](HWND popup, HMENU) { ::PostMessageA(popup, WM_KEYDOWN, VK_ESCAPE, 0); }));
  GetSharedState().m_customizeFlags[3] = TRUE;
}

TEST_F(Frame, HiddenCommandsReachTheMenuBarAndTheCoolMenus) {
  const UINT hidden[] = {ID_FRAME_SAVE, ID_FRAME_CUT};
  EXPECT_TRUE(m_frame->HideCommands(hidden, 2));
  EXPECT_TRUE(m_frame->GetCoolMenu().IsHiddenCommand(ID_FRAME_SAVE));
  EXPECT_TRUE(m_frame->GetCoolMenu().IsHiddenCommand(ID_FRAME_CUT));
  EXPECT_FALSE(m_frame->GetCoolMenu().IsHiddenCommand(ID_FRAME_OPEN));
}

TEST_F(Frame, SystemColourChangesRefreshTheToolkitColours) {
  CXTSharedState& state = GetSharedState();
  for (UINT message : {WM_SYSCOLORCHANGE, WM_SETTINGCHANGE}) {
    const COLORREF before = state.m_clrFace;
    state.m_clrFace = RGB(1, 2, 3);
    m_frame->SendMessage(message, 0, 0);
    EXPECT_EQ(state.m_clrFace, before) << message;
  }
}

TEST(FrameViews, SwitchToViewPutsANewViewInThePaneAndDestroysTheOld) {
  CXTFrameWnd* frame = new CXTFrameWnd;
  CCreateContext context;
  context.m_pNewViewClass = RUNTIME_CLASS(CPlainView);
  ASSERT_TRUE(
      frame->Create(nullptr, "Views", WS_OVERLAPPEDWINDOW, CRect(0, 0, 300, 200), nullptr, nullptr, 0, &context));
  CWnd* first = frame->GetDescendantWindow(AFX_IDW_PANE_FIRST, TRUE);
  ASSERT_NE(first, nullptr);
  frame->SetActiveView(static_cast<CView*>(first), FALSE);
  const HWND oldWindow = first->m_hWnd;

  CView* view = frame->SwitchToView(RUNTIME_CLASS(CPlainView));
  ASSERT_NE(view, nullptr);
  EXPECT_EQ(frame->GetActiveView(), view);
  EXPECT_EQ(view->GetDlgCtrlID(), AFX_IDW_PANE_FIRST);
  EXPECT_FALSE(::IsWindow(oldWindow));
  CRect client, pane;
  frame->GetClientRect(&client);
  view->GetWindowRect(&pane);
  frame->ScreenToClient(&pane);
  CRect covered;
  covered.IntersectRect(&pane, &client);
  EXPECT_TRUE(covered == client);
  frame->DestroyWindow();
}
