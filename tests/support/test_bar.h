// The bar the docking tests dock, float and drag: a window of the class
// library's bar class with a fixed size and nothing to update, over either
// the class library's bar (TBase = CControlBar) or one derived from it.
#pragma once

#include "classlib/classlib.h"

template <class TBase>
class TTestBar : public TBase {
 public:
  // horzSize along a horizontal side, turned on a vertical one; it docks at
  // the sides dwDockStyle allows.
  BOOL Create(CWnd* pParent, UINT nID, CSize horzSize, LPCSTR title = nullptr, DWORD dwDockStyle = CBRS_ALIGN_ANY) {
    m_size = horzSize;
    AfxDeferRegisterClass(AFX_WNDCONTROLBAR_REG);
    DWORD style = this->SplitBarStyle(WS_CHILD | WS_VISIBLE | CBRS_TOP);
    if (!this->CWnd::Create(AFX_WNDCONTROLBAR, title, style, CRect(), pParent, nID)) return FALSE;
    this->EnableDocking(dwDockStyle);
    return TRUE;
  }
  CSize CalcFixedLayout(BOOL, BOOL bHorz) override { return bHorz ? m_size : CSize(m_size.cy, m_size.cx); }
  void OnUpdateCmdUI(CFrameWnd*, BOOL) override {}

 private:
  CSize m_size;
};
