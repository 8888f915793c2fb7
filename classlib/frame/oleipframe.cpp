#include "classlib/frame/oleipframe.h"

IMPLEMENT_DYNCREATE(COleIPFrameWnd, CFrameWnd)
