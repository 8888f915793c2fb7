// The extraction driver over containers that the builder's own writer makes
// from an Info-ZIP archive: every method, level, AES strength and password length.
#include "SecureContainerWriter.h"
#include "extract_test_support.h"
#include "stub_test_support.h"
#include "test_files.h"

#include <gtest/gtest.h>

namespace {

// Containers the builder's own writer makes from an Info-ZIP archive.
std::string BuildWork(const std::string& relative) { return WorkPath("stub-build\\" + relative); }

std::string Build(const std::string& name, const std::string& password, int strengthIndex, int factor) {
    const std::string container = BuildWork(name + ".container");
    ContainerBuildRecord record;
    EXPECT_EQ(BuildSecureContainer(GetModuleHandleA(nullptr), nullptr, &record, BuildWork("source.zip").c_str(),
                                   container.c_str(), "", password.c_str(), strengthIndex, factor, nullptr),
              0);
    // Eight files, empty ones among them, and the eight folders the zip
    // lists, the two empty ones among them.
    EXPECT_EQ(record.recordCount, 16);
    return container;
}

TEST(ExtractDriver, BuilderContainersOfEveryMethodAndStrength) {
    const std::string p127(127, 'k'), p128 = p127 + "l", p200 = p128 + std::string(72, 'm');
    struct Case {
        const char* name;
        std::string password;
        int strengthIndex;
        int factor;  // above 9: Deflate64 at factor - 10
    } cases[] = {
        {"stored", "", 0, 0},        {"fast", "", 0, 1},         {"best", "", 0, 9},
        {"deflate64", "", 0, 15},    {"aes128", "p", 0, 6},      {"aes192", "pw", 1, 6},
        {"aes256", "secret", 2, 9},  {"aes256-127", p127, 2, 6}, {"aes256-128", p128, 2, 6},
        {"aes256-200", p200, 2, 15},
    };
    // What Info-ZIP's unzip made of the source: names, empty files and
    // folders, bytes, times and the read-only bit.
    const auto expected = TreeBelow(BuildWork("expected\\"));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        g_dialog = ScriptedDialog();
        if (!c.password.empty())
            g_dialog.passwords = {c.password};
        const std::string container = Build(c.name, c.password, c.strengthIndex, c.factor);
        const std::string destination = FreshFolder(std::string("built-") + c.name);
        EXPECT_EQ(ExtractFile(container, destination, 1, 0), kExtractSuccess);
        EXPECT_EQ(TreeBelow(destination), expected);
        EXPECT_EQ(g_dialog.Count(kReportPasswordNeeded), c.password.empty() ? 0 : 1);
        EXPECT_TRUE(g_dialog.questions.empty());
    }
}

// A second extraction into the same folder replaces every file, the
// read-only one too, and leaves the tree as the first one did.
TEST(ExtractDriver, ReplacingKeepsTimesAndTheReadOnlyBit) {
    const std::string container = Build("replace", "", 0, 6);
    const std::string destination = FreshFolder("built-replace");
    const auto expected = TreeBelow(BuildWork("expected\\"));
    for (int pass = 1; pass <= 2; ++pass) {
        SCOPED_TRACE(pass);
        g_dialog = ScriptedDialog();
        EXPECT_EQ(ExtractFile(container, destination, 1, 1), kExtractSuccess);
        EXPECT_EQ(TreeBelow(destination), expected);
        EXPECT_TRUE(g_dialog.questions.empty());
    }
}

TEST(ExtractDriver, WrongPasswordWritesNothingAndAsksToRetry) {
    const std::string container = Build("wrong-password", "right", 2, 6);
    g_dialog = ScriptedDialog();
    g_dialog.passwords = {"wrong", "wrong again"};
    g_dialog.questionAnswers = {IDYES, IDNO};
    const std::string destination = FreshFolder("built-wrong-password");
    WriteFile(destination + "notes.txt", "the user's own notes");
    const int result = ExtractFile(container, destination, 1, 1);
    EXPECT_GE(result, 2);
    EXPECT_LE(result, 50);
    EXPECT_EQ(g_dialog.Count(kReportPasswordNeeded), 2);  // Yes to the retry asks again
    EXPECT_EQ(g_dialog.questions.size(), 2u);
    EXPECT_EQ(ReadFileContent(destination + "notes.txt"), "the user's own notes");
    EXPECT_EQ(FilesBelow(destination).size(), 1u);
}

// Every file below folder by its UTF-8 path, through the wide API: names the
// ANSI code page cannot spell count too.
void ListWide(const std::wstring& folder, const std::string& prefix, std::map<std::string, std::string>& files) {
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((folder + L"*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return;
    do {
        const std::wstring name = found.cFileName;
        if (name == L"." || name == L"..")
            continue;
        char utf8[MAX_PATH * 4] = {};
        WideCharToMultiByte(CP_UTF8, 0, name.c_str(), -1, utf8, sizeof utf8, nullptr, nullptr);
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            ListWide(folder + name + L"\\", prefix + utf8 + "\\", files);
        } else {
            std::string bytes;
            HANDLE file = CreateFileW((folder + name).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                      0, nullptr);
            char chunk[256];
            DWORD read = 0;
            while (file != INVALID_HANDLE_VALUE && ReadFile(file, chunk, sizeof chunk, &read, nullptr) && read)
                bytes.append(chunk, read);
            if (file != INVALID_HANDLE_VALUE)
                CloseHandle(file);
            files[prefix + utf8] = bytes;
        }
    } while (FindNextFileW(search, &found));
    FindClose(search);
}

std::map<std::string, std::string> WideFilesBelow(const std::string& folder) {
    std::map<std::string, std::string> files;
    wchar_t wide[MAX_PATH];
    MultiByteToWideChar(CP_ACP, 0, folder.c_str(), -1, wide, MAX_PATH);
    ListWide(wide, "", files);
    return files;
}

// Names in Japanese, Greek and with the euro sign, from 7-Zip, Python and
// Info-ZIP zip (unflagged), come out of the built program as 7-Zip extracts
// them.
TEST(ExtractDriver, NamesOutsideAsciiSurviveTheBuild) {
    for (const char* writer : {"python", "7zip", "infozip"}) {
        SCOPED_TRACE(writer);
        const std::string container = BuildWork(std::string("names-") + writer + ".container");
        ContainerBuildRecord record;
        ASSERT_EQ(BuildSecureContainer(GetModuleHandleA(nullptr), nullptr, &record,
                                       BuildWork(std::string("names-") + writer + ".zip").c_str(), container.c_str(),
                                       "", "", 0, 6, nullptr),
                  0)
            << record.failure;
        g_dialog = ScriptedDialog();
        const std::string destination = FreshFolder(std::string("built-names-") + writer);
        EXPECT_EQ(ExtractFile(container, destination, 1, 0), kExtractSuccess);
        const auto expected = WideFilesBelow(BuildWork(std::string("names-") + writer + "\\"));
        EXPECT_EQ(expected.size(), 3u);
        EXPECT_EQ(WideFilesBelow(destination), expected);
    }
}

}  // namespace
