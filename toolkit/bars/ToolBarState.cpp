// The tool bar's stored layout: saving the buttons as layout bytes in a
// CRC-guarded settings value, keyed by the CRC-32 of the layout the program
// made, restoring them when the program's layout is still that one, and the
// reset to it.
#include <memory>
#include <set>

#include "classlib/archive.h"
#include "toolkit/bars/ToolBar.h"
#include "toolkit/bars/ToolBarLayoutBytes.h"
#include "toolkit/common/ImageStore.h"
#include "toolkit/customize/Crc32.h"
#include "toolkit/customize/ProfileBlob.h"
#include "toolkit_resource.h"

namespace {

const char kSettingsSection[] = "Settings";
const int kNoImage = -2;

bool IsSeparator(const TBBUTTON& button) { return (button.fsStyle & TBSTYLE_SEP) != 0; }

uint32_t CrcOf(const std::vector<BYTE>& bytes) { return CXTCrc32::Of(bytes.data(), bytes.size()); }

// The commands the program gave images of its own: their stored image indexes hold.
std::set<UINT> CommandsWithImages(const std::vector<BYTE>& layoutBytes) {
  std::set<UINT> commands;
  CXTToolBarLayout layout;
  if (!ParseToolBarLayout(layoutBytes.data(), static_cast<UINT>(layoutBytes.size()), &layout)) return commands;
  for (const CXTToolBarLayout::Button& button : layout.buttons)
    if (button.image >= 0 && !(button.style & TBSTYLE_SEP)) commands.insert(static_cast<UINT>(button.idCommand));
  return commands;
}

}  // namespace

void CXTToolBar::EnableDocking(DWORD dockStyle) {
  if (m_bCustomizable) RestoreState();
  CXTControlBar::EnableDocking(dockStyle);
}

CXTToolBarLayout CXTToolBar::CurrentLayout() const {
  CXTToolBarLayout layout;
  layout.listStyle = m_bListStyle;
  const int count = GetButtonCount();
  for (int i = 0; i < count; ++i) {
    TBBUTTON button;
    GetButton(i, &button);
    layout.buttons.push_back({button.idCommand, button.fsStyle, button.iBitmap});
    const ButtonEntry* entry = EntryOfCommand(static_cast<UINT>(button.idCommand));
    if (!IsSeparator(button) && entry && entry->dropDown)
      layout.dropDowns[static_cast<UINT>(button.idCommand)] = *entry->dropDown;
  }
  layout.texts = m_texts;
  return layout;
}

std::vector<BYTE> CXTToolBar::CurrentLayoutBytes() const { return WriteToolBarLayout(CurrentLayout()); }

void CXTToolBar::TakeDefaultLayout() {
  if (m_defaultLayout.empty()) m_defaultLayout = CurrentLayoutBytes();
}

BOOL CXTToolBar::SaveState() {
  if (m_settingsSection.IsEmpty()) return FALSE;
  const std::vector<BYTE> current = CurrentLayoutBytes();
  if (m_defaultLayout.empty()) m_defaultLayout = current;
  CXTProfileBlob blob;
  {
    CArchive ar(&blob.File(), CArchive::store);
    ar << static_cast<DWORD>(CrcOf(m_defaultLayout));
    ar.WriteCount(current.size());
    ar.Write(current.data(), static_cast<UINT>(current.size()));
    ar.Close();
  }
  return blob.Save(kSettingsSection, m_settingsValue);
}

void CXTToolBar::RestoreState() {
  CWnd* parent = GetParent();
  if (!parent || !parent->IsKindOf(RUNTIME_CLASS(CFrameWnd))) {
    ModifyStyle(TBSTYLE_ALTDRAG | CCS_ADJUSTABLE, 0);
  } else if (!m_settingsSection.IsEmpty()) {
    LoadState();
    PostRelayout();
  }
  PositionControls();
}

BOOL CXTToolBar::LoadState() {
  TakeDefaultLayout();
  CXTProfileBlob blob;
  if (!blob.Load(kSettingsSection, m_settingsValue)) return FALSE;
  const ULONGLONG payload = blob.File().GetLength();
  if (payload == 0) return FALSE;
  try {
    CArchive ar(&blob.File(), CArchive::load);
    DWORD defaultCrc = 0;
    ar >> defaultCrc;
    // Saved against other buttons than the program makes now: not ours to apply.
    if (defaultCrc != CrcOf(m_defaultLayout)) return FALSE;
    const DWORD_PTR length = ar.ReadCount();
    if (length == 0 || length >= payload) return FALSE;
    std::vector<BYTE> bytes(length);
    if (ar.Read(bytes.data(), static_cast<UINT>(length)) != length) return FALSE;
    return ApplyLayout(bytes.data(), static_cast<UINT>(length));
  } catch (CArchiveException* e) {
    e->Delete();
    return FALSE;
  }
}

int CXTToolBar::StoredImage(const CXTToolBarLayout::Button& button, const std::set<UINT>& ownImages) {
  const UINT id = static_cast<UINT>(button.idCommand);
  if (ownImages.count(id)) return button.image;
  const CXTCommandImage* menuImage = GetImageStore().LookupForMenu(id);
  HIMAGELIST images = reinterpret_cast<HIMAGELIST>(SendMessage(TB_GETIMAGELIST));
  if (menuImage && menuImage->image && images) {
    const int added = ImageList_AddIcon(images, menuImage->image);
    if (added >= 0) return added;
  }
  return kNoImage;
}

BOOL CXTToolBar::ApplyLayout(const BYTE* bytes, UINT length) {
  CXTToolBarLayout layout;
  if (!ParseToolBarLayout(bytes, length, &layout)) return FALSE;
  m_hiddenWidths.clear();
  m_bListStyle = static_cast<BYTE>(layout.listStyle);
  if (m_bListStyle && !(GetStyle() & TBSTYLE_LIST)) ModifyStyle(0, TBSTYLE_LIST);
  const std::set<UINT> ownImages = CommandsWithImages(m_defaultLayout);

  std::vector<ButtonEntry> controls;
  for (const ButtonEntry& entry : m_entries)
    if (entry.control) controls.push_back(entry);
  std::vector<TBBUTTON> buttons;
  for (const CXTToolBarLayout::Button& stored : layout.buttons) {
    TBBUTTON button = {};
    button.idCommand = stored.idCommand;
    button.fsStyle = stored.style;
    button.iBitmap = stored.image;
    button.iString = -1;
    const bool separator = (stored.style & TBSTYLE_SEP) != 0;
    auto dropDown = layout.dropDowns.find(static_cast<UINT>(stored.idCommand));
    const bool appPopup = dropDown != layout.dropDowns.end() && dropDown->second.bAppPopup;
    if (!separator && !appPopup) button.iBitmap = StoredImage(stored, ownImages);
    buttons.push_back(button);
  }

  while (SendMessage(TB_BUTTONCOUNT) > 0) SendMessage(TB_DELETEBUTTON, 0);
  m_stringIndexes.clear();
  m_texts.clear();
  m_entries = std::move(controls);
  if (!buttons.empty() &&
      !SendMessage(TB_ADDBUTTONS, buttons.size(), reinterpret_cast<LPARAM>(buttons.data())))
    return FALSE;
  m_nCount = GetButtonCount();
  RebuildEntries();
  for (const auto& stored : layout.dropDowns) {
    if (CommandToIndex(stored.first) < 0) continue;
    if (CXTDropDownButtonInfo* info = MakeDropDown(stored.first, stored.second.bArrow)) *info = stored.second;
  }
  for (const auto& text : layout.texts) {
    const int index = CommandToIndex(text.first);
    if (index >= 0) SetButtonText(index, text.second);
  }
  m_bDelayedLayout = TRUE;
  return TRUE;
}

void CXTToolBar::ResetLayout() {
  ShowAllButtons();
  if (!m_defaultLayout.empty()) ApplyLayout(m_defaultLayout.data(), static_cast<UINT>(m_defaultLayout.size()));
  RepositionControls();
  PositionControls();
  PostRelayout();
  RequestParentNotify();
}

void CXTToolBar::ConfirmResetLayout() {
  CString question;
  question.LoadString(IDS_XT_RESET_TOOLBAR);
  if (::MessageBoxA(::GetFocus(), question, nullptr, MB_YESNO | MB_ICONEXCLAMATION) == IDYES) ResetLayout();
}
