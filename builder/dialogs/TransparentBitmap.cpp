#include "TransparentBitmap.h"

#include "toolkit/common/ScreenScale.h"

namespace {

// A memory DC holding one bitmap, both released together.
struct MemoryBitmap {
  MemoryBitmap(HDC like, HBITMAP bitmap) : dc(CreateCompatibleDC(like)), old(SelectObject(dc, bitmap)) {}
  ~MemoryBitmap() {
    SelectObject(dc, old);
    DeleteDC(dc);
  }
  MemoryBitmap(const MemoryBitmap&) = delete;
  MemoryBitmap& operator=(const MemoryBitmap&) = delete;
  HDC dc;
  HGDIOBJ old;
};

struct OwnedBitmap {
  explicit OwnedBitmap(HBITMAP h) : handle(h) {}
  ~OwnedBitmap() { DeleteObject(handle); }
  OwnedBitmap(const OwnedBitmap&) = delete;
  OwnedBitmap& operator=(const OwnedBitmap&) = delete;
  HBITMAP handle;
};

}  // namespace

// The mask is white where the bitmap has the transparent colour: the target
// shows through there (target AND mask), the bitmap everywhere else (bitmap
// AND inverse mask), and the two are ORed together off-screen before one copy
// to the target. At a larger text size that copy is stretched smoothly to the
// scaled size, over the background taken down to the bitmap's own size, so
// the edges blend with what lies under them. The bitmap itself comes back
// unchanged.
void DrawTransparentBitmap(HDC target, HBITMAP bitmap, int x, int y, COLORREF transparent) {
  BITMAP info = {};
  if (bitmap == nullptr || GetObjectA(bitmap, sizeof info, &info) == 0) return;
  MemoryBitmap source(target, bitmap);
  POINT size = {info.bmWidth, info.bmHeight};
  DPtoLP(source.dc, &size, 1);
  const int w = size.x, h = size.y;
  const int shownWidth = ScaleToScreen(w), shownHeight = ScaleToScreen(h);

  OwnedBitmap maskBits(CreateBitmap(w, h, 1, 1, nullptr)), inverseBits(CreateBitmap(w, h, 1, 1, nullptr));
  OwnedBitmap workBits(CreateCompatibleBitmap(target, w, h)), saveBits(CreateCompatibleBitmap(target, w, h));
  MemoryBitmap mask(target, maskBits.handle), inverse(target, inverseBits.handle);
  MemoryBitmap work(target, workBits.handle), save(target, saveBits.handle);
  SetMapMode(source.dc, GetMapMode(target));

  BitBlt(save.dc, 0, 0, w, h, source.dc, 0, 0, SRCCOPY);
  const COLORREF oldBackground = SetBkColor(source.dc, transparent);
  BitBlt(mask.dc, 0, 0, w, h, source.dc, 0, 0, SRCCOPY);
  SetBkColor(source.dc, oldBackground);
  BitBlt(inverse.dc, 0, 0, w, h, mask.dc, 0, 0, NOTSRCCOPY);

  SetStretchBltMode(work.dc, COLORONCOLOR);
  StretchBlt(work.dc, 0, 0, w, h, target, x, y, shownWidth, shownHeight, SRCCOPY);
  BitBlt(work.dc, 0, 0, w, h, mask.dc, 0, 0, SRCAND);
  BitBlt(source.dc, 0, 0, w, h, inverse.dc, 0, 0, SRCAND);
  BitBlt(work.dc, 0, 0, w, h, source.dc, 0, 0, SRCPAINT);
  const int oldMode = SetStretchBltMode(target, HALFTONE);
  SetBrushOrgEx(target, 0, 0, nullptr);
  StretchBlt(target, x, y, shownWidth, shownHeight, work.dc, 0, 0, w, h, SRCCOPY);
  SetStretchBltMode(target, oldMode);

  BitBlt(source.dc, 0, 0, w, h, save.dc, 0, 0, SRCCOPY);
}
