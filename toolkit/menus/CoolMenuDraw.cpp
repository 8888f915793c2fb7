// Measuring and drawing the cool menu's items in the flat and classic looks.
#include <algorithm>

#include "toolkit/common/DrawHelpers.h"
#include "toolkit/common/ImageStore.h"
#include "toolkit/common/MenuHelpers.h"
#include "toolkit/common/SharedState.h"
#include "toolkit/menus/CoolMenu.h"
#include "toolkit/menus/PopupMenuWatch.h"
#include "toolkit/paint/FlatPainters.h"

namespace {

const int kMinimumWidth = 100;
const int kFlatTextGap = 8, kClassicTextGap = 7;

COLORREF Tk(int n) { return GetToolkitColor(n); }
bool Flat() { return GetSharedState().m_xpLook != FALSE; }

// The menu font, bold for the default item.
HFONT MenuFont(bool bold) {
  NONCLIENTMETRICSA metrics = {};
  metrics.cbSize = sizeof metrics;
  ::SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
  if (bold) metrics.lfMenuFont.lfWeight = FW_BOLD;
  return ::CreateFontIndirectA(&metrics.lfMenuFont);
}

// The check mark, two pixels thick, relative to origin.
void DrawCheck(CDC* dc, CPoint o, COLORREF c) {
  for (int i = 0; i < 3; ++i) dc->FillSolidRect(o.x + 6 + i, o.y + 9 + i, 1, 2, c);
  for (int i = 0; i < 3; ++i) dc->FillSolidRect(o.x + 9 + i, o.y + 10 - i, 1, 2, c);
  dc->FillSolidRect(o.x + 12, o.y + 7, 1, 2, c);
}

void DrawRadio(CDC* dc, CPoint o, COLORREF c) {
  dc->FillSolidRect(o.x + 8, o.y + 8, 3, 1, c);
  dc->FillSolidRect(o.x + 7, o.y + 9, 5, 3, c);
  dc->FillSolidRect(o.x + 8, o.y + 12, 3, 1, c);
}

// Mnemonics are underlined only while the system shows keyboard cues (from
// Windows 2000 on) or Alt is down.
bool ShowsKeyboardCues() {
  const OSVERSIONINFOA& v = GetOSVersionInfo();
  if (v.dwPlatformId != VER_PLATFORM_WIN32_NT || v.dwMajorVersion < 5) return true;
  BOOL cues = TRUE;
  ::SystemParametersInfoA(SPI_GETKEYBOARDCUES, 0, &cues, 0);
  return cues || (::GetKeyState(VK_MENU) & 0x8000);
}

}  // namespace

CXTCoolMenu::ItemPlace CXTCoolMenu::PlaceOf(const CXTMenuItemData& data) const {
  const int position = FindItemPosition(data);
  return ItemPlace{position == 0, position >= 0 && position == ::GetMenuItemCount(data.menu) - 1};
}

CRect CXTCoolMenu::CellRect(const CRect& item) const {
  const int top = item.top + (item.Height() - m_cellSize.cy) / 2;
  return CRect(item.left, top, item.left + m_cellSize.cx, top + m_cellSize.cy);
}

BOOL CXTCoolMenu::OnMeasureItem(MEASUREITEMSTRUCT* item) {
  if (item->CtlType != ODT_MENU) return FALSE;
  const CXTMenuItemData* data = FindRecord(item->itemData);
  if (!data) return FALSE;
  const bool flat = Flat();
  const int cyMenu = ::GetSystemMetrics(SM_CYMENU);
  if (data->type & MFT_SEPARATOR) {
    item->itemWidth = 0;
    item->itemHeight = 3;
    return TRUE;
  }
  if (data->id == XT_IDC_FULL_MENUS) {
    item->itemWidth = kMinimumWidth;
    item->itemHeight = flat ? m_imageSize.cy : cyMenu + 1;
    return TRUE;
  }
  CString text = data->text;
  text.Replace("\t", "XXX");
  HDC dc = ::GetWindowDC(m_hWnd);
  HFONT font = MenuFont((data->state & MFS_DEFAULT) != 0);
  HGDIOBJ old = ::SelectObject(dc, font);
  RECT measured = {0, 0, 0, 0};
  ::DrawTextA(dc, text, -1, &measured, DT_SINGLELINE | DT_CALCRECT);
  ::SelectObject(dc, old);
  ::DeleteObject(font);
  ::ReleaseDC(m_hWnd, dc);
  const int textWidth = measured.right - measured.left;
  const int width = flat ? textWidth + m_imageSize.cx + 28 : textWidth + 2 * m_imageSize.cx + 2;
  item->itemWidth = text.IsEmpty() ? kMinimumWidth : std::max(width, kMinimumWidth);
  int height = text.IsEmpty() ? cyMenu : std::max<int>(m_imageSize.cy + 4 + (flat ? 3 : 0), cyMenu);
  if (flat) {
    // The flat border takes a pixel from the top item and leaves room below the last.
    const ItemPlace place = PlaceOf(*data);
    if (place.first) height += 1;
    if (place.last) height -= 3;
  }
  item->itemHeight = height;
  return TRUE;
}

BOOL CXTCoolMenu::OnDrawItem(const DRAWITEMSTRUCT* item) {
  if (item->CtlType != ODT_MENU) return FALSE;
  const CXTMenuItemData* data = FindRecord(item->itemData);
  if (!data) return FALSE;
  CDC* dc = CDC::FromHandle(item->hDC);
  const int saved = dc->SaveDC();
  const bool selected = (item->itemState & ODS_SELECTED) != 0, grayed = (item->itemState & ODS_GRAYED) != 0;
  const bool shownHidden = IsShownHidden(*data);
  CRect rect(item->rcItem);
  if (data->id == XT_IDC_FULL_MENUS) {
    DrawExpandItem(dc, rect, selected);
    FollowExpandHover(selected);
  } else if (data->type & MFT_SEPARATOR) {
    DrawItemBackground(dc, *item, *data, shownHidden);
    DrawSeparator(dc, rect, shownHidden);
  } else {
    DrawItemBackground(dc, *item, *data, shownHidden);
    const CRect cell = CellRect(rect);
    bool marked = DrawItemImage(dc, *item, *data, cell);
    if (!marked && (item->itemState & ODS_CHECKED)) {
      DrawCheckMark(dc, cell, selected, grayed, (data->type & MFT_RADIOCHECK) != 0);
      marked = true;
    }
    const bool flat = Flat();
    CRect text(rect.left + m_cellSize.cx + (flat ? kFlatTextGap : kClassicTextGap), rect.top, rect.right, rect.bottom);
    if (!flat && selected) {
      CRect band(marked ? cell.right + 2 : rect.left, rect.top, rect.right, rect.bottom);
      dc->FillSolidRect(&band, ::GetSysColor(COLOR_HIGHLIGHT));
    }
    COLORREF color;
    if (flat)
      color = Tk(grayed ? 35 : (selected ? 45 : 44));
    else
      color = ::GetSysColor(grayed ? (selected ? COLOR_3DFACE : COLOR_GRAYTEXT)
                                   : (selected ? COLOR_HIGHLIGHTTEXT : COLOR_MENUTEXT));
    CString shown = data->text;
    if (!ShowsKeyboardCues()) StripMnemonics(shown);
    if (!flat && grayed && !selected) {
      CRect raised = text;
      raised.OffsetRect(1, 1);
      DrawMenuText(dc, raised, shown, ::GetSysColor(COLOR_3DHILIGHT), (data->state & MFS_DEFAULT) != 0);
    }
    DrawMenuText(dc, text, shown, color, (data->state & MFS_DEFAULT) != 0);
    if (!flat && shownHidden) DrawHiddenBlockEdges(dc, rect, *data);
  }
  dc->RestoreDC(saved);
  return TRUE;
}

void CXTCoolMenu::DrawItemBackground(CDC* dc, const DRAWITEMSTRUCT& item, const CXTMenuItemData& data,
                                     bool shownHidden) {
  CRect rect(item.rcItem);
  const bool selected = (item.itemState & ODS_SELECTED) != 0, grayed = (item.itemState & ODS_GRAYED) != 0;
  if (!Flat()) {
    dc->FillSolidRect(&rect, shownHidden ? GetSharedState().m_clrLightFace : ::GetSysColor(COLOR_MENU));
    return;
  }
  // The fill reaches past the item into the popup's margins: right, and
  // below the last item.
  const ItemPlace place = PlaceOf(data);
  CRect fill = rect;
  fill.right += 4;
  if (place.last) fill.bottom += 4;
  dc->FillSolidRect(&fill, Tk(41));
  CRect column(rect.left, rect.top, rect.left + m_cellSize.cx + 8, rect.bottom);
  if (place.first) column.top += 1;
  if (place.last) column.bottom -= 1;
  dc->FillSolidRect(&column, Tk(shownHidden ? 42 : 30));
  if (!selected || (data.type & MFT_SEPARATOR)) return;
  CRect band = rect;
  band.DeflateRect(1, 0);
  if (!grayed) {
    dc->FillSolidRect(&band, Tk(31));
    FrameRectWith(dc, band, Tk(32));
  } else if (!CXTPopupMenuWatch::MouseMoved()) {
    // A grayed item is marked only where the keyboard brought the selection.
    dc->FillSolidRect(&band, Tk(41));
    FrameRectWith(dc, band, Tk(32));
  }
}

const CXTMenuItemData* CXTCoolMenu::Neighbour(const CXTMenuItemData& data, int step) const {
  const std::vector<CXTMenuItemData*> records = RecordsOf(data.menu);
  const auto at = std::find(records.begin(), records.end(), &data);
  if (at == records.end()) return nullptr;
  const auto index = (at - records.begin()) + step;
  return index >= 0 && index < static_cast<int>(records.size()) ? records[index] : nullptr;
}

// With full menus, hidden commands show in a colour of their own, and so
// does a separator inside a block of them.
bool CXTCoolMenu::IsShownHidden(const CXTMenuItemData& data) const {
  if (!m_fullMenus) return false;
  if (!(data.type & MFT_SEPARATOR)) return (data.flags & CXTMenuItemData::kHideable) != 0;
  const CXTMenuItemData *above = Neighbour(data, -1), *below = Neighbour(data, 1);
  return above && below && (above->flags & CXTMenuItemData::kHideable) && (below->flags & CXTMenuItemData::kHideable);
}

// The classic look edges a block of hidden commands: dark above, light
// below, but not where a separator carries the block on.
void CXTCoolMenu::DrawHiddenBlockEdges(CDC* dc, const CRect& rect, const CXTMenuItemData& data) {
  auto carriesOn = [this](const CXTMenuItemData* neighbour) { return neighbour && IsShownHidden(*neighbour); };
  if ((data.flags & CXTMenuItemData::kBlockStart) && !carriesOn(Neighbour(data, -1)))
    dc->FillSolidRect(rect.left, rect.top, rect.Width(), 1, ::GetSysColor(COLOR_3DSHADOW));
  if ((data.flags & CXTMenuItemData::kBlockEnd) && !carriesOn(Neighbour(data, 1)))
    dc->FillSolidRect(rect.left, rect.bottom - 1, rect.Width(), 1, ::GetSysColor(COLOR_3DHILIGHT));
}

void CXTCoolMenu::DrawSeparator(CDC* dc, const CRect& rect, bool shownHidden) {
  const int mid = rect.top + rect.Height() / 2;
  if (Flat()) {
    const int left = rect.left + m_cellSize.cx + 8;
    dc->FillSolidRect(left, mid, rect.right - left, 1, Tk(39));
    return;
  }
  CRect line(rect.left + 12, mid, rect.right - 12, mid + 2);
  if (shownHidden) dc->FillSolidRect(&rect, GetSharedState().m_clrLightFace);
  ::DrawEdge(dc->m_hDC, &line, EDGE_ETCHED, BF_TOP);
}

// The command's image in the cell; FALSE when the command has none.
bool CXTCoolMenu::DrawItemImage(CDC* dc, const DRAWITEMSTRUCT& item, const CXTMenuItemData& data, const CRect& cell) {
  const CXTCommandImage* images = GetImageStore().LookupForMenu(data.id);
  if (!images || !images->image) return false;
  const bool selected = (item.itemState & ODS_SELECTED) != 0, grayed = (item.itemState & ODS_GRAYED) != 0;
  const bool checked = (item.itemState & ODS_CHECKED) != 0;
  const int x = cell.left + (cell.Width() - m_imageSize.cx) / 2, y = cell.top + (cell.Height() - m_imageSize.cy) / 2;
  auto draw = [&](HICON icon, int dx, int dy) {
    ::DrawIconEx(dc->m_hDC, x + dx, y + dy, icon, m_imageSize.cx, m_imageSize.cy, 0, nullptr, DI_NORMAL);
  };
  auto drawMono = [&](COLORREF color, int dx, int dy) {
    CBrush brush(color);
    ::DrawStateA(dc->m_hDC, brush, nullptr, reinterpret_cast<LPARAM>(images->image), 0, x + dx, y + dy,
                 m_imageSize.cx, m_imageSize.cy, DST_ICON | DSS_MONO);
  };
  if (!Flat()) {
    dc->FillSolidRect(&cell, IsShownHidden(data) ? GetSharedState().m_clrLightFace : ::GetSysColor(COLOR_MENU));
  }
  if (Flat() && checked) {
    CRect box(cell.left + 2, cell.top + 2, cell.right - 3, cell.bottom - 1);
    if (!grayed) dc->FillSolidRect(&box, Tk(selected ? 33 : 36));
    FrameRectWith(dc, box, Tk(grayed ? 43 : 37));
    draw(images->image, 0, 0);
  } else if (grayed && images->disabled) {
    draw(images->disabled, 0, 0);
  } else if (grayed && Flat()) {
    drawMono(Tk(40), 0, 0);
  } else if (grayed) {  // embossed
    drawMono(::GetSysColor(COLOR_3DHILIGHT), 1, 1);
    drawMono(::GetSysColor(COLOR_3DSHADOW), 0, 0);
  } else if (Flat() && selected) {
    draw(images->shadow, 1, 1);
    draw(images->image, -1, -1);
  } else if (Flat()) {
    draw(images->faded, 0, 0);
  } else {
    CRect edge = cell;
    if (checked && !selected) DrawHalftoneRect(dc, &edge);
    if (checked || selected) ::DrawEdge(dc->m_hDC, &edge, checked ? BDR_SUNKENOUTER : BDR_RAISEDINNER, BF_RECT);
    draw(images->image, 0, 0);
  }
  return true;
}

void CXTCoolMenu::DrawCheckMark(CDC* dc, const CRect& cell, bool selected, bool grayed, bool radio) {
  COLORREF mark;
  if (Flat()) {
    CRect box(cell.left + 2, cell.top + 2, cell.right - 3, cell.bottom - 1);
    if (!grayed) dc->FillSolidRect(&box, Tk(selected ? 33 : 36));
    FrameRectWith(dc, box, Tk(grayed ? 43 : 37));
    mark = Tk(grayed ? 43 : (selected ? 45 : 44));
  } else {
    CRect box = cell;
    if (selected)
      dc->FillSolidRect(&box, ::GetSysColor(COLOR_MENU));
    else
      DrawHalftoneRect(dc, &box);
    ::DrawEdge(dc->m_hDC, &box, BDR_SUNKENOUTER, BF_RECT);
    mark = ::GetSysColor(COLOR_MENUTEXT);
  }
  // The flat box is smaller than the cell: its mark moves in with it.
  const CPoint origin = Flat() ? CPoint(cell.left + 3, cell.top + 2) : cell.TopLeft();
  if (radio)
    DrawRadio(dc, origin, mark);
  else
    DrawCheck(dc, origin, mark);
}

void CXTCoolMenu::DrawExpandItem(CDC* dc, const CRect& rect, bool selected) {
  CRect area = rect;
  COLORREF color = ::GetSysColor(COLOR_MENUTEXT);
  if (Flat()) {
    dc->FillSolidRect(&area, Tk(selected ? 31 : 41));
    if (selected) FrameRectWith(dc, area, Tk(32));
    color = Tk(selected ? 45 : 44);
  } else if (selected) {
    dc->FillSolidRect(&area, ::GetSysColor(COLOR_3DLIGHT));
    ::DrawEdge(dc->m_hDC, &area, BDR_RAISEDINNER, BF_RECT);
  } else {
    dc->FillSolidRect(&area, ::GetSysColor(COLOR_MENU));
  }
  // Two chevrons pointing down, 5 wide and 3 high, 4 apart.
  const int x = rect.left + (rect.Width() - 5) / 2, y = rect.top + (rect.Height() - 7) / 2;
  for (int chevron = 0; chevron < 2; ++chevron)
    for (int row = 0; row < 3; ++row) {
      const int top = y + chevron * 4 + row;
      dc->FillSolidRect(x + row, top, 1, 1, color);
      dc->FillSolidRect(x + 4 - row, top, 1, 1, color);
    }
}

void CXTCoolMenu::DrawMenuText(CDC* dc, const CRect& rect, const CString& text, COLORREF color, bool bold) {
  HFONT font = MenuFont(bold);
  HGDIOBJ old = ::SelectObject(dc->m_hDC, font);
  dc->SetTextColor(color);
  dc->SetBkMode(TRANSPARENT);
  CRect area = rect;
  area.right -= Flat() ? 20 : m_cellSize.cx;
  const int tab = text.Find('\t');
  const CString left = tab < 0 ? text : text.Left(tab);
  ::DrawTextA(dc->m_hDC, left, -1, &area, DT_VCENTER | DT_SINGLELINE);
  if (tab >= 0) ::DrawTextA(dc->m_hDC, text.Mid(tab + 1), -1, &area, DT_RIGHT | DT_VCENTER | DT_SINGLELINE);
  ::SelectObject(dc->m_hDC, old);
  ::DeleteObject(font);
}
