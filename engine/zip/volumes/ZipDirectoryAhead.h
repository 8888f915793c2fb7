// The central directory written ahead (wMultiVolControl 0x1000, split parts
// or removable disks): right after the span marker the first volume reserves
// one central header per new file, each file offered to the rename callback
// first, with the values not yet known left open (CRC 0, sizes and offset in
// the forced Zip64 fields); when every member is written, those headers are
// written again in place with the final values, and the end records on the
// last volume point back at them. On disks the end records come first, and
// then the first disk is asked back.
#pragma once

#include <windows.h>
#include <stdint.h>

struct ZipState;

// True when the command writes the directory ahead.
bool ZipWritesDirectoryAhead(const ZipState *state);

// The reserved headers at the current position of the first volume. 0, 4,
// or 10 when they would not fit in the first volume or cannot be written.
int ZipWriteDirectoryAhead(ZipState *state, HANDLE *output);
// The headers of the entries written, in place on the first part (current is
// the open part's handle: the first one itself when the set has one part);
// the directory's length in *size. 0, 4, 9 when the first part no longer
// holds the reserved directory, 10 when it cannot be written.
int ZipRewriteDirectoryAhead(ZipState *state, HANDLE current, uint64_t *size);
// The end records of the set, pointing back at the directory of
// directorySize bytes behind the first volume's span marker. 0 or a code.
int ZipWriteEndRecordsAhead(ZipState *state, uint64_t directorySize, HANDLE *output);
// Removable disks: the end records close the last disk (through the staging
// file when there is one); then the first disk is asked for until the one in
// the drive holds the reserved directory ("Invalid First Disk" for any
// other), and the final headers are written over it. 0, 4, 10, or 9 when the
// user refuses the first disk: the last disk's end records are then taken off
// again, so that the unfinished set is not read as whole.
int ZipFinishDirectoryAheadOnDisks(ZipState *state);
