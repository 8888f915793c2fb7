#include "toolkit/paint/MenuAnimation.h"

#include <stdlib.h>

#include "toolkit/common/DibSection.h"

namespace {

XTMenuAnimationFn g_handler = nullptr;
int g_kind = kMenuAnimationSystem;
const BOOL* g_heldSystemAnimation = nullptr;

BOOL SystemFlag(UINT action) {
  BOOL value = FALSE;
  return ::SystemParametersInfoA(action, 0, &value, 0) && value;
}

void Unfold(const CRect& r, CDC* target, CDC* source, int steps, int duration) {
  for (int g = 1; g <= steps; ++g) {
    ::BitBlt(target->m_hDC, r.left, r.top, r.Width() * g / steps, r.Height() * g / steps, source->m_hDC, 0, 0, SRCCOPY);
    ::Sleep(duration / steps);
  }
}

// The band at the top shows the bottom lines of the image, as if it slid down.
void Slide(const CRect& r, CDC* target, CDC* source, int steps, int duration) {
  const int grow = r.Height() / steps + 1;
  for (int band = grow;; band += grow) {
    if (band > r.Height()) band = r.Height();
    ::BitBlt(target->m_hDC, r.left, r.top, r.Width(), band, source->m_hDC, 0, r.Height() - band, SRCCOPY);
    ::Sleep(duration / steps);
    if (band == r.Height()) return;
  }
}

void Fade(const CRect& r, CDC* target, CDC* source, int steps, int duration) {
  const int w = r.Width(), h = r.Height();
  CXTDibSection under(w, h), image(w, h), mixed(w, h);
  if (!under.IsValid() || !image.IsValid() || !mixed.IsValid()) return;
  ::BitBlt(under.GetDC(), 0, 0, w, h, target->m_hDC, r.left, r.top, SRCCOPY);
  ::BitBlt(image.GetDC(), 0, 0, w, h, source->m_hDC, 0, 0, SRCCOPY);
  const BYTE* back = reinterpret_cast<const BYTE*>(under.Pixels());
  const BYTE* front = reinterpret_cast<const BYTE*>(image.Pixels());
  const size_t bytes = mixed.PixelCount() * 4;
  for (int k = 1; k < steps; ++k) {
    const int a = 255 * k / steps;
    BYTE* out = reinterpret_cast<BYTE*>(mixed.Pixels());
    for (size_t i = 0; i < bytes; ++i) out[i] = static_cast<BYTE>((front[i] * a + back[i] * (255 - a)) / 256);
    ::BitBlt(target->m_hDC, r.left, r.top, w, h, mixed.GetDC(), 0, 0, SRCCOPY);
    ::Sleep(duration / 2 / steps);
  }
}

}  // namespace

void SetMenuAnimationHandler(XTMenuAnimationFn handler) { g_handler = handler; }
void HoldSystemMenuAnimation(const BOOL* saved) { g_heldSystemAnimation = saved; }
int GetMenuAnimationKind() { return g_kind; }
void SetMenuAnimationKind(int kind) { g_kind = kind; }

// The system's own settings are read through their own queries: the
// preference mask they live in is 8 bytes long, and a 4-byte read of it fails.
// While popups are open the system's animation is held off so that it never
// plays over ours; the setting saved then is the user's choice.
int ResolveMenuAnimation(int kind) {
  static const int kRandomKinds[] = {kMenuAnimationFade, kMenuAnimationSlide, kMenuAnimationUnfold};
  switch (kind) {
    case kMenuAnimationSystem:
      if (!(g_heldSystemAnimation ? *g_heldSystemAnimation : SystemFlag(SPI_GETMENUANIMATION)))
        return kMenuAnimationNone;
      return SystemFlag(SPI_GETMENUFADE) ? kMenuAnimationFade : kMenuAnimationSlide;
    case kMenuAnimationRandom:
      return kRandomKinds[rand() % 3];
    case kMenuAnimationUnfold:
    case kMenuAnimationSlide:
    case kMenuAnimationFade:
      return kind;
    default:
      return kMenuAnimationNone;
  }
}

void AnimateMenuWindow(const RECT& rect, CDC* target, CDC* source, int kind, int steps, int duration) {
  const int resolved = ResolveMenuAnimation(kind);
  const CRect r(rect);
  if (resolved == kMenuAnimationNone || steps <= 0 || r.IsRectEmpty()) return;
  if (g_handler) return g_handler(rect, target, source, resolved, steps, duration);
  if (resolved == kMenuAnimationUnfold) Unfold(r, target, source, steps, duration);
  if (resolved == kMenuAnimationSlide) Slide(r, target, source, steps, duration);
  if (resolved == kMenuAnimationFade) Fade(r, target, source, steps, duration);
}
