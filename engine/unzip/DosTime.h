// DOS date and time: the date in the high 16 bits, the time in the low 16.
#pragma once
#include <cstdint>

// A year before 1980 gives 1980-01-01 00:00:00; seconds are halved.
uint32_t DosDateTimePack(int year, int month, int day, int hour, int minute, int second);
// From "MMDDYYhhmmss"; 0 unless the text is 12 characters of valid fields.
uint32_t DosDateTimeFromText(const char *text);

struct DosDateTimeParts {
  int year, month, day, hour, minute, second;
};
DosDateTimeParts DosDateTimeUnpack(uint16_t date, uint16_t time);
