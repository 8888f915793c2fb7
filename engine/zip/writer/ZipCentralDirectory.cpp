#include "ZipCentralDirectory.h"

#include "../messages/ZipMessages.h"
#include "../ZipCommandEnd.h"
#include "../ZipEntry.h"
#include "../ZipState.h"
#include "ZipRecordWriter.h"

namespace {

enum { kEmptyArchive = 138 };

uint64_t CentralHeaderLength(const ZipEntry *entry) {
  return ZIP_CENTRAL_HEADER_SIZE + uint64_t(entry->nameLength) + entry->centralZip64Length +
         entry->centralExtraLength + entry->centralCryptLength + entry->commentLength;
}

}  // namespace

int ZipWriteCentralDirectory(ZipState *state, HANDLE *output, int warn) {
  ZipWriterState &writer = state->writer;
  uint64_t start = writer.outputOffset, size = 0;
  for (ZipEntry *entry = state->entries; entry; entry = entry->next) {
    uint32_t disk = writer.currentDisk;
    int result = ZipWriteCentralHeader(state, entry, output);
    if (result) return result;
    // Across volumes the directory starts where its first header landed.
    if (entry == state->entries && writer.currentDisk != disk) start = 0;
    writer.outputOffset += CentralHeaderLength(entry);
    size += CentralHeaderLength(entry);
  }
  if (!state->entries && warn) ZipWarn(ZipMessageText(kEmptyArchive, 1), "");
  return ZipWriteEndRecords(state, state->entryCount, size, start, state->loop.commentLength, state->main.comment,
                            output);
}
