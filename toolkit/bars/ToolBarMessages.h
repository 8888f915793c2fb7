// Private messages of the tool bar, its drop-downs and its parent, ascending.
#pragma once

#include <windows.h>

enum : UINT {
  // Posted to the bar itself; lParam: the relayout counter when posted. Only
  // the post carrying the current counter lays the bar out.
  XTWM_TOOLBAR_RELAYOUT = 0x81CE,
  // Posted to the bar in customise mode: redraw the selection and insertion marks.
  XTWM_CUSTOMIZE_REDRAW = 0x81CF,
  // A drop-down window closed. To the bar: wParam as the window sent it;
  // to the owner: wParam and the button's command.
  XTWM_DROPDOWN_CLOSED = 0x89C6,
  // A colour was chosen: wParam the COLORREF, lParam the button's command.
  // The bar keeps it and passes it on to its owner.
  XTWM_COLOR_CHOSEN_FOR_BUTTON = 0x89C7,
  // To the owner of a drop-down button that has no menu or window of its own:
  // wParam the NMTOOLBAR, lParam the button's screen rectangle. Result 0: the
  // drop-down is over at once.
  XTWM_DROPDOWN = 0x89D3,
  // To the chevron: its hidden-buttons pop-up closed.
  XTWM_CHEVRON_POPUP_CLOSED = 0x89DF,
  // Posted to the parent: wParam the bar's window, lParam its fixed width.
  XTWM_TOOLBAR_NEW_WIDTH = 0x89E6,
};
