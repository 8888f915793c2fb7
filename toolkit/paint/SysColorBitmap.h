// Loads a bitmap resource with its four standard button colours mapped to
// the present system colours, as every tool-bar and button bitmap is:
//   black 0x000000 -> button text      dark grey 0x808080 -> button shadow
//   light grey 0xC0C0C0 -> button face   white 0xFFFFFF -> button highlight
// In mono mode black stays black and the other three become white.
#pragma once

#include <windows.h>

// A new bitmap compatible with the screen, which the caller deletes; null
// when the resource is missing, damaged or of a kind not handled.
HBITMAP LoadSysColorBitmap(HINSTANCE module, HRSRC resource, BOOL mono);
