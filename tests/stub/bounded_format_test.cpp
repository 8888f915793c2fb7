// The stub's own bounded printf against the C runtime's, for the directives
// the stub's and the engine's texts use and their neighbours, whole and cut
// short by the buffer.
#include <gtest/gtest.h>

#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <string>

#include "BoundedFormat.h"

namespace {

int Ours(char* out, size_t size, const char* format, ...) {
  va_list args;
  va_start(args, format);
  int length = FormatBounded(out, size, format, args);
  va_end(args);
  return length;
}

// Formats with both at several buffer sizes; the texts and the lengths
// reported must agree, and nothing may be written past the buffer.
#define EXPECT_FORMATS_LIKE_RUNTIME(...)                                                  \
  do {                                                                                     \
    for (size_t size : {size_t(64), size_t(6), size_t(1), size_t(0)}) {                    \
      char ours[72], theirs[72];                                                           \
      memset(ours, '#', sizeof ours);                                                      \
      memset(theirs, '#', sizeof theirs);                                                  \
      int ourLength = Ours(ours, size, __VA_ARGS__);                                       \
      int theirLength = snprintf(theirs, size, __VA_ARGS__);                               \
      EXPECT_EQ(ourLength, theirLength) << #__VA_ARGS__ << " size " << size;               \
      EXPECT_EQ(std::string(ours, sizeof ours), std::string(theirs, sizeof theirs))        \
          << #__VA_ARGS__ << " size " << size;                                             \
    }                                                                                      \
  } while (0)

TEST(BoundedFormat, IntegersMatchTheRuntime) {
  EXPECT_FORMATS_LIKE_RUNTIME("%d|%i|%d|%d", 0, -1, 2147483647, int(-2147483647 - 1));
  EXPECT_FORMATS_LIKE_RUNTIME("%02u/%02u/%04u  %02u:%02u:%02u", 3u, 14u, 2026u, 7u, 5u, 59u);
  EXPECT_FORMATS_LIKE_RUNTIME("%03d %2d %-4d| %+d % d %05d %-5d|", 7, 5, 42, 3, 3, -42, -42);
  EXPECT_FORMATS_LIKE_RUNTIME("%#08lx %#08lx %08lx %lX %lu %ld", 0x1234ul, 0ul, 0xABCDul, 0xBEEFul, 4294967295ul,
                              -5l);
  EXPECT_FORMATS_LIKE_RUNTIME("%08X %02x %04x %#04x %#X %X", 0xDEADBEEFu, 0x0Au, 0xFFu, 0x7u, 0x1Fu, 0u);
  EXPECT_FORMATS_LIKE_RUNTIME("%llx %lld %llu", 0x123456789ABCDEFull, -1234567890123ll, 18446744073709551615ull);
  EXPECT_FORMATS_LIKE_RUNTIME("%hhu %hd %hu %zu %o %#o %#o", 300, 70000, 70000, size_t(99), 8u, 8u, 0u);
  EXPECT_FORMATS_LIKE_RUNTIME("%.3d %.0d|%5.3d %-6.2x| %*d %-*d| %.*d", 5, 0, 7, 0xAu, 4, 9, 4, 9, 3, 1);
}

TEST(BoundedFormat, TextMatchesTheRuntime) {
  EXPECT_FORMATS_LIKE_RUNTIME("%s: skipped, it would be written outside %s.", "a/b.txt", "C:\\x");
  EXPECT_FORMATS_LIKE_RUNTIME("%c:\\ PKBACK# %03d %%", 'A' + 2, 1);
  EXPECT_FORMATS_LIKE_RUNTIME("[%8s][%-8s][%.*s][%.2s][%3c][%-3c]", "ab", "cd", 3, "abcdef", "xyz", 'q', 'r');
  EXPECT_FORMATS_LIKE_RUNTIME("%s", "");
  EXPECT_FORMATS_LIKE_RUNTIME("no directives at all");
}

// A conversion the stub never uses comes out as written instead of reading
// an argument of the wrong kind.
TEST(BoundedFormat, CopiesAnUnknownConversionAsWritten) {
  char out[32];
  EXPECT_EQ(Ours(out, sizeof out, "%d %f %d", 1, 2), 6);
  EXPECT_STREQ(out, "1 %f 2");
  EXPECT_EQ(Ours(out, sizeof out, "end %"), 5);
  EXPECT_STREQ(out, "end %");
}

}  // namespace
