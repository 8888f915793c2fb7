// A rich edit on a page whose Tab keys are the page's: Tab and Shift+Tab
// move the focus on and back, Ctrl+Tab turns the sheet, as from any other
// control. The rich edit itself would take them all into its text.
#pragma once
#include "classlib/controls.h"

class CDialogTextEdit : public CRichEditCtrl {
  DECLARE_MESSAGE_MAP()
 protected:
  afx_msg LRESULT OnGetDlgCode(WPARAM wParam, LPARAM lParam);
};
