#include "MainFrame.h"

#include <algorithm>

#include "SettingsPane.h"
#include "StartUpIconsView.h"
#include "app/BuilderCommands.h"
#include "app/BuilderGlobals.h"
#include "app/KorvaneBrennicorDoc.h"
#include "builder_resource.h"
#include "classlib/resource.h"
#include "dialogs/AboutBox.h"
#include "sysinfo/SystemInfoDlg.h"
#include "toolkit/common/ScreenScale.h"
#include "toolkit/common/SettingsStore.h"
#include "toolkit/common/SharedState.h"

IMPLEMENT_DYNCREATE(CMainFrame, CXTFrameWnd)


namespace {

constexpr char kSettingsSection[] = "Settings";
constexpr char kQuickPanelValue[] = "bQUCKLftPnl";
constexpr char kXPLookValue[] = "bXPMode";
constexpr char kBarStateName[] = "KorvaneBrennicorPOS";

constexpr DWORD kMenuBarControlStyle = 0x800;          // flat
constexpr DWORD kMenuBarStyle = 0x50402834;            // child, visible, top, fly-by, tips, dynamic, gripper
constexpr DWORD kStatusBarStyle = 0x50008200;          // child, visible, bottom, top border
constexpr DWORD kDockAnySide = 0xF000;
constexpr DWORD kFlatDockBars = 0x100;
constexpr DWORD kSplitterStyle = 0x50000000;           // child, visible
constexpr DWORD kFlatSplitterStyle = 10;
constexpr int kStartPageWidth = 300;
constexpr int kFrameWidth = 860, kFrameHeight = 640;

// The images the menus show beside their commands.
const UINT kCoolMenuStrips[] = {IDR_MAINFRAME, IDR_MENU_IMAGES};
const UINT kIndicators[] = {ID_SEPARATOR, ID_INDICATOR_CAPS, ID_INDICATOR_NUM, ID_INDICATOR_SCRL};

struct HelpPage {
  UINT command;
  const char* page;
};
const HelpPage kHelpPages[] = {
    {ID_HELP, "index.html"},          {ID_HELP_TOPICS, "index.html"},
    {ID_HELP_HOW_TO, "how_to.html"},  {ID_HELP_FAQ, "faq.html"},
    {ID_HELP_SPECIAL_OFFERS, "special_offersreferrals.html"},
};

// The accelerator table turns the edit keys into commands before the edit
// box with the focus sees them: the frame hands them back to it.
struct EditCommand {
  UINT command;
  UINT message;
};
// Copy (57634) to undo (57643): the edit keys of the accelerator table.
constexpr UINT kFirstEditCommand = 57634, kLastEditCommand = 57643;
const EditCommand kEditCommands[] = {{57634, WM_COPY}, {57635, WM_CUT}, {57637, WM_PASTE}, {57643, WM_UNDO}};

const EditCommand* FindEditCommand(UINT id) {
  for (const EditCommand& edit : kEditCommands)
    if (edit.command == id) return &edit;
  return nullptr;
}

HWND FocusedEditBox() {
  HWND focus = ::GetFocus();
  char name[16] = {};
  if (focus) ::GetClassNameA(focus, name, sizeof name);
  return lstrcmpiA(name, "Edit") == 0 || _strnicmp(name, "RichEdit", 8) == 0 ? focus : nullptr;
}

// Commands that replace, save or free the project record, or end the
// program: a running build reads that record, so they wait for its end.
bool ChangesTheProject(UINT id) {
  return id == ID_FILE_NEW || id == ID_FILE_OPEN || id == ID_FILE_SAVE || id == ID_FILE_SAVE_AS ||
         id == ID_APP_EXIT || id == ID_BUILD_BRENNICOR || (id >= ID_FILE_MRU_FILE1 && id <= ID_FILE_MRU_FILE16);
}

}  // namespace

BEGIN_MESSAGE_MAP(CMainFrame, CXTFrameWnd)
  ON_WM_CREATE()
  ON_WM_CLOSE()
  ON_WM_SYSCOMMAND()
  ON_WM_GETMINMAXINFO()
  ON_COMMAND(ID_QUICK_PANEL, OnQuickPanel)
  ON_UPDATE_COMMAND_UI(ID_QUICK_PANEL, OnUpdateQuickPanel)
  ON_COMMAND(ID_BUILD_BRENNICOR, OnBuild)
  ON_UPDATE_COMMAND_UI(ID_BUILD_BRENNICOR, OnUpdateBuild)
  ON_COMMAND(ID_SHOW_BUILD_PAGE, OnActivateBuildPage)
  ON_COMMAND(ID_SHOW_BUILD_PAGE_TOO, OnActivateBuildPage)
  ON_COMMAND(ID_XP_LOOK, OnXPLook)
  ON_UPDATE_COMMAND_UI(ID_XP_LOOK, OnUpdateXPLook)
  ON_COMMAND(ID_RESET_WARNING_BOXES, OnResetWarningBoxes)
  // The standard help command opens the help topics like F1.
  ON_COMMAND_RANGE(ID_HELP, ID_HELP, OnHelpPage)
  ON_COMMAND_RANGE(ID_HELP_FAQ, ID_HELP_HOW_TO, OnHelpPage)
  ON_COMMAND_RANGE(ID_HELP_SPECIAL_OFFERS, ID_HELP_SPECIAL_OFFERS, OnHelpPage)
  ON_COMMAND_RANGE(ID_HELP_TOPICS, ID_HELP_TOPICS, OnHelpPage)
  ON_COMMAND(ID_TIP_OF_THE_DAY, OnTipOfTheDay)
  ON_COMMAND(ID_HOME_PAGE, OnHomePage)
  ON_COMMAND(ID_ABOUT_BRENNICOR, OnAbout)
  ON_COMMAND(ID_SYSTEM_INFO, OnSystemInfo)
  ON_COMMAND_RANGE(kFirstEditCommand, kLastEditCommand, OnEditCommand)
  ON_UPDATE_COMMAND_UI_RANGE(kFirstEditCommand, kLastEditCommand, OnUpdateEditCommand)
END_MESSAGE_MAP()

CMainFrame::CMainFrame() {
  CXTSettingsStore store;
  quickPanel_ = store.ReadInt(kSettingsSection, kQuickPanelValue, 1);
  CXTSharedState& shared = GetSharedState();
  shared.m_xpLook = store.ReadInt(kSettingsSection, kXPLookValue, 1);
  shared.m_customizeFlags[0] = TRUE;
}

CMainFrame::~CMainFrame() {
  CXTSettingsStore store;
  store.WriteInt(kSettingsSection, kXPLookValue, GetSharedState().m_xpLook);
  store.WriteInt(kSettingsSection, kQuickPanelValue, quickPanel_);
  if (Builder().mainFrame == this) Builder().mainFrame = nullptr;
  if (Builder().projectHost == this) Builder().projectHost = nullptr;
}

BOOL CMainFrame::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) {
  const UINT code = static_cast<UINT>(nCode);
  if (Builder().buildRunning && ChangesTheProject(nID) && !pHandlerInfo) {
    if (code == CN_UPDATE_COMMAND_UI && pExtra) static_cast<CCmdUI*>(pExtra)->Enable(FALSE);
    if (code == CN_COMMAND || code == CN_UPDATE_COMMAND_UI) return TRUE;
  }
  return CXTFrameWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

int CMainFrame::OnCreate(LPCREATESTRUCTA lpcs) {
  if (CXTFrameWnd::OnCreate(lpcs) == -1 || !CreateBars()) return -1;
  Builder().mainFrame = this;
  Builder().projectHost = this;
  EnableDocking(kDockAnySide);
  InstallCoolMenus(kCoolMenuStrips, sizeof kCoolMenuStrips / sizeof kCoolMenuStrips[0]);
  SetWindowPos(nullptr, 0, 20, kFrameWidth, kFrameHeight, SWP_NOZORDER | SWP_NOACTIVATE);
  CenterWindow(CWnd::GetDesktopWindow());
  LoadBarState(kBarStateName);
  ShowTipOfTheDayAtStartUp();
  return 0;
}

BOOL CMainFrame::CreateBars() {
  if (!menuBar_.CreateEx(this, kMenuBarControlStyle, kMenuBarStyle, CRect(0, 0, 0, 0), ID_MAIN_MENU_BAR) ||
      !menuBar_.LoadMenuBar(IDR_MAINFRAME))
    return FALSE;
  if (!statusBar_.Create(this, kStatusBarStyle, AFX_IDW_STATUS_BAR) ||
      !statusBar_.SetIndicators(kIndicators, sizeof kIndicators / sizeof kIndicators[0]))
    return FALSE;
  menuBar_.EnableDocking(kDockAnySide);
  EnableDocking(kDockAnySide);
  EnableDockingEx(kDockAnySide, kFlatDockBars);
  DockControlBar(&menuBar_);
  return TRUE;
}

BOOL CMainFrame::OnCreateClient(LPCREATESTRUCTA, CCreateContext* pContext) {
  if (!splitter_.CreateStatic(this, 1, 2, kSplitterStyle, AFX_IDW_PANE_FIRST)) return FALSE;
  if (!splitter_.CreateView(0, 0, RUNTIME_CLASS(CStartUpIconsView), CSize(170, 100), pContext) ||
      !splitter_.CreateView(0, 1, settings_pane::ViewClass(), CSize(100, 100), pContext)) {
    splitter_.DestroyWindow();
    return FALSE;
  }
  ShowStartPageColumn();
  settingsView_ = static_cast<CView*>(splitter_.GetPane(0, 1));
  // The start page routes the commands, so Save and Save As reach the document.
  SetActiveView(static_cast<CView*>(splitter_.GetPane(0, 0)));
  if (!quickPanel_) splitter_.HideColumn(0);
  splitter_.RecalcLayout();
  return TRUE;
}

// The start page's layout grows with the text size, and its column with it.
void CMainFrame::ShowStartPageColumn() {
  splitter_.SetColumnInfo(0, ScaleToScreen(kStartPageWidth), 0);
  splitter_.SetSplitterStyle(kFlatSplitterStyle);
}

void CMainFrame::RestoreSavedPlacement() {
  placement_.RestoreWindowPlacement(this);
  GrowToShowPages(false);
}

// The frame is never smaller than what shows the start page column and the
// settings pages whole: at a larger text size the pages grow, the frame with them.
CSize CMainFrame::MinimumSize() {
  const CSize pane = settingsView_ ? settings_pane::NeededSize(settingsView_) : CSize();
  if (pane.cx <= 0 || pane.cy <= 0) return CSize();
  CRect frame, client;
  GetWindowRect(&frame);
  settingsView_->GetClientRect(&client);
  return CSize(frame.Width() - client.Width() + pane.cx, frame.Height() - client.Height() + pane.cy);
}

void CMainFrame::GrowToShowPages(bool centre) {
  RecalcLayout();
  const CSize needed = MinimumSize();
  CRect frame;
  GetWindowRect(&frame);
  if (frame.Width() >= needed.cx && frame.Height() >= needed.cy) return;
  SetWindowPos(nullptr, 0, 0, std::max<int>(frame.Width(), needed.cx), std::max<int>(frame.Height(), needed.cy),
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  if (centre) CenterWindow(CWnd::GetDesktopWindow());
}

// The pages exist once the views had their first update, just before the frame shows.
void CMainFrame::ActivateFrame(int nCmdShow) {
  GrowToShowPages(true);
  CXTFrameWnd::ActivateFrame(nCmdShow);
}

void CMainFrame::OnGetMinMaxInfo(MINMAXINFO* info) {
  CXTFrameWnd::OnGetMinMaxInfo(info);
  const CSize minimum = MinimumSize();
  info->ptMinTrackSize.x = std::max<LONG>(info->ptMinTrackSize.x, minimum.cx);
  info->ptMinTrackSize.y = std::max<LONG>(info->ptMinTrackSize.y, minimum.cy);
}

void CMainFrame::OnClose() {
  if (Builder().buildRunning) return;
  placement_.SaveWindowPlacement(this);
  SaveBarState(kBarStateName);
  CXTFrameWnd::OnClose();
}

void CMainFrame::OnSysCommand(UINT nID, LPARAM lParam) {
  if ((nID & 0xFFF0) == ID_ABOUT_SYSTEM_MENU) ShowAboutBox();
  CXTFrameWnd::OnSysCommand(nID, lParam);
}

void CMainFrame::OnQuickPanel() {
  quickPanel_ = !quickPanel_;
  if (quickPanel_) {
    splitter_.ShowColumn();
    ShowStartPageColumn();
  } else {
    splitter_.HideColumn(0);
  }
  splitter_.RecalcLayout();
}

void CMainFrame::OnUpdateQuickPanel(CCmdUI* pCmdUI) { pCmdUI->SetCheck(quickPanel_ == 1); }

void CMainFrame::OnBuild() {
  if (settingsView_ && settings_pane::GeneralPageHasWindow(settingsView_)) settings_pane::Build(settingsView_);
}

void CMainFrame::OnUpdateBuild(CCmdUI* pCmdUI) {
  pCmdUI->Enable(settingsView_ && settings_pane::GeneralPageHasWindow(settingsView_) &&
                 settings_pane::ReadyToBuild(settingsView_));
}

void CMainFrame::OnActivateBuildPage() {
  if (settingsView_) settings_pane::ActivateBuildPage(settingsView_, record_);
}

void CMainFrame::OnXPLook() {
  CXTSharedState& shared = GetSharedState();
  shared.m_xpLook = !shared.m_xpLook;
  RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

void CMainFrame::OnUpdateXPLook(CCmdUI* pCmdUI) { pCmdUI->SetCheck(GetSharedState().m_xpLook ? 1 : 0); }

void CMainFrame::OnResetWarningBoxes() { ResetWarningBoxes(1, this); }

void CMainFrame::OnHelpPage(UINT nID) {
  for (const HelpPage& help : kHelpPages)
    if (help.command == nID) ShowHelpPage(help.page);
}

void CMainFrame::OnTipOfTheDay() { ShowTipOfTheDay(); }

void CMainFrame::OnHomePage() { OpenHomePage(); }

void CMainFrame::OnAbout() { ShowAboutBox(); }

void CMainFrame::OnSystemInfo() {
  CMySystemInfoDlg info(this);
  info.DoModal();
}

void CMainFrame::OnEditCommand(UINT nID) {
  const EditCommand* edit = FindEditCommand(nID);
  HWND box = FocusedEditBox();
  if (edit && box) ::SendMessageA(box, edit->message, 0, 0);
}

void CMainFrame::OnUpdateEditCommand(CCmdUI* pCmdUI) {
  pCmdUI->Enable(FindEditCommand(pCmdUI->m_nID) && FocusedEditBox());
}

void CMainFrame::PushSettingsToPages(int reset, CMainFrame* frame) {
  if (!frame || !frame->settingsView_) return;
  if (reset) ResetDefaults(frame->record_);
  settings_pane::RecordToPages(frame->settingsView_, frame->record_, reset);
}

BOOL CMainFrame::OpenProjectByPath(LPCSTR path) {
  if (Builder().buildRunning || !Builder().document) return FALSE;
  return Builder().document->OpenByPath(path);
}

bool CMainFrame::GeneralPageHasWindow() {
  return settingsView_ && settings_pane::GeneralPageHasWindow(settingsView_);
}

void CMainFrame::PushRecordToPages() { PushSettingsToPages(0, this); }

void CMainFrame::PushFreshRecordToPages() { PushSettingsToPages(1, this); }

void CMainFrame::CollectPagesIntoRecord() {
  if (settingsView_) settings_pane::PagesToRecord(settingsView_, record_);
}

// The panes and the sheet's page with every control on it: the frame alone
// would paint over them and leave them blank.
void CMainFrame::RepaintMainWindow() {
  RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
}
