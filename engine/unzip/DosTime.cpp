#include "DosTime.h"

#include <cstring>

uint32_t DosDateTimePack(int year, int month, int day, int hour, int minute, int second) {
  if (year < 1980) {
    year = 1980;
    month = day = 1;
    hour = minute = second = 0;
  }
  uint32_t date = static_cast<uint32_t>((year - 1980) << 9 | month << 5 | day);
  uint32_t time = static_cast<uint32_t>(hour << 11 | minute << 5 | second / 2);
  return date << 16 | (time & 0xFFFF);
}

static int TwoDigits(const char *p) {
  if (p[0] < '0' || p[0] > '9' || p[1] < '0' || p[1] > '9') return -1;
  return (p[0] - '0') * 10 + (p[1] - '0');
}

uint32_t DosDateTimeFromText(const char *text) {
  if (!text || strlen(text) != 12) return 0;
  int field[6];
  for (int i = 0; i < 6; ++i)
    if ((field[i] = TwoDigits(text + 2 * i)) < 0) return 0;
  int month = field[0], day = field[1], year = field[2], hour = field[3], minute = field[4], second = field[5];
  if (month < 1 || month > 12 || day < 1 || day > 31 || hour > 24 || minute >= 60 || second > 60) return 0;
  return DosDateTimePack(year < 80 ? 2000 + year : 1900 + year, month, day, hour, minute, second);
}

DosDateTimeParts DosDateTimeUnpack(uint16_t date, uint16_t time) {
  return {1980 + (date >> 9), (date >> 5) & 15, date & 31, time >> 11, (time >> 5) & 63, (time & 31) * 2};
}
