#include "ZipCommandEnd.h"

#include <stdio.h>
#include <stdlib.h>

#include "messages/ZipMessages.h"
#include "messages/ZipReport.h"
#include "update/ZipArchiveReader.h"
#include "writer/ZipCentralDirectory.h"
#include "ZipCommand.h"
#include "ZipEntry.h"
#include "ZipExecute.h"
#include "ZipFileList.h"
#include "ZipSourceFiles.h"
#include "ZipState.h"

namespace {

enum { kEmptyForOldAsLatest = 101, kWarningMax = 2047 };

void CloseHandleOf(HANDLE *handle) {
  if (*handle != INVALID_HANDLE_VALUE) CloseHandle(*handle);
  *handle = INVALID_HANDLE_VALUE;
}

bool WritesToArchiveItself(const ZipState *state) {
  return state->growingInPlace && !(state->multiVolControl & ZMV_MULTI_VOLUME);
}

// A grown archive is closed with the entries written so far, so it stays
// readable; a temporary archive goes.
void CloseOutput(ZipState *state) {
  if (!state->outputName[0]) return;
  if (state->output != INVALID_HANDLE_VALUE && WritesToArchiveItself(state)) {
    LARGE_INTEGER end = {}, at;
    if (SetFilePointerEx(state->output, end, &at, FILE_END)) {
      state->writer.outputOffset = static_cast<uint64_t>(at.QuadPart);
      ZipWriteCentralDirectory(state, &state->output, 0);
      SetEndOfFile(state->output);
    }
    CloseHandleOf(&state->output);
  } else if (state->multiVolControl & ZMV_MULTI_VOLUME) {
    // The command's own cleanup removes the parts.
    if (state->output == state->volumeFile) state->volumeFile = INVALID_HANDLE_VALUE;
    CloseHandleOf(&state->output);
  } else {
    CloseHandleOf(&state->output);
    if (!(state->multiVolControl & ZMV_SPLIT_PARTS)) DeleteFileA(state->outputName);
  }
  state->outputName[0] = '\0';
}

void FreeCommandBuffers(ZipState *state) {
  ZipMainSettings &main = state->main;
  free(main.partSizes);
  main.partSizes = nullptr;
  main.partCount = 0;
  free(main.tempFolder);
  main.tempFolder = nullptr;
}

void ReleaseLists(ZipState *state, int code) {
  if (code == 3) return;
  ZipFreeNewFiles(state);
  ZipFreePatterns(state);
}

uint32_t NewestEntryTime(const ZipState *state) {
  uint32_t newest = 0;
  for (const ZipEntry *entry = state->entries; entry; entry = entry->next)
    if (entry->dosDateTime > newest) newest = entry->dosDateTime;
  return newest;
}

}  // namespace

int ZipAbort(int code, const char *detail) {
  ZipState *state = ZipCurrentState();
  if (!state) return code;
  ZipReportError(code, detail, !state->promptsAllowed);
  CloseOutput(state);
  CloseHandleOf(&state->oldArchive);
  FreeCommandBuffers(state);
  ZipFreePassword(state);
  ReleaseLists(state, code);
  return code;
}

int ZipAbortIncomplete(const char *detail) { return ZipAbort(17, detail); }

void ZipWarn(const char *text, const char *second) {
  ZipState *state = ZipCurrentState();
  if (!state || !state->promptsAllowed) return;
  char joined[kWarningMax + 1];
  snprintf(joined, sizeof joined, "%s%s", text ? text : "", second ? second : "");
  ZipMessageBox(ZIP_BOX_WARNING, MB_OK, 0, 0, joined);
}

int ZipFinish(ZipState *state, int code) {
  if (state->archiveName[0] && state->main.archiveTimeFromNewest && code == 0) {
    if (state->entries) ZipSetFileDosTime(state->archiveName, NewestEntryTime(state));
    else ZipWarn(ZipMessageText(kEmptyForOldAsLatest, 1), "");
  }
  FreeCommandBuffers(state);
  // Sources go only once the archive that holds them stands complete.
  if (state->main.moveSources && code == 0 && state->loop.archiveReplaced) ZipDeleteMovedFiles(state);
  ReleaseLists(state, code);
  state->result = code;
  return code;
}
