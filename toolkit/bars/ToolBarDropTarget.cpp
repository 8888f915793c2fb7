#include "toolkit/bars/ToolBarDropTarget.h"

#include <climits>

#include "toolkit/bars/ToolBar.h"
#include "toolkit/bars/ToolBarMessages.h"
#include "toolkit/customize/CustomItem.h"

namespace {

const int kMarkerHalf = 2;
const int kEmptyMarker = 4;
// An own drag that stays within this many pixels of where it began changes nothing.
const int kStill = 2;

bool IsPlainSeparator(const TBBUTTON& b) { return (b.fsStyle & TBSTYLE_SEP) && b.idCommand == 0; }
bool IsHidden(const TBBUTTON& b) { return (b.fsState & TBSTATE_HIDDEN) != 0; }

}  // namespace

CXTToolBarDropTarget::CXTToolBarDropTarget(CXTToolBar* bar) : m_bar(bar) {
  CXTCustomizeBroker& broker = GetCustomizeBroker();
  broker.Listeners(CXTCustomizeBroker::kDragStartListeners)
      .Add(MakeListener(this, &CXTToolBarDropTarget::OnDragStart));
  broker.Listeners(CXTCustomizeBroker::kDropTargetCollectors)
      .Add(MakeListener(this, &CXTToolBarDropTarget::OnCollect));
  m_bar->PostRelayout();
}

CXTToolBarDropTarget::~CXTToolBarDropTarget() {
  GetCustomizeBroker().RemoveClient(this);
  if (!m_bar->m_hWnd) return;
  m_bar->PostRelayout();
  m_bar->RedrawWindow(nullptr, nullptr, RDW_FRAME | RDW_ALLCHILDREN | RDW_INVALIDATE);
}

void CXTToolBarDropTarget::OnDragStart(INT_PTR) { ClearSelection(); }

void CXTToolBarDropTarget::OnCollect(INT_PTR tracker) { reinterpret_cast<CXTDragTracker*>(tracker)->AddTarget(this); }

void CXTToolBarDropTarget::ClearSelection() {
  if (m_selected == -1) return;
  m_selected = -1;
  m_bar->Invalidate();
  RequestRedraw();
}

void CXTToolBarDropTarget::RequestRedraw() { m_bar->PostMessage(XTWM_CUSTOMIZE_REDRAW, 0, ++m_counter); }

BOOL CXTToolBarDropTarget::WindowProc(UINT message, WPARAM, LPARAM lParam, LRESULT* result) {
  *result = 0;
  if (message == WM_LBUTTONDOWN) return OnLButtonDown(CPoint(static_cast<short>(LOWORD(lParam)),
                                                             static_cast<short>(HIWORD(lParam))));
  if (message >= WM_MOUSEMOVE && message <= WM_MBUTTONDBLCLK) return TRUE;
  switch (message) {
    case WM_CANCELMODE:
      ClearSelection();
      return FALSE;
    case WM_MOUSEACTIVATE:
      *result = MA_NOACTIVATE;
      return TRUE;
    case XTWM_CUSTOMIZE_REDRAW:
      if (lParam == m_counter) DrawMarks();
      return TRUE;
    default:
      return FALSE;
  }
}

int CXTToolBarDropTarget::HitTest(CPoint client) const {
  for (int i = 0; i < m_bar->GetButtonCount(); ++i) {
    TBBUTTON button;
    if (!m_bar->GetButton(i, &button) || IsPlainSeparator(button) || IsHidden(button)) continue;
    CRect item;
    m_bar->SendMessage(TB_GETITEMRECT, i, reinterpret_cast<LPARAM>(&item));
    if (item.PtInRect(client)) return i;
  }
  return -1;
}

BOOL CXTToolBarDropTarget::OnLButtonDown(CPoint client) {
  const int hit = HitTest(client);
  if (hit < 0) return TRUE;
  if (hit == m_selected) {
    StartDrag();
    return TRUE;
  }
  Select(hit);
  CPoint screen = client;
  m_bar->ClientToScreen(&screen);
  m_bar->SetCapture();
  const BOOL dragged = ::DragDetect(m_bar->m_hWnd, screen);
  ::ReleaseCapture();
  if (dragged) StartDrag();
  return TRUE;
}

void CXTToolBarDropTarget::Select(int index) {
  GetCustomizeBroker().Listeners(CXTCustomizeBroker::kDragStartListeners).NotifyAll(0);
  m_selected = index;
  m_bar->Invalidate();
  m_bar->UpdateWindow();
  RequestRedraw();
}

bool CXTToolBarDropTarget::IsAcross() const {
  return (m_bar->GetBarStyle() & CBRS_FLOATING) || !(m_bar->GetBarStyle() & (CBRS_ALIGN_LEFT | CBRS_ALIGN_RIGHT));
}

void CXTToolBarDropTarget::StartDrag() {
  CXTCustomItem* item = m_bar->CreateCustomItem(m_selected);
  if (!item) return;
  const int oldIndex = m_selected;
  m_bMoveOut = m_bInPlace = TRUE;
  m_bFirstRecorded = FALSE;
  m_bar->SendMessage(TB_GETITEMRECT, oldIndex, reinterpret_cast<LPARAM>(&m_ownArea));
  m_bar->ClientToScreen(&m_ownArea);
  const CSize image = m_bar->GetImageSize();
  if (IsAcross())
    m_ownArea.InflateRect(image.cx / 2, 0);
  else
    m_ownArea.InflateRect(0, image.cy / 2);
  const BOOL move = GetCustomizeBroker().BeginDrag(m_bar, TRUE, item);
  if (move && m_bMoveOut) {
    m_bar->SendMessage(TB_DELETEBUTTON, oldIndex);
    m_bar->RebuildEntries();
    m_bar->PostRelayout();
    m_bar->ShowAllButtons();
    m_bar->RequestParentNotify();
    ClearSelection();
  }
  m_bMoveOut = m_bInPlace = FALSE;
  TidySeparators(oldIndex);
  delete item;
}

// No two plain separators in a row where the button was, none at either end.
void CXTToolBarDropTarget::TidySeparators(int oldIndex) {
  TBBUTTON here, before;
  if (oldIndex > 0 && m_bar->GetButton(oldIndex, &here) && m_bar->GetButton(oldIndex - 1, &before) &&
      IsPlainSeparator(here) && IsPlainSeparator(before))
    m_bar->SendMessage(TB_DELETEBUTTON, oldIndex);
  TBBUTTON first;
  if (m_bar->GetButton(0, &first) && IsPlainSeparator(first)) {
    m_bar->SendMessage(TB_DELETEBUTTON, 0);
    if (m_selected > 0) --m_selected;
  }
  const int count = m_bar->GetButtonCount();
  TBBUTTON last;
  if (count > 0 && m_bar->GetButton(count - 1, &last) && IsPlainSeparator(last))
    m_bar->SendMessage(TB_DELETEBUTTON, count - 1);
  m_bar->RebuildEntries();
}

bool CXTToolBarDropTarget::IsOwnDrag(const CXTCustomItem*) const { return m_bMoveOut != FALSE; }

BOOL CXTToolBarDropTarget::ContainsPoint(CPoint point) {
  CRect window;
  m_bar->GetWindowRect(&window);
  if (!window.PtInRect(point)) return FALSE;
  if (m_bMoveOut) {
    if (m_ownArea.PtInRect(point)) {
      if (!m_bFirstRecorded) m_first = point;
      m_bFirstRecorded = TRUE;
      m_last = point;
    } else {
      m_bInPlace = FALSE;
    }
  }
  CRect client;
  m_bar->GetClientRect(&client);
  m_bar->ClientToScreen(&client);
  return client.PtInRect(point);
}

BOOL CXTToolBarDropTarget::Accept(CXTCustomItem* item, CPoint point, BOOL& copyAllowed) {
  const bool own = IsOwnDrag(item);
  bool accepted = false;
  if (item->m_nKind == CXTCustomItem::kButton && item->m_nCmdID == 0)
    accepted = item->m_pDropDown && item->m_pDropDown->bAppPopup;
  else if (item->m_nKind == CXTCustomItem::kButton)
    accepted = own || m_bar->CommandToIndex(item->m_nCmdID) < 0;
  else if (item->m_nKind == CXTCustomItem::kControl)
    accepted = own;
  if (!accepted) return FALSE;
  if (own) copyAllowed = FALSE;
  int index;
  CRect marker;
  FindInsertion(point, &index, &marker);
  MoveMarker(index, marker);
  return TRUE;
}

void CXTToolBarDropTarget::FindInsertion(CPoint screen, int* index, CRect* marker) const {
  CPoint point = screen;
  m_bar->ScreenToClient(&point);
  CRect client;
  m_bar->GetClientRect(&client);
  const bool across = IsAcross();
  int nearest = -1;
  long best = LONG_MAX;
  CRect anchor;
  for (int i = 0; i < m_bar->GetButtonCount(); ++i) {
    TBBUTTON button;
    if (!m_bar->GetButton(i, &button) || IsHidden(button)) continue;
    CRect item;
    m_bar->SendMessage(TB_GETITEMRECT, i, reinterpret_cast<LPARAM>(&item));
    const CPoint centre = item.CenterPoint();
    const long distance = (centre.x - point.x) * (centre.x - point.x) + (centre.y - point.y) * (centre.y - point.y);
    if (distance < best) {
      best = distance;
      nearest = i;
      anchor = item;
    }
  }
  if (nearest < 0) {
    *index = 0;
    *marker = across ? CRect(0, 0, kEmptyMarker, client.bottom) : CRect(0, 0, client.right, kEmptyMarker);
    return;
  }
  if (across) {
    const bool before = point.x - anchor.left < anchor.right - point.x;
    const int edge = before ? anchor.left : anchor.right;
    *index = before ? nearest : nearest + 1;
    *marker = CRect(edge - kMarkerHalf, anchor.top, edge + kMarkerHalf, anchor.bottom);
  } else {
    const bool before = point.y - anchor.top < anchor.bottom - point.y;
    const int edge = before ? anchor.top : anchor.bottom;
    *index = before ? nearest : nearest + 1;
    *marker = CRect(anchor.left, edge - kMarkerHalf, anchor.right, edge + kMarkerHalf);
  }
  if (marker->left < client.left) marker->OffsetRect(client.left - marker->left, 0);
  if (marker->right > client.right) marker->OffsetRect(client.right - marker->right, 0);
  if (marker->top < client.top) marker->OffsetRect(0, client.top - marker->top);
  if (marker->bottom > client.bottom) marker->OffsetRect(0, client.bottom - marker->bottom);
  CRect selected, ownArea = m_ownArea, overlap;
  if (m_selected >= 0) m_bar->SendMessage(TB_GETITEMRECT, m_selected, reinterpret_cast<LPARAM>(&selected));
  m_bar->ScreenToClient(&ownArea);
  if ((m_selected >= 0 && overlap.IntersectRect(marker, &selected)) ||
      (m_bMoveOut && overlap.IntersectRect(marker, &ownArea)))
    marker->SetRectEmpty();
}

void CXTToolBarDropTarget::MoveMarker(int index, const CRect& marker) {
  if (index == m_insert && marker == m_marker) return;
  if (!m_marker.IsRectEmpty()) {
    CRect old = m_marker;
    old.InflateRect(kMarkerHalf, kMarkerHalf);
    m_bar->InvalidateRect(&old);
  }
  m_insert = index;
  m_marker = marker;
  m_bar->UpdateWindow();
  DrawMarks();
}

void CXTToolBarDropTarget::Track(CPoint point) {
  int index;
  CRect marker;
  FindInsertion(point, &index, &marker);
  MoveMarker(index, marker);
}

void CXTToolBarDropTarget::Leave() {
  MoveMarker(-1, CRect());
  RequestRedraw();
}

void CXTToolBarDropTarget::Drop(CXTCustomItem* item, CPoint point) {
  int index;
  CRect marker;
  FindInsertion(point, &index, &marker);
  MoveMarker(-1, CRect());
  const int existing = item->m_nCmdID ? m_bar->CommandToIndex(item->m_nCmdID) : -1;
  if (m_bMoveOut && m_bInPlace) {
    m_bMoveOut = m_bInPlace = FALSE;
    index = m_selected;
    DropInPlace();
    index = m_selected;
  } else if (existing >= 0 && m_bMoveOut) {
    m_bMoveOut = FALSE;
    if (existing != index && existing + 1 != index) {
      TBBUTTON button;
      m_bar->GetButton(existing, &button);
      m_bar->SendMessage(TB_DELETEBUTTON, existing);
      if (existing < index) --index;
      m_bar->SendMessage(TB_INSERTBUTTON, index, reinterpret_cast<LPARAM>(&button));
      m_bar->RebuildEntries();
      m_bar->PostRelayout();
    } else {
      index = existing;
    }
  } else {
    m_bar->InsertCustomItem(item, index);
  }
  GetCustomizeBroker().Listeners(CXTCustomizeBroker::kDragStartListeners).NotifyAll(0);
  m_selected = index;
  m_bar->RequestParentNotify();
  RequestRedraw();
}

// An own drag that never left the button: more than 2 pixels forward adds a
// separator before it, more than 2 back removes the one there.
void CXTToolBarDropTarget::DropInPlace() {
  if (!m_bFirstRecorded) return;
  const int moved = IsAcross() ? m_last.x - m_first.x : m_last.y - m_first.y;
  TBBUTTON before;
  const bool separatorBefore = m_selected > 0 && m_bar->GetButton(m_selected - 1, &before) && IsPlainSeparator(before);
  if (moved < -kStill && separatorBefore) {
    m_bar->SendMessage(TB_DELETEBUTTON, m_selected - 1);
    --m_selected;
  } else if (moved > kStill && m_selected > 0 && !separatorBefore) {
    TBBUTTON separator = {};
    separator.fsStyle = TBSTYLE_SEP;
    separator.fsState = TBSTATE_ENABLED;
    separator.iBitmap = m_bar->SeparatorWidth();
    m_bar->SendMessage(TB_INSERTBUTTON, m_selected, reinterpret_cast<LPARAM>(&separator));
    ++m_selected;
  } else {
    return;
  }
  m_bar->RebuildEntries();
  m_bar->PostRelayout();
}

// The selected button framed twice in black, and the insertion marker.
void CXTToolBarDropTarget::DrawMarks() {
  if (!m_bar->m_hWnd) return;
  CClientDC dc(m_bar);
  if (m_selected >= 0) {
    CRect item;
    m_bar->SendMessage(TB_GETITEMRECT, m_selected, reinterpret_cast<LPARAM>(&item));
    dc.Draw3dRect(&item, RGB(0, 0, 0), RGB(0, 0, 0));
    item.DeflateRect(1, 1);
    dc.Draw3dRect(&item, RGB(0, 0, 0), RGB(0, 0, 0));
  }
  if (m_marker.IsRectEmpty()) return;
  const COLORREF ink = ::GetSysColor(COLOR_BTNTEXT);
  const CRect& m = m_marker;
  if (IsAcross()) {
    dc.FillSolidRect(m.left + 1, m.top, 2, m.Height(), ink);
    dc.FillSolidRect(m.left - 1, m.top, 6, 1, ink);
    dc.FillSolidRect(m.left, m.top + 1, 4, 1, ink);
    dc.FillSolidRect(m.left - 1, m.bottom - 1, 6, 1, ink);
    dc.FillSolidRect(m.left, m.bottom - 2, 4, 1, ink);
  } else {
    dc.FillSolidRect(m.left + 1, m.top + 1, m.Width() - 1, 2, ink);
    dc.FillSolidRect(m.left, m.top - 1, 1, 6, ink);
    dc.FillSolidRect(m.left + 1, m.top, 1, 4, ink);
    dc.FillSolidRect(m.right - 1, m.top - 1, 1, 6, ink);
    dc.FillSolidRect(m.right - 2, m.top, 1, 4, ink);
  }
}
