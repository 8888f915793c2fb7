// The menu bar's two window hooks: one on its frame, one on the frame's MDI
// client. Through them the bar follows the maximised MDI child, the frame's
// activation and system colours, marks the popups it opened, learns which
// item the open popup has selected, and takes the menus an MDI child hands
// to its frame (WM_MDISETMENU) in place of the frame's own menu.
#pragma once

#include "toolkit/common/WndHook.h"

class CXTMenuBar;

class CXTMBarWndHook : public CXTWndHook {
 public:
  virtual void Install(CXTMenuBar* bar, HWND hWnd);
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

 protected:
  // The messages both hooks handle alike; FALSE: not handled, pass it on.
  BOOL HandleShared(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);
  // Takes an MDI child's menus; the frame shows none of its own.
  void TakeMDIMenus(HMENU menu, HMENU windowMenu, HWND frame);

  CXTMenuBar* m_pMenuBar = nullptr;
};

class CXTMBarMDIWndHook : public CXTMBarWndHook {
 public:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
};
