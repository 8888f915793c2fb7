// CXTStatusBar: the class library's status bar with flat pane frames in the
// flat look, drawn off-screen, and child controls that sit in panes (moved
// into their pane whenever the bar is sized).
#pragma once

#include "classlib/array.h"
#include "classlib/bars/statusbar.h"

class CXTStatusBar : public CStatusBar {
  DECLARE_DYNAMIC(CXTStatusBar)
  DECLARE_MESSAGE_MAP()
 public:
  CXTStatusBar() = default;
  ~CXTStatusBar() override;

  // Puts a control into the pane of the command id; with autoDelete the bar
  // deletes the object after destroying its window. FALSE for an unknown pane.
  BOOL AddControl(CWnd* control, UINT paneId, BOOL autoDelete);
  // The pane's rectangle with the last pane's right edge where it is drawn.
  CRect GetPaneRect(int index) const;

 protected:
  afx_msg void OnSize(UINT nType, int cx, int cy);
  afx_msg int OnCreate(LPCREATESTRUCTA lpcs);
  afx_msg void OnPaint();
  afx_msg BOOL OnEraseBkgnd(CDC*) { return TRUE; }
  afx_msg void OnDestroy();
  afx_msg LRESULT OnIdleUpdateCmdUI(WPARAM wParam, LPARAM lParam);

 private:
  struct PaneControl {
    CWnd* control;
    UINT paneId;
    BOOL autoDelete;
  };
  void PositionControls();
  void ReleaseControls();

  CArray<PaneControl, const PaneControl&> m_controls;
};
