// Owner-drawn command lists (the command list of the customise sheet).
#include "toolkit/common/MemDC.h"
#include "toolkit/common/SharedState.h"
#include "toolkit/paint/FlatPainters.h"

namespace {

const int kIconSize = 16;
const int kTextGap = 6;
// The submenu triangle: one column per entry, rows below the item top.
struct TriangleColumn {
  int firstRow, lastRow;
};
const TriangleColumn kTriangle[] = {{6, 15}, {7, 14}, {8, 13}, {9, 12}, {10, 11}};
const int kTriangleBox = 11;

void DrawSubmenuTriangle(CDC* dc, const RECT& item, COLORREF color) {
  const int x = item.right - kTriangleBox;
  for (int i = 0; i < 5; ++i)
    dc->FillSolidRect(x + i, item.top + kTriangle[i].firstRow, 1, kTriangle[i].lastRow - kTriangle[i].firstRow + 1,
                      color);
}

void DrawIconAt(CDC* dc, HICON icon, int x, int y) {
  if (icon) ::DrawIconEx(dc->m_hDC, x, y, icon, kIconSize, kIconSize, 0, nullptr, DI_NORMAL);
}

void DrawCommandImage(CDC* dc, const CXTCommandImage& images, const CRect& column, bool selected) {
  const int x = column.left + (column.Width() - kIconSize) / 2, y = column.top + (column.Height() - kIconSize) / 2;
  if (selected) {
    DrawIconAt(dc, images.shadow, x + 1, y + 1);
    DrawIconAt(dc, images.image, x - 1, y - 1);
  } else {
    DrawIconAt(dc, GetSharedState().m_popupFlagA ? images.image : images.faded, x, y);
  }
}

}  // namespace

void CXTFlatListPainter::DrawListItem(const DRAWITEMSTRUCT& item, CXTPaintableList& list) {
  CDC* dc = CDC::FromHandle(item.hDC);
  const bool selected = (item.itemState & ODS_SELECTED) != 0;
  CRect rect(item.rcItem);
  CRect column(rect.left, rect.top, rect.left + list.GetIconColumnWidth(), rect.bottom);
  dc->FillSolidRect(&rect, GetToolkitColor(41));
  dc->FillSolidRect(&column, GetToolkitColor(30));
  if (selected) {
    dc->FillSolidRect(&rect, GetToolkitColor(31));
    FrameRectWith(dc, rect, GetToolkitColor(32));
  }
  const COLORREF oldText = dc->SetTextColor(GetToolkitColor(selected ? 45 : 44));
  const int oldMode = dc->SetBkMode(TRANSPARENT);
  CRect text(rect.left + column.Width() + kTextGap, rect.top, rect.right - column.Width(), rect.bottom);
  const CString label = list.GetItemText(item);
  ::DrawTextA(dc->m_hDC, label, -1, &text, DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS);
  const UINT command = list.GetItemCommand(item);
  if (!command) {
    DrawSubmenuTriangle(dc, rect, GetToolkitColor(44));
  } else if (const CXTCommandImage* images = GetImageStore().LookupForMenu(command)) {
    DrawCommandImage(dc, *images, column, selected);
  }
  dc->SetBkMode(oldMode);
  dc->SetTextColor(oldText);
}

void CXTFlatListPainter::PaintList(CXTPaintableList& list) {
  CWnd* window = CWnd::FromHandle(list.GetListWindow());
  CPaintDC paint(window);
  CRect client;
  window->GetClientRect(&client);
  CXTMemDC mem(&paint, &client, GetToolkitColor(41));
  CRect column(client.left, client.top, client.left + list.GetIconColumnWidth(), client.bottom);
  mem.FillSolidRect(&column, GetToolkitColor(30));
  list.PaintItemsInto(&mem);
}
