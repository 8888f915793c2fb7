// How the toolkit's controls paint without flicker: the control's own
// painting goes into an off-screen copy filled with a background colour,
// which reaches the screen in one blit.
#pragma once

#include "classlib/wnd.h"

// Answers WM_PAINT for wnd; its WM_ERASEBKGND should erase nothing.
void PaintThroughMemDC(CWnd& wnd, COLORREF background);
