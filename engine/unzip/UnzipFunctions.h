// The eleven unzip functions behind UnzipExecute.
#pragma once
#include "UnzipState.h"

// Runs the command's function on the checked state; an unzip result code.
int UnzipDispatch(UnzipState *state);

// Function 10's road in: reads exactly wanted bytes of the entry record
// through the memory callback, advancing the read position. 0, or 2 when the
// record ends early, 48 when the callback cancels, 5 on any other answer.
int MemoryReadExact(UnzipState *state, uint8_t *buffer, uint32_t wanted);
