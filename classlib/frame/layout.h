// What a bar is told when its frame lays out its client area.
#pragma once

#include <windows.h>

struct AFX_SIZEPARENTPARAMS {
  HDWP hDWP;       // the batch the bars add their moves to; null for a size query
  RECT rect;       // the part of the client area still free
  SIZE sizeTotal;  // what the bars took, for a query
  BOOL bStretch;   // bars stretch along their edge
};

// Moves hWnd to lpRect in the layout's batch, unless it is there already.
void AfxRepositionWindow(AFX_SIZEPARENTPARAMS* lpLayout, HWND hWnd, LPCRECT lpRect);
