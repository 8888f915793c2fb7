// The command image store from a tool-bar resource, and the loader that maps
// a bitmap's standard colours to the system's, and the icon map.
#include <gtest/gtest.h>

#include "tests/support/dib_surface.h"
#include "paint_test_resource.h"
#include "toolkit/common/ImageStore.h"
#include "toolkit/common/SharedState.h"
#include "toolkit/paint/IconMap.h"
#include "toolkit/paint/SysColorBitmap.h"

namespace {

const COLORREF kMagenta = RGB(255, 0, 255);

HINSTANCE Module() { return ::GetModuleHandleA(nullptr); }

// The icon drawn at (0, 0) of a magenta 2 x 2 surface.
std::vector<COLORREF> Pixels(HICON icon) {
  DibSurface s(2, 2, kMagenta);
  ::DrawIconEx(s.dc().m_hDC, 0, 0, icon, 2, 2, 0, nullptr, DI_NORMAL);
  return {s.at(0, 0), s.at(1, 0), s.at(0, 1), s.at(1, 1)};
}

typedef std::vector<COLORREF> Colors;

std::vector<COLORREF> LoadedRow(int id, BOOL mono) {
  HRSRC found = ::FindResourceA(Module(), MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(2));
  HBITMAP bitmap = LoadSysColorBitmap(Module(), found, mono);
  std::vector<COLORREF> row;
  if (!bitmap) return row;
  CDC dc;
  dc.CreateCompatibleDC(nullptr);
  HGDIOBJ old = ::SelectObject(dc.m_hDC, bitmap);
  for (int x = 0; x < 6; ++x) row.push_back(dc.GetPixel(x, 0));
  ::SelectObject(dc.m_hDC, old);
  ::DeleteObject(bitmap);
  return row;
}

class ImageStoreTest : public ::testing::Test {
 protected:
  void TearDown() override { m_store.RemoveAll(); }
  CXTImageStore m_store;
};

}  // namespace

TEST_F(ImageStoreTest, FadedAndShadowImagesRecolourOnlyVisiblePixels) {
  ASSERT_TRUE(m_store.AddToolBarResource(Module(), MAKEINTRESOURCEA(IDR_TEST_STRIP)));
  const CXTCommandImage* red = m_store.LookupForMenu(ID_STRIP_RED);
  ASSERT_TRUE(red);
  // (200,0,0) | grey 0xC0C0C0 (transparent) / (10,20,30) | white
  EXPECT_EQ(Pixels(red->image), (Colors{RGB(200, 0, 0), kMagenta, RGB(10, 20, 30), RGB(255, 255, 255)}));
  // Each channel 0.3 * 255 + 0.7 * channel.
  EXPECT_EQ(Pixels(red->faded), (Colors{RGB(216, 76, 76), kMagenta, RGB(83, 90, 97), RGB(255, 255, 255)}));
  const COLORREF shadow = GetToolkitColor(CXTImageStore::kImageShadowColor);
  EXPECT_EQ(Pixels(red->shadow), (Colors{shadow, kMagenta, shadow, shadow}));
  EXPECT_EQ(red->disabled, nullptr);
}

TEST_F(ImageStoreTest, SeparatorsTakeNoImageAndGreyOneStepOffStaysVisible) {
  ASSERT_TRUE(m_store.AddToolBarResource(Module(), MAKEINTRESOURCEA(IDR_TEST_STRIP)));
  const CXTCommandImage* green = m_store.LookupForMenu(ID_STRIP_GREEN);
  const CXTCommandImage* blue = m_store.LookupForMenu(ID_STRIP_BLUE);
  ASSERT_TRUE(green && blue);
  EXPECT_EQ(Pixels(green->image)[0], RGB(0, 100, 0));  // the second image, not the third
  EXPECT_EQ(Pixels(blue->image), (Colors{RGB(0, 0, 255), RGB(0xC1, 0xC0, 0xC0), RGB(0, 0, 255), RGB(0, 0, 255)}));
  EXPECT_EQ(m_store.LookupForMenu(0), nullptr);
}

TEST_F(ImageStoreTest, MapsAreSeparateAndMenusLookInTheirsFirst) {
  ASSERT_TRUE(m_store.AddToolBarResource(Module(), MAKEINTRESOURCEA(IDR_TEST_STRIP), CXTImageStore::kToolBarMap));
  EXPECT_TRUE(m_store.LookupForToolBar(ID_STRIP_RED));
  const CXTCommandImage* fromBar = m_store.LookupForMenu(ID_STRIP_RED);
  EXPECT_EQ(fromBar, m_store.LookupForToolBar(ID_STRIP_RED));  // the menu map falls back on the bar map

  HIMAGELIST list = ImageList_Create(2, 2, ILC_COLOR32 | ILC_MASK, 1, 1);
  HICON icon = ::CreateIcon(nullptr, 2, 2, 1, 32, std::vector<BYTE>(8, 0).data(), std::vector<BYTE>(16, 0x40).data());
  ImageList_AddIcon(list, icon);
  EXPECT_TRUE(m_store.AddImage(ID_STRIP_RED, list, 0, TRUE, CXTImageStore::kMenuMap));
  EXPECT_NE(m_store.LookupForMenu(ID_STRIP_RED), fromBar);
  EXPECT_EQ(m_store.LookupForToolBar(ID_STRIP_RED), fromBar);

  // Without the create flag: a disabled image, once, for a known command only.
  EXPECT_TRUE(m_store.AddImage(ID_STRIP_RED, list, 0, FALSE, CXTImageStore::kToolBarMap));
  const HICON disabled = m_store.LookupForToolBar(ID_STRIP_RED)->disabled;
  EXPECT_NE(disabled, nullptr);
  EXPECT_FALSE(m_store.AddImage(ID_STRIP_RED, list, 0, FALSE, CXTImageStore::kToolBarMap));
  EXPECT_EQ(m_store.LookupForToolBar(ID_STRIP_RED)->disabled, disabled);
  EXPECT_FALSE(m_store.AddImage(999, list, 0, FALSE, CXTImageStore::kToolBarMap));
  EXPECT_EQ(m_store.LookupForToolBar(999), nullptr);
  ImageList_Destroy(list);
  ::DestroyIcon(icon);
}

TEST_F(ImageStoreTest, MissingOrCutResourcesAddNothing) {
  EXPECT_FALSE(m_store.AddToolBarResource(Module(), MAKEINTRESOURCEA(12345)));
  EXPECT_FALSE(m_store.AddToolBarResource(Module(), MAKEINTRESOURCEA(IDR_TEST_STRIP_CUT)));
  EXPECT_EQ(m_store.LookupForMenu(ID_STRIP_RED), nullptr);
}

TEST(SysColorBitmap, StandardColoursTakeTheSystemColours) {
  const COLORREF face = ::GetSysColor(COLOR_BTNFACE), white = RGB(255, 255, 255);
  const Colors mapped = {::GetSysColor(COLOR_BTNTEXT), ::GetSysColor(COLOR_BTNSHADOW), face,
                         RGB(0xC1, 0xC0, 0xC0),  // one step off the standard grey: kept
                         ::GetSysColor(COLOR_BTNHIGHLIGHT), RGB(0x12, 0x34, 0x56)};
  const Colors mono = {RGB(0, 0, 0), white, white, RGB(0xC1, 0xC0, 0xC0), white, RGB(0x12, 0x34, 0x56)};
  for (int id : {IDB_STANDARD_COLORS24, IDB_STANDARD_COLORS8}) {
    EXPECT_EQ(LoadedRow(id, FALSE), mapped) << id;
    EXPECT_EQ(LoadedRow(id, TRUE), mono) << id;
  }
  EXPECT_EQ(LoadSysColorBitmap(Module(), nullptr, FALSE), nullptr);
}

namespace {

HICON NewIcon() { return ::CreateIcon(nullptr, 2, 2, 1, 1, std::vector<BYTE>(8, 0xFF).data(), std::vector<BYTE>(8).data()); }

bool IsLive(HICON icon) {
  ICONINFO info = {};
  if (!::GetIconInfo(icon, &info)) return false;
  ::DeleteObject(info.hbmMask);
  ::DeleteObject(info.hbmColor);
  return true;
}

}  // namespace

// The map owns its icons: replaced ones die, ones given again live on, and
// nothing is left after RemoveAll.
TEST(IconMap, OwnsItsIconsThroughReplacementAndRemoval) {
  CXTIconMap map;
  HICON normal = NewIcon(), disabled = NewIcon(), hot = NewIcon();
  map.SetAt(7, normal, disabled, nullptr);
  HICON n = nullptr, d = nullptr, h = reinterpret_cast<HICON>(1);
  ASSERT_TRUE(map.Lookup(7, &n, &d, &h));
  EXPECT_EQ(n, normal);
  EXPECT_EQ(d, disabled);
  EXPECT_EQ(h, nullptr);
  EXPECT_FALSE(map.Lookup(8, &n, nullptr, nullptr));
  EXPECT_TRUE(map.Lookup(7, nullptr, nullptr, nullptr));

  map.SetAt(7, normal, nullptr, hot);  // the disabled icon is replaced
  EXPECT_TRUE(IsLive(normal));
  EXPECT_FALSE(IsLive(disabled));
  EXPECT_TRUE(IsLive(hot));
  EXPECT_EQ(map.GetCount(), 1);

  map.RemoveAll();
  EXPECT_FALSE(IsLive(normal));
  EXPECT_FALSE(IsLive(hot));
  EXPECT_FALSE(map.Lookup(7, &n, &d, &h));
}
