// The input layer: a member's stored bytes from the archive's disks or split
// parts, or from the memory I/O callback (function 10), deciphered refill by
// refill and handed to the decoders as runs.
#pragma once
#include <cstddef>
#include <cstdint>
#include "UnzipState.h"

// Opens the path for reading as the data handle (five attempts); 0 or 9.
int InputFileOpen(const char *path);
// Closes the data handle; 0, or 9 when closing fails.
int InputFileClose();
// 1 when the disk may be used as disk number `disk` (from 1, as its label
// "PKBACK# 001" counts), else 0.
int CheckVolumeLabel(const char *path, int disk);

// Starts a member's input: remaining stored bytes (ignored with unknownLength),
// the disk its data starts on. The buffer must already be prepared.
void InputStart(UnzipState *state, int64_t remaining, int unknownLength);
// The member's encryption header through the input: reads it raw, checks the
// password, and turns deciphering on. 0, 3, 4 or 44.
int InputDecryptionSetup(UnzipState *state);

// The next run of deciphered bytes: points *bytes at them and returns the
// count; 0 at the member's end, -1 when the command is cancelled.
ptrdiff_t InputRun(UnzipState *state, const uint8_t **bytes);
// Reads (and deciphers) the rest of the member's data, unused.
void InputDrain(UnzipState *state);
// Up to n raw (never deciphered) bytes of the member; returns how many came.
size_t InputReadRaw(UnzipState *state, uint8_t *out, size_t n);
// Function 10 with WinZip AES: the authentication code kept back at the end.
// Reads what is left of the member raw into code; 1 when exactly n bytes were
// left, else 0.
int InputTakeTrailer(UnzipState *state, uint8_t *code, size_t n);
