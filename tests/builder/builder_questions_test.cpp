// The builder program tells its user the truth and asks before it acts, as
// the user meets it from the keyboard and the mouse: each status-bar prompt
// belongs to its command, help that cannot open says so, a project with
// changes is never dropped without the question whether to save it, and
// Escape on a question of the Build flow builds nothing.
#include <gtest/gtest.h>
#include <windows.h>

#include <prsht.h>

#include <functional>
#include <set>
#include <string>
#include <vector>

#include "ProjectFile.h"
#include "ProjectSettings.h"
#include "builder_driving.h"
#include "builder_process.h"
#include "builder_resource.h"
#include "dialog_robot.h"
#include "keyboard_input.h"
#include "window_search.h"

namespace {

constexpr char kFrameSuffix[] = " - Korvane Brennicor";

HWND StatusBar(HWND frame) {
  return FindDescendant(frame, [](HWND window) { return HasClass(window, "msctls_statusbar32"); });
}

bool IsShownMenu(HWND window) { return HasClass(window, "#32768") && IsWindowVisible(window); }

// A small zip the stub's tests make.
std::string SourceZip() {
  std::string path = std::string(BRENNICOR_TEST_WORK) + "\\stub-build\\source.zip";
  for (char& c : path)
    if (c == '/') c = '\\';
  return path;
}

// The zip a project file names, as the build core reads it.
std::string ProjectZip(const std::string& path) {
  ProjectSettings record;
  return LoadProjectFile(record, path.c_str()) == 0 ? record.sourceArchive : "(unreadable)";
}

// The frame of a builder started on arguments, in front and idle: keys reach it.
class BuilderInFront : public DrivenBuilder {
 protected:
  explicit BuilderInFront(const char* folder) : DrivenBuilder(folder) {}
  void SetUp() override {
    ClearBuilderProfile();
    SkipTipOfTheDay();
  }
  void Start(const std::string& arguments = "") {
    StartBuilder(arguments);
    ASSERT_TRUE(InFront());
  }
  HWND ShownMenu(DWORD ms = 5000) const { return builder_.WaitForWindow(IsShownMenu, ms); }
  bool NoMenuShown() const {
    return WaitUntil([&] { return builder_.WaitForWindow(IsShownMenu, 0) == nullptr; }, 5000);
  }
};

// ---- the status bar's prompts

class BuilderPrompts : public BuilderInFront {
 protected:
  BuilderPrompts() : BuilderInFront("prompts") {}

  // Opens a menu with keys, then walks each of its items with Down: every
  // prompt shown on the way, in order.
  std::vector<std::string> PromptsWalking(const std::function<void()>& open, int items) {
    std::vector<std::string> shown;
    HWND status = StatusBar(frame_);
    const std::string idle = ControlText(status);
    open();
    if (!ShownMenu()) return shown;
    std::string last = idle;
    for (int step = 0; step <= items; ++step) {
      // Each item's prompt shows once the menu waits for the next key.
      if (WaitUntil([&] { return ControlText(status) != last; }, 2000)) {
        last = ControlText(status);
        shown.push_back(last);
      }
      PressKey(VK_DOWN);
    }
    PressKey(VK_ESCAPE);
    PressKey(VK_ESCAPE);
    NoMenuShown();
    return shown;
  }
};

// The system menu's commands share their ids with texts of the class
// library: its restore command showed the question whether to save.
TEST_F(BuilderPrompts, EachMenuItemShowsItsOwnPromptTheSystemMenusToo) {
  Start();
  const struct {
    const char* menu;
    std::function<void()> open;
    int items;
    std::set<std::string> prompts;  // every prompt its items may show
  } menus[] = {
      {"system menu", [] { PressWith(VK_MENU, VK_SPACE); }, 8,
       {"Restore the window to its normal size", "Change the window's position", "Change the window's size",
        "Reduce the window to an icon", "Enlarge the window to its full size",
        "Close the window, asking to save changes first", "Display program information, version number and copyright"}},
      {"File", [] { PressWith(VK_MENU, 'F'); }, 6,
       {"Create a new document", "Open an existing document", "Save the active document",
        "Save the active document with a new name", "Open this document",
        "Quit the application; prompts to save documents"}},
      {"Tools", [] { PressWith(VK_MENU, 'T'); }, 2,
       {"Build the self-extracting program", "Reset Show Message Boxes"}},
      {"Help", [] { PressWith(VK_MENU, 'H'); }, 9,
       {"Opens Help Topics", "Display How To page", "Frequently Asked Question", "Show a tip of the day",
        "Special Offers, Referral bonuses from Korvane", "Opens the web browser to the program webpage",
        "Display program information, version number and copyright"}},
  };
  for (const auto& menu : menus) {
    SCOPED_TRACE(menu.menu);
    ASSERT_TRUE(InFront());
    const std::vector<std::string> shown = PromptsWalking(menu.open, menu.items);
    ASSERT_FALSE(shown.empty()) << "a prompt shows while the menu is open";
    std::set<std::string> seen;
    for (const std::string& prompt : shown) {
      EXPECT_EQ(std::string::npos, prompt.find('%')) << prompt;
      EXPECT_TRUE(menu.prompts.count(prompt) || prompt.empty()) << "not this menu's: " << prompt;
      seen.insert(prompt);
    }
    // Disabled items may be passed over; every other item is shown.
    for (const std::string& prompt : menu.prompts) {
      const bool mayBeDisabled = prompt.find("Restore") == 0 || prompt.find("Enlarge") == 0 ||
                                 prompt.find("Build") == 0 || prompt.find("Open this") == 0;
      if (!mayBeDisabled) {
        EXPECT_TRUE(seen.count(prompt)) << "never shown: " << prompt;
      }
    }
  }
}

// ---- help that cannot open

class BuilderHelp : public BuilderInFront {
 protected:
  BuilderHelp() : BuilderInFront("help") {}
};

// No browser takes the page here: the shell's handler gives up, and each
// road to a help page must say so in a box.
TEST_F(BuilderHelp, EachRoadToAHelpPageSaysWhenNoPageOpens) {
  Start();
  // The Help menu's item whose prompt the status bar shows, taken with Enter.
  auto helpMenuItem = [this](const std::string& prompt) {
    return [this, prompt] {
      HWND status = StatusBar(frame_);
      PressWith(VK_MENU, 'H');
      if (!ShownMenu()) return;
      for (int step = 0; step < 10 && !WaitUntil([&] { return ControlText(status) == prompt; }, 1000); ++step)
        PressKey(VK_DOWN);
      PressKey(VK_RETURN);
    };
  };
  const struct {
    const char* road;
    std::function<void()> give;
  } roads[] = {
      {"F1", [] { PressKey(VK_F1); }},
      {"Help Topics", helpMenuItem("Opens Help Topics")},
      {"How To", helpMenuItem("Display How To page")},
      {"Frequently Asked Questions", helpMenuItem("Frequently Asked Question")},
      {"the start page's help link",
       [this] {
         HWND link = FindDescendant(frame_, [](HWND w) { return WindowText(w) == "Korvane Brennicor Help"; });
         if (link) ClickWithMouse(Middle(link));
       }},
  };
  for (const auto& road : roads) {
    SCOPED_TRACE(road.road);
    ASSERT_TRUE(InFront());
    road.give();
    HWND box = builder_.WaitForDialog(nullptr, 15000);
    ASSERT_NE(nullptr, box) << "nothing said";
    EXPECT_EQ("There is no application associated with the given file name extension.", MessageBoxText(box));
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(box); }));
  }
}

// ---- changes never dropped unasked

// Opens a project by one road, with the keys or the mouse; the question
// whether to save may come on the way.
class BuilderOpenAsks : public BuilderInFront, public ::testing::WithParamInterface<const char*> {
 protected:
  BuilderOpenAsks() : BuilderInFront(GetParam()) {}
  void SetUp() override {
    BuilderInFront::SetUp();
    first_ = ProjectNamed("first.ssf", "C:\\first.zip");
    second_ = ProjectNamed("second.ssf", "C:\\second.zip");
    SetProfileString("Recent File List", "File1", second_);
  }
  std::string ProjectNamed(const char* name, const char* zip) {
    ProjectSettings record;
    ResetDefaults(record);
    record.sourceArchive = zip;
    record.outputName = "C:\\out\\program.exe";
    const std::string path = builder_.folder() + "\\" + name;
    EXPECT_TRUE(SaveProjectFile(record, path.c_str()));
    return path;
  }
  std::string Title() const { return WindowText(frame_); }
  std::string ShownZip() const { return ControlText(ZipBox()); }
  HWND ZipBox() const {
    return FindDescendant(frame_, [](HWND w) { return HasClass(w, "Edit") && IsWindowVisible(w); });
  }
  // Opens the second project by the road under test.
  void OpenSecond() {
    ASSERT_TRUE(InFront());
    const std::string road = GetParam();
    if (road == "file_open") {
      PressWith(VK_CONTROL, 'O');
      HWND open = builder_.WaitForDialog();
      ASSERT_NE(nullptr, open);
      ASSERT_TRUE(TypeFileName(open, second_));
    } else if (road == "recent_file") {
      PressWith(VK_MENU, 'F');
      ASSERT_NE(nullptr, ShownMenu());
      PressKey('2');  // the open project is the first of the list
    } else {
      const std::string shown = second_.size() <= 35 ? second_ : "..." + second_.substr(second_.size() - 35);
      HWND link = FindDescendant(frame_, [&](HWND w) { return WindowText(w) == shown && IsWindowVisible(w); });
      ASSERT_NE(nullptr, link);
      ClickWithMouse(Middle(link));
    }
  }
  // The question shown now, answered by key; empty when none came.
  std::string AnswerQuestion(WORD key) {
    HWND box = builder_.WaitForDialog(nullptr, 10000);
    if (!box) return "";
    const std::string said = MessageBoxText(box);
    WaitUntil([&] { return GetForegroundWindow() == box; }, 5000);
    PressKey(key);
    WaitUntil([&] { return !IsWindow(box); });
    return said;
  }
  // Exit from the File menu; true when the program ended without asking.
  bool ExitsWithoutAsking() {
    if (!InFront()) return false;
    PressWith(VK_MENU, 'F');
    if (!ShownMenu()) return false;
    PressKey('X');
    HWND asked = nullptr;
    WaitUntil([&] { return (asked = builder_.WaitForDialog(nullptr, 0)) || builder_.WaitForExit(0) == 0; }, 15000);
    if (asked) PostMessageA(asked, WM_COMMAND, IDNO, 0);
    return !asked && builder_.WaitForExit(15000) == 0;
  }

  std::string first_, second_;
};

TEST_P(BuilderOpenAsks, AChangedProjectIsKeptUnlessTheUserLetsItGoAndAnOpenedOneHasNoChanges) {
  Start("\"" + first_ + "\"");
  const std::string firstTitle = "first.ssf" + std::string(kFrameSuffix);
  ASSERT_TRUE(WaitUntil([&] { return Title() == firstTitle && ShownZip() == "C:\\first.zip"; }));
  HWND zip = ZipBox();
  ASSERT_TRUE(WaitUntil([&] {
    ClickWithMouse(Middle(zip));
    return FocusOfThread(GetWindowThreadProcessId(zip, nullptr)) == zip;
  }));
  PressKey(VK_END);
  TypeText("x");
  ASSERT_TRUE(WaitUntil([&] { return ShownZip() == "C:\\first.zipx"; }));

  OpenSecond();
  EXPECT_EQ("Save changes to " + first_ + "?", AnswerQuestion(VK_ESCAPE)) << "asked before the change is dropped";
  EXPECT_EQ(firstTitle, Title()) << "Cancel keeps the project";
  EXPECT_EQ("C:\\first.zipx", ShownZip()) << "Cancel keeps the change";

  OpenSecond();
  EXPECT_EQ("Save changes to " + first_ + "?", AnswerQuestion('N'));
  EXPECT_TRUE(WaitUntil([&] { return Title() == "second.ssf" + std::string(kFrameSuffix); })) << Title();
  EXPECT_TRUE(WaitUntil([&] { return ShownZip() == "C:\\second.zip"; })) << ShownZip();
  EXPECT_EQ("C:\\first.zip", ProjectZip(first_)) << "No saves nothing";
  // Each page made and shown changes nothing of the project.
  HWND tabs = FindDescendant(frame_, [](HWND w) { return HasClass(w, "SysTabControl32"); });
  ASSERT_NE(nullptr, tabs);
  for (int page : {1, 2, 3, 0}) SendMessageA(GetParent(tabs), PSM_SETCURSEL, page, 0);
  EXPECT_TRUE(ExitsWithoutAsking()) << "a project just opened has no changes";
  frame_ = nullptr;
}

INSTANTIATE_TEST_SUITE_P(Roads, BuilderOpenAsks, ::testing::Values("file_open", "recent_file", "start_page_link"));

// ---- the Build flow's questions

class BuilderBuildQuestions : public BuilderInFront {
 protected:
  BuilderBuildQuestions() : BuilderInFront("build_questions") {}
  std::string Output() const { return builder_.folder() + "\\built.exe"; }
  void StartOn(int protectedEmpty) {
    ProjectSettings record;
    ResetDefaults(record);
    record.sourceArchive = SourceZip();
    record.outputName = Output();
    record.passwordProtection = protectedEmpty;
    const std::string project = builder_.folder() + "\\questions.ssf";
    ASSERT_TRUE(SaveProjectFile(record, project.c_str()));
    Start("\"" + project + "\"");
    ASSERT_TRUE(WaitUntil([&] { return WindowText(frame_) == "questions.ssf" + std::string(kFrameSuffix); }));
  }
  // Ctrl+B, then the first question answered by key: its text.
  std::string BuildAnswering(WORD key) {
    if (!InFront()) return "";
    PressWith(VK_CONTROL, 'B');
    HWND box = builder_.WaitForDialog(nullptr, 10000);
    if (!box) return "";
    const std::string said = ControlText(GetDlgItem(box, IDC_WARN_MESSAGE));
    WaitUntil([&] { return GetForegroundWindow() == box; }, 5000);
    PressKey(key);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(box); }, 5000)) << "the key answers the box";
    return said;
  }
  HWND BuildPage() const {
    HWND bar = FindDescendant(frame_, [](HWND w) { return GetDlgCtrlID(w) == IDC_BUILD_OVERALL_BAR; });
    return bar ? GetParent(bar) : nullptr;
  }
  // Once the frame answers, the flow has either started the build (its page
  // shown) or ended; no further question may have come.
  void ExpectNothingBuilt(const char* why) {
    SendMessageA(frame_, WM_NULL, 0, 0);
    EXPECT_EQ(nullptr, builder_.WaitForDialog(nullptr, 500)) << why;
    HWND page = BuildPage();
    EXPECT_FALSE(page && IsWindowVisible(page)) << why;
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(Output().c_str())) << why;
  }
};

TEST_F(BuilderBuildQuestions, EscapeBuildsNothingAndNAnswersNo) {
  StartOn(0);
  EXPECT_EQ(0u, BuildAnswering(VK_ESCAPE).find("We strongly suggest the use of Higher AES Encryption bit rate!"));
  ExpectNothingBuilt("Escape on the advice to protect");

  EXPECT_EQ(0u, BuildAnswering('N').find("We strongly suggest"));
  HWND page = nullptr;
  EXPECT_TRUE(WaitUntil([&] { return (page = BuildPage()) && IsWindowEnabled(GetDlgItem(page, IDC_BUILD_TEST)); },
                        60000))
      << "N is No: the program is built";
  DWORD stored = 0;
  EXPECT_FALSE(ProfileInt("Settings\\WarningMessageBxs", "WarningSHouldUSeAESStrongEncryption", &stored))
      << "N ticks nothing";
}

TEST_F(BuilderBuildQuestions, EscapeOnAnEmptyPasswordBuildsNothing) {
  StartOn(1);
  EXPECT_EQ(0u, BuildAnswering(VK_ESCAPE).find("Password protection will not work with empty password text."));
  ExpectNothingBuilt("Escape on the empty password");
}

}  // namespace
