// Path and name routines of the unzip side. All step through texts with the
// system's double-byte-aware CharNextA, so a lead byte and its trail byte are
// one character.
#pragma once
#include <cstddef>

const char *PathFindChar(const char *text, char character);
const char *PathFindLastChar(const char *text, char character);
const char *PathFindString(const char *text, const char *substring);
int PathEndsWithBackslash(const char *path);

// Any output may be null; each takes at most 2,048 bytes.
void PathSplit(const char *path, char *drive, char *directory, char *name, char *extension);
void PathBuild(char *out, const char *drive, const char *directory, const char *name, const char *extension);
// Name and extension of a path, joined.
void PathNamePart(char *out, const char *path);
// Copy without double quotes, at most 2,048 bytes; null when either is null.
char *PathStripQuotes(char *out, const char *text);

int PathIsLongName(const char *path);
char *PathTruncate83(char *out, const char *path);
int PathIsValidName(const char *name);

// 0 when the name matches the pattern, -1 when it does not.
int WildcardMatch(const char *name, const char *pattern, int caseSensitive);
// Name and extension matched separately; "*" and "*.*" match everything.
int NameMatchesPattern(const char *name, const char *pattern, int caseSensitive);

int DriveNumberOfPath(const char *path);
int PathsOnSameVolume(const char *first, const char *second);

enum { kPathTextMax = 2048 };
