// Property pages and sheets on the system property-sheet control. A page's
// window is made (and its object attached) only when it is first shown.
// DoModal runs the sheet modeless under the layer's own modal loop, which
// ends when the sheet has no current page any more (OK or Cancel) or
// EndDialog is called.
#pragma once

#include "classlib/array.h"
#include "classlib/controls.h"
#include "classlib/dialog.h"

class CPropertySheet;

class CPropertyPage : public CDialog {
  DECLARE_DYNAMIC(CPropertyPage)
 public:
  // nIDCaption, when given, replaces the template's caption on the tab.
  explicit CPropertyPage(UINT nIDTemplate, UINT nIDCaption = 0);
  explicit CPropertyPage(LPCSTR lpszTemplateName, UINT nIDCaption = 0);

  // The first activation only activates; every later one also exchanges data into the controls.
  virtual BOOL OnSetActive();
  // FALSE keeps the page.
  virtual BOOL OnKillActive();
  virtual BOOL OnApply();
  virtual void OnReset();
  void OnOK() override {}
  void OnCancel() override {}
  virtual BOOL OnQueryCancel() { return TRUE; }
  virtual LRESULT OnWizardBack() { return 0; }
  virtual LRESULT OnWizardNext() { return 0; }
  virtual BOOL OnWizardFinish() { return TRUE; }

  // Shows caption on the page's tab in place of its template's caption; before the page is added to a sheet.
  void SetTabCaption(LPCSTR caption);
  void SetModified(BOOL bChanged = TRUE);
  void CancelToClose();
  CPropertySheet* GetParentSheet() const;

  BOOL PreTranslateMessage(MSG* pMsg) override;

  PROPSHEETPAGEA m_psp;
  CString m_strCaption;
  BOOL m_bFirstSetActive = TRUE;

 protected:
  // PSN_* reach the sheet first (their sender), then this page's map, then the virtuals above.
  BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;

 private:
  void CommonConstruct(LPCSTR lpszTemplateName, UINT nIDCaption);
  void TakeFocusFromOtherPage();
};

class CPropertySheet : public CWnd {
  DECLARE_DYNAMIC(CPropertySheet)
  DECLARE_MESSAGE_MAP()
 public:
  CPropertySheet();
  explicit CPropertySheet(UINT nIDCaption, CWnd* pParentWnd = nullptr, UINT iSelectPage = 0);
  explicit CPropertySheet(LPCSTR pszCaption, CWnd* pParentWnd = nullptr, UINT iSelectPage = 0);
  ~CPropertySheet() override;

  virtual INT_PTR DoModal();
  // Modeless, or a child when dwStyle holds WS_CHILD; such sheets have no
  // OK, Cancel, Apply or Help button. -1 asks for the default pop-up style.
  virtual BOOL Create(CWnd* pParentWnd = nullptr, DWORD dwStyle = static_cast<DWORD>(-1), DWORD dwExStyle = 0);
  // nEndID becomes DoModal's result.
  void EndDialog(int nEndID);

  void AddPage(CPropertyPage* pPage);
  void RemovePage(int nPage);
  int GetPageCount() const { return static_cast<int>(m_pages.GetSize()); }
  CPropertyPage* GetPage(int nPage) const { return static_cast<CPropertyPage*>(m_pages[nPage]); }
  int GetPageIndex(CPropertyPage* pPage) const;
  int GetActiveIndex() const;
  CPropertyPage* GetActivePage() const;
  BOOL SetActivePage(int nPage);
  BOOL SetActivePage(CPropertyPage* pPage) { return SetActivePage(GetPageIndex(pPage)); }
  CTabCtrl* GetTabControl() const;
  void SetTitle(LPCSTR lpszText, UINT nStyle = 0);
  BOOL PressButton(int nButton) { return static_cast<BOOL>(SendMessage(PSM_PRESSBUTTON, nButton)); }
  void SetWizardButtons(DWORD dwFlags) { PostMessage(PSM_SETWIZBUTTONS, 0, dwFlags); }
  void SetWizardMode() { m_psh.dwFlags |= PSH_WIZARD; }
  BOOL IsWizard() const { return (m_psh.dwFlags & (PSH_WIZARD | PSH_WIZARD97)) != 0; }

  virtual BOOL OnInitDialog();
  BOOL ContinueModal() override;
  BOOL PreTranslateMessage(MSG* pMsg) override;

  PROPSHEETHEADERA m_psh;
  CString m_strCaption;
  CWnd* m_pParentWnd = nullptr;
  BOOL m_bModeless = FALSE;
  // The style Create asked for, applied to the sheet's template as it is made.
  DWORD m_dwCreateStyle = 0;
  DWORD m_dwCreateExStyle = 0;

 protected:
  void BuildPropPageArray();
  BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
  afx_msg LRESULT HandleInitDialog(WPARAM, LPARAM);
  afx_msg LRESULT OnPressButton(WPARAM, LPARAM);

 private:
  void CommonConstruct(CWnd* pParentWnd, UINT iSelectPage);
  CPtrArray m_pages;
  PROPSHEETPAGEA* m_pPageArray = nullptr;
};
