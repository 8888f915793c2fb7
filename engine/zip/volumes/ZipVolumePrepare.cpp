#include "ZipVolumePrepare.h"

#include <windows.h>
#include <stdio.h>
#include <string.h>

#include "../../common/MessageTable.h"
#include "../ZipCommand.h"
#include "../ZipState.h"
#include "ZipDrives.h"
#include "ZipDriveServices.h"
#include "ZipFormatter.h"
#include "ZipWipe.h"

namespace {

enum { kLabelLength = 11 };

// Formats or wipes as asked, with the progress texts the application saw
// before put back afterwards.
bool FormatOrWipe(ZipState *state, int drive, uint16_t control) {
  char minor[ZIP_STATUS_TEXT_SIZE], major[ZIP_STATUS_TEXT_SIZE];
  memcpy(minor, state->minorText, sizeof minor);
  memcpy(major, state->majorText, sizeof major);
  bool done = true;
  if (control & ZMV_FORMAT) done = ZipFormatDrive(drive, (control & ZMV_LOW_DENSITY) != 0) != 0;
  else if (control & ZMV_WIPE) done = ZipWipeVolume(drive, control) != 0 && !state->cancel;
  memcpy(state->minorText, minor, sizeof minor);
  memcpy(state->majorText, major, sizeof major);
  return done;
}

}  // namespace

void ZipVolumeLabelText(uint32_t disk, char *out, size_t capacity) {
  char label[32];
  snprintf(label, sizeof label, "PKBACK# .%03u", disk);
  size_t length = 0;
  for (const char *c = label; *c && length < kLabelLength && length + 1 < capacity; ++c)
    if (*c != '.') out[length++] = *c;
  out[length] = '\0';
}

int ZipSetVolumeLabel(int drive, const char *label) {
  char root[ZIP_PATH_SIZE], kept[kLabelLength + 1];
  if (!ZipDriveRoot(drive, root, sizeof root)) return 0;
  size_t length = 0;
  for (const char *c = label; *c;) {
    const char *next = CharNextA(c);
    size_t width = size_t(next - c);
    if (*c == '.') {
      c = next;
      continue;
    }
    if (length + width > kLabelLength) break;
    memcpy(kept + length, c, width);
    length += width;
    c = next;
  }
  kept[length] = '\0';
  return ZipDrive().setVolumeLabel(root, kept) ? 1 : 0;
}

int ZipVolumeWritable(int drive) {
  ZipState *state = ZipCurrentState();
  if (state && (state->multiVolControl & (ZMV_FORMAT | ZMV_SPLIT_PARTS))) return 1;
  if (ZipDriveType(drive) == DRIVE_CDROM) return 1;
  char root[ZIP_PATH_SIZE], probe[MAX_PATH + ZIP_PATH_SIZE];
  if (!ZipDriveRoot(drive, root, sizeof root) || !GetTempFileNameA(root, "~mv", 0, probe)) return 0;
  DeleteFileA(probe);
  return 1;
}

int ZipPrepareVolume(int drive, uint16_t control) {
  ZipState *state = ZipCurrentState();
  if (!state) return 0;
  bool prepared = true;
  if (!(control & ZMV_SPLIT_PARTS)) {
    prepared = FormatOrWipe(state, drive, control);
    char label[kLabelLength + 1];
    ZipVolumeLabelText(state->writer.currentDisk + 1, label, sizeof label);
    if (prepared) ZipSetVolumeLabel(drive, label);
  }
  state->writer.volumeFree = ZipGetFreeSpace(state->archiveName);
  return prepared ? 1 : 0;
}
