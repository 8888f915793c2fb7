// A static text that behaves as a link: a hand cursor and the hot colour
// while the mouse is over its text (not over the blank rest of its
// rectangle), a click there opens its target through the shell, and the
// visited colour from then on. A tool tip shows the target.
#pragma once

#include "classlib/controls.h"

// How a link opens its target; tests answer in place of the shell.
struct CXTShellApi {
  HINSTANCE(WINAPI* execute)(HWND, LPCSTR verb, LPCSTR file, LPCSTR params, LPCSTR dir, INT show);
};
extern CXTShellApi g_xtShellApi;

class CXTHyperLink : public CStatic {
  DECLARE_DYNAMIC(CXTHyperLink)
  DECLARE_MESSAGE_MAP()
 public:
  CXTHyperLink();
  ~CXTHyperLink() override;

  virtual void SetLinkTarget(LPCSTR lpszTarget);
  virtual CString GetLinkTarget() const { return m_strTarget; }
  virtual void SetLinkColors(COLORREF crNormal, COLORREF crVisited, COLORREF crHot);
  virtual COLORREF GetNormalColor() const { return m_crNormal; }
  virtual COLORREF GetVisitedColor() const { return m_crVisited; }
  virtual COLORREF GetHotColor() const { return m_crHot; }
  virtual void SetVisitedState(BOOL bVisited);
  virtual BOOL IsVisitedState() const { return m_bVisited; }
  virtual void SetHandCursor(HCURSOR hCursor) { m_hcurHand = hCursor; }
  virtual HCURSOR GetHandCursor() const { return m_hcurHand; }
  virtual void SetUnderlined(BOOL bUnderline);
  virtual BOOL IsUnderlined() const { return m_bUnderline; }
  // CLR_NONE (-1): the toolkit's face colour.
  virtual void SetBackgroundColor(COLORREF crBack) { m_crBack = crBack; }
  virtual COLORREF GetBackgroundColor() const;
  // Opens lpszTarget (null: the link's own target); the shell's result. A
  // failure is reported in an error box.
  virtual HINSTANCE OpenTarget(LPCSTR lpszTarget, int nShowCmd);
  virtual BOOL IsPlainTextStyle() const;
  virtual BOOL IsCursorOverText() const;

  BOOL PreTranslateMessage(MSG* pMsg) override;

  BOOL m_bFollowOnClick = TRUE;

 protected:
  void PreSubclassWindow() override;
  afx_msg int OnCreate(LPCREATESTRUCTA lpCreateStruct);
  afx_msg LRESULT OnInitControl(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnNcHitTest(CPoint point);
  afx_msg HBRUSH CtlColor(CDC* pDC, UINT nCtlColor);
  afx_msg BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
  afx_msg void OnMouseMove(UINT nFlags, CPoint point);
  afx_msg void OnTimer(UINT_PTR nIDEvent);
  afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
  afx_msg BOOL OnEraseBkgnd(CDC* pDC);
  afx_msg void OnPaint();
  afx_msg void OnWindowPosChanged(WINDOWPOS* lpwndpos);

  BOOL m_bInitPending = TRUE;
  BOOL m_bUnderline = TRUE;
  BOOL m_bHot = FALSE;
  BOOL m_bVisited = FALSE;
  CString m_strTarget;
  HCURSOR m_hcurHand;
  COLORREF m_crNormal = RGB(0, 0, 0x80);
  COLORREF m_crHot = RGB(0, 0, 0xFF);
  COLORREF m_crVisited = RGB(0x80, 0, 0x80);
  COLORREF m_crBack = CLR_NONE;
  CToolTipCtrl m_toolTip;

 private:
  void ApplyFont();
  void RefreshNow();
};
