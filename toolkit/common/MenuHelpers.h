// Small helpers for menu items and their texts.
#pragma once

#include "classlib/cstring.h"

// Zero-fills the record and sets its size: the record the running system
// knows (Windows NT 4.0 knows it without the item bitmap).
void InitMenuItemInfo(MENUITEMINFOA* info);
// Drops every single "&" of a menu text and keeps each "&&" as it is;
// double-byte characters are kept whole.
void StripMnemonics(CString& text);
// Removes every occurrence of c; double-byte characters are kept whole.
void RemoveChar(CString& text, char c);
