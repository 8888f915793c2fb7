// Progress reports of the zip side: the application's status callbacks or
// the external progress program's window, the cancel rules, and the message
// pump that keeps the application's windows alive during long commands.
#pragma once

#include <stdint.h>

struct ZipState;

// Per-item report.
void ZipMinorStatus(const char *text, uint64_t total, uint64_t done);
// Overall report; a nonzero answer asks to cancel.
int ZipMajorStatus(const char *text, uint64_t total, uint64_t done);
// Sends the last overall report again and returns the cancel flag.
int ZipCheckCancel(ZipState *state);
// 1 when the progress program's window was found.
int ZipStartProgressProgram(int cancelButton);
// 1 when a window was open.
int ZipCloseProgressWindow(void);
void ZipPumpMessages(ZipState *state);
