#include "toolkit/common/WindowPlacement.h"

#include <string.h>

#include "toolkit/common/SettingsStore.h"

namespace {

const char kSection[] = "Settings";
const char kDefaultValueName[] = "Window Position";

LPCSTR ValueNameOr(LPCSTR valueName) { return valueName ? valueName : kDefaultValueName; }

}  // namespace

CXTWindowPlacement::CXTWindowPlacement() {
  memset(&m_record, 0, sizeof m_record);
  m_record.placement.length = kStoredSize;
  m_record.placement.showCmd = SW_SHOW;
}

BOOL CXTWindowPlacement::SaveWindowPlacement(CWnd* wnd, LPCSTR valueName) {
  if (!wnd || !::IsWindow(wnd->GetSafeHwnd())) return FALSE;
  WINDOWPLACEMENT current = {};
  current.length = sizeof current;
  if (!::GetWindowPlacement(wnd->GetSafeHwnd(), &current)) return FALSE;
  m_record.placement = current;
  m_record.placement.length = kStoredSize;
  if (!valueName && current.showCmd != SW_SHOWMAXIMIZED) m_record.placement.showCmd = SW_SHOWNORMAL;
  CXTSettingsStore store;
  return store.WriteBinary(kSection, ValueNameOr(valueName), reinterpret_cast<const BYTE*>(&m_record),
                           sizeof m_record);
}

BOOL CXTWindowPlacement::LoadWindowPlacement(LPCSTR valueName) {
  CXTSettingsStore store;
  BYTE* data = nullptr;
  UINT size = 0;
  const BOOL read = store.ReadBinary(kSection, ValueNameOr(valueName), &data, &size);
  const BOOL accepted = read && size == kStoredSize;
  if (accepted) memcpy(&m_record, data, sizeof m_record);
  delete[] data;
  return accepted;
}

BOOL CXTWindowPlacement::RestoreWindowPlacement(CWnd* wnd, LPCSTR valueName) {
  if (!wnd || !::IsWindow(wnd->GetSafeHwnd()) || !LoadWindowPlacement(valueName)) return FALSE;
  // The system refuses any length but its own record's.
  WINDOWPLACEMENT placement = m_record.placement;
  placement.length = sizeof placement;
  return ::SetWindowPlacement(wnd->GetSafeHwnd(), &placement);
}
