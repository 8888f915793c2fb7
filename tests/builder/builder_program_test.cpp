// The builder program as a user meets it: its first start, the frame's size,
// place and stored flags, the quick panel, the start page's links and every
// road that opens a project, good or bad.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <fstream>
#include <memory>
#include <sstream>
#include <vector>

#include "ProjectFile.h"
#include "ProjectSettings.h"
#include "builder_process.h"
#include "dialog_robot.h"
#include "window_search.h"

namespace {

constexpr char kFrameSuffix[] = " - Korvane Brennicor";
constexpr int kWarningBoxYes = 6, kWarningBoxNo = 7, kWarningBoxMessage = 4490, kBuildTitle = 1258;
constexpr UINT kResetWarningBoxes = 216, kQuickPanel = 32773, kBuild = 32786, kFileNew = 57600, kFileOpen = 57601,
               kFileSave = 57603, kFileSaveAs = 57604, kFirstRecentFile = 57616;

std::string FileBytes(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << file.rdbuf();
  return bytes.str();
}

void WriteBytes(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

HWND ChildWithText(HWND parent, const std::string& text) {
  return FindDescendant(parent, [&](HWND window) { return WindowText(window) == text; });
}

HWND StartPage(HWND frame) {
  HWND link = ChildWithText(frame, "Open Brennicor Project...");
  return link ? GetParent(link) : nullptr;
}

// The visible links of the start page, top to bottom: text and top in the page.
struct ShownLink {
  std::string text;
  int top;
};
std::vector<ShownLink> ShownLinks(HWND page) {
  std::vector<ShownLink> links;
  for (HWND child = GetWindow(page, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    if (!IsWindowVisible(child)) continue;
    RECT rect;
    GetWindowRect(child, &rect);
    MapWindowPoints(nullptr, page, reinterpret_cast<POINT*>(&rect), 2);
    links.push_back({WindowText(child), rect.top});
  }
  std::sort(links.begin(), links.end(), [](const ShownLink& a, const ShownLink& b) { return a.top < b.top; });
  return links;
}

int Width(HWND window) {
  RECT rect;
  GetWindowRect(window, &rect);
  return rect.right - rect.left;
}

std::string Project(const std::string& folder, const char* name, const char* zip) {
  ProjectSettings record;
  ResetDefaults(record);
  record.sourceArchive = zip;
  record.outputName = "C:\\out\\program.exe";
  const std::string path = folder + "\\" + name;
  EXPECT_TRUE(SaveProjectFile(record, path.c_str()));
  return path;
}

// A project whose header no longer checks.
std::string Damaged(const std::string& good, const std::string& path) {
  std::string bytes = FileBytes(good);
  bytes[4] ^= 0x5A;
  WriteBytes(path, bytes);
  return path;
}

std::string LoadedZip(const std::string& path) {
  ProjectSettings record;
  return LoadProjectFile(record, path.c_str()) == 0 ? record.sourceArchive : "(unreadable)";
}

// Whether the thread of window runs a move or size loop.
bool InMoveLoop(HWND window) {
  GUITHREADINFO info = {};
  info.cbSize = sizeof info;
  return GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info) && (info.flags & GUI_INMOVESIZE);
}

// Presses the left button at from over window, moves in steps to to once
// window's move loop runs, and lets go there; returns once the loop ended.
void DragMouse(HWND window, POINT from, POINT to) {
  MoveCursor(from);
  SendMouseButton(MOUSEEVENTF_LEFTDOWN);
  WaitUntil([&] { return InMoveLoop(window); }, 2000);
  for (int step = 1; step <= 4; ++step)
    MoveCursor({from.x + (to.x - from.x) * step / 4, from.y + (to.y - from.y) * step / 4});
  SendMouseButton(MOUSEEVENTF_LEFTUP);
  WaitUntil([&] { return !InMoveLoop(window); }, 2000);
}

HWND ControlOf(HWND frame, int id) {
  return FindDescendant(frame, [&](HWND window) { return GetDlgCtrlID(window) == id; });
}

HWND FirstVisibleEdit(HWND frame) {
  return FindDescendant(frame, [](HWND window) { return HasClass(window, "Edit") && IsWindowVisible(window); });
}

// What the General page's zip box shows.
std::string ShownZip(HWND frame) {
  char text[512] = {};
  if (HWND box = FirstVisibleEdit(frame)) SendMessageA(box, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
  return text;
}

}  // namespace

TEST(BuilderStartUp, FirstStartShowsTheTipThenACentredUntitledFrameThatStoresItsPlaceAndFlags) {
  ClearBuilderProfile();
  BuilderProcess builder("first_start");
  ASSERT_TRUE(builder.Start());
  HWND tip = builder.WaitForCaption("Tip of the Day");
  ASSERT_TRUE(tip);
  EXPECT_EQ(GetWindow(tip, GW_OWNER), nullptr) << "the tip shows before there is a main window";
  EXPECT_EQ(builder.WaitForFrame(0), nullptr) << "the frame shows once the tip is closed";
  EXPECT_EQ(FileBytes(builder.folder() + "\\KorvaneBrennicorTipsFile.txt"),
            "Technical support is just a phone call away, feel free to contact us at anytime with your support or "
            "sales questions\r\nWe are always here to help!");
  PostMessageA(tip, WM_COMMAND, IDOK, 0);

  HWND frame = builder.WaitForFrame();
  ASSERT_TRUE(frame);
  EXPECT_EQ(WindowText(frame), std::string("Untitled") + kFrameSuffix);
  RECT rect, desktop;
  GetWindowRect(frame, &rect);
  GetWindowRect(GetDesktopWindow(), &desktop);
  EXPECT_EQ(rect.right - rect.left, 860);
  EXPECT_EQ(rect.bottom - rect.top, 640);
  EXPECT_NEAR(rect.left + rect.right, desktop.left + desktop.right, 2);
  EXPECT_NEAR(rect.top + rect.bottom, desktop.top + desktop.bottom, 2);

  EXPECT_EQ(builder.Close(frame), 0u);
  EXPECT_EQ(ProfileBinary("Settings", "Window Position").size(), 48u);
  DWORD xpLook = 0, quickPanel = 0;
  EXPECT_TRUE(ProfileInt("Settings", "bXPMode", &xpLook));
  EXPECT_TRUE(ProfileInt("Settings", "bQUCKLftPnl", &quickPanel));
  EXPECT_EQ(xpLook, 1u);
  EXPECT_EQ(quickPanel, 1u);
}

TEST(BuilderStartUp, ASecondStartKeepsTheTipsFileAndReopensWhereTheFrameWasClosed) {
  ClearBuilderProfile();
  BuilderProcess builder("second_start");
  const std::string tips = builder.folder() + "\\KorvaneBrennicorTipsFile.txt";
  WriteBytes(tips, "Our own tip\n");
  for (int run = 0; run < 2; ++run) {
    ASSERT_TRUE(builder.Start());
    HWND tip = builder.WaitForCaption("Tip of the Day");
    ASSERT_TRUE(tip);
    PostMessageA(tip, WM_COMMAND, IDOK, 0);
    HWND frame = builder.WaitForFrame();
    ASSERT_TRUE(frame);
    RECT rect;
    GetWindowRect(frame, &rect);
    if (run == 0) {
      // Larger than the least that shows the pages whole, which a restored frame keeps to.
      SetWindowPos(frame, nullptr, 40, 50, 1000, 760, SWP_NOZORDER);
      ASSERT_TRUE(WaitUntil([&] { return GetWindowRect(frame, &rect) && rect.left == 40; }));
    } else {
      // The frame shows first where it is made, then where it was closed.
      EXPECT_TRUE(WaitUntil([&] {
        return GetWindowRect(frame, &rect) && rect.left == 40 && rect.top == 50 && rect.right - rect.left == 1000;
      })) << rect.left << ", " << rect.top;
    }
    EXPECT_EQ(builder.Close(frame), 0u);
  }
  EXPECT_EQ(FileBytes(tips), "Our own tip\n");
}

TEST(BuilderFrame, TheQuickPanelStartsHiddenWhenStoredSoAndComesBackAt300Pixels) {
  ClearBuilderProfile();
  SkipTipOfTheDay();
  SetProfileInt("Settings", "bQUCKLftPnl", 0);
  BuilderProcess builder("quick_panel");
  ASSERT_TRUE(builder.Start());
  HWND frame = builder.WaitForFrame();
  ASSERT_TRUE(frame);
  HWND page = StartPage(frame);
  ASSERT_TRUE(page);
  EXPECT_FALSE(IsWindowVisible(page));
  SendMessageA(frame, WM_COMMAND, kQuickPanel, 0);
  EXPECT_TRUE(IsWindowVisible(page));
  EXPECT_EQ(Width(page), 300);
  SendMessageA(frame, WM_COMMAND, kQuickPanel, 0);
  EXPECT_FALSE(IsWindowVisible(page));
  SendMessageA(frame, WM_COMMAND, kQuickPanel, 0);
  EXPECT_EQ(Width(page), 300);
  EXPECT_EQ(builder.Close(frame), 0u);
  DWORD quickPanel = 0;
  EXPECT_TRUE(ProfileInt("Settings", "bQUCKLftPnl", &quickPanel));
  EXPECT_EQ(quickPanel, 1u);
}

TEST(BuilderStartPage, ListsTheRecentProjectsThatStillExistAboveTheHelpLinks) {
  const std::string shortPath = "C:\\bp_a.ssf";
  WriteBytes(shortPath, "x");
  struct Case {
    std::vector<std::string> recent;
    std::vector<ShownLink> expected;  // below the four action links
  };
  BuilderProcess builder("start_page");
  const std::string longPath = builder.folder() + "\\a project with a rather long name.ssf";
  WriteBytes(longPath, "x");
  const Case cases[] = {
      {{}, {{"Korvane Brennicor FAQ", 303}, {"How To...", 328}, {"Korvane Brennicor Help", 353}}},
      {{shortPath, builder.folder() + "\\gone.ssf", longPath},
       {{shortPath, 258},
        {"..." + longPath.substr(longPath.size() - 35), 283},
        {"Korvane Brennicor FAQ", 353},
        {"How To...", 378},
        {"Korvane Brennicor Help", 403}}},
  };
  for (const Case& c : cases) {
    ClearBuilderProfile();
    SkipTipOfTheDay();
    for (size_t i = 0; i < c.recent.size(); ++i)
      SetProfileString("Recent File List", ("File" + std::to_string(i + 1)).c_str(), c.recent[i]);
    ASSERT_TRUE(builder.Start());
    HWND frame = builder.WaitForFrame();
    ASSERT_TRUE(frame);
    HWND page = StartPage(frame);
    ASSERT_TRUE(page);
    // The links take their places when the page paints.
    auto placed = [&] {
      const std::vector<ShownLink> links = ShownLinks(page);
      if (links.size() != 4 + c.expected.size()) return false;
      for (size_t i = 0; i < c.expected.size(); ++i)
        if (links[4 + i].text != c.expected[i].text || links[4 + i].top != c.expected[i].top) return false;
      return true;
    };
    EXPECT_TRUE(WaitUntil(placed)) << c.recent.size() << " recent files";
    EXPECT_EQ(builder.Close(frame), 0u);
  }
  DeleteFileA(shortPath.c_str());
}

// Each road that opens a project, tried on a file that is no project and on
// a damaged one, then on a project: a failure is reported and changes
// nothing (title, project, the file Save writes); a project is taken.
class BuilderOpenRoads : public ::testing::TestWithParam<const char*> {
 protected:
  void SetUp() override {
    ClearBuilderProfile();
    SkipTipOfTheDay();
    builder_ = std::make_unique<BuilderProcess>(GetParam());
    first_ = Project(builder_->folder(), "first.ssf", "C:\\first.zip");
    second_ = Project(builder_->folder(), "second.ssf", "C:\\second.zip");
    notProject_ = builder_->folder() + "\\notes.ssf";
    WriteBytes(notProject_, "PRJ_TAG = not really a project\r\n");
    damaged_ = Damaged(second_, builder_->folder() + "\\damaged.ssf");
    const std::string recent[] = {notProject_, damaged_, second_};
    for (int i = 0; i < 3; ++i) SetProfileString("Recent File List", ("File" + std::to_string(i + 1)).c_str(), recent[i]);
  }

  // Opens path by the road under test; true when a box said it failed.
  bool OpenBy(HWND frame, const std::string& path) {
    const std::string road = GetParam();
    const std::string title = WindowText(frame);
    if (road == "file_open") {
      PostMessageA(frame, WM_COMMAND, kFileOpen, 0);
      HWND dialog = builder_->WaitForDialog();
      if (!dialog) return false;
      ChooseFile(dialog, path);
      WaitUntil([&] { return !IsWindow(dialog); });
    } else if (road == "recent_file") {
      PostMessageA(frame, WM_COMMAND, kFirstRecentFile + RecentIndex(path), 0);
    } else {
      HWND page = StartPage(frame);
      HWND link = nullptr;
      WaitUntil([&] {
        link = ChildWithText(page, RecentLinkText(path));
        return link && IsWindowVisible(link);
      });
      if (!link) return false;
      // What the link's static sends when it is clicked.
      PostMessageA(page, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(link), STN_CLICKED), reinterpret_cast<LPARAM>(link));
    }
    HWND box = nullptr;
    WaitUntil([&] {
      box = builder_->WaitForDialog(nullptr, 0);
      // The class library's open asks first whether to save the open project.
      if (box && MessageBoxText(box).find("Save changes") == 0) {
        PostMessageA(box, WM_COMMAND, IDNO, 0);
        WaitUntil([&] { return !IsWindow(box); });
        box = nullptr;
      }
      return box || WindowText(frame) != title;
    });
    if (!box) return false;
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    WaitUntil([&] { return !IsWindow(box); });
    return true;
  }

  // The recent list as the builder keeps it once the first project is open.
  int RecentIndex(const std::string& path) {
    const std::string order[] = {first_, notProject_, damaged_, second_};
    for (int i = 0; i < 4; ++i)
      if (order[i] == path) return i;
    return 0;
  }

  static std::string RecentLinkText(const std::string& path) {
    return path.size() <= 35 ? path : "..." + path.substr(path.size() - 35);
  }

  std::unique_ptr<BuilderProcess> builder_;
  std::string first_, second_, notProject_, damaged_;
};

TEST_P(BuilderOpenRoads, FailuresKeepTheOpenProjectAndAProjectIsTaken) {
  ASSERT_TRUE(builder_->Start("\"" + first_ + "\""));
  HWND frame = builder_->WaitForFrame();
  ASSERT_TRUE(frame);
  const std::string firstTitle = "first.ssf" + std::string(kFrameSuffix);
  ASSERT_TRUE(WaitUntil([&] { return WindowText(frame) == firstTitle; })) << WindowText(frame);
  const std::string damagedBytes = FileBytes(damaged_);
  EXPECT_TRUE(WaitUntil([&] { return ShownZip(frame) == "C:\\first.zip"; })) << ShownZip(frame);
  for (const std::string& bad : {notProject_, damaged_}) {
    EXPECT_TRUE(OpenBy(frame, bad)) << bad << " is reported";
    EXPECT_EQ(WindowText(frame), firstTitle);
    EXPECT_EQ(ShownZip(frame), "C:\\first.zip");
  }
  MakeOld(first_);
  const ULONGLONG before = WriteTime(first_);
  SendMessageA(frame, WM_COMMAND, kFileSave, 0);
  EXPECT_NE(WriteTime(first_), before) << "Save writes the open project";
  EXPECT_EQ(LoadedZip(first_), "C:\\first.zip");
  EXPECT_TRUE(FileBytes(damaged_) == damagedBytes) << "a file that failed to open is never written";

  EXPECT_FALSE(OpenBy(frame, second_));
  EXPECT_TRUE(WaitUntil([&] { return WindowText(frame) == "second.ssf" + std::string(kFrameSuffix); }));
  EXPECT_TRUE(WaitUntil([&] { return ShownZip(frame) == "C:\\second.zip"; })) << ShownZip(frame);
  EXPECT_EQ(builder_->Close(frame), 0u);
}

INSTANTIATE_TEST_SUITE_P(Roads, BuilderOpenRoads, ::testing::Values("file_open", "recent_file", "start_page_link"));

TEST(BuilderCommandLine, OpensTheProjectItNamesAndStartsUntitledAfterReportingOneItCannot) {
  ClearBuilderProfile();
  SkipTipOfTheDay();
  BuilderProcess builder("command_line");
  const std::string good = Project(builder.folder(), "good.ssf", "C:\\good.zip");
  const std::string notProject = builder.folder() + "\\notes.ssf";
  WriteBytes(notProject, "hello");
  const std::string damaged = Damaged(good, builder.folder() + "\\damaged.ssf");
  struct Case {
    std::string path;
    std::string title;
    bool reported;
    std::string zip;  // the General page shows
  } cases[] = {
      {good, "good.ssf", false, "C:\\good.zip"},
      {notProject, "Untitled", true, ""},
      {damaged, "Untitled", true, ""},
  };
  for (const Case& c : cases) {
    ASSERT_TRUE(builder.Start("\"" + c.path + "\""));
    if (c.reported) {
      HWND box = builder.WaitForDialog();
      ASSERT_TRUE(box) << c.path;
      PostMessageA(box, WM_COMMAND, IDOK, 0);
    }
    HWND frame = builder.WaitForFrame();
    ASSERT_TRUE(frame);
    EXPECT_TRUE(WaitUntil([&] { return WindowText(frame) == c.title + kFrameSuffix; })) << WindowText(frame);
    EXPECT_TRUE(WaitUntil([&] { return FirstVisibleEdit(frame) && ShownZip(frame) == c.zip; })) << ShownZip(frame);
    EXPECT_EQ(builder.Close(frame), 0u);
  }
}

TEST(BuilderCommands, ResetDeletesEveryStoredWarningAnswerAndSaysSo) {
  ClearBuilderProfile();
  SkipTipOfTheDay();
  SetProfileInt("Settings\\WarningMessageBxs", "SomeWarning", 1);
  BuilderProcess builder("reset");
  ASSERT_TRUE(builder.Start());
  HWND frame = builder.WaitForFrame();
  ASSERT_TRUE(frame);
  PostMessageA(frame, WM_COMMAND, kResetWarningBoxes, 0);
  HWND box = builder.WaitForDialog();
  ASSERT_TRUE(box);
  EXPECT_EQ(ItemText(box, kWarningBoxMessage), "Warning MessageBoxes Information has been updated in the registry!");
  DWORD answer = 0;
  EXPECT_FALSE(ProfileInt("Settings\\WarningMessageBxs", "SomeWarning", &answer));
  PostMessageA(box, WM_COMMAND, kWarningBoxYes, 0);
  EXPECT_EQ(builder.Close(frame), 0u);
}

// Real mouse input: the page hands the press to the frame as a caption
// press, whose move loop takes screen coordinates. Wine's loop may miss a
// press that comes before its cursor has caught up; the drag is repeated
// until the frame moves, and then it must have moved by the drag alone.
TEST(BuilderStartPage, PressingThePageOutsideItsLinksDragsTheMainWindow) {
  ClearBuilderProfile();
  SkipTipOfTheDay();
  BuilderProcess builder("drag");
  ASSERT_TRUE(builder.Start());
  HWND frame = builder.WaitForFrame();
  ASSERT_TRUE(frame);
  HWND page = StartPage(frame);
  ASSERT_TRUE(page);
  RECT before, after;
  GetWindowRect(frame, &before);
  POINT press = {150, 500};
  ClientToScreen(page, &press);
  const bool moved = WaitUntil([&] {
    DragMouse(frame, press, {press.x + 40, press.y + 30});
    return GetWindowRect(frame, &after) && !EqualRect(&after, &before);
  });
  ASSERT_TRUE(moved);
  EXPECT_EQ(after.left - before.left, 40);
  EXPECT_EQ(after.top - before.top, 30);
  EXPECT_EQ(builder.Close(frame), 0u);
}

// A build pumps messages while it works: closing, New, Open, Save, Save As
// and building again arrive meanwhile and are refused, or they would free,
// replace or write the project the build reads.
TEST(BuilderBuild, ClosingOpeningAndBuildingWaitWhileABuildRuns) {
  ClearBuilderProfile();
  SkipTipOfTheDay();
  BuilderProcess builder("long_build");
  const std::string zip = builder.folder() + "\\..\\long_build.zip";
  const std::string output = builder.folder() + "\\long_build.exe";
  ProjectSettings record;
  ResetDefaults(record);
  record.sourceArchive = zip;
  record.outputName = output;
  const std::string project = builder.folder() + "\\long_build.ssf";
  ASSERT_TRUE(SaveProjectFile(record, project.c_str()));
  ASSERT_TRUE(builder.Start("\"" + project + "\""));
  HWND frame = builder.WaitForFrame();
  ASSERT_TRUE(frame);
  const std::string title = "long_build.ssf" + std::string(kFrameSuffix);
  ASSERT_TRUE(WaitUntil([&] { return WindowText(frame) == title; }));

  PostMessageA(frame, WM_COMMAND, kBuild, 0);
  // The build asks first whether to go back and choose a password: no.
  HWND running = nullptr;
  ASSERT_TRUE(WaitUntil(
      [&] {
        if (HWND box = builder.WaitForDialog(nullptr, 0)) PostMessageA(box, WM_COMMAND, kWarningBoxNo, 0);
        running = ControlOf(frame, kBuildTitle);
        return running && WindowText(running).find("in progress") != std::string::npos;
      },
      30000));
  MakeOld(project);
  const ULONGLONG saved = WriteTime(project);
  for (UINT command : {kFileNew, kFileOpen, kFileSave, kFileSaveAs, kBuild})
    PostMessageA(frame, WM_COMMAND, command, 0);
  PostMessageA(frame, WM_CLOSE, 0, 0);
  ASSERT_TRUE(WaitUntil([&] { return WindowText(running).find("in progress") == std::string::npos; }, 60000));

  EXPECT_EQ(builder.WaitForExit(0), DWORD(STILL_ACTIVE)) << "closing was refused";
  EXPECT_EQ(builder.WaitForDialog(nullptr, 1000), nullptr) << "no open or save dialog, no second build";
  EXPECT_EQ(WindowText(frame), title) << "no new project";
  EXPECT_EQ(WriteTime(project), saved) << "no save";
  EXPECT_NE(GetFileAttributesA(output.c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(builder.Close(frame), 0u);
}

// The settings sheet is a dialog that takes every key it sees: the frame's
// shortcuts must still work while one of its pages has the focus.
TEST(BuilderFrame, ShortcutsWorkWhileAPageHasTheFocus) {
  ClearBuilderProfile();
  SkipTipOfTheDay();
  BuilderProcess builder("page_keys");
  const std::string zip = builder.folder() + "\\..\\long_build.zip";
  const std::string project = Project(builder.folder(), "keys.ssf", zip.c_str());
  ASSERT_TRUE(builder.Start("\"" + project + "\""));
  HWND frame = builder.WaitForFrame();
  ASSERT_TRUE(frame);
  HWND zipBox = nullptr;
  // The zip name's box: the first edit box of the General page.
  ASSERT_TRUE(WaitUntil([&] { return (zipBox = FirstVisibleEdit(frame)) != nullptr; }));
  RECT box;
  GetWindowRect(zipBox, &box);
  const DWORD thread = GetWindowThreadProcessId(frame, nullptr);
  GUITHREADINFO info = {sizeof info};
  ASSERT_TRUE(WaitUntil([&] {
    SetForegroundWindow(frame);
    ClickWithMouse({(box.left + box.right) / 2, (box.top + box.bottom) / 2});
    return GetGUIThreadInfo(thread, &info) && info.hwndFocus == zipBox;
  }));
  SendKey(VK_CONTROL, true);
  SendKey('O', true);
  SendKey('O', false);
  SendKey(VK_CONTROL, false);
  HWND open = builder.WaitForDialog();
  ASSERT_TRUE(open) << "Ctrl+O from inside the General page";
  EXPECT_EQ(WindowText(open), "Open");
  PostMessageA(open, WM_COMMAND, IDCANCEL, 0);
  ASSERT_TRUE(WaitUntil([&] { return !IsWindow(open); }));
  EXPECT_EQ(builder.Close(frame), 0u);
}
