// Dock bars, floating frames and bar state on a live frame under Wine:
// docking by rectangle into rows, placeholders, floating and docking back,
// the owner's caption while a floating frame is active, and bar state that
// names bars the frame lacks or lists one bar twice.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "classlib/classlib.h"
#include "test_bar.h"
#include "waiting.h"

namespace {

// A bar of fixed size along its side.
using CBlockBar = TTestBar<CControlBar>;

// Remembers the caption state its default handling was last told.
class CCaptionFrame : public CFrameWnd {
 public:
  LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == WM_NCACTIVATE) captionActive = wParam != 0;
    return CFrameWnd::DefWindowProc(message, wParam, lParam);
  }
  bool captionActive = false;
};

class CCustomMiniFrame : public CMiniDockFrameWnd {
  DECLARE_DYNCREATE(CCustomMiniFrame)
};
IMPLEMENT_DYNCREATE(CCustomMiniFrame, CMiniDockFrameWnd)

CWinApp theApp("Layer Docking Test");

const UINT kFirstBar = AFX_IDW_CONTROLBAR_FIRST + 0x40;
const int kBars = 5;

class Docking : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    AfxWinInit(::GetModuleHandleA(nullptr), nullptr, const_cast<LPSTR>(""), SW_SHOWNORMAL);
  }
  void SetUp() override {
    frame = new CCaptionFrame;
    ASSERT_TRUE(frame->Create(nullptr, "Docking", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(0, 0, 800, 600)));
    frame->EnableDocking(CBRS_ALIGN_ANY);
    frame->m_pFloatingFrameClass = RUNTIME_CLASS(CCustomMiniFrame);
    static const char* names[kBars] = {"Alpha", "Beta", "Gamma", "Delta", "Epsilon"};
    for (int i = 0; i < kBars; ++i) {
      bars[i].SetBorders();
      ASSERT_TRUE(bars[i].Create(frame, kFirstBar + i, CSize(100, 24), names[i]));
    }
    theApp.m_pMainWnd = frame;
  }
  void TearDown() override {
    theApp.m_pMainWnd = nullptr;
    if (::IsWindow(frameHandle())) frame->DestroyWindow();
    PumpWaiting();
  }
  HWND frameHandle() const { return frame ? frame->m_hWnd : nullptr; }
  CDockBar* Dock(UINT nID) { return static_cast<CDockBar*>(frame->GetControlBar(nID)); }
  CRect InDock(CControlBar& bar) {
    CRect rect;
    bar.GetWindowRect(&rect);
    bar.m_pDockBar->ScreenToClient(&rect);
    return rect;
  }
  // The dock bar's list as bar info ids.
  std::vector<DWORD> Rows(CDockBar* pDock) {
    CControlBarInfo info;
    pDock->GetBarInfo(&info);
    return std::vector<DWORD>(&info.m_arrBarID[0], &info.m_arrBarID[0] + info.m_arrBarID.GetSize());
  }
  // Three rows in the top dock bar: Alpha | Beta, Gamma | Delta.
  void DockThreeRows() {
    CDockBar* top = Dock(AFX_IDW_DOCKBAR_TOP);
    frame->DockControlBar(&bars[0], top);
    frame->DockControlBar(&bars[1], top);
    frame->DockControlBar(&bars[3], top);
    frame->RecalcLayout();
    CRect beta;
    bars[1].GetWindowRect(&beta);
    CRect drop(beta.right + 20, beta.top, beta.right + 120, beta.bottom);
    frame->DockControlBar(&bars[2], top, &drop);
    frame->RecalcLayout();
  }

  CCaptionFrame* frame = nullptr;
  CBlockBar bars[kBars];
};

DWORD Id(int i) { return kFirstBar + i; }

}  // namespace

TEST(ControlBarDefaults, FixedLayoutAndStyleLiterals) {
  struct : CControlBar {
    void OnUpdateCmdUI(CFrameWnd*, BOOL) override {}
  } bar;
  bar.SetBorders();
  EXPECT_EQ(bar.CalcFixedLayout(TRUE, TRUE), CSize(32767, 0));
  EXPECT_EQ(bar.CalcFixedLayout(TRUE, FALSE), CSize(0, 32767));
  EXPECT_EQ(bar.CalcFixedLayout(FALSE, TRUE), CSize(0, 0));
  EXPECT_EQ(bar.CalcDynamicLayout(-1, LM_STRETCH | LM_HORZ), CSize(32767, 0));
  struct {
    DWORD literal, named;
  } literals[] = {
      {0x50402834, WS_CHILD | WS_VISIBLE | CBRS_GRIPPER | CBRS_TOP | CBRS_FLYBY | CBRS_TOOLTIPS | CBRS_SIZE_DYNAMIC},
      {0x40402834, WS_CHILD | CBRS_GRIPPER | CBRS_TOP | CBRS_FLYBY | CBRS_TOOLTIPS | CBRS_SIZE_DYNAMIC},
      {0x50008200, WS_CHILD | WS_VISIBLE | CBRS_BOTTOM},
      {0x2800, CBRS_ALIGN_TOP | CBRS_BORDER_BOTTOM},
      {0x8200, CBRS_ALIGN_BOTTOM | CBRS_BORDER_TOP},
      {0xF000, CBRS_ALIGN_ANY},
  };
  for (const auto& l : literals) EXPECT_EQ(l.literal, l.named);
}

TEST(DockStateScaling, OnlyAKnownDifferentScreenSizeScales) {
  CSize screen(::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN));
  struct Case {
    CSize stored;
    CPoint expected;
  } cases[] = {
      {CSize(0, 0), CPoint(100, 80)},
      {screen, CPoint(100, 80)},
      {CSize(screen.cx / 2, screen.cy / 2), CPoint(200, 160)},
  };
  for (const Case& c : cases) {
    CDockState state;
    CControlBarInfo* pInfo = new CControlBarInfo;
    pInfo->m_pointPos = CPoint(100, 80);
    state.m_arrBarInfo.Add(pInfo);
    state.SetScreenSize(c.stored);
    state.ScalePositions();
    EXPECT_EQ(pInfo->m_pointPos, c.expected);
    state.Clear();
    EXPECT_EQ(state.m_arrBarInfo.GetSize(), 0);
  }
}

TEST_F(Docking, DroppedBarsJoinTheRowTheyFallInOrOpenOne) {
  DockThreeRows();
  CDockBar* top = Dock(AFX_IDW_DOCKBAR_TOP);
  EXPECT_EQ(Rows(top), (std::vector<DWORD>{0, Id(0), 0, Id(1), Id(2), 0, Id(3), 0}));
  EXPECT_EQ(InDock(bars[2]).top, InDock(bars[1]).top);
  EXPECT_GT(InDock(bars[2]).left, InDock(bars[1]).right);
  EXPECT_EQ(InDock(bars[3]).top, 48);

  // Above the first row: a new first row; below the last: a new last row.
  CRect alpha;
  bars[0].GetWindowRect(&alpha);
  CRect above(alpha.left, alpha.top - 30, alpha.right, alpha.top - 6);
  frame->DockControlBar(&bars[4], top, &above);
  EXPECT_EQ(Rows(top), (std::vector<DWORD>{0, Id(4), 0, Id(0), 0, Id(1), Id(2), 0, Id(3), 0}));
  CRect delta;
  bars[3].GetWindowRect(&delta);
  CRect below(delta.left, delta.bottom + 2, delta.right, delta.bottom + 26);
  frame->DockControlBar(&bars[0], top, &below);
  EXPECT_EQ(Rows(top), (std::vector<DWORD>{0, Id(4), 0, Id(1), Id(2), 0, Id(3), 0, Id(0), 0}));
  frame->RecalcLayout();
  CRect client;
  frame->GetClientRect(&client);
  CRect dockRect;
  top->GetWindowRect(&dockRect);
  frame->ScreenToClient(&dockRect);
  EXPECT_EQ(dockRect.Height(), 4 * 24 + 2);  // four rows and the bottom border
  EXPECT_EQ(dockRect.Width(), client.Width());
}

TEST_F(Docking, FloatingMakesAFrameOfTheRuntimeClassShownAtIdleAndDockingBackRemovesIt) {
  DockThreeRows();
  frame->FloatControlBar(&bars[0], CPoint(300, 300));
  CFrameWnd* mini = bars[0].GetParentFrame();
  ASSERT_NE(mini, frame);
  EXPECT_TRUE(mini->IsKindOf(RUNTIME_CLASS(CCustomMiniFrame)));
  EXPECT_FALSE(mini->IsWindowVisible());
  theApp.OnIdle(0);
  EXPECT_TRUE(mini->IsWindowVisible());
  CRect client, bar;
  mini->GetClientRect(&client);
  bars[0].GetWindowRect(&bar);
  EXPECT_EQ(client.Size(), bar.Size());
  char title[32];
  mini->GetWindowText(title, sizeof title);
  EXPECT_STREQ(title, "Alpha");
  // The top dock bar keeps Alpha's place.
  EXPECT_EQ(Rows(Dock(AFX_IDW_DOCKBAR_TOP))[1], Id(0) | AFX_BARINFO_PLACEHOLDER);

  HWND hMini = mini->m_hWnd;
  frame->DockControlBar(&bars[0], AFX_IDW_DOCKBAR_TOP);
  EXPECT_FALSE(::IsWindow(hMini));
  EXPECT_EQ(bars[0].m_pDockBar, Dock(AFX_IDW_DOCKBAR_TOP));
  std::vector<DWORD> rows = Rows(Dock(AFX_IDW_DOCKBAR_TOP));
  EXPECT_EQ(std::count(rows.begin(), rows.end(), Id(0) | AFX_BARINFO_PLACEHOLDER), 0);
}

TEST_F(Docking, ClosingAFloatingFrameHidesItsBarAndShowingTheBarBringsItBack) {
  frame->DockControlBar(&bars[0], AFX_IDW_DOCKBAR_TOP);
  frame->FloatControlBar(&bars[0], CPoint(300, 300));
  theApp.OnIdle(0);
  CFrameWnd* mini = bars[0].GetParentFrame();
  mini->SendMessage(WM_CLOSE);
  EXPECT_FALSE(bars[0].IsWindowVisible());
  EXPECT_FALSE(mini->IsWindowVisible());
  EXPECT_TRUE(mini->IsWindow());
  frame->ShowControlBar(&bars[0], TRUE, TRUE);
  EXPECT_FALSE(mini->IsWindowVisible());
  theApp.OnIdle(0);
  EXPECT_TRUE(mini->IsWindowVisible());
  EXPECT_TRUE(bars[0].IsWindowVisible());
}

TEST_F(Docking, ActiveFloatingFrameKeepsTheMainCaptionActive) {
  frame->DockControlBar(&bars[0], AFX_IDW_DOCKBAR_TOP);
  frame->FloatControlBar(&bars[0], CPoint(300, 300));
  theApp.OnIdle(0);
  CFrameWnd* mini = bars[0].GetParentFrame();
  frame->SetActiveWindow();
  mini->SetActiveWindow();
  ASSERT_EQ(::GetActiveWindow(), mini->m_hWnd);
  EXPECT_TRUE(frame->m_nFlags & WF_STAYACTIVE);
  EXPECT_TRUE(frame->captionActive);
  // Another window of the program: the floating frame no longer holds the caption.
  CWnd other;
  ASSERT_TRUE(other.CreateEx(0, AfxRegisterWndClass(0), "Other", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, nullptr, nullptr));
  other.SetActiveWindow();
  EXPECT_FALSE(frame->m_nFlags & WF_STAYACTIVE);
  EXPECT_FALSE(frame->captionActive);
  other.DestroyWindow();
}

TEST_F(Docking, BarStateRestoresThreeRowsWithAHiddenBarExactly) {
  DockThreeRows();
  frame->ShowControlBar(&bars[2], FALSE, FALSE);
  CDockState state;
  frame->GetDockState(state);
  std::vector<DWORD> rows = Rows(Dock(AFX_IDW_DOCKBAR_TOP));
  for (int i = 0; i < 4; ++i) frame->DockControlBar(&bars[i], AFX_IDW_DOCKBAR_LEFT);
  frame->ShowControlBar(&bars[2], TRUE, FALSE);
  frame->SetDockState(state);
  theApp.OnIdle(0);
  EXPECT_EQ(Rows(Dock(AFX_IDW_DOCKBAR_TOP)), rows);
  EXPECT_EQ(Rows(Dock(AFX_IDW_DOCKBAR_LEFT)), (std::vector<DWORD>{0}));
  EXPECT_FALSE(bars[2].IsWindowVisible());
  EXPECT_TRUE(bars[1].IsWindowVisible());
}

TEST_F(Docking, UntrustedBarStateLeavesTheFrameUsable) {
  DockThreeRows();
  auto dockInfo = [](UINT nID, BOOL floating, std::vector<DWORD> ids) {
    CControlBarInfo* pInfo = new CControlBarInfo;
    pInfo->m_nBarID = nID;
    pInfo->m_bDockBar = TRUE;
    pInfo->m_bFloating = floating;
    pInfo->m_bHorz = TRUE;
    pInfo->m_bVisible = TRUE;
    pInfo->m_pointPos = CPoint(200, 200);
    for (DWORD id : ids) pInfo->m_arrBarID.Add(id);
    return pInfo;
  };
  const DWORD unknown = AFX_IDW_CONTROLBAR_FIRST + 0xF0;
  CDockState state;
  // An unknown bar and an unknown placeholder; Beta listed in two dock bars;
  // a floating record whose only bar does not exist.
  state.m_arrBarInfo.Add(dockInfo(AFX_IDW_DOCKBAR_TOP, FALSE, {0, unknown, Id(1), 0, unknown | AFX_BARINFO_PLACEHOLDER, Id(0), 0}));
  state.m_arrBarInfo.Add(dockInfo(AFX_IDW_DOCKBAR_LEFT, FALSE, {0, Id(1), Id(3), 0}));
  state.m_arrBarInfo.Add(dockInfo(AFX_IDW_DOCKBAR_FLOAT, TRUE, {0, unknown, 0}));
  state.m_arrBarInfo.Add(dockInfo(unknown, FALSE, {0, Id(2), 0}));
  size_t framesBefore = AfxGetThreadState()->m_frameList.size();
  frame->SetDockState(state);
  theApp.OnIdle(0);

  // Gamma, listed only by a dock bar the frame lacks, goes back to its own side.
  EXPECT_EQ(Rows(Dock(AFX_IDW_DOCKBAR_TOP)), (std::vector<DWORD>{0, Id(1), 0, Id(0), 0, Id(2), 0}));
  EXPECT_EQ(Rows(Dock(AFX_IDW_DOCKBAR_LEFT)), (std::vector<DWORD>{0, Id(3), 0}));
  EXPECT_EQ(AfxGetThreadState()->m_frameList.size(), framesBefore);
  for (int i = 0; i < 4; ++i) {
    int homes = 0;
    for (UINT nID : {AFX_IDW_DOCKBAR_TOP, AFX_IDW_DOCKBAR_LEFT, AFX_IDW_DOCKBAR_RIGHT, AFX_IDW_DOCKBAR_BOTTOM})
      homes += Dock(nID)->FindBar(&bars[i]) > 0 ? 1 : 0;
    EXPECT_EQ(homes, 1) << "bar " << i;
    EXPECT_EQ(::GetParent(bars[i].m_hWnd), bars[i].m_pDockBar->m_hWnd);
  }
  // Still usable: a bar floats and docks again.
  frame->FloatControlBar(&bars[3], CPoint(100, 100));
  frame->DockControlBar(&bars[3], AFX_IDW_DOCKBAR_BOTTOM);
  frame->RecalcLayout();
  EXPECT_EQ(bars[3].m_pDockBar, Dock(AFX_IDW_DOCKBAR_BOTTOM));
}
