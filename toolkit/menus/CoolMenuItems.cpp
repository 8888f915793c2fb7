// Item records, hiding rarely used commands, the expand item, menu keys and
// the recent list.
#include <stdio.h>

#include <algorithm>

#include "toolkit/common/MenuHelpers.h"
#include "toolkit/common/SettingsStore.h"
#include "toolkit/common/SharedState.h"
#include "toolkit/menus/CoolMenu.h"

const DWORD CXTMenuItemData::kTag = 'q' | 'm' << 8 | 'n' << 16 | static_cast<DWORD>('u') << 24;

namespace {

const char kExpandText[] = ">> chevron";
const char kRecentSection[] = "Recent Item List";
const char kRecentValue[] = "Item%d";
const UINT kItemFields = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_SUBMENU | MIIM_DATA | MIIM_STRING;

BOOL g_menuBarPopup = FALSE;

// An item's fields and text, read by position.
bool ReadItem(HMENU menu, int position, MENUITEMINFOA* info, CString* text) {
  char buffer[256] = "";
  InitMenuItemInfo(info);
  info->fMask = kItemFields;
  info->dwTypeData = buffer;
  info->cch = sizeof buffer;
  if (!::GetMenuItemInfoA(menu, position, TRUE, info)) return false;
  *text = (info->fType & MFT_SEPARATOR) ? "" : buffer;
  info->dwTypeData = nullptr;
  return true;
}

CString ValueName(int n) {
  char name[32];
  snprintf(name, sizeof name, kRecentValue, n);
  return CString(name);
}

// The letter after the text's mnemonic "&", or 0.
char MnemonicOf(const CString& text) {
  LPCSTR p = text;
  for (; *p; ++p) {
    if (*p != '&') continue;
    if (p[1] == '&') {
      ++p;
      continue;
    }
    return p[1];
  }
  return 0;
}

}  // namespace

void CXTCoolMenu::SetMenuBarPopup(BOOL fromMenuBar) { g_menuBarPopup = fromMenuBar; }

BOOL CXTCoolMenu::IsHidingEnabled() const { return g_menuBarPopup && GetSharedState().m_customizeFlags[0]; }

CXTMenuItemData* CXTCoolMenu::FindRecord(ULONG_PTR itemData) const {
  auto* record = reinterpret_cast<const CXTMenuItemData*>(itemData);
  if (!record || !m_known.count(record)) return nullptr;
  return record->tag == CXTMenuItemData::kTag ? const_cast<CXTMenuItemData*>(record) : nullptr;
}

CXTMenuItemData* CXTCoolMenu::MakeRecord(HMENU menu, int position, const MENUITEMINFOA& info, const CString& text) {
  std::unique_ptr<CXTMenuItemData> record(new CXTMenuItemData);
  record->text = text;
  record->menu = menu;
  record->submenu = info.hSubMenu;
  record->position = position;
  record->id = info.wID;
  record->type = info.fType;
  record->state = info.fState;
  if (m_hasHidden && IsHidingEnabled() && IsHiddenCommand(info.wID)) record->flags = CXTMenuItemData::kHideable;
  m_known.insert(record.get());
  m_records.push_back(std::move(record));
  return m_records.back().get();
}

int CXTCoolMenu::FindItemPosition(const CXTMenuItemData& data) const {
  const int count = ::GetMenuItemCount(data.menu);
  for (int position = 0; position < count; ++position) {
    MENUITEMINFOA info;
    InitMenuItemInfo(&info);
    info.fMask = MIIM_DATA;
    if (::GetMenuItemInfoA(data.menu, position, TRUE, &info) && info.dwItemData == reinterpret_cast<ULONG_PTR>(&data))
      return position;
  }
  return -1;
}

void CXTCoolMenu::DeleteRecord(CXTMenuItemData* record) {
  m_known.erase(record);
  m_records.erase(std::remove_if(m_records.begin(), m_records.end(),
                                 [record](const std::unique_ptr<CXTMenuItemData>& r) { return r.get() == record; }),
                  m_records.end());
}

std::vector<CXTMenuItemData*> CXTCoolMenu::RecordsOf(HMENU menu) const {
  std::vector<CXTMenuItemData*> records;
  for (const auto& r : m_records)
    if (r->menu == menu) records.push_back(r.get());
  std::sort(records.begin(), records.end(),
            [](const CXTMenuItemData* a, const CXTMenuItemData* b) { return a->position < b->position; });
  return records;
}

// Foreign item data is passed over: only items without data or with our own
// records change.
void CXTCoolMenu::SubclassMenu(HMENU menu, BOOL on) {
  const int count = ::GetMenuItemCount(menu);
  for (int position = 0; position < count; ++position) {
    MENUITEMINFOA info;
    CString text;
    if (!ReadItem(menu, position, &info, &text)) continue;
    CXTMenuItemData* record = FindRecord(info.dwItemData);
    if (info.dwItemData && !record) continue;
    if (on) {
      if (info.fType & MFT_OWNERDRAW) continue;
      if (!record) record = MakeRecord(menu, position, info, text);
      info.fMask = MIIM_FTYPE | MIIM_DATA;
      info.fType |= MFT_OWNERDRAW;
      info.dwItemData = reinterpret_cast<ULONG_PTR>(record);
      ::SetMenuItemInfoA(menu, position, TRUE, &info);
    } else if (record) {
      info.fMask = MIIM_FTYPE | MIIM_DATA | MIIM_STRING;
      info.fType = record->type;
      info.dwItemData = 0;
      info.dwTypeData = const_cast<LPSTR>(static_cast<LPCSTR>(record->text));
      if (record->type & MFT_SEPARATOR) info.fMask &= ~MIIM_STRING;
      ::SetMenuItemInfoA(menu, position, TRUE, &info);
      DeleteRecord(record);
    }
  }
  if (on && std::find(m_menus.begin(), m_menus.end(), menu) == m_menus.end()) m_menus.push_back(menu);
}

BOOL CXTCoolMenu::IsHiddenCommand(UINT id) const {
  return std::find(m_hidden.begin(), m_hidden.end(), id) != m_hidden.end() && !IsRecentItem(id);
}

void CXTCoolMenu::HideCommand(UINT id) {
  m_hasHidden = TRUE;
  if (!IsHiddenCommand(id)) m_hidden.push_back(id);
}

void CXTCoolMenu::HideCommands(const UINT* ids, int count) {
  for (int i = 0; i < count; ++i) HideCommand(ids[i]);
}

void CXTCoolMenu::HideItems(HMENU menu) {
  std::vector<CXTMenuItemData*> records = RecordsOf(menu);
  auto hideable = [&](size_t i) { return (records[i]->flags & CXTMenuItemData::kHideable) != 0; };
  for (size_t i = 0; i < records.size(); ++i) {
    if (!hideable(i)) continue;
    if (i > 0 && !hideable(i - 1)) records[i]->flags |= CXTMenuItemData::kBlockStart;
    if (i + 1 < records.size() && !hideable(i + 1)) records[i]->flags |= CXTMenuItemData::kBlockEnd;
  }
  UpdateExpandItem(menu, FALSE);
  if (m_fullMenus) return;
  for (size_t i = records.size(); i-- > 0;) {
    CXTMenuItemData* r = records[i];
    if (!hideable(i) || r->removed) continue;
    r->state = ::GetMenuState(menu, r->position, MF_BYPOSITION) & 0xFF;
    r->removed = true;
    if (r->submenu)
      ::RemoveMenu(menu, r->position, MF_BYPOSITION);  // the submenu survives
    else
      ::DeleteMenu(menu, r->position, MF_BYPOSITION);
  }
  // Two separators in a row, where a hidden block stood between them: one goes.
  for (int position = ::GetMenuItemCount(menu) - 2; position >= 0; --position) {
    MENUITEMINFOA info, next;
    CString text;
    if (!ReadItem(menu, position, &info, &text) || !ReadItem(menu, position + 1, &next, &text)) continue;
    CXTMenuItemData* record = FindRecord(info.dwItemData);
    if (!record || !(info.fType & MFT_SEPARATOR) || !(next.fType & MFT_SEPARATOR)) continue;
    record->removed = true;
    ::DeleteMenu(menu, position, MF_BYPOSITION);
  }
}

// Removed items go back at their remembered positions, lowest first, so each
// lands where it was.
BOOL CXTCoolMenu::RestoreMenu(HMENU menu) {
  BOOL reinserted = FALSE;
  for (CXTMenuItemData* r : RecordsOf(menu)) {
    if (r->submenu) RestoreMenu(r->submenu);
    if (!r->removed) continue;
    MENUITEMINFOA info;
    InitMenuItemInfo(&info);
    info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_SUBMENU | MIIM_DATA | MIIM_STRING;
    info.fType = r->type | MFT_OWNERDRAW;
    info.fState = r->state;
    info.wID = r->id;
    info.hSubMenu = r->submenu;
    info.dwItemData = reinterpret_cast<ULONG_PTR>(r);
    info.dwTypeData = const_cast<LPSTR>(static_cast<LPCSTR>(r->text));
    if (r->type & MFT_SEPARATOR) info.fMask &= ~MIIM_STRING;
    ::InsertMenuItemA(menu, r->position, TRUE, &info);
    r->removed = false;
    reinserted = TRUE;
  }
  return reinserted;
}

void CXTCoolMenu::RemoveExpandItem(HMENU menu) {
  for (int position = ::GetMenuItemCount(menu) - 1; position >= 0; --position) {
    if (::GetMenuItemID(menu, position) != XT_IDC_FULL_MENUS) continue;
    MENUITEMINFOA info;
    CString text;
    ReadItem(menu, position, &info, &text);
    CXTMenuItemData* record = FindRecord(info.dwItemData);
    ::DeleteMenu(menu, position, MF_BYPOSITION);
    if (record) DeleteRecord(record);
  }
}

void CXTCoolMenu::UpdateExpandItem(HMENU menu, BOOL force) {
  const int count = ::GetMenuItemCount(menu);
  const int at = [&] {
    for (int p = 0; p < count; ++p)
      if (::GetMenuItemID(menu, p) == XT_IDC_FULL_MENUS) return p;
    return -1;
  }();
  if (at >= 0 && (force || m_fullMenus || at != count - 1)) RemoveExpandItem(menu);
  const bool present = at >= 0 && ::GetMenuItemCount(menu) == count;
  if (present || m_fullMenus || !HasHiddenItems(menu) || !IsHidingEnabled()) return;
  ::AppendMenuA(menu, MF_STRING, XT_IDC_FULL_MENUS, kExpandText);
  const int position = ::GetMenuItemCount(menu) - 1;
  MENUITEMINFOA info;
  CString text;
  if (!ReadItem(menu, position, &info, &text)) return;
  CXTMenuItemData* record = MakeRecord(menu, position, info, text);
  info.fMask = MIIM_FTYPE | MIIM_DATA;
  info.fType |= MFT_OWNERDRAW;
  info.dwItemData = reinterpret_cast<ULONG_PTR>(record);
  ::SetMenuItemInfoA(menu, position, TRUE, &info);
}

BOOL CXTCoolMenu::HasHiddenItems(HMENU menu) const {
  for (const auto& r : m_records)
    if (r->menu == menu && r->id != XT_IDC_FULL_MENUS && (r->flags & CXTMenuItemData::kHideable) && !IsRecentItem(r->id))
      return TRUE;
  return FALSE;
}

// One item with the letter runs it; several: the next after the highlighted
// one is selected, round to the first.
LRESULT CXTCoolMenu::OnMenuChar(UINT ch, UINT flags, HMENU menu) {
  std::vector<int> matches;
  int highlighted = -1;
  const int count = ::GetMenuItemCount(menu);
  for (int position = 0; position < count; ++position) {
    MENUITEMINFOA info;
    CString text;
    if (!ReadItem(menu, position, &info, &text)) continue;
    if (info.fState & MFS_HILITE) highlighted = position;
    const CXTMenuItemData* record = FindRecord(info.dwItemData);
    if (!record || !(info.fType & MFT_OWNERDRAW)) continue;
    const char letter = MnemonicOf(record->text);
    if (letter && ::CharUpperA(reinterpret_cast<LPSTR>(static_cast<UINT_PTR>(static_cast<BYTE>(letter)))) ==
                      ::CharUpperA(reinterpret_cast<LPSTR>(static_cast<UINT_PTR>(ch & 0xFF))))
      matches.push_back(position);
  }
  if (matches.empty()) return 0;
  if (matches.size() == 1) return MAKELRESULT(matches[0], MNC_EXECUTE);
  auto next = std::upper_bound(matches.begin(), matches.end(), highlighted);
  return MAKELRESULT(next == matches.end() ? matches[0] : *next, MNC_SELECT);
}

std::vector<UINT> CXTCoolMenu::ReadRecentItems() const {
  CXTSettingsStore store;
  std::vector<UINT> items;
  for (int n = 1; n <= m_maxRecent; ++n) {
    const UINT id = static_cast<UINT>(store.ReadInt(kRecentSection, ValueName(n), 0));
    if (id) items.push_back(id);
  }
  return items;
}

BOOL CXTCoolMenu::IsRecentItem(UINT id) const {
  const std::vector<UINT> items = ReadRecentItems();
  return std::find(items.begin(), items.end(), id) != items.end();
}

void CXTCoolMenu::AddRecentItem(UINT id) {
  std::vector<UINT> items = ReadRecentItems();
  const bool recent = std::find(items.begin(), items.end(), id) != items.end();
  if (!recent && std::find(m_hidden.begin(), m_hidden.end(), id) == m_hidden.end()) return;
  items.erase(std::remove(items.begin(), items.end(), id), items.end());
  items.insert(items.begin(), id);
  if (static_cast<int>(items.size()) > m_maxRecent) items.resize(m_maxRecent);
  CXTSettingsStore store;
  for (size_t i = 0; i < items.size(); ++i) store.WriteInt(kRecentSection, ValueName(static_cast<int>(i) + 1), items[i]);
}

void CXTCoolMenu::ResetRecentItems() {
  CXTSettingsStore store;
  for (int n = 1; store.DeleteValue(kRecentSection, ValueName(n)); ++n) {
  }
}
