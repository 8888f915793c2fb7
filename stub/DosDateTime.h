// Text of a DOS date and time (date in the high 16 bits, time in the low 16).
#pragma once

#include <cstdint>
#include <string>

// numeric: "MM/DD/YY hh:mm:ss"; otherwise "Www Mmm dd hh:mm:ss yyyy" with the
// user locale's day name. Empty for a date the calendar cannot hold.
std::string FormatDosDateTime(uint32_t dosDateTime, bool numeric);

// The DOS date and time of a file's last write in local time; 0 when unknown.
uint32_t GetFileDosDateTime(const char* path);
