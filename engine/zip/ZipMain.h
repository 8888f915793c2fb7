// The file-based functions of the zip entry: freshen, delete, update, add
// and the memory-to-memory add.
#pragma once

#include "ZipCommand.h"
#include "ZipState.h"

// Functions 1-5 and 7. The result, also left in the state.
int ZipMain(ZIPCMDSTRUCT *record, ZipState *state);

// The after-date of lpszDate ("MMDDYY"), midnight, as a DOS date-time; 0
// when the text is not such a date.
uint32_t ZipAfterDate(const char *text);
