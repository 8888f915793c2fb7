// The menu bar's items, mnemonics and layout (one row, wrapped, docked left,
// floating), its list of MDI children in the window menu, what its hooks
// take from the frame, the titles of an object active in place, and its
// drawing in both looks.
#include <gtest/gtest.h>

#include <functional>

#include <string>
#include <vector>

#include "classlib/classlib.h"
#include "cool_menu_fixture.h"
#include "dib_surface.h"
#include "golden_image.h"
#include "toolkit/common/SharedState.h"
#include "toolkit/menus/MenuBar.h"
#include "waiting.h"

namespace {

CWinApp theApp("Toolkit Menu Bar Test");

class MenuBarEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    ASSERT_TRUE(AfxWinInit(::GetModuleHandleA(nullptr), nullptr, const_cast<LPSTR>(""), SW_SHOWNORMAL));
  }
};
const auto* const kEnvironment = ::testing::AddGlobalTestEnvironment(new MenuBarEnvironment);

const char* const kTitles[] = {"&File", "&Edit", "&View", "&Tools", "&Help"};

HMENU FivePopups() {
  HMENU menu = ::CreateMenu();
  for (const char* title : kTitles) {
    HMENU popup = ::CreatePopupMenu();
    ::AppendMenuA(popup, MF_STRING, 100, "Item");
    ::AppendMenuA(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(popup), title);
  }
  return menu;
}

// A frame with a menu of its own, and a menu bar in a window standing for
// the dock bar of the given side.
class MenuBarFrame : public ::testing::Test {
 protected:
  void SetUp() override {
    m_frame = new CFrameWnd;
    ASSERT_TRUE(m_frame->Create(nullptr, "Menu bar", WS_OVERLAPPEDWINDOW, CRect(50, 50, 650, 450)));
    ::SetMenu(m_frame->m_hWnd, FivePopups());
  }
  void TearDown() override { m_frame->DestroyWindow(); }
  CXTMenuBar& Bar(UINT dockId, DWORD style) {
    HWND dock = ::CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE, 0, 0, 600, 400, m_frame->m_hWnd,
                                  reinterpret_cast<HMENU>(static_cast<UINT_PTR>(dockId)), nullptr, nullptr);
    EXPECT_TRUE(m_bar.Create(CWnd::FromHandle(dock), WS_CHILD | WS_VISIBLE | style));
    m_bar.SetMenu(FivePopups(), nullptr);
    return m_bar;
  }
  std::vector<CRect> TitleRects() {
    std::vector<CRect> rects;
    for (int index : m_bar.VisibleItems(CXTMenuBar::kTitles)) rects.push_back(m_bar.GetItemRect(index));
    return rects;
  }
  CFrameWnd* m_frame = nullptr;
  CXTMenuBar m_bar;
};

const int kRow = ::GetSystemMetrics(SM_CYMENU);

}  // namespace

TEST(MenuBarTitles, MnemonicIsTheLetterAfterTheFirstSingleAmpersand) {
  struct Case {
    const char* text;
    char mnemonic;
    int index;  // in the text as shown
  } cases[] = {
      {"&File", 'F', 0}, {"Fi&le", 'l', 2},      {"A&&B", 0, -1},  {"&&A&&", 0, -1},
      {"End&", 0, -1},   {"Sa&&ve &As", 'A', 6}, {"Plain", 0, -1}, {"&&&X", 'X', 1},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(FindMnemonic(c.text), c.mnemonic) << c.text;
    EXPECT_EQ(MnemonicIndex(c.text), c.index) << c.text;
  }
}

TEST_F(MenuBarFrame, FivePopupsGiveNineItemsOfWhichTheTitlesShow) {
  CXTMenuBar& bar = Bar(AFX_IDW_DOCKBAR_TOP, CBRS_ALIGN_TOP | CBRS_SIZE_DYNAMIC);
  EXPECT_EQ(bar.GetItemCount(), 9);
  EXPECT_EQ(bar.VisibleItems(CXTMenuBar::kAll), std::vector<int>({1, 2, 3, 4, 5}));
  char mnemonic = 0;
  EXPECT_TRUE(bar.GetItem(4)->GetMnemonic(&mnemonic));
  EXPECT_EQ(mnemonic, 'T');
  char text[32] = {};
  bar.GetWindowText(text, sizeof text);
  EXPECT_STREQ(text, "Menu Bar");
}

TEST_F(MenuBarFrame, OneRowLeftToRightThenWrappedRows) {
  CXTMenuBar& bar = Bar(AFX_IDW_DOCKBAR_TOP, CBRS_ALIGN_TOP | CBRS_SIZE_DYNAMIC);
  CSize oneRow = bar.CalcDynamicLayout(2000, LM_HORZ);
  std::vector<CRect> rects = TitleRects();
  for (size_t i = 1; i < rects.size(); ++i) {
    EXPECT_EQ(rects[i].left, rects[i - 1].right) << i;
    EXPECT_EQ(rects[i].top, rects[0].top) << i;
  }
  const CSize borders(oneRow.cx - rects.back().right + rects.front().left, oneRow.cy - kRow);
  EXPECT_GT(borders.cy, 0);

  // Room for about three titles: two rows, the second starting at the left.
  const int width = rects[2].right - rects[0].left + borders.cx + 2;
  CSize wrapped = bar.CalcDynamicLayout(width, LM_HORZ);
  rects = TitleRects();
  EXPECT_EQ(wrapped.cy, 2 * kRow + borders.cy);
  EXPECT_EQ(rects[3].top, rects[0].top + kRow);
  EXPECT_LE(rects[2].right, width);
}

TEST_F(MenuBarFrame, DockedLeftTitlesStandInAColumnFromTheTop) {
  CXTMenuBar& bar = Bar(AFX_IDW_DOCKBAR_LEFT, CBRS_ALIGN_LEFT | CBRS_SIZE_DYNAMIC);
  CSize size = bar.CalcDynamicLayout(-1, LM_VERTDOCK);
  std::vector<CRect> rects = TitleRects();
  for (size_t i = 1; i < rects.size(); ++i) {
    EXPECT_EQ(rects[i].top, rects[i - 1].bottom) << i;
    EXPECT_EQ(rects[i].left, rects[0].left) << i;
    EXPECT_GT(rects[i].Height(), rects[i].Width()) << i;  // turned
  }
  EXPECT_EQ(rects[0].top, 0);
  EXPECT_GE(size.cx, kRow);
  EXPECT_LT(size.cx, 2 * kRow);
}

TEST_F(MenuBarFrame, FloatingWidthSettlesOnAMeasuredLayout) {
  CXTMenuBar& bar = Bar(AFX_IDW_DOCKBAR_FLOAT, CBRS_ALIGN_TOP | CBRS_FLOATING | CBRS_SIZE_DYNAMIC);
  const int wide = bar.CalcDynamicLayout(2000, LM_HORZ).cx;
  const int narrow = bar.CalcDynamicLayout(1, LM_HORZ).cx;
  ASSERT_LT(narrow, wide);
  for (int asked : {narrow + 1, (narrow + wide) / 2, wide - 1}) {
    const int settled = bar.CalcDynamicLayout(asked, LM_HORZ | LM_COMMIT).cx;
    EXPECT_GE(settled, narrow) << asked;
    EXPECT_LE(settled, wide) << asked;
    EXPECT_EQ(bar.CalcDynamicLayout(settled, LM_HORZ).cx, settled) << asked;
    EXPECT_EQ(bar.CalcDynamicLayout(-1, LM_HORZ | LM_MRUWIDTH).cx, settled) << asked;
  }
}

// ---- the window list

namespace {
const char* MDIChildClass() {
  static const char* name = [] {
    WNDCLASSA wc = {};
    wc.lpfnWndProc = ::DefMDIChildProcA;
    wc.hInstance = ::GetModuleHandleA(nullptr);
    wc.lpszClassName = "BrennicorMenuBarChild";
    ::RegisterClassA(&wc);
    return wc.lpszClassName;
  }();
  return name;
}

HWND NewMDIClient(HWND frame) {
  CLIENTCREATESTRUCT ccs = {nullptr, CXTMenuBar::kFirstMDIChild};
  return ::CreateWindowExA(0, "MDICLIENT", nullptr, WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, 500, 300, frame,
                           nullptr, nullptr, &ccs);
}

HWND NewMDIChild(HWND client, const std::string& title, DWORD style) {
  MDICREATESTRUCTA mcs = {MDIChildClass(), title.c_str(), ::GetModuleHandleA(nullptr), 0, 0, 100, 80, style, 0};
  return reinterpret_cast<HWND>(::SendMessageA(client, WM_MDICREATE, 0, reinterpret_cast<LPARAM>(&mcs)));
}

std::vector<std::string> MenuTexts(HMENU menu) {
  std::vector<std::string> texts;
  for (int i = 0; i < ::GetMenuItemCount(menu); ++i) {
    char text[64] = {};
    ::GetMenuStringA(menu, i, text, sizeof text, MF_BYPOSITION);
    const bool checked = ::GetMenuState(menu, i, MF_BYPOSITION) & MF_CHECKED;
    texts.push_back(std::string(*text ? text : "-") + (checked ? " *" : ""));
  }
  return texts;
}
}  // namespace

// Ten children list nine, the active tenth in the ninth place; a window
// under the client that is no MDI child takes no slot.
TEST_F(MenuBarFrame, WindowMenuListsNineChildrenWithTheActiveOneChecked) {
  HWND client = NewMDIClient(m_frame->m_hWnd);
  ASSERT_NE(client, nullptr);
  HWND last = nullptr;
  for (int i = 1; i <= 10; ++i) {
    last = NewMDIChild(client, "Child " + std::to_string(i), WS_VISIBLE);
    ASSERT_NE(last, nullptr);
  }
  ::SendMessageA(client, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(last), 0);
  ::CreateWindowExA(0, "STATIC", "not a child", WS_CHILD, 0, 0, 10, 10, client, reinterpret_cast<HMENU>(5), nullptr,
                    nullptr);
  CXTMenuBar bar;
  ASSERT_TRUE(bar.Create(m_frame));
  EXPECT_EQ(::GetMenu(m_frame->m_hWnd), nullptr);  // the bar replaced the frame's own
  HMENU windowMenu = ::CreatePopupMenu();
  ::AppendMenuA(windowMenu, MF_STRING, 200, "&Cascade");
  bar.SetMenu(FivePopups(), windowMenu);
  bar.RefreshWindowMenu();
  std::vector<std::string> expected = {"&Cascade", "-"};
  for (int i = 1; i <= 8; ++i) expected.push_back("&" + std::to_string(i) + "  Child " + std::to_string(i));
  expected.push_back("&9  Child 10 *");
  expected.push_back("-");
  expected.push_back("More Windows...");
  EXPECT_EQ(MenuTexts(windowMenu), expected);
  // Again: the old list goes first, nothing doubles.
  bar.RefreshWindowMenu();
  EXPECT_EQ(MenuTexts(windowMenu), expected);
  ::DestroyMenu(windowMenu);
}

// A maximised MDI child shows its icon first and its buttons at the far end.
TEST_F(MenuBarFrame, MaximisedChildAddsIconAndButtonsPushedToTheEnd) {
  HWND client = NewMDIClient(m_frame->m_hWnd);
  HWND child = NewMDIChild(client, "Child", WS_VISIBLE | WS_MAXIMIZE);
  ASSERT_NE(child, nullptr);
  ::SendMessageA(client, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(child), 0);
  ::SendMessageA(client, WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(child), 0);
  CXTMenuBar bar;
  ASSERT_TRUE(bar.Create(m_frame, WS_CHILD | WS_VISIBLE | CBRS_ALIGN_TOP | CBRS_SIZE_DYNAMIC));
  bar.SetMenu(FivePopups(), nullptr);
  EXPECT_EQ(bar.VisibleItems(CXTMenuBar::kAll).size(), 9u);
  bar.CalcDynamicLayout(-1, LM_HORZ | LM_HORZDOCK | LM_STRETCH);
  CRect inside;
  bar.CalcInsideRect(inside, TRUE);
  CRect frameClient;
  m_frame->GetClientRect(&frameClient);
  const int available = frameClient.Width() + 2 * inside.Width();  // less both borders twice
  EXPECT_EQ(bar.GetItemRect(8).right, available - ::GetSystemMetrics(SM_CXEDGE));
  EXPECT_EQ(bar.GetItemRect(7).right, bar.GetItemRect(8).left - 2);  // the restore button's spacing
  EXPECT_EQ(bar.GetItemRect(0).left, 0);
}

// ---- what the frame hook takes from the frame

TEST_F(MenuBarFrame, FrameHookFollowsActivationAndTakesMenusHandedToTheFrame) {
  CXTMenuBar bar;
  ASSERT_TRUE(bar.Create(m_frame, WS_CHILD | WS_VISIBLE | CBRS_ALIGN_TOP));
  ::SendMessageA(m_frame->m_hWnd, WM_NCACTIVATE, FALSE, 0);
  EXPECT_FALSE(bar.IsFrameActive());
  ::SendMessageA(m_frame->m_hWnd, WM_NCACTIVATE, TRUE, 0);
  EXPECT_TRUE(bar.IsFrameActive());

  HMENU handed = FivePopups(), windowMenu = ::GetSubMenu(handed, 4);
  ::SetMenu(m_frame->m_hWnd, FivePopups());
  EXPECT_EQ(::SendMessageA(m_frame->m_hWnd, WM_MDISETMENU, reinterpret_cast<WPARAM>(handed),
                           reinterpret_cast<LPARAM>(windowMenu)),
            0);
  EXPECT_EQ(bar.GetMenu(), handed);
  EXPECT_EQ(bar.GetWindowMenu(), windowMenu);
  EXPECT_EQ(::GetMenu(m_frame->m_hWnd), nullptr);
  EXPECT_EQ(bar.GetItemCount(), 9);
  bar.DestroyWindow();
}

// ---- an object active in place

namespace {

HWND g_server = nullptr;
HWND ServerOfTest(CFrameWnd*) { return g_server; }
const CXTInPlaceQuery kTestInPlace = {ServerOfTest};

}  // namespace

// The merged menu keeps the container's File and Help and carries the
// server's Edit and a View that differs from the container's; commands of
// the server's titles go to the server's window.
TEST_F(MenuBarFrame, ServerTitlesAreRecordedAndTheirCommandsForwarded) {
  g_server = ::CreateWindowExA(0, "STATIC", "server", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  CXTMenuBar bar(kTestInPlace);
  ASSERT_TRUE(bar.Create(m_frame, WS_CHILD | WS_VISIBLE | CBRS_ALIGN_TOP));
  HMENU merged = ::CreateMenu();
  auto addPopup = [&](const char* title, UINT id) {
    HMENU popup = ::CreatePopupMenu();
    ::AppendMenuA(popup, MF_STRING, id, "Item");
    ::AppendMenuA(merged, MF_POPUP, reinterpret_cast<UINT_PTR>(popup), title);
  };
  addPopup("&File", 100);  // as the container's
  addPopup("&Edit", 100);  // as the container's too
  addPopup("&View", 700);  // the server's: another id
  addPopup("&Object", 701);  // the server's own
  ASSERT_TRUE(bar.LoadMenuBar(1));  // the container's menu
  EXPECT_TRUE(bar.ServerPositions().empty());
  bar.SetMenu(merged, nullptr);
  EXPECT_EQ(bar.ServerPositions(), std::vector<int>({3, 4}));

  struct Case {
    int item;
    bool forwarded;
  } cases[] = {{1, false}, {3, true}, {4, true}};
  for (const Case& c : cases) {
    bar.SetTrackingState(CXTMenuBar::kPopupOpen, c.item);
    ::SendMessageA(m_frame->m_hWnd, WM_COMMAND, 700, 0);
    MSG msg;
    EXPECT_EQ(::PeekMessageA(&msg, g_server, WM_COMMAND, WM_COMMAND, PM_REMOVE) != FALSE, c.forwarded) << c.item;
    bar.SetTrackingState(CXTMenuBar::kIdle, -1);
  }
  bar.DestroyWindow();
  ::DestroyWindow(g_server);
}

// ---- drawing, kept as pictures

namespace {

std::string DrawnAsKept(CXTMenuBar& bar, const std::string& name) {
  CRect area;
  for (int index : bar.VisibleItems(CXTMenuBar::kAll)) area.UnionRect(area, bar.GetItemRect(index));
  DibSurface surface(area.right + 2, area.bottom + 2, bar.GetBackColor());
  for (int index : bar.VisibleItems(CXTMenuBar::kAll)) bar.GetItem(index)->Draw(&surface.dc());
  return CompareWithGolden(name, surface.width(), surface.height(), [&](int x, int y) { return surface.at(x, y); });
}

}  // namespace

// Each look: the titles at rest, Tools hot (button mode), Tools open.
TEST_F(MenuBarFrame, TitlesDrawAsKeptInBothLooks) {
  CXTMenuBar& bar = Bar(AFX_IDW_DOCKBAR_TOP, CBRS_ALIGN_TOP | CBRS_SIZE_DYNAMIC);
  bar.CalcDynamicLayout(2000, LM_HORZ);
  for (BOOL flat : {FALSE, TRUE}) {
    GetSharedState().m_xpLook = flat;
    const std::string look = flat ? "flat" : "classic";
    EXPECT_EQ(DrawnAsKept(bar, "menu_bar_" + look), "");
    bar.SetTrackingState(CXTMenuBar::kButtonMode, 4);
    EXPECT_EQ(DrawnAsKept(bar, "menu_bar_" + look + "_hot"), "");
    bar.SetTrackingState(CXTMenuBar::kPopupOpen, 4);
    EXPECT_EQ(DrawnAsKept(bar, "menu_bar_" + look + "_open"), "");
    bar.SetTrackingState(CXTMenuBar::kIdle, -1);
  }
  GetSharedState().m_xpLook = FALSE;
}

// Docked left: titles turned a quarter, read from the top, with the line
// under each mnemonic drawn by hand.
TEST_F(MenuBarFrame, VerticalTitlesDrawAsKept) {
  CXTMenuBar& bar = Bar(AFX_IDW_DOCKBAR_LEFT, CBRS_ALIGN_LEFT | CBRS_SIZE_DYNAMIC);
  bar.CalcDynamicLayout(-1, LM_VERTDOCK);
  EXPECT_EQ(DrawnAsKept(bar, "menu_bar_vertical"), "");
}

// ---- the maximised child's buttons

namespace {

struct BarTip {
  HWND bar;
  std::string text;
};

// A tip window of the thread whose first tool is the bar's.
BOOL CALLBACK FindTipOf(HWND window, LPARAM data) {
  auto* found = reinterpret_cast<BarTip*>(data);
  char name[32] = {}, text[80] = {};
  ::GetClassNameA(window, name, sizeof name);
  TOOLINFOA tool = {};
  tool.cbSize = sizeof tool;
  tool.lpszText = text;
  if (lstrcmpiA(name, TOOLTIPS_CLASSA) != 0 || !::SendMessageA(window, TTM_ENUMTOOLSA, 0, reinterpret_cast<LPARAM>(&tool)))
    return TRUE;
  if (tool.hwnd != found->bar && reinterpret_cast<HWND>(tool.uId) != found->bar) return TRUE;
  found->text = text;
  return FALSE;
}

// The text of the bar's tool in its tip window.
std::string TipText(HWND bar) {
  BarTip found = {bar, "no tool"};
  ::EnumThreadWindows(::GetCurrentThreadId(), FindTipOf, reinterpret_cast<LPARAM>(&found));
  return found.text;
}

bool IsMaximised(HWND client) {
  BOOL maximised = FALSE;
  ::SendMessageA(client, WM_MDIGETACTIVE, 0, reinterpret_cast<LPARAM>(&maximised));
  return maximised != FALSE;
}

}  // namespace

// Under the mouse the restore button is hot, tells its tip and draws (flat
// look) as kept; a press released beside it does nothing, one released on it
// restores the child.
TEST_F(MenuBarFrame, RestoreButtonActsOnlyWhenReleasedOverIt) {
  HWND client = NewMDIClient(m_frame->m_hWnd);
  ASSERT_NE(NewMDIChild(client, "Child", WS_VISIBLE | WS_MAXIMIZE | WS_OVERLAPPEDWINDOW), nullptr);
  ASSERT_TRUE(IsMaximised(client));
  CXTMenuBar bar;
  ASSERT_TRUE(bar.Create(m_frame, WS_CHILD | WS_VISIBLE | CBRS_ALIGN_TOP | CBRS_SIZE_DYNAMIC | CBRS_TOOLTIPS));
  bar.SetMenu(FivePopups(), nullptr);
  bar.CalcDynamicLayout(-1, LM_HORZ | LM_HORZDOCK | LM_STRETCH);
  const int restore = 7;
  const CRect button = bar.GetItemRect(restore);
  const CPoint on = button.CenterPoint(), beside(button.left - 30, on.y);
  auto mouse = [&](UINT message, CPoint point) {
    bar.SendMessage(message, message == WM_LBUTTONUP ? 0 : MK_LBUTTON, MAKELPARAM(point.x, point.y));
  };

  GetSharedState().m_xpLook = TRUE;
  bar.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(on.x, on.y));
  EXPECT_EQ(bar.GetHotItem(), restore);
  EXPECT_EQ(DrawnAsKept(bar, "menu_bar_child_buttons_flat"), "");
  EXPECT_EQ(TipText(bar.m_hWnd), "Restore Window");
  GetSharedState().m_xpLook = FALSE;

  mouse(WM_LBUTTONDOWN, on);
  EXPECT_EQ(bar.GetPressedButton(), restore);
  mouse(WM_MOUSEMOVE, beside);
  EXPECT_EQ(bar.GetPressedButton(), -1);  // pressed, but the mouse left it
  mouse(WM_LBUTTONUP, beside);
  PumpWaiting();
  EXPECT_TRUE(IsMaximised(client));
  EXPECT_EQ(::GetCapture(), nullptr);

  mouse(WM_LBUTTONDOWN, on);
  mouse(WM_LBUTTONUP, on);
  PumpWaiting();
  EXPECT_FALSE(IsMaximised(client));
  bar.DestroyWindow();
}

// A press whose capture is lost (another window takes it, or the system
// cancels the mode) is over: a later release over the button does nothing.
TEST_F(MenuBarFrame, APressThatLostTheCaptureIsOver) {
  HWND client = NewMDIClient(m_frame->m_hWnd);
  ASSERT_NE(NewMDIChild(client, "Child", WS_VISIBLE | WS_MAXIMIZE | WS_OVERLAPPEDWINDOW), nullptr);
  CXTMenuBar bar;
  ASSERT_TRUE(bar.Create(m_frame, WS_CHILD | WS_VISIBLE | CBRS_ALIGN_TOP | CBRS_SIZE_DYNAMIC));
  bar.SetMenu(FivePopups(), nullptr);
  bar.CalcDynamicLayout(-1, LM_HORZ | LM_HORZDOCK | LM_STRETCH);
  const int restore = 7;
  const CPoint on = bar.GetItemRect(restore).CenterPoint();
  HWND other = ::CreateWindowExA(0, "STATIC", "", WS_CHILD, 0, 0, 5, 5, m_frame->m_hWnd, nullptr, nullptr, nullptr);
  const struct {
    const char* way;
    std::function<void()> lose;
  } ways[] = {
      {"another window takes the capture", [&] { ::SetCapture(other); }},
      {"the mode is cancelled", [&] { bar.SendMessage(WM_CANCELMODE); }},
  };
  for (const auto& way : ways) {
    bar.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(on.x, on.y));
    ASSERT_EQ(bar.GetPressedButton(), restore) << way.way;
    way.lose();
    EXPECT_EQ(bar.GetPressedButton(), -1) << way.way;
    ::ReleaseCapture();
    bar.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(on.x, on.y));
    PumpWaiting();
    EXPECT_TRUE(IsMaximised(client)) << way.way;
  }
  ::DestroyWindow(other);
  bar.DestroyWindow();
}

// The system menu of a maximised child, opened from its icon on the bar, is
// the system's own: the frame's cool menus leave its items as they are.
TEST_F(MenuBarFrame, TheChildsSystemMenuIsLeftToTheSystem) {
  m_frame->ShowWindow(SW_SHOW);
  HWND client = NewMDIClient(m_frame->m_hWnd);
  CXTCoolMenu cool;
  cool.Install(m_frame);
  CXTMenuBar bar;
  ASSERT_TRUE(bar.Create(m_frame, WS_CHILD | WS_VISIBLE | CBRS_ALIGN_TOP | CBRS_SIZE_DYNAMIC));
  bar.SetMenu(FivePopups(), nullptr);
  // Made after the bar, as in a frame: the frame's menu it replaced is gone.
  HWND child = NewMDIChild(client, "Child", WS_VISIBLE | WS_MAXIMIZE | WS_OVERLAPPEDWINDOW);
  ::SendMessageA(client, WM_PAINT, 0, 0);
  ASSERT_EQ(bar.GetMaximisedChild(), child);
  bar.CalcDynamicLayout(-1, LM_HORZ | LM_HORZDOCK | LM_STRETCH);
  HMENU system = ::GetSystemMenu(child, FALSE);
  int shown = 0;
  bool ownerDrawn = false;
  TrackWithScript(
      [&](HWND) {
        ++shown;
        for (int i = 0; i < ::GetMenuItemCount(system); ++i)
          ownerDrawn = ownerDrawn || (::GetMenuState(system, i, MF_BYPOSITION) & MF_OWNERDRAW);
        ::EndMenu();
        return true;
      },
      [&] {
        const CPoint icon = bar.GetItemRect(0).CenterPoint();
        bar.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(icon.x, icon.y));
      });
  EXPECT_GT(shown, 0);
  EXPECT_FALSE(ownerDrawn);
  bar.DestroyWindow();
}

// The MDI client's hook: menus handed to the client go to the bar (the
// frame keeps none of its own), and the bar follows a child that becomes
// maximised when the client paints.
TEST_F(MenuBarFrame, ClientHookTakesMenusAndFollowsTheMaximisedChild) {
  HWND client = NewMDIClient(m_frame->m_hWnd);
  HWND child = NewMDIChild(client, "Child", WS_VISIBLE | WS_OVERLAPPEDWINDOW);
  ASSERT_NE(child, nullptr);
  CXTMenuBar bar;
  ASSERT_TRUE(bar.Create(m_frame, WS_CHILD | WS_VISIBLE | CBRS_ALIGN_TOP));
  EXPECT_EQ(bar.GetMaximisedChild(), nullptr);

  HMENU handed = FivePopups(), windowMenu = ::GetSubMenu(handed, 4);
  ::SetMenu(m_frame->m_hWnd, FivePopups());
  EXPECT_EQ(::SendMessageA(client, WM_MDISETMENU, reinterpret_cast<WPARAM>(handed),
                           reinterpret_cast<LPARAM>(windowMenu)),
            0);
  EXPECT_EQ(bar.GetMenu(), handed);
  EXPECT_EQ(bar.GetWindowMenu(), windowMenu);
  EXPECT_EQ(::GetMenu(m_frame->m_hWnd), nullptr);

  ::SendMessageA(client, WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(child), 0);
  EXPECT_EQ(bar.GetMaximisedChild(), nullptr);
  ::SendMessageA(client, WM_PAINT, 0, 0);  // the frame is hidden: nothing paints by itself
  EXPECT_EQ(bar.GetMaximisedChild(), child);
  bar.DestroyWindow();
}
