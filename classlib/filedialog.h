// The common file dialogs and folder search.
#pragma once

#include <windows.h>
#include <commdlg.h>

#include "classlib/dialog.h"

class CCommonDialog : public CDialog {
  DECLARE_DYNAMIC(CCommonDialog)
 public:
  explicit CCommonDialog(CWnd* pParentWnd) : CDialog(static_cast<LPCSTR>(nullptr), pParentWnd) {}
};

// Open or Save As. The filter's '|' separators become the zeros the
// system wants; m_ofn may be edited before DoModal.
class CFileDialog : public CCommonDialog {
  DECLARE_DYNAMIC(CFileDialog)
 public:
  explicit CFileDialog(BOOL bOpenFileDialog, LPCSTR lpszDefExt = nullptr, LPCSTR lpszFileName = nullptr,
                       DWORD dwFlags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, LPCSTR lpszFilter = nullptr,
                       CWnd* pParentWnd = nullptr);
  // IDOK or IDCANCEL.
  INT_PTR DoModal() override;
  CString GetPathName() const { return m_ofn.lpstrFile; }
  CString GetFileName() const;
  CString GetFileExt() const;
  CString GetFileTitle() const;

  OPENFILENAMEA m_ofn;
  BOOL m_bOpenFileDialog;

 protected:
  CString m_strFilter;
  char m_szFileName[MAX_PATH];
  char m_szFileTitle[64];
};

// The file's title as the shell shows it; see GetFileTitleA for the result.
short AfxGetFileTitle(LPCSTR lpszPathName, LPSTR lpszTitle, UINT nMax);

class CFileFind : public CObject {
  DECLARE_DYNAMIC(CFileFind)
 public:
  ~CFileFind() override { Close(); }
  // A null name searches "*.*" in the current folder.
  BOOL FindFile(LPCSTR pstrName = nullptr);
  BOOL FindNextFile();
  void Close();

  CString GetFileName() const { return m_found.cFileName; }
  CString GetFilePath() const { return m_strRoot + m_found.cFileName; }
  CString GetRoot() const { return m_strRoot; }
  ULONGLONG GetLength() const { return (static_cast<ULONGLONG>(m_found.nFileSizeHigh) << 32) | m_found.nFileSizeLow; }
  BOOL IsDirectory() const { return (m_found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0; }
  BOOL IsDots() const;
  BOOL IsReadOnly() const { return (m_found.dwFileAttributes & FILE_ATTRIBUTE_READONLY) != 0; }
  BOOL IsHidden() const { return (m_found.dwFileAttributes & FILE_ATTRIBUTE_HIDDEN) != 0; }
  BOOL GetLastWriteTime(FILETIME* pTimeStamp) const {
    *pTimeStamp = m_found.ftLastWriteTime;
    return TRUE;
  }

 private:
  HANDLE m_hFind = INVALID_HANDLE_VALUE;
  WIN32_FIND_DATAA m_found = {};  // the file FindNextFile last moved to
  WIN32_FIND_DATAA m_next = {};   // the one after it, read ahead
  BOOL m_bHasNext = FALSE;
  CString m_strRoot;
};
