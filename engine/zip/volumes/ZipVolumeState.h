// What the multi-volume layer and the floppy formatter keep per thread,
// inside the zip state block, beside the writer's disk bookkeeping
// (ZipWriterState: current disk, bytes on this volume, its free space).
#pragma once

#include <stdint.h>

struct ZipVolumeState {
  uint32_t partsWritten;  // split parts finished so far
  int closingStage;       // set by the main loop while a split archive's closing records are written
  int finishing;          // set by the main loop when the command ends
  // Bytes of the central directory written ahead on the first part.
  uint64_t aheadSize;
  // The drive the BIOS path of the formatter is formatting (-1 when none),
  // and where it stands.
  int formatDrive;
  int formatHead;
  int formatCylinder;
};
