// What the docking tests share: a frame whose four sides are the toolkit's dock
// bars, and a class-library bar of fixed size.
#pragma once

#include "classlib/classlib.h"

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
