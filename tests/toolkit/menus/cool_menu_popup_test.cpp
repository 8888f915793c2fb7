// The popup-menu windows of the cool menus: what an open popup shows in both
// looks (kept pictures), the reveal animation it plays once, flat submenus
// moved off their parent's border, and measuring again on request.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "cool_menu_fixture.h"
#include "tests/support/dialog_robot.h"
#include "tests/support/dib_surface.h"
#include "tests/support/golden_image.h"
#include "toolkit/common/SharedState.h"
#include "toolkit/menus/CoolMenuPopupHook.h"
#include "toolkit/menus/MenuBar.h"
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

// What the window itself last drew, frame and all.
std::unique_ptr<DibSurface> WindowDrawing(HWND window) {
  RECT r;
  ::GetWindowRect(window, &r);
  auto picture = std::make_unique<DibSurface>(r.right - r.left, r.bottom - r.top);
  HDC own = ::GetWindowDC(window);
  ::BitBlt(picture->dc().m_hDC, 0, 0, picture->width(), picture->height(), own, 0, 0, SRCCOPY);
  ::ReleaseDC(window, own);
  return picture;
}

// The screen's picture of the window once it shows what the window drew,
// else null: the display takes a window's drawing when its thread next
// waits, so a picture taken straight after a change can show the one before.
std::unique_ptr<DibSurface> CaptureWhenShown(HWND window) {
  auto shown = CaptureWindow(window);
  const int n = shown->width() * shown->height();
  return shown->pixels(n) == WindowDrawing(window)->pixels(n) ? std::move(shown) : nullptr;
}

bool IsShownPopup(HWND popup) {
  const CXTCoolMenuPopupHook* hook = CXTPopupMenuWatch::Find(popup);
  return hook && hook->IsShown();
}

class CoolMenuPopup : public ::testing::Test {
 protected:
  void SetUp() override {
    MoveCursor({1200, 1000});  // no item under the mouse
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
    std::unique_ptr<DibSurface> shown, repainted;
    bool pressed = false;
    TrackWithScript(m_cool, m_menu, &m_frameWnd, [&](HWND popup) {
      if (!IsShownPopup(popup) || repainted) return false;
      if (!pressed) {
        pressed = true;
        ::PostMessageA(popup, WM_KEYDOWN, VK_DOWN, 0);
        return false;
      }
      if (!(::GetMenuState(m_menu, 0, MF_BYPOSITION) & MF_HILITE)) return false;
      if (!shown) {
        if (!(shown = CaptureWhenShown(popup))) return false;
        // Painted again, frame and all, it looks as revealed.
        ::RedrawWindow(popup, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
        return false;
      }
      if (!(repainted = CaptureWhenShown(popup))) return false;
      ::EndMenu();
      return true;
    });
    ASSERT_TRUE(shown && repainted);
    EXPECT_EQ("", CompareWithGolden(look.golden, shown->width(), shown->height(),
                                    [&](int x, int y) { return shown->at(x, y); }));
    EXPECT_EQ(repainted->pixels(shown->width() * shown->height()), shown->pixels(shown->width() * shown->height()))
        << look.golden;
  }
}

namespace {

struct RevealSeen {
  int calls = 0, kind = 0, steps = 0, duration = 0;
  CRect rect;
};
RevealSeen g_reveal;

void RecordReveal(const RECT& rect, CDC*, CDC*, int kind, int steps, int duration) {
  ++g_reveal.calls;
  g_reveal.kind = kind;
  g_reveal.rect = rect;
  g_reveal.steps = steps;
  g_reveal.duration = duration;
}

BOOL SystemFlag(UINT action) {
  BOOL value = FALSE;
  ::SystemParametersInfoA(action, 0, &value, 0);
  return value;
}

void SetSystemFlag(UINT action, BOOL value) {
  ::SystemParametersInfoA(action, 0, reinterpret_cast<void*>(static_cast<INT_PTR>(value)), 0);
}

}  // namespace

// The kind the customise options chose, or the system's own choice for the
// system default: the popups hold the system's animation off while they are
// open, and the user's setting still counts. A repaint plays nothing again.
TEST_F(CoolMenuPopup, RevealPlaysTheChosenAnimationOnceOverTheWholeWindow) {
  SetMenuAnimationHandler(RecordReveal);
  const BOOL animation = SystemFlag(SPI_GETMENUANIMATION), fade = SystemFlag(SPI_GETMENUFADE);
  const struct {
    int kind;
    BOOL systemAnimation, systemFade;
    int expected;
  } cases[] = {
      {kMenuAnimationUnfold, FALSE, FALSE, kMenuAnimationUnfold},
      {kMenuAnimationFade, FALSE, TRUE, kMenuAnimationFade},
      {kMenuAnimationNone, TRUE, TRUE, kMenuAnimationNone},
      {kMenuAnimationSystem, TRUE, FALSE, kMenuAnimationSlide},
      {kMenuAnimationSystem, TRUE, TRUE, kMenuAnimationFade},
      {kMenuAnimationSystem, FALSE, TRUE, kMenuAnimationNone},
  };
  for (const auto& c : cases) {
    SetSystemFlag(SPI_SETMENUANIMATION, c.systemAnimation);
    SetSystemFlag(SPI_SETMENUFADE, c.systemFade);
    SetMenuAnimationKind(c.kind);
    g_reveal = RevealSeen();
    CRect window;
    WhenShown([&](HWND popup) {
      ::GetWindowRect(popup, &window);
      ::RedrawWindow(popup, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    });
    const int calls = c.expected == kMenuAnimationNone ? 0 : 1;
    EXPECT_EQ(g_reveal.calls, calls) << c.kind << c.systemAnimation;
    if (!calls) continue;
    EXPECT_EQ(g_reveal.kind, c.expected) << c.kind << c.systemAnimation;
    EXPECT_EQ(g_reveal.rect, CRect(0, 0, window.Width(), window.Height()));
    EXPECT_EQ(g_reveal.steps, 10);
    EXPECT_EQ(g_reveal.duration, 300);
  }
  SetSystemFlag(SPI_SETMENUANIMATION, animation);
  SetSystemFlag(SPI_SETMENUFADE, fade);
  EXPECT_EQ(SystemFlag(SPI_GETMENUANIMATION), animation);
}

namespace {

// What the popup windows of this thread get: each one's first move, as asked
// and as carried out, and the requests to measure again they post themselves.
struct PopupMessages {
  struct Move {
    HWND window;
    POINT asked, done;
  };
  std::vector<Move> firstMoves;
  int remeasureRequests = 0;
  HHOOK before = nullptr, after = nullptr, posted = nullptr;
  POINT pending = {};
};
PopupMessages g_messages;

bool IsFirstMove(const CWPSTRUCT& m) {
  if (m.message != WM_WINDOWPOSCHANGING || !IsMenuPopupWindow(m.hwnd)) return false;
  if (reinterpret_cast<const WINDOWPOS*>(m.lParam)->flags & SWP_NOMOVE) return false;
  for (const auto& move : g_messages.firstMoves)
    if (move.window == m.hwnd) return false;
  return true;
}

LRESULT CALLBACK BeforeProc(int code, WPARAM wParam, LPARAM lParam) {
  const CWPSTRUCT& m = *reinterpret_cast<const CWPSTRUCT*>(lParam);
  if (code == HC_ACTION && IsFirstMove(m)) {
    const WINDOWPOS* pos = reinterpret_cast<const WINDOWPOS*>(m.lParam);
    g_messages.pending = {pos->x, pos->y};
  }
  return ::CallNextHookEx(g_messages.before, code, wParam, lParam);
}

LRESULT CALLBACK AfterProc(int code, WPARAM wParam, LPARAM lParam) {
  const CWPRETSTRUCT& r = *reinterpret_cast<const CWPRETSTRUCT*>(lParam);
  const CWPSTRUCT m = {r.lParam, r.wParam, r.message, r.hwnd};
  if (code == HC_ACTION && IsFirstMove(m)) {
    const WINDOWPOS* pos = reinterpret_cast<const WINDOWPOS*>(r.lParam);
    g_messages.firstMoves.push_back({r.hwnd, g_messages.pending, {pos->x, pos->y}});
  }
  return ::CallNextHookEx(g_messages.after, code, wParam, lParam);
}

LRESULT CALLBACK PostedProc(int code, WPARAM wParam, LPARAM lParam) {
  const MSG& m = *reinterpret_cast<const MSG*>(lParam);
  if (code == HC_ACTION && wParam == PM_REMOVE && m.message == XTWM_REMEASURE_MENU && IsMenuPopupWindow(m.hwnd))
    ++g_messages.remeasureRequests;
  return ::CallNextHookEx(g_messages.posted, code, wParam, lParam);
}

void WatchPopupMessages() {
  g_messages = PopupMessages();
  g_messages.before = ::SetWindowsHookExA(WH_CALLWNDPROC, BeforeProc, nullptr, ::GetCurrentThreadId());
  g_messages.after = ::SetWindowsHookExA(WH_CALLWNDPROCRET, AfterProc, nullptr, ::GetCurrentThreadId());
  g_messages.posted = ::SetWindowsHookExA(WH_GETMESSAGE, PostedProc, nullptr, ::GetCurrentThreadId());
}

void StopWatchingPopupMessages() {
  ::UnhookWindowsHookEx(g_messages.before);
  ::UnhookWindowsHookEx(g_messages.after);
  ::UnhookWindowsHookEx(g_messages.posted);
}

}  // namespace

// In the flat look a submenu moves once, 5 pixels right and 2 down; the
// popup it opens from, and any popup of the classic look, stay where the
// system puts them.
TEST_F(CoolMenuPopup, FlatSubmenusMoveOffTheirParentsBorderOnce) {
  HMENU deeper = ::CreatePopupMenu();
  ::AppendMenuA(deeper, MF_STRING, kDeeper, "&Deeper");
  ::InsertMenuA(m_menu, 0, MF_BYPOSITION | MF_POPUP, reinterpret_cast<UINT_PTR>(deeper), "&More");
  for (const BOOL flat : {TRUE, FALSE}) {
    GetSharedState().m_xpLook = flat;
    WatchPopupMessages();
    int step = 0;
    TrackWithScript(m_cool, m_menu, &m_frameWnd, [&](HWND popup) {
      if (!IsShownPopup(popup)) return false;
      if (step == 0) {  // select More and open it
        ::PostMessageA(popup, WM_KEYDOWN, VK_DOWN, 0);
        ::PostMessageA(popup, WM_KEYDOWN, VK_RIGHT, 0);
        ++step;
      } else if (g_messages.firstMoves.size() >= 2) {
        ::EndMenu();
      }
      return true;
    });
    StopWatchingPopupMessages();
    ASSERT_EQ(g_messages.firstMoves.size(), 2u) << flat;
    const PopupMessages::Move& parent = g_messages.firstMoves[0];
    const PopupMessages::Move& submenu = g_messages.firstMoves[1];
    EXPECT_EQ(parent.done.x - parent.asked.x, 0) << flat;
    EXPECT_EQ(parent.done.y - parent.asked.y, 0) << flat;
    EXPECT_EQ(submenu.done.x - submenu.asked.x, flat ? 5 : 0) << flat;
    EXPECT_EQ(submenu.done.y - submenu.asked.y, flat ? 2 : 0) << flat;
  }
}

// The system's private message 175 makes a flat popup post itself the
// request to rewrite its items (so the system measures them again) once the
// message is done; the classic look leaves them.
TEST_F(CoolMenuPopup, FlatPopupsAskToMeasureAgainOnTheSystemsRequest) {
  for (const BOOL flat : {TRUE, FALSE}) {
    GetSharedState().m_xpLook = flat;
    WatchPopupMessages();
    bool sent = false;
    TrackWithScript(m_cool, m_menu, &m_frameWnd, [&](HWND popup) {
      if (!IsShownPopup(popup)) return false;
      if (!sent) {
        sent = true;
        ::SendMessageA(popup, XTWM_POPUP_MENU_PRIVATE, 0, 0);
        return false;
      }
      ::EndMenu();
      return true;
    });
    StopWatchingPopupMessages();
    EXPECT_EQ(g_messages.remeasureRequests, flat ? 1 : 0);
  }
}

// While a popup is open the system draws its own menu shadow only in the
// classic look, and only when menus are to have shadows; afterwards its
// setting is back.
TEST_F(CoolMenuPopup, TheSystemShadowIsHeldOffWhereTheToolkitDrawsOrNoneIsWanted) {
  const BOOL saved = SystemFlag(SPI_GETDROPSHADOW);
  BOOL& shadowsWanted = GetSharedState().m_customizeFlags[5];
  const struct {
    BOOL flat, wanted, systemShadow;
  } cases[] = {{TRUE, TRUE, FALSE}, {FALSE, FALSE, FALSE}, {FALSE, TRUE, CXTCoolMenuPopupHook::SystemDrawsMenuShadow()}};
  for (const auto& c : cases) {
    SetSystemFlag(SPI_SETDROPSHADOW, !c.systemShadow);
    GetSharedState().m_xpLook = c.flat;
    shadowsWanted = c.wanted;
    BOOL whileOpen = 2;
    WhenShown([&](HWND) { whileOpen = SystemFlag(SPI_GETDROPSHADOW); });
    EXPECT_EQ(whileOpen, c.systemShadow) << c.flat << c.wanted;
    EXPECT_EQ(SystemFlag(SPI_GETDROPSHADOW), !c.systemShadow);
  }
  shadowsWanted = TRUE;
  SetSystemFlag(SPI_SETDROPSHADOW, saved);
}

// A popup the menu bar opens from a title finds the title by itself: in the
// flat look its top edge takes the title's fill where the two meet.
TEST_F(CoolMenuPopup, APopupOfTheMenuBarJoinsItsTitle) {
  static const BOOL initialised =
      AfxWinInit(::GetModuleHandleA(nullptr), nullptr, const_cast<LPSTR>(""), SW_SHOWNORMAL);
  ASSERT_TRUE(initialised);
  GetSharedState().m_xpLook = TRUE;
  CFrameWnd* frame = new CFrameWnd;
  ASSERT_TRUE(frame->Create(nullptr, "Menu bar popup", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(100, 100, 500, 400)));
  CXTMenuBar bar;
  ASSERT_TRUE(bar.Create(frame, WS_CHILD | WS_VISIBLE | CBRS_TOP));
  HMENU menuBar = ::CreateMenu();
  ::AppendMenuA(menuBar, MF_POPUP, reinterpret_cast<UINT_PTR>(m_menu), "&File");
  bar.SetMenu(menuBar, nullptr);
  frame->RecalcLayout();
  CXTCoolMenu cool;
  cool.Install(frame);
  const int file = 1;  // after the system-menu icon of a maximised child, hidden here
  CRect title = bar.GetItemRect(file);
  bar.ClientToScreen(&title);
  std::unique_ptr<DibSurface> shown;
  CRect popupRect;
  TrackWithScript(
      [&](HWND popup) {
        if (shown || !IsShownPopup(popup)) return false;
        ::GetWindowRect(popup, &popupRect);
        shown = CaptureWindow(popup);
        ::EndMenu();
        return true;
      },
      [&] { bar.TrackPopup(file); });
  ASSERT_TRUE(shown);
  ASSERT_EQ(popupRect.top, title.bottom - 1);  // the popup's top row is the title's bottom row
  const int joinFrom = title.left - popupRect.left + 1, joinTo = title.right - popupRect.left - 2;
  EXPECT_EQ(shown->at(joinFrom, 0), GetToolkitColor(30));
  EXPECT_EQ(shown->at(joinTo, 0), GetToolkitColor(30));
  EXPECT_EQ(shown->at(joinTo + 1, 0), GetToolkitColor(43));
  cool.HookWindow(static_cast<HWND>(nullptr));
  frame->DestroyWindow();
  m_menu = ::CreatePopupMenu();  // the menu bar's menu took the fixture's along
}
