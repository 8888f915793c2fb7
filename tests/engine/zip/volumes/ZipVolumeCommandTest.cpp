// Multi-volume sets made by a whole add command, as an application asks for
// them: split parts, and removable disks filled through a staging file.
#include <gtest/gtest.h>

#include <string.h>

#include <algorithm>
#include <memory>

#include "SimulatedDrive.h"
#include "VolumeArchive.h"
#include "ZipExecute.h"
#include "ZipTestSupport.h"

namespace {

const uint8_t kEndSignature[] = {'P', 'K', 5, 6};

// What the application saw, and its side of a disk swap: at each prompt for
// a disk the one in the drive is taken out (its archive file moved aside as
// disk<n>.zip) and the next put in. Asked for the first disk back, it puts
// in the disks of firstDiskAnswers in turn (a wrong one among them), and
// refuses when they run out.
struct Application {
  MessageRecorder recorder;
  std::string archive;
  std::string takenOut;
  std::vector<int> diskPrompts;
  int disksTakenOut = 0;
  int inDrive = 1;
  std::vector<int> firstDiskAnswers;
  size_t firstDiskAsked = 0;
};

std::string TakenOutDisk(const Application &app, int number) {
  return app.takenOut + "\\disk" + std::to_string(number) + ".zip";
}

// The disk in the drive goes aside; true when there was one to take out.
bool TakeOut(Application *app) {
  if (!Exists(app->archive)) return true;
  if (!MoveFileA(app->archive.c_str(), TakenOutDisk(*app, app->inDrive).c_str())) return false;
  ++app->disksTakenOut;
  return true;
}

int GiveFirstDiskBack(Application *app) {
  if (app->firstDiskAsked == app->firstDiskAnswers.size()) return IDCANCEL;
  int disk = app->firstDiskAnswers[app->firstDiskAsked++];
  if (!TakeOut(app) || !MoveFileA(TakenOutDisk(*app, disk).c_str(), app->archive.c_str())) return IDCANCEL;
  app->inDrive = disk;
  return IDOK;
}

// Answers each box with a button it has, so that an unexpected prompt ends
// the command instead of waiting for a user.
int AnswerFitting(int style) {
  static const int kAnswers[] = {IDOK, IDOK, IDABORT, IDCANCEL, IDNO, IDCANCEL};
  unsigned buttons = unsigned(style) & 0xF;
  return buttons < sizeof kAnswers / sizeof kAnswers[0] ? kAnswers[buttons] : IDCANCEL;
}

int CALLBACK Answer(int type, int style, int first, int second, char *text, char *title, void *userData) {
  auto *app = static_cast<Application *>(userData);
  int recorded = RecordMessage(type, style, first, second, text, title, &app->recorder);
  if (type == 13) return recorded;
  if (type == 0 && style == MB_OKCANCEL) {
    app->diskPrompts.push_back(first);
    if (first == -1) return GiveFirstDiskBack(app);
    if (!TakeOut(app)) return IDCANCEL;
    app->inDrive = first;
  }
  return AnswerFitting(style);
}

// The size of the archive file on the disk when the second member starts.
struct DiskWatch {
  std::string archive;
  int64_t sizeAtSecondItem = -1;
  static int CALLBACK Status(const char *text, int, void *userData) {
    auto *watch = static_cast<DiskWatch *>(userData);
    if (text && strstr(text, "Item 2") && watch->sizeAtSecondItem < 0) watch->sizeAtSecondItem = SizeOf(watch->archive);
    return 0;
  }
};

// Members named member0.bin ... written as source files into the folder.
std::string WriteSources(std::vector<Member> &members, const std::string &folder) {
  std::string items;
  for (size_t i = 0; i < members.size(); ++i) {
    members[i].name = "member" + std::to_string(i) + ".bin";
    WriteBytes(folder + "\\" + members[i].name, members[i].data);
    items += "\"" + folder + "\\" + members[i].name + "\" ";
  }
  return items;
}

struct AddCommand {
  Application app;
  ZIPCMDSTRUCT record;
  std::string items;
  AddCommand(const std::string &archive, const std::string &itemList, uint16_t control) : items(itemList) {
    app.archive = archive;
    record = RecordingCommand(&app.recorder);
    record.lpMessageDisplay = Answer;
    record.lpMessageDisplayData = &app;
    record.Function = ZIP_ADD;
    record.lpszZIPFile = &app.archive[0];
    record.lpszItemList = &items[0];
    record.compFactor = 6;
    record.noDirectoryNamesFlag = 1;
    record.noDirectoryEntriesFlag = 1;
    record.wMultiVolControl = control;
  }
  std::vector<int> ShownTypes() const {
    std::vector<int> types;
    for (const ShownMessage &shown : app.recorder.shown) types.push_back(shown.type);
    return types;
  }
};

// The work folder's drive as a fixed one of short names (254 characters)
// with room to spare: split parts are named in place of the extension.
SimulatedDrive ShortNamesFixedDrive() {
  SimulatedDrive drive;
  drive.letter = 'Z';
  drive.type = DRIVE_FIXED;
  drive.capacity = 1ull << 40;
  drive.maxNameLength = 254;
  return drive;
}

class ZipVolumeCommandTest : public ZipStateTest {};

// Parts of 64 KiB on a volume of short names: the first two are full, the
// closing records end in the file of the archive's own name, and every
// finished volume is announced once.
TEST_F(ZipVolumeCommandTest, SplitPartsNamedSizedAndReadBack) {
  SimulatedDrive drive = ShortNamesFixedDrive();
  SimulatedDriveScope scope(&drive);

  std::vector<Member> members = RandomMembers({120000, 70000}, 5);
  members.push_back(TextMembers({3000}, 6)[0]);
  std::string set = FreshFolder("split-command");
  AddCommand add(set + "\\backup.zip", WriteSources(members, FreshFolder("split-command-sources")),
                 ZMV_MULTI_VOLUME | ZMV_SPLIT_PARTS);
  uint32_t sizes[] = {65536, 0};
  add.record.pulFileSizeArray = sizes;
  ASSERT_EQ(ZipExecute(&add.record), 0);

  EXPECT_EQ(SizeOf(set + "\\backup.z01"), 65536u);
  EXPECT_EQ(SizeOf(set + "\\backup.z02"), 65536u);
  EXPECT_FALSE(Exists(set + "\\backup.z03"));
  EXPECT_FALSE(Exists(set + "\\backup.zip.z01"));
  // The engine names each volume by its full path.
  std::vector<std::pair<int, std::string>> ready;
  for (const ShownMessage &shown : add.app.recorder.shown)
    if (shown.type == 14) ready.push_back({shown.number, shown.text.substr(shown.text.find_last_of("\\/") + 1)});
  std::vector<std::pair<int, std::string>> expected = {{1, "backup.z01"}, {2, "backup.z02"}, {3, "backup.zip"}};
  EXPECT_EQ(ready, expected);
  EXPECT_EQ(add.ShownTypes(), std::vector<int>(3, 14));
  EXPECT_TRUE(drive.labels.empty());
  ExpectReadsBack(add.app.archive, members, FreshFolder("split-command-out"));
}

// The central directory written ahead: reserved on the first part behind the
// span marker, rewritten there with the final values, found through the end
// records on the last part; with and without Zip64 fields. Our extraction
// reads the set back; 7-Zip, Info-ZIP and zipfile open no archive whose
// directory stands before its members (they take the distance between the
// end record and the directory's end for data in front of the archive).
TEST_F(ZipVolumeCommandTest, DirectoryWrittenAheadOnTheFirstPart) {
  SimulatedDrive drive = ShortNamesFixedDrive();
  SimulatedDriveScope scope(&drive);
  for (int zip64 : {1, 0}) {
    SCOPED_TRACE(zip64);
    std::string name = zip64 ? "split-ahead" : "split-ahead-32";
    std::vector<Member> members = RandomMembers({120000, 30000, 70000}, 7);
    members.push_back(TextMembers({3000}, 8)[0]);
    std::string set = FreshFolder(name);
    AddCommand add(set + "\\backup.zip", WriteSources(members, FreshFolder(name + "-sources")),
                   ZMV_MULTI_VOLUME | ZMV_SPLIT_PARTS | ZMV_ZIP64_AHEAD);
    add.record.LargeZIPFilesFlag = zip64;
    uint32_t sizes[] = {65536, 0};
    add.record.pulFileSizeArray = sizes;
    ASSERT_EQ(ZipExecute(&add.record), 0);

    Bytes part = ReadBytes(set + "\\backup.z01");
    std::string first(part.begin(), part.end());
    ASSERT_GT(first.size(), 60u);
    EXPECT_EQ(first.substr(0, 8), std::string("PK\x07\x08PK\x01\x02", 8));
    EXPECT_EQ(first.substr(50, 11), "member0.bin");
    // No CRC was known when the headers were reserved.
    EXPECT_NE(first.substr(20, 4), std::string(4, '\0'));
    ExpectReadsBack(add.app.archive, members, FreshFolder(name + "-out"));
  }
}

// Renames every file it is offered from member<n>.bin to renamed<n>.bin.
struct Renamer {
  std::vector<std::string> offered;
  static void CALLBACK Rename(void *record, void *userData) {
    auto *rename = static_cast<ZipRenameRecord *>(record);
    std::string name = rename->name;
    static_cast<Renamer *>(userData)->offered.push_back(name);
    size_t at = name.find("member");
    if (at != std::string::npos) name.replace(at, 6, "renamed");
    strcpy(rename->name, name.c_str());
  }
};

// The central directory written ahead on staged disks: the first disk takes
// one reserved central header per new file behind the span marker (each new
// file offered to the rename callback first), the members fill three disks,
// the last one gets the end records, and the first disk is asked back to
// take the final headers. Our unzip side reads the set back disk by disk.
TEST_F(ZipVolumeCommandTest, DirectoryAheadOnStagedDisks) {
  struct Case {
    const char *what;
    std::vector<int> firstDiskAnswers;  // disks put back when the first is asked for
    int result;
    std::vector<int> prompts;  // the disk asked for, -1 for the first one back
    std::vector<int> shown;
  };
  const Case cases[] = {
      {"first disk given back at once", {1}, 0, {1, 2, 3, -1}, {0, 0, 0, 0}},
      {"a wrong disk, then the first", {2, 1}, 0, {1, 2, 3, -1, -1}, {0, 0, 0, 0, 10, 0}},
      {"the first disk refused", {}, 9, {1, 2, 3, -1}, {0, 0, 0, 0, 11}},
  };
  char temp[MAX_PATH];
  GetTempPathA(sizeof temp, temp);
  std::string sources = std::string(temp) + "ahead-disk-sources";
  CreateDirectoryA(sources.c_str(), nullptr);
  for (const Case &c : cases) {
    SCOPED_TRACE(c.what);
    SimulatedDrive drive;
    drive.letter = char(toupper(BRENNICOR_TEST_WORK[0]));
    drive.folder = FreshFolder("ahead-disk");
    drive.capacity = 34000;
    SimulatedDriveScope scope(&drive);
    std::vector<Member> members = RandomMembers({25000, 25000, 25000}, 11);
    AddCommand add(drive.folder + "\\backup.zip", WriteSources(members, sources),
                   ZMV_MULTI_VOLUME | ZMV_ZIP64_AHEAD);
    add.app.takenOut = FreshFolder("ahead-disk-taken-out");
    add.app.firstDiskAnswers = c.firstDiskAnswers;
    add.record.pathForTempFlag = 1;
    add.record.lpszTempPath = temp;
    add.record.LargeZIPFilesFlag = 1;
    Renamer renamer;
    add.record.wZipSubOptions = ZSO_RENAME_CALLBACK;
    add.record.lpRenameProc = Renamer::Rename;
    add.record.lpRenameUserData = &renamer;
    EXPECT_EQ(ZipExecute(&add.record), c.result);

    EXPECT_EQ(renamer.offered, (std::vector<std::string>{"member0.bin", "member1.bin", "member2.bin"}));
    EXPECT_EQ(add.app.diskPrompts, c.prompts);
    EXPECT_EQ(add.ShownTypes(), c.shown);
    EXPECT_EQ(drive.labels, (std::vector<std::string>{"PKBACK# 001", "PKBACK# 002", "PKBACK# 003"}));
    if (c.result) {
      // The last disk, still in the drive, holds no end records: no reader
      // takes the set for whole while the first disk's headers are unfinished.
      Bytes last = ReadBytes(add.app.archive);
      EXPECT_EQ(std::search(last.begin(), last.end(), kEndSignature, kEndSignature + 4), last.end());
      continue;
    }
    ASSERT_EQ(add.app.inDrive, 1);
    std::string set = FreshFolder("ahead-disk-set");
    ASSERT_TRUE(CopyFileA(add.app.archive.c_str(), (set + "\\backup.z01").c_str(), FALSE));
    ASSERT_TRUE(CopyFileA(TakenOutDisk(add.app, 2).c_str(), (set + "\\backup.z02").c_str(), FALSE));
    ASSERT_TRUE(CopyFileA(TakenOutDisk(add.app, 3).c_str(), (set + "\\backup.zip").c_str(), FALSE));
    for (size_t i = 0; i < members.size(); ++i) members[i].name = "renamed" + std::to_string(i) + ".bin";
    ExpectReadsBack(set + "\\backup.zip", members, FreshFolder("ahead-disk-out"));
  }
  for (int i = 0; i < 3; ++i) DeleteFileA((sources + "\\member" + std::to_string(i) + ".bin").c_str());
  RemoveDirectoryA(sources.c_str());
}

// Disks of 34,000 bytes in a removable drive on the work folder's letter;
// sources and staging file on the fixed C: drive. Each disk is asked for,
// dismounted and labelled; the staging file's last bytes reach the last one.
TEST_F(ZipVolumeCommandTest, StagedDisksPromptedLabelledAndReadBack) {
  SimulatedDrive drive;
  drive.letter = char(toupper(BRENNICOR_TEST_WORK[0]));
  drive.folder = FreshFolder("staged-command-disk");
  drive.capacity = 34000;
  SimulatedDriveScope scope(&drive);

  char temp[MAX_PATH];
  GetTempPathA(sizeof temp, temp);
  std::string sources = std::string(temp) + "volume-command-sources";
  CreateDirectoryA(sources.c_str(), nullptr);
  std::vector<Member> members = RandomMembers({25000, 25000, 25000}, 6);
  AddCommand add(drive.folder + "\\backup.zip", WriteSources(members, sources), ZMV_MULTI_VOLUME);
  add.app.takenOut = FreshFolder("staged-command-taken-out");
  add.record.pathForTempFlag = 1;
  add.record.lpszTempPath = temp;
  DiskWatch watch = {add.app.archive};
  add.record.lpMajorStatus = DiskWatch::Status;
  add.record.lpMajorUserData = &watch;
  ASSERT_EQ(ZipExecute(&add.record), 0);

  // The first member's bytes wait in the staging file.
  EXPECT_EQ(watch.sizeAtSecondItem, 0);

  EXPECT_EQ(add.app.diskPrompts, (std::vector<int>{1, 2, 3}));
  EXPECT_EQ(add.ShownTypes(), std::vector<int>(3, 0));
  EXPECT_EQ(drive.labels, (std::vector<std::string>{"PKBACK# 001", "PKBACK# 002", "PKBACK# 003"}));
  EXPECT_EQ(drive.dismounts, 3);
  ASSERT_EQ(add.app.disksTakenOut, 2);
  std::string set = FreshFolder("staged-command-set");
  for (int d = 1; d <= 2; ++d) {
    std::string disk = add.app.takenOut + "\\disk" + std::to_string(d) + ".zip";
    EXPECT_LE(SizeOf(disk), drive.capacity);
    EXPECT_GT(SizeOf(disk), drive.capacity - 512);
    ASSERT_TRUE(CopyFileA(disk.c_str(), (set + "\\backup.z0" + std::to_string(d)).c_str(), FALSE));
  }
  ASSERT_TRUE(CopyFileA(add.app.archive.c_str(), (set + "\\backup.zip").c_str(), FALSE));
  ExpectReadsBack(set + "\\backup.zip", members, FreshFolder("staged-command-out"));
  for (const Member &m : members) DeleteFileA((sources + "\\" + m.name).c_str());
  RemoveDirectoryA(sources.c_str());
}

}  // namespace
