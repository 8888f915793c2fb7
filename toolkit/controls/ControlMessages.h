// Private messages and notification codes of the toolkit's controls,
// ascending.
#pragma once

#include <windows.h>

// Edit list box to its owner, as WM_COMMAND (id, code) with the list as lParam:
enum : UINT {
  XTLBN_ENDEDIT = 0x89CA,   // an item's text was changed in place
  XTLBN_NOCHANGE = 0x89CB,  // an in-place edit ended without a change
  XTLBN_NEWITEM = 0x89CC,   // a new item was added
  XTLBN_DELETEITEM = 0x89CD,  // an item is about to be deleted
  XTLBN_DELETED = 0x89CE,   // the delete command has run
  XTLBN_MOVEUP = 0x89CF,    // the move-up command has run
  XTLBN_MOVEDOWN = 0x89D0,  // the move-down command has run
};

// A control finishes its set-up once attached to its window, posted to
// itself from PreSubclassWindow, sent from WM_CREATE. wParam 0; lParam: the
// control's post count (a control acts only on its latest post), or 0;
// result 0.
constexpr UINT XTWM_INITCONTROL = 0x89DE;

// A check-list item's check state changed: WM_COMMAND code to the parent.
constexpr UINT XTCLBN_CHKCHANGE = 0x28;
