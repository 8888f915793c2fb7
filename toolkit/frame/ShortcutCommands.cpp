// The frame's commands and menu categories, read from its menu for the
// Keyboard page: categories are the popups that hold commands, named by their
// path ("File | Recent"); commands carry their path inside their top-level
// popup ("Recent\First") and belong to that popup's category.
#include "toolkit/frame/ShortcutManager.h"

#include "toolkit/common/MenuHelpers.h"
#include "toolkit/frame/FrameHelper.h"

namespace {

const int kTextChars = 256;

struct MenuItem {
  UINT nID = 0;
  UINT fType = 0;
  HMENU hSubMenu = nullptr;
  CString text;  // without mnemonics and without its shortcut part
};

// The item at pos with its cleaned text; false when the menu cannot tell.
bool ReadItem(HMENU hMenu, int pos, UINT mask, MenuItem& item) {
  char buffer[kTextChars] = "";
  MENUITEMINFOA info;
  InitMenuItemInfo(&info);
  info.fMask = mask;
  info.dwTypeData = buffer;
  info.cch = kTextChars;
  if (!::GetMenuItemInfoA(hMenu, pos, TRUE, &info)) return false;
  item.nID = info.wID;
  item.fType = info.fType;
  item.hSubMenu = info.hSubMenu;
  item.text = buffer;
  StripMnemonics(item.text);
  const int tab = item.text.Find('\t');
  if (tab >= 0) item.text = item.text.Left(tab);
  return true;
}

int ItemCount(HMENU hMenu) { return hMenu ? ::GetMenuItemCount(hMenu) : 0; }

CString Joined(const CString& head, const char* separator, const CString& tail) {
  return head.IsEmpty() ? tail : head + separator + tail;
}

}  // namespace

BOOL CXTShortcutManager::HasCommands(HMENU hMenu) {
  if (!hMenu || !::IsMenu(hMenu)) return FALSE;
  const int count = ItemCount(hMenu);
  for (int pos = 0; pos < count; ++pos) {
    MenuItem item;
    if (ReadItem(hMenu, pos, MIIM_ID | MIIM_SUBMENU | MIIM_TYPE, item) && !(item.fType & MFT_SEPARATOR) && item.nID &&
        !item.hSubMenu)
      return TRUE;
  }
  return FALSE;
}

void CXTShortcutManager::BuildCommandList(HMENU hMenu) {
  m_commands.RemoveAll();
  m_categoryMap.RemoveAll();
  m_categories.RemoveAll();
  if (!hMenu && m_pFrame) {
    hMenu = ::GetMenu(m_pFrame->m_hWnd);
    CXTFrameHelper* pHelper = CXTFrameHelper::FromWindow(m_pFrame);
    if (!hMenu && pHelper) {
      CMenu* pMenu = pHelper->GetMenu(m_pFrame);
      hMenu = pMenu ? pMenu->m_hMenu : nullptr;
    }
  }
  if (!hMenu) return;
  WalkCategories(CString(), hMenu);
  const int count = ItemCount(hMenu);
  for (int pos = 0; pos < count; ++pos) {
    MenuItem item;
    if (ReadItem(hMenu, pos, MIIM_STATE | MIIM_ID | MIIM_SUBMENU | MIIM_TYPE, item) && item.hSubMenu)
      WalkCommands(item.text, CString(), item.hSubMenu);
  }
}

void CXTShortcutManager::WalkCategories(const CString& prefix, HMENU hMenu) {
  const int count = ItemCount(hMenu);
  for (int pos = 0; pos < count; ++pos) {
    MenuItem item;
    if (!ReadItem(hMenu, pos, MIIM_ID | MIIM_SUBMENU | MIIM_TYPE, item) || !item.hSubMenu) continue;
    const CString name = Joined(prefix, " | ", item.text);
    if (HasCommands(item.hSubMenu)) m_categories.AddTail(Category{name, item.hSubMenu});
    WalkCategories(name, item.hSubMenu);
  }
}

// Separators and other items without text are listed like commands, with an empty text.
void CXTShortcutManager::WalkCommands(const CString& category, const CString& path, HMENU hMenu) {
  const int count = ItemCount(hMenu);
  for (int pos = 0; pos < count; ++pos) {
    MenuItem item;
    if (!ReadItem(hMenu, pos, MIIM_STATE | MIIM_ID | MIIM_SUBMENU | MIIM_TYPE, item)) continue;
    const CString itemPath = Joined(path, "\\", item.text);
    if (item.hSubMenu) {
      WalkCommands(category, itemPath, item.hSubMenu);
      continue;
    }
    m_commands.AddTail(Command{item.nID, itemPath});
    m_categoryMap.SetAt(item.nID, category);
  }
}

BOOL CXTShortcutManager::LookupCommand(UINT nID, CString& text) const {
  for (POSITION pos = m_commands.GetHeadPosition(); pos;) {
    const Command& command = m_commands.GetNext(pos);
    if (command.nID != nID) continue;
    text = command.text;
    return TRUE;
  }
  return FALSE;
}

void CXTShortcutManager::FillCommandCombo(CComboBox* pCombo) const {
  for (POSITION pos = m_categories.GetHeadPosition(); pos;) {
    const Category& category = m_categories.GetNext(pos);
    const int index = pCombo->AddString(category.name);
    pCombo->SetItemData(index, reinterpret_cast<DWORD_PTR>(category.hMenu));
  }
}
