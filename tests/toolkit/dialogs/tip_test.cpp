// The tip of the day: which tip each showing gives, what it stores, and how
// it ends on files without tips.
#include <gtest/gtest.h>

#include <stdio.h>

#include "dialog_robot.h"
#include "screenshot.h"
#include "toolkit/common/SettingsStore.h"
#include "toolkit/dialogs/TipOfTheDay.h"
#include "toolkit_resource.h"

namespace {

const char kTips[] = BRENNICOR_TEST_WORK "/tips_five_lines.txt";
const char kNoTips[] = BRENNICOR_TEST_WORK "/tips_none.txt";

void WriteFile(const char* path, const char* text) {
  FILE* f = fopen(path, "w");
  fputs(text, f);
  fclose(f);
}

// A comment, an empty line, a tip, an indented line, a second tip.
void WriteFiveLines() { WriteFile(kTips, "; how to read this file\n\nFirst tip\n\tnot a tip\nSecond tip\n"); }

void ForgetTips() { CXTSettingsStore().WriteString("Tip", nullptr, nullptr); }

int Stored(const char* entry, int fallback = -1) { return CXTSettingsStore().ReadInt("Tip", entry, fallback); }

CString FirstShownTip(const char* path) { return CXTTipOfTheDay(path).GetTipText(); }

CString NoTipsText() {
  CString text;
  text.LoadString(IDS_XT_TIP_NO_FILE);
  return text;
}

class TipTest : public ::testing::Test {
 protected:
  void SetUp() override {
    AfxGetApp()->SetRegistryKey("BrennicorToolkitDialogsTest");
    ForgetTips();
    WriteFiveLines();
  }
};

}  // namespace

TEST_F(TipTest, EachShowingContinuesAndWrapsAround) {
  EXPECT_STREQ(FirstShownTip(kTips), "First tip\n");
  EXPECT_STREQ(FirstShownTip(kTips), "Second tip\n");
  EXPECT_STREQ(FirstShownTip(kTips), "First tip\n");
  CXTTipOfTheDay tip(kTips);
  CString next;
  ASSERT_TRUE(tip.GetNextTip(next));
  EXPECT_STREQ(next, "First tip\n");  // the showing gave the second, Next wraps
}

TEST_F(TipTest, APositionPastTheEndWrapsToTheFirstTip) {
  FirstShownTip(kTips);  // stores the file's time stamp
  CXTSettingsStore().WriteInt("Tip", "FilePos", 100000);
  EXPECT_STREQ(FirstShownTip(kTips), "First tip\n");
}

// Wine keeps no creation time of its own (it reports the file's status-change
// time, and SetFileTime cannot move it), so the file's stamp is compared with
// one from another day instead of re-dating the file.
TEST_F(TipTest, ANewCreationTimeStartsAgain) {
  EXPECT_STREQ(FirstShownTip(kTips), "First tip\n");  // the position now points at the second tip
  CXTSettingsStore().WriteString("Tip", "TimeStamp", "Thu Jan  1 00:00:00 1970");
  EXPECT_STREQ(FirstShownTip(kTips), "First tip\n");
  EXPECT_STRNE(CXTSettingsStore().ReadString("Tip", "TimeStamp", ""), "Thu Jan  1 00:00:00 1970");
}

TEST_F(TipTest, AFileWithoutTipsEndsAndSaysSo) {
  WriteFile(kNoTips, "; only a comment\n\n\tand an indented line\n");
  CXTTipOfTheDay tip(kNoTips);
  EXPECT_STREQ(tip.GetTipText(), NoTipsText());
  CString next;
  EXPECT_FALSE(tip.GetNextTip(next));
}

TEST_F(TipTest, AMissingFileFallsBackAndStoresNothing) {
  {
    CXTTipOfTheDay tip(BRENNICOR_TEST_WORK "/no_such_tips.txt");
    EXPECT_STREQ(tip.GetTipsFile(), "tips.txt");
    EXPECT_STREQ(tip.GetTipText(), NoTipsText());
  }
  EXPECT_EQ(Stored("FilePos"), -1);
}

TEST_F(TipTest, TheStartUpQueryOpensNoFile) {
  FirstShownTip(kTips);
  int position = Stored("FilePos");
  CString stamp = CXTSettingsStore().ReadString("Tip", "TimeStamp", "");
  // A tips.txt where the query would look for one, if it opened any.
  WriteFile("tips.txt", "Another file's tip\n");
  EXPECT_TRUE(CXTTipOfTheDay::IsShownAtStartup());
  CXTSettingsStore().WriteInt("Tip", "StartUp", 1);
  EXPECT_FALSE(CXTTipOfTheDay::IsShownAtStartup());
  EXPECT_EQ(Stored("FilePos"), position);
  EXPECT_STREQ(CXTSettingsStore().ReadString("Tip", "TimeStamp", ""), stamp);
  remove("tips.txt");
}

TEST_F(TipTest, CloseStoresTheCheckBoxEscapeStoresNothing) {
  struct Case {
    int button;
    int startUp;  // stored afterwards, -1 for nothing
  } cases[] = {{IDOK, 1}, {IDCANCEL, -1}};
  for (const Case& c : cases) {
    ForgetTips();
    CXTTipOfTheDay tip(kTips);
    DialogRobot robot({{"Tip of the Day", [&](HWND dialog) {
                          EXPECT_TRUE(IsChecked(dialog, IDC_XT_TIP_STARTUP));
                          EXPECT_TRUE(::IsWindowEnabled(::GetDlgItem(dialog, IDC_XT_TIP_NEXT)));
                          Click(dialog, IDC_XT_TIP_STARTUP);
                          Press(dialog, c.button);
                        }}});
    EXPECT_EQ(tip.DoModal(), c.button);
    EXPECT_TRUE(robot.Finished());
    EXPECT_EQ(Stored("StartUp"), c.startUp) << c.button;
  }
  // The cleared check box was stored: the next showing starts with it cleared.
  CXTSettingsStore().WriteInt("Tip", "StartUp", 1);
  CXTTipOfTheDay cleared(kTips);
  DialogRobot robot({{"Tip of the Day", [](HWND dialog) {
                        EXPECT_FALSE(IsChecked(dialog, IDC_XT_TIP_STARTUP));
                        Press(dialog, IDCANCEL);
                      }}});
  EXPECT_EQ(cleared.DoModal(), IDCANCEL);
}

TEST_F(TipTest, NextTipIsDisabledWithoutTips) {
  WriteFile(kNoTips, ";\n");
  CXTTipOfTheDay tip(kNoTips);
  DialogRobot robot({{"Tip of the Day", [](HWND dialog) {
                        EXPECT_FALSE(::IsWindowEnabled(::GetDlgItem(dialog, IDC_XT_TIP_NEXT)));
                        Press(dialog, IDCANCEL);
                      }}});
  tip.DoModal();
  EXPECT_TRUE(robot.Finished());
}

TEST_F(TipTest, TheTipAreaIsDrawn) {
  CXTTipOfTheDay tip(kTips);
  DialogRobot robot({{"Tip of the Day", [](HWND dialog) {
                        Screenshot shot(dialog);
                        shot.Save(BRENNICOR_TEST_WORK "/tip_of_the_day.bmp");
                        RECT frame;
                        ::GetWindowRect(::GetDlgItem(dialog, IDC_XT_TIP_FRAME), &frame);
                        ::MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&frame), 2);
                        int below = frame.bottom - 10;
                        EXPECT_EQ(shot.Pixel(frame.left + 5, below), ::GetSysColor(COLOR_BTNSHADOW));  // the band
                        EXPECT_EQ(shot.Pixel(frame.right - 10, below), ::GetSysColor(COLOR_WINDOW));  // the tip area
                        EXPECT_EQ(shot.Pixel(frame.right - 10, 60), ::GetSysColor(COLOR_BTNSHADOW));  // the rule
                        Press(dialog, IDCANCEL);
                      }}});
  tip.DoModal();
  EXPECT_TRUE(robot.Finished());
}

TEST_F(TipTest, NextTipShowsTheFollowingTip) {
  {
    CXTTipOfTheDay tip(kTips);
    DialogRobot robot({{"Tip of the Day", [](HWND dialog) {
                          Press(dialog, IDC_XT_TIP_NEXT);
                          Press(dialog, IDCANCEL);
                        }}});
    tip.DoModal();
    EXPECT_TRUE(robot.Finished());
    EXPECT_STREQ(tip.GetTipText(), "Second tip\n");
  }
  EXPECT_STREQ(FirstShownTip(kTips), "First tip\n");  // the stored place is after the second
}
