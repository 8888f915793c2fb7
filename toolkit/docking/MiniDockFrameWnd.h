// CXTMiniDockFrameWnd: the small frame that holds a floating bar. For a
// toolkit bar it draws its own caption (MiniDockCaption.h) with the bar's
// title and a close button with a tip; a floating menu bar gets the caption
// without buttons. The system's close box goes, dragging the caption drags
// the bar, and the client area takes the bar's background colour. Other
// bars keep the class library's caption.
//
// A caption button: normal -> hot (pointer over it, tip shown) -> pressed
// (left button down on it) -> released over it: the frame closes (its bars
// hide). The pointer leaving the frame puts the buttons back at idle time.
// The buttons are built after creation and when the frame shows, and again
// when the look changes.
#pragma once

#include <vector>

#include "classlib/classlib.h"
#include "classlib/docking/minidockframe.h"
#include "toolkit/docking/MiniDockCaption.h"

class CXTMiniDockFrameWnd : public CMiniDockFrameWnd {
  DECLARE_DYNCREATE(CXTMiniDockFrameWnd)
  DECLARE_MESSAGE_MAP()
 public:
  // The look the buttons were built for.
  enum BuiltLook { kNotBuilt = 0, kFlatLook = 1, kClassicLook = 2 };

  CXTMiniDockFrameWnd() = default;
  BOOL Create(CWnd* pParent, DWORD dwBarStyle) override;
  // Never narrower than a small icon and the caption buttons.
  void RecalcLayout(BOOL bNotify = TRUE) override;

  BOOL IsToolkitBar(CWnd* pWnd) const;
  BOOL IsMenuBar(CWnd* pWnd) const;
  CDockBar* GetDockBar() { return &m_wndDockBar; }
  // The first bar the floating dock bar holds, or null.
  CControlBar* GetFirstBar() const;
  CDockContext* GetBarDragContext(CControlBar* pBar) const;
  virtual void DrawCaptionButton(CDC* pDC, const CXTCaptionButton& button);
  // Shows the tip of a close button at the screen point; closeTip FALSE hides it.
  virtual void ShowCaptionTip(CPoint point, BOOL closeTip);

  BuiltLook GetBuiltLook() const { return m_builtLook; }
  const std::vector<CXTCaptionButton>& GetCaptionButtons() const { return m_buttons; }
  CToolTipCtrl& GetCaptionTip() { return m_tip; }

 protected:
  afx_msg void OnNcPaint();
  afx_msg BOOL OnNcActivate(BOOL bActive);
  afx_msg void OnNcMouseMove(UINT nHitTest, CPoint point);
  afx_msg void OnNcLButtonDown(UINT nHitTest, CPoint point);
  afx_msg void OnNcLButtonUp(UINT nHitTest, CPoint point);
  afx_msg void OnShowWindow(BOOL bShow, UINT nStatus);
  afx_msg BOOL OnEraseBkgnd(CDC* pDC);
  afx_msg LRESULT OnSetText(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnIdleUpdateCmdUI(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnBuildCaption(WPARAM wParam, LPARAM lParam);

 private:
  // A toolkit bar is first: this frame draws the caption.
  BOOL DrawsOwnCaption() const;
  CXTCaptionLook CurrentLook() const;
  void BuildCaption();
  void PlaceButtons();
  void PaintCaption();
  // The button under a screen point that may be pressed, or null.
  CXTCaptionButton* ButtonAt(CPoint screenPoint);
  // Sets the hot and pressed states; repaints and moves the tip when they change.
  void SetButtonStates(const CXTCaptionButton* pHot, const CXTCaptionButton* pPressed);
  void CreateCaptionTip();

  BuiltLook m_builtLook = kNotBuilt;
  std::vector<CXTCaptionButton> m_buttons;
  CToolTipCtrl m_tip;
  CImageList m_glyphs;
};
