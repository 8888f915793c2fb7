#include "SimulatedDrive.h"

#include <ctype.h>
#include <string.h>

namespace {

SimulatedDrive *g_drive = nullptr;
HANDLE const kDevice = reinterpret_cast<HANDLE>(static_cast<uintptr_t>(0x5150));

const ZipDriveServices &System() { return ZipSystemDriveServices(); }

bool Simulated(const char *path) {
  return g_drive && path && toupper(static_cast<unsigned char>(path[0])) == g_drive->letter;
}

// "\\.\X:" of the simulated drive.
bool SimulatedDevice(const char *name) { return strlen(name) == 6 && Simulated(name + 4); }

uint64_t FolderBytes(const std::string &folder) {
  uint64_t total = 0;
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return 0;
  do {
    if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
      total += (uint64_t)found.nFileSizeHigh << 32 | found.nFileSizeLow;
  } while (FindNextFileA(search, &found));
  FindClose(search);
  return total;
}

void DriveRoot(int drive, char *out, size_t capacity) {
  if (g_drive && 'A' + drive - 1 == g_drive->letter && !g_drive->folder.empty()) {
    snprintf(out, capacity, "%s\\", (g_drive->root.empty() ? g_drive->folder : g_drive->root).c_str());
    return;
  }
  System().driveRoot(drive, out, capacity);
}

UINT DriveType(const char *root) { return Simulated(root) ? g_drive->type : System().driveType(root); }

uint64_t FreeSpace(const char *root) {
  if (!Simulated(root)) return System().freeSpace(root);
  uint64_t used = FolderBytes(g_drive->folder);
  return used < g_drive->capacity ? g_drive->capacity - used : 0;
}

DWORD MaxNameLength(const char *root) {
  return Simulated(root) ? g_drive->maxNameLength : System().maxNameLength(root);
}

BOOL SetLabel(const char *root, const char *label) {
  if (!Simulated(root)) return FALSE;  // a test never relabels a real drive
  g_drive->labels.push_back(label);
  return TRUE;
}

HANDLE OpenDevice(const char *name, DWORD access, DWORD share, DWORD flags) {
  if (!SimulatedDevice(name)) return INVALID_HANDLE_VALUE;  // nor opens a real one
  ++g_drive->opens;
  return kDevice;
}

BOOL DeviceControl(HANDLE device, DWORD code, void *in, DWORD inSize, void *out, DWORD outSize, DWORD *returned) {
  if (device != kDevice) return FALSE;
  *returned = 0;
  switch (code) {
    case FSCTL_LOCK_VOLUME:
      ++g_drive->locks;
      return TRUE;
    case FSCTL_UNLOCK_VOLUME:
      ++g_drive->unlocks;
      return TRUE;
    case FSCTL_DISMOUNT_VOLUME:
      ++g_drive->dismounts;
      return TRUE;
    case IOCTL_DISK_GET_MEDIA_TYPES: {
      DWORD size = DWORD(g_drive->media.size() * sizeof(DISK_GEOMETRY));
      if (size > outSize) return FALSE;
      memcpy(out, g_drive->media.data(), size);
      *returned = size;
      return TRUE;
    }
    case IOCTL_DISK_FORMAT_TRACKS:
      if (inSize != sizeof(FORMAT_PARAMETERS)) return FALSE;
      g_drive->formatted.push_back(*static_cast<FORMAT_PARAMETERS *>(in));
      return TRUE;
    default:
      return FALSE;
  }
}

BOOL WriteAt(HANDLE device, uint64_t offset, const void *bytes, DWORD length) {
  if (device != kDevice) return FALSE;
  auto *b = static_cast<const uint8_t *>(bytes);
  g_drive->written[offset] = std::vector<uint8_t>(b, b + length);
  return TRUE;
}

BOOL CloseDevice(HANDLE device) {
  if (device != kDevice) return FALSE;
  ++g_drive->closes;
  return TRUE;
}

BOOL Label(const char *root, char *out, size_t capacity) {
  if (!Simulated(root) || g_drive->labels.empty()) return FALSE;
  lstrcpynA(out, g_drive->labels.back().c_str(), static_cast<int>(capacity));
  return TRUE;
}

const ZipDriveServices kSimulated = {DriveRoot,  DriveType,     FreeSpace, MaxNameLength, SetLabel,
                                     OpenDevice, DeviceControl, WriteAt,   CloseDevice,   Label};

}  // namespace

SimulatedDriveScope::SimulatedDriveScope(SimulatedDrive *drive) {
  g_drive = drive;
  ZipInstallDriveServices(&kSimulated);
}

SimulatedDriveScope::~SimulatedDriveScope() {
  ZipInstallDriveServices(nullptr);
  g_drive = nullptr;
}

std::vector<DISK_GEOMETRY> Media144() {
  DISK_GEOMETRY low = {}, high = {};
  low.Cylinders.QuadPart = 80;
  low.MediaType = F3_720_512;
  low.TracksPerCylinder = 2;
  low.SectorsPerTrack = 9;
  low.BytesPerSector = 512;
  high = low;
  high.MediaType = F3_1Pt44_512;
  high.SectorsPerTrack = 18;
  return {low, high};
}
