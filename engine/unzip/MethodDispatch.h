// Per member: which decoder runs, and what unzip result code the member gets.
#pragma once
#include "UnzipState.h"

// Decodes the current member from the input layer (started, its encryption
// header read) into the output layer (started). An unzip result code: 0, 2
// (broken or truncated data), 3 (more output than the header says), 5, 39
// (CRC or authentication mismatch), 42 (no decoder for the method), 48 or 50.
int DecompressMember(UnzipState *state, uint16_t method);
