#include "toolkit/paint/SysColorBitmap.h"

#include <string.h>

#include <vector>

namespace {

struct ColorMapping {
  COLORREF standard;
  int systemColor;
  COLORREF mono;
};
const ColorMapping kMappings[] = {
    {RGB(0x00, 0x00, 0x00), COLOR_BTNTEXT, RGB(0, 0, 0)},
    {RGB(0x80, 0x80, 0x80), COLOR_BTNSHADOW, RGB(255, 255, 255)},
    {RGB(0xC0, 0xC0, 0xC0), COLOR_BTNFACE, RGB(255, 255, 255)},
    {RGB(0xFF, 0xFF, 0xFF), COLOR_BTNHIGHLIGHT, RGB(255, 255, 255)},
};
const int kMappingCount = sizeof kMappings / sizeof kMappings[0];

COLORREF TargetOf(const ColorMapping& m, BOOL mono) { return mono ? m.mono : ::GetSysColor(m.systemColor); }

// The header, colour table and pixels of a packed DIB, each checked to lie
// inside the resource.
struct PackedDib {
  std::vector<BYTE> info;  // header and colour table, a copy we may change
  const void* bits = nullptr;
  int width = 0, height = 0, tableEntries = 0;
};

bool ReadPackedDib(const BYTE* data, DWORD size, PackedDib* dib) {
  BITMAPINFOHEADER header;
  if (!data || size < sizeof header) return false;
  memcpy(&header, data, sizeof header);
  const int bits = header.biBitCount;
  if (header.biSize < sizeof header || header.biSize > size || header.biCompression != BI_RGB || header.biPlanes != 1)
    return false;
  if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32) return false;
  if (header.biWidth <= 0 || header.biWidth > 0x8000 || header.biHeight == 0 || header.biHeight < -0x8000 ||
      header.biHeight > 0x8000)
    return false;
  const DWORD fullTable = bits <= 8 ? 1u << bits : 0;
  if (header.biClrUsed > fullTable) return false;
  dib->tableEntries = static_cast<int>(header.biClrUsed ? header.biClrUsed : fullTable);
  const DWORD infoSize = header.biSize + dib->tableEntries * sizeof(RGBQUAD);
  const int rows = header.biHeight < 0 ? -header.biHeight : header.biHeight;
  const DWORD stride = ((static_cast<DWORD>(header.biWidth) * bits + 31) / 32) * 4;
  if (infoSize > size || static_cast<unsigned long long>(stride) * rows > size - infoSize) return false;
  dib->info.assign(data, data + infoSize);
  dib->bits = data + infoSize;
  dib->width = header.biWidth;
  dib->height = rows;
  return true;
}

RGBQUAD* ColorTable(PackedDib& dib) {
  return reinterpret_cast<RGBQUAD*>(dib.info.data() + reinterpret_cast<BITMAPINFOHEADER*>(dib.info.data())->biSize);
}

void MapColorTable(PackedDib& dib, BOOL mono) {
  RGBQUAD* table = ColorTable(dib);
  for (int i = 0; i < dib.tableEntries; ++i) {
    const COLORREF c = RGB(table[i].rgbRed, table[i].rgbGreen, table[i].rgbBlue);
    for (const ColorMapping& m : kMappings) {
      if (c != m.standard) continue;
      const COLORREF target = TargetOf(m, mono);
      table[i].rgbRed = GetRValue(target);
      table[i].rgbGreen = GetGValue(target);
      table[i].rgbBlue = GetBValue(target);
      break;
    }
  }
}

// What each standard colour becomes on this screen, read back from pixels.
void DeviceColors(HDC screen, COLORREF device[kMappingCount]) {
  BITMAPINFO bi = {};
  bi.bmiHeader.biSize = sizeof bi.bmiHeader;
  bi.bmiHeader.biWidth = kMappingCount;
  bi.bmiHeader.biHeight = 1;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 24;
  void* bits = nullptr;
  HBITMAP row = ::CreateDIBSection(screen, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  HDC dc = ::CreateCompatibleDC(screen);
  HGDIOBJ old = ::SelectObject(dc, row);
  for (int i = 0; i < kMappingCount; ++i) ::SetPixel(dc, i, 0, kMappings[i].standard);
  for (int i = 0; i < kMappingCount; ++i) device[i] = ::GetPixel(dc, i, 0);
  ::SelectObject(dc, old);
  ::DeleteDC(dc);
  ::DeleteObject(row);
}

// Replaces each standard colour by its target in a drawn bitmap. Every mask
// is taken before anything is painted, so a colour painted early is never
// taken for a later standard colour.
void ReplaceDeviceColors(HDC screen, HDC target, int w, int h, const COLORREF device[kMappingCount], BOOL mono) {
  HBITMAP masks[kMappingCount] = {};
  HDC maskDC = ::CreateCompatibleDC(screen);
  for (int i = 0; i < kMappingCount; ++i) {
    if (device[i] == TargetOf(kMappings[i], mono)) continue;
    masks[i] = ::CreateBitmap(w, h, 1, 1, nullptr);
    HGDIOBJ old = ::SelectObject(maskDC, masks[i]);
    ::SetBkColor(target, device[i]);
    ::BitBlt(maskDC, 0, 0, w, h, target, 0, 0, SRCCOPY);  // pixels of that colour become 1
    ::SelectObject(maskDC, old);
  }
  for (int i = 0; i < kMappingCount; ++i) {
    if (!masks[i]) continue;
    HGDIOBJ old = ::SelectObject(maskDC, masks[i]);
    ::SetBkColor(target, RGB(0, 0, 0));  // mask 1: cleared
    ::SetTextColor(target, RGB(255, 255, 255));
    ::BitBlt(target, 0, 0, w, h, maskDC, 0, 0, SRCAND);
    ::SetBkColor(target, TargetOf(kMappings[i], mono));  // mask 1: the target colour
    ::SetTextColor(target, RGB(0, 0, 0));
    ::BitBlt(target, 0, 0, w, h, maskDC, 0, 0, SRCPAINT);
    ::SelectObject(maskDC, old);
    ::DeleteObject(masks[i]);
  }
  ::DeleteDC(maskDC);
}

}  // namespace

HBITMAP LoadSysColorBitmap(HINSTANCE module, HRSRC resource, BOOL mono) {
  HGLOBAL loaded = resource ? ::LoadResource(module, resource) : nullptr;
  const BYTE* data = loaded ? static_cast<const BYTE*>(::LockResource(loaded)) : nullptr;
  PackedDib dib;
  if (!ReadPackedDib(data, data ? ::SizeofResource(module, resource) : 0, &dib)) return nullptr;
  if (dib.tableEntries) MapColorTable(dib, mono);

  HDC screen = ::GetDC(nullptr);
  COLORREF device[kMappingCount];
  if (!dib.tableEntries) DeviceColors(screen, device);
  HBITMAP bitmap = ::CreateCompatibleBitmap(screen, dib.width, dib.height);
  HDC dc = bitmap ? ::CreateCompatibleDC(screen) : nullptr;
  if (dc) {
    HGDIOBJ old = ::SelectObject(dc, bitmap);
    const BITMAPINFO* info = reinterpret_cast<const BITMAPINFO*>(dib.info.data());
    const bool drawn = ::StretchDIBits(dc, 0, 0, dib.width, dib.height, 0, 0, dib.width, dib.height, dib.bits, info,
                                       DIB_RGB_COLORS, SRCCOPY) != 0;
    if (drawn && !dib.tableEntries) ReplaceDeviceColors(screen, dc, dib.width, dib.height, device, mono);
    ::SelectObject(dc, old);
    ::DeleteDC(dc);
    if (!drawn) {
      ::DeleteObject(bitmap);
      bitmap = nullptr;
    }
  } else if (bitmap) {
    ::DeleteObject(bitmap);
    bitmap = nullptr;
  }
  ::ReleaseDC(nullptr, screen);
  return bitmap;
}
