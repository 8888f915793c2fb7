// An edit with a small browse button to its right that fills it with a
// folder (kind 1), a file (kind 2) or a command of a pop-up menu (kind 4).
// The button takes its room from the edit's width, once: the layout moves
// the pair by their joint rectangle.
#pragma once

#include "classlib/filedialog.h"
#include "toolkit/controls/DeferredInit.h"
#include "toolkit/controls/Edit.h"
#include "toolkit/dialogs/ResizeLayout.h"

class CXTBrowseBtn;

// Browse kinds: the low three bits of a browse style.
enum : DWORD {
  BES_XT_CHOOSEDIR = 0x01,
  BES_XT_CHOOSEFILE = 0x02,
  BES_XT_POPUPMENU = 0x04,
  BES_XT_KINDS = 0x07,
};

class CXTBrowseEdit : public CXTEdit, public CXTOuterRectProvider {
  DECLARE_DYNAMIC(CXTBrowseEdit)
  DECLARE_MESSAGE_MAP()
 public:
  CXTBrowseEdit();
  ~CXTBrowseEdit() override;

  virtual void SetDlgOpenFile(CFileDialog* pFileDlg) { m_pFileDlg = pFileDlg; }
  virtual void SetDlgStyle(BOOL bOpenFileDialog) { m_bOpenFileDialog = bOpenFileDialog; }
  virtual void SetDlgDefExt(LPCSTR lpszDefExt) { m_strDefExt = lpszDefExt; }
  virtual void SetDlgFileName(LPCSTR lpszFileName) { m_strFileName = lpszFileName; }
  virtual void SetDlgFlags(DWORD dwFlags) { m_dwFlags = dwFlags; }
  virtual void SetDlgFilter(LPCSTR lpszFilter) { m_strFilter = lpszFilter; }
  virtual void SetDlgOwner(CWnd* pWndOwner) { m_pWndOwner = pWndOwner; }
  virtual void SetDlgTitle(LPCSTR lpszTitle) { m_strTitle = lpszTitle; }
  virtual void SetBrowseStyle(DWORD dwBStyle, UINT nMenu = 0, int nSubMenuIndx = 0);
  virtual void Browse();
  virtual void BrowseForFolder();
  virtual void BrowseForFile();
  virtual void BrowseWithPopupMenu();
  virtual void PositionBrowseButton(BOOL bResizeEdit = TRUE);

  void GetOuterRect(CRect& rect) const override;
  CXTBrowseBtn* GetBrowseButton() const { return m_pBrowseBtn; }
  BOOL IsBrowsing() const { return m_bBrowsing; }

 protected:
  void PreSubclassWindow() override;
  afx_msg int OnCreate(LPCREATESTRUCTA lpCreateStruct);
  afx_msg LRESULT OnInitControl(WPARAM wParam, LPARAM lParam);
  afx_msg void OnWindowPosChanging(WINDOWPOS* lpwndpos);
  afx_msg void OnWindowPosChanged(WINDOWPOS* lpwndpos);
  afx_msg void OnEnable(BOOL bEnable);
  afx_msg void OnShowWindow(BOOL bShow, UINT nStatus);

  int ButtonShare() const;

  int m_nGap;
  BOOL m_bOpenFileDialog = TRUE;
  CFileDialog* m_pFileDlg = nullptr;
  DWORD m_dwFlags = OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_HIDEREADONLY;
  CString m_strDefExt;
  CString m_strFileName;
  CString m_strFilter;
  CString m_strTitle;
  CXTBrowseBtn* m_pBrowseBtn = nullptr;
  DWORD m_dwBStyle = BES_XT_CHOOSEDIR;
  UINT m_nMenu = 0;
  int m_nSubMenuIndx = 0;
  CWnd* m_pWndOwner = nullptr;
  BOOL m_bBrowsing = FALSE;
  CXTDeferredInit m_init;
};
