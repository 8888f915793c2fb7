#include <gtest/gtest.h>

#include "SimulatedDrive.h"
#include "VolumeArchive.h"
#include "ZipApi.h"
#include "ZipDrives.h"
#include "ZipFormatter.h"
#include "ZipReport.h"
#include "ZipTestSupport.h"
#include "ZipVolumePrepare.h"
#include "ZipWipe.h"

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

using ZipRemovableSetTest = ZipStateTest;

TEST_F(ZipRemovableSetTest, ThreeSmallDisksLabelledPromptedAndReadBack) {
  SimulatedDrive drive;
  drive.letter = WorkDriveLetter();
  drive.folder = FreshFolder("disk");
  drive.capacity = 30000;
  SimulatedDriveScope scope(&drive);
  WriteBytes(drive.folder + "\\left-over.txt", Bytes(4000, 'x'));

  DiskSwap swap;
  swap.archive = drive.folder + "\\backup.zip";
  swap.takenOut = FreshFolder("disks-taken-out");
  strcpy(state->archiveName, swap.archive.c_str());
  state->multiVolControl = ZMV_MULTI_VOLUME | ZMV_WIPE;
  state->messageDisplay = SwapDisk;
  state->messageDisplayData = &swap;

  // The first disk, as the update reader asks for it and prepares it.
  StartVolumeBookkeeping(state);
  int letter = ZipDriveOfPath(state->archiveName);
  ASSERT_EQ(ZipMessageBox(0, MB_OKCANCEL, 1, 0, nullptr), IDOK);
  ZipDismountDrive(letter);
  ASSERT_EQ(ZipPrepareVolume(letter, state->multiVolControl), 1);
  EXPECT_FALSE(Exists(drive.folder + "\\left-over.txt"));
  state->output = CreateFileA(state->archiveName, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                              CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(state->output, INVALID_HANDLE_VALUE);

  std::vector<Member> members = RandomMembers({25000, 25000, 15000}, 5);
  EXPECT_EQ(WriteVolumeArchive(state, members, &state->output), 0);
  CloseHandle(state->output);
  state->output = INVALID_HANDLE_VALUE;

  EXPECT_EQ(swap.prompts, (std::vector<int>{1, 2, 3}));
  EXPECT_TRUE(swap.otherTypes.empty());
  EXPECT_EQ(drive.labels, (std::vector<std::string>{"PKBACK# 001", "PKBACK# 002", "PKBACK# 003"}));
  EXPECT_EQ(drive.dismounts, 3);
  EXPECT_EQ(state->writer.currentDisk, 2u);
  ASSERT_EQ(swap.disks, 2);
  for (int d = 1; d <= 2; ++d) {
    uint64_t size = SizeOf(swap.takenOut + "\\disk" + std::to_string(d) + ".zip");
    EXPECT_LE(size, 30000u);
    EXPECT_GT(size, 30000u - 512);
  }

  // The three disks as split parts on a fixed drive, read back.
  std::string set = FreshFolder("removable-set");
  ASSERT_TRUE(CopyFileA((swap.takenOut + "\\disk1.zip").c_str(), (set + "\\backup.z01").c_str(), FALSE));
  ASSERT_TRUE(CopyFileA((swap.takenOut + "\\disk2.zip").c_str(), (set + "\\backup.z02").c_str(), FALSE));
  ASSERT_TRUE(CopyFileA(swap.archive.c_str(), (set + "\\backup.zip").c_str(), FALSE));
  ExpectReadsBack(set + "\\backup.zip", members, FreshFolder("removable-set-out"));
}

TEST_F(ZipRemovableSetTest, CancelAtTheDiskPromptEndsWithNine) {
  SimulatedDrive drive;
  drive.letter = WorkDriveLetter();
  drive.folder = FreshFolder("disk-cancel");
  drive.capacity = 10000;
  SimulatedDriveScope scope(&drive);
  MessageRecorder recorder;
  recorder.answer = IDCANCEL;
  std::string archive = drive.folder + "\\backup.zip";
  strcpy(state->archiveName, archive.c_str());
  state->multiVolControl = ZMV_MULTI_VOLUME;
  state->messageDisplay = RecordMessage;
  state->messageDisplayData = &recorder;
  StartVolumeBookkeeping(state);
  state->output = CreateFileA(archive.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
  std::vector<Member> members = RandomMembers({20000}, 9);
  EXPECT_EQ(WriteVolumeArchive(state, members, &state->output), 9);
  EXPECT_EQ(state->cancel, 1);
  ASSERT_EQ(recorder.shown.size(), 1u);
  EXPECT_EQ(recorder.shown[0].type, 0);
  EXPECT_EQ(recorder.shown[0].number, 2);
  EXPECT_EQ(state->writer.currentDisk, 0u);
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
