// Floating frames: small-captioned pop-ups owned by the main frame that hold
// one dock bar (59423) and take their size from it and their title from its bar.
#pragma once

#include "classlib/docking/dockbar.h"
#include "classlib/frame/framewnd.h"

#define MFS_SYNCACTIVE 0x00000100L
#define MFS_4THICKFRAME 0x00000200L
#define MFS_THICKFRAME 0x00000400L
#define MFS_MOVEFRAME 0x00000800L
#define MFS_BLOCKSYSMENU 0x00001000L

class CMiniFrameWnd : public CFrameWnd {
  DECLARE_DYNCREATE(CMiniFrameWnd)
 public:
  BOOL PreCreateWindow(CREATESTRUCTA& cs) override;
};

class CMiniDockFrameWnd : public CMiniFrameWnd {
  DECLARE_DYNCREATE(CMiniDockFrameWnd)
  DECLARE_MESSAGE_MAP()
 public:
  CMiniDockFrameWnd();
  virtual BOOL Create(CWnd* pParent, DWORD dwBarStyle);
  void RecalcLayout(BOOL bNotify = TRUE) override;

  CDockBar m_wndDockBar;

 protected:
  afx_msg void OnClose();
  afx_msg void OnActivate(UINT nState, CWnd* pWndOther, BOOL bMinimized);
  afx_msg int OnMouseActivate(CWnd* pDesktopWnd, UINT nHitTest, UINT message);
  afx_msg void OnNcLButtonDown(UINT nHitTest, CPoint point);
  afx_msg void OnNcLButtonDblClk(UINT nHitTest, CPoint point);

 private:
  // The bar a caption drag or double click acts on: the only one, unless several may share the frame.
  CControlBar* CaptionBar();
};
