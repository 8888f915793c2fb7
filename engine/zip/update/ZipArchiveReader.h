// Reading the archive a command updates: its members as zip entry records
// in archive order, where its central directory began, its comment and
// preamble, and the name index; or, for a new multi-volume archive, the
// first volume made ready. And the removal of moved sources afterwards.
#pragma once

#include "../ZipState.h"

// 0 when the archive named is a usable single-volume archive or absent;
// 4, 8, 11, 13, 18 or 21.
int ZipCheckEndRecord(const char *name, ZipState *state);
// Reads state->archiveName at the state's repair level. 0, or 2, 3, 4, 9,
// 11, 15, 19 and the codes of ZipCheckEndRecord; warnings name the faults.
int ZipReadArchive(ZipState *state);
// Deletes the sources of the entries this command wrote from them, and the
// folders left empty. 0, or 4.
int ZipDeleteMovedFiles(ZipState *state);
