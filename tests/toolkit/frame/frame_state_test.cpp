// A builder-shaped frame's bar state saved, the frame destroyed, built again
// (without a bar it had) and loaded: the floating menu bar comes back where
// it floated, the hidden status bar stays hidden, the missing bar's id is
// dropped. What the saves leave in the registry and in the INI file is
// checked by check_bar_state.py with the system's own reader and Python's.
#include <gtest/gtest.h>

#include "classlib/classlib.h"
#include "shaped_frame.h"
#include "toolkit/common/SharedState.h"
#include "toolkit/docking/MiniDockFrameWnd.h"
#include "waiting.h"

namespace {

const char kCompany[] = "BrennicorToolkitFrameState";
const char kIniFile[] = BRENNICOR_TEST_WORK "/toolkit_frame_state.ini";
const CPoint kFloatAt(300, 200);

void Idle() {
  PumpWaiting({nullptr, [] {
                 AfxGetApp()->OnIdle(0);
                 AfxGetApp()->OnIdle(1);
               }});
}

// The first frame, with the side bar: the menu bar floats, the status bar hides; saved and destroyed.
void SaveAFrameLaidOutByTheUser() {
  CShapedFrame* frame = CShapedFrame::Make(CRect(40, 40, 640, 480), true);
  ASSERT_NE(frame, nullptr);
  frame->FloatControlBar(&frame->m_menuBar, kFloatAt, CBRS_ALIGN_TOP);
  frame->ShowControlBar(&frame->m_statusBar, FALSE, FALSE);
  Idle();
  EXPECT_TRUE(frame->SaveBarState(CShapedFrame::kProfile));
  AfxGetApp()->m_pMainWnd = nullptr;
  frame->DestroyWindow();
  Idle();
}

// The registry test starts from an empty key; the INI test leaves it alone.
class FrameState : public ::testing::Test {
 protected:
  void SetUp() override { AfxGetApp()->SetRegistryKey(kCompany); }
  void TearDown() override { GetSharedState().m_iniFileName.Empty(); }
};

}  // namespace

TEST_F(FrameState, AFrameBuiltAgainGetsItsLayoutBackWithoutTheBarItLacks) {
  ::RegDeleteTreeA(HKEY_CURRENT_USER, (CString("Software\\") + kCompany));
  SaveAFrameLaidOutByTheUser();

  CShapedFrame* frame = CShapedFrame::Make(CRect(40, 40, 640, 480));
  ASSERT_NE(frame, nullptr);
  Idle();
  CDockBar* menuDock = frame->m_menuBar.m_pDockBar;
  ASSERT_NE(menuDock, nullptr);
  EXPECT_TRUE(menuDock->m_bFloating);
  CWnd* floating = menuDock->GetParent();
  EXPECT_TRUE(floating->IsKindOf(RUNTIME_CLASS(CXTMiniDockFrameWnd)));
  EXPECT_TRUE(floating->IsWindowVisible());
  CRect floatRect;
  floating->GetWindowRect(&floatRect);
  EXPECT_EQ(floatRect.TopLeft(), kFloatAt);
  EXPECT_FALSE(frame->m_statusBar.IsWindowVisible());

  // The side bar's id was in the left side's list: gone, and the side is empty.
  CDockBar* left = static_cast<CDockBar*>(frame->GetControlBar(AFX_IDW_DOCKBAR_LEFT));
  EXPECT_EQ(left->GetDockedCount(), 0);
  EXPECT_EQ(frame->GetControlBar(CShapedFrame::kSideBarId), nullptr);
  AfxGetApp()->m_pMainWnd = nullptr;
  frame->DestroyWindow();
  Idle();

  // Saved again for the registry check: the side bar back in its list.
  SaveAFrameLaidOutByTheUser();
}

TEST_F(FrameState, TheIniFileGetsTheSameSections) {
  ::DeleteFileA(kIniFile);
  GetSharedState().m_iniFileName = kIniFile;
  SaveAFrameLaidOutByTheUser();
  EXPECT_EQ(::GetPrivateProfileIntA("ShapedFramePOS-Summary", "Bars", -1, kIniFile) > 0, true);
}
