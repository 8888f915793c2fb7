// The settings store in both modes and the window placement kept through it.
// What the registry and the INI file hold afterwards is read back by
// check_settings_store.py with Wine's reg export and configparser.
#include <gtest/gtest.h>

#include <string.h>

#include <vector>

#include "classlib/winapp.h"
#include "toolkit/common/SettingsStore.h"
#include "toolkit/common/SharedState.h"
#include "toolkit/common/WindowPlacement.h"

namespace {

CWinApp theApp("Store Test");
const char kCompany[] = "BrennicorToolkitCommonTest";
const char kIniFile[] = BRENNICOR_TEST_WORK "/toolkit_store.ini";

std::vector<BYTE> LargeBlob() {
  std::vector<BYTE> blob(3000);
  for (size_t i = 0; i < blob.size(); ++i) blob[i] = static_cast<BYTE>(i * 7 + i / 256);
  return blob;
}

// The values each mode is checked with (and the Python check reads back).
bool WriteSampleValues(CXTSettingsStore& store, LPCSTR text) {
  const BYTE three[] = {0x00, 0x1F, 0xFF};
  const std::vector<BYTE> blob = LargeBlob();
  return store.WriteInt("Settings", "bXPMode", 1) && store.WriteInt("Values", "Negative", -2) &&
         store.WriteString("Values", "Text", text) && store.WriteBinary("Values", "Three", three, sizeof three) &&
         store.WriteBinary("Values", "Large", blob.data(), static_cast<UINT>(blob.size()));
}

// Every test starts from a registry key and INI file of its own, in registry mode.
class Store : public ::testing::Test {
 protected:
  void SetUp() override {
    ::RegDeleteTreeA(HKEY_CURRENT_USER, (CString("Software\\") + kCompany));
    theApp.SetRegistryKey(kCompany);
    GetSharedState().m_iniFileName.Empty();
  }
  void UseIniFile() {
    ::DeleteFileA(kIniFile);
    GetSharedState().m_iniFileName = kIniFile;
  }
  // Writes a raw value straight into a section, bypassing the store.
  void PutRaw(LPCSTR section, LPCSTR entry, DWORD type, const void* data, DWORD size) {
    HKEY key = theApp.GetSectionKey(section);
    ASSERT_TRUE(key);
    ASSERT_EQ(::RegSetValueExA(key, entry, 0, type, static_cast<const BYTE*>(data), size), ERROR_SUCCESS);
    ::RegCloseKey(key);
  }
  bool SectionExists(LPCSTR section) {
    HKEY key = nullptr;
    CString path = CString("Software\\") + kCompany + "\\Store Test\\" + section;
    if (::RegOpenKeyExA(HKEY_CURRENT_USER, path, 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    ::RegCloseKey(key);
    return true;
  }
};

}  // namespace

TEST_F(Store, RegistryValuesRoundTripInTheProfileLayout) {
  CXTSettingsStore store;
  const std::vector<BYTE> blob = LargeBlob();
  EXPECT_TRUE(WriteSampleValues(store, "hello store"));

  EXPECT_EQ(store.ReadInt("Settings", "bXPMode", 0), 1);
  EXPECT_EQ(store.ReadInt("Values", "Negative", 0), -2);
  EXPECT_EQ(theApp.GetProfileInt("Values", "Negative", 0), static_cast<UINT>(-2));  // the profile reads it too
  EXPECT_STREQ(store.ReadString("Values", "Text", "x"), "hello store");
  BYTE* data = nullptr;
  UINT size = 0;
  ASSERT_TRUE(store.ReadBinary("Values", "Large", &data, &size));
  EXPECT_EQ(std::vector<BYTE>(data, data + size), blob);
  delete[] data;

  EXPECT_EQ(store.ReadInt("Values", "Missing", 42), 42);
  EXPECT_STREQ(store.ReadString("Values", "Missing", "fallback"), "fallback");
  EXPECT_FALSE(store.ReadBinary("Values", "Missing", &data, &size));
  EXPECT_EQ(data, nullptr);
  EXPECT_EQ(size, 0u);

  EXPECT_TRUE(store.WriteString("Values", "Text", nullptr));  // a null text deletes the value
  EXPECT_STREQ(store.ReadString("Values", "Text", "gone"), "gone");
  EXPECT_TRUE(store.WriteString("Doomed", "Entry", "x"));
  EXPECT_TRUE(store.WriteString("Doomed", nullptr, nullptr));  // a null entry deletes the section
  EXPECT_FALSE(SectionExists("Doomed"));
  EXPECT_TRUE(store.DeleteValue("Values", "Negative"));
  EXPECT_FALSE(store.DeleteValue("Values", "Negative"));
}

TEST_F(Store, StringsAreReadSafelyWhateverTheRegistryHolds) {
  const char letters[] = "abcdef";
  PutRaw("Raw", "Unterminated", REG_SZ, letters, 3);  // no terminator stored
  PutRaw("Raw", "Expandable", REG_EXPAND_SZ, "%PATH%", 7);
  PutRaw("Raw", "Number", REG_DWORD, "\x01\x00\x00\x00", 4);
  CXTSettingsStore store;
  EXPECT_STREQ(store.ReadString("Raw", "Unterminated", "d"), "abc");
  EXPECT_STREQ(store.ReadString("Raw", "Expandable", "d"), "%PATH%");
  EXPECT_STREQ(store.ReadString("Raw", "Number", "not a text"), "not a text");
}

TEST_F(Store, WithoutARegistryKeyWritesFailAndReadsGiveDefaults) {
  theApp.m_pszRegistryKey = nullptr;
  CXTSettingsStore store;
  EXPECT_FALSE(store.WriteInt("Settings", "bXPMode", 1));
  EXPECT_EQ(store.ReadInt("Settings", "bXPMode", 7), 7);
  EXPECT_STREQ(store.ReadString("Settings", "Text", "d"), "d");
  theApp.SetRegistryKey(kCompany);
}

TEST_F(Store, IniModeUsesTextEncodingsAndLongValuesComeBackWhole) {
  UseIniFile();
  CXTSettingsStore store;
  const std::vector<BYTE> blob = LargeBlob();
  EXPECT_TRUE(WriteSampleValues(store, "hello ini"));
  EXPECT_TRUE(::WritePrivateProfileStringA("Values", "Odd", "AAP", kIniFile));

  EXPECT_STREQ(store.ReadString("Values", "Three", ""), "AAPBPP");
  EXPECT_EQ(store.ReadInt("Values", "Negative", 0), -2);
  EXPECT_EQ(store.ReadInt("Values", "Missing", 42), 42);
  EXPECT_STREQ(store.ReadString("Values", "Missing", nullptr), "");
  struct {
    const char* entry;
    std::vector<BYTE> bytes;
  } binaries[] = {{"Three", {0x00, 0x1F, 0xFF}}, {"Odd", {0x00}}, {"Large", blob}};
  for (const auto& b : binaries) {
    BYTE* data = nullptr;
    UINT size = 0;
    ASSERT_TRUE(store.ReadBinary("Values", b.entry, &data, &size)) << b.entry;
    EXPECT_EQ(std::vector<BYTE>(data, data + size), b.bytes) << b.entry;
    delete[] data;
  }
  EXPECT_TRUE(store.WriteString("Gone", "Entry", "x"));
  EXPECT_TRUE(store.WriteString("Gone", nullptr, nullptr));
  EXPECT_STREQ(store.ReadString("Gone", "Entry", "none"), "none");
  // Nothing of this reached the registry...
  EXPECT_FALSE(SectionExists("Values"));
  // ...but deleting a value always goes there.
  PutRaw("Settings", "bXPMode", REG_DWORD, "\x01\x00\x00\x00", 4);
  EXPECT_TRUE(store.DeleteValue("Settings", "bXPMode"));
  EXPECT_EQ(store.ReadInt("Settings", "bXPMode", 0), 1);  // the INI value stays
  GetSharedState().m_iniFileName.Empty();
  EXPECT_EQ(CXTSettingsStore().ReadInt("Settings", "bXPMode", 9), 9);
  GetSharedState().m_iniFileName = kIniFile;  // leave the file for the Python check
}

namespace {

// A top-level window placed on the desktop.
class PlacedWindow {
 public:
  PlacedWindow() {
    m_wnd.CreateEx(0, "STATIC", "placement", WS_OVERLAPPEDWINDOW, CRect(40, 50, 340, 250), nullptr, 0);
  }
  ~PlacedWindow() { m_wnd.DestroyWindow(); }
  CWnd* get() { return &m_wnd; }
  WINDOWPLACEMENT Placement() {
    WINDOWPLACEMENT wp = {};
    wp.length = sizeof wp;
    ::GetWindowPlacement(m_wnd.m_hWnd, &wp);
    return wp;
  }

 private:
  CWnd m_wnd;
};

}  // namespace

TEST_F(Store, PlacementSavedMaximisedOrMinimisedIsRestored) {
  struct {
    int show;
    LPCSTR valueName;
    bool zoomed, iconic;
  } cases[] = {
      {SW_SHOWMAXIMIZED, nullptr, true, false},
      {SW_SHOWMINIMIZED, nullptr, false, false},  // no name: a minimised window comes back normal
      {SW_SHOWMINIMIZED, "Mini", false, true},    // a named value keeps the state
  };
  for (const auto& c : cases) {
    {
      PlacedWindow saved;
      saved.get()->ShowWindow(c.show);
      CXTWindowPlacement placement;
      ASSERT_TRUE(placement.SaveWindowPlacement(saved.get(), c.valueName));
      EXPECT_EQ(placement.GetRecord().placement.length, 48u);
    }
    PlacedWindow restored;
    CXTWindowPlacement placement;
    ASSERT_TRUE(placement.RestoreWindowPlacement(restored.get(), c.valueName)) << c.show;
    EXPECT_EQ(::IsZoomed(restored.get()->m_hWnd) != 0, c.zoomed) << c.show;
    EXPECT_EQ(::IsIconic(restored.get()->m_hWnd) != 0, c.iconic) << c.show;
    const RECT normal = restored.Placement().rcNormalPosition;
    EXPECT_EQ(normal.right - normal.left, 300) << c.show;
  }
  BYTE* data = nullptr;
  UINT size = 0;
  ASSERT_TRUE(CXTSettingsStore().ReadBinary("Settings", "Window Position", &data, &size));
  ASSERT_EQ(size, 48u);
  DWORD words[2];
  memcpy(words, data, sizeof words);
  EXPECT_EQ(words[0], 0u);
  EXPECT_EQ(words[1], 48u);  // the stored length stays the format's
  delete[] data;
}

// A byte short of the stored record or one past it.
TEST_F(Store, PlacementOfAnotherSizeIsIgnored) {
  for (UINT size : {47u, 49u}) {
    SCOPED_TRACE(size);
    const BYTE value[49] = {};
    CXTSettingsStore().WriteBinary("Settings", "Window Position", value, size);
    CXTWindowPlacement placement;
    EXPECT_FALSE(placement.LoadWindowPlacement());
    EXPECT_EQ(placement.GetRecord().placement.length, 48u);
    EXPECT_EQ(placement.GetRecord().placement.showCmd, static_cast<UINT>(SW_SHOW));
    PlacedWindow window;
    EXPECT_FALSE(placement.RestoreWindowPlacement(window.get()));
    EXPECT_FALSE(placement.RestoreWindowPlacement(nullptr));
  }
}

// Leaves values in the registry and the INI file for the Python check.
TEST_F(Store, LeavesValuesForTheIndependentCheck) {
  CXTSettingsStore store;
  ASSERT_TRUE(WriteSampleValues(store, "hello store"));
  PlacedWindow window;
  window.get()->ShowWindow(SW_SHOWMAXIMIZED);
  CXTWindowPlacement().SaveWindowPlacement(window.get());
  UseIniFile();
  CXTSettingsStore ini;
  ASSERT_TRUE(WriteSampleValues(ini, "hello ini"));
  GetSharedState().m_iniFileName.Empty();
}
