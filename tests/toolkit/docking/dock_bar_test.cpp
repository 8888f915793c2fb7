// The toolkit's dock bars on a live frame under Wine: where bars land in
// rows after a layout (window rectangles in dock-bar coordinates), the gap
// between toolkit and other bars, border bits, wrapping, sliding back from
// the end, and a menu bar taking a row of its own.
#include <gtest/gtest.h>

#include <vector>

#include "classlib/classlib.h"
#include "docking_fixture.h"
#include "toolkit/docking/DockBar.h"
#include "toolkit/menus/MenuBar.h"
#include "waiting.h"

namespace {

const UINT kFirstBar = AFX_IDW_CONTROLBAR_FIRST + 0x40;
class DockBar : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    AfxWinInit(::GetModuleHandleA(nullptr), nullptr, const_cast<LPSTR>(""), SW_SHOWNORMAL);
  }
  void SetUp() override {
    frame = NewFrameWithToolkitDockBars("Dock bars", CRect(0, 0, 800, 600));
    ASSERT_TRUE(frame);
    CRect client;
    frame->GetClientRect(&client);
    width = client.Width();
  }
  void TearDown() override {
    AfxGetApp()->m_pMainWnd = nullptr;
    frame->DestroyWindow();
    PumpWaiting();
  }
  CXTDockBar* Dock(UINT nID) { return static_cast<CXTDockBar*>(frame->GetControlBar(nID)); }
  // Bars docked in one row of the dock bar, in order.
  void DockInOneRow(UINT nDockBarID, std::vector<CControlBar*> row) {
    CXTDockBar* pDock = Dock(nDockBarID);
    for (CControlBar* pBar : row) frame->DockControlBar(pBar, pDock);
    pDock->m_arrBars.RemoveAll();
    pDock->m_arrBars.Add(nullptr);
    for (CControlBar* pBar : row) pDock->m_arrBars.Add(pBar);
    pDock->m_arrBars.Add(nullptr);
  }
  CRect InDock(CControlBar& bar) {
    CRect rect;
    bar.GetWindowRect(&rect);
    bar.m_pDockBar->ScreenToClient(&rect);
    return rect;
  }
  std::vector<void*> List(UINT nDockBarID) {
    CXTDockBar* pDock = Dock(nDockBarID);
    return std::vector<void*>(&pDock->m_arrBars[0], &pDock->m_arrBars[0] + pDock->m_arrBars.GetSize());
  }
  void Idle() {
    PumpWaiting({nullptr, [] { AfxGetApp()->OnIdle(0); }});
  }

  CFrameWnd* frame = nullptr;
  int width = 0;
};

}  // namespace

TEST_F(DockBar, ToolkitBarsTouchOtherBarsOverlapAndAllGetFourBorders) {
  CSizedBar a, c;
  CBlockBar b;  // a class-library bar of the same kind
  ASSERT_TRUE(a.Create(frame, kFirstBar, CSize(100, 24)));
  ASSERT_TRUE(b.Create(frame, kFirstBar + 1, kBlockSize, "Block"));
  ASSERT_TRUE(c.Create(frame, kFirstBar + 2, CSize(100, 24)));
  DockInOneRow(AFX_IDW_DOCKBAR_TOP, {&a, &b, &c});
  for (CControlBar* pBar :
       {static_cast<CControlBar*>(&a), static_cast<CControlBar*>(&b), static_cast<CControlBar*>(&c)})
    pBar->SetBarStyle(pBar->GetBarStyle() & ~CBRS_BORDER_ANY);
  frame->RecalcLayout();

  EXPECT_EQ(InDock(a), CRect(0, -1, 100, 23));
  EXPECT_EQ(InDock(b), CRect(100, -1, 200, 23));  // right after a toolkit bar
  EXPECT_EQ(InDock(c), CRect(198, -1, 298, 23));  // two pixels over the plain bar
  for (CControlBar* pBar :
       {static_cast<CControlBar*>(&a), static_cast<CControlBar*>(&b), static_cast<CControlBar*>(&c)})
    EXPECT_EQ(pBar->GetBarStyle() & CBRS_BORDER_ANY, static_cast<DWORD>(CBRS_BORDER_ANY));
  // Each placed bar's last docked place is where it now is.
  EXPECT_EQ(c.m_pDockContext->m_rectMRUDockPos, InDock(c));
  CRect top;
  Dock(AFX_IDW_DOCKBAR_TOP)->GetWindowRect(&top);
  EXPECT_EQ(top.Height(), 24);  // the row, one pixel above the dock bar, and one more
  // An empty dock bar is the class library's base size, with no extra pixel.
  CXTDockBar* bottom = Dock(AFX_IDW_DOCKBAR_BOTTOM);
  EXPECT_EQ(bottom->CalcFixedLayout(TRUE, TRUE), bottom->CControlBar::CalcFixedLayout(TRUE, TRUE));

  // A side whose dock style keeps borders leaves them alone.
  Dock(AFX_IDW_DOCKBAR_TOP)->SetDockStyle(XT_DOCK_KEEP_BORDERS);
  a.SetBarStyle(a.GetBarStyle() & ~CBRS_BORDER_ANY);
  frame->RecalcLayout();
  EXPECT_EQ(a.GetBarStyle() & CBRS_BORDER_ANY, 0u);
}

TEST_F(DockBar, AVerticalSideLaysOutDownwards) {
  CSizedBar a, b;
  ASSERT_TRUE(a.Create(frame, kFirstBar, CSize(100, 24)));
  ASSERT_TRUE(b.Create(frame, kFirstBar + 1, CSize(80, 24)));
  DockInOneRow(AFX_IDW_DOCKBAR_LEFT, {&a, &b});
  frame->RecalcLayout();
  EXPECT_EQ(InDock(a), CRect(0, -1, 24, 99));
  EXPECT_EQ(InDock(b), CRect(0, 99, 24, 179));
}

TEST_F(DockBar, ABarStartingAtTheEndOpensARowButTheFirstOfARowNeverDoes) {
  const int half = width / 2 + 10;
  CSizedBar a, b, c;
  ASSERT_TRUE(a.Create(frame, kFirstBar, CSize(half, 24)));
  ASSERT_TRUE(b.Create(frame, kFirstBar + 1, CSize(half, 24)));
  ASSERT_TRUE(c.Create(frame, kFirstBar + 2, CSize(100, 24)));
  DockInOneRow(AFX_IDW_DOCKBAR_TOP, {&a, &b, &c});
  frame->RecalcLayout();
  Idle();
  // b passes the end but starts before it; c would start past it.
  EXPECT_EQ(List(AFX_IDW_DOCKBAR_TOP), (std::vector<void*>{nullptr, &a, &b, nullptr, &c, nullptr}));
  EXPECT_EQ(InDock(b).left, half);
  EXPECT_EQ(InDock(c), CRect(0, 23, 100, 47));

  // Alone in its row, a bar wider than the side stays at the row's start.
  CSizedBar wide;
  ASSERT_TRUE(wide.Create(frame, kFirstBar + 3, CSize(width + 200, 24)));
  DockInOneRow(AFX_IDW_DOCKBAR_BOTTOM, {&wide});
  frame->RecalcLayout();
  Idle();
  EXPECT_EQ(List(AFX_IDW_DOCKBAR_BOTTOM), (std::vector<void*>{nullptr, &wide, nullptr}));
  EXPECT_EQ(InDock(wide).left, 0);
}

TEST_F(DockBar, ABarPushedPastTheEndSlidesBackButNotOverTheBarBefore) {
  struct {
    int length;
    int expectedLeft;
    const char* why;
  } cases[] = {
      {200, width - 200, "ends at the end of the side"},
      {600, 300, "stops at the bar before"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.why);
    CSizedBar first, pushed;
    ASSERT_TRUE(first.Create(frame, kFirstBar, CSize(300, 24)));
    ASSERT_TRUE(pushed.Create(frame, kFirstBar + 1, CSize(c.length, 24)));
    DockInOneRow(AFX_IDW_DOCKBAR_TOP, {&first, &pushed});
    frame->RecalcLayout();
    // The user leaves a gap that pushes it past the end.
    pushed.SetWindowPos(nullptr, width - 100, -1, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    frame->RecalcLayout();
    EXPECT_EQ(InDock(pushed).left, c.expectedLeft);
    first.DestroyWindow();
    pushed.DestroyWindow();
  }
}

TEST_F(DockBar, AMenuBarBehindOtherBarsTakesARowOfItsOwnAndTheLayoutsMovesStillHappen) {
  CSizedBar a, b;
  CSizedMenuBar menu(CSize(200, 24));
  ASSERT_TRUE(a.Create(frame, kFirstBar, CSize(100, 24)));
  ASSERT_TRUE(menu.Create(frame, WS_CHILD | WS_VISIBLE | CBRS_TOP, kFirstBar + 1));
  menu.EnableDocking(CBRS_ALIGN_ANY);
  ASSERT_TRUE(b.Create(frame, kFirstBar + 2, CSize(100, 24)));
  DockInOneRow(AFX_IDW_DOCKBAR_TOP, {&a, &menu, &b});
  a.SetWindowPos(nullptr, 0, 40, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  frame->m_nIdleFlags = 0;

  CXTDockBar* top = Dock(AFX_IDW_DOCKBAR_TOP);
  top->CalcFixedLayout(TRUE, TRUE);
  EXPECT_EQ(InDock(a).top, -1);  // moved by the batch the layout began before it stopped
  EXPECT_EQ(List(AFX_IDW_DOCKBAR_TOP), (std::vector<void*>{nullptr, &menu, nullptr, &a, &b, nullptr}));
  EXPECT_TRUE(frame->m_nIdleFlags & CFrameWnd::idleLayout);

  Idle();
  EXPECT_EQ(InDock(menu), CRect(0, -1, 200, 23));
  EXPECT_EQ(InDock(a), CRect(0, 23, 100, 47));
  EXPECT_EQ(InDock(b), CRect(100, 23, 200, 47));
}

// A docked bar shown or hidden "later" changes at the frame's next layout.
TEST_F(DockBar, ADelayedShowOrHideHappensInTheNextLayout) {
  CSizedBar a, b;
  ASSERT_TRUE(a.Create(frame, kFirstBar, CSize(100, 24)));
  ASSERT_TRUE(b.Create(frame, kFirstBar + 1, CSize(100, 24)));
  DockInOneRow(AFX_IDW_DOCKBAR_TOP, {&a, &b});
  frame->RecalcLayout();

  frame->ShowControlBar(&a, FALSE, TRUE);
  EXPECT_TRUE(a.GetStyle() & WS_VISIBLE);
  frame->RecalcLayout();
  EXPECT_FALSE(a.GetStyle() & WS_VISIBLE);

  frame->ShowControlBar(&a, TRUE, TRUE);
  frame->RecalcLayout();
  EXPECT_TRUE(a.GetStyle() & WS_VISIBLE);
  EXPECT_EQ(InDock(a).left, 0);
}
