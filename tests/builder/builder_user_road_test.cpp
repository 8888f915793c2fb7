// The builder program driven as its user drives it, from a zip to a
// protected program that extracts and launches: every setting typed or
// picked on its page, the project saved and opened again, the program built,
// tested and answered in the stub.
#include <gtest/gtest.h>
#include <windows.h>

#include <commctrl.h>
#include <prsht.h>

#include <string>

#include "ProjectFile.h"
#include "SecureContainerFormat.h"
#include "SelfExtractorFormat.h"
#include "builder_process.h"
#include "builder_resource.h"
#include "dialog_robot.h"
#include "window_search.h"
#include "extract_test_support.h"
#include "stub_resource.h"
#include "stub_test_support.h"

namespace {

constexpr UINT kFileNew = 57600, kFileOpen = 57601, kFileSave = 57603, kFileSaveAs = 57604, kFirstRecentFile = 57616;
constexpr char kPassword[] = "Road password 256";
constexpr char kMessage[] = "Read this before the files arrive.";
constexpr char kLaunched[] = "tools/probe.exe";
constexpr char kAboutRtf[] = "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 Arial;}}\\f0 About {\\b this} road}";
constexpr char kAboutShown[] = "About this road";
constexpr char kNormalLevel[] = "Normal", kMaximumLevel[] = "Maximum - Best Compression";

std::string SourceWork(const std::string& relative) { return WorkPath("stub-build\\" + relative); }

// A control's text from another process: GetWindowText would answer with
// the system's copy of its caption, not what the control holds.
std::string ControlText(HWND control) {
  char text[1024] = {};
  SendMessageA(control, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
  return text;
}

// The first window below root with the id and class: pages' ids repeat, so
// callers search below the page they mean.
HWND FindControl(HWND root, int id, const char* className) {
  return FindDescendant(root, [&](HWND window) { return GetDlgCtrlID(window) == id && HasClass(window, className); });
}

HWND FindSheet(HWND frame) {
  HWND tabs = FindDescendant(frame, [](HWND window) { return HasClass(window, WC_TABCONTROLA); });
  return tabs ? GetParent(tabs) : nullptr;
}

// One page of the settings sheet, shown, found by a control only it has.
struct PageOf {
  int index;
  int markId;
  const char* markClass;
};
constexpr PageOf kGeneralPage = {0, IDC_GENERAL_BUILD, "Button"};
constexpr PageOf kOptionsPage = {1, IDC_OPTIONS_LAUNCH_LIST, "ComboBox"};
constexpr PageOf kPasswordPage = {2, IDC_PASSWORD_STRENGTH, "ComboBox"};
constexpr PageOf kBuildPage = {3, IDC_BUILD_OVERALL_BAR, PROGRESS_CLASSA};

class UserRoad : public ::testing::Test {
 protected:
  void SetUp() override {
    ClearBuilderProfile();
    SkipTipOfTheDay();
    SetProfileInt("Settings\\WarningMessageBxs", "OverWriteBrennicorOutputFile", 1);
    folder_ = builder_.folder() + "\\";
    WriteFile(folder_ + "about.rtf", kAboutRtf);
    ASSERT_TRUE(builder_.Start());
    frame_ = builder_.WaitForFrame();
    ASSERT_NE(nullptr, frame_);
    GetWindowThreadProcessId(frame_, &process_);
    ASSERT_TRUE(WaitUntil([&] { return (sheet_ = FindSheet(frame_)) != nullptr; }, 10000));
  }
  void TearDown() override { builder_.Close(frame_); }

  HWND Show(const PageOf& page) {
    SendMessageA(sheet_, PSM_SETCURSEL, page.index, 0);
    HWND mark = nullptr;
    WaitUntil([&] { return (mark = FindControl(sheet_, page.markId, page.markClass)) != nullptr; }, 5000);
    return mark ? GetParent(mark) : nullptr;
  }
  static HWND Item(HWND page, int id) { return GetDlgItem(page, id); }
  static void Notify(HWND page, int id, int code) {
    SendMessageA(page, WM_COMMAND, MAKEWPARAM(id, code), reinterpret_cast<LPARAM>(Item(page, id)));
  }
  // Types into a history combo's edit, which tells the page as typing does.
  static void TypeIntoCombo(HWND page, int id, const std::string& text) {
    HWND edit = reinterpret_cast<HWND>(SendMessageA(Item(page, id), CBEM_GETEDITCONTROL, 0, 0));
    SendMessageA(edit ? edit : Item(page, id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
    Notify(page, id, CBN_EDITCHANGE);
  }
  static std::string ComboText(HWND page, int id) {
    HWND edit = reinterpret_cast<HWND>(SendMessageA(Item(page, id), CBEM_GETEDITCONTROL, 0, 0));
    return ControlText(edit ? edit : Item(page, id));
  }
  static void PickRow(HWND page, int id, int row) {
    SendMessageA(Item(page, id), CB_SETCURSEL, row, 0);
    Notify(page, id, CBN_SELCHANGE);
  }
  // A drop-down list's text is its selected row's.
  static std::string SelectedRowText(HWND page, int id) { return ControlText(Item(page, id)); }
  static bool Checked(HWND page, int id) { return SendMessageA(Item(page, id), BM_GETCHECK, 0, 0) == BST_CHECKED; }
  void Command(UINT id) { PostMessageA(frame_, WM_COMMAND, id, 0); }
  // Runs a File command and waits until the General page's zip is or is not
  // empty; the question whether to save the project first is answered No.
  bool FileCommandUntilZip(UINT id, bool empty) {
    Command(id);
    return WaitUntil(
        [&] {
          if (HWND ask = builder_.WaitForDialog(nullptr, 0)) PostMessageA(ask, WM_COMMAND, IDNO, 0);
          return ComboText(Show(kGeneralPage), IDC_GENERAL_ZIP).empty() == empty;
        },
        10000);
  }

  // Every setting as the user gives it, page by page.
  void FillEveryPage() {
    HWND general = Show(kGeneralPage);
    TypeIntoCombo(general, IDC_GENERAL_ZIP, SourceWork("source.zip"));
    TypeIntoCombo(general, IDC_GENERAL_OUTPUT, output());
    TypeIntoCombo(general, IDC_GENERAL_FOLDER, destination());
    SendMessageA(Item(general, IDC_GENERAL_OVERWRITE), BM_CLICK, 0, 0);
    PickRow(general, IDC_GENERAL_LEVEL, 3);

    HWND options = Show(kOptionsPage);
    {
      DialogRobot robot({{"Open", [&](HWND dialog) { ChooseFile(dialog, folder_ + "about.rtf"); }}}, process_);
      PostMessageA(options, WM_COMMAND, MAKEWPARAM(IDC_OPTIONS_ABOUT_LOAD, BN_CLICKED),
                   reinterpret_cast<LPARAM>(Item(options, IDC_OPTIONS_ABOUT_LOAD)));
      ASSERT_TRUE(robot.Finished());
    }
    ASSERT_TRUE(WaitUntil([&] { return ControlText(Item(options, IDC_OPTIONS_ABOUT_TEXT)) == kAboutShown; }, 5000));
    SendMessageA(Item(options, IDC_OPTIONS_MESSAGE_TEXT), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(kMessage));
    const LRESULT row = SendMessageA(Item(options, IDC_OPTIONS_LAUNCH_LIST), CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                     reinterpret_cast<LPARAM>(kLaunched));
    ASSERT_GT(row, 0) << "the zip's files are offered";
    PickRow(options, IDC_OPTIONS_LAUNCH_LIST, static_cast<int>(row));

    HWND password = Show(kPasswordPage);
    SendMessageA(Item(password, IDC_PASSWORD_PROTECT), BM_CLICK, 0, 0);
    SendMessageA(Item(password, IDC_PASSWORD_PAGE_EDIT), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(kPassword));
    SendMessageA(Item(password, IDC_PASSWORD_VERIFY_EDIT), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(kPassword));
    PickRow(password, IDC_PASSWORD_STRENGTH, 2);
  }

  // What the pages show after the project came back.
  void ExpectEveryPageShowsTheProject(const char* how) {
    SCOPED_TRACE(how);
    HWND general = Show(kGeneralPage);
    EXPECT_EQ(SourceWork("source.zip"), ComboText(general, IDC_GENERAL_ZIP));
    EXPECT_EQ(output(), ComboText(general, IDC_GENERAL_OUTPUT));
    EXPECT_EQ(destination(), ComboText(general, IDC_GENERAL_FOLDER));
    EXPECT_TRUE(Checked(general, IDC_GENERAL_OVERWRITE));
    EXPECT_EQ(kMaximumLevel, SelectedRowText(general, IDC_GENERAL_LEVEL));
    HWND options = Show(kOptionsPage);
    EXPECT_EQ(kAboutShown, ControlText(Item(options, IDC_OPTIONS_ABOUT_TEXT)));
    EXPECT_EQ("RichText Mode.", ControlText(Item(options, IDC_OPTIONS_ABOUT_MODE)));
    EXPECT_EQ(kMessage, ControlText(Item(options, IDC_OPTIONS_MESSAGE_TEXT)));
    EXPECT_EQ(kLaunched, SelectedRowText(options, IDC_OPTIONS_LAUNCH_LIST));
    HWND password = Show(kPasswordPage);
    EXPECT_TRUE(Checked(password, IDC_PASSWORD_PROTECT));
    EXPECT_EQ(kPassword, ControlText(Item(password, IDC_PASSWORD_PAGE_EDIT)));
    EXPECT_EQ("Use 256bit AES STRONG Encryption", SelectedRowText(password, IDC_PASSWORD_STRENGTH));
  }

  std::string output() const { return folder_ + "road.exe"; }
  std::string destination() const { return folder_ + "out\\"; }
  std::string project() const { return folder_ + "road.ssf"; }

  BuilderProcess builder_{"user-road"};
  std::string folder_;
  HWND frame_ = nullptr, sheet_ = nullptr;
  DWORD process_ = 0;
};

// The stub's main dialog, from whatever process the shell started it in.
HWND WaitForStub(DWORD* process) {
  HWND found = nullptr;
  WaitUntil(
      [&] {
        found = FindWindowA("#32770", "Korvane SFX Module");
        return found && IsWindowVisible(found);
      },
      20000);
  if (found) GetWindowThreadProcessId(found, process);
  return found;
}

TEST_F(UserRoad, AProjectTypedSavedBuiltAndTestedExtractsAndLaunches) {
  EXPECT_EQ(kNormalLevel, SelectedRowText(Show(kGeneralPage), IDC_GENERAL_LEVEL)) << "start-up";
  FillEveryPage();
  {
    DialogRobot robot({{"Save SFX Project As...", [&](HWND dialog) { ChooseFile(dialog, project()); }}}, process_);
    Command(kFileSaveAs);
    ASSERT_TRUE(robot.Finished());
  }
  ASSERT_TRUE(WaitUntil([&] { return FileExists(project()); }, 5000));
  Command(kFileSave);  // the recent list's way in

  HWND general = Show(kGeneralPage);
  PostMessageA(general, WM_COMMAND, MAKEWPARAM(IDC_GENERAL_BUILD, BN_CLICKED),
               reinterpret_cast<LPARAM>(Item(general, IDC_GENERAL_BUILD)));
  HWND build = nullptr;
  ASSERT_TRUE(WaitUntil(
      [&] {
        build = FindControl(sheet_, kBuildPage.markId, kBuildPage.markClass);
        return build && IsWindowEnabled(GetDlgItem(GetParent(build), IDC_BUILD_TEST));
      },
      60000));
  build = GetParent(build);
  ASSERT_TRUE(FileExists(output()));

  PostMessageA(build, WM_COMMAND, MAKEWPARAM(IDC_BUILD_TEST, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(build, IDC_BUILD_TEST)));
  DWORD stubProcess = 0;
  ASSERT_NE(nullptr, WaitForStub(&stubProcess));
  HANDLE stub = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION, FALSE, stubProcess);
  std::string message;
  {
    DialogRobot robot({{"Korvane SFX Module", [](HWND d) { Press(d, IDOK); }},
                       {"Custom Message", [&](HWND d) {
                          message = ItemText(d, IDC_CUSTOM_MESSAGE_TEXT);
                          Press(d, IDOK);
                        }},
                       {"Korvane Brennicor Warning!", [](HWND d) {
                          TypeInto(d, IDC_PASSWORD, kPassword);
                          Press(d, IDOK);
                        }}},
                      stubProcess);
    EXPECT_TRUE(robot.Finished());
  }
  EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(stub, 30000));
  CloseHandle(stub);
  EXPECT_EQ(kMessage, message);
  EXPECT_TRUE(WaitForFile(destination() + "launched.txt", 10000));
  auto extracted = TreeBelow(destination());
  extracted.erase("launched.txt");
  EXPECT_EQ(TreeBelow(SourceWork("expected\\")), extracted);

  ASSERT_TRUE(FileCommandUntilZip(kFileNew, true));
  EXPECT_EQ(kNormalLevel, SelectedRowText(Show(kGeneralPage), IDC_GENERAL_LEVEL)) << "New";
  {
    DialogRobot robot({{"Open", [&](HWND dialog) { ChooseFile(dialog, project()); }}}, process_);
    Command(kFileOpen);
    ASSERT_TRUE(robot.Finished());
  }
  ASSERT_TRUE(WaitUntil([&] { return !ComboText(Show(kGeneralPage), IDC_GENERAL_ZIP).empty(); }, 5000));
  ExpectEveryPageShowsTheProject("File Open");

  ASSERT_TRUE(FileCommandUntilZip(kFileNew, true));
  ASSERT_TRUE(FileCommandUntilZip(kFirstRecentFile, false));
  ExpectEveryPageShowsTheProject("Recent File");
}

// The container's first word says whether the program is protected.
uint32_t ContainerMagic(const std::string& program) {
  const std::string bytes = ReadFile(program);
  const size_t marker = bytes.rfind(std::string(kSelfExtractorMarker, kSelfExtractorMarkerLength));
  if (marker == std::string::npos || marker < 4) return 0;
  uint32_t offset = 0, magic = 0;
  bytes.copy(reinterpret_cast<char*>(&offset), 4, marker - 4);
  if (offset + 4 > marker) return 0;
  bytes.copy(reinterpret_cast<char*>(&magic), 4, offset);
  return magic;
}

// A warning box's answer by the robot, with its message kept.
RobotStep AnswerWarning(int button, std::string* message) {
  return {"Warning!", [button, message](HWND box) {
            *message = ItemText(box, IDC_WARN_MESSAGE);
            Press(box, button);
          }};
}

// Passwords that do not match: No builds without protection, after the
// advice to protect; Yes goes back to the page and builds nothing. Never a
// program locked with a password nobody verified.
TEST_F(UserRoad, AMismatchAnsweredNoBuildsAnOpenProgramAndYesBuildsNothing) {
  HWND general = Show(kGeneralPage);
  TypeIntoCombo(general, IDC_GENERAL_ZIP, SourceWork("source.zip"));
  TypeIntoCombo(general, IDC_GENERAL_OUTPUT, output());
  HWND password = Show(kPasswordPage);
  SendMessageA(Item(password, IDC_PASSWORD_PROTECT), BM_CLICK, 0, 0);
  SendMessageA(Item(password, IDC_PASSWORD_PAGE_EDIT), WM_SETTEXT, 0, reinterpret_cast<LPARAM>("typed once"));
  SendMessageA(Item(password, IDC_PASSWORD_VERIFY_EDIT), WM_SETTEXT, 0, reinterpret_cast<LPARAM>("typed twice"));
  // The Build button is pressed with the Password page still shown: leaving it would ask already.
  std::string mismatch, advice;
  {
    DialogRobot robot({AnswerWarning(IDC_WARN_YES, &mismatch)}, process_);
    PostMessageA(general, WM_COMMAND, MAKEWPARAM(IDC_GENERAL_BUILD, BN_CLICKED),
                 reinterpret_cast<LPARAM>(Item(general, IDC_GENERAL_BUILD)));
    EXPECT_TRUE(robot.Finished());
  }
  EXPECT_EQ("Password text does not match! Please re-verify or re-enter the text.", mismatch);
  // Once the program answers again the click has been handled: a build would have shown the Build page.
  SendMessageA(frame_, WM_NULL, 0, 0);
  EXPECT_EQ(password, reinterpret_cast<HWND>(SendMessageA(sheet_, PSM_GETCURRENTPAGEHWND, 0, 0)));
  EXPECT_FALSE(FileExists(output())) << "Yes builds nothing";

  mismatch.clear();
  {
    DialogRobot robot({AnswerWarning(IDC_WARN_NO, &mismatch), AnswerWarning(IDC_WARN_NO, &advice)}, process_);
    PostMessageA(general, WM_COMMAND, MAKEWPARAM(IDC_GENERAL_BUILD, BN_CLICKED),
                 reinterpret_cast<LPARAM>(Item(general, IDC_GENERAL_BUILD)));
    EXPECT_TRUE(robot.Finished());
  }
  EXPECT_NE("", mismatch);
  EXPECT_EQ(0u, advice.find("We strongly suggest the use of Higher AES Encryption bit rate!")) << advice;
  ASSERT_TRUE(WaitUntil([&] { return FileExists(output()); }, 60000));
  ASSERT_TRUE(WaitUntil([&] { return ContainerMagic(output()) != 0; }, 10000));
  EXPECT_EQ(kContainerMagicOpen, ContainerMagic(output()));
}

// A project saved with protection on and no password, its Password page
// never shown: the build still refuses the empty password.
TEST_F(UserRoad, AnEmptyPasswordOfAnUnshownPageIsStillRefused) {
  builder_.Close(frame_);
  ProjectSettings record;
  record.sourceArchive = SourceWork("source.zip");
  record.outputName = output();
  record.passwordProtection = 1;
  record.maskPassword = 1;
  ASSERT_TRUE(SaveProjectFile(record, project().c_str()));
  ASSERT_TRUE(builder_.Start("\"" + project() + "\""));
  frame_ = builder_.WaitForFrame();
  ASSERT_NE(nullptr, frame_);
  GetWindowThreadProcessId(frame_, &process_);
  ASSERT_TRUE(WaitUntil([&] { return (sheet_ = FindSheet(frame_)) != nullptr; }, 10000));
  HWND general = Show(kGeneralPage);
  ASSERT_TRUE(WaitUntil([&] { return ComboText(general, IDC_GENERAL_ZIP) == record.sourceArchive; }, 5000));
  std::string empty, advice;
  {
    DialogRobot robot({AnswerWarning(IDC_WARN_NO, &empty), AnswerWarning(IDC_WARN_NO, &advice)}, process_);
    PostMessageA(general, WM_COMMAND, MAKEWPARAM(IDC_GENERAL_BUILD, BN_CLICKED),
                 reinterpret_cast<LPARAM>(Item(general, IDC_GENERAL_BUILD)));
    EXPECT_TRUE(robot.Finished());
  }
  EXPECT_EQ(0u, empty.find("Password protection will not work with empty password text.")) << empty;
  ASSERT_TRUE(WaitUntil([&] { return ContainerMagic(output()) != 0; }, 60000));
  EXPECT_EQ(kContainerMagicOpen, ContainerMagic(output()));
}

}  // namespace
