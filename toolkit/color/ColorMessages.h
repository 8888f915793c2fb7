// Private messages of the colour pop-up and the colour dialog, ascending.
#pragma once

#include <windows.h>

// The colour dialog and its pages: the new colour changed. Sent by the sheet
// to each page, by a page's picker or honeycomb to its page. wParam the
// colour; lParam 0; result 0.
constexpr UINT XTWM_COLOR_SETNEW = 0x800;

// The colour pop-up to its listeners (its owner first), sent. wParam a colour;
// lParam the drop-down's command id, or what EndSelection was given; result 0.
enum : UINT {
  XTWM_COLOR_UNCHANGED = 0x89C4,     // the colour picked is the current one
  XTWM_COLOR_POPUP_OPENED = 0x89C5,  // the drop-down opened (owner only; the current colour)
  XTWM_COLOR_POPUP_CLOSED = 0x89C6,  // the drop-down closed (owner only; the current colour)
  XTWM_COLOR_CHOSEN = 0x89C7,        // another colour was picked (the new colour)
  XTWM_COLOR_CANCELLED = 0x89C8,     // nothing was picked (the current colour)
  XTWM_COLOR_NONE = 0x89C9,          // "No Fill" was picked (-1)
};
