// What the docking tests share: a frame whose four sides are the toolkit's dock bars.
#pragma once

#include "classlib/classlib.h"

// A visible frame at rect with a toolkit dock bar on each side and floating
// frames of the class library; it becomes the main window. Null on failure.
CFrameWnd* NewFrameWithToolkitDockBars(LPCSTR title, const RECT& rect);
