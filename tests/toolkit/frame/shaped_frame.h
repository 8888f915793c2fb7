// A frame made the way the builder makes its main frame: a flat menu bar
// (59480) from menu 128, a status bar, a static splitter of two views,
// docking on every side with the flat dock style, cool menus with the
// images of strips 128 and 99, and its bar state under one profile name.
#pragma once

#include "toolkit/bars/SplitterWnd.h"
#include "toolkit/bars/StatusBar.h"
#include "toolkit/frame/FrameWnd.h"
#include "toolkit/menus/MenuBar.h"

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
  static CShapedFrame* Make(const RECT& rect);

  CXTMenuBar m_menuBar;
  CXTStatusBar m_statusBar;
  CXTSplitterWnd m_splitter;

 protected:
  BOOL OnCreateClient(LPCREATESTRUCTA lpcs, CCreateContext* pContext) override;
  afx_msg int OnCreate(LPCREATESTRUCTA lpcs);
};
