// Progress reports of the unzip side: the application's status callbacks or
// the external progress program's window.
#pragma once
#include "UnzipState.h"

// Starts the progress program (never during functions 10 and 11); 1 when its
// window was found.
int UnzipStartProgressProgram(int cancelButton);
int UnzipCloseProgressWindow();

// Per-item report of the current item text; done is the bytes written so far.
void UnzipMinorStatus(uint64_t done);
// Overall report; a nonzero answer means cancel.
int UnzipMajorStatus(const char *text, uint64_t total, uint64_t done);

// Dispatches pending messages unless the command asked for no pumping.
void UnzipPumpMessages(UnzipState *state);
