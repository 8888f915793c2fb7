// An owner-drawn list box in the toolkit's colours and font. Its template
// must declare LBS_OWNERDRAWVARIABLE and LBS_HASSTRINGS itself: the list
// adds them at set-up too, but a list box reads them only when created.
#pragma once

#include "classlib/controls.h"

class CXTListBox : public CListBox {
  DECLARE_DYNAMIC(CXTListBox)
  DECLARE_MESSAGE_MAP()
 public:
  CXTListBox() = default;
  ~CXTListBox() override;

  void DrawItem(LPDRAWITEMSTRUCT lpDIS) override;
  void MeasureItem(LPMEASUREITEMSTRUCT lpMIS) override;

  BOOL m_bUseToolkitFont = TRUE;

 protected:
  void PreSubclassWindow() override;
  afx_msg int OnCreate(LPCREATESTRUCTA lpCreateStruct);
  afx_msg LRESULT OnInitControl(WPARAM wParam, LPARAM lParam);
  afx_msg BOOL OnEraseBkgnd(CDC* pDC);
  afx_msg void OnPaint();
  afx_msg void OnVScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
  afx_msg void OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);

  // Once attached to its window; TRUE the first time.
  virtual BOOL InitListBox();
  void ScrollWithoutFlicker();

  BOOL m_bInitPending = TRUE;
};
