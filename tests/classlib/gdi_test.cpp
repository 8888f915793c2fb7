// GDI wrappers drawing into a 32-bit DIB section, read back pixel by pixel.
#include <gtest/gtest.h>

#include "classlib/imagelist.h"
#include "classlib/menu.h"
#include "tests/support/dib_surface.h"

namespace {

typedef DibSurface Surface;

}  // namespace

TEST(Gdi, Draw3dRectPaintsTwoColouredEdges) {
  Surface s(10, 10);
  const COLORREF tl = RGB(255, 0, 0), br = RGB(0, 0, 255);
  s.dc().Draw3dRect(CRect(1, 1, 9, 9), tl, br);
  EXPECT_EQ(s.at(1, 1), tl);
  EXPECT_EQ(s.at(7, 1), tl);  // the top edge stops one short of the right edge
  EXPECT_EQ(s.at(8, 1), br);
  EXPECT_EQ(s.at(1, 8), br);
  EXPECT_EQ(s.at(8, 8), br);
  EXPECT_EQ(s.at(4, 4), RGB(255, 255, 255));
  EXPECT_EQ(s.dc().GetBkColor(), br);  // FillSolidRect leaves its colour behind
}

TEST(Gdi, DragRectXorsOnlyTheFrameDifference) {
  Surface s(40, 40);
  std::vector<DWORD> blank = s.pixels(40 * 40);
  CRect a(5, 5, 25, 25), b(10, 8, 30, 28);
  CBrush* halftone = CDC::GetHalftoneBrush();
  ASSERT_NE(halftone, nullptr);
  EXPECT_EQ(halftone, CDC::GetHalftoneBrush());

  // With the half-tone brush: draw a, move to b, erase b: the surface is untouched again.
  s.dc().DrawDragRect(a, CSize(2, 2), nullptr, CSize(0, 0));
  EXPECT_NE(s.pixels(40 * 40), blank);
  EXPECT_NE(s.at(5, 5) == RGB(255, 255, 255), s.at(6, 5) == RGB(255, 255, 255));  // a 50% pattern
  EXPECT_EQ(s.at(15, 15), RGB(255, 255, 255));
  s.dc().DrawDragRect(b, CSize(3, 3), a, CSize(2, 2));
  EXPECT_EQ(s.at(15, 15), RGB(255, 255, 255));  // inside both frames: never touched
  s.dc().DrawDragRect(b, CSize(3, 3), nullptr, CSize(0, 0));
  EXPECT_EQ(s.pixels(40 * 40), blank);
}

TEST(Gdi, TemporaryWrappersComeFromTheirOwnMaps) {
  HPEN hPen = ::CreatePen(PS_SOLID, 1, RGB(1, 2, 3));
  CPen* temp = CPen::FromHandle(hPen);
  ASSERT_NE(temp, nullptr);
  EXPECT_EQ(temp, CPen::FromHandle(hPen));
  EXPECT_TRUE(temp->IsKindOf(RUNTIME_CLASS(CPen)));
  AfxDeleteTempMaps();
  LOGPEN lp = {};
  EXPECT_EQ(::GetObjectA(hPen, sizeof lp, &lp), static_cast<int>(sizeof lp));  // the handle survives
  {
    CPen owner;
    owner.Attach(hPen);
    EXPECT_EQ(CPen::FromHandle(hPen), &owner);
  }
  EXPECT_EQ(::GetObjectA(hPen, sizeof lp, &lp), 0);  // the owner deleted it
}

TEST(Gdi, ImageListAndMenuWrappers) {
  CImageList images;
  ASSERT_TRUE(images.Create(16, 16, ILC_COLOR24 | ILC_MASK, 0, 4));
  CBitmap bitmap;
  CDC screen;
  screen.Attach(::GetDC(nullptr));
  bitmap.CreateCompatibleBitmap(&screen, 32, 16);
  ::ReleaseDC(nullptr, screen.Detach());
  EXPECT_EQ(images.Add(&bitmap, RGB(255, 0, 255)), 0);
  EXPECT_EQ(images.GetImageCount(), 2);
  HICON icon = images.ExtractIcon(1);
  EXPECT_NE(icon, nullptr);
  ::DestroyIcon(icon);
  HIMAGELIST shared = images.Detach();  // given away: the object must not destroy it
  EXPECT_EQ(ImageList_GetImageCount(shared), 2);
  ImageList_Destroy(shared);

  CMenu menu;
  ASSERT_TRUE(menu.CreatePopupMenu());
  CMenu sub;
  sub.CreatePopupMenu();
  sub.AppendMenu(MF_STRING, 7, "&Seven");
  menu.AppendMenu(MF_STRING, 5, "Five");
  menu.AppendMenu(MF_POPUP, reinterpret_cast<UINT_PTR>(sub.Detach()), "Sub");
  CString text;
  menu.GetMenuString(1, text, MF_BYPOSITION);
  EXPECT_STREQ(text, "Sub");
  CMenu* popup = menu.GetSubMenu(1);
  ASSERT_NE(popup, nullptr);
  EXPECT_EQ(popup->GetMenuItemID(0), 7u);
  EXPECT_EQ(menu.GetMenuState(5, MF_BYCOMMAND) & MF_GRAYED, 0u);
  menu.EnableMenuItem(5, MF_BYCOMMAND | MF_GRAYED);
  EXPECT_NE(menu.GetMenuState(5, MF_BYCOMMAND) & MF_GRAYED, 0u);
  AfxDeleteTempMaps();
  EXPECT_EQ(menu.GetMenuItemCount(), 2);  // the temporary sub-menu wrapper destroyed nothing
}
