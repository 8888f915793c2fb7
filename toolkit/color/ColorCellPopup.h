// CXTColorCellPopup: a window of colour cells. On top a wide "Automatic" (or
// "No Fill") button, then a grid of named colours (16 or 40), optionally a
// row of the colours chosen lately in the colour dialog and a "More Colors..."
// button that opens it. A cell is picked with the mouse or the keys; the
// result goes to every listener window (the owner first) as one of the
// XTWM_COLOR_* messages.
//
// Files: ColorCellPopup.cpp (creation, cells, mouse, keys), ColorCellPopupPaint.cpp
// (drawing), ColorCellPopupSelection.cpp (ending a choice, recent colours).
#pragma once

#include <vector>

#include "classlib/classlib.h"

// The style word (a tool-bar drop-down's descriptor gives it).
enum : DWORD {
  XTCP_NOFILL = 0x01,             // the top button is "No Fill" instead of "Automatic"
  XTCP_EXTENDED = 0x02,           // 40 colours instead of 16, no "Standard Colors" label
  XTCP_MORECOLORS = 0x04,         // the recent-colour row and the "More Colors..." button
  XTCP_DIALOGFLAGS = 0x60,        // passed on to the colour dialog
  XTCP_POPUPWINDOW = 0x80000000,  // a pop-up window, not a child
};

class CXTColorCellPopup : public CWnd {
  DECLARE_MESSAGE_MAP()
 public:
  static const COLORREF kNoColor = 0xFF000000;

  CXTColorCellPopup() = default;
  ~CXTColorCellPopup() override = default;

  // The window under rect (screen coordinates for a pop-up, else the
  // owner's client), sized for the style; the owner is the first listener.
  virtual BOOL Create(const CRect& rect, CWnd* pOwner, DWORD dwStyle, COLORREF clrCurrent, COLORREF clrDefault);
  // Ends the choice at a cell (-1: cancelled) and tells every listener.
  virtual void EndSelection(int nIndex, LPARAM lParam = 0);
  void AddListener(HWND hWnd) { m_listeners.push_back(hWnd); }

  int GetHotIndex() const { return m_hotIndex; }
  int GetLastIndex() const { return m_lastIndex; }
  // The index of the selected cell, or -1.
  int GetSelectedIndex() const;
  COLORREF GetCellColor(int nIndex) const;
  CRect GetCellRect(int nIndex) const;
  // The cells as WM_PAINT shows them, over a background already filled.
  void Draw(CDC& dc);

  // Colours chosen in the colour dialog, at most one row, oldest first; for this run only.
  static std::vector<COLORREF>& RecentColors();

 protected:
  enum : UINT { kColorCell = 0x08, kMoreColorsCell = 0x10 };
  struct ColorCell {
    CRect rect;
    UINT nTipID;
    int nIndex;
    BOOL bSelected;
    DWORD dwKind;
    CString text;
    COLORREF color;
  };
  static const int kColumns = 8;

  // The pop-up's own frame around its cells; a drop-down sets them before Create.
  CRect m_margins;
  CWnd* m_pOwner = nullptr;
  DWORD m_dwStyle = 0;
  COLORREF m_clrCurrent = kNoColor;
  COLORREF m_clrDefault = kNoColor;
  BOOL m_dialogOpen = FALSE;

  afx_msg int OnCreate(LPCREATESTRUCTA lpcs);
  afx_msg BOOL OnEraseBkgnd(CDC* pDC);
  afx_msg void OnPaint();
  afx_msg void OnMouseMove(UINT nFlags, CPoint point);
  afx_msg LRESULT OnMouseLeave(WPARAM wParam, LPARAM lParam);
  afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
  afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
  afx_msg void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);

  int HitTest(CPoint point) const;
  void SetHotCell(int nIndex);

 private:
  void AddCell(const CRect& rect, UINT nTipID, DWORD dwKind, COLORREF color, const CString& text = CString());
  void AddTopButton(int cx);
  int AddTableCells(int top);
  void AddRecentCells(int top);
  void AddMoreColorsButton(int cx, int tableTop);
  int NextHotForKey(UINT nChar) const;
  void DrawColorCell(CDC& dc, const ColorCell& cell, bool hot, bool pressed);
  void DrawCellContent(CDC& dc, const ColorCell& cell);
  // Runs the colour dialog; true and the colour when it was accepted.
  bool ChooseMoreColors(COLORREF* pChosen);

  std::vector<HWND> m_listeners;
  CToolTipCtrl m_tip;
  std::vector<ColorCell> m_cells;
  CPoint m_lastMouse{-1, -1};
  int m_cellWidth = 18, m_cellHeight = 18;
  CRect m_windowRect;
  int m_rows = 0, m_lastIndex = 0;
  int m_hotIndex = -1, m_pressedIndex = -1;
};
