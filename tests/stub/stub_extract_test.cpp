// The extraction driver over containers written by make_container_cases.py,
// with a scripted dialog answering its reports and questions.
#include "LocalFileTime.h"
#include "StubPaths.h"
#include "device_names.h"
#include "extract_test_support.h"
#include "stub_test_support.h"
#include "test_files.h"

#include <gtest/gtest.h>

#include <set>

namespace {

std::string Work(const std::string& relative) { return WorkPath("stub-containers\\" + relative); }

int Extract(const std::string& caseName, const std::string& destination, int recreateFolders, int overwrite) {
    return ExtractFile(Work(caseName + ".bin"), destination, recreateFolders, overwrite);
}

int Count(UINT code) { return g_dialog.Count(code); }

TEST(ExtractDriver, ExtractsEveryEntryAsTheArchiveHeldIt) {
    struct Case {
        const char* name;
        int recreateFolders;
    } cases[] = {{"deflated", 1}, {"stored", 1}, {"three", 1}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        g_dialog = ScriptedDialog();
        const std::string destination = FreshFolder(std::string("extract-") + c.name);
        EXPECT_EQ(Extract(c.name, destination, c.recreateFolders, 0), kExtractSuccess);
        EXPECT_EQ(FilesBelow(destination), FilesBelow(Work(std::string("expected\\") + c.name + "\\")));
        EXPECT_EQ(g_dialog.finishedWith, 0u);
        EXPECT_EQ(Count(kReportPasswordNeeded), 0);
    }
}

TEST(ExtractDriver, WithoutFoldersEveryEntryLandsAtTheTop) {
    g_dialog = ScriptedDialog();
    const std::string destination = FreshFolder("extract-flat");
    EXPECT_EQ(Extract("deflated", destination, 0, 0), kExtractSuccess);
    const auto expected = FilesBelow(Work("expected\\deflated\\"));
    std::map<std::string, std::string> flattened;
    for (const auto& file : expected)
        flattened[GetFileNamePart(file.first)] = file.second;
    EXPECT_EQ(FilesBelow(destination), flattened);
}

TEST(ExtractDriver, ExistingFiles) {
    struct Case {
        const char* name;
        int overwrite;
        std::deque<int> answers;
        int result;
        int questions;
        int skipped;
        const char* aContent;
        const char* cContent;
    } cases[] = {
        {"overwrite-set", 1, {}, kExtractSuccess, 0, 0, "new a", "new c"},
        {"all-at-first", 0, {kAnswerAll}, kExtractSuccess, 1, 0, "new a", "new c"},
        {"yes-no-yes", 0, {kAnswerYes, kAnswerNo, kAnswerYes}, kExtractSuccess, 3, 1, "new a", "new c"},
        {"no-to-all", 0, {kAnswerNo, kAnswerNo, kAnswerNo}, kExtractSuccess, 3, 3, "old a", "old c"},
        {"cancel", 0, {kAnswerYes, kAnswerCancel}, kExtractCancelled, 2, 0, "new a", "old c"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        g_dialog = ScriptedDialog();
        g_dialog.existsAnswers = c.answers;
        const std::string destination = FreshFolder(std::string("exists-") + c.name);
        for (const char* file : {"a", "b", "c"})
            WriteFile(destination + file + ".txt", std::string("old ") + file);
        EXPECT_EQ(Extract("three", destination, 1, c.overwrite), c.result);
        EXPECT_EQ(Count(kReportFileExists), c.questions);
        EXPECT_EQ(Count(kReportEntrySkipped), c.skipped);
        EXPECT_EQ(ReadFileContent(destination + "a.txt"), c.aContent);
        EXPECT_EQ(ReadFileContent(destination + "c.txt"), c.cContent);
        EXPECT_EQ(FilesBelow(destination).size(), 3u);  // no temporary file left behind
    }
}

// Without folders a folder record has nothing to make: it is done, silently.
TEST(ExtractDriver, FolderRecordWithoutFoldersIsDone) {
    g_dialog = ScriptedDialog();
    const std::string destination = FreshFolder("extract-folder-record");
    EXPECT_EQ(Extract("folder_record", destination, 0, 0), kExtractSuccess);
    EXPECT_EQ(Count(kReportEntrySkipped), 0);
    EXPECT_EQ(FilesBelow(destination), FilesBelow(Work("expected\\folder_record\\")));
    EXPECT_EQ(g_dialog.finishedWith, 0u);
}

// A folder takes the time of its record, kept once the whole container is
// written (each file made in it would move its time on).
TEST(ExtractDriver, FolderTakesTheTimeOfItsRecord) {
    g_dialog = ScriptedDialog();
    const std::string destination = FreshFolder("extract-folder-time");
    EXPECT_EQ(Extract("folder_record", destination, 1, 0), kExtractSuccess);
    FILETIME local, recorded, written = {};
    DosDateTimeToFileTime(static_cast<WORD>((2001 - 1980) << 9 | 2 << 5 | 3), static_cast<WORD>(4 << 11 | 5 << 5 | 3),
                          &local);
    FileTimeOfLocalFileTime(local, &recorded);
    HANDLE folder = CreateFileA((destination + "empty").c_str(), FILE_READ_ATTRIBUTES, FILE_SHARE_READ, nullptr,
                                OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    GetFileTime(folder, nullptr, nullptr, &written);
    CloseHandle(folder);
    EXPECT_EQ(CompareFileTime(&written, &recorded), 0);
}

// A refused name reaches the user as text in the code page the dialog
// shows, as every other name does; the final report says which and why.
TEST(ExtractDriver, RefusedNameIsToldAsText) {
    g_dialog = ScriptedDialog();
    const std::string destination = FreshFolder("extract-escape-utf8");
    EXPECT_EQ(Extract("escape_utf8", destination, 1, 0), kExtractFailed);
    const std::string shown = AnsiFromWide(L"..\\caf\u00e9.txt");
    ASSERT_EQ(g_dialog.names.size(), g_dialog.reports.size());
    bool skippedAsText = false;
    for (size_t i = 0; i < g_dialog.reports.size(); ++i) {
        EXPECT_EQ(g_dialog.names[i].find("caf\xc3\xa9"), std::string::npos) << i;
        skippedAsText |= g_dialog.reports[i] == kReportEntrySkipped && g_dialog.names[i] == shown;
    }
    EXPECT_TRUE(skippedAsText);
    EXPECT_EQ(g_dialog.names.back(), "Cannot extract " + shown + ": the name is not a safe file name.");
}

TEST(ExtractDriver, FailedEntryKeepsTheUsersFileAndAsksToRetry) {
    for (int retries : {0, 2}) {
        SCOPED_TRACE(retries);
        g_dialog = ScriptedDialog();
        g_dialog.questionAnswers.assign(retries, IDYES);
        const std::string destination = FreshFolder("extract-bad-data");
        WriteFile(destination + "bad.txt", "precious");
        const int result = Extract("bad_data", destination, 1, 1);
        EXPECT_GE(result, 2);
        EXPECT_LE(result, 50);
        ASSERT_EQ(g_dialog.questions.size(), static_cast<size_t>(retries + 1));
        EXPECT_EQ(g_dialog.questions[0].rfind("Cannot extract " + destination + "bad.txt: ", 0), 0u)
            << g_dialog.questions[0];
        EXPECT_EQ(ReadFileContent(destination + "bad.txt"), "precious");
        EXPECT_EQ(FilesBelow(destination).size(), 1u);
        EXPECT_EQ(g_dialog.finishedWith, static_cast<uint64_t>(result));
    }
}

TEST(ExtractDriver, CraftedContainersFailCleanly) {
    struct Case {
        const char* name;
        size_t filesWritten;
        int skipped;
    } cases[] = {
        {"escape", 1, 1},
        {"trailing_dot", 1, 1},
        {"trailing_blank", 1, 1},
        {"dots_folder", 1, 1},
        {"device", 1, 1},
        {"long_name", 1, 1},
        {"key_block_too_long", 0, 0},
        {"length_zero", 1, 0},
        {"length_huge", 1, 0},
        {"truncated", 1, 0},
        {"damaged_magic", 1, 0},
        {"trailing_bytes", 1, 0},
        {"no_records", 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        g_dialog = ScriptedDialog();
        const std::string parent = FreshFolder(std::string("crafted-") + c.name);
        const std::string destination = parent + "dest\\";
        // Where ..\evil.txt would land: beside the destination.
        const std::string outside = parent + "evil.txt";
        EXPECT_EQ(Extract(c.name, destination, 1, 1), kExtractFailed);
        EXPECT_EQ(g_dialog.finishedWith, static_cast<uint64_t>(kExtractFailed));
        EXPECT_EQ(FilesBelow(destination), FilesBelow(Work(std::string("expected\\") + c.name + "\\")));
        EXPECT_EQ(FilesBelow(destination).size(), c.filesWritten);
        EXPECT_EQ(FilesBelow(parent).size(), c.filesWritten);
        EXPECT_EQ(Count(kReportEntrySkipped), c.skipped);
        EXPECT_FALSE(FileExists(outside));
    }
}

// Every form of every device name, alone and below a folder, is refused by
// its stored name (a file that could not be made is reported by its path),
// with folders kept or not; the fine entry beside them extracts.
TEST(ExtractDriver, EveryDeviceNameIsRefused) {
    std::multiset<std::string> refused;
    for (const std::string& name : DeviceNameForms()) {
        refused.insert(name);
        refused.insert("sub\\" + name);
    }
    for (int recreateFolders : {1, 0}) {
        SCOPED_TRACE(recreateFolders);
        g_dialog = ScriptedDialog();
        const std::string destination = FreshFolder("crafted-devices") + "dest\\";
        EXPECT_EQ(Extract("devices", destination, recreateFolders, 1), kExtractFailed);
        EXPECT_EQ(FilesBelow(destination), FilesBelow(Work("expected\\devices\\")));
        std::multiset<std::string> skipped;
        for (size_t i = 0; i < g_dialog.reports.size(); ++i)
            if (g_dialog.reports[i] == kReportEntrySkipped)
                skipped.insert(g_dialog.names[i]);
        EXPECT_EQ(skipped, refused);
    }
}

// A record that decodes to another length than its data size is damaged:
// refused, with the retry question; the user's file stays; the next entry
// still extracts.
TEST(ExtractDriver, EntryOfAnotherLengthThanRecordedFails) {
    for (const char* name : {"size_smaller", "size_larger"}) {
        SCOPED_TRACE(name);
        g_dialog = ScriptedDialog();
        g_dialog.questionAnswers = {IDNO};
        const std::string destination = FreshFolder(std::string("extract-") + name);
        WriteFile(destination + "cut.txt", "precious");
        EXPECT_EQ(Extract(name, destination, 1, 1), kEntryDamagedResult);
        EXPECT_EQ(g_dialog.questions.size(), 1u);
        EXPECT_EQ(ReadFileContent(destination + "cut.txt"), "precious");
        EXPECT_EQ(FilesBelow(destination).size(), 1u);
    }
}

TEST(ExtractDriver, ProtectedContainerAsksForAPassword) {
    g_dialog = ScriptedDialog();
    g_dialog.passwords = {"", "p"};
    const std::string destination = FreshFolder("extract-protected");
    EXPECT_EQ(Extract("protected_open_entries", destination, 1, 0), kExtractSuccess);
    EXPECT_EQ(Count(kReportPasswordNeeded), 2);
    EXPECT_EQ(g_dialog.questions.size(), 1u);  // the empty password was refused
    EXPECT_EQ(FilesBelow(destination), FilesBelow(Work("expected\\protected_open_entries\\")));

    g_dialog = ScriptedDialog();
    EXPECT_EQ(Extract("protected_open_entries", FreshFolder("extract-no-password"), 1, 0), kExtractFailed);
    EXPECT_EQ(Count(kReportFinished), 0);
}

}  // namespace
