#include "toolkit/common/ScreenScale.h"

namespace {

constexpr int kStandardDpi = 96;

}  // namespace

int ScreenDpi() {
  HDC screen = ::GetDC(nullptr);
  const int dpi = ::GetDeviceCaps(screen, LOGPIXELSY);
  ::ReleaseDC(nullptr, screen);
  return dpi > 0 ? dpi : kStandardDpi;
}

int ScaleToScreen(int length) { return ::MulDiv(length, ScreenDpi(), kStandardDpi); }

RECT ScaleToScreen(const RECT& rect) {
  return {ScaleToScreen(rect.left), ScaleToScreen(rect.top), ScaleToScreen(rect.right), ScaleToScreen(rect.bottom)};
}
