// Small text helpers of the zip side. All are DBCS-aware: they step with the
// system's next-character routine and never split a lead byte from its trail
// byte.
#pragma once

#include <stddef.h>

char *ZipPathToSlashes(char *text);
char *ZipPathToBackslashes(char *text);
// Copies source without its double quotes into dest (at most 2,047 bytes and
// the terminator), slashes turned into backslashes. Null when either is null.
char *ZipCopyUnquoted(char *dest, const char *source);
// 1 when the name's last character is a slash.
int ZipIsDirectoryName(const char *name);
// The next blank-separated item of a list (double quotes group blanks), cut
// at capacity - 1 bytes and unquoted; 0 when the list holds no more items.
int ZipNextItem(const char **cursor, char *out, size_t capacity);
// Binary search over a sorted pointer array; the compare answers negative to
// look lower and positive to look higher. The matching element's address,
// or null.
void **ZipBinarySearch(const void *key, void **array, size_t count, int (*compare)(const void *, const void *));
