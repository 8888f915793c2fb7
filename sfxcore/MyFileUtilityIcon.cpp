#include "MyFileUtility.h"

#include <vector>


static BITMAPINFO Bitmap32(int width, int height) {
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  return info;
}

// Luma of the colour, the same in all three channels; black stays black.
static void GrayPixels(std::vector<RGBQUAD>& pixels) {
  for (RGBQUAD& p : pixels) {
    if (p.rgbRed == 0 && p.rgbGreen == 0 && p.rgbBlue == 0) continue;
    BYTE gray = static_cast<BYTE>(0.299 * p.rgbRed + 0.587 * p.rgbGreen + 0.114 * p.rgbBlue);
    p.rgbRed = p.rgbGreen = p.rgbBlue = gray;
  }
}

HICON CMyFileUtility::CreateGrayIcon(HWND window, HICON icon) {
  ICONINFO info;
  if (icon == nullptr || !GetIconInfo(icon, &info)) return nullptr;
  const int width = 2 * static_cast<int>(info.xHotspot), height = 2 * static_cast<int>(info.yHotspot);
  HICON gray = nullptr;
  HDC dc = GetDC(window);
  if (info.hbmColor && width > 0 && height > 0) {
    std::vector<RGBQUAD> pixels(static_cast<size_t>(width) * height);
    BITMAPINFO format = Bitmap32(width, height);
    if (GetDIBits(dc, info.hbmColor, 0, height, pixels.data(), &format, DIB_RGB_COLORS) == height) {
      GrayPixels(pixels);
      HBITMAP color = CreateCompatibleBitmap(dc, width, height);
      if (color && SetDIBits(dc, color, 0, height, pixels.data(), &format, DIB_RGB_COLORS) == height) {
        ICONINFO grayInfo = info;
        grayInfo.hbmColor = color;
        gray = CreateIconIndirect(&grayInfo);
      }
      if (color) DeleteObject(color);
    }
  }
  ReleaseDC(window, dc);
  if (info.hbmColor) DeleteObject(info.hbmColor);
  DeleteObject(info.hbmMask);
  return gray;
}
