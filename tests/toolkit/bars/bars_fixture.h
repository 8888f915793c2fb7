// What the bar tests share: a frame window to put bars and splitters in, and
// the pump that gives them their idle time.
#pragma once

#include "classlib/classlib.h"
#include "toolkit/bars/ControlBar.h"

// A toolkit bar of a fixed height that counts its command updates.
class CTestBar : public CXTControlBar {
 public:
  BOOL Create(CWnd* parent, DWORD barStyle, UINT id, LPCSTR className = nullptr) {
    AfxDeferRegisterClass(AFX_WNDCONTROLBAR_REG);
    DWORD style = SplitBarStyle(WS_CHILD | WS_VISIBLE | barStyle);
    return CWnd::Create(className ? className : AFX_WNDCONTROLBAR, nullptr, style, CRect(0, 0, 200, 24), parent, id);
  }
  CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz) override {
    CSize size = CXTControlBar::CalcFixedLayout(bStretch, bHorz);
    size.cy = 24;
    return size;
  }
  void OnUpdateCmdUI(CFrameWnd* target, BOOL) override {
    ++updates;
    lastTarget = target;
  }
  int updates = 0;
  CFrameWnd* lastTarget = nullptr;
};

// A fresh top-level frame, destroyed with the fixture.
CFrameWnd* NewFrame(const char* title);
// Handles what is queued, then one round of idle updates.
void PumpAndIdle();
