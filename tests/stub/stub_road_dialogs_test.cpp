// The whole road through the real program and its dialogs: containers made
// by the builder's writer behind the real stub image, run and answered as
// their user would.
#include "MyCipherFile.h"
#include "ProgramChecksum.h"
#include "SecureContainerWriter.h"
#include "SelfExtractorFormat.h"
#include "StubPaths.h"
#include "dialog_robot.h"
#include "extract_test_support.h"
#include "stub_resource.h"
#include "stub_test_support.h"
#include "test_files.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <map>

namespace {

const char kMain[] = "Korvane SFX Module";
const char kPassword[] = "Korvane Brennicor Warning!";
const char kOverwrite[] = "Replace/Overwrite file?";
const char kQuestion[] = "Korvane Brennicor Stub";
const char kError[] = "Korvane Brennicor Stub Error";
const char kRightPassword[] = "open sesame";

std::string BuildWork(const std::string& relative) { return WorkPath("stub-build\\" + relative); }

std::string Container(const std::string& name, const char* password, const char* source = "source.zip") {
    const std::string path = BuildWork(name + ".container");
    ContainerBuildRecord record;
    EXPECT_EQ(BuildSecureContainer(GetModuleHandleA(nullptr), nullptr, &record, BuildWork(source).c_str(),
                                   path.c_str(), "", password, 2, 6, nullptr),
              0)
        << record.failure;
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

// Settings without a launch command: nothing opens after the extraction.
std::vector<std::string> PlainLines(const std::string& destination, int folders) {
    return {"PATH = " + destination, "FOLDERS = " + std::to_string(folders), "AUTO RUN = 0", "OVERWRITE = 0"};
}

// Presses the button and waits until the dialog is gone, so a step after it
// that waits for a dialog of the same caption finds the next one.
RobotStep PressOn(const char* caption, int id) {
    return {caption, [id](HWND d) {
        Press(d, id);
        WaitUntil([d] { return !IsWindow(d); });
    }};
}

// A message box's text, then the button.
RobotStep ReadAndPress(const char* caption, std::string* text, int id, int* defaultButton = nullptr) {
    return {caption, [=](HWND box) {
        *text = MessageBoxText(box);
        for (int button : {IDYES, IDNO, IDOK})
            if (defaultButton != nullptr && (GetWindowLongA(GetDlgItem(box, button), GWL_STYLE) & BS_DEFPUSHBUTTON))
                *defaultButton = button;
        Press(box, id);
        WaitUntil([box] { return !IsWindow(box); });
    }};
}

// The small volumes of small_volumes.py, where this machine could mount them.
bool VolumesMounted() { return FileExists(WorkPath("stub-volumes\\mounted")); }

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
        int exitCode;
    } cases[] = {
        {"yes", IDC_ANSWER_YES, true, true, kExitExtracted},
        {"no", IDC_ANSWER_NO, false, true, kExitSkipped},
        {"all", IDC_ANSWER_ALL, true, true, kExitExtracted},
        {"cancel", IDCANCEL, false, false, kExitCancelled},
    };
    const std::string original = ReadFileContent(BuildWork("expected\\notes.txt"));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string folder = FreshFolder(std::string("road-overwrite-") + c.name);
        const std::string destination = folder + "out\\";
        CreateDirectoryA(destination.c_str(), nullptr);
        WriteFile(destination + "notes.txt", "mine");
        const std::string program = WriteProgram(folder + "setup.exe", s_open, Lines(destination));
        // Every answer is the user's own: none ends with an error box.
        std::vector<std::string> errors;
        EXPECT_EQ(RunProgramWatching(program, nullptr, {PressOn(kMain, IDOK), PressOn(kOverwrite, c.button)},
                                     {kError}, &errors),
                  static_cast<DWORD>(c.exitCode));
        EXPECT_TRUE(errors.empty()) << errors.front();
        EXPECT_EQ(ReadFileContent(destination + "notes.txt"), c.replaced ? original : "mine");
        if (c.restExtracted) {
            EXPECT_TRUE(WaitUntil([&] { return FileExists(destination + "launched.txt"); }));
        } else {
            EXPECT_LT(FilesBelow(destination).size(), FilesBelow(BuildWork("expected\\")).size());
        }
    }
}

TEST_F(StubRoad, NoToEveryExistingFileSkipsThemWithoutAnError) {
    const std::string folder = FreshFolder("road-no-to-all");
    const std::string destination = folder + "out\\";
    const auto expected = FilesBelow(BuildWork("expected\\"));
    std::vector<RobotStep> steps = {PressOn(kMain, IDOK)};
    for (const auto& file : expected) {
        CreateFolderPath(GetFolderOfPath(destination + file.first).c_str());
        WriteFile(destination + file.first, "mine");
        steps.push_back(PressOn(kOverwrite, IDC_ANSWER_NO));
    }
    std::vector<std::string> errors;
    EXPECT_EQ(RunProgramWatching(WriteProgram(folder + "setup.exe", s_open, PlainLines(destination, 1)), nullptr,
                                 steps, {kError, kQuestion}, &errors),
              static_cast<DWORD>(kExitSkipped));
    EXPECT_TRUE(errors.empty()) << errors.front();
    for (const auto& file : FilesBelow(destination))
        EXPECT_EQ(file.second, "mine") << file.first;
}

// Folder records have nothing to make when folders are not recreated.
TEST_F(StubRoad, WithoutFoldersEveryFileLandsAtTheTopWithoutAnError) {
    const std::string folder = FreshFolder("road-flat");
    const std::string destination = folder + "out\\";
    std::vector<std::string> errors;
    EXPECT_EQ(RunProgramWatching(WriteProgram(folder + "setup.exe", s_open, PlainLines(destination, 0)), nullptr,
                                 {PressOn(kMain, IDOK)}, {kError, kQuestion}, &errors),
              static_cast<DWORD>(kExitExtracted));
    EXPECT_TRUE(errors.empty()) << errors.front();
    std::map<std::string, std::string> flattened;
    for (const auto& file : FilesBelow(BuildWork("expected\\")))
        flattened[GetFileNamePart(file.first)] = file.second;
    EXPECT_EQ(FilesBelow(destination), flattened);
}

// Each folder below folder (ending in '\\') by its relative path, with its
// last-write time in the zip's 2-second steps.
void ListFolderTimes(const std::string& folder, const std::string& prefix, std::map<std::string, uint64_t>& times) {
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return;
    do {
        const std::string name = found.cFileName;
        if (name == "." || name == ".." || !(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            continue;
        ListFolderTimes(folder + name + "\\", prefix + name + "\\", times);
        times[prefix + name] = ((static_cast<uint64_t>(found.ftLastWriteTime.dwHighDateTime) << 32) |
                                found.ftLastWriteTime.dwLowDateTime) /
                               20000000;
    } while (FindNextFileA(search, &found));
    FindClose(search);
}

std::map<std::string, uint64_t> FolderTimesBelow(const std::string& folder) {
    std::map<std::string, uint64_t> times;
    ListFolderTimes(folder, "", times);
    return times;
}

// Folders dated in winter and in summer, one with a file inside, one empty,
// come out of the built program with their times from the zip, as unzip
// gives them.
TEST_F(StubRoad, FoldersKeepTheirTimesFromTheZip) {
    const std::string folder = FreshFolder("road-folder-times");
    const std::string destination = folder + "out\\";
    const std::string program = WriteProgram(folder + "setup.exe", Container("road-folder-times", "", "folder-times.zip"),
                                             PlainLines(destination, 1));
    EXPECT_EQ(RunProgram(program, nullptr, {PressOn(kMain, IDOK)}), static_cast<DWORD>(kExitExtracted));
    const auto expected = FolderTimesBelow(BuildWork("folder-times-expected\\"));
    const auto extracted = FolderTimesBelow(destination);
    ASSERT_EQ(expected.size(), 2u);
    ASSERT_EQ(extracted.size(), expected.size());
    for (const auto& entry : expected) {
        SCOPED_TRACE(entry.first);
        ASSERT_EQ(extracted.count(entry.first), 1u);
        // unzip may keep the exact second where the zip's own time has the
        // next even one: a step apart is the same time.
        const uint64_t got = extracted.at(entry.first);
        EXPECT_LE(got > entry.second ? got - entry.second : entry.second - got, 1u) << got << " vs " << entry.second;
    }
    EXPECT_EQ(FilesBelow(destination), FilesBelow(BuildWork("folder-times-expected\\")));
}

// The destination of 242 characters takes "tools\probe.exe" (257 in all),
// but not "data\more\words.txt" (261): that entry alone is refused, by name.
TEST_F(StubRoad, PathTooLongIsToldByNameAndTheRestExtracts) {
    const std::string folder = FreshFolder("road-long");
    std::string destination = folder + "out";
    destination += std::string(242 - 1 - destination.size(), 'x') + "\\";
    ASSERT_EQ(destination.size(), 242u);
    std::string told;
    std::vector<std::string> questions;
    EXPECT_EQ(RunProgramWatching(WriteProgram(folder + "setup.exe", s_open, PlainLines(destination, 1)), nullptr,
                                 {PressOn(kMain, IDOK), ReadAndPress(kError, &told, IDOK)}, {kQuestion}, &questions),
              static_cast<DWORD>(kExitFailed));
    EXPECT_EQ(told, "Cannot write " + destination + "data\\more\\words.txt: the path is too long.");
    EXPECT_TRUE(questions.empty()) << questions.front();
    auto expected = FilesBelow(BuildWork("expected\\"));
    expected.erase("data\\more\\words.txt");
    EXPECT_EQ(FilesBelow(destination), expected);
}

// A volume that takes no writes, and one without a free byte: the question
// and the error name the file and the cause; a full disk is not retried by Enter.
TEST_F(StubRoad, ReadOnlyAndFullVolumesAreToldAsSuch) {
    if (!VolumesMounted())
        GTEST_SKIP() << "no small volume could be mounted here";
    struct Case {
        const char* volume;
        const char* cause;
        int defaultButton;
    } cases[] = {{"read-only", ": the folder is read-only.", IDYES}, {"full", ": the disk is full.", IDNO}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.volume);
        const std::string folder = FreshFolder(std::string("road-volume-") + c.volume);
        const std::string destination = FreshFolder(std::string("volumes\\") + c.volume + "\\out");
        std::string question, told;
        int defaultButton = 0;
        EXPECT_EQ(RunProgram(WriteProgram(folder + "setup.exe", s_open, PlainLines(destination, 1)), nullptr,
                             {PressOn(kMain, IDOK), ReadAndPress(kQuestion, &question, IDNO, &defaultButton),
                              ReadAndPress(kError, &told, IDOK)}),
                  static_cast<DWORD>(kExitFailed));
        const size_t cause = told.find(c.cause);
        ASSERT_NE(cause, std::string::npos) << told;
        EXPECT_EQ(told.rfind("Cannot write " + destination, 0), 0u) << told;
        EXPECT_EQ(question.rfind(told.substr(0, cause + std::strlen(c.cause)), 0), 0u) << question;
        EXPECT_EQ(defaultButton, c.defaultButton);
        // Nothing half written stays behind.
        const auto expected = FilesBelow(BuildWork("expected\\"));
        for (const auto& file : FilesBelow(destination))
            EXPECT_EQ(file.second, expected.at(file.first)) << file.first;
    }
}

}  // namespace
