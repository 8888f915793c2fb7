// A frame made the way the builder makes its main frame: a flat menu bar
// (59480) from menu 128, a status bar, a static splitter of two views,
// docking on every side with the flat dock style, cool menus with the
// images of strips 128 and 99, and its bar state under one profile name.
#pragma once

#include "toolkit/bars/SplitterWnd.h"
#include "toolkit/bars/StatusBar.h"
#include "toolkit/frame/FrameWnd.h"
#include "toolkit/menus/MenuBar.h"

// A toolkit bar of fixed size along its side.
class CBlockBar : public CXTControlBar {
 public:
  BOOL Create(CWnd* pParent, UINT nID, DWORD dwAlign = CBRS_ALIGN_TOP) {
    AfxDeferRegisterClass(AFX_WNDCONTROLBAR_REG);
    if (!CWnd::Create(AFX_WNDCONTROLBAR, "Block", SplitBarStyle(WS_CHILD | WS_VISIBLE | dwAlign), CRect(), pParent,
                      nID))
      return FALSE;
    EnableDocking(CBRS_ALIGN_ANY);
    return TRUE;
  }
  CSize CalcFixedLayout(BOOL, BOOL bHorz) override { return bHorz ? CSize(100, 24) : CSize(24, 100); }
  void OnUpdateCmdUI(CFrameWnd*, BOOL) override {}
};

// A view that draws nothing.
class CPlainView : public CView {
  DECLARE_DYNCREATE(CPlainView)
 public:
  void OnDraw(CDC*) override {}
};

class CShapedFrame : public CXTFrameWnd {
  DECLARE_DYNCREATE(CShapedFrame)
  DECLARE_MESSAGE_MAP()
 public:
  static const char kProfile[];
  // Made, placed at rect and made the main window; null when it fails.
  // withSideBar: also a fixed bar (kSideBarId) docked on the left.
  static CShapedFrame* Make(const RECT& rect, bool withSideBar = false);

  enum : UINT { kSideBarId = AFX_IDW_CONTROLBAR_FIRST + 0x40 };

  CXTMenuBar m_menuBar;
  CXTStatusBar m_statusBar;
  CXTSplitterWnd m_splitter;
  CBlockBar m_sideBar;
  bool m_withSideBar = false;

 protected:
  BOOL OnCreateClient(LPCREATESTRUCTA lpcs, CCreateContext* pContext) override;
  afx_msg int OnCreate(LPCREATESTRUCTA lpcs);
};
