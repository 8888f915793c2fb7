// A property sheet that the user can resize: it gets a sizing border and a
// grip, its buttons keep to the bottom-right corner, and its tab control and
// pages stretch with it (see ResizeLayout.h). A page made after the sheet
// grew is laid out as it is first activated.
#pragma once

#include "classlib/propertysheet.h"
#include "toolkit/dialogs/ResizeWindow.h"
#include "toolkit/dialogs/SheetTabCtrl.h"

class CXTResizePropertySheet : public CXTResizeWindow<CPropertySheet> {
  DECLARE_DYNCREATE(CXTResizePropertySheet)
  DECLARE_MESSAGE_MAP()
 public:
  CXTResizePropertySheet();
  CXTResizePropertySheet(UINT nIDCaption, CWnd* pParentWnd = nullptr, UINT iSelectPage = 0, UINT nFlags = 0);
  CXTResizePropertySheet(LPCSTR pszCaption, CWnd* pParentWnd = nullptr, UINT iSelectPage = 0, UINT nFlags = 0);
  ~CXTResizePropertySheet() override;

  BOOL OnInitDialog() override;

 protected:
  afx_msg BOOL OnPageSetActive(NMHDR* pNMHDR, LRESULT* pResult);
  afx_msg void OnSize(UINT nType, int cx, int cy);

  CXTSheetTabCtrl m_tabCtrl;

 private:
  void GrowForBorder();
  void AddSizingCommands();
  void RegisterButtons();
  void RegisterPages();
  void FitActivePageToTabs();
};
