// The tab control of a resizable sheet, subclassed so that it paints
// without flicker on the toolkit's face colour.
#pragma once

#include "classlib/controls.h"

class CXTSheetTabCtrl : public CTabCtrl {
  DECLARE_DYNAMIC(CXTSheetTabCtrl)
  DECLARE_MESSAGE_MAP()
 public:
  CXTSheetTabCtrl();

 protected:
  afx_msg BOOL OnEraseBkgnd(CDC* pDC);
  afx_msg void OnPaint();

  COLORREF m_crBack;
};
