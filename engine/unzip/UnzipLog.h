// The unzip side's diagnostic and activity logs.
#pragma once
#include "UnzipState.h"

// A line break, the text and a line break, when the diagnostic switch is on.
void UnzipDiagLogLine(const char *text);
// The command block: header and one line per field of the widened record.
void UnzipDiagLogCommand(const UNZIPCMDSTRUCT *record);
// The result lines that end every command.
void UnzipDiagLogResult(int code, const UNZIPCMDSTRUCT *record);

// The version line with the current date "MM/DD/YY" and time "HH:MM:SS".
void FormatVersionLine(char *out, size_t capacity);

// One activity line, when the activity log is on; opens the log at the first.
void UnzipActivityLogLine(const char *text);
// The header line every command starts its activity log with.
void ActivityLogHeader();
void UnzipActivityLogClose();
