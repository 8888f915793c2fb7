// CXTFrameWndBase<TFrame>: a class library frame (single-document,
// multiple-document or in-place) with the frame helper as its second base,
// forwarding to it. Its own message map, below the derived frame's, keeps
// the toolkit colours following the system's when its colours or settings
// change, and gives popups their shortcut texts before the class library's
// command updates see them.
#pragma once

#include "toolkit/common/SharedState.h"
#include "toolkit/frame/FrameHelper.h"

template <class TFrame>
class CXTFrameWndBase : public TFrame, public CXTFrameHelper {
 public:
  ~CXTFrameWndBase() override { ReleaseShortcuts(this); }

  BOOL PreCreateWindow(CREATESTRUCTA& cs) override { return TFrame::PreCreateWindow(cs); }
  // The class library's preparation, then a window class with this icon.
  virtual BOOL PreCreateWindow(CREATESTRUCTA& cs, UINT nIconID) {
    return TFrame::PreCreateWindow(cs) && RegisterFrameClass(cs, nIconID);
  }
  // The menu bar sees every message first; what it leaves goes the class library's way.
  BOOL PreTranslateMessage(MSG* pMsg) override {
    return TranslateForMenuBar(this, pMsg) || TFrame::PreTranslateMessage(pMsg);
  }

  virtual CView* SwitchToView(CRuntimeClass* pViewClass, CDocument* pDoc = nullptr, CCreateContext* pContext = nullptr) {
    return CXTFrameHelper::SwitchToView(this, pViewClass, pDoc, pContext);
  }
  virtual void LoadBarState(LPCSTR lpszProfileName) { CXTFrameHelper::LoadBarState(this, lpszProfileName); }
  virtual BOOL SaveBarState(LPCSTR lpszProfileName) { return CXTFrameHelper::SaveBarState(this, lpszProfileName); }
  virtual void DockControlBarLeftOf(CControlBar* pBar, CControlBar* pLeftOf) {
    CXTFrameHelper::DockControlBarLeftOf(this, pBar, pLeftOf);
  }
  virtual CMenu* GetMenu() { return CXTFrameHelper::GetMenu(this); }
  virtual void HideCommand(UINT nID) { HideCommands(&nID, 1); }
  virtual BOOL HideCommands(const UINT* pIds, int nCount) { return CXTFrameHelper::HideCommands(this, pIds, nCount); }
  virtual void SetDockState(const CDockState& state) { CXTFrameHelper::SetDockState(this, state); }
  virtual void GetDockState(CDockState& state) { CXTFrameHelper::GetDockState(this, state); }

  void InstallCoolMenus(const UINT* pToolbarIds, int nCount) {
    CXTFrameHelper::InstallCoolMenus(this, pToolbarIds, nCount);
  }
  void EnableDocking(DWORD dwDockStyle) { CXTFrameHelper::EnableDocking(this, dwDockStyle); }
  void EnableDockingEx(DWORD dwDockStyle, DWORD dwFlatStyle) {
    CXTFrameHelper::EnableDockingEx(this, dwDockStyle, dwFlatStyle);
  }
  void DockControlBar(CControlBar* pBar, UINT nDockBarID = 0, LPCRECT lpRect = nullptr) {
    CXTFrameHelper::DockControlBar(this, pBar, nDockBarID, lpRect);
  }

 protected:
  static const AFX_MSGMAP* GetThisMessageMap();
  const AFX_MSGMAP* GetMessageMap() const override { return GetThisMessageMap(); }

  afx_msg void OnSysColorChange() {
    TFrame::OnSysColorChange();
    GetSharedState().RefreshToolkitColors();
  }
  afx_msg void OnSettingChange(UINT uFlags, LPCSTR lpszSection) {
    TFrame::OnSettingChange(uFlags, lpszSection);
    GetSharedState().RefreshToolkitColors();
  }
  // Shortcut texts first, so that the command updates and the cool menus see them.
  afx_msg void OnInitMenuPopup(CMenu* pPopup, UINT nIndex, BOOL bSysMenu) {
    AddShortcutTexts(pPopup->m_hMenu);
    TFrame::OnInitMenuPopup(pPopup, nIndex, bSysMenu);
  }
};

template <class TFrame>
const AFX_MSGMAP* CXTFrameWndBase<TFrame>::GetThisMessageMap() {
  typedef CXTFrameWndBase<TFrame> ThisClass;
  static const AFX_MSGMAP_ENTRY entries[] = {
      ON_WM_SYSCOLORCHANGE()
      ON_WM_SETTINGCHANGE()
      ON_WM_INITMENUPOPUP()
      {0, 0, 0, 0, AfxSig_end, nullptr}};
  static const AFX_MSGMAP map = {&TFrame::GetThisMessageMap, entries};
  return &map;
}
