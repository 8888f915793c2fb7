// The popup-menu windows of the cool menus: what an open popup shows in both
// looks (kept pictures), the reveal animation it plays once, flat submenus
// moved off their parent's border, and measuring again on request.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "cool_menu_fixture.h"
#include "tests/support/dib_surface.h"
#include "tests/support/golden_image.h"
#include "toolkit/common/SharedState.h"
#include "toolkit/menus/CoolMenuPopupHook.h"
#include "toolkit/menus/PopupMenuWatch.h"
#include "toolkit/paint/MenuAnimation.h"

namespace {

enum : UINT { kOpen = 300, kPrint, kWrap, kProperties, kSave, kExit, kMore, kDeeper };

// A command image: a square of colour with a dark diagonal, its corners
// transparent.
HICON MakeIcon(COLORREF color) {
  const int cx = 16, cy = 15;
  HDC screen = ::GetDC(nullptr);
  HBITMAP image = ::CreateCompatibleBitmap(screen, cx, cy);
  ::ReleaseDC(nullptr, screen);
  HBITMAP mask = ::CreateBitmap(cx, cy, 1, 1, nullptr);
  HDC dc = ::CreateCompatibleDC(nullptr);
  HGDIOBJ old = ::SelectObject(dc, mask);
  const RECT all = {0, 0, cx, cy}, square = {2, 2, 14, 13};
  ::FillRect(dc, &all, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
  ::FillRect(dc, &square, static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)));
  ::SelectObject(dc, image);
  ::FillRect(dc, &all, static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)));
  HBRUSH brush = ::CreateSolidBrush(color);
  ::FillRect(dc, &square, brush);
  ::DeleteObject(brush);
  for (int i = 0; i < 11; ++i) ::SetPixel(dc, 2 + i, 2 + i, RGB(0x20, 0x20, 0x20));
  ::SelectObject(dc, old);
  ::DeleteDC(dc);
  ICONINFO info = {TRUE, 0, 0, mask, image};
  HICON icon = ::CreateIconIndirect(&info);
  ::DeleteObject(mask);
  ::DeleteObject(image);
  return icon;
}

// Open (image, shortcut), Print (checked), Wrap (radio), Properties (grayed,
// image), -, Save (hidden: the expand item stands for it), Exit.
HMENU MakeMenu() {
  HMENU menu = ::CreatePopupMenu();
  ::AppendMenuA(menu, MF_STRING, kOpen, "&Open...\tCtrl+O");
  ::AppendMenuA(menu, MF_STRING | MF_CHECKED, kPrint, "&Print");
  ::AppendMenuA(menu, MF_STRING, kWrap, "&Wrap");
  ::CheckMenuRadioItem(menu, kWrap, kWrap, kWrap, MF_BYCOMMAND);
  ::AppendMenuA(menu, MF_STRING | MF_GRAYED, kProperties, "Pr&operties");
  ::AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
  ::AppendMenuA(menu, MF_STRING, kSave, "&Save");
  ::AppendMenuA(menu, MF_STRING, kExit, "E&xit");
  return menu;
}

// What the screen shows of a window.
std::unique_ptr<DibSurface> CaptureWindow(HWND window) {
  RECT r;
  ::GetWindowRect(window, &r);
  auto picture = std::make_unique<DibSurface>(r.right - r.left, r.bottom - r.top);
  HDC screen = ::GetDC(nullptr);
  ::BitBlt(picture->dc().m_hDC, 0, 0, picture->width(), picture->height(), screen, r.left, r.top, SRCCOPY);
  ::ReleaseDC(nullptr, screen);
  return picture;
}

bool IsShownPopup(HWND popup) {
  const CXTCoolMenuPopupHook* hook = CXTPopupMenuWatch::Find(popup);
  return hook && hook->IsShown();
}

class CoolMenuPopup : public ::testing::Test {
 protected:
  void SetUp() override {
    ::SetCursorPos(1200, 1000);  // no item under the mouse
    m_frame = CreateTestFrame();
    m_frameWnd.Attach(m_frame);
    m_cool.Install(&m_frameWnd);
    m_cool.ResetRecentItems();
    m_cool.HideCommand(kSave);
    static const bool imagesAdded = [this] {
      m_cool.AddImage(kOpen, MakeIcon(RGB(0x30, 0x60, 0xC0)));
      m_cool.AddImage(kProperties, MakeIcon(RGB(0x20, 0xA0, 0x40)));
      return true;
    }();
    (void)imagesAdded;
    CXTCoolMenu::SetMenuBarPopup(TRUE);
    SetMenuAnimationKind(kMenuAnimationNone);
    m_menu = MakeMenu();
  }
  void TearDown() override {
    CXTCoolMenu::SetMenuBarPopup(FALSE);
    SetMenuAnimationKind(kMenuAnimationSystem);
    SetMenuAnimationHandler(nullptr);
    GetSharedState().m_xpLook = FALSE;
    m_cool.HookWindow(static_cast<HWND>(nullptr));
    m_frameWnd.Detach();
    ::DestroyWindow(m_frame);
    ::DestroyMenu(m_menu);
  }
  // Opens the menu, lets act run once on the shown popup, and ends the menu.
  void WhenShown(const std::function<void(HWND)>& act) {
    bool acted = false;
    TrackWithScript(m_cool, m_menu, &m_frameWnd, [&](HWND popup) {
      if (acted || !IsShownPopup(popup)) return false;
      acted = true;
      act(popup);
      ::EndMenu();
      return true;
    });
    EXPECT_TRUE(acted);
  }

  HWND m_frame = nullptr;
  CWnd m_frameWnd;
  CXTCoolMenu m_cool;
  HMENU m_menu = nullptr;
};

}  // namespace

// The popup opens below a menu-bar title (as the menu bar opens it): in the
// flat look the border takes the title's fill where the two meet. The
// keyboard selects the first item.
TEST_F(CoolMenuPopup, AnOpenPopupInBothLooksAsKept) {
  const struct {
    BOOL flat;
    const char* golden;
  } looks[] = {{TRUE, "cool_menu_popup_flat"}, {FALSE, "cool_menu_popup_classic"}};
  for (const auto& look : looks) {
    GetSharedState().m_xpLook = look.flat;
    CXTCoolMenu::SetNextPopupTitle(CRect(150, 130, 210, 151));
    std::unique_ptr<DibSurface> shown;
    bool pressed = false;
    TrackWithScript(m_cool, m_menu, &m_frameWnd, [&](HWND popup) {
      if (!IsShownPopup(popup) || shown) return false;
      if (!pressed) {
        pressed = true;
        ::PostMessageA(popup, WM_KEYDOWN, VK_DOWN, 0);
        return false;
      }
      if (!(::GetMenuState(m_menu, 0, MF_BYPOSITION) & MF_HILITE)) return false;
      shown = CaptureWindow(popup);
      ::EndMenu();
      return true;
    });
    ASSERT_TRUE(shown);
    EXPECT_EQ("", CompareWithGolden(look.golden, shown->width(), shown->height(),
                                    [&](int x, int y) { return shown->at(x, y); }));
  }
}
