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
