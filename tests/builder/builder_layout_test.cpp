// The builder at 96, 120 and 144 DPI (a user's 100, 125 and 150 % text
// size): the main frame at its first size shows the start page and each
// settings page with every control inside its page and its text whole, and
// the sheet's tab row above the page. Each size runs in a copy of this
// program started at that size.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "app/BuilderCommands.h"
#include "app/KorvaneBrennicorDoc.h"
#include "builder_resource.h"
#include "classlib/document/doctemplate.h"
#include "classlib/resource.h"
#include "classlib/winapp.h"
#include "dialog_robot.h"
#include "frame/MainFrame.h"
#include "frame/StartUpIconsView.h"
#include "golden_image.h"
#include "layout_check.h"
#include "pages/BasicGeneralPg.h"
#include "screenshot.h"
#include "test_dpi.h"
#include "waiting.h"
#include "window_search.h"

namespace {

constexpr char kProfile[] = "Brennicor Builder Layout Test";

class CLayoutTestApp : public CWinApp {
 public:
  CLayoutTestApp() : CWinApp("Builder Layout Test") {
    RegDeleteTreeA(HKEY_CURRENT_USER, (std::string("Software\\") + kProfile).c_str());
    SetRegistryKey(kProfile);
  }
};
CLayoutTestApp theApp;

RECT ScreenRect(HWND window) {
  RECT rect;
  GetWindowRect(window, &rect);
  return rect;
}

RECT ClientOnScreen(HWND window) {
  RECT rect;
  GetClientRect(window, &rect);
  MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

bool Inside(const RECT& inner, const RECT& outer) {
  return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
         inner.bottom <= outer.bottom;
}

// The lowest edge of the sheet's tabs, on the screen.
LONG TabRowsBottom(HWND tabs) {
  LONG bottom = 0;
  for (int item = 0; item < TabCtrl_GetItemCount(tabs); ++item) {
    RECT rect;
    TabCtrl_GetItemRect(tabs, item, &rect);
    MapWindowPoints(tabs, nullptr, reinterpret_cast<POINT*>(&rect), 2);
    if (rect.bottom > bottom) bottom = rect.bottom;
  }
  return bottom;
}

// A copy of the program at one text size.
class AtOneSize : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!RequestedTestDpi()) GTEST_SKIP() << "runs in a copy at a set text size";
    ASSERT_EQ(RequestedTestDpi(), DrawingDpi());
  }
};

// The builder's frame as the program opens it, the tip of the day off.
CMainFrame* OpenFrame() {
  theApp.WriteProfileInt("Tip", "StartUp", 1);
  auto* docs = new CSingleDocTemplate(IDR_MAINFRAME, RUNTIME_CLASS(CKorvaneBrennicorDoc), RUNTIME_CLASS(CMainFrame),
                                      RUNTIME_CLASS(CFormView));
  theApp.AddDocTemplate(docs);
  if (!docs->OpenDocumentFile(nullptr)) return nullptr;
  auto* frame = static_cast<CMainFrame*>(theApp.m_pMainWnd);
  frame->ShowWindow(SW_SHOW);
  CMainFrame::PushSettingsToPages(1, frame);
  PumpWaiting();
  return frame;
}

// Before the frame, whose end ends the message loops of the program.
TEST_F(AtOneSize, TipOfTheDayShowsEachControlWhole) {
  std::vector<std::string> faults;
  DialogRobot robot({{"Tip of the Day", [&](HWND tip) {
                        faults = LayoutFaults(tip);
                        PostMessageA(tip, WM_COMMAND, IDOK, 0);
                      }}});
  ShowTipOfTheDay();
  ASSERT_TRUE(robot.Finished());
  EXPECT_EQ(std::vector<std::string>(), faults);
}

constexpr int kKeptPictureDpi = 144;

// At 150 % the General page's lower half, from its compression settings to
// the Build row, as kept: nothing there blinks.
std::string CompareGeneralPageWithKept(HWND page) {
  RECT group, client;
  GetWindowRect(GetDlgItem(page, IDC_GENERAL_GROUP_COMPRESSION), &group);
  MapWindowPoints(nullptr, page, reinterpret_cast<POINT*>(&group), 2);
  GetClientRect(page, &client);
  PumpWaiting();
  Screenshot shot(page);
  return CompareWithGolden("general_page_144", client.right, client.bottom - group.top,
                           [&](int x, int y) { return shot.Pixel(x, group.top + y); });
}

TEST_F(AtOneSize, FrameShowsStartPageAndEveryPageWhole) {
  CMainFrame* frame = OpenFrame();
  ASSERT_NE(nullptr, frame);
  HWND splitter = GetDlgItem(frame->m_hWnd, AFX_IDW_PANE_FIRST);
  HWND startPage = GetDlgItem(splitter, AFX_IDW_PANE_FIRST);
  auto* view = static_cast<CBasicGeneralPg*>(CWnd::FromHandlePermanent(GetDlgItem(splitter, AFX_IDW_PANE_FIRST + 1)));
  ASSERT_TRUE(startPage && view);
  const RECT frameClient = ClientOnScreen(frame->m_hWnd);
  EXPECT_TRUE(Inside(ScreenRect(view->m_hWnd), frameClient));
  EXPECT_EQ(std::vector<std::string>(), LayoutFaults(startPage)) << "start page";
  const RECT viewClient = ClientOnScreen(view->m_hWnd);
  HWND tabs = FindDescendant(view->m_hWnd, [](HWND w) { return HasClass(w, WC_TABCONTROLA); });
  ASSERT_NE(nullptr, tabs);
  for (int index = 0; index < kSettingsPageCount; ++index) {
    ASSERT_TRUE(view->ShowPage(index));
    PumpWaiting();
    HWND page = view->Pages()[index]->m_hWnd;
    const RECT place = ScreenRect(page);
    EXPECT_TRUE(Inside(place, viewClient)) << "page " << index << " lies outside the pane";
    EXPECT_GE(place.top, TabRowsBottom(tabs)) << "page " << index << " covers the tab rows";
    EXPECT_EQ(std::vector<std::string>(), LayoutFaults(page)) << "page " << index;
    if (index == kGeneralPageIndex && RequestedTestDpi() == kKeptPictureDpi)
      EXPECT_EQ("", CompareGeneralPageWithKept(page));
  }
  frame->DestroyWindow();  // deletes itself, and ends the program's message loop
}

TEST(Layout, AtEachTextSize) {
  if (RequestedTestDpi()) GTEST_SKIP() << "the copy at one size runs its own tests";
  for (int dpi : {96, 120, 144}) EXPECT_TRUE(RunTestsAtDpi(dpi, "AtOneSize.*")) << "at " << dpi << " DPI";
}

}  // namespace
