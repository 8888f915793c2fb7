// CXTDropDownButtonInfo: what a tool-bar button's drop-down opens. Ten 32-bit
// words; stored layouts and customise items copy the record whole, so its
// size is the same on every architecture.
#pragma once

#include <windows.h>

struct CXTDropDownButtonInfo {
  DWORD idCommand = 0;
  DWORD idMenu = 0;               // the first pop-up of this menu drops down (0: none)
  DWORD bShowColor = 0;           // the current colour shows as a bar under the image
  DWORD bAppPopup = 0;            // the customize broker's pop-up handler serves idAppPopup
  DWORD bPopupWindow = 0;         // the bar's own pop-up window drops down
  DWORD bArrow = 0;               // drawn with a separate arrow part
  DWORD dwPopupParam = 0;         // first value handed to the pop-up window
  DWORD clrDefault = 0xFF000000;  // no colour
  DWORD clrColor = 0xFF000000;
  DWORD idAppPopup = 0;
};
static_assert(sizeof(CXTDropDownButtonInfo) == 40, "stored layouts hold the descriptor as 40 bytes");
