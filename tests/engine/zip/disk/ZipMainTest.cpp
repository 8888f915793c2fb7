// Add, update, freshen and delete on real files through ZipExecute. Every
// archive a run leaves in main\out gets a folder <archive>.expect beside it
// holding what it must contain; check_main_outputs.py opens each with
// Info-ZIP, 7-Zip and Python's zipfile.
#include "DosTime.h"
#include "LocalFileTime.h"
#include "ZipDiskTestSupport.h"
#include "ZipMain.h"

namespace {

const char *kSources[] = {"src\\a.txt", "src\\b.txt", "src\\empty.txt", "src\\sub\\c.txt", "src\\sub\\deep\\d.txt"};

std::string Content(const std::string &name, int version) {
  if (name.find("empty") != std::string::npos) return "";
  std::string text;
  for (int i = 0; i < 200; ++i) text += name + " version " + std::to_string(version) + " line " + std::to_string(i) + "\r\n";
  return text;
}

struct Command {
  MessageRecorder recorder;
  ZIPCMDSTRUCT record;
  std::string archive, items;
  Command(int function, const std::string &archivePath, const std::string &itemList) : archive(archivePath), items(itemList) {
    record = RecordingCommand(&recorder);
    record.Function = function;
    record.lpszZIPFile = &archive[0];
    record.lpszItemList = &items[0];
    record.compFactor = 6;
  }
  int Execute() { return ZipExecute(&record); }
};

// Cancels from the overall progress once the given item starts.
struct CancelAt {
  const char *text;
  static int CALLBACK Status(const char *text, int, void *userData) {
    return text && strstr(text, static_cast<CancelAt *>(userData)->text) ? 1 : 0;
  }
};

class ZipMainTest : public ZipDiskTest {
 protected:
  std::string folder, out;
  void SetUp() override {
    ZipDiskTest::SetUp();
    folder = Scratch("main\\run");
    out = DiskWork("main\\out");
    CreateDirectoryA(out.c_str(), nullptr);
  }
  void WriteSources(int version, int year) {
    for (const char *name : kSources) {
      WriteText(name, Content(name, version));
      SetLocalWriteTime(name, year, 1, 1);
    }
  }
  // The archive's expected members, relative to out.
  void Expect(const std::string &archive, const std::vector<std::pair<std::string, std::string>> &members) {
    std::string expect = out + "\\" + archive + ".expect";
    RemoveTree(expect);
    CreateDirectoryA(expect.c_str(), nullptr);
    for (const auto &member : members) {
      std::string path = expect + "\\" + member.first;
      for (char &c : path)
        if (c == '/') c = '\\';
      if (member.first.back() == '/') {
        WriteText(path + "keep", "");
        DeleteFileA((path + "keep").c_str());
      } else {
        WriteText(path, member.second);
      }
    }
  }
  std::string OutPath(const std::string &name) { return out + "\\" + name; }
};

using Members = std::vector<std::pair<std::string, std::string>>;

Members SourceMembers(int bVersion) {
  return {{"src/a.txt", Content("src\\a.txt", 1)},        {"src/b.txt", Content("src\\b.txt", bVersion)},
          {"src/empty.txt", ""},                           {"src/sub/", ""},
          {"src/sub/c.txt", Content("src\\sub\\c.txt", 1)}, {"src/sub/deep/", ""},
          {"src/sub/deep/d.txt", Content("src\\sub\\deep\\d.txt", 1)}};
}

TEST_F(ZipMainTest, AddUpdateFreshenDelete) {
  WriteSources(1, 2020);
  Command add(ZIP_ADD, OutPath("add.zip"), "src\\*");
  add.record.recurseFlag = 1;
  ASSERT_EQ(add.Execute(), 0);
  Expect("add.zip", SourceMembers(1));

  // b.txt changes and e.txt appears, both newer than the archive's members.
  WriteText("src\\b.txt", Content("src\\b.txt", 2));
  SetLocalWriteTime("src\\b.txt", 2021, 6, 1);
  WriteText("src\\e.txt", Content("src\\e.txt", 1));
  SetLocalWriteTime("src\\e.txt", 2021, 6, 1);

  CopyInto(OutPath("add.zip"), OutPath("update.zip"));
  Command update(ZIP_UPDATE, OutPath("update.zip"), "src\\*");
  update.record.recurseFlag = 1;
  ASSERT_EQ(update.Execute(), 0);
  Members updated = SourceMembers(2);
  updated.push_back({"src/e.txt", Content("src\\e.txt", 1)});
  Expect("update.zip", updated);

  CopyInto(OutPath("add.zip"), OutPath("freshen.zip"));
  Command freshen(ZIP_FRESHEN, OutPath("freshen.zip"), "src\\*");
  freshen.record.recurseFlag = 1;
  ASSERT_EQ(freshen.Execute(), 0);
  Expect("freshen.zip", SourceMembers(2));

  CopyInto(OutPath("add.zip"), OutPath("delete.zip"));
  Command remove(ZIP_DELETE, OutPath("delete.zip"), "src/sub/deep/d.txt src/b.txt");
  ASSERT_EQ(remove.Execute(), 0);
  Members kept = SourceMembers(1);
  kept.erase(kept.begin() + 6);
  kept.erase(kept.begin() + 1);
  Expect("delete.zip", kept);
}

TEST_F(ZipMainTest, NothingToDoAndRefusedOptions) {
  WriteSources(1, 2020);
  Command none(ZIP_ADD, OutPath("none.zip"), "src\\*.none");
  none.record.noDirectoryEntriesFlag = 1;
  EXPECT_EQ(none.Execute(), 12);
  EXPECT_FALSE(FileExists(OutPath("none.zip")));

  Command add(ZIP_ADD, OutPath("small.zip"), "src\\a.txt");
  ASSERT_EQ(add.Execute(), 0);
  std::string before = ReadText(OutPath("small.zip"));
  Command freshen(ZIP_FRESHEN, OutPath("small.zip"), "src\\b.txt");
  EXPECT_EQ(freshen.Execute(), 0);
  EXPECT_EQ(ReadText(OutPath("small.zip")), before);

  Command recurseDelete(ZIP_DELETE, OutPath("small.zip"), "src/a.txt");
  recurseDelete.record.recurseFlag = 1;
  EXPECT_EQ(recurseDelete.Execute(), 16);
  for (const char *date : {"133199", "01019", "0101aa"}) {
    Command dated(ZIP_ADD, OutPath("small.zip"), "src\\a.txt");
    dated.record.afterDateFlag = 1;
    dated.record.lpszDate = const_cast<char *>(date);
    EXPECT_EQ(dated.Execute(), 16) << date;
  }
  EXPECT_EQ(ReadText(OutPath("small.zip")), before);
}

// Split parts of 64 KiB (the smallest the volume layer makes) for 200,000
// bytes that do not compress; the last part takes the archive's name. The
// members cross part boundaries but none crosses two: Info-ZIP's joiner
// (zip -s 0), which the checker also runs, loses data of a member spread
// over three parts, its own sets' too.
TEST_F(ZipMainTest, SplitPartsEndInTheArchiveName) {
  uint32_t seed = 12345;
  Members members;
  std::string items;
  for (int n = 0; n < 5; ++n) {
    std::string noise(40000, '\0');
    for (char &c : noise) c = char((seed = seed * 1103515245 + 12345) >> 24);
    std::string name = "big\\noise" + std::to_string(n) + ".bin";
    WriteText(name, noise);
    members.push_back({"big/noise" + std::to_string(n) + ".bin", noise});
    items += name + " ";
  }
  uint32_t sizes[] = {65536, 0};
  Command add(ZIP_ADD, OutPath("split.zip"), items);
  add.record.noDirectoryEntriesFlag = 1;
  add.record.wMultiVolControl = ZMV_MULTI_VOLUME | ZMV_SPLIT_PARTS;
  add.record.pulFileSizeArray = sizes;
  ASSERT_EQ(add.Execute(), 0);
  // Parts carry ".z01" in place of ".zip", or after it on volumes with long names.
  for (const char *part : {"z01", "z02", "z03"})
    EXPECT_TRUE(FileExists(OutPath(std::string("split.") + part)) || FileExists(OutPath(std::string("split.zip.") + part)))
        << part;
  Expect("split.zip", members);
}

// The comment, the archive time taken from its newest member, and the
// after-date that leaves older files out.
TEST_F(ZipMainTest, CommentArchiveTimeAndAfterDate) {
  WriteSources(1, 2020);
  SetLocalWriteTime("src\\b.txt", 2021, 6, 1);
  Command add(ZIP_ADD, OutPath("dated.zip"), "src\\a.txt src\\b.txt");
  add.record.noDirectoryEntriesFlag = 1;
  add.record.addCommentFlag = 1;
  add.record.lpszComment = const_cast<char *>("new comment");
  add.record.oldAsLatestFlag = 1;
  add.record.afterDateFlag = 1;
  add.record.lpszDate = const_cast<char *>("050120");
  ASSERT_EQ(add.Execute(), 0);
  Expect("dated.zip", {{"src/b.txt", Content("src\\b.txt", 1)}});
  std::string bytes = ReadText(OutPath("dated.zip"));
  EXPECT_EQ(bytes.substr(bytes.size() - 13), std::string("\x0b\0new comment", 13));

  WIN32_FILE_ATTRIBUTE_DATA facts;
  ASSERT_TRUE(GetFileAttributesExA(OutPath("dated.zip").c_str(), GetFileExInfoStandard, &facts));
  SYSTEMTIME time;
  ASSERT_TRUE(LocalTimeOfFileTime(facts.ftLastWriteTime, &time));
  EXPECT_EQ(time.wYear, 2021);
  EXPECT_EQ(time.wMonth, 6);
  EXPECT_EQ(time.wHour, 12);
}

TEST_F(ZipMainTest, VanishedSourceEndsTheAdditionsWith18) {
  for (const char *name : {"v\\v1.txt", "v\\v2.txt", "v\\v3.txt", "v\\v4.txt"}) WriteText(name, Content(name, 1));
  Command add(ZIP_ADD, OutPath("vanished.zip"), "v\\*.txt");
  add.record.noDirectoryEntriesFlag = 1;
  add.record.deleteOriginalFlag = 1;
  add.record.wZipSubOptions = ZSO_RENAME_CALLBACK;
  // Listing v1.txt makes v3.txt disappear before it is read.
  add.record.lpRenameProc = [](void *record, void *) {
    if (strstr(static_cast<ZipRenameRecord *>(record)->name, "v1.txt")) DeleteFileA("v\\v3.txt");
  };
  EXPECT_EQ(add.Execute(), 18);
  // The command failed: the moved sources stay, those it wrote too.
  for (const char *name : {"v\\v1.txt", "v\\v2.txt", "v\\v4.txt"}) EXPECT_TRUE(FileExists(name)) << name;
  Expect("vanished.zip", {{"v/v1.txt", Content("v\\v1.txt", 1)}, {"v/v2.txt", Content("v\\v2.txt", 1)}});
  bool warned = false;
  for (const std::string &text : Warnings(add.recorder)) warned |= text.find("could not open for reading: ") == 0;
  EXPECT_TRUE(warned);
}

TEST_F(ZipMainTest, MoveDeletesSourcesOnlyAfterSuccess) {
  WriteSources(1, 2020);
  CancelAt cancel = {"Item 2"};
  Command failing(ZIP_ADD, OutPath("moved.zip"), "src\\*");
  failing.record.recurseFlag = 1;
  failing.record.deleteOriginalFlag = 1;
  failing.record.lpMajorStatus = CancelAt::Status;
  failing.record.lpMajorUserData = &cancel;
  EXPECT_EQ(failing.Execute(), 9);
  for (const char *name : kSources) EXPECT_TRUE(FileExists(name)) << name;
  EXPECT_FALSE(FileExists(OutPath("moved.zip")));

  Command moving(ZIP_ADD, OutPath("moved.zip"), "src\\*");
  moving.record.recurseFlag = 1;
  moving.record.deleteOriginalFlag = 1;
  ASSERT_EQ(moving.Execute(), 0);
  for (const char *name : kSources) EXPECT_FALSE(FileExists(name)) << name;
  EXPECT_FALSE(FileExists("src\\sub\\deep"));
  Expect("moved.zip", SourceMembers(1));
}

// A freshened entry is stored under the name its new source gives it; one
// whose source vanishes before it is read is copied under its old name.
TEST_F(ZipMainTest, FreshenedEntriesTakeTheirNewNamesOnlyWhenWritten) {
  WriteText("n\\CASE.TXT", "old case\r\n");
  WriteText("n\\GONE.TXT", "old gone\r\n");
  Command add(ZIP_ADD, OutPath("renamed.zip"), "n\\CASE.TXT n\\GONE.TXT");
  add.record.noDirectoryEntriesFlag = 1;
  ASSERT_EQ(add.Execute(), 0);
  DeleteFileA("n\\CASE.TXT");
  DeleteFileA("n\\GONE.TXT");
  WriteText("n\\case.txt", "new case\r\n");
  WriteText("n\\gone.txt", "new gone\r\n");
  SetLocalWriteTime("n\\case.txt", 2035, 1, 1);
  SetLocalWriteTime("n\\gone.txt", 2035, 1, 1);
  Command freshen(ZIP_FRESHEN, OutPath("renamed.zip"), "n\\*");
  freshen.record.lpMajorStatus = [](const char *text, int, void *) {
    if (text && strstr(text, "Item 2")) DeleteFileA("n\\gone.txt");
    return 0;
  };
  EXPECT_EQ(freshen.Execute(), 18);
  Expect("renamed.zip", {{"n/case.txt", "new case\r\n"}, {"n/GONE.TXT", "old gone\r\n"}});
}

// A read-only source is moved like any other; one held open without sharing
// stays, and the warning names it.
TEST_F(ZipMainTest, MoveTakesReadOnlySourcesAndNamesWhatStays) {
  WriteText("m\\readonly.txt", "read-only source\r\n");
  WriteText("m\\held.txt", "held open\r\n");
  SetFileAttributesA("m\\readonly.txt", FILE_ATTRIBUTE_READONLY);
  Command move(ZIP_ADD, OutPath("moved_readonly.zip"), "m\\readonly.txt m\\held.txt");
  move.record.deleteOriginalFlag = 1;
  move.record.noDirectoryEntriesFlag = 1;
  HANDLE held = INVALID_HANDLE_VALUE;
  // Held from the moment the second member is read until the command ends.
  move.record.lpMajorStatus = [](const char *text, int, void *userData) {
    auto *handle = static_cast<HANDLE *>(userData);
    if (text && strstr(text, "Item 2") && *handle == INVALID_HANDLE_VALUE)
      *handle = CreateFileA("m\\held.txt", GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    return 0;
  };
  move.record.lpMajorUserData = &held;
  EXPECT_EQ(move.Execute(), 0);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  CloseHandle(held);
  EXPECT_FALSE(FileExists("m\\readonly.txt"));
  EXPECT_TRUE(FileExists("m\\held.txt"));
  std::vector<std::string> warnings = Warnings(move.recorder);
  ASSERT_EQ(warnings.size(), 1u);
  EXPECT_EQ(warnings[0].find("could not delete moved file: "), 0u) << warnings[0];
  EXPECT_NE(warnings[0].find("held.txt"), std::string::npos) << warnings[0];
  Expect("moved_readonly.zip", {{"m/readonly.txt", "read-only source\r\n"}, {"m/held.txt", "held open\r\n"}});
}

TEST_F(ZipMainTest, GrowingStoppedHalfWayLeavesAReadableArchive) {
  WriteSources(1, 2020);
  Command add(ZIP_ADD, OutPath("grown.zip"), "src\\a.txt src\\b.txt");
  add.record.noDirectoryEntriesFlag = 1;
  ASSERT_EQ(add.Execute(), 0);
  WriteText("more\\x.txt", Content("more\\x.txt", 1));
  WriteText("more\\y.txt", Content("more\\y.txt", 1));
  CancelAt cancel = {"Item 2"};
  Command grow(ZIP_ADD, OutPath("grown.zip"), "more\\*.txt");
  grow.record.noDirectoryEntriesFlag = 1;
  grow.record.growExistingFlag = 1;
  grow.record.lpMajorStatus = CancelAt::Status;
  grow.record.lpMajorUserData = &cancel;
  EXPECT_EQ(grow.Execute(), 9);
  Expect("grown.zip", {{"src/a.txt", Content("src\\a.txt", 1)},
                       {"src/b.txt", Content("src\\b.txt", 1)},
                       {"more/x.txt", Content("more\\x.txt", 1)}});
}

TEST(ZipAfterDateTest, TwoDigitYearsAndInvalidDates) {
  struct {
    const char *text;
    int year;  // 0: refused
    int month, day;
  } cases[] = {{"010199", 1999, 1, 1}, {"010100", 2000, 1, 1}, {"123179", 2079, 12, 31}, {"063080", 1980, 6, 30},
               {"133199", 0, 0, 0}, {"000199", 0, 0, 0}, {"013299", 0, 0, 0}, {"010099", 0, 0, 0},
               {"01019", 0, 0, 0},  {"0101999", 0, 0, 0}, {"01a199", 0, 0, 0}};
  for (const auto &c : cases)
    EXPECT_EQ(ZipAfterDate(c.text), c.year ? DosDateTimePack(c.year, c.month, c.day, 0, 0, 0) : 0u) << c.text;
}

// With a copy of every byte going to the memory I/O callback the members are
// written with data descriptors, 24 bytes each when Zip64 is allowed; an
// update copies them whole.
TEST_F(ZipMainTest, UpdatesArchivesWithWideDescriptors) {
  WriteSources(1, 2020);
  CALLBACKSTRUCT callback = {};
  callback.size = sizeof callback;
  callback.memoryIo = [](int, unsigned char *, uint32_t *, uint32_t, uint32_t, uint32_t, uint32_t, void *,
                         int *status) { *status = 3; };
  Command add(ZIP_ADD, OutPath("descriptors.zip"), "src\\a.txt src\\b.txt");
  add.record.noDirectoryEntriesFlag = 1;
  add.record.LargeZIPFilesFlag = 1;
  add.record.wZipSubOptions = ZSO_CALLBACK_OUTPUT;
  add.record.lpCallbackStruct = &callback;
  ASSERT_EQ(add.Execute(), 0);
  std::string bytes = ReadText(OutPath("descriptors.zip"));
  ASSERT_NE(bytes.find("PK\x07\x08"), std::string::npos);

  Command update(ZIP_ADD, OutPath("descriptors.zip"), "src\\sub\\c.txt");
  update.record.noDirectoryEntriesFlag = 1;
  update.record.LargeZIPFilesFlag = 1;
  ASSERT_EQ(update.Execute(), 0);
  Expect("descriptors.zip", {{"src/a.txt", Content("src\\a.txt", 1)},
                             {"src/b.txt", Content("src\\b.txt", 1)},
                             {"src/sub/c.txt", Content("src\\sub\\c.txt", 1)}});
}

// Archives of other writers take a replaced and an added member; every
// other member is copied over unchanged.
TEST_F(ZipMainTest, UpdatesArchivesOfOtherWriters) {
  const char *inputs[] = {"infozip.zip", "infozip_streamed.zip", "infozip_comment.zip", "sevenzip.zip",
                          "python_streamed.zip", "python_zip64.zip", "zip64_end_record.zip", "preamble.zip"};
  std::string tree = DiskWork("tree");
  WriteText("alpha.txt", "replaced alpha\r\n");
  WriteText("added.txt", "added member\r\n");
  for (const char *input : inputs) {
    SCOPED_TRACE(input);
    std::string name = std::string("ext_") + input;
    CopyInto(DiskWork("inputs\\") + input, OutPath(name));
    SetLocalWriteTime("alpha.txt", 2035, 1, 1);
    Command update(ZIP_UPDATE, OutPath(name), "alpha.txt added.txt");
    update.record.LargeZIPFilesFlag = strstr(input, "zip64") != nullptr;
    ASSERT_EQ(update.Execute(), 0);
    Expect(name, {{"alpha.txt", "replaced alpha\r\n"},
                  {"docs/beta.txt", ReadText(tree + "\\docs\\beta.txt")},
                  {"docs/gamma.bin", ReadText(tree + "\\docs\\gamma.bin")},
                  {"empty.txt", ""},
                  {"added.txt", "added member\r\n"}});
  }
}

}  // namespace

namespace {
// Line-end conversion: each bare LF is stored as CR LF, a CR LF pair as it
// is, also where a pair or an LF meets the edge of a read; the CRC and the
// size are the converted text's (the checkers read it back with Info-ZIP,
// 7-Zip and zipfile). Stored members take a CRC pre-pass, Deflate does not.
TEST_F(ZipMainTest, LineEndsConvertedToCrLf) {
  std::string text, converted;
  auto line = [&](size_t length, bool crlf) {
    text += std::string(length, 'x') + (crlf ? "\r\n" : "\n");
    converted += std::string(length, 'x') + "\r\n";
  };
  // CR LF pairs split by the edges of 4,096- and 8,192-byte reads.
  for (size_t edge : {4095u, 8191u, 16383u}) {
    while (text.size() + 100 < edge) line(text.size() % 97, text.size() % 5 == 0);
    line(edge - text.size(), true);
  }
  while (text.size() < 40000) line(text.size() % 89, false);
  WriteText("lines.txt", text);
  for (int level : {0, 6}) {
    std::string name = "lines-" + std::to_string(level) + ".zip";
    Command add(ZIP_ADD, OutPath(name), "lines.txt");
    add.record.compFactor = level;
    add.record.convertLFtoCRLFFlag = 1;
    ASSERT_EQ(add.Execute(), 0) << level;
    Expect(name, {{"lines.txt", converted}});
  }
}
}  // namespace
