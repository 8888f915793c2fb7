// Shortcut texts in a frame's popup menus: "Open\tCtrl+O". Only the first
// shortcut of a command is shown; a text's old shortcut part goes when the
// command has none any more.
#include "toolkit/common/MenuHelpers.h"
#include "toolkit/frame/FrameHelper.h"
#include "toolkit/frame/ShortcutManager.h"

namespace {

// The command's shortcuts as the menu shows them: the first of the list.
CString MenuShortcut(UINT nID) {
  CString shortcuts;
  GetShortcutManager().GetShortcutText(nID, shortcuts);
  const int comma = shortcuts.Find(',');
  return comma >= 0 ? shortcuts.Left(comma) : shortcuts;
}

// Plain string items that run a command; submenus keep their items.
bool IsCommandText(HMENU hPopup, int pos, UINT& nID) {
  MENUITEMINFOA info;
  InitMenuItemInfo(&info);
  info.fMask = MIIM_ID | MIIM_TYPE | MIIM_SUBMENU;
  if (!::GetMenuItemInfoA(hPopup, pos, TRUE, &info)) return false;
  nID = info.wID;
  return (info.fType & ~MFT_RADIOCHECK) == MFT_STRING && !info.hSubMenu;
}

void ShowShortcut(HMENU hPopup, int pos, UINT nID) {
  CString text;
  ::GetMenuStringA(hPopup, nID, text.GetBuffer(256), 256, MF_BYCOMMAND);
  text.ReleaseBuffer();
  const int tab = text.Find('\t');
  if (tab >= 0) text = text.Left(tab);
  const CString shortcut = MenuShortcut(nID);
  if (shortcut.IsEmpty() && tab < 0) return;
  if (!shortcut.IsEmpty()) text += "\t" + shortcut;
  ::ModifyMenuA(hPopup, pos, MF_BYPOSITION | MF_STRING, nID, text);
}

}  // namespace

void CXTFrameHelper::AddShortcutTexts(HMENU hPopup) {
  if (!GetShortcutManager().IsActive()) return;
  const int count = ::GetMenuItemCount(hPopup);
  for (int pos = 0; pos < count; ++pos) {
    UINT nID = 0;
    if (IsCommandText(hPopup, pos, nID)) ShowShortcut(hPopup, pos, nID);
  }
}
