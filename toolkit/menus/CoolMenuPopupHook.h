// The hook on one popup-menu window. It paints the popup through an image
// of its own, so that the popup can be revealed with the menu animation
// before the system draws anything on screen, draws the flat look's
// one-pixel border (and the joint with the menu-bar title the popup opens
// from), gives the popup its drop shadows once shown, nudges flat submenus
// off their parent's border and keeps the flat window styles.
#pragma once

#include "classlib/wnd.h"
#include "toolkit/menus/PopupMenuSupport.h"

// A popup posts itself this to have its items measured again.
#define XTWM_REMEASURE_MENU (WM_APP + 10)
// The system's private message to a popup-menu window (value 175); the
// flat look answers it by measuring the items again once the system is done.
#define XTWM_POPUP_MENU_PRIVATE 175

class CXTCoolMenuPopupHook : public CXTPopupMenuHookBase {
 public:
  // title: the menu-bar title the popup opens from (screen coordinates), or empty.
  explicit CXTCoolMenuPopupHook(const RECT& title);

  // The menu of this window; in the flat look its window styles change.
  void SetMenu(HMENU menu);
  HMENU GetMenu() const { return m_menu; }
  bool IsShown() const { return m_shown; }
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

  // Windows 95, 98, Me and NT 4.0 paint their menus themselves.
  static bool IsOldSystem();
  // Whether the system draws menu shadows itself in the classic look.
  static bool SystemDrawsMenuShadow();

 private:
  bool BeforeDefault(UINT message, LRESULT* result);
  void AfterDefault(UINT message, LPARAM lParam);
  void Paint();
  void Reveal(HDC clientImage, const CSize& clientSize);
  void DrawFlatBorder(HDC dc, const CRect& window);
  void ApplyFlatStyles();
  void AttachShadows();

  HMENU m_menu = nullptr;
  bool m_firstMove = true;
  bool m_shown = false;
  bool m_submenu;  // another popup was open when this one came
  CRect m_title;
};
