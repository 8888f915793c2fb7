// The builder program driven as its user drives it, from a zip to a
// protected program that extracts and launches: every setting typed or
// picked on its page, the project saved and opened again, the program built,
// tested and answered in the stub. The main road is real input: clicks,
// keystrokes and the menu keys, never messages that play a control's part.
#include <gtest/gtest.h>
#include <windows.h>

#include <commctrl.h>
#include <prsht.h>

#include <functional>
#include <string>

#include "ProjectFile.h"
#include "SecureContainerFormat.h"
#include "SelfExtractorFormat.h"
#include "builder_driving.h"
#include "builder_process.h"
#include "builder_resource.h"
#include "dialog_robot.h"
#include "keyboard_input.h"
#include "window_search.h"
#include "extract_test_support.h"
#include "stub_resource.h"
#include "stub_test_support.h"
#include "test_files.h"

namespace {

constexpr char kPassword[] = "Road password 256";
constexpr char kMessage[] = "Read this before the files arrive.";
constexpr char kLaunched[] = "tools/probe.exe";
constexpr char kAboutRtf[] = "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 Arial;}}\\f0 About {\\b this} road}";
constexpr char kAboutShown[] = "About this road";
constexpr char kStrongest[] = "Use 256bit AES STRONG Encryption";
constexpr char kNormalLevel[] = "Normal", kMaximumLevel[] = "Maximum - Best Compression";

std::string SourceWork(const std::string& relative) { return WorkPath("stub-build\\" + relative); }

class UserRoad : public DrivenBuilder {
 protected:
  UserRoad() : DrivenBuilder("user-road") {}
  void SetUp() override {
    ClearBuilderProfile();
    SkipTipOfTheDay();
    SetProfileInt("Settings\\WarningMessageBxs", "OverWriteBrennicorOutputFile", 1);
    WriteFile(folder_ + "about.rtf", kAboutRtf);
    ASSERT_NO_FATAL_FAILURE(StartBuilder());
  }

  // Gives a File command by its keys and waits until the General page's zip
  // is or is not empty; the question whether to save the project first is
  // answered No by its key.
  bool FileCommandUntilZip(const std::function<bool()>& give, bool empty) {
    if (!InFront() || !give()) return false;
    HWND answered = nullptr;
    return WaitUntil(
        [&] {
          HWND ask = builder_.WaitForDialog(nullptr, 0);
          if (ask && ask != answered && GetForegroundWindow() == ask) {
            PressKey('N');
            answered = ask;
          }
          return ComboText(Show(kGeneralPage), IDC_GENERAL_ZIP).empty() == empty;
        },
        10000);
  }

  // Every setting as the user gives it, page by page, with the mouse and
  // the keyboard.
  void FillEveryPage() {
    ASSERT_TRUE(InFront());
    HWND general = Shown(kGeneralPage);
    ASSERT_NE(nullptr, general);
    ASSERT_TRUE(ClickAndType(ComboEdit(general, IDC_GENERAL_ZIP), SourceWork("source.zip")));
    ASSERT_TRUE(WaitUntil(
        [&] { return ControlText(Item(general, IDC_GENERAL_STATUS)).find("loaded") != std::string::npos; }, 10000))
        << ControlText(Item(general, IDC_GENERAL_STATUS));
    ASSERT_TRUE(ClickAndType(ComboEdit(general, IDC_GENERAL_OUTPUT), output()));
    ASSERT_TRUE(ClickAndType(ComboEdit(general, IDC_GENERAL_FOLDER), destination()));
    ASSERT_TRUE(Tick(Item(general, IDC_GENERAL_OVERWRITE)));
    ASSERT_TRUE(PickWithKeys(Item(general, IDC_GENERAL_LEVEL), kMaximumLevel));

    HWND options = TurnTo(kOptionsPage);
    ASSERT_NE(nullptr, options);
    {
      DialogRobot robot({{"Open", [&](HWND dialog) { EXPECT_TRUE(TypeFileName(dialog, folder_ + "about.rtf")); }}},
                        process_);
      ASSERT_TRUE(ClickControl(Item(options, IDC_OPTIONS_ABOUT_LOAD)));
      ASSERT_TRUE(robot.Finished());
    }
    ASSERT_TRUE(WaitUntil([&] { return ControlText(Item(options, IDC_OPTIONS_ABOUT_TEXT)) == kAboutShown; }, 5000));
    ASSERT_TRUE(ClickAndType(Item(options, IDC_OPTIONS_MESSAGE_TEXT), kMessage));
    ASSERT_TRUE(PickWithKeys(Item(options, IDC_OPTIONS_LAUNCH_LIST), kLaunched)) << "the zip's files are offered";

    HWND password = TurnTo(kPasswordPage);
    ASSERT_NE(nullptr, password);
    ASSERT_TRUE(Tick(Item(password, IDC_PASSWORD_PROTECT)));
    ASSERT_TRUE(ClickAndType(Item(password, IDC_PASSWORD_PAGE_EDIT), kPassword));
    ASSERT_TRUE(ClickAndType(Item(password, IDC_PASSWORD_VERIFY_EDIT), kPassword));
    ASSERT_TRUE(PickWithKeys(Item(password, IDC_PASSWORD_STRENGTH), kStrongest));
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
    EXPECT_EQ(kStrongest, SelectedRowText(password, IDC_PASSWORD_STRENGTH));
  }

  std::string output() const { return folder_ + "road.exe"; }
  std::string destination() const { return folder_ + "out\\"; }
  std::string project() const { return folder_ + "road.ssf"; }
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

// A click on one of a dialog's buttons.
void ClickButton(HWND dialog, int id) { EXPECT_TRUE(ClickControl(GetDlgItem(dialog, id))) << id; }

TEST_F(UserRoad, AProjectTypedSavedBuiltAndTestedExtractsAndLaunches) {
  EXPECT_EQ(kNormalLevel, SelectedRowText(Show(kGeneralPage), IDC_GENERAL_LEVEL)) << "start-up";
  FillEveryPage();
  {
    DialogRobot robot({{"Save SFX Project As...", [&](HWND dialog) { EXPECT_TRUE(TypeFileName(dialog, project())); }}},
                      process_);
    ASSERT_TRUE(FromFileMenu('A'));
    ASSERT_TRUE(robot.Finished());
  }
  ASSERT_TRUE(WaitUntil([&] { return FileExists(project()); }, 5000));
  // Save writes the file Save As named: the way the project enters the recent list.
  MakeOld(project());
  const ULONGLONG savedAs = WriteTime(project());
  ASSERT_TRUE(InFront());
  PressWith(VK_CONTROL, 'S');
  ASSERT_TRUE(WaitUntil([&] { return WriteTime(project()) != savedAs; }, 5000)) << "Ctrl+S saves";

  PressWith(VK_CONTROL, 'B');
  HWND build = nullptr;
  ASSERT_TRUE(WaitUntil(
      [&] {
        build = FindControl(sheet_, kBuildPage.markId, kBuildPage.markClass);
        return build && IsWindowEnabled(GetDlgItem(GetParent(build), IDC_BUILD_TEST));
      },
      60000))
      << "Ctrl+B builds";
  build = GetParent(build);
  ASSERT_TRUE(FileExists(output()));

  ASSERT_TRUE(ClickControl(GetDlgItem(build, IDC_BUILD_TEST)));
  DWORD stubProcess = 0;
  ASSERT_NE(nullptr, WaitForStub(&stubProcess));
  HANDLE stub = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION, FALSE, stubProcess);
  std::string message;
  {
    DialogRobot robot({{"Korvane SFX Module", [](HWND d) { ClickButton(d, IDOK); }},
                       {"Custom Message",
                        [&](HWND d) {
                          message = ItemText(d, IDC_CUSTOM_MESSAGE_TEXT);
                          ClickButton(d, IDOK);
                        }},
                       {"Korvane Brennicor Warning!",
                        [](HWND d) {
                          HWND box = GetDlgItem(d, IDC_PASSWORD);
                          EXPECT_TRUE(ClickUntil(box, [&] { return HasFocus(box); }));
                          // Enter follows the characters in the one input queue: nothing reads the masked box.
                          TypeText(kPassword);
                          PressKey(VK_RETURN);
                        }}},
                      stubProcess);
    EXPECT_TRUE(robot.Finished());
  }
  EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(stub, 30000));
  CloseHandle(stub);
  EXPECT_EQ(kMessage, message);
  EXPECT_TRUE(WaitUntil([&] { return FileExists(destination() + "launched.txt"); }));
  auto extracted = TreeBelow(destination());
  extracted.erase("launched.txt");
  EXPECT_EQ(TreeBelow(SourceWork("expected\\")), extracted);

  auto newProject = [] {
    PressWith(VK_CONTROL, 'N');
    return true;
  };
  ASSERT_TRUE(FileCommandUntilZip(newProject, true));
  EXPECT_EQ(kNormalLevel, SelectedRowText(Show(kGeneralPage), IDC_GENERAL_LEVEL)) << "New";
  {
    DialogRobot robot({{"Open", [&](HWND dialog) { EXPECT_TRUE(TypeFileName(dialog, project())); }}}, process_);
    ASSERT_TRUE(InFront());
    PressWith(VK_CONTROL, 'O');
    ASSERT_TRUE(robot.Finished());
  }
  ASSERT_TRUE(WaitUntil([&] { return !ComboText(Show(kGeneralPage), IDC_GENERAL_ZIP).empty(); }, 5000));
  ExpectEveryPageShowsTheProject("File Open");

  ASSERT_TRUE(FileCommandUntilZip(newProject, true));
  ASSERT_TRUE(FileCommandUntilZip([&] { return FromFileMenu('1'); }, false));
  ExpectEveryPageShowsTheProject("Recent File");
}

// The container's first word says whether the program is protected.
uint32_t ContainerMagic(const std::string& program) {
  const std::string bytes = ReadFileContent(program);
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
            ClickButton(box, button);
            WaitUntil([&] { return !IsWindow(box); }, 5000);
          }};
}

// Passwords that do not match: No builds without protection, after the
// advice to protect; Yes goes back to the page and builds nothing. Never a
// program locked with a password nobody verified.
TEST_F(UserRoad, AMismatchAnsweredNoBuildsAnOpenProgramAndYesBuildsNothing) {
  ASSERT_TRUE(InFront());
  HWND general = Shown(kGeneralPage);
  ASSERT_NE(nullptr, general);
  ASSERT_TRUE(ClickAndType(ComboEdit(general, IDC_GENERAL_ZIP), SourceWork("source.zip")));
  ASSERT_TRUE(ClickAndType(ComboEdit(general, IDC_GENERAL_OUTPUT), output()));
  ASSERT_NE(nullptr, TurnTo(kOptionsPage));
  HWND password = TurnTo(kPasswordPage);
  ASSERT_NE(nullptr, password);
  ASSERT_TRUE(Tick(Item(password, IDC_PASSWORD_PROTECT)));
  ASSERT_TRUE(ClickAndType(Item(password, IDC_PASSWORD_PAGE_EDIT), "typed once"));
  ASSERT_TRUE(ClickAndType(Item(password, IDC_PASSWORD_VERIFY_EDIT), "typed twice"));
  // Ctrl+B with the Password page still shown: leaving it would ask already.
  std::string mismatch, advice;
  {
    DialogRobot robot({AnswerWarning(IDC_WARN_YES, &mismatch)}, process_);
    PressWith(VK_CONTROL, 'B');
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
    PressWith(VK_CONTROL, 'B');
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
  ASSERT_NO_FATAL_FAILURE(StartBuilder("\"" + project() + "\""));
  HWND general = Show(kGeneralPage);
  ASSERT_TRUE(WaitUntil([&] { return ComboText(general, IDC_GENERAL_ZIP) == record.sourceArchive; }, 5000));
  std::string empty, advice;
  {
    DialogRobot robot({AnswerWarning(IDC_WARN_NO, &empty), AnswerWarning(IDC_WARN_NO, &advice)}, process_);
    ASSERT_TRUE(InFront());
    EXPECT_TRUE(ClickControl(Item(general, IDC_GENERAL_BUILD)));
    EXPECT_TRUE(robot.Finished());
  }
  EXPECT_EQ(0u, empty.find("Password protection will not work with empty password text.")) << empty;
  ASSERT_TRUE(WaitUntil([&] { return ContainerMagic(output()) != 0; }, 60000));
  EXPECT_EQ(kContainerMagicOpen, ContainerMagic(output()));
}

}  // namespace
