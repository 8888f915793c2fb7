// Character stepping of CString under a double-byte ANSI code page. The
// test runs with a Shift-JIS locale, where 0x5C ('\\') and 0x7C ('|') are
// also trail bytes of double-byte characters.
#include <gtest/gtest.h>

#include "classlib/cstring.h"

// "so" (0x83 0x5C) and "hyo" (0x95 0x5C) end in a backslash byte.
static const char kSo[] = "\x83\x5C";
static const char kHyo[] = "\x95\x5C";

TEST(Dbcs, RunsUnderShiftJis) { ASSERT_EQ(GetACP(), 932u); }

TEST(Dbcs, SearchesSkipTrailBytes) {
  CString path = CString("C:") + kSo + "\\" + kHyo + "|x";
  EXPECT_EQ(path.Find('\\'), 4);
  EXPECT_EQ(path.ReverseFind('\\'), 4);
  EXPECT_EQ(path.Find("\\"), 4);
  EXPECT_EQ(path.FindOneOf("|\\"), 4);
  EXPECT_EQ(CString(kSo).Find('\\'), -1);
}

TEST(Dbcs, EditsKeepDoubleByteCharactersWhole) {
  CString text = CString("&A") + kSo + "&&" + kHyo;
  EXPECT_EQ(text.Remove('&'), 3);
  EXPECT_EQ(text, CString("A") + kSo + kHyo);

  CString slashes = CString(kSo) + "\\" + kHyo;
  EXPECT_EQ(slashes.Replace('\\', '/'), 1);
  EXPECT_EQ(slashes, CString(kSo) + "/" + kHyo);

  CString trailing = CString(kSo) + "\\\\";
  trailing.TrimRight('\\');
  EXPECT_EQ(trailing, CString(kSo));

  // 0x83 0x61 is a katakana whose trail byte is 'a': upper-casing leaves it alone.
  CString mixed("a\x83\x61");
  mixed.MakeUpper();
  EXPECT_EQ(mixed, CString("A\x83\x61"));
}
