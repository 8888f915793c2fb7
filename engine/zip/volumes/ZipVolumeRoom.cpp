#include "ZipVolumeRoom.h"

#include "../../common/MessageTable.h"
#include "../messages/ZipMessages.h"
#include "../messages/ZipProgress.h"
#include "../messages/ZipReport.h"
#include "../ZipCommand.h"
#include "../ZipFiles.h"
#include "../ZipState.h"
#include "ZipDrives.h"
#include "ZipFormatter.h"
#include "ZipSplitParts.h"
#include "ZipVolumePrepare.h"

namespace {

// Free space assumed while the closing records of a split archive go to the
// file with the archive's own name.
const uint64_t kUnmeasuredFree = 0x200000;
const uint64_t kSmallestPart = 65536;
const uint64_t kForceNextDisk = UINT64_MAX;
const uint64_t kForcedNeed = 512;
const DWORD kCopyPiece = 30720;
enum { kWriteProtected = 520 };

bool Valid(HANDLE h) { return h && h != INVALID_HANDLE_VALUE; }

bool SizeOf(HANDLE file, uint64_t *size) {
  LARGE_INTEGER s;
  if (!GetFileSizeEx(file, &s)) return false;
  *size = uint64_t(s.QuadPart);
  return true;
}

HANDLE CreateVolumeFile(const char *name) {
  return CreateFileA(name, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                     FILE_ATTRIBUTE_NORMAL, nullptr);
}

// The size the part being written may reach: its entry of the size list
// (entry 0 for parts past the list), never below 64 KiB, bounded by the
// volume's free space.
uint64_t PartLimit(const ZipState *state) {
  uint64_t limit = state->writer.volumeFree;
  const ZipMainSettings &main = state->main;
  if (!main.partSizes || main.partCount == 0) return limit;
  uint32_t index = state->writer.currentDisk + 1;
  uint64_t size = index < main.partCount ? main.partSizes[index] : main.partSizes[0];
  if (size < limit) limit = size < kSmallestPart ? kSmallestPart : size;
  return limit;
}

// A new volume: the writer's offsets count from its start.
void StartVolume(ZipState *state) {
  ++state->writer.currentDisk;
  state->writer.volumeBytes = 0;
  state->writer.outputOffset = 0;
}

uint64_t MeasuredFree(const ZipState *state, const char *path) {
  return state->volume.closingStage ? kUnmeasuredFree : ZipGetFreeSpace(path);
}

int NextPart(ZipState *state, HANDLE *output) {
  HANDLE finished = state->volumeFile;
  if (!Valid(finished) || !output || !Valid(*output)) return 10;
  bool flushed = FlushFileBuffers(finished) != FALSE;
  bool closed = CloseHandle(finished) && flushed;
  state->volumeFile = INVALID_HANDLE_VALUE;
  if (*output == finished) *output = INVALID_HANDLE_VALUE;
  if (!closed) return 10;
  bool zip64FirstPart = (state->multiVolControl & ZMV_ZIP64_AHEAD) && state->writer.currentDisk == 0;
  if (!state->volume.finishing && !zip64FirstPart)
    ZipMessageBox(ZIP_BOX_FILE_READY, MB_OK, int(state->writer.currentDisk + 1), 0, state->volumeName);
  ++state->volume.partsWritten;
  StartVolume(state);
  if (!ZipSplitPartName(state->archiveName, state->volumeLongNames, int(state->writer.currentDisk + 1),
                        state->volumeName, sizeof state->volumeName))
    return 10;
  state->volumeFile = CreateVolumeFile(state->volumeName);
  if (!Valid(state->volumeFile)) return 10;
  if (!Valid(*output)) *output = state->volumeFile;
  state->writer.volumeFree = MeasuredFree(state, state->volumeName);
  return 0;
}

// Copies the staging file to the disk file; 0, 9 or 10.
int CopyStaging(ZipState *state, HANDLE staging, uint64_t size) {
  uint8_t buffer[kCopyPiece];
  for (uint64_t done = 0; done < size;) {
    if (ZipCheckCancel(state)) return 9;
    DWORD piece = DWORD(size - done < kCopyPiece ? size - done : kCopyPiece), got = 0, written = 0;
    if (!ReadFile(staging, buffer, piece, &got, nullptr) || got != piece ||
        !WriteFile(state->output, buffer, piece, &written, nullptr) || written != piece)
      return 10;
    done += piece;
  }
  return FlushFileBuffers(state->output) ? 0 : 10;
}

int CopyStagingToDisk(ZipState *state) {
  HANDLE staging = state->volumeFile;
  uint64_t size;
  if (!Valid(staging) || !Valid(state->output)) return 10;
  if (!FlushFileBuffers(staging) || !SizeOf(staging, &size) || SetFilePointer(staging, 0, nullptr, FILE_BEGIN) != 0)
    return 10;
  if (ZipGetFreeSpace(state->archiveName) < size) return 10;
  int result = CopyStaging(state, staging, size);
  if (result) return result;
  CloseHandle(staging);
  state->volumeFile = CreateVolumeFile(state->volumeName);
  if (!Valid(state->volumeFile)) return 10;
  // The set's last bytes filling a disk exactly need no further, empty disk.
  if (!state->volume.finishing && ZipGetFreeSpace(state->archiveName) == 0 &&
      ZipMakeRoom(state, kForceNextDisk) != 0)
    return 9;
  return 0;
}

int Cancelled(ZipState *state) {
  state->cancel = 1;
  return 9;
}

// Until a writable disk is in the drive; 0 or 9.
int PromptForDisk(ZipState *state, int drive) {
  for (;;) {
    ZipDismountDrive(drive);
    if (ZipMessageBox(ZIP_BOX_DISK_PROMPT, MB_OKCANCEL, int(state->writer.currentDisk + 2), 0, nullptr) != IDOK)
      return Cancelled(state);
    if (ZipVolumeWritable(drive)) return 0;
    char text[ZIP_MESSAGE_SIZE];
    CopyTextCapped(text, sizeof text, ZipMessageText(kWriteProtected, 0));
    if (ZipMessageBox(ZIP_BOX_WARNING, MB_RETRYCANCEL, 0, 0, text) != IDRETRY) return Cancelled(state);
  }
}

// The next disk asked for, prepared and given the archive file; 0, 9 or 19.
int ChangeDisk(ZipState *state) {
  if (Valid(state->output)) CloseHandle(state->output);
  state->output = INVALID_HANDLE_VALUE;
  if (GetFileAttributesA(state->archiveName) == INVALID_FILE_ATTRIBUTES) return Cancelled(state);
  int drive = ZipDriveOfPath(state->archiveName);
  int result = PromptForDisk(state, drive);
  if (result) return result;
  StartVolume(state);
  if (!ZipPrepareVolume(drive, state->multiVolControl)) {
    if (state->cancel) return 9;
    ZipMessageBox(ZIP_BOX_WIPE_FAILED, MB_OK, 0, 0, nullptr);
    return 19;
  }
  if (ZipCreatePathFolders(state->archiveName) == 0) state->output = CreateVolumeFile(state->archiveName);
  if (!Valid(state->output)) {
    ZipReportError(13, state->archiveName, !state->promptsAllowed);
    return 19;
  }
  return 0;
}

uint64_t SizeOrZero(HANDLE file) {
  uint64_t size;
  return Valid(file) && SizeOf(file, &size) ? size : 0;
}

}  // namespace

uint64_t ZipVolumePosition(ZipState *state, HANDLE output) {
  bool staging = !(state->multiVolControl & ZMV_SPLIT_PARTS) && Valid(state->volumeFile) &&
                 output == state->volumeFile;
  return SizeOrZero(output) + (staging ? SizeOrZero(state->output) : 0);
}

uint64_t ZipSpaceLeft(ZipState *state) {
  uint64_t size;
  if (!Valid(state->volumeFile) || !SizeOf(state->volumeFile, &size)) return 0;
  uint64_t limit;
  if (state->multiVolControl & ZMV_SPLIT_PARTS) {
    limit = PartLimit(state);
  } else {
    limit = state->writer.volumeFree = ZipGetFreeSpace(state->archiveName);
  }
  return limit > size ? limit - size : 0;
}

int ZipNextVolume(ZipState *state, HANDLE *output) {
  return (state->multiVolControl & ZMV_SPLIT_PARTS) ? NextPart(state, output) : CopyStagingToDisk(state);
}

int ZipMakeRoom(ZipState *state, uint64_t length) {
  uint16_t control = state->multiVolControl;
  if (!(control & ZMV_MULTI_VOLUME) || (control & ZMV_SPLIT_PARTS)) return 0;
  bool started = false;
  for (uint64_t need = length;;) {
    if (need != kForceNextDisk && ZipGetFreeSpace(state->archiveName) >= need) break;
    int result = ChangeDisk(state);
    if (result) return result;
    started = true;
    if (need == kForceNextDisk) need = kForcedNeed;
  }
  if (started) state->writer.volumeFree = MeasuredFree(state, state->archiveName);
  return 0;
}
