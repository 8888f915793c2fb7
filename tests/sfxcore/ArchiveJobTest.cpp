// The job layer against archives from Info-ZIP zip, 7-Zip and Python's
// zipfile, whose listings 7-Zip confirmed when the setup made them.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "ArchiveJob.h"
#include "MyFileUtility.h"
#include "UnzipApi.h"

namespace {

std::string JobArchive(const std::string& name) { return std::string(BRENNICOR_TEST_WORK) + "/sfxcore-job/" + name; }

struct ExpectedListing {
  std::vector<std::vector<std::string>> members;  // name, crc, method, size, packed, folder, encryption
  uint64_t files = 0, folders = 0, encrypted = 0;
  std::string comment;
};

std::vector<std::string> SplitTabs(const std::string& line) {
  std::vector<std::string> fields;
  std::istringstream in(line);
  for (std::string field; std::getline(in, field, '\t');) fields.push_back(field);
  if (!line.empty() && line.back() == '\t') fields.push_back("");
  return fields;
}

ExpectedListing ReadExpected(const std::string& archive) {
  ExpectedListing expected;
  std::ifstream in(JobArchive(archive.substr(0, archive.size() - 4) + ".expected"));
  for (std::string line; std::getline(in, line);) {
    std::vector<std::string> fields = SplitTabs(line);
    if (fields[0] == "totals") {
      expected.files = std::stoull(fields[1]);
      expected.folders = std::stoull(fields[2]);
      expected.encrypted = std::stoull(fields[3]);
      expected.comment = fields.size() > 4 ? fields[4] : "";
    } else {
      expected.members.push_back(fields);
    }
  }
  return expected;
}

// What a JobItemCallback was told.
struct Report {
  int code;
  std::string text;
  int value;
};
std::vector<Report> gReports;
int gStopAtPercent = -1;

int RecordReport(int code, const char* text, int value, void*, void*, int, int, char*, char*, int*) {
  gReports.push_back({code, text ? text : "", value});
  return code == kJobListingProgress && value == gStopAtPercent ? 1 : 0;
}

void ResetReports(int stopAtPercent = -1) {
  gReports.clear();
  gStopAtPercent = stopAtPercent;
}

std::vector<int> ListingPercents() {
  std::vector<int> percents;
  for (const Report& r : gReports)
    if (r.code == kJobListingProgress) percents.push_back(r.value);
  return percents;
}

class ToolArchives : public ::testing::TestWithParam<const char*> {};

TEST_P(ToolArchives, ListingMatchesTheTools) {
  const std::string archive = JobArchive(GetParam());
  const ExpectedListing expected = ReadExpected(GetParam());

  int count = -2;
  ASSERT_EQ(0, CountArchiveEntries(nullptr, nullptr, archive.c_str(), &count));
  EXPECT_EQ(static_cast<int>(expected.members.size()), count);

  std::vector<ArchiveListRecord> records;
  ResetReports();
  ASSERT_EQ(0, ListArchive(nullptr, nullptr, archive.c_str(), &records, &count, RecordReport));
  ASSERT_EQ(expected.members.size(), records.size());
  for (size_t i = 0; i < records.size(); ++i) {
    const std::vector<std::string>& e = expected.members[i];
    const ArchiveListRecord& r = records[i];
    EXPECT_EQ(e[0], r.name);
    EXPECT_EQ(e[1], r.crcText) << r.name;
    EXPECT_EQ(e[2], r.methodName) << r.name;
    EXPECT_EQ(std::stoull(e[3]), r.uncompressedSize) << r.name;
    EXPECT_EQ(std::stoull(e[4]), r.compressedSize) << r.name;
    EXPECT_EQ(e[5] == "1", r.isFolder == 1) << r.name;
    EXPECT_EQ(e[6], r.encryptionText) << r.name;
    EXPECT_EQ(i, r.position);
    EXPECT_EQ(8u, r.attributeText.size());
    if (r.compressedSize > r.uncompressedSize) {
      EXPECT_EQ("100.0%", r.ratioText) << r.name;
    }
    if (r.isFolder) {
      EXPECT_EQ("-S----  ", r.attributeText) << r.name;
    }
  }
  if (!records.empty()) {
    EXPECT_EQ("Found Item '" + records[0].name + "'...", gReports.front().text);
  }

  ArchiveSummaryRecord summary;
  ASSERT_EQ(0, ReadArchiveComment(nullptr, nullptr, archive.c_str(), &summary));
  EXPECT_EQ(expected.files, summary.fileCount);
  EXPECT_EQ(expected.folders, summary.folderCount);
  EXPECT_EQ(expected.encrypted, summary.encryptedCount);
  EXPECT_EQ(expected.comment, summary.comment);
}

INSTANTIATE_TEST_SUITE_P(SourceArchives, ToolArchives,
                         ::testing::Values("infozip.zip", "infozip-crypt.zip", "7zz-d64.zip", "7zz-aes.zip",
                                           "python.zip", "python-200.zip", "python-empty.zip"));

TEST(ArchiveJob, ListingProgressReportsEachPercentageOnce) {
  std::vector<ArchiveListRecord> records;
  int count = 0;
  ResetReports();
  ASSERT_EQ(0, ListArchive(nullptr, nullptr, JobArchive("python.zip").c_str(), &records, &count, RecordReport));
  EXPECT_EQ((std::vector<int>{0, 33, 66}), ListingPercents());

  ResetReports();
  ASSERT_EQ(0, ListArchive(nullptr, nullptr, JobArchive("python-200.zip").c_str(), &records, &count, RecordReport));
  std::vector<int> everyPercent;
  for (int p = 0; p < 100; ++p) everyPercent.push_back(p);
  EXPECT_EQ(everyPercent, ListingPercents());

  ResetReports();
  ASSERT_EQ(0, ListArchive(nullptr, nullptr, JobArchive("python-empty.zip").c_str(), &records, &count, RecordReport));
  EXPECT_TRUE(records.empty());
  EXPECT_TRUE(gReports.empty());
}

TEST(ArchiveJob, CallbackStopsTheListingBeforeTheCurrentEntry) {
  std::vector<ArchiveListRecord> records;
  int count = 0;
  ResetReports(33);
  EXPECT_EQ(0, ListArchive(nullptr, nullptr, JobArchive("python.zip").c_str(), &records, &count, RecordReport));
  ASSERT_EQ(1u, records.size());
  EXPECT_EQ("docs/", records[0].name);
}

TEST(ArchiveJob, MissingArchiveFailsWithACountOfAllOnes) {
  int count = 0;
  EXPECT_NE(0, CountArchiveEntries(nullptr, nullptr, JobArchive("absent.zip").c_str(), &count));
  EXPECT_EQ(-1, count);
  EXPECT_EQ(-1, ReadArchiveComment(nullptr, nullptr, JobArchive("python.zip").c_str(), nullptr));
}

std::string FreshFolder(const std::string& name) {
  const std::string folder = JobArchive(name) + "\\";
  CMyFileUtility::DeleteFolderTree(folder.c_str(), 1);
  CreateDirectoryA(folder.c_str(), nullptr);
  return folder;
}

// The file's bytes, or "<missing>" when it cannot be read.
std::string FileBytes(const std::string& path) {
  FILE* f = fopen(path.c_str(), "rb");
  if (!f) return "<missing>";
  std::string bytes;
  char buffer[4096];
  for (size_t n; (n = fread(buffer, 1, sizeof buffer, f)) > 0;) bytes.append(buffer, n);
  fclose(f);
  return bytes;
}

std::string Repeated(const std::string& text, int times) {
  std::string out;
  while (times-- > 0) out += text;
  return out;
}

std::string AllBytes() {
  std::string bytes;
  for (int b = 0; b < 256; ++b) bytes.push_back(static_cast<char>(b));
  return bytes;
}

TEST(ArchiveJob, ExtractRelaysTheEngineAndRepeatsItsLastReport) {
  // A literal member pattern with its blanks: cleaned in a copy.
  const std::string folder = FreshFolder("extract-pattern");
  ResetReports();
  ASSERT_EQ(0, ExtractArchive(nullptr, nullptr, JobArchive("python.zip").c_str(), " stored.bin ", folder.c_str(),
                              nullptr, nullptr, 1, 0, 1, 0, RecordReport));
  EXPECT_EQ(AllBytes(), FileBytes(folder + "stored.bin"));
  EXPECT_EQ("<missing>", FileBytes(folder + "docs\\readme.txt"));
  // The engine reports the entry as it starts, asks about its target, and
  // reports its progress; the layer closes with the same overall report
  // once the entry is done.
  ASSERT_GE(gReports.size(), 4u);
  EXPECT_EQ(kJobEntryFinished, gReports.front().code);
  EXPECT_EQ(kJobOverwriteQuery, gReports[1].code);
  for (size_t i = 2; i + 1 < gReports.size(); ++i) {
    EXPECT_EQ(kJobItemProgress, gReports[i].code);
    EXPECT_EQ("Extracting: " + folder + "stored.bin", gReports[i].text);
  }
  EXPECT_EQ(100, gReports[gReports.size() - 2].value);
  EXPECT_EQ(kJobEntryFinished, gReports.back().code);
  EXPECT_EQ(gReports.front().text, gReports.back().text);

  const std::string both = FreshFolder("extract-list");
  ASSERT_EQ(0, ExtractArchive(nullptr, nullptr, JobArchive("python.zip").c_str(), "*", both.c_str(),
                              "docs\\readme.txt, stored.bin ", nullptr, 1, 0, 1, 0, nullptr));
  EXPECT_EQ(Repeated("read me\r\n", 30), FileBytes(both + "docs\\readme.txt"));
  EXPECT_EQ(AllBytes(), FileBytes(both + "stored.bin"));

  const std::string locked = FreshFolder("extract-locked");
  ASSERT_EQ(0, ExtractArchive(nullptr, nullptr, JobArchive("7zz-aes.zip").c_str(), "*", locked.c_str(), nullptr,
                              "secret", 1, 0, 1, 0, nullptr));
  EXPECT_EQ(FileBytes(JobArchive("tree/a.txt")), FileBytes(locked + "a.txt"));
  EXPECT_EQ(FileBytes(JobArchive("tree/dir/b.bin")), FileBytes(locked + "dir\\b.bin"));
  EXPECT_EQ(10000u, FileBytes(locked + "a.txt").size());
}

int RenameTarget(int code, const char*, int, void* item, void* queryTable, int, int, char* reply, char*, int*) {
  if (code != kJobOverwriteQuery) return 0;
  // The query table points into the engine's rename record.
  const auto* slots = static_cast<const uintptr_t*>(queryTable);
  EXPECT_EQ(static_cast<const UnzipRenameRecordEx*>(item)->path, reinterpret_cast<const char*>(slots[kQueryTargetPath]));
  EXPECT_EQ(256u, slots[kQuerySizeLow]);
  strcpy(reply, "renamed.bin");
  return 0;
}

TEST(ArchiveJob, OverwriteQueryReplyRenamesTheTarget) {
  const std::string folder = FreshFolder("extract-renamed");
  ASSERT_EQ(0, ExtractArchive(nullptr, nullptr, JobArchive("python.zip").c_str(), "stored.bin", folder.c_str(),
                              nullptr, nullptr, 1, 0, 1, 0, RenameTarget));
  EXPECT_EQ(AllBytes(), FileBytes(folder + "renamed.bin"));
  EXPECT_EQ("<missing>", FileBytes(folder + "stored.bin"));
}

TEST(ArchiveJob, ListingTexts) {
  struct Case {
    uint32_t attributes, kind;
    const char* attributeText;
    const char* encryptionText;
  };
  const Case cases[] = {
      {0x10, 0, "-S----  ", "none"},
      {0x21 | 0x8000, 0x0803, "A----RE ", "AES [256 bit]"},
      {0x8000, 0x0200, "------E ", "wZip AES-2 [default]"},
      {0x8000 | 0x10000, 0x0101, "------EL", "wZip AES-1 [128 bit]"},
      {0x0E | 0x8000, 0x0000, "--VSH-E ", "Zip 2.04 Compatible"},
      {0x8000, 0x0A00, "------E ", "3DES [112 bit]"},
      {0x8000, 0x0E00, "------E ", "RC4 [default]"},
      {0x8000, 0xFF00, "------E ", "Unknown"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(c.encryptionText, ArchiveEncryptionText(c.attributes, c.kind)) << std::hex << c.kind;
    EXPECT_EQ(c.attributeText, ArchiveAttributeText(c.attributes)) << std::hex << c.attributes;
  }
  EXPECT_STREQ("Deflate64", ArchiveMethodName(9));
  EXPECT_STREQ("Tokenize", ArchiveMethodName(7));
  EXPECT_STREQ("Unknown", ArchiveMethodName(12));
}

TEST(ArchiveJob, CommandTextsAreCleanedCopies) {
  EXPECT_EQ("a.txt b.txt", CleanItemList("a.txt, b.txt "));
  EXPECT_EQ("a b c", CleanItemList("a, b, c   "));
  EXPECT_EQ(" ", CleanItemList(" "));
  EXPECT_EQ("*.txt", CleanMemberPattern(" *.txt "));
  EXPECT_EQ(" x ", CleanMemberPattern("  x  "));
  EXPECT_EQ("", CleanMemberPattern(nullptr));
}

}  // namespace
