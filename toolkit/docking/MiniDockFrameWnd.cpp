#include "toolkit/docking/MiniDockFrameWnd.h"

IMPLEMENT_DYNCREATE(CXTMiniDockFrameWnd, CMiniDockFrameWnd)
