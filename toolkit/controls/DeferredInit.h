// The deferred set-up of a control that may be attached twice (subclassed,
// or created and so attached before its WM_CREATE): each attachment posts
// XTWM_INITCONTROL with a new count, and only the latest post acts.
#pragma once

#include "classlib/wnd.h"

class CXTDeferredInit {
 public:
  // Posts the set-up unless it has run already.
  void Post(CWnd& wnd);
  // TRUE for the latest post, which then counts as done.
  BOOL Accept(LPARAM lParam);
  // A destroyed window sets up again when attached anew.
  void Reset() { m_nPending = 1; }

 private:
  LPARAM m_nPending = 1;  // 0: done
};

// Gives a child window its own rectangle again, so that its
// WM_WINDOWPOSCHANGING handler takes the share it leaves to a neighbour.
void ReapplyOwnRect(CWnd& wnd, UINT nExtraFlags);
