// The shell's folder picker, starting at a given folder.
#pragma once

#include "classlib/wnd.h"

class CXTFolderBrowser {
 public:
  CXTFolderBrowser(CWnd* pOwner, LPCSTR lpszPrompt, LPCSTR lpszStartFolder);

  // IDOK with a chosen folder, else IDCANCEL.
  INT_PTR DoModal();
  const CString& GetSelectedFolder() const { return m_strFolder; }

 private:
  static int CALLBACK BrowseCallback(HWND hWnd, UINT message, LPARAM lParam, LPARAM lpData);

  HWND m_hOwner;
  CString m_strPrompt;
  CString m_strStart;
  CString m_strFolder;
};
