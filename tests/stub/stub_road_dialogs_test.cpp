// The whole road through the real program and its dialogs: containers made
// by the builder's writer behind the real stub image, run and answered as
// their user would.
#include "MyCipherFile.h"
#include "ProgramChecksum.h"
#include "SecureContainerWriter.h"
#include "SelfExtractorFormat.h"
#include "dialog_robot.h"
#include "extract_test_support.h"
#include "stub_resource.h"
#include "stub_test_support.h"
#include "test_files.h"

#include <gtest/gtest.h>

namespace {

const char kMain[] = "Korvane SFX Module";
const char kPassword[] = "Korvane Brennicor Warning!";
const char kOverwrite[] = "Replace/Overwrite file?";
const char kQuestion[] = "Korvane Brennicor Stub";
const char kError[] = "Korvane Brennicor Stub Error";
const char kRightPassword[] = "open sesame";

std::string BuildWork(const std::string& relative) { return WorkPath("stub-build\\" + relative); }

std::string Container(const std::string& name, const char* password) {
    const std::string path = BuildWork(name + ".container");
    ContainerBuildRecord record;
    EXPECT_EQ(BuildSecureContainer(GetModuleHandleA(nullptr), nullptr, &record, BuildWork("source.zip").c_str(),
                                   path.c_str(), "", password, 2, 6, nullptr),
              0);
    return ReadFileContent(path);
}

// stub image, container, its offset, marker, settings records.
std::string WriteProgram(const std::string& path, const std::string& container,
                         const std::vector<std::string>& lines) {
    const std::string image = ReadFileContent(BRENNICOR_STUB_EXE);
    const uint32_t offset = static_cast<uint32_t>(image.size());
    WriteFile(path, image + container + std::string(reinterpret_cast<const char*>(&offset), 4) +
                        std::string(kSelfExtractorMarker, kSelfExtractorMarkerLength));
    FILE* file = std::fopen(path.c_str(), "ab");
    CMyCipherFile records;
    records.Attach(file);
    records.SetKeys(kSettingsKeyText, kSettingsIvText);
    for (const std::string& line : lines)
        records.WriteRecord(line.c_str());
    std::fclose(file);
    return path;
}

// The program with its integrity line, then one byte of its container changed.
// The records are written the same way each time, so the line's checksum is
// that of the program written without it.
std::string WriteDamagedProgram(const std::string& path, const std::string& container,
                                const std::vector<std::string>& lines) {
    WriteProgram(path, container, lines);
    FILE* file = std::fopen(path.c_str(), "rb");
    _fseeki64(file, 0, SEEK_END);
    const std::string checksum = ChecksumOfFilePrefix(file, static_cast<uint64_t>(_ftelli64(file)));
    std::fclose(file);
    std::vector<std::string> withLine = lines;
    withLine.push_back(kChecksumKey + checksum);
    std::string bytes = ReadFileContent(WriteProgram(path, container, withLine));
    bytes[ReadFileContent(BRENNICOR_STUB_EXE).size() + container.size() / 2] ^= 0x10;
    WriteFile(path, bytes);
    return path;
}

std::vector<std::string> Lines(const std::string& destination, const std::string& message = "") {
    std::vector<std::string> lines = {"PATH = " + destination, "FOLDERS = 1", "AUTO RUN = 0", "OVERWRITE = 0",
                                      "EXECUTE FILE = tools/probe.exe"};
    if (!message.empty())
        lines.push_back("CUSTOM MESSAGE BOX = " + message);
    return lines;
}

RobotStep PressOn(const char* caption, int id) {
    return {caption, [id](HWND d) { Press(d, id); }};
}

RobotStep TypePassword(const char* password) {
    return {kPassword, [password](HWND d) {
        TypeInto(d, IDC_PASSWORD, password);
        Press(d, IDOK);
    }};
}

class StubRoad : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        s_protected = Container("road-protected", kRightPassword);
        s_open = Container("road-open", "");
    }
    static std::string s_protected, s_open;
};
std::string StubRoad::s_protected, StubRoad::s_open;

TEST_F(StubRoad, RightPasswordExtractsAndLaunches) {
    const std::string folder = FreshFolder("road-right");
    const std::string destination = folder + "out\\";
    const std::string program = WriteProgram(folder + "setup.exe", s_protected, Lines(destination));
    EXPECT_EQ(RunProgram(program, nullptr, {PressOn(kMain, IDOK), TypePassword(kRightPassword)}),
              static_cast<DWORD>(kExitExtracted));
    ASSERT_TRUE(WaitUntil([&] { return FileExists(destination + "launched.txt"); }));
    auto extracted = FilesBelow(destination);
    extracted.erase("launched.txt");
    EXPECT_EQ(extracted, FilesBelow(BuildWork("expected\\")));
}

TEST_F(StubRoad, WrongPasswordExtractsNothingAndLaunchesNothing) {
    const std::string folder = FreshFolder("road-wrong");
    const std::string destination = folder + "out\\";
    const std::string program = WriteProgram(folder + "setup.exe", s_protected, Lines(destination));
    EXPECT_EQ(RunProgram(program, nullptr, {PressOn(kMain, IDOK), TypePassword("not it"), PressOn(kQuestion, IDNO),
                            PressOn(kError, IDOK)}),
              static_cast<DWORD>(kExitFailed));
    EXPECT_TRUE(FilesBelow(destination).empty());
}

TEST_F(StubRoad, DamagedProgramSaysSoAndExtractsNothing) {
    const std::string folder = FreshFolder("road-damaged");
    const std::string destination = folder + "out\\";
    const std::string program = WriteDamagedProgram(folder + "setup.exe", s_open, Lines(destination));
    std::string told;
    EXPECT_EQ(RunProgram(program, nullptr, {PressOn(kMain, IDOK), {kError, [&](HWND box) {
                                                                      told = MessageBoxText(box);
                                                                      Press(box, IDOK);
                                                                  }}}),
              static_cast<DWORD>(kExitFailed));
    EXPECT_NE(told.find("This program is damaged"), std::string::npos) << told;
    EXPECT_FALSE(FileExists(destination));
}

TEST_F(StubRoad, CancelledCustomMessageExtractsNothing) {
    const std::string folder = FreshFolder("road-message");
    const std::string destination = folder + "out\\";
    const std::string program = WriteProgram(folder + "setup.exe", s_open, Lines(destination, "Agree?"));
    EXPECT_EQ(RunProgram(program, nullptr, {PressOn(kMain, IDOK), PressOn("Custom Message", IDCANCEL)}),
              static_cast<DWORD>(kExitCancelled));
    EXPECT_FALSE(FileExists(destination));
}

TEST_F(StubRoad, OverwriteQuestionAnswers) {
    struct Case {
        const char* name;
        int button;
        bool replaced;
        bool restExtracted;
        bool errorShown;  // a cancelled extraction ends with the error box
        int exitCode;
    } cases[] = {
        {"yes", IDC_ANSWER_YES, true, true, false, kExitExtracted},
        {"no", IDC_ANSWER_NO, false, true, false, kExitSkipped},
        {"all", IDC_ANSWER_ALL, true, true, false, kExitExtracted},
        {"cancel", IDCANCEL, false, false, true, kExitCancelled},
    };
    const std::string original = ReadFileContent(BuildWork("expected\\notes.txt"));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string folder = FreshFolder(std::string("road-overwrite-") + c.name);
        const std::string destination = folder + "out\\";
        CreateDirectoryA(destination.c_str(), nullptr);
        WriteFile(destination + "notes.txt", "mine");
        const std::string program = WriteProgram(folder + "setup.exe", s_open, Lines(destination));
        std::vector<RobotStep> steps = {PressOn(kMain, IDOK), PressOn(kOverwrite, c.button)};
        if (c.errorShown)
            steps.push_back(PressOn(kError, IDOK));
        EXPECT_EQ(RunProgram(program, nullptr, steps), static_cast<DWORD>(c.exitCode));
        EXPECT_EQ(ReadFileContent(destination + "notes.txt"), c.replaced ? original : "mine");
        if (c.restExtracted) {
            EXPECT_TRUE(WaitUntil([&] { return FileExists(destination + "launched.txt"); }));
        } else {
            EXPECT_LT(FilesBelow(destination).size(), FilesBelow(BuildWork("expected\\")).size());
        }
    }
}

}  // namespace
