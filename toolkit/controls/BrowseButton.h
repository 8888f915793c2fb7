// The small button beside a browse edit: "..." for a folder or a file, an
// arrow icon for a pop-up menu. A click, Enter or Space runs the edit's browse.
#pragma once

#include "toolkit/controls/Button.h"

class CXTBrowseEdit;

// The button's width: "..." or the 10 by 10 icon with a small margin.
constexpr int XT_BROWSE_BUTTON_WIDTH = 18;

class CXTBrowseBtn : public CXTButton {
  DECLARE_DYNAMIC(CXTBrowseBtn)
  DECLARE_MESSAGE_MAP()
 public:
  CXTBrowseBtn();
  ~CXTBrowseBtn() override;

  virtual BOOL Create(CXTBrowseEdit* pEditWnd, DWORD dwBStyle, UINT nID, UINT nMenu = 0, int nSubMenuIndx = 0);

 protected:
  afx_msg void OnClicked();
  afx_msg void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);

  DWORD m_dwBStyle = 0;
  UINT m_nMenu = 0;
  int m_nSubMenuIndx = 0;
  CXTBrowseEdit* m_pEditWnd = nullptr;
  HICON m_hPopupIcon = nullptr;
};
