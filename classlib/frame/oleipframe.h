// In-place activation is not built: nothing here embeds or serves objects.
// The frame class exists so code that names it can be made and typed; a
// document never has an in-place item.
#pragma once

#include "classlib/frame/framewnd.h"

class COleClientItem;

class COleIPFrameWnd : public CFrameWnd {
  DECLARE_DYNCREATE(COleIPFrameWnd)
};
