// An object active in place in the frame's view merges its own popups into
// the frame's menu. The bar tells the container's titles from the server's
// by comparing each popup with the container's menu, and hands the menu
// messages of the server's titles to the server's window.
#include "toolkit/menus/MenuBar.h"

namespace {

// The class layer embeds no objects: its frames never hold an item active
// in place.
HWND ClassLayerServerWindow(CFrameWnd*) { return nullptr; }

CString ItemText(HMENU menu, int position) {
  char text[256] = {};
  ::GetMenuStringA(menu, position, text, sizeof text, MF_BYPOSITION);
  return text;
}

// The popup of the container menu with this title, or null.
HMENU FindPopupByTitle(HMENU menu, const CString& title) {
  for (int i = 0; i < ::GetMenuItemCount(menu); ++i)
    if (ItemText(menu, i) == title) return ::GetSubMenu(menu, i);
  return nullptr;
}

// Two popups are the same when they hold the same items, texts and ids.
bool SamePopup(HMENU a, HMENU b) {
  const int count = ::GetMenuItemCount(a);
  if (!a || !b || count != ::GetMenuItemCount(b)) return false;
  for (int i = count - 1; i >= 0; --i)
    if (ItemText(a, i) != ItemText(b, i) || ::GetMenuItemID(a, i) != ::GetMenuItemID(b, i)) return false;
  return true;
}

}  // namespace

const CXTInPlaceQuery& ClassLayerInPlaceQuery() {
  static const CXTInPlaceQuery query = {ClassLayerServerWindow};
  return query;
}

void CXTMenuBar::RecalcServerPositions() {
  m_serverPositions.clear();
  if (!m_hMenu || !m_inPlace.serverWindow(GetTopLevelFrame())) return;
  for (int position = 0; position < ::GetMenuItemCount(m_hMenu); ++position) {
    HMENU popup = ::GetSubMenu(m_hMenu, position);
    HMENU container = FindPopupByTitle(m_hMenuDefault, ItemText(m_hMenu, position));
    if (!SamePopup(popup, container)) m_serverPositions.push_back(position + 1);
  }
}

int CXTMenuBar::GetTrackedItemPosition() const {
  if (m_nTrackedItem < 0 || m_nTrackedItem >= GetItemCount()) return -1;
  auto* title = dynamic_cast<const CXTMenuBarTextItem*>(m_items[m_nTrackedItem].get());
  return title ? title->GetPosition() : -1;
}

HWND CXTMenuBar::FindServerWindow(UINT message) const {
  const bool menuMessage = message == WM_INITMENU || message == WM_INITMENUPOPUP || message == WM_MENUSELECT;
  if (message != WM_COMMAND && !(menuMessage && m_hMenuOpen)) return nullptr;
  const int position = GetTrackedItemPosition();
  if (position < 0 || m_serverPositions.empty()) return nullptr;
  for (int recorded : m_serverPositions)
    if (recorded == position + 1) return m_inPlace.serverWindow(GetTopLevelFrame());
  return nullptr;
}
