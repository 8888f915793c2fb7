// Built programs damaged after the build: a flipped bit in an entry's data or
// in the integrity line, a record whose data size or length was changed. With
// the integrity line nothing is extracted; without it (a program from before
// the line) the size check still refuses the damaged entry. Either way the
// user's own file in the destination stays as it was.
#include "MyCipherFile.h"
#include "ProgramChecksum.h"
#include "SelfExtractorBuild.h"
#include "SelfExtractorFormat.h"
#include "StubPaths.h"
#include "StubSettings.h"
#include "extract_test_support.h"
#include "stub_test_support.h"
#include "test_files.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>

namespace {

class QuietReporter : public BuildReporter {
public:
    void StepStarted(BuildStep) override {}
    void Position(int) override {}
    void ContainerProgress(int, int, const char*) override {}
    void CopyProgress(int) override {}
    void PumpMessages() override {}
    void Message(BuildMessage) override {}
    bool AskSourcePassword(std::string*) override { return false; }
    void Verified(int) override {}
    void BuildFailed(BuildStep, const std::string& text) override { failure = text; }
    void BuildSucceeded(const std::string&) override {}
    std::string failure;
};

const char kPrecious[] = "the user's own notes";

std::string BuildWork(const std::string& relative) { return WorkPath("stub-build\\" + relative); }

// A program of the Info-ZIP tree at the given level (0 stores).
std::string BuildProgram(const std::string& name, int level) {
    ProjectSettings settings;
    settings.sourceArchive = BuildWork("source.zip");
    settings.outputName = BuildWork(name + ".exe");
    settings.compressionLevel = level;
    QuietReporter reporter;
    const std::string image(0x9000, 'S');
    StubImage stub;
    stub.bytes = image.data();
    stub.size = static_cast<DWORD>(image.size());
    EXPECT_EQ(BuildSelfExtractingProgram(GetModuleHandleA(nullptr), settings, stub, reporter), 1) << reporter.failure;
    return ReadFileContent(settings.outputName);
}

// The damaged entry: data\more\words.txt, whose Deflate data runs to many
// kilobytes. Its stored name is the one place the program spells it.
const char kTarget[] = "data\\more\\words.txt";
size_t NameAt(const std::string& program) {
    const size_t at = program.find("words.txt");
    EXPECT_NE(at, std::string::npos);
    return at - std::strlen("data\\more\\");
}
size_t RecordStart(const std::string& program) { return NameAt(program) - 46 + 4 - 14; }
size_t DataAt(const std::string& program) { return NameAt(program) + std::strlen(kTarget); }

void StoreLe32At(std::string& bytes, size_t at, uint32_t value) {
    for (int i = 0; i < 4; ++i)
        bytes[at + i] = static_cast<char>(value >> (8 * i));
}
uint32_t Le32At(const std::string& bytes, size_t at) {
    uint32_t value = 0;
    for (int i = 3; i >= 0; --i)
        value = value << 8 | static_cast<uint8_t>(bytes[at + i]);
    return value;
}

// One hex digit of the integrity line turned into another hex digit: the
// line stays well-formed and only its full compare refuses it. The settings
// records are read, the line changed, and all written again as the build
// writes them.
void ChangeChecksumDigit(std::string& program, size_t digit) {
    const size_t recordsAt = program.rfind(kSelfExtractorMarker) + kSelfExtractorMarkerLength;
    const std::string path = BuildWork("checksum-digit.exe");
    WriteFile(path, program);
    std::vector<std::string> lines;
    {
        FILE* file = std::fopen(path.c_str(), "rb");
        _fseeki64(file, static_cast<int64_t>(recordsAt), SEEK_SET);
        CMyCipherFile records;
        records.Attach(file);
        records.SetKeys(kSettingsKeyText, kSettingsIvText);
        char line[CMyCipherFile::kMaxRecordLength + 1];
        while (records.ReadRecord(line, sizeof line) == CMyCipherFile::kDone)
            lines.push_back(line);
        std::fclose(file);
    }
    ASSERT_EQ(lines.back().compare(0, kChecksumKeyLength, kChecksumKey), 0);
    const char kDigits[] = "0123456789ABCDEF";
    char& changed = lines.back()[kChecksumKeyLength + digit];
    changed = kDigits[(std::strchr(kDigits, changed) - kDigits + 1) % 16];

    WriteFile(path, program.substr(0, recordsAt));
    FILE* file = std::fopen(path.c_str(), "ab");
    {
        CMyCipherFile records;
        records.Attach(file);
        records.SetKeys(kSettingsKeyText, kSettingsIvText);
        for (const std::string& line : lines)
            records.WriteRecord(line.c_str());
    }
    std::fclose(file);
    program = ReadFileContent(path);
}

struct Damage {
    const char* name;
    bool stored;
    bool caughtWithoutTheLine;  // a flip that still decodes needs the line
    std::function<void(std::string&)> apply;
};

int ExtractProgram(const std::string& path, const std::string& destination, bool useLine) {
    StubSettings settings;
    EXPECT_EQ(ReadStubSettings(path.c_str(), settings), 1);
    const ExtractRequest request = {GetModuleHandleA(nullptr), nullptr, path.c_str(), settings.containerOffset,
                                    settings.containerEnd, destination.c_str(), 1, 1, ScriptedReport,
                                    ScriptedQuestion, useLine ? settings.checksum.c_str() : "",
                                    settings.checkedLength, useLine && settings.damaged};
    return ExtractSecureContainer(request);
}

TEST(DamagedProgram, IsRefusedAndTheUsersFileStays) {
    const std::string deflated = BuildProgram("damage-deflated", 6);
    const std::string stored = BuildProgram("damage-stored", 0);
    const Damage damages[] = {
        {"flip-in-deflate-data", false, false, [](std::string& p) { p[DataAt(p) + 400] ^= 0x04; }},
        {"flip-in-stored-data", true, false, [](std::string& p) { p[DataAt(p) + 400] ^= 0x04; }},
        {"flip-in-integrity-line", false, false, [](std::string& p) { p[p.size() - 20] ^= 0x01; }},
        {"first-checksum-digit", false, false, [](std::string& p) { ChangeChecksumDigit(p, 0); }},
        {"last-checksum-digit", false, false,
         [](std::string& p) { ChangeChecksumDigit(p, kChecksumTextLength - 1); }},
        {"flip-in-settings-record", false, false,
         [](std::string& p) { p[p.rfind(kSelfExtractorMarker) + kSelfExtractorMarkerLength + 6] ^= 0x01; }},
        {"bytes-after-the-settings", false, false, [](std::string& p) { p += "appended"; }},
        {"size-smaller", false, true,
         [](std::string& p) { StoreLe32At(p, RecordStart(p) + 10, Le32At(p, RecordStart(p) + 10) - 7); }},
        {"size-zero", false, true, [](std::string& p) { StoreLe32At(p, RecordStart(p) + 10, 0); }},
        {"size-larger", false, true,
         [](std::string& p) { StoreLe32At(p, RecordStart(p) + 10, Le32At(p, RecordStart(p) + 10) + 1); }},
        {"record-cut-short", false, true,
         [](std::string& p) { StoreLe32At(p, RecordStart(p) + 6, Le32At(p, RecordStart(p) + 6) - 30); }},
    };
    for (const Damage& damage : damages) {
        for (bool useLine : {true, false}) {
            if (!useLine && !damage.caughtWithoutTheLine)
                continue;
            SCOPED_TRACE(std::string(damage.name) + (useLine ? " with the line" : " without it"));
            std::string program = damage.stored ? stored : deflated;
            damage.apply(program);
            const std::string path = BuildWork(std::string("damaged-") + damage.name + ".exe");
            WriteFile(path, program);
            const std::string destination = FreshFolder(std::string("damaged-") + damage.name);
            CreateFolderPath((destination + "data\\more").c_str());
            WriteFile(destination + kTarget, kPrecious);
            g_dialog = ScriptedDialog();
            const int result = ExtractProgram(path, destination, useLine);
            EXPECT_NE(result, kExtractSuccess);
            EXPECT_EQ(ReadFileContent(destination + kTarget), kPrecious);
            if (useLine) {
                EXPECT_EQ(result, kExtractDamaged);
                EXPECT_EQ(FilesBelow(destination).size(), 1u);  // nothing else written
                EXPECT_TRUE(g_dialog.questions.empty());
                EXPECT_EQ(g_dialog.finishedWith, static_cast<uint64_t>(kExtractDamaged));
            }
        }
    }
}

// The undamaged programs extract, with and without the line.
TEST(DamagedProgram, UndamagedProgramsExtract) {
    for (bool useLine : {true, false}) {
        g_dialog = ScriptedDialog();
        const std::string path = BuildWork("undamaged.exe");
        BuildProgram("undamaged", 6);
        const std::string destination = FreshFolder("undamaged");
        EXPECT_EQ(ExtractProgram(path, destination, useLine), kExtractSuccess);
        EXPECT_EQ(FilesBelow(destination), FilesBelow(BuildWork("expected\\")));
    }
}

}  // namespace
