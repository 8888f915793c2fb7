// Dragging a docked bar with real mouse and key input: every way out of the
// drag loop gives back the capture, the desktop drawing surface and the
// update lock; Ctrl over a dock bar floats the bar, Shift flips the
// orientation it floats in, and a drop on an empty side docks it there.
#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <thread>

#include "classlib/classlib.h"
#include "dialog_robot.h"
#include "test_bar.h"

namespace {

const UINT WM_TAKE_CAPTURE_AWAY = WM_APP + 1;

using CBlockBar = TTestBar<CControlBar>;

// Something else in the program takes the capture while a drag runs.
class CDragFrame : public CFrameWnd {
  DECLARE_MESSAGE_MAP()
 public:
  LRESULT OnTakeCaptureAway(WPARAM, LPARAM) {
    ::ReleaseCapture();
    return 0;
  }
};
BEGIN_MESSAGE_MAP(CDragFrame, CFrameWnd)
  ON_MESSAGE(WM_TAKE_CAPTURE_AWAY, OnTakeCaptureAway)
END_MESSAGE_MAP()

CWinApp theApp("Layer Drag Test");

class Drag : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { AfxWinInit(::GetModuleHandleA(nullptr), nullptr, const_cast<LPSTR>(""), SW_SHOWNORMAL); }
  void SetUp() override {
    frame = new CDragFrame;
    ASSERT_TRUE(frame->Create(nullptr, "Drag", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(100, 100, 800, 600)));
    frame->EnableDocking(CBRS_ALIGN_ANY);
    bar.SetBorders();
    ASSERT_TRUE(bar.Create(frame, AFX_IDW_CONTROLBAR_FIRST + 0x50, CSize(160, 24), "Block"));
    frame->DockControlBar(&bar, AFX_IDW_DOCKBAR_TOP);
    frame->RecalcLayout();
    theApp.m_pMainWnd = frame;
    frame->SetForegroundWindow();
    frame->SetActiveWindow();
    // Keys go to the focus; without one they would arrive as system keys.
    frame->SetFocus();
  }
  void TearDown() override {
    theApp.m_pMainWnd = nullptr;
    if (::IsWindow(frame->m_hWnd)) frame->DestroyWindow();
  }
  CPoint BarCentre() {
    CRect rect;
    bar.GetWindowRect(&rect);
    return rect.CenterPoint();
  }
  CPoint ClientPoint(int x, int y) {
    CPoint pt(x, y);
    frame->ClientToScreen(&pt);
    return pt;
  }
  // Presses on the bar; once the drag loop holds the capture, the script
  // plays from another thread. Ends with the loop's clean-up checked.
  void DragWith(const std::function<void()>& script) {
    // Each press lands elsewhere on the bar: two quick presses on one spot would be a double click.
    EXPECT_TRUE(::DragWith(bar.m_hWnd, BarCentre() + CSize(12 * (presses++ % 6) - 30, 0), script));
    EXPECT_EQ(::GetCapture(), nullptr);
    EXPECT_EQ(bar.m_pDockContext->m_pDC, nullptr);
    // The desktop is no longer locked: another lock can be taken.
    EXPECT_TRUE(::LockWindowUpdate(frame->m_hWnd));
    ::LockWindowUpdate(nullptr);
  }
  CDockBar* Dock(UINT nID) { return static_cast<CDockBar*>(frame->GetControlBar(nID)); }

  CDragFrame* frame = nullptr;
  CBlockBar bar;
  int presses = 0;
};

}  // namespace

TEST_F(Drag, EscapeRightClickAndLostCaptureEndTheLoopAndChangeNothing) {
  CDockBar* top = Dock(AFX_IDW_DOCKBAR_TOP);
  struct Case {
    const char* name;
    std::function<void(CDragFrame*)> end;
  } cases[] = {
      {"escape", [](CDragFrame*) { SendKey(VK_ESCAPE, true), SendKey(VK_ESCAPE, false); }},
      {"right click", [](CDragFrame*) { SendMouseButton(MOUSEEVENTF_RIGHTDOWN), SendMouseButton(MOUSEEVENTF_RIGHTUP); }},
      {"lost capture", [](CDragFrame* f) { f->PostMessage(WM_TAKE_CAPTURE_AWAY); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    CRect before;
    bar.GetWindowRect(&before);
    CPoint away = ClientPoint(350, 300);
    DragWith([&] {
      MoveCursor(away);
      c.end(frame);
    });
    EXPECT_EQ(bar.m_pDockBar, top);
    CRect after;
    bar.GetWindowRect(&after);
    EXPECT_EQ(after, before);
  }
}

TEST_F(Drag, CtrlOverADockBarFloats) {
  CPoint nearby = BarCentre() + CSize(30, 2);
  DragWith([&] {
    SendKey(VK_CONTROL, true);
    MoveCursor(nearby);
    SendMouseButton(MOUSEEVENTF_LEFTUP);
    SendKey(VK_CONTROL, false);
  });
  EXPECT_TRUE(bar.IsFloating());
}

TEST_F(Drag, ShiftFlipsTheOrientationItFloatsIn) {
  struct Case {
    bool shift;
    DWORD align;
  } cases[] = {{false, CBRS_ALIGN_TOP}, {true, CBRS_ALIGN_LEFT}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.shift ? "shift" : "plain");
    frame->DockControlBar(&bar, AFX_IDW_DOCKBAR_TOP);
    frame->RecalcLayout();
    CPoint middle = ClientPoint(350, 250);
    DragWith([&] {
      if (c.shift) SendKey(VK_SHIFT, true);
      MoveCursor(middle);
      SendMouseButton(MOUSEEVENTF_LEFTUP);
      if (c.shift) SendKey(VK_SHIFT, false);
    });
    ASSERT_TRUE(bar.IsFloating());
    EXPECT_EQ(bar.m_pDockBar->m_dwStyle & CBRS_ALIGN_ANY, c.align);
  }
}

TEST_F(Drag, DropOnAnEmptySideDocksThere) {
  CRect client;
  frame->GetClientRect(&client);
  CPoint left = ClientPoint(4, client.bottom / 2);
  DragWith([&] { MoveCursor(left); });
  EXPECT_EQ(bar.m_pDockBar, Dock(AFX_IDW_DOCKBAR_LEFT));
  EXPECT_EQ(bar.GetBarStyle() & CBRS_ALIGN_ANY, static_cast<DWORD>(CBRS_ALIGN_LEFT));
}
