// An owner-drawn push button with an icon or bitmap and text, in one of the
// toolkit's looks:
//   0x01 flat: no edge while idle, raised while hot, sunken while pressed
//   0x02 thin: one raised or sunken rectangle
//   0x04 the image stands centred above the text
//   0x10 a focus rectangle while focused
//   0x20 halftone face while pressed (or, checked, while the cursor is away)
//   0x40 flat "XP" look: a border and a filled face while hot or pressed
// Without 0x01 and 0x40 the button has the classic thick edge. A 10-ms timer
// follows the mouse for the hot look (bits 0x01, 0x02 and 0x40).
#pragma once

#include "classlib/controls.h"
#include "toolkit/controls/DeferredInit.h"

// Look bits.
enum : DWORD {
  BS_XT_FLAT = 0x01,
  BS_XT_SEMIFLAT = 0x02,
  BS_XT_TWOROWS = 0x04,
  BS_XT_SHOWFOCUS = 0x10,
  BS_XT_HILITEPRESSED = 0x20,
  BS_XT_XPFLAT = 0x40,
};

class CXTButton : public CButton {
  DECLARE_DYNAMIC(CXTButton)
  DECLARE_MESSAGE_MAP()
 public:
  CXTButton();
  ~CXTButton() override;

  virtual void SetButtonColors(COLORREF crFace, COLORREF crHighlight, COLORREF crShadow, COLORREF crText);
  virtual void SetFaceColor(COLORREF crFace) { m_crFace = crFace; }
  virtual COLORREF GetFaceColor() const { return m_crFace; }
  virtual void SetHighlightColor(COLORREF crHighlight) { m_crHighlight = crHighlight; }
  virtual void SetShadowColor(COLORREF crShadow) { m_crShadow = crShadow; }
  virtual void SetButtonTextColor(COLORREF crText) { m_crText = crText; }
  virtual void SetFlatLookColors(COLORREF crBorder, COLORREF crHot, COLORREF crPressed);
  virtual BOOL LoadIcons(int cx, int cy, LPCSTR lpszIcon, LPCSTR lpszPushedIcon, BOOL bRedraw = TRUE);
  virtual BOOL LoadIconsById(int cx, int cy, UINT nIcon, UINT nPushedIcon);
  // The button owns the handles from now on.
  virtual void SetIcons(int cx, int cy, HICON hIcon, HICON hPushedIcon, BOOL bRedraw = TRUE);
  virtual BOOL LoadButtonBitmap(int cx, int cy, UINT nBitmap, BOOL bRedraw = TRUE);
  virtual void SetContentPositions(int xImage, int yImage, int xText, int yText, BOOL bRedraw = TRUE);
  virtual DWORD GetLookStyle() const { return m_dwLook; }
  virtual void ResetImage();
  virtual void CleanUpImages();
  virtual void DrawButtonIcon(CDC* pDC, UINT nState, const CRect& rcItem);
  virtual void DrawButtonText(CDC* pDC, UINT nState, const CRect& rcItem);
  virtual void DrawButtonBitmap(CDC* pDC, UINT nState, const CRect& rcItem);
  virtual void GetButtonText(CString& strText, BOOL bStripAmpersands) const;
  virtual void GetImagePoint(CPoint& point, CDC* pDC, UINT nState, const CRect& rcItem, BOOL bHasPushedImage);
  // The previous look.
  DWORD SetLookStyle(DWORD dwLook, BOOL bRedraw = TRUE);

  void DrawItem(LPDRAWITEMSTRUCT lpDIS) override;

  int m_nGap = 4;       // margin from the left edge, and between image and text
  int m_nTextGap = 8;   // between an image above the text and the text
  BOOL m_bChecked = FALSE;

 protected:
  void PreSubclassWindow() override;
  afx_msg int OnCreate(LPCREATESTRUCTA lpCreateStruct);
  afx_msg LRESULT OnInitControl(WPARAM wParam, LPARAM lParam);
  afx_msg void OnDestroy();
  afx_msg void OnSysColorChange();
  afx_msg void OnMouseMove(UINT nFlags, CPoint point);
  afx_msg void OnTimer(UINT_PTR nIDEvent);
  afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
  afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
  afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
  afx_msg BOOL OnEraseBkgnd(CDC* pDC);
  afx_msg void OnPaint();

  void GetContentOrigin(CPoint& point, int cx, int cy) const;

  HICON m_hIcon = nullptr;
  HICON m_hPushedIcon = nullptr;
  HBITMAP m_hBitmap = nullptr;
  HBITMAP m_hDisabledBitmap = nullptr;
  CSize m_sizeImage;
  CPoint m_ptImage, m_ptText;  // explicit positions
  DWORD m_dwLook = BS_XT_FLAT;
  BOOL m_bHot = FALSE;
  BOOL m_bExplicitPositions = FALSE;
  BOOL m_bPressed = FALSE;
  BOOL m_bCustomColors = FALSE;
  BOOL m_bHotDrawn = FALSE;
  COLORREF m_crText, m_crFace, m_crHighlight, m_crShadow;
  COLORREF m_crFlatHot = 0, m_crFlatPressed = 0, m_crFlatBorder = 0;
  BOOL m_bFlatColors = FALSE;
  CXTDeferredInit m_init;

 private:
  bool HasHoverLook() const { return (m_dwLook & (BS_XT_FLAT | BS_XT_SEMIFLAT | BS_XT_XPFLAT)) != 0; }
  void ReadSystemColors();
  void Redraw(BOOL bRedraw);
  void HoverStep();
  COLORREF DrawEdge(CDC* pDC, CRect rect, UINT nState);
  CSize MeasureText(CDC* pDC) const;
};
