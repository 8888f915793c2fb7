// A removable drive simulated through the zip side's drive services: every
// root on its letter answers with the simulated type, free space, name length
// and label, its root stands for a scratch folder, and its raw-disk calls are
// recorded. Other drives answer as the system does.
#pragma once

#include <windows.h>
#include <winioctl.h>

#include <map>
#include <string>
#include <vector>

#include "volumes/ZipDriveServices.h"

struct SimulatedDrive {
  char letter = 'A';
  std::string folder;            // what the root stands for (files counted for the free space)
  std::string root;              // what the root stands for, when not the folder
  UINT type = DRIVE_REMOVABLE;
  uint64_t capacity = 1457664;   // free space = capacity - bytes of the folder's files
  DWORD maxNameLength = 255;
  std::vector<std::string> labels;

  // Raw disk.
  std::vector<DISK_GEOMETRY> media;  // what IOCTL_DISK_GET_MEDIA_TYPES reports
  int opens = 0;
  int closes = 0;
  int locks = 0;
  int unlocks = 0;
  int dismounts = 0;
  std::vector<FORMAT_PARAMETERS> formatted;
  std::map<uint64_t, std::vector<uint8_t>> written;  // by byte offset
};

// Installs the drive's services until the object goes.
class SimulatedDriveScope {
 public:
  explicit SimulatedDriveScope(SimulatedDrive *drive);
  ~SimulatedDriveScope();
};

// The 1.44 MB drive's media list: 720 KB first, then 1.44 MB.
std::vector<DISK_GEOMETRY> Media144();
