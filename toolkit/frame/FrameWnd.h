// CXTFrameWnd: the toolkit's single-document frame. The class library's
// frame plus the frame helper: a derived frame creates its menu bar (id
// 59480) and other bars in its WM_CREATE, enables docking, docks them,
// installs the cool menus, places itself and loads its bar state under a
// profile name, which it saves again before it closes. The toolkit colours
// follow the system's when its colours or settings change.
#pragma once

#include "toolkit/frame/FrameHelper.h"

class CXTFrameWnd : public CFrameWnd, public CXTFrameHelper {
  DECLARE_DYNCREATE(CXTFrameWnd)
  DECLARE_MESSAGE_MAP()
 public:
  CXTFrameWnd() = default;
  ~CXTFrameWnd() override { ReleaseShortcuts(this); }

  BOOL PreCreateWindow(CREATESTRUCTA& cs) override { return CFrameWnd::PreCreateWindow(cs); }
  // The menu bar sees every message first; what it leaves goes the class library's way.
  BOOL PreTranslateMessage(MSG* pMsg) override;
  // The class library's preparation, then a window class with this icon.
  virtual BOOL PreCreateWindow(CREATESTRUCTA& cs, UINT nIconID);

  virtual CView* SwitchToView(CRuntimeClass* pViewClass, CDocument* pDoc = nullptr, CCreateContext* pContext = nullptr);
  virtual void LoadBarState(LPCSTR lpszProfileName);
  virtual BOOL SaveBarState(LPCSTR lpszProfileName);
  virtual void DockControlBarLeftOf(CControlBar* pBar, CControlBar* pLeftOf);
  virtual CMenu* GetMenu();
  virtual void HideCommand(UINT nID) { HideCommands(&nID, 1); }
  virtual BOOL HideCommands(const UINT* pIds, int nCount);
  virtual void SetDockState(const CDockState& state);
  virtual void GetDockState(CDockState& state);

  void InstallCoolMenus(const UINT* pToolbarIds, int nCount);
  void EnableDocking(DWORD dwDockStyle);
  void EnableDockingEx(DWORD dwDockStyle, DWORD dwFlatStyle);
  void DockControlBar(CControlBar* pBar, UINT nDockBarID = 0, LPCRECT lpRect = nullptr);

 protected:
  afx_msg void OnSysColorChange();
  afx_msg void OnSettingChange(UINT uFlags, LPCSTR lpszSection);
  // Shortcut texts first, so that the command updates and the cool menus see them.
  afx_msg void OnInitMenuPopup(CMenu* pPopup, UINT nIndex, BOOL bSysMenu);
};
