#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "MyFileUtility.h"
#include "SfxcoreTestFiles.h"

namespace {

struct TextCase {
  const char* what;
  std::string got;
  std::string expected;
};

TEST(MyFileUtility, PathTexts) {
  using U = CMyFileUtility;
  const std::string forty = "C:\\Program Files\\Korvane\\Data\\abc123.txt";
  ASSERT_EQ(40u, forty.size());
  char replaced[260] = "\"C:\\out\\setup.zip\"";
  U::ReplaceExtension(replaced, ".exe");
  char stripped[260];
  U::StripWildcardName("C:\\data\\*.txt", stripped);
  char plain[260];
  U::StripWildcardName("C:\\data\\a.txt", plain);

  const TextCase cases[] = {
      {"extension cut to four", U::GetExtensionOfPath("C:\\docs\\report.html"), ".htm"},
      {"no extension", U::GetExtensionOfPath("C:\\docs\\README"), ""},
      {"abbreviated with backslash", U::AbbreviatePath(forty.c_str(), 10, 1), "...\\abc123.txt"},
      {"abbreviated without", U::AbbreviatePath(forty.c_str(), 10, 0), "...abc123.txt"},
      {"short path kept", U::AbbreviatePath("C:\\a.txt", 10, 1), "C:\\a.txt"},
      {"folder without drive", U::GetFolderOfPath("C:\\one\\two\\file.txt", 0), "one\\two\\"},
      {"folder with drive", U::GetFolderOfPath("C:\\one\\two\\file.txt", 1), "C:\\one\\two\\"},
      {"relative folder kept", U::GetFolderOfPath("\\one\\file.txt", 0), "\\one\\"},
      {"bare name has no folder", U::GetFolderOfPath("file.txt", 1), ""},
      {"quoted letter", U::Unquote("\"a\""), "a"},
      {"bare drive", U::Unquote("C:"), ""},
      {"unquoted kept", U::Unquote("C:\\x"), "C:\\x"},
      {"quote", U::Quote("C:\\a b"), "\"C:\\a b\""},
      {"already quoted", U::Quote("\"x\""), "\"x\""},
      {"exe name", U::MakeExeName("C:\\d\\setup.zip", 0), "setup.exe"},
      {"exe name with folder", U::MakeExeName("C:\\d\\setup.zip", 1), "C:\\d\\setup.exe"},
      {"name with extension", U::GetFileNamePart("C:\\d\\a.b.txt", 1), "a.b.txt"},
      {"name alone", U::GetFileNamePart("C:\\d\\a.b.txt", 0), "a.b"},
      {"drive", U::GetDriveOfPath("C:\\d\\a.txt"), "C:"},
      {"replaced extension", replaced, "C:\\out\\setup.exe"},
      {"wildcard name stripped", stripped, "C:\\data\\"},
      {"plain name kept", plain, "C:\\data\\a.txt"},
      {"unknown shell error", U::ShellErrorText(4), "An unknown error number 4 occured."},
      {"shell error 11", U::ShellErrorText(11), "The .exe file is invalid (non-Win32\xAB .exe or error in .exe image)."},
      {"null path", U::GetFileNamePart(nullptr, 1), ""},
      {"null folder", U::GetFolderOfPath(nullptr, 1), ""},
  };
  for (const TextCase& c : cases) EXPECT_EQ(c.expected, c.got) << c.what;

  struct FlagCase {
    const char* what;
    int got, expected;
  } flags[] = {
      {"extension as a substring of the list", U::IsExtensionInList("C:\\a.ex", "*.EXE;*.com"), 1},
      {"extension not listed", U::IsExtensionInList("C:\\a.txt", "*.exe"), 0},
      {"no extension", U::IsExtensionInList("C:\\a", "*.exe"), 0},
      {"ends with backslash", U::EndsWithChar("C:\\x\\", '\\'), 1},
      {"backslash inside quotes", U::EndsWithChar("\"C:\\x\\\"", '\\'), 1},
      {"other last character", U::EndsWithChar("C:\\x", '\\'), 0},
      {"null text", U::EndsWithChar(nullptr, 'x'), 0},
      {"null file", U::FileExists(nullptr), 0},
      {"empty file", U::FileExists(""), 0},
  };
  for (const FlagCase& f : flags) EXPECT_EQ(f.expected, f.got) << f.what;
}

TEST(MyFileUtility, LongInputsAreCutNotOverrun) {
  const std::string huge(1500, 'x');
  const std::string hugePath = "C:\\" + huge + "\\" + huge + ".txt";
  EXPECT_LE(strlen(CMyFileUtility::GetFileNamePart(hugePath.c_str(), 1)), 519u);
  EXPECT_LE(strlen(CMyFileUtility::GetFolderOfPath(hugePath.c_str(), 1)), 519u);
  EXPECT_LE(strlen(CMyFileUtility::MakeExeName(hugePath.c_str(), 1)), 259u);
  EXPECT_LE(strlen(CMyFileUtility::AbbreviatePath(hugePath.c_str(), 1000, 1)), 259u);
  const char* quoted = CMyFileUtility::Quote(huge.c_str());
  EXPECT_EQ(259u, strlen(quoted));
  EXPECT_EQ('"', quoted[258]);
  EXPECT_LE(strlen(CMyFileUtility::Unquote(("\"" + huge + "\"").c_str())), 259u);
}

TEST(MyFileUtility, CrcAndHex) {
  CMyFileUtility utility;
  const char digits[] = "123456789";
  uint32_t full = 0;
  uint16_t low = 0;
  EXPECT_EQ(0xCBF43926u, utility.Crc32Full(digits, 9, &full));
  EXPECT_EQ(0xCBF43926u, full);
  utility.Crc32Low16(digits, 9, &low);
  EXPECT_EQ(0x3926u, low);
  // The running value comes back complemented: feeding it back complemented
  // continues the same CRC.
  uint32_t running = 0xFFFFFFFFu;
  utility.Crc32Update(digits, 4, &running);
  running = ~running;
  EXPECT_EQ(0xCBF43926u, utility.Crc32Update(digits + 4, 5, &running));

  char hex[9];
  const uint8_t bytes[] = {0x00, 0x9F, 0xA5, 0xFF};
  CMyFileUtility::BytesToHex(bytes, 4, hex);
  EXPECT_STREQ("009FA5FF", hex);
}

TEST(MyFileUtility, PathKindsAndSizes) {
  const std::string folder = WorkPath("sfxcore-kinds");
  CreateDirectoryA(folder.c_str(), nullptr);
  const std::string file = folder + "\\seven.bin";
  WriteBytes(file, "1234567");
  char before[MAX_PATH], after[MAX_PATH];
  GetCurrentDirectoryA(MAX_PATH, before);
  EXPECT_EQ(CMyFileUtility::kPathIsFolder, CMyFileUtility::GetPathKind(folder.c_str()));
  EXPECT_EQ(CMyFileUtility::kPathIsFolder, CMyFileUtility::GetPathKind((folder + "\\*.bin").c_str()));
  EXPECT_EQ(CMyFileUtility::kPathIsFile, CMyFileUtility::GetPathKind(file.c_str()));
  EXPECT_EQ(CMyFileUtility::kPathIsNothing, CMyFileUtility::GetPathKind((folder + "\\none").c_str()));
  EXPECT_EQ(CMyFileUtility::kPathIsNothing, CMyFileUtility::GetPathKind(nullptr));
  GetCurrentDirectoryA(MAX_PATH, after);
  EXPECT_STREQ(before, after);
  EXPECT_EQ(7u, CMyFileUtility::GetFileSizeByPath(file.c_str()));
  EXPECT_EQ(0u, CMyFileUtility::GetFileSizeByPath((folder + "\\none").c_str()));
  EXPECT_EQ(1, CMyFileUtility::FileExists(file.c_str()));
  CMyFileUtility::DeleteFolderTree(folder.c_str(), 1);
}

bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

TEST(MyFileUtility, TemporariesInOneTickDifferAndGoWithTheOwner) {
  std::string folders[2], files[2], inTarget;
  const std::string target = WorkPath("sfxcore-target");
  CreateDirectoryA(target.c_str(), nullptr);
  {
    CMyFileUtility utility;
    folders[0] = utility.MakeTempFolder(1);
    folders[1] = utility.MakeTempFolder(1);
    files[0] = utility.MakeTempFileName(nullptr, ".sfx");
    files[1] = utility.MakeTempFileName(nullptr, ".sfx");
    inTarget = utility.MakeTempFileName(target.c_str(), nullptr);
    for (const std::string& name : {folders[0], folders[1], files[0], files[1], inTarget}) {
      ASSERT_FALSE(name.empty());
      EXPECT_TRUE(Exists(name)) << name;
    }
    EXPECT_NE(folders[0], folders[1]);
    EXPECT_NE(files[0], files[1]);
    EXPECT_EQ(0u, inTarget.find(target + "\\"));
    // A folder made with everything below it.
    const std::string deep = folders[0] + "a\\b";
    CreateDirectoryA((folders[0] + "a").c_str(), nullptr);
    CreateDirectoryA(deep.c_str(), nullptr);
    WriteBytes(deep + "\\f.txt", "x");
    WriteBytes(folders[0] + "top.txt", "y");
    SetFileAttributesA((folders[0] + "top.txt").c_str(), FILE_ATTRIBUTE_READONLY);
  }
  for (const std::string& name : {folders[0], folders[1], files[0], files[1], inTarget})
    EXPECT_FALSE(Exists(name)) << name;
  EXPECT_TRUE(Exists(target));
  RemoveDirectoryA(target.c_str());
}

TEST(MyFileUtility, OnlyWhatItCreatesIsRegistered) {
  CMyCleanupList attached;
  {
    CMyFileUtility utility(&attached);
    std::string unmade = utility.MakeTempFolder(0);
    EXPECT_FALSE(unmade.empty());
    EXPECT_FALSE(Exists(unmade));
    EXPECT_EQ(0, attached.Count());
    std::string made = utility.MakeTempFolder(1);
    ASSERT_EQ(1, attached.Count());
    EXPECT_EQ(made, attached.At(0).path);
    EXPECT_EQ(CMyCleanupList::kFolder, attached.At(0).kind);
  }
  // The attached list, not the utility object, owns the cleanup.
  EXPECT_TRUE(Exists(attached.At(0).path));
  attached.RunCleanup();
  EXPECT_FALSE(Exists(attached.At(0).path));
  attached.RunCleanup();
}

// Names the code page cannot spell go too: they are reached by wide name.
TEST(MyFileUtility, DeleteFolderTreeRecursesOnlyWhenAsked) {
  const std::string root = WorkPath("sfxcore-tree");
  CreateDirectoryA(root.c_str(), nullptr);
  CreateDirectoryA((root + "\\sub").c_str(), nullptr);
  WriteBytes(root + "\\a.txt", "a");
  WriteBytes(root + "\\sub\\b.txt", "b");
  wchar_t wideRoot[MAX_PATH];
  MultiByteToWideChar(CP_ACP, 0, root.c_str(), -1, wideRoot, MAX_PATH);
  const std::wstring greek = std::wstring(wideRoot) + L"\\sub\\\u0395\u03bb\u03bb\u03ac\u03b4\u03b1";
  CreateDirectoryW(greek.c_str(), nullptr);
  const std::wstring japanese = greek + L"\\\u65e5\u672c.txt";
  HANDLE file = CreateFileW(japanese.c_str(), 0, 0, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(INVALID_HANDLE_VALUE, file);
  CloseHandle(file);
  SetFileAttributesW(japanese.c_str(), FILE_ATTRIBUTE_READONLY);
  EXPECT_EQ(1, CMyFileUtility::DeleteFolderTree(root.c_str(), 0));
  EXPECT_FALSE(Exists(root + "\\a.txt"));
  EXPECT_TRUE(Exists(root + "\\sub\\b.txt"));
  EXPECT_EQ(1, CMyFileUtility::DeleteFolderTree((root + "\\*.*").c_str(), 1));
  EXPECT_FALSE(Exists(root));
  EXPECT_EQ(0, CMyFileUtility::DeleteFolderTree(root.c_str(), 1));
}

TEST(MyFileUtility, GrayIconKeepsSizeAndGraysColours) {
  const int size = 16;
  BYTE colour[size * size * 4];
  for (int i = 0; i < size * size; i++) {
    colour[4 * i + 0] = 0x00;  // blue
    colour[4 * i + 1] = 0x00;  // green
    colour[4 * i + 2] = i == 0 ? 0x00 : 0xFF;  // red; the first pixel black
    colour[4 * i + 3] = 0x00;
  }
  BYTE mask[size * size / 8] = {};
  ICONINFO info = {TRUE, 0, 0, CreateBitmap(size, size, 1, 1, mask), CreateBitmap(size, size, 1, 32, colour)};
  HICON icon = CreateIconIndirect(&info);
  ASSERT_NE(nullptr, icon);
  HICON gray = CMyFileUtility::CreateGrayIcon(nullptr, icon);
  ASSERT_NE(nullptr, gray);

  ICONINFO grayInfo;
  ASSERT_TRUE(GetIconInfo(gray, &grayInfo));
  BITMAPINFO format = {};
  format.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  format.bmiHeader.biWidth = size;
  format.bmiHeader.biHeight = -size;
  format.bmiHeader.biPlanes = 1;
  format.bmiHeader.biBitCount = 32;
  BYTE pixels[size * size * 4];
  HDC dc = GetDC(nullptr);
  ASSERT_EQ(size, GetDIBits(dc, grayInfo.hbmColor, 0, size, pixels, &format, DIB_RGB_COLORS));
  ReleaseDC(nullptr, dc);
  const BYTE expected = BYTE(0.299 * 255);
  EXPECT_EQ(0, pixels[0] | pixels[1] | pixels[2]);
  EXPECT_EQ(expected, pixels[4]);
  EXPECT_EQ(expected, pixels[5]);
  EXPECT_EQ(expected, pixels[6]);
  DeleteObject(grayInfo.hbmColor);
  DeleteObject(grayInfo.hbmMask);
  DestroyIcon(gray);
  DestroyIcon(icon);
  DeleteObject(info.hbmColor);
  DeleteObject(info.hbmMask);
}

}  // namespace
