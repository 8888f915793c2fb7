// The toolkit's other frames, each the class library's frame of that kind
// with the frame helper as CXTFrameWnd has it: CXTMDIFrameWnd, the
// multiple-document main frame, whose "More Windows..." command opens the
// window list; CXTOleIPFrameWnd, the in-place frame of an embedded
// document; and CXTMDIChildWnd, a multiple-document child with cool menus
// of its own that makes its first view the active one when it is activated.
#pragma once

#include "toolkit/frame/FrameWndBase.h"

class CXTMDIFrameWnd : public CXTFrameWndBase<CMDIFrameWnd> {
  DECLARE_DYNCREATE(CXTMDIFrameWnd)
  DECLARE_MESSAGE_MAP()
 protected:
  afx_msg void OnMoreWindows();
};

class CXTOleIPFrameWnd : public CXTFrameWndBase<COleIPFrameWnd> {
  DECLARE_DYNCREATE(CXTOleIPFrameWnd)
};

class CXTMDIChildWnd : public CMDIChildWnd, public CXTFrameHelper {
  DECLARE_DYNCREATE(CXTMDIChildWnd)
  DECLARE_MESSAGE_MAP()
 public:
  virtual void LoadBarState(LPCSTR lpszProfileName) { CXTFrameHelper::LoadBarState(this, lpszProfileName); }
  virtual BOOL SaveBarState(LPCSTR lpszProfileName) { return CXTFrameHelper::SaveBarState(this, lpszProfileName); }
  virtual void DockControlBarLeftOf(CControlBar* pBar, CControlBar* pLeftOf) {
    CXTFrameHelper::DockControlBarLeftOf(this, pBar, pLeftOf);
  }
  void ActivateFrame(int nCmdShow = -1) override;

 protected:
  afx_msg int OnCreate(LPCREATESTRUCTA lpcs);

 private:
  CXTCoolMenu m_childCoolMenu;
};
