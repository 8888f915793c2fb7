// CXTColorHoneycomb: the standard page's honeycomb of 144 colour cells on a
// static control, drawn once pixel by pixel into a cached picture. A click,
// a drag or an arrow key picks a cell and tells the page (XTWM_COLOR_SETNEW);
// a double click, Enter or Space accepts the dialog. The cell of the
// dialog's new colour is marked (white on both of its cells).
#pragma once

#include "classlib/classlib.h"

class CXTColorDialog;

class CXTColorHoneycomb : public CStatic {
  DECLARE_MESSAGE_MAP()
 public:
  explicit CXTColorHoneycomb(CXTColorDialog* pSheet) : m_pSheet(pSheet) {}

  // The current colour, whose cell is marked when it is the dialog's new colour.
  void SetColor(COLORREF color);
  COLORREF GetColor() const { return m_color; }
  static BOOL IsStandardColor(COLORREF color);
  // Picks the cell at a client point, as a click does.
  void SelectAt(CPoint point);
  BOOL PreTranslateMessage(MSG* pMsg) override;
  // The whole honeycomb with its mark, as WM_PAINT shows it.
  void Draw(CDC& dc);

 protected:
  void PreSubclassWindow() override;
  afx_msg LRESULT OnInitControl(WPARAM wParam, LPARAM lParam);
  afx_msg BOOL OnEraseBkgnd(CDC* pDC);
  afx_msg void OnPaint();
  afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
  afx_msg void OnMouseMove(UINT nFlags, CPoint point);
  afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
  afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);

 private:
  void DrawCells(CDC& dc);
  void CachePicture(CDC& dc, const CRect& client);
  void DrawSelectionMark(CDC& dc);
  int CurrentCell() const;
  void Accept();

  CXTColorDialog* m_pSheet;
  BOOL m_initPending = TRUE;
  int m_markCell = -1;  // the cell last picked or found for the colour
  COLORREF m_color = static_cast<COLORREF>(-1);
  BOOL m_tracking = FALSE;
  // The cells as first drawn; each paint copies them and adds the mark.
  CDC m_cache;
  CBitmap m_cacheBitmap;
};
