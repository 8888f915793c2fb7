// The third page of the settings sheet: password protection of the built
// program on or off, the password (masked, or shown with a verification
// field) and the AES key length. Neither the page nor a build may go on
// while protection is on with an empty or unverified password.
#pragma once
#include <string>

#include "PasswordCheck.h"
#include "ProjectSettings.h"
#include "SettingsPageExchange.h"
#include "classlib/controls.h"
#include "toolkit/dialogs/ResizePropertyPage.h"

class CPropertySheet;

class CPasswordProtectionPage : public CXTResizePropertyPage, public SettingsPageExchange {
  DECLARE_DYNAMIC(CPasswordProtectionPage)
  DECLARE_MESSAGE_MAP()
 public:
  // caption: the tab's text (null keeps the template's); the second text is unused.
  explicit CPasswordProtectionPage(LPCSTR caption = nullptr, LPCSTR secondText = nullptr);
  ~CPasswordProtectionPage() override;

  void DoDataExchange(CDataExchange* pDX) override;
  BOOL OnInitDialog() override;
  BOOL OnSetActive() override;
  BOOL OnKillActive() override;

  // The record's mask flag, password, protection flag and AES index into the
  // page (and its controls, once they exist). reset is not used here.
  void RecordToPage(const ProjectSettings& record, int reset) override;
  // The page's four values into record (null: only read the controls).
  void PageToRecord(ProjectSettings* record) override;
  // 1 when the password may be used: protection off, a masked non-empty
  // password, or a shown one its verification repeats. Otherwise a warning
  // box asks: Yes brings the user back to this page (in sheet, when the
  // page has no window yet) and gives 0; No switches protection off and
  // gives 1, so whoever builds must collect the page again. Without a window
  // only an empty password is refused: the verification was never typed.
  int ValidatePasswords(CPropertySheet* sheet = nullptr);

  bool ProtectionOn() const { return protected_ != 0; }

 protected:
  afx_msg void OnPaint();
  afx_msg void OnProtectClicked();
  afx_msg void OnMaskClicked();
  afx_msg void OnPasswordChange();
  afx_msg void OnVerificationChange();
  afx_msg void OnStrengthChange();

 private:
  bool HasWindow() const { return m_hWnd && ::IsWindow(m_hWnd); }
  // What is wrong with the password as the controls (or, without a window,
  // the members) show it; nothing while protection is off.
  PasswordProblem CurrentProblem();
  void AnchorControls();
  void ShowMembers();
  void ApplyEnabledStates();
  void ShowPasswordsMasked();
  std::string ItemString(int control) const;
  void SetItemString(int control, const std::string& text);
  // Brings the user back to the page with the focus on control; always 0.
  int KeepUserHere(CPropertySheet* sheet, int control);
  void SwitchProtectionOff();

  int aesIndex_ = 0;
  int masked_ = 0;
  int protected_ = 0;
  std::string verification_, password_;
  bool initialised_ = false;
  bool settingText_ = false;  // edits' own notices while the page fills them are not the user's
  HICON icon_ = nullptr, greyIcon_ = nullptr;
  HBITMAP picture_ = nullptr;
  CEdit passwordEdit_, verificationEdit_;
  CButton protectBox_, maskBox_;
  CComboBox strengthList_;
  CStatic iconPlace_;
};
