// The broker's user tool bars: made by the factory, floated in a cascade,
// stored in the profile section as "CustomBars-Info" (version, count, then
// id and title per bar) and made again when the frame loads its bar state.
#include "classlib/archive.h"
#include "toolkit/bars/ToolBar.h"
#include "toolkit/common/SettingsStore.h"
#include "toolkit/customize/CustomizeBroker.h"
#include "toolkit/customize/ProfileBlob.h"

namespace {

const char kUserBarsValue[] = "CustomBars-Info";
const int kUserBarsVersion = 1;
const int kArchiveBuffer = 512;
// Least bytes a stored bar takes: its id and a one-byte title length.
const ULONGLONG kLeastBarBytes = 4 + 1;
const DWORD kUserBarStyle = WS_CHILD | CBRS_GRIPPER | CBRS_ALIGN_TOP | CBRS_BORDER_BOTTOM | CBRS_FLYBY |
                            CBRS_TOOLTIPS | CBRS_SIZE_DYNAMIC;

std::set<UINT> BarIds(CFrameWnd* frame) {
  std::set<UINT> ids;
  for (POSITION pos = frame->m_listControlBars.GetHeadPosition(); pos;) {
    CControlBar* bar = static_cast<CControlBar*>(frame->m_listControlBars.GetNext(pos));
    if (bar->m_hWnd) ids.insert(static_cast<UINT>(::GetDlgCtrlID(bar->m_hWnd)));
  }
  return ids;
}

}  // namespace

void CXTCustomizeBroker::SetToolBarFactory(CCmdTarget* object, XT_BAR_FACTORY_FN factory) {
  m_factoryObject = object;
  m_factory = factory;
}

void CXTCustomizeBroker::CreateToolBar(CXTUserBarRecord* record) {
  CXTToolBar* bar = new CXTToolBar;
  if (!bar->CreateEx(record->frame, TBSTYLE_FLAT | TBSTYLE_LIST, kUserBarStyle, CRect(0, 0, 0, 0), record->id)) {
    delete bar;
    AfxThrowResourceException();
  }
  bar->m_bAutoDelete = TRUE;
  bar->EnableDocking(CBRS_ALIGN_ANY);
  bar->EnableCustomization(TRUE);
  bar->SetWindowText(record->title);
  m_userBars.insert(bar->m_hWnd);
  record->bar = bar;
}

void CXTCustomizeBroker::FloatToolBar(CFrameWnd* frame, CControlBar* bar) {
  frame->FloatControlBar(bar, NextFloatPosition(), CBRS_ALIGN_TOP);
  frame->ShowControlBar(bar, TRUE, FALSE);
  frame->RecalcLayout();
}

BOOL CXTCustomizeBroker::LoadUserBars(CFrameWnd* frame, LPCSTR profile) {
  CXTProfileBlob blob;
  if (!CXTSettingsStore().HasValue(profile, kUserBarsValue) || !blob.Load(profile, kUserBarsValue)) return FALSE;
  const ULONGLONG length = blob.File().GetLength();
  try {
    CArchive ar(&blob.File(), CArchive::load, kArchiveBuffer);
    int version = 0, count = 0;
    ar >> version;
    if (version != kUserBarsVersion) return FALSE;
    ar >> count;
    if (count < 0 || static_cast<ULONGLONG>(count) > length / kLeastBarBytes) return FALSE;
    std::set<UINT> existing = count ? BarIds(frame) : std::set<UINT>();
    for (int i = 0; i < count; ++i) {
      CXTUserBarRecord record = {frame, 0, CString(), nullptr};
      ar >> record.id >> record.title;
      if (existing.count(record.id)) continue;
      // A bar that cannot be made is left out; the frame and the other bars still come up.
      try {
        (m_factoryObject->*m_factory)(&record);
      } catch (CResourceException* e) {
        e->Delete();
        continue;
      }
      existing.insert(record.id);
    }
  } catch (CArchiveException* e) {
    e->Delete();
    return FALSE;
  }
  return TRUE;
}

BOOL CXTCustomizeBroker::SaveUserBars(CFrameWnd* frame, LPCSTR profile) {
  std::vector<CControlBar*> kept;
  for (POSITION pos = frame->m_listControlBars.GetHeadPosition(); pos;) {
    CControlBar* bar = static_cast<CControlBar*>(frame->m_listControlBars.GetNext(pos));
    if (bar->m_hWnd && m_userBars.count(bar->m_hWnd)) kept.push_back(bar);
  }
  if (kept.empty()) {
    CXTSettingsStore store;
    if (store.HasValue(profile, kUserBarsValue)) store.DeleteValue(profile, kUserBarsValue);
    return TRUE;
  }
  CXTProfileBlob blob;
  {
    CArchive ar(&blob.File(), CArchive::store, kArchiveBuffer);
    ar << kUserBarsVersion << static_cast<int>(kept.size());
    for (CControlBar* bar : kept) {
      CString title;
      bar->GetWindowText(title);
      ar << static_cast<UINT>(::GetDlgCtrlID(bar->m_hWnd)) << title;
    }
    ar.Close();
  }
  return blob.Save(profile, kUserBarsValue);
}
