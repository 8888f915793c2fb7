// The FAT12 layouts the floppy formatter writes: the BIOS parameter blocks of
// the five standard formats, the choice of a format from what the drive
// reports, the boot sector, the volume serial number and the empty FATs.
// Pure computation, so it builds and is tested on every platform.
#pragma once

#include <stddef.h>
#include <stdint.h>

enum {
  FLOPPY_SECTOR_SIZE = 512,
  FLOPPY_BLOCK_OFFSET = 11,     // parameter block in the boot sector
  FLOPPY_BLOCK_SIZE = 25,
  FLOPPY_EXTENDED_OFFSET = 36,  // extended boot record
  FLOPPY_EXTENDED_SIZE = 26,
  FLOPPY_HEADS = 2,
};

enum FloppyFormat { FLOPPY_360K, FLOPPY_720K, FLOPPY_1200K, FLOPPY_1440K, FLOPPY_2880K, FLOPPY_FORMAT_COUNT };

// The values of a parameter block that differ between layouts; every layout
// has 512-byte sectors, one reserved sector, two FATs and two heads.
struct FloppyParameters {
  uint8_t sectorsPerCluster;
  uint16_t rootEntries;
  uint16_t totalSectors;
  uint8_t media;
  uint16_t sectorsPerFat;
  uint16_t sectorsPerTrack;
};

const FloppyParameters &FloppyFormatParameters(FloppyFormat format);
// The 25 bytes written at boot-sector offset 11.
void FloppyParameterBlock(const FloppyParameters &parameters, uint8_t out[FLOPPY_BLOCK_SIZE]);
// Sectors of the root directory: 16 entries a sector.
uint32_t FloppyRootSectors(const FloppyParameters &parameters);

// One geometry the drive reports it can format (media types as the system's
// disk controls number them).
struct FloppyMediaGeometry {
  uint64_t cylinders;
  uint32_t mediaType;
  uint32_t tracksPerCylinder;
  uint32_t sectorsPerTrack;
  uint32_t bytesPerSector;
};

// Index of the geometry to format with: the last one of larger capacity than
// the first (only the low 32 bits of the cylinders count), or the first; at
// low density the first entry with the matching lower-density type, when one
// exists. count must be at least 1.
size_t FloppyChooseGeometry(const FloppyMediaGeometry *geometries, size_t count, int lowDensity);
// The format of a media type; -1 for a type no format exists for.
int FloppyFormatOfMediaType(uint32_t mediaType);

// What a drive of a given BIOS drive type is formatted as.
struct FloppyDriveLayout {
  uint32_t cylinders;
  uint32_t sectorsPerTrack;
  uint8_t sectorsPerCluster;
  uint16_t rootEntries;
  uint8_t media;
  uint16_t sectorsPerFat;
};

// The layout for BIOS drive type 1-5 with the drive's own cylinders and
// sectors per track; 0 for any other type.
int FloppyLayoutForDriveType(int driveType, uint32_t cylinders, uint32_t sectorsPerTrack, int lowDensity,
                             FloppyDriveLayout *out);
// The standard format with this many cylinders and sectors per track; -1
// for a combination that has none.
int FloppyFormatOfTrack(uint32_t cylinders, uint32_t sectorsPerTrack);

// The volume serial number of a format made at this local time.
uint32_t FloppySerialNumber(unsigned year, unsigned month, unsigned day, unsigned hour, unsigned milliseconds);

// The boot sector a format writes: the resource's 512 bytes with the
// parameter block and an extended boot record (serial, the volume label and
// the file-system type) put in.
void FloppyBootSector(const uint8_t resource[FLOPPY_SECTOR_SIZE], const FloppyParameters &parameters,
                      uint32_t serial, uint8_t out[FLOPPY_SECTOR_SIZE]);
// The same for a drive formatted through the BIOS: only the layout's fields,
// the geometry, no hidden sectors and the serial are set in place; the rest
// of the resource stays as it is.
void FloppyPatchBootSector(uint8_t sector[FLOPPY_SECTOR_SIZE], const FloppyDriveLayout &layout, uint32_t heads,
                           uint32_t serial);

// Both FATs and the root directory, empty: (2 x sectors per FAT + root
// sectors) x 512 bytes; each FAT starts with the media byte and 0xFF 0xFF.
size_t FloppyFatAreaSize(const FloppyParameters &parameters);
void FloppyFatArea(const FloppyParameters &parameters, uint8_t *out);
