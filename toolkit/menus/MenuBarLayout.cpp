// The menu bar's layout: where rows end, where each item goes, and the size
// the bar asks of its dock bar or floating frame.
#include <algorithm>

#include "toolkit/menus/MenuBar.h"

namespace {
const int kUnlimited = 0x7FFF;  // a width no row reaches
}  // namespace

// Walks the visible items with a running width and ends rows where the next
// item would not fit; an item that may not end a row hands that to the last
// one before it that may. The last item is never examined.
int CXTMenuBar::WrapItems(int limit) {
  const std::vector<int> visible = VisibleItems(kAll);
  int x = 0;
  CXTMenuBarItem* candidate = nullptr;
  int rows = 1;
  for (size_t i = 0; i + 1 < visible.size(); ++i) {
    CXTMenuBarItem& item = *m_items[visible[i]];
    CXTMenuBarItem& next = *m_items[visible[i + 1]];
    const int width = item.GetSize().cx, spacing = item.GetSpacing();
    if (x + width > limit) {
      if (item.CanWrap()) {
        item.m_bRowEnd = TRUE;
        x = 0;
      }
    } else if (x + width + spacing + next.GetSize().cx > limit) {
      CXTMenuBarItem* end = item.CanWrap() ? &item : candidate;
      if (end) {
        end->m_bRowEnd = TRUE;
        x = 0;
      }
    } else {
      if (item.CanWrap()) item.m_bRowEnd = FALSE;
      x += width + spacing;
    }
    if (item.CanWrap()) candidate = &item;
  }
  for (size_t i = 0; i + 1 < visible.size(); ++i)
    if (m_items[visible[i]]->CanWrap() && m_items[visible[i]]->m_bRowEnd) ++rows;
  return rows;
}

// Rows of SM_CYMENU; a vertical bar lays its rows as columns from the right.
void CXTMenuBar::PlaceItems(BOOL horizontal) {
  CRect inside;
  CalcInsideRect(inside, horizontal);
  const int rowHeight = ::GetSystemMetrics(SM_CYMENU);
  const std::vector<int> visible = VisibleItems(kAll);
  int thickness = rowHeight;
  for (size_t i = 0; i + 1 < visible.size(); ++i)
    if (m_items[visible[i]]->CanWrap() && m_items[visible[i]]->m_bRowEnd) thickness += rowHeight;

  int along = 0, across = horizontal ? 0 : inside.left;
  for (size_t i = 0; i < visible.size(); ++i) {
    CXTMenuBarItem& item = *m_items[visible[i]];
    const CSize size = item.GetSize();
    if (horizontal)
      item.m_pos = CPoint(along, across + (rowHeight - size.cy) / 2);
    else
      item.m_pos = CPoint(-across - (rowHeight + size.cy) / 2, along);
    const bool rowEnds = i + 1 < visible.size() && item.CanWrap() && item.m_bRowEnd;
    if (!rowEnds) {
      along += size.cx + item.GetSpacing();
    } else if (horizontal) {
      along = inside.left;
      across += rowHeight;
    } else {
      across += rowHeight;
      along = inside.top;
    }
  }
  if (!horizontal)
    for (int index : visible) m_items[index]->m_pos.x += thickness - inside.right;
  // A vertical bar keeps its buttons where they are while it has one column.
  if (!IsFloating() && m_bPushButtonsToEnd && (horizontal || thickness > rowHeight)) PushButtonsToEnd(horizontal);
}

// Each row's caption buttons move together to the far end of the bar.
void CXTMenuBar::PushButtonsToEnd(BOOL horizontal) {
  const std::vector<int> buttons = VisibleItems(kChildButtons);
  const int end = AvailableLength(horizontal) - ::GetSystemMetrics(SM_CXEDGE);
  size_t first = 0;
  for (size_t i = 0; i < buttons.size(); ++i) {
    CXTMenuBarItem& last = *m_items[buttons[i]];
    const bool groupEnds = i + 1 == buttons.size() || (last.CanWrap() && last.m_bRowEnd);
    if (!groupEnds) continue;
    const int lastEnd = (horizontal ? last.m_pos.x : last.m_pos.y) + last.GetSize().cx;
    const int move = end - lastEnd;
    for (size_t j = first; move > 0 && j <= i; ++j)
      (horizontal ? m_items[buttons[j]]->m_pos.x : m_items[buttons[j]]->m_pos.y) += move;
    first = i + 1;
  }
}

CSize CXTMenuBar::ItemsSize(BOOL horizontal) const {
  const std::vector<int> visible = VisibleItems(kAll);
  if (visible.empty()) return CSize(0, 0);
  int least = INT_MAX, most = INT_MIN;
  const int rowHeight = ::GetSystemMetrics(SM_CYMENU);
  int thickness = rowHeight;
  for (size_t i = 0; i < visible.size(); ++i) {
    const CXTMenuBarItem& item = *m_items[visible[i]];
    const int start = horizontal ? item.m_pos.x : item.m_pos.y;
    least = std::min<int>(least, start);
    most = std::max<int>(most, start + item.GetSize().cx);
    if (i + 1 < visible.size() && item.CanWrap() && item.m_bRowEnd) thickness += rowHeight;
  }
  return horizontal ? CSize(most - least, thickness) : CSize(thickness, most - least);
}

// The room the borders and gripper take, across both sides.
CSize CXTMenuBar::BorderSize(BOOL horizontal) const {
  CRect inside;
  CalcInsideRect(inside, horizontal);
  return CSize(-inside.Width(), -inside.Height());
}

int CXTMenuBar::AvailableLength(BOOL horizontal) const {
  if (m_nFixedLength != -1) return m_nFixedLength;
  const CSize borders = BorderSize(horizontal);
  CRect client;
  if (!(m_dwStyle & CBRS_SIZE_DYNAMIC)) {
    GetClientRect(&client);
    return horizontal ? client.Width() - 2 * borders.cx : client.Height() - 2 * borders.cy;
  }
  CFrameWnd* top = GetTopLevelFrame();
  if (horizontal && top) {
    top->GetClientRect(&client);
    return client.Width() - 2 * borders.cx;
  }
  CWnd* parent = GetParent();
  if (!parent) return 0;
  parent->GetClientRect(&client);
  return client.Height() - borders.cy - (horizontal ? borders.cx : borders.cy);
}

// A floating bar settles on a width a layout really measures: bisect between
// the fully wrapped and the one-row widths.
void CXTMenuBar::SizeFloatingToWidth(int width) {
  WrapItems(0);
  PlaceItems(TRUE);
  int low = ItemsSize(TRUE).cx;
  WrapItems(kUnlimited);
  PlaceItems(TRUE);
  int high = ItemsSize(TRUE).cx;
  int last = -1;
  while (low < high) {
    WrapItems((low + high) / 2);
    PlaceItems(TRUE);
    const int measured = ItemsSize(TRUE).cx;
    if (measured == last) break;
    last = measured;
    if (width < high)
      high = measured;
    else
      low = measured;
  }
  WrapItems(high);
  PlaceItems(TRUE);
}

void CXTMenuBar::SizeToLength(int length, BOOL horizontal) {
  const CSize borders = BorderSize(horizontal);
  if (IsFloating()) {
    SizeFloatingToWidth(length - borders.cx);
  } else if (!horizontal) {
    WrapItems(length - borders.cy);
    PlaceItems(FALSE);
  } else {
    WrapItems(length - borders.cx);
    PlaceItems(TRUE);
  }
}

CSize CXTMenuBar::CalcLayout(DWORD mode, int length) {
  const BOOL horizontal = (mode & LM_HORZ) != 0;
  CSize base = CControlBar::CalcFixedLayout((mode & LM_STRETCH) != 0, horizontal);
  if (m_items.empty()) return base;
  const bool dynamic = (m_dwStyle & CBRS_SIZE_DYNAMIC) && !(m_dwStyle & CBRS_SIZE_FIXED);
  BOOL laidHorizontal = horizontal;
  bool availableWidth = false;
  if (!dynamic) {
    WrapItems(kUnlimited);
    PlaceItems(horizontal);
  } else if (mode & LM_MRUWIDTH) {
    const BOOL push = m_bPushButtonsToEnd;
    m_bPushButtonsToEnd = FALSE;
    SizeToLength(m_nMRUWidth, TRUE);
    m_bPushButtonsToEnd = push;
    laidHorizontal = TRUE;
  } else if (mode & LM_HORZDOCK) {
    laidHorizontal = TRUE;
    if (IsFloating() || IsVerticalLayout()) {
      WrapItems(kUnlimited);
      PlaceItems(TRUE);
    } else {
      SizeToLength(AvailableLength(TRUE) + BorderSize(TRUE).cx, TRUE);
    }
  } else if (mode & LM_VERTDOCK) {
    laidHorizontal = FALSE;
    PlaceItems(FALSE);
  } else if (length != -1) {
    const bool height = (mode & LM_LENGTHY) != 0;
    laidHorizontal = !height;
    SizeToLength(length + (height ? BorderSize(FALSE).cy : BorderSize(TRUE).cx), laidHorizontal);
  } else if (IsFloating()) {
    laidHorizontal = TRUE;
    SizeToLength(m_nMRUWidth, TRUE);
  } else {
    SizeToLength(AvailableLength(horizontal) + (horizontal ? BorderSize(TRUE).cx : BorderSize(FALSE).cy), horizontal);
    availableWidth = horizontal;
  }
  CSize size = ItemsSize(laidHorizontal) + BorderSize(laidHorizontal);
  if (availableWidth) size.cx = AvailableLength(TRUE);
  if ((mode & LM_COMMIT) && dynamic && IsFloating()) m_nMRUWidth = size.cx;
  return CSize(std::max<int>(base.cx, size.cx), std::max<int>(base.cy, size.cy));
}

CSize CXTMenuBar::CalcFixedLayout(BOOL bStretch, BOOL bHorz) {
  DWORD mode = (bStretch ? LM_STRETCH : 0) | (bHorz ? LM_HORZ : 0);
  CSize size = CalcLayout(mode, -1);
  if (m_bPushButtonsToEnd || bStretch || !bHorz) return size;
  const std::vector<int> visible = VisibleItems(kAll);
  for (size_t i = 0; i + 1 < visible.size(); ++i)
    if (m_items[visible[i]]->CanWrap() && m_items[visible[i]]->m_bRowEnd) return size;
  WrapItems(kUnlimited);
  PlaceItems(TRUE);
  return ItemsSize(TRUE) + BorderSize(TRUE);
}

CSize CXTMenuBar::CalcDynamicLayout(int nLength, DWORD nMode) {
  if (nLength == -1 && !(nMode & (LM_MRUWIDTH | LM_COMMIT)) && (nMode & (LM_HORZDOCK | LM_VERTDOCK)))
    return CalcFixedLayout((nMode & LM_STRETCH) != 0, (nMode & LM_HORZDOCK) != 0);
  return CalcLayout(nMode, nLength);
}
