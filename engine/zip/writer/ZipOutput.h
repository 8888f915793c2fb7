// The path every archive byte takes: to the caller's memory I/O callback, to
// the current split part or removable volume, or to the plain output file;
// and the encryption of member data on its way there.
#pragma once

#include <windows.h>
#include <stdint.h>

struct ZipState;

// Returns the bytes written; 0 when nothing could be written.
uint64_t ZipWriteOutput(ZipState *state, const uint8_t *bytes, uint64_t length, HANDLE *output);

// Enciphers the bytes in place for the state's encryption and passes them to
// ZipWriteOutput. Strong encryption gathers them and writes whole 8,192-byte
// runs, so it returns the length given, or 0 when a gathered run could not be
// written; with state->strongFlag set the rest is written with its padding.
uint64_t ZipEncryptWrite(ZipState *state, uint8_t *bytes, uint64_t length, HANDLE *output);

// Writes the strong-encryption bytes still gathered, padded; 1, or 0 when they
// could not be written.
int ZipFlushStrong(ZipState *state, HANDLE *output);

// The code of a write the output path refused: 9 after a cancel, 4 for the
// memory I/O callback, else the given code for a file.
int ZipWriteFailureCode(const ZipState *state, int fileCode);

// Hands bytes to the memory I/O callback as operation 1 at the running
// callback output position; the bytes it took (the position advances only
// when it took them all), 0 when it refused or cancelled (cancel flag set).
uint32_t ZipCallbackWrite(ZipState *state, const uint8_t *bytes, uint32_t length);
