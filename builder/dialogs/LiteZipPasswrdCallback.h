// Asks for the password of a source archive whose entries are encrypted.
// After DoModal returns IDOK, password() holds what was typed.
#pragma once
#include "classlib/controls.h"
#include "classlib/dialog.h"
#include "toolkit/controls/Edit.h"

class CLiteZipPasswrdCallback : public CDialog {
  DECLARE_DYNAMIC(CLiteZipPasswrdCallback)
  DECLARE_MESSAGE_MAP()
 public:
  explicit CLiteZipPasswrdCallback(CWnd* parent);
  ~CLiteZipPasswrdCallback() override;

  BOOL OnInitDialog() override;
  void DoDataExchange(CDataExchange* pDX) override;
  void OnOK() override;
  const CString& password() const { return password_; }

 protected:
  afx_msg void OnPaint();

 private:
  CXTEdit passwordEdit_;
  CString password_;
  CStatic keyPlace_;
  HBITMAP key_ = nullptr;
};
