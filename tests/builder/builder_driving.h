// Drives the real builder program as its user does, with the mouse and the
// keyboard: finds its sheet and pages, brings its frame forward, clicks
// controls once nothing lies over them and types into them.
#pragma once
#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <string>

#include "builder_process.h"

// A control's text from another process: GetWindowText would answer with
// the system's copy of its caption, not what the control holds.
std::string ControlText(HWND control);
// The first window below root with the id and class: pages' ids repeat, so
// callers search below the page they mean.
HWND FindControl(HWND root, int id, const char* className);
HWND FindSheet(HWND frame);
POINT Middle(HWND window);
// Clicks the middle of control once its own window is the one there.
bool ClickControl(HWND control);
// Clicks control until done holds; a click again comes after a double
// click's time, so it is never taken for one.
bool ClickUntil(HWND control, const std::function<bool()>& done);
bool HasFocus(HWND control);
// Types text over what the focused edit holds; true once the edit shows it.
bool TypeOver(HWND edit, const std::string& text);
// Puts the caret in an edit with a click and types text there.
bool ClickAndType(HWND edit, const std::string& text);
// Drops a list down with a click, walks it with the arrow keys to the row
// that reads text, and takes that row with Enter.
bool PickWithKeys(HWND list, const std::string& text);
// Ticks a check box with a click.
bool Tick(HWND box);

// One page of the settings sheet, found by a control only it has.
struct PageOf {
  int index;
  int markId;
  const char* markClass;
};
extern const PageOf kGeneralPage, kOptionsPage, kPasswordPage, kBuildPage;

// A test of the builder program started from a clean profile without the
// tip of the day: its frame, its settings sheet and the keys that reach them.
class DrivenBuilder : public ::testing::Test {
 protected:
  explicit DrivenBuilder(const std::string& folderName) : builder_(folderName), folder_(builder_.folder() + "\\") {}
  void TearDown() override { builder_.Close(frame_); }

  // Starts the program and waits until its sheet takes input.
  void StartBuilder(const std::string& arguments = "");
  // Switches the sheet to page by the sheet's own message.
  HWND Show(const PageOf& page);
  static HWND Item(HWND page, int id) { return GetDlgItem(page, id); }
  static std::string ComboText(HWND page, int id) { return ControlText(ComboEdit(page, id)); }
  // A drop-down list's text is its selected row's.
  static std::string SelectedRowText(HWND page, int id) { return ControlText(Item(page, id)); }
  static bool Checked(HWND page, int id) { return SendMessageA(Item(page, id), BM_GETCHECK, 0, 0) == BST_CHECKED; }
  // A history combo's edit, where its text is typed.
  static HWND ComboEdit(HWND page, int id);
  HWND CurrentPage() const;
  // The page once the sheet shows it.
  HWND Shown(const PageOf& page);
  // Ctrl+Tab turns the sheet to its next page, as long as the focus is in it.
  HWND TurnTo(const PageOf& page);
  // The frame in front, as the user's click on its caption brings it; only
  // then do keys reach it. Clicks come after a double click's time.
  bool InFront();
  // A File menu item by the menu keys: Alt+F opens the menu, then its mnemonic.
  bool FromFileMenu(WORD mnemonic);
  // The window with the keyboard focus in the program.
  HWND Focus() const;
  // The program still takes messages: it does not spin.
  bool Answers() const;

  BuilderProcess builder_;
  std::string folder_;
  HWND frame_ = nullptr, sheet_ = nullptr;
  DWORD process_ = 0;
};
