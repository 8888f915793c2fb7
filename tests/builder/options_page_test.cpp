// The Options page under Wine: its texts as the record and files give them,
// the files it writes, and the launch rows over the examined zip's entries.
#include <gtest/gtest.h>

#include <richedit.h>

#include <cstdio>
#include <string>
#include <vector>

#include "../sfxcore/BuildTestFiles.h"
#include "app/FoundItemList.h"
#include "builder_resource.h"
#include "classlib/propertysheet.h"
#include "classlib/winapp.h"
#include "dialog_robot.h"
#include "pages/SFXOptionsPage.h"

namespace {

constexpr char kAppName[] = "Options Page Test";

class COptionsPageTestApp : public CWinApp {
 public:
  COptionsPageTestApp() : CWinApp(kAppName) {
    RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Brennicor Builder Options Page Test");
    SetRegistryKey("Brennicor Builder Options Page Test");
  }
};
COptionsPageTestApp theApp;

constexpr char kRtf[] = "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 Arial;}}\\f0 Hello {\\b bold} world}";

// A Windows path: the file dialogs refuse forward slashes.
std::string WorkPath(const std::string& name) {
  std::string path = WorkFile("builder-options/" + name);
  for (char& c : path)
    if (c == '/') c = '\\';
  return path;
}

void WriteBytes(const std::string& path, const std::string& bytes) {
  FILE* file = std::fopen(path.c_str(), "wb");
  ASSERT_NE(nullptr, file);
  std::fwrite(bytes.data(), 1, bytes.size(), file);
  std::fclose(file);
}

// Lines of text, as a long text usually is: one endless word takes the rich edit ages to lay out.
std::string TextOfSize(size_t size) {
  std::string text;
  while (text.size() < size) text += "A line of the about text.\r\n";
  return text.substr(0, size);
}

std::string ReadBytes(const std::string& path) {
  std::string bytes;
  FILE* file = std::fopen(path.c_str(), "rb");
  if (!file) return "<missing>";
  char buffer[4096];
  for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, file)) > 0;) bytes.append(buffer, n);
  std::fclose(file);
  return bytes;
}

void FillFoundItems(const std::vector<std::string>& names) {
  FoundItems().Clear();
  for (const std::string& name : names) FoundItems().Add(name.c_str());
}

class OptionsPage : public ::testing::Test {
 protected:
  void SetUp() override {
    CreateDirectoryA(WorkFile("builder-options").c_str(), nullptr);
    FoundItems().Clear();
    sheet_.AddPage(&page_);
    ASSERT_TRUE(sheet_.Create());
  }
  void TearDown() override { sheet_.DestroyWindow(); }

  HWND Page() { return page_.m_hWnd; }
  std::string Text(int id) { return ItemText(Page(), id); }
  bool Enabled(int id) { return IsWindowEnabled(GetDlgItem(Page(), id)) != FALSE; }
  ProjectSettings Collected() {
    ProjectSettings record;
    page_.PageToRecord(&record);
    return record;
  }
  std::vector<std::string> LaunchRows() {
    std::vector<std::string> rows;
    const int count = static_cast<int>(SendDlgItemMessageA(Page(), IDC_OPTIONS_LAUNCH_LIST, CB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
      char row[300] = {};
      SendDlgItemMessageA(Page(), IDC_OPTIONS_LAUNCH_LIST, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(row));
      rows.push_back(row);
    }
    return rows;
  }
  int SelectedRow(int id) { return static_cast<int>(SendDlgItemMessageA(Page(), id, CB_GETCURSEL, 0, 0)); }
  // Picks a row as the user does: the list tells the page.
  void PickRow(int id, int row) {
    SendDlgItemMessageA(Page(), id, CB_SETCURSEL, row, 0);
    SendMessageA(Page(), WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), reinterpret_cast<LPARAM>(GetDlgItem(Page(), id)));
  }
  void PressButton(int id) {
    SendMessageA(Page(), WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(Page(), id)));
  }
  // Loads path through the button's file prompt.
  void LoadThroughPrompt(int button, const std::string& path, std::vector<RobotStep> after = {}) {
    std::vector<RobotStep> steps = {{"Open", [path](HWND dialog) { ChooseFile(dialog, path); }}};
    steps.insert(steps.end(), after.begin(), after.end());
    DialogRobot robot(steps);
    PressButton(button);
    EXPECT_TRUE(robot.Finished()) << path;
  }

  CSFXOptionsPage page_{"SFX Option Settings..."};
  CPropertySheet sheet_{"Sheet"};
};

TEST_F(OptionsPage, RecordTextsKeepTheirRtfVerbatimAndShowTheirMode) {
  ProjectSettings record;
  record.aboutText = kRtf;
  record.customMessage = "Plain {\\rtf1 but not RTF}";
  page_.RecordToPage(record, 0);
  EXPECT_EQ("RichText Mode.", Text(IDC_OPTIONS_ABOUT_MODE));
  EXPECT_EQ("Text Mode.", Text(IDC_OPTIONS_MESSAGE_MODE));
  EXPECT_EQ("Hello bold world", Text(IDC_OPTIONS_ABOUT_TEXT)) << "RTF is rendered";
  EXPECT_EQ(record.customMessage, Text(IDC_OPTIONS_MESSAGE_TEXT)) << "plain text is shown as it is";
  EXPECT_NE("", Text(IDC_OPTIONS_ABOUT_RTF_NOTICE));
  EXPECT_EQ("", Text(IDC_OPTIONS_MESSAGE_RTF_NOTICE));
  const ProjectSettings back = Collected();
  EXPECT_EQ(kRtf, back.aboutText);
  EXPECT_EQ(record.customMessage, back.customMessage);
}

// An RTF text the user deletes is gone: it must not come back from its source.
TEST_F(OptionsPage, AnEmptiedRtfEditGivesAnEmptyRecordText) {
  ProjectSettings record;
  record.customMessage = kRtf;
  page_.RecordToPage(record, 0);
  ASSERT_TRUE(Enabled(IDC_OPTIONS_MESSAGE_SAVE));
  SendDlgItemMessageA(Page(), IDC_OPTIONS_MESSAGE_TEXT, EM_SETSEL, 0, -1);
  SendDlgItemMessageA(Page(), IDC_OPTIONS_MESSAGE_TEXT, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(""));
  EXPECT_EQ("Text Mode.", Text(IDC_OPTIONS_MESSAGE_MODE));
  EXPECT_FALSE(Enabled(IDC_OPTIONS_MESSAGE_SAVE));
  EXPECT_FALSE(Enabled(IDC_OPTIONS_MESSAGE_PREVIEW));
  EXPECT_EQ("", Collected().customMessage);
  // Typed again: the rich edit tells the page, whose buttons come back.
  SendDlgItemMessageA(Page(), IDC_OPTIONS_MESSAGE_TEXT, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>("typed"));
  EXPECT_TRUE(Enabled(IDC_OPTIONS_MESSAGE_SAVE));
  EXPECT_TRUE(Enabled(IDC_OPTIONS_MESSAGE_PREVIEW));
  EXPECT_EQ("typed", Collected().customMessage);
}

TEST_F(OptionsPage, LoadsAreRtfOnlyForALowerCaseRtfName) {
  WriteBytes(WorkPath("about.rtf"), kRtf);
  WriteBytes(WorkPath("upper.RTF"), kRtf);
  LoadThroughPrompt(IDC_OPTIONS_ABOUT_LOAD, WorkPath("about.rtf"));
  LoadThroughPrompt(IDC_OPTIONS_MESSAGE_LOAD, WorkPath("upper.RTF"));
  EXPECT_EQ("RichText Mode.", Text(IDC_OPTIONS_ABOUT_MODE));
  EXPECT_EQ("Hello bold world", Text(IDC_OPTIONS_ABOUT_TEXT));
  EXPECT_EQ("Text Mode.", Text(IDC_OPTIONS_MESSAGE_MODE));
  EXPECT_EQ(kRtf, Text(IDC_OPTIONS_MESSAGE_TEXT)) << "shown as text, not rendered";
  const ProjectSettings back = Collected();
  EXPECT_EQ(kRtf, back.aboutText);
  EXPECT_EQ(kRtf, back.customMessage);
}

TEST_F(OptionsPage, TextsUpToTheLimitLoadLargerOnesAreRefusedWithTheSizeMessage) {
  WriteBytes(WorkPath("limit.txt"), TextOfSize(kMaxMessageTextBytes));
  WriteBytes(WorkPath("over.txt"), TextOfSize(kMaxMessageTextBytes + 1));
  LoadThroughPrompt(IDC_OPTIONS_ABOUT_LOAD, WorkPath("limit.txt"));
  EXPECT_EQ(kMaxMessageTextBytes, Collected().aboutText.size());
  std::string said;
  LoadThroughPrompt(IDC_OPTIONS_ABOUT_LOAD, WorkPath("over.txt"), {{kAppName, [&](HWND box) {
                                                                      said = MessageBoxText(box);
                                                                      Press(box, IDOK);
                                                                    }}});
  EXPECT_EQ("Please try to keep the size of the Text smaller than 16KB.", said);
  EXPECT_EQ(kMaxMessageTextBytes, Collected().aboutText.size()) << "the refused file changed nothing";
}

TEST_F(OptionsPage, SavingANameWithoutExtensionWritesTheEditsTextToATxtFile) {
  ProjectSettings record;
  record.aboutText = "About this program\r\nSecond line";
  page_.RecordToPage(record, 0);
  const std::string base = WorkPath("saved-about");
  DeleteFileA((base + ".txt").c_str());
  {
    DialogRobot robot({{"Save As", [&](HWND dialog) { ChooseFile(dialog, base); }}});
    PressButton(IDC_OPTIONS_ABOUT_SAVE);
    ASSERT_TRUE(robot.Finished());
  }
  EXPECT_EQ(Text(IDC_OPTIONS_ABOUT_TEXT), ReadBytes(base + ".txt"));
}

TEST_F(OptionsPage, AFailedSaveIsReported) {
  ProjectSettings record;
  record.customMessage = "Read this first";
  page_.RecordToPage(record, 0);
  const std::string locked = WorkPath("locked.txt");
  WriteBytes(locked, "old");
  // Held open with no sharing, as another program may hold it.
  const HANDLE holder = CreateFileA(locked.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(INVALID_HANDLE_VALUE, holder);
  std::string said;
  {
    DialogRobot robot({{"Save As", [&](HWND dialog) { ChooseFile(dialog, locked); }},
                       {kAppName, [&](HWND box) {
                          said = MessageBoxText(box);
                          Press(box, IDOK);
                        }}});
    PressButton(IDC_OPTIONS_MESSAGE_SAVE);
    EXPECT_TRUE(robot.Finished());
  }
  CloseHandle(holder);
  EXPECT_EQ("The text could not be written to '" + locked + "'.", said);
  EXPECT_EQ("old", ReadBytes(locked));
}

TEST_F(OptionsPage, PreviewsShowTheTextRenderedInTheirOwnFrames) {
  ProjectSettings record;
  record.aboutText = kRtf;
  record.customMessage = "Before we start";
  page_.RecordToPage(record, 0);
  struct Case {
    int button;
    const char* caption;
    const char* shown;
  } cases[] = {
      {IDC_OPTIONS_ABOUT_PREVIEW, "About...", "Hello bold world"},
      {IDC_OPTIONS_MESSAGE_PREVIEW, "Korvane Self-Extractor", "Before we start"},
  };
  for (const Case& c : cases) {
    std::string shown;
    DialogRobot robot({{c.caption, [&](HWND preview) {
                          shown = ItemText(preview, IDC_PREVIEW_TEXT);
                          Press(preview, IDOK);
                        }}});
    PressButton(c.button);
    ASSERT_TRUE(robot.Finished()) << c.caption;
    EXPECT_EQ(c.shown, shown) << c.caption;
  }
}

TEST_F(OptionsPage, TheFilterOffersOnlyFilesOfItsType) {
  FillFoundItems({"a.exe", "b.txt", "c.JPG", "docs/", "docs/d.png"});
  struct Case {
    int filter;
    std::vector<std::string> rows;
    const char* status;
  } cases[] = {
      {0, {"<None>", "a.exe", "b.txt", "c.JPG", "docs/d.png"}, "4 files in filter!"},
      {1, {"<None>", "a.exe"}, "1 files in filter!"},
      {2, {"<None>", "c.JPG", "docs/d.png"}, "2 files in filter!"},
  };
  for (const Case& c : cases) {
    PickRow(IDC_OPTIONS_FILTER, c.filter);
    EXPECT_EQ(c.rows, LaunchRows()) << c.filter;
    EXPECT_EQ(c.status, Text(IDC_OPTIONS_FILTER_STATUS)) << c.filter;
    EXPECT_EQ(c.filter, Collected().listIndex);
  }
  FillFoundItems({"b.txt"});
  PickRow(IDC_OPTIONS_FILTER, 1);
  EXPECT_EQ("No files in filter!", Text(IDC_OPTIONS_FILTER_STATUS));
}

// A project's command is shown selected, even before its zip was examined,
// and collecting the page again and again never loses it.
TEST_F(OptionsPage, AProjectsLaunchCommandSurvivesCollectionAndIsShownSelected) {
  ProjectSettings record;
  record.launchCommand = "setup.exe";
  page_.RecordToPage(record, 0);
  EXPECT_EQ((std::vector<std::string>{"<None>", "setup.exe"}), LaunchRows());
  EXPECT_EQ(1, SelectedRow(IDC_OPTIONS_LAUNCH_LIST));
  for (int update = 0; update < 3; ++update) EXPECT_EQ("setup.exe", Collected().launchCommand);

  FillFoundItems({"readme.txt", "setup.exe"});
  page_.RecordToPage(record, 0);
  EXPECT_EQ((std::vector<std::string>{"<None>", "readme.txt", "setup.exe"}), LaunchRows());
  EXPECT_EQ(2, SelectedRow(IDC_OPTIONS_LAUNCH_LIST));
  PickRow(IDC_OPTIONS_FILTER, 2);  // filtered out, but still what will be launched
  EXPECT_EQ((std::vector<std::string>{"<None>", "setup.exe"}), LaunchRows());
  EXPECT_EQ("setup.exe", Collected().launchCommand);
}

TEST_F(OptionsPage, TheFirstEntryAndNoneCanBeChosen) {
  FillFoundItems({"first.exe", "second.exe"});
  page_.RecordToPage(ProjectSettings(), 1);
  PickRow(IDC_OPTIONS_LAUNCH_LIST, 1);
  EXPECT_EQ("first.exe", Collected().launchCommand);
  PickRow(IDC_OPTIONS_LAUNCH_LIST, 0);
  EXPECT_EQ("", Collected().launchCommand);
}

TEST_F(OptionsPage, AHundredAndFiftyEntryZipOffersEveryFile) {
  std::vector<std::string> names;
  for (int i = 0; i < 150; ++i) names.push_back("folder" + std::to_string(i % 7) + "/file" + std::to_string(i) + ".dat");
  FillFoundItems(names);
  page_.OnSetActive();  // the list moved since the page last looked
  const std::vector<std::string> rows = LaunchRows();
  ASSERT_EQ(151u, rows.size());
  EXPECT_EQ(names, std::vector<std::string>(rows.begin() + 1, rows.end()));
  EXPECT_EQ("150 files in filter!", Text(IDC_OPTIONS_FILTER_STATUS));
}

TEST_F(OptionsPage, RecordIntoAPageWithoutWindowShowsOnItsFirstDisplay) {
  CSFXOptionsPage later;
  ProjectSettings record;
  record.aboutText = "Shown later";
  record.launchCommand = "run.bat";
  record.listIndex = 1;
  later.RecordToPage(record, 0);
  ProjectSettings back;
  later.PageToRecord(&back);
  EXPECT_EQ("Shown later", back.aboutText);
  EXPECT_EQ("run.bat", back.launchCommand);
  sheet_.AddPage(&later);
  ASSERT_TRUE(sheet_.SetActivePage(&later));
  EXPECT_EQ("Shown later", ItemText(later.m_hWnd, IDC_OPTIONS_ABOUT_TEXT));
  EXPECT_EQ(1, static_cast<int>(SendDlgItemMessageA(later.m_hWnd, IDC_OPTIONS_FILTER, CB_GETCURSEL, 0, 0)));
  sheet_.SetActivePage(0);
  sheet_.RemovePage(1);
}

}  // namespace
