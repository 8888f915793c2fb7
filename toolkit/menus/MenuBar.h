// CXTMenuBar: the frame's menu as a dockable toolkit bar. It draws the
// top-level titles itself, flat, in the toolkit's colours, docks on any side
// (titles rotated when docked left or right), floats, and wraps onto several
// rows. While an MDI child is maximised its icon leads the bar and its
// caption buttons end it.
//
// The bar takes the keyboard as a system menu bar does: Alt alone highlights
// the first title (button mode), arrows move the highlight, Enter, Space, Up,
// Down or a mnemonic open a title's popup; inside a popup Left and Right move
// to the neighbouring titles and the mouse switches titles by moving over
// them. Two window hooks let it follow its frame and an MDI client.
//
// Files: MenuBarItem.cpp (the items), MenuBar.cpp (creation, menus, the
// window list), MenuBarLayout.cpp (rows, positions, sizes), MenuBarPaint.cpp,
// MenuBarKeyboard.cpp (the frame's keys, button mode), MenuBarTracking.cpp
// (popups and the mouse), MenuBarButtons.cpp (the MDI child's buttons and
// their tips), MenuBarHooks.cpp (the frame and MDI client hooks),
// MenuBarServer.cpp (titles of an object active in place).
#pragma once

#include <memory>
#include <vector>

#include "classlib/array.h"
#include "classlib/controls.h"
#include "classlib/imagelist.h"
#include "toolkit/bars/ControlBar.h"
#include "toolkit/menus/MenuBarItem.h"

class CXTMBarWndHook;
class CXTMBarMDIWndHook;

// How the bar learns of an object active in place in its frame's view: the
// window of the server, or null when nothing is active in place. The class
// layer's own answer by default; tests give their own.
struct CXTInPlaceQuery {
  HWND (*serverWindow)(CFrameWnd* frame);
};
const CXTInPlaceQuery& ClassLayerInPlaceQuery();

class CXTMenuBar : public CXTControlBar {
  DECLARE_DYNAMIC(CXTMenuBar)
  DECLARE_MESSAGE_MAP()
 public:
  enum { kBarId = 59480, kFirstMDIChild = 0xFF00, kMaxListedChildren = 9, kMoreWindows = 0xFF09 };
  enum TrackingState { kIdle, kButtonMode, kPopupOpen };
  // Which items a layout or a paint walks.
  enum VisibleMode { kTitles = 1, kChildButtons = 2, kAll = 3 };

  enum { kHoverTimer = 1000, kHoverDelay = 4500 };

  explicit CXTMenuBar(const CXTInPlaceQuery& inPlace = ClassLayerInPlaceQuery());
  ~CXTMenuBar() override;

  // The frame's keyboard filter, called for every message before it is
  // translated: TRUE when the bar took it (Alt, mnemonics, button mode keys).
  virtual BOOL TranslateFrameMessage(MSG* msg);

  virtual BOOL Create(CWnd* parent, DWORD style = WS_CHILD | WS_VISIBLE | CBRS_TOP, UINT id = kBarId);
  virtual BOOL CreateEx(CWnd* parent, DWORD ctrlStyle, DWORD style, const RECT& borders, UINT id = kBarId);
  virtual BOOL HideCommand(UINT id);
  virtual BOOL HideCommands(const UINT* ids, int count);
  // Lists the MDI children at the end of the window menu.
  virtual void RefreshWindowMenu();
  // The first of the listed items holding the client point, or -1.
  virtual int HitTest(CPoint point, const int* first, const int* last) const;
  virtual TrackingState GetTrackingState(int* tracked) const;
  virtual void OnWindowMenuPopup() { RefreshWindowMenu(); }
  // Where a popup of the item (screen rectangle) opens, and its exclusion
  // rectangle; flags loses TPM_VERTICAL when the popup opens beside the bar.
  virtual CPoint GetPopupPosition(const CRect& item, TPMPARAMS* params, UINT* flags);
  // The mouse on the MDI child's buttons: TRUE when the bar took it.
  virtual BOOL OnSysButtonMouse(UINT message, UINT keys, CPoint point);
  // A message of the open popup's loop: TRUE when the bar took it.
  virtual BOOL OnMenuInput(MSG* msg, BOOL clientCoordinates);
  virtual void RelaySysButtonTip(CPoint point, UINT type);

  // Opens the item's popup and follows the user from title to title until
  // the last popup closes.
  void TrackPopup(int item);
  BOOL SetTrackingState(TrackingState state, int item);
  void ToggleButtonMode();
  // The icon or title after (before) the item, wrapping around.
  int GetNextItem(int item, BOOL backward) const;
  // Ends the open popup; the item's opens next.
  void SwitchPopup(int item);
  void UpdateMaximizedChild(BOOL repaint);

  // What the frame hooks tell the bar.
  // The open popup selected an item with these MF_ flags.
  void OnMenuSelect(UINT flags);
  BOOL IsOpenPopup(HMENU menu) const { return menu && menu == m_hMenuOpen; }
  int GetTrackedItemPosition() const;
  // The server window a menu message belongs to while an object is active
  // in place, or null.
  HWND FindServerWindow(UINT message) const;
  // The 1-based top-level positions the in-place server owns.
  const std::vector<int>& ServerPositions() const { return m_serverPositions; }
  void RecalcServerPositions();
  HWND GetMDIClient() const { return m_hWndMDIClient; }
  void SetFrameActive(BOOL active);
  HMENU GetWindowMenu() const { return m_hMenuWindow; }
  static BOOL IsAltDown();

  CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz) override;
  CSize CalcDynamicLayout(int nLength, DWORD nMode) override;
  void OnUpdateCmdUI(CFrameWnd* target, BOOL disableIfNoHandler) override;
  void OnBarStyleChange(DWORD oldStyle, DWORD newStyle) override;
  BOOL IsFloating() const override { return (m_dwStyle & CBRS_FLOATING) != 0; }
  BOOL IsHorizontal() const { return (m_dwStyle & (CBRS_ALIGN_TOP | CBRS_ALIGN_BOTTOM)) != 0; }
  BOOL CanDragFullWindow() const override { return TRUE; }
  INT_PTR OnToolHitTest(CPoint, TOOLINFOA*) const override { return -1; }

  // Loads the menu resource and installs it; FALSE when it is missing.
  BOOL LoadMenuBar(UINT menuId);
  BOOL LoadMenu(LPCSTR name);
  // Installs a menu (null with no window menu: the default one); returns the previous one.
  HMENU SetMenu(HMENU menu, HMENU windowMenu);
  HMENU GetMenu() const { return m_hMenu; }
  INT_PTR GetItemCount() const { return static_cast<INT_PTR>(m_items.size()); }
  CXTMenuBarItem* GetItem(INT_PTR index) const { return m_items[index].get(); }
  // The item's rectangle in the client area, turned with a vertical bar.
  CRect GetItemRect(INT_PTR index) const;
  std::vector<int> VisibleItems(VisibleMode mode) const;
  HWND GetMaximisedChild() const { return m_hWndMaximisedChild; }
  int GetHotItem() const { return m_nHotItem; }
  int GetPressedItem() const { return m_nPressedItem; }
  // The pressed caption button while the mouse is over it, else -1.
  int GetPressedButton() const { return m_bPressedButtonHot ? m_nPressedButton : -1; }
  BOOL ShowsChildButtons() const { return m_bShowMDIButtons; }
  BOOL IsFrameActive() const { return m_bFrameActive; }
  BOOL HasKeyboardCues() const { return m_bKeyboardCues; }
  // Draws a title, or one of the MDI child's caption buttons, in its state.
  void DrawTitle(CDC* dc, const CXTMenuBarTextItem& item);
  void DrawCaptionButton(CDC* dc, const CRect& rect, UINT type, int index);
  int IndexOf(const CXTMenuBarItem& item) const;
  // What the items do when tracked: a title's popup (or its command), the
  // maximised child's system menu, closing that child.
  void TrackTitle(const CXTMenuBarTextItem& title);
  void TrackChildSystemMenu(const CXTMenuBarItem& icon);
  void CloseChild();
  // Ends a press on a child's button without its command.
  void EndButtonPress();
  // The open title (screen) and the side its popup opens from, while a
  // popup of a menu bar shows; empty and 0 otherwise.
  static void GetOpenTitle(RECT* rect, DWORD* alignment);
  // The window the bar's popups and commands belong to.
  CWnd* OwnerWindow() const;

  BOOL m_bMoreWindows = TRUE;
  BOOL m_bPushButtonsToEnd = TRUE;

 protected:
  afx_msg void OnPaint();
  afx_msg void OnSettingChange(UINT flags, LPCSTR section);
  afx_msg void OnDestroy();
  afx_msg void OnLButtonDown(UINT keys, CPoint point);
  afx_msg void OnLButtonDblClk(UINT keys, CPoint point);
  afx_msg void OnLButtonUp(UINT keys, CPoint point);
  afx_msg void OnMouseMove(UINT keys, CPoint point);
  afx_msg BOOL OnSetCursor(CWnd* wnd, UINT hitTest, UINT message);
  afx_msg void OnCaptureChanged(CWnd* wnd);
  afx_msg void OnCancelMode();

 private:
  void DeleteItems();
  void ResetTracking();
  void AddTitles(HMENU menu);
  void RefreshKeyboardCues();
  BOOL IsVerticalLayout() const { return !IsFloating() && !IsHorizontal(); }
  void SetAltDown(BOOL down);
  void SetHotItem(int item);
  BOOL TranslateButtonModeKey(UINT key);
  BOOL OpenMnemonic(UINT key, BOOL altDown);
  int HitTestTitles(CPoint point) const;
  DWORD PopupAlignment() const;
  void FollowHover(CPoint point);
  void StopHoverTimer();
  void CreateTips();
  void DrawGlyph(CDC* dc, const CRect& rect, UINT type, COLORREF color);
  // The caption button under the point (a visible one), or -1.
  int HitTestButtons(CPoint point) const;

  // Layout (MenuBarLayout.cpp).
  int WrapItems(int limit);
  void PlaceItems(BOOL horizontal);
  void PushButtonsToEnd(BOOL horizontal);
  CSize ItemsSize(BOOL horizontal) const;
  CSize BorderSize(BOOL horizontal) const;
  int AvailableLength(BOOL horizontal) const;
  void SizeToLength(int length, BOOL horizontal);
  void SizeFloatingToWidth(int width);
  CSize CalcLayout(DWORD mode, int length);

  std::vector<std::unique_ptr<CXTMenuBarItem>> m_items;
  CArray<UINT, UINT> m_hiddenCommands;
  int m_nHotItem = -1;
  int m_nTrackedItem = -1;
  int m_nNextItem = -1;
  int m_nTrackingItem = -1;  // the item whose popup loop runs
  int m_nPressedItem = -1;
  int m_nPressedButton = -1;
  BOOL m_bPressedButtonHot = FALSE;
  CPoint m_ptLastMouse;
  BOOL m_bLastMouseValid = FALSE;
  BOOL m_bHoverTimer = FALSE;
  BOOL m_bRightLeaves = FALSE, m_bLeftLeaves = FALSE, m_bEscapeClosed = FALSE;
  BOOL m_bHotTracking = FALSE;
  BOOL m_bAltAlone = FALSE;  // Alt went down and nothing else since
  HMENU m_hMenuOpen = nullptr;
  std::vector<int> m_serverPositions;
  const CXTInPlaceQuery& m_inPlace;
  std::unique_ptr<CXTMBarWndHook> m_frameHook;
  std::unique_ptr<CXTMBarMDIWndHook> m_clientHook;
  CToolTipCtrl m_tips;
  CImageList m_glyphs;
  UINT m_nMenuId = 0;
  int m_nFixedLength = -1;
  BOOL m_bKeyboardCues = TRUE;
  BOOL m_bFrameActive = TRUE;
  HWND m_hWndMaximisedChild = nullptr;
  HWND m_hWndMDIClient = nullptr;
  HMENU m_hMenu = nullptr;
  HMENU m_hMenuDefault = nullptr;
  HMENU m_hMenuWindow = nullptr;
  TrackingState m_state = kIdle;
  BOOL m_bShowMDIButtons = TRUE;
};
