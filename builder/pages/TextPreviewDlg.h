// Shows one of the Options page's texts as the built program will: RTF
// rendered, plain text as it is. The two previews differ only in template.
#pragma once
#include <string>

#include "classlib/controls.h"
#include "classlib/dialog.h"

class CSFXTextPreviewDlg : public CDialog {
  DECLARE_DYNAMIC(CSFXTextPreviewDlg)
 public:
  CSFXTextPreviewDlg(UINT templateId, const std::string& text, CWnd* parent);

  BOOL OnInitDialog() override;
  void DoDataExchange(CDataExchange* pDX) override;

 private:
  std::string text_;
  CRichEditCtrl textEdit_;
};
