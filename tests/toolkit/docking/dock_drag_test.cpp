// Dragging toolkit bars with real mouse and key input: docking by where the
// pointer is (an empty side reached from the frame's edge), Ctrl floating,
// Shift flipping only a bar that docks both ways, and a live drag that
// Escape undoes, with the listeners, the focus and WM_QUIT looked after.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "classlib/classlib.h"
#include "docking_fixture.h"
#include "dialog_robot.h"
#include "toolkit/bars/ControlBar.h"
#include "toolkit/common/SharedState.h"
#include "toolkit/docking/DockDragContext.h"

namespace {

CWinApp theApp("Dock Drag Test");

// A bar dragged in outline or live, as chosen.
class CDragBar : public CSizedBar {
 public:
  BOOL CanDragFullWindow() const override { return live; }
  void AllowOtherFrames() { m_bOtherFrameDocking = TRUE; }
  BOOL live = FALSE;
};

// Records each call: whether the loop ran, and a WM_QUIT waiting when it ended.
class CDragProbe : public CObject {
 public:
  void OnDrag(CXTDockDragContext* pContext) {
    inLoop.push_back(pContext->IsInLoop() != FALSE);
    MSG msg;
    if (!pContext->IsInLoop() && ::PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE))
      quitCode = static_cast<int>(msg.wParam);
  }
  std::vector<bool> inLoop;
  int quitCode = -1;
};

const UINT kBar = AFX_IDW_CONTROLBAR_FIRST + 0x50;
class DockDrag : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    AfxWinInit(::GetModuleHandleA(nullptr), nullptr, const_cast<LPSTR>(""), SW_SHOWNORMAL);
  }
  void SetUp() override {
    frame = NewFrameWithToolkitDockBars("Drag", CRect(100, 100, 800, 600));
    ASSERT_TRUE(frame);
    frame->SetForegroundWindow();
    frame->SetActiveWindow();
    frame->SetFocus();  // keys go to the focus; without one they would arrive as system keys
  }
  void TearDown() override {
    theApp.m_pMainWnd = nullptr;
    if (::IsWindow(frame->m_hWnd)) frame->DestroyWindow();
  }
  void MakeBar(CDragBar& bar, UINT nID, DWORD dwDockStyle = CBRS_ALIGN_ANY) {
    ASSERT_TRUE(bar.Create(frame, nID, CSize(160, 24), "Drag", dwDockStyle));
    frame->DockControlBar(&bar, AFX_IDW_DOCKBAR_TOP);
    frame->RecalcLayout();
  }
  CPoint ClientPoint(int x, int y) {
    CPoint pt(x, y);
    frame->ClientToScreen(&pt);
    return pt;
  }
  CDockBar* Dock(UINT nID) { return static_cast<CDockBar*>(frame->GetControlBar(nID)); }
  // Drags the bar with script played while the loop runs. Each press lands
  // elsewhere along the bar: two quick presses on one spot would be a double click.
  void DragWith(CDragBar& bar, const std::function<void()>& script) {
    CRect rect;
    bar.GetWindowRect(&rect);
    const int along = 12 * (presses++ % 6) - 30;
    const CPoint press = rect.CenterPoint() + (rect.Width() >= rect.Height() ? CSize(along, 0) : CSize(0, along));
    EXPECT_TRUE(::DragWith(bar.m_hWnd, press, script));
    EXPECT_EQ(::GetCapture(), nullptr);
  }

  CFrameWnd* frame = nullptr;
  int presses = 0;
};

}  // namespace

namespace {

// Puts the cursor on target and keeps it there until the drag loop has seen
// it there (seen) for a while: the virtual desktop replays earlier pointer
// positions late, and one landing just before the drop would move the bar
// back. Every correction starts the wait again; all of it ends in 5 s.
void HoldCursorAt(CPoint target, const std::function<bool()>& seen) {
  const DWORD deadline = ::GetTickCount() + 5000;
  DWORD steadySince = ::GetTickCount();
  while (::GetTickCount() < deadline) {
    POINT at = {};
    if (!::GetCursorPos(&at) || CPoint(at) != target) {
      MoveCursor(target);
      steadySince = ::GetTickCount();
    } else if (!seen()) {
      steadySince = ::GetTickCount();
    } else if (::GetTickCount() - steadySince >= 250) {
      return;
    }
    ::Sleep(5);
  }
}

}  // namespace

TEST_F(DockDrag, APointerAtAnEmptySideOfTheFrameDocksThere) {
  CDragBar bar;
  MakeBar(bar, kBar);
  CRect client;
  frame->GetClientRect(&client);
  struct {
    UINT nID;
    CPoint atEdge;
  } cases[] = {
      {AFX_IDW_DOCKBAR_LEFT, CPoint(3, client.bottom / 2)},
      {AFX_IDW_DOCKBAR_RIGHT, CPoint(client.right - 4, client.bottom / 2)},
      {AFX_IDW_DOCKBAR_BOTTOM, CPoint(client.right / 2, client.bottom - 4)},
      {AFX_IDW_DOCKBAR_TOP, CPoint(client.right / 2, 3)},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.nID);
    const CPoint target = ClientPoint(c.atEdge.x, c.atEdge.y);
    DragWith(bar, [&] { HoldCursorAt(target, [&] { return bar.m_pDockContext->m_ptLast == target; }); });
    EXPECT_EQ(bar.m_pDockBar, Dock(c.nID));
    EXPECT_EQ(bar.m_pDockContext->m_uMRUDockID, c.nID);
  }
}

TEST_F(DockDrag, CtrlFloatsOverADockBarAndShiftFlipsOnlyABarThatDocksBothWays) {
  CDragBar bar;
  MakeBar(bar, kBar);
  CRect rect;
  bar.GetWindowRect(&rect);
  const CPoint nearby = rect.CenterPoint() + CSize(30, 2);
  DragWith(bar, [&] {
    SendKey(VK_CONTROL, true);
    MoveCursor(nearby);
    SendMouseButton(MOUSEEVENTF_LEFTUP);
    SendKey(VK_CONTROL, false);
  });
  EXPECT_TRUE(bar.m_pDockBar && bar.m_pDockBar->m_bFloating);
  frame->DockControlBar(&bar, Dock(AFX_IDW_DOCKBAR_BOTTOM));  // its floating frame out of the way
  frame->RecalcLayout();

  struct {
    DWORD dwDockStyle;
    DWORD expectedAlign;
  } cases[] = {{CBRS_ALIGN_ANY, CBRS_ALIGN_LEFT}, {CBRS_ALIGN_TOP | CBRS_ALIGN_BOTTOM, CBRS_ALIGN_TOP}};
  UINT nID = kBar + 1;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.dwDockStyle);
    CDragBar flipped;
    MakeBar(flipped, nID++, c.dwDockStyle);
    const CPoint middle = ClientPoint(350, 250);
    DragWith(flipped, [&] {
      SendKey(VK_SHIFT, true);
      MoveCursor(middle);
      SendMouseButton(MOUSEEVENTF_LEFTUP);
      SendKey(VK_SHIFT, false);
    });
    ASSERT_TRUE(flipped.m_pDockBar && flipped.m_pDockBar->m_bFloating);
    EXPECT_EQ(flipped.m_pDockBar->m_dwStyle & CBRS_ALIGN_ANY, c.expectedAlign);
    flipped.DestroyWindow();
  }
}

// Every way out of a live drag but the drop puts the bar back: Escape, a
// right click, and the capture taken away (WM_CANCELMODE releases it).
namespace {
struct CancelWay {
  const char* name;
  std::function<void(HWND bar)> cancel;
};
const CancelWay kCancelWays[] = {
    {"Escape",
     [](HWND) {
       SendKey(VK_ESCAPE, true);
       SendKey(VK_ESCAPE, false);
     }},
    {"right click", [](HWND bar) { ::PostMessageA(bar, WM_RBUTTONDOWN, MK_LBUTTON | MK_RBUTTON, 0); }},
    {"lost capture", [](HWND bar) { ::PostMessageA(bar, WM_CANCELMODE, 0, 0); }},
};
}  // namespace

class DockDragCancel : public DockDrag, public ::testing::WithParamInterface<CancelWay> {};

TEST_P(DockDragCancel, PutsTheBarBackTellsTheListenersAndGivesTheFocusBack) {
  const CancelWay& way = GetParam();
  CDragBar first, moved;
  MakeBar(first, kBar);
  MakeBar(moved, kBar + 1);
  moved.live = TRUE;
  // In the first bar's row, after it.
  CRect firstRect;
  first.GetWindowRect(&firstRect);
  CRect drop(firstRect.right + 5, firstRect.top + 2, firstRect.right + 165, firstRect.bottom);
  frame->DockControlBar(&moved, Dock(AFX_IDW_DOCKBAR_TOP), &drop);
  frame->RecalcLayout();
  CRect before;
  moved.GetWindowRect(&before);
  const int rowBefore = Dock(AFX_IDW_DOCKBAR_TOP)->FindBar(&moved);
  CDragProbe probe;
  auto* context = static_cast<CXTDockDragContext*>(moved.m_pDockContext);
  ASSERT_TRUE(context->AddDragListener(&probe, static_cast<XTDragListenerFn>(&CDragProbe::OnDrag)));
  ASSERT_TRUE(GetSharedState().m_customizeFlags[1]);

  CRect client;
  frame->GetClientRect(&client);
  const CPoint left = ClientPoint(1, client.bottom / 2);
  bool wentLeft = false;
  DragWith(moved, [&] {
    MoveCursor(left);
    // Live: the bar is on the left side while the button is still down.
    const DWORD start = ::GetTickCount();
    while (moved.m_pDockBar != Dock(AFX_IDW_DOCKBAR_LEFT) && ::GetTickCount() - start < 3000) ::Sleep(10);
    wentLeft = moved.m_pDockBar == Dock(AFX_IDW_DOCKBAR_LEFT);
    way.cancel(moved.m_hWnd);
  });
  EXPECT_TRUE(wentLeft);
  EXPECT_EQ(moved.m_pDockBar, Dock(AFX_IDW_DOCKBAR_TOP));
  EXPECT_EQ(Dock(AFX_IDW_DOCKBAR_TOP)->FindBar(&moved), rowBefore);
  CRect after;
  moved.GetWindowRect(&after);
  EXPECT_EQ(after, before);
  EXPECT_EQ(probe.inLoop, (std::vector<bool>{true, false}));
  EXPECT_EQ(::GetFocus(), frame->m_hWnd);
  EXPECT_EQ(::GetCapture(), nullptr);
  EXPECT_TRUE(context->RemoveDragListener(&probe));
  EXPECT_FALSE(context->RemoveDragListener(&probe));
}
INSTANTIATE_TEST_SUITE_P(Ways, DockDragCancel, ::testing::ValuesIn(kCancelWays),
                         [](const ::testing::TestParamInfo<CancelWay>& info) {
                           std::string name = info.param.name;
                           std::replace(name.begin(), name.end(), ' ', '_');
                           return name;
                         });

TEST_F(DockDrag, AQuitDuringTheDragEndsItAndIsPostedAgain) {
  CDragBar bar;
  MakeBar(bar, kBar);
  CDragProbe probe;
  auto* context = static_cast<CXTDockDragContext*>(bar.m_pDockContext);
  context->AddDragListener(&probe, static_cast<XTDragListenerFn>(&CDragProbe::OnDrag));
  const DWORD testThread = ::GetCurrentThreadId();
  DragWith(bar, [&] { ::PostThreadMessageA(testThread, WM_QUIT, 7, 0); });
  EXPECT_EQ(probe.quitCode, 7);
  EXPECT_EQ(bar.m_pDockBar, Dock(AFX_IDW_DOCKBAR_TOP));
}

// A bar that may dock into other frames docks at the side of the frame under
// the pointer; one that may not floats there.
TEST_F(DockDrag, ABarDocksIntoAnotherFrameOnlyWhenItMay) {
  CFrameWnd* other = NewFrameWithToolkitDockBars("Other", CRect(850, 100, 1250, 600));
  ASSERT_TRUE(other);
  theApp.m_pMainWnd = frame;
  other->RecalcLayout();
  CRect client;
  other->GetClientRect(&client);
  CPoint target(1, client.bottom / 2);
  other->ClientToScreen(&target);
  CDockBar* otherLeft = static_cast<CDockBar*>(other->GetControlBar(AFX_IDW_DOCKBAR_LEFT));

  CDragBar bar;
  MakeBar(bar, kBar);
  DragWith(bar, [&] { MoveCursor(target); });
  EXPECT_TRUE(bar.m_pDockBar && bar.m_pDockBar->m_bFloating);

  frame->DockControlBar(&bar, Dock(AFX_IDW_DOCKBAR_TOP));
  frame->RecalcLayout();
  bar.AllowOtherFrames();
  DragWith(bar, [&] { MoveCursor(target); });
  EXPECT_EQ(bar.m_pDockBar, otherLeft);
  EXPECT_EQ(bar.GetParent(), otherLeft);
  bar.DestroyWindow();
  other->DestroyWindow();
}
