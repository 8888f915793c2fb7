#include "toolkit/controls/ImageStrip.h"

#include <commctrl.h>

#include "classlib/module.h"
#include "toolkit/common/SharedState.h"

namespace {
const COLORREF kTransparent = RGB(255, 0, 255);
}

// AddMasked blackens the transparent pixels of the image, which an icon needs.
HICON LoadStripIcon(UINT nBitmap, int cxImage, int index) {
  HINSTANCE hModule = GetSharedState().m_resourceModule;
  if (!hModule) hModule = AfxGetResourceHandle();
  HBITMAP strip = static_cast<HBITMAP>(::LoadImageA(hModule, MAKEINTRESOURCEA(nBitmap), IMAGE_BITMAP, 0, 0, 0));
  if (!strip) return nullptr;
  BITMAP bm;
  ::GetObjectA(strip, sizeof bm, &bm);
  HICON icon = nullptr;
  if (HIMAGELIST images = ::ImageList_Create(cxImage, bm.bmHeight, ILC_COLOR24 | ILC_MASK, bm.bmWidth / cxImage, 0)) {
    if (::ImageList_AddMasked(images, strip, kTransparent) >= 0) icon = ::ImageList_GetIcon(images, index, ILD_NORMAL);
    ::ImageList_Destroy(images);
  }
  ::DeleteObject(strip);
  return icon;
}
