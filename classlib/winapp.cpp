#include "classlib/winapp.h"

#include <ole2.h>

#include "classlib/module.h"

IMPLEMENT_DYNAMIC(CWinApp, CWinThread)

static CWinApp* g_app;

CWinApp::CWinApp(LPCSTR lpszAppName) {
  if (lpszAppName) {
    m_strAppName = lpszAppName;
    m_pszAppName = m_strAppName;
  }
  g_app = this;
}

CWinApp::~CWinApp() {
  DeleteDocuments();
  if (g_app == this) g_app = nullptr;
}

CWinApp* AfxGetApp() { return g_app; }

CWnd* AfxGetMainWnd() {
  CWinThread* pThread = AfxGetThread();
  return pThread ? pThread->GetMainWnd() : nullptr;
}

LPCSTR AfxGetAppName() { return g_app && g_app->m_pszAppName ? g_app->m_pszAppName : ""; }

void AfxPostQuitMessage(int nExitCode) { ::PostQuitMessage(nExitCode); }

// The title comes from string 57344, else the program's file name.
void CWinApp::SetAppNames() {
  char path[MAX_PATH];
  DWORD n = ::GetModuleFileNameA(m_hInstance, path, MAX_PATH);
  CString exe(path, static_cast<int>(n));
  exe = exe.Mid(exe.ReverseFind('\\') + 1);
  int dot = exe.ReverseFind('.');
  if (dot >= 0) exe = exe.Left(dot);
  m_strExeName = exe;
  m_pszExeName = m_strExeName;
  if (!m_pszAppName) {
    if (!m_strAppName.LoadString(AFX_IDS_APP_TITLE)) m_strAppName = exe;
    m_pszAppName = m_strAppName;
  }
  CString help(path, static_cast<int>(n));
  dot = help.ReverseFind('.');
  if (dot >= 0) help = help.Left(dot);
  m_strHelpFilePath = help + ".HLP";
  m_pszHelpFilePath = m_strHelpFilePath;
}

BOOL AfxWinInit(HINSTANCE hInstance, HINSTANCE, LPSTR lpCmdLine, int nCmdShow) {
  CWinApp* pApp = AfxGetApp();
  if (!pApp) return FALSE;
  pApp->m_hInstance = hInstance;
  AfxGetModuleState()->m_hCurrentInstanceHandle = hInstance;
  pApp->m_lpCmdLine = lpCmdLine;
  pApp->m_nCmdShow = nCmdShow;
  pApp->SetAppNames();
  return TRUE;
}

int AfxWinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPSTR lpCmdLine, int nCmdShow) {
  CWinApp* pApp = AfxGetApp();
  if (!pApp || !AfxWinInit(hInstance, hPrevInstance, lpCmdLine, nCmdShow)) return -1;
  if (!pApp->InitInstance()) {
    if (pApp->m_pMainWnd) pApp->m_pMainWnd->DestroyWindow();
    return pApp->ExitInstance();
  }
  return pApp->Run();
}

int CWinApp::Run() {
  // Nothing would ever end the loop without a main window.
  if (!m_pMainWnd) AfxPostQuitMessage(0);
  return CWinThread::Run();
}

int CWinApp::ExitInstance() {
  SaveStdProfileSettings();
  if (m_bOleInitialized) {
    ::OleUninitialize();
    m_bOleInitialized = FALSE;
  }
  return CWinThread::ExitInstance();
}

void CWinApp::SetRegistryKey(LPCSTR lpszRegistryKey) {
  m_strRegistryKey = lpszRegistryKey;
  m_pszRegistryKey = m_strRegistryKey;
  m_strProfileName = AfxGetAppName();
  m_pszProfileName = m_strProfileName;
}

void CWinApp::SetRegistryKey(UINT nIDRegistryKey) { SetRegistryKey(CString(MAKEINTRESOURCEA(nIDRegistryKey))); }

static const REGSAM kProfileAccess = KEY_READ | KEY_WRITE;

static HKEY CreateKey(HKEY parent, LPCSTR name) {
  HKEY key = nullptr;
  DWORD disposition;
  if (!parent || ::RegCreateKeyExA(parent, name, 0, nullptr, REG_OPTION_NON_VOLATILE, kProfileAccess, nullptr, &key,
                                   &disposition) != ERROR_SUCCESS)
    return nullptr;
  return key;
}

HKEY CWinApp::GetAppRegistryKey() {
  if (!m_pszRegistryKey || !m_pszProfileName) return nullptr;
  HKEY software = nullptr;
  if (::RegOpenKeyExA(HKEY_CURRENT_USER, "Software", 0, kProfileAccess, &software) != ERROR_SUCCESS) return nullptr;
  HKEY company = CreateKey(software, m_pszRegistryKey);
  HKEY app = CreateKey(company, m_pszProfileName);
  if (company) ::RegCloseKey(company);
  ::RegCloseKey(software);
  return app;
}

HKEY CWinApp::GetSectionKey(LPCSTR lpszSection) {
  HKEY app = GetAppRegistryKey();
  HKEY section = CreateKey(app, lpszSection);
  if (app) ::RegCloseKey(app);
  return section;
}

UINT CWinApp::GetProfileInt(LPCSTR lpszSection, LPCSTR lpszEntry, int nDefault) {
  HKEY key = GetSectionKey(lpszSection);
  if (!key) return nDefault;
  DWORD value = 0, type = 0, size = sizeof value;
  LONG r = ::RegQueryValueExA(key, lpszEntry, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size);
  ::RegCloseKey(key);
  return (r == ERROR_SUCCESS && type == REG_DWORD && size == sizeof value) ? value : nDefault;
}

BOOL CWinApp::WriteProfileInt(LPCSTR lpszSection, LPCSTR lpszEntry, int nValue) {
  HKEY key = GetSectionKey(lpszSection);
  if (!key) return FALSE;
  DWORD value = static_cast<DWORD>(nValue);
  LONG r = ::RegSetValueExA(key, lpszEntry, 0, REG_DWORD, reinterpret_cast<BYTE*>(&value), sizeof value);
  ::RegCloseKey(key);
  return r == ERROR_SUCCESS;
}

CString CWinApp::GetProfileString(LPCSTR lpszSection, LPCSTR lpszEntry, LPCSTR lpszDefault) {
  CString result(lpszDefault);
  HKEY key = GetSectionKey(lpszSection);
  if (!key) return result;
  DWORD type = 0, size = 0;
  if (::RegQueryValueExA(key, lpszEntry, nullptr, &type, nullptr, &size) == ERROR_SUCCESS && type == REG_SZ) {
    CString value;
    LPSTR buf = value.GetBufferSetLength(static_cast<int>(size) + 1);
    if (::RegQueryValueExA(key, lpszEntry, nullptr, &type, reinterpret_cast<BYTE*>(buf), &size) == ERROR_SUCCESS) {
      buf[size] = '\0';  // a stored text need not carry its zero
      value.ReleaseBuffer();
      result = value;
    }
  }
  ::RegCloseKey(key);
  return result;
}

BOOL CWinApp::WriteProfileString(LPCSTR lpszSection, LPCSTR lpszEntry, LPCSTR lpszValue) {
  LONG r;
  if (!lpszEntry) {
    HKEY app = GetAppRegistryKey();
    if (!app) return FALSE;
    r = ::RegDeleteKeyA(app, lpszSection);
    ::RegCloseKey(app);
    return r == ERROR_SUCCESS;
  }
  HKEY key = GetSectionKey(lpszSection);
  if (!key) return FALSE;
  if (lpszValue)
    r = ::RegSetValueExA(key, lpszEntry, 0, REG_SZ, reinterpret_cast<const BYTE*>(lpszValue),
                         static_cast<DWORD>(lstrlenA(lpszValue) + 1));
  else
    r = ::RegDeleteValueA(key, lpszEntry);
  ::RegCloseKey(key);
  return r == ERROR_SUCCESS;
}

BOOL CWinApp::GetProfileBinary(LPCSTR lpszSection, LPCSTR lpszEntry, LPBYTE* ppData, UINT* pBytes) {
  *ppData = nullptr;
  *pBytes = 0;
  HKEY key = GetSectionKey(lpszSection);
  if (!key) return FALSE;
  DWORD type = 0, size = 0;
  LONG r = ::RegQueryValueExA(key, lpszEntry, nullptr, &type, nullptr, &size);
  if (r == ERROR_SUCCESS && type == REG_BINARY) {
    *ppData = new BYTE[size ? size : 1];
    r = ::RegQueryValueExA(key, lpszEntry, nullptr, &type, *ppData, &size);
  }
  ::RegCloseKey(key);
  if (r != ERROR_SUCCESS || type != REG_BINARY) {
    delete[] *ppData;
    *ppData = nullptr;
    return FALSE;
  }
  *pBytes = size;
  return TRUE;
}

BOOL CWinApp::WriteProfileBinary(LPCSTR lpszSection, LPCSTR lpszEntry, LPBYTE pData, UINT nBytes) {
  HKEY key = GetSectionKey(lpszSection);
  if (!key) return FALSE;
  LONG r = ::RegSetValueExA(key, lpszEntry, 0, REG_BINARY, pData, nBytes);
  ::RegCloseKey(key);
  return r == ERROR_SUCCESS;
}

HICON CWinApp::LoadIcon(UINT nIDResource) const { return LoadIcon(MAKEINTRESOURCEA(nIDResource)); }

HICON CWinApp::LoadIcon(LPCSTR lpszResourceName) const {
  return ::LoadIconA(AfxFindResourceHandle(lpszResourceName, RT_GROUP_ICON), lpszResourceName);
}

HCURSOR CWinApp::LoadCursor(UINT nIDResource) const {
  LPCSTR name = MAKEINTRESOURCEA(nIDResource);
  return ::LoadCursorA(AfxFindResourceHandle(name, RT_GROUP_CURSOR), name);
}

void CWinApp::EnableModeless(BOOL bEnable) { m_nDisableModeless += bEnable ? -1 : 1; }

int CWinApp::DoMessageBox(LPCSTR lpszPrompt, UINT nType, UINT) {
  HWND hWndTop = nullptr;
  HWND hWnd = CWnd::GetSafeOwner_(nullptr, &hWndTop);
  // Without an icon of its own, a box gets the one its buttons suggest.
  if ((nType & MB_ICONMASK) == 0) {
    UINT buttons = nType & MB_TYPEMASK;
    if (buttons == MB_OK || buttons == MB_OKCANCEL)
      nType |= MB_ICONEXCLAMATION;
    else if (buttons == MB_YESNO || buttons == MB_YESNOCANCEL)
      nType |= MB_ICONQUESTION;
    else if (buttons == MB_ABORTRETRYIGNORE || buttons == MB_RETRYCANCEL)
      nType |= MB_ICONEXCLAMATION;
  }
  if (!hWnd) nType |= MB_TASKMODAL;
  int result = ::MessageBoxA(hWnd, lpszPrompt, AfxGetAppName(), nType);
  if (hWndTop) ::EnableWindow(hWndTop, TRUE);
  return result;
}

int AfxMessageBox(LPCSTR lpszText, UINT nType, UINT nIDHelp) {
  if (CWinApp* pApp = AfxGetApp()) return pApp->DoMessageBox(lpszText, nType, nIDHelp);
  return ::MessageBoxA(nullptr, lpszText, "", nType | MB_TASKMODAL);
}

int AfxMessageBox(UINT nIDPrompt, UINT nType, UINT nIDHelp) {
  CString text;
  text.LoadString(nIDPrompt);
  if (nIDHelp == UINT(-1)) nIDHelp = nIDPrompt;
  return AfxMessageBox(text, nType, nIDHelp);
}

BOOL AfxOleInit() {
  HRESULT hr = ::OleInitialize(nullptr);
  if (FAILED(hr)) return FALSE;
  if (CWinApp* pApp = AfxGetApp()) pApp->m_bOleInitialized = TRUE;
  return TRUE;
}

BOOL AfxInitRichEdit2() {
  static HMODULE riched = ::LoadLibraryA("RICHED20.DLL");
  return riched != nullptr;
}
