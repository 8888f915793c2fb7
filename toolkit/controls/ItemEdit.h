// The in-place editor that an edit list box lays over one of its items.
// Enter or a loss of focus accepts the text, Escape cancels; either way the
// list hears once (XTLBN_ENDEDIT or XTLBN_NOCHANGE from IDC_XT_ITEMEDIT) and
// the editor closes, deleting itself when asked to.
#pragma once

#include "toolkit/controls/BrowseEdit.h"

class CXTItemEdit : public CXTBrowseEdit {
  DECLARE_DYNAMIC(CXTItemEdit)
  DECLARE_MESSAGE_MAP()
 public:
  // strText is read at once and receives the accepted text.
  CXTItemEdit(CWnd* pList, const CRect& rect, CString& strText, DWORD dwBStyle, BOOL bAutoDelete);

  virtual void EndLabelEdit();
  // Closes at once; the list hears nothing.
  void CloseSilently();
  BOOL PreTranslateMessage(MSG* pMsg) override;
  BOOL IsCancelled() const { return m_bEscapeKey; }

 protected:
  afx_msg void OnKillFocus(CWnd* pNewWnd);
  afx_msg void OnChar(UINT nChar, UINT nRepCnt, UINT nFlags);
  void PostNcDestroy() override;

  BOOL m_bClosePosted = FALSE;
  BOOL m_bIsClosing = FALSE;
  BOOL m_bAutoDelete;
  BOOL m_bEscapeKey = FALSE;
  CString& m_strWindowText;

 private:
  BOOL HandleEndKey(UINT nChar);
};
