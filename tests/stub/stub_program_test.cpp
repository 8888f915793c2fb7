// The stub program as its user starts it: a copy of the real stub with
// settings written behind it by make_settings_cases.py.
#include "ExtractCallback.h"
#include "dialog_robot.h"
#include "stub_resource.h"
#include "stub_test_support.h"

#include <gtest/gtest.h>

namespace {

std::string SettingsCase(const char* name) {
    return std::string(BRENNICOR_TEST_WORK) + "/stub-settings/" + name + ".exe";
}

TEST(StubProgram, WithoutKnownSettingsItSaysSoAndEnds) {
    const std::string folder = FreshFolder("program-no-key");
    ASSERT_TRUE(CopyFileA(SettingsCase("real_stub_no_key").c_str(), (folder + "setup.exe").c_str(), FALSE));
    std::string text;
    const DWORD code = RunProgram(folder + "setup.exe", folder.c_str(),
                                  {{"Missing or wrong parameters format!", [&](HWND box) {
                                        text = MessageBoxText(box);
                                        Press(box, IDOK);
                                    }}});
    EXPECT_EQ(code, static_cast<DWORD>(kExitFailed));
    EXPECT_EQ(text, "Korvane Brennicor Stub");
}

// A DLL planted beside the program under the rich edit's name stays unloaded.
// Under Wine the planted copy is only a candidate when native DLLs are
// preferred, as they are on Windows.
TEST(StubProgram, OpensWithItsSettingsAndLoadsNoPlantedDll) {
    char overrides[512] = {};
    GetEnvironmentVariableA("WINEDLLOVERRIDES", overrides, sizeof overrides);
    SetEnvironmentVariableA("WINEDLLOVERRIDES", (std::string(overrides) + ";riched20=n,b").c_str());
    const std::string folder = FreshFolder("program-settings");
    ASSERT_TRUE(CopyFileA(SettingsCase("real_stub_tiny").c_str(), (folder + "setup.exe").c_str(), FALSE));
    ASSERT_TRUE(CopyFileA(BRENNICOR_PLANTED_DLL, (folder + "riched20.dll").c_str(), FALSE));
    std::string destination;
    bool launchTicked = false;
    const DWORD code = RunProgram(folder + "setup.exe", folder.c_str(),
                                  {{"Korvane SFX Module", [&](HWND d) {
                                        destination = ItemText(d, IDC_DESTINATION);
                                        launchTicked = IsChecked(d, IDC_LAUNCH);
                                        Press(d, IDCANCEL);
                                    }}});
    EXPECT_EQ(code, static_cast<DWORD>(kExitCancelled));
    EXPECT_EQ(destination, "C:\\Real\\");
    EXPECT_TRUE(launchTicked);
    SetEnvironmentVariableA("WINEDLLOVERRIDES", overrides);
    EXPECT_FALSE(FileExists(folder + "planted.txt"));
}

// The whole road without input: auto-run extracts and the dialog never shows;
// check_road.py compares the result with Info-ZIP's unzip.
TEST(StubProgram, AutoRunExtractsWithoutAQuestion) {
    const std::string road = std::string(BRENNICOR_TEST_WORK) + "\\stub-road\\";
    EXPECT_EQ(RunProgram(road + "road.exe", road.c_str(), {}), static_cast<DWORD>(kExitExtracted));
}

}  // namespace
