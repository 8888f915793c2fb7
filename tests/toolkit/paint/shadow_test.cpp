// Drop shadows: strips fitted to touching strips, following a moved owner,
// recycled, and darkened copies of the screen read back; menu animation
// kinds under the system's settings.
#include <gtest/gtest.h>

#include "tests/support/dialog_robot.h"
#include "tests/support/dib_surface.h"
#include "toolkit/common/DrawHelpers.h"
#include "toolkit/common/SharedState.h"
#include "toolkit/paint/DropShadow.h"
#include "toolkit/paint/MenuAnimation.h"

namespace {

CRect WindowRectOf(HWND w) {
  CRect r;
  ::GetWindowRect(w, &r);
  return r;
}

const COLORREF kBackground = RGB(200, 180, 160);

// A popup that paints itself in kBackground.
HWND MakePopup(const RECT& r) {
  static ATOM atom = [] {
    WNDCLASSA wc = {};
    wc.lpfnWndProc = ::DefWindowProcA;
    wc.hbrBackground = ::CreateSolidBrush(kBackground);
    wc.lpszClassName = "ShadowTestPopup";
    return ::RegisterClassA(&wc);
  }();
  HWND w = ::CreateWindowExA(WS_EX_TOOLWINDOW, MAKEINTATOM(atom), "", WS_POPUP | WS_VISIBLE, r.left, r.top,
                             r.right - r.left, r.bottom - r.top, nullptr, nullptr, nullptr, nullptr);
  ::UpdateWindow(w);
  return w;
}

const RECT kNoExclusion = {0, 0, 0, 0};
typedef CXTDropShadowPool Pool;

}  // namespace

TEST(DropShadow, TouchingStripsAreFittedSoNoCornerIsDarkenedTwice) {
  struct Case {
    const char* what;
    Pool::Strip firstKind;
    RECT first;
    Pool::Strip secondKind;
    RECT second;
    RECT expected;  // the second strip as placed
  } cases[] = {
      {"bottom strip starting inside a right strip", Pool::kRightStrip, {100, 100, 200, 200}, Pool::kBottomStrip,
       {196, 150, 300, 198}, {204, 198, 304, 202}},
      {"right strip starting inside a bottom strip", Pool::kBottomStrip, {100, 100, 200, 200}, Pool::kRightStrip,
       {150, 196, 201, 300}, {201, 204, 205, 300}},
      {"strips apart", Pool::kRightStrip, {100, 100, 200, 200}, Pool::kBottomStrip, {400, 400, 500, 500},
       {404, 500, 504, 504}},
      {"strips of one kind never move each other", Pool::kBottomStrip, {100, 100, 200, 200}, Pool::kBottomStrip,
       {150, 100, 250, 200}, {154, 200, 254, 204}},
  };
  for (const Case& c : cases) {
    Pool pool(nullptr);
    pool.AttachShadow(c.firstKind, kNoExclusion, nullptr, &c.first);
    CXTDropShadowWnd* second = pool.AttachShadow(c.secondKind, kNoExclusion, nullptr, &c.second);
    ASSERT_TRUE(second) << c.what;
    EXPECT_EQ(second->GetPlacedRect(), CRect(c.expected)) << c.what;
    EXPECT_EQ(WindowRectOf(second->m_hWnd), CRect(c.expected)) << c.what;
  }
}

TEST(DropShadow, StripsFollowAMovedOwnerAndAreReused) {
  Pool pool;
  HWND owner = MakePopup({100, 100, 200, 180});
  pool.AttachShadowPair(owner, kNoExclusion);
  ASSERT_EQ(pool.LiveShadows().size(), 2u);
  CXTDropShadowWnd* bottom = pool.LiveShadows()[0];
  CXTDropShadowWnd* right = pool.LiveShadows()[1];
  const int t = bottom->GetThickness();
  EXPECT_EQ(bottom->GetPlacedRect(), CRect(100 + t, 180, 200 + t, 180 + t));
  EXPECT_EQ(right->GetPlacedRect(), CRect(200, 100 + t, 200 + t, 180));
  EXPECT_TRUE(::IsWindowVisible(bottom->m_hWnd));

  ::MoveWindow(owner, 300, 250, 100, 80, TRUE);
  EXPECT_TRUE(PumpUntil([&] { return WindowRectOf(bottom->m_hWnd) == CRect(300 + t, 330, 400 + t, 330 + t); }, 2000));
  EXPECT_TRUE(PumpUntil([&] { return WindowRectOf(right->m_hWnd) == CRect(400, 250 + t, 400 + t, 330); }, 2000));

  const HWND reusedWindows[] = {bottom->m_hWnd, right->m_hWnd};
  ::DestroyWindow(owner);  // its strips go back to the pool
  EXPECT_TRUE(pool.LiveShadows().empty());
  EXPECT_EQ(pool.FreeCount(), 2u);
  EXPECT_FALSE(::IsWindowVisible(bottom->m_hWnd));
  HWND next = MakePopup({10, 10, 50, 50});
  pool.AttachShadowPair(next, kNoExclusion);
  EXPECT_EQ(pool.FreeCount(), 0u);
  for (CXTDropShadowWnd* live : pool.LiveShadows())
    EXPECT_TRUE(live->m_hWnd == reusedWindows[0] || live->m_hWnd == reusedWindows[1]);
  ::DestroyWindow(next);
}

TEST(DropShadow, DrawnShadowDarkensTheScreenUnderIt) {
  HWND background = MakePopup({600, 600, 800, 800});
  Pool pool(nullptr);  // no layered windows: copy and darken
  GetSharedState().m_popupFlagB = FALSE;
  const RECT popup = {620, 620, 700, 700};
  CXTDropShadowWnd* strip = pool.AttachShadow(Pool::kBottomStrip, kNoExclusion, background, &popup);
  ASSERT_TRUE(strip);
  EXPECT_EQ(strip->GetMode(), CXTDropShadowWnd::kCopyAndDarken);
  ASSERT_TRUE(PumpUntil([&] { return ::IsWindowVisible(strip->m_hWnd) != FALSE; }, 2000));
  ::UpdateWindow(strip->m_hWnd);
  HDC screen = ::GetDC(nullptr);
  auto at = [&](int x, int y) { return ::GetPixel(screen, x, y); };
  auto minus = [&](int d) { return RGB(200 - d, 180 - d, 160 - d); };
  const int left = 624, top = 700;  // the strip's corner
  for (int row = 0; row < 4; ++row) EXPECT_EQ(at(left + 20, top + row), minus(60 - 15 * row)) << row;
  EXPECT_EQ(at(left, top + 3), minus(3));       // outer corner: 3 x 1 x 1
  EXPECT_EQ(at(left + 3, top), minus(48));      // inner corner: 3 x 4 x 4
  EXPECT_EQ(at(left + 20, top + 4), kBackground);  // below the strip
  ::ReleaseDC(nullptr, screen);
  ::DestroyWindow(background);
}

TEST(DropShadow, PlainStripsWhenDrawnShadowsAreOff) {
  Pool pool(nullptr);
  GetSharedState().m_popupFlagB = TRUE;
  const RECT popup = {10, 10, 60, 60};
  CXTDropShadowWnd* strip = pool.AttachShadow(Pool::kRightStrip, kNoExclusion, nullptr, &popup);
  ASSERT_TRUE(strip);
  EXPECT_EQ(strip->GetMode(), CXTDropShadowWnd::kPlain);
  EXPECT_EQ(strip->GetPlacedRect(), CRect(60, 12, 62, 60));
  GetSharedState().m_popupFlagB = FALSE;
}

TEST(DropShadow, ExclusionIsCutOutOfTheStrip) {
  Pool pool;
  const RECT popup = {100, 100, 200, 200}, title = {100, 200, 130, 210};
  CXTDropShadowWnd* strip = pool.AttachShadow(Pool::kBottomStrip, title, nullptr, &popup);
  ASSERT_TRUE(strip);
  HRGN region = ::CreateRectRgn(0, 0, 0, 0);
  ASSERT_EQ(::GetWindowRgn(strip->m_hWnd, region), SIMPLEREGION);
  RECT box;
  ::GetRgnBox(region, &box);
  EXPECT_EQ(CRect(box), CRect(26, 0, 100, 4));  // strip (104..204) less the title (..130)
  ::DeleteObject(region);
}

TEST(DrawHelpers, JoinLineFillsTheSharedEdgeShortenedAtBothEnds) {
  DibSurface s(20, 10, RGB(255, 255, 255));
  DrawJoinLine(&s.dc(), RGB(0, 0, 255), CRect(2, 0, 12, 5), CRect(0, 4, 20, 10));
  const COLORREF w = RGB(255, 255, 255), b = RGB(0, 0, 255);
  // The overlap is x 2..11 of row 4; one pixel off each end.
  EXPECT_EQ(s.run(1, 4, 1, 0, 12), (std::vector<COLORREF>{w, w, b, b, b, b, b, b, b, b, w, w}));
  EXPECT_EQ(s.at(5, 3), RGB(255, 255, 255));
}

namespace {

int g_animatedKind = -99;
void RecordKind(const RECT&, CDC*, CDC*, int kind, int, int) { g_animatedKind = kind; }

// Sets a system flag for this session only and puts it back.
class SystemFlagScope {
 public:
  SystemFlagScope(UINT get, UINT set, BOOL value) : m_set(set) {
    ::SystemParametersInfoA(get, 0, &m_old, 0);
    ::SystemParametersInfoA(set, 0, reinterpret_cast<void*>(static_cast<INT_PTR>(value)), 0);
  }
  ~SystemFlagScope() { ::SystemParametersInfoA(m_set, 0, reinterpret_cast<void*>(static_cast<INT_PTR>(m_old)), 0); }

 private:
  UINT m_set;
  BOOL m_old = FALSE;
};

}  // namespace

TEST(MenuAnimation, KindsFollowTheSystemSettingsAndChance) {
  DibSurface target(8, 8), source(8, 8);
  SetMenuAnimationHandler(RecordKind);
  struct {
    BOOL animation, fade;
    int kind, expected;
  } cases[] = {
      {FALSE, TRUE, kMenuAnimationSystem, -99},  // switched off: the menu appears at once
      {TRUE, TRUE, kMenuAnimationSystem, kMenuAnimationFade},
      {TRUE, FALSE, kMenuAnimationSystem, kMenuAnimationSlide},
      {TRUE, TRUE, kMenuAnimationUnfold, kMenuAnimationUnfold},
      {TRUE, TRUE, 9, -99},
  };
  for (const auto& c : cases) {
    SystemFlagScope animation(SPI_GETMENUANIMATION, SPI_SETMENUANIMATION, c.animation);
    SystemFlagScope fade(SPI_GETMENUFADE, SPI_SETMENUFADE, c.fade);
    g_animatedKind = -99;
    AnimateMenuWindow(CRect(0, 0, 8, 8), &target.dc(), &source.dc(), c.kind, 10, 0);
    EXPECT_EQ(g_animatedKind, c.expected) << c.animation << c.fade << c.kind;
  }
  bool seen[5] = {};
  for (int i = 0; i < 200; ++i) {
    AnimateMenuWindow(CRect(0, 0, 8, 8), &target.dc(), &source.dc(), kMenuAnimationRandom, 10, 0);
    seen[g_animatedKind] = true;
  }
  EXPECT_TRUE(seen[kMenuAnimationUnfold] && seen[kMenuAnimationSlide] && seen[kMenuAnimationFade]);
  SetMenuAnimationHandler(nullptr);
}

TEST(MenuAnimation, UnfoldAndSlideEndWithTheWholeImage) {
  for (int kind : {kMenuAnimationUnfold, kMenuAnimationSlide}) {
    DibSurface target(30, 20, RGB(255, 255, 255)), source(20, 10, RGB(0, 0, 0));
    source.dc().FillSolidRect(0, 9, 20, 1, RGB(255, 0, 0));  // the image's last line
    AnimateMenuWindow(CRect(5, 5, 25, 15), &target.dc(), &source.dc(), kind, 3, 0);
    EXPECT_EQ(target.at(5, 5), RGB(0, 0, 0)) << kind;
    EXPECT_EQ(target.at(24, 13), RGB(0, 0, 0)) << kind;
    EXPECT_EQ(target.at(24, 14), RGB(255, 0, 0)) << kind;
    EXPECT_EQ(target.at(25, 14), RGB(255, 255, 255)) << kind;
    EXPECT_EQ(target.at(4, 5), RGB(255, 255, 255)) << kind;
  }
}
