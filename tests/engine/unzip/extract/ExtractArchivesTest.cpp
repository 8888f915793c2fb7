// Archives made by Info-ZIP zip, 7-Zip and Python's zipfile, extracted by
// function 8 to disk and by function 10 through the memory callback: the
// bytes must be the ones the tools themselves extract.
#include <gtest/gtest.h>
#include <fstream>
#include <sstream>
#include "ExtractTestSupport.h"

namespace {

struct ToolCase {
  std::string name;
  std::string password;
};

std::vector<ToolCase> ToolCases() {
  std::vector<ToolCase> cases;
  std::ifstream in(Work("cases.txt"));
  std::string line;
  while (std::getline(in, line)) {
    size_t tab = line.find('\t');
    cases.push_back({line.substr(0, tab), tab == std::string::npos ? "" : line.substr(tab + 1)});
  }
  return cases;
}

int ExtractAll(const std::string &archive, const std::string &destination, const std::string &password,
               int test = 0) {
  UNZIPCMDSTRUCT command = Command(kUnzipExtract, archive);
  command.lpszFilespec = "*.*";
  command.recurseFlag = 1;
  command.lpszDestination = destination.c_str();
  command.overWriteFlag = 1;
  command.testFlag = test;
  if (!password.empty()) {
    command.decryptFlag = 1;
    command.lpszDecryptCode = password.c_str();
  }
  return UnzipExecute(&command);
}

TEST(ToolArchives, ExtractToFilesAsTheToolsDo) {
  std::vector<ToolCase> cases = ToolCases();
  ASSERT_GE(cases.size(), 26u);
  for (const ToolCase &c : cases) {
    SCOPED_TRACE(c.name);
    std::string out = Work("out/" + c.name);
    RemoveTree(out);
    CreateDirectoryA(Work("out").c_str(), nullptr);
    CreateDirectoryA(out.c_str(), nullptr);
    Messages().clear();
    EXPECT_EQ(0, ExtractAll(Work(c.name + ".zip"), out, c.password));
    std::string expected = Work("expected/" + c.name);
    std::vector<std::string> files = FilesBelow(expected);
    EXPECT_EQ(files, FilesBelow(out));
    for (const std::string &file : files)
      EXPECT_TRUE(ReadFileBytes(expected + "/" + file) == ReadFileBytes(out + "/" + file)) << file;
    EXPECT_EQ(0, ExtractAll(Work(c.name + ".zip"), out, c.password, 1)) << "testing";
  }
}

// Info-ZIP stored the tree's times as local clock times of a zone with
// summer time (the run's); extracted in the same zone, each file is back at
// its instant, the summer one too.
TEST(ToolArchives, ExtractedFilesKeepTheirTimes) {
  std::string out = Work("out/izip-6");
  const struct {
    const char *name;
    int64_t unixTime;
  } files[] = {{"a.txt", 1700000000}, {"dir/sub/c.txt", 1688000000}};
  for (const auto &file : files) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    ASSERT_TRUE(GetFileAttributesExA((out + "/" + file.name).c_str(), GetFileExInfoStandard, &data)) << file.name;
    const int64_t ticks = int64_t(uint64_t(data.ftLastWriteTime.dwHighDateTime) << 32 | data.ftLastWriteTime.dwLowDateTime);
    const int64_t kUnixEpochInTicks = 116444736000000000;
    EXPECT_EQ(file.unixTime, (ticks - kUnixEpochInTicks) / 10000000) << file.name;
  }
}

TEST(ToolArchives, StreamRecordsExtractThroughTheCallback) {
  int records = 0;
  for (const ToolCase &c : ToolCases()) {
    for (int n = 0;; ++n) {
      std::string base = Work("stream/" + c.name + "/" + std::to_string(n));
      if (!Exists(base + ".rec")) break;
      SCOPED_TRACE(base);
      StreamPartner partner;
      partner.record = ReadFileBytes(base + ".rec");
      // Deliveries that cut every refill and header at odd places.
      partner.chunk = n % 2 ? 4093 : 7;
      ASSERT_EQ(0, RunStream(partner, c.password.empty() ? nullptr : c.password.c_str()));
      EXPECT_TRUE(partner.output == ReadFileBytes(base + ".out"));
      ++records;
    }
  }
  EXPECT_GT(records, 90);
}

// A Deflate record of a text member, cut short at several places.
TEST(StreamEntry, TruncatedOrCorruptDataIsAnError) {
  StreamPartner whole;
  whole.record = ReadFileBytes(Work("stream/izip-6/0.rec"));
  ASSERT_EQ(0, RunStream(whole));
  size_t header = 46 + whole.record[28] + whole.record[30];
  for (size_t cut : {header, header + 1, header + 100, whole.record.size() - 1}) {
    SCOPED_TRACE(cut);
    StreamPartner partner;
    partner.record = whole.record;
    partner.lastAt = static_cast<int64_t>(cut);
    EXPECT_EQ(2, RunStream(partner));
  }
  StreamPartner corrupt;
  corrupt.record = whole.record;
  corrupt.record[header] = 0xFF;  // block type 3
  EXPECT_NE(0, RunStream(corrupt));
}

TEST(StreamEntry, StatusAnswersOfTheCallback) {
  StreamPartner whole;
  whole.record = ReadFileBytes(Work("stream/izip-6/0.rec"));
  StreamPartner shortHeader = whole;
  shortHeader.lastAt = 20;
  EXPECT_EQ(2, RunStream(shortHeader));
  StreamPartner cancelled = whole;
  cancelled.cancelAt = 200;
  EXPECT_EQ(48, RunStream(cancelled));
  StreamPartner refused = whole;
  refused.writeStatus = 1;
  EXPECT_EQ(2, RunStream(refused));
  StreamPartner cancelWrite = whole;
  cancelWrite.writeStatus = 2;
  EXPECT_EQ(48, RunStream(cancelWrite));
  // Status 0 on a write: the partner has all it wants.
  StreamPartner enough = whole;
  enough.writeStatus = 0;
  EXPECT_EQ(0, RunStream(enough));
  EXPECT_EQ(0, RunStream(whole));
  EXPECT_EQ(ReadFileBytes(Work("stream/izip-6/0.out")), whole.output);
}

TEST(StreamEntry, WrongPasswordAndWinZipAesCodeAreChecked) {
  StreamPartner aes;
  aes.record = ReadFileBytes(Work("stream/7z-aes256/0.rec"));
  EXPECT_EQ(44, RunStream(aes, "wrong"));
  StreamPartner flipped = aes;
  flipped.record[flipped.record.size() - 1] ^= 1;  // the authentication code
  flipped.output.clear();
  EXPECT_EQ(39, RunStream(flipped, "Secret123"));
  StreamPartner trad;
  trad.record = ReadFileBytes(Work("stream/izip-trad/0.rec"));
  EXPECT_EQ(44, RunStream(trad, "wrong"));
  EXPECT_EQ(44, RunStream(trad));
  EXPECT_EQ(0, RunStream(trad, "Secret123"));
}

}  // namespace

namespace {
// Function 10 with the older methods: the record's size says where the data
// ends. Without it (0xFFFFFFFF) Shrink still ends with its codes, while
// Reduce and Implode are refused: padding bits after their last item would
// decode as more.
TEST(StreamEntry, OlderMethodsWithoutAStatedSize) {
  struct Case {
    const char *record;
    int result;
  } cases[] = {{"legacy-shrink", 0}, {"legacy-reduce3", 2}, {"legacy-implode6", 2}};
  for (const Case &c : cases) {
    SCOPED_TRACE(c.record);
    std::string base = Work(std::string("stream/") + c.record + "/0");
    StreamPartner partner;
    partner.record = ReadFileBytes(base + ".rec");
    ASSERT_GT(partner.record.size(), 46u);
    for (int i = 24; i < 28; ++i) partner.record[i] = 0xFF;  // the uncompressed size field
    EXPECT_EQ(c.result, RunStream(partner));
    if (c.result == 0) EXPECT_TRUE(partner.output == ReadFileBytes(base + ".out"));
  }
}
}  // namespace
