#include "DosDateTime.h"

#include <windows.h>

#include <cstdio>

#include "LocalFileTime.h"

namespace {

struct DosFields {
    int year, month, day, hour, minute, second;
};

DosFields SplitDosDateTime(uint32_t value) {
    const unsigned date = value >> 16;
    const unsigned time = value & 0xFFFF;
    return {static_cast<int>(1980 + (date >> 9)), static_cast<int>((date >> 5) & 15),
            static_cast<int>(date & 31),          static_cast<int>(time >> 11),
            static_cast<int>((time >> 5) & 63),   static_cast<int>((time & 31) * 2)};
}

const char* const kMonthNames[12] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                     "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

// The locale numbers its days from Monday (LOCALE_SDAYNAME1), the system time from Sunday.
std::string ShortDayName(int dayOfWeek) {
    const LCTYPE kind = dayOfWeek == 0 ? LOCALE_SDAYNAME7 : LOCALE_SDAYNAME1 + dayOfWeek - 1;
    char name[80] = {};
    GetLocaleInfoA(LOCALE_USER_DEFAULT, kind, name, sizeof name);
    return std::string(name).substr(0, 3);
}

}  // namespace

std::string FormatDosDateTime(uint32_t dosDateTime, bool numeric) {
    const DosFields f = SplitDosDateTime(dosDateTime);
    char text[80];
    if (numeric) {
        snprintf(text, sizeof text, "%02d/%02d/%02d %02d:%02d:%02d", f.month, f.day, f.year % 100,
                 f.hour, f.minute, f.second);
        return text;
    }
    FILETIME fileTime;
    SYSTEMTIME systemTime;
    if (!DosDateTimeToFileTime(static_cast<WORD>(dosDateTime >> 16), static_cast<WORD>(dosDateTime),
                               &fileTime) ||
        !FileTimeToSystemTime(&fileTime, &systemTime))
        return std::string();
    const char* month = f.month >= 1 && f.month <= 12 ? kMonthNames[f.month - 1] : kMonthNames[0];
    snprintf(text, sizeof text, "%s %s %2d %02d:%02d:%02d %04d",
             ShortDayName(systemTime.wDayOfWeek).c_str(), month, f.day, f.hour, f.minute, f.second,
             f.year);
    return text;
}

uint32_t GetFileDosDateTime(const char* path) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    FILETIME local;
    WORD date = 0, time = 0;
    if (path == nullptr || !GetFileAttributesExA(path, GetFileExInfoStandard, &data) ||
        !LocalFileTimeOfFileTime(data.ftLastWriteTime, &local) ||
        !FileTimeToDosDateTime(&local, &date, &time))
        return 0;
    return (static_cast<uint32_t>(date) << 16) | time;
}
