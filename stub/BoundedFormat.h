// The stub's own bounded printf: the integer, character and string
// conversions its messages and logs use, without the C runtime's full
// formatter and the floating-point conversion it carries.
#pragma once

#include <cstdarg>
#include <cstddef>

// Formats into out (at most size - 1 characters, always terminated when size
// is not 0) and returns the length the whole text has, as vsnprintf does.
// Flags - + space # 0, widths and precisions (also *), lengths hh h l ll z j
// t, and the conversions d i u o x X c s %. Any other conversion is copied
// as written, its argument left unread.
int FormatBounded(char* out, size_t size, const char* format, va_list args);
