// System Information: the report on the machine in a text box.
#pragma once
#include "classlib/controls.h"
#include "classlib/dialog.h"
#include "toolkit/controls/Edit.h"

class CMySystemInfoDlg : public CDialog {
  DECLARE_DYNAMIC(CMySystemInfoDlg)
 public:
  explicit CMySystemInfoDlg(CWnd* parent = nullptr);
  BOOL OnInitDialog() override;
  void DoDataExchange(CDataExchange* pDX) override;

 private:
  CXTEdit report_;
};
