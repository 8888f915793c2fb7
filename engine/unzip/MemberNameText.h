// A member's name in the two forms the unzip side needs: the ANSI text the
// callbacks, messages and information records carry, and the wide text its
// files are created under, so a name stored as UTF-8 keeps every character.
#pragma once
#include <windows.h>
#include "ZipDirectory.h"

// The member's name as ANSI text: a UTF-8 name in the best form the code
// page allows, a stored name turned from OEM to ANSI unless keepStored.
void MemberNameToAnsi(CurrentMember *member, int keepStored);

// Text of the code page as wide text in out (capacity characters); 1, or 0
// when it is not valid in that code page or does not fit.
int TextToWide(UINT codePage, const char *text, wchar_t *out, int capacity);
// Wide text as ANSI in out (capacity bytes), unmappable characters replaced.
void WideToAnsi(const wchar_t *text, char *out, int capacity);
