// Zip-side routines that the main loop, the member compressor and the file
// list provide. Until they stand, each answers through ZipNotSupported, so a
// caller gets result 17 with a plain detail.
#pragma once

#include "ZipCommand.h"
#include "ZipState.h"

// Reports 17 ("Could not complete operation") with the given detail and
// returns 17.
int ZipNotSupported(ZipState *state, const char *detail);

// Functions 1-5 and 7.
int ZipMain(ZIPCMDSTRUCT *record, ZipState *state);
// Function 6: a zero-filled zip entry record whose source and stored names
// are copies of name (none when name is empty), compressed between the memory
// I/O callbacks into a memory entry record; the record goes again afterwards.
// A failed copy is 4 with the detail of message 143.
int ZipCompressMemoryItem(const char *name, ZipState *state);
// The entry list, the name index and the new-file list of the state.
void ZipFreeEntryList(ZipState *state);
// Frees the pattern array built from the record.
void ZipFreePatterns(ZipState *state);
// End of a command: frees the main loop's buffers and stores the code.
int ZipFinish(ZipState *state, int code);
