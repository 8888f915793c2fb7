// CXTSplitterWnd: the class library's static splitter with flat split bars,
// one hidden column and one hidden row at a time, views swapped, exchanged or
// replaced in a pane, and a live drag that moves the panes at every mouse move
// when the system drags full windows.
//
// A hidden line's panes stay alive but hidden, parked under the pane ids just
// past the visible grid (row r of a hidden column: the id of column "count"),
// and the panes after it take the ids of their neighbours, so the class
// library lays out a grid one line smaller.
#pragma once

#include "classlib/view/splitter.h"

// Splitter style bits.
enum : DWORD {
  XT_SPLIT_DOTTRACKER = 0x01,  // a focus rectangle from the inside edge to the tracker
  XT_SPLIT_NOFULLDRAG = 0x02,  // never move panes live while dragging
  XT_SPLIT_NOBORDER = 0x04,    // the flat look draws no outer border
  XT_SPLIT_NOSIZE = 0x08,      // the bars cannot be dragged
};

class CXTSplitterWnd : public CSplitterWnd {
  DECLARE_DYNAMIC(CXTSplitterWnd)
  DECLARE_MESSAGE_MAP()
 public:
  CXTSplitterWnd();

  void OnDrawSplitter(CDC* pDC, ESplitType nType, const CRect& rect) override;
  void OnInvertTracker(const CRect& rect) override;
  void SetSplitCursor(int ht) override;
  void StartTracking(int ht) override;

  // Showing does nothing while nothing is hidden; hiding another line first
  // shows the hidden one.
  virtual void ShowColumn();
  virtual void HideColumn(int col);
  virtual void ShowRow();
  virtual void HideRow(int row);
  // The pane's view and the other view change places; FALSE when they are one.
  virtual BOOL SwitchView(int row, int col, CView* other);
  // Puts a window into the pane; returns the old view (hidden, id 0, the
  // caller's), or null when the window already is the pane's.
  virtual CWnd* ExchangeView(int row, int col, CWnd* wnd);
  // Creates a view of the class in the pane; returns the old view (hidden,
  // id 0), or null with the pane unchanged.
  virtual CWnd* ReplaceView(int row, int col, CRuntimeClass* viewClass);
  virtual void SetSplitterStyle(DWORD style);
  virtual DWORD GetSplitterStyle() const { return m_dwSplitterStyle; }
  virtual void EnableFlatLook(BOOL flat);
  virtual void DrawTracker(const RECT* rect, CBrush* brush);

  int GetHiddenColumn() const { return m_nHiddenCol; }
  int GetHiddenRow() const { return m_nHiddenRow; }
  BOOL IsFullDrag() const { return m_bFullDrag; }

 protected:
  afx_msg void OnSettingChange(UINT flags, LPCSTR section);
  afx_msg void OnMouseMove(UINT nFlags, CPoint pt);
  afx_msg LRESULT OnNcHitTest(CPoint pt);
  afx_msg void OnLButtonUp(UINT nFlags, CPoint pt);

 private:
  // One direction of the grid: columns (panes along a row) or rows.
  struct Line {
    int& count;
    int acrossCount;
    CRowColInfo* info;
    int& hidden;
    bool columns;
  };
  Line Columns() { return Line{m_nCols, m_nRows, m_pColInfo, m_nHiddenCol, true}; }
  Line Rows() { return Line{m_nRows, m_nCols, m_pRowInfo, m_nHiddenRow, false}; }
  int PaneId(const Line& line, int along, int across) const {
    return line.columns ? IdFromRowCol(across, along) : IdFromRowCol(along, across);
  }
  CWnd* PaneById(int id) const;
  void HideLine(Line line, int index);
  void ShowLine(Line line);
  void ReadFullDrag();
  void ApplyLiveDrag(CPoint mouse);
  // The frame-less part of a view's creation; null on any failure.
  CWnd* CreatePaneView(CRuntimeClass* viewClass, CDocument* doc, UINT id);

  int m_nHiddenCol = -1;
  int m_nHiddenRow = -1;
  DWORD m_dwSplitterStyle = XT_SPLIT_NOFULLDRAG;
  BOOL m_bFullDrag = FALSE;
  CPoint m_ptLastDrag{-1, -1};
  BOOL m_bFlatSplit = TRUE;
};
