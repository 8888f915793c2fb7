#include "BuilderApp.h"

#include <commctrl.h>

#include "BuilderCommands.h"
#include "BuilderGlobals.h"
#include "KorvaneBrennicorDoc.h"
#include "builder_resource.h"
#include "classlib/document/commandlineinfo.h"
#include "classlib/document/doctemplate.h"
#include "classlib/view/view.h"
#include "dialogs/AboutBox.h"
#include "frame/MainFrame.h"

BEGIN_MESSAGE_MAP(CBuilderApp, CWinApp)
  ON_COMMAND(ID_FILE_NEW, OnFileNew)
  ON_COMMAND(ID_FILE_OPEN, OnFileOpenProject)
  ON_COMMAND(ID_ABOUT_BRENNICOR, OnAbout)
  ON_COMMAND(ID_HELP_TOPICS, OnHelpTopics)
END_MESSAGE_MAP()

namespace {
constexpr UINT kRecentFiles = 10;
}  // namespace

CBuilderApp::CBuilderApp() = default;

CBuilderApp::~CBuilderApp() = default;

CBuilderApp* BuilderApp() { return static_cast<CBuilderApp*>(AfxGetApp()); }

BOOL CBuilderApp::InitInstance() {
  ::InitCommonControls();
  CWinApp::InitInstance();
  if (!AfxOleInit()) {
    AfxMessageBox(IDS_OLE_INIT_FAILED);
    return FALSE;
  }
  AfxEnableControlContainer();
  SetRegistryKey("Korvane");
  LoadStdProfileSettings(kRecentFiles);
  AddDocTemplate(new CSingleDocTemplate(IDR_MAINFRAME, RUNTIME_CLASS(CKorvaneBrennicorDoc),
                                        RUNTIME_CLASS(CMainFrame), RUNTIME_CLASS(CFormView)));
  if (!ProcessCommandLine()) return FALSE;
  Builder().mainWindow = m_pMainWnd;
  CMainFrame* frame = Builder().mainFrame;
  if (m_pMainWnd) {
    AddAboutToSystemMenu();
    if (frame) frame->RestoreSavedPlacement();
    m_pMainWnd->ShowWindow(SW_SHOW);
    m_pMainWnd->UpdateWindow();
  }
  TakeHelpFilePath();
  // A project opened from the command line is the record the pages keep;
  // otherwise they start from the defaults.
  if (m_pMainWnd && frame) CMainFrame::PushSettingsToPages(openedFromCommandLine_ ? 0 : 1, frame);
  if (Builder().document) Builder().document->TakePagesAsSaved();
  return TRUE;
}

BOOL CBuilderApp::PreTranslateMessage(MSG* pMsg) {
  const bool key = pMsg->message >= WM_KEYFIRST && pMsg->message <= WM_KEYLAST;
  if (key && m_pMainWnd && ::IsChild(m_pMainWnd->m_hWnd, pMsg->hwnd) && m_pMainWnd->PreTranslateMessage(pMsg))
    return TRUE;
  return CWinApp::PreTranslateMessage(pMsg);
}

// The frame and an untitled project come first, so a project that cannot
// be opened leaves the builder running on that project, as a failed open
// from the menu would.
BOOL CBuilderApp::ProcessCommandLine() {
  CCommandLineInfo commandLine;
  ParseCommandLine(commandLine);
  const BOOL openProject = commandLine.m_nShellCommand == CCommandLineInfo::FileOpen;
  commandLine.m_nShellCommand = CCommandLineInfo::FileNew;
  if (!ProcessShellCommand(commandLine)) return FALSE;
  if (openProject) openedFromCommandLine_ = OpenDocumentFile(commandLine.m_strFileName) != nullptr;
  return TRUE;
}

void CBuilderApp::AddAboutToSystemMenu() {
  CString about;
  about.LoadString(IDS_ABOUT_SYSTEM_MENU);
  HMENU systemMenu = ::GetSystemMenu(m_pMainWnd->m_hWnd, FALSE);
  if (about.IsEmpty() || !systemMenu) return;
  ::AppendMenuA(systemMenu, MF_SEPARATOR, 0, nullptr);
  ::AppendMenuA(systemMenu, MF_STRING, ID_ABOUT_SYSTEM_MENU, about);
}

void CBuilderApp::TakeHelpFilePath() {
  char path[MAX_PATH] = {};
  ::GetModuleFileNameA(nullptr, path, sizeof path);
  CMyFileUtility::ReplaceExtension(path, "chm");
  helpFile_ = path;
}

void CBuilderApp::OnFileOpenProject() {
  if (Builder().document) Builder().document->OnCmdMsg(ID_FILE_OPEN, CN_COMMAND, nullptr, nullptr);
}

void CBuilderApp::OnAbout() { ShowAboutBox(); }

void CBuilderApp::OnHelpTopics() { ShowHelpPage("index.html"); }
