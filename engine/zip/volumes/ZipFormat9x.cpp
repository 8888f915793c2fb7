// Windows 9x: the floppy is formatted through the VWIN32 device, which runs
// DOS IOCTL, BIOS disk and absolute-sector services on a 32-bit register
// record. Built only where pointers fit those registers.
#if defined(_WIN32) && !defined(_WIN64)

#include <stddef.h>
#include <string.h>

#include "../ZipState.h"
#include "ZipDriveServices.h"
#include "ZipFormatter.h"

namespace {

// VWIN32 service codes.
enum : DWORD { kDosIoctl = 1, kAbsoluteWrite = 3, kBiosDisk = 4 };
const DWORD kCarry = 1;
enum { kAttempts = 3, kTries = 4, kMaxSectors = 36, kBufferSize = 640 };

#pragma pack(push, 1)
struct Registers {
  DWORD ebx, edx, ecx, eax, edi, esi, flags;
};

// Absolute-sector service: one sector from a buffer.
struct SectorPacket {
  DWORD start;
  WORD count;
  DWORD buffer;
};

// DOS generic IOCTL device parameters with a track layout.
struct DeviceParameters {
  BYTE specialFunctions;
  BYTE deviceType;
  WORD deviceAttributes;
  WORD cylinders;
  BYTE mediaType;
  BYTE parameterBlock[FLOPPY_BLOCK_SIZE];
  BYTE reserved[6];
  WORD sectorCount;
  WORD layout[kMaxSectors][2];  // sector number, sector size
};

struct FormatTrackPacket {
  BYTE specialFunctions;
  WORD head;
  WORD cylinder;
};
#pragma pack(pop)

static_assert(sizeof(Registers) == 28, "VWIN32 register record");
static_assert(sizeof(SectorPacket) == 10, "absolute-sector packet");
static_assert(offsetof(DeviceParameters, sectorCount) == 38, "device parameters");
static_assert(sizeof(FormatTrackPacket) == 5, "format-track packet");

// DeviceParameters.specialFunctions: the layout holds same-size sectors only
// and these parameters are for the media being formatted.
const BYTE kTrackLayoutAndMedia = 0x05;

// A format of one floppy drive (0 = A:, 1 = B:) through the open device.
class Vwin32Format {
 public:
  Vwin32Format(HANDLE device, int drive, ZipState *state) : device_(device), drive_(drive), state_(state) {}

  bool Run(int lowDensity);

 private:
  bool Call(DWORD service, Registers &r) {
    DWORD returned;
    r.flags = kCarry;
    return ZipDrive().deviceControl(device_, service, &r, sizeof r, &r, sizeof r, &returned) && !(r.flags & kCarry);
  }
  bool Ioctl(DWORD ax, DWORD cx, DWORD bx, DWORD dx) {
    Registers r = {};
    r.eax = ax;
    r.ecx = cx;
    r.ebx = bx;
    r.edx = dx;
    return Call(kDosIoctl, r);
  }
  bool Bios(DWORD ax, DWORD cx, DWORD dx, DWORD bx, Registers *out = nullptr) {
    Registers r = {};
    r.eax = ax;
    r.ecx = cx;
    r.edx = dx;
    r.ebx = bx;
    bool done = Call(kBiosDisk, r);
    if (out) *out = r;
    return done;
  }

  DWORD Unit() const { return DWORD(drive_ + 1); }
  bool Flush() { return Ioctl(0x710D, 1, 0, Unit()); }
  bool Lock(DWORD permission) { return Ioctl(0x440D, 0x084B, Unit(), permission); }
  void Unlock() { Ioctl(0x440D, 0x086B, Unit(), 0); }
  void Reset() { Bios(0x0000, 0, DWORD(drive_), 0); }
  bool SetMediaType() {
    DWORD maxCylinder = layout_.cylinders - 1;
    DWORD cx = (maxCylinder & 0xFF) << 8 | ((maxCylinder >> 2) & 0xC0) | layout_.sectorsPerTrack;
    return Bios(0x1800, cx, DWORD(drive_), 0);
  }
  bool DriveParameters();
  bool FormatTrack(uint32_t cylinder, uint32_t head, const uint8_t *block);
  bool WithRetries(bool (Vwin32Format::*write)(uint32_t), uint32_t argument);
  bool WriteBootSector(uint32_t);
  bool WriteLogicalSector(uint32_t sector);
  bool WriteSystemArea();

  HANDLE device_;
  int drive_;
  ZipState *state_;
  uint32_t cylinders_ = 0, sectors_ = 0, heads_ = 0;
  int driveType_ = 0;
  FloppyDriveLayout layout_ = {};
  uint8_t buffer_[kBufferSize] = {};
};

bool Vwin32Format::DriveParameters() {
  Registers r;
  if (!Bios(0x0800, 0, DWORD(drive_), 0, &r)) return false;
  DWORD cl = r.ecx & 0xFF, ch = (r.ecx >> 8) & 0xFF;
  cylinders_ = (ch | (cl & 0xC0) << 2) + 1;
  sectors_ = cl & 0x3F;
  heads_ = ((r.edx >> 8) & 0xFF) + 1;
  driveType_ = int(r.ebx & 0xFF);
  return true;
}

bool Vwin32Format::FormatTrack(uint32_t cylinder, uint32_t head, const uint8_t *block) {
  DeviceParameters parameters = {};
  parameters.specialFunctions = kTrackLayoutAndMedia;
  parameters.cylinders = WORD(layout_.cylinders);
  memcpy(parameters.parameterBlock, block, FLOPPY_BLOCK_SIZE);
  parameters.sectorCount = WORD(layout_.sectorsPerTrack);
  for (uint32_t s = 0; s < layout_.sectorsPerTrack; ++s) {
    parameters.layout[s][0] = WORD(s + 1);
    parameters.layout[s][1] = FLOPPY_SECTOR_SIZE;
  }
  FormatTrackPacket packet = {0, WORD(head), WORD(cylinder)};
  for (int attempt = 0; attempt < kAttempts; ++attempt) {
    for (int tries = 0; tries < kTries; ++tries) {
      if (Ioctl(0x440D, 0x0840, Unit(), DWORD(uintptr_t(&parameters))) &&
          Ioctl(0x440D, 0x0842, Unit(), DWORD(uintptr_t(&packet))))
        return true;
      Reset();
      SetMediaType();
    }
  }
  return false;
}

bool Vwin32Format::WithRetries(bool (Vwin32Format::*write)(uint32_t), uint32_t argument) {
  for (int tries = 0; tries < kTries; ++tries) {
    if ((this->*write)(argument)) return true;
    Reset();
  }
  return false;
}

bool Vwin32Format::WriteBootSector(uint32_t) {
  // Cylinder 0, sector 1, head 0.
  return Bios(0x0301, 0x0001, DWORD(drive_), DWORD(uintptr_t(buffer_)));
}

bool Vwin32Format::WriteLogicalSector(uint32_t sector) {
  SectorPacket packet = {sector, 1, DWORD(uintptr_t(buffer_))};
  Registers r = {};
  r.eax = DWORD(drive_);
  r.ecx = 0xFFFF;
  r.ebx = DWORD(uintptr_t(&packet));
  return Call(kAbsoluteWrite, r);
}

bool Vwin32Format::WriteSystemArea() {
  uint32_t fat = layout_.sectorsPerFat;
  memset(buffer_, 0, sizeof buffer_);
  buffer_[0] = layout_.media;
  buffer_[1] = buffer_[2] = 0xFF;
  if (!WithRetries(&Vwin32Format::WriteLogicalSector, 1) ||
      !WithRetries(&Vwin32Format::WriteLogicalSector, 1 + fat))
    return false;
  buffer_[0] = buffer_[1] = buffer_[2] = 0;
  for (uint32_t s = 1; s < fat; ++s)
    if (!WithRetries(&Vwin32Format::WriteLogicalSector, 1 + s) ||
        !WithRetries(&Vwin32Format::WriteLogicalSector, 1 + fat + s))
      return false;
  uint32_t root = 1 + 2 * fat;
  for (uint32_t s = 0; s < layout_.rootEntries / 16u; ++s)
    if (!WithRetries(&Vwin32Format::WriteLogicalSector, root + s)) return false;
  return true;
}

bool Vwin32Format::Run(int lowDensity) {
  Flush();
  if (!DriveParameters()) return false;
  if (!Lock(0)) return false;
  if (!Lock(4)) {
    Unlock();
    return false;
  }
  Reset();
  bool formatted = FloppyLayoutForDriveType(driveType_, cylinders_, sectors_, lowDensity, &layout_) != 0;
  int format = formatted ? FloppyFormatOfTrack(layout_.cylinders, layout_.sectorsPerTrack) : -1;
  uint8_t block[FLOPPY_BLOCK_SIZE];
  if (format >= 0) {
    FloppyParameterBlock(FloppyFormatParameters(FloppyFormat(format)), block);
    SetMediaType();  // the first call can fail while the drive settles
  }
  formatted = format >= 0 && SetMediaType();
  state_->volume.formatDrive = drive_;
  for (uint32_t cylinder = 0; formatted && cylinder < layout_.cylinders; ++cylinder) {
    state_->volume.formatCylinder = int(cylinder);
    if (ZipFormatProgress(drive_ + 1, cylinder, layout_.cylinders)) formatted = false;
    for (uint32_t head = 0; formatted && head < heads_; ++head) {
      state_->volume.formatHead = int(head);
      formatted = FormatTrack(cylinder, head, block);
    }
  }
  if (formatted) {
    ZipFormatInitializing();
    formatted = ZipLoadBootSector(buffer_) != 0;
  }
  if (formatted) {
    FloppyPatchBootSector(buffer_, layout_, heads_, ZipFormatSerialNow());
    Reset();
    formatted = WithRetries(&Vwin32Format::WriteBootSector, 0) && DriveParameters() && WriteSystemArea();
  }
  Unlock();
  Unlock();
  state_->volume.formatDrive = -1;
  return formatted && DriveParameters();
}

}  // namespace

int ZipFormatDrive9x(int drive, int lowDensity) {
  ZipState *state = ZipCurrentState();
  if (!state) return 0;
  state->volume.formatDrive = -1;
  state->volume.formatHead = state->volume.formatCylinder = 0;
  drive = ZipFormatTarget(drive);
  if (!drive) return 0;
  HANDLE device = ZipDrive().openDevice("\\\\.\\vwin32", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, 0);
  if (device == INVALID_HANDLE_VALUE) return 0;
  bool formatted = Vwin32Format(device, drive - 1, state).Run(lowDensity);
  ZipDrive().closeDevice(device);
  return formatted ? 1 : 0;
}

#endif
