// Buttons dragged with the mouse in customise mode, as real input: moved
// between bars, copied with Ctrl, refused where the command already is,
// nudged in place to add or remove a separator, and dragged but called off
// with Escape or a right click; the cursor tells move, copy and no drop apart.
// The drag loop is refused while another window holds the capture.
#include <gtest/gtest.h>

#include <vector>

#include "bars_fixture.h"
#include "tests/support/dialog_robot.h"
#include "tests/support/waiting.h"
#include "tool_bar_harness.h"
#include "tool_bar_harness_resource.h"
#include "toolkit/common/SharedState.h"
#include "toolkit/customize/CustomizeBroker.h"

namespace {

CWinApp theApp("Tool Bar Drag Test");

class DragEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    ASSERT_TRUE(AfxWinInit(::GetModuleHandleA(nullptr), nullptr, const_cast<LPSTR>(""), SW_SHOWNORMAL));
  }
};
const auto* const kEnvironment = ::testing::AddGlobalTestEnvironment(new DragEnvironment);

HCURSOR Cursor(CXTSharedState::Cursor which) { return GetSharedState().m_cursors[which]; }

HCURSOR ShownCursor() {
  CURSORINFO info = {sizeof info};
  ::GetCursorInfo(&info);
  return info.hCursor;
}

bool CursorBecomes(CXTSharedState::Cursor which) {
  return WaitUntil([&] { return ShownCursor() == Cursor(which); }, 5000);
}

CPoint Offset(CPoint point, int dx) { return CPoint(point.x + dx, point.y); }

class ToolBarDrag : public ::testing::Test {
 protected:
  void SetUp() override {
    m_frame = CToolBarHarness::Open(CRect(40, 40, 700, 400));
    ASSERT_NE(m_frame, nullptr);
    m_frame->SetForegroundWindow();
    m_frame->m_format.EnableCustomization(TRUE);
    PumpAndIdle();
    GetCustomizeBroker().NotifyCustomizeMode(TRUE);
    PumpAndIdle();
    ASSERT_NE(Cursor(CXTSharedState::kCursorDragMove), nullptr);
  }
  void TearDown() override {
    GetCustomizeBroker().NotifyCustomizeMode(FALSE);
    if (m_frame) m_frame->DestroyWindow();
  }
  // The centre of a command's button on the screen.
  CPoint Centre(CXTToolBar& bar, UINT id) {
    CRect item;
    bar.SendMessage(TB_GETITEMRECT, bar.CommandToIndex(id), reinterpret_cast<LPARAM>(&item));
    bar.ClientToScreen(&item);
    return item.CenterPoint();
  }
  // Presses at from on bar, plays script once the bar drags, lets go.
  void Drag(CXTToolBar& bar, CPoint from, const std::function<void()>& script) {
    ASSERT_TRUE(DragWith(bar.m_hWnd, from, script));
    PumpAndIdle();
  }
  CToolBarHarness* m_frame = nullptr;
};

TEST_F(ToolBarDrag, AButtonMovesToAnotherBar) {
  CXTToolBar &standard = m_frame->m_standard, &format = m_frame->m_format;
  const CPoint target = Offset(Centre(format, ID_HARNESS_COLOR), -6);
  Drag(standard, Centre(standard, ID_HARNESS_NEW), [&] {
    MoveMouse(target);
    EXPECT_TRUE(CursorBecomes(CXTSharedState::kCursorDragMove));
  });
  EXPECT_LT(standard.CommandToIndex(ID_HARNESS_NEW), 0);
  EXPECT_EQ(format.CommandToIndex(ID_HARNESS_NEW), 0) << "inserted before the colour button";
  EXPECT_EQ(format.CommandToIndex(ID_HARNESS_COLOR), 1);
}

TEST_F(ToolBarDrag, CtrlCopiesAndTheCopyIsNotTakenTwice) {
  CXTToolBar &standard = m_frame->m_standard, &format = m_frame->m_format;
  const CPoint target = Offset(Centre(format, ID_HARNESS_COLOR), -6);
  const auto copyOpen = [&](CXTSharedState::Cursor expected) {
    Drag(standard, Centre(standard, ID_HARNESS_OPEN), [&] {
      MoveMouse(target);
      EXPECT_TRUE(WaitUntil([&] { return ShownCursor() != ::LoadCursor(nullptr, IDC_ARROW); }, 5000));
      SendKey(VK_CONTROL, true);
      MoveMouse(Offset(target, 1));
      EXPECT_TRUE(CursorBecomes(expected)) << expected;
    });
    SendKey(VK_CONTROL, false);
    PumpAndIdle();
  };
  const int formatButtons = format.GetButtonCount();
  copyOpen(CXTSharedState::kCursorDragCopy);
  EXPECT_GE(standard.CommandToIndex(ID_HARNESS_OPEN), 0) << "a copy leaves the button where it was";
  EXPECT_GE(format.CommandToIndex(ID_HARNESS_OPEN), 0);
  EXPECT_EQ(format.GetButtonCount(), formatButtons + 1);
  // The format bar has the command now and takes no second one.
  copyOpen(CXTSharedState::kCursorNoDrop);
  EXPECT_EQ(format.GetButtonCount(), formatButtons + 1);
  EXPECT_GE(standard.CommandToIndex(ID_HARNESS_OPEN), 0);
}

// Moved a little inside its own place: 3 pixels forward adds a separator
// before the button, 3 back removes it, 2 either way does nothing.
TEST_F(ToolBarDrag, NudgingAButtonAddsOrRemovesTheSeparatorBeforeIt) {
  CXTToolBar& standard = m_frame->m_standard;
  struct Case {
    UINT id;
    int nudge, change;
  };
  for (const Case& c : {Case{ID_HARNESS_OPEN, 2, 0}, Case{ID_HARNESS_OPEN, -2, 0}, Case{ID_HARNESS_OPEN, 3, 1},
                        Case{ID_HARNESS_CUT, -3, -1}}) {
    const int before = standard.GetButtonCount();
    const CPoint press = Centre(standard, c.id);
    // Across the bar first, which starts the drag and keeps the button's own place.
    const CPoint start(press.x, press.y - 5);
    Drag(standard, press, [&] {
      MoveMouse(start);
      ASSERT_TRUE(CursorBecomes(CXTSharedState::kCursorDragMove));
      MoveMouse(Offset(start, c.nudge));
      SettleMouse(Offset(start, c.nudge), 100);
    });
    EXPECT_EQ(standard.GetButtonCount(), before + c.change) << c.id << " by " << c.nudge;
    const int index = standard.CommandToIndex(c.id);
    TBBUTTON previous;
    standard.GetButton(index - 1, &previous);
    if (c.change == 1) EXPECT_TRUE(previous.fsStyle & TBSTYLE_SEP);
    if (c.change == -1) EXPECT_FALSE(previous.fsStyle & TBSTYLE_SEP);
  }
}

TEST_F(ToolBarDrag, EscapeOrARightClickCallsTheDragOff) {
  CXTToolBar &standard = m_frame->m_standard, &format = m_frame->m_format;
  const CPoint target = Offset(Centre(format, ID_HARNESS_COLOR), -6);
  const std::vector<std::function<void()>> cancels = {
      [] { PressKey(VK_ESCAPE); },
      [] {
        SendMouseButton(MOUSEEVENTF_RIGHTDOWN);
        SendMouseButton(MOUSEEVENTF_RIGHTUP);
      },
  };
  for (const auto& cancel : cancels) {
    const int standardButtons = standard.GetButtonCount(), formatButtons = format.GetButtonCount();
    Drag(standard, Centre(standard, ID_HARNESS_SAVE), [&] {
      MoveMouse(target);
      EXPECT_TRUE(CursorBecomes(CXTSharedState::kCursorDragMove));
      cancel();
      WaitUntil([&] { return ShownCursor() != Cursor(CXTSharedState::kCursorDragMove); }, 5000);
    });
    EXPECT_EQ(standard.GetButtonCount(), standardButtons);
    EXPECT_EQ(format.GetButtonCount(), formatButtons);
    EXPECT_GE(standard.CommandToIndex(ID_HARNESS_SAVE), 0);
  }
}

TEST_F(ToolBarDrag, ADragIsRefusedWhileAnotherWindowHoldsTheCapture) {
  m_frame->SetCapture();
  EXPECT_FALSE(GetCustomizeBroker().BeginDrag(&m_frame->m_standard, TRUE, nullptr));
  EXPECT_EQ(::GetCapture(), m_frame->m_hWnd);
  ::ReleaseCapture();
}

}  // namespace
