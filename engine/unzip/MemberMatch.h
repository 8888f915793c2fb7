// Selecting members by a filespec: blank-separated names or wildcards, with
// double quotes grouping a name that holds blanks.
#pragma once
#include <string>
#include <vector>
#include "UnzipState.h"

typedef std::vector<std::string> FilespecPatterns;

// Upper-cased patterns without their quotes; 0, or 47 for unmatched quotes.
int FilespecSplit(const char *filespec, FilespecPatterns *patterns);

// Reads members until one matches and is selected; it is then the state's
// current member. 0, 2 after the last member, or the reader's code.
int NextMatchingMember(UnzipState *state, const FilespecPatterns &patterns);

// Whether the member name (backslashes, upper case) matches one pattern.
bool MemberMatchesPattern(const char *name, bool folder, const std::string &pattern, bool recurse);
