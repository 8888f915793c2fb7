// CXTFrameHelper: what the toolkit adds to a frame window, kept apart from
// the frame's class so that every kind of frame (single-document now, others
// later) carries the same behaviour: cool menus, the toolkit's dock bars and
// floating frames, docking a bar beside another, the flat menu bar's menu
// and keyboard, switching views, and the bar state saved under a profile
// name. Each operation takes the frame it works for; the frames forward.
#pragma once

#include "classlib/classlib.h"
#include "toolkit/menus/CoolMenu.h"

class CXTMenuBar;

class CXTFrameHelper {
 public:
  // The shortcut manager is saved by the frames, not at process exit.
  CXTFrameHelper();
  virtual ~CXTFrameHelper() = default;
  CXTFrameHelper(const CXTFrameHelper&) = delete;
  CXTFrameHelper& operator=(const CXTFrameHelper&) = delete;

  // Turns the cool menus on for the frame, with the images of these tool-bar resources.
  void InstallCoolMenus(CFrameWnd* pFrame, const UINT* pToolbarIds, int nCount);
  // The toolkit's dock bars on the sides the style names, each made once;
  // bars float in the toolkit's mini-dock frames. Throws when a dock bar cannot be made.
  void EnableDocking(CFrameWnd* pFrame, DWORD dwDockStyle);
  // As EnableDocking, then every side gets this dock-bar style (flat look, borders kept).
  void EnableDockingEx(CFrameWnd* pFrame, DWORD dwDockStyle, DWORD dwFlatStyle);
  // nDockBarID 0: the side the bar's alignment names, exactly one. No such side, no docking.
  void DockControlBar(CFrameWnd* pFrame, CControlBar* pBar, UINT nDockBarID, LPCRECT lpRect);
  // Docks pBar in pLeftOf's row, just after it.
  void DockControlBarLeftOf(CFrameWnd* pFrame, CControlBar* pBar, CControlBar* pLeftOf);

  // The frame's menu bar (id 59480), or null.
  static CXTMenuBar* FindMenuBar(CFrameWnd* pFrame);
  // The frame's menu, also when the menu bar holds it.
  CMenu* GetMenu(CFrameWnd* pFrame);
  // Commands the menus leave out until the user asks for full menus.
  BOOL HideCommands(CFrameWnd* pFrame, const UINT* pIds, int nCount);
  // TRUE when the menu bar took the message: Alt, mnemonics, keys of its button
  // mode. A key of the shortcut manager's goes to the frame's accelerators instead.
  BOOL TranslateForMenuBar(CFrameWnd* pFrame, MSG* pMsg);
  // While the shortcut manager is active, each command item of the popup
  // shows the command's first shortcut after a tab.
  static void AddShortcutTexts(HMENU hPopup);
  // The frame is going: the shortcut manager saves its list and forgets the frame.
  static void ReleaseShortcuts(CFrameWnd* pFrame);

  // Puts a new view of the class in pane AFX_IDW_PANE_FIRST in place of the
  // active one, which is destroyed. Null when the view cannot be made.
  CView* SwitchToView(CFrameWnd* pFrame, CRuntimeClass* pViewClass, CDocument* pDoc, CCreateContext* pContext);
  // A window class of the frame's own, with the icon of that resource.
  static BOOL RegisterFrameClass(CREATESTRUCTA& cs, UINT nIconID);

  void GetDockState(CFrameWnd* pFrame, CDockState& state);
  void SetDockState(CFrameWnd* pFrame, const CDockState& state);
  void LoadBarState(CFrameWnd* pFrame, LPCSTR lpszProfileName);
  BOOL SaveBarState(CFrameWnd* pFrame, LPCSTR lpszProfileName);

  CXTCoolMenu& GetCoolMenu() { return m_coolMenu; }
  // The helper of a toolkit frame, or null for any other window.
  static CXTFrameHelper* FromWindow(CWnd* pWnd);
  // Tracks a popup menu for owner at a screen point, drawn by the owner
  // frame's cool menus once it has installed them; the chosen command goes to owner.
  static void TrackPopupFor(HMENU hMenu, CPoint point, CWnd* pOwner);

 private:
  CXTCoolMenu m_coolMenu;
};
