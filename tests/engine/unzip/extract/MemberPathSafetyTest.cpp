// Stored names against the rule that nothing is written outside the destination.
#include <gtest/gtest.h>
#include "MemberPathSafety.h"

TEST(MemberPathSafety, NamesBecomeRelativeOrAreRefused) {
  struct Case {
    const char *stored;
    MemberPathVerdict verdict;
    const char *relative;
  };
  const Case cases[] = {
      {"a/b/c.txt", kMemberPathSafe, "a\\b\\c.txt"},
      {"dir/", kMemberPathSafe, "dir\\"},
      {"./a//b", kMemberPathSafe, "a\\b"},
      {"/abs", kMemberPathSafe, "abs"},
      {"\\abs", kMemberPathSafe, "abs"},
      {"C:x", kMemberPathSafe, "x"},
      {"C:\\x", kMemberPathSafe, "x"},
      {"c:/d:/x", kMemberPathSafe, "x"},
      {"\\\\srv\\sh\\x", kMemberPathSafe, "x"},
      {"//srv/sh/x/y", kMemberPathSafe, "x\\y"},
      {"\\\\?\\C:\\x", kMemberPathSafe, "x"},
      {"..a/b..c", kMemberPathSafe, "..a\\b..c"},
      {"../x", kMemberPathParent, ""},
      {"..\\x", kMemberPathParent, ""},
      {"a/../../x", kMemberPathParent, ""},
      {"a/..", kMemberPathParent, ""},
      {"x:stream", kMemberPathSafe, "stream"},
      {"dir/x:stream", kMemberPathStream, ""},
      {"a. \\b", kMemberPathTrailing, ""},
      {"a/b.", kMemberPathTrailing, ""},
      {"a/b ", kMemberPathTrailing, ""},
      {"dir/CON", kMemberPathDevice, ""},
      {"nul.txt", kMemberPathDevice, ""},
      {"Com7.log", kMemberPathDevice, ""},
      {"COM9", kMemberPathDevice, ""},
      {"lpt9.txt", kMemberPathDevice, ""},
      {"d/LPT1", kMemberPathDevice, ""},
      {"CONIN$", kMemberPathDevice, ""},
      {"conout$.x", kMemberPathDevice, ""},
      {"COM0", kMemberPathSafe, "COM0"},
      {"LPT10", kMemberPathSafe, "LPT10"},
      {"console", kMemberPathSafe, "console"},
      {"a\x01" "b", kMemberPathControl, ""},
  };
  for (const Case &c : cases) {
    char out[64] = "junk";
    EXPECT_EQ(c.verdict, MemberPathMakeRelative(c.stored, out, sizeof out)) << c.stored;
    EXPECT_STREQ(c.relative, out) << c.stored;
  }
  char small[4];
  EXPECT_EQ(kMemberPathTooLong, MemberPathMakeRelative("abcd", small, sizeof small));
  EXPECT_EQ(kMemberPathSafe, MemberPathMakeRelative("abc", small, sizeof small));
}
