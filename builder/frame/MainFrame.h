// The builder's one top-level window: menu bar, status bar, the start page
// and the settings form view side by side in a static splitter, and the
// project record for the whole run. It saves its placement and bar state
// when it closes and the quick-panel and look flags when it goes.
#pragma once
#include "MyFileUtility.h"
#include "ProjectSettings.h"
#include "app/ProjectHost.h"
#include "classlib/view/view.h"
#include "toolkit/bars/SplitterWnd.h"
#include "toolkit/bars/StatusBar.h"
#include "toolkit/common/WindowPlacement.h"
#include "toolkit/frame/FrameWnd.h"
#include "toolkit/menus/MenuBar.h"

class CMainFrame : public CXTFrameWnd, private ProjectHost {
  DECLARE_DYNCREATE(CMainFrame)
  DECLARE_MESSAGE_MAP()
 public:
  CMainFrame();
  ~CMainFrame() override;

  BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;

  // Resets the record to its defaults first when reset is nonzero, then
  // copies it into the pages, telling them whether the project is fresh.
  static void PushSettingsToPages(int reset, CMainFrame* frame);
  // The start page's recent projects: loads the file into the open project,
  // or says why not and keeps the project as it was.
  static BOOL OpenProjectByPath(LPCSTR path);
  // Places the frame where it was last closed (nothing when no placement was saved).
  void RestoreSavedPlacement();
  CView* SettingsView() const { return settingsView_; }
  BOOL QuickPanelShown() const { return quickPanel_; }

 protected:
  BOOL OnCreateClient(LPCREATESTRUCTA lpcs, CCreateContext* pContext) override;
  void ActivateFrame(int nCmdShow = -1) override;
  afx_msg void OnGetMinMaxInfo(MINMAXINFO* info);
  afx_msg int OnCreate(LPCREATESTRUCTA lpcs);
  afx_msg void OnClose();
  afx_msg void OnSysCommand(UINT nID, LPARAM lParam);
  afx_msg void OnQuickPanel();
  afx_msg void OnUpdateQuickPanel(CCmdUI* pCmdUI);
  afx_msg void OnBuild();
  afx_msg void OnUpdateBuild(CCmdUI* pCmdUI);
  afx_msg void OnActivateBuildPage();
  afx_msg void OnXPLook();
  afx_msg void OnUpdateXPLook(CCmdUI* pCmdUI);
  afx_msg void OnResetWarningBoxes();
  afx_msg void OnHelpPage(UINT nID);
  afx_msg void OnTipOfTheDay();
  afx_msg void OnHomePage();
  afx_msg void OnAbout();
  afx_msg void OnSystemInfo();
  afx_msg void OnEditCommand(UINT nID);
  afx_msg void OnUpdateEditCommand(CCmdUI* pCmdUI);

 private:
  BOOL CreateBars();
  void ShowStartPageColumn();
  CSize MinimumSize();
  void GrowToShowPages(bool centre);

  ProjectSettings& Record() override { return record_; }
  bool HasSettingsView() override { return settingsView_ != nullptr; }
  bool GeneralPageHasWindow() override;
  void PushRecordToPages() override;
  void PushFreshRecordToPages() override;
  void CollectPagesIntoRecord() override;
  void RepaintMainWindow() override;

  CMyFileUtility utility_;
  ProjectSettings record_;
  CXTStatusBar statusBar_;
  CXTMenuBar menuBar_;
  CView* settingsView_ = nullptr;
  CXTSplitterWnd splitter_;
  BOOL quickPanel_ = TRUE;
  CXTWindowPlacement placement_;
};
