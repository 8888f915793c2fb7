// Icons cut from a bitmap strip of equal images whose magenta pixels are
// transparent, as the toolkit's small buttons use them.
#pragma once

#include <windows.h>

// Image index of the strip (resource nBitmap of the toolkit's module) as a
// new icon the caller destroys, or null.
HICON LoadStripIcon(UINT nBitmap, int cxImage, int index);
