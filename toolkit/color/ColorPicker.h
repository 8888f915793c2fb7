// CXTColorPickerStatic: what the custom colour page's two pickers share, a
// static control that draws a picture of colours into a cached surface and
// keeps a cursor on it. A click, a drag or an arrow key moves the cursor;
// the colour under it is the picker's colour and is told to the page
// (XTWM_COLOR_SETNEW); a double click, Enter or Space accepts the dialog.
#pragma once

#include <memory>

#include "classlib/classlib.h"
#include "toolkit/common/DibSection.h"

class CXTColorDialog;

class CXTColorPickerStatic : public CStatic {
  DECLARE_MESSAGE_MAP()
 public:
  // Which picker holds the focus: one value for the whole process.
  enum Focus { kNoPicker = 0, kSpectrumFocus = 1, kBarFocus = 2 };
  static int s_pickerFocus;

  explicit CXTColorPickerStatic(CXTColorDialog* pSheet) : m_pSheet(pSheet) {}

  // Takes the colour and its hue, saturation and luminance, and with
  // bUpdatePosition moves the cursor to where the colour lies.
  virtual void PickerSetColor(COLORREF color, BOOL bUpdatePosition);
  virtual COLORREF PickerGetColor() const { return m_color; }
  // Puts the cursor at a client point and takes the colour the picture has
  // there (its hue, saturation and luminance stay); with bNotify the page is
  // told of it.
  virtual void PickerSetCursorAt(int x, int y, BOOL bNotify);
  BOOL PreTranslateMessage(MSG* pMsg) override;

  double GetHue() const { return m_hue; }
  double GetSaturation() const { return m_saturation; }
  double GetLuminance() const { return m_luminance; }
  CPoint GetCursor() const { return m_cursor; }
  // The whole picker with its cursor, as WM_PAINT shows it.
  void Draw(CDC& dc);

 protected:
  // The cursor's place for the colour's hue, saturation and luminance.
  virtual CPoint CursorForColor() const = 0;
  // The cursor one key press on; the cursor itself for a key not taken.
  virtual CPoint CursorAfterKey(UINT key) const = 0;
  virtual Focus FocusKind() const = 0;
  // Draws the picture into the cache, sized as the client area (client).
  virtual void DrawPicture(CXTDibSection& picture, const CRect& client) = 0;
  // The cursor over the picture, in the focus colours.
  virtual void DrawCursor(CDC& dc, const CRect& client) = 0;
  // Whether the picture is drawn again at each paint, not once.
  virtual BOOL RedrawsPictureEachPaint() const { return FALSE; }
  virtual void OnFocusChanged() { Invalidate(FALSE); }

  void PreSubclassWindow() override;
  afx_msg LRESULT OnInitControl(WPARAM wParam, LPARAM lParam);
  afx_msg BOOL OnEraseBkgnd(CDC* pDC);
  afx_msg void OnPaint();
  afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
  afx_msg void OnMouseMove(UINT nFlags, CPoint point);
  afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
  afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
  afx_msg void OnSetFocus(CWnd* pOldWnd);
  afx_msg void OnKillFocus(CWnd* pNewWnd);
  afx_msg void OnDestroy();

  BOOL HasFocus() const { return s_pickerFocus == FocusKind(); }
  void EnsurePicture();

  CXTColorDialog* m_pSheet;
  COLORREF m_color = 0;
  BOOL m_initPending = TRUE;
  double m_luminance = 0, m_saturation = 0, m_hue = 0;
  CPoint m_cursor;
  std::unique_ptr<CXTDibSection> m_picture;
};
