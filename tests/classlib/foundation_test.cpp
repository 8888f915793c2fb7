// Runtime classes, strings, collections, memory files and archives.
#include <gtest/gtest.h>

#include <stdlib.h>
#include <string.h>

#include <string>
#include <vector>

#include "classlib/archive.h"
#include "classlib/array.h"
#include "classlib/list.h"
#include "classlib/filedialog.h"
#include "classlib/map.h"

namespace {

class CAnimal : public CObject {
  DECLARE_DYNAMIC(CAnimal)
};
class CDog : public CAnimal {
  DECLARE_DYNCREATE(CDog)
};
IMPLEMENT_DYNAMIC(CAnimal, CObject)
IMPLEMENT_DYNCREATE(CDog, CAnimal)

}  // namespace

TEST(RuntimeClass, CreatesByClassAndNameAndWalksBases) {
  CObject* dog = RUNTIME_CLASS(CDog)->CreateObject();
  ASSERT_NE(dog, nullptr);
  EXPECT_TRUE(dog->IsKindOf(RUNTIME_CLASS(CAnimal)));
  EXPECT_TRUE(dog->IsKindOf(RUNTIME_CLASS(CObject)));
  EXPECT_STREQ(dog->GetRuntimeClass()->m_lpszClassName, "CDog");
  delete dog;

  CObject* byName = CRuntimeClass::CreateObject("CDog");
  ASSERT_NE(byName, nullptr);
  EXPECT_EQ(byName->GetRuntimeClass(), RUNTIME_CLASS(CDog));
  delete byName;

  EXPECT_EQ(RUNTIME_CLASS(CAnimal)->CreateObject(), nullptr);  // not creatable
  EXPECT_EQ(CRuntimeClass::CreateObject("CNoSuchClass"), nullptr);
  CAnimal animal;
  EXPECT_FALSE(animal.IsKindOf(RUNTIME_CLASS(CDog)));
}

TEST(CStringTest, FormatsAndEdits) {
  CString s;
  s.Format("%s=%d;%05.1f", "n", -42, 3.14159);
  EXPECT_STREQ(s, "n=-42;003.1");
  s.Format("%s", std::string(3000, 'x').c_str());  // longer than any fixed buffer
  EXPECT_EQ(s.GetLength(), 3000);

  CString t("a&&b&c");
  EXPECT_EQ(t.Remove('&'), 3);
  EXPECT_STREQ(t, "abc");
  CString u("one two one");
  EXPECT_EQ(u.Replace("one", "three"), 2);
  EXPECT_STREQ(u, "three two three");
  EXPECT_EQ(u.Find("two"), 6);
  EXPECT_EQ(u.Find('x'), -1);
  EXPECT_EQ(u.ReverseFind('t'), 10);
  EXPECT_STREQ(u.Left(5), "three");
  EXPECT_STREQ(u.Mid(6, 3), "two");
  EXPECT_STREQ(u.Mid(40), "");
  EXPECT_STREQ(u.Right(5), "three");
  EXPECT_STREQ(CString("  pad \t\r\n").TrimRight(), "  pad");
  EXPECT_EQ(CString("Hello").CompareNoCase("hELLO"), 0);
  EXPECT_LT(CString("abc").CompareNoCase("ABD"), 0);

  char* p = s.GetBuffer(10);
  strcpy(p, "raw");
  s.ReleaseBuffer();
  EXPECT_EQ(s.GetLength(), 3);
  EXPECT_STREQ(s + "!" + CString("?"), "raw!?");
}

TEST(CStringTest, ExtractsSubStrings) {
  CString field;
  EXPECT_TRUE(AfxExtractSubString(field, "title\n\nname\n", 2));
  EXPECT_STREQ(field, "name");
  EXPECT_TRUE(AfxExtractSubString(field, "title\n\nname\n", 1));
  EXPECT_STREQ(field, "");
  EXPECT_FALSE(AfxExtractSubString(field, "title\nname", 5));
  LPCSTR args[] = {"A", "B"};
  AfxFormatStrings(field, "%2 before %1, %3 stays", args, 2);
  EXPECT_STREQ(field, "B before A, %3 stays");
}

TEST(Collections, ArrayGrowsZeroFilledAndShifts) {
  CDWordArray a;
  a.SetAtGrow(5, 7);
  ASSERT_EQ(a.GetSize(), 6);
  for (int i = 0; i < 5; ++i) EXPECT_EQ(a[i], 0u);
  a.InsertAt(0, 1, 2);
  a.RemoveAt(3, 2);
  std::vector<DWORD> got(a.GetData(), a.GetData() + a.GetSize());
  EXPECT_EQ(got, (std::vector<DWORD>{1, 1, 0, 0, 0, 7}));

  CStringArray strings;  // elements that own memory survive regrowth
  for (int i = 0; i < 2000; ++i) {
    CString s;
    s.Format("item %d", i);
    strings.Add(s);
  }
  EXPECT_STREQ(strings[1999], "item 1999");
  strings.InsertAt(0, strings[10]);
  EXPECT_STREQ(strings[0], "item 10");
}

TEST(Collections, ListAndMapKeepTheirEntries) {
  CPtrList list;
  int a, b, c;
  list.AddTail(&b);
  list.AddHead(&a);
  POSITION pb = list.Find(&b);
  list.InsertAfter(pb, &c);
  list.InsertAfter(nullptr, &a);  // a null position appends
  std::vector<void*> order;
  for (POSITION pos = list.GetHeadPosition(); pos;) order.push_back(list.GetNext(pos));
  EXPECT_EQ(order, (std::vector<void*>{&a, &b, &c, &a}));
  list.RemoveAt(pb);
  EXPECT_EQ(list.GetCount(), 3);
  EXPECT_EQ(list.GetAt(list.FindIndex(1)), &c);

  CMapStringToPtr map;
  map.InitHashTable(17);
  for (int i = 0; i < 100; ++i) {
    CString key;
    key.Format("key%d", i);
    map[key] = reinterpret_cast<void*>(static_cast<INT_PTR>(i + 1));
  }
  void* value = nullptr;
  EXPECT_TRUE(map.Lookup("key42", value));
  EXPECT_EQ(value, reinterpret_cast<void*>(43));
  EXPECT_TRUE(map.RemoveKey("key42"));
  EXPECT_FALSE(map.Lookup("key42", value));
  INT_PTR seen = 0, sum = 0;
  for (POSITION pos = map.GetStartPosition(); pos; ++seen) {
    CString key;
    map.GetNextAssoc(pos, key, value);
    sum += reinterpret_cast<INT_PTR>(value);
  }
  EXPECT_EQ(seen, 99);
  EXPECT_EQ(sum, 5050 - 43);
}

namespace {

// Writes bytes through an archive into a memory file and hands them back.
template <class F>
std::vector<BYTE> Store(F write) {
  CMemFile file;
  {
    CArchive ar(&file, CArchive::store);
    write(ar);
  }
  ULONGLONG n = file.GetLength();
  BYTE* block = file.Detach();
  std::vector<BYTE> bytes(block, block + n);
  free(block);
  return bytes;
}

std::vector<BYTE> Bytes(std::initializer_list<int> list) { return std::vector<BYTE>(list.begin(), list.end()); }

}  // namespace

TEST(Archive, WritesPrefixesAndCountsLittleEndian) {
  struct Case {
    int length;
    std::vector<BYTE> prefix;
  } cases[] = {
      {0, Bytes({0x00})},
      {0xFE, Bytes({0xFE})},
      {0xFF, Bytes({0xFF, 0xFF, 0x00})},
      {0xFFFD, Bytes({0xFF, 0xFD, 0xFF})},
      {0xFFFE, Bytes({0xFF, 0xFF, 0xFF, 0xFE, 0xFF, 0x00, 0x00})},
      {0x10000, Bytes({0xFF, 0xFF, 0xFF, 0x00, 0x00, 0x01, 0x00})},
  };
  for (const Case& c : cases) {
    CString s('s', c.length);
    std::vector<BYTE> bytes = Store([&](CArchive& ar) { ar << s; });
    ASSERT_EQ(bytes.size(), c.prefix.size() + c.length) << c.length;
    EXPECT_EQ(std::vector<BYTE>(bytes.begin(), bytes.begin() + c.prefix.size()), c.prefix) << c.length;

    CMemFile in;
    BYTE* block = static_cast<BYTE*>(malloc(bytes.size()));
    memcpy(block, bytes.data(), bytes.size());
    in.Attach(block, static_cast<UINT>(bytes.size()));
    CArchive ar(&in, CArchive::load);
    CString back;
    ar >> back;
    EXPECT_EQ(back.GetLength(), c.length);
    free(in.Detach());
  }

  std::vector<BYTE> counts = Store([](CArchive& ar) {
    ar.WriteCount(0xFFFE);
    ar.WriteCount(0xFFFF);
    ar << static_cast<BYTE>(1) << static_cast<WORD>(0x0203) << static_cast<DWORD>(0x04050607) << -2;
  });
  EXPECT_EQ(counts, Bytes({0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0x00, 0x01, 0x03, 0x02,
                           0x07, 0x06, 0x05, 0x04, 0xFE, 0xFF, 0xFF, 0xFF}));
}

namespace {

// Loads from fixed bytes; returns the string, or the cause of the exception.
int LoadString(std::vector<BYTE> bytes, CString* out) {
  CMemFile in(bytes.data(), static_cast<UINT>(bytes.size()));
  CArchive ar(&in, CArchive::load);
  try {
    ar >> *out;
  } catch (CArchiveException* e) {
    int cause = e->m_cause;
    e->Delete();
    return cause;
  }
  return CArchiveException::none;
}

}  // namespace

TEST(Archive, RefusesWideMarkerAndShortData) {
  CString s;
  EXPECT_EQ(LoadString(Bytes({0xFF, 0xFE, 0xFF, 0x02, 'a', 0, 'b', 0}), &s), CArchiveException::badSchema);
  EXPECT_EQ(LoadString(Bytes({0x05, 'a', 'b'}), &s), CArchiveException::endOfFile);
  EXPECT_EQ(LoadString(Bytes({0xFF, 0x10}), &s), CArchiveException::endOfFile);
  // A huge declared length with nothing behind it fails without taking the memory.
  EXPECT_EQ(LoadString(Bytes({0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x7F, 'x'}), &s), CArchiveException::endOfFile);
  EXPECT_EQ(LoadString(Bytes({0x02, 'o', 'k'}), &s), CArchiveException::none);
  EXPECT_STREQ(s, "ok");

  std::vector<BYTE> escaped = Bytes({0xFF, 0xFF, 0x00, 0x00, 0x01, 0x00, 0x07});
  CMemFile in(escaped.data(), static_cast<UINT>(escaped.size()));
  CArchive ar(&in, CArchive::load);
  EXPECT_EQ(ar.ReadCount(), 0x10000u);
  BYTE b = 0;
  ar >> b;
  EXPECT_EQ(b, 7);
  EXPECT_THROW(ar >> b, CArchiveException*);
}

TEST(Archive, FileRoundTripReadByIndependentParser) {
  CFile file(BRENNICOR_TEST_WORK "/classlib_archive.bin", CFile::modeCreate | CFile::modeWrite);
  CArchive ar(&file, CArchive::store);
  ar << CString("short") << CString('m', 300) << CString('l', 70000);
  ar.WriteCount(3);
  ar.WriteCount(0x12345);
  ar << static_cast<LONG>(-5) << static_cast<WORD>(0xBEEF);
  ar.Close();
  file.Close();
}

TEST(Files, TextLinesAndFolderSearch) {
  CString path = BRENNICOR_TEST_WORK "/classlib_lines.txt";
  {
    CStdioFile out(path, CFile::modeCreate | CFile::modeWrite | CFile::typeText);
    out.WriteString("first\n");
    out.WriteString("second line\n");
    out.WriteString(CString('x', 600) + "\n");
    out.WriteString("last without end");
  }
  CStdioFile in(path, CFile::modeRead | CFile::typeText);
  std::vector<std::string> lines;
  CString line;
  while (in.ReadString(line)) lines.push_back(static_cast<LPCSTR>(line));
  EXPECT_EQ(lines, (std::vector<std::string>{"first", "second line", std::string(600, 'x'), "last without end"}));

  CFileFind finder;
  ASSERT_TRUE(finder.FindFile(BRENNICOR_TEST_WORK "/classlib_lines.*"));
  EXPECT_FALSE(finder.FindNextFile());  // one match: nothing follows it
  EXPECT_STREQ(finder.GetFileName(), "classlib_lines.txt");
  EXPECT_EQ(finder.GetFilePath(), path);
  EXPECT_FALSE(finder.IsDirectory());
  EXPECT_FALSE(finder.FindFile(BRENNICOR_TEST_WORK "/no_such_file_here"));

  EXPECT_THROW(CFile(BRENNICOR_TEST_WORK "/missing/none.bin", CFile::modeRead), CFileException*);
}
