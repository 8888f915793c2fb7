// The builder program after each of its commands: the settings sheet and
// its current page are on the screen as they draw themselves, and a click
// reaches the page.
#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "ProjectFile.h"
#include "builder_driving.h"
#include "builder_resource.h"
#include "dialog_robot.h"
#include "keyboard_input.h"
#include "window_search.h"

namespace {

// The screen's pixels over a window, as they are now: nothing is repainted first.
std::vector<COLORREF> ScreenPixels(HWND window) {
  RECT rect;
  GetWindowRect(window, &rect);
  const int width = rect.right - rect.left, height = rect.bottom - rect.top;
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
  HGDIOBJ old = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, width, height, screen, rect.left, rect.top, SRCCOPY);
  std::vector<COLORREF> pixels;
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) pixels.push_back(GetPixel(memory, x, y));
  SelectObject(memory, old);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return pixels;
}

// The screen's pixels over a window once they stay the same for a while:
// the program has painted what it was going to paint.
std::vector<COLORREF> SettledPixels(HWND window) {
  std::vector<COLORREF> last = ScreenPixels(window);
  int sameInARow = 0;
  WaitUntil(
      [&] {
        std::vector<COLORREF> now = ScreenPixels(window);
        sameInARow = now == last ? sameInARow + 1 : 0;
        last = std::move(now);
        return sameInARow >= 10;
      },
      10000);
  return last;
}

// The share of pixels that differ between two pictures of one window.
double DifferingShare(const std::vector<COLORREF>& a, const std::vector<COLORREF>& b) {
  if (a.size() != b.size() || a.empty()) return 1;
  size_t differ = 0;
  for (size_t i = 0; i < a.size(); ++i) differ += a[i] != b[i];
  return double(differ) / a.size();
}

class CommandsKeepTheSheet : public DrivenBuilder {
 protected:
  CommandsKeepTheSheet() : DrivenBuilder("commands-sheet") {}
  void SetUp() override {
    ClearBuilderProfile();
    SkipTipOfTheDay();
    ProjectSettings record;
    ResetDefaults(record);
    record.sourceArchive = zip_;
    record.outputName = folder_ + "program.exe";
    ASSERT_TRUE(SaveProjectFile(record, project().c_str()));
    ASSERT_NO_FATAL_FAILURE(StartBuilder("\"" + project() + "\""));
    ASSERT_TRUE(InFront());
  }

  std::string project() const { return folder_ + "kept.ssf"; }

  // The sheet and its current page are shown, the screen holds what they
  // draw when asked to, and a click on the page's first check box ticks it.
  void ExpectTheSheetTakesInput(const char* after) {
    SCOPED_TRACE(after);
    ASSERT_TRUE(Answers());
    HWND page = CurrentPage();
    ASSERT_NE(nullptr, page);
    EXPECT_TRUE(IsWindowVisible(sheet_));
    EXPECT_TRUE(IsWindowVisible(page)) << "the current page is shown";
    ASSERT_TRUE(InFront());
    const std::vector<COLORREF> shown = SettledPixels(page);
    RedrawWindow(page, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    ASSERT_TRUE(Answers());
    const std::vector<COLORREF> drawn = SettledPixels(page);
    EXPECT_LT(DifferingShare(shown, drawn), 0.01) << "the screen shows the page as it draws";
    HWND box = FindDescendant(page, [](HWND window) {
      return HasClass(window, "Button") && (GetWindowLongA(window, GWL_STYLE) & 0xF) == BS_AUTOCHECKBOX &&
             IsWindowVisible(window) && IsWindowEnabled(window);
    });
    if (!box) return;
    const LRESULT before = SendMessageA(box, BM_GETCHECK, 0, 0);
    ASSERT_TRUE(ClickControl(box));
    EXPECT_TRUE(WaitUntil([&] { return SendMessageA(box, BM_GETCHECK, 0, 0) != before; }, 5000))
        << "a click reaches the page";
  }

  // Gives a command and plays the user on what it shows until done holds:
  // No to whether to save first or to protect with a password, file for a
  // file dialog.
  bool Command(const std::function<void()>& give, const std::string& file, const std::function<bool()>& done) {
    if (!InFront()) return false;
    give();
    HWND handled = nullptr;
    return WaitUntil(
        [&] {
          HWND dialog = builder_.WaitForDialog(nullptr, 0);
          if (dialog && dialog != handled && IsWindowEnabled(dialog)) {
            handled = dialog;
            if (HWND no = GetDlgItem(dialog, IDNO))
              ClickControl(no);
            else if (!file.empty())
              TypeFileName(dialog, file);
          }
          return done();
        },
        30000);
  }
  bool ZipIs(const std::string& zip) { return ComboText(Show(kGeneralPage), IDC_GENERAL_ZIP) == zip; }
  void New() {
    ASSERT_TRUE(Command([] { PressWith(VK_CONTROL, 'N'); }, "", [&] { return ZipIs(""); }));
  }
  bool Built() {
    HWND bar = FindControl(sheet_, kBuildPage.markId, kBuildPage.markClass);
    return bar && IsWindowEnabled(GetDlgItem(GetParent(bar), IDC_BUILD_TEST));
  }

  std::string zip_ = folder_ + "..\\long_build.zip";
};

TEST_F(CommandsKeepTheSheet, New) {
  New();
  ExpectTheSheetTakesInput("New");
}

TEST_F(CommandsKeepTheSheet, Open) {
  ProjectSettings other;
  ResetDefaults(other);
  other.sourceArchive = folder_ + "other.zip";
  const std::string path = folder_ + "other.ssf";
  ASSERT_TRUE(SaveProjectFile(other, path.c_str()));
  ASSERT_TRUE(Command([] { PressWith(VK_CONTROL, 'O'); }, path, [&] { return ZipIs(other.sourceArchive); }));
  ExpectTheSheetTakesInput("Open");
}

TEST_F(CommandsKeepTheSheet, Save) {
  MakeOld(project());
  const ULONGLONG old = WriteTime(project());
  ASSERT_TRUE(Command([] { PressWith(VK_CONTROL, 'S'); }, "", [&] { return WriteTime(project()) != old; }));
  ExpectTheSheetTakesInput("Save");
}

TEST_F(CommandsKeepTheSheet, SaveAs) {
  const std::string saved = folder_ + "saved.ssf";
  ASSERT_TRUE(Command([&] { FromFileMenu('A'); }, saved,
                      [&] { return GetFileAttributesA(saved.c_str()) != INVALID_FILE_ATTRIBUTES; }));
  ExpectTheSheetTakesInput("Save As");
}

TEST_F(CommandsKeepTheSheet, RecentFile) {
  New();
  ASSERT_TRUE(Command([&] { FromFileMenu('1'); }, "", [&] { return ZipIs(zip_); }));
  ExpectTheSheetTakesInput("recent file");
}

TEST_F(CommandsKeepTheSheet, StartPageLink) {
  New();
  HWND link = FindDescendant(frame_, [](HWND window) {
    return IsWindowVisible(window) && WindowText(window).find("kept.ssf") != std::string::npos;
  });
  ASSERT_NE(nullptr, link) << "the start page lists the project";
  ASSERT_TRUE(Command([&] { ClickControl(link); }, "", [&] { return ZipIs(zip_); }));
  ExpectTheSheetTakesInput("start page link");
}

TEST_F(CommandsKeepTheSheet, BuildAndTest) {
  ASSERT_TRUE(Command([] { PressWith(VK_CONTROL, 'B'); }, "", [&] { return Built(); }));
  ExpectTheSheetTakesInput("build");
  HWND build = CurrentPage();
  HWND stub = nullptr;
  ASSERT_TRUE(ClickControl(GetDlgItem(build, IDC_BUILD_TEST)));
  ASSERT_TRUE(WaitUntil([&] { return (stub = FindWindowA("#32770", "Korvane SFX Module")) && IsWindowVisible(stub); }, 20000));
  PostMessageA(stub, WM_COMMAND, IDCANCEL, 0);
  ASSERT_TRUE(WaitUntil([&] { return !IsWindow(stub); }, 10000));
  ExpectTheSheetTakesInput("test");
}

}  // namespace
