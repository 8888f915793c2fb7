#include "toolkit/menus/PopupMenuSupport.h"

#include <string.h>

#include "toolkit/common/MenuHelpers.h"
#include "toolkit/paint/MenuAnimation.h"

namespace {

const char kPopupMenuClass[] = "#32768";

struct SavedMenuEffects {
  int liveHooks = 0;
  BOOL animation = FALSE;
  BOOL dropShadow = FALSE;
};
SavedMenuEffects g_saved;

void SetSystemFlag(UINT action, BOOL value) {
  ::SystemParametersInfoA(action, 0, reinterpret_cast<void*>(static_cast<INT_PTR>(value)), 0);
}

}  // namespace

BOOL IsMenuPopupWindow(HWND hWnd) {
  char name[128] = "";
  return ::GetClassNameA(hWnd, name, sizeof name) && strcmp(name, kPopupMenuClass) == 0;
}

int RefreshMenuItems(HMENU menu) {
  if (!menu) return 0;
  const int count = ::GetMenuItemCount(menu);
  for (int i = 0; i < count; ++i) {
    char text[256] = "";
    MENUITEMINFOA info;
    InitMenuItemInfo(&info);
    info.fMask = MIIM_STATE | MIIM_ID | MIIM_SUBMENU | MIIM_TYPE;
    info.dwTypeData = text;
    info.cch = sizeof text;
    if (::GetMenuItemInfoA(menu, i, TRUE, &info)) ::SetMenuItemInfoA(menu, i, TRUE, &info);
  }
  return count < 0 ? 0 : count;
}

CXTPopupMenuHookBase::CXTPopupMenuHookBase(BOOL systemShadow) {
  if (g_saved.liveHooks++ > 0) return;
  ::SystemParametersInfoA(SPI_GETMENUANIMATION, 0, &g_saved.animation, 0);
  ::SystemParametersInfoA(SPI_GETDROPSHADOW, 0, &g_saved.dropShadow, 0);
  SetSystemFlag(SPI_SETMENUANIMATION, FALSE);
  HoldSystemMenuAnimation(&g_saved.animation);
  SetSystemFlag(SPI_SETDROPSHADOW, systemShadow);
}

CXTPopupMenuHookBase::~CXTPopupMenuHookBase() {
  if (--g_saved.liveHooks > 0) return;
  SetSystemFlag(SPI_SETDROPSHADOW, g_saved.dropShadow);
  SetSystemFlag(SPI_SETMENUANIMATION, g_saved.animation);
  HoldSystemMenuAnimation(nullptr);
}

int CXTPopupMenuHookBase::LiveCount() { return g_saved.liveHooks; }
