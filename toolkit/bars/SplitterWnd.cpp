#include "toolkit/bars/SplitterWnd.h"

#include "classlib/document/document.h"
#include "classlib/exception.h"
#include "classlib/frame/framewnd.h"
#include "toolkit/common/SharedState.h"

IMPLEMENT_DYNAMIC(CXTSplitterWnd, CSplitterWnd)

BEGIN_MESSAGE_MAP(CXTSplitterWnd, CSplitterWnd)
ON_WM_SETTINGCHANGE()
ON_WM_MOUSEMOVE()
ON_WM_NCHITTEST()
ON_WM_LBUTTONUP()
END_MESSAGE_MAP()

namespace {
const int kFlatBar = 6;       // split bars and gaps in the flat look
const int kClassicBar = 7;    // and without it
const int kTrackerShown = 4;  // the inverted part of a tracker

bool IsRowBar(int ht) {
  return ht == CSplitterWnd::vSplitterBox || (ht >= CSplitterWnd::vSplitterBar1 && ht <= CSplitterWnd::vSplitterBar15);
}
bool IsColumnBar(int ht) {
  return ht == CSplitterWnd::hSplitterBox || (ht >= CSplitterWnd::hSplitterBar1 && ht <= CSplitterWnd::hSplitterBar15);
}
int Clamp(int v, int low, int high) { return v < low ? low : v > high ? high : v; }
}  // namespace

CXTSplitterWnd::CXTSplitterWnd() {
  m_cxSplitter = m_cySplitter = kFlatBar;
  m_cxSplitterGap = m_cySplitterGap = kFlatBar;
  ReadFullDrag();
}

void CXTSplitterWnd::ReadFullDrag() {
  BOOL full = FALSE;
  ::SystemParametersInfoA(SPI_GETDRAGFULLWINDOWS, 0, &full, 0);
  m_bFullDrag = full && !(m_dwSplitterStyle & XT_SPLIT_NOFULLDRAG);
}

void CXTSplitterWnd::SetSplitterStyle(DWORD style) {
  m_dwSplitterStyle = style;
  ReadFullDrag();
}

void CXTSplitterWnd::EnableFlatLook(BOOL flat) {
  m_bFlatSplit = flat;
  const int size = flat ? kFlatBar : kClassicBar;
  m_cxSplitter = m_cySplitter = size;
  m_cxSplitterGap = m_cySplitterGap = size;
  RecalcLayout();
}

void CXTSplitterWnd::OnSettingChange(UINT, LPCSTR) {
  ReadFullDrag();
  Default();
}

LRESULT CXTSplitterWnd::OnNcHitTest(CPoint) {
  // A fixed splitter is all border: no split cursor, no drag.
  if (m_dwSplitterStyle & XT_SPLIT_NOSIZE) return HTBORDER;
  return Default();
}

// ---- hiding and showing a column or a row

CWnd* CXTSplitterWnd::PaneById(int id) const {
  HWND pane = ::GetDlgItem(m_hWnd, id);
  return pane ? CWnd::FromHandlePermanent(pane) : nullptr;
}

void CXTSplitterWnd::HideLine(Line line, int index) {
  if (index < 0 || index >= line.count || line.count < 2) return;
  if (line.hidden == index) return;
  if (line.hidden != -1) ShowLine(line);
  line.hidden = index;
  int activeRow, activeCol;
  if (GetActivePane(&activeRow, &activeCol) && (line.columns ? activeCol : activeRow) == index) {
    const int next = (index + 1) % line.count;
    SetActivePane(line.columns ? activeRow : next, line.columns ? next : activeCol);
  }
  const int stored = line.info[index].nCurSize;
  for (int across = 0; across < line.acrossCount; ++across) {
    if (CWnd* pane = PaneById(PaneId(line, index, across))) {
      pane->ShowWindow(SW_HIDE);
      pane->SetDlgCtrlID(PaneId(line, line.count, across));
    }
    for (int along = index + 1; along < line.count; ++along)
      if (CWnd* pane = PaneById(PaneId(line, along, across))) pane->SetDlgCtrlID(PaneId(line, along - 1, across));
  }
  // The lines after it keep their sizes as they move up.
  for (int along = index; along < line.count - 1; ++along) line.info[along].nIdealSize = line.info[along + 1].nCurSize;
  --line.count;
  line.info[line.count].nCurSize = stored;
  RecalcLayout();
}

void CXTSplitterWnd::ShowLine(Line line) {
  if (line.hidden == -1) return;
  const int index = line.hidden;
  line.hidden = -1;
  const int stored = line.info[line.count].nCurSize;
  for (int across = 0; across < line.acrossCount; ++across) {
    CWnd* parked = PaneById(PaneId(line, line.count + 1, across));
    for (int along = line.count - 1; along >= index; --along)
      if (CWnd* pane = PaneById(PaneId(line, along, across))) pane->SetDlgCtrlID(PaneId(line, along + 1, across));
    if (!parked) continue;
    parked->SetDlgCtrlID(PaneId(line, index, across));
    parked->ShowWindow(SW_SHOWNA);
  }
  ++line.count;
  for (int along = line.count - 1; along > index; --along) line.info[along].nIdealSize = line.info[along - 1].nCurSize;
  line.info[index].nIdealSize = stored;
  RecalcLayout();
}

void CXTSplitterWnd::HideColumn(int col) { HideLine(Columns(), col); }
void CXTSplitterWnd::ShowColumn() { ShowLine(Columns()); }
void CXTSplitterWnd::HideRow(int row) { HideLine(Rows(), row); }
void CXTSplitterWnd::ShowRow() { ShowLine(Rows()); }

// ---- views in panes

BOOL CXTSplitterWnd::SwitchView(int row, int col, CView* other) {
  CWnd* pane = GetPane(row, col);
  if (!pane || !other || pane == other) return FALSE;
  pane->ShowWindow(SW_HIDE);
  other->ShowWindow(SW_HIDE);
  const int paneId = pane->GetDlgCtrlID();
  pane->SetDlgCtrlID(other->GetDlgCtrlID());
  other->SetDlgCtrlID(paneId);
  pane->ShowWindow(SW_SHOW);
  other->ShowWindow(SW_SHOW);
  RecalcLayout();
  return TRUE;
}

CWnd* CXTSplitterWnd::ExchangeView(int row, int col, CWnd* wnd) {
  CWnd* old = GetPane(row, col);
  if (!old || !wnd || old == wnd) return nullptr;
  wnd->SetDlgCtrlID(old->GetDlgCtrlID());
  old->SetDlgCtrlID(0);
  old->ShowWindow(SW_HIDE);
  wnd->ShowWindow(SW_SHOW);
  RecalcLayout();
  return old;
}

CWnd* CXTSplitterWnd::CreatePaneView(CRuntimeClass* viewClass, CDocument* doc, UINT id) {
  CObject* object = nullptr;
  try {
    object = viewClass->CreateObject();
  } catch (CException* e) {
    e->Delete();
    return nullptr;
  }
  if (!object) return nullptr;
  if (!object->IsKindOf(RUNTIME_CLASS(CView))) {
    delete object;
    return nullptr;
  }
  CCreateContext context;
  context.m_pNewViewClass = viewClass;
  context.m_pCurrentDoc = doc;
  context.m_pNewDocTemplate = doc ? doc->GetDocTemplate() : nullptr;
  CWnd* view = static_cast<CWnd*>(object);
  // A view whose window fails deletes itself.
  if (!view->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(), this, id, &context)) return nullptr;
  return view;
}

CWnd* CXTSplitterWnd::ReplaceView(int row, int col, CRuntimeClass* viewClass) {
  CWnd* old = GetPane(row, col);
  if (!old || !viewClass || old->GetRuntimeClass() == viewClass) return nullptr;
  CDocument* doc = old->IsKindOf(RUNTIME_CLASS(CView)) ? static_cast<CView*>(old)->GetDocument() : nullptr;
  int cxCur, cxMin, cyCur, cyMin;
  GetColumnInfo(col, cxCur, cxMin);
  GetRowInfo(row, cyCur, cyMin);
  const UINT id = static_cast<UINT>(old->GetDlgCtrlID());
  // The old view gives up its id first, so the new one is the pane the moment it exists.
  old->SetDlgCtrlID(0);
  CWnd* view = CreatePaneView(viewClass, doc, id);
  if (!view) {
    old->SetDlgCtrlID(static_cast<int>(id));
    return nullptr;
  }
  old->ShowWindow(SW_HIDE);
  SetRowInfo(row, cyCur, cyMin);
  SetColumnInfo(col, cxCur, cxMin);
  RecalcLayout();
  view->SendMessage(WM_INITIALUPDATE);
  return old;
}

// ---- tracking

void CXTSplitterWnd::StartTracking(int ht) {
  if (!m_bFullDrag) {
    CSplitterWnd::StartTracking(ht);
    return;
  }
  if (ht == noHit || ht == vSplitterBox || ht == hSplitterBox || ht == bothSplitterBox) return;
  // As the class library, less the tracker drawing, focus change and redraw:
  // the panes themselves show where the bar is.
  GetInsideRect(m_rectLimit);
  if (ht >= splitterIntersection1 && ht <= splitterIntersection225) {
    GetHitRect(vSplitterBar1 + (ht - splitterIntersection1) / 15, m_rectTracker);
    const int yOffset = m_ptTrackOffset.y;
    m_bTracking2 = TRUE;
    GetHitRect(hSplitterBar1 + (ht - splitterIntersection1) % 15, m_rectTracker2);
    m_ptTrackOffset.y = yOffset;
  } else {
    GetHitRect(ht, m_rectTracker);
  }
  SetCapture();
  m_bTracking = TRUE;
  m_htTrack = ht;
  SetSplitCursor(ht);
}

void CXTSplitterWnd::OnMouseMove(UINT nFlags, CPoint pt) {
  if (!m_bFullDrag || !m_bTracking) {
    CSplitterWnd::OnMouseMove(nFlags, pt);
    return;
  }
  if (GetCapture() != this) {
    StopTracking(FALSE);
    return;
  }
  ApplyLiveDrag(pt);
}

// Each move ends the drag where the bar now is and starts it again at the
// same point, so the panes follow the mouse.
void CXTSplitterWnd::ApplyLiveDrag(CPoint mouse) {
  CPoint pt = mouse + m_ptTrackOffset;
  pt.x = Clamp(pt.x, m_rectLimit.left, m_rectLimit.right);
  pt.y = Clamp(pt.y, m_rectLimit.top, m_rectLimit.bottom);
  const bool columnOnly = IsColumnBar(m_htTrack), rowOnly = IsRowBar(m_htTrack);
  if (rowOnly) {
    m_rectTracker.OffsetRect(0, pt.y - m_rectTracker.top);
  } else if (columnOnly) {
    m_rectTracker.OffsetRect(pt.x - m_rectTracker.left, 0);
  } else {
    m_rectTracker.OffsetRect(0, pt.y - m_rectTracker.top);
    m_rectTracker2.OffsetRect(pt.x - m_rectTracker2.left, 0);
  }
  OnLButtonUp(0, mouse);
  CSplitterWnd::OnLButtonDown(0, mouse);
  if (pt == m_ptLastDrag) return;
  RedrawWindow(nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
  m_ptLastDrag = pt;
}

void CXTSplitterWnd::OnLButtonUp(UINT nFlags, CPoint pt) {
  CSplitterWnd::OnLButtonUp(nFlags, pt);
  Invalidate();
}

// ---- drawing and cursors

void CXTSplitterWnd::SetSplitCursor(int ht) {
  const CXTSharedState& state = GetSharedState();
  HCURSOR cursor = nullptr;
  if (IsRowBar(ht)) cursor = state.m_cursors[CXTSharedState::kCursorSplitRow];
  if (IsColumnBar(ht)) cursor = state.m_cursors[CXTSharedState::kCursorSplitColumn];
  if (cursor)
    ::SetCursor(cursor);
  else
    CSplitterWnd::SetSplitCursor(ht);
}

void CXTSplitterWnd::OnInvertTracker(const CRect& rect) {
  CBrush white;
  if (m_bFlatSplit) white.CreateStockObject(WHITE_BRUSH);
  DrawTracker(&rect, m_bFlatSplit ? &white : CDC::GetHalftoneBrush());
}

void CXTSplitterWnd::DrawTracker(const RECT* rect, CBrush* brush) {
  if (m_bFullDrag) return;
  CDC* dc = GetDC();
  const int saved = dc->SaveDC();
  CRect tracker(rect);
  const bool upright = tracker.Width() < tracker.Height();
  if (m_dwSplitterStyle & XT_SPLIT_DOTTRACKER) {
    CRect inside;
    GetInsideRect(inside);
    CRect focus = upright ? CRect(inside.left, tracker.top, tracker.right, tracker.bottom)
                          : CRect(tracker.left, inside.top, tracker.right, tracker.top);
    dc->DrawFocusRect(&focus);
  } else {
    if (upright)
      tracker.left = tracker.right - kTrackerShown;
    else
      tracker.bottom = tracker.top + kTrackerShown;
    if (brush) dc->SelectObject(brush);
    dc->PatBlt(tracker.left, tracker.top, tracker.Width(), tracker.Height(), PATINVERT);
  }
  dc->RestoreDC(saved);
  ReleaseDC(dc);
}

void CXTSplitterWnd::OnDrawSplitter(CDC* pDC, ESplitType nType, const CRect& rectArg) {
  if (!pDC) {
    RedrawWindow(&rectArg, nullptr, RDW_INVALIDATE | RDW_NOCHILDREN);
    return;
  }
  const CXTSharedState& s = GetSharedState();
  CRect rect = rectArg;
  const bool flat = m_bFlatSplit != FALSE;
  switch (nType) {
    case splitBox:
      pDC->Draw3dRect(&rect, s.m_clrFace, flat ? s.m_clrFace : s.m_clrWindowFrame);
      rect.DeflateRect(1, 1);
      pDC->Draw3dRect(&rect, flat ? s.m_clrShadow : s.m_clrHighlight, flat ? s.m_clrHighlight : s.m_clrShadow);
      rect.DeflateRect(1, 1);
      pDC->FillSolidRect(&rect, s.m_clrFace);
      return;
    case splitBorder:
      if (flat && (m_dwSplitterStyle & XT_SPLIT_NOBORDER)) return;
      pDC->Draw3dRect(&rect, flat ? s.m_clrFace : s.m_clrShadow, flat ? s.m_clrFace : s.m_clrHighlight);
      rect.DeflateRect(1, 1);
      pDC->Draw3dRect(&rect, flat ? s.m_clrShadow : s.m_clrWindowFrame, flat ? s.m_clrHighlight : s.m_clrFace);
      return;
    default:
      pDC->FillSolidRect(&rect, s.m_clrFace);
  }
}
