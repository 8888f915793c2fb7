// What the docking tests share: a frame whose four sides are the toolkit's dock
// bars, a class-library bar of fixed size and toolkit bars of a chosen size.
#pragma once

#include "classlib/classlib.h"
#include "toolkit/bars/ControlBar.h"
#include "toolkit/menus/MenuBar.h"

// A visible frame at rect with a toolkit dock bar on each side and floating
// frames of the class library; it becomes the main window. Null on failure.
CFrameWnd* NewFrameWithToolkitDockBars(LPCSTR title, const RECT& rect);

// A bar of fixed size along its side.
class CBlockBar : public CControlBar {
 public:
  BOOL Create(CWnd* pParent, UINT nID) {
    AfxDeferRegisterClass(AFX_WNDCONTROLBAR_REG);
    DWORD style = SplitBarStyle(WS_CHILD | WS_VISIBLE | CBRS_TOP);
    if (!CWnd::Create(AFX_WNDCONTROLBAR, "Block", style, CRect(), pParent, nID)) return FALSE;
    EnableDocking(CBRS_ALIGN_ANY);
    return TRUE;
  }
  CSize CalcFixedLayout(BOOL, BOOL bHorz) override { return bHorz ? CSize(100, 24) : CSize(24, 100); }
  void OnUpdateCmdUI(CFrameWnd*, BOOL) override {}
};

// A toolkit bar of a given size along a horizontal side (turned on a vertical one).
class CSizedBar : public CXTControlBar {
 public:
  BOOL Create(CWnd* pParent, UINT nID, CSize horzSize) {
    m_size = horzSize;
    AfxDeferRegisterClass(AFX_WNDCONTROLBAR_REG);
    DWORD style = SplitBarStyle(WS_CHILD | WS_VISIBLE | CBRS_TOP);
    if (!CWnd::Create(AFX_WNDCONTROLBAR, nullptr, style, CRect(), pParent, nID)) return FALSE;
    EnableDocking(CBRS_ALIGN_ANY);
    return TRUE;
  }
  CSize CalcFixedLayout(BOOL, BOOL bHorz) override { return bHorz ? m_size : CSize(m_size.cy, m_size.cx); }
  void OnUpdateCmdUI(CFrameWnd*, BOOL) override {}

 private:
  CSize m_size;
};

// The menu bar at a size of the test's choosing.
class CSizedMenuBar : public CXTMenuBar {
 public:
  explicit CSizedMenuBar(CSize horzSize) : m_size(horzSize) {}
  CSize CalcFixedLayout(BOOL, BOOL bHorz) override { return bHorz ? m_size : CSize(m_size.cy, m_size.cx); }
  CSize CalcDynamicLayout(int, DWORD nMode) override { return CalcFixedLayout(FALSE, (nMode & LM_HORZ) != 0); }

 private:
  CSize m_size;
};
