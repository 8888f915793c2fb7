// The builder program under the keys that leave and re-enter its settings
// sheet: whatever took the focus away (a warning box, the system menu, the
// start page, a page turned while a box asked), the system menu, the page
// keys and Tab still work and the program never stops answering.
#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <string>

#include "builder_driving.h"
#include "builder_resource.h"
#include "dialog_robot.h"
#include "keyboard_input.h"
#include "window_search.h"

namespace {

bool IsShownMenu(HWND window) { return HasClass(window, "#32768") && IsWindowVisible(window); }

class SheetKeys : public DrivenBuilder {
 protected:
  SheetKeys() : DrivenBuilder("sheet-keys") {}
  void SetUp() override {
    ClearBuilderProfile();
    SkipTipOfTheDay();
    ASSERT_NO_FATAL_FAILURE(StartBuilder());
    ASSERT_TRUE(InFront());
  }

  // Alt+Space opens the frame's system menu and Escape closes it.
  void ExpectSystemMenu() {
    PressWith(VK_MENU, VK_SPACE);
    EXPECT_NE(nullptr, builder_.WaitForWindow(IsShownMenu, 5000)) << "Alt+Space opens the system menu";
    ASSERT_TRUE(Answers()) << "Alt+Space";
    // The first Escape closes the menu and leaves its title chosen, the second leaves the menu.
    PressKey(VK_ESCAPE);
    EXPECT_TRUE(WaitUntil([&] { return builder_.WaitForWindow(IsShownMenu, 0) == nullptr; }, 5000));
    PressKey(VK_ESCAPE);
    EXPECT_TRUE(WaitUntil([&] { return !InMenuMode(); }, 5000));
  }

  // After the focus went away and came back: the system menu, Ctrl+Tab and
  // Tab, and the program answers after each. With the focus in the sheet,
  // Ctrl+Tab turns its page and Tab keeps the focus on a control shown there
  // (the Build page of an empty project has nothing to take it from the tabs).
  void ExpectKeysWork(const char* how, bool inSheet = true) {
    SCOPED_TRACE(how);
    ASSERT_TRUE(Answers()) << "before the keys";
    ASSERT_TRUE(InFront());
    ASSERT_NO_FATAL_FAILURE(ExpectSystemMenu());
    ASSERT_TRUE(InFront());
    const HWND before = CurrentPage();
    PressWith(VK_CONTROL, VK_TAB);
    ASSERT_TRUE(Answers()) << "Ctrl+Tab";
    if (inSheet) EXPECT_TRUE(WaitUntil([&] { return CurrentPage() != before; }, 5000)) << "Ctrl+Tab turns the page: " << FocusPath();
    PressKey(VK_TAB);
    ASSERT_TRUE(Answers()) << "Tab";
    if (inSheet)
      EXPECT_TRUE(WaitUntil([&] { return IsChild(sheet_, Focus()) && IsWindowVisible(Focus()); }, 5000))
          << "Tab keeps the focus on the sheet: " << FocusPath();
    ASSERT_NO_FATAL_FAILURE(ExpectSystemMenu());
  }

  // Where the focus is, for the failure messages: class and id up to the frame.
  std::string FocusPath() const {
    std::string path;
    for (HWND window = Focus(); window && window != frame_; window = GetParent(window)) {
      char name[64] = {};
      GetClassNameA(window, name, sizeof name);
      path += std::string(name) + "#" + std::to_string(GetDlgCtrlID(window)) +
              (IsWindowVisible(window) ? "" : "(hidden)") + " < ";
    }
    return path;
  }

  bool InMenuMode() const {
    GUITHREADINFO info = {};
    info.cbSize = sizeof info;
    return GetGUIThreadInfo(GetWindowThreadProcessId(frame_, nullptr), &info) && (info.flags & GUI_INMENUMODE);
  }

  HWND StartPageLink() const {
    return FindDescendant(frame_, [](HWND window) { return WindowText(window) == "Open Brennicor Project..."; });
  }
};

TEST_F(SheetKeys, AfterTheWarningsResetBoxClosedByEnter) {
  ASSERT_NE(nullptr, Show(kPasswordPage));
  HWND protect = Item(Shown(kPasswordPage), IDC_PASSWORD_PROTECT);
  ASSERT_TRUE(ClickUntil(protect, [&] { return Focus() == protect; }));
  PressWith(VK_CONTROL, 'R');
  HWND box = builder_.WaitForDialog(nullptr, 5000);
  ASSERT_NE(nullptr, box) << "Ctrl+R says the warnings were reset";
  ASSERT_TRUE(WaitUntil([&] { return GetForegroundWindow() == box; }, 5000));
  PressKey(VK_RETURN);
  ASSERT_TRUE(WaitUntil([&] { return !IsWindow(box); }, 5000));
  ExpectKeysWork("warning box");
}

TEST_F(SheetKeys, AfterTheSystemMenu) {
  ASSERT_TRUE(ClickUntil(Item(Shown(kGeneralPage), IDC_GENERAL_OVERWRITE), [&] { return IsChild(sheet_, Focus()); }));
  ASSERT_NO_FATAL_FAILURE(ExpectSystemMenu());
  ExpectKeysWork("system menu");
}

TEST_F(SheetKeys, AfterTheStartPageWasClicked) {
  HWND link = StartPageLink();
  ASSERT_NE(nullptr, link);
  POINT beside = Middle(link);
  RECT rect;
  GetWindowRect(link, &rect);
  beside.y = rect.bottom + 3;
  // Beside a link, where a click only takes the focus.
  SettleMouse(beside, 150);
  ClickWithMouse(beside);
  ASSERT_TRUE(Answers());
  ExpectKeysWork("start page", false);
}

// The Password page asks when it is left with passwords that differ; the
// sheet turns once the box is answered.
TEST_F(SheetKeys, AfterAPageWasTurnedWhileABoxAsked) {
  ASSERT_NE(nullptr, Show(kPasswordPage));
  HWND password = Shown(kPasswordPage);
  ASSERT_TRUE(Tick(Item(password, IDC_PASSWORD_PROTECT)));
  ASSERT_TRUE(ClickAndType(Item(password, IDC_PASSWORD_PAGE_EDIT), "typed once"));
  ASSERT_TRUE(ClickAndType(Item(password, IDC_PASSWORD_VERIFY_EDIT), "typed twice"));
  PressWith(VK_CONTROL, VK_TAB);
  HWND box = builder_.WaitForDialog(nullptr, 5000);
  ASSERT_NE(nullptr, box) << "the passwords differ";
  // No: the page is left without protection.
  ASSERT_TRUE(ClickControl(GetDlgItem(box, IDC_WARN_NO)));
  ASSERT_TRUE(WaitUntil([&] { return !IsWindow(box); }, 5000));
  ASSERT_NE(nullptr, Shown(kBuildPage));
  ExpectKeysWork("page turned while a box asked");
}

// The Options page's texts take typing but not the Tab keys: Tab and
// Shift+Tab move the focus on and back, even with the whole text selected
// as tabbing in leaves it, and Ctrl+Tab turns the page.
TEST_F(SheetKeys, TabLeavesTheOptionsTextsAsTheyWereTyped) {
  HWND options = Show(kOptionsPage);
  ASSERT_NE(nullptr, options);
  struct Text {
    int id;
    const char* typed;
  };
  for (const Text& text : {Text{IDC_OPTIONS_ABOUT_TEXT, "About this program"},
                           Text{IDC_OPTIONS_MESSAGE_TEXT, "Read this first"}}) {
    SCOPED_TRACE(text.typed);
    HWND edit = Item(options, text.id);
    ASSERT_TRUE(ClickAndType(edit, text.typed));
    PressKey(VK_TAB);
    EXPECT_TRUE(WaitUntil([&] { return Focus() != edit && IsChild(options, Focus()); }, 5000)) << "Tab: " << FocusPath();
    PressWith(VK_SHIFT, VK_TAB);
    EXPECT_TRUE(WaitUntil([&] { return Focus() == edit; }, 5000)) << "Shift+Tab: " << FocusPath();
    PressKey(VK_TAB);
    EXPECT_TRUE(WaitUntil([&] { return Focus() != edit; }, 5000)) << "Tab over the selected text: " << FocusPath();
    ASSERT_TRUE(ClickUntil(edit, [&] { return Focus() == edit; }));
    PressWith(VK_SHIFT, VK_TAB);
    EXPECT_TRUE(WaitUntil([&] { return Focus() != edit && IsChild(sheet_, Focus()); }, 5000))
        << "Shift+Tab: " << FocusPath();
    EXPECT_EQ(text.typed, ControlText(edit));
  }
  ASSERT_TRUE(ClickUntil(Item(options, IDC_OPTIONS_MESSAGE_TEXT),
                         [&] { return Focus() == Item(options, IDC_OPTIONS_MESSAGE_TEXT); }));
  EXPECT_NE(nullptr, TurnTo(kPasswordPage)) << "Ctrl+Tab from inside the message";
  EXPECT_EQ("Read this first", ControlText(Item(options, IDC_OPTIONS_MESSAGE_TEXT)));
}

}  // namespace


