#include "XTendedFileDlg.h"

#include <cstring>

#include "MyFileUtility.h"
#include "classlib/winapp.h"

IMPLEMENT_DYNAMIC(CXTendedFileDlg, CFileDialog)

namespace {

// What the prompt keeps of every caller's flags: the explorer look, a path
// that must exist, and the question before overwriting.
constexpr DWORD kPromptFlagMask = OFN_EXPLORER | OFN_PATHMUSTEXIST | OFN_OVERWRITEPROMPT;
constexpr DWORD kGenericPromptFlags = OFN_EXPLORER | OFN_ENABLESIZING | OFN_OVERWRITEPROMPT;

}  // namespace

CXTendedFileDlg::CXTendedFileDlg(BOOL openFileDialog, DWORD flags)
    : CFileDialog(openFileDialog, nullptr, nullptr, flags), threadMainWindow_(AfxGetMainWnd()) {}

INT_PTR CXTendedFileDlg::Prompt(CWnd* owner, char* path, LPCSTR filter, DWORD flags, UINT titleId) {
  owner_ = owner;
  m_ofn.Flags |= flags;
  title_.LoadString(titleId);
  m_ofn.lpstrTitle = title_;
  // Each "|" ends a part; "||" ends the list.
  filterText_ = filter ? filter : "";
  char* text = filterText_.GetBuffer(0);
  for (char* c = text; *c; ++c)
    if (*c == '|') *c = '\0';
  m_ofn.lpstrFilter = filter ? text : nullptr;
  m_ofn.lpstrFile = path;
  m_ofn.nMaxFile = kFilePathChars;
  m_ofn.Flags &= kPromptFlagMask;
  return DoModal();
}

INT_PTR CXTendedFileDlg::DoModal() {
  // The system reads past the initial name's end when it builds its result.
  const size_t used = strnlen(m_ofn.lpstrFile, m_ofn.nMaxFile - 1);
  memset(m_ofn.lpstrFile + used, 0, m_ofn.nMaxFile - used);
  CWnd* owner = owner_ ? owner_ : threadMainWindow_;
  m_ofn.hwndOwner = owner ? owner->GetSafeHwnd() : nullptr;
  HWND focus = ::GetFocus();
  const BOOL chosen = m_bOpenFileDialog ? GetOpenFileNameA(&m_ofn) : GetSaveFileNameA(&m_ofn);
  if (focus) ::SetFocus(focus);
  return chosen ? IDOK : IDCANCEL;
}

BOOL ShowFileDialog(char* path, CWnd* owner, BOOL openFileDialog, LPCSTR defaultExtension, CString* initialFolder,
                    DWORD* filterIndex, DWORD flags, UINT titleId, LPCSTR filter) {
  CXTendedFileDlg dialog(openFileDialog, kGenericPromptFlags);
  dialog.m_ofn.nFilterIndex = *filterIndex;
  dialog.m_ofn.lpstrInitialDir = initialFolder->IsEmpty() ? nullptr : static_cast<LPCSTR>(*initialFolder);
  dialog.m_ofn.lpstrDefExt = defaultExtension;
  if (dialog.Prompt(owner, path, filter, flags, titleId) != IDOK) return FALSE;
  *filterIndex = dialog.m_ofn.nFilterIndex;
  *initialFolder = CMyFileUtility::GetFolderOfPath(path, 1);
  return TRUE;
}
