// What the builder draws, compared pixel for pixel with kept pictures: the
// start page's links and pictures, and the Password page as it first opens;
// and the settings pages' controls, each whole in its place. Read back from
// the shared screen, so the program runs alone.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "classlib/propertysheet.h"
#include "classlib/winapp.h"
#include "dialog_robot.h"
#include "dialogs/WarnMessageBoxOnOff.h"
#include "frame/StartUpIconsView.h"
#include "golden_image.h"
#include "layout_check.h"
#include "pages/BasicGeneralPg.h"
#include "pages/PasswordProtectionPage.h"
#include "builder_resource.h"
#include "screenshot.h"
#include "waiting.h"
#include "window_search.h"

namespace {

class CPicturesTestApp : public CWinApp {
 public:
  CPicturesTestApp() : CWinApp("Builder Pictures Test") {
    RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Brennicor Builder Pictures Test");
    SetRegistryKey("Brennicor Builder Pictures Test");
  }
};
CPicturesTestApp theApp;

// The part of the window's client area at (left, top), width x height, against the kept picture.
std::string CompareAreaWithGolden(HWND window, const char* name, int left, int top, int width, int height) {
  PumpWaiting();
  Screenshot shot(window);
  return CompareWithGolden(name, width, height, [&](int x, int y) { return shot.Pixel(left + x, top + y); });
}

// A borderless top-level window at a fixed place, nothing hot under the mouse.
class Pictures : public ::testing::Test {
 protected:
  void SetUp() override {
    MoveCursor({1200, 1000});
    host_.CreateEx(0, AfxRegisterWndClass(0), "Builder pictures", WS_POPUP | WS_VISIBLE, 20, 20, 640, 560, nullptr,
                   nullptr);
  }
  void TearDown() override { host_.DestroyWindow(); }
  CWnd host_;
};

// The start page with no recent projects: each action link on one line
// beside its arrow, the help links below "Useful Links:". Every link is as
// wide as its text at least, or its text would wrap into a cut second line.
TEST_F(Pictures, StartPageAsKept) {
  auto* page = new CStartUpIconsView;  // a view deletes itself with its window
  ASSERT_TRUE(page->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 300, 560), &host_, AFX_IDW_PANE_FIRST,
                           nullptr));
  page->OnInitialUpdate();
  EXPECT_EQ("", CompareAreaWithGolden(page->m_hWnd, "start_page_actions", 0, 65, 300, 130));
  EXPECT_EQ("", CompareAreaWithGolden(page->m_hWnd, "start_page_help_links", 0, 270, 300, 110));
  for (HWND link = GetWindow(page->m_hWnd, GW_CHILD); link; link = GetWindow(link, GW_HWNDNEXT)) {
    const std::string text = WindowText(link);
    if (text.empty()) continue;
    RECT rect;
    GetClientRect(link, &rect);
    EXPECT_LE(TextExtent(link, text).cx, rect.right) << text << " wraps";
  }
}

// The Password page of a new project: protection off, so its fields are greyed.
TEST_F(Pictures, PasswordPageAsKept) {
  CPasswordProtectionPage page("Password Protection...");
  CPropertySheet sheet("Sheet");
  sheet.AddPage(&page);
  ASSERT_TRUE(sheet.Create(&host_, WS_CHILD | WS_VISIBLE));
  sheet.SetWindowPos(nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  page.RecordToPage(ProjectSettings(), 1);
  // The padlock, the labels and the greyed fields' left ends.
  EXPECT_EQ("", CompareAreaWithGolden(page.m_hWnd, "password_page", 0, 0, 360, 140));
  sheet.DestroyWindow();
}

// Each settings page shows its texts whole, and none of its controls covers
// a piece of another or crosses a group box's border.
TEST_F(Pictures, SettingsPagesShowEachControlWhole) {
  auto* view = new CBasicGeneralPg;  // a view deletes itself with its window
  ASSERT_TRUE(view->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 540, 560), &host_, AFX_IDW_PANE_FIRST,
                           nullptr));
  view->OnInitialUpdate();
  for (int index = 0; index < kSettingsPageCount; ++index) {
    ASSERT_TRUE(view->ShowPage(index));
    EXPECT_EQ(std::vector<std::string>(), LayoutFaults(view->Pages()[index]->m_hWnd)) << "page " << index;
  }
}

// The box of a build that failed on many entries: grown with its list to
// two thirds of the screen, the rest scrolled, every control below the list.
TEST_F(Pictures, BuildFailureBoxWithALongListAsKept) {
  std::string list;
  for (int i = 1; i <= 40; ++i)
    list += (i > 1 ? "\n" : "") + std::string("Entry '../outside/file") + std::to_string(i) +
            ".txt' was not secured: its name is not safe to extract.";
  CWarnMessageBoxOnOff box(IDS_WARNING, IDS_BUILD_ERROR, "PicturesBuildFailure", &host_, list.c_str(), TRUE);
  box.OfferOkOnly();
  std::string compared = "the box never showed";
  DialogRobot robot({{"Warning!", [&](HWND dialog) {
                        // The focus, with its rectangle, comes to the box a moment after it shows.
                        WaitUntil([&] {
                          GUITHREADINFO info = {sizeof info};
                          GetGUIThreadInfo(GetWindowThreadProcessId(dialog, nullptr), &info);
                          return info.hwndFocus && IsChild(dialog, info.hwndFocus);
                        });
                        RedrawWindow(dialog, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
                        RECT client;
                        GetClientRect(dialog, &client);
                        compared = CompareAreaWithGolden(dialog, "build_failure_box", 0, 0, client.right, client.bottom);
                        Press(dialog, IDC_WARN_YES);
                      }}});
  box.DoModal();
  EXPECT_TRUE(robot.Finished());
  EXPECT_EQ("", compared);
}

}  // namespace
