// The builder's small dialogs under Wine, played by the shared robot, with a
// registry key of the test's own, emptied before the first test.
#include <gtest/gtest.h>

#include "builder_resource.h"
#include "classlib/winapp.h"
#include "dialog_robot.h"
#include "app/BuilderGlobals.h"
#include "dialogs/AboutBox.h"
#include "dialogs/HistoryComboBox.h"
#include "dialogs/LiteZipPasswrdCallback.h"
#include "dialogs/ProjectPrompts.h"
#include "dialogs/TransparentBitmap.h"
#include "dialogs/WarnMessageBoxOnOff.h"
#include "toolkit/common/SettingsStore.h"

namespace {

constexpr char kRegistryKey[] = "Brennicor Builder Dialogs Test";

class CDialogsTestApp : public CWinApp {
 public:
  CDialogsTestApp() : CWinApp("Dialogs Test") {
    RegDeleteTreeA(HKEY_CURRENT_USER, (std::string("Software\\") + kRegistryKey).c_str());
    SetRegistryKey(kRegistryKey);
  }
};
CDialogsTestApp theApp;

constexpr int kMissing = -1;

int StoredAnswer(LPCSTR valueName) {
  return CXTSettingsStore().ReadInt(kWarningAnswersSection, valueName, kMissing);
}

// Notes whether the box ever became visible.
class WatchedWarning : public CWarnMessageBoxOnOff {
 public:
  using CWarnMessageBoxOnOff::CWarnMessageBoxOnOff;
  bool shown = false;
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == WM_SHOWWINDOW && wParam) shown = true;
    if (message == WM_WINDOWPOSCHANGED && (reinterpret_cast<WINDOWPOS*>(lParam)->flags & SWP_SHOWWINDOW)) shown = true;
    return CWarnMessageBoxOnOff::WindowProc(message, wParam, lParam);
  }
};

enum Answer { kYes, kNo, kEscape, kUnseen };

RobotStep Answering(Answer answer, bool tick) {
  return {"Warning!", [answer, tick](HWND box) {
            if (tick) Click(box, IDC_WARN_DONT_SHOW);
            const int kButtons[] = {IDC_WARN_YES, IDC_WARN_NO, IDCANCEL};
            Press(box, kButtons[answer]);
          }};
}

TEST(WarningBox, OnlyYesWithTheBoxTickedIsRemembered) {
  struct Case {
    int stored;  // kMissing: never answered
    BOOL enabled;
    Answer answer;
    bool tick;
    bool shown;
    INT_PTR result;
    int after;
    const char* why;
  } cases[] = {
      {kMissing, TRUE, kYes, true, true, IDOK, 1, "yes, ticked: remembered"},
      {kMissing, TRUE, kYes, false, true, IDOK, 0, "yes, unticked: shown again"},
      {kMissing, TRUE, kNo, true, true, IDNO, kMissing, "no, ticked: nothing written"},
      {kMissing, TRUE, kEscape, true, true, IDCANCEL, kMissing, "dismissed, ticked: nothing written"},
      {kMissing, FALSE, kYes, false, true, IDOK, kMissing, "box disabled: nothing written"},
      {0, TRUE, kNo, false, true, IDNO, 0, "a stored 0 shows"},
      {1, TRUE, kUnseen, false, false, IDOK, 1, "a stored 1 ends unseen as Yes and stays 1"},
      {1, FALSE, kUnseen, false, false, IDOK, 1, "also with the box disabled"},
  };
  int n = 0;
  for (const Case& c : cases) {
    const std::string name = "Case" + std::to_string(n++);
    if (c.stored != kMissing) CXTSettingsStore().WriteInt(kWarningAnswersSection, name.c_str(), c.stored);
    WatchedWarning box("Overwrite?", "The output exists.", name.c_str(), nullptr, "", c.enabled);
    std::vector<RobotStep> steps;
    if (c.answer != kUnseen) steps.push_back(Answering(c.answer, c.tick));
    DialogRobot robot(steps);
    EXPECT_EQ(c.result, box.DoModal()) << c.why;
    EXPECT_TRUE(robot.Finished()) << c.why;
    EXPECT_EQ(c.shown, box.shown) << c.why;
    EXPECT_EQ(c.after, StoredAnswer(name.c_str())) << c.why;
  }
}

TEST(WarningBox, TextsFromTheStringTableTakeTheArgumentAsPlainText) {
  CWarnMessageBoxOnOff box(IDS_WARNING_TITLE, IDS_OUTPUT_FILE_EXISTS, "ArgumentCase", nullptr, "C:\\100%s %n.exe",
                           TRUE);
  std::string title, message;
  bool checkEnabled = false;
  DialogRobot robot({{"Warning!", [&](HWND dialog) {
                        title = ItemText(dialog, IDC_WARN_TITLE);
                        message = ItemText(dialog, IDC_WARN_MESSAGE);
                        checkEnabled = IsWindowEnabled(GetDlgItem(dialog, IDC_WARN_DONT_SHOW)) != FALSE;
                        Press(dialog, IDC_WARN_NO);
                      }}});
  EXPECT_EQ(IDNO, box.DoModal());
  ASSERT_TRUE(robot.Finished());
  EXPECT_EQ("Korvane Brennicor Warning", title);
  EXPECT_EQ("The output file C:\\100%s %n.exe already exists.\r\nDo you want to overwrite it?", message);
  EXPECT_TRUE(checkEnabled);
}

// The failure of a build names each entry it could not secure, one a line.
std::string NotSecuredList(int entries) {
  std::string list;
  for (int i = 1; i <= entries; ++i) {
    char line[128];
    snprintf(line, sizeof line, "%sEntry '../outside/file%02d.txt' was not secured: its name is not safe to extract.",
             i > 1 ? "\n" : "", i);
    list += line;
  }
  return list;
}

RECT RectIn(HWND parent, HWND control) {
  RECT rect;
  GetWindowRect(control, &rect);
  MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

// Whether the character at index lies whole in the edit once it scrolled there.
bool ScrollsIntoView(HWND edit, int index) {
  SendMessageA(edit, EM_SETSEL, index, index);
  SendMessageA(edit, EM_SCROLLCARET, 0, 0);
  const LRESULT at = SendMessageA(edit, EM_POSFROMCHAR, index, 0);
  RECT client;
  GetClientRect(edit, &client);
  TEXTMETRICA metrics;
  HDC dc = GetDC(edit);
  HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(edit, WM_GETFONT, 0, 0)));
  GetTextMetricsA(dc, &metrics);
  SelectObject(dc, old);
  ReleaseDC(edit, dc);
  const int y = static_cast<short>(HIWORD(at));
  return at != -1 && y >= 0 && y + metrics.tmHeight <= client.bottom;
}

// A build failure with a long list of entries: the box grows with its
// message, every line of which can be brought into view, and nothing lies
// on the message; a short message keeps the box as it was made.
TEST(WarningBox, TheBoxFollowsItsMessageAndALongListScrolls) {
  struct Shown {
    int height = 0, lines = 0;
    bool firstInView = false, lastInView = false, clearOfTheCheckBox = false;
  };
  auto show = [](const std::string& errorText) {
    Shown shown;
    CWarnMessageBoxOnOff box(IDS_WARNING, IDS_BUILD_ERROR, "ListCase", nullptr, errorText.c_str(), TRUE);
    DialogRobot robot({{"Warning!", [&](HWND dialog) {
                          RECT rect;
                          GetWindowRect(dialog, &rect);
                          shown.height = rect.bottom - rect.top;
                          HWND message = GetDlgItem(dialog, IDC_WARN_MESSAGE);
                          shown.lines = static_cast<int>(SendMessageA(message, EM_GETLINECOUNT, 0, 0));
                          const int last = static_cast<int>(SendMessageA(message, WM_GETTEXTLENGTH, 0, 0)) - 1;
                          shown.lastInView = ScrollsIntoView(message, last);
                          shown.firstInView = ScrollsIntoView(message, 0);
                          shown.clearOfTheCheckBox = RectIn(dialog, message).bottom <=
                                                     RectIn(dialog, GetDlgItem(dialog, IDC_WARN_FRAME)).top;
                          Press(dialog, IDC_WARN_NO);
                        }}});
    box.DoModal();
    EXPECT_TRUE(robot.Finished());
    return shown;
  };
  const Shown one = show("The source archive holds no entries."), several = show(NotSecuredList(6)),
              many = show(NotSecuredList(60));
  EXPECT_GT(several.height, one.height) << "the box grows with its message";
  EXPECT_GT(many.height, several.height);
  RECT work;
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
  EXPECT_LE(many.height, work.bottom - work.top) << "a list longer than the screen scrolls";
  EXPECT_GE(many.lines, 61);
  for (const Shown* shown : {&one, &several, &many}) {
    EXPECT_TRUE(shown->firstInView && shown->lastInView) << shown->lines << " lines";
    EXPECT_TRUE(shown->clearOfTheCheckBox) << shown->lines << " lines";
  }
}

// ---- history combo

class HistoryTest : public ::testing::Test {
 protected:
  static constexpr UINT kComboId = 300;
  void SetUp() override {
    RegDeleteTreeA(HKEY_CURRENT_USER, kKey);
    parent_.CreateEx(0, AfxRegisterWndClass(0), "history", WS_POPUP | WS_VISIBLE, 0, 0, 400, 300, nullptr, nullptr);
    combo_.Create(WS_CHILD | WS_VISIBLE | CBS_DROPDOWN, CRect(10, 10, 300, 200), &parent_, kComboId);
    combo_.SetHistoryKey(kKey);
  }
  void TearDown() override {
    if (combo_.GetSafeHwnd()) combo_.DestroyWindow();
    parent_.DestroyWindow();
  }
  void Store(int n, const void* bytes, DWORD size) {
    HKEY key;
    RegCreateKeyA(HKEY_CURRENT_USER, kKey, &key);
    RegSetValueExA(key, ("Item" + std::to_string(n)).c_str(), 0, REG_SZ, static_cast<const BYTE*>(bytes), size);
    RegCloseKey(key);
  }
  std::vector<std::string> Stored() {
    std::vector<std::string> values;
    HKEY key;
    if (RegOpenKeyA(HKEY_CURRENT_USER, kKey, &key) != ERROR_SUCCESS) return values;
    for (int n = 0;; ++n) {
      char value[300] = {};
      DWORD size = sizeof value;
      if (RegQueryValueExA(key, ("Item" + std::to_string(n)).c_str(), nullptr, nullptr, reinterpret_cast<BYTE*>(value),
                           &size) != ERROR_SUCCESS)
        break;
      values.push_back(value);
    }
    RegCloseKey(key);
    return values;
  }
  void AddRows(int count) {
    for (int i = 0; i < count; ++i) {
      const std::string text = "C:\\project" + std::to_string(i) + ".zip";
      COMBOBOXEXITEMA item = {};
      item.mask = CBEIF_TEXT;
      item.iItem = i;
      item.pszText = const_cast<char*>(text.c_str());
      combo_.InsertItem(&item);
    }
  }
  std::vector<std::string> Rows() {
    std::vector<std::string> rows;
    for (int i = 0; i < combo_.GetCount(); ++i) {
      char text[300] = {};
      COMBOBOXEXITEMA item = {};
      item.mask = CBEIF_TEXT;
      item.iItem = i;
      item.pszText = text;
      item.cchTextMax = sizeof text;
      combo_.GetItem(&item);
      rows.push_back(text);
    }
    return rows;
  }
  static constexpr char kKey[] = "Software\\Brennicor Builder Dialogs Test\\ComboBxsEx\\Test";
  CWnd parent_;
  CMyHistoryComboBoxExtended combo_;
};

TEST_F(HistoryTest, SixteenRowsLeaveNoRoomForTheEditText) {
  AddRows(kHistoryItems);
  combo_.SetWindowText("C:\\new.zip");
  EXPECT_EQ(1, combo_.SaveHistory());
  const std::vector<std::string> stored = Stored();
  ASSERT_EQ(16u, stored.size());
  EXPECT_EQ("C:\\project0.zip", stored[0]);
  EXPECT_EQ("C:\\project15.zip", stored[15]);
}

TEST_F(HistoryTest, FewerRowsSaveTheEditTextLastEvenARepeatAndOnDestroy) {
  AddRows(2);
  combo_.SetWindowText("C:\\project0.zip");
  combo_.DestroyWindow();
  const std::vector<std::string> stored = Stored();
  const std::vector<std::string> expected = {"C:\\project0.zip", "C:\\project1.zip", "C:\\project0.zip"};
  EXPECT_EQ(expected, stored);
}

TEST_F(HistoryTest, LoadSkipsRepeatsAndEmptiesAndEndsAnUnterminatedValue) {
  const std::string full(kHistoryValueBytes, 'x');  // fills the value, no terminator
  Store(0, "C:\\a.zip", 9);
  Store(1, "C:\\a.zip", 9);
  Store(2, "", 1);
  Store(3, full.data(), kHistoryValueBytes);
  Store(4, "C:\\b.zip", 9);
  combo_.SetWindowText("typed");
  EXPECT_EQ(1, combo_.LoadHistory());
  const std::vector<std::string> expected = {"C:\\a.zip", full, "C:\\b.zip", "typed"};
  EXPECT_EQ(expected, Rows());
  EXPECT_EQ(1, combo_.FindItem(full.c_str()));
  EXPECT_EQ(-1, combo_.FindItem("c:\\A.ZIP")) << "compared case and all";
  combo_.LoadHistory();
  EXPECT_EQ(4u, Rows().size()) << "loading again adds nothing";
}

TEST_F(HistoryTest, TheDropDownReloadsTheHistory) {
  Store(0, "C:\\a.zip", 9);
  parent_.SendMessage(WM_COMMAND, MAKEWPARAM(kComboId, CBN_DROPDOWN), reinterpret_cast<LPARAM>(combo_.GetSafeHwnd()));
  EXPECT_EQ(std::vector<std::string>{"C:\\a.zip"}, Rows());
  EXPECT_NE(nullptr, reinterpret_cast<HIMAGELIST>(combo_.SendMessage(CBEM_GETIMAGELIST)));
}

// ---- about box

TEST(AboutBox, OpensSystemInformationOverItselfAndComesBack) {
  std::string title, products;
  HWND about = nullptr;
  bool aboutWaited = false;
  DialogRobot robot({{kProductTitle, [&](HWND box) {
                        about = box;
                        title = ItemText(box, IDC_ABOUT_TITLE);
                        products = ItemText(box, IDC_ABOUT_PRODUCTS_LINK);
                        Press(box, IDC_ABOUT_SYSTEM_INFO);
                      }},
                     {"System Information", [&](HWND dialog) {
                        aboutWaited = !IsWindowEnabled(about);
                        Press(dialog, IDOK);
                      }},
                     {kProductTitle, [](HWND box) { Press(box, IDOK); }}});
  ShowAboutBox();
  EXPECT_TRUE(robot.Finished());
  EXPECT_TRUE(aboutWaited) << "the about box stays disabled under System Information";
  EXPECT_EQ(kProductTitle, title);
  EXPECT_EQ(kProductTitle, Builder().productTitle);
  EXPECT_EQ(0u, products.find("http://"));
}

// ---- project prompts in the system file dialog

class ProjectPromptsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    main_.CreateEx(0, AfxRegisterWndClass(0), "main", WS_POPUP | WS_VISIBLE, 0, 0, 200, 100, nullptr, nullptr);
    Builder().mainWindow = &main_;
  }
  void TearDown() override {
    Builder().mainWindow = nullptr;
    main_.DestroyWindow();
  }
  static std::string Scratch(const char* name) {
    std::string path = std::string(BRENNICOR_TEST_WORK) + "\\builder_prompts_" + name;
    for (char& c : path)
      if (c == '/') c = '\\';
    DeleteFileA(path.c_str());
    return path;
  }
  CWnd main_;
};

TEST_F(ProjectPromptsTest, SaveAsAddsTheProjectExtension) {
  const std::string typed = Scratch("proj");
  DeleteFileA((typed + ".ssf").c_str());
  char buffer[260] = "left alone on cancel";
  DialogRobot robot({{"Save SFX Project As...", [&](HWND dialog) { ChooseFile(dialog, typed); }}});
  EXPECT_EQ(1, PromptSaveProjectAs(&main_, buffer));
  EXPECT_TRUE(robot.Finished());
  EXPECT_STREQ((typed + ".ssf").c_str(), buffer);
}

TEST_F(ProjectPromptsTest, OpenGivesTheChosenFileAndCancelGivesNothing) {
  const std::string project = Scratch("existing.ssf");
  CloseHandle(CreateFileA(project.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
  CString chosen;
  {
    DialogRobot robot({{"Open", [&](HWND dialog) { ChooseFile(dialog, project); }}});
    EXPECT_EQ(1, PromptOpenProject(&chosen));
    EXPECT_TRUE(robot.Finished());
  }
  EXPECT_STREQ(project.c_str(), chosen);
  {
    DialogRobot robot({{"Open", [](HWND dialog) { Press(dialog, IDCANCEL); }}});
    EXPECT_EQ(0, PromptOpenProject(&chosen));
    EXPECT_TRUE(robot.Finished());
  }
  char buffer[260] = "kept";
  DialogRobot robot({{"Save SFX Project As...", [](HWND dialog) { Press(dialog, IDCANCEL); }}});
  EXPECT_EQ(0, PromptSaveProjectAs(&main_, buffer));
  EXPECT_TRUE(robot.Finished());
  EXPECT_STREQ("kept", buffer);
}

TEST_F(ProjectPromptsTest, NoPromptBeforeTheMainWindowIsSet) {
  Builder().mainWindow = nullptr;
  CString chosen = "kept";
  char buffer[260] = "kept";
  const DWORD start = GetTickCount();
  EXPECT_EQ(0, PromptOpenProject(&chosen));
  EXPECT_EQ(0, PromptSaveProjectAs(&main_, buffer));
  EXPECT_LT(GetTickCount() - start, 1000u) << "no dialog waited for an answer";
  EXPECT_STREQ("kept", chosen);
  EXPECT_STREQ("kept", buffer);
}

// ---- archive password prompt

TEST(ArchivePassword, TheTypedPasswordComesBackOnOk) {
  CLiteZipPasswrdCallback prompt(nullptr);
  DialogRobot robot({{"Password Required...", [](HWND dialog) {
                        TypeInto(dialog, IDC_PASSWORD_EDIT, "s3cret%s");
                        Press(dialog, IDOK);
                      }}});
  EXPECT_EQ(IDOK, prompt.DoModal());
  EXPECT_TRUE(robot.Finished());
  EXPECT_STREQ("s3cret%s", prompt.password());

  CLiteZipPasswrdCallback cancelled(nullptr);
  DialogRobot cancel({{"Password Required...", [](HWND dialog) {
                         TypeInto(dialog, IDC_PASSWORD_EDIT, "typed");
                         Press(dialog, IDCANCEL);
                       }}});
  EXPECT_EQ(IDCANCEL, cancelled.DoModal());
  EXPECT_TRUE(cancel.Finished());
  EXPECT_STREQ("", cancelled.password());
}

// ---- transparent bitmaps

// A 32-bit DIB section whose pixels the test reads back.
struct PixelCanvas {
  PixelCanvas(int width, int height) {
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    dc = CreateCompatibleDC(nullptr);
    bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&pixels), nullptr, 0);
    old = SelectObject(dc, bitmap);
    this->width = width;
  }
  ~PixelCanvas() {
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
  }
  COLORREF At(int x, int y) const {
    const DWORD p = pixels[y * width + x];
    return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
  }
  HDC dc;
  HBITMAP bitmap;
  HGDIOBJ old;
  DWORD* pixels = nullptr;
  int width;
};

TEST(TransparentBitmap, TheKeyedColourShowsTheBackground) {
  const COLORREF red = RGB(200, 0, 0), blue = RGB(0, 0, 160);
  const COLORREF row[4] = {kTransparentGreen, red, kTransparentWhite, red};
  for (COLORREF key : {kTransparentGreen, kTransparentWhite}) {
    PixelCanvas art(4, 1);
    for (int x = 0; x < 4; ++x) SetPixel(art.dc, x, 0, row[x]);
    GdiFlush();
    PixelCanvas target(8, 3);
    RECT all = {0, 0, 8, 3};
    HBRUSH background = CreateSolidBrush(blue);
    FillRect(target.dc, &all, background);
    DeleteObject(background);
    SelectObject(art.dc, art.old);  // a bitmap is drawn from outside any DC
    DrawTransparentBitmap(target.dc, art.bitmap, 2, 1, key);
    art.old = SelectObject(art.dc, art.bitmap);
    GdiFlush();
    for (int x = 0; x < 4; ++x) {
      const COLORREF expected = row[x] == key ? blue : row[x];
      EXPECT_EQ(expected, target.At(2 + x, 1)) << "pixel " << x << " keyed " << std::hex << key;
    }
    EXPECT_EQ(blue, target.At(1, 1));
    EXPECT_EQ(blue, target.At(2, 0));
    EXPECT_EQ(row[0], art.At(0, 0)) << "the bitmap comes back unchanged";
  }
}

}  // namespace
