// The popup-menu windows of the UI thread. While any cool menu is
// installed, the thread's window-event hook puts a CXTCoolMenuPopupHook on each window of the
// system's popup-menu class and drops it when the window goes.
//
// A popup's window and its menu (from WM_INITMENUPOPUP) arrive in either
// order: the system may create the window first (a tracked popup) or last
// (a submenu). Whichever comes first waits for the other.
#pragma once

#include <windows.h>

class CXTCoolMenuPopupHook;

class CXTPopupMenuWatch {
 public:
  // Counted: the hook stays while any caller has started it.
  static void Start();
  static void Stop();

  // The menu WM_INITMENUPOPUP brings: given to the popup window waiting
  // for one, else noted for the next popup window.
  static void LinkMenu(HMENU menu);
  // Forgets a noted menu no window took (the menu loop ended).
  static void ForgetNotedMenu();
  // The title (screen coordinates) the next popup opens from, when it is not
  // the menu bar's open title (which a popup takes by itself); the next
  // popup window takes it, so it never reaches a submenu.
  static void SetNextTitle(const RECT& title);

  // Asks every open popup window to close.
  static void CloseAll();
  static int OpenCount();
  // The hook of a popup window, or null.
  static CXTCoolMenuPopupHook* Find(HWND popup);

  // Whether the mouse moved since the last key press, judged from the
  // messages the popup windows see.
  static bool MouseMoved();
  static void FollowMouse(UINT message);
};
