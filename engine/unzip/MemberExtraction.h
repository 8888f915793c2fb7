// Member extraction: where the selection of functions 8, 9 and 11 and the
// stream entry of function 10 hand over each member.
#pragma once
#include "UnzipState.h"

// Extracts (or tests) the state's current member, found by the directory
// reader. Returns an unzip result code.
int ExtractMember(UnzipState *state);

// Function 10: the member whose central header is in the state's current
// member, its name, extra field and comment in memberVariable and its local
// header formed in localHeader; its data follows through the memory callback
// from readPosition on. Returns an unzip result code.
int ExtractStreamMember(UnzipState *state);

// Creates (or, with option bit 0, first deletes) the output file; the handle,
// or INVALID_HANDLE_VALUE.
HANDLE CreateOutputFile(const wchar_t *path);

// The save-as dialog of the rename answer: the chosen path replaces path
// (capacity bytes), Cancel empties it.
void SaveAsQuery(char *path, size_t capacity, const char *title);
