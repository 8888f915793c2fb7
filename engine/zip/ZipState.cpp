#include "ZipState.h"

#include <string.h>

#include "../common/StrongEncryption.h"
#include "update/ZipEntryList.h"

namespace {

// Set once by ZipTlsAlloc before any block exists; read-only afterwards.
DWORD g_slot = TLS_OUT_OF_INDEXES;
bool g_initialised = false;
HINSTANCE g_instance = nullptr;

const char kDefaultTitle[] = "Compress Progress";
const char kDefaultStoreSuffixes[] = ".Z:.zip:.zoo:.arc:.lzh:.arj";

}  // namespace

int ZipTlsAlloc(HINSTANCE instance) {
  if (g_initialised) return 1;
  DWORD slot = TlsAlloc();
  if (slot == TLS_OUT_OF_INDEXES) return 0;
  g_slot = slot;
  g_instance = instance;
  g_initialised = true;
  return 1;
}

int ZipTlsFree(void) {
  if (!g_initialised) return 0;
  if (!TlsFree(g_slot)) return 0;
  g_slot = TLS_OUT_OF_INDEXES;
  g_initialised = false;
  return 1;
}

ZipState *ZipCurrentState(void) {
  if (!g_initialised) return nullptr;
  return static_cast<ZipState *>(TlsGetValue(g_slot));
}

HINSTANCE ZipModuleInstance(void) { return g_instance; }

int ZipThreadStateDefaults(ZipState *state) {
  if (!state) return 0;
  state->activityLog = INVALID_HANDLE_VALUE;
  state->output = INVALID_HANDLE_VALUE;
  state->oldArchive = INVALID_HANDLE_VALUE;
  state->volumeFile = INVALID_HANDLE_VALUE;
  state->spareHandle = INVALID_HANDLE_VALUE;
  strcpy(state->progressTitle, kDefaultTitle);
  state->level = 6;
  state->forcedMethod = -1;
  state->promptsAllowed = 1;
  state->storeSuffixes = kDefaultStoreSuffixes;
  return 1;
}

int ZipThreadStateCreate(void) {
  if (!g_initialised) return 0;
  auto *state = static_cast<ZipState *>(GlobalAlloc(GPTR, sizeof(ZipState)));
  if (!state) return 0;
  if (!TlsSetValue(g_slot, state)) {
    GlobalFree(state);
    return 0;
  }
  ZipThreadStateDefaults(state);
  return 1;
}

int ZipStrongContextAlloc(ZipState *state) {
  if (state->strongContext) return 1;
  state->strongContext = static_cast<uint8_t *>(GlobalAlloc(GPTR, ZIP_STRONG_CONTEXT_SIZE));
  state->strongCount = 0;
  state->strongFlag = 0;
  return state->strongContext != nullptr;
}

void ZipStrongContextFree(ZipState *state) {
  if (state->strongContext) GlobalFree(state->strongContext);
  state->strongContext = nullptr;
  state->strongCount = 0;
  state->strongFlag = 0;
}

void ZipEncryptionRelease(ZipState *state) { StrongEncryptCleanup(&state->cipher); }

int ZipThreadStateRelease(void) {
  ZipState *state = ZipCurrentState();
  if (!state) return 0;
  ZipFreeEntryList(state);
  ZipCipherStateRelease(&state->cipher);
  ZipStrongContextFree(state);
  DeflateStateRelease(&state->encoder);
  GlobalFree(state);
  TlsSetValue(g_slot, nullptr);
  return 1;
}

void ZipMainDefaults(ZipState *state) {
  ZipMainSettings &main = state->main;
  state->result = 0;
  main.mode = ZIP_MODE_ADD;
  main.recurse = 0;
  main.moveSources = 0;
  main.storeDirectoryNames = 1;
  main.upperCaseNames = 0;
  main.repairLevel = 0;
  main.includeSysHidden = 0;
  main.volumeLabelEntry = 0;
  main.addDirectoryEntries = 1;
  main.archiveTimeFromNewest = 0;
  main.growInPlace = 0;
  main.afterDate = 0;
  state->forcedMethod = -1;
  state->level = 6;
  state->convertLineEnds = 0;
  state->promptsAllowed = 1;
  state->storeSuffixes = kDefaultStoreSuffixes;
}
