// The builder's Open and Save As prompts: the system file dialog over the
// caller's own path buffer, owned by the window the caller names.
#pragma once
#include "classlib/filedialog.h"

constexpr int kFilePathChars = 260;

class CXTendedFileDlg : public CFileDialog {
  DECLARE_DYNAMIC(CXTendedFileDlg)
 public:
  CXTendedFileDlg(BOOL openFileDialog, DWORD flags);

  // IDOK with the chosen path in path (room for kFilePathChars), IDCANCEL
  // when the user cancels or the system dialog fails.
  INT_PTR DoModal() override;
  // Runs the dialog for owner over path; the filter's "|" separate its parts.
  virtual INT_PTR Prompt(CWnd* owner, char* path, LPCSTR filter, DWORD flags, UINT titleId);

 private:
  CString title_;
  CWnd* threadMainWindow_ = nullptr;  // the owner when the caller names none
  CWnd* owner_ = nullptr;
  CString filterText_;
};

// The generic prompt: initialFolder and filterIndex go in and, after OK,
// come back as the folder of the chosen file and the filter chosen. TRUE on OK.
BOOL ShowFileDialog(char* path, CWnd* owner, BOOL openFileDialog, LPCSTR defaultExtension, CString* initialFolder,
                    DWORD* filterIndex, DWORD flags, UINT titleId, LPCSTR filter);
