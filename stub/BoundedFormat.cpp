#include "BoundedFormat.h"

#include <cstdint>
#include <cstring>

namespace {

// Where formatted characters go: counted always, stored while room is left.
class BoundedText {
public:
    BoundedText(char* out, size_t size) : m_out(out), m_room(size ? size - 1 : 0) {}
    ~BoundedText() = default;

    void Put(char c) {
        if (m_length < m_room)
            m_out[m_length] = c;
        ++m_length;
    }
    void Put(const char* text, size_t count) {
        for (size_t i = 0; i < count; ++i)
            Put(text[i]);
    }
    void Pad(char c, int count) {
        for (; count > 0; --count)
            Put(c);
    }
    int Finish(size_t size) {
        if (size != 0)
            m_out[m_length < m_room ? m_length : m_room] = '\0';
        return static_cast<int>(m_length);
    }

private:
    char* m_out;
    size_t m_room;
    size_t m_length = 0;
};

enum class Length { Int, Char, Short, Long, LongLong, Size, Max, PtrDiff };

struct Directive {
    bool left = false;
    bool plus = false;
    bool space = false;
    bool alternate = false;
    bool zero = false;
    int width = 0;
    int precision = -1;  // none
    Length length = Length::Int;
    char conversion = 0;
};

int ReadNumber(const char*& p) {
    int n = 0;
    while (*p >= '0' && *p <= '9')
        n = n * 10 + (*p++ - '0');
    return n;
}

void ReadFlags(const char*& p, Directive& d) {
    for (;; ++p) {
        switch (*p) {
        case '-': d.left = true; break;
        case '+': d.plus = true; break;
        case ' ': d.space = true; break;
        case '#': d.alternate = true; break;
        case '0': d.zero = true; break;
        default: return;
        }
    }
}

Length ReadLength(const char*& p) {
    struct Prefix { const char* text; Length length; };
    static const Prefix kPrefixes[] = {{"hh", Length::Char}, {"h", Length::Short},   {"ll", Length::LongLong},
                                       {"l", Length::Long},  {"z", Length::Size},    {"j", Length::Max},
                                       {"t", Length::PtrDiff}};
    for (const Prefix& prefix : kPrefixes) {
        size_t n = strlen(prefix.text);
        if (strncmp(p, prefix.text, n) == 0) {
            p += n;
            return prefix.length;
        }
    }
    return Length::Int;
}

// Reads a directive after its '%'; star widths and precisions take their
// arguments now, in the order the format gives them.
Directive ReadDirective(const char*& p, va_list& args) {
    Directive d;
    ReadFlags(p, d);
    if (*p == '*') {
        ++p;
        d.width = va_arg(args, int);
        if (d.width < 0) {
            d.left = true;
            d.width = -d.width;
        }
    } else {
        d.width = ReadNumber(p);
    }
    if (*p == '.') {
        ++p;
        if (*p == '*') {
            ++p;
            int precision = va_arg(args, int);
            d.precision = precision < 0 ? -1 : precision;
        } else {
            d.precision = ReadNumber(p);
        }
    }
    d.length = ReadLength(p);
    d.conversion = *p;
    return d;
}

int64_t SignedArgument(Length length, va_list& args) {
    switch (length) {
    case Length::Char: return static_cast<signed char>(va_arg(args, int));
    case Length::Short: return static_cast<short>(va_arg(args, int));
    case Length::Long: return va_arg(args, long);
    case Length::LongLong: return va_arg(args, long long);
    case Length::Size: return static_cast<int64_t>(va_arg(args, size_t));
    case Length::Max: return va_arg(args, intmax_t);
    case Length::PtrDiff: return va_arg(args, ptrdiff_t);
    default: return va_arg(args, int);
    }
}

uint64_t UnsignedArgument(Length length, va_list& args) {
    switch (length) {
    case Length::Char: return static_cast<unsigned char>(va_arg(args, unsigned));
    case Length::Short: return static_cast<unsigned short>(va_arg(args, unsigned));
    case Length::Long: return va_arg(args, unsigned long);
    case Length::LongLong: return va_arg(args, unsigned long long);
    case Length::Size: return va_arg(args, size_t);
    case Length::Max: return va_arg(args, uintmax_t);
    case Length::PtrDiff: return static_cast<uint64_t>(va_arg(args, ptrdiff_t));
    default: return va_arg(args, unsigned);
    }
}

// Sign or base prefix, zeros up to the precision, then the digits, padded
// to the width with spaces (or zeros when asked and no precision is given).
void PutInteger(BoundedText& text, const Directive& d, uint64_t magnitude, const char* sign) {
    const bool upper = d.conversion == 'X';
    const unsigned base = d.conversion == 'o' ? 8 : (d.conversion == 'x' || upper) ? 16 : 10;
    const char* digitSet = upper ? "0123456789ABCDEF" : "0123456789abcdef";
    char digits[24];
    int count = 0;
    for (uint64_t v = magnitude; v != 0; v /= base)
        digits[count++] = digitSet[v % base];
    int zeros = d.precision > count ? d.precision - count : 0;
    if (d.precision < 0 && magnitude == 0)
        zeros = 1;
    const char* prefix = sign;
    if (d.alternate && base == 16 && magnitude != 0)
        prefix = upper ? "0X" : "0x";
    if (d.alternate && base == 8 && zeros == 0)
        zeros = 1;
    const int prefixLength = static_cast<int>(strlen(prefix));
    int padding = d.width - prefixLength - zeros - count;
    if (d.zero && !d.left && d.precision < 0) {
        zeros += padding > 0 ? padding : 0;
        padding = 0;
    }
    if (!d.left)
        text.Pad(' ', padding);
    text.Put(prefix, static_cast<size_t>(prefixLength));
    text.Pad('0', zeros);
    while (count > 0)
        text.Put(digits[--count]);
    if (d.left)
        text.Pad(' ', padding);
}

void PutPadded(BoundedText& text, const Directive& d, const char* chars, size_t count) {
    const int padding = d.width - static_cast<int>(count);
    if (!d.left)
        text.Pad(' ', padding);
    text.Put(chars, count);
    if (d.left)
        text.Pad(' ', padding);
}

// One directive with its argument; false for a conversion this formatter
// does not know.
bool PutDirective(BoundedText& text, const Directive& d, va_list& args) {
    switch (d.conversion) {
    case 'd':
    case 'i': {
        const int64_t value = SignedArgument(d.length, args);
        const uint64_t magnitude = value < 0 ? 0 - static_cast<uint64_t>(value) : static_cast<uint64_t>(value);
        PutInteger(text, d, magnitude, value < 0 ? "-" : d.plus ? "+" : d.space ? " " : "");
        return true;
    }
    case 'u':
    case 'o':
    case 'x':
    case 'X':
        PutInteger(text, d, UnsignedArgument(d.length, args), "");
        return true;
    case 'c': {
        const char c = static_cast<char>(va_arg(args, int));
        PutPadded(text, d, &c, 1);
        return true;
    }
    case 's': {
        const char* s = va_arg(args, const char*);
        if (s == nullptr)
            s = "(null)";
        size_t count = 0;
        while (s[count] != '\0' && (d.precision < 0 || count < static_cast<size_t>(d.precision)))
            ++count;
        PutPadded(text, d, s, count);
        return true;
    }
    case '%':
        text.Put('%');
        return true;
    default:
        return false;
    }
}

}  // namespace

int FormatBounded(char* out, size_t size, const char* format, va_list args) {
    BoundedText text(out, size);
    va_list rest;
    va_copy(rest, args);
    for (const char* p = format; *p != '\0'; ++p) {
        if (*p != '%') {
            text.Put(*p);
            continue;
        }
        const char* start = p++;
        const Directive d = ReadDirective(p, rest);
        if (*p == '\0' || !PutDirective(text, d, rest)) {
            text.Put(start, static_cast<size_t>(p - start) + (*p != '\0'));
            if (*p == '\0')
                break;
        }
    }
    va_end(rest);
    return text.Finish(size);
}
