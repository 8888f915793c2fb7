#include "toolkit/paint/DropShadow.h"

#include <algorithm>

#include "classlib/winapp.h"
#include "toolkit/common/DibSection.h"
#include "toolkit/common/ProcBinding.h"
#include "toolkit/common/SharedState.h"
#include "toolkit/common/WndHook.h"

namespace {

const int kShadedThickness = 4;  // layered and darkened strips
const int kPlainThickness = 2;
const int kLineShades[kShadedThickness] = {60, 45, 30, 15};  // from the popup outwards
const UINT_PTR kShowTimer = 1;
const UINT kShowDelay = 1;

CRect OwnerRect(HWND owner) {
  CRect r;
  ::GetWindowRect(owner, &r);
  return r;
}

CRect StripRect(CXTDropShadowPool::Strip strip, const CRect& r, int t) {
  if (r.IsRectEmpty()) return CRect(0, 0, 0, 0);
  if (strip == CXTDropShadowPool::kBottomStrip) return CRect(r.left + t, r.bottom, r.right + t, r.bottom + t);
  return CRect(r.right, r.top + t, r.right + t, r.bottom);
}

bool RangesOverlap(int a0, int a1, int b0, int b1) { return a0 < b1 && b0 < a1; }

}  // namespace

int ShadowShade(CXTDropShadowPool::Strip strip, int x, int y, int width, int height) {
  const int corner = kShadedThickness;
  if (strip == CXTDropShadowPool::kBottomStrip) {
    const int j = corner - y;  // rows count from the outer (lower) edge
    if (x < corner) return 3 * (x + 1) * j;
    if (x >= width - corner) return 3 * (width - x) * j;
    return kLineShades[y];
  }
  const int i = corner - x;  // columns count from the outer (right) edge
  if (y < corner) return 3 * i * (y + 1);
  return kLineShades[x];
}

// ---- the hook that keeps a strip beside its owner

class CXTDropShadowWnd::OwnerHook : public CXTWndHook {
 public:
  explicit OwnerHook(CXTDropShadowWnd& shadow) : m_shadow(shadow) {}
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    const LRESULT result = Default(message, wParam, lParam);
    if (message == WM_DESTROY) {
      m_shadow.m_pool.ReleaseShadow(&m_shadow);  // deletes this hook: touch nothing after
    } else if (message == WM_WINDOWPOSCHANGED) {
      const WINDOWPOS* pos = reinterpret_cast<const WINDOWPOS*>(lParam);
      if ((pos->flags & (SWP_NOMOVE | SWP_NOSIZE)) != (SWP_NOMOVE | SWP_NOSIZE))
        ::PostMessageA(m_shadow.m_hWnd, XTWM_SHADOW_REPOSITION, 0, 0);
    }
    return result;
  }

 private:
  CXTDropShadowWnd& m_shadow;
};

// ---- pool

CXTDropShadowPool::CXTDropShadowPool() {
  m_user32 = ::LoadLibraryA("user32.dll");
  m_updateLayered = BindProc<UpdateLayeredWindowFn>(m_user32, "UpdateLayeredWindow");
}

CXTDropShadowPool::CXTDropShadowPool(UpdateLayeredWindowFn updateLayered) : m_updateLayered(updateLayered) {}

CXTDropShadowPool::~CXTDropShadowPool() {
  while (!m_live.empty()) ReleaseShadow(m_live.back());
  for (CXTDropShadowWnd* shadow : m_free) {
    shadow->DestroyWindow();
    delete shadow;
  }
  if (m_user32) ::FreeLibrary(m_user32);
}

CXTDropShadowPool& GetShadowPool() {
  static CXTDropShadowPool pool;
  return pool;
}

CXTDropShadowWnd* CXTDropShadowPool::AttachShadow(Strip strip, const RECT& exclusion, HWND owner, const RECT* fixed) {
  CXTDropShadowWnd* shadow = nullptr;
  if (!m_free.empty()) {
    shadow = m_free.back();
    m_free.pop_back();
  } else {
    shadow = new CXTDropShadowWnd(*this);
    if (!shadow->CreateStrip()) {
      delete shadow;
      return nullptr;
    }
  }
  shadow->Attach(strip, exclusion, owner, fixed);
  m_live.push_back(shadow);
  shadow->ShowStrip();
  return shadow;
}

void CXTDropShadowPool::AttachShadowPair(HWND owner, const RECT& exclusion) {
  AttachShadow(kBottomStrip, exclusion, owner);
  AttachShadow(kRightStrip, exclusion, owner);
}

void CXTDropShadowPool::AttachShadowPairRect(const RECT& rect, HWND owner, const RECT& exclusion) {
  AttachShadow(kBottomStrip, exclusion, owner, &rect);
  AttachShadow(kRightStrip, exclusion, owner, &rect);
}

void CXTDropShadowPool::ReleaseShadow(CXTDropShadowWnd* shadow) {
  auto it = std::find(m_live.begin(), m_live.end(), shadow);
  if (it == m_live.end()) return;
  m_live.erase(it);
  shadow->Release();
  m_free.push_back(shadow);
}

void CXTDropShadowPool::FitToTouchingStrips(const CXTDropShadowWnd* shadow, RECT* rect) const {
  for (const CXTDropShadowWnd* other : m_live) {
    if (other == shadow || other->GetStrip() == shadow->GetStrip()) continue;
    const CRect o = other->GetPlacedRect();
    if (!RangesOverlap(rect->left, rect->right, o.left, o.right) ||
        !RangesOverlap(rect->top, rect->bottom, o.top, o.bottom))
      continue;
    // The strip gives way where it starts inside the other; it keeps its far end.
    if (shadow->GetStrip() == kBottomStrip && rect->left >= o.left)
      rect->left = std::min<LONG>(o.right, rect->right);
    else if (shadow->GetStrip() == kRightStrip && rect->top >= o.top)
      rect->top = std::min<LONG>(o.bottom, rect->bottom);
  }
}

// ---- strip window

BEGIN_MESSAGE_MAP(CXTDropShadowWnd, CWnd)
  ON_MESSAGE(XTWM_SHADOW_REPOSITION, OnReposition)
  ON_WM_TIMER()
  ON_WM_PAINT()
  ON_WM_ERASEBKGND()
  ON_WM_NCHITTEST()
END_MESSAGE_MAP()

CXTDropShadowWnd::~CXTDropShadowWnd() {
  delete m_ownerHook;
  DropCache();
}

BOOL CXTDropShadowWnd::CreateStrip() {
  const LPCSTR cls = AfxRegisterWndClass(0, ::LoadCursorA(nullptr, IDC_ARROW));
  const DWORD exStyle = WS_EX_TOOLWINDOW | (m_pool.GetUpdateLayered() ? WS_EX_LAYERED : 0);
  CWnd* main = AfxGetMainWnd();
  return CreateEx(exStyle, cls, "", WS_POPUP, 0, 0, 0, 0, main ? main->m_hWnd : nullptr, nullptr);
}

void CXTDropShadowWnd::Attach(CXTDropShadowPool::Strip strip, const RECT& exclusion, HWND owner, const RECT* fixed) {
  m_strip = strip;
  m_exclusion = exclusion;
  m_owner = owner;
  m_follow = fixed == nullptr;
  m_fixed = fixed ? CRect(*fixed) : CRect(0, 0, 0, 0);
  // Drawn shadows may be switched off (popup flag B): then a plain band.
  m_mode = m_pool.GetUpdateLayered() ? kLayered : (GetSharedState().m_popupFlagB ? kPlain : kCopyAndDarken);
  m_thickness = m_mode == kPlain ? kPlainThickness : kShadedThickness;
  if (owner) {
    m_ownerHook = new OwnerHook(*this);
    m_ownerHook->HookWindow(owner);
  }
  Place(ComputeRect());
}

CRect CXTDropShadowWnd::ComputeRect() const {
  return StripRect(m_strip, m_follow && m_owner ? OwnerRect(m_owner) : m_fixed, m_thickness);
}

void CXTDropShadowWnd::Place(const CRect& rect) {
  CRect fitted = rect;
  m_pool.FitToTouchingStrips(this, &fitted);
  m_placed = fitted;
  ::SetWindowPos(m_hWnd, nullptr, fitted.left, fitted.top, fitted.Width(), fitted.Height(),
                 SWP_NOZORDER | SWP_NOACTIVATE);
  CutExclusion();
  if (m_mode == kLayered) ApplyLayeredImage();
}

void CXTDropShadowWnd::CutExclusion() {
  CRect excluded;
  if (!excluded.IntersectRect(&m_placed, &m_exclusion)) {
    ::SetWindowRgn(m_hWnd, nullptr, TRUE);
    return;
  }
  excluded.OffsetRect(-m_placed.left, -m_placed.top);
  HRGN all = ::CreateRectRgn(0, 0, m_placed.Width(), m_placed.Height());
  HRGN cut = ::CreateRectRgnIndirect(&excluded);
  ::CombineRgn(all, all, cut, RGN_DIFF);
  ::DeleteObject(cut);
  ::SetWindowRgn(m_hWnd, all, TRUE);  // the window owns the region now
}

void CXTDropShadowWnd::ShowStrip() {
  if (m_mode == kCopyAndDarken) {
    // The screen behind must be repainted before it is copied.
    DropCache();
    ::InvalidateRect(nullptr, nullptr, TRUE);
    SetTimer(kShowTimer, kShowDelay);
    return;
  }
  ::SetWindowPos(m_hWnd, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
}

void CXTDropShadowWnd::OnTimer(UINT_PTR id) {
  if (id != kShowTimer) return;
  KillTimer(kShowTimer);
  CaptureDarkened();
  ::SetWindowPos(m_hWnd, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
}

void CXTDropShadowWnd::Release() {
  delete m_ownerHook;
  m_ownerHook = nullptr;
  KillTimer(kShowTimer);
  DropCache();
  m_owner = nullptr;
  m_follow = false;
  m_fixed.SetRectEmpty();
  ShowWindow(SW_HIDE);
}

LRESULT CXTDropShadowWnd::OnReposition(WPARAM, LPARAM) {
  if (!m_follow) {
    Place(m_placed);
    return 0;
  }
  const CRect wanted = ComputeRect();
  CRect fitted = wanted;
  m_pool.FitToTouchingStrips(this, &fitted);
  if (fitted == m_placed) return 0;
  if (m_mode == kCopyAndDarken) ShowWindow(SW_HIDE);
  Place(wanted);
  if (m_mode == kCopyAndDarken) ShowStrip();
  return 0;
}

// Copies what the screen shows under the strip and darkens it as the
// layered alpha would.
void CXTDropShadowWnd::CaptureDarkened() {
  const int w = m_placed.Width(), h = m_placed.Height();
  m_cache.reset(new CXTDibSection(w, h));
  if (!m_cache->IsValid()) return DropCache();
  HDC screen = ::GetDC(nullptr);
  ::BitBlt(m_cache->GetDC(), 0, 0, w, h, screen, m_placed.left, m_placed.top, SRCCOPY);
  ::ReleaseDC(nullptr, screen);
  DWORD* pixel = m_cache->Pixels();
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x, ++pixel) {
      const int shade = ShadowShade(m_strip, x, y, w, h);
      auto darken = [shade](DWORD c) { return static_cast<DWORD>(std::max<int>(0, static_cast<int>(c) - shade)); };
      *pixel = darken(*pixel >> 16 & 0xFF) << 16 | darken(*pixel >> 8 & 0xFF) << 8 | darken(*pixel & 0xFF);
    }
}

void CXTDropShadowWnd::DropCache() { m_cache.reset(); }

void CXTDropShadowWnd::OnPaint() {
  CPaintDC dc(this);
  if (m_mode == kCopyAndDarken && m_cache)
    ::BitBlt(dc.m_hDC, 0, 0, m_placed.Width(), m_placed.Height(), m_cache->GetDC(), 0, 0, SRCCOPY);
  else if (m_mode != kLayered)
    dc.FillSolidRect(0, 0, m_placed.Width(), m_placed.Height(), ::GetSysColor(COLOR_3DSHADOW));
}

// A black image whose alpha is the shade: premultiplied, so colour stays 0.
// The excluded part is clear in the image too: a system may show a layered
// window whole, whatever its region.
void CXTDropShadowWnd::ApplyLayeredImage() {
  CXTDibSection image(m_placed.Width(), m_placed.Height());
  if (!image.IsValid()) return;
  CRect excluded;
  if (excluded.IntersectRect(&m_placed, &m_exclusion)) excluded.OffsetRect(-m_placed.left, -m_placed.top);
  DWORD* pixel = image.Pixels();
  for (int y = 0; y < image.Height(); ++y)
    for (int x = 0; x < image.Width(); ++x) {
      const bool clear = excluded.PtInRect(CPoint(x, y)) != FALSE;
      *pixel++ = clear ? 0 : static_cast<DWORD>(ShadowShade(m_strip, x, y, image.Width(), image.Height())) << 24;
    }
  HDC screen = ::GetDC(nullptr);
  POINT at = {m_placed.left, m_placed.top}, origin = {0, 0};
  SIZE size = {image.Width(), image.Height()};
  BLENDFUNCTION blend = {AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
  m_pool.GetUpdateLayered()(m_hWnd, screen, &at, &size, image.GetDC(), &origin, 0, &blend, ULW_ALPHA);
  ::ReleaseDC(nullptr, screen);
}
