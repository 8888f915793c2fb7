// CXTDockDragContext: what the user does with the mouse to a toolkit bar.
// Over the class library's drag it docks by where the pointer is (an empty
// side widened to be hit), can move the bar live instead of drawing its
// outline, puts a live-dragged bar back when the drag is cancelled, lays out
// the frames the drag touched after every message, and tells up to four
// listeners when a drag starts and ends.
//
// The drag loop: pressed -> dragging; a move moves (live: re-docks or
// floats at once); Ctrl forces a float and Shift flips while held; the
// button coming up applies; Escape, the right button, a move without the
// left button, the capture lost or WM_QUIT (posted again) cancel.
#pragma once

#include <vector>

#include "classlib/docking/dockcontext.h"

class CXTDockDragContext;

// Called with the context when a drag loop starts and when it ends.
typedef void (CObject::*XTDragListenerFn)(CXTDockDragContext* pContext);

class CXTDockDragContext : public CDockContext {
 public:
  explicit CXTDockDragContext(CControlBar* pBar) : CDockContext(pBar) {}

  void StartDrag(CPoint pt) override;
  // Another frame the bar may dock into at this screen point, or null.
  virtual CFrameWnd* FindDockFrame(CPoint point);

  // FALSE when all four places are taken.
  BOOL AddDragListener(CObject* pObject, XTDragListenerFn pfn);
  // TRUE when the object had a place.
  BOOL RemoveDragListener(CObject* pObject);

  BOOL IsLive() const { return m_bLive; }
  BOOL IsInLoop() const { return m_bInLoop; }

 private:
  enum class LoopStep { kGoOn, kApplied, kCancelled };
  struct Listener {
    CObject* object = nullptr;
    XTDragListenerFn function = nullptr;
    UINT sequence = 0;  // 0: the place is free
  };
  // Where the bar was when the drag began, to put it back.
  struct StartState {
    BOOL floating = FALSE;
    CDockBar* pDockBar = nullptr;
    CRect rectBar;
    UINT uMRUDockID = 0;
    CRect rectMRUDockPos;
    DWORD dwMRUFloatStyle = 0;
    CPoint ptMRUFloatPos;
    CRect rectDragHorz, rectDragVert, rectFrameDragHorz, rectFrameDragVert;
  };

  BOOL ShouldDragLive() const;
  void PrepareLoop();
  void SetDragRects(CPoint pt);
  BOOL TrackLoop();
  BOOL RunLoop();
  LoopStep HandleLoopMessage(const MSG& msg);
  void LayOutMarkedFrames();
  void CallListeners();
  void KeyChanged(int nChar, BOOL bDown);
  void MoveTo(CPoint pt);
  // The side under the pointer the bar may dock on now (0: float), and its dock bar.
  DWORD OverDockStyle(CDockBar** ppDockBar);
  // The side of pFrame under the pointer the bar may dock on now, in its orientation first.
  CDockBar* DockBarOf(CFrameWnd* pFrame);
  CDockBar* DockBarUnderPointer(CFrameWnd* pFrame, DWORD dwAlign);
  static CFrameWnd* FrameUnderPointer(CPoint point);
  void ShowFeedback();
  void Drop();
  void FloatBar();
  void PutBack(const StartState& start);

  std::vector<CFrameWnd*> m_framesToLayOut;
  CPoint m_ptStart;
  CPoint m_ptLastMove;
  BYTE m_bLive = FALSE;
  BYTE m_bInLoop = FALSE;
  Listener m_listeners[4];
  UINT m_nListenerSequence = 0;
  CDockBar* m_pTargetDockBar = nullptr;
};
