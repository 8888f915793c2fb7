// Dock bars: the bars along a frame's sides (and inside a floating frame)
// that hold other bars in rows. m_arrBars starts with a null; a null ends
// each row; a small number in place of a bar is the id of a hidden bar
// that keeps its place.
#pragma once

#include "classlib/bars/controlbar.h"
#include "classlib/docking/barinfo.h"

class CDockBar : public CControlBar {
  DECLARE_DYNAMIC(CDockBar)
  DECLARE_MESSAGE_MAP()
 public:
  explicit CDockBar(BOOL bFloating = FALSE);

  BOOL Create(CWnd* pParentWnd, DWORD dwStyle, UINT nID);
  BOOL IsDockBar() const override { return TRUE; }

  int GetDockedCount() const;
  virtual int GetDockedVisibleCount() const;
  // Null for a row end or a placeholder.
  CControlBar* GetDockedControlBar(int nPos) const;
  int FindBar(CControlBar* pBar, int nPosExclude = -1) const;
  // Into the row lpRect (screen) falls in, or a new one; without a rectangle, a new last row.
  void DockControlBar(CControlBar* pBar, LPCRECT lpRect = nullptr);
  // nAddPlaceHolder 1 leaves the bar's id in its place. A floating frame
  // left empty is destroyed (TRUE: this dock bar is gone too) or hidden.
  BOOL RemoveControlBar(CControlBar* pBar, int nPosExclude = -1, int nAddPlaceHolder = 0);
  void RemovePlaceHolder(CControlBar* pBar);
  // Takes a bar being destroyed out of the rows, and nothing more: its frame may be going too.
  void DropBar(CControlBar* pBar);
  void ShowAll(BOOL bShow);

  CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz) override;
  void OnUpdateCmdUI(CFrameWnd*, BOOL) override {}
  void DrawBorders(CDC* pDC, CRect& rect) override;

  // The dock-bar form of the bar information: its rows as ids.
  void GetBarInfo(CControlBarInfo* pInfo);
  // Rebuilds the rows from pInfo, skipping ids the frame lacks and bars already placed.
  void SetBarInfo(CControlBarInfo* pInfo, CFrameWnd* pFrameWnd);

  static BOOL IsPlaceHolder(const void* p) { return p && reinterpret_cast<UINT_PTR>(p) <= 0xFFFF; }

  BOOL m_bFloating;
  CPtrArray m_arrBars;
  BOOL m_bLayoutQuery = FALSE;
  CRect m_rectLayout;

 protected:
  int Insert(CControlBar* pBar, const CRect& rect, CPoint ptMid);
  // A row end next to another (or at the very end) is removed.
  void RemoveEmptyRowAt(int nPos);
  afx_msg LRESULT OnSizeParent(WPARAM wParam, LPARAM lParam);
};
