// The edit's context menu and the browse button's menu go through the cool
// menus: while the popup is open its items are the cool menu's owner-drawn
// items and the commands with an image show it; once it closes the menu is
// plain again, item for item as the resource made it.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "classlib/dialog.h"
#include "controls_test_resource.h"
#include "screenshot.h"
#include "toolkit/common/WndHook.h"
#include "toolkit/controls/BrowseButton.h"
#include "toolkit/controls/BrowseEdit.h"
#include "toolkit/controls/Edit.h"
#include "toolkit/menus/CoolMenu.h"
#include "toolkit_resource.h"
#include "waiting.h"

namespace {

const int kEditPopup = 1;  // "RClickHexEdit" of menu 4519

struct Item {
  UINT id, type;
  ULONG_PTR data;
  std::string text;
  bool operator==(const Item& o) const { return id == o.id && type == o.type && data == o.data && text == o.text; }
};
std::ostream& operator<<(std::ostream& os, const Item& i) {
  return os << i.id << " '" << i.text << "' type " << i.type << " data " << i.data;
}

std::vector<Item> Items(HMENU menu) {
  std::vector<Item> items;
  for (int i = 0; i < ::GetMenuItemCount(menu); ++i) {
    char text[64] = "";
    MENUITEMINFOA info = {};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE | MIIM_ID | MIIM_DATA | MIIM_STRING;
    info.dwTypeData = text;
    info.cch = sizeof text;
    ::GetMenuItemInfoA(menu, i, TRUE, &info);
    items.push_back({info.wID, info.fType, info.dwItemData, text});
  }
  return items;
}

// The items of the edit's popup as menu resource 4519 makes them.
std::vector<Item> ResourceItems() {
  HMENU menu = ::LoadMenuA(AfxGetResourceHandle(), MAKEINTRESOURCEA(IDR_XT_EDIT_MENU));
  std::vector<Item> items = Items(::GetSubMenu(menu, kEditPopup));
  ::DestroyMenu(menu);
  return items;
}

CXTCoolMenu* CoolMenuOn(HWND window) {
  for (CXTWndHook* hook = CXTWndHook::FindHead(window); hook; hook = hook->m_pNext)
    if (auto* cool = dynamic_cast<CXTCoolMenu*>(hook)) return cool;
  return nullptr;
}

// The pixels of an item's image cell that are neither menu nor highlight.
int ImagePixels(const Screenshot& shot, HWND popup, HMENU menu, int position) {
  RECT item;  // no window given: the rectangle is found through the menu's own window
  ::GetMenuItemRect(nullptr, menu, position, &item);
  POINT origin = {item.left, item.top};
  ::ScreenToClient(popup, &origin);
  const std::set<COLORREF> background = {::GetSysColor(COLOR_MENU), ::GetSysColor(COLOR_HIGHLIGHT)};
  const int cellWidth = 18;  // a 16-pixel image and its margins
  int count = 0;
  for (int y = origin.y; y < origin.y + (item.bottom - item.top); ++y)
    for (int x = origin.x; x < origin.x + cellWidth; ++x)
      if (x >= 0 && y >= 0 && x < shot.Width() && y < shot.Height()) count += !background.count(shot.Pixel(x, y));
  return count;
}

// What the open popup showed, and its items once the menu loop ended.
struct Observed {
  std::vector<UINT> drawnByCoolMenu;  // ids of items whose data is a record of the owner's cool menu
  std::vector<UINT> showingImage;     // ids whose image cell shows an image
  std::vector<Item> afterClosing;
  bool sawPopup = false;
};

// Watches the owner for the end of the menu loop: by then the cool menu has
// had the closing WM_MENUSELECT, and the menu still exists.
class ExitWatch : public CXTWndHook {
 public:
  HMENU menu = nullptr;
  std::vector<Item>* after = nullptr;
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == WM_EXITMENULOOP && menu && ::IsMenu(menu)) *after = Items(menu);
    return Default(message, wParam, lParam);
  }
};

struct Script {
  HWND owner;
  Observed* seen;
  ExitWatch* watch;
  DWORD deadline;
  bool escaped = false;
};
Script* g_script = nullptr;

// Runs from a thread timer inside the menu loop: looks at the popup once it
// is shown, then presses Escape; ends the menu at the deadline whatever
// happens, so no test waits in a menu loop.
void CALLBACK LookThenEscape(HWND, UINT, UINT_PTR, DWORD) {
  Script& s = *g_script;
  if (::GetTickCount() > s.deadline) {
    ::EndMenu();
    return;
  }
  HWND popup = ::FindWindowA("#32768", nullptr);
  if (s.escaped || !popup || !::IsWindowVisible(popup)) return;
  HMENU menu = reinterpret_cast<HMENU>(::SendMessageA(popup, MN_GETHMENU, 0, 0));
  if (!menu) return;
  s.seen->sawPopup = true;
  s.watch->menu = menu;
  const Screenshot shot(popup);
  CXTCoolMenu* cool = CoolMenuOn(s.owner);
  const std::vector<Item> items = Items(menu);
  for (size_t i = 0; i < items.size(); ++i) {
    if ((items[i].type & MFT_OWNERDRAW) && cool && cool->FindRecord(items[i].data))
      s.seen->drawnByCoolMenu.push_back(items[i].id);
    if (items[i].id && ImagePixels(shot, popup, menu, static_cast<int>(i)) > 10)
      s.seen->showingImage.push_back(items[i].id);
  }
  s.escaped = true;
  ::PostMessageA(popup, WM_KEYDOWN, VK_ESCAPE, 0);
}

// Opens the menu by open() (which returns once the menu is closed) with the
// owner of the popup watched.
template <class Open>
Observed ObserveMenu(HWND owner, Open open) {
  Observed seen;
  ExitWatch watch;
  watch.after = &seen.afterClosing;
  watch.HookWindow(owner);
  Script script{owner, &seen, &watch, ::GetTickCount() + 3000};
  g_script = &script;
  const UINT_PTR timer = ::SetTimer(nullptr, 0, 20, LookThenEscape);
  open();
  ::KillTimer(nullptr, timer);
  g_script = nullptr;
  watch.HookWindow(static_cast<HWND>(nullptr));
  return seen;
}

class CMenuHostDlg : public CDialog {
 public:
  CMenuHostDlg() : CDialog(IDD_HOST) {
    Create(IDD_HOST);
    m_edit.SubclassDlgItem(IDC_EDIT, this);
    ShowWindow(SW_SHOW);
    PumpWaiting();
  }
  ~CMenuHostDlg() override { DestroyWindow(); }
  CXTEdit m_edit;
};

const std::vector<UINT> kEditCommands = {ID_XT_EDIT_UNDO,  ID_XT_EDIT_CUT,   ID_XT_EDIT_COPY,
                                         ID_XT_EDIT_PASTE, ID_XT_EDIT_CLEAR, ID_XT_EDIT_SELECT_ALL};
// The commands of image resource 4524, drawn whether enabled or not; Select
// All has no image.
const std::vector<UINT> kWithImage = {ID_XT_EDIT_UNDO, ID_XT_EDIT_CUT, ID_XT_EDIT_COPY, ID_XT_EDIT_PASTE,
                                      ID_XT_EDIT_CLEAR};

bool Contains(const std::vector<UINT>& ids, UINT id) { return std::find(ids.begin(), ids.end(), id) != ids.end(); }

// The edit's popup (menu 4519, pop-up 1) as the cool menu shows it, then as
// the resource made it.
void ExpectDrawnByCoolMenuThenPlain(const Observed& seen) {
  ASSERT_TRUE(seen.sawPopup);
  for (UINT id : kEditCommands) EXPECT_TRUE(Contains(seen.drawnByCoolMenu, id)) << id;
  for (UINT id : kWithImage) EXPECT_TRUE(Contains(seen.showingImage, id)) << id;
  EXPECT_FALSE(Contains(seen.showingImage, ID_XT_EDIT_SELECT_ALL));
  EXPECT_EQ(seen.afterClosing, ResourceItems());
}

}  // namespace

TEST(EditContextMenu, IsDrawnByTheEditsCoolMenuWithImagesAndPlainAfterwards) {
  CMenuHostDlg host;
  host.m_edit.SetWindowText("abc");
  const Observed seen = ObserveMenu(host.m_edit.m_hWnd, [&] {
    host.m_edit.SendMessage(WM_CONTEXTMENU, reinterpret_cast<WPARAM>(host.m_edit.m_hWnd), MAKELPARAM(-1, -1));
  });
  ExpectDrawnByCoolMenuThenPlain(seen);
}

TEST(BrowseMenu, IsDrawnByACoolMenuOnTheTopLevelWindowAndPlainAfterwards) {
  CMenuHostDlg host;
  CXTBrowseEdit browse;
  browse.SetBrowseStyle(BES_XT_POPUPMENU, IDR_XT_EDIT_MENU, kEditPopup);
  ASSERT_TRUE(browse.Create(WS_CHILD | WS_VISIBLE | WS_BORDER, CRect(10, 150, 160, 170), &host, 3000));
  PumpWaiting();
  ASSERT_TRUE(browse.GetBrowseButton());
  const Observed seen = ObserveMenu(host.m_hWnd, [&] { browse.BrowseWithPopupMenu(); });
  ExpectDrawnByCoolMenuThenPlain(seen);
  EXPECT_EQ(CoolMenuOn(host.m_hWnd), nullptr);  // the browse's own cool menu left with the menu
  browse.DestroyWindow();
}
