// What the docking tests share: a frame whose four sides are the toolkit's dock
// bars, a class-library bar of fixed size and toolkit bars of a chosen size.
#pragma once

#include "classlib/classlib.h"
#include "toolkit/bars/ControlBar.h"
#include "toolkit/menus/MenuBar.h"
#include "test_bar.h"

// A visible frame at rect with a toolkit dock bar on each side and floating
// frames of the class library; it becomes the main window. Null on failure.
CFrameWnd* NewFrameWithToolkitDockBars(LPCSTR title, const RECT& rect);

// The class library's bar, and the toolkit's, of a fixed size.
using CBlockBar = TTestBar<CControlBar>;
using CSizedBar = TTestBar<CXTControlBar>;
const CSize kBlockSize(100, 24);

// The menu bar at a size of the test's choosing.
class CSizedMenuBar : public CXTMenuBar {
 public:
  explicit CSizedMenuBar(CSize horzSize) : m_size(horzSize) {}
  CSize CalcFixedLayout(BOOL, BOOL bHorz) override { return bHorz ? m_size : CSize(m_size.cy, m_size.cx); }
  CSize CalcDynamicLayout(int, DWORD nMode) override { return CalcFixedLayout(FALSE, (nMode & LM_HORZ) != 0); }

 private:
  CSize m_size;
};
