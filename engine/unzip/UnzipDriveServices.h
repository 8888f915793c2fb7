// What the unzip side asks of a drive: its type and its volume label. They
// sit in one table so that a removable drive with labelled disks can be
// simulated: the system's table is in use unless a caller installs another.
#pragma once
#include <windows.h>
#include <cstddef>

struct UnzipDriveServices {
  // GetDriveTypeA of a root ("X:\").
  UINT (*driveType)(const char *root);
  // The label of the volume at the root into out (capacity bytes); FALSE
  // when the volume cannot tell.
  BOOL (*volumeLabel)(const char *root, char *out, size_t capacity);
};

// The table in use.
const UnzipDriveServices &UnzipDrive();
// Puts a table in place of the system's for the whole process (null puts the
// system's back); the table must outlive its use.
void UnzipInstallDriveServices(const UnzipDriveServices *services);
