#include "UnzipDriveServices.h"

static UINT SystemDriveType(const char *root) { return GetDriveTypeA(root); }

static BOOL SystemVolumeLabel(const char *root, char *out, size_t capacity) {
  return GetVolumeInformationA(root, out, static_cast<DWORD>(capacity), nullptr, nullptr, nullptr, nullptr, 0);
}

static const UnzipDriveServices kSystemDrive = {SystemDriveType, SystemVolumeLabel};
static const UnzipDriveServices *gDrive = &kSystemDrive;

const UnzipDriveServices &UnzipDrive() { return *gDrive; }

void UnzipInstallDriveServices(const UnzipDriveServices *services) { gDrive = services ? services : &kSystemDrive; }
