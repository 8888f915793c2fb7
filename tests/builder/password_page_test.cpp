// The Password page under Wine: when it may be left, what its warning boxes
// say and do, masking, and the password it keeps.
#include <gtest/gtest.h>

#include <string>

#include "builder_resource.h"
#include "classlib/propertysheet.h"
#include "classlib/winapp.h"
#include "dialog_robot.h"
#include "dialogs/WarnMessageBoxOnOff.h"
#include "pages/PasswordProtectionPage.h"
#include "pages/SFXOptionsPage.h"
#include "toolkit/common/SettingsStore.h"
#include "warning_box_count.h"

namespace {

class CPasswordPageTestApp : public CWinApp {
 public:
  CPasswordPageTestApp() : CWinApp("Password Page Test") {
    RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Brennicor Builder Password Page Test");
    SetRegistryKey("Brennicor Builder Password Page Test");
  }
};
CPasswordPageTestApp theApp;

constexpr char kMismatchText[] = "Password text does not match! Please re-verify or re-enter the text.";
// As the warning box's text shows it, its lines ending in CR LF.
constexpr char kEmptyText[] =
    "Password protection will not work with empty password text.\r\nPlease re-enter the password or turn password "
    "protection off.";

ProjectSettings Protected(int masked, const char* password) {
  ProjectSettings record;
  record.passwordProtection = 1;
  record.maskPassword = masked;
  record.password = password;
  record.aesStrengthIndex = 2;
  return record;
}

class PasswordPage : public ::testing::Test {
 protected:
  void SetUp() override {
    sheet_.AddPage(&page_);
    sheet_.AddPage(&otherPage_);
    ASSERT_TRUE(sheet_.Create());
    warnings_.Start();
  }
  void TearDown() override {
    warnings_.Stop();
    sheet_.DestroyWindow();
  }

  HWND Page() { return page_.m_hWnd; }
  bool Enabled(int id) { return IsWindowEnabled(GetDlgItem(Page(), id)) != FALSE; }
  char PasswordChar(int id) { return static_cast<char>(SendDlgItemMessageA(Page(), id, EM_GETPASSWORDCHAR, 0, 0)); }
  ProjectSettings Collected() {
    ProjectSettings record;
    page_.PageToRecord(&record);
    return record;
  }
  // The warning box's message and which button answered it, by the robot.
  RobotStep Answer(int button, std::string* message) {
    return {"Warning!", [button, message](HWND box) {
              *message = ItemText(box, IDC_WARN_MESSAGE);
              Press(box, button);
            }};
  }

  CPasswordProtectionPage page_{"Password Protection..."};
  CSFXOptionsPage otherPage_;
  CPropertySheet sheet_{"Sheet"};
  WarningBoxCount warnings_;
};

// Each case twice: checked as the Build flow checks it (its result) and by
// leaving the page (whether it was left). Both roads show the same box, and
// the answer decides both the same way.
TEST_F(PasswordPage, LeavingThePageChecksThePasswordAndTheAnswerDecides) {
  enum Box { kNoBox, kMismatch, kEmpty };
  struct Case {
    int protection, masked;
    const char* password;
    const char* verification;
    Box box;
    int answer;  // IDC_WARN_YES or IDC_WARN_NO, when a box shows
    int result;  // of the check; the page is left exactly when it is 1
    int recordFlag;
    int focused;  // after Yes
  } cases[] = {
      {0, 1, "", "", kNoBox, 0, 1, 0, 0},
      {0, 0, "secret", "other", kNoBox, 0, 1, 0, 0},
      {1, 1, "secret", "", kNoBox, 0, 1, 1, 0},
      {1, 1, "secret", "other", kNoBox, 0, 1, 1, 0},
      {1, 0, "secret", "secret", kNoBox, 0, 1, 1, 0},
      {1, 1, "", "", kEmpty, IDC_WARN_NO, 1, 0, 0},
      {1, 1, "", "", kEmpty, IDC_WARN_YES, 0, 1, IDC_PASSWORD_PAGE_EDIT},
      {1, 0, "secret", "secreT", kMismatch, IDC_WARN_YES, 0, 1, IDC_PASSWORD_VERIFY_EDIT},
      {1, 0, "secret", "secreT", kMismatch, IDC_WARN_NO, 1, 0, 0},
      {1, 0, "secret", "", kMismatch, IDC_WARN_NO, 1, 0, 0},
      {1, 0, "", "", kEmpty, IDC_WARN_NO, 1, 0, 0},
  };
  for (const Case& c : cases) {
    for (bool leaving : {false, true}) {
      SCOPED_TRACE(std::to_string(c.protection) + std::to_string(c.masked) + " '" + c.password + "' '" +
                   c.verification + (leaving ? "' leaving" : "' checked"));
      // Selecting the current page asks it to be left: only come back from the other one.
      if (sheet_.GetActiveIndex() != 0) sheet_.SetActivePage(0);
      ProjectSettings record = Protected(c.masked, c.password);
      record.passwordProtection = c.protection;
      page_.RecordToPage(record, 0);
      // Masked, whatever the verification holds is not asked for.
      TypeInto(Page(), IDC_PASSWORD_VERIFY_EDIT, c.verification);
      std::string message;
      warnings_.Reset();
      int result = -1;
      {
        DialogRobot robot(c.box == kNoBox ? std::vector<RobotStep>{}
                                          : std::vector<RobotStep>{Answer(c.answer, &message)});
        if (leaving)
          sheet_.SetActivePage(1);
        else
          result = page_.ValidatePasswords(&sheet_);
        ASSERT_TRUE(robot.Finished());
      }
      EXPECT_EQ(c.box == kNoBox ? 0 : 1, warnings_.boxes());
      EXPECT_EQ(c.box == kMismatch ? kMismatchText : c.box == kEmpty ? kEmptyText : "", message);
      EXPECT_EQ(c.result, leaving ? sheet_.GetActiveIndex() : result);
      EXPECT_EQ(c.recordFlag, Collected().passwordProtection);
      if (c.focused) {
        EXPECT_EQ(GetDlgItem(Page(), c.focused), GetFocus());
      }
    }
  }
}

TEST_F(PasswordPage, MaskingHidesBothEditsAndVerificationIsLiveOnlyUnmasked) {
  page_.RecordToPage(Protected(0, "secret"), 0);
  EXPECT_EQ('\0', PasswordChar(IDC_PASSWORD_PAGE_EDIT));
  EXPECT_TRUE(Enabled(IDC_PASSWORD_VERIFY_EDIT));
  Click(Page(), IDC_PASSWORD_MASK);
  EXPECT_EQ('X', PasswordChar(IDC_PASSWORD_PAGE_EDIT));
  EXPECT_EQ('X', PasswordChar(IDC_PASSWORD_VERIFY_EDIT));
  EXPECT_FALSE(Enabled(IDC_PASSWORD_VERIFY_EDIT));
  EXPECT_FALSE(Enabled(IDC_PASSWORD_VERIFY_LABEL));
  EXPECT_EQ("secret", ItemText(Page(), IDC_PASSWORD_PAGE_EDIT)) << "the text is set again, not lost";
  EXPECT_EQ(1, Collected().maskPassword);
  Click(Page(), IDC_PASSWORD_MASK);
  EXPECT_EQ('\0', PasswordChar(IDC_PASSWORD_VERIFY_EDIT));
  EXPECT_TRUE(Enabled(IDC_PASSWORD_VERIFY_EDIT));
}

TEST_F(PasswordPage, ProtectionOffDisablesTheControlsAndGreysTheIcon) {
  page_.RecordToPage(Protected(0, "secret"), 0);
  const LRESULT colourIcon = SendDlgItemMessageA(Page(), IDC_PASSWORD_PAGE_ICON, STM_GETICON, 0, 0);
  Click(Page(), IDC_PASSWORD_PROTECT);
  for (int id : {IDC_PASSWORD_PAGE_EDIT, IDC_PASSWORD_VERIFY_EDIT, IDC_PASSWORD_STRENGTH, IDC_PASSWORD_MASK,
                 IDC_PASSWORD_PAGE_ICON})
    EXPECT_FALSE(Enabled(id)) << id;
  const LRESULT greyIcon = SendDlgItemMessageA(Page(), IDC_PASSWORD_PAGE_ICON, STM_GETICON, 0, 0);
  EXPECT_NE(colourIcon, greyIcon);
  EXPECT_NE(0, greyIcon);
  EXPECT_EQ(0, Collected().passwordProtection);
  Click(Page(), IDC_PASSWORD_PROTECT);
  EXPECT_TRUE(Enabled(IDC_PASSWORD_PAGE_EDIT));
  EXPECT_EQ(colourIcon, SendDlgItemMessageA(Page(), IDC_PASSWORD_PAGE_ICON, STM_GETICON, 0, 0));
}

TEST_F(PasswordPage, TheRecordsValuesRoundTripThroughTheControls) {
  page_.RecordToPage(Protected(1, "p4ss"), 0);
  EXPECT_TRUE(IsChecked(Page(), IDC_PASSWORD_PROTECT));
  EXPECT_TRUE(IsChecked(Page(), IDC_PASSWORD_MASK));
  EXPECT_EQ(2, static_cast<int>(SendDlgItemMessageA(Page(), IDC_PASSWORD_STRENGTH, CB_GETCURSEL, 0, 0)));
  SendDlgItemMessageA(Page(), IDC_PASSWORD_STRENGTH, CB_SETCURSEL, 1, 0);
  const ProjectSettings back = Collected();
  EXPECT_EQ(1, back.passwordProtection);
  EXPECT_EQ(1, back.maskPassword);
  EXPECT_EQ("p4ss", back.password);
  EXPECT_EQ(1, back.aesStrengthIndex);
}

TEST_F(PasswordPage, A253CharacterPasswordIsSilentA254OneWarnsAndIsKeptAt254) {
  page_.RecordToPage(Protected(1, ""), 0);
  TypeInto(Page(), IDC_PASSWORD_PAGE_EDIT, std::string(253, 'a'));
  EXPECT_EQ(0, warnings_.boxes());
  EXPECT_EQ(253u, Collected().password.size());
  std::string title;
  {
    DialogRobot robot({{"Warning!", [&](HWND box) {
                          title = ItemText(box, IDC_WARN_TITLE);
                          Press(box, IDC_WARN_YES);
                        }}});
    TypeInto(Page(), IDC_PASSWORD_PAGE_EDIT, std::string(300, 'b'));
    ASSERT_TRUE(robot.Finished());
  }
  EXPECT_EQ("Brennicor Password Too Long!", title);
  EXPECT_EQ(std::string(254, 'b'), Collected().password);
}

// A project loaded with protection on and no password, its page never shown:
// the check still refuses it, and No really switches protection off.
TEST_F(PasswordPage, WithoutAWindowAnEmptyPasswordIsStillRefused) {
  CPasswordProtectionPage unseen;
  unseen.RecordToPage(Protected(1, ""), 0);
  std::string message;
  {
    DialogRobot robot({Answer(IDC_WARN_NO, &message)});
    EXPECT_EQ(1, unseen.ValidatePasswords(&sheet_));
    ASSERT_TRUE(robot.Finished());
  }
  EXPECT_EQ(kEmptyText, message);
  ProjectSettings back;
  unseen.PageToRecord(&back);
  EXPECT_EQ(0, back.passwordProtection);

  unseen.RecordToPage(Protected(1, ""), 0);
  sheet_.AddPage(&unseen);
  {
    DialogRobot robot({Answer(IDC_WARN_YES, &message)});
    EXPECT_EQ(0, unseen.ValidatePasswords(&sheet_));
    ASSERT_TRUE(robot.Finished());
  }
  EXPECT_EQ(&unseen, sheet_.GetActivePage()) << "the user is brought to the page";
  EXPECT_EQ(GetDlgItem(unseen.m_hWnd, IDC_PASSWORD_PAGE_EDIT), GetFocus());
  unseen.RecordToPage(ProjectSettings(), 0);  // protection off, so it may be left
  sheet_.SetActivePage(0);
  sheet_.RemovePage(2);
}

TEST_F(PasswordPage, AStoredAnswerKeepsTheUserOnThePageSilently) {
  CXTSettingsStore().WriteInt(kWarningAnswersSection, "BrennicorEmptyPasswords", 1);
  page_.RecordToPage(Protected(1, ""), 0);
  sheet_.SetActivePage(1);
  EXPECT_EQ(0, sheet_.GetActiveIndex());
  EXPECT_EQ(1, warnings_.boxes());
  CXTSettingsStore().WriteInt(kWarningAnswersSection, "BrennicorEmptyPasswords", 0);
}

}  // namespace
