// File times as local clock time by the daylight rule in force on their own
// date, not today's: a file written in summer and archived in winter keeps
// the clock time it was written at, and extraction gives it back. Both sides
// of the engine convert through these (the zip side when it stores a time,
// the unzip side when it sets one).
#pragma once

#include <windows.h>

// UTC file time to local time; false when the time cannot be converted.
bool LocalTimeOfFileTime(const FILETIME &utc, SYSTEMTIME *local);
bool LocalFileTimeOfFileTime(const FILETIME &utc, FILETIME *local);
// Local time (as a local file time) back to UTC.
bool FileTimeOfLocalFileTime(const FILETIME &local, FILETIME *utc);
