// CXTDockBar: the window along one side of a frame that holds docked bars in
// rows, laid out with the toolkit's spacing: toolkit bars touch, other bars
// overlap by two pixels, every docked bar gets all four border bits, a menu
// bar keeps the start of a row to itself, a bar that no longer fits opens a
// row of its own, and a bar pushed past the end slides back without covering
// the bar before it. It paints off-screen in the toolkit's colours.
#pragma once

#include "classlib/docking/dockbar.h"

// Bits of the dock style of a side.
enum : DWORD {
  XT_DOCK_KEEP_BORDERS = 0x0080,  // docked bars keep their own border bits
  XT_DOCK_NO_TRACKER_FRAME = 0x0100,
};

class CXTDockBar : public CDockBar {
  DECLARE_DYNAMIC(CXTDockBar)
  DECLARE_MESSAGE_MAP()
 public:
  CXTDockBar() = default;

  CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz) override;
  void DrawBorders(CDC* pDC, CRect& rect) override;

  DWORD GetDockStyle() const { return m_dwXTDockStyle; }
  void SetDockStyle(DWORD dwStyle) { m_dwXTDockStyle = dwStyle; }

 protected:
  afx_msg BOOL OnEraseBkgnd(CDC*) { return FALSE; }
  afx_msg void OnPaint();
  // The list of the frame's bars, to show or hide one.
  afx_msg void OnRButtonDown(UINT nFlags, CPoint point);

 private:
  CFrameWnd* DockSite() const;
  // The length the rows may fill.
  int AvailableLength(bool horz) const;
  // A menu bar behind other bars of its row moves to a row of its own at
  // the row's start; TRUE when it did (the layout then ends).
  void MoveMenuBarToRowStart(int nPos);
  void GiveBorders(CControlBar* pBar) const;
  void ApplyDelayedShows(AFX_SIZEPARENTPARAMS* pLayout);
  // rect runs along the dock bar; its right edge follows what a chevron bar takes.
  void FitChevronBar(CControlBar* bar, int index, CRect& rect, int available, bool horz);

  DWORD m_dwXTDockStyle = 0;
};
