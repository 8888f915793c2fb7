// The settings sheet: the toolkit's resizable sheet holding the General,
// Options, Password and Build pages. In the builder it lives as a child of
// the settings form view, where it has no OK or Cancel and Esc or Enter in
// a page keep the page; run modally it remembers its place and last page.
#pragma once
#include "MyFileUtility.h"
#include "classlib/gdiobject.h"
#include "toolkit/common/SettingsStore.h"
#include "toolkit/dialogs/ResizePropertySheet.h"

class CMyResizePropSheet : public CXTResizePropertySheet {
  DECLARE_DYNAMIC(CMyResizePropSheet)
  DECLARE_MESSAGE_MAP()
 public:
  // |startPage| -1 takes the page stored as "CurrentPageIndx" in |section|.
  CMyResizePropSheet(CWnd* parent, LPCSTR caption, LPCSTR section, int startPage, UINT flags);

  INT_PTR DoModal() override;
  BOOL DestroyWindow() override;
  BOOL OnInitDialog() override;
  void SetBanner(LPCSTR text) { banner_ = text ? text : ""; }

 protected:
  BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
  afx_msg void OnPaint();
  afx_msg void OnSysCommand(UINT nID, LPARAM lParam);

 private:
  void DrawBanner(CDC& dc);

  CMyFileUtility utility_;
  CXTSettingsStore store_;
  CFont bannerFont_;
  int startPage_ = 0;
  CString banner_;
  CString section_;
  bool keepWindow_ = false;  // through a modal run
};
