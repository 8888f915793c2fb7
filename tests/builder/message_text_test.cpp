// The Options page's texts: which are RTF, what a load reads and keeps, and
// what the record gets back after the user edits.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "pages/MessageText.h"
#include "pages/PasswordCheck.h"

namespace {

std::string WorkPath(const char* name) { return std::string(BRENNICOR_TEST_WORK) + "/" + name; }

void WriteFile(const std::string& path, const std::string& bytes) {
  FILE* file = std::fopen(path.c_str(), "wb");
  ASSERT_NE(nullptr, file);
  std::fwrite(bytes.data(), 1, bytes.size(), file);
  std::fclose(file);
}

}  // namespace

TEST(MessageText, RtfIsKnownByEitherHeaderAnywhereInTheText) {
  struct Case {
    const char* text;
    bool rtf;
  } cases[] = {
      {"{\\rtf1\\ansi\\deff0 Hello}", true},
      {"{\\rtf\\ansi\\deff0 Hello}", true},
      {"Intro {\\rtf1\\ansi\\ later", true},  // contained, not only leading
      {"{\\rtf1 Hello}", false},              // no \ansi\ after the version
      {"{\\RTF1\\ANSI\\ Hello}", false},      // case-sensitive
      {"{\\\\rtf1\\\\ansi\\\\ Hello}", false},  // doubled backslashes are only quoting
      {"plain text", false},
  };
  for (const Case& c : cases) EXPECT_EQ(c.rtf, IsRtfText(c.text)) << c.text;
}

TEST(MessageText, AFileIsRtfOnlyWhenItsPathSaysRtfInLowerCase) {
  EXPECT_TRUE(NamesRtfFile("C:\\texts\\about.rtf"));
  EXPECT_FALSE(NamesRtfFile("C:\\texts\\ABOUT.RTF"));
  EXPECT_FALSE(NamesRtfFile("C:\\texts\\about.txt"));
}

TEST(MessageText, ARecordTextKeepsItsRtfVerbatimUntilTheEditIsEmptied) {
  const std::string rtf = "{\\rtf1\\ansi\\deff0 {\\b Bold} text}";
  MessageText text;
  text.TakeFromRecord(rtf, false);
  ASSERT_TRUE(text.IsRtf());
  text.TakeFromEdit("Bold text");  // the control's rendering
  EXPECT_EQ(rtf, text.ForRecord());
  text.TakeFromEdit("");
  EXPECT_FALSE(text.IsRtf());
  EXPECT_EQ("", text.ForRecord()) << "an emptied RTF text must not be built in";
}

TEST(MessageText, EmptyRecordTextsAreOfNoKnownKindOnlyAfterAReset) {
  MessageText text;
  text.TakeFromRecord("{\\rtf1\\ansi\\ x}", false);
  text.TakeFromRecord("", true);
  EXPECT_EQ(MessageKind::kUnknown, text.Kind());
  EXPECT_EQ("", text.ForRecord());
  text.TakeFromRecord("", false);
  EXPECT_EQ(MessageKind::kPlain, text.Kind());
  text.TakeFromRecord("Hello", true);
  EXPECT_EQ(MessageKind::kPlain, text.Kind());
  EXPECT_EQ("Hello", text.ForRecord());
}

TEST(MessageText, ALoadedFileIsRtfByItsNameNotItsContents) {
  const std::string rtf = "{\\rtf1\\ansi\\ Hi}";
  MessageText text;
  text.TakeFromFile("a.RTF", rtf);
  EXPECT_FALSE(text.IsRtf());
  EXPECT_EQ(rtf, text.ForEdit()) << "shown as it is";
  text.TakeFromFile("a.rtf", rtf);
  EXPECT_TRUE(text.IsRtf());
  EXPECT_EQ(rtf, text.ForRecord());
}

TEST(MessageText, ReadingStopsAtTheLimitAndTellsEmptyAndMissingFilesApart) {
  struct Case {
    size_t bytes;
    TextFileRead expected;
  } cases[] = {
      {kMaxMessageTextBytes, TextFileRead::kLoaded},
      {kMaxMessageTextBytes + 1, TextFileRead::kTooLarge},
      {3 * kMaxMessageTextBytes, TextFileRead::kTooLarge},
      {0, TextFileRead::kEmpty},
  };
  const std::string path = WorkPath("message-text-limit.txt");
  for (const Case& c : cases) {
    WriteFile(path, std::string(c.bytes, 'a'));
    std::string text = "unchanged";
    EXPECT_EQ(c.expected, ReadTextFile(path, &text)) << c.bytes;
    EXPECT_EQ(c.expected == TextFileRead::kLoaded ? std::string(c.bytes, 'a') : "unchanged", text) << c.bytes;
  }
  std::string text;
  EXPECT_EQ(TextFileRead::kUnreadable, ReadTextFile(WorkPath("no-such-folder/none.txt"), &text));
}

TEST(MessageText, WritingKeepsTheBytesAndReportsAFailure) {
  const std::string path = WorkPath("message-text-saved.txt"), bytes = std::string("line one\r\nline two\0x", 20);
  ASSERT_TRUE(WriteTextFile(path, bytes));
  std::string back;
  ASSERT_EQ(TextFileRead::kLoaded, ReadTextFile(path, &back));
  EXPECT_EQ(bytes, back);
  EXPECT_FALSE(WriteTextFile(WorkPath("no-such-folder/saved.txt"), bytes));
}

TEST(PasswordCheck, MaskedNeedsAPasswordShownNeedsItsVerification) {
  struct Case {
    bool masked;
    const char* password;
    const char* verification;
    PasswordProblem expected;
  } cases[] = {
      {true, "secret", "", PasswordProblem::kNone},
      {true, "", "secret", PasswordProblem::kEmpty},
      {false, "secret", "secret", PasswordProblem::kNone},
      {false, "secret", "Secret", PasswordProblem::kMismatch},
      {false, "", "secret", PasswordProblem::kMismatch},
      {false, "", "", PasswordProblem::kEmpty},
  };
  for (const Case& c : cases)
    EXPECT_EQ(c.expected, FindPasswordProblem(c.masked, c.password, c.verification))
        << c.masked << " '" << c.password << "' '" << c.verification << "'";
}
