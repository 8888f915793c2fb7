#include "ZipCentralDirectory.h"

#include "ZipCommandEnd.h"
#include "ZipEntry.h"
#include "ZipMessages.h"
#include "ZipRecordWriter.h"
#include "ZipState.h"

namespace {

enum { kEmptyArchive = 138 };

uint64_t CentralHeaderLength(const ZipEntry *entry) {
  return ZIP_CENTRAL_HEADER_SIZE + uint64_t(entry->nameLength) + entry->centralZip64Length +
         entry->centralExtraLength + entry->centralCryptLength + entry->commentLength;
}

}  // namespace

int ZipWriteCentralDirectory(ZipState *state, HANDLE *output, int warn) {
  ZipWriterState &writer = state->writer;
  uint64_t start = writer.outputOffset;
  for (ZipEntry *entry = state->entries; entry; entry = entry->next) {
    int result = ZipWriteCentralHeader(state, entry, output);
    if (result) return result;
    writer.outputOffset += CentralHeaderLength(entry);
  }
  if (!state->entries && warn) ZipWarn(ZipMessageText(kEmptyArchive, 1), "");
  return ZipWriteEndRecords(state, state->entryCount, writer.outputOffset - start, start, state->loop.commentLength,
                            state->main.comment, output);
}
