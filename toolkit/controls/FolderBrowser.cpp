#include "toolkit/controls/FolderBrowser.h"

#include <shlobj.h>

CXTFolderBrowser::CXTFolderBrowser(CWnd* pOwner, LPCSTR lpszPrompt, LPCSTR lpszStartFolder)
    : m_hOwner(pOwner ? pOwner->m_hWnd : nullptr), m_strPrompt(lpszPrompt), m_strStart(lpszStartFolder) {}

// Starts at the given folder and shows the folder under the cursor as status text.
int CALLBACK CXTFolderBrowser::BrowseCallback(HWND hWnd, UINT message, LPARAM lParam, LPARAM lpData) {
  if (message == BFFM_INITIALIZED) {
    ::SendMessageA(hWnd, BFFM_SETSELECTIONA, TRUE, lpData);
  } else if (message == BFFM_SELCHANGED) {
    char path[MAX_PATH] = "";
    if (::SHGetPathFromIDListA(reinterpret_cast<LPCITEMIDLIST>(lParam), path))
      ::SendMessageA(hWnd, BFFM_SETSTATUSTEXTA, 0, reinterpret_cast<LPARAM>(path));
  }
  return 0;
}

INT_PTR CXTFolderBrowser::DoModal() {
  IMalloc* pMalloc = nullptr;
  if (FAILED(::SHGetMalloc(&pMalloc))) return IDCANCEL;
  char display[MAX_PATH] = "";
  BROWSEINFOA info = {};
  info.hwndOwner = m_hOwner;
  info.pszDisplayName = display;
  info.lpszTitle = m_strPrompt;
  info.ulFlags = BIF_RETURNONLYFSDIRS | BIF_RETURNFSANCESTORS;
  info.lpfn = &BrowseCallback;
  info.lParam = reinterpret_cast<LPARAM>(m_strStart.operator LPCSTR());
  INT_PTR result = IDCANCEL;
  if (LPITEMIDLIST pidl = ::SHBrowseForFolderA(&info)) {
    char path[MAX_PATH] = "";
    if (::SHGetPathFromIDListA(pidl, path)) {
      m_strFolder = path;
      result = IDOK;
    }
    pMalloc->Free(pidl);
  }
  pMalloc->Release();
  return result;
}
