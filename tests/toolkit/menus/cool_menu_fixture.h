// What the cool-menu test files share: a plain frame window for the menus'
// messages, and tracking a popup while a script acts on it.
#pragma once

#include <windows.h>

#include <functional>

#include "toolkit/menus/CoolMenu.h"

// A visible top-level frame at (100, 100), 400 x 300. It measures and draws
// owner-drawn items of its own (the cool menu leaves them to it): 50 x 20,
// drawing nothing.
HWND CreateTestFrame();

// Tracks menu at (x, y) through the cool menu while step runs on the open,
// visible popup every 20 ms (the popup window it sees); the menu ends after
// five seconds whatever happens, so no test waits in a menu loop (the expand
// delay alone is 750 ms, and a loaded machine is slow).
UINT TrackWithScript(CXTCoolMenu& cool, HMENU menu, CWnd* owner, std::function<bool(HWND)> step, int x = 150,
                     int y = 150);
// The same script while track opens the popups some other way.
void TrackWithScript(std::function<bool(HWND)> step, const std::function<void()>& track);
// How many popup windows the running script has seen so far.
int PopupsSeen();
