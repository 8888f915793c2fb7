// CXTMiniDockFrameWnd: the small frame that holds a floating toolkit bar.
#pragma once

#include "classlib/docking/minidockframe.h"

class CXTMiniDockFrameWnd : public CMiniDockFrameWnd {
  DECLARE_DYNCREATE(CXTMiniDockFrameWnd)
 public:
  CXTMiniDockFrameWnd() = default;
};
