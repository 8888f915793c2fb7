// Bar state kept through the settings store: the sections and values a
// state writes (read back with the registry and profile functions of the
// system, not through our store), damaged counts, scaling to another
// screen, and a live frame saved, destroyed, built again and loaded.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "classlib/classlib.h"
#include "toolkit/common/SettingsStore.h"
#include "toolkit/common/SharedState.h"
#include "toolkit/docking/BarPosition.h"
#include "toolkit/docking/BarState.h"
#include "toolkit/docking/DockState.h"
#include "docking_fixture.h"
#include "registry_read_counter.h"
#include "waiting.h"

namespace {

const char kCompany[] = "BrennicorToolkitDockingTest";
const char kAppKey[] = "Software\\BrennicorToolkitDockingTest\\Docking Test\\";
const char kIniFile[] = BRENNICOR_TEST_WORK "/toolkit_dock_state.ini";
const char kProfile[] = "Layout";

using Values = std::vector<std::pair<std::string, int>>;

// The values of one registry section, sorted by name: the registry keeps no order.
Values RegistrySection(const std::string& section) {
  Values values;
  HKEY key = nullptr;
  if (::RegOpenKeyExA(HKEY_CURRENT_USER, (kAppKey + section).c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
    return values;
  for (DWORD i = 0;; ++i) {
    char name[64];
    DWORD nameSize = sizeof name, type = 0, data = 0, dataSize = sizeof data;
    if (::RegEnumValueA(key, i, name, &nameSize, nullptr, &type, reinterpret_cast<BYTE*>(&data), &dataSize) !=
        ERROR_SUCCESS)
      break;
    EXPECT_EQ(type, static_cast<DWORD>(REG_DWORD)) << name;
    values.emplace_back(name, static_cast<int>(data));
  }
  ::RegCloseKey(key);
  std::sort(values.begin(), values.end());
  return values;
}

// The same from the INI file, through the profile functions, in the order written.
Values IniSection(const std::string& section) {
  Values values;
  char text[4096];
  ::GetPrivateProfileSectionA(section.c_str(), text, sizeof text, kIniFile);
  for (const char* line = text; *line; line += strlen(line) + 1) {
    const char* equals = strchr(line, '=');
    values.emplace_back(std::string(line, equals), atoi(equals + 1));
  }
  return values;
}

CControlBarInfo* Record(UINT nID, std::initializer_list<DWORD> ids = {}) {
  CControlBarInfo* pInfo = new CControlBarInfo;
  pInfo->m_nBarID = nID;
  pInfo->m_bVisible = TRUE;
  for (DWORD id : ids) pInfo->m_arrBarID.Add(id);
  pInfo->m_bDockBar = ids.size() > 0;
  return pInfo;
}

const UINT kFirstBar = AFX_IDW_CONTROLBAR_FIRST + 0x40;

// Every test starts from a registry key of its own, in registry mode.
class DockState : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    AfxWinInit(::GetModuleHandleA(nullptr), nullptr, const_cast<LPSTR>(""), SW_SHOWNORMAL);
  }
  void SetUp() override {
    ::RegDeleteTreeA(HKEY_CURRENT_USER, (CString("Software\\") + kCompany));
    AfxGetApp()->SetRegistryKey(kCompany);
    GetSharedState().m_iniFileName.Empty();
  }
  void TearDown() override {
    GetSharedState().m_iniFileName.Empty();
    DestroyFrame();
  }
  void UseIniFile() {
    ::DeleteFileA(kIniFile);
    GetSharedState().m_iniFileName = kIniFile;
  }

  // A frame docking on every side with bars kFirstBar + i for each i of ids, all docked on top.
  void MakeFrame(std::initializer_list<int> ids) {
    frame = new CFrameWnd;
    ASSERT_TRUE(frame->Create(nullptr, "Dock state", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(0, 0, 800, 600)));
    frame->EnableDocking(CBRS_ALIGN_ANY);
    AfxGetApp()->m_pMainWnd = frame;
    for (int i : ids) {
      ASSERT_TRUE(bars[i].Create(frame, kFirstBar + i, kBlockSize, "Block"));
      frame->DockControlBar(&bars[i], AFX_IDW_DOCKBAR_TOP);
    }
    frame->RecalcLayout();
  }
  void DestroyFrame() {
    AfxGetApp()->m_pMainWnd = nullptr;
    if (frame && ::IsWindow(frame->m_hWnd)) frame->DestroyWindow();
    frame = nullptr;
    PumpWaiting();
  }
  std::vector<DWORD> Rows(UINT nDockBarID) {
    CControlBarInfo info;
    static_cast<CDockBar*>(frame->GetControlBar(nDockBarID))->GetBarInfo(&info);
    return std::vector<DWORD>(&info.m_arrBarID[0], &info.m_arrBarID[0] + info.m_arrBarID.GetSize());
  }

  CFrameWnd* frame = nullptr;
  CBlockBar bars[4];
};

DWORD Id(int i) { return kFirstBar + i; }

}  // namespace

TEST_F(DockState, SectionsHoldOnlyWhatDiffersFromTheDefaultsInWriteOrder) {
  CXTDockState state;
  state.m_arrBarInfo.Add(Record(AFX_IDW_DOCKBAR_TOP, {0, Id(0), 0, Id(1) | AFX_BARINFO_PLACEHOLDER, 0}));
  state.m_arrBarInfo.Add(Record(AFX_IDW_DOCKBAR_LEFT, {0}));  // an empty side says nothing: no section
  CControlBarInfo* floating = Record(AFX_IDW_DOCKBAR_FLOAT, {0, Id(2), 0});
  floating->m_bFloating = TRUE;
  floating->m_bHorz = FALSE;
  floating->m_pointPos = CPoint(300, 200);
  state.m_arrBarInfo.Add(floating);
  CControlBarInfo* hidden = Record(Id(1));
  hidden->m_bVisible = FALSE;
  hidden->m_bDocking = TRUE;
  hidden->m_nMRUWidth = 120;
  hidden->m_pointPos = CPoint(4, 0);
  hidden->m_uMRUDockID = AFX_IDW_DOCKBAR_TOP;
  hidden->m_rectMRUDockPos = CRect(4, 0, 104, 24);
  hidden->m_dwMRUFloatStyle = CBRS_ALIGN_TOP;
  hidden->m_ptMRUFloatPos = CPoint(-1, 50);
  state.m_arrBarInfo.Add(hidden);

  for (bool ini : {false, true}) {
    SCOPED_TRACE(ini ? "INI file" : "registry");
    if (ini) UseIniFile();
    state.SaveState(kProfile);
    auto read = [ini](const std::string& section) { return ini ? IniSection(section) : RegistrySection(section); };
    auto inOrder = [ini](Values values) {
      if (!ini) std::sort(values.begin(), values.end());
      return values;
    };
    EXPECT_EQ(read("Layout-Summary"), inOrder(Values{{"Bars", 3},
                                                     {"ScreenCX", ::GetSystemMetrics(SM_CXSCREEN)},
                                                     {"ScreenCY", ::GetSystemMetrics(SM_CYSCREEN)}}));
    EXPECT_EQ(read("Layout-Bar0"), inOrder(Values{{"BarID", AFX_IDW_DOCKBAR_TOP},
                                                  {"Bars", 5},
                                                  {"Bar#0", 0},
                                                  {"Bar#1", static_cast<int>(Id(0))},
                                                  {"Bar#2", 0},
                                                  {"Bar#3", static_cast<int>(Id(1) | AFX_BARINFO_PLACEHOLDER)},
                                                  {"Bar#4", 0}}));
    EXPECT_EQ(read("Layout-Bar1"), inOrder(Values{{"BarID", AFX_IDW_DOCKBAR_FLOAT},
                                                  {"Horz", 0},
                                                  {"Floating", 1},
                                                  {"XPos", 300},
                                                  {"YPos", 200},
                                                  {"Bars", 3},
                                                  {"Bar#0", 0},
                                                  {"Bar#1", static_cast<int>(Id(2))},
                                                  {"Bar#2", 0}}));
    EXPECT_EQ(read("Layout-Bar2"), inOrder(Values{{"BarID", static_cast<int>(Id(1))},
                                                  {"Visible", 0},
                                                  {"XPos", 4},
                                                  {"YPos", 0},
                                                  {"MRUWidth", 120},
                                                  {"Docking", 1},
                                                  {"MRUDockID", AFX_IDW_DOCKBAR_TOP},
                                                  {"MRUDockLeftPos", 4},
                                                  {"MRUDockTopPos", 0},
                                                  {"MRUDockRightPos", 104},
                                                  {"MRUDockBottomPos", 24},
                                                  {"MRUFloatStyle", CBRS_ALIGN_TOP},
                                                  {"MRUFloatXPos", -1},
                                                  {"MRUFloatYPos", 50}}));
    EXPECT_TRUE(read("Layout-Bar3").empty());
  }
}

TEST_F(DockState, SavingAgainDropsStaleValuesOfASection) {
  CXTDockState state;
  CControlBarInfo* pInfo = Record(AFX_IDW_DOCKBAR_FLOAT, {0, Id(0), 0});
  pInfo->m_bFloating = TRUE;
  pInfo->m_pointPos = CPoint(10, 10);
  state.m_arrBarInfo.Add(pInfo);
  state.SaveState(kProfile);
  pInfo->m_nBarID = AFX_IDW_DOCKBAR_TOP;
  pInfo->m_bFloating = FALSE;
  pInfo->m_pointPos = CPoint(-1, -1);
  state.SaveState(kProfile);
  Values expected{
      {"BarID", AFX_IDW_DOCKBAR_TOP}, {"Bars", 3}, {"Bar#0", 0}, {"Bar#1", static_cast<int>(Id(0))}, {"Bar#2", 0}};
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(RegistrySection("Layout-Bar0"), expected);
}

TEST_F(DockState, LoadGivesBackWhatWasSavedAndDefaultsForWhatWasNot) {
  CXTDockState saved;
  CControlBarInfo* floating = Record(AFX_IDW_DOCKBAR_FLOAT, {0, Id(2), 0});
  floating->m_bFloating = TRUE;
  floating->m_pointPos = CPoint(300, 200);
  saved.m_arrBarInfo.Add(floating);
  CControlBarInfo* bar = Record(Id(1));
  bar->m_bDocking = TRUE;
  bar->m_rectMRUDockPos = CRect(4, 0, 104, 24);
  bar->m_ptMRUFloatPos = CPoint(70, 50);
  saved.m_arrBarInfo.Add(bar);
  saved.SaveState(kProfile);

  CXTDockState loaded;
  loaded.LoadState(kProfile);
  ASSERT_EQ(loaded.m_arrBarInfo.GetSize(), 2);
  const CControlBarInfo& f = *loaded.m_arrBarInfo[0];
  EXPECT_EQ(f.m_nBarID, AFX_IDW_DOCKBAR_FLOAT);
  EXPECT_TRUE(f.m_bFloating && f.m_bVisible && !f.m_bHorz);
  EXPECT_EQ(f.m_pointPos, CPoint(300, 200));
  EXPECT_EQ(f.m_arrBarID.GetSize(), 3);
  EXPECT_EQ(f.m_arrBarID[1], Id(2));
  const CControlBarInfo& b = *loaded.m_arrBarInfo[1];
  EXPECT_TRUE(b.m_bDocking && b.m_bVisible && !b.m_bFloating);
  EXPECT_TRUE(b.m_bHorz);  // not written for a docked bar: its default
  EXPECT_EQ(b.m_pointPos, CPoint(-1, -1));
  EXPECT_EQ(b.m_nMRUWidth, 32767);
  EXPECT_EQ(b.m_rectMRUDockPos, CRect(4, 0, 104, 24));
  EXPECT_EQ(b.m_ptMRUFloatPos, CPoint(70, 50));
  EXPECT_EQ(b.m_arrBarID.GetSize(), 0);
}

TEST_F(DockState, DamagedCountsAreBoundedByTheValuesPresent) {
  CXTSettingsStore store;
  store.WriteInt("Layout-Summary", "Bars", 0x7FFFFFFF);
  store.WriteInt("Layout-Bar0", "BarID", AFX_IDW_DOCKBAR_TOP);
  store.WriteInt("Layout-Bar0", "Bars", 0x7FFFFFFF);
  for (int i : {0, 1, 2}) store.WriteInt("Layout-Bar0", CString("Bar#") + char('0' + i), i == 1 ? Id(0) : 0);
  store.WriteInt("Layout-Bar0", "Bar#4", Id(1));  // past a gap: not reached
  store.WriteInt("Layout-Bar1", "BarID", Id(0));
  store.WriteInt("Layout-Bar1", "Bars", -5);
  store.WriteInt("Layout-Bar3", "BarID", Id(1));  // past a missing section: not reached

  // Two bars of a score of values each and three ids: a load bounded by
  // the values present reads a hundred or so, one led by the counts reads
  // billions.
  CXTDockState state;
  {
    RegistryReadCounter reads(200);
    ASSERT_TRUE(reads.Counting());
    state.LoadState(kProfile);
    EXPECT_GT(reads.Reads(), 0);  // the load's reads go through the counter
  }
  ASSERT_EQ(state.m_arrBarInfo.GetSize(), 2);
  EXPECT_EQ(state.m_arrBarInfo[0]->m_arrBarID.GetSize(), 3);
  EXPECT_EQ(state.m_arrBarInfo[1]->m_arrBarID.GetSize(), 0);
}

TEST_F(DockState, PositionsScaleOnlyFromAKnownScreenOfAnotherSize) {
  const int cx = ::GetSystemMetrics(SM_CXSCREEN), cy = ::GetSystemMetrics(SM_CYSCREEN);
  struct {
    int savedCx, savedCy;
    CPoint expected;
    const char* why;
  } cases[] = {
      {cx * 2, cy * 2, CPoint(150, 100), "twice the present size: halved"},
      {cx, cy, CPoint(300, 200), "the same size: unchanged"},
      {0, cy * 2, CPoint(300, 200), "width unknown: unchanged"},
      {cx * 2, 0, CPoint(300, 200), "height unknown: unchanged"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.why);
    CXTSettingsStore store;
    store.WriteInt("Layout-Summary", "Bars", 1);
    store.WriteInt("Layout-Summary", "ScreenCX", c.savedCx);
    store.WriteInt("Layout-Summary", "ScreenCY", c.savedCy);
    store.WriteInt("Layout-Bar0", "BarID", Id(0));
    store.WriteInt("Layout-Bar0", "XPos", 300);
    store.WriteInt("Layout-Bar0", "YPos", 200);
    store.WriteInt("Layout-Bar0", "Docking", 1);
    store.WriteInt("Layout-Bar0", "MRUDockRightPos", 300);
    store.WriteInt("Layout-Bar0", "MRUFloatYPos", 200);
    CXTDockState state;
    state.LoadState(kProfile);
    ASSERT_EQ(state.m_arrBarInfo.GetSize(), 1);
    const CControlBarInfo& info = *state.m_arrBarInfo[0];
    EXPECT_EQ(info.m_pointPos, c.expected);
    EXPECT_EQ(info.m_rectMRUDockPos.right, c.expected.x);
    EXPECT_EQ(info.m_ptMRUFloatPos.y, c.expected.y);
  }
}

TEST_F(DockState, AFrameBuiltAgainGetsItsLayoutBackWithoutTheBarsItLacks) {
  MakeFrame({0, 1, 2, 3});
  frame->FloatControlBar(&bars[1], CPoint(300, 250));
  AfxGetApp()->OnIdle(0);
  frame->ShowControlBar(&bars[2], FALSE, FALSE);
  frame->DockControlBar(&bars[0], AFX_IDW_DOCKBAR_LEFT);
  frame->RecalcLayout();
  bars[0].m_pDockContext->m_ptMRUFloatPos = CPoint(123, 45);  // where a double click floats it
  XTSaveBarState(frame, kProfile);
  DestroyFrame();

  MakeFrame({0, 1, 2});  // bar 3 is gone from this build
  XTLoadBarState(frame, kProfile);
  AfxGetApp()->OnIdle(0);
  EXPECT_EQ(bars[0].m_pDockBar, frame->GetControlBar(AFX_IDW_DOCKBAR_LEFT));
  EXPECT_EQ(bars[0].m_pDockContext->m_ptMRUFloatPos, CPoint(123, 45));
  ASSERT_TRUE(bars[1].m_pDockBar && bars[1].m_pDockBar->m_bFloating);
  CRect mini;
  bars[1].GetParentFrame()->GetWindowRect(&mini);
  EXPECT_EQ(mini.TopLeft(), CPoint(300, 250));
  EXPECT_TRUE(bars[1].IsWindowVisible());
  EXPECT_FALSE(bars[2].IsWindowVisible());
  for (UINT side : {AFX_IDW_DOCKBAR_TOP, AFX_IDW_DOCKBAR_LEFT})
    for (DWORD id : Rows(side)) EXPECT_NE(LOWORD(id), Id(3));
  // Still usable: the floating bar docks again.
  frame->DockControlBar(&bars[1], AFX_IDW_DOCKBAR_BOTTOM);
  frame->RecalcLayout();
  EXPECT_EQ(bars[1].m_pDockBar, frame->GetControlBar(AFX_IDW_DOCKBAR_BOTTOM));
}

TEST_F(DockState, PruningDropsUnknownIdsAndRecordsButKeepsRowEndsAndFloatingRecords) {
  MakeFrame({0, 1});
  const DWORD unknown = kFirstBar + 0x30;
  CXTDockState state;
  state.m_arrBarInfo.Add(Record(AFX_IDW_DOCKBAR_TOP, {0, Id(0), unknown, 0, unknown | AFX_BARINFO_PLACEHOLDER,
                                                      Id(1) | AFX_BARINFO_PLACEHOLDER, 0}));
  state.m_arrBarInfo.Add(Record(unknown));
  CControlBarInfo* floating = Record(AFX_IDW_DOCKBAR_FLOAT, {0, unknown, 0});
  floating->m_bFloating = TRUE;
  state.m_arrBarInfo.Add(floating);
  XTPruneDockState(frame, state);
  ASSERT_EQ(state.m_arrBarInfo.GetSize(), 2);
  const CDWordArray& top = state.m_arrBarInfo[0]->m_arrBarID;
  EXPECT_EQ(std::vector<DWORD>(&top[0], &top[0] + top.GetSize()),
            (std::vector<DWORD>{0, Id(0), 0, Id(1) | AFX_BARINFO_PLACEHOLDER, 0}));
  EXPECT_EQ(state.m_arrBarInfo[1]->m_arrBarID.GetSize(), 2);
}

TEST_F(DockState, BarPositionIsTakenOnlyAtExactlyItsSize) {
  CXTSettingsStore store;
  CXTBarPosition saved;
  saved.record.defaultSizes[2] = {120, 80};
  saved.record.barStyle = 0x1000;
  ASSERT_TRUE(saved.Save(store, "Layout-Bar0"));
  CXTBarPosition loaded;
  ASSERT_TRUE(loaded.Load(store, "Layout-Bar0"));
  EXPECT_EQ(memcmp(&loaded.record, &saved.record, sizeof saved.record), 0);

  for (UINT size : {0u, 43u, 45u, 88u}) {
    SCOPED_TRACE(size);
    std::vector<BYTE> bytes(size + 1, 0xAB);
    store.WriteBinary("Layout-Bar1", "Bar Position", bytes.data(), size);
    CXTBarPosition kept = saved;
    EXPECT_FALSE(kept.Load(store, "Layout-Bar1"));
    EXPECT_EQ(memcmp(&kept.record, &saved.record, sizeof saved.record), 0);
  }
  CXTBarPosition missing = saved;
  EXPECT_FALSE(missing.Load(store, "Layout-Bar2"));
}
