// Windows NT: the floppy is formatted through the disk I/O controls of its
// locked volume device, then its boot sector, FATs and root directory are
// written straight to the device.
#include <windows.h>
#include <winioctl.h>

#include "ZipDriveServices.h"
#include "ZipFormatter.h"

namespace {

enum { kMaxGeometries = 20 };

// Sector writes to a raw device need sector-aligned buffers: VirtualAlloc
// gives page alignment.
struct AlignedBuffer {
  uint8_t *data;
  explicit AlignedBuffer(size_t size)
      : data(static_cast<uint8_t *>(VirtualAlloc(nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE))) {}
  ~AlignedBuffer() {
    if (data) VirtualFree(data, 0, MEM_RELEASE);
  }
};

size_t MediaGeometries(HANDLE volume, FloppyMediaGeometry *out) {
  DISK_GEOMETRY geometries[kMaxGeometries];
  DWORD returned = 0;
  if (!ZipDrive().deviceControl(volume, IOCTL_DISK_GET_MEDIA_TYPES, nullptr, 0, geometries, sizeof geometries,
                                &returned))
    return 0;
  size_t count = returned / sizeof *geometries;
  for (size_t i = 0; i < count; ++i) {
    const DISK_GEOMETRY &g = geometries[i];
    out[i] = {uint64_t(g.Cylinders.QuadPart), uint32_t(g.MediaType), g.TracksPerCylinder, g.SectorsPerTrack,
              g.BytesPerSector};
  }
  return count;
}

bool FormatTracks(int drive, HANDLE volume, const FloppyMediaGeometry &geometry) {
  uint32_t cylinders = uint32_t(geometry.cylinders);
  WORD badTracks[64];
  for (uint32_t cylinder = 0; cylinder < cylinders; ++cylinder) {
    if (ZipFormatProgress(drive, cylinder, cylinders)) return false;
    FORMAT_PARAMETERS format = {};
    format.MediaType = MEDIA_TYPE(geometry.mediaType);
    format.StartCylinderNumber = format.EndCylinderNumber = cylinder;
    format.StartHeadNumber = 0;
    format.EndHeadNumber = geometry.tracksPerCylinder - 1;
    DWORD outSize = DWORD(sizeof(WORD) * geometry.tracksPerCylinder);
    if (outSize > sizeof badTracks) return false;
    DWORD returned;
    if (!ZipDrive().deviceControl(volume, IOCTL_DISK_FORMAT_TRACKS, &format, sizeof format, badTracks, outSize,
                                  &returned))
      return false;
  }
  return true;
}

bool WriteBootSector(HANDLE volume, const FloppyParameters &parameters) {
  AlignedBuffer sector(FLOPPY_SECTOR_SIZE);
  uint8_t resource[FLOPPY_SECTOR_SIZE];
  if (!sector.data || !ZipLoadBootSector(resource)) return false;
  FloppyBootSector(resource, parameters, ZipFormatSerialNow(), sector.data);
  return ZipDrive().writeAt(volume, 0, sector.data, FLOPPY_SECTOR_SIZE);
}

bool WriteFatArea(HANDLE volume, const FloppyParameters &parameters) {
  size_t size = FloppyFatAreaSize(parameters);
  AlignedBuffer area(size);
  if (!area.data) return false;
  FloppyFatArea(parameters, area.data);
  for (size_t at = 0; at < size; at += FLOPPY_SECTOR_SIZE)
    if (!ZipDrive().writeAt(volume, FLOPPY_SECTOR_SIZE + at, area.data + at, FLOPPY_SECTOR_SIZE)) return false;
  return true;
}

bool FormatVolume(int drive, HANDLE volume, int lowDensity) {
  FloppyMediaGeometry geometries[kMaxGeometries];
  size_t count = MediaGeometries(volume, geometries);
  if (count == 0) return false;
  const FloppyMediaGeometry &geometry = geometries[FloppyChooseGeometry(geometries, count, lowDensity)];
  int format = FloppyFormatOfMediaType(geometry.mediaType);
  if (format < 0) return false;
  const FloppyParameters &parameters = FloppyFormatParameters(FloppyFormat(format));
  if (!FormatTracks(drive, volume, geometry)) return false;
  ZipFormatInitializing();
  return WriteBootSector(volume, parameters) && WriteFatArea(volume, parameters);
}

}  // namespace

int ZipFormatDriveNt(int drive, int lowDensity) {
  drive = ZipFormatTarget(drive);
  if (!drive) return 0;
  HANDLE volume = ZipOpenLockedVolume(drive);
  if (volume == INVALID_HANDLE_VALUE) return 0;
  bool formatted = FormatVolume(drive, volume, lowDensity);
  ZipCloseLockedVolume(volume);
  return formatted ? 1 : 0;
}
