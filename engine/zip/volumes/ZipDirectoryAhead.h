// The central directory written ahead (wMultiVolControl 0x1000, split parts):
// right after the span marker the first part reserves one central header per
// new file, with the values not yet known left open (CRC 0, sizes and offset
// in the forced Zip64 fields); when every member is written, those headers
// are written again in place with the final values, and the end records on
// the last part point back at them.
#pragma once

#include <windows.h>
#include <stdint.h>

struct ZipState;

// The reserved headers at the current position of the first part. 0, 4, or
// 10 when they would not fit in the first part or cannot be written.
int ZipWriteDirectoryAhead(ZipState *state, HANDLE *output);
// The headers of the entries written, in place on the first part (current is
// the open part's handle: the first one itself when the set has one part);
// the directory's length in *size. 0, 4, 9 when the first part no longer
// holds the reserved directory, 10 when it cannot be written.
int ZipRewriteDirectoryAhead(ZipState *state, HANDLE current, uint64_t *size);
