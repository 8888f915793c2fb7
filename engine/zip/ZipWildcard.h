// Name matching of the zip side: the wildcard match of one name against one
// pattern ("*" matches the whole rest, "?" exactly one character; the compare
// itself is the engine's WildcardMatch) and the name-and-extension match of
// the include, exclude and delete patterns.
#pragma once

// 1 when the name matches the pattern, case-insensitive.
int ZipWildcardMatch(const char *pattern, const char *name);
// 1 when the name matches by extension and remaining part; path-sensitive
// when the command's lZipSubOptions2 bit 0 is set. 0 for an empty name or
// pattern.
int ZipNameMatches(const char *name, const char *pattern);
