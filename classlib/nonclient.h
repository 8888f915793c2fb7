// Where the frame around a window's client area lies, for painting it
// through a window DC, whose origin is the window's top-left corner.
#pragma once

#include "classlib/wnd.h"

// The whole window and its client area, both in window coordinates.
inline void GetNonClientRects(const CWnd* wnd, CRect* window, CRect* client) {
  wnd->GetWindowRect(window);
  wnd->GetClientRect(client);
  wnd->ClientToScreen(client);
  client->OffsetRect(-window->left, -window->top);
  window->OffsetRect(-window->left, -window->top);
}
