// The Build page under Wine: real builds of small zips through the page,
// the boxes played by the shared robot, each build's failure counted.
#include <gtest/gtest.h>

#include <string>

#include "../sfxcore/BuildTestFiles.h"
#include "../sfxcore/SfxcoreTestFiles.h"
#include "app/BuilderGlobals.h"
#include "balloon_probe.h"
#include "builder_resource.h"
#include "classlib/propertysheet.h"
#include "classlib/winapp.h"
#include "dialog_robot.h"
#include "dialogs/WarnMessageBoxOnOff.h"
#include "pages/BuildSFXPage.h"
#include "toolkit/common/SettingsStore.h"
#include "warning_box_count.h"

namespace {

constexpr char kRegistryKey[] = "Brennicor Builder Build Page Test";
constexpr char kAppName[] = "Build Page Test";

class CBuildPageTestApp : public CWinApp {
 public:
  CBuildPageTestApp() : CWinApp(kAppName) {
    RegDeleteTreeA(HKEY_CURRENT_USER, (std::string("Software\\") + kRegistryKey).c_str());
    SetRegistryKey(kRegistryKey);
  }
};
CBuildPageTestApp theApp;

std::string Fixture(const char* name) { return std::string(BRENNICOR_TEST_DATA) + "/builder/" + name; }

std::vector<std::string> launched;
void RecordLaunch(const char* path) { launched.push_back(path); }

void StoreAnswer(const char* valueName, int answer) {
  CXTSettingsStore().WriteInt(kWarningAnswersSection, valueName, answer);
}

class BuildPage : public ::testing::Test {
 protected:
  void SetUp() override {
    CreateDirectoryA(WorkFile("builder-build").c_str(), nullptr);
    StoreAnswer("BuildSFXErrorGenerated", 0);
    sheet_.AddPage(&page_);
    ASSERT_TRUE(sheet_.Create());
    Builder().mainWindow = &sheet_;
    theApp.m_pMainWnd = &sheet_;  // balloons are owned by the main window
    warnings_.Start();
    launched.clear();
  }
  void TearDown() override {
    warnings_.Stop();
    Builder().mainWindow = nullptr;
    theApp.m_pMainWnd = nullptr;
    sheet_.DestroyWindow();
  }

  ProjectSettings Project(const char* source, const std::string& output) {
    ProjectSettings settings;
    settings.sourceArchive = Fixture(source);
    settings.outputName = output.empty() ? "" : WorkFile("builder-build/" + output);
    return settings;
  }
  HWND Page() { return page_.m_hWnd; }
  std::string Text(int id) { return ItemText(Page(), id); }
  bool Enabled(int id) { return IsWindowEnabled(GetDlgItem(Page(), id)) != FALSE; }
  // The Test button's click, handled before this returns.
  void PressTest() {
    SendMessageA(Page(), WM_COMMAND, MAKEWPARAM(IDC_BUILD_TEST, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(Page(), IDC_BUILD_TEST)));
  }
  int BarPosition(int id) { return static_cast<int>(SendDlgItemMessageA(Page(), id, PBM_GETPOS, 0, 0)); }

  std::string image_ = FakeStubImage();
  CBuildSFXPage page_{ImageOf(image_), RecordLaunch};
  CPropertySheet sheet_{"Sheet"};
  WarningBoxCount warnings_;
};

TEST_F(BuildPage, StartsIdleAndRefusesABuildWithoutARecord) {
  EXPECT_FALSE(Enabled(IDC_BUILD_TEST));
  EXPECT_FALSE(Enabled(IDC_BUILD_OVERALL_BAR));
  EXPECT_FALSE(IsWindowVisible(GetDlgItem(Page(), IDC_BUILD_ENTRIES_BAR)));
  EXPECT_EQ(0, page_.RunBuild(nullptr));
}

TEST_F(BuildPage, ASuccessfulBuildEndsAtEightAndTestLaunchesTheProgram) {
  ProjectSettings settings = Project("pair.zip", "pair.exe");
  EXPECT_FALSE(BalloonShown());
  ASSERT_EQ(1, page_.RunBuild(&settings));
  EXPECT_TRUE(PumpUntil(BalloonShown, 3000));
  EXPECT_EQ(8, BarPosition(IDC_BUILD_OVERALL_BAR));
  EXPECT_EQ(2, BarPosition(IDC_BUILD_ENTRIES_BAR));
  EXPECT_EQ("Building and Securing '" + settings.outputName + "' ended succesfully!", Text(IDC_BUILD_TITLE));
  EXPECT_EQ("ZIP Structure verified, 2 files found!", Text(IDC_BUILD_CHECK_RESULT));
  EXPECT_EQ("100%", Text(IDC_BUILD_APPENDED_PERCENT));
  EXPECT_EQ("100.0%", Text(IDC_BUILD_ENTRIES_PERCENT));
  EXPECT_TRUE(Enabled(IDC_BUILD_DONE));
  ASSERT_TRUE(Enabled(IDC_BUILD_TEST));
  EXPECT_TRUE(launched.empty());
  PressTest();
  EXPECT_EQ(std::vector<std::string>{settings.outputName}, launched);
  EXPECT_EQ(0, warnings_.boxes());
}

// A program deleted after its build is not launched: the page says it is not there.
TEST_F(BuildPage, TestOfAVanishedProgramShowsTheNotCreatedBox) {
  ProjectSettings settings = Project("pair.zip", "vanishing.exe");
  ASSERT_EQ(1, page_.RunBuild(&settings));
  ASSERT_TRUE(DeleteFileA(settings.outputName.c_str()));
  std::string title;
  DialogRobot robot({{"Warning!", [&](HWND box) {
                        title = ItemText(box, IDC_WARN_TITLE);
                        Press(box, IDC_WARN_YES);
                      }}});
  PressTest();
  ASSERT_TRUE(robot.Finished());
  EXPECT_EQ("Brennicor File Not Yet Created!", title);
  EXPECT_TRUE(launched.empty());
}

// With the failure box's answer stored it never shows; the title still names
// the failure, and each failed build opens exactly one box.
TEST_F(BuildPage, EachFailedBuildOpensOneBoxAndItsTitleNamesTheFailure) {
  StoreAnswer("BuildSFXErrorGenerated", 1);
  struct Case {
    const char* source;
    const char* output;
    const char* named;
    bool checkNamesIt;  // the verification's own line names it too
  } cases[] = {
      {"missing.zip", "missing.exe", "", true},
      {"pair.zip", "", "no output program", true},
      {"empty.zip", "empty.exe", "holds no entries", false},
  };
  for (const Case& c : cases) {
    warnings_.Reset();
    ProjectSettings settings = Project(c.source, c.output);
    EXPECT_EQ(0, page_.RunBuild(&settings)) << c.source;
    EXPECT_EQ(1, warnings_.boxes()) << c.source;
    const std::string title = Text(IDC_BUILD_TITLE);
    EXPECT_EQ(0u, title.find("Error has been generated while building Brennicor file!\nError '")) << title;
    EXPECT_NE(std::string::npos, title.find(c.named)) << title;
    EXPECT_EQ(c.checkNamesIt, Text(IDC_BUILD_CHECK_RESULT) == title) << c.source;
    EXPECT_FALSE(Enabled(IDC_BUILD_TEST)) << c.source;
  }
}

// A build that fails at once after a successful one shows nothing of the
// last one: no "Done.", no full bars or 100% figures.
TEST_F(BuildPage, EachBuildStartsItsProgressAfresh) {
  ProjectSettings settings = Project("pair.zip", "afresh.exe");
  ASSERT_EQ(1, page_.RunBuild(&settings));
  ASSERT_TRUE(Enabled(IDC_BUILD_DONE));
  StoreAnswer("BuildSFXErrorGenerated", 1);
  ProjectSettings failing = Project("missing.zip", "afresh-missing.exe");
  EXPECT_EQ(0, page_.RunBuild(&failing));
  for (int id : {IDC_BUILD_FINALIZING, IDC_BUILD_DONE, IDC_BUILD_APPENDING, IDC_BUILD_ANALYZING,
                 IDC_BUILD_INJECTING, IDC_BUILD_SECURING, IDC_BUILD_DECOMPRESSING, IDC_BUILD_ENCRYPTING,
                 IDC_BUILD_TEST})
    EXPECT_FALSE(Enabled(id)) << id;
  for (int id : {IDC_BUILD_ENTRIES_PERCENT, IDC_BUILD_ITEM_PERCENT, IDC_BUILD_ENTRY_READ, IDC_BUILD_APPENDED_PERCENT})
    EXPECT_EQ("0%", Text(id)) << id;
  EXPECT_EQ("Ready to Decompress Data...", Text(IDC_BUILD_DECOMPRESSING));
  EXPECT_EQ("Ready to encrypt data...", Text(IDC_BUILD_ENCRYPTING));
  EXPECT_EQ(0, BarPosition(IDC_BUILD_ENTRIES_BAR));
  EXPECT_GE(1, BarPosition(IDC_BUILD_OVERALL_BAR));
  EXPECT_NE(std::string::npos, Text(IDC_BUILD_TITLE).find("Error has been generated"));
}

// Where the output cannot be written is said before any work: the failure
// names what is wrong with the place, and nothing was verified or rebuilt.
// The box tells and asks nothing: its one button is OK.
TEST_F(BuildPage, AnOutputThatCannotBeWrittenIsSaidBeforeAnyWork) {
  char full[MAX_PATH] = {};
  GetFullPathNameA(WorkFile("builder-build").c_str(), MAX_PATH, full, nullptr);
  const std::string folder = full;
  WriteBytes(folder + "\\in-the-way", "a file");
  CreateDirectoryA((folder + "\\a-folder.exe").c_str(), nullptr);
  WriteBytes(folder + "\\read-only.exe", "old program");
  SetFileAttributesA((folder + "\\read-only.exe").c_str(), FILE_ATTRIBUTE_READONLY);
  const struct {
    std::string output;
    std::string said;
  } cases[] = {
      {"no such folder/pair.exe", "The output folder '" + folder + "\\no such folder' does not exist."},
      {"in-the-way/pair.exe", "'" + folder + "\\in-the-way' is a file, so no output program can be written"},
      {"a-folder.exe", "The output name '" + folder + "\\a-folder.exe' is a folder, not a program file."},
      {"read-only.exe", "The output program '" + folder + "\\read-only.exe' is read-only and cannot be replaced."},
  };
  for (const auto& c : cases) {
    ProjectSettings settings = Project("pair.zip", c.output);
    for (char& ch : settings.outputName)
      if (ch == '/') ch = '\\';
    std::string boxMessage, buttons;
    DialogRobot robot({{"Warning!", [&](HWND box) {
                          boxMessage = ItemText(box, IDC_WARN_MESSAGE);
                          for (int id : {IDC_WARN_YES, IDC_WARN_NO})
                            if (IsWindowVisible(GetDlgItem(box, id))) buttons += "[" + ItemText(box, id) + "]";
                          Press(box, IDC_WARN_YES);
                        }}});
    EXPECT_EQ(0, page_.RunBuild(&settings)) << c.output;
    ASSERT_TRUE(robot.Finished()) << c.output;
    EXPECT_NE(std::string::npos, boxMessage.find(c.said)) << boxMessage;
    EXPECT_EQ("[OK]", buttons) << "a failure asks nothing";
    EXPECT_FALSE(Enabled(IDC_BUILD_CHECKING)) << c.output;
    EXPECT_FALSE(Enabled(IDC_BUILD_SECURING)) << c.output;
  }
  EXPECT_EQ("old program", ReadBytes(folder + "\\read-only.exe"));
  SetFileAttributesA((folder + "\\read-only.exe").c_str(), FILE_ATTRIBUTE_NORMAL);
}

RobotStep CancelPrompt() {
  return {"Password Required...", [](HWND prompt) { Press(prompt, IDCANCEL); }};
}
RobotStep AnswerSkipWarning(int button) {
  return {"Warning!", [button](HWND box) { Press(box, button); }};
}

// Cancel at the prompt, Yes to ask again, then the right password: built.
// Cancel, then No: the entries cannot be read and the build fails by name.
TEST_F(BuildPage, EncryptedSourceAsksForItsPasswordUntilGivenOrDeclined) {
  ProjectSettings settings = Project("locked.zip", "locked.exe");
  {
    DialogRobot robot({CancelPrompt(), AnswerSkipWarning(IDC_WARN_YES),
                       {"Password Required...", [](HWND prompt) {
                          TypeInto(prompt, IDC_PASSWORD_EDIT, "source");
                          Press(prompt, IDOK);
                        }}});
    EXPECT_EQ(1, page_.RunBuild(&settings));
    ASSERT_TRUE(robot.Finished());
  }
  std::string failure;
  DialogRobot robot({CancelPrompt(), AnswerSkipWarning(IDC_WARN_NO), {"Warning!", [&](HWND box) {
                                                                          failure = ItemText(box, IDC_WARN_MESSAGE);
                                                                          Press(box, IDC_WARN_YES);
                                                                        }}});
  EXPECT_EQ(0, page_.RunBuild(&settings));
  ASSERT_TRUE(robot.Finished());
  EXPECT_NE(std::string::npos, failure.find("'readme.txt' was not secured: its password is missing or wrong"))
      << failure;
  EXPECT_FALSE(Enabled(IDC_BUILD_TEST));
}

}  // namespace
