// The settings reader over program files written by make_settings_cases.py.
#include "StubSettings.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string CasePath(const char* name) {
    return std::string(BRENNICOR_TEST_WORK) + "/stub-settings/" + name + ".exe";
}

struct SettingsCase {
    const char* name;
    int result;
    const char* destination;
    const char* launchCommand;
    const char* aboutText;
    const char* customMessage;
    int autoRun, recreateFolders, overwrite;
};

// The image stand-in is 40962 bytes, so a found marker puts the container there.
constexpr uint32_t kImageSize = 40962;

const SettingsCase kCases[] = {
    {"full", 1, "C:\\Unpacked\\", "setup.exe", "About line\r\nsecond line", "Read me", 1, 1, 1},
    {"flags_two_and_empty", 1, "", "", "", "", 0, 0, 0},
    {"empty_path_matches", 1, "", "", "", "", 0, 0, 0},
    {"key_not_at_start", 0, "", "", "", "", 0, 0, 0},
    {"first_execute_wins", 1, "C:\\B\\", "first.exe", "", "", 0, 0, 0},
    {"no_known_key", 0, "", "", "", "", 0, 0, 0},
    {"bare_stub", -1, "", "", "", "", 0, 0, 0},
    {"short_file", 1, "C:\\Short\\", "", "", "", 0, 0, 0},
    {"marker_in_image", 1, "C:\\Tiny\\", "", "", "", 0, 0, 0},
    {"nuls_before_marker", 1, "C:\\Nul\\", "", "", "", 0, 0, 0},
    {"marker_out_of_reach", -1, "", "", "", "", 0, 0, 0},
    {"bad_record_ends", 1, "C:\\Kept\\", "", "", "", 0, 0, 0},
};

TEST(StubSettings, ReadsEveryCase) {
    for (const SettingsCase& c : kCases) {
        SCOPED_TRACE(c.name);
        StubSettings settings;
        ASSERT_EQ(ReadStubSettings(CasePath(c.name).c_str(), settings), c.result);
        EXPECT_EQ(settings.destination, c.destination);
        EXPECT_EQ(settings.launchCommand, c.launchCommand);
        EXPECT_EQ(settings.aboutText, c.aboutText);
        EXPECT_EQ(settings.customMessage, c.customMessage);
        EXPECT_EQ(settings.autoRun, c.autoRun);
        EXPECT_EQ(settings.recreateFolders, c.recreateFolders);
        EXPECT_EQ(settings.overwrite, c.overwrite);
    }
}

TEST(StubSettings, ContainerBoundsComeFromTheMarkerBehindTheContainer) {
    for (const char* name : {"full", "marker_in_image", "nuls_before_marker"}) {
        SCOPED_TRACE(name);
        StubSettings settings;
        ASSERT_EQ(ReadStubSettings(CasePath(name).c_str(), settings), 1);
        EXPECT_EQ(settings.containerOffset, kImageSize);
        const uint64_t containerLength = std::string(name) == "nuls_before_marker" ? 5000 : 304;
        EXPECT_EQ(settings.containerEnd, kImageSize + containerLength);
    }
    StubSettings bare;
    ReadStubSettings(CasePath("bare_stub").c_str(), bare);
    EXPECT_EQ(bare.containerOffset, 0u);
}

TEST(StubSettings, MultiLineValueKeepsItsLineBreaks) {
    StubSettings settings;
    ASSERT_EQ(ReadStubSettings(CasePath("multi_line").c_str(), settings), 1);
    EXPECT_EQ(settings.customMessage.substr(0, 10), "one\r\ntwo\r\n");
    EXPECT_EQ(settings.customMessage.size(), 3010u);
}

TEST(StubSettings, RealStubImageInFrontOfATinyContainer) {
    StubSettings settings;
    ASSERT_EQ(ReadStubSettings(CasePath("real_stub_tiny").c_str(), settings), 1);
    EXPECT_EQ(settings.destination, "C:\\Real\\");
    EXPECT_EQ(settings.launchCommand, "go.exe");
}

TEST(StubSettings, MissingPathOrFile) {
    StubSettings settings;
    EXPECT_EQ(ReadStubSettings(nullptr, settings), -1);
    EXPECT_EQ(ReadStubSettings("", settings), -1);
    EXPECT_EQ(ReadStubSettings(CasePath("no_such_case").c_str(), settings), 0);
}

TEST(StubSettings, MarkerTextIsRebuiltExactly) {
    EXPECT_EQ(StubMarkerText(), "Korvane Brennicor v3.0 self-extractor data marker");
}

}  // namespace
