#include <gtest/gtest.h>

#include "SimulatedDrive.h"
#include "volumes/ZipFormatter.h"
#include "ZipTestSupport.h"

namespace {

using ZipFormatterTest = ZipStateTest;

TEST_F(ZipFormatterTest, OnlyRemovableFloppyDrivesAreFormatted) {
  struct Case {
    char letter;
    UINT type;
    int drive;
  };
  // C: never; A: or B: only when the drive itself is removable, even with
  // every target counting as removable.
  const Case cases[] = {{'C', DRIVE_REMOVABLE, 3}, {'A', DRIVE_FIXED, 1}, {'B', DRIVE_REMOTE, 2},
                        {'A', DRIVE_CDROM, 1}};
  state->subOptions = ZSO_ALL_REMOVABLE;
  for (const Case &c : cases) {
    SimulatedDrive drive;
    drive.letter = c.letter;
    drive.type = c.type;
    drive.media = Media144();
    SimulatedDriveScope scope(&drive);
    EXPECT_EQ(ZipFormatDrive(c.drive, 0), 0) << c.letter;
    EXPECT_EQ(drive.opens, 0) << c.letter;
  }
}

TEST_F(ZipFormatterTest, FormatsEveryCylinderThenFailsWithoutTheBootSector) {
  for (int lowDensity : {0, 1}) {
    SimulatedDrive drive;
    drive.media = Media144();
    SimulatedDriveScope scope(&drive);
    // Neither program carries the boot sector, so a format stops there.
    EXPECT_EQ(ZipFormatDrive(1, lowDensity), 0);
    ASSERT_EQ(drive.formatted.size(), 80u);
    for (DWORD c = 0; c < 80; ++c) {
      const FORMAT_PARAMETERS &f = drive.formatted[c];
      EXPECT_EQ(f.MediaType, lowDensity ? F3_720_512 : F3_1Pt44_512);
      EXPECT_EQ(f.StartCylinderNumber, c);
      EXPECT_EQ(f.EndCylinderNumber, c);
      EXPECT_EQ(f.StartHeadNumber, 0u);
      EXPECT_EQ(f.EndHeadNumber, 1u);
    }
    EXPECT_TRUE(drive.written.empty());
    EXPECT_EQ(drive.opens, 1);
    EXPECT_EQ(drive.closes, 1);
    EXPECT_EQ(drive.locks, drive.unlocks);
  }
}

int CALLBACK CancelAtCylinderFive(const char *text, int percent, void *) {
  return strcmp(text, "Formatting Cylinder 5") == 0;
}

TEST_F(ZipFormatterTest, CancelAndMissingMediaReleaseTheVolume) {
  SimulatedDrive drive;
  drive.media = Media144();
  SimulatedDriveScope scope(&drive);
  state->recordVersion = 600;
  state->majorStatus = CancelAtCylinderFive;
  EXPECT_EQ(ZipFormatDrive(1, 0), 0);
  EXPECT_EQ(drive.formatted.size(), 5u);
  EXPECT_EQ(drive.closes, 1);
  EXPECT_EQ(drive.locks, drive.unlocks);

  drive.media.clear();
  EXPECT_EQ(ZipFormatDrive(1, 0), 0);
  EXPECT_EQ(drive.formatted.size(), 5u);
  EXPECT_EQ(drive.closes, 2);
  EXPECT_EQ(drive.locks, drive.unlocks);
}

TEST_F(ZipFormatterTest, DismountBetweenDisks) {
  SimulatedDrive drive;
  SimulatedDriveScope scope(&drive);
  EXPECT_EQ(ZipDismountDrive(1), 1);
  EXPECT_EQ(drive.dismounts, 1);
  EXPECT_EQ(drive.locks, 1);
  EXPECT_EQ(drive.unlocks, 1);
  EXPECT_EQ(drive.closes, 1);
  EXPECT_EQ(ZipDismountDrive(0), 0);
  EXPECT_EQ(ZipDismountDrive(27), 0);
  state->multiVolControl = ZMV_MULTI_VOLUME | ZMV_SPLIT_PARTS;
  EXPECT_EQ(ZipDismountDrive(1), 1);
  EXPECT_EQ(drive.opens, 1);
}

}  // namespace
