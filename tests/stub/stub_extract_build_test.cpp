// The extraction driver over containers that the builder's own writer makes
// from an Info-ZIP archive: every method, level, AES strength and password length.
#include "SecureContainerWriter.h"
#include "extract_test_support.h"
#include "stub_test_support.h"

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
    // Eight files, empty ones among them, and the two empty folders.
    EXPECT_EQ(record.recordCount, 10);
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
    EXPECT_EQ(ReadFile(destination + "notes.txt"), "the user's own notes");
    EXPECT_EQ(FilesBelow(destination).size(), 1u);
}

}  // namespace
