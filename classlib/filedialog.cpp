#include "classlib/filedialog.h"

#include <string.h>

IMPLEMENT_DYNAMIC(CCommonDialog, CDialog)
IMPLEMENT_DYNAMIC(CFileDialog, CCommonDialog)
IMPLEMENT_DYNAMIC(CFileFind, CObject)

CFileDialog::CFileDialog(BOOL bOpenFileDialog, LPCSTR lpszDefExt, LPCSTR lpszFileName, DWORD dwFlags,
                         LPCSTR lpszFilter, CWnd* pParentWnd)
    : CCommonDialog(pParentWnd), m_bOpenFileDialog(bOpenFileDialog) {
  m_ofn = OPENFILENAMEA();
  m_ofn.lStructSize = sizeof m_ofn;
  m_ofn.lpstrFile = m_szFileName;
  m_ofn.nMaxFile = MAX_PATH;
  m_ofn.lpstrFileTitle = m_szFileTitle;
  m_ofn.nMaxFileTitle = sizeof m_szFileTitle;
  m_ofn.lpstrDefExt = lpszDefExt;
  m_ofn.Flags = dwFlags | OFN_EXPLORER;
  m_ofn.hInstance = AfxGetResourceHandle();
  m_szFileName[0] = m_szFileTitle[0] = '\0';
  if (lpszFileName) lstrcpynA(m_szFileName, lpszFileName, MAX_PATH);
  if (lpszFilter) {
    // "Text (*.txt)|*.txt||" becomes "Text (*.txt)\0*.txt\0\0".
    m_strFilter = lpszFilter;
    m_strFilter += '|';
    LPSTR p = m_strFilter.GetBuffer(0);
    for (int i = 0; p[i]; ++i)
      if (p[i] == '|') p[i] = '\0';
    m_ofn.lpstrFilter = p;
  }
}

INT_PTR CFileDialog::DoModal() {
  m_ofn.hwndOwner = GetSafeOwner_(m_pParentWnd ? m_pParentWnd->m_hWnd : nullptr, nullptr);
  BOOL ok = m_bOpenFileDialog ? ::GetOpenFileNameA(&m_ofn) : ::GetSaveFileNameA(&m_ofn);
  return ok ? IDOK : IDCANCEL;
}

CString CFileDialog::GetFileName() const {
  CString path = GetPathName();
  return path.Mid(path.ReverseFind('\\') + 1);
}

CString CFileDialog::GetFileExt() const {
  CString name = GetFileName();
  int dot = name.ReverseFind('.');
  return dot < 0 ? CString() : name.Mid(dot + 1);
}

CString CFileDialog::GetFileTitle() const {
  CString name = GetFileName();
  int dot = name.ReverseFind('.');
  return dot < 0 ? name : name.Left(dot);
}

short AfxGetFileTitle(LPCSTR lpszPathName, LPSTR lpszTitle, UINT nMax) {
  return ::GetFileTitleA(lpszPathName, lpszTitle, static_cast<WORD>(nMax));
}

BOOL CFileFind::FindFile(LPCSTR pstrName) {
  Close();
  CString pattern = pstrName ? pstrName : "*.*";
  m_hFind = ::FindFirstFileA(pattern, &m_next);
  if (m_hFind == INVALID_HANDLE_VALUE) return FALSE;
  m_bHasNext = TRUE;
  int slash = pattern.ReverseFind('\\');
  int other = pattern.ReverseFind('/');
  if (other > slash) slash = other;
  m_strRoot = pattern.Left(slash + 1);
  return TRUE;
}

// TRUE while another file follows the one it moves to.
BOOL CFileFind::FindNextFile() {
  if (!m_bHasNext) return FALSE;
  m_found = m_next;
  m_bHasNext = ::FindNextFileA(m_hFind, &m_next);
  return m_bHasNext;
}

void CFileFind::Close() {
  if (m_hFind != INVALID_HANDLE_VALUE) ::FindClose(m_hFind);
  m_hFind = INVALID_HANDLE_VALUE;
  m_bHasNext = FALSE;
}

BOOL CFileFind::IsDots() const {
  return IsDirectory() && (strcmp(m_found.cFileName, ".") == 0 || strcmp(m_found.cFileName, "..") == 0);
}
