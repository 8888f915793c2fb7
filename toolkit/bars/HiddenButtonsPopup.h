// The chevron's pop-up: a borderless window under (or beside) the chevron
// holding copies of the bar's hidden buttons, with their images, texts,
// drop-downs and the very controls of hidden separators (lent while it is
// open), and, for a customizable bar, a "Customize..." button. It closes on
// deactivation, on an application switch, when a command comes from it or
// the frame, and when a drop-down of a tool bar closes; the controls go back
// to the bar then. The object deletes itself with its window.
#pragma once

#include "toolkit/bars/ToolBar.h"
#include "toolkit/common/WndHook.h"

class CXTExpMenuWnd;

// A tool bar inside the pop-up: always flat, on the pop-up's colour.
class CXTHiddenButtonsToolbar : public CXTToolBar {
  DECLARE_DYNAMIC(CXTHiddenButtonsToolbar)
 public:
  COLORREF GetBackColor() const override;
  BOOL HasFlatLook() const override { return TRUE; }
  CXTExpMenuWnd* m_pMenu = nullptr;
};

// On the bar's frame while the pop-up is open: the frame keeps its active
// caption, and a command it receives closes the pop-up first.
class CXTHiddenButtonsWndHook : public CXTWndHook {
  DECLARE_DYNAMIC(CXTHiddenButtonsWndHook)
 public:
  explicit CXTHiddenButtonsWndHook(CXTExpMenuWnd* popup) : m_pPopup(popup) {}
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  CXTExpMenuWnd* m_pPopup;
};

class CXTExpMenuWnd : public CWnd {
  DECLARE_DYNAMIC(CXTExpMenuWnd)
  DECLARE_MESSAGE_MAP()
 public:
  // The pop-up of bar's hidden buttons at the chevron's screen rectangle,
  // telling chevron when it closes; null when it cannot be made.
  static CXTExpMenuWnd* Open(const CRect& chevronRect, CXTToolBar* bar, CWnd* chevron);
  // Destroys the window once.
  void Close();
  BOOL IsLentControl(UINT id) const;
  CXTToolBar* SourceBar() const { return m_pBar; }

  CXTHiddenButtonsToolbar m_hiddenBar;
  CXTHiddenButtonsToolbar m_customizeBar;

 protected:
  CXTExpMenuWnd(const CRect& chevronRect, CXTToolBar* bar, CWnd* chevron);
  BOOL ShowHiddenButtonsPopup();
  void PostNcDestroy() override { delete this; }

  afx_msg int OnCreate(LPCREATESTRUCTA lpcs);
  afx_msg void OnDestroy();
  afx_msg void OnNcCalcSize(BOOL calcValidRects, NCCALCSIZE_PARAMS* params);
  afx_msg void OnNcPaint();
  afx_msg void OnActivate(UINT state, CWnd* other, BOOL minimized);
  afx_msg void OnActivateApp(BOOL active, DWORD thread);
  afx_msg void OnKillFocus(CWnd* newFocus);
  afx_msg BOOL OnEraseBkgnd(CDC* dc);
  afx_msg void OnWindowPosChanged(WINDOWPOS* pos);
  afx_msg void OnCustomize();

 private:
  BOOL CreateCustomizeBar();
  CPoint PopupOrigin(CSize size) const;
  void PaintOpenEdge(CDC* dc, const CRect& window) const;

  BOOL m_bClosing = FALSE;
  CXTHiddenButtonsWndHook m_hook;
  CRect m_chevronRect;
  CXTToolBar* m_pBar;
  HWND m_notifyWnd;
};
