#include "toolkit/docking/DockDragContext.h"

#include "classlib/docking/minidockframe.h"
#include "classlib/frame/framewnd.h"
#include "classlib/winapp.h"
#include "toolkit/bars/BarMessages.h"
#include "toolkit/bars/ControlBar.h"
#include "toolkit/common/SharedState.h"

namespace {

bool Horizontal(DWORD dwStyle) { return (dwStyle & CBRS_ORIENT_HORZ) != 0; }
bool Vertical(DWORD dwStyle) { return (dwStyle & CBRS_ORIENT_VERT) != 0; }

// The customise flag that lets bars move live while dragged.
const int kLiveDragFlag = 1;
// How far an empty side reaches out to meet the pointer.
const int kEmptySideReach = 4;

CRect FloatingOutline(const CRect& bar) {
  CRect rect = bar;
  ::AdjustWindowRectEx(&rect, WS_CAPTION | WS_THICKFRAME, FALSE, 0);
  return rect;
}

// Where a dock bar meets the pointer (screen): an empty side counts as a
// line along the frame's edge, its border pixels aside, reaching out on both
// sides of it.
CRect SideReach(const CDockBar* pDockBar) {
  CRect rect;
  pDockBar->GetWindowRect(&rect);
  if (!pDockBar->m_bFloating && pDockBar->GetDockedVisibleCount() == 0) {
    const DWORD align = pDockBar->m_dwStyle & CBRS_ALIGN_ANY;
    if (align == CBRS_ALIGN_LEFT) rect.right = rect.left;
    if (align == CBRS_ALIGN_RIGHT) rect.left = rect.right;
    if (align == CBRS_ALIGN_TOP) rect.bottom = rect.top;
    if (align == CBRS_ALIGN_BOTTOM) rect.top = rect.bottom;
  }
  if (rect.Width() == 0) rect.InflateRect(kEmptySideReach, 0);
  if (rect.Height() == 0) rect.InflateRect(0, kEmptySideReach);
  return rect;
}

void DispatchPendingPaints() {
  MSG msg;
  while (::PeekMessageA(&msg, nullptr, WM_PAINT, WM_PAINT, PM_REMOVE)) ::DispatchMessageA(&msg);
}

}  // namespace

// ---- listeners

BOOL CXTDockDragContext::AddDragListener(CObject* pObject, XTDragListenerFn pfn) {
  for (Listener& listener : m_listeners) {
    if (listener.sequence) continue;
    listener = Listener{pObject, pfn, ++m_nListenerSequence};
    return TRUE;
  }
  return FALSE;
}

BOOL CXTDockDragContext::RemoveDragListener(CObject* pObject) {
  BOOL removed = FALSE;
  for (Listener& listener : m_listeners) {
    if (!listener.sequence || listener.object != pObject) continue;
    listener = Listener{};
    removed = TRUE;
  }
  return removed;
}

void CXTDockDragContext::CallListeners() {
  for (const Listener& listener : m_listeners)
    if (listener.sequence) (listener.object->*listener.function)(this);
}

// ---- starting

BOOL CXTDockDragContext::ShouldDragLive() const {
  return GetSharedState().m_customizeFlags[kLiveDragFlag] &&
         ::SendMessageA(m_pBar->m_hWnd, XTWM_QUERYFULLWINDOWDRAG, 0, 0) != 0;
}

// A live loop draws nothing, so it needs no drawing surface or desktop lock.
void CXTDockDragContext::PrepareLoop() {
  if (m_bLive)
    ResetLoopState();
  else
    InitLoop();
}

// A sizable bar has a size for each way it can lie; another bar keeps its
// size and gets the other orientation's centred on the pointer.
void CXTDockDragContext::SetDragRects(CPoint pt) {
  CRect rect;
  m_pBar->GetWindowRect(&rect);
  const DWORD style = m_pBar->m_dwStyle;
  if (style & (CBRS_SIZE_DYNAMIC | CBRS_SIZE_FIXED)) {
    const int length = (style & CBRS_SIZE_DYNAMIC) ? 0 : -1;
    m_rectDragHorz = CRect(rect.TopLeft(), m_pBar->CalcDynamicLayout(length, LM_HORZ | LM_HORZDOCK));
    m_rectDragVert = CRect(rect.TopLeft(), m_pBar->CalcDynamicLayout(length, LM_VERTDOCK));
    const CSize floating =
        (style & CBRS_SIZE_DYNAMIC) ? m_pBar->CalcDynamicLayout(0, LM_HORZ | LM_MRUWIDTH) : m_rectDragHorz.Size();
    m_rectFrameDragHorz = FloatingOutline(CRect(rect.TopLeft(), floating));
  } else if (Horizontal(m_dwStyle)) {
    m_rectDragHorz = rect;
    const CSize vert = m_pBar->CalcDynamicLayout(-1, LM_VERTDOCK);
    m_rectDragVert = CRect(CPoint(pt.x - vert.cx / 2, pt.y - vert.cy / 2), vert);
    m_rectFrameDragHorz = FloatingOutline(m_rectDragHorz);
  } else {
    m_rectDragVert = rect;
    const CSize horz = m_pBar->CalcDynamicLayout(-1, LM_HORZ | LM_HORZDOCK);
    m_rectDragHorz = CRect(CPoint(pt.x - horz.cx / 2, pt.y - horz.cy / 2), horz);
    m_rectFrameDragHorz = FloatingOutline(m_rectDragHorz);
  }
  m_rectFrameDragVert = FloatingOutline(m_rectDragVert);
}

void CXTDockDragContext::StartDrag(CPoint pt) {
  if (!m_pDockSite) m_pDockSite = m_pBar->m_pDockSite;
  if (!m_pDockSite) return;
  m_bDragging = TRUE;
  StartState start;
  start.floating = m_pBar->IsFloating();
  start.pDockBar = m_pBar->m_pDockBar;
  m_pBar->GetWindowRect(&start.rectBar);
  start.uMRUDockID = m_uMRUDockID;
  start.rectMRUDockPos = m_rectMRUDockPos;
  start.dwMRUFloatStyle = m_dwMRUFloatStyle;
  start.ptMRUFloatPos = m_ptMRUFloatPos;

  m_bLive = ShouldDragLive();
  PrepareLoop();
  SetDragRects(pt);
  m_ptStart = m_ptLast = m_ptLastMove = pt;
  m_dwOverDockStyle = OverDockStyle(&m_pTargetDockBar);
  start.rectDragHorz = m_rectDragHorz;
  start.rectDragVert = m_rectDragVert;
  start.rectFrameDragHorz = m_rectFrameDragHorz;
  start.rectFrameDragVert = m_rectFrameDragVert;
  if (!m_bLive) DrawFocusRect();

  if (TrackLoop()) {
    // A drop keeps the other kind of place the bar had.
    if (m_pBar->IsFloating() && !start.floating) {
      m_uMRUDockID = start.uMRUDockID;
      m_rectMRUDockPos = start.rectMRUDockPos;
    } else if (!m_pBar->IsFloating() && start.floating) {
      m_dwMRUFloatStyle = start.dwMRUFloatStyle;
      m_ptMRUFloatPos = start.ptMRUFloatPos;
    }
  } else if (m_bLive) {
    PutBack(start);
  }
  m_bDragging = FALSE;
}

// ---- the loop

BOOL CXTDockDragContext::TrackLoop() {
  const HWND focus = ::GetFocus();
  if (focus) m_pBar->SetFocus();
  m_bInLoop = TRUE;
  CallListeners();
  const BOOL applied = ::GetCapture() ? FALSE : RunLoop();
  m_bInLoop = FALSE;
  CallListeners();
  if (!m_bLive)
    CancelLoop();
  else if (::GetCapture() == m_pBar->m_hWnd)
    ::ReleaseCapture();
  m_pDockSite->RecalcLayout(TRUE);
  if (focus && ::IsWindow(focus)) ::SetFocus(focus);
  return applied;
}

BOOL CXTDockDragContext::RunLoop() {
  m_pBar->SetCapture();
  while (::GetCapture() == m_pBar->m_hWnd) {
    DispatchPendingPaints();
    MSG msg;
    if (!::GetMessageA(&msg, nullptr, 0, 0)) {
      AfxPostQuitMessage(static_cast<int>(msg.wParam));
      return FALSE;
    }
    // A move that did not move says nothing (the system makes one up on
    // taking the capture); a real one without the button ends the drag.
    if (msg.message == WM_MOUSEMOVE && CPoint(msg.pt) == m_ptLastMove) continue;
    if (msg.message == WM_MOUSEMOVE && !(msg.wParam & MK_LBUTTON)) return FALSE;
    // A live move re-lays the frame; locked, it shows only the result.
    const bool lock = m_bLive && !m_pBar->IsFloating();
    if (lock) ::LockWindowUpdate(m_pDockSite->m_hWnd);
    const LoopStep step = HandleLoopMessage(msg);
    LayOutMarkedFrames();
    if (lock) ::LockWindowUpdate(nullptr);
    if (step != LoopStep::kGoOn) return step == LoopStep::kApplied;
  }
  return FALSE;
}

CXTDockDragContext::LoopStep CXTDockDragContext::HandleLoopMessage(const MSG& msg) {
  switch (msg.message) {
    case WM_KEYDOWN:
      if (msg.wParam == VK_ESCAPE) return LoopStep::kCancelled;
      KeyChanged(static_cast<int>(msg.wParam), TRUE);
      return LoopStep::kGoOn;
    case WM_KEYUP:
      KeyChanged(static_cast<int>(msg.wParam), FALSE);
      return LoopStep::kGoOn;
    case WM_MOUSEMOVE:
      m_ptLastMove = msg.pt;
      MoveTo(msg.pt);
      return LoopStep::kGoOn;
    case WM_LBUTTONUP:
      Drop();
      return LoopStep::kApplied;
    case WM_RBUTTONDOWN:
      return LoopStep::kCancelled;
    default:
      ::DispatchMessageA(&msg);
      return LoopStep::kGoOn;
  }
}

void CXTDockDragContext::LayOutMarkedFrames() {
  m_framesToLayOut.push_back(m_pDockSite);
  for (CFrameWnd* pFrame : m_framesToLayOut) {
    if (!(pFrame->m_nIdleFlags & CFrameWnd::idleLayout)) continue;
    pFrame->RecalcLayout(FALSE);
    pFrame->m_nIdleFlags &= ~CFrameWnd::idleLayout;
  }
  m_framesToLayOut.clear();
}

// Ctrl floats and Shift flips while held; a flip means something only for a bar that docks both ways.
void CXTDockDragContext::KeyChanged(int nChar, BOOL bDown) {
  BOOL* pFlag = nChar == VK_CONTROL ? &m_bForceFrame : nChar == VK_SHIFT ? &m_bFlip : nullptr;
  if (!pFlag || *pFlag == bDown) return;
  *pFlag = bDown;
  m_bFlip = m_bFlip && Horizontal(m_dwDockStyle) && Vertical(m_dwDockStyle);
  m_dwOverDockStyle = m_bForceFrame ? 0 : OverDockStyle(&m_pTargetDockBar);
  ShowFeedback();
}

void CXTDockDragContext::MoveTo(CPoint pt) {
  if (pt == m_ptLast) return;
  const CSize offset = pt - m_ptLast;
  m_rectDragHorz.OffsetRect(offset.cx, offset.cy);
  m_rectDragVert.OffsetRect(offset.cx, offset.cy);
  m_rectFrameDragHorz.OffsetRect(offset.cx, offset.cy);
  m_rectFrameDragVert.OffsetRect(offset.cx, offset.cy);
  m_ptLast = pt;
  m_pTargetDockBar = nullptr;
  m_dwOverDockStyle = m_bForceFrame ? 0 : OverDockStyle(&m_pTargetDockBar);
  ShowFeedback();
}

// ---- where the pointer is

// The bar's own orientation first (flipped by Shift); without a flip the other one too.
DWORD CXTDockDragContext::OverDockStyle(CDockBar** ppDockBar) {
  CDockBar* pDockBar = DockBarOf(m_pDockSite);
  if (!pDockBar) {
    // Another frame under the pointer becomes the dock site once it offers a side.
    CFrameWnd* pOther = FindDockFrame(m_ptLast);
    pDockBar = pOther ? DockBarOf(pOther) : nullptr;
    if (pDockBar) {
      m_framesToLayOut.push_back(m_pDockSite);
      m_framesToLayOut.push_back(pOther);
      m_pDockSite = pOther;
    }
  }
  *ppDockBar = pDockBar;
  return pDockBar ? (pDockBar->m_dwStyle & m_dwDockStyle & CBRS_ALIGN_ANY) : 0;
}

CDockBar* CXTDockDragContext::DockBarOf(CFrameWnd* pFrame) {
  const bool horz = Horizontal(m_dwStyle) != (m_bFlip != FALSE);
  const DWORD first = horz ? CBRS_ORIENT_HORZ : CBRS_ORIENT_VERT;
  CDockBar* pDockBar = DockBarUnderPointer(pFrame, m_dwDockStyle & first);
  if (!pDockBar && !m_bFlip) pDockBar = DockBarUnderPointer(pFrame, m_dwDockStyle & (CBRS_ORIENT_ANY & ~first));
  return pDockBar;
}

// The top-level frames among the main window's siblings, top of the z-order first:
// the first under the pointer, or when that is the dock site (or there is
// none) the dock site's active or parent frame, if the bar may dock there.
CFrameWnd* CXTDockDragContext::FindDockFrame(CPoint point) {
  if (!m_pDockSite || !m_pBar->IsKindOf(RUNTIME_CLASS(CXTControlBar))) return nullptr;
  const CXTControlBar* pBar = static_cast<const CXTControlBar*>(m_pBar);
  CFrameWnd* pUnder = FrameUnderPointer(point);
  if (pUnder && pUnder != m_pDockSite) return pBar->CanDockToFrame(pUnder) ? pUnder : nullptr;
  CFrameWnd* pNear = m_pDockSite->GetActiveFrame();
  if (!pNear || pNear == m_pDockSite) pNear = m_pDockSite->GetParentFrame();
  return pNear && pNear != m_pDockSite && pBar->CanDockToFrame(pNear) ? pNear : nullptr;
}

CFrameWnd* CXTDockDragContext::FrameUnderPointer(CPoint point) {
  CWnd* pMain = AfxGetMainWnd();
  HWND hFirst = pMain ? ::GetWindow(pMain->m_hWnd, GW_HWNDFIRST) : nullptr;
  for (HWND hWnd = hFirst; hWnd; hWnd = ::GetWindow(hWnd, GW_HWNDNEXT)) {
    CWnd* pWnd = CWnd::FromHandlePermanent(hWnd);
    if (!pWnd || !pWnd->IsKindOf(RUNTIME_CLASS(CFrameWnd)) || pWnd->IsKindOf(RUNTIME_CLASS(CMiniDockFrameWnd)) ||
        !::IsWindowVisible(hWnd))
      continue;
    CRect rect;
    pWnd->GetWindowRect(&rect);
    if (rect.PtInRect(point)) return static_cast<CFrameWnd*>(pWnd);
  }
  return nullptr;
}

CDockBar* CXTDockDragContext::DockBarUnderPointer(CFrameWnd* pFrame, DWORD dwAlign) {
  if (!(dwAlign & CBRS_ALIGN_ANY)) return nullptr;
  for (POSITION pos = pFrame->m_listControlBars.GetHeadPosition(); pos;) {
    CControlBar* pBar = static_cast<CControlBar*>(pFrame->m_listControlBars.GetNext(pos));
    if (!pBar->IsDockBar() || !pBar->IsWindowVisible() || !(pBar->m_dwStyle & dwAlign & CBRS_ALIGN_ANY)) continue;
    CDockBar* pDockBar = static_cast<CDockBar*>(pBar);
    if (pDockBar->m_bFloating && !(m_dwDockStyle & pDockBar->m_dwStyle & CBRS_FLOAT_MULTI)) continue;
    CRect rect = SideReach(pDockBar);
    CRect parent;
    pDockBar->GetParent()->GetClientRect(&parent);
    pDockBar->GetParent()->ClientToScreen(&parent);
    rect.IntersectRect(&rect, &parent);
    if (rect.PtInRect(m_ptLast)) return pDockBar;
  }
  return nullptr;
}

// ---- what a move shows and a drop does

void CXTDockDragContext::ShowFeedback() {
  if (m_bLive)
    Drop();
  else
    DrawFocusRect();
}

void CXTDockDragContext::Drop() {
  if (!m_dwOverDockStyle || !m_pTargetDockBar) {
    FloatBar();
    return;
  }
  CRect rect = Vertical(m_dwOverDockStyle) ? m_rectDragVert : m_rectDragHorz;
  const UINT uID = static_cast<UINT>(::GetDlgCtrlID(m_pTargetDockBar->m_hWnd));
  if (uID >= AFX_IDW_DOCKBAR_TOP && uID <= AFX_IDW_DOCKBAR_BOTTOM) {
    m_uMRUDockID = uID;
    m_rectMRUDockPos = rect;
    m_pTargetDockBar->ScreenToClient(&m_rectMRUDockPos);
  }
  m_pDockSite->DockControlBar(m_pBar, m_pTargetDockBar, &rect);
  m_pDockSite->RecalcLayout(FALSE);
}

void CXTDockDragContext::FloatBar() {
  const bool horz = (m_pBar->m_dwStyle & CBRS_SIZE_DYNAMIC) || (Horizontal(m_dwStyle) != (m_bFlip != FALSE));
  m_dwMRUFloatStyle = (m_dwDockStyle & CBRS_FLOAT_MULTI) | (horz ? CBRS_ALIGN_TOP : CBRS_ALIGN_LEFT);
  m_ptMRUFloatPos = (horz ? m_rectFrameDragHorz : m_rectFrameDragVert).TopLeft();
  m_pDockSite->FloatControlBar(m_pBar, m_ptMRUFloatPos, m_dwMRUFloatStyle);
  CFrameWnd* pFloating = m_pBar->GetParentFrame();
  if (pFloating && pFloating != m_pDockSite && (m_pBar->GetStyle() & WS_VISIBLE)) {
    pFloating->m_nShowDelay = -1;
    pFloating->ShowWindow(SW_SHOWNA);
    pFloating->UpdateWindow();
  }
}

// A cancelled live drag: the bar goes back to the side and row it left, or floats where it floated.
void CXTDockDragContext::PutBack(const StartState& start) {
  m_rectDragHorz = start.rectDragHorz;
  m_rectDragVert = start.rectDragVert;
  m_rectFrameDragHorz = start.rectFrameDragHorz;
  m_rectFrameDragVert = start.rectFrameDragVert;
  m_uMRUDockID = start.uMRUDockID;
  m_rectMRUDockPos = start.rectMRUDockPos;
  m_dwMRUFloatStyle = start.dwMRUFloatStyle;
  m_ptMRUFloatPos = start.ptMRUFloatPos;
  if (start.floating || !start.pDockBar) {
    m_dwOverDockStyle = 0;
    m_bFlip = m_bForceFrame = FALSE;
    FloatBar();
  } else {
    CRect rect = start.rectBar;
    m_pDockSite->DockControlBar(m_pBar, start.pDockBar, &rect);
  }
  m_pDockSite->RecalcLayout(TRUE);
}
