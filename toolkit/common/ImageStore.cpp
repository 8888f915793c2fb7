#include "toolkit/common/ImageStore.h"

#include <vector>

#include "toolkit/common/SharedState.h"

namespace {

// The standard light grey that tool-bar bitmaps use for "no pixel here".
const COLORREF kToolBarMaskColor = RGB(0xC0, 0xC0, 0xC0);
const int kImageGrowBy = 10;
// RT_TOOLBAR
const WORD kToolBarResourceType = 241;

// The words of a tool-bar resource, read only as far as the resource reaches.
struct ToolBarLayout {
  int width = 0, height = 0;
  std::vector<WORD> ids;
};

bool ReadToolBarLayout(HINSTANCE module, LPCSTR name, ToolBarLayout* layout) {
  HRSRC found = ::FindResourceA(module, name, MAKEINTRESOURCEA(kToolBarResourceType));
  HGLOBAL loaded = found ? ::LoadResource(module, found) : nullptr;
  const WORD* words = loaded ? static_cast<const WORD*>(::LockResource(loaded)) : nullptr;
  const DWORD available = words ? ::SizeofResource(module, found) / sizeof(WORD) : 0;
  enum { kVersion, kWidth, kHeight, kCount, kHeaderWords };
  if (available < kHeaderWords || words[kWidth] == 0 || words[kHeight] == 0) return false;
  if (available - kHeaderWords < words[kCount]) return false;
  layout->width = words[kWidth];
  layout->height = words[kHeight];
  layout->ids.assign(words + kHeaderWords, words + kHeaderWords + words[kCount]);
  return true;
}

// Rewrites every visible pixel of an icon's colour bitmap; the mask stays.
// Null when the icon cannot be read.
template <class Recolor>
HICON RecolorIcon(HICON icon, Recolor recolor) {
  ICONINFO info = {};
  if (!icon || !::GetIconInfo(icon, &info)) return nullptr;
  HICON made = nullptr;
  BITMAP bm = {};
  if (info.hbmColor && ::GetObjectA(info.hbmColor, sizeof bm, &bm)) {
    BITMAPINFO bi = {};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = bm.bmWidth;
    bi.bmiHeader.biHeight = -bm.bmHeight;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    const size_t count = static_cast<size_t>(bm.bmWidth) * bm.bmHeight;
    std::vector<DWORD> color(count), mask(count);
    HDC screen = ::GetDC(nullptr);
    const bool read = ::GetDIBits(screen, info.hbmColor, 0, bm.bmHeight, color.data(), &bi, DIB_RGB_COLORS) &&
                      ::GetDIBits(screen, info.hbmMask, 0, bm.bmHeight, mask.data(), &bi, DIB_RGB_COLORS);
    if (read) {
      // A set mask pixel (white) means transparent.
      for (size_t i = 0; i < count; ++i)
        if ((mask[i] & 0xFFFFFF) == 0) color[i] = (color[i] & 0xFF000000) | recolor(color[i] & 0xFFFFFF);
      ::SetDIBits(screen, info.hbmColor, 0, bm.bmHeight, color.data(), &bi, DIB_RGB_COLORS);
      made = ::CreateIconIndirect(&info);
    }
    ::ReleaseDC(nullptr, screen);
  }
  if (info.hbmColor) ::DeleteObject(info.hbmColor);
  if (info.hbmMask) ::DeleteObject(info.hbmMask);
  return made;
}

// Pixels here are 0x00RRGGBB (DIB order).
DWORD Faded(DWORD pixel) {
  auto fade = [](DWORD c) { return static_cast<DWORD>(0.3 * 255 + 0.7 * c); };
  return fade(pixel >> 16 & 0xFF) << 16 | fade(pixel >> 8 & 0xFF) << 8 | fade(pixel & 0xFF);
}

DWORD AsDibPixel(COLORREF c) { return GetRValue(c) << 16 | GetGValue(c) << 8 | GetBValue(c); }

void DestroyImages(CXTCommandImage& record) {
  for (HICON icon : {record.image, record.faded, record.shadow, record.disabled})
    if (icon) ::DestroyIcon(icon);
  record = CXTCommandImage();
}

}  // namespace

CXTImageStore& GetImageStore() {
  static CXTImageStore store;
  return store;
}

BOOL CXTImageStore::AddToolBarResource(HINSTANCE module, LPCSTR name, Map map) {
  ToolBarLayout layout;
  if (!ReadToolBarLayout(module, name, &layout)) return FALSE;
  HBITMAP bitmap = static_cast<HBITMAP>(::LoadImageA(module, name, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
  if (!bitmap) return FALSE;
  HIMAGELIST images = ImageList_Create(layout.width, layout.height, ILC_COLOR32 | ILC_MASK,
                                       static_cast<int>(layout.ids.size()), kImageGrowBy);
  const bool filled = images && ImageList_AddMasked(images, bitmap, kToolBarMaskColor) >= 0;
  ::DeleteObject(bitmap);
  BOOL added = FALSE;
  int image = 0;
  for (WORD id : layout.ids) {
    if (!filled || id == 0) continue;
    if (image < ImageList_GetImageCount(images)) added |= AddImage(id, images, image, TRUE, map);
    ++image;
  }
  if (images) ImageList_Destroy(images);
  return added;
}

BOOL CXTImageStore::AddToolBarButtons(HWND toolBar) {
  HIMAGELIST images = reinterpret_cast<HIMAGELIST>(::SendMessageA(toolBar, TB_GETIMAGELIST, 0, 0));
  if (!images) return FALSE;
  const int count = static_cast<int>(::SendMessageA(toolBar, TB_BUTTONCOUNT, 0, 0));
  BOOL added = FALSE;
  for (int i = 0; i < count; ++i) {
    TBBUTTON button = {};
    if (!::SendMessageA(toolBar, TB_GETBUTTON, i, reinterpret_cast<LPARAM>(&button))) continue;
    if (button.iBitmap >= 0 && button.idCommand > 0)
      added |= AddImage(button.idCommand, images, button.iBitmap, TRUE, kToolBarMap);
  }
  return added;
}

BOOL CXTImageStore::AddIcon(UINT id, HICON icon, int cx, int cy) {
  HIMAGELIST images = ImageList_Create(cx, cy, ILC_COLOR32 | ILC_MASK, 1, 1);
  if (!images) return FALSE;
  const BOOL added = ImageList_AddIcon(images, icon) >= 0 && AddImage(id, images, 0, TRUE, kMenuMap);
  ImageList_Destroy(images);
  return added;
}

BOOL CXTImageStore::AddImage(UINT id, HIMAGELIST images, int index, BOOL create, Map map) {
  std::map<UINT, CXTCommandImage>& records = m_maps[map];
  auto it = records.find(id);
  if (!create) {
    if (it == records.end() || it->second.disabled) return FALSE;
    it->second.disabled = ImageList_GetIcon(images, index, ILD_NORMAL);
    return it->second.disabled != nullptr;
  }
  if (it != records.end()) return TRUE;
  CXTCommandImage record;
  record.image = ImageList_GetIcon(images, index, ILD_NORMAL);
  if (!record.image) return FALSE;
  const DWORD shadow = AsDibPixel(GetToolkitColor(kImageShadowColor));
  record.faded = RecolorIcon(record.image, Faded);
  record.shadow = RecolorIcon(record.image, [shadow](DWORD) { return shadow; });
  records[id] = record;
  return TRUE;
}

const CXTCommandImage* CXTImageStore::LookupForMenu(UINT id) const {
  auto it = m_maps[kMenuMap].find(id);
  return it != m_maps[kMenuMap].end() ? &it->second : LookupForToolBar(id);
}

const CXTCommandImage* CXTImageStore::LookupForToolBar(UINT id) const {
  auto it = m_maps[kToolBarMap].find(id);
  return it != m_maps[kToolBarMap].end() ? &it->second : nullptr;
}

void CXTImageStore::RemoveAll() {
  for (auto& records : m_maps) {
    for (auto& entry : records) DestroyImages(entry.second);
    records.clear();
  }
}
