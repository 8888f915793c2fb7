// The strip above an edit list box: its title and four small flat buttons
// (New, Delete, Move Item Up, Move Item Down), right-aligned, whose commands
// go on to the list.
#pragma once

#include "classlib/imagelist.h"
#include "toolkit/controls/Button.h"

class CXTEditListBox;

class CXTEditGroup : public CStatic {
  DECLARE_DYNAMIC(CXTEditGroup)
  DECLARE_MESSAGE_MAP()
 public:
  CXTEditGroup() = default;
  ~CXTEditGroup() override;

  // Creates the buttons; FALSE when one cannot be made.
  BOOL Initialize(CXTEditListBox* pListBox);
  void PositionButtons();
  BOOL PreTranslateMessage(MSG* pMsg) override;

 protected:
  BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
  afx_msg void OnPaint();
  afx_msg BOOL OnEraseBkgnd(CDC* pDC);
  afx_msg void OnWindowPosChanged(WINDOWPOS* lpwndpos);
  afx_msg void OnEnable(BOOL bEnable);
  afx_msg void OnShowWindow(BOOL bShow, UINT nStatus);

  enum { kButtonCount = 4 };
  CXTEditListBox* m_pListBox = nullptr;
  CXTButton m_buttons[kButtonCount];  // Down, Up, Delete, New: right to left
  CRect m_rcButtons[kButtonCount];
  CToolTipCtrl m_toolTip;
};
