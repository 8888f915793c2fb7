// CXTExpButton: the chevron at the end of a tool bar. It shows two arrows
// when the bar hides buttons and a small triangle when the bar is
// customizable; a click opens the pop-up with the hidden buttons (and
// "Customize..."). The object deletes itself with its window.
#pragma once

#include "toolkit/controls/Button.h"

class CXTToolBar;
class CXTExpMenuWnd;

class CXTExpButton : public CXTButton {
  DECLARE_DYNAMIC(CXTExpButton)
  DECLARE_MESSAGE_MAP()
 public:
  enum { kThickness = 12 };
  explicit CXTExpButton(CXTToolBar* bar) : m_pBar(bar) {}

  BOOL Create(UINT id);
  BOOL IsPopupOpen() const { return m_pPopup != nullptr; }
  CXTExpMenuWnd* Popup() const { return m_pPopup; }
  void ClosePopup();

  void DrawItem(LPDRAWITEMSTRUCT lpDIS) override;
  COLORREF GetFaceColor() const override;
  void DrawButtonBitmap(CDC* pDC, UINT nState, const CRect& rcItem) override;

 protected:
  void PostNcDestroy() override { delete this; }
  afx_msg void OnLButtonDown(UINT flags, CPoint point);
  afx_msg void OnCancelMode();
  afx_msg void OnPaint();
  afx_msg void OnCustomize();
  afx_msg BOOL OnClicked();
  afx_msg void OnUpdateSelf(CCmdUI* ui);
  afx_msg LRESULT OnPopupClosed(WPARAM, LPARAM);

 private:
  // The chevron's client rectangle on the screen, inside every ancestor's client area.
  CRect VisibleScreenRect() const;
  void DrawGlyphs(CDC* dc, const CRect& rect, BOOL pressed);

  CXTToolBar* m_pBar;
  CXTExpMenuWnd* m_pPopup = nullptr;
};
