#include <string.h>

#include "../../common/MessageTable.h"
#include "../messages/ZipReport.h"
#include "../ZipCommand.h"
#include "../ZipFiles.h"
#include "../ZipState.h"
#include "../ZipStrings.h"
#include "ZipDrives.h"
#include "ZipSplitParts.h"

namespace {

// A staging file below this much free room could not hold a useful volume.
const uint64_t kStagingMinimumFree = 0x1FFFFF;

int Fail(ZipState *state, int code, const char *detail) {
  ZipReportError(code, detail, !state->promptsAllowed);
  return code;
}

HANDLE CreateOutput(const char *name) {
  return CreateFileA(name, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                     FILE_ATTRIBUTE_NORMAL, nullptr);
}

int OpenFirstPart(ZipState *state) {
  state->volumeLongNames = ZipVolumeTakesLongNames(state->archiveName);
  if (!ZipSplitPartName(state->archiveName, state->volumeLongNames, 1, state->volumeName, sizeof state->volumeName))
    return Fail(state, 10, state->archiveName);
  if (ZipCreatePathFolders(state->volumeName)) return Fail(state, 15, state->volumeName);
  state->volumeFile = CreateOutput(state->volumeName);
  return state->volumeFile == INVALID_HANDLE_VALUE ? Fail(state, 10, state->volumeName) : 0;
}

// The staging file of a removable target lives on a fixed drive with room.
int OpenStagingFile(ZipState *state, const char *tempPath) {
  char folder[ZIP_PATH_SIZE];
  ZipCopyUnquoted(folder, tempPath);
  if (ZipDriveTypeIsRemovable(ZipDriveOfPath(folder)) || ZipGetFreeSpace(folder) <= kStagingMinimumFree ||
      !ZipUniqueFileName(folder, state->volumeName, sizeof state->volumeName))
    return Fail(state, 10, folder);
  state->volumeFile = CreateOutput(state->volumeName);
  return state->volumeFile == INVALID_HANDLE_VALUE ? Fail(state, 10, state->volumeName) : 0;
}

}  // namespace

int ZipOpenMultiVolumeOutput(ZipState *state, const char *tempPath) {
  state->volumeName[0] = '\0';
  return (state->multiVolControl & ZMV_SPLIT_PARTS) ? OpenFirstPart(state) : OpenStagingFile(state, tempPath);
}

void ZipCloseMultiVolumeOutput(ZipState *state, int result) {
  if (state->volumeFile != INVALID_HANDLE_VALUE) CloseHandle(state->volumeFile);
  state->volumeFile = INVALID_HANDLE_VALUE;
  if (!(state->multiVolControl & ZMV_SPLIT_PARTS)) {
    if (state->volumeName[0]) DeleteFileA(state->volumeName);
  } else if (result != 0) {
    ZipDeleteSplitParts(state->archiveName, 1);
    if (state->volumeName[0]) DeleteFileA(state->volumeName);
    DeleteFileA(state->archiveName);
  }
  state->volumeName[0] = '\0';
}
