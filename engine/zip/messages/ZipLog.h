// The zip side's diagnostic log (every command record and first error, when
// the record's switch is on) and its activity log (one line per member, when
// wZipSubOptions 0x0100 asks for it).
#pragma once

#include <stddef.h>

struct ZIPCMDSTRUCT;

// A line break, the text and a line break, when the switch is on.
void ZipDiagLogLine(const char *text);
// The command block: header and one line per field of the widened record.
void ZipDiagLogCommand(const ZIPCMDSTRUCT *record);
// The version line with the local date and time.
void ZipVersionText(char *out, size_t capacity);
// One activity line; opens the log at the first line of a command.
void ZipActivityLogLine(const char *text);
void ZipCloseActivityLog(void);
// Saves the working directory (2,048 bytes) and writes the activity header.
void ZipActivityLogHeader(char *directory);
