// The toolkit's splitter: a hidden column and its way back, a fixed splitter,
// the live drag, the flat and classic bar widths and views replaced in a pane.
#include <gtest/gtest.h>

#include "bars_fixture.h"
#include "tests/support/dib_surface.h"
#include "toolkit/common/SharedState.h"
#include "toolkit/bars/SplitterWnd.h"

namespace {

class CPaneView : public CView {
  DECLARE_DYNCREATE(CPaneView)
 public:
  void OnDraw(CDC*) override {}
};
IMPLEMENT_DYNCREATE(CPaneView, CView)

class COtherView : public CPaneView {
  DECLARE_DYNCREATE(COtherView)
};
IMPLEMENT_DYNCREATE(COtherView, CPaneView)

// A view whose window refuses to be created.
class CRefusingView : public CPaneView {
  DECLARE_DYNCREATE(CRefusingView)
 public:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == WM_CREATE) return -1;
    return CPaneView::WindowProc(message, wParam, lParam);
  }
};
IMPLEMENT_DYNCREATE(CRefusingView, CPaneView)

// The system's drag-full-windows setting for one test, never made persistent.
class FullDragSetting {
 public:
  explicit FullDragSetting(BOOL on) {
    ::SystemParametersInfoA(SPI_GETDRAGFULLWINDOWS, 0, &m_saved, 0);
    ::SystemParametersInfoA(SPI_SETDRAGFULLWINDOWS, on, nullptr, 0);
  }
  ~FullDragSetting() { ::SystemParametersInfoA(SPI_SETDRAGFULLWINDOWS, m_saved, nullptr, 0); }

 private:
  BOOL m_saved = FALSE;
};

// A 1 x 2 splitter as the builder makes it: column 0 300 pixels wide.
class Splitter : public ::testing::Test {
 protected:
  void SetUp() override {
    m_frame = NewFrame("Splitter");
    ASSERT_TRUE(m_splitter.CreateStatic(m_frame, 1, 2));
    CCreateContext context;
    ASSERT_TRUE(m_splitter.CreateView(0, 0, RUNTIME_CLASS(CPaneView), CSize(300, 0), &context));
    ASSERT_TRUE(m_splitter.CreateView(0, 1, RUNTIME_CLASS(CPaneView), CSize(0, 0), &context));
    m_splitter.SetColumnInfo(0, 300, 0);
    m_splitter.MoveWindow(0, 0, 600, 300);
    m_left = m_splitter.GetPane(0, 0);
    m_right = m_splitter.GetPane(0, 1);
  }
  void TearDown() override { m_frame->DestroyWindow(); }
  CRect PaneRect(CWnd* pane) {
    CRect rect;
    pane->GetWindowRect(&rect);
    m_splitter.ScreenToClient(&rect);
    return rect;
  }
  int Column0() {
    int cx, cxMin;
    m_splitter.GetColumnInfo(0, cx, cxMin);
    return cx;
  }
  CFrameWnd* m_frame = nullptr;
  CXTSplitterWnd m_splitter;
  CWnd* m_left = nullptr;
  CWnd* m_right = nullptr;
};

const CPoint kOnTheBar(2 + 300 + 3, 40);

}  // namespace

TEST_F(Splitter, HiddenColumnLeavesOnePaneThatFillsItAndComesBackAtItsWidth) {
  m_splitter.ShowColumn();  // nothing hidden: nothing happens
  EXPECT_EQ(m_splitter.GetColumnCount(), 2);

  m_splitter.HideColumn(0);
  EXPECT_EQ(m_splitter.GetColumnCount(), 1);
  EXPECT_EQ(m_splitter.GetHiddenColumn(), 0);
  EXPECT_FALSE(m_left->GetStyle() & WS_VISIBLE);
  EXPECT_EQ(m_splitter.GetPane(0, 0), m_right);
  CRect inside;
  m_splitter.GetInsideRect(inside);
  EXPECT_EQ(PaneRect(m_right), inside);
  m_splitter.HideColumn(0);  // the same column again: nothing happens
  EXPECT_EQ(m_splitter.GetColumnCount(), 1);

  m_splitter.ShowColumn();
  EXPECT_EQ(m_splitter.GetColumnCount(), 2);
  EXPECT_EQ(m_splitter.GetHiddenColumn(), -1);
  EXPECT_EQ(m_splitter.GetPane(0, 0), m_left);
  EXPECT_EQ(m_splitter.GetPane(0, 1), m_right);
  EXPECT_TRUE(m_left->GetStyle() & WS_VISIBLE);
  EXPECT_EQ(PaneRect(m_left).Width(), 300);
  EXPECT_EQ(PaneRect(m_right).left, 2 + 300 + 6);
}

TEST_F(Splitter, FixedStyleIsAllBorderAndNeverDragsFullWindows) {
  FullDragSetting full(TRUE);
  m_splitter.SetSplitterStyle(XT_SPLIT_NOSIZE | XT_SPLIT_NOFULLDRAG);
  CPoint screen = kOnTheBar;
  m_splitter.ClientToScreen(&screen);
  EXPECT_EQ(m_splitter.SendMessage(WM_NCHITTEST, 0, MAKELPARAM(screen.x, screen.y)), HTBORDER);
  EXPECT_FALSE(m_splitter.IsFullDrag());
  m_splitter.SendMessage(WM_SETTINGCHANGE, SPI_SETDRAGFULLWINDOWS);
  EXPECT_FALSE(m_splitter.IsFullDrag());
  m_splitter.SetSplitterStyle(0);
  EXPECT_EQ(m_splitter.SendMessage(WM_NCHITTEST, 0, MAKELPARAM(screen.x, screen.y)), HTCLIENT);
}

TEST_F(Splitter, FullDragSizesThePanesAtEveryMove) {
  FullDragSetting off(FALSE);
  m_splitter.SetSplitterStyle(0);
  EXPECT_FALSE(m_splitter.IsFullDrag());
  {
    FullDragSetting on(TRUE);
    m_splitter.SendMessage(WM_SETTINGCHANGE, SPI_SETDRAGFULLWINDOWS);
    ASSERT_TRUE(m_splitter.IsFullDrag());
    m_splitter.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(kOnTheBar.x, kOnTheBar.y));
    for (int dx : {20, 45, -30}) {
      m_splitter.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(kOnTheBar.x + dx, kOnTheBar.y));
      EXPECT_EQ(Column0(), 300 + dx);
      EXPECT_EQ(PaneRect(m_right).left, 2 + 300 + dx + 6);
    }
    m_splitter.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(kOnTheBar.x - 30, kOnTheBar.y));
    EXPECT_EQ(::GetCapture(), nullptr);
    EXPECT_EQ(Column0(), 270);
  }
}

// A drag whose capture another window takes is cancelled there: the
// release that comes later moves nothing.
TEST_F(Splitter, ADragThatLostTheCaptureIsCancelled) {
  FullDragSetting off(FALSE);
  m_splitter.SetSplitterStyle(0);
  m_splitter.SendMessage(WM_SETTINGCHANGE, SPI_SETDRAGFULLWINDOWS);
  m_splitter.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(kOnTheBar.x, kOnTheBar.y));
  ASSERT_EQ(::GetCapture(), m_splitter.m_hWnd);
  m_splitter.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(kOnTheBar.x + 40, kOnTheBar.y));
  ::SetCapture(m_left->m_hWnd);
  ::ReleaseCapture();
  m_splitter.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(kOnTheBar.x + 40, kOnTheBar.y));
  EXPECT_EQ(Column0(), 300);
}

TEST_F(Splitter, FlatBarsAreSixPixelsClassicSeven) {
  m_splitter.EnableFlatLook(FALSE);
  EXPECT_EQ(PaneRect(m_right).left, 2 + 300 + 7);
  m_splitter.EnableFlatLook(TRUE);
  EXPECT_EQ(PaneRect(m_right).left, 2 + 300 + 6);
}

TEST_F(Splitter, ReplacedViewTakesThePaneAFailedOneLeavesItAlone) {
  EXPECT_EQ(m_splitter.ReplaceView(0, 1, RUNTIME_CLASS(CPaneView)), nullptr);  // already that class
  EXPECT_EQ(m_splitter.ReplaceView(0, 1, RUNTIME_CLASS(CRefusingView)), nullptr);
  EXPECT_EQ(m_splitter.GetPane(0, 1), m_right);
  EXPECT_TRUE(m_right->GetStyle() & WS_VISIBLE);

  CWnd* old = m_splitter.ReplaceView(0, 1, RUNTIME_CLASS(COtherView));
  EXPECT_EQ(old, m_right);
  EXPECT_EQ(old->GetDlgCtrlID(), 0);
  EXPECT_FALSE(old->GetStyle() & WS_VISIBLE);
  CWnd* now = m_splitter.GetPane(0, 1);
  ASSERT_NE(now, nullptr);
  EXPECT_TRUE(now->IsKindOf(RUNTIME_CLASS(COtherView)));
  EXPECT_EQ(PaneRect(now).left, 2 + 300 + 6);
  old->DestroyWindow();
}

TEST_F(Splitter, SwitchAndExchangeRefuseThePanesOwnView) {
  EXPECT_FALSE(m_splitter.SwitchView(0, 0, static_cast<CView*>(m_left)));
  EXPECT_EQ(m_splitter.ExchangeView(0, 0, m_left), nullptr);
  EXPECT_TRUE(m_splitter.SwitchView(0, 0, static_cast<CView*>(m_right)));
  EXPECT_EQ(m_splitter.GetPane(0, 0), m_right);
  EXPECT_EQ(m_splitter.GetPane(0, 1), m_left);
}

// The outer border in each look: flat, flat without a border, classic.
TEST_F(Splitter, BorderRingsInEachLook) {
  const CXTSharedState& st = GetSharedState();
  const COLORREF none = RGB(1, 2, 3);
  struct Case {
    BOOL flat;
    DWORD style;
    COLORREF outerTopLeft, outerBottomRight, innerTopLeft, innerBottomRight;
  } cases[] = {
      {TRUE, 0, st.m_clrFace, st.m_clrFace, st.m_clrShadow, st.m_clrHighlight},
      {TRUE, XT_SPLIT_NOBORDER, none, none, none, none},
      {FALSE, 0, st.m_clrShadow, st.m_clrHighlight, st.m_clrWindowFrame, st.m_clrFace},
  };
  for (const Case& c : cases) {
    m_splitter.EnableFlatLook(c.flat);
    m_splitter.SetSplitterStyle(c.style);
    DibSurface dib(20, 20, none);
    m_splitter.OnDrawSplitter(&dib.dc(), CSplitterWnd::splitBorder, CRect(0, 0, 20, 20));
    EXPECT_EQ(std::vector<COLORREF>({dib.at(5, 0), dib.at(19, 5), dib.at(5, 1), dib.at(18, 5)}),
              std::vector<COLORREF>({c.outerTopLeft, c.outerBottomRight, c.innerTopLeft, c.innerBottomRight}))
        << c.flat << " " << c.style;
  }
}

// Rows hide and come back the same way: a 2 x 1 splitter.
TEST(SplitterRows, HiddenRowLeavesOnePaneAndComesBackAtItsHeight) {
  CFrameWnd* frame = NewFrame("Splitter rows");
  CXTSplitterWnd splitter;
  ASSERT_TRUE(splitter.CreateStatic(frame, 2, 1));
  CCreateContext context;
  ASSERT_TRUE(splitter.CreateView(0, 0, RUNTIME_CLASS(CPaneView), CSize(0, 100), &context));
  ASSERT_TRUE(splitter.CreateView(1, 0, RUNTIME_CLASS(CPaneView), CSize(0, 0), &context));
  splitter.SetRowInfo(0, 100, 0);
  splitter.MoveWindow(0, 0, 400, 300);
  CWnd* top = splitter.GetPane(0, 0);
  CWnd* bottom = splitter.GetPane(1, 0);
  splitter.HideRow(1);
  EXPECT_EQ(splitter.GetRowCount(), 1);
  EXPECT_EQ(splitter.GetPane(0, 0), top);
  EXPECT_FALSE(bottom->GetStyle() & WS_VISIBLE);
  splitter.ShowRow();
  EXPECT_EQ(splitter.GetRowCount(), 2);
  EXPECT_EQ(splitter.GetPane(1, 0), bottom);
  CRect rect;
  top->GetWindowRect(&rect);
  EXPECT_EQ(rect.Height(), 100);
  splitter.HideRow(0);
  EXPECT_EQ(splitter.GetPane(0, 0), bottom);
  splitter.ShowRow();
  EXPECT_EQ(splitter.GetPane(0, 0), top);
  top->GetWindowRect(&rect);
  EXPECT_EQ(rect.Height(), 100);
  frame->DestroyWindow();
}
