// What the toolkit's popup-menu hooks share: recognising popup-menu windows,
// making the system measure a menu's items again, and holding the system's
// menu animation and drop shadow off while any toolkit popup is open.
#pragma once

#include "toolkit/common/SharedState.h"
#include "toolkit/common/WndHook.h"

// TRUE for a window of the system's popup-menu class.
BOOL IsMenuPopupWindow(HWND hWnd);
// Rewrites every item of the menu with its own state, id, submenu and type,
// so the system measures it again; returns the item count (0 without a menu).
int RefreshMenuItems(HMENU menu);

// The base of every hook on a popup-menu window. The first one alive saves
// the system's menu animation and drop-shadow settings and switches them as
// asked; the last one to go writes the saved settings back. Nothing is made
// persistent (fWinIni 0).
class CXTPopupMenuHookBase : public CXTWndHook {
 public:
  explicit CXTPopupMenuHookBase(BOOL systemShadow);
  ~CXTPopupMenuHookBase() override;
  static int LiveCount();
};

// The first value when menus show normal images (popup flag A), else the second.
template <class T>
T ByPopupFlagA(T whenSet, T otherwise) {
  return GetSharedState().m_popupFlagA ? whenSet : otherwise;
}
