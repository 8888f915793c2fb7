// The application's side of documents: its templates, the recent-file list,
// the command line and the file commands.
#include <stdlib.h>

#include "classlib/document/commandlineinfo.h"
#include "classlib/document/doctemplate.h"
#include "classlib/document/recentfilelist.h"
#include "classlib/filedialog.h"
#include "classlib/winapp.h"

BEGIN_MESSAGE_MAP(CWinApp, CWinThread)
  ON_COMMAND_EX_RANGE(ID_FILE_MRU_FILE1, ID_FILE_MRU_FILE16, OnOpenRecentFile)
  ON_UPDATE_COMMAND_UI(ID_FILE_MRU_FILE1, OnUpdateRecentFileMenu)
  ON_COMMAND(ID_APP_EXIT, OnAppExit)
END_MESSAGE_MAP()

namespace {
const char kRecentSection[] = "Recent File List";
const char kRecentEntry[] = "File%d";
const UINT kMaxRecentFiles = ID_FILE_MRU_FILE16 - ID_FILE_MRU_FILE1 + 1;
}  // namespace

void CWinApp::LoadStdProfileSettings(UINT nMaxMRU) {
  if (nMaxMRU == 0 || m_pRecentFileList) return;
  if (nMaxMRU > kMaxRecentFiles) nMaxMRU = kMaxRecentFiles;
  m_pRecentFileList = new CRecentFileList(0, kRecentSection, kRecentEntry, static_cast<int>(nMaxMRU));
  m_pRecentFileList->ReadList();
}

void CWinApp::SaveStdProfileSettings() {
  if (m_pRecentFileList) m_pRecentFileList->WriteList();
}

void CWinApp::DeleteDocuments() {
  for (CDocTemplate* pTemplate : m_templates) delete pTemplate;
  m_templates.clear();
  delete m_pRecentFileList;
  m_pRecentFileList = nullptr;
}

void CWinApp::AddDocTemplate(CDocTemplate* pTemplate) { m_templates.push_back(pTemplate); }

void CWinApp::AddToRecentFileList(LPCSTR lpszPathName) {
  if (m_pRecentFileList) m_pRecentFileList->Add(lpszPathName);
}

CDocument* CWinApp::OpenDocumentFile(LPCSTR lpszFileName) {
  return m_templates.empty() ? nullptr : m_templates.front()->OpenDocumentFile(lpszFileName);
}

void CWinApp::OnFileNew() {
  if (!m_templates.empty()) m_templates.front()->OpenDocumentFile(nullptr);
}

void CWinApp::OnFileOpen() {
  CString name;
  if (DoPromptFileName(name, AFX_IDS_OPENFILE, OFN_HIDEREADONLY | OFN_FILEMUSTEXIST, TRUE, nullptr))
    OpenDocumentFile(name);
}

// A file that cannot be opened keeps its place in the list: the open says why.
BOOL CWinApp::OnOpenRecentFile(UINT nID) {
  int nIndex = static_cast<int>(nID - ID_FILE_MRU_FILE1);
  if (!m_pRecentFileList || nIndex >= m_pRecentFileList->GetSize()) return FALSE;
  CString path = (*m_pRecentFileList)[nIndex];
  if (!path.IsEmpty()) OpenDocumentFile(path);
  return TRUE;
}

void CWinApp::OnUpdateRecentFileMenu(CCmdUI* pCmdUI) {
  if (m_pRecentFileList)
    m_pRecentFileList->UpdateMenu(pCmdUI);
  else
    pCmdUI->Enable(FALSE);
}

void CWinApp::OnAppExit() {
  if (m_pMainWnd) m_pMainWnd->SendMessage(WM_CLOSE);
}

BOOL CWinApp::SaveAllModified() {
  for (CDocTemplate* pTemplate : m_templates)
    if (!pTemplate->SaveAllModified()) return FALSE;
  return TRUE;
}

void CWinApp::CloseAllDocuments(BOOL bEndSession) {
  for (CDocTemplate* pTemplate : m_templates) pTemplate->CloseAllDocuments(bEndSession);
}

// The filter lists the template's own type first, then all files.
BOOL CWinApp::DoPromptFileName(CString& fileName, UINT nIDSTitle, DWORD lFlags, BOOL bOpenFileDialog,
                               CDocTemplate* pTemplate) {
  CString filter, typeName, typeExt, allFiles, title;
  if (pTemplate && pTemplate->GetDocString(typeName, CDocTemplate::filterName) && !typeName.IsEmpty() &&
      pTemplate->GetDocString(typeExt, CDocTemplate::filterExt) && !typeExt.IsEmpty())
    filter = typeName + "|*" + typeExt + "|";
  allFiles.LoadString(AFX_IDS_ALLFILTER);
  filter += allFiles + "|*.*||";
  title.LoadString(nIDSTitle);
  // The extension without its dot becomes the default one.
  CString defExt = typeExt.Left(1) == "." ? typeExt.Mid(1) : typeExt;
  CFileDialog dialog(bOpenFileDialog, defExt.IsEmpty() ? nullptr : static_cast<LPCSTR>(defExt),
                     fileName.IsEmpty() ? nullptr : static_cast<LPCSTR>(fileName), lFlags | OFN_OVERWRITEPROMPT, filter,
                     nullptr);
  dialog.m_ofn.lpstrTitle = title;
  if (dialog.DoModal() != IDOK) return FALSE;
  fileName = dialog.GetPathName();
  return TRUE;
}

void CWinApp::ParseCommandLine(CCommandLineInfo& rCmdInfo) {
  for (int i = 1; i < __argc; ++i) {
    LPCSTR param = __argv[i];
    BOOL bFlag = param[0] == '-' || param[0] == '/';
    rCmdInfo.ParseParam(bFlag ? param + 1 : param, bFlag, i == __argc - 1);
  }
}

BOOL CWinApp::ProcessShellCommand(CCommandLineInfo& rCmdInfo) {
  switch (rCmdInfo.m_nShellCommand) {
    case CCommandLineInfo::FileNew:
      OnFileNew();
      return m_pMainWnd != nullptr;
    case CCommandLineInfo::FileOpen:
      return OpenDocumentFile(rCmdInfo.m_strFileName) != nullptr;
    default:
      return TRUE;
  }
}

void CCommandLineInfo::ParseParam(LPCSTR pszParam, BOOL bFlag, BOOL) {
  if (bFlag) {
    if (lstrcmpiA(pszParam, "nologo") == 0) m_bShowSplash = FALSE;
    return;
  }
  if (m_strFileName.IsEmpty()) {
    m_strFileName = pszParam;
    m_nShellCommand = FileOpen;
  }
}
