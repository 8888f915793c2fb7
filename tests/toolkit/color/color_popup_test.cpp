// The colour cell pop-up: its size by style, the cells its keys lead to, what
// ending a choice tells the listeners, the recent colours, and its drawing;
// the colour dialog's honeycomb picked with the mouse and the keys, its hex
// field, and the honeycomb's mark as drawn.
#include <gtest/gtest.h>

#include <vector>

#include "classlib/classlib.h"
#include "dialog_robot.h"
#include "dib_surface.h"
#include "golden_image.h"
#include "toolkit/color/ColorCellPopup.h"
#include "toolkit/color/ColorDialog.h"
#include "toolkit/color/ColorHoneycomb.h"
#include "toolkit/color/ColorMessages.h"
#include "toolkit/color/HoneycombLayout.h"
#include "toolkit/common/SharedState.h"
#include "toolkit_resource.h"

namespace {

CWinApp theApp("Toolkit Colour Test");

class ColorEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    ASSERT_TRUE(AfxWinInit(::GetModuleHandleA(nullptr), nullptr, const_cast<LPSTR>(""), SW_SHOWNORMAL));
  }
};
const auto* const kEnvironment = ::testing::AddGlobalTestEnvironment(new ColorEnvironment);

const COLORREF kRed = RGB(255, 0, 0), kGreen = RGB(0, 128, 0), kAutomatic = RGB(0, 0, 0);

// A hidden window that records the colour messages it is sent.
class CListener : public CWnd {
 public:
  struct Heard {
    UINT message;
    COLORREF color;
    LPARAM lParam;
  };
  CListener() { CreateEx(0, AfxRegisterWndClass(0), "listener", WS_POPUP, CRect(0, 0, 10, 10), nullptr, 0); }
  ~CListener() override { DestroyWindow(); }
  std::vector<Heard> heard;

 protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message >= XTWM_COLOR_UNCHANGED && message <= XTWM_COLOR_NONE)
      heard.push_back({message, static_cast<COLORREF>(wParam), lParam});
    return CWnd::WindowProc(message, wParam, lParam);
  }
};

class Popup : public ::testing::Test {
 protected:
  void SetUp() override {
    MoveCursor({1200, 1000});  // no cell hot under the mouse
    CXTColorCellPopup::RecentColors().clear();
  }
  void TearDown() override {
    if (m_popup.m_hWnd) m_popup.DestroyWindow();
    GetSharedState().m_xpLook = FALSE;
  }
  void Open(DWORD style, COLORREF current = kRed, COLORREF defaultColor = kAutomatic) {
    ASSERT_TRUE(m_popup.Create(CRect(100, 100, 120, 120), &m_owner, style | XTCP_POPUPWINDOW, current, defaultColor));
  }
  // The hot cell after key, from the hot cell at.
  int KeyFrom(int at, UINT key) {
    while (m_popup.GetHotIndex() != at) m_popup.SendMessage(WM_KEYDOWN, VK_RIGHT);
    m_popup.SendMessage(WM_KEYDOWN, key);
    return m_popup.GetHotIndex();
  }
  CListener m_owner;
  CXTColorCellPopup m_popup;
};

// Width 144 always; 110 high, 34 more for 40 colours, 28 less without the
// "More Colors..." button, a row of 26 more with recent colours to show.
TEST_F(Popup, SizeFollowsTheStyleAndTheRecentColours) {
  const struct {
    DWORD style;
    bool recent;
    int height;
  } cases[] = {
      {0x00, false, 82}, {0x02, false, 116}, {0x04, false, 110}, {0x06, false, 144},
      {0x00, true, 82},  {0x02, true, 116},  {0x04, true, 136},  {0x06, true, 170},
  };
  for (const auto& c : cases) {
    CXTColorCellPopup::RecentColors().assign(c.recent ? 3 : 0, kGreen);
    CXTColorCellPopup popup;
    ASSERT_TRUE(popup.Create(CRect(100, 100, 120, 120), &m_owner, c.style | XTCP_POPUPWINDOW, kRed, kAutomatic));
    CRect rect;
    popup.GetWindowRect(&rect);
    EXPECT_EQ(rect, CRect(100, 120, 244, 120 + c.height)) << c.style << " " << c.recent;
    popup.DestroyWindow();
  }
}

TEST_F(Popup, TheCurrentColourSelectsOneCell) {
  const struct {
    DWORD style;
    COLORREF current;
    int selected;
  } cases[] = {
      {0x00, kAutomatic, 0},         // the default: "Automatic", not the black cell
      {XTCP_NOFILL, kAutomatic, 1},  // "No Fill" stands for no colour: the black cell
      {0x00, kRed, 11},              // Red is the 11th of the 16
      {0x04, RGB(1, 2, 3), 17},      // no cell of it: "More Colors..."
      {0x00, RGB(1, 2, 3), -1},
  };
  for (const auto& c : cases) {
    CXTColorCellPopup popup;
    ASSERT_TRUE(popup.Create(CRect(0, 0, 10, 10), &m_owner, c.style | XTCP_POPUPWINDOW, c.current, kAutomatic));
    EXPECT_EQ(popup.GetSelectedIndex(), c.selected) << c.style << " " << c.current;
    popup.DestroyWindow();
  }
}

// Cells: 0 the top button, 1..16 the colours in rows of 8, then the recent
// colours, last "More Colors..." (17 here, with no recent colours).
TEST_F(Popup, ArrowKeysMoveAsTabled) {
  Open(XTCP_MORECOLORS);
  ASSERT_EQ(m_popup.GetLastIndex(), 17);
  const struct {
    int from;
    UINT key;
    int to;
  } cases[] = {
      {0, VK_DOWN, 8},   {3, VK_DOWN, 11}, {9, VK_DOWN, 17}, {17, VK_DOWN, 0}, {5, VK_UP, 0},
      {8, VK_UP, 0},     {12, VK_UP, 4},   {0, VK_UP, 17},   {17, VK_UP, 9},   {0, VK_LEFT, 17},
      {17, VK_RIGHT, 0}, {4, VK_RIGHT, 5}, {4, VK_LEFT, 3},
  };
  for (const auto& c : cases) EXPECT_EQ(KeyFrom(c.from, c.key), c.to) << c.from << " key " << c.key;
}

// Without "More Colors..." there is no cell after the colours: the keys
// wrap to the last colour, and Enter there picks it.
TEST_F(Popup, WithoutMoreColorsTheKeysWrapToTheLastColour) {
  Open(0x00);
  EXPECT_EQ(m_popup.GetLastIndex(), 16);
  EXPECT_EQ(KeyFrom(0, VK_LEFT), 16);
  m_popup.SendMessage(WM_KEYDOWN, VK_RETURN);
  ASSERT_EQ(m_owner.heard.size(), 1u);
  EXPECT_EQ(m_owner.heard[0].message, UINT{XTWM_COLOR_CHOSEN});
  EXPECT_EQ(m_owner.heard[0].color, RGB(255, 0, 255));
}

TEST_F(Popup, EndingTellsEveryListenerStillAWindow) {
  const struct {
    DWORD style;
    int index;
    UINT message;
    COLORREF color;
  } cases[] = {
      {0x00, 11, XTWM_COLOR_UNCHANGED, kRed},        // the current colour again
      {0x00, 5, XTWM_COLOR_CHOSEN, RGB(0, 128, 0)},  // Green
      {0x00, -1, XTWM_COLOR_CANCELLED, kRed},
      {0x00, 0, XTWM_COLOR_CHOSEN, kAutomatic},  // "Automatic": the default colour
      {XTCP_NOFILL, 0, XTWM_COLOR_NONE, static_cast<COLORREF>(-1)},
  };
  for (const auto& c : cases) {
    CListener owner, other;
    CXTColorCellPopup popup;
    ASSERT_TRUE(popup.Create(CRect(0, 0, 10, 10), &owner, c.style | XTCP_POPUPWINDOW, kRed, kAutomatic));
    HWND gone = ::CreateWindowA("STATIC", "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
    popup.AddListener(gone);
    popup.AddListener(other.m_hWnd);
    ::DestroyWindow(gone);
    popup.EndSelection(c.index, 77);
    for (CListener* listener : {&owner, &other}) {
      ASSERT_EQ(listener->heard.size(), 1u) << c.index;
      EXPECT_EQ(listener->heard[0].message, c.message) << c.index;
      EXPECT_EQ(listener->heard[0].color, c.color) << c.index;
      EXPECT_EQ(listener->heard[0].lParam, 77);
    }
    popup.DestroyWindow();
  }
}

TEST_F(Popup, AClickOnACellPicksIt) {
  Open(0x00);
  const CPoint green = m_popup.GetCellRect(5).CenterPoint();
  const LPARAM at = MAKELPARAM(green.x, green.y);
  m_popup.SendMessage(WM_MOUSEMOVE, 0, at);
  m_popup.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, at);
  m_popup.SendMessage(WM_LBUTTONUP, 0, at);
  ASSERT_EQ(m_owner.heard.size(), 1u);
  EXPECT_EQ(m_owner.heard[0].color, RGB(0, 128, 0));
}

// "More Colors..." runs the dialog; the colour it gives joins the recent
// ones, a ninth pushing out the oldest.
TEST_F(Popup, MoreColorsAddsTheDialogsColourToTheRecentOnes) {
  std::vector<COLORREF>& recent = CXTColorCellPopup::RecentColors();
  for (int i = 0; i < 8; ++i) recent.push_back(RGB(i, i, i));
  Open(XTCP_MORECOLORS, kGreen);
  ASSERT_EQ(m_popup.GetLastIndex(), 25);
  {
    DialogRobot robot({{"Colors", [](HWND sheet) { Press(sheet, IDOK); }}});
    m_popup.EndSelection(m_popup.GetLastIndex());
    EXPECT_TRUE(robot.Finished());
  }
  ASSERT_EQ(m_owner.heard.size(), 1u);
  EXPECT_EQ(m_owner.heard[0].message, UINT{XTWM_COLOR_UNCHANGED});
  ASSERT_EQ(recent.size(), 8u);
  EXPECT_EQ(recent.front(), RGB(1, 1, 1));
  EXPECT_EQ(recent.back(), kGreen);
}

std::string PopupAsKept(CXTColorCellPopup& popup, const std::string& name) {
  CRect client;
  popup.GetClientRect(&client);
  DibSurface surface(client.Width(), client.Height());
  surface.dc().FillSolidRect(&client, GetSharedState().m_xpLook ? GetToolkitColor(41) : GetSharedState().m_clrFace);
  popup.Draw(surface.dc());
  return CompareWithGolden(name, client.Width(), client.Height(), [&](int x, int y) { return surface.at(x, y); });
}

// 40 colours, recent ones and "More Colors...": Red selected, the Lime cell hot.
TEST_F(Popup, DrawsAsKeptInBothLooks) {
  CXTColorCellPopup::RecentColors() = {RGB(10, 20, 30), RGB(200, 100, 0)};
  for (const bool flat : {false, true}) {
    GetSharedState().m_xpLook = flat;
    GetSharedState().RefreshToolkitColors();
    CXTColorCellPopup popup;
    ASSERT_TRUE(popup.Create(CRect(0, 0, 10, 10), &m_owner, 0x06 | XTCP_POPUPWINDOW, kRed, kAutomatic));
    while (popup.GetHotIndex() != 19) popup.SendMessage(WM_KEYDOWN, VK_RIGHT);
    EXPECT_EQ(PopupAsKept(popup, flat ? "color_popup_flat" : "color_popup_classic"), "");
    popup.DestroyWindow();
  }
  GetSharedState().m_xpLook = FALSE;
  CXTColorCellPopup popup;
  ASSERT_TRUE(popup.Create(CRect(0, 0, 10, 10), &m_owner, XTCP_NOFILL | XTCP_POPUPWINDOW, kAutomatic, kAutomatic));
  EXPECT_EQ(PopupAsKept(popup, "color_popup_nofill_classic"), "");
  popup.DestroyWindow();
}

// ---- the colour dialog

const xtcolor::HoneycombCell& Cell(int index) { return xtcolor::HoneycombCells()[index]; }

LPARAM CellCentre(int index) {
  const auto& cell = Cell(index);
  return cell.large ? MAKELPARAM(cell.x + 14, cell.y + 8) : MAKELPARAM(cell.x + 7, cell.y + 4);
}

HWND Honeycomb(HWND sheet) {
  HWND page = reinterpret_cast<HWND>(::SendMessageA(sheet, PSM_GETCURRENTPAGEHWND, 0, 0));
  return ::GetDlgItem(page, IDC_XT_HONEYCOMB);
}

// A click on a cell makes it the new colour and the hex field follows;
// Down from cell 119 goes to the large white cell; OK accepts.
TEST(ColorDialog, HoneycombPicksByMouseAndKeys) {
  CXTColorDialog dialog(RGB(1, 2, 3), RGB(1, 2, 3), XTCD_HEXFIELD);
  std::string hexAfterClick;
  DialogRobot robot({{"Colors", [&](HWND sheet) {
                        HWND honeycomb = Honeycomb(sheet);
                        ::SendMessageA(honeycomb, WM_LBUTTONDOWN, MK_LBUTTON, CellCentre(12));
                        ::SendMessageA(honeycomb, WM_LBUTTONUP, 0, CellCentre(12));
                        hexAfterClick = ItemText(sheet, 101);
                        ::SendMessageA(honeycomb, WM_LBUTTONDOWN, MK_LBUTTON, CellCentre(119));
                        ::SendMessageA(honeycomb, WM_LBUTTONUP, 0, CellCentre(119));
                        ::PostMessageA(honeycomb, WM_KEYDOWN, VK_DOWN, 0);
                        ::PostMessageA(honeycomb, WM_KEYDOWN, VK_RETURN, 0);
                      }}});
  EXPECT_EQ(dialog.DoModal(), IDOK);
  EXPECT_TRUE(robot.Finished());
  EXPECT_EQ(hexAfterClick, "Hex: 0000FF");  // cell 12 holds 0xFF0000: blue
  EXPECT_EQ(dialog.GetColor(), RGB(255, 255, 255));
}

TEST(ColorDialog, FramesAndLayout) {
  CXTColorDialog dialog(RGB(0, 255, 10), kRed, XTCD_HEXFIELD);
  CRect sheetRect, okRect;
  std::string hex;
  DialogRobot robot({{"Colors", [&](HWND sheet) {
                        ::GetWindowRect(sheet, &sheetRect);
                        ::GetWindowRect(::GetDlgItem(sheet, IDOK), &okRect);
                        ::MapWindowPoints(nullptr, sheet, reinterpret_cast<POINT*>(&okRect), 2);
                        hex = ItemText(sheet, 101);
                        Press(sheet, IDCANCEL);
                      }}});
  EXPECT_EQ(dialog.DoModal(), IDCANCEL);
  EXPECT_EQ(sheetRect.Size(), CSize(329, 341));
  EXPECT_EQ(okRect.Size(), CSize(75, 22));
  EXPECT_EQ(hex, "Hex: 00FF0A");
}

// White, the dialog's new colour, marks both white cells.
TEST(ColorDialog, HoneycombMarksBothWhiteCellsAsKept) {
  CXTColorDialog dialog(RGB(255, 255, 255), kRed);
  CWnd host;
  ASSERT_TRUE(host.CreateEx(0, AfxRegisterWndClass(0), "host", WS_POPUP, CRect(0, 0, 220, 220), nullptr, 0));
  CXTColorHoneycomb honeycomb(&dialog);
  ASSERT_TRUE(honeycomb.Create("", WS_CHILD | WS_VISIBLE, CRect(0, 0, 202, 206), &host, IDC_XT_HONEYCOMB));
  honeycomb.SetColor(RGB(255, 255, 255));
  DibSurface surface(202, 206);
  honeycomb.Draw(surface.dc());
  EXPECT_EQ(CompareWithGolden("color_honeycomb_white", 202, 206, [&](int x, int y) { return surface.at(x, y); }), "");
  // The mark: white on the centre cell's border, black just outside it.
  EXPECT_EQ(surface.at(100, 79), RGB(255, 255, 255));
  EXPECT_EQ(surface.at(99, 79), RGB(0, 0, 0));
  honeycomb.DestroyWindow();
  host.DestroyWindow();
}

}  // namespace
