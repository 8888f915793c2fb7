// Functions 1 to 7 on archives made by Info-ZIP zip, 7-Zip and Python's
// zipfile, against the listings those tools give.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include "UnzipTestSupport.h"

namespace {

struct Expected {
  std::string name;
  uint64_t size, packed;
  uint32_t crc;
  int method;
  int year, month, day, hour, minute, second;
};

struct Listing {
  std::vector<Expected> members;
  int commentLength = 0;
};

Listing ReadListing(const std::string &archive) {
  Listing listing;
  std::ifstream in(ListingArchive(archive.substr(0, archive.size() - 4) + ".expected"));
  std::string line;
  while (std::getline(in, line)) {
    std::istringstream fields(line);
    std::string name;
    std::getline(fields, name, '\t');
    if (name == "comment") {
      fields >> listing.commentLength;
      continue;
    }
    Expected e;
    e.name = name;
    std::string crc, date, time;
    fields >> e.size >> e.packed >> crc >> e.method >> date >> time;
    e.crc = static_cast<uint32_t>(std::stoul(crc, nullptr, 16));
    sscanf(date.c_str(), "%d-%d-%d", &e.year, &e.month, &e.day);
    sscanf(time.c_str(), "%d:%d:%d", &e.hour, &e.minute, &e.second);
    listing.members.push_back(e);
  }
  return listing;
}

class ToolArchives : public ::testing::TestWithParam<const char *> {};

TEST_P(ToolArchives, CountListAndDescribeAsTheToolsDo) {
  std::string archive = ListingArchive(GetParam());
  Listing listing = ReadListing(GetParam());
  RecordedMessages().clear();

  UNZIPCMDSTRUCT count = Command(1, archive);
  ASSERT_EQ(UnzipExecute(&count), 0);
  EXPECT_EQ(count.returnCount, static_cast<int>(listing.members.size()));

  // Function 2, member after member, into the extended record.
  for (size_t i = 0; i < listing.members.size(); ++i) {
    const Expected &e = listing.members[i];
    UnzipMemberInfoEx info = {};
    UNZIPCMDSTRUCT next = Command(2, archive);
    next.pZipInfoEx = &info;
    ASSERT_EQ(UnzipExecute(&next), 0) << e.name;
    EXPECT_EQ(info.index, i);
    EXPECT_EQ(std::string(info.name), e.name);
    EXPECT_EQ(info.uncompressedSize, e.size) << e.name;
    EXPECT_EQ(info.compressedSize, e.packed) << e.name;
    EXPECT_EQ(info.crc32, e.crc) << e.name;
    EXPECT_EQ(info.method, e.method) << e.name;
    char dateTime[32];
    snprintf(dateTime, sizeof dateTime, "%02d/%02d/%04d  %02d:%02d:%02d", e.month, e.day, e.year, e.hour, e.minute,
             e.second);
    EXPECT_STREQ(info.dateTime, dateTime) << e.name;
    EXPECT_EQ(info.hasSlash, e.name.find('/') != std::string::npos);
  }
  UnzipMemberInfoEx beyond = {};
  UNZIPCMDSTRUCT last = Command(2, archive);
  last.pZipInfoEx = &beyond;
  EXPECT_EQ(UnzipExecute(&last), 2);

  // Function 7 by index, into the member information record.
  for (size_t i = 0; i < listing.members.size(); ++i) {
    const Expected &e = listing.members[i];
    UnzipMemberInfo info = {};
    UNZIPCMDSTRUCT byIndex = Command(7, archive);
    byIndex.zInfo = &info;
    byIndex.index = static_cast<int32_t>(i);
    ASSERT_EQ(UnzipExecute(&byIndex), 0);
    EXPECT_EQ(std::string(info.name), e.name);
    EXPECT_EQ(info.uncompressedSize, e.size);
    EXPECT_EQ(info.crc32, e.crc);
    char dateTime[18];
    snprintf(dateTime, sizeof dateTime, "%02d/%02d/%02d  %02d:%02d", e.month, e.day, e.year % 100, e.hour, e.minute);
    EXPECT_STREQ(info.dateTime, dateTime);
    EXPECT_EQ(info.seconds, static_cast<uint32_t>(e.second));
  }
  UnzipMemberInfo info = {};
  UNZIPCMDSTRUCT past = Command(7, archive);
  past.zInfo = &info;
  past.index = static_cast<int32_t>(listing.members.size());
  EXPECT_EQ(UnzipExecute(&past), 25);

  UNZIPCMDSTRUCT commentSize = Command(5, archive);
  ASSERT_EQ(UnzipExecute(&commentSize), 0);
  EXPECT_EQ(commentSize.returnCount, listing.commentLength);
  std::vector<std::string> expectedErrors;
  if (listing.members.empty())
    expectedErrors.push_back("Quellon Secure UnZip Error: Unexpected end of zip file (No more items found)\n");
  expectedErrors.push_back("Quellon Secure UnZip Error: Index out of bounds (Specified index is out of range)\n");
  EXPECT_EQ(RecordedErrors(), expectedErrors);
}

INSTANTIATE_TEST_SUITE_P(Archives, ToolArchives,
                         ::testing::Values("infozip.zip", "infozip-zip64.zip", "7zz.zip", "7zz-aes.zip",
                                           "python-empty.zip", "python-comment.zip", "python-names.zip", "infozip-split.zip",
                                           "infozip-split-many.zip"),
                         [](const ::testing::TestParamInfo<const char *> &info) {
                           std::string name;
                           for (const char *p = info.param; *p && *p != '.'; ++p) name += isalnum(*p) ? *p : '_';
                           return name;
                         });

TEST(Listing, RemovableDriveSearchFindsTheSameEndRecords) {
  for (const char *name : {"python-comment.zip", "python-empty.zip", "infozip-zip64.zip"}) {
    std::string archive = ListingArchive(name);
    Listing listing = ReadListing(name);
    UNZIPCMDSTRUCT count = Command(1, archive);
    count.wUnzipSubOptions = kUnzipRemovableDrive;
    ASSERT_EQ(UnzipExecute(&count), 0) << name;
    EXPECT_EQ(count.returnCount, static_cast<int>(listing.members.size())) << name;
    UNZIPCMDSTRUCT comment = Command(5, archive);
    comment.wUnzipSubOptions = kUnzipRemovableDrive;
    ASSERT_EQ(UnzipExecute(&comment), 0) << name;
    EXPECT_EQ(comment.returnCount, listing.commentLength) << name;
  }
}

TEST(Listing, SkippingLongNames) {
  std::string archive = ListingArchive("python-names.zip");
  UNZIPCMDSTRUCT count = Command(1, archive);
  count.wUnzipSubOptions = kUnzipSkipLongNames;
  ASSERT_EQ(UnzipExecute(&count), 0);
  EXPECT_EQ(count.returnCount, 1);
  UnzipMemberInfo info = {};
  UNZIPCMDSTRUCT byIndex = Command(7, archive);
  byIndex.wUnzipSubOptions = kUnzipSkipLongNames;
  byIndex.zInfo = &info;
  byIndex.index = 0;
  ASSERT_EQ(UnzipExecute(&byIndex), 0);
  EXPECT_STREQ(info.name, "folder/");
  RecordedMessages().clear();
  byIndex.index = 1;
  EXPECT_EQ(UnzipExecute(&byIndex), 25);
  std::vector<std::string> expected = {
      "Quellon Secure UnZip Error: Index out of bounds (Index references Long File Name.)\n"};
  EXPECT_EQ(RecordedErrors(), expected);
}

TEST(Listing, FilespecMatching) {
  struct Case {
    const char *filespec;
    int recurse;
    int count;
  } cases[] = {
      // A pattern naming a file in a folder selects the folder member too.
      {"*.txt", 0, 2},        {"*.txt", 1, 3},    {"*.*", 0, 3},   {"dir\\*.*", 0, 2}, {"dir\\*.*", 1, 4},
      {"dir\\", 0, 2},       {"dir\\", 1, 4},   {"B.BIN", 1, 1}, {"\"a.txt\" empty.txt", 0, 2},
      {"dir\\sub\\c.txt", 0, 2}, {"*.none", 1, 0},
  };
  std::string archive = ListingArchive("infozip.zip");
  for (const Case &c : cases) {
    UNZIPCMDSTRUCT matches = Command(3, archive);
    matches.lpszFilespec = c.filespec;
    matches.recurseFlag = c.recurse;
    ASSERT_EQ(UnzipExecute(&matches), 0) << c.filespec;
    EXPECT_EQ(matches.returnCount, c.count) << c.filespec << " recurse " << c.recurse;
  }
  UnzipMemberInfoEx info = {};
  UNZIPCMDSTRUCT next = Command(4, archive);
  next.lpszFilespec = "*.bin";
  next.recurseFlag = 1;
  next.pZipInfoEx = &info;
  ASSERT_EQ(UnzipExecute(&next), 0);
  EXPECT_STREQ(info.name, "dir/b.bin");
  EXPECT_EQ(UnzipExecute(&next), 2);
}

TEST(Listing, EncryptedAesMemberCarriesItsKind) {
  UnzipMemberInfoEx info = {};
  std::string archive = ListingArchive("7zz-aes.zip");
  UNZIPCMDSTRUCT byIndex = Command(7, archive);
  byIndex.pZipInfoEx = &info;
  byIndex.index = 0;
  ASSERT_EQ(UnzipExecute(&byIndex), 0);
  EXPECT_EQ(info.encryptionKind, 0x0203u);  // WinZip AES, AE-2, 256 bits
  EXPECT_TRUE(info.attributes & kMemberAttrEncrypted);
}

TEST(Listing, NameOf260BytesEndsTheListingWith3) {
  std::string archive = ListingArchive("python-name260.zip");
  UNZIPCMDSTRUCT count = Command(1, archive);
  count.quietFlag = 1;
  ASSERT_EQ(UnzipExecute(&count), 0);
  EXPECT_EQ(count.returnCount, 1);
  UnzipMemberInfoEx info = {};
  UNZIPCMDSTRUCT next = Command(2, archive);
  next.quietFlag = 1;
  next.pZipInfoEx = &info;
  EXPECT_EQ(UnzipExecute(&next), 3);
}

TEST(Listing, CommentTextNeverPassesReturnCount) {
  std::string archive = ListingArchive("python-comment.zip");
  char buffer[16];
  memset(buffer, '#', sizeof buffer);
  UNZIPCMDSTRUCT text = Command(6, archive);
  text.lpszReturnString = buffer;
  text.returnCount = 10;
  ASSERT_EQ(UnzipExecute(&text), 0);
  EXPECT_EQ(text.returnCount, 9);
  EXPECT_STREQ(buffer, "ABCDEFGHI");
  EXPECT_EQ(buffer[10], '#');

  std::vector<char> whole(70000, '#');
  text = Command(6, archive);
  text.lpszReturnString = whole.data();
  text.returnCount = static_cast<int32_t>(whole.size());
  ASSERT_EQ(UnzipExecute(&text), 0);
  EXPECT_EQ(text.returnCount, 65535);
  EXPECT_EQ(whole[65534], 'A' + 65534 % 26);
  EXPECT_EQ(whole[65535], '\0');
}

TEST(Listing, OlderRecordsGetTheOlderInformationRecord) {
  UNZIPCMDSTRUCT100 old = {};
  old.structSize = sizeof old;
  old.Function = 7;
  std::string archive = ListingArchive("python-names.zip");
  old.lpszZIPFile = archive.c_str();
  old.quietFlag = 1;
  UnzipMemberInfoOld info;
  memset(&info, '#', sizeof info);
  old.zInfo = &info;
  old.index = 0;
  ASSERT_EQ(UnzipExecute(reinterpret_cast<UNZIPCMDSTRUCT *>(&old)), 0);
  EXPECT_EQ(std::string(info.name), std::string(127, 'n'));
  EXPECT_EQ(info.uncompressedSize, 3u);
  EXPECT_STREQ(info.dateTime, "12/31/99  23:59");
  EXPECT_EQ(old.zInfo, &info);
}

TEST(Listing, DirectoryIsReadAgainOnlyWhenTheArchiveChanges) {
  std::string archive = ListingArchive("infozip.zip");
  UNZIPCMDSTRUCT count = Command(1, archive);
  ASSERT_EQ(UnzipExecute(&count), 0);
  auto nextName = [&]() {
    UnzipMemberInfoEx info = {};
    UNZIPCMDSTRUCT next = Command(2, archive);
    next.pZipInfoEx = &info;
    EXPECT_EQ(UnzipExecute(&next), 0);
    return std::string(info.name);
  };
  EXPECT_EQ(nextName(), "a.txt");
  EXPECT_EQ(nextName(), "dir/");  // the cached directory goes on
  HANDLE file = CreateFileA(archive.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  FILETIME later;
  GetSystemTimeAsFileTime(&later);
  SetFileTime(file, nullptr, nullptr, &later);
  CloseHandle(file);
  EXPECT_EQ(nextName(), "a.txt");  // a touched archive is read afresh
}

}  // namespace
