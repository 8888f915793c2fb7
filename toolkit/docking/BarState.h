// A frame's bar layout saved under a profile name when it closes and applied
// again when it is made: the frame helper's bar-state operations. What is
// loaded is pruned first, so a layout saved by an older build that had other
// bars never refers to a bar this frame lacks.
#pragma once

#include "classlib/frame/framewnd.h"

class CDockState;
class CXTDockState;

// The frame's bars in its list order. Only dock bars keep "floating": an
// ordinary bar floats through the floating dock bar that lists it.
void XTGetDockState(CFrameWnd* pFrame, CDockState& state);
// Drops ids the frame has no bar for from every list (row ends stay) and
// every docked record of such a bar; last record first.
void XTPruneDockState(CFrameWnd* pFrame, CDockState& state);
// The saved layout of that profile, pruned to the frame's bars, ready to apply.
void XTReadBarState(CFrameWnd* pFrame, LPCSTR lpszProfileName, CXTDockState& state);
void XTLoadBarState(CFrameWnd* pFrame, LPCSTR lpszProfileName);
void XTSaveBarState(CFrameWnd* pFrame, LPCSTR lpszProfileName);
