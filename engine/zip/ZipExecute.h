// The zip side's one entry: checks and widens the caller's ZIPCMDSTRUCT,
// decodes it into the calling thread's state block and dispatches the
// function code. Returns a zip result code (0 success ... 22).
#pragma once

#include "ZipCommand.h"
#include "ZipState.h"

extern "C" int WINAPI ZipExecute(ZIPCMDSTRUCT *record);

// Function 6: one member compressed between the memory I/O callbacks.
int ZipMemoryEntry(ZIPCMDSTRUCT *record, ZipState *state);

// Level and method of a memory entry from compFactor: clamped to 1-19, above
// 9 Deflate64 (forced method 9) at level - 10, else Deflate (-1).
void ZipMemoryEntryLevel(int compFactor, int *level, int *forcedMethod);

// Takes the record's password into the state (cut to 128 characters for the
// AES kinds, 65 for the traditional one) and prepares the AES state and salt
// the kind needs. 0, or 16 (no password) or 4 (no memory), already reported
// with the detail of message 143.
int ZipTakePassword(const char *password, ZipState *state);
void ZipFreePassword(ZipState *state);
