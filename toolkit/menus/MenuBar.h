// CXTMenuBar: the frame's menu as a dockable toolkit bar. It draws the
// top-level titles itself, flat, in the toolkit's colours, docks on any side
// (titles rotated when docked left or right), floats, and wraps onto several
// rows. While an MDI child is maximised its icon leads the bar and its
// caption buttons end it.
//
// Files: MenuBarItem.cpp (the items), MenuBar.cpp (creation, menus, the
// window list), MenuBarLayout.cpp (rows, positions, sizes), MenuBarPaint.cpp.
// Keyboard and mouse tracking come with the menu bar's hooks.
#pragma once

#include <memory>
#include <vector>

#include "classlib/array.h"
#include "toolkit/bars/ControlBar.h"
#include "toolkit/menus/MenuBarItem.h"

class CXTMenuBar : public CXTControlBar {
  DECLARE_DYNAMIC(CXTMenuBar)
  DECLARE_MESSAGE_MAP()
 public:
  enum { kBarId = 59480, kFirstMDIChild = 0xFF00, kMaxListedChildren = 9, kMoreWindows = 0xFF09 };
  enum TrackingState { kIdle, kButtonMode, kPopupOpen };
  // Which items a layout or a paint walks.
  enum VisibleMode { kTitles = 1, kChildButtons = 2, kAll = 3 };

  CXTMenuBar();
  ~CXTMenuBar() override;

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
  BOOL ShowsChildButtons() const { return m_bShowMDIButtons; }
  BOOL IsFrameActive() const { return m_bFrameActive; }
  BOOL HasKeyboardCues() const { return m_bKeyboardCues; }
  // Draws a title in its state.
  void DrawTitle(CDC* dc, const CXTMenuBarTextItem& item);

  BOOL m_bMoreWindows = TRUE;
  BOOL m_bPushButtonsToEnd = TRUE;

 protected:
  afx_msg void OnPaint();
  afx_msg void OnSettingChange(UINT flags, LPCSTR section);
  afx_msg void OnDestroy();

 private:
  void DeleteItems();
  void ResetTracking();
  void AddTitles(HMENU menu);
  void RefreshKeyboardCues();
  // The active MDI child while it is maximised.
  void UpdateMaximisedChild();
  BOOL IsVerticalLayout() const { return !IsFloating() && !IsHorizontal(); }

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
