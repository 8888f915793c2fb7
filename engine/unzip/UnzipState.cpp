#include "UnzipState.h"

#include <cstring>

static DWORD gUnzipSlot = TLS_OUT_OF_INDEXES;
static int gUnzipInitialised;
HINSTANCE gUnzipInstance;  // owner of the engine's dialogs

static const char kDefaultProgressTitle[] = "Extract Progress";

UnzipState *UnzipStateOfThread() {
  if (!gUnzipInitialised) return nullptr;
  return static_cast<UnzipState *>(TlsGetValue(gUnzipSlot));
}

UnzipCipherState *UnzipCipherStateOfThread() {
  UnzipState *state = UnzipStateOfThread();
  return state ? &state->cipher : nullptr;
}

int UnzipStateDefaults(UnzipState *state) {
  if (!state) return 0;
  state->archiveHandle = INVALID_HANDLE_VALUE;
  state->volumeHandle = INVALID_HANDLE_VALUE;
  state->activityLog = INVALID_HANDLE_VALUE;
  DirectoryCacheFree(&state->directory.cache);
  state->directory.endRecordRead = 0;
  state->directory.nextIndex = 0;
  state->directory.end.endOffset = -1;
  state->directory.end.zip64Offset = -1;
  memset(&state->directory.member, 0, sizeof state->directory.member);
  state->memBlock = nullptr;
  state->memBlockSize = 0;
  state->startingOffset = 0;
  state->readPosition = 0;
  state->writePosition = 0;
  lstrcpynA(state->progressTitle, kDefaultProgressTitle, sizeof state->progressTitle);
  return 1;
}

int UnzipThreadInit(HINSTANCE instance) {
  if (gUnzipInitialised) return 1;
  gUnzipSlot = TlsAlloc();
  if (gUnzipSlot == TLS_OUT_OF_INDEXES) return 0;
  gUnzipInstance = instance;
  gUnzipInitialised = 1;
  return 1;
}

int UnzipThreadAttach() {
  if (!gUnzipInitialised) return 0;
  // A second attach on the thread starts afresh instead of losing the old block.
  if (UnzipStateOfThread()) UnzipThreadStateRelease();
  auto *state = static_cast<UnzipState *>(GlobalAlloc(GPTR, sizeof(UnzipState)));
  if (!state) return 0;
  UnzipStateDefaults(state);
  if (!TlsSetValue(gUnzipSlot, state)) {
    GlobalFree(state);
    return 0;
  }
  return 1;
}

static void FreeBuffer(uint8_t **buffer) {
  if (*buffer) GlobalFree(*buffer);
  *buffer = nullptr;
}

int UnzipThreadStateRelease() {
  UnzipState *state = UnzipStateOfThread();
  if (!state) return 0;
  if (IsBadReadPtr(state, sizeof *state)) return 1;
  DirectoryCacheFree(&state->directory.cache);
  FreeBuffer(&state->inputBuffer);
  FreeBuffer(&state->outputBuffer);
  UnzipCipherStateRelease(&state->cipher);
  SecureZeroMemory(state->password, sizeof state->password);
  GlobalFree(state);
  TlsSetValue(gUnzipSlot, nullptr);
  return 1;
}

int UnzipThreadTerm() {
  if (!gUnzipInitialised || !TlsFree(gUnzipSlot)) return 0;
  gUnzipSlot = TLS_OUT_OF_INDEXES;
  gUnzipInitialised = 0;
  return 1;
}
