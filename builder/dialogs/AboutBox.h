// The builder's about box: the product title, two links to the maker's web
// pages and the button that opens System Information.
#pragma once
#include "classlib/dialog.h"
#include "toolkit/controls/HyperLink.h"

constexpr char kProductTitle[] = "Korvane Brennicor Application";

class CAboutBoxGenericModule : public CDialog {
  DECLARE_DYNAMIC(CAboutBoxGenericModule)
  DECLARE_MESSAGE_MAP()
 public:
  // text: the caller's help file path, kept but not shown.
  CAboutBoxGenericModule(LPCSTR title, LPCSTR text, CWnd* parent);
  ~CAboutBoxGenericModule() override;

  BOOL OnInitDialog() override;
  void DoDataExchange(CDataExchange* pDX) override;

 protected:
  afx_msg void OnSystemInfo();

 private:
  CString text_;
  CString productTitle_;
  CXTHyperLink homeLink_, productsLink_;
  HBITMAP makerPicture_ = nullptr, productPicture_ = nullptr;
};

// The about box of every caller: the product title, the help file path and
// the main window as parent.
void ShowAboutBox();
