// Stored names against the rule that nothing is written outside the destination.
#include <gtest/gtest.h>

#include <cstring>

#include "MemberPathSafety.h"
#include "device_names.h"

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

// Every form of every device name is refused, alone and below a folder: as a
// name Windows would shorten when it ends in a dot or blank, else as a device.
TEST(MemberPathSafety, EveryDeviceNameFormIsRefused) {
  const std::vector<std::string> names = DeviceNameForms();
  ASSERT_EQ(names.size(), 24u * 7u);
  for (const std::string &name : names) {
    const MemberPathVerdict verdict = EndsInDotOrBlank(name) ? kMemberPathTrailing : kMemberPathDevice;
    for (const std::string &stored : {name, "dir/" + name, name + "/x.txt"}) {
      char out[64] = "junk";
      EXPECT_EQ(verdict, MemberPathMakeRelative(stored.c_str(), out, sizeof out)) << '[' << stored << ']';
      EXPECT_STREQ("", out) << '[' << stored << ']';
    }
    EXPECT_TRUE(MemberPathNamesDevice(name.c_str(), name.size())) << '[' << name << ']';
  }
  for (const char *near : {"COM0", "LPT10", "console", "AUXX.txt", "CONIN", "NUL_.txt", "a.CON", "PRN-.txt"})
    EXPECT_FALSE(MemberPathNamesDevice(near, strlen(near))) << near;
}
