// The memory item of function 6, until it moves beside the member
// compressor.
#pragma once

#include "ZipState.h"

// Function 6: a zero-filled zip entry record whose source and stored names
// are copies of name (none when name is empty), compressed between the memory
// I/O callbacks into a memory entry record; the record goes again afterwards.
// A failed copy is 4 with the detail of message 143.
int ZipCompressMemoryItem(const char *name, ZipState *state);
