// Lengths laid out in pixels for the standard text size (96 DPI), scaled to
// the text size the user chose, so fixed layouts, fonts and pictures grow
// with the dialogs around them.
#pragma once
#include <windows.h>

// The screen's DPI, as the system's fonts are made for it.
int ScreenDpi();
// length, given for 96 DPI, at the screen's DPI.
int ScaleToScreen(int length);
RECT ScaleToScreen(const RECT& rect);
