// Where a member's bytes come from: a file, the caller's memory block, or the
// memory I/O callback. Each reader fills at most count bytes (LF turned into
// CR LF when the command asks), folds them into the running CRC and the input
// count, reports per-item progress, and returns the bytes delivered: 0 at the
// end of the input or on a failure (then the state's result holds 11, or 9
// for a cancel).
#pragma once

#include <windows.h>
#include <stdint.h>

struct ZipState;

uint32_t ZipReadFileInput(ZipState *state, uint8_t *buffer, uint32_t count);
uint32_t ZipReadMemoryInput(ZipState *state, uint8_t *buffer, uint32_t count);
uint32_t ZipReadCallbackInput(ZipState *state, uint8_t *buffer, uint32_t count);

// Continues the state's running CRC over the bytes and returns it; a null
// buffer returns 0, the start of a member.
uint32_t ZipCrc32(ZipState *state, const uint8_t *buffer, size_t length);

// CRC-32 of the whole input, read ahead without moving the input; callback
// input cannot be read twice and gives the DOS date-time shifted left by 16.
// 4 in *result when no work buffer can be had.
uint32_t ZipPrecomputeCrc(ZipState *state, uint32_t dosDateTime, int *result);

// Clears the per-member values before a member is read.
void ZipBeginMember(ZipState *state, const char *name);
