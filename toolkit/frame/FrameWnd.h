// CXTFrameWnd: the toolkit's single-document frame. The class library's
// frame plus the frame helper: a derived frame creates its menu bar (id
// 59480) and other bars in its WM_CREATE, enables docking, docks them,
// installs the cool menus, places itself and loads its bar state under a
// profile name, which it saves again before it closes. The toolkit colours
// follow the system's when its colours or settings change.
#pragma once

#include "toolkit/frame/FrameWndBase.h"

class CXTFrameWnd : public CXTFrameWndBase<CFrameWnd> {
  DECLARE_DYNCREATE(CXTFrameWnd)
};
