#include "toolkit/docking/DockState.h"

#include "toolkit/common/SettingsStore.h"

IMPLEMENT_DYNCREATE(CXTDockState, CDockState)

namespace {

// When a value of a bar section is written; otherwise the reader's default stands.
enum class WriteWhen { kAlways, kNotDefault, kFloating, kDocking };

// One integer value of a bar section, in the order it is written.
struct BarValue {
  LPCSTR name;
  WriteWhen when;
  int defaultValue;
  int (*get)(const CControlBarInfo&);
  void (*set)(CControlBarInfo&, int);
};

const BarValue kBarValues[] = {
    {"BarID", WriteWhen::kAlways, 0, [](const CControlBarInfo& i) { return static_cast<int>(i.m_nBarID); },
     [](CControlBarInfo& i, int v) { i.m_nBarID = static_cast<UINT>(v); }},
    {"Visible", WriteWhen::kNotDefault, 1, [](const CControlBarInfo& i) { return i.m_bVisible ? 1 : 0; },
     [](CControlBarInfo& i, int v) { i.m_bVisible = v; }},
    {"Horz", WriteWhen::kFloating, 1, [](const CControlBarInfo& i) { return i.m_bHorz ? 1 : 0; },
     [](CControlBarInfo& i, int v) { i.m_bHorz = v; }},
    {"Floating", WriteWhen::kNotDefault, 0, [](const CControlBarInfo& i) { return i.m_bFloating ? 1 : 0; },
     [](CControlBarInfo& i, int v) { i.m_bFloating = v; }},
    {"XPos", WriteWhen::kNotDefault, -1, [](const CControlBarInfo& i) { return static_cast<int>(i.m_pointPos.x); },
     [](CControlBarInfo& i, int v) { i.m_pointPos.x = v; }},
    {"YPos", WriteWhen::kNotDefault, -1, [](const CControlBarInfo& i) { return static_cast<int>(i.m_pointPos.y); },
     [](CControlBarInfo& i, int v) { i.m_pointPos.y = v; }},
    {"MRUWidth", WriteWhen::kNotDefault, 32767, [](const CControlBarInfo& i) { return i.m_nMRUWidth; },
     [](CControlBarInfo& i, int v) { i.m_nMRUWidth = v; }},
    {"Docking", WriteWhen::kNotDefault, 0, [](const CControlBarInfo& i) { return i.m_bDocking ? 1 : 0; },
     [](CControlBarInfo& i, int v) { i.m_bDocking = v; }},
    {"MRUDockID", WriteWhen::kDocking, 0, [](const CControlBarInfo& i) { return static_cast<int>(i.m_uMRUDockID); },
     [](CControlBarInfo& i, int v) { i.m_uMRUDockID = static_cast<UINT>(v); }},
    {"MRUDockLeftPos", WriteWhen::kDocking, 0,
     [](const CControlBarInfo& i) { return static_cast<int>(i.m_rectMRUDockPos.left); },
     [](CControlBarInfo& i, int v) { i.m_rectMRUDockPos.left = v; }},
    {"MRUDockTopPos", WriteWhen::kDocking, 0,
     [](const CControlBarInfo& i) { return static_cast<int>(i.m_rectMRUDockPos.top); },
     [](CControlBarInfo& i, int v) { i.m_rectMRUDockPos.top = v; }},
    {"MRUDockRightPos", WriteWhen::kDocking, 0,
     [](const CControlBarInfo& i) { return static_cast<int>(i.m_rectMRUDockPos.right); },
     [](CControlBarInfo& i, int v) { i.m_rectMRUDockPos.right = v; }},
    {"MRUDockBottomPos", WriteWhen::kDocking, 0,
     [](const CControlBarInfo& i) { return static_cast<int>(i.m_rectMRUDockPos.bottom); },
     [](CControlBarInfo& i, int v) { i.m_rectMRUDockPos.bottom = v; }},
    {"MRUFloatStyle", WriteWhen::kDocking, 0,
     [](const CControlBarInfo& i) { return static_cast<int>(i.m_dwMRUFloatStyle); },
     [](CControlBarInfo& i, int v) { i.m_dwMRUFloatStyle = static_cast<DWORD>(v); }},
    {"MRUFloatXPos", WriteWhen::kDocking, 0,
     [](const CControlBarInfo& i) { return static_cast<int>(i.m_ptMRUFloatPos.x); },
     [](CControlBarInfo& i, int v) { i.m_ptMRUFloatPos.x = v; }},
    {"MRUFloatYPos", WriteWhen::kDocking, 0,
     [](const CControlBarInfo& i) { return static_cast<int>(i.m_ptMRUFloatPos.y); },
     [](CControlBarInfo& i, int v) { i.m_ptMRUFloatPos.y = v; }},
};

const char kIdCount[] = "Bars";
const char kScreenWidth[] = "ScreenCX";
const char kScreenHeight[] = "ScreenCY";
const char kPresenceValue[] = "BarID";  // written in every bar section

bool ShouldWrite(const BarValue& value, const CControlBarInfo& info) {
  switch (value.when) {
    case WriteWhen::kAlways:
      return true;
    case WriteWhen::kNotDefault:
      return value.get(info) != value.defaultValue;
    case WriteWhen::kFloating:
      return info.m_bFloating != FALSE;
    case WriteWhen::kDocking:
      return info.m_bDocking != FALSE;
  }
  return false;
}

// A dock bar on its side, visible, that holds no bar: the defaults say it all.
bool SaysNothing(const CControlBarInfo& info) {
  return info.m_bDockBar && info.m_bVisible && !info.m_bFloating && info.m_pointPos == CPoint(-1, -1) &&
         info.m_arrBarID.GetSize() <= 1;
}

// No value reads back as two different defaults.
bool HasValue(CXTSettingsStore& store, LPCSTR section, LPCSTR entry) {
  return store.ReadInt(section, entry, 0) != 0 || store.ReadInt(section, entry, 1) != 1;
}

CString SummarySection(LPCSTR profile) {
  CString section;
  section.Format("%s-Summary", profile);
  return section;
}

CString BarSection(LPCSTR profile, int n) {
  CString section;
  section.Format("%s-Bar%d", profile, n);
  return section;
}

CString IdEntry(int i) {
  CString entry;
  entry.Format("Bar#%d", i);
  return entry;
}

CSize PresentScreenSize() { return CSize(::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)); }

}  // namespace

void CXTDockState::SaveState(LPCSTR lpszProfileName) {
  CXTSettingsStore store;
  int written = 0;
  for (INT_PTR i = 0; i < m_arrBarInfo.GetSize(); ++i)
    if (m_arrBarInfo[i] && SaveBarInfo(store, BarSection(lpszProfileName, written), *m_arrBarInfo[i])) ++written;
  const CString summary = SummarySection(lpszProfileName);
  const CSize screen = PresentScreenSize();
  store.WriteInt(summary, kIdCount, written);
  store.WriteInt(summary, kScreenWidth, screen.cx);
  store.WriteInt(summary, kScreenHeight, screen.cy);
}

// Stale values of the section go first, so a bar that stopped floating loses "Floating".
BOOL CXTDockState::SaveBarInfo(CXTSettingsStore& store, LPCSTR lpszSection, const CControlBarInfo& info) {
  store.WriteString(lpszSection, nullptr, nullptr);
  if (SaysNothing(info)) return FALSE;
  for (const BarValue& value : kBarValues)
    if (ShouldWrite(value, info)) store.WriteInt(lpszSection, value.name, value.get(info));
  const int ids = static_cast<int>(info.m_arrBarID.GetSize());
  if (ids > 1) {
    store.WriteInt(lpszSection, kIdCount, ids);
    for (int i = 0; i < ids; ++i) store.WriteInt(lpszSection, IdEntry(i), static_cast<int>(info.m_arrBarID[i]));
  }
  return TRUE;
}

// The counts read back are only upper bounds: reading stops at the first
// section or id that is not there, so a damaged count costs no time.
void CXTDockState::LoadState(LPCSTR lpszProfileName) {
  CXTSettingsStore store;
  const CString summary = SummarySection(lpszProfileName);
  const int count = store.ReadInt(summary, kIdCount, 0);
  SetScreenSize(CSize(store.ReadInt(summary, kScreenWidth, 0), store.ReadInt(summary, kScreenHeight, 0)));
  for (int i = 0; i < count; ++i) {
    const CString section = BarSection(lpszProfileName, i);
    if (!HasValue(store, section, kPresenceValue)) break;
    CControlBarInfo* pInfo = new CControlBarInfo;
    m_arrBarInfo.Add(pInfo);
    LoadBarInfo(store, section, *pInfo);
  }
}

void CXTDockState::LoadBarInfo(CXTSettingsStore& store, LPCSTR lpszSection, CControlBarInfo& info) const {
  for (const BarValue& value : kBarValues) value.set(info, store.ReadInt(lpszSection, value.name, value.defaultValue));
  info.m_pointPos = ScaleToScreen(info.m_pointPos);
  if (info.m_bDocking) {
    info.m_rectMRUDockPos.TopLeft() = ScaleToScreen(info.m_rectMRUDockPos.TopLeft());
    info.m_rectMRUDockPos.BottomRight() = ScaleToScreen(info.m_rectMRUDockPos.BottomRight());
    info.m_ptMRUFloatPos = ScaleToScreen(info.m_ptMRUFloatPos);
  }
  const int ids = store.ReadInt(lpszSection, kIdCount, 0);
  for (int j = 0; j < ids; ++j) {
    const CString entry = IdEntry(j);
    if (!HasValue(store, lpszSection, entry)) break;
    info.m_arrBarID.Add(static_cast<DWORD>(store.ReadInt(lpszSection, entry, 0)));
  }
}

// Only a known screen size that differs from the present one scales; -1 stays "no position".
CPoint CXTDockState::ScaleToScreen(CPoint point) const {
  const CSize saved = GetScreenSize();
  const CSize screen = PresentScreenSize();
  if (saved.cx == 0 || saved.cy == 0 || saved == screen) return point;
  if (point.x != -1) point.x = ::MulDiv(point.x, screen.cx, saved.cx);
  if (point.y != -1) point.y = ::MulDiv(point.y, screen.cy, saved.cy);
  return point;
}
