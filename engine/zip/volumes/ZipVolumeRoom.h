// Room on the current volume of a multi-volume run, as the output path asks
// for it. The multi-volume layer answers; a single-volume run never asks.
//
// Handles: while a split part or staging file is open (state->volumeFile),
// archive bytes are written through it, and a change of part puts the new
// part's handle in its place. A removable disk's archive file is
// state->output; a disk change closes it and opens it again on the new disk,
// where a staging file is copied. Every volume change counts the disk up and
// starts the writer's output offset and volume byte count at 0.
#pragma once

#include <windows.h>
#include <stdint.h>

struct ZipState;

// Where the next archive byte lands on the current volume of a multi-volume
// run: the open split part's size, the disk file's and the staging file's
// sizes together, or the disk file's size. A volume change starts the
// writer's output offset again at 0; writers take this after a write that
// may have changed volumes.
uint64_t ZipVolumePosition(ZipState *state, HANDLE output);
// Bytes that still fit on the open split part or staging file.
uint64_t ZipSpaceLeft(ZipState *state);
// Closes the open part and opens the next one in *output; 0 or a result code.
int ZipNextVolume(ZipState *state, HANDLE *output);
// Makes sure length bytes fit on the removable disk, prompting for the next
// one when needed; 0, or a result code (the cancel flag set when the
// application cancelled).
int ZipMakeRoom(ZipState *state, uint64_t length);
