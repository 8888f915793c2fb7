#include "toolkit/docking/DockBar.h"

#include <algorithm>

#include "classlib/docking/dockcontext.h"
#include "classlib/frame/framewnd.h"
#include "toolkit/bars/ControlBar.h"
#include "toolkit/bars/ToolBar.h"
#include "toolkit/common/MemDC.h"
#include "toolkit/common/SharedState.h"
#include "toolkit/frame/FrameHelper.h"
#include "toolkit/menus/MenuBar.h"

IMPLEMENT_DYNAMIC(CXTDockBar, CDockBar)

BEGIN_MESSAGE_MAP(CXTDockBar, CDockBar)
ON_WM_ERASEBKGND()
ON_WM_PAINT()
ON_WM_RBUTTONDOWN()
END_MESSAGE_MAP()

namespace {

// The layout works along the dock bar: a vertical one has x and y exchanged.
CRect Along(const CRect& rect, bool horz) { return horz ? rect : CRect(rect.top, rect.left, rect.bottom, rect.right); }
CSize Along(CSize size, bool horz) { return horz ? size : CSize(size.cy, size.cx); }

// The length a chevron bar that is not the last of its row may take.
const int kUnlimitedLength = 32767;

// The customise flag that lets the sides offer the bar list.
const int kSideBarListCustomizeFlag = 3;

bool IsToolkitBar(const CControlBar* pBar) { return pBar->IsKindOf(RUNTIME_CLASS(CXTControlBar)); }

bool IsMenuBar(const CControlBar* pBar) { return pBar->IsKindOf(RUNTIME_CLASS(CXTMenuBar)); }

// Toolkit bars touch; a class-library bar overlaps its neighbour by its border.
int GapAfter(const CControlBar* pBar) { return IsToolkitBar(pBar) ? 0 : 2 * ::GetSystemMetrics(SM_CYBORDER); }

DWORD LayoutMode(const CControlBar* pBar) {
  const DWORD style = pBar->GetBarStyle();
  if ((style & CBRS_SIZE_DYNAMIC) && (style & CBRS_FLOATING)) return LM_HORZ | LM_MRUWIDTH;
  if (style & CBRS_ORIENT_HORZ) return LM_HORZ | LM_HORZDOCK;
  return LM_VERTDOCK;
}

}  // namespace

CFrameWnd* CXTDockBar::DockSite() const { return m_pDockSite ? m_pDockSite : GetParentFrame(); }

int CXTDockBar::AvailableLength(bool horz) const {
  if (!m_rectLayout.IsRectEmpty()) return horz ? m_rectLayout.Width() : m_rectLayout.Height();
  CRect client;
  if (CFrameWnd* site = DockSite()) site->GetClientRect(&client);
  return horz ? client.Width() : client.Height() - 2;
}

void CXTDockBar::GiveBorders(CControlBar* pBar) const {
  if (m_dwXTDockStyle & XT_DOCK_KEEP_BORDERS) return;
  const DWORD style = pBar->GetBarStyle() | CBRS_BORDER_ANY;
  if (style != pBar->GetBarStyle()) pBar->SetBarStyle(style);
}

void CXTDockBar::MoveMenuBarToRowStart(int nPos) {
  int rowStart = nPos;
  while (rowStart > 0 && m_arrBars[rowStart - 1]) --rowStart;
  void* menuBar = m_arrBars[nPos];
  m_arrBars.RemoveAt(nPos);
  m_arrBars.InsertAt(rowStart, nullptr);
  m_arrBars.InsertAt(rowStart, menuBar);
  if (CFrameWnd* site = DockSite()) site->DelayRecalcLayout(TRUE);
}

// A bar shown or hidden "at the next layout" is shown or hidden in this one's batch.
void CXTDockBar::ApplyDelayedShows(AFX_SIZEPARENTPARAMS* pLayout) {
  for (int i = 0; i < static_cast<int>(m_arrBars.GetSize()); ++i)
    if (CControlBar* pBar = GetDockedControlBar(i)) pBar->RecalcDelayShow(pLayout);
}

// Rows run along the dock bar from a running point; each visible bar is
// placed at it, kept further on when the user left a gap, slid back when it
// passes the end (never over the bar before it) and moved to a row of its
// own when it would still start at the end. All moves go in one batch.
CSize CXTDockBar::CalcFixedLayout(BOOL bStretch, BOOL bHorz) {
  Invalidate(FALSE);
  const bool horz = bHorz != FALSE;
  const CSize base = CControlBar::CalcFixedLayout(bStretch, bHorz);
  CSize fixed = Along(base, horz);
  const int available = AvailableLength(horz);
  AFX_SIZEPARENTPARAMS layout = {};
  if (!m_bLayoutQuery) layout.hDWP = ::BeginDeferWindowPos(static_cast<int>(m_arrBars.GetSize()));

  const CPoint start(::GetDlgCtrlID(m_hWnd) == AFX_IDW_DOCKBAR_RIGHT ? -1 : 0, -1);
  CPoint pt = horz ? start : CPoint(start.y, start.x);  // x along the dock bar, y across it
  CControlBar* pPrev = nullptr;                         // the last visible bar of the present row
  int rowThickness = 0;
  bool wrapped = false, anyRow = false;
  for (int i = 0; i < static_cast<int>(m_arrBars.GetSize()); ++i) {
    CControlBar* pBar = GetDockedControlBar(i);
    if (pBar && pBar->IsVisible()) {
      if (pPrev && IsMenuBar(pBar)) {
        MoveMenuBarToRowStart(i);
        // The next idle layout places it; the moves of this one still happen.
        if (layout.hDWP) ::EndDeferWindowPos(layout.hDWP);
        return Along(fixed, horz);
      }
      const int gap = GapAfter(pBar);
      const CSize size = Along(pBar->CalcDynamicLayout(-1, LayoutMode(pBar)), horz);
      CRect rect(pt, size);
      CRect current;
      pBar->GetWindowRect(&current);
      ScreenToClient(&current);
      current = Along(current, horz);
      if (!m_bFloating && current.left > rect.left) rect.OffsetRect(current.left - rect.left, 0);
      if (!m_bFloating && rect.right > available)
        rect.OffsetRect(std::max<LONG>(pt.x, available + gap - size.cx) - rect.left, 0);
      if (wrapped) {
        rect.OffsetRect(-gap - rect.left, 0);
        wrapped = false;
      } else if (rect.left >= available - gap && pPrev && m_arrBars[i - 1] == pPrev) {
        // A row end goes before the bar, which is laid out again as the first of the next row.
        m_arrBars.InsertAt(i, nullptr);
        if (CFrameWnd* site = DockSite()) site->DelayRecalcLayout(TRUE);
        wrapped = true;
        --i;
        continue;
      }
      FitChevronBar(pBar, i, rect, available, horz);
      if (rect != current) {
        const CRect placed = Along(rect, horz);
        if (!m_bLayoutQuery && !m_bFloating && pBar->m_pDockContext) pBar->m_pDockContext->m_rectMRUDockPos = placed;
        if (layout.hDWP) AfxRepositionWindow(&layout, pBar->m_hWnd, &placed);
      }
      if (pPrev) GiveBorders(pPrev);
      pt.x = rect.right - gap;
      rowThickness = std::max<int>(rowThickness, size.cy);
      pPrev = pBar;
    } else if (!m_arrBars[i] && pPrev) {
      GiveBorders(pPrev);
      fixed.cx = std::max<LONG>(fixed.cx, pt.x);
      pt.y += rowThickness - (IsToolkitBar(pPrev) ? 0 : 2);
      fixed.cy = std::max<LONG>(fixed.cy, pt.y);
      pt.x = -GapAfter(pPrev);
      rowThickness = 0;
      pPrev = nullptr;
      anyRow = true;
    }
  }
  ApplyDelayedShows(&layout);
  if (layout.hDWP) ::EndDeferWindowPos(layout.hDWP);
  CSize result = Along(fixed, horz);
  if (anyRow && horz) ++result.cy;
  if (anyRow && ::GetDlgCtrlID(m_hWnd) == AFX_IDW_DOCKBAR_LEFT) --result.cx;
  return result;
}

// A tool bar with a chevron that is the last of its row hides buttons from
// its end until it fits the room left; otherwise its hidden buttons come back
// while they fit. Its rectangle ends where the bar says.
void CXTDockBar::FitChevronBar(CControlBar* bar, int index, CRect& rect, int available, bool horz) {
  if (!bar->IsKindOf(RUNTIME_CLASS(CXTToolBar))) return;
  CXTToolBar* toolBar = static_cast<CXTToolBar*>(bar);
  if (!toolBar->HasChevron()) return;
  const bool lastOfRow = index + 1 >= static_cast<int>(m_arrBars.GetSize()) || !m_arrBars[index + 1];
  const int room = available - rect.left;
  const int length = lastOfRow && !m_bFloating && rect.right > available
                         ? toolBar->HideButtonsToFit(rect.Width(), room, horz)
                         : toolBar->ShowButtonsThatFit(rect.Width(), lastOfRow ? room : kUnlimitedLength, horz);
  rect.right = rect.left + length;
}

// In the flat look both border lines take the face colour.
void CXTDockBar::DrawBorders(CDC* pDC, CRect& rect) {
  if (GetSharedState().m_xpLook)
    pDC->FillSolidRect(&rect, GetToolkitColor(COLOR_BTNFACE));
  else
    CDockBar::DrawBorders(pDC, rect);
}

void CXTDockBar::OnPaint() {
  CPaintDC dc(this);
  CRect client;
  GetClientRect(&client);
  CXTMemDC memDC(&dc, &client, GetToolkitColor(COLOR_BTNFACE));
  if ((GetStyle() & WS_VISIBLE) && GetDockedVisibleCount() > 0) DoPaint(&memDC);
}

void CXTDockBar::OnRButtonDown(UINT, CPoint point) {
  CFrameWnd* frame = GetParentFrame();
  HMENU menu = GetSharedState().m_customizeFlags[kSideBarListCustomizeFlag] && frame
                   ? CXTControlBar::BuildBarListMenu(frame)
                   : nullptr;
  if (!menu) {
    Default();
    return;
  }
  ClientToScreen(&point);
  CXTFrameHelper::TrackPopupFor(menu, point, frame);
  ::DestroyMenu(menu);
}
