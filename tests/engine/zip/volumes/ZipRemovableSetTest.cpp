#include <gtest/gtest.h>

#include <map>
#include <memory>

#include "messages/ZipReport.h"
#include "SimulatedDrive.h"
#include "VolumeArchive.h"
#include "volumes/ZipDrives.h"
#include "volumes/ZipFormatter.h"
#include "volumes/ZipVolumePrepare.h"
#include "volumes/ZipVolumeRoom.h"
#include "volumes/ZipWipe.h"
#include "ZipApi.h"
#include "ZipTestSupport.h"

namespace {

// The work drive's letter: the simulated disks are folders on it.
char WorkDriveLetter() { return char(toupper(BRENNICOR_TEST_WORK[0])); }

// The application's side of a disk swap: at each prompt the finished disk is
// taken out (its archive file moved aside) and a fresh one put in.
struct DiskSwap {
  std::string archive;
  std::string takenOut;
  std::vector<int> prompts;
  std::vector<int> otherTypes;
  int disks = 0;
};

int CALLBACK SwapDisk(int type, int style, int number, int second, char *text, char *title, void *data) {
  auto *swap = static_cast<DiskSwap *>(data);
  if (type == 13) return 0;
  if (type != 0) {
    swap->otherTypes.push_back(type);
    return IDOK;
  }
  swap->prompts.push_back(number);
  if (Exists(swap->archive)) {
    std::string disk = swap->takenOut + "\\disk" + std::to_string(++swap->disks) + ".zip";
    if (!MoveFileA(swap->archive.c_str(), disk.c_str())) return IDCANCEL;
  }
  return IDOK;
}

class ZipRemovableSetTest : public ZipStateTest {
 protected:
  // A disk of the given capacity in the simulated drive, the first one asked
  // for and prepared as the update reader does, its archive file open.
  void BeginSet(const char *name, uint64_t capacity, uint16_t control) {
    drive_.letter = WorkDriveLetter();
    drive_.folder = FreshFolder(name);
    drive_.capacity = capacity;
    scope_.reset(new SimulatedDriveScope(&drive_));
    WriteBytes(drive_.folder + "\\left-over.txt", Bytes(4000, 'x'));
    swap_.archive = drive_.folder + "\\backup.zip";
    swap_.takenOut = FreshFolder(std::string(name) + "-taken-out");
    strcpy(state->archiveName, swap_.archive.c_str());
    state->multiVolControl = uint16_t(ZMV_MULTI_VOLUME | control);
    state->messageDisplay = SwapDisk;
    state->messageDisplayData = &swap_;
    StartVolumeBookkeeping(state);
    int letter = ZipDriveOfPath(state->archiveName);
    ASSERT_EQ(ZipMessageBox(0, MB_OKCANCEL, 1, 0, nullptr), IDOK);
    ZipDismountDrive(letter);
    ASSERT_EQ(ZipPrepareVolume(letter, state->multiVolControl), 1);
    state->output = CreateFileA(state->archiveName, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(state->output, INVALID_HANDLE_VALUE);
  }

  // Three disks, each filled close to its capacity, labelled and prompted
  // for in order; taken out and read back as split parts.
  void ExpectThreeDisks(const std::vector<Member> &members, const char *setName) {
    CloseHandle(state->output);
    state->output = INVALID_HANDLE_VALUE;
    EXPECT_EQ(swap_.prompts, (std::vector<int>{1, 2, 3}));
    EXPECT_TRUE(swap_.otherTypes.empty());
    EXPECT_EQ(drive_.labels, (std::vector<std::string>{"PKBACK# 001", "PKBACK# 002", "PKBACK# 003"}));
    EXPECT_EQ(drive_.dismounts, 3);
    EXPECT_EQ(state->writer.currentDisk, 2u);
    ASSERT_EQ(swap_.disks, 2);
    std::string set = FreshFolder(setName);
    for (int d = 1; d <= 2; ++d) {
      std::string disk = swap_.takenOut + "\\disk" + std::to_string(d) + ".zip";
      EXPECT_LE(SizeOf(disk), drive_.capacity);
      EXPECT_GT(SizeOf(disk), drive_.capacity - 512);
      ASSERT_TRUE(CopyFileA(disk.c_str(), (set + "\\backup.z0" + std::to_string(d)).c_str(), FALSE));
    }
    ASSERT_TRUE(CopyFileA(swap_.archive.c_str(), (set + "\\backup.zip").c_str(), FALSE));
    ExpectReadsBack(set + "\\backup.zip", members, FreshFolder(std::string(setName) + "-out"));
  }

  void TearDown() override {
    if (state->output != INVALID_HANDLE_VALUE) CloseHandle(state->output);
    if (state->volumeFile != INVALID_HANDLE_VALUE) CloseHandle(state->volumeFile);
    scope_.reset();
    ZipStateTest::TearDown();
  }

  SimulatedDrive drive_;
  std::unique_ptr<SimulatedDriveScope> scope_;
  DiskSwap swap_;
};

TEST_F(ZipRemovableSetTest, ThreeSmallDisksLabelledPromptedAndReadBack) {
  BeginSet("disk", 30000, ZMV_WIPE);
  EXPECT_FALSE(Exists(drive_.folder + "\\left-over.txt"));
  std::vector<Member> members = RandomMembers({25000, 25000, 15000}, 5);
  EXPECT_EQ(WriteVolumeArchive(state, members, &state->output), 0);
  ExpectThreeDisks(members, "removable-set");
}

TEST_F(ZipRemovableSetTest, StagingFileCopiedToEachDisk) {
  BeginSet("staged-disk", 34000, 0);
  EXPECT_TRUE(Exists(drive_.folder + "\\left-over.txt"));  // no wipe asked
  ASSERT_TRUE(DeleteFileA((drive_.folder + "\\left-over.txt").c_str()));
  char temp[MAX_PATH];
  GetTempPathA(sizeof temp, temp);  // on C:, a fixed drive
  ASSERT_EQ(ZipOpenMultiVolumeOutput(state, temp), 0);
  std::string staging = state->volumeName;
  std::vector<Member> members = RandomMembers({25000, 25000, 25000}, 6);
  EXPECT_EQ(WriteVolumeArchive(state, members, &state->volumeFile), 0);
  EXPECT_EQ(ZipNextVolume(state, &state->volumeFile), 0);  // the last disk's bytes
  ZipCloseMultiVolumeOutput(state, 0);
  EXPECT_FALSE(Exists(staging));
  ExpectThreeDisks(members, "staged-set");
}

TEST_F(ZipRemovableSetTest, StagedRecordsStayWholeOnADisk) {
  BeginSet("staged-edge", 30000, 0);
  ASSERT_TRUE(DeleteFileA((drive_.folder + "\\left-over.txt").c_str()));
  char temp[MAX_PATH];
  GetTempPathA(sizeof temp, temp);
  ASSERT_EQ(ZipOpenMultiVolumeOutput(state, temp), 0);
  // The span marker, the first header and data end 10 bytes before the
  // disk is full: the second local header must start the next disk.
  std::vector<Member> members = RandomMembers({30000 - 10 - 4 - 30 - 15, 5000}, 8);
  EXPECT_EQ(WriteVolumeArchive(state, members, &state->volumeFile), 0);
  EXPECT_EQ(ZipNextVolume(state, &state->volumeFile), 0);
  ZipCloseMultiVolumeOutput(state, 0);
  CloseHandle(state->output);
  state->output = INVALID_HANDLE_VALUE;
  ASSERT_EQ(swap_.disks, 1);
  std::string first = swap_.takenOut + "\\disk1.zip";
  EXPECT_EQ(SizeOf(first), 29990u);
  std::string set = FreshFolder("staged-edge-set");
  ASSERT_TRUE(CopyFileA(first.c_str(), (set + "\\backup.z01").c_str(), FALSE));
  ASSERT_TRUE(CopyFileA(swap_.archive.c_str(), (set + "\\backup.zip").c_str(), FALSE));
  ExpectReadsBack(set + "\\backup.zip", members, FreshFolder("staged-edge-out"));
}

TEST_F(ZipRemovableSetTest, StagingFolderMustBeFixedWithRoom) {
  struct Case {
    UINT type;
    uint64_t free;
    int result;
  };
  const Case cases[] = {{DRIVE_REMOVABLE, 1ull << 30, 10}, {DRIVE_FIXED, 0x1FFFFF, 10}, {DRIVE_FIXED, 0x200000, 0}};
  std::string folder = FreshFolder("staging-place");
  state->multiVolControl = ZMV_MULTI_VOLUME;
  state->promptsAllowed = 0;
  for (const Case &c : cases) {
    drive_.letter = WorkDriveLetter();
    drive_.folder = folder;
    drive_.type = c.type;
    drive_.capacity = c.free;
    SimulatedDriveScope scope(&drive_);
    EXPECT_EQ(ZipOpenMultiVolumeOutput(state, folder.c_str()), c.result) << c.type << " " << c.free;
    ZipCloseMultiVolumeOutput(state, 0);
  }
}

// Answers by message type; every type shown is noted.
struct ScriptedAnswers {
  std::map<int, int> answers;
  std::vector<int> shown;
  std::vector<int> numbers;
};

int CALLBACK AnswerByType(int type, int style, int number, int second, char *text, char *title, void *data) {
  auto *script = static_cast<ScriptedAnswers *>(data);
  if (type == 13) return 0;
  script->shown.push_back(type);
  script->numbers.push_back(number);
  return script->answers.count(type) ? script->answers[type] : IDCANCEL;
}

TEST_F(ZipRemovableSetTest, FailedDiskChanges) {
  struct Case {
    const char *what;
    uint16_t control;
    bool writableRoot;
    std::map<int, int> answers;
    int result;
    std::vector<int> shown;
  };
  const Case cases[] = {
      {"cancel at the prompt", 0, true, {}, 9, {0}},
      {"write-protected disk, then cancel", 0, false, {{0, IDOK}, {12, IDCANCEL}}, 9, {0, 12}},
      // A data write the disk change failed in ends as the compressor reports it.
      {"format refused off A: and B:", ZMV_FORMAT, true, {{0, IDOK}, {7, IDOK}}, 14, {0, 7}},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.what);
    SimulatedDrive drive;
    drive.letter = WorkDriveLetter();
    std::string folder = FreshFolder("disk-change");
    drive.folder = folder;
    if (!c.writableRoot) drive.root = folder + "\\missing";
    drive.capacity = 10000;
    SimulatedDriveScope scope(&drive);
    ScriptedAnswers script;
    script.answers = c.answers;
    std::string archive = folder + "\\backup.zip";
    strcpy(state->archiveName, archive.c_str());
    state->multiVolControl = uint16_t(ZMV_MULTI_VOLUME | c.control);
    state->messageDisplay = AnswerByType;
    state->messageDisplayData = &script;
    state->cancel = 0;
    StartVolumeBookkeeping(state);
    state->output = CreateFileA(archive.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    EXPECT_EQ(WriteVolumeArchive(state, RandomMembers({20000}, 9), &state->output), c.result);
    EXPECT_EQ(state->cancel, c.result == 9);
    EXPECT_EQ(script.shown, c.shown);
    ASSERT_FALSE(script.numbers.empty());
    EXPECT_EQ(script.numbers[0], 2);  // the second disk is asked for
    EXPECT_EQ(state->writer.currentDisk, c.result == 14 ? 1u : 0u);
    if (state->output != INVALID_HANDLE_VALUE) CloseHandle(state->output);
    state->output = INVALID_HANDLE_VALUE;
  }
}

// The files of a fixed drive's root, as they must stay.
std::vector<std::string> FixedDriveFiles(const std::string &root) {
  return {root + "\\a.txt", root + "\\sub\\b.txt", root + "\\hidden.txt"};
}

void FillFixedDrive(const std::string &root) {
  CreateDirectoryA((root + "\\sub").c_str(), nullptr);
  for (const std::string &file : FixedDriveFiles(root)) WriteBytes(file, Bytes(10, 'k'));
  SetFileAttributesA((root + "\\hidden.txt").c_str(), FILE_ATTRIBUTE_HIDDEN);
}

TEST_F(ZipRemovableSetTest, FixedDrivesAreNeverWipedOrFormatted) {
  SimulatedDrive drive;
  drive.letter = WorkDriveLetter();
  drive.folder = FreshFolder("fixed-drive");
  drive.type = DRIVE_FIXED;
  drive.media = Media144();
  SimulatedDriveScope scope(&drive);
  FillFixedDrive(drive.folder);
  std::string archive = drive.folder + "\\backup.zip";
  int letter = ZipDriveOfPath(archive.c_str());

  const uint16_t controls[] = {ZMV_WIPE, ZMV_WIPE | ZMV_WIPE_TREE, ZMV_WIPE | ZMV_WIPE_TREE | ZMV_WIPE_HIDDEN,
                               ZMV_FORMAT, ZMV_FORMAT | ZMV_LOW_DENSITY, ZMV_FORMAT | ZMV_WIPE | ZMV_WIPE_TREE};
  for (uint16_t control : controls) {
    for (uint16_t subOptions : {uint16_t(0), uint16_t(ZSO_ALL_REMOVABLE)}) {
      SCOPED_TRACE(testing::Message() << "control " << control << " sub-options " << subOptions);
      MessageRecorder recorder;
      ZIPCMDSTRUCT record = RecordingCommand(&recorder);
      record.Function = ZIP_ADD;
      record.lpszZIPFile = const_cast<char *>(archive.c_str());
      record.lpszItemList = const_cast<char *>("C:\\windows\\win.ini");
      record.wMultiVolControl = uint16_t(ZMV_MULTI_VOLUME | control);
      record.wZipSubOptions = subOptions;
      EXPECT_EQ(ZipExecute(&record), 20);
      ASSERT_FALSE(recorder.shown.empty());
      EXPECT_EQ(recorder.shown[0].type, 5);

      // The layer below refuses on its own as well.
      state->multiVolControl = uint16_t(ZMV_MULTI_VOLUME | control);
      state->subOptions = subOptions;
      EXPECT_EQ(ZipPrepareVolume(letter, state->multiVolControl), 0);
      EXPECT_EQ(ZipWipeVolume(letter, control), 0);
      EXPECT_EQ(ZipFormatDrive(letter, 0), 0);
      for (const std::string &file : FixedDriveFiles(drive.folder)) EXPECT_TRUE(Exists(file)) << file;
    }
  }
  EXPECT_TRUE(drive.labels.empty());
  EXPECT_EQ(drive.opens, 0);
}

TEST_F(ZipRemovableSetTest, TreeWipeOfARemovableDisk) {
  SimulatedDrive drive;
  drive.letter = WorkDriveLetter();
  drive.folder = FreshFolder("removable-wipe");
  SimulatedDriveScope scope(&drive);
  int letter = ZipDriveOfPath((drive.folder + "\\x").c_str());
  struct Case {
    uint16_t control;
    bool subKept, hiddenKept;
  };
  const Case cases[] = {{ZMV_WIPE, true, true},
                        {ZMV_WIPE | ZMV_WIPE_TREE, false, true},
                        {ZMV_WIPE | ZMV_WIPE_TREE | ZMV_WIPE_HIDDEN, false, false}};
  for (const Case &c : cases) {
    FillFixedDrive(drive.folder);
    EXPECT_EQ(ZipWipeVolume(letter, c.control), 1);
    EXPECT_FALSE(Exists(drive.folder + "\\a.txt")) << c.control;
    EXPECT_EQ(Exists(drive.folder + "\\sub"), c.subKept) << c.control;
    EXPECT_EQ(Exists(drive.folder + "\\hidden.txt"), c.hiddenKept) << c.control;
    EXPECT_TRUE(Exists(drive.folder)) << "the root stays";
    SetFileAttributesA((drive.folder + "\\hidden.txt").c_str(), FILE_ATTRIBUTE_NORMAL);
  }
}

TEST(ZipVolumeLabels, FormedFromTheDiskNumber) {
  char label[32];
  ZipVolumeLabelText(1, label, sizeof label);
  EXPECT_STREQ(label, "PKBACK# 001");
  ZipVolumeLabelText(123, label, sizeof label);
  EXPECT_STREQ(label, "PKBACK# 123");
  ZipVolumeLabelText(1000, label, sizeof label);
  EXPECT_STREQ(label, "PKBACK# 100");  // eleven characters at most
}

}  // namespace
