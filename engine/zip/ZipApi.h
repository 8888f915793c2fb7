// What a caller of the zip side uses: the command record and the entry, and
// the per-thread life cycle around it. Call order, once per command:
// ZipTlsAlloc, ZipThreadStateCreate, ZipExecute, ZipThreadStateRelease,
// ZipTlsFree. ZipExecute creates the state block itself when the thread has
// none (result 4 when it cannot).
#pragma once

#include <windows.h>

#include "ZipCommand.h"

// Once per process (later calls return 1 at once); 0 when no slot can be had.
int ZipTlsAlloc(HINSTANCE instance);
// 1 on success.
int ZipTlsFree(void);
// The calling thread's state block with its defaults; 0 when the side is not
// initialised or the block cannot be made.
int ZipThreadStateCreate(void);
// Frees the calling thread's block; 0 when it has none.
int ZipThreadStateRelease(void);

// Runs one command; returns a zip result code (0 success ... 22).
int ZipExecute(ZIPCMDSTRUCT *record);
