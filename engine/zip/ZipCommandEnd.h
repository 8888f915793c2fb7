// How a zip command ends: the abort that leaves a grown archive readable and
// removes a half-written temporary archive, warnings, and the finish every
// command passes through.
#pragma once

struct ZipState;

// Reports the code (the first error of the command only) and cleans up what
// the main loop left open. Returns the code.
int ZipAbort(int code, const char *detail);
// ZipAbort with 17 ("Could not complete operation").
int ZipAbortIncomplete(const char *detail);
// Shows the two texts joined as a warning box, when prompts are allowed.
void ZipWarn(const char *text, const char *second);
// End of a command: archive time, buffers, moved sources; stores the code.
int ZipFinish(ZipState *state, int code);
