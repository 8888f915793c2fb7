// Log files shared by both sides: where they live, how they are opened, and the
// line helpers both diagnostic logs are made of.
#pragma once
#include <windows.h>
#include <cstddef>
#include <cstdint>

// A name with a drive ("X:") or a UNC start is used as it is; any other goes
// into the Windows directory, with a backslash between unless it has one.
void LogFilePath(const char *name, char *out, size_t capacity);

// Opens (creating when missing) for reading and writing, shared, positioned at
// the end. INVALID_HANDLE_VALUE when it cannot be opened: logging is skipped.
HANDLE LogFileOpen(const char *name);
void LogFileWrite(HANDLE file, const char *text, size_t length);
void LogFileWriteText(HANDLE file, const char *text);

// Writes text and CR LF, or "???\r\n" when the text cannot be read over the
// given length; a negative length writes nothing.
void DiagLogWriteText(HANDLE file, const char *text, int length);

// The version line: the given format filled with the local date "MM/DD/YY"
// and time "HH:MM:SS".
void FormatVersionText(char *out, size_t capacity, const char *format);

// A field line whose stored format prints a pointer or word with a 32-bit "l"
// hex conversion; the conversion is widened so a whole pointer is printed in
// both builds.
void FormatHexLine(char *out, size_t capacity, const char *format, uint64_t value);
