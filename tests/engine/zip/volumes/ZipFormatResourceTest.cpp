#include <gtest/gtest.h>

#include <string.h>

#include "SimulatedDrive.h"
#include "volumes/ZipFormatter.h"
#include "ZipTestSupport.h"

// This program carries a boot sector, so a format runs to its end.
namespace {

using ZipFormatResourceTest = ZipStateTest;

TEST_F(ZipFormatResourceTest, BootSectorFatsAndRootDirectoryWritten) {
  uint8_t resource[FLOPPY_SECTOR_SIZE];
  ASSERT_EQ(ZipLoadBootSector(resource), 1);
  ASSERT_EQ(resource[510], 0x55);

  SimulatedDrive drive;
  drive.media = Media144();
  SimulatedDriveScope scope(&drive);
  ASSERT_EQ(ZipFormatDrive(1, 1), 1);
  EXPECT_EQ(drive.formatted.size(), 80u);
  EXPECT_EQ(drive.formatted[0].MediaType, F3_720_512);
  EXPECT_EQ(drive.closes, 1);
  EXPECT_EQ(drive.locks, drive.unlocks);

  // Sector 0, then both FATs and the root directory, sector by sector.
  const FloppyParameters &p = FloppyFormatParameters(FLOPPY_720K);
  ASSERT_EQ(drive.written.size(), 1 + FloppyFatAreaSize(p) / FLOPPY_SECTOR_SIZE);
  const std::vector<uint8_t> &boot = drive.written[0];
  ASSERT_EQ(boot.size(), size_t(FLOPPY_SECTOR_SIZE));
  uint8_t expected[FLOPPY_SECTOR_SIZE];
  uint32_t serial = boot[39] | boot[40] << 8 | boot[41] << 16 | uint32_t(boot[42]) << 24;
  FloppyBootSector(resource, p, serial, expected);
  EXPECT_EQ(0, memcmp(boot.data(), expected, sizeof expected));

  std::vector<uint8_t> area(FloppyFatAreaSize(p));
  FloppyFatArea(p, area.data());
  for (size_t at = 0; at < area.size(); at += FLOPPY_SECTOR_SIZE) {
    auto sector = drive.written.find(FLOPPY_SECTOR_SIZE + at);
    ASSERT_NE(sector, drive.written.end()) << at;
    EXPECT_EQ(0, memcmp(sector->second.data(), area.data() + at, FLOPPY_SECTOR_SIZE)) << at;
  }
}

}  // namespace
