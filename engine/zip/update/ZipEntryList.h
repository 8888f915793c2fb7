// The entry list of the archive being updated: the case-insensitive name
// index the file list searches, and the release of the whole list.
#pragma once

#include "../ZipEntry.h"
#include "../ZipState.h"

// Bits of an entry's selection mark.
enum : int {
  ZIP_MARK_PROCESS = 1,  // compress again (or delete) in this command
  ZIP_MARK_MOVE = 2,     // its source goes once the archive stands
  ZIP_MARK_ADDED = 4,    // written from its source by this command
};

// Builds the index over the state's entries unless wZipSubOptions bit 15
// forbids it. 0, or 4.
int ZipBuildNameIndex(ZipState *state);
// The entry whose stored name equals the name, ignoring case; null without
// an index.
ZipEntry *ZipFindEntry(const char *name, const ZipState *state);
// Appends the entry at the end of the list.
void ZipAppendEntry(ZipEntry *entry, ZipState *state);
// Releases the raw records kept for a member copied over as it stands.
void ZipForgetKeptRecords(ZipEntry *entry);
// Frees one record with its texts and extra buffers.
void ZipFreeEntry(ZipEntry *entry);
// Every entry, the index and the comment; clears the preamble, the old
// central directory's offset and the remembered archive.
void ZipFreeEntryList(ZipState *state);
