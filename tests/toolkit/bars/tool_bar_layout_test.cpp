// The tool bars' stored layouts on the harness frame: a changed standard bar
// comes back after the frame is made again; what was saved against other
// buttons, damaged values and counts beyond the bytes change nothing; a long
// layout goes through the INI file whole. The format bar's bytes are saved in
// INI mode for check_tool_bar_layout.py, which reads them on its own.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "bars_fixture.h"
#include "classlib/archive.h"
#include "tool_bar_harness.h"
#include "tool_bar_harness_resource.h"
#include "toolkit/bars/ToolBarLayoutBytes.h"
#include "toolkit/common/SettingsStore.h"
#include "toolkit/common/SharedState.h"
#include "toolkit/customize/Crc32.h"
#include "toolkit/customize/ProfileBlob.h"

namespace {

const char kRegistryKey[] = "BrennicorToolBarLayoutTest";
const char kIniFile[] = BRENNICOR_TEST_WORK "/tool_bar_layout.ini";

CWinApp theApp("Tool Bar Layout Test");

class LayoutEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    ASSERT_TRUE(AfxWinInit(::GetModuleHandleA(nullptr), nullptr, const_cast<LPSTR>(""), SW_SHOWNORMAL));
  }
};
const auto* const kEnvironment = ::testing::AddGlobalTestEnvironment(new LayoutEnvironment);

CString ValueName(UINT barId) {
  CString name;
  name.Format("%s-Bar%d", AfxGetApp()->m_pszProfileName, static_cast<int>(barId));
  return name;
}

std::vector<BYTE> ReadValue(UINT barId) {
  BYTE* data = nullptr;
  UINT size = 0;
  CXTSettingsStore().ReadBinary("Settings", ValueName(barId), &data, &size);
  std::vector<BYTE> bytes(data, data + size);
  delete[] data;
  return bytes;
}

void WriteValue(UINT barId, const std::vector<BYTE>& bytes) {
  ASSERT_TRUE(CXTSettingsStore().WriteBinary("Settings", ValueName(barId), bytes.data(),
                                             static_cast<UINT>(bytes.size())));
}

// A blob as a bar saves it: the default layout's CRC, then the layout bytes.
void WriteLayoutBlob(UINT barId, uint32_t defaultCrc, const std::vector<BYTE>& layout) {
  CXTProfileBlob blob;
  {
    CArchive ar(&blob.File(), CArchive::store);
    ar << static_cast<DWORD>(defaultCrc);
    ar.WriteCount(layout.size());
    ar.Write(layout.data(), static_cast<UINT>(layout.size()));
    ar.Close();
  }
  ASSERT_TRUE(blob.Save("Settings", ValueName(barId)));
}

std::vector<UINT> Commands(const CXTToolBar& bar) {
  std::vector<UINT> ids;
  for (int i = 0; i < bar.GetButtonCount(); ++i) ids.push_back(bar.GetItemID(i));
  return ids;
}

class ToolBarLayout : public ::testing::Test {
 protected:
  void SetUp() override {
    ::RegDeleteTreeA(HKEY_CURRENT_USER, (CString("Software\\") + kRegistryKey));
    theApp.SetRegistryKey(kRegistryKey);
    GetSharedState().m_iniFileName.Empty();
    Open();
  }
  void TearDown() override {
    Close();
    GetSharedState().m_iniFileName.Empty();
  }
  void Open() {
    m_frame = CToolBarHarness::Open(CRect(40, 40, 640, 400));
    ASSERT_NE(m_frame, nullptr);
    PumpAndIdle();
  }
  void Close() {
    if (m_frame) m_frame->DestroyWindow();
    m_frame = nullptr;
  }
  void Reopen() {
    Close();
    Open();
  }
  // The standard bar as the user left it: Cut gone, New with a text.
  void ChangeStandardBar() {
    CXTToolBar& bar = m_frame->m_standard;
    bar.SendMessage(TB_DELETEBUTTON, bar.CommandToIndex(ID_HARNESS_CUT));
    bar.RebuildEntries();
    ASSERT_TRUE(bar.SetButtonText(bar.CommandToIndex(ID_HARNESS_NEW), "Fresh"));
  }
  CToolBarHarness* m_frame = nullptr;
};

TEST_F(ToolBarLayout, AChangedBarComesBackWhenTheFrameIsMadeAgain) {
  const std::vector<UINT> made = Commands(m_frame->m_standard);
  ChangeStandardBar();
  std::vector<UINT> changed = Commands(m_frame->m_standard);
  Reopen();
  CXTToolBar& bar = m_frame->m_standard;
  EXPECT_EQ(Commands(bar), changed);
  EXPECT_EQ(bar.GetButtonText(bar.CommandToIndex(ID_HARNESS_NEW)), "Fresh");
  EXPECT_EQ(bar.GetButtonText(bar.CommandToIndex(ID_HARNESS_OPEN)), "Open");
  // The undo button keeps its menu drop-down through the stored descriptor.
  const CXTDropDownButtonInfo* undo = bar.FindDropDownInfo(ID_HARNESS_UNDO);
  ASSERT_NE(undo, nullptr);
  EXPECT_EQ(undo->idMenu, static_cast<DWORD>(IDR_HARNESS_UNDO_MENU));
  EXPECT_NE(bar.SendMessage(TB_GETEXTENDEDSTYLE) & TBSTYLE_EX_DRAWDDARROWS, 0);
  // The common control's reset goes back to the buttons the program made.
  NMHDR reset = {bar.m_hWnd, static_cast<UINT_PTR>(ID_HARNESS_STANDARD_BAR), static_cast<UINT>(TBN_RESET)};
  EXPECT_EQ(m_frame->SendMessage(WM_NOTIFY, reset.idFrom, reinterpret_cast<LPARAM>(&reset)), 1);
  EXPECT_EQ(Commands(bar), made);
  EXPECT_EQ(bar.GetButtonText(bar.CommandToIndex(ID_HARNESS_NEW)), "");
}

TEST_F(ToolBarLayout, ALayoutSavedAgainstOtherButtonsIsIgnored) {
  const std::vector<UINT> made = Commands(m_frame->m_standard);
  ChangeStandardBar();
  const std::vector<BYTE> changed = m_frame->m_standard.CurrentLayoutBytes();
  const std::vector<BYTE> defaults = m_frame->m_standard.DefaultLayoutBytes();
  Close();
  WriteLayoutBlob(ID_HARNESS_STANDARD_BAR, CXTCrc32::Of(defaults.data(), defaults.size()) ^ 1, changed);
  Open();
  EXPECT_EQ(Commands(m_frame->m_standard), made);
}

// Each value is written in place of a good save; the bar keeps what the program made.
TEST_F(ToolBarLayout, DamagedValuesChangeNothing) {
  const std::vector<UINT> made = Commands(m_frame->m_standard);
  ChangeStandardBar();
  Close();
  const std::vector<BYTE> good = ReadValue(ID_HARNESS_STANDARD_BAR);
  ASSERT_GT(good.size(), 40u);
  std::vector<BYTE> flipped = good;
  flipped[good.size() / 2] ^= 0x20;
  std::vector<BYTE> badCrc = good;
  badCrc[0] ^= 1;

  struct Case {
    const char* what;
    std::vector<BYTE> value;
  };
  const std::vector<Case> cases = {
      {"a flipped byte", flipped},
      {"a wrong CRC", badCrc},
      {"an empty value", {}},
      {"three bytes", {0, 0, 0}},
      {"four zero bytes, an empty payload", {0, 0, 0, 0}},
  };
  for (const Case& c : cases) {
    WriteValue(ID_HARNESS_STANDARD_BAR, c.value);
    Open();
    EXPECT_EQ(Commands(m_frame->m_standard), made) << c.what;
    // Closing saves the unchanged bar; the next case writes its own value again.
    Close();
  }
}

TEST_F(ToolBarLayout, CountsBeyondTheBytesAreRefused) {
  const std::vector<UINT> made = Commands(m_frame->m_standard);
  const std::vector<BYTE> defaults = m_frame->m_standard.DefaultLayoutBytes();
  const uint32_t defaultCrc = CXTCrc32::Of(defaults.data(), defaults.size());
  Close();
  // Version 1, no list style, descriptor size 40, then a button count.
  const std::vector<BYTE> header = {1, 0, 0, 0, 40, 0};
  std::vector<BYTE> manyButtons = header;
  for (BYTE b : {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x0F}) manyButtons.push_back(b);
  std::vector<BYTE> oneMoreButton = header;
  for (BYTE b : {2, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}) oneMoreButton.push_back(b);
  for (const auto& layout : {manyButtons, oneMoreButton}) {
    CXTToolBarLayout parsed;
    EXPECT_FALSE(ParseToolBarLayout(layout.data(), static_cast<UINT>(layout.size()), &parsed));
    WriteLayoutBlob(ID_HARNESS_STANDARD_BAR, defaultCrc, layout);
    Open();
    EXPECT_EQ(Commands(m_frame->m_standard), made);
    Close();
  }
}

TEST_F(ToolBarLayout, ALongLayoutGoesThroughTheIniFileWhole) {
  Close();
  ::DeleteFileA(kIniFile);
  GetSharedState().m_iniFileName = kIniFile;
  Open();
  CXTToolBar& bar = m_frame->m_standard;
  std::vector<CString> texts;
  for (int i = 0; i < bar.GetButtonCount(); ++i) {
    if (bar.GetItemID(i) == 0) continue;
    texts.push_back(CString(static_cast<char>('a' + i), 320) + "|end");
    ASSERT_TRUE(bar.SetButtonText(i, texts.back()));
  }
  ASSERT_GT(bar.CurrentLayoutBytes().size(), 2047u);
  Reopen();
  CXTToolBar& again = m_frame->m_standard;
  size_t next = 0;
  for (int i = 0; i < again.GetButtonCount(); ++i) {
    if (again.GetItemID(i) == 0) continue;
    EXPECT_EQ(again.GetButtonText(i), texts[next++]) << i;
  }
  EXPECT_EQ(next, texts.size());
}

// Saved for check_tool_bar_layout.py: the format bar as the program made it.
TEST_F(ToolBarLayout, FormatBarLayoutIsSavedForTheIndependentReader) {
  Close();
  ::DeleteFileA(kIniFile);
  GetSharedState().m_iniFileName = kIniFile;
  Open();
  ASSERT_TRUE(m_frame->m_format.SaveState());
  ASSERT_EQ(ReadValue(ID_HARNESS_FORMAT_BAR).size(), 4u + 4u + 2u + m_frame->m_format.CurrentLayoutBytes().size());
}

}  // namespace
