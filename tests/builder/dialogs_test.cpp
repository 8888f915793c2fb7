// The builder's small dialogs under Wine, played by the shared robot, with a
// registry key of the test's own, emptied before the first test.
#include <gtest/gtest.h>

#include "builder_resource.h"
#include "classlib/winapp.h"
#include "dialog_robot.h"
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

enum Answer { kYes, kNo, kUnseen };

RobotStep Answering(Answer answer, bool tick) {
  return {"Warning!", [answer, tick](HWND box) {
            if (tick) Click(box, IDC_WARN_DONT_SHOW);
            Press(box, answer == kYes ? IDC_WARN_YES : IDC_WARN_NO);
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
      {kMissing, TRUE, kNo, true, true, IDCANCEL, kMissing, "no, ticked: nothing written"},
      {kMissing, FALSE, kYes, false, true, IDOK, kMissing, "box disabled: nothing written"},
      {0, TRUE, kNo, false, true, IDCANCEL, 0, "a stored 0 shows"},
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
  EXPECT_EQ(IDCANCEL, box.DoModal());
  ASSERT_TRUE(robot.Finished());
  EXPECT_EQ("Korvane Brennicor Warning", title);
  EXPECT_EQ("The output file C:\\100%s %n.exe already exists.\nDo you want to overwrite it?", message);
  EXPECT_TRUE(checkEnabled);
}

}  // namespace
