#include "ZipDriveServices.h"

#include <stdio.h>

namespace {

void SystemDriveRoot(int drive, char *out, size_t capacity) { snprintf(out, capacity, "%c:\\", 'A' + drive - 1); }

UINT SystemDriveType(const char *root) { return GetDriveTypeA(root); }

uint64_t SystemFreeSpace(const char *root) {
  const char *volume = root && root[0] ? root : nullptr;
  ULARGE_INTEGER available, total, free;
  if (GetDiskFreeSpaceExA(volume, &available, &total, &free) && static_cast<int64_t>(available.QuadPart) >= 0)
    return available.QuadPart;
  DWORD sectorsPerCluster, bytesPerSector, freeClusters, clusters;
  if (GetDiskFreeSpaceA(volume, &sectorsPerCluster, &bytesPerSector, &freeClusters, &clusters))
    return static_cast<uint64_t>(sectorsPerCluster) * bytesPerSector * freeClusters;
  return ZIP_FREE_SPACE_UNKNOWN;
}

DWORD SystemMaxNameLength(const char *root) {
  DWORD longest = 0;
  if (!GetVolumeInformationA(root && root[0] ? root : nullptr, nullptr, 0, nullptr, &longest, nullptr, nullptr, 0))
    return 0;
  return longest;
}

BOOL SystemSetVolumeLabel(const char *root, const char *label) { return SetVolumeLabelA(root, label); }

HANDLE SystemOpenDevice(const char *name, DWORD access, DWORD share, DWORD flags) {
  return CreateFileA(name, access, share, nullptr, OPEN_EXISTING, flags, nullptr);
}

BOOL SystemDeviceControl(HANDLE device, DWORD code, void *in, DWORD inSize, void *out, DWORD outSize,
                         DWORD *returned) {
  return DeviceIoControl(device, code, in, inSize, out, outSize, returned, nullptr);
}

BOOL SystemWriteAt(HANDLE device, uint64_t offset, const void *bytes, DWORD length) {
  LARGE_INTEGER at;
  at.QuadPart = static_cast<LONGLONG>(offset);
  DWORD written = 0;
  return SetFilePointerEx(device, at, nullptr, FILE_BEGIN) && WriteFile(device, bytes, length, &written, nullptr) &&
         written == length;
}

BOOL SystemCloseDevice(HANDLE device) { return CloseHandle(device); }

BOOL SystemVolumeLabel(const char *root, char *out, size_t capacity) {
  return GetVolumeInformationA(root, out, static_cast<DWORD>(capacity), nullptr, nullptr, nullptr, nullptr, 0);
}

const ZipDriveServices kSystem = {
    SystemDriveRoot,     SystemDriveType,     SystemFreeSpace, SystemMaxNameLength, SystemSetVolumeLabel,
    SystemOpenDevice,    SystemDeviceControl, SystemWriteAt,   SystemCloseDevice,   SystemVolumeLabel,
};

// Read-only in a program's normal run; only a test installs another table.
const ZipDriveServices *g_services = &kSystem;

}  // namespace

const ZipDriveServices &ZipDrive(void) { return *g_services; }

const ZipDriveServices &ZipSystemDriveServices(void) { return kSystem; }

void ZipInstallDriveServices(const ZipDriveServices *services) { g_services = services ? services : &kSystem; }
