#include "ZipEntryList.h"

#include <stdlib.h>

#include "../ZipCommand.h"
#include "../ZipStrings.h"

namespace {

int CompareEntries(const void *a, const void *b) {
  return lstrcmpiA((*static_cast<ZipEntry *const *>(a))->name, (*static_cast<ZipEntry *const *>(b))->name);
}

int CompareNameKey(const void *key, const void *entry) {
  return lstrcmpiA(static_cast<const char *>(key), static_cast<const ZipEntry *>(entry)->name);
}

}  // namespace

int ZipBuildNameIndex(ZipState *state) {
  free(state->nameIndex);
  state->nameIndex = nullptr;
  if ((state->subOptions & ZSO_NO_NAME_INDEX) || !state->entryCount) return 0;
  state->nameIndex = static_cast<ZipEntry **>(malloc(state->entryCount * sizeof(ZipEntry *)));
  if (!state->nameIndex) return 4;
  uint32_t count = 0;
  for (ZipEntry *entry = state->entries; entry && count < state->entryCount; entry = entry->next)
    state->nameIndex[count++] = entry;
  qsort(state->nameIndex, count, sizeof(ZipEntry *), CompareEntries);
  return 0;
}

ZipEntry *ZipFindEntry(const char *name, const ZipState *state) {
  if (!state->nameIndex || (state->subOptions & ZSO_NO_NAME_INDEX)) return nullptr;
  void **found = ZipBinarySearch(name, reinterpret_cast<void **>(state->nameIndex), state->entryCount, CompareNameKey);
  return found ? static_cast<ZipEntry *>(*found) : nullptr;
}

void ZipAppendEntry(ZipEntry *entry, ZipState *state) {
  entry->next = nullptr;
  ZipEntry *tail = state->loop.entryTail;
  if (!tail || tail->next)
    for (tail = state->entries; tail && tail->next;) tail = tail->next;
  if (tail) tail->next = entry;
  else state->entries = entry;
  state->loop.entryTail = entry;
  ++state->entryCount;
}

void ZipForgetKeptRecords(ZipEntry *entry) {
  free(entry->storedName);
  free(entry->keptCentralExtra);
  entry->storedName = entry->keptCentralExtra = nullptr;
  entry->keptCentralExtraLength = 0;
  entry->keptCentral = 0;
}

void ZipFreeEntry(ZipEntry *entry) {
  if (entry->centralExtra != entry->localExtra) free(entry->centralExtra);
  free(entry->localExtra);
  free(entry->comment);
  ZipForgetKeptRecords(entry);
  free(entry->pendingName);
  if (entry->path != entry->name) free(entry->path);
  free(entry->name);
  free(entry);
}

void ZipFreeEntryList(ZipState *state) {
  for (ZipEntry *entry = state->entries; entry;) {
    ZipEntry *next = entry->next;
    ZipFreeEntry(entry);
    entry = next;
  }
  state->entries = nullptr;
  state->loop.entryTail = nullptr;
  state->entryCount = 0;
  free(state->nameIndex);
  state->nameIndex = nullptr;
  free(state->main.comment);
  state->main.comment = nullptr;
  state->loop.commentLength = 0;
  state->loop.preambleSize = 0;
  state->centralOffset = 0;
  state->entryListKept = 0;
  state->lastArchiveName[0] = '\0';
  state->lastArchiveTime = FILETIME{};
  state->lastArchiveSize = ~0ull;
}
