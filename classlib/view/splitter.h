// A static splitter: a grid of panes (ids AFX_IDW_PANE_FIRST + 16 * row +
// col) separated by bars the user drags. Tracking goes through virtuals the
// toolkit replaces: StartTracking, OnInvertTracker, SetSplitCursor,
// OnDrawSplitter and StopTracking.
#pragma once

#include "classlib/view/view.h"

#define SPLS_DYNAMIC_SPLIT 0x0001

class CSplitterWnd : public CWnd {
  DECLARE_DYNAMIC(CSplitterWnd)
  DECLARE_MESSAGE_MAP()
 public:
  CSplitterWnd();
  ~CSplitterWnd() override;

  BOOL CreateStatic(CWnd* pParentWnd, int nRows, int nCols, DWORD dwStyle = WS_CHILD | WS_VISIBLE,
                    UINT nID = AFX_IDW_PANE_FIRST);
  // The pane's view joins the context's document.
  virtual BOOL CreateView(int row, int col, CRuntimeClass* pViewClass, SIZE sizeInit, CCreateContext* pContext);

  int GetRowCount() const { return m_nRows; }
  int GetColumnCount() const { return m_nCols; }
  void GetRowInfo(int row, int& cyCur, int& cyMin) const;
  void SetRowInfo(int row, int cyIdeal, int cyMin);
  void GetColumnInfo(int col, int& cxCur, int& cxMin) const;
  void SetColumnInfo(int col, int cxIdeal, int cxMin);
  CWnd* GetPane(int row, int col) const;
  int IdFromRowCol(int row, int col) const { return AFX_IDW_PANE_FIRST + row * 16 + col; }
  BOOL IsChildPane(CWnd* pWnd, int* pRow, int* pCol);

  virtual void RecalcLayout();
  virtual CWnd* GetActivePane(int* pRow = nullptr, int* pCol = nullptr);
  virtual void SetActivePane(int row, int col, CWnd* pWnd = nullptr);
  virtual void ActivateNext(BOOL bPrev = FALSE);
  virtual BOOL CanActivateNext(BOOL bPrev = FALSE);

  // Hit codes: the split boxes, the bars between rows (101 + row) and
  // columns (201 + col), and their crossings (301 + 15 * row + col).
  enum HitTestValue {
    noHit = 0,
    vSplitterBox = 1,
    hSplitterBox = 2,
    bothSplitterBox = 3,
    vSplitterBar1 = 101,
    vSplitterBar15 = 115,
    hSplitterBar1 = 201,
    hSplitterBar15 = 215,
    splitterIntersection1 = 301,
    splitterIntersection225 = 525
  };
  struct CRowColInfo {
    int nMinSize;
    int nIdealSize;
    int nCurSize;
  };
  enum ESplitType { splitBox, splitBar, splitIntersection, splitBorder };

  int HitTest(CPoint pt) const;
  void GetHitRect(int ht, CRect& rect);
  void GetInsideRect(CRect& rect) const;
  void TrackRowSize(int y, int row);
  void TrackColumnSize(int x, int col);
  void DrawAllSplitBars(CDC* pDC, int cxInside, int cyInside);

  virtual void OnDrawSplitter(CDC* pDC, ESplitType nType, const CRect& rect);
  virtual void OnInvertTracker(const CRect& rect);
  virtual void SetSplitCursor(int ht);
  virtual void StartTracking(int ht);
  // Lets the capture go, puts the bars where the trackers are (less the
  // border), lays out and gives the previously active pane its activation back.
  virtual void StopTracking(BOOL bAccept);

  BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
  BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;

  afx_msg void OnLButtonDown(UINT nFlags, CPoint pt);
  afx_msg void OnLButtonUp(UINT nFlags, CPoint pt);
  afx_msg void OnMouseMove(UINT nFlags, CPoint pt);

 protected:
  int m_nMaxRows = 0, m_nMaxCols = 0;
  int m_nRows = 0, m_nCols = 0;
  BOOL m_bHasHScroll = FALSE, m_bHasVScroll = FALSE;
  CRowColInfo* m_pColInfo = nullptr;
  CRowColInfo* m_pRowInfo = nullptr;
  int m_cxSplitter = 7, m_cySplitter = 7;
  int m_cxBorderShare = 0, m_cyBorderShare = 0;
  int m_cxSplitterGap = 7, m_cySplitterGap = 7;
  int m_cxBorder = 2, m_cyBorder = 2;
  BOOL m_bTracking = FALSE, m_bTracking2 = FALSE;
  CPoint m_ptTrackOffset;
  CRect m_rectLimit;
  CRect m_rectTracker, m_rectTracker2;
  int m_htTrack = noHit;

  afx_msg void OnSize(UINT nType, int cx, int cy);
  afx_msg void OnPaint();
  afx_msg BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
  afx_msg void OnCancelMode();
  afx_msg void OnCaptureChanged(CWnd* pWnd);
  afx_msg void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
};
