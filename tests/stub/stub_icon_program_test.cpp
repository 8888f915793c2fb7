// Programs built wearing the icon the project chose, from an icon file or
// from a program's icons (this test program holds two), run as their user
// starts them; check_program_icons.py then reads each program's icon group
// back with its own resource parser and compares it with the source. Files
// without such an icon are refused before any work.
#include "BuildReporter.h"
#include "ExtractCallback.h"
#include "SelfExtractorBuild.h"
#include "dialog_robot.h"
#include "extract_test_support.h"
#include "stub_test_support.h"
#include "test_files.h"

#include <gtest/gtest.h>

#include <fstream>

namespace {

std::string IconFile(const char* name) { return std::string(BRENNICOR_TEST_DATA) + "\\icons\\" + name; }

std::string ThisProgram() {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    return path;
}

struct Recorder : BuildReporter {
    std::vector<BuildStep> steps;
    std::string failure;
    void StepStarted(BuildStep step) override { steps.push_back(step); }
    void Position(int) override {}
    void ContainerProgress(int, int, const char*) override {}
    void CopyProgress(int) override {}
    void PumpMessages() override {}
    void Message(BuildMessage) override {}
    bool AskSourcePassword(std::string*) override { return false; }
    void Verified(int) override {}
    void BuildFailed(BuildStep, const std::string& text) override { failure = text; }
    void BuildSucceeded(const std::string&) override {}
};

// A program that extracts at once into destination, wearing the icon.
int Build(const std::string& program, const std::string& iconFile, int iconIndex, const std::string& destination,
          Recorder* recorder) {
    const std::string image = ReadFileContent(BRENNICOR_STUB_EXE);
    StubImage stub;
    stub.bytes = image.data();
    stub.size = image.size();
    ProjectSettings settings;
    settings.sourceArchive = WorkPath("stub-build\\source.zip");
    settings.outputName = program;
    settings.iconFile = iconFile;
    settings.iconIndex = iconIndex;
    settings.unzipToFolder = destination;
    settings.autoUnzip = settings.overwrite = settings.recreateFolders = 1;
    return BuildSelfExtractingProgram(GetModuleHandleA(nullptr), settings, stub, *recorder);
}

TEST(ProgramIcon, BuiltProgramsWearTheChosenIconAndStillExtract) {
    struct Case {
        const char* name;
        std::string iconFile;
        int index;
    };
    const Case cases[] = {{"icon-file", IconFile("two.ico"), 0}, {"library", ThisProgram(), 1}};
    const std::string folder = FreshFolder("stub-icons");
    std::ofstream manifest(folder + "manifest.txt");
    const auto expected = TreeBelow(WorkPath("stub-build\\expected\\"));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string program = folder + c.name + ".exe";
        const std::string destination = FreshFolder(std::string("stub-icons-") + c.name);
        Recorder recorder;
        ASSERT_EQ(1, Build(program, c.iconFile, c.index, destination, &recorder)) << recorder.failure;
        EXPECT_EQ(RunProgram(program, folder.c_str(), {}), static_cast<DWORD>(kExitExtracted));
        EXPECT_EQ(TreeBelow(destination), expected);
        manifest << program << "\t" << c.iconFile << "\t" << c.index << "\n";
    }
}

TEST(ProgramIcon, FilesWithoutTheIconAreRefusedBeforeAnyWork) {
    struct Case {
        std::string iconFile;
        int index;
        const char* why;
    };
    const Case cases[] = {
        {WorkPath("stub-build\\expected\\notes.txt"), 0, "is neither an icon file nor a program or library."},
        {IconFile("two.ico"), 1, "holds one icon; there is no icon 1 (the first is 0)."},
        {ThisProgram(), 2, "holds 2 icons; there is no icon 2 (the first is 0)."},
        {WorkPath("stub-build\\no-such.ico"), 0, "cannot be read."},
    };
    const std::string folder = FreshFolder("stub-icons-refused");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.iconFile);
        Recorder recorder;
        EXPECT_EQ(0, Build(folder + "refused.exe", c.iconFile, c.index, folder, &recorder));
        EXPECT_EQ("The icon file '" + c.iconFile + "' " + c.why, recorder.failure);
        EXPECT_TRUE(recorder.steps.empty());
        EXPECT_FALSE(FileExists(folder + "refused.exe"));
    }
}

}  // namespace
