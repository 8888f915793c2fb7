// CXTWindowListBox: the window list's list box, painted off screen over a
// background colour of its own, so its lines never flicker.
#pragma once

#include "classlib/classlib.h"

class CXTWindowListBox : public CListBox {
  DECLARE_MESSAGE_MAP()
 public:
  void SetBackColor(COLORREF color) { m_background = color; }

 protected:
  afx_msg BOOL OnEraseBkgnd(CDC* pDC);
  afx_msg void OnPaint();

 private:
  COLORREF m_background = ::GetSysColor(COLOR_WINDOW);
};
