// Checks that a window lays out its controls so the user can read and reach
// each one: every shown control inside the window's client area, none lying
// on another, none crossing the border of a group box it sits in, and each
// text whole in its control, measured with the control's own font.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

// What is wrong with the layout of window's shown child controls, one line
// each naming the control by id and text; empty when nothing is.
std::vector<std::string> LayoutFaults(HWND window);
// How wide and high text is in the font window draws with.
SIZE TextExtent(HWND window, const std::string& text);
