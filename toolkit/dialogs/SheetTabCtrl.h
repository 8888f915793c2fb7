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
  COLORREF m_crBack;
};
