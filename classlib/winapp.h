// The application object, its profile in the registry and the global
// helpers that reach it.
#pragma once

#include <vector>

#include "classlib/module.h"
#include "classlib/resource.h"
#include "classlib/winthread.h"

class CCommandLineInfo;
class CDocTemplate;
class CDocument;
class CRecentFileList;

class CWinApp : public CWinThread {
  DECLARE_DYNAMIC(CWinApp)
  DECLARE_MESSAGE_MAP()
 public:
  explicit CWinApp(LPCSTR lpszAppName = nullptr);
  ~CWinApp() override;

  int Run() override;
  int ExitInstance() override;

  // Profile values live in HKCU\Software\<registry key>\<profile name>\<section>,
  // one value per entry. Without a registry key, writes fail and reads give the default.
  void SetRegistryKey(LPCSTR lpszRegistryKey);
  void SetRegistryKey(UINT nIDRegistryKey);
  HKEY GetAppRegistryKey();
  HKEY GetSectionKey(LPCSTR lpszSection);
  UINT GetProfileInt(LPCSTR lpszSection, LPCSTR lpszEntry, int nDefault);
  BOOL WriteProfileInt(LPCSTR lpszSection, LPCSTR lpszEntry, int nValue);
  CString GetProfileString(LPCSTR lpszSection, LPCSTR lpszEntry, LPCSTR lpszDefault = nullptr);
  // A null entry deletes the section, a null value the entry.
  BOOL WriteProfileString(LPCSTR lpszSection, LPCSTR lpszEntry, LPCSTR lpszValue);
  // *ppData is a new[] block the caller deletes; FALSE when the value is missing.
  BOOL GetProfileBinary(LPCSTR lpszSection, LPCSTR lpszEntry, LPBYTE* ppData, UINT* pBytes);
  BOOL WriteProfileBinary(LPCSTR lpszSection, LPCSTR lpszEntry, LPBYTE pData, UINT nBytes);

  HICON LoadIcon(UINT nIDResource) const;
  HICON LoadIcon(LPCSTR lpszResourceName) const;
  HCURSOR LoadCursor(UINT nIDResource) const;
  HICON LoadStandardIcon(LPCSTR lpszIconName) const { return ::LoadIconA(nullptr, lpszIconName); }
  HCURSOR LoadStandardCursor(LPCSTR lpszCursorName) const { return ::LoadCursorA(nullptr, lpszCursorName); }

  // Counts nested disables of modeless windows while a modal one runs.
  void EnableModeless(BOOL bEnable);
  virtual int DoMessageBox(LPCSTR lpszPrompt, UINT nType, UINT nIDPrompt);

  // ---- documents (document/appdocuments.cpp)
  // Reads up to nMaxMRU recent files; ExitInstance writes them back.
  void LoadStdProfileSettings(UINT nMaxMRU = 4);
  void AddDocTemplate(CDocTemplate* pTemplate);
  virtual CDocument* OpenDocumentFile(LPCSTR lpszFileName);
  virtual void AddToRecentFileList(LPCSTR lpszPathName);
  void ParseCommandLine(CCommandLineInfo& rCmdInfo);
  // A new document, or the file the command line names; FALSE when that fails.
  BOOL ProcessShellCommand(CCommandLineInfo& rCmdInfo);
  virtual BOOL DoPromptFileName(CString& fileName, UINT nIDSTitle, DWORD lFlags, BOOL bOpenFileDialog,
                                CDocTemplate* pTemplate);
  virtual BOOL SaveAllModified();
  virtual void CloseAllDocuments(BOOL bEndSession);
  afx_msg void OnFileNew();
  afx_msg void OnFileOpen();
  afx_msg BOOL OnOpenRecentFile(UINT nID);
  afx_msg void OnUpdateRecentFileMenu(CCmdUI* pCmdUI);
  afx_msg void OnAppExit();

  CRecentFileList* m_pRecentFileList = nullptr;

  LPCSTR m_pszAppName = nullptr;
  LPCSTR m_pszRegistryKey = nullptr;
  LPCSTR m_pszProfileName = nullptr;
  LPCSTR m_pszExeName = nullptr;
  LPCSTR m_pszHelpFilePath = nullptr;
  HINSTANCE m_hInstance = nullptr;
  LPSTR m_lpCmdLine = nullptr;
  int m_nCmdShow = SW_SHOWNORMAL;
  int m_nDisableModeless = 0;

 private:
  friend BOOL AfxWinInit(HINSTANCE, HINSTANCE, LPSTR, int);
  void SetAppNames();
  void SaveStdProfileSettings();
  void DeleteDocuments();
  CString m_strAppName, m_strRegistryKey, m_strProfileName, m_strExeName, m_strHelpFilePath;
  BOOL m_bOleInitialized = FALSE;
  std::vector<CDocTemplate*> m_templates;
  friend BOOL AfxOleInit();
};


CWinApp* AfxGetApp();
CWnd* AfxGetMainWnd();
LPCSTR AfxGetAppName();
BOOL AfxWinInit(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPSTR lpCmdLine, int nCmdShow);
int AfxWinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPSTR lpCmdLine, int nCmdShow);
void AfxPostQuitMessage(int nExitCode);
// Application-modal to the main window (or task-modal without one), captioned with the application name.
int AfxMessageBox(LPCSTR lpszText, UINT nType = MB_OK, UINT nIDHelp = 0);
int AfxMessageBox(UINT nIDPrompt, UINT nType = MB_OK, UINT nIDHelp = UINT(-1));
BOOL AfxOleInit();
inline void AfxEnableControlContainer() {}
BOOL AfxInitRichEdit2();
