#include "FloppyLayout.h"

#include <string.h>

#include "../writer/ZipRecordBytes.h"

namespace {

const FloppyParameters kFormats[FLOPPY_FORMAT_COUNT] = {
    {2, 112, 720, 0xFD, 2, 9},    // 360 KB, 40 cylinders
    {2, 112, 1440, 0xF9, 3, 9},   // 720 KB
    {1, 224, 2400, 0xF9, 7, 15},  // 1.2 MB
    {1, 224, 2880, 0xF0, 9, 18},  // 1.44 MB
    {2, 240, 5760, 0xF0, 9, 36},  // 2.88 MB
};

// Media types of the system's disk controls.
enum : uint32_t { kMedia525_1200 = 1, kMedia35_1440 = 2, kMedia35_2880 = 3, kMedia35_720 = 5, kMedia525_360 = 6 };

struct MediaFormat {
  uint32_t mediaType;
  FloppyFormat format;
  uint32_t lowDensityType;  // what the same drive writes at low density
};

const MediaFormat kMediaFormats[] = {
    {kMedia525_1200, FLOPPY_1200K, kMedia525_360}, {kMedia35_1440, FLOPPY_1440K, kMedia35_720},
    {kMedia35_2880, FLOPPY_2880K, kMedia35_1440},  {kMedia35_720, FLOPPY_720K, kMedia35_720},
    {kMedia525_360, FLOPPY_360K, kMedia525_360},
};

const MediaFormat *MediaFormatOf(uint32_t mediaType) {
  for (const MediaFormat &m : kMediaFormats)
    if (m.mediaType == mediaType) return &m;
  return nullptr;
}

const char kVolumeLabel[11] = {'Q', 'U', 'E', 'L', 'L', 'O', 'N', '_', '2', '0', '0'};
const char kFileSystem[8] = {'F', 'A', 'T', '1', '2', ' ', ' ', ' '};
const uint8_t kExtendedSignature = 0x29;

void Put16(uint8_t *at, uint32_t value) { ZipRecordBytes{at}.U16(value); }
void Put32(uint8_t *at, uint32_t value) { ZipRecordBytes{at}.U32(value); }

uint32_t Capacity(const FloppyMediaGeometry &g) {
  return uint32_t(g.cylinders) * g.tracksPerCylinder * g.sectorsPerTrack * g.bytesPerSector;
}

FloppyDriveLayout Layout(uint32_t cylinders, uint32_t sectors, const FloppyParameters &p) {
  return {cylinders, sectors, p.sectorsPerCluster, p.rootEntries, p.media, p.sectorsPerFat};
}

FloppyDriveLayout HighDensity(uint32_t cylinders, uint32_t sectors, uint8_t media, uint16_t fat, uint16_t root) {
  return {cylinders, sectors, 1, root, media, fat};
}

}  // namespace

const FloppyParameters &FloppyFormatParameters(FloppyFormat format) { return kFormats[format]; }

void FloppyParameterBlock(const FloppyParameters &p, uint8_t out[FLOPPY_BLOCK_SIZE]) {
  const uint8_t reservedSectors = 1, fats = 2;
  ZipRecordBytes block{out};
  block.U16(FLOPPY_SECTOR_SIZE);
  block.Bytes(&p.sectorsPerCluster, 1);
  block.U16(reservedSectors);
  block.Bytes(&fats, 1);
  block.U16(p.rootEntries);
  block.U16(p.totalSectors);
  block.Bytes(&p.media, 1);
  block.U16(p.sectorsPerFat);
  block.U16(p.sectorsPerTrack);
  block.U16(FLOPPY_HEADS);
  block.U32(0);  // hidden sectors
  block.U32(0);  // 32-bit sector count
}

uint32_t FloppyRootSectors(const FloppyParameters &p) { return p.rootEntries / 16u; }

size_t FloppyChooseGeometry(const FloppyMediaGeometry *geometries, size_t count, int lowDensity) {
  size_t chosen = 0;
  uint32_t firstCapacity = Capacity(geometries[0]);
  for (size_t i = 1; i < count; ++i)
    if (Capacity(geometries[i]) > firstCapacity) chosen = i;
  if (!lowDensity) return chosen;
  const MediaFormat *format = MediaFormatOf(geometries[chosen].mediaType);
  uint32_t wanted = format ? format->lowDensityType : geometries[chosen].mediaType;
  for (size_t i = 0; i < count; ++i)
    if (geometries[i].mediaType == wanted) return i;
  return chosen;
}

int FloppyFormatOfMediaType(uint32_t mediaType) {
  const MediaFormat *format = MediaFormatOf(mediaType);
  return format ? int(format->format) : -1;
}

int FloppyLayoutForDriveType(int driveType, uint32_t cylinders, uint32_t sectors, int lowDensity,
                             FloppyDriveLayout *out) {
  const FloppyParameters &k360 = kFormats[FLOPPY_360K];
  const FloppyParameters &k720 = kFormats[FLOPPY_720K];
  switch (driveType) {
    case 1:
      *out = Layout(cylinders, sectors, k360);
      return 1;
    case 2:
      *out = lowDensity || (cylinders <= 40 && sectors < 10) ? Layout(40, 9, k360)
                                                              : HighDensity(cylinders, sectors, 0xF9, 7, 224);
      return 1;
    case 3:
      *out = Layout(cylinders, sectors, k720);
      return 1;
    case 4:
      *out = lowDensity || sectors < 10 ? Layout(80, 9, k720) : HighDensity(cylinders, sectors, 0xF0, 9, 224);
      return 1;
    case 5:
      if (lowDensity || (sectors <= 9 && cylinders <= 80)) *out = Layout(80, 9, k720);
      else if (sectors > 18 || cylinders > 80) *out = HighDensity(cylinders, sectors, 0xF0, 18, 448);
      else *out = HighDensity(cylinders, sectors, 0xF0, 9, 224);
      return 1;
    default:
      return 0;
  }
}

int FloppyFormatOfTrack(uint32_t cylinders, uint32_t sectorsPerTrack) {
  for (int f = 0; f < FLOPPY_FORMAT_COUNT; ++f) {
    const FloppyParameters &p = kFormats[f];
    if (p.sectorsPerTrack == sectorsPerTrack && p.totalSectors / (FLOPPY_HEADS * p.sectorsPerTrack) == cylinders)
      return f;
  }
  return -1;
}

uint32_t FloppySerialNumber(unsigned year, unsigned month, unsigned day, unsigned hour, unsigned milliseconds) {
  uint32_t high = (year + hour * 1024u) & 0xFFFFu;
  uint32_t low = (day + month * 32u + milliseconds / 10u) & 0xFFFFu;
  return high << 16 | low;
}

void FloppyBootSector(const uint8_t resource[FLOPPY_SECTOR_SIZE], const FloppyParameters &parameters,
                      uint32_t serial, uint8_t out[FLOPPY_SECTOR_SIZE]) {
  memcpy(out, resource, FLOPPY_SECTOR_SIZE);
  FloppyParameterBlock(parameters, out + FLOPPY_BLOCK_OFFSET);
  uint8_t *extended = out + FLOPPY_EXTENDED_OFFSET;
  extended[0] = 0;  // drive number
  extended[1] = 0;
  extended[2] = kExtendedSignature;
  Put32(extended + 3, serial);
  memcpy(extended + 7, kVolumeLabel, sizeof kVolumeLabel);
  memcpy(extended + 18, kFileSystem, sizeof kFileSystem);
}

void FloppyPatchBootSector(uint8_t sector[FLOPPY_SECTOR_SIZE], const FloppyDriveLayout &layout, uint32_t heads,
                           uint32_t serial) {
  sector[13] = layout.sectorsPerCluster;
  Put16(sector + 17, layout.rootEntries);
  Put16(sector + 19, layout.sectorsPerTrack * heads * layout.cylinders);
  sector[21] = layout.media;
  Put16(sector + 22, layout.sectorsPerFat);
  Put16(sector + 24, layout.sectorsPerTrack);
  Put16(sector + 26, heads);
  Put32(sector + 28, 0);
  Put32(sector + 39, serial);
}

size_t FloppyFatAreaSize(const FloppyParameters &p) {
  return (2u * p.sectorsPerFat + FloppyRootSectors(p)) * size_t(FLOPPY_SECTOR_SIZE);
}

void FloppyFatArea(const FloppyParameters &p, uint8_t *out) {
  memset(out, 0, FloppyFatAreaSize(p));
  uint8_t *fats[2] = {out, out + size_t(p.sectorsPerFat) * FLOPPY_SECTOR_SIZE};
  for (uint8_t *fat : fats) {
    fat[0] = p.media;
    fat[1] = 0xFF;
    fat[2] = 0xFF;
  }
}
