#include <gtest/gtest.h>

#include <string.h>

#include "../unzip/PathNames.h"
#include "ZipCommand.h"
#include "ZipStrings.h"
#include "ZipTestSupport.h"
#include "ZipWildcard.h"

namespace {

// The zip side compares with the engine's WildcardMatch: these are the cases
// its patterns rely on.
TEST(ZipWildcardMatch, Table) {
  struct Case {
    const char *name, *pattern;
    int caseSensitive, result;
  };
  const Case cases[] = {
      {"", "*", 0, 0},          {"anything.at.all", "*x", 0, 0}, {"", "", 0, 0},
      {"a", "", 0, -1},         {"", "a", 0, -1},                {"ab", "ab?", 0, -1},
      {"abc", "ab?", 0, 0},     {"abcd", "ab?", 0, -1},          {"ab", "AB", 0, 0},
      {"ab", "AB", 1, -1},      {"ab", "ab*", 0, 0},             {"abc", "ab*", 0, 0},
      {"ab", "ab?*", 0, -1},    {"report.txt", "rep*zzz", 0, 0}, {"xb", "ab*", 0, -1},
      {"a?c", "a?c", 1, 0},     {"abc", "abc", 1, 0},            {"abd", "abc", 1, -1},
  };
  for (const Case &c : cases)
    EXPECT_EQ(WildcardMatch(c.name, c.pattern, c.caseSensitive), c.result)
        << c.name << " ~ " << c.pattern << " cs=" << c.caseSensitive;
  EXPECT_EQ(ZipWildcardMatch("AB*", "abc"), 1);
  EXPECT_EQ(ZipWildcardMatch("ab?", "ab"), 0);
}

TEST(ZipWildcardMatch, LongTextsAreCutNotOverrun) {
  std::string name(5000, 'a'), pattern(5000, 'a');
  pattern[4000] = 'b';  // past the 2,047 bytes compared
  EXPECT_EQ(ZipWildcardMatch(pattern.c_str(), name.c_str()), 1);
}

using ZipNameMatchesTest = ZipStateTest;

TEST_F(ZipNameMatchesTest, Table) {
  struct Case {
    const char *name, *pattern;
    int pathSensitive, result;
  };
  const Case cases[] = {
      {"dir/File.TXT", "*.txt", 0, 1},  {"dir/File.TXT", "*.txt", 1, 0},  {"dir/File.TXT", "dir/*.txt", 1, 1},
      {"File.TXT", "*.txt", 1, 1},      {"File.TXT", "*", 0, 1},          {"File", "*", 0, 1},
      {"File.TXT", "File", 0, 0},       {"File", "File", 0, 1},           {"File.doc", "*.txt", 0, 0},
      {"a.b/readme", "readme", 0, 1},   {"dir/sub/x.c", "x.?", 0, 1},     {"", "*", 0, 0},
      {"x.c", "", 0, 0},                {"dir/x.c", "dir/*.c", 0, 1},     {"other/x.c", "dir/*.c", 0, 0},
  };
  for (const Case &c : cases) {
    state->subOptions2 = c.pathSensitive ? uint32_t{ZSO2_PATH_SENSITIVE} : 0u;
    EXPECT_EQ(ZipNameMatches(c.name, c.pattern), c.result) << c.name << " ~ " << c.pattern << " ps=" << c.pathSensitive;
  }
}

TEST(ZipStrings, CopyUnquotedAndSlashes) {
  char out[ZIP_PATH_SIZE];
  EXPECT_STREQ(ZipCopyUnquoted(out, "\"C:/My Files/a b.zip\""), "C:\\My Files\\a b.zip");
  EXPECT_EQ(ZipCopyUnquoted(out, nullptr), nullptr);
  EXPECT_EQ(ZipCopyUnquoted(nullptr, "x"), nullptr);
  std::string longName(3000, 'n');
  ZipCopyUnquoted(out, longName.c_str());
  EXPECT_EQ(strlen(out), ZIP_PATH_SIZE - 1u);

  char path[] = "a\\b/c";
  EXPECT_STREQ(ZipPathToSlashes(path), "a/b/c");
  EXPECT_STREQ(ZipPathToBackslashes(path), "a\\b\\c");
  EXPECT_EQ(ZipIsDirectoryName("dir/"), 1);
  EXPECT_EQ(ZipIsDirectoryName("dir/file"), 0);
  EXPECT_EQ(ZipIsDirectoryName(""), 0);
}

TEST(ZipStrings, ItemListSplitsAtBlanksOutsideQuotes) {
  const char *cursor = "  one \"two words\" \"C:\\x y\\*.txt\"three  ";
  char item[64];
  std::vector<std::string> items;
  while (ZipNextItem(&cursor, item, sizeof item)) items.push_back(item);
  EXPECT_EQ(items, (std::vector<std::string>{"one", "two words", "C:\\x y\\*.txtthree"}));

  cursor = "abcdefgh";
  char small[4];
  ASSERT_EQ(ZipNextItem(&cursor, small, sizeof small), 1);
  EXPECT_STREQ(small, "abc");
  EXPECT_EQ(ZipNextItem(&cursor, small, sizeof small), 0);
}

int CompareText(const void *key, const void *element) {
  return strcmp(static_cast<const char *>(key), static_cast<const char *>(element));
}

TEST(ZipStrings, BinarySearchFindsEveryElementAndNothingElse) {
  const char *sorted[] = {"a", "c", "e", "g", "i"};
  void **array = reinterpret_cast<void **>(const_cast<char **>(sorted));
  for (size_t i = 0; i < 5; ++i) EXPECT_EQ(ZipBinarySearch(sorted[i], array, 5, CompareText), &array[i]);
  for (const char *missing : {"", "b", "h", "z"}) EXPECT_EQ(ZipBinarySearch(missing, array, 5, CompareText), nullptr);
  EXPECT_EQ(ZipBinarySearch("a", array, 0, CompareText), nullptr);
}

}  // namespace
