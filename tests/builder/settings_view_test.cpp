// The settings view, its sheet and the General page under Wine. A test
// frame hosts the view as the main frame's right pane does and answers for
// the project record; the boxes are played by the shared robot and every
// build is a real one, with the x64 stub in front.
#include <gtest/gtest.h>

#include <atomic>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>

#include "../sfxcore/BuildTestFiles.h"
#include "../sfxcore/ProgramManifest.h"
#include "SelfExtractorFormat.h"
#include "app/BuilderGlobals.h"
#include "balloon_probe.h"
#include "app/FoundItemList.h"
#include "app/ProjectHost.h"
#include "builder_resource.h"
#include "classlib/resource.h"
#include "classlib/winapp.h"
#include "dialog_robot.h"
#include "dialogs/WarnMessageBoxOnOff.h"
#include "pages/BasicGeneralPg.h"
#include "pages/GeneralPropertyPageSFX.h"
#include "pages/MyResizePropSheet.h"
#include "pages/PasswordProtectionPage.h"
#include "toolkit/common/SettingsStore.h"

namespace {

constexpr char kRegistryKey[] = "Brennicor Builder Settings View Test";
constexpr char kFolder[] = "builder-general";

class CSettingsViewTestApp : public CWinApp {
 public:
  CSettingsViewTestApp() : CWinApp("Settings View Test") {
    RegDeleteTreeA(HKEY_CURRENT_USER, (std::string("Software\\") + kRegistryKey).c_str());
    SetRegistryKey(kRegistryKey);
  }
};
CSettingsViewTestApp theApp;

std::string ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

std::string Scratch(const std::string& name) { return WorkFile(std::string(kFolder) + "/" + name); }
std::string Fixture(const char* name) { return std::string(BRENNICOR_TEST_DATA) + "/builder/" + name; }
std::string Windows(std::string path) {
  for (char& c : path)
    if (c == '/') c = '\\';
  return path;
}
bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::vector<std::string> launched;
void RecordLaunch(const char* path) { launched.push_back(path); }

// The main frame's side of the project, as the builder's frame gives it.
struct TestHost : ProjectHost {
  ProjectSettings record;
  CBasicGeneralPg* view = nullptr;
  ProjectSettings& Record() override { return record; }
  bool HasSettingsView() override { return view != nullptr; }
  bool GeneralPageHasWindow() override { return view && view->generalPage() && view->generalPage()->m_hWnd; }
  void PushRecordToPages() override { ExchangeRecordToPages(record, view, 0); }
  void CollectPagesIntoRecord() override { ExchangePagesToRecord(record, view); }
  void RepaintMainWindow() override {}
};

const char kAesAdvice[] = "We strongly suggest the use of Higher AES Encryption bit rate!";
const char kOverwriteQuestion[] = "already exists in folder";

// A warning box whose message starts as given, answered with |button|.
RobotStep Answer(const char* messageStart, int button, std::string* seen = nullptr) {
  return {"Warning!", [=](HWND box) {
            const std::string message = ItemText(box, IDC_WARN_MESSAGE);
            if (seen) *seen = message;
            Press(box, message.find(messageStart) != std::string::npos ? button : IDC_WARN_NO);
          }};
}

// Answers No to every warning box this thread opens, as it opens, and
// keeps what each said: for roads where no box may come at all.
class WarningsAnsweredNo {
 public:
  WarningsAnsweredNo() {
    said_ = &said;
    hook_ = SetWindowsHookExA(WH_CALLWNDPROCRET, Answer, nullptr, GetCurrentThreadId());
  }
  ~WarningsAnsweredNo() {
    UnhookWindowsHookEx(hook_);
    said_ = nullptr;
  }
  std::vector<std::string> said;

 private:
  static LRESULT CALLBACK Answer(int code, WPARAM wParam, LPARAM lParam) {
    const CWPRETSTRUCT* call = reinterpret_cast<const CWPRETSTRUCT*>(lParam);
    char caption[32] = {};
    if (code == HC_ACTION && call->message == WM_INITDIALOG && said_ &&
        GetWindowTextA(call->hwnd, caption, sizeof caption) && std::string(caption) == "Warning!") {
      said_->push_back(ItemText(call->hwnd, IDC_WARN_MESSAGE));
      Press(call->hwnd, IDC_WARN_NO);
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
  }
  static std::vector<std::string>* said_;
  HHOOK hook_ = nullptr;
};
std::vector<std::string>* WarningsAnsweredNo::said_ = nullptr;

RobotStep TypeSourcePassword(const char* password) {
  return {"Password Required...", [=](HWND prompt) {
            TypeInto(prompt, IDC_PASSWORD_EDIT, password);
            Press(prompt, IDOK);
          }};
}

class SettingsView : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    CreateDirectoryA(Scratch("").c_str(), nullptr);
    stub = new std::string(ReadBytes(BRENNICOR_STUB_EXE));
    frame = new CWnd;
    frame->CreateEx(0, AfxRegisterWndClass(0), "Settings", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 640, 560, nullptr,
                    nullptr);
    view = new CBasicGeneralPg(ImageOf(*stub), RecordLaunch);
    CRect client;
    frame->GetClientRect(&client);
    view->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, client, frame, AFX_IDW_PANE_FIRST, nullptr);
    view->OnInitialUpdate();
    host.view = view;
    Builder().mainWindow = frame;
    Builder().projectHost = &host;
    theApp.m_pMainWnd = frame;
  }
  static void TearDownTestSuite() {
    Builder().projectHost = nullptr;
    Builder().mainWindow = nullptr;
    theApp.m_pMainWnd = nullptr;
    frame->DestroyWindow();
    delete frame;
    delete stub;
  }

  void SetUp() override {
    ASSERT_NE(nullptr, view->sheet());
    ASSERT_NE(nullptr, General());
    for (const char* value :
         {"OverWriteBrennicorOutputFile", "WarningSHouldUSeAESStrongEncryption", "BuildSFXErrorGenerated"})
      CXTSettingsStore().WriteInt(kWarningAnswersSection, value, 0);
    ResetDefaults(host.record);
    ExchangeRecordToPages(host.record, view, 1);
    view->ShowPage(kGeneralPageIndex);
    launched.clear();
  }

  CGeneralPropertyPageSFX* General() { return view->generalPage(); }
  HWND Page() { return General()->m_hWnd; }
  HWND BuildPage() { return view->buildPage()->m_hWnd; }
  std::string Status() { return ItemText(Page(), IDC_GENERAL_STATUS); }
  bool Enabled(int id) { return IsWindowEnabled(GetDlgItem(Page(), id)) != FALSE; }
  int ActivePage() { return view->sheet()->GetActiveIndex(); }
  HWND ComboEdit(int id) { return reinterpret_cast<HWND>(SendDlgItemMessageA(Page(), id, CBEM_GETEDITCONTROL, 0, 0)); }
  // Typing into an extended combo: its edit tells the page of the change.
  void Type(int id, const std::string& text) { SetWindowTextA(ComboEdit(id), text.c_str()); }
  std::string ComboText(int id) {
    char text[MAX_PATH] = {};
    GetWindowTextA(ComboEdit(id), text, sizeof text);
    return text;
  }
  void ChooseLevelRow(int row) {
    SendDlgItemMessageA(Page(), IDC_GENERAL_LEVEL, CB_SETCURSEL, row, 0);
    SendMessageA(Page(), WM_COMMAND, MAKEWPARAM(IDC_GENERAL_LEVEL, CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(GetDlgItem(Page(), IDC_GENERAL_LEVEL)));
  }
  void PressBuild() {
    SendMessageA(Page(), WM_COMMAND, MAKEWPARAM(IDC_GENERAL_BUILD, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(Page(), IDC_GENERAL_BUILD)));
  }
  int OverallBar() {
    return static_cast<int>(SendDlgItemMessageA(BuildPage(), IDC_BUILD_OVERALL_BAR, PBM_GETPOS, 0, 0));
  }
  // A project of |zip| building |program| in the scratch folder.
  void Project(const std::string& zip, const std::string& program) {
    Type(IDC_GENERAL_OUTPUT, program.empty() ? "" : Windows(Scratch(program)));
    Type(IDC_GENERAL_ZIP, zip);
  }
  // Entries of many.zip as Python's zipfile counts them, and files among them.
  int ManyCount() { return std::stoi(ReadBytes(Scratch("many.count"))); }

  static std::string* stub;
  static CWnd* frame;
  static CBasicGeneralPg* view;
  static TestHost host;
};
std::string* SettingsView::stub = nullptr;
CWnd* SettingsView::frame = nullptr;
CBasicGeneralPg* SettingsView::view = nullptr;
TestHost SettingsView::host;

TEST_F(SettingsView, SheetHoldsItsPagesAndFillsTheViewAsItGrows) {
  CMyResizePropSheet* sheet = view->sheet();
  EXPECT_TRUE(sheet->GetStyle() & WS_CHILD);
  EXPECT_FALSE(sheet->GetStyle() & WS_THICKFRAME);
  EXPECT_TRUE(sheet->GetExStyle() & WS_EX_CONTROLPARENT);
  for (int button : {IDOK, IDCANCEL}) EXPECT_FALSE(IsWindowVisible(GetDlgItem(sheet->m_hWnd, button))) << button;
  ASSERT_EQ(kSettingsPageCount, sheet->GetPageCount());
  for (int i = 0; i < kSettingsPageCount; ++i) EXPECT_EQ(view->Pages()[i], sheet->GetPage(i)) << i;
  EXPECT_EQ(view->buildPage(), sheet->GetPage(kBuildPageIndex));
  EXPECT_EQ(view->passwordPage(), sheet->GetPage(kPasswordPageIndex));
  for (const SIZE& size : {SIZE{700, 600}, SIZE{520, 470}}) {
    frame->SetWindowPos(nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER);
    CRect client, sheetRect;
    frame->GetClientRect(&client);
    view->MoveWindow(&client);
    view->GetClientRect(&client);
    sheet->GetWindowRect(&sheetRect);
    view->ScreenToClient(&sheetRect);
    EXPECT_TRUE(client == sheetRect) << size.cx << ": " << sheetRect.left << "," << sheetRect.top << " "
                                     << sheetRect.Width() << "x" << sheetRect.Height() << " in " << client.Width()
                                     << "x" << client.Height();
  }
}

// Esc and Enter reach the child sheet as Cancel and OK: its page stays.
TEST_F(SettingsView, EscapeAndEnterInAPageKeepThePage) {
  for (WPARAM key : {VK_ESCAPE, VK_RETURN}) {
    HWND edit = ComboEdit(IDC_GENERAL_ZIP);
    MSG message = {};
    message.hwnd = edit;
    message.message = WM_KEYDOWN;
    message.wParam = key;
    view->sheet()->PreTranslateMessage(&message);
    PumpUntil([] { return true; }, 0);  // runs what the key posted, until the queue is empty
    EXPECT_NE(0, SendMessageA(view->sheet()->m_hWnd, PSM_GETCURRENTPAGEHWND, 0, 0)) << key;
    EXPECT_EQ(kGeneralPageIndex, ActivePage()) << key;
    EXPECT_TRUE(IsWindowVisible(Page())) << key;
  }
}

// The level shown is the level built: after start-up, New and Open the
// build is given the level of the row shown, and then of each row chosen.
TEST_F(SettingsView, TheBuildGetsTheLevelOfTheRowShownAfterStartUpNewAndOpen) {
  CXTSettingsStore().WriteInt(kWarningAnswersSection, "WarningSHouldUSeAESStrongEncryption", 1);
  CXTSettingsStore().WriteInt(kWarningAnswersSection, "OverWriteBrennicorOutputFile", 1);
  ProjectSettings fresh, maximum, fastest;
  ResetDefaults(fresh);
  maximum.levelListIndex = 3;
  fastest.levelListIndex = 0;
  // Start-up is the fixture's own: the defaults pushed as a fresh project.
  const struct {
    const char* road;
    const ProjectSettings* pushed;  // null: nothing more
    int fresh;
    const char* shown;
    int level;
  } roads[] = {
      {"start-up", nullptr, 1, "Normal", 5},
      {"Open of a project at Fastest", &fastest, 0, "Fastest", 1},
      {"New after it", &fresh, 1, "Normal", 5},
  };
  const int levels[] = {1, 5, 7, 9};
  for (const auto& road : roads) {
    SCOPED_TRACE(road.road);
    if (road.pushed) {
      ExchangeRecordToPages(maximum, view, 0);
      ExchangeRecordToPages(*road.pushed, view, road.fresh);
    }
    EXPECT_EQ(road.shown, ItemText(Page(), IDC_GENERAL_LEVEL));
    EXPECT_EQ(road.level, General()->level());
    if (road.fresh) EXPECT_TRUE(IsChecked(Page(), IDC_GENERAL_RECREATE_FOLDERS));
    Project(Fixture("pair.zip"), "levels.exe");
    ASSERT_EQ(1, General()->BuildSelfExtractor()) << ItemText(BuildPage(), IDC_BUILD_TITLE);
    EXPECT_EQ(road.level, host.record.compressionLevel);
    view->ShowPage(kGeneralPageIndex);
    for (int row = 0; row < 4; ++row) {
      ChooseLevelRow(row);
      ExchangePagesToRecord(host.record, view);
      EXPECT_EQ(levels[row], host.record.compressionLevel) << row;
      EXPECT_EQ(row, host.record.levelListIndex) << row;
    }
  }
  // A project naming a row the list lacks builds, and shows, the default.
  ProjectSettings loaded;
  loaded.levelListIndex = 7;
  ExchangeRecordToPages(loaded, view, 0);
  ProjectSettings record;
  ExchangePagesToRecord(record, view);
  EXPECT_EQ(5, record.compressionLevel);
}

TEST_F(SettingsView, RecordGoesIntoThePageAndBack) {
  ProjectSettings record;
  record.sourceArchive = Fixture("pair.zip");
  record.outputName = "C:\\out\\pair.exe";
  record.unzipToFolder = "C:\\unpacked";
  record.iconFile = "C:\\icons\\a.ico";
  record.overwrite = 1;
  record.autoUnzip = 1;
  record.recreateFolders = 0;
  record.iconIndex = 3;
  record.levelListIndex = 3;
  record.deflate64 = 1;
  ExchangeRecordToPages(record, view, 0);
  EXPECT_EQ(Fixture("pair.zip"), ComboText(IDC_GENERAL_ZIP));
  EXPECT_EQ("C:\\unpacked", ComboText(IDC_GENERAL_FOLDER));
  EXPECT_FALSE(IsChecked(Page(), IDC_GENERAL_RECREATE_FOLDERS));
  EXPECT_TRUE(IsChecked(Page(), IDC_GENERAL_HYPERTHREAD));
  ProjectSettings back;
  ExchangePagesToRecord(back, view);
  EXPECT_EQ(record.sourceArchive, back.sourceArchive);
  EXPECT_EQ(record.outputName, back.outputName);
  EXPECT_EQ(record.unzipToFolder, back.unzipToFolder);
  EXPECT_EQ(record.iconFile, back.iconFile);
  EXPECT_EQ(1, back.overwrite);
  EXPECT_EQ(1, back.autoUnzip);
  EXPECT_EQ(0, back.recreateFolders);
  EXPECT_EQ(3, back.iconIndex);
  EXPECT_EQ(9, back.compressionLevel);
  EXPECT_EQ(1, back.deflate64);
  // A fresh project ticks "Recreate Original Folders" whatever the record says.
  ExchangeRecordToPages(record, view, 1);
  EXPECT_TRUE(IsChecked(Page(), IDC_GENERAL_RECREATE_FOLDERS));
}

// The options that act on the default folder start unticked with each new
// folder and can be ticked only while there is one.
TEST_F(SettingsView, FolderOptionsFollowTheFolder) {
  ProjectSettings record;
  record.unzipToFolder = "C:\\first";
  record.overwrite = record.autoUnzip = 1;
  ExchangeRecordToPages(record, view, 0);
  EXPECT_TRUE(IsChecked(Page(), IDC_GENERAL_OVERWRITE));
  EXPECT_TRUE(IsChecked(Page(), IDC_GENERAL_AUTO_UNZIP));
  for (const char* folder : {"C:\\second", ""}) {
    Type(IDC_GENERAL_FOLDER, folder);
    for (int id : {IDC_GENERAL_OVERWRITE, IDC_GENERAL_AUTO_UNZIP}) {
      EXPECT_FALSE(IsChecked(Page(), id)) << folder;
      EXPECT_EQ(*folder != 0, Enabled(id)) << folder;
    }
  }
  ProjectSettings back;
  ExchangePagesToRecord(back, view);
  EXPECT_EQ(0, back.overwrite + back.autoUnzip);
}

// Every entry is counted and offered, folders too, as Python's zipfile
// counts them; the output goes beside the zip as a full path even when the
// zip was typed relative to the current folder.
TEST_F(SettingsView, TypedZipIsCountedAndGetsAProgramBesideIt) {
  char before[MAX_PATH] = {};
  GetCurrentDirectoryA(sizeof before, before);
  ASSERT_TRUE(SetCurrentDirectoryA(Scratch("").c_str()));
  Type(IDC_GENERAL_ZIP, "many.zip");
  SetCurrentDirectoryA(before);
  const int count = ManyCount();
  EXPECT_EQ("ZIP File 'many.zip' loaded, " + std::to_string(count) + " item(s) found!", Status());
  EXPECT_EQ(static_cast<size_t>(count), FoundItems().Items().size());
  EXPECT_EQ("dir00/", FoundItems().Items().front());
  char full[MAX_PATH] = {};
  GetFullPathNameA(Scratch("many.exe").c_str(), sizeof full, full, nullptr);
  EXPECT_EQ(std::string(full), ComboText(IDC_GENERAL_OUTPUT));
  EXPECT_TRUE(Enabled(IDC_GENERAL_BUILD));

  // A name already typed stays; the same zip again is not listed again.
  Type(IDC_GENERAL_OUTPUT, "C:\\mine.exe");
  FoundItems().Clear();
  Type(IDC_GENERAL_ZIP, Scratch("many.zip"));
  Type(IDC_GENERAL_ZIP, Scratch("many.zip"));
  EXPECT_EQ("C:\\mine.exe", ComboText(IDC_GENERAL_OUTPUT));
  EXPECT_EQ(static_cast<size_t>(count), FoundItems().Items().size());
}

// The browse button: the chosen zip is examined as a typed one is.
TEST_F(SettingsView, BrowsedZipIsExamined) {
  Type(IDC_GENERAL_OUTPUT, "");
  DialogRobot robot({{"Open", [](HWND dialog) { ChooseFile(dialog, Windows(Scratch("many.zip"))); }}});
  SendMessageA(Page(), WM_COMMAND, MAKEWPARAM(IDC_GENERAL_ZIP_BROWSE, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(Page(), IDC_GENERAL_ZIP_BROWSE)));
  EXPECT_TRUE(robot.Finished());
  EXPECT_EQ(Windows(Scratch("many.zip")), ComboText(IDC_GENERAL_ZIP));
  EXPECT_EQ("ZIP File 'many.zip' loaded, " + std::to_string(ManyCount()) + " item(s) found!", Status());
  EXPECT_EQ(Windows(Scratch("many.exe")), ComboText(IDC_GENERAL_OUTPUT));
}

// A zip picked from the remembered names is examined as a typed one is.
TEST_F(SettingsView, ZipPickedFromTheHistoryIsExamined) {
  Project("", "");
  HWND combo = GetDlgItem(Page(), IDC_GENERAL_ZIP);
  const std::string zip = Windows(Scratch("many.zip"));
  COMBOBOXEXITEMA row = {};
  row.mask = CBEIF_TEXT;
  row.iItem = -1;
  row.pszText = const_cast<char*>(zip.c_str());
  const LRESULT at = SendMessageA(combo, CBEM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&row));
  HWND list = reinterpret_cast<HWND>(SendMessageA(combo, CBEM_GETCOMBOCONTROL, 0, 0));
  SendMessageA(list, CB_SETCURSEL, at, 0);
  SendMessageA(combo, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(list), CBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
  EXPECT_EQ("ZIP File 'many.zip' loaded, " + std::to_string(ManyCount()) + " item(s) found!", Status());
  EXPECT_TRUE(Enabled(IDC_GENERAL_BUILD));
  SendMessageA(combo, CBEM_DELETEITEM, at, 0);
}

TEST_F(SettingsView, StatusLineSaysWhyAZipCannotBeBuilt) {
  const struct {
    std::string zip;
    std::string status;
  } cases[] = {
      {"", "Type in or browse for a ZIP file name..."},
      {Scratch("gone.zip"), "ZIP File 'gone.zip' does not exist. ZIP File MUST Exist to Make it Self-Extractable."},
      {Scratch("").substr(0, Scratch("").size() - 1),
       "ZIP File 'builder-general' does not exist. ZIP File MUST Exist to Make it Self-Extractable."},
      {Scratch("notzip.zip"), "File 'notzip.zip' not recognized as ZIP!"},
      {Fixture("empty.zip"), "<No> Files Found, 'empty.zip' may be empty ZIP!"},
      {Scratch("100%s %d.zip"),
       "ZIP File '100%s %d.zip' does not exist. ZIP File MUST Exist to Make it Self-Extractable."},
  };
  for (const auto& c : cases) {
    Project(c.zip, "never.exe");
    EXPECT_EQ(c.status, Status()) << c.zip;
    EXPECT_FALSE(Enabled(IDC_GENERAL_BUILD)) << c.zip;
    EXPECT_FALSE(Enabled(IDC_GENERAL_OUTPUT)) << c.zip;
  }
  Project(Fixture("pair.zip"), "never.exe");
  EXPECT_TRUE(Enabled(IDC_GENERAL_BUILD));
  EXPECT_TRUE(Enabled(IDC_GENERAL_OUTPUT));
}

TEST_F(SettingsView, AnsweringNoToOverwriteBuildsNothing) {
  const std::string output = Scratch("kept.exe");
  std::ofstream(output, std::ios::binary) << "the user's own program";
  Project(Fixture("pair.zip"), "kept.exe");
  std::string asked;
  {
    DialogRobot robot({Answer(kOverwriteQuestion, IDC_WARN_NO, &asked)});
    EXPECT_EQ(0, General()->BuildSelfExtractor());
    EXPECT_TRUE(robot.Finished());
  }
  EXPECT_EQ(
      "Output file 'kept.exe' already exists in folder '" + Windows(Scratch("")) + "'. Would you like to overwrite?",
      asked);
  EXPECT_EQ("the user's own program", ReadBytes(output));
  EXPECT_EQ(kGeneralPageIndex, ActivePage());
}

// A message box of the program whose text starts as given, answered with
// |button|; any other box is answered No.
RobotStep AnswerMessage(const std::string& start, int button, std::string* seen = nullptr) {
  return {"Settings View Test", [=](HWND box) {
            const std::string text = MessageBoxText(box);
            if (seen) *seen = text;
            Press(box, text.compare(0, start.size(), start) == 0 ? button : IDNO);
          }};
}

// Texts longer than a program holds are said before building, with the
// limit; No builds nothing, Yes builds them cut.
TEST_F(SettingsView, TooLongTextsAreSaidBeforeBuilding) {
  CXTSettingsStore().WriteInt(kWarningAnswersSection, "WarningSHouldUSeAESStrongEncryption", 1);
  ProjectSettings record;
  record.aboutText = std::string(kAboutTextLimit + 1, 'a');
  record.customMessage = std::string(kCustomMessageLimit + 1, 'm');
  ExchangeRecordToPages(record, view, 0);
  view->ShowPage(kGeneralPageIndex);
  DeleteFileA(Scratch("long-texts.exe").c_str());
  Project(Fixture("pair.zip"), "long-texts.exe");
  const std::string aboutSaid = "The about text is " + std::to_string(kAboutTextLimit + 1) +
                                " characters long, but a built program holds at most " +
                                std::to_string(kAboutTextLimit) + " of them";
  const std::string messageSaid = "The custom message is " + std::to_string(kCustomMessageLimit + 1) +
                                  " characters long, but a built program holds at most " +
                                  std::to_string(kCustomMessageLimit) + " of them";
  {
    DialogRobot robot({AnswerMessage(aboutSaid, IDNO)});
    EXPECT_EQ(0, General()->BuildSelfExtractor());
    EXPECT_TRUE(robot.Finished());
  }
  {
    DialogRobot robot({AnswerMessage(aboutSaid, IDYES), AnswerMessage(messageSaid, IDNO)});
    EXPECT_EQ(0, General()->BuildSelfExtractor());
    EXPECT_TRUE(robot.Finished());
  }
  EXPECT_FALSE(Exists(Scratch("long-texts.exe")));
  EXPECT_EQ(kGeneralPageIndex, ActivePage());
  {
    DialogRobot robot({AnswerMessage(aboutSaid, IDYES), AnswerMessage(messageSaid, IDYES)});
    EXPECT_EQ(1, General()->BuildSelfExtractor()) << ItemText(BuildPage(), IDC_BUILD_TITLE);
    EXPECT_TRUE(robot.Finished());
  }
  EXPECT_TRUE(Exists(Scratch("long-texts.exe")));
  ExchangeRecordToPages(ProjectSettings(), view, 1);
}

// Where the program cannot be written is said before any question or work:
// a missing folder is offered to be made, anything else only said.
TEST_F(SettingsView, TheOutputPlaceIsCheckedFirst) {
  CXTSettingsStore().WriteInt(kWarningAnswersSection, "WarningSHouldUSeAESStrongEncryption", 1);
  const std::string missing = Windows(Scratch("made\\deeper"));
  DeleteFileA((missing + "\\pair.exe").c_str());
  RemoveDirectoryA(missing.c_str());
  RemoveDirectoryA(Windows(Scratch("made")).c_str());
  Project(Fixture("pair.zip"), "made\\deeper\\pair.exe");
  const std::string said = "The output folder '" + missing + "' does not exist.\nCreate it and build?";
  {
    DialogRobot robot({AnswerMessage(said, IDNO)});
    EXPECT_EQ(0, General()->BuildSelfExtractor());
    EXPECT_TRUE(robot.Finished());
  }
  EXPECT_FALSE(Exists(missing));
  EXPECT_EQ(kGeneralPageIndex, ActivePage());
  {
    DialogRobot robot({AnswerMessage(said, IDYES)});
    EXPECT_EQ(1, General()->BuildSelfExtractor()) << ItemText(BuildPage(), IDC_BUILD_TITLE);
    EXPECT_TRUE(robot.Finished());
  }
  EXPECT_TRUE(Exists(missing + "\\pair.exe"));

  view->ShowPage(kGeneralPageIndex);
  std::ofstream(Scratch("blocking"), std::ios::binary) << "a file";
  Project(Fixture("pair.zip"), "blocking\\pair.exe");
  std::string seen;
  {
    DialogRobot robot({AnswerMessage("'" + Windows(Scratch("blocking")) + "' is a file", IDOK, &seen)});
    EXPECT_EQ(0, General()->BuildSelfExtractor());
    EXPECT_TRUE(robot.Finished());
  }
  EXPECT_EQ("'" + Windows(Scratch("blocking")) + "' is a file, so no output program can be written in a folder of "
            "that name.",
            seen);
  EXPECT_EQ(kGeneralPageIndex, ActivePage());
}

// The advice to protect the program: Yes goes back to protection and builds
// nothing; No builds, and a remembered answer builds without asking.
TEST_F(SettingsView, ProtectionAdviceYesBuildsNothingNoBuilds) {
  DeleteFileA(Scratch("advised.exe").c_str());
  Project(Fixture("pair.zip"), "advised.exe");
  {
    DialogRobot robot({Answer(kAesAdvice, IDC_WARN_YES)});
    EXPECT_EQ(0, General()->BuildSelfExtractor());
    EXPECT_TRUE(robot.Finished());
  }
  EXPECT_FALSE(Exists(Scratch("advised.exe")));
  EXPECT_EQ(kPasswordPageIndex, ActivePage());

  view->ShowPage(kGeneralPageIndex);
  {
    DialogRobot robot({Answer(kAesAdvice, IDC_WARN_NO)});
    EXPECT_EQ(1, General()->BuildSelfExtractor());
    EXPECT_TRUE(robot.Finished());
  }
  EXPECT_EQ(view->sheet()->GetPage(view->sheet()->GetActiveIndex()), view->buildPage());
  EXPECT_EQ(8, OverallBar());
  EXPECT_EQ("Building and Securing '" + Windows(Scratch("advised.exe")) + "' ended succesfully!",
            ItemText(BuildPage(), IDC_BUILD_TITLE));
  EXPECT_TRUE(IsWindowEnabled(GetDlgItem(BuildPage(), IDC_BUILD_TEST)));
  EXPECT_TRUE(PumpUntil(BalloonShown, 3000));

  // Yes with "do not show again" ticked goes to the Password page this once;
  // from then on the advice is not shown and the project builds unprotected.
  view->ShowPage(kGeneralPageIndex);
  DeleteFileA(Scratch("advised.exe").c_str());
  {
    DialogRobot robot({{"Warning!", [](HWND box) {
                          Click(box, IDC_WARN_DONT_SHOW);
                          Press(box, IDC_WARN_YES);
                        }}});
    EXPECT_EQ(0, General()->BuildSelfExtractor());
    EXPECT_TRUE(robot.Finished());
  }
  EXPECT_EQ(kPasswordPageIndex, ActivePage());
  EXPECT_FALSE(Exists(Scratch("advised.exe")));
  EXPECT_EQ(1, CXTSettingsStore().ReadInt(kWarningAnswersSection, "WarningSHouldUSeAESStrongEncryption", 0));
  view->ShowPage(kGeneralPageIndex);
  WarningsAnsweredNo warnings;
  EXPECT_EQ(1, General()->BuildSelfExtractor());
  EXPECT_TRUE(warnings.said.empty()) << warnings.said.front();
  EXPECT_TRUE(Exists(Scratch("advised.exe")));
}

// The whole road of one build: 150 entries in folders, built through the
// page at level 9; the inspector checks the program, and it extracts.
TEST_F(SettingsView, BuildsAProgramOfManyEntriesThatExtracts) {
  CXTSettingsStore().WriteInt(kWarningAnswersSection, "WarningSHouldUSeAESStrongEncryption", 1);
  DeleteFileA(Scratch("many.exe").c_str());
  const std::string destination = Windows(Scratch("many-extracted\\"));
  Type(IDC_GENERAL_FOLDER, destination);
  Project(Scratch("many.zip"), "many.exe");
  ChooseLevelRow(3);
  CXTSettingsStore().WriteInt(kWarningAnswersSection, "BuildSFXErrorGenerated", 1);
  ASSERT_EQ(1, General()->BuildSelfExtractor()) << ItemText(BuildPage(), IDC_BUILD_TITLE);
  EXPECT_EQ(9, host.record.compressionLevel);

  ProgramManifest m;
  m.program = std::string(kFolder) + "/many.exe";
  m.image = std::string(kFolder) + "/stub.bin";
  std::ofstream(Scratch("stub.bin"), std::ios::binary) << *stub;
  m.source = std::string(kFolder) + "/many.zip";
  m.lines = StubSettingsLines(host.record);
  m.entryCount = ManyCount();
  m.records = ManyCount();  // every file and every folder entry, which carries its time
  WriteManifest(m);

  // The program talks to the desktop's windows, this test's too: it runs
  // from another thread while this one answers.
  std::atomic<DWORD> exitCode{STILL_ACTIVE};
  std::thread run([&] {
    exitCode = RunProgram(Scratch("many.exe"), nullptr, {{"Korvane SFX Module", [](HWND d) { Press(d, IDOK); }}});
  });
  PumpUntil([&] { return exitCode != STILL_ACTIVE; }, 90000);
  run.join();
  EXPECT_EQ(0u, exitCode.load());
  EXPECT_TRUE(Exists(destination + "dir09\\file12.txt"));
}

// A zip that went away after it was examined: the build fails with one box,
// and the Build page's title names the failure whether the box shows or not.
TEST_F(SettingsView, AFailedBuildSaysSoOnceAndInItsTitle) {
  CXTSettingsStore().WriteInt(kWarningAnswersSection, "WarningSHouldUSeAESStrongEncryption", 1);
  CopyFileA(Fixture("pair.zip").c_str(), Scratch("vanishing.zip").c_str(), FALSE);
  Project(Scratch("vanishing.zip"), "vanishing.exe");
  ASSERT_TRUE(Enabled(IDC_GENERAL_BUILD));
  ASSERT_TRUE(DeleteFileA(Scratch("vanishing.zip").c_str()));
  for (int stored : {0, 1}) {
    CXTSettingsStore().WriteInt(kWarningAnswersSection, "BuildSFXErrorGenerated", stored);
    view->ShowPage(kGeneralPageIndex);
    WarningsAnsweredNo warnings;
    EXPECT_EQ(0, General()->BuildSelfExtractor());
    // One box, shown or (with its answer stored) ended unseen.
    EXPECT_EQ(1u, warnings.said.size()) << stored;
    const std::string title = ItemText(BuildPage(), IDC_BUILD_TITLE);
    EXPECT_EQ(0u, title.find("Error has been generated while building Brennicor file!")) << title;
  }
}

// Run on its own, the sheet keeps its last page for the next time.
TEST_F(SettingsView, ModalSheetRemembersItsPage) {
  CPropertyPage first(IDD_SETTINGS_VIEW), second(IDD_SETTINGS_VIEW);
  {
    CMyResizePropSheet sheet(nullptr, "Modal", "ModalSheet", -1, 0);
    sheet.AddPage(&first);
    sheet.AddPage(&second);
    DialogRobot robot({{"Modal", [](HWND sheet) {
                          SendMessageA(sheet, PSM_SETCURSEL, 1, 0);
                          PostMessageA(sheet, PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
                        }}});
    EXPECT_EQ(IDCANCEL, sheet.DoModal());
    EXPECT_TRUE(robot.Finished());
  }
  EXPECT_EQ(1, CXTSettingsStore().ReadInt("ModalSheet", "CurrentPageIndx", 0));
  CMyResizePropSheet again(nullptr, "Modal", "ModalSheet", -1, 0);
  again.AddPage(&first);
  again.AddPage(&second);
  EXPECT_EQ(1, again.GetActiveIndex());
}

// A protected project builds without the advice to protect it, with the
// password and strength of the Password page.
TEST_F(SettingsView, ProtectedProjectBuildsWithoutTheAdvice) {
  DeleteFileA(Scratch("protected.exe").c_str());
  CopyFileA(Fixture("pair.zip").c_str(), Scratch("pair.zip").c_str(), FALSE);
  ProjectSettings record;
  record.sourceArchive = Scratch("pair.zip");
  record.outputName = Windows(Scratch("protected.exe"));
  record.passwordProtection = 1;
  record.maskPassword = 1;
  record.password = "open sesame";
  record.aesStrengthIndex = 2;
  ExchangeRecordToPages(record, view, 0);
  WarningsAnsweredNo warnings;
  EXPECT_EQ(1, General()->BuildSelfExtractor());
  EXPECT_TRUE(warnings.said.empty()) << warnings.said.front();
  EXPECT_EQ(2, host.record.aesStrengthIndex);

  ProgramManifest m;
  m.program = std::string(kFolder) + "/protected.exe";
  m.image = std::string(kFolder) + "/stub.bin";
  std::ofstream(Scratch("stub.bin"), std::ios::binary) << *stub;
  m.source = std::string(kFolder) + "/pair.zip";
  m.lines = StubSettingsLines(host.record);
  m.entryCount = 2;
  m.records = 2;
  m.strength = 3;
  m.password = record.password;
  m.passwordLength = static_cast<int>(record.password.size());
  WriteManifest(m);
}

// Each build of an encrypted zip asks for its password again.
TEST_F(SettingsView, EncryptedZipAsksOnEveryBuild) {
  CXTSettingsStore().WriteInt(kWarningAnswersSection, "WarningSHouldUSeAESStrongEncryption", 1);
  CXTSettingsStore().WriteInt(kWarningAnswersSection, "OverWriteBrennicorOutputFile", 1);
  Project(Fixture("locked.zip"), "locked.exe");
  for (int build = 0; build < 2; ++build) {
    view->ShowPage(kGeneralPageIndex);
    DialogRobot robot({TypeSourcePassword("source")});
    EXPECT_EQ(1, General()->BuildSelfExtractor()) << build;
    EXPECT_TRUE(robot.Finished()) << build;
  }
}

// Test builds through the whole flow when the program is not there yet,
// questions and all, then starts it; an existing program just starts.
TEST_F(SettingsView, TestCommandBuildsWhenNeededThenStarts) {
  DeleteFileA(Scratch("tested.exe").c_str());
  Project(Fixture("pair.zip"), "tested.exe");
  {
    DialogRobot robot({Answer(kAesAdvice, IDC_WARN_YES)});
    SendMessageA(Page(), WM_COMMAND, ID_TEST_PROGRAM, 0);
    EXPECT_TRUE(robot.Finished());
  }
  EXPECT_TRUE(launched.empty());
  view->ShowPage(kGeneralPageIndex);
  {
    DialogRobot robot({Answer(kAesAdvice, IDC_WARN_NO)});
    SendMessageA(Page(), WM_COMMAND, ID_TEST_PROGRAM, 0);
    EXPECT_TRUE(robot.Finished());
  }
  ASSERT_EQ(std::vector<std::string>{Windows(Scratch("tested.exe"))}, launched);
  view->ShowPage(kGeneralPageIndex);
  SendMessageA(Page(), WM_COMMAND, ID_TEST_PROGRAM, 0);
  EXPECT_EQ(2u, launched.size());
}

// While a build runs its messages are pumped: a Build pressed, an output
// name typed and the pages collected into the project record meanwhile (as
// the frame's menu updates do) change nothing of what is being built.
TEST_F(SettingsView, WhatHappensDuringABuildChangesNothing) {
  CXTSettingsStore().WriteInt(kWarningAnswersSection, "WarningSHouldUSeAESStrongEncryption", 1);
  CXTSettingsStore().WriteInt(kWarningAnswersSection, "OverWriteBrennicorOutputFile", 1);
  const std::string output = Windows(Scratch("during.exe"));
  DeleteFileA(output.c_str());
  Project(Scratch("many.zip"), "during.exe");
  PostMessageA(Page(), WM_COMMAND, MAKEWPARAM(IDC_GENERAL_BUILD, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(Page(), IDC_GENERAL_BUILD)));
  PostMessageA(ComboEdit(IDC_GENERAL_OUTPUT), WM_CHAR, 'x', 0);
  // The frame's timer message comes through the build's pump, after the typing.
  SetTimer(frame->m_hWnd, 1, 0, [](HWND window, UINT, UINT_PTR id, DWORD) {
    KillTimer(window, id);
    ExchangePagesToRecord(host.record, view);
  });
  EXPECT_EQ(1, General()->BuildSelfExtractor());
  EXPECT_FALSE(Builder().buildRunning);
  EXPECT_EQ("Building and Securing '" + output + "' ended succesfully!", ItemText(BuildPage(), IDC_BUILD_TITLE));
  // The name typed meanwhile is the page's and the record's, not the build's.
  EXPECT_NE(output, ComboText(IDC_GENERAL_OUTPUT));
  EXPECT_EQ(ComboText(IDC_GENERAL_OUTPUT), host.record.outputName);
  EXPECT_TRUE(Exists(output));
  EXPECT_FALSE(Exists(host.record.outputName));
}

}  // namespace
