// The tool bar's layout: the length a mode asks for, wrapping the buttons
// into rows, committing the rows to the window, and the coalesced relayout.
#include "toolkit/bars/ToolBar.h"
#include "toolkit/bars/ToolBarMessages.h"

namespace {

const int kWidest = 32767;

bool IsHidden(const TBBUTTON& b) { return (b.fsState & TBSTATE_HIDDEN) != 0; }
bool IsSeparator(const TBBUTTON& b) { return (b.fsStyle & TBSTYLE_SEP) != 0; }

}  // namespace

CXTToolBar::RowModel CXTToolBar::ReadRowModel() const {
  RowModel model;
  model.buttonSize = m_sizeButton;
  const int count = GetButtonCount();
  model.buttons.resize(count);
  model.widths.resize(count);
  for (int i = 0; i < count; ++i) {
    TBBUTTON& b = model.buttons[i];
    GetButton(i, &b);
    if (IsHidden(b)) continue;
    if (IsSeparator(b)) {
      model.widths[i] = b.iBitmap;
      continue;
    }
    CRect item;
    SendMessage(TB_GETITEMRECT, i, reinterpret_cast<LPARAM>(&item));
    model.widths[i] = item.Width() > 0 ? item.Width() : m_sizeButton.cx;
  }
  return model;
}

BOOL CXTToolBar::IsHorizontalLayout() const { return (m_dwStyle & CBRS_FLOATING) || (m_dwStyle & CBRS_ORIENT_HORZ); }

DWORD CXTToolBar::ChangeLayoutMode() const {
  if ((m_dwStyle & CBRS_FLOATING) && (m_dwStyle & CBRS_SIZE_DYNAMIC)) return LM_HORZ | LM_MRUWIDTH;
  if (m_dwStyle & CBRS_ORIENT_HORZ) return LM_HORZ | LM_HORZDOCK;
  return LM_VERTDOCK;
}

CSize CXTToolBar::CalcLayout(DWORD mode, int length) {
  RowModel model = ReadRowModel();
  if (!(m_dwStyle & CBRS_SIZE_FIXED)) {
    const bool dynamic = (m_dwStyle & CBRS_SIZE_DYNAMIC) != 0;
    const int plain = (mode & LM_HORZ) ? kWidest : 0;
    if (!dynamic) {
      SizeToolBar(model, plain, FALSE);
    } else if (mode & LM_MRUWIDTH) {
      SizeToolBar(model, m_nMRUWidth, FALSE);
    } else if (mode & LM_HORZDOCK) {
      SizeToolBar(model, kWidest, FALSE);
    } else if (mode & LM_VERTDOCK) {
      SizeToolBar(model, 0, FALSE);
    } else if (length == -1) {
      SizeToolBar(model, (m_dwStyle & CBRS_FLOATING) ? m_nMRUWidth : plain, FALSE);
    } else {
      CRect inside(0, 0, 0, 0);
      CalcInsideRect(inside, (mode & LM_HORZ) != 0);
      const BOOL byHeight = (mode & LM_LENGTHY) != 0;
      SizeToolBar(model, length + (byHeight ? inside.Height() : inside.Width()), byHeight);
    }
  }
  CSize size = CalcSize(model);
  const BOOL horizontal = (mode & LM_HORZ) != 0;
  const CSize extent = size;
  (horizontal ? size.cx : size.cy) += ChevronAllowance();
  if (mode & LM_COMMIT) {
    if ((m_dwStyle & CBRS_FLOATING) && (m_dwStyle & CBRS_SIZE_DYNAMIC)) m_nMRUWidth = size.cx;
    CommitLayout(model);
    SizeChevron(extent, horizontal);
  }
  CRect inside(0, 0, 0, 0);
  CalcInsideRect(inside, (mode & LM_HORZ) != 0);
  size.cx -= inside.Width();
  size.cy -= inside.Height();
  const CSize least = CControlBar::CalcFixedLayout((mode & LM_STRETCH) != 0, (mode & LM_HORZ) != 0);
  return CSize(std::max(size.cx, least.cx), std::max(size.cy, least.cy));
}

// Writes the wrapped rows back; controls follow their separators.
void CXTToolBar::CommitLayout(const RowModel& model) {
  struct Moved {
    HWND control;
    int index;
    CRect before;
  };
  std::vector<Moved> controls;
  const int count = static_cast<int>(model.buttons.size());
  for (int i = 0; i < count; ++i) {
    const TBBUTTON& b = model.buttons[i];
    if (IsHidden(b) || !IsSeparator(b) || b.idCommand == 0) continue;
    const ButtonEntry* entry = EntryOfCommand(static_cast<UINT>(b.idCommand));
    if (!entry || !entry->control || !::IsWindow(entry->control)) continue;
    CRect item;
    SendMessage(TB_GETITEMRECT, i, reinterpret_cast<LPARAM>(&item));
    controls.push_back({entry->control, i, item});
  }
  const BOOL delayed = m_bDelayedLayout;
  for (int i = 0; i < count; ++i) SetButtonInfo(i, model.buttons[i]);
  m_bDelayedLayout = delayed;
  for (const Moved& moved : controls) {
    CRect item, window;
    SendMessage(TB_GETITEMRECT, moved.index, reinterpret_cast<LPARAM>(&item));
    ::GetWindowRect(moved.control, &window);
    ScreenToClient(&window);
    window.OffsetRect(item.left - moved.before.left, item.top - moved.before.top);
    ::SetWindowPos(moved.control, nullptr, window.left, window.top, 0, 0, SWP_NOZORDER | SWP_NOSIZE | SWP_NOACTIVATE);
  }
}

CSize CXTToolBar::CalcFixedLayout(BOOL bStretch, BOOL bHorz) {
  return CalcLayout((bStretch ? LM_STRETCH : 0) | (bHorz ? LM_HORZ : 0), -1);
}

CSize CXTToolBar::CalcDynamicLayout(int nLength, DWORD nMode) {
  if (nLength == -1 && !(nMode & (LM_MRUWIDTH | LM_COMMIT)) && (nMode & (LM_HORZDOCK | LM_VERTDOCK)))
    return CalcFixedLayout((nMode & LM_STRETCH) != 0, (nMode & LM_HORZDOCK) != 0);
  if (nMode == (LM_HORZ | LM_MRUWIDTH | LM_COMMIT) && nLength == 0) m_bDelayedLayout = TRUE;
  return CalcLayout(nMode, nLength);
}

void CXTToolBar::RecalcButtons() {
  m_bDelayedLayout = FALSE;
  ShowAllButtons();
  CalcDynamicLayout(-1, ChangeLayoutMode() | LM_COMMIT);
}

// ---- the coalesced relayout

void CXTToolBar::PostRelayout() {
  ++m_relayoutCount;
  PostMessage(XTWM_TOOLBAR_RELAYOUT, 0, m_relayoutCount);
}

void CXTToolBar::RequestParentNotify() {
  if (m_bParentNotifyPending) return;
  m_bParentNotifyPending = TRUE;
  PostRelayout();
}

LRESULT CXTToolBar::OnRelayout(WPARAM, LPARAM lParam) {
  if (lParam != m_relayoutCount) return 0;
  if (m_bParentNotifyPending) {
    m_bParentNotifyPending = FALSE;
    if (CWnd* parent = GetParent())
      parent->PostMessage(XTWM_TOOLBAR_NEW_WIDTH, reinterpret_cast<WPARAM>(m_hWnd), CalcFixedLayout(FALSE, TRUE).cx);
    PostRelayout();
    return 0;
  }
  RecalcIfDelayed();
  if (CFrameWnd* frame = GetParentFrame()) frame->RecalcLayout();
  if (m_pDockSite && m_pDockSite != GetParentFrame()) m_pDockSite->RecalcLayout();
  PositionControls();
  ++m_relayoutCount;
  RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
  return 0;
}

void CXTToolBar::OnBarStyleChange(DWORD oldStyle, DWORD newStyle) {
  const DWORD changed = oldStyle ^ newStyle;
  if ((changed & CBRS_BORDER_ANY) && m_hWnd)
    SetWindowPos(nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_FRAMECHANGED);
  if (changed & ~CBRS_BORDER_ANY) m_bDelayedLayout = TRUE;
  if (!changed) return;
  ShowAllButtons();
  CalcDynamicLayout(-1, ChangeLayoutMode() | LM_COMMIT);
}

void CXTToolBar::OnNcCalcSize(BOOL, NCCALCSIZE_PARAMS* params) {
  CRect inside(0, 0, 0, 0);
  CalcInsideRect(inside, (m_dwStyle & CBRS_ORIENT_HORZ) != 0);
  RECT& client = params->rgrc[0];
  client.left += inside.left;
  client.top += inside.top;
  client.right += inside.right;
  client.bottom += inside.bottom;
}

void CXTToolBar::OnWindowPosChanging(WINDOWPOS* pos) {
  const DWORD style = m_dwStyle;
  m_dwStyle &= ~CBRS_BORDER_ANY;
  CXTControlBar::OnWindowPosChanging(pos);
  m_dwStyle = style;
  if ((m_dwStyle & CBRS_SIZE_DYNAMIC) && !(pos->flags & SWP_NOSIZE)) Invalidate();
}
