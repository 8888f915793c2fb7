// The builder's optional warning: a message with Yes and No and the check box
// "Do not show this message again". The message is read-only text the box
// grows to hold, and it scrolls when it is longer than the screen takes. Only Yes with the box ticked is
// remembered (value 1 under kWarningAnswersSection, named by the box's value
// name); a box remembered so ends before it shows and counts as Yes.
#pragma once
#include "classlib/controls.h"
#include "toolkit/dialogs/ResizeDialog.h"

constexpr char kWarningAnswersSection[] = "Settings\\WarningMessageBxs";

class CWarnMessageBoxOnOff : public CXTResizeDialog {
  DECLARE_DYNAMIC(CWarnMessageBoxOnOff)
  DECLARE_MESSAGE_MAP()
 public:
  // Texts by string id; a non-empty argument replaces the text's "%s".
  CWarnMessageBoxOnOff(UINT titleId, UINT textId, LPCSTR valueName, CWnd* parent, LPCSTR argument,
                       BOOL checkBoxEnabled);
  // Texts as given.
  CWarnMessageBoxOnOff(LPCSTR title, LPCSTR text, LPCSTR valueName, CWnd* parent, LPCSTR argument,
                       BOOL checkBoxEnabled);

  // A box that asks nothing, for a failure: one button, "OK", in No's place.
  void OfferOkOnly() { okOnly_ = true; }

  // IDOK for Yes (or OK), IDNO for No, IDCANCEL when the box is dismissed
  // (Escape, the close box): a question put before acting then does nothing.
  using CXTResizeDialog::DoModal;
  BOOL OnInitDialog() override;
  void DoDataExchange(CDataExchange* pDX) override;

 protected:
  afx_msg void OnYes();
  afx_msg void OnNo();
  afx_msg void OnDontShowAgain();

 private:
  void ReadStoredAnswer();
  CString MessageText() const;
  void AnchorControls();
  void ShowOkOnly();
  void FitToMessage();

  UINT textId_ = 0;
  UINT titleId_ = 0;
  int dontShowAgain_ = 0;
  BOOL checkBoxEnabled_ = TRUE;
  bool okOnly_ = false;
  CString message_, title_, argument_, valueName_;
  CStatic icon_, titleStatic_;
  CEdit messageEdit_;
  CButton dontShowBox_;
};
