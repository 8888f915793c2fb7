// A status bar and a splitter as the screen shows them in the flat look,
// compared with kept pictures.
#include <gtest/gtest.h>

#include "bars_fixture.h"
#include "tests/support/dialog_robot.h"
#include "tests/support/golden_image.h"
#include "tests/support/screenshot.h"
#include "toolkit/bars/SplitterWnd.h"
#include "toolkit/bars/StatusBar.h"
#include "toolkit/common/SharedState.h"
#include "waiting.h"

namespace {

CWinApp theApp("Toolkit Bar Pictures Test");

class PicturesEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    ASSERT_TRUE(AfxWinInit(::GetModuleHandleA(nullptr), nullptr, const_cast<LPSTR>(""), SW_SHOWNORMAL));
  }
};
const auto* const kEnvironment = ::testing::AddGlobalTestEnvironment(new PicturesEnvironment);

class CBlankView : public CView {
  DECLARE_DYNCREATE(CBlankView)
 public:
  void OnDraw(CDC* dc) override {
    CRect client;
    GetClientRect(&client);
    dc->FillSolidRect(&client, RGB(255, 255, 255));
  }
};
IMPLEMENT_DYNCREATE(CBlankView, CView)

std::string CompareScreenWithGolden(HWND window, const char* name) {
  PumpWaiting();  // without the idle update that would disable the panes nobody updates
  Screenshot shot(window);
  return CompareWithGolden(name, shot.Width(), shot.Height(), [&](int x, int y) { return shot.Pixel(x, y); });
}

class BarPictures : public ::testing::Test {
 protected:
  void SetUp() override {
    MoveCursor({1200, 1000});  // nothing hot under the mouse
    GetSharedState().m_xpLook = TRUE;
    m_frame = NewFrame("Bar pictures");
  }
  void TearDown() override {
    GetSharedState().m_xpLook = FALSE;
    m_frame->DestroyWindow();
  }
  CFrameWnd* m_frame = nullptr;
};

}  // namespace

// Bordered panes framed in shadow, a borderless one, and the size grip.
TEST_F(BarPictures, FlatStatusBarAsKept) {
  CXTStatusBar bar;
  ASSERT_TRUE(bar.Create(m_frame));
  ASSERT_TRUE(bar.SetIndicators(nullptr, 3));
  bar.SetPaneInfo(0, 0, SBPS_STRETCH, 0);
  bar.SetPaneInfo(1, 100, SBPS_NORMAL, 60);
  bar.SetPaneInfo(2, 101, SBPS_NOBORDERS, 50);
  bar.SetPaneText(1, "NUM");
  bar.SetPaneText(2, "OVR");
  m_frame->ShowWindow(SW_SHOWNORMAL);
  m_frame->RecalcLayout();
  PumpWaiting();  // the frame's idle prompt, which has no text here
  bar.SetPaneText(0, "Ready");
  EXPECT_EQ("", CompareScreenWithGolden(bar.m_hWnd, "status_bar_flat"));
}

// Two panes side by side: the flat bar between them and the border around.
TEST_F(BarPictures, FlatSplitterAsKept) {
  CXTSplitterWnd splitter;
  ASSERT_TRUE(splitter.CreateStatic(m_frame, 1, 2));
  CCreateContext context;
  ASSERT_TRUE(splitter.CreateView(0, 0, RUNTIME_CLASS(CBlankView), CSize(120, 0), &context));
  ASSERT_TRUE(splitter.CreateView(0, 1, RUNTIME_CLASS(CBlankView), CSize(0, 0), &context));
  splitter.EnableFlatLook(TRUE);
  m_frame->ShowWindow(SW_SHOWNORMAL);
  splitter.MoveWindow(0, 0, 300, 120);
  EXPECT_EQ("", CompareScreenWithGolden(splitter.m_hWnd, "splitter_flat"));
}
