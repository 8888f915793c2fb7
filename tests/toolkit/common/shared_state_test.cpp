// The shared state under injected system answers: colour tables (checked
// against an independent re-implementation by check_color_tables.py), the
// common-controls check, colour arithmetic and the small shared helpers.
#include <gtest/gtest.h>

#include <stdio.h>

#include "tests/support/dib_surface.h"
#include "toolkit/common/DrawHelpers.h"
#include "toolkit/common/IconHandle.h"
#include "toolkit/common/MemDC.h"
#include "toolkit/common/MenuHelpers.h"
#include "toolkit/common/OwnedPtr.h"
#include "classlib/module.h"
#include "toolkit/common/SharedState.h"

namespace {

// What the injected probe answers; each test sets what it needs.
struct FakeSystem {
  COLORREF colors[kSystemColorCount] = {};
  int bitsPerPixel = 32;
  int comCtlVersion = 0x60000;
  OSVERSIONINFOA os = {sizeof(OSVERSIONINFOA), 10, 0, 19041, VER_PLATFORM_WIN32_NT, ""};
  int errorBoxes = 0;
  CString errorCaption, errorText;
};
FakeSystem g_fake;

const CXTSystemProbe kFakeProbe = {
    [](int index) { return g_fake.colors[index]; },
    [] { return g_fake.bitsPerPixel; },
    [] { return g_fake.comCtlVersion; },
    []() -> const OSVERSIONINFOA& { return g_fake.os; },
    [](LPCSTR caption, LPCSTR text) {
      ++g_fake.errorBoxes;
      g_fake.errorCaption = caption;
      g_fake.errorText = text;
    },
};

// Two schemes: the classic grey one and a dark one with a coloured selection.
const COLORREF kClassic[kSystemColorCount] = {
    0,        0xC8D0D4, 0x6A240A, 0x808080, 0xC8D0D4, 0xFFFFFF, 0x000000, 0x000000, 0x000000, 0xFFFFFF,
    0xC8D0D4, 0xC8D0D4, 0x808080, 0x6A240A, 0xFFFFFF, 0xC8D0D4, 0x808080, 0x808080, 0x000000, 0xC8D0D4,
    0xFFFFFF, 0x404040, 0xC8D0D4, 0x000000, 0xE1FFFF, 0,        0x800000, 0xF0CAA6, 0xC0C0C0};
const COLORREF kDark[kSystemColorCount] = {
    0,        0x202020, 0x603010, 0x303030, 0x2A2A2A, 0x101010, 0x505050, 0xE0E0E0, 0xF0F0F0, 0xFFFFFF,
    0x404040, 0x404040, 0x303030, 0x00A0FF, 0x000000, 0x303030, 0x1A1A1A, 0x707070, 0xEEEEEE, 0xA0A0A0,
    0x505050, 0x000000, 0x383838, 0xF0F0F0, 0x202020, 0,        0x00FFFF, 0x804020, 0x404040};

void UseScheme(const COLORREF* scheme, int bits) {
  for (int i = 0; i < kSystemColorCount; ++i) g_fake.colors[i] = scheme[i];
  g_fake.bitsPerPixel = bits;
}

bool TakeQuit() {
  MSG msg;
  return ::PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE) != 0;
}

}  // namespace

// The table under three displays goes to the scratch folder; the Python
// check recomputes each from its inputs.
TEST(ColorTable, WrittenForTheIndependentCheck) {
  struct Case {
    const char* name;
    const COLORREF* scheme;
    int bits;
  } cases[] = {{"classic", kClassic, 32}, {"dark", kDark, 32}, {"classic-palette", kClassic, 8}};
  FILE* out = fopen(BRENNICOR_TEST_WORK "/toolkit_color_tables.txt", "w");
  ASSERT_TRUE(out);
  for (const Case& c : cases) {
    UseScheme(c.scheme, c.bits);
    CXTSharedState state(kFakeProbe);
    fprintf(out, "%s %d", c.name, c.bits);
    for (int i = 1; i < kSystemColorCount; ++i) fprintf(out, " %06lX", static_cast<unsigned long>(c.scheme[i]));
    fprintf(out, " |");
    for (int i = 0; i < kToolkitColorCount; ++i) fprintf(out, " %06lX", static_cast<unsigned long>(GetToolkitColor(i)));
    fprintf(out, "\n");
  }
  fclose(out);
}

TEST(ColorTable, PaletteDisplayKeepsTheDefaults) {
  UseScheme(kClassic, 8);
  CXTSharedState state(kFakeProbe);
  EXPECT_EQ(GetToolkitColor(30), kClassic[COLOR_BTNFACE]);
  EXPECT_EQ(GetToolkitColor(34), 0u);
  EXPECT_EQ(GetToolkitColor(47), kClassic[COLOR_HIGHLIGHTTEXT]);
  EXPECT_EQ(GetToolkitColor(29), 0u);
  EXPECT_EQ(state.m_toolkitColors[0], GetToolkitColor(30));
  EXPECT_EQ(state.m_clrLightFace, xtcolor::LightenColor(kClassic[COLOR_BTNFACE], 15));
}

TEST(ColorTable, RefreshFollowsChangedSystemColours) {
  UseScheme(kClassic, 32);
  CXTSharedState state(kFakeProbe);
  const COLORREF classicSelection = GetToolkitColor(32);
  UseScheme(kDark, 32);
  state.RefreshToolkitColors();
  EXPECT_EQ(state.m_clrFace, kDark[COLOR_BTNFACE]);
  EXPECT_NE(GetToolkitColor(32), classicSelection);
  EXPECT_EQ(state.m_toolkitColors[2], GetToolkitColor(32));
}

TEST(SharedState, ComCtlVersionFrom472OnPassesAndBelowQuits) {
  UseScheme(kClassic, 32);
  struct {
    int version;
    bool refused;
  } cases[] = {{0x40048, false}, {0x60000, false}, {0x40047, true}, {-1, true}};
  for (const auto& c : cases) {
    g_fake.comCtlVersion = c.version;
    g_fake.errorBoxes = 0;
    TakeQuit();
    CXTSharedState state(kFakeProbe);
    EXPECT_EQ(state.m_comCtlVersion, c.version);
    EXPECT_EQ(g_fake.errorBoxes, c.refused ? 1 : 0) << std::hex << c.version;
    EXPECT_EQ(TakeQuit(), c.refused) << std::hex << c.version;
    EXPECT_EQ(state.m_cyMenu, ::GetSystemMetrics(SM_CYMENU));  // construction went on to the end
  }
  EXPECT_STREQ(g_fake.errorCaption, "Quarrytide Software\xAE - Wrong Version Comctl32.dll");
  EXPECT_NE(g_fake.errorText.Find("requires Comctl32.dll version 4.72 or higher.\nPlease contact"), -1);
  g_fake.comCtlVersion = 0x60000;
}

TEST(SharedState, OperatingSystemFlagsAndMenuItemInfoSize) {
  struct {
    DWORD platform, major, minor;
    BOOL CXTSharedState::*flag;
  } cases[] = {
      {VER_PLATFORM_WIN32_WINDOWS, 4, 0, &CXTSharedState::m_isWin95},
      {VER_PLATFORM_WIN32_WINDOWS, 4, 10, &CXTSharedState::m_isWin98},
      {VER_PLATFORM_WIN32_NT, 4, 0, &CXTSharedState::m_isNT4},
      {VER_PLATFORM_WIN32_NT, 5, 0, &CXTSharedState::m_isWin2000},
      {VER_PLATFORM_WIN32_NT, 5, 1, &CXTSharedState::m_isWinXP},
  };
  BOOL CXTSharedState::*all[] = {&CXTSharedState::m_isWin95, &CXTSharedState::m_isWin98, &CXTSharedState::m_isNT4,
                                 &CXTSharedState::m_isWin2000, &CXTSharedState::m_isWinXP};
  for (const auto& c : cases) {
    g_fake.os.dwPlatformId = c.platform;
    g_fake.os.dwMajorVersion = c.major;
    g_fake.os.dwMinorVersion = c.minor;
    CXTSharedState state(kFakeProbe);
    for (auto flag : all) EXPECT_EQ(state.*flag, flag == c.flag) << c.major << "." << c.minor;
  }
  g_fake.os.dwMajorVersion = 10;
  g_fake.os.dwMinorVersion = 0;

  MENUITEMINFOA info;
  memset(&info, 0xCC, sizeof info);
  InitMenuItemInfo(&info);
  EXPECT_EQ(info.cbSize, sizeof info);
  EXPECT_EQ(info.fMask, 0u);
  EXPECT_EQ(info.hbmpItem, nullptr);
}

TEST(SharedState, TheRealOneStartsWithItsDefaults) {
  CXTSharedState& state = GetSharedState();
  EXPECT_EQ(&state, &GetSharedState());
  EXPECT_FALSE(state.m_xpLook);
  EXPECT_GE(state.m_comCtlVersion, CXTSharedState::kLowestComCtlVersion);
  const BOOL flags[] = {TRUE, TRUE, TRUE, TRUE, TRUE, TRUE, TRUE, FALSE};
  for (int i = 0; i < CXTSharedState::kCustomizeFlagCount; ++i) EXPECT_EQ(state.m_customizeFlags[i], flags[i]);
  EXPECT_TRUE(state.m_iniFileName.IsEmpty());
  for (HCURSOR cursor : state.m_cursors) EXPECT_NE(cursor, nullptr);  // the toolkit's own come from its resources
  EXPECT_EQ(state.m_cursors[CXTSharedState::kCursorSizeAll], ::LoadCursorA(nullptr, IDC_SIZEALL));
  // A face that is not installed was replaced by the menu font's.
  NONCLIENTMETRICSA metrics = {};
  metrics.cbSize = sizeof metrics;
  ASSERT_TRUE(::SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0));
  EXPECT_STREQ(state.m_horzFaceName, IsFontInstalled("Tahoma") ? "Tahoma" : metrics.lfMenuFont.lfFaceName);
  EXPECT_STREQ(state.m_vertFaceName, IsFontInstalled("Arial") ? "Arial" : metrics.lfMenuFont.lfFaceName);
  LOGFONTA lf;
  ASSERT_TRUE(state.GetFont(CXTSharedState::kFontVerticalDownBold).GetLogFont(&lf));
  EXPECT_EQ(lf.lfWeight, FW_BOLD);
  EXPECT_EQ(lf.lfEscapement, 2700);
  EXPECT_EQ(lf.lfOrientation, 2700);
  ASSERT_TRUE(state.GetFont(CXTSharedState::kFontUnderline).GetLogFont(&lf));
  EXPECT_TRUE(lf.lfUnderline);
  EXPECT_FALSE(IsFontInstalled("No Such Face Brennicor"));
}

TEST(ColorMath, BlendLightenAndClamp) {
  using namespace xtcolor;
  EXPECT_EQ(LightenColor(0xFFFFFF, 15), 0xFFFFFFu);
  EXPECT_EQ(LightenColor(RGB(250, 10, 0), 15), static_cast<Color>(RGB(255, 25, 15)));
  EXPECT_EQ(LightenColor(RGB(1, 2, 3), 400), 0xFFFFFFu);  // n clamped to 255
  // 100 is per mille (10 %), 99 still per cent.
  EXPECT_EQ(BlendColors(RGB(200, 0, 0), RGB(0, 0, 100), 100), static_cast<Color>(RGB(20, 0, 90)));
  EXPECT_EQ(BlendColors(RGB(200, 0, 0), RGB(0, 0, 100), 99), static_cast<Color>(RGB(198, 0, 1)));
  EXPECT_EQ(ClampRGB(-5, 300, 7), static_cast<Color>(RGB(0, 255, 7)));
}

// RGB/HLS pairs go to the Python check, which compares them with colorsys.
TEST(ColorMath, HlsConversionsWrittenForTheIndependentCheck) {
  FILE* out = fopen(BRENNICOR_TEST_WORK "/toolkit_hls.txt", "w");
  ASSERT_TRUE(out);
  for (unsigned c = 0; c < 0x1000000; c += 0x0F1E2D) {
    double h, s, l;
    xtcolor::RGBtoHLS(c, &h, &s, &l);
    fprintf(out, "rgb %06X %.12f %.12f %.12f\n", c, h, l, s);
  }
  for (int hi = 0; hi <= 12; ++hi)
    for (int li = 0; li <= 8; ++li)
      for (int si = 0; si <= 4; ++si) {
        const double h = hi / 12.0, l = li / 8.0, s = si / 4.0;
        fprintf(out, "hls %.17g %.17g %.17g %06X\n", h, l, s, xtcolor::HLStoRGB(h, s, l));
      }
  fclose(out);
}

TEST(MenuText, StripMnemonicsKeepsDoubledAmpersands) {
  struct {
    const char* in;
    const char* out;
  } cases[] = {
      {"&File", "File"},          {"Save && Exit", "Save && Exit"}, {"A&&B&C", "A&&BC"},
      {"^^ stays ^^", "^^ stays ^^"},  // a text's own carets are never turned into ampersands
      {"&&&x", "&&x"},            {"end&", "end"},                  {"", ""},
  };
  for (const auto& c : cases) {
    CString text(c.in);
    StripMnemonics(text);
    EXPECT_STREQ(text, c.out) << c.in;
  }
  CString text("a-b-c");
  RemoveChar(text, '-');
  EXPECT_STREQ(text, "abc");
}

TEST(MemDC, CopiesItsDrawingToTheTargetRectangle) {
  BITMAPINFO bmi = {};
  bmi.bmiHeader.biSize = sizeof bmi.bmiHeader;
  bmi.bmiHeader.biWidth = 8;
  bmi.bmiHeader.biHeight = -8;
  bmi.bmiHeader.biPlanes = 1;
  bmi.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  HBITMAP surface = ::CreateDIBSection(nullptr, &bmi, DIB_RGB_COLORS, &bits, nullptr, 0);
  CDC target;
  target.CreateCompatibleDC(nullptr);
  HGDIOBJ old = ::SelectObject(target.m_hDC, surface);
  target.FillSolidRect(0, 0, 8, 8, RGB(255, 255, 255));
  {
    CRect area(2, 3, 6, 7);
    CXTMemDC mem(&target, &area, RGB(0, 0, 255));
    ASSERT_TRUE(mem.IsValid());
    mem.FillSolidRect(2, 3, 1, 1, RGB(255, 0, 0));  // drawn in the target's coordinates
    EXPECT_EQ(target.GetPixel(3, 4), RGB(255, 255, 255));  // nothing shows before the copy
  }
  EXPECT_EQ(target.GetPixel(2, 3), RGB(255, 0, 0));
  EXPECT_EQ(target.GetPixel(5, 6), RGB(0, 0, 255));
  EXPECT_EQ(target.GetPixel(6, 6), RGB(255, 255, 255));
  EXPECT_EQ(target.GetPixel(1, 3), RGB(255, 255, 255));
  ::SelectObject(target.m_hDC, old);
  ::DeleteObject(surface);
}

TEST(IconHandle, ExtentAndScalingThatKeepsTheAspect) {
  std::vector<BYTE> mask(4 * 16, 0), color(32 * 16 * 4, 0x80);
  CXTIconHandle icon(::CreateIcon(nullptr, 32, 16, 1, 32, mask.data(), color.data()));
  EXPECT_EQ(icon.GetExtent(), CSize(32, 16));
  EXPECT_EQ(CXTIconHandle().GetExtent(), CSize(0, 0));
  struct {
    int cx, cy;
    CSize fitted;
  } cases[] = {{16, 16, CSize(16, 8)}, {64, 8, CSize(16, 8)}, {10, 5, CSize(10, 5)}};
  for (const auto& c : cases) {
    CXTIconHandle scaled(icon.ScaleToFit(c.cx, c.cy));
    EXPECT_EQ(scaled.GetExtent(), c.fitted) << c.cx << "x" << c.cy;
  }
  EXPECT_EQ(icon.ScaleToFit(0, 0), nullptr);
}

TEST(DrawHelpers, HalftoneIsACheckerOfFaceAndHighlight) {
  DibSurface s(8, 4, RGB(1, 2, 3));
  const RECT area = {0, 0, 8, 4};
  s.dc().SetTextColor(RGB(9, 9, 9));
  DrawHalftoneRect(&s.dc(), &area);
  const COLORREF face = GetSharedState().m_clrFace, light = GetSharedState().m_clrHighlight;
  ASSERT_NE(face, light);
  const COLORREF a = s.at(0, 0), b = a == face ? light : face;
  EXPECT_TRUE(a == face || a == light);
  EXPECT_EQ(s.run(0, 0, 1, 0, 4), (std::vector<COLORREF>{a, b, a, b}));
  EXPECT_EQ(s.run(0, 1, 1, 0, 4), (std::vector<COLORREF>{b, a, b, a}));
  EXPECT_EQ(s.dc().GetTextColor(), RGB(9, 9, 9));
}

// A caller points the layer at another module for a while; the holder puts
// the handles back when it goes, and a released record restores nothing.
TEST(ModuleHandles, TheHolderRestoresBothHandlesWhenItGoes) {
  AFX_MODULE_STATE* state = AfxGetModuleState();
  const HINSTANCE instance = state->m_hCurrentInstanceHandle, resource = state->m_hCurrentResourceHandle;
  const HINSTANCE other = GetModuleHandleA("user32.dll");
  {
    CXTOwnedPtr saved;
    saved.Take();
    ASSERT_NE(nullptr, saved.Get());
    state->m_hCurrentInstanceHandle = other;
    AfxSetResourceHandle(other);
    EXPECT_EQ(other, AfxGetResourceHandle());
  }
  EXPECT_EQ(instance, state->m_hCurrentInstanceHandle);
  EXPECT_EQ(resource, state->m_hCurrentResourceHandle);

  CXTOwnedPtr empty;
  empty.Reset();
  EXPECT_EQ(nullptr, empty.Get());
}
