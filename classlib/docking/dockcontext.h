// Dragging a bar: a modal loop that draws the bar's outline on the desktop
// (thin where it would dock, thick and dithered where it would float), Ctrl
// forcing a float and Shift flipping the orientation; Escape, a right click
// or a lost capture end it with capture, drawing surface and lock released.
#pragma once

#include "classlib/docking/dockbar.h"

class CDockContext {
 public:
  explicit CDockContext(CControlBar* pBar);
  virtual ~CDockContext() = default;
  CDockContext(const CDockContext&) = delete;
  CDockContext& operator=(const CDockContext&) = delete;

  // pt is on the screen; returns when the drag ends.
  virtual void StartDrag(CPoint pt);
  void Move(CPoint pt);
  void EndDrag();
  void OnKey(int nChar, BOOL bDown);
  // Floats a docked bar where it floated last, or docks a floating one where it docked last.
  virtual void ToggleDocking();

  void InitLoop();
  // InitLoop without the desktop drawing surface and lock: the bar's styles, no outline yet, no key held.
  void ResetLoopState();
  void CancelLoop();
  BOOL Track();
  void DrawFocusRect(BOOL bRemoveRect = FALSE);
  void UpdateState(BOOL* pFlag, BOOL bNewValue);
  // The sides the outline may dock on now, trying the other orientation when Shift does not force one.
  DWORD CanDock();
  CDockBar* GetDockBar(DWORD dwOverDockStyle);

  CPoint m_ptLast;
  CRect m_rectLast;
  CSize m_sizeLast;
  BOOL m_bDitherLast = FALSE;
  CRect m_rectDragHorz, m_rectDragVert;
  CRect m_rectFrameDragHorz, m_rectFrameDragVert;
  CControlBar* m_pBar;
  CFrameWnd* m_pDockSite;
  DWORD m_dwDockStyle = 0;
  DWORD m_dwOverDockStyle = 0;
  DWORD m_dwStyle = 0;
  BOOL m_bFlip = FALSE;
  BOOL m_bForceFrame = FALSE;
  CDC* m_pDC = nullptr;
  BOOL m_bDragging = FALSE;
  int m_nHitTest = 0;
  // Where the bar docked and floated last.
  UINT m_uMRUDockID = 0;
  CRect m_rectMRUDockPos;
  DWORD m_dwMRUFloatStyle = CBRS_ALIGN_TOP;
  CPoint m_ptMRUFloatPos = CPoint(-1, -1);
  // Sizes while the bar is resized or floats, and the floating frame's borders.
  CRect m_rectRequestedSize, m_rectActualSize, m_rectActualFrameSize, m_rectFrameBorders;
};
