// The cool menu on a plain frame window: menus opened (by message and by
// real tracking) and closed come back exactly as they were, foreign item
// data is left alone, hidden commands and the expand item, menu keys,
// measuring, the recent list in the registry, and a pending quit kept.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "classlib/winapp.h"
#include "cool_menu_fixture.h"
#include "tests/support/dialog_robot.h"
#include "tests/support/dib_surface.h"
#include "toolkit/common/ImageStore.h"
#include "toolkit/common/SharedState.h"
#include "toolkit/menus/CoolMenu.h"
#include "toolkit/menus/PopupMenuWatch.h"
#include "toolkit/paint/DropShadow.h"

namespace {

CWinApp theApp("Menus Test");
const char kCompany[] = "BrennicorToolkitMenusTest";

enum : UINT { kOpen = 100, kSave = 101, kExport = 102, kImport = 103, kExit = 104, kForeign = 105 };

// Everything GetMenuItemInfo tells of one item.
struct ItemSnapshot {
  UINT type, state, id;
  HMENU submenu;
  ULONG_PTR data;
  std::string text;
  bool operator==(const ItemSnapshot& o) const {
    return type == o.type && state == o.state && id == o.id && submenu == o.submenu && data == o.data && text == o.text;
  }
};
std::ostream& operator<<(std::ostream& os, const ItemSnapshot& s) {
  return os << s.id << " '" << s.text << "' type " << s.type << " state " << s.state << " data " << s.data;
}

std::vector<ItemSnapshot> Snapshot(HMENU menu) {
  std::vector<ItemSnapshot> items;
  for (int i = 0; i < ::GetMenuItemCount(menu); ++i) {
    char text[128] = "";
    MENUITEMINFOA info = {};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_SUBMENU | MIIM_DATA | MIIM_STRING;
    info.dwTypeData = text;
    info.cch = sizeof text;
    ::GetMenuItemInfoA(menu, i, TRUE, &info);
    items.push_back({info.fType, info.fState, info.wID, info.hSubMenu, info.dwItemData, text});
  }
  return items;
}

std::vector<UINT> Ids(HMENU menu) {
  std::vector<UINT> ids;
  for (int i = 0; i < ::GetMenuItemCount(menu); ++i) ids.push_back(::GetMenuItemID(menu, i));
  return ids;
}

// File: Open, Save*, -, Export*, Import*, -, Exit, and an owner-drawn item of
// another owner holding the number 42 (* hidden commands).
HMENU MakeFileMenu() {
  HMENU menu = ::CreatePopupMenu();
  ::AppendMenuA(menu, MF_STRING, kOpen, "&Open...\tCtrl+O");
  ::AppendMenuA(menu, MF_STRING, kSave, "&Save");
  ::AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
  ::AppendMenuA(menu, MF_STRING, kExport, "&Export");
  ::AppendMenuA(menu, MF_STRING | MF_GRAYED, kImport, "&Import");
  ::AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
  ::AppendMenuA(menu, MF_STRING, kExit, "E&xit");
  ::AppendMenuA(menu, MF_OWNERDRAW, kForeign, reinterpret_cast<LPCSTR>(42));
  return menu;
}

class CoolMenuTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ::RegDeleteTreeA(HKEY_CURRENT_USER, (CString("Software\\") + kCompany));
    theApp.SetRegistryKey(kCompany);
    m_frame = CreateTestFrame();
    m_frameWnd.Attach(m_frame);
    m_menu = MakeFileMenu();
    m_cool.Install(&m_frameWnd);
    const UINT hidden[] = {kSave, kExport, kImport};
    m_cool.HideCommands(hidden, 3);
    CXTCoolMenu::SetMenuBarPopup(TRUE);
  }
  void TearDown() override {
    CXTCoolMenu::SetMenuBarPopup(FALSE);
    m_cool.HookWindow(static_cast<HWND>(nullptr));
    m_frameWnd.Detach();
    ::DestroyWindow(m_frame);
    ::DestroyMenu(m_menu);
    GetSharedState().m_xpLook = FALSE;
  }
  void Open() { ::SendMessageA(m_frame, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(m_menu), 0); }
  void Close() { ::SendMessageA(m_frame, WM_MENUSELECT, MAKEWPARAM(0, 0xFFFF), 0); }

  HWND m_frame = nullptr;
  CWnd m_frameWnd;
  HMENU m_menu = nullptr;
  CXTCoolMenu m_cool;
};

}  // namespace

TEST_F(CoolMenuTest, HiddenCommandsLeaveAndComeBackInPlace) {
  const std::vector<ItemSnapshot> before = Snapshot(m_menu);
  Open();
  // Hidden commands out, the separator left doubled by them gone, the expand item last.
  EXPECT_EQ(Ids(m_menu), (std::vector<UINT>{kOpen, 0, kExit, kForeign, XT_IDC_FULL_MENUS}));
  const std::vector<ItemSnapshot> open = Snapshot(m_menu);
  EXPECT_TRUE(open[0].type & MFT_OWNERDRAW);
  EXPECT_TRUE(m_cool.FindRecord(open[0].data));
  EXPECT_EQ(open[3], before[7]);  // the other owner's item is untouched
  EXPECT_EQ(m_cool.FindRecord(42), nullptr);
  Close();
  const std::vector<ItemSnapshot> after = Snapshot(m_menu);
  ASSERT_EQ(after.size(), before.size());
  for (size_t i = 0; i < before.size(); ++i) EXPECT_EQ(after[i], before[i]) << i;
}

// A strip of two images of the menus' size: the first goes to its command,
// the second is skipped by a 0; a strip too narrow for an image adds nothing.
TEST_F(CoolMenuTest, AddImagesPutsAStripUnderItsCommands) {
  CClientDC screen(nullptr);
  HBITMAP strip = ::CreateCompatibleBitmap(screen.m_hDC, 32, 15);
  const UINT ids[] = {9101, 0};
  ASSERT_TRUE(m_cool.AddImages(strip, ids, 2));
  EXPECT_NE(GetImageStore().LookupForMenu(9101), nullptr);
  HBITMAP narrow = ::CreateCompatibleBitmap(screen.m_hDC, 8, 15);
  const UINT other[] = {9102};
  EXPECT_FALSE(m_cool.AddImages(narrow, other, 1));
  EXPECT_EQ(GetImageStore().LookupForMenu(9102), nullptr);
  EXPECT_FALSE(m_cool.AddImages(4242u, other, 1)) << "no such bitmap";
  ::DeleteObject(strip);
  ::DeleteObject(narrow);
}

TEST_F(CoolMenuTest, RecentCommandsStayAndFullMenusHideNothing) {
  m_cool.AddRecentItem(kSave);
  m_cool.AddRecentItem(kExport);
  m_cool.AddRecentItem(kImport);
  Open();  // every hideable command is recent: nothing leaves, no expand item
  EXPECT_EQ(Ids(m_menu), (std::vector<UINT>{kOpen, kSave, 0, kExport, kImport, 0, kExit, kForeign}));
  Close();
  m_cool.ResetRecentItems();
  ::SendMessageA(m_frame, WM_COMMAND, XT_IDC_FULL_MENUS, 0);
  Open();
  EXPECT_EQ(Ids(m_menu), (std::vector<UINT>{kOpen, kSave, 0, kExport, kImport, 0, kExit, kForeign}));
  Close();
  CXTCoolMenu::SetMenuBarPopup(FALSE);  // not from the menu bar: nothing hidden either
  Open();
  EXPECT_EQ(::GetMenuItemCount(m_menu), 8);
  Close();
}

TEST_F(CoolMenuTest, RecentListKeepsTheNewestFiveInTheRegistry) {
  const UINT hidden[] = {201, 202, 203, 204, 205, 206};
  m_cool.HideCommands(hidden, 6);
  for (UINT id : hidden) m_cool.AddRecentItem(id);
  m_cool.AddRecentItem(kOpen);  // not hidden, not recent: not listed
  HKEY key = nullptr;
  ASSERT_EQ(::RegOpenKeyExA(HKEY_CURRENT_USER,
                            (CString("Software\\") + kCompany + "\\Menus Test\\Recent Item List"), 0, KEY_READ, &key),
            ERROR_SUCCESS);
  std::vector<DWORD> stored;
  for (int n = 1; n <= 6; ++n) {
    DWORD value = 0, size = sizeof value;
    char name[16];
    snprintf(name, sizeof name, "Item%d", n);
    if (::RegQueryValueExA(key, name, nullptr, nullptr, reinterpret_cast<BYTE*>(&value), &size) == ERROR_SUCCESS)
      stored.push_back(value);
  }
  ::RegCloseKey(key);
  EXPECT_EQ(stored, (std::vector<DWORD>{206, 205, 204, 203, 202}));
  EXPECT_FALSE(m_cool.IsRecentItem(201));
  m_cool.AddRecentItem(203);  // used again: first
  EXPECT_TRUE(m_cool.IsRecentItem(203));
  m_cool.ResetRecentItems();
  EXPECT_FALSE(m_cool.IsRecentItem(206));
}

TEST_F(CoolMenuTest, MenuKeysExecuteOneMatchAndCycleThroughSeveral) {
  HMENU menu = ::CreatePopupMenu();
  ::AppendMenuA(menu, MF_STRING, 1, "&Save");
  ::AppendMenuA(menu, MF_STRING, 2, "&Open");
  ::AppendMenuA(menu, MF_STRING, 3, "&Send");
  ::AppendMenuA(menu, MF_STRING, 4, "Save && &Quit");
  ::SendMessageA(m_frame, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(menu), 0);
  auto highlight = [&](int position) {
    for (int i = 0; i < 4; ++i) {
      MENUITEMINFOA info = {};
      info.cbSize = sizeof info;
      info.fMask = MIIM_STATE;
      info.fState = i == position ? MFS_HILITE : 0;
      ::SetMenuItemInfoA(menu, i, TRUE, &info);
    }
  };
  struct {
    char key;
    int highlighted;
    LRESULT expected;
  } cases[] = {
      {'o', -1, MAKELRESULT(1, MNC_EXECUTE)}, {'q', -1, MAKELRESULT(3, MNC_EXECUTE)},
      {'s', -1, MAKELRESULT(0, MNC_SELECT)},  {'S', 0, MAKELRESULT(2, MNC_SELECT)},
      {'s', 2, MAKELRESULT(0, MNC_SELECT)},   {'x', -1, 0},
  };
  for (const auto& c : cases) {
    highlight(c.highlighted);
    EXPECT_EQ(m_cool.OnMenuChar(c.key, MF_POPUP, menu), c.expected) << c.key << c.highlighted;
  }
  ::SendMessageA(m_frame, WM_MENUSELECT, MAKEWPARAM(0, 0xFFFF), 0);
  ::DestroyMenu(menu);
}

TEST_F(CoolMenuTest, MeasuringFollowsTheLook) {
  Open();
  const std::vector<ItemSnapshot> items = Snapshot(m_menu);
  auto measure = [&](const ItemSnapshot& item) {
    MEASUREITEMSTRUCT m = {ODT_MENU, 0, item.id, 0, 0, item.data};
    EXPECT_TRUE(m_cool.OnMeasureItem(&m));
    return m;
  };
  const int cyMenu = ::GetSystemMetrics(SM_CYMENU);
  const MEASUREITEMSTRUCT separator = measure(items[1]);
  EXPECT_EQ(separator.itemHeight, 3u);
  EXPECT_EQ(separator.itemWidth, 0u);
  GetSharedState().m_xpLook = TRUE;
  const MEASUREITEMSTRUCT flat = measure(items[0]), flatExpand = measure(items[4]);
  GetSharedState().m_xpLook = FALSE;
  const MEASUREITEMSTRUCT classic = measure(items[0]), classicExpand = measure(items[4]);
  EXPECT_GE(classic.itemHeight, static_cast<UINT>(cyMenu));
  EXPECT_GE(classic.itemWidth, 100u);
  EXPECT_EQ(flatExpand.itemHeight, 15u);  // the image height
  EXPECT_EQ(classicExpand.itemHeight, static_cast<UINT>(cyMenu + 1));
  if (classic.itemWidth > 100 && flat.itemWidth > 100) {  // text + image + 28 against text + 2 images + 2
    EXPECT_EQ(static_cast<int>(flat.itemWidth) - static_cast<int>(classic.itemWidth), 28 - 16 - 2);
  }
  MEASUREITEMSTRUCT foreign = {ODT_MENU, 0, kForeign, 0, 0, 42};
  EXPECT_FALSE(m_cool.OnMeasureItem(&foreign));
  Close();
}

// In the flat look the first item is a pixel taller and the last three
// pixels shorter, room for the popup's border; the classic look measures
// them all alike.
TEST_F(CoolMenuTest, FlatFirstAndLastItemsMakeRoomForTheBorder) {
  CXTCoolMenu::SetMenuBarPopup(FALSE);
  HMENU menu = ::CreatePopupMenu();
  for (UINT id = 1; id <= 3; ++id) ::AppendMenuA(menu, MF_STRING, id, "Item");
  ::SendMessageA(m_frame, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(menu), 0);
  auto heights = [&] {
    std::vector<int> h;
    for (const ItemSnapshot& item : Snapshot(menu)) {
      MEASUREITEMSTRUCT m = {ODT_MENU, 0, item.id, 0, 0, item.data};
      m_cool.OnMeasureItem(&m);
      h.push_back(static_cast<int>(m.itemHeight));
    }
    return h;
  };
  const std::vector<int> classic = heights();
  GetSharedState().m_xpLook = TRUE;
  const std::vector<int> flat = heights();
  EXPECT_EQ(classic, (std::vector<int>{classic[1], classic[1], classic[1]}));
  EXPECT_EQ(flat, (std::vector<int>{flat[1] + 1, flat[1], flat[1] - 3}));
  Close();
  ::DestroyMenu(menu);
}

// A grayed item the keyboard selects is framed; once the mouse moves it is not.
TEST_F(CoolMenuTest, GrayedItemsAreMarkedOnlyWhereTheKeyboardSelects) {
  GetSharedState().m_xpLook = TRUE;
  ::SendMessageA(m_frame, WM_COMMAND, XT_IDC_FULL_MENUS, 0);
  Open();
  const ItemSnapshot import = Snapshot(m_menu)[4];
  ASSERT_EQ(import.id, static_cast<UINT>(kImport));
  DibSurface surface(200, 24, RGB(1, 2, 3));
  DRAWITEMSTRUCT item = {ODT_MENU, 0, kImport, ODA_DRAWENTIRE, ODS_SELECTED | ODS_GRAYED, nullptr,
                         surface.dc().m_hDC, {0, 0, 200, 24}, import.data};
  auto frameColor = [&] {
    m_cool.OnDrawItem(&item);
    return surface.at(1, 0);
  };
  CXTPopupMenuWatch::FollowMouse(WM_KEYDOWN);
  EXPECT_EQ(frameColor(), GetToolkitColor(32));
  MoveCursor({10, 10});
  CXTPopupMenuWatch::FollowMouse(WM_MOUSEMOVE);
  MoveCursor({20, 20});
  CXTPopupMenuWatch::FollowMouse(WM_MOUSEMOVE);
  EXPECT_EQ(frameColor(), GetToolkitColor(42));  // the column of a command shown because menus are full
  Close();
}

// Mnemonics are underlined only while the system shows keyboard cues.
TEST_F(CoolMenuTest, MnemonicsFollowTheKeyboardCuesSetting) {
  Open();
  const ItemSnapshot open = Snapshot(m_menu)[0];
  BOOL saved = FALSE;
  ::SystemParametersInfoA(SPI_GETKEYBOARDCUES, 0, &saved, 0);
  auto draw = [&](BOOL cues) {
    ::SystemParametersInfoA(SPI_SETKEYBOARDCUES, 0, reinterpret_cast<void*>(static_cast<INT_PTR>(cues)), 0);
    DibSurface surface(200, 24);
    DRAWITEMSTRUCT item = {ODT_MENU, 0, kOpen, ODA_DRAWENTIRE, 0, nullptr, surface.dc().m_hDC, {0, 0, 200, 24},
                           open.data};
    m_cool.OnDrawItem(&item);
    return surface.pixels(200 * 24);
  };
  const std::vector<DWORD> underlined = draw(TRUE), plain = draw(FALSE), again = draw(TRUE);
  ::SystemParametersInfoA(SPI_SETKEYBOARDCUES, 0, reinterpret_cast<void*>(static_cast<INT_PTR>(saved)), 0);
  EXPECT_NE(underlined, plain);
  EXPECT_EQ(underlined, again);
  Close();
}

// With full menus the classic look edges each block of hidden commands,
// dark above and light below; a separator inside a block takes the block's
// colour, so Save, -, Export and Import read as one block.
TEST_F(CoolMenuTest, FullMenusEdgeEachBlockOfHiddenCommands) {
  ::SendMessageA(m_frame, WM_COMMAND, XT_IDC_FULL_MENUS, 0);
  Open();
  const std::vector<ItemSnapshot> items = Snapshot(m_menu);  // Open, Save, -, Export, Import, -, Exit, other
  const COLORREF dark = ::GetSysColor(COLOR_3DSHADOW), light = ::GetSysColor(COLOR_3DHILIGHT);
  const COLORREF menu = ::GetSysColor(COLOR_MENU);
  // A block colour of its own: the system's may equal the menu's.
  const COLORREF saved = GetSharedState().m_clrLightFace, block = RGB(0xE0, 0xD0, 0xC0);
  GetSharedState().m_clrLightFace = block;
  const struct {
    int position;
    COLORREF top, bottom;
  } cases[] = {
      {1, dark, block},   // Save starts the block; the separator below carries it on
      {2, block, block},  // the separator inside the block
      {3, block, block},  // Export, carried on from above
      {4, block, light},  // Import ends the block
      {5, menu, menu},    // the separator after the block is no part of it
  };
  auto draw = [&](int position, DibSurface* surface) {
    DRAWITEMSTRUCT item = {ODT_MENU, 0, items[position].id, ODA_DRAWENTIRE, 0, nullptr, surface->dc().m_hDC,
                           {0, 0, 200, 20}, items[position].data};
    m_cool.OnDrawItem(&item);
  };
  for (const auto& c : cases) {
    DibSurface surface(200, 20);
    draw(c.position, &surface);
    EXPECT_EQ(surface.at(190, 0), c.top) << c.position;
    EXPECT_EQ(surface.at(190, 19), c.bottom) << c.position;
  }
  GetSharedState().m_clrLightFace = saved;
  // The flat look: the image column of the separator inside the block.
  GetSharedState().m_xpLook = TRUE;
  for (const auto& c : {std::make_pair(2, 42), std::make_pair(5, 30)}) {
    DibSurface surface(200, 20);
    draw(c.first, &surface);
    EXPECT_EQ(surface.at(4, 5), GetToolkitColor(c.second)) << c.first;
  }
  Close();
}

// The menu bar tracks system menus itself: the popup it announces is passed
// over, the next one is the cool menu's again. An announcement for a window
// without a cool menu passes nothing over.
TEST_F(CoolMenuTest, AnAnnouncedPopupIsPassedOver) {
  HWND other = CreateTestFrame();
  CXTCoolMenu::SkipInitMenuPopup(other);
  ::DestroyWindow(other);
  Open();
  EXPECT_TRUE(Snapshot(m_menu)[0].type & MFT_OWNERDRAW);
  Close();
  CXTCoolMenu::SkipInitMenuPopup(m_frame);
  Open();
  EXPECT_FALSE(Snapshot(m_menu)[0].type & MFT_OWNERDRAW);
  Open();
  EXPECT_TRUE(Snapshot(m_menu)[0].type & MFT_OWNERDRAW);
  Close();
}

namespace {

BOOL SystemFlag(UINT action) {
  BOOL value = 2;
  ::SystemParametersInfoA(action, 0, &value, 0);
  return value;
}

}  // namespace

TEST_F(CoolMenuTest, TrackedPopupGetsItsShadowAndLeavesMenuAndSystemAsTheyWere) {
  GetSharedState().m_xpLook = TRUE;
  const std::vector<ItemSnapshot> before = Snapshot(m_menu);
  const BOOL animation = SystemFlag(SPI_GETMENUANIMATION), shadow = SystemFlag(SPI_GETDROPSHADOW);
  size_t shadowsSeen = 0;
  int itemsShown = 0;
  TrackWithScript(m_cool, m_menu, &m_frameWnd, [&](HWND) {
    shadowsSeen = GetShadowPool().LiveShadows().size();
    itemsShown = ::GetMenuItemCount(m_menu);
    if (shadowsSeen == 2) ::EndMenu();
    return true;
  });
  EXPECT_EQ(shadowsSeen, 2u);
  EXPECT_EQ(itemsShown, 5);  // opened with its hidden commands out
  EXPECT_TRUE(GetShadowPool().LiveShadows().empty());
  EXPECT_EQ(Snapshot(m_menu), before);
  EXPECT_EQ(SystemFlag(SPI_GETMENUANIMATION), animation);
  EXPECT_EQ(SystemFlag(SPI_GETDROPSHADOW), shadow);
}

TEST_F(CoolMenuTest, ChoosingTheExpandItemReopensWithEveryItem) {
  int countInSecond = -1;
  TrackWithScript(m_cool, m_menu, &m_frameWnd, [&](HWND popup) {
    if (PopupsSeen() == 1 && ::GetMenuItemCount(m_menu) == 5) {
      ::PostMessageA(popup, WM_KEYDOWN, VK_UP, 0);  // from nothing selected: the last item
      ::PostMessageA(popup, WM_KEYDOWN, VK_RETURN, 0);
    } else if (PopupsSeen() >= 1 && m_cool.IsFullMenus()) {
      countInSecond = ::GetMenuItemCount(m_menu);
      ::EndMenu();
    }
    return true;
  });
  EXPECT_EQ(countInSecond, 8);
  EXPECT_EQ(::GetMenuItemCount(m_menu), 8);
}

TEST_F(CoolMenuTest, RestingOnTheExpandItemChoosesItAfterTheDelay) {
  int countAfterExpanding = -1;
  bool highlighted = false;
  TrackWithScript(m_cool, m_menu, &m_frameWnd, [&](HWND popup) {
    if (m_cool.IsFullMenus()) {
      countAfterExpanding = ::GetMenuItemCount(m_menu);
      ::EndMenu();
    } else if (!highlighted && ::GetMenuItemCount(m_menu) == 5) {
      highlighted = true;
      ::PostMessageA(popup, WM_KEYDOWN, VK_UP, 0);  // the expand item, and nothing more
    }
    return true;
  });
  EXPECT_EQ(countAfterExpanding, 8);
}

TEST_F(CoolMenuTest, APendingQuitSurvivesOpeningAPopup) {
  ::PostQuitMessage(7);
  int popups = 0;
  EXPECT_EQ(TrackWithScript(m_cool, m_menu, &m_frameWnd, [&](HWND) {
              ++popups;
              ::EndMenu();
              return true;
            }),
            0u);
  EXPECT_EQ(popups, 0);  // the application is ending: no popup opens
  MSG msg;
  ASSERT_TRUE(::PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
  EXPECT_EQ(msg.wParam, 7u);
}
