#include "toolkit/frame/ShortcutManager.h"

#include "toolkit/common/SettingsStore.h"

namespace {

const char kSection[] = "Settings";
const char kEntry[] = "Accelerators";

// The bits a shortcut is told apart by; FVIRTKEY and FNOINVERT only say how
// the system reads the record.
const BYTE kModifierBits = FSHIFT | FCONTROL | FALT;

bool SameShortcut(const ACCEL& accel, BYTE fVirt, WORD wKey) {
  return (accel.fVirt & kModifierBits) == (fVirt & kModifierBits) && accel.key == wKey;
}

std::vector<ACCEL> CopyTable(HACCEL hAccel) {
  const int count = hAccel ? ::CopyAcceleratorTableA(hAccel, nullptr, 0) : 0;
  std::vector<ACCEL> list(count);
  if (count) ::CopyAcceleratorTableA(hAccel, list.data(), count);
  return list;
}

// Keys that only modify another: pressed alone they are never a shortcut.
bool IsModifierKey(WPARAM key) { return key == VK_SHIFT || key == VK_CONTROL || key == VK_MENU; }

bool KeyDown(int key) { return ::GetKeyState(key) < 0; }

}  // namespace

CXTShortcutManager::CXTShortcutManager() { m_categoryMap.InitHashTable(17); }

CXTShortcutManager::~CXTShortcutManager() {
  if (m_saveOnDestruction) SaveState(FALSE);
}

CXTShortcutManager& GetShortcutManager() {
  static CXTShortcutManager manager;
  return manager;
}

BOOL CXTShortcutManager::Load() {
  BYTE* pData = nullptr;
  UINT nSize = 0;
  CXTSettingsStore store;
  const BOOL found = store.ReadBinary(kSection, kEntry, &pData, &nSize);
  m_accel = found ? UnpackAccelerators(pData, nSize) : std::vector<ACCEL>();
  delete[] pData;
  return found;
}

BOOL CXTShortcutManager::Save(const ACCEL* pAccel, int nCount) {
  const std::vector<BYTE> bytes = PackAccelerators(std::vector<ACCEL>(pAccel, pAccel + nCount));
  CXTSettingsStore store;
  return store.WriteBinary(kSection, kEntry, bytes.data(), static_cast<UINT>(bytes.size()));
}

BOOL CXTShortcutManager::Activate(CFrameWnd* pFrame) {
  m_pFrame = pFrame;
  m_defaultAccel = CopyTable(pFrame->m_hAccelTable);
  m_reset = FALSE;
  m_dirty = FALSE;
  if (!Load()) {
    m_accel = m_defaultAccel;
  } else if (!RecreateAcceleratorTable()) {
    return FALSE;
  }
  m_active = TRUE;
  return TRUE;
}

void CXTShortcutManager::ForgetFrame(CFrameWnd* pFrame) {
  if (m_pFrame == pFrame) m_pFrame = nullptr;
}

BOOL CXTShortcutManager::SaveState(BOOL bDeactivate) {
  if (m_reset) {
    CXTSettingsStore store;
    if (!store.DeleteValue(kSection, kEntry)) return FALSE;
  } else if (m_dirty) {
    if (!Save(m_accel.data(), static_cast<int>(m_accel.size()))) return FALSE;
    m_dirty = FALSE;
    if (bDeactivate) m_active = FALSE;
  }
  return TRUE;
}

// The system refuses to make a table of no records, so an empty list is
// installed as no table at all: the frame then translates no shortcut.
BOOL CXTShortcutManager::InstallTable(const std::vector<ACCEL>& list) {
  if (!m_pFrame) return FALSE;
  HACCEL hNew = nullptr;
  if (!list.empty()) {
    hNew = ::CreateAcceleratorTableA(const_cast<ACCEL*>(list.data()), static_cast<int>(list.size()));
    if (!hNew) return FALSE;
  }
  if (m_pFrame->m_hAccelTable && !::DestroyAcceleratorTable(m_pFrame->m_hAccelTable)) {
    if (hNew) ::DestroyAcceleratorTable(hNew);
    return FALSE;
  }
  m_pFrame->m_hAccelTable = hNew;
  return TRUE;
}

BOOL CXTShortcutManager::ResetAccelerators() {
  if (!InstallTable(m_defaultAccel)) return FALSE;
  m_accel = CopyTable(m_pFrame->m_hAccelTable);
  m_dirty = FALSE;
  m_reset = TRUE;
  return TRUE;
}

BOOL CXTShortcutManager::RecreateAcceleratorTable() { return InstallTable(m_accel); }

void CXTShortcutManager::ChangedByUser() {
  m_dirty = TRUE;
  m_reset = FALSE;
}

BOOL CXTShortcutManager::AddAccelerator(UINT nCmd, BYTE fVirt, WORD wKey) {
  m_accel.push_back(ACCEL{fVirt, wKey, static_cast<WORD>(nCmd)});
  ChangedByUser();
  return TRUE;
}

BOOL CXTShortcutManager::FindAccelerator(BYTE fVirt, WORD wKey, UINT* pCmd) const {
  for (const ACCEL& accel : m_accel) {
    if (!SameShortcut(accel, fVirt, wKey)) continue;
    if (pCmd) *pCmd = accel.cmd;
    return TRUE;
  }
  return FALSE;
}

BOOL CXTShortcutManager::RemoveAccelerator(BYTE fVirt, WORD wKey) {
  for (auto it = m_accel.begin(); it != m_accel.end(); ++it) {
    if (!SameShortcut(*it, fVirt, wKey)) continue;
    m_accel.erase(it);
    ChangedByUser();
    return TRUE;
  }
  return FALSE;
}

BOOL CXTShortcutManager::IsShortcutMessage(const MSG* pMsg) const {
  if (pMsg->message != WM_KEYDOWN || IsModifierKey(pMsg->wParam)) return FALSE;
  BYTE fVirt = FVIRTKEY | FNOINVERT;
  if (KeyDown(VK_MENU)) fVirt |= FALT;
  if (KeyDown(VK_CONTROL)) fVirt |= FCONTROL;
  if (KeyDown(VK_SHIFT)) fVirt |= FSHIFT;
  return FindAccelerator(fVirt, static_cast<WORD>(pMsg->wParam), nullptr);
}

void CXTShortcutManager::GetShortcutText(UINT nCmd, CString& text) const {
  for (const ACCEL& accel : m_accel) {
    if (accel.cmd != nCmd) continue;
    const CString shortcut = FormatShortcut(accel);
    if (shortcut.IsEmpty()) continue;
    if (!text.IsEmpty()) text += ", ";
    text += shortcut;
  }
}

BOOL CXTShortcutManager::GetNextShortcut(int& pos, UINT nCmd, CString& text, BYTE& fVirt, WORD& wKey) const {
  for (; pos >= 0 && pos < static_cast<int>(m_accel.size()); ++pos) {
    const ACCEL& accel = m_accel[pos];
    if (accel.cmd != nCmd) continue;
    text = FormatShortcut(accel);
    fVirt = accel.fVirt;
    wKey = accel.key;
    ++pos;
    return TRUE;
  }
  return FALSE;
}
