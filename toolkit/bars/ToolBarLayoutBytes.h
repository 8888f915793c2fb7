// The bytes a tool bar's button layout is stored in (version 1), written and
// read with the archive's rules: version and list-style words, the descriptor
// size (40) and the button count as archive counts, per button its command,
// style byte, image, record flags and, when flag bit 0 says so, its 40-byte
// drop-down descriptor; then the texts as (command, archive text) pairs.
#pragma once

#include <map>
#include <vector>

#include "classlib/cstring.h"
#include "toolkit/bars/DropDownButtonInfo.h"

struct CXTToolBarLayout {
  struct Button {
    int idCommand = 0;
    BYTE style = 0;
    int image = 0;
  };
  BOOL listStyle = FALSE;
  std::vector<Button> buttons;
  std::map<UINT, CXTDropDownButtonInfo> dropDowns;  // by command
  std::map<UINT, CString> texts;                    // by command
};

std::vector<BYTE> WriteToolBarLayout(const CXTToolBarLayout& layout);
// FALSE, with layout untouched, for anything but whole version-1 bytes.
BOOL ParseToolBarLayout(const BYTE* bytes, UINT length, CXTToolBarLayout* layout);
