// Path joining, folder creation, date texts and the launch checks.
#include "DosDateTime.h"
#include "LaunchAfterExtract.h"
#include "StubMessages.h"
#include "StubPaths.h"
#include "device_names.h"
#include "stub_test_support.h"
#include "test_files.h"
#include "waiting.h"

#include <gtest/gtest.h>

namespace {

TEST(StubPaths, JoinsAndRefusesNames) {
    const std::string longName(250, 'n');
    struct Case {
        const char* folder;
        const char* name;
        std::string expected;
    } cases[] = {
        {"C:\\Out\\", "a.txt", "C:\\Out\\a.txt"},
        {"C:\\Out", "a.txt", "C:\\Out\\a.txt"},
        {"C:\\Out/", "a.txt", "C:\\Out/a.txt"},
        {"", "a.txt", "a.txt"},
        {"C:\\Out", "sub/deeper/a.txt", "C:\\Out\\sub\\deeper\\a.txt"},
        {"C:\\Out", "..x/a..b/.hidden", "C:\\Out\\..x\\a..b\\.hidden"},
        {"C:\\Out", "", ""},
        // The engine's rule: a drive or leading separators are dropped.
        {"C:\\Out", "\\Windows\\a.txt", "C:\\Out\\Windows\\a.txt"},
        {"C:\\Out", "/Windows/a.txt", "C:\\Out\\Windows\\a.txt"},
        {"C:\\Out", "D:\\a.txt", "C:\\Out\\a.txt"},
        {"C:\\Out", "sub/", "C:\\Out\\sub\\"},
        // Components Windows would shorten or open as a device.
        {"C:\\Out", "victim.txt.", ""},
        {"C:\\Out", "victim.txt ", ""},
        {"C:\\Out", "dots...\\x", ""},
        {"C:\\Out", "sub/CON", ""},
        {"C:\\Out", "com9.txt", ""},
        {"C:\\Out", "sub/a:stream", ""},
        {"C:\\Out", "..\\a.txt", ""},
        {"C:\\Out", "sub/../../a.txt", ""},
        {"C:\\Out", "sub\\..", ""},
        {"C:\\Out", "sub\\...\\a.txt", ""},
        {"C:\\Out", "sub\\. .\\a.txt", ""},
        {"C:\\Out", longName.c_str(), "C:\\Out\\" + longName},
        {"C:\\Out\\longer", longName.c_str(), ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.folder) + " + " + c.name);
        EXPECT_EQ(JoinFolderAndName(c.folder, c.name), c.expected);
    }
    EXPECT_EQ(JoinFolderAndName(nullptr, "a"), "");
    EXPECT_EQ(JoinFolderAndName("C:\\", nullptr), "");
}

// Every form of every device name, alone and below a folder, on both joins.
TEST(StubPaths, RefusesEveryDeviceName) {
    for (const std::string& name : DeviceNameForms()) {
        for (const std::string& stored : {name, "sub/" + name}) {
            SCOPED_TRACE('[' + stored + ']');
            EXPECT_EQ(JoinFolderAndName("C:\\Out", stored.c_str()), "");
            EXPECT_EQ(JoinFolderAndStoredName("C:\\Out", stored, false, true), L"");
            EXPECT_EQ(JoinFolderAndStoredName("C:\\Out", stored, false, false), L"");
        }
    }
}

TEST(StubPaths, SplitsAtBothSeparators) {
    EXPECT_EQ(GetFileNamePart("sub/dir\\run.exe"), "run.exe");
    EXPECT_EQ(GetFileNamePart("sub\\dir/run.exe"), "run.exe");
    EXPECT_EQ(GetFileNamePart("run.exe"), "run.exe");
    EXPECT_EQ(GetFolderOfPath("C:\\a\\b/c.txt"), "C:\\a\\b/");
    EXPECT_EQ(GetFolderOfPath("c.txt"), "");
}

TEST(StubPaths, CreatesEveryLevelWithOrWithoutTrailingSeparator) {
    const std::string root = FreshFolder("folders");
    EXPECT_EQ(CreateFolderPath((root + "one\\two/three").c_str()), 1);
    EXPECT_EQ(IsExistingFolder((root + "one\\two\\three").c_str()), 1);
    EXPECT_EQ(CreateFolderPath((root + "one/two").c_str()), 1) << "already there";
    EXPECT_EQ(CreateFolderPath((root + "four\\").c_str()), 1);
    EXPECT_EQ(IsExistingFolder((root + "four").c_str()), 1);
    WriteFile(root + "file", "x");
    EXPECT_EQ(IsExistingFolder((root + "file").c_str()), 0);
    EXPECT_EQ(CreateFolderPath((root + "file\\below").c_str()), 0);
    EXPECT_EQ(IsExistingFolder(""), 0);
    EXPECT_EQ(IsExistingFolder(nullptr), 0);
}

TEST(DosDateTime, FormatsBothForms) {
    EXPECT_EQ(FormatDosDateTime(kLastSecondOf1999, true), "12/31/99 23:59:58");
    const std::string longForm = FormatDosDateTime(kLastSecondOf1999, false);
    EXPECT_EQ(longForm.substr(3), " Dec 31 23:59:58 1999");  // after the locale's day name
    EXPECT_EQ(FormatDosDateTime((1u << 9 | 1u << 5 | 5u) << 16, true), "01/05/81 00:00:00");
}

// Run in a zone with summer time: whatever the season of the run, one of
// the two times lies in the other one.
TEST(DosDateTime, ReadsAFilesTimeBack) {
    const std::string path = FreshFolder("dostime") + "f.txt";
    WriteFile(path, "x");
    const uint32_t midsummer2023 = ((43u << 9 | 6u << 5 | 21u) << 16) | (13u << 11 | 37u << 5 | 20u);
    for (uint32_t time : {kLastSecondOf1999, midsummer2023}) {
        SetFileDosTime(path, time);
        EXPECT_EQ(GetFileDosDateTime(path.c_str()), time) << std::hex << time;
    }
    EXPECT_EQ(GetFileDosDateTime((path + ".missing").c_str()), 0u);
}

TEST(StubMessages, FillsOnlyTheFirstArgument) {
    EXPECT_EQ(FillTextArgument("error - %s! %d %s", "Bad CRC"), "error - Bad CRC! %d %s");
    EXPECT_EQ(FillTextArgument("no argument", "x"), "no argument");
}

TEST(LaunchTarget, OnlyAnExistingFileInsideTheDestination) {
    const std::string dest = FreshFolder("launch-resolve");
    CreateFolderPath((dest + "sub").c_str());
    WriteFile(dest + "run.bat", "x");
    WriteFile(dest + "sub\\deep.bat", "x");
    const std::string outside = FreshFolder("launch-outside") + "evil.bat";
    WriteFile(outside, "x");
    struct Case {
        const char* command;
        int recreateFolders;
        std::string expected;
    } cases[] = {
        {"run.bat", 1, dest + "run.bat"},
        {"sub/deep.bat", 1, dest + "sub\\deep.bat"},
        {"sub\\deep.bat", 1, dest + "sub\\deep.bat"},
        {"elsewhere/run.bat", 0, dest + "run.bat"},
        {"sub/deep.bat", 0, ""},             // the folder part is dropped: no such file at the top
        {"missing.bat", 1, ""},
        {"sub", 1, ""},                      // a folder is not a file to open
        {"..\\stub-launch-outside\\evil.bat", 1, ""},
        {outside.c_str(), 1, ""},
        {"notepad.exe", 1, ""},              // never found on the search path
        {"", 1, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.command);
        EXPECT_EQ(ResolveLaunchTarget(dest, c.command, c.recreateFolders), c.expected);
    }
    EXPECT_EQ(ResolveLaunchTarget("", "run.bat", 1), "");
}

TEST(LaunchTarget, OpensTheFileByFullPathInTheDestination) {
    const std::string dest = FreshFolder("launch-run");
    CreateFolderPath((dest + "bin").c_str());
    ASSERT_TRUE(CopyFileA(BRENNICOR_LAUNCH_PROBE, (dest + "bin\\probe.exe").c_str(), FALSE));
    EXPECT_EQ(LaunchExtractedFile(dest, "bin/probe.exe", 1), LaunchOutcome::Launched);
    ASSERT_TRUE(WaitUntil([&] { return FileExists(dest + "launched.txt"); }));
    EXPECT_EQ(ReadFileContent(dest + "launched.txt").find("probe.exe") != std::string::npos, true);
    EXPECT_EQ(LaunchExtractedFile(dest, "probe.exe", 1), LaunchOutcome::NotFound);
}

}  // namespace
