// Member names stored as UTF-8 (flag bit 11, or a Unicode path record tied
// to the stored name by its CRC) are created under their real names, as
// 7-Zip and Info-ZIP unzip write them; the path rules apply to the decoded
// name.
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
  for (const char *archiveCase : {"7z-utf8", "py-utf8", "unicode-path"}) {
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
}

// Function 2 hands the ANSI form: a name the code page can show is shown.
TEST(Utf8Names, ListingGivesTheAnsiForm) {
  UNZIPCMDSTRUCT command = Command(kUnzipCount, Work("names/py-utf8.zip"));
  ASSERT_EQ(0, UnzipExecute(&command));
  UnzipMemberInfo info;
  std::vector<std::string> listed;
  for (;;) {
    UNZIPCMDSTRUCT next = Command(kUnzipNextInfo, Work("names/py-utf8.zip"));
    next.zInfo = &info;
    if (UnzipExecute(&next) != 0) break;
    listed.push_back(info.name);
  }
  wchar_t euro[] = L"\u20ac_for_Dollar.txt";
  char ansi[64];
  WideCharToMultiByte(CP_ACP, 0, euro, -1, ansi, sizeof ansi, nullptr, nullptr);
  EXPECT_NE(listed.end(), std::find(listed.begin(), listed.end(), std::string(ansi)));
}

}  // namespace
