#include "toolkit/frame/FrameWnd.h"

#include "toolkit/common/SharedState.h"

IMPLEMENT_DYNCREATE(CXTFrameWnd, CFrameWnd)

BEGIN_MESSAGE_MAP(CXTFrameWnd, CFrameWnd)
ON_WM_SYSCOLORCHANGE()
ON_WM_SETTINGCHANGE()
ON_WM_INITMENUPOPUP()
END_MESSAGE_MAP()

BOOL CXTFrameWnd::PreCreateWindow(CREATESTRUCTA& cs, UINT nIconID) {
  return CFrameWnd::PreCreateWindow(cs) && RegisterFrameClass(cs, nIconID);
}

BOOL CXTFrameWnd::PreTranslateMessage(MSG* pMsg) {
  return TranslateForMenuBar(this, pMsg) || CFrameWnd::PreTranslateMessage(pMsg);
}

CView* CXTFrameWnd::SwitchToView(CRuntimeClass* pViewClass, CDocument* pDoc, CCreateContext* pContext) {
  return CXTFrameHelper::SwitchToView(this, pViewClass, pDoc, pContext);
}

void CXTFrameWnd::LoadBarState(LPCSTR lpszProfileName) { CXTFrameHelper::LoadBarState(this, lpszProfileName); }

BOOL CXTFrameWnd::SaveBarState(LPCSTR lpszProfileName) { return CXTFrameHelper::SaveBarState(this, lpszProfileName); }

void CXTFrameWnd::DockControlBarLeftOf(CControlBar* pBar, CControlBar* pLeftOf) {
  CXTFrameHelper::DockControlBarLeftOf(this, pBar, pLeftOf);
}

CMenu* CXTFrameWnd::GetMenu() { return CXTFrameHelper::GetMenu(this); }

BOOL CXTFrameWnd::HideCommands(const UINT* pIds, int nCount) {
  return CXTFrameHelper::HideCommands(this, pIds, nCount);
}

void CXTFrameWnd::SetDockState(const CDockState& state) { CXTFrameHelper::SetDockState(this, state); }

void CXTFrameWnd::GetDockState(CDockState& state) { CXTFrameHelper::GetDockState(this, state); }

void CXTFrameWnd::InstallCoolMenus(const UINT* pToolbarIds, int nCount) {
  CXTFrameHelper::InstallCoolMenus(this, pToolbarIds, nCount);
}

void CXTFrameWnd::EnableDocking(DWORD dwDockStyle) { CXTFrameHelper::EnableDocking(this, dwDockStyle); }

void CXTFrameWnd::EnableDockingEx(DWORD dwDockStyle, DWORD dwFlatStyle) {
  CXTFrameHelper::EnableDockingEx(this, dwDockStyle, dwFlatStyle);
}

void CXTFrameWnd::DockControlBar(CControlBar* pBar, UINT nDockBarID, LPCRECT lpRect) {
  CXTFrameHelper::DockControlBar(this, pBar, nDockBarID, lpRect);
}

void CXTFrameWnd::OnSysColorChange() {
  CFrameWnd::OnSysColorChange();
  GetSharedState().RefreshToolkitColors();
}

void CXTFrameWnd::OnSettingChange(UINT uFlags, LPCSTR lpszSection) {
  CFrameWnd::OnSettingChange(uFlags, lpszSection);
  GetSharedState().RefreshToolkitColors();
}

void CXTFrameWnd::OnInitMenuPopup(CMenu* pPopup, UINT nIndex, BOOL bSysMenu) {
  AddShortcutTexts(pPopup->m_hMenu);
  CFrameWnd::OnInitMenuPopup(pPopup, nIndex, bSysMenu);
}
