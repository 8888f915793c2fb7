// The toolkit's status bar: controls held in panes, where they go and how
// they end, and the flat pane frames.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "bars_fixture.h"
#include "toolkit/bars/StatusBar.h"
#include "toolkit/common/SharedState.h"

namespace {

const UINT kPaneA = 100, kPaneB = 101;

// A pane control that records its window's end and its object's end.
class CProbeControl : public CWnd {
 public:
  explicit CProbeControl(std::vector<std::string>* events) : m_events(events) {}
  ~CProbeControl() override { m_events->push_back(m_hWnd ? "deleted with a window" : "deleted"); }
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == WM_DESTROY) m_events->push_back("destroyed");
    return CWnd::WindowProc(message, wParam, lParam);
  }

 private:
  std::vector<std::string>* m_events;
};

class StatusBarPanes : public ::testing::Test {
 protected:
  void SetUp() override {
    m_frame = NewFrame("Status bar");
    ASSERT_TRUE(m_bar.Create(m_frame));
    ASSERT_TRUE(m_bar.SetIndicators(nullptr, 3));
    m_bar.SetPaneInfo(1, kPaneA, SBPS_NORMAL, 60);
    m_bar.SetPaneInfo(2, kPaneB, SBPS_NOBORDERS, 50);
    m_frame->RecalcLayout();
  }
  void TearDown() override {
    GetSharedState().m_xpLook = FALSE;
    if (::IsWindow(m_frame->m_hWnd)) m_frame->DestroyWindow();
  }
  CWnd* NewControl(std::vector<std::string>* events) {
    CProbeControl* control = new CProbeControl(events);
    EXPECT_TRUE(control->CreateEx(0, "STATIC", "", WS_CHILD | WS_VISIBLE, CRect(0, 0, 5, 5), &m_bar, 1));
    return control;
  }
  CRect ChildRect(CWnd* child) {
    CRect rect;
    child->GetWindowRect(&rect);
    m_bar.ScreenToClient(&rect);
    return rect;
  }
  CFrameWnd* m_frame = nullptr;
  CXTStatusBar m_bar;
  std::vector<std::string> m_events;  // outlives the bar, which deletes owned controls
};

}  // namespace

TEST_F(StatusBarPanes, ControlsFillTheirPanesInsideTheEdgesUnlessBorderless) {
  CWnd* bordered = NewControl(&m_events);
  CWnd* borderless = NewControl(&m_events);
  EXPECT_FALSE(m_bar.AddControl(bordered, 999, TRUE));  // no such pane
  ASSERT_TRUE(m_bar.AddControl(bordered, kPaneA, TRUE));
  ASSERT_TRUE(m_bar.AddControl(borderless, kPaneB, TRUE));
  m_frame->MoveWindow(60, 60, 500, 300);
  const int edge = ::GetSystemMetrics(SM_CXEDGE);
  CRect pane = m_bar.GetPaneRect(1);
  pane.DeflateRect(edge, edge);
  EXPECT_EQ(ChildRect(bordered), pane);
  // The last pane of a fixed width ends three edges after its width.
  CRect last = m_bar.GetPaneRect(2);
  CRect item;
  m_bar.GetItemRect(2, &item);
  EXPECT_EQ(last.right, item.left + 50 + 3 * edge);
  EXPECT_EQ(ChildRect(borderless), last);
}

// A control's object is never freed while its window lives.
TEST_F(StatusBarPanes, ControlWindowsAreDestroyedBeforeTheirObjectsAreDeleted) {
  CWnd* owned = NewControl(&m_events);
  std::vector<std::string> keptEvents;
  CWnd* kept = NewControl(&keptEvents);
  ASSERT_TRUE(m_bar.AddControl(owned, kPaneA, TRUE));
  ASSERT_TRUE(m_bar.AddControl(kept, kPaneB, FALSE));
  m_bar.DestroyWindow();
  EXPECT_EQ(m_events, std::vector<std::string>({"destroyed", "deleted"}));
  EXPECT_EQ(keptEvents, std::vector<std::string>({"destroyed"}));
  delete kept;
}

TEST_F(StatusBarPanes, FlatLookFramesBorderedPanesInShadow) {
  GetSharedState().m_xpLook = TRUE;
  m_frame->ShowWindow(SW_SHOWNORMAL);
  m_bar.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE);
  CRect a = m_bar.GetPaneRect(1), b = m_bar.GetPaneRect(2);
  CClientDC dc(&m_bar);
  const int middle = (a.top + a.bottom) / 2;
  EXPECT_EQ(dc.GetPixel(a.left, middle), GetSharedState().m_clrShadow);
  EXPECT_EQ(dc.GetPixel(a.right - 1, middle), GetSharedState().m_clrShadow);
  EXPECT_EQ(dc.GetPixel(a.left + 3, a.top), GetSharedState().m_clrShadow);
  EXPECT_NE(dc.GetPixel(b.left + 3, b.top), GetSharedState().m_clrShadow);  // no borders
}

// A stretched last pane stops short of the size grip.
TEST_F(StatusBarPanes, StretchedLastPaneLeavesRoomForTheGrip) {
  ASSERT_TRUE(m_bar.GetStyle() & SBARS_SIZEGRIP);  // the frame has a sizing border
  m_bar.SetPaneInfo(2, kPaneB, SBPS_STRETCH, 50);
  CRect client;
  m_bar.GetClientRect(&client);
  EXPECT_EQ(m_bar.GetPaneRect(2).right, client.right - GetSharedState().m_cxSmallIcon - ::GetSystemMetrics(SM_CXEDGE));
}
