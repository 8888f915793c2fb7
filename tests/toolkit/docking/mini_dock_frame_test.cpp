// The floating frame of toolkit bars: its caption drawn in both looks (kept
// pictures), the gradient strips, buttons that no longer fit, the close
// button with its tip closing the frame, and a floating menu bar's caption
// without buttons.
#include <gtest/gtest.h>

#include "classlib/classlib.h"
#include "dib_surface.h"
#include "docking_fixture.h"
#include "golden_image.h"
#include "toolkit/common/SharedState.h"
#include "toolkit/docking/MiniDockCaption.h"
#include "toolkit/docking/MiniDockFrameWnd.h"
#include "toolkit_resource.h"
#include "waiting.h"

namespace {

const UINT kBarId = AFX_IDW_CONTROLBAR_FIRST + 0x40;
const CSize kCaptionSize(140, 40);

class CaptionLooks : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    AfxWinInit(::GetModuleHandleA(nullptr), nullptr, const_cast<LPSTR>(""), SW_SHOWNORMAL);
  }
  void SetUp() override { m_glyphs.Create(IDB_XT_MENU_BAR_GLYPHS, 10, 1, RGB(255, 0, 255)); }
  void TearDown() override { GetSharedState().m_xpLook = FALSE; }
  // The caption of a frame of kCaptionSize with one close button.
  void Draw(DibSurface& surface, const CXTCaptionLook& look, BOOL hot) {
    std::vector<CXTCaptionButton> buttons(1);
    XTPlaceCaptionButtons(buttons, kCaptionSize, look);
    buttons[0].hot = hot;
    XTDrawMiniDockCaption(&surface.dc(), CRect(CPoint(), kCaptionSize), look, "Floating", buttons, &m_glyphs);
  }
  CImageList m_glyphs;
};

}  // namespace

TEST_F(CaptionLooks, FlatAndClassicGradientCaptionsAsKept) {
  DibSurface flat(kCaptionSize.cx, kCaptionSize.cy);
  CXTCaptionLook look;
  look.flat = true;
  Draw(flat, look, TRUE);
  EXPECT_EQ("", CompareWithGolden("mini_dock_caption_flat", kCaptionSize.cx, kCaptionSize.cy,
                                  [&](int x, int y) { return flat.at(x, y); }));

  // Caption colours of our own, so that the shading shows whatever the system's are.
  CXTSharedState& s = GetSharedState();
  s.m_clrActiveCaption = RGB(0, 0, 128);
  s.m_clrGradientActiveCaption = RGB(16, 132, 208);
  s.m_clrCaptionText = RGB(255, 255, 255);
  DibSurface classic(kCaptionSize.cx, kCaptionSize.cy);
  look = CXTCaptionLook();
  look.gradient = true;
  Draw(classic, look, FALSE);
  s.RefreshToolkitColors();
  EXPECT_EQ("", CompareWithGolden("mini_dock_caption_classic_gradient", kCaptionSize.cx, kCaptionSize.cy,
                                  [&](int x, int y) { return classic.at(x, y); }));
}

// 64 strips across the band, strip k a blend of k/64 of the gradient colour.
TEST_F(CaptionLooks, TheClassicBandIsPlainOrSixtyFourStrips) {
  CXTSharedState& s = GetSharedState();
  s.m_clrActiveCaption = RGB(0, 0, 128);
  s.m_clrGradientActiveCaption = RGB(64, 128, 255);
  const int inset = ::GetSystemMetrics(SM_CYEDGE) + 1, y = inset + 1;
  const int width = 128 + 2 * inset;  // a band 128 wide: strips of 2 pixels
  CXTCaptionLook look;
  for (bool gradient : {false, true}) {
    look.gradient = gradient;
    DibSurface surface(width, 30);
    XTDrawMiniDockCaption(&surface.dc(), CRect(0, 0, width, 30), look, "", {}, nullptr);
    for (int k : {0, 1, 32, 63}) {
      const COLORREF expected =
          gradient ? RGB(64 * k / 64, 128 * k / 64, (128 * (64 - k) + 255 * k) / 64) : s.m_clrActiveCaption;
      EXPECT_EQ(surface.at(inset + 2 * k, y), expected) << gradient << " strip " << k;
      EXPECT_EQ(surface.at(inset + 2 * k + 1, y), expected) << gradient << " strip " << k;
    }
  }
  s.RefreshToolkitColors();
}

// A button whose left edge comes within two edges of the frame's left is
// marked and not drawn: the band shows where it would be.
TEST_F(CaptionLooks, AButtonThatNoLongerFitsIsNeitherPlacedNorDrawn) {
  const int edge = ::GetSystemMetrics(SM_CXEDGE), icon = GetSharedState().m_cxSmallIcon;
  const int fits = icon + 3 * edge;  // the close button's left edge lands at 2 x edge
  CXTCaptionLook look;
  look.flat = true;
  for (int width : {fits, fits - 1}) {
    std::vector<CXTCaptionButton> buttons(1);
    XTPlaceCaptionButtons(buttons, CSize(width, 30), look);
    EXPECT_EQ(buttons[0].tooNarrow, width < fits) << width;
    EXPECT_EQ(buttons[0].rect.right, width - edge);
  }
  std::vector<CXTCaptionButton> buttons(1);
  XTPlaceCaptionButtons(buttons, CSize(fits - 1, 30), look);
  buttons[0].hot = TRUE;
  DibSurface surface(fits - 1, 30);
  XTDrawMiniDockCaption(&surface.dc(), CRect(0, 0, fits - 1, 30), look, "", buttons, &m_glyphs);
  const CRect& r = buttons[0].rect;
  EXPECT_EQ(surface.at(r.left + 1, r.top + 1), GetSharedState().m_clrShadow);  // the band, no hot frame
}

// ---- the frame around a floating bar

namespace {

class MiniDockFrame : public ::testing::Test {
 protected:
  void SetUp() override {
    frame = NewFrameWithToolkitDockBars("Floating", CRect(0, 0, 600, 400));
    ASSERT_TRUE(frame);
    frame->m_pFloatingFrameClass = RUNTIME_CLASS(CXTMiniDockFrameWnd);
  }
  void TearDown() override {
    AfxGetApp()->m_pMainWnd = nullptr;
    frame->DestroyWindow();
    PumpWaiting();
  }
  CXTMiniDockFrameWnd* Float(CControlBar& bar) {
    bar.EnableDocking(CBRS_ALIGN_ANY);
    frame->FloatControlBar(&bar, CPoint(200, 200));
    PumpWaiting();
    AfxGetApp()->OnIdle(0);
    PumpWaiting();
    CWnd* parent = bar.m_pDockBar ? bar.m_pDockBar->GetParent() : nullptr;
    return parent && parent->IsKindOf(RUNTIME_CLASS(CXTMiniDockFrameWnd)) ? static_cast<CXTMiniDockFrameWnd*>(parent)
                                                                          : nullptr;
  }
  CPoint CloseButtonCentre(CXTMiniDockFrameWnd* mini) {
    CRect window;
    mini->GetWindowRect(&window);
    return window.TopLeft() + mini->GetCaptionButtons()[0].rect.CenterPoint();
  }
  CFrameWnd* frame = nullptr;
};

}  // namespace

TEST_F(MiniDockFrame, AToolkitBarGetsACloseButtonAndAMenuBarNone) {
  CSizedBar bar;
  ASSERT_TRUE(bar.Create(frame, kBarId, CSize(80, 24)));
  CXTMiniDockFrameWnd* mini = Float(bar);
  ASSERT_NE(mini, nullptr);
  EXPECT_EQ(mini->GetBuiltLook(), CXTMiniDockFrameWnd::kClassicLook);
  ASSERT_EQ(mini->GetCaptionButtons().size(), 1u);
  EXPECT_EQ(mini->GetCaptionButtons()[0].type, CXTCaptionButton::kClose);
  EXPECT_FALSE(mini->GetStyle() & WS_SYSMENU);
  // A change of look rebuilds the buttons at idle time.
  GetSharedState().m_xpLook = TRUE;
  mini->SendMessage(WM_IDLEUPDATECMDUI, TRUE, 0);
  GetSharedState().m_xpLook = FALSE;
  EXPECT_EQ(mini->GetBuiltLook(), CXTMiniDockFrameWnd::kFlatLook);
  EXPECT_EQ(mini->GetCaptionButtons().size(), 1u);

  CSizedMenuBar menuBar(CSize(120, 20));
  ASSERT_TRUE(menuBar.Create(frame, WS_CHILD | WS_VISIBLE | CBRS_TOP, CXTMenuBar::kBarId));
  CXTMiniDockFrameWnd* menuFrame = Float(menuBar);
  ASSERT_NE(menuFrame, nullptr);
  EXPECT_TRUE(menuFrame->GetCaptionButtons().empty());
  EXPECT_FALSE(menuFrame->GetStyle() & WS_SYSMENU);
}

TEST_F(MiniDockFrame, TheFrameStaysWideEnoughForItsButtons) {
  CSizedBar bar;
  ASSERT_TRUE(bar.Create(frame, kBarId, CSize(4, 24)));
  CXTMiniDockFrameWnd* mini = Float(bar);
  ASSERT_NE(mini, nullptr);
  mini->RecalcLayout();
  CRect window;
  mini->GetWindowRect(&window);
  EXPECT_GE(window.Width(), 2 * GetSharedState().m_cxSmallIcon);
  EXPECT_FALSE(mini->GetCaptionButtons()[0].tooNarrow);
}

// Over the close button: hot, its tip shows "Close"; pressed and released
// over it, the frame closes and the bar hides.
TEST_F(MiniDockFrame, TheCloseButtonShowsItsTipAndClosesTheFrame) {
  CSizedBar bar;
  ASSERT_TRUE(bar.Create(frame, kBarId, CSize(80, 24)));
  CXTMiniDockFrameWnd* mini = Float(bar);
  ASSERT_NE(mini, nullptr);
  const CPoint over = CloseButtonCentre(mini);
  const LPARAM at = MAKELPARAM(over.x, over.y);

  mini->SendMessage(WM_NCMOUSEMOVE, HTCAPTION, at);
  EXPECT_TRUE(mini->GetCaptionButtons()[0].hot);
  EXPECT_TRUE(mini->GetCaptionTip().IsWindowVisible());
  char tip[32] = {};
  mini->GetCaptionTip().GetWindowText(tip, sizeof tip);
  EXPECT_STREQ(tip, "Close");

  mini->SendMessage(WM_NCLBUTTONDOWN, HTCAPTION, at);
  EXPECT_TRUE(mini->GetCaptionButtons()[0].pressed);
  // Released elsewhere: nothing closes.
  mini->SendMessage(WM_NCLBUTTONUP, HTCAPTION, MAKELPARAM(over.x - 40, over.y));
  PumpWaiting();
  EXPECT_TRUE(bar.IsWindowVisible());
  EXPECT_FALSE(mini->GetCaptionButtons()[0].pressed);

  mini->SendMessage(WM_NCLBUTTONDOWN, HTCAPTION, at);
  mini->SendMessage(WM_NCLBUTTONUP, HTCAPTION, at);
  PumpWaiting();
  EXPECT_FALSE(bar.GetStyle() & WS_VISIBLE);
}

// A bar floated from the left side by a double click goes back to its place
// there when its floating caption is double-clicked.
TEST_F(MiniDockFrame, ADoubleClickOnTheCaptionDocksTheBarBackWhereItWas) {
  CSizedBar bar;
  ASSERT_TRUE(bar.Create(frame, kBarId, CSize(80, 24)));
  bar.EnableDocking(CBRS_ALIGN_ANY);
  CDockBar* left = static_cast<CDockBar*>(frame->GetControlBar(AFX_IDW_DOCKBAR_LEFT));
  frame->DockControlBar(&bar, left);
  frame->RecalcLayout();
  CRect docked;
  bar.GetWindowRect(&docked);

  bar.m_pDockContext->ToggleDocking();
  PumpWaiting();
  ASSERT_TRUE(bar.m_pDockBar && bar.m_pDockBar->m_bFloating);
  CWnd* mini = bar.m_pDockBar->GetParent();
  ASSERT_TRUE(mini->IsKindOf(RUNTIME_CLASS(CXTMiniDockFrameWnd)));
  CRect window;
  mini->GetWindowRect(&window);
  mini->SendMessage(WM_NCLBUTTONDBLCLK, HTCAPTION, MAKELPARAM(window.left + 8, window.top + 6));
  PumpWaiting();

  EXPECT_EQ(bar.m_pDockBar, left);
  CRect back;
  bar.GetWindowRect(&back);
  EXPECT_EQ(back.TopLeft(), docked.TopLeft());
}
