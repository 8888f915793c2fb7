// The closing records of an archive: every entry's central header from the
// current write position, then the end records with the archive comment.
#pragma once

#include <windows.h>

struct ZipState;

// 0, or the writer's code. Warns "zip file empty" when there are no entries
// and warn is set.
int ZipWriteCentralDirectory(ZipState *state, HANDLE *output, int warn);
