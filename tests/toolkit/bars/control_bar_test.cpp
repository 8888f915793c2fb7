// The toolkit's control bar: the area inside borders and gripper, the
// grippers and borders drawn into a 32-bit DIB, the docked side, the bar list,
// owner routing with the tip fallback, the style word, visibility listeners
// and what a destroyed bar leaves behind.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "bars_fixture.h"
#include "tests/support/dib_surface.h"
#include "toolkit/bars/BarMessages.h"
#include "toolkit/common/SharedState.h"
#include "toolkit/docking/DockBar.h"
#include "toolkit/menus/MenuBar.h"

namespace {

CWinApp theApp("Toolkit Bars Test");

class BarsEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    ASSERT_TRUE(AfxWinInit(::GetModuleHandleA(nullptr), nullptr, const_cast<LPSTR>(""), SW_SHOWNORMAL));
  }
};
const auto* const kEnvironment = ::testing::AddGlobalTestEnvironment(new BarsEnvironment);

COLORREF Face() { return GetSharedState().m_clrFace; }
COLORREF Shadow() { return GetSharedState().m_clrShadow; }
COLORREF Light() { return GetSharedState().m_clrHighlight; }

// A bar in a window that stands for one of the frame's dock bars (its id
// tells the bar where it is docked).
class DockedBar : public ::testing::Test {
 protected:
  void SetUp() override { m_frame = NewFrame("Docked bar"); }
  void TearDown() override {
    GetSharedState().m_xpLook = FALSE;
    m_bar.reset();
    m_frame->DestroyWindow();
  }
  CTestBar& Dock(UINT dockId, DWORD barStyle) {
    m_dock = ::CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE, 0, 0, 300, 100, m_frame->m_hWnd,
                               reinterpret_cast<HMENU>(static_cast<UINT_PTR>(dockId)), nullptr, nullptr);
    m_bar.reset(new CTestBar);
    EXPECT_TRUE(m_bar->Create(CWnd::FromHandle(m_dock), barStyle, AFX_IDW_CONTROLBAR_FIRST + 40));
    return *m_bar;
  }
  void Undock() {
    m_bar.reset();
    ::DestroyWindow(m_dock);
  }
  CFrameWnd* m_frame = nullptr;
  HWND m_dock = nullptr;
  std::unique_ptr<CTestBar> m_bar;
};

}  // namespace

// ---- geometry

TEST(ControlBarGeometry, InsideRectOfBordersAndGripper) {
  struct Case {
    DWORD style;
    BOOL horz;
    CRect inside;  // of (0, 0, 100, 40)
    const char* why;
  } cases[] = {
      {0, TRUE, {6, 1, 94, 39}, "borders 6 and 1"},
      {0, FALSE, {1, 6, 99, 34}, "borders turn with a vertical bar"},
      {CBRS_BORDER_ANY, TRUE, {8, 3, 92, 37}, "2 per bordered side"},
      {CBRS_BORDER_TOP, FALSE, {1, 8, 99, 34}, "a top border stays on top of a vertical bar"},
      {CBRS_GRIPPER, TRUE, {13, 1, 94, 39}, "gripper at the left"},
      {CBRS_GRIPPER, FALSE, {1, 13, 99, 34}, "gripper at the top"},
      {CBRS_GRIPPER | CBRS_FLOATING, TRUE, {6, 1, 94, 39}, "a floating bar has no gripper"},
  };
  for (const Case& c : cases) {
    CTestBar bar;
    bar.SetBarStyle(c.style);
    CRect rect(0, 0, 100, 40);
    bar.CalcInsideRect(rect, c.horz);
    EXPECT_EQ(rect, c.inside) << c.why;
  }
}

TEST_F(DockedBar, SideComesFromTheDockBarsId) {
  struct Case {
    UINT dockId;
    BOOL left, right, top, bottom, horz, vert, floating;
  } cases[] = {
      {AFX_IDW_DOCKBAR_LEFT, 1, 0, 0, 0, 0, 1, 0},  {AFX_IDW_DOCKBAR_RIGHT, 0, 1, 0, 0, 0, 1, 0},
      {AFX_IDW_DOCKBAR_TOP, 0, 0, 1, 0, 1, 0, 0},   {AFX_IDW_DOCKBAR_BOTTOM, 0, 0, 0, 1, 1, 0, 0},
      {AFX_IDW_DOCKBAR_FLOAT, 0, 0, 0, 0, 0, 0, 1},
  };
  for (const Case& c : cases) {
    CTestBar bar;
    HWND dock = ::CreateWindowExA(0, "STATIC", "", WS_CHILD, 0, 0, 10, 10, m_frame->m_hWnd,
                                  reinterpret_cast<HMENU>(static_cast<UINT_PTR>(c.dockId)), nullptr, nullptr);
    ASSERT_TRUE(bar.Create(CWnd::FromHandle(dock), 0, AFX_IDW_CONTROLBAR_FIRST + 41));
    EXPECT_EQ(std::vector<BOOL>({bar.IsLeftDocked(), bar.IsRightDocked(), bar.IsTopDocked(), bar.IsBottomDocked(),
                                 bar.IsHorzDocked(), bar.IsVertDocked(), bar.IsFloating()}),
              std::vector<BOOL>({c.left, c.right, c.top, c.bottom, c.horz, c.vert, c.floating}))
        << c.dockId;
    bar.DestroyWindow();
    ::DestroyWindow(dock);
  }
}

// ---- drawing

TEST_F(DockedBar, ClassicGripperIsOneRaisedBarInsideTheBorders) {
  CTestBar& bar = Dock(AFX_IDW_DOCKBAR_TOP, CBRS_GRIPPER);
  DibSurface dib(40, 20, RGB(1, 2, 3));
  bar.DrawGripper(&dib.dc(), CRect(0, 0, 40, 20));
  // At the left: x 2..4, y from 2 + top border (1), 20 - 1 - 1 - 4 = 14 long.
  EXPECT_EQ(dib.run(2, 3, 0, 1, 13), std::vector<COLORREF>(13, Light()));
  EXPECT_EQ(dib.at(4, 4), Shadow());
  EXPECT_EQ(dib.at(3, 16), Shadow());  // the raised bar's bottom edge
  EXPECT_EQ(dib.at(3, 17), RGB(1, 2, 3));
  EXPECT_EQ(dib.at(2, 2), RGB(1, 2, 3));
}

TEST_F(DockedBar, FlatGripperLinesOnlyWhenLongerThanNine) {
  GetSharedState().m_xpLook = TRUE;
  const COLORREF line = GetToolkitColor(38), none = RGB(1, 2, 3);
  struct Case {
    UINT dock;
    CRect area;
    int lines;
  } cases[] = {
      {AFX_IDW_DOCKBAR_TOP, {0, 0, 20, 9}, 0},    // at the left, 9 high: none
      {AFX_IDW_DOCKBAR_TOP, {0, 0, 20, 15}, 3},   // (15 - 10) / 2 + 1
      {AFX_IDW_DOCKBAR_LEFT, {0, 0, 20, 10}, 6},  // at the top, 20 wide
  };
  for (const Case& c : cases) {
    CTestBar& bar = Dock(c.dock, CBRS_GRIPPER);
    DibSurface dib(30, 30, none);
    bar.DrawGripper(&dib.dc(), c.area);
    const bool atLeft = c.dock == AFX_IDW_DOCKBAR_TOP;
    int drawn = 0;
    for (int along = 0; along < 30; ++along) {
      // A line is 3 pixels from 2 across, at 4, 6, ... along.
      std::vector<COLORREF> run = atLeft ? dib.run(0, along, 1, 0, 7) : dib.run(along, 0, 0, 1, 7);
      if (run[2] != line) continue;
      ++drawn;
      EXPECT_EQ(run, std::vector<COLORREF>({none, none, line, line, line, none, none}));
      EXPECT_EQ(along, 4 + 2 * (drawn - 1));
    }
    EXPECT_EQ(drawn, c.lines) << c.area.Width() << "x" << c.area.Height();
    Undock();
  }
}

TEST_F(DockedBar, DoubleGripperTwoBarsWithLitEnds) {
  CTestBar& bar = Dock(AFX_IDW_DOCKBAR_TOP, CBRS_GRIPPER);
  bar.ModifyXTBarStyle(0, XT_CBS_DOUBLE_GRIPPER, TRUE);
  DibSurface dib(20, 20, RGB(1, 2, 3));
  bar.DrawGripper(&dib.dc(), CRect(0, 0, 20, 20));
  // Bars at x 2 and 5, 3 wide, from y 2, 16 long; the lit pixel at y 17.
  for (int x : {2, 5}) {
    EXPECT_EQ(dib.at(x, 2), Light());
    EXPECT_EQ(dib.at(x + 2, 10), Shadow());
    EXPECT_EQ(dib.at(x, 17), Light());
    EXPECT_EQ(dib.at(x + 1, 17), Shadow());
  }
  EXPECT_EQ(dib.at(8, 10), RGB(1, 2, 3));
}

TEST_F(DockedBar, FloatingStyleDrawsNoGripper) {
  CTestBar& bar = Dock(AFX_IDW_DOCKBAR_TOP, CBRS_GRIPPER | CBRS_FLOATING);
  DibSurface dib(20, 20, RGB(1, 2, 3));
  bar.DrawGripper(&dib.dc(), CRect(0, 0, 20, 20));
  EXPECT_EQ(dib.run(0, 10, 1, 0, 20), std::vector<COLORREF>(20, RGB(1, 2, 3)));
}

TEST_F(DockedBar, BordersRingOutsideARebarTwoPixelsInside) {
  CTestBar& bar = Dock(AFX_IDW_DOCKBAR_TOP, CBRS_BORDER_BOTTOM);
  DibSurface dib(20, 10, RGB(1, 2, 3));
  CRect rect(0, 0, 20, 10);
  bar.DrawBorders(&dib.dc(), rect);
  // The bottom dark line, then the ring's dark row on the same last row.
  EXPECT_EQ(dib.run(0, 9, 1, 0, 19), std::vector<COLORREF>(19, Shadow()));
  EXPECT_EQ(rect, CRect(0, 0, 20, 9));

  REBARBANDINFOA band = {};
  EXPECT_EQ(bar.SendMessage(XTWM_ADDREBAR, 1, reinterpret_cast<LPARAM>(&band)), 1);
  EXPECT_TRUE(band.fMask & RBBIM_CHILDSIZE);
  DibSurface banded(20, 10, RGB(1, 2, 3));
  rect = CRect(0, 0, 20, 10);
  bar.DrawBorders(&banded.dc(), rect);
  EXPECT_EQ(rect, CRect(0, 0, 20, 8));
  EXPECT_EQ(banded.at(19, 9), RGB(1, 2, 3));  // no ring pixel at the corner
}

TEST_F(DockedBar, FlatBordersAreFaceColoured) {
  GetSharedState().m_xpLook = TRUE;
  CTestBar& bar = Dock(AFX_IDW_DOCKBAR_TOP, CBRS_BORDER_ANY | CBRS_BORDER_3D);
  DibSurface dib(20, 10, RGB(1, 2, 3));
  CRect rect(0, 0, 20, 10);
  bar.DrawBorders(&dib.dc(), rect);
  EXPECT_EQ(dib.run(0, 0, 1, 0, 19), std::vector<COLORREF>(19, Face()));
  EXPECT_EQ(dib.run(0, 9, 1, 0, 20), std::vector<COLORREF>(20, Face()));
  EXPECT_EQ(rect, CRect(1, 1, 19, 9));
}

// The double-gripper style reframes the bar without lifting it over its siblings.
TEST_F(DockedBar, StyleChangeKeepsTheZOrder) {
  CTestBar& bar = Dock(AFX_IDW_DOCKBAR_TOP, CBRS_GRIPPER);
  HWND above =
      ::CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE, 0, 0, 10, 10, m_dock, nullptr, nullptr, nullptr);
  ::SetWindowPos(above, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  ASSERT_EQ(::GetWindow(m_dock, GW_CHILD), above);
  EXPECT_EQ(bar.GetXTBarStyle(), 0x23u);
  EXPECT_TRUE(bar.ModifyXTBarStyle(0x01, XT_CBS_DOUBLE_GRIPPER, TRUE));
  EXPECT_EQ(bar.GetXTBarStyle(), 0x26u);
  EXPECT_EQ(::GetWindow(m_dock, GW_CHILD), above);
}

TEST_F(DockedBar, StyleChangeReachesTheToolkitDockBar) {
  CXTDockBar dockBar;
  ASSERT_TRUE(dockBar.Create(m_frame, WS_CHILD | CBRS_ALIGN_TOP, AFX_IDW_DOCKBAR_TOP));
  CTestBar& bar = Dock(AFX_IDW_DOCKBAR_TOP, CBRS_GRIPPER);
  bar.m_pDockBar = &dockBar;
  bar.ModifyXTBarStyle(0, XT_DOCK_KEEP_BORDERS, FALSE);
  EXPECT_EQ(dockBar.GetDockStyle(), 0xA3u);
  bar.m_pDockBar = nullptr;
}

// ---- the bar list

namespace {
struct MenuItem {
  std::string text;
  UINT id;
  bool checked;
  bool operator==(const MenuItem& o) const { return text == o.text && id == o.id && checked == o.checked; }
};
std::vector<MenuItem> Items(HMENU menu) {
  std::vector<MenuItem> items;
  for (int i = 0; menu && i < ::GetMenuItemCount(menu); ++i) {
    char text[64] = {};
    ::GetMenuStringA(menu, i, text, sizeof text, MF_BYPOSITION);
    UINT state = ::GetMenuState(menu, i, MF_BYPOSITION);
    items.push_back({(state & MF_SEPARATOR) ? "-" : text, ::GetMenuItemID(menu, i), (state & MF_CHECKED) != 0});
  }
  if (menu) ::DestroyMenu(menu);
  return items;
}
void PrintTo(const MenuItem& m, std::ostream* os) { *os << m.text << "/" << m.id << (m.checked ? "/checked" : ""); }
}  // namespace

TEST(ControlBarList, ListedBarsThenStatusBarsEachCheckedWhenShown) {
  CFrameWnd* frame = NewFrame("Bar list");
  CStatusBar status;
  ASSERT_TRUE(status.Create(frame));
  CTestBar named, plain, unlisted;
  ASSERT_TRUE(named.Create(frame, CBRS_TOP, AFX_IDW_CONTROLBAR_FIRST + 50));
  named.SetWindowText("Named");
  ASSERT_TRUE(plain.Create(frame, CBRS_TOP, AFX_IDW_CONTROLBAR_FIRST + 51));
  plain.ShowWindow(SW_HIDE);
  ASSERT_TRUE(unlisted.Create(frame, CBRS_TOP, AFX_IDW_CONTROLBAR_FIRST + 52));
  unlisted.m_bListed = FALSE;
  CXTMenuBar menuBar;  // never listed
  ASSERT_TRUE(menuBar.Create(frame));

  // Last created first within a kind; status bars last whatever their order.
  EXPECT_EQ(Items(named.BuildBarListMenu(frame)),
            std::vector<MenuItem>({{"Control Bar", AFX_IDW_CONTROLBAR_FIRST + 51, false},
                                   {"Named", AFX_IDW_CONTROLBAR_FIRST + 50, true},
                                   {"Status Bar", AFX_IDW_STATUS_BAR, true}}));

  // With the third customise flag off only status bars stay.
  GetSharedState().m_customizeFlags[2] = FALSE;
  EXPECT_EQ(Items(named.BuildBarListMenu(frame)), std::vector<MenuItem>({{"Status Bar", AFX_IDW_STATUS_BAR, true}}));
  GetSharedState().m_customizeFlags[2] = TRUE;
  frame->DestroyWindow();
}

TEST(ControlBarList, NothingListableGivesNoMenu) {
  CFrameWnd* frame = NewFrame("Empty bar list");
  CTestBar unlisted;
  ASSERT_TRUE(unlisted.Create(frame, CBRS_TOP, AFX_IDW_CONTROLBAR_FIRST + 52));
  unlisted.m_bListed = FALSE;
  EXPECT_EQ(unlisted.BuildBarListMenu(frame), nullptr);
  frame->DestroyWindow();
}

// ---- owner routing

namespace {
// A window class whose own procedure knows a tip text.
LRESULT CALLBACK TipAnsweringProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NOTIFY && reinterpret_cast<NMHDR*>(lParam)->code == TTN_GETDISPINFOA) {
    static char own[] = "own text";
    reinterpret_cast<NMTTDISPINFOA*>(lParam)->lpszText = own;
    return 1;
  }
  return ::DefWindowProcA(hWnd, message, wParam, lParam);
}
const char* TipAnsweringClass() {
  static const char* name = [] {
    WNDCLASSA wc = {};
    wc.lpfnWndProc = TipAnsweringProc;
    wc.hInstance = ::GetModuleHandleA(nullptr);
    wc.lpszClassName = "BrennicorTipAnsweringBar";
    ::RegisterClassA(&wc);
    return wc.lpszClassName;
  }();
  return name;
}

// An owner that answers tips with a given text and counts the commands it gets.
class CTipOwner : public CWnd {
 public:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == WM_COMMAND) ++commands;
    if (message == WM_NOTIFY && reinterpret_cast<NMHDR*>(lParam)->code == TTN_GETDISPINFOA) {
      NMTTDISPINFOA* info = reinterpret_cast<NMTTDISPINFOA*>(lParam);
      lstrcpynA(info->szText, answer, sizeof info->szText);
      info->lpszText = info->szText;
      return 0;
    }
    return CWnd::WindowProc(message, wParam, lParam);
  }
  const char* answer = "";
  int commands = 0;
};

std::string AskTip(CWnd& bar) {
  NMTTDISPINFOA info = {};
  info.hdr.code = TTN_GETDISPINFOA;
  bar.SendMessage(WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&info));
  return info.lpszText ? info.lpszText : "";
}
}  // namespace

TEST(ControlBarRouting, OwnerGetsCommandsAndTipsTheBarAnswersWhatItLeft) {
  CFrameWnd* frame = NewFrame("Routing");
  CTipOwner owner;
  ASSERT_TRUE(owner.CreateEx(0, "STATIC", "", WS_CHILD, CRect(), frame, 1));
  CTestBar bar;
  ASSERT_TRUE(bar.Create(frame, CBRS_TOP, AFX_IDW_CONTROLBAR_FIRST + 53, TipAnsweringClass()));
  bar.SetOwner(&owner);

  bar.SendMessage(WM_COMMAND, 1234);
  EXPECT_EQ(owner.commands, 1);
  owner.answer = "owner text";
  EXPECT_EQ(AskTip(bar), "owner text");
  owner.answer = "";
  EXPECT_EQ(AskTip(bar), "own text");
  frame->DestroyWindow();
}

// ---- status text

namespace {
// A window that records the prompts it is asked to show.
class CPromptRecorder : public CWnd {
 public:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == WM_SETMESSAGESTRING) prompts.push_back(static_cast<int>(wParam));
    if (message == WM_POPMESSAGESTRING) prompts.push_back(-1);
    return CWnd::WindowProc(message, wParam, lParam);
  }
  std::vector<int> prompts;
};
}  // namespace

TEST(ControlBarStatusText, PromptsGoToTheMainWindowWhenTheOwnerHasNoStatusBar) {
  CFrameWnd* frame = NewFrame("Prompts");
  CPromptRecorder main, owner;
  ASSERT_TRUE(main.CreateEx(0, "STATIC", "", WS_POPUP, CRect(), nullptr, 0));
  ASSERT_TRUE(owner.CreateEx(0, "STATIC", "", WS_CHILD, CRect(), frame, 1));
  theApp.m_pMainWnd = &main;
  CTestBar bar;
  ASSERT_TRUE(bar.Create(frame, CBRS_TOP, AFX_IDW_CONTROLBAR_FIRST + 57));
  bar.SetOwner(&owner);
  EXPECT_TRUE(bar.SetStatusText(7));
  EXPECT_TRUE(bar.SetStatusText(-1));
  EXPECT_EQ(owner.prompts, std::vector<int>({7, -1}));
  EXPECT_EQ(main.prompts, std::vector<int>({7, -1}));

  // An owner with a status line keeps its prompts to itself.
  ::CreateWindowExA(0, "STATIC", "", WS_CHILD, 0, 0, 1, 1, owner.m_hWnd,
                    reinterpret_cast<HMENU>(static_cast<UINT_PTR>(AFX_IDW_STATUS_BAR)), nullptr, nullptr);
  EXPECT_TRUE(bar.SetStatusText(8));
  EXPECT_EQ(main.prompts, std::vector<int>({7, -1}));
  bar.SetStatusText(-1);
  theApp.m_pMainWnd = nullptr;
  main.DestroyWindow();
  frame->DestroyWindow();
}

// ---- showing and idle time

namespace {
class CVisibilityProbe : public CCmdTarget {
 public:
  void OnVisibility(INT_PTR visible) { seen.push_back(static_cast<int>(visible)); }
  std::vector<int> seen;
};

}  // namespace

TEST(ControlBarState, DelayedShowAndHideTellTheListeners) {
  CFrameWnd* frame = NewFrame("Listeners");
  CTestBar bar;
  ASSERT_TRUE(bar.Create(frame, CBRS_TOP, AFX_IDW_CONTROLBAR_FIRST + 54));
  CVisibilityProbe probe;
  bar.VisibilityListeners().Add(MakeListener(&probe, &CVisibilityProbe::OnVisibility));
  frame->ShowControlBar(&bar, FALSE, TRUE);
  frame->ShowControlBar(&bar, TRUE, TRUE);
  EXPECT_EQ(probe.seen, std::vector<int>({0, 1}));
  bar.DelayShow(FALSE);
  bar.SendMessage(WM_IDLEUPDATECMDUI, TRUE);
  EXPECT_EQ(probe.seen, std::vector<int>({0, 1, 0}));
  EXPECT_FALSE(bar.GetStyle() & WS_VISIBLE);
  frame->DestroyWindow();
}

TEST(ControlBarState, IdleUpdatesGoToTheOwningFrame) {
  CFrameWnd* frame = NewFrame("Idle target");
  CTestBar bar;
  ASSERT_TRUE(bar.Create(frame, CBRS_TOP, AFX_IDW_CONTROLBAR_FIRST + 55));
  bar.SendMessage(WM_IDLEUPDATECMDUI, TRUE);
  EXPECT_EQ(bar.updates, 1);
  EXPECT_EQ(bar.lastTarget, frame);
  frame->DestroyWindow();
}
