// CXTToolBarDropTarget: a customizable tool bar while customise mode lasts.
// It takes the bar's mouse: a click selects a button, a drag carries it
// (through the broker's drag) to another bar, off every bar (deleted) or to
// another place on this one; a drag that stays over the button's own area
// adds (more than 2 pixels right or down) or removes (left or up) the
// separator before it. Commands dragged in from elsewhere are inserted where
// the marker shows, unless the bar already has them.
#pragma once

#include "toolkit/customize/CustomizeBroker.h"

class CXTToolBar;

class CXTToolBarDropTarget : public CCmdTarget, public CXTCustomDropTarget {
 public:
  explicit CXTToolBarDropTarget(CXTToolBar* bar);
  ~CXTToolBarDropTarget() override;

  // The bar's own messages first; TRUE with *result when taken.
  BOOL WindowProc(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);
  void ClearSelection();
  int Selected() const { return m_selected; }

  BOOL ContainsPoint(CPoint point) override;
  BOOL Accept(CXTCustomItem* item, CPoint point, BOOL& copyAllowed) override;
  void Track(CPoint point) override;
  void Leave() override;
  void Drop(CXTCustomItem* item, CPoint point) override;

 private:
  void OnDragStart(INT_PTR);
  void OnCollect(INT_PTR tracker);
  BOOL OnLButtonDown(CPoint client);
  int HitTest(CPoint client) const;
  void Select(int index);
  void StartDrag();
  bool IsOwnDrag(const CXTCustomItem* item) const;
  bool IsAcross() const;
  // The insertion index and its marker for a point in screen coordinates.
  void FindInsertion(CPoint screen, int* index, CRect* marker) const;
  void MoveMarker(int index, const CRect& marker);
  void DropInPlace();
  void TidySeparators(int oldIndex);
  void RequestRedraw();
  void DrawMarks();

  CXTToolBar* m_bar;
  int m_counter = 0;
  int m_selected = -1;
  int m_insert = -1;
  CRect m_marker;
  BOOL m_bMoveOut = FALSE;
  BOOL m_bInPlace = FALSE;
  BOOL m_bFirstRecorded = FALSE;
  CPoint m_first, m_last;
  CRect m_ownArea;
};
