// The output layer: a member's decoded bytes, buffered, counted into the
// running CRC-32 and handed to the output file, the caller's memory block or
// the memory I/O callback.
#pragma once
#include <cstddef>
#include <cstdint>
#include "UnzipState.h"

// Starts a member's output. limit is the member's uncompressed size, or
// UINT64_MAX when it is not known (function 10).
void OutputStart(UnzipState *state, int sink, HANDLE file, uint64_t limit);
// Takes count decoded bytes; 0 to go on, nonzero when decoding must stop (an
// output error or the cancel flag).
int OutputWrite(UnzipState *state, const uint8_t *bytes, size_t count);
// Hands the buffer on: 0, or 50 once the output has failed.
int FlushOutput(UnzipState *state);
// The finished CRC-32 of what was handed on.
uint32_t OutputCrc(const UnzipState *state);

// Sizes the state's input and output buffers for the command; 0, or 5.
int MemberBuffersPrepare(UnzipState *state);
