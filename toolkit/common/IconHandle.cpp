#include "toolkit/common/IconHandle.h"

#include <commctrl.h>

void CXTIconHandle::Reset(HICON icon) {
  if (m_icon && m_icon != icon) ::DestroyIcon(m_icon);
  m_icon = icon;
}

CSize CXTIconHandle::GetExtent() const {
  ICONINFO info = {};
  if (!m_icon || !::GetIconInfo(m_icon, &info)) return CSize(0, 0);
  BITMAP mask = {};
  ::GetObjectA(info.hbmMask, sizeof mask, &mask);
  // A mono icon keeps its image under its mask in one bitmap twice as high.
  CSize extent(mask.bmWidth, info.hbmColor ? mask.bmHeight : mask.bmHeight / 2);
  if (info.hbmColor) ::DeleteObject(info.hbmColor);
  if (info.hbmMask) ::DeleteObject(info.hbmMask);
  return extent;
}

HICON CXTIconHandle::ScaleToFit(int cx, int cy) const {
  const CSize extent = GetExtent();
  if ((cx == 0 && cy == 0) || extent.cx == 0 || extent.cy == 0) return nullptr;
  if (cx * extent.cy < cy * extent.cx)
    cy = ::MulDiv(extent.cy, cx, extent.cx);
  else if (cx * extent.cy > cy * extent.cx)
    cx = ::MulDiv(extent.cx, cy, extent.cy);
  HIMAGELIST list = ImageList_Create(cx, cy, ILC_COLOR32 | ILC_MASK, 1, 1);
  if (!list) return nullptr;
  HICON scaled = ImageList_AddIcon(list, m_icon) >= 0 ? ImageList_GetIcon(list, 0, ILD_NORMAL) : nullptr;
  ImageList_Destroy(list);
  return scaled;
}
