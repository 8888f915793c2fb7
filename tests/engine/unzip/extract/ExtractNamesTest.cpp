// Member names stored as UTF-8 (flag bit 11, a Unicode path record tied to
// the stored name by its CRC, or unflagged from a Unix host) are created
// under their real names, as 7-Zip and Info-ZIP unzip write them; the path
// rules apply to the decoded name.
#include <gtest/gtest.h>
#include <fstream>
#include "ExtractTestSupport.h"

namespace {

std::vector<std::string> ExpectedNames(const std::string &text) {
  std::vector<std::string> names;
  std::ifstream in(text);
  for (std::string line; std::getline(in, line);)
    if (!line.empty()) names.push_back(line);
  std::sort(names.begin(), names.end());
  return names;
}

int ExtractNames(const std::string &archiveCase, const std::string &destination) {
  UNZIPCMDSTRUCT command = Command(kUnzipExtract, Work("names/" + archiveCase + ".zip"));
  command.lpszFilespec = "*.*";
  command.recurseFlag = 1;
  command.overWriteFlag = 1;
  command.quietFlag = 1;
  command.lpszDestination = Kept(destination);
  return UnzipExecute(&command);
}

TEST(Utf8Names, FilesAreCreatedUnderTheirRealNames) {
  for (const char *archiveCase : {"7z-utf8", "py-utf8", "unicode-path", "izip-unix", "dos-utf8-bytes"}) {
    SCOPED_TRACE(archiveCase);
    std::string outer = Work(std::string("names/ours-") + archiveCase);
    std::string destination = outer + "/dest";
    RemoveTree(outer);
    CreateDirectoryA(outer.c_str(), nullptr);
    CreateDirectoryA(destination.c_str(), nullptr);
    Messages().clear();
    EXPECT_EQ(0, ExtractNames(archiveCase, destination));
    EXPECT_EQ(ExpectedNames(Work(std::string("names/") + archiveCase + ".txt")), FilesBelow(destination));
    // The escaping name is refused, not written beside the destination.
    std::vector<std::string> all = FilesBelow(outer);
    for (const std::string &file : all) EXPECT_EQ(0u, file.rfind("dest/", 0)) << file;
    if (std::string(archiveCase) == "py-utf8") EXPECT_TRUE(MessageNames("_escape.txt: skipped"));
  }
  // The unflagged empty folder is made under its own name too.
  EXPECT_NE(INVALID_FILE_ATTRIBUTES,
            GetFileAttributesW((WideOf(Work("names/ours-izip-unix/dest/"), CP_ACP) + L"\u0395\u03bb\u03bb\u03ac\u03b4\u03b1").c_str()));
}

std::vector<std::string> ListedNames(const std::string &archive) {
  UNZIPCMDSTRUCT command = Command(kUnzipCount, archive);
  EXPECT_EQ(0, UnzipExecute(&command));
  UnzipMemberInfo info;
  std::vector<std::string> listed;
  for (;;) {
    UNZIPCMDSTRUCT next = Command(kUnzipNextInfo, archive);
    next.zInfo = &info;
    if (UnzipExecute(&next) != 0) break;
    listed.push_back(info.name);
  }
  return listed;
}

std::string AnsiOfUtf8(const std::string &utf8) {
  char ansi[MAX_PATH];
  WideCharToMultiByte(CP_ACP, 0, WideOf(utf8, CP_UTF8).c_str(), -1, ansi, sizeof ansi, nullptr, nullptr);
  return ansi;
}

// Function 2 hands the ANSI form: a name the code page can show is shown;
// the unflagged Unix names list as 7-Zip extracts them, and test as sound.
TEST(Utf8Names, ListingGivesTheAnsiForm) {
  std::vector<std::string> listed = ListedNames(Work("names/py-utf8.zip"));
  EXPECT_NE(listed.end(), std::find(listed.begin(), listed.end(), AnsiOfUtf8("\xE2\x82\xAC_for_Dollar.txt")));
  for (const char *archiveCase : {"izip-unix", "dos-utf8-bytes"}) {
    SCOPED_TRACE(archiveCase);
    listed = ListedNames(Work(std::string("names/") + archiveCase + ".zip"));
    for (const std::string &name : ExpectedNames(Work(std::string("names/") + archiveCase + ".txt")))
      EXPECT_NE(listed.end(), std::find(listed.begin(), listed.end(), AnsiOfUtf8(name))) << name;
    UNZIPCMDSTRUCT test = Command(kUnzipExtract, Work(std::string("names/") + archiveCase + ".zip"));
    test.lpszFilespec = "*.*";
    test.recurseFlag = 1;
    test.testFlag = 1;
    test.quietFlag = 1;
    EXPECT_EQ(0, UnzipExecute(&test));
  }
}

}  // namespace
