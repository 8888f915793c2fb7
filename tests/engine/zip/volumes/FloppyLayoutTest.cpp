#include <gtest/gtest.h>

#include <string.h>

#include <vector>

#include "volumes/FloppyLayout.h"

namespace {

uint32_t Le16(const uint8_t *at) { return at[0] | at[1] << 8; }
uint32_t Le32(const uint8_t *at) { return Le16(at) | Le16(at + 2) << 16; }

TEST(FloppyLayout, ParameterBlocksOfTheFiveFormats) {
  // Bytes 11-35 of a freshly formatted disk of each size.
  const uint8_t expected[FLOPPY_FORMAT_COUNT][FLOPPY_BLOCK_SIZE] = {
      {0x00, 0x02, 2, 1, 0, 2, 112, 0, 0xD0, 0x02, 0xFD, 2, 0, 9, 0, 2, 0},
      {0x00, 0x02, 2, 1, 0, 2, 112, 0, 0xA0, 0x05, 0xF9, 3, 0, 9, 0, 2, 0},
      {0x00, 0x02, 1, 1, 0, 2, 224, 0, 0x60, 0x09, 0xF9, 7, 0, 15, 0, 2, 0},
      {0x00, 0x02, 1, 1, 0, 2, 224, 0, 0x40, 0x0B, 0xF0, 9, 0, 18, 0, 2, 0},
      {0x00, 0x02, 2, 1, 0, 2, 240, 0, 0x80, 0x16, 0xF0, 9, 0, 36, 0, 2, 0},
  };
  for (int f = 0; f < FLOPPY_FORMAT_COUNT; ++f) {
    uint8_t block[FLOPPY_BLOCK_SIZE];
    FloppyParameterBlock(FloppyFormatParameters(FloppyFormat(f)), block);
    EXPECT_EQ(0, memcmp(block, expected[f], sizeof block)) << "format " << f;
  }
  EXPECT_EQ(FloppyRootSectors(FloppyFormatParameters(FLOPPY_1440K)), 14u);
  EXPECT_EQ(FloppyRootSectors(FloppyFormatParameters(FLOPPY_2880K)), 15u);
  EXPECT_EQ(FloppyRootSectors(FloppyFormatParameters(FLOPPY_720K)), 7u);
}

FloppyMediaGeometry Media(uint32_t type, uint64_t cylinders, uint32_t sectors) {
  return {cylinders, type, 2, sectors, 512};
}

TEST(FloppyLayout, GeometryChoice) {
  // A 1.44 MB drive lists 720 KB first; 2.88 MB drive lists both below it.
  const FloppyMediaGeometry drive144[] = {Media(5, 80, 9), Media(2, 80, 18)};
  const FloppyMediaGeometry drive288[] = {Media(2, 80, 18), Media(3, 80, 36), Media(5, 80, 9)};
  // Larger than the first, not than the best so far: the last such one wins.
  const FloppyMediaGeometry odd[] = {Media(5, 80, 9), Media(3, 80, 36), Media(2, 80, 18)};
  const FloppyMediaGeometry lowOnly[] = {Media(1, 80, 15)};
  struct Case {
    const FloppyMediaGeometry *table;
    size_t count;
    int lowDensity;
    size_t chosen;
  };
  const Case cases[] = {
      {drive144, 2, 0, 1}, {drive144, 2, 1, 0}, {drive288, 3, 0, 1}, {drive288, 3, 1, 0},
      {odd, 3, 0, 2},      {odd, 3, 1, 0},      {lowOnly, 1, 1, 0},
  };
  for (const Case &c : cases)
    EXPECT_EQ(FloppyChooseGeometry(c.table, c.count, c.lowDensity), c.chosen)
        << "low density " << c.lowDensity << " first type " << c.table[0].mediaType;

  EXPECT_EQ(FloppyFormatOfMediaType(2), FLOPPY_1440K);
  EXPECT_EQ(FloppyFormatOfMediaType(6), FLOPPY_360K);
  EXPECT_EQ(FloppyFormatOfMediaType(4), -1);  // 20.8 MB: no FAT12 layout
  EXPECT_EQ(FloppyFormatOfMediaType(11), -1);
}

TEST(FloppyLayout, BiosDriveTypeLayouts) {
  struct Case {
    int type;
    uint32_t cylinders, sectors;
    int lowDensity;
    FloppyDriveLayout expected;
  };
  const Case cases[] = {
      {1, 40, 9, 0, {40, 9, 2, 112, 0xFD, 2}},
      {2, 80, 15, 0, {80, 15, 1, 224, 0xF9, 7}},
      {2, 80, 15, 1, {40, 9, 2, 112, 0xFD, 2}},
      {3, 80, 9, 0, {80, 9, 2, 112, 0xF9, 3}},
      {4, 80, 18, 0, {80, 18, 1, 224, 0xF0, 9}},
      {4, 80, 18, 1, {80, 9, 2, 112, 0xF9, 3}},  // 1.44 MB drive at low density: 720 KB
      {5, 80, 36, 0, {80, 36, 1, 448, 0xF0, 18}},
      {5, 80, 18, 0, {80, 18, 1, 224, 0xF0, 9}},
      {5, 80, 36, 1, {80, 9, 2, 112, 0xF9, 3}},
  };
  for (const Case &c : cases) {
    FloppyDriveLayout got = {};
    ASSERT_EQ(FloppyLayoutForDriveType(c.type, c.cylinders, c.sectors, c.lowDensity, &got), 1) << c.type;
    EXPECT_EQ(got.cylinders, c.expected.cylinders) << c.type;
    EXPECT_EQ(got.sectorsPerTrack, c.expected.sectorsPerTrack) << c.type;
    EXPECT_EQ(got.sectorsPerCluster, c.expected.sectorsPerCluster) << c.type;
    EXPECT_EQ(got.rootEntries, c.expected.rootEntries) << c.type;
    EXPECT_EQ(got.media, c.expected.media) << c.type;
    EXPECT_EQ(got.sectorsPerFat, c.expected.sectorsPerFat) << c.type;
  }
  FloppyDriveLayout unused;
  EXPECT_EQ(FloppyLayoutForDriveType(6, 80, 18, 0, &unused), 0);
  EXPECT_EQ(FloppyFormatOfTrack(80, 18), FLOPPY_1440K);
  EXPECT_EQ(FloppyFormatOfTrack(40, 9), FLOPPY_360K);
  EXPECT_EQ(FloppyFormatOfTrack(80, 21), -1);
}

TEST(FloppyLayout, SerialNumberFromTheClock) {
  EXPECT_EQ(FloppySerialNumber(2026, 12, 9, 10, 500), 0x2FEA01BBu);
  // Each half wraps on its own.
  EXPECT_EQ(FloppySerialNumber(65535, 1, 1, 23, 999) >> 16, (65535u + 23 * 1024) & 0xFFFF);
}

TEST(FloppyLayout, BootSectorKeepsTheResourceAroundItsRecords) {
  uint8_t resource[FLOPPY_SECTOR_SIZE];
  for (int i = 0; i < FLOPPY_SECTOR_SIZE; ++i) resource[i] = uint8_t(i * 7 + 1);
  const FloppyParameters &p = FloppyFormatParameters(FLOPPY_1440K);
  uint8_t sector[FLOPPY_SECTOR_SIZE];
  FloppyBootSector(resource, p, 0x2FEA01BB, sector);

  EXPECT_EQ(0, memcmp(sector, resource, FLOPPY_BLOCK_OFFSET));
  EXPECT_EQ(0, memcmp(sector + 62, resource + 62, FLOPPY_SECTOR_SIZE - 62));
  EXPECT_EQ(Le16(sector + 11), 512u);
  EXPECT_EQ(Le16(sector + 19), 2880u);
  EXPECT_EQ(sector[21], 0xF0);
  EXPECT_EQ(Le32(sector + 32), 0u);
  EXPECT_EQ(sector[36], 0);
  EXPECT_EQ(sector[38], 0x29);
  EXPECT_EQ(Le32(sector + 39), 0x2FEA01BBu);
  EXPECT_EQ(0, memcmp(sector + 43, "QUELLON_200FAT12   ", 19));

  // The BIOS path sets its fields in place and keeps the rest.
  uint8_t patched[FLOPPY_SECTOR_SIZE];
  memcpy(patched, resource, sizeof patched);
  FloppyDriveLayout layout = {80, 9, 2, 112, 0xF9, 3};
  FloppyPatchBootSector(patched, layout, 2, 0x01020304);
  EXPECT_EQ(patched[13], 2);
  EXPECT_EQ(Le16(patched + 17), 112u);
  EXPECT_EQ(Le16(patched + 19), 1440u);
  EXPECT_EQ(patched[21], 0xF9);
  EXPECT_EQ(Le16(patched + 22), 3u);
  EXPECT_EQ(Le16(patched + 24), 9u);
  EXPECT_EQ(Le16(patched + 26), 2u);
  EXPECT_EQ(Le32(patched + 28), 0u);
  EXPECT_EQ(Le32(patched + 39), 0x01020304u);
  EXPECT_EQ(0, memcmp(patched + 43, resource + 43, FLOPPY_SECTOR_SIZE - 43));
  EXPECT_EQ(0, memcmp(patched, resource, 13));
}

TEST(FloppyLayout, EmptyFatsAndRootDirectory) {
  const FloppyParameters &p = FloppyFormatParameters(FLOPPY_720K);
  std::vector<uint8_t> area(FloppyFatAreaSize(p), 0xAA);
  ASSERT_EQ(area.size(), (2u * 3 + 7) * 512);
  FloppyFatArea(p, area.data());
  const uint8_t head[] = {0xF9, 0xFF, 0xFF};
  size_t secondFat = 3 * 512;
  for (size_t i = 0; i < area.size(); ++i) {
    size_t inFat = i < secondFat ? i : i - secondFat;
    uint8_t want = (i < 2 * secondFat && inFat < 3) ? head[inFat] : 0;
    ASSERT_EQ(area[i], want) << "byte " << i;
  }
}

}  // namespace
