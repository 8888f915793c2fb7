#include "toolkit/frame/FrameWnd.h"

IMPLEMENT_DYNCREATE(CXTFrameWnd, CFrameWnd)
