// Inside the zip side's entry (ZipExecute, declared in ZipApi.h): the memory
// entry function and the password and level rules it shares with the main
// loop.
#pragma once

#include "ZipApi.h"
#include "ZipState.h"

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
