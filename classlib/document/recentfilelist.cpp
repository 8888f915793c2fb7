#include "classlib/document/recentfilelist.h"

#include <stdio.h>

#include "classlib/menu.h"
#include "classlib/winapp.h"

CRecentFileList::CRecentFileList(UINT nStart, LPCSTR lpszSection, LPCSTR lpszEntryFormat, int nSize, int nMaxDispLen)
    : m_arrNames(nSize > 0 ? nSize : 0),
      m_strSectionName(lpszSection),
      m_strEntryFormat(lpszEntryFormat),
      m_nStart(nStart),
      m_nMaxDisplayLength(nMaxDispLen) {}

void CRecentFileList::Add(LPCSTR lpszPathName) {
  if (m_arrNames.empty() || !lpszPathName || !*lpszPathName) return;
  char full[MAX_PATH];
  LPSTR filePart = nullptr;
  DWORD n = ::GetFullPathNameA(lpszPathName, MAX_PATH, full, &filePart);
  CString path = n > 0 && n < MAX_PATH ? full : lpszPathName;
  size_t at = m_arrNames.size() - 1;
  for (size_t i = 0; i < m_arrNames.size(); ++i)
    if (m_arrNames[i].CompareNoCase(path) == 0) {
      at = i;
      break;
    }
  for (size_t i = at; i > 0; --i) m_arrNames[i] = m_arrNames[i - 1];
  m_arrNames[0] = path;
}

void CRecentFileList::Remove(int nIndex) {
  if (nIndex < 0 || nIndex >= GetSize()) return;
  m_arrNames.erase(m_arrNames.begin() + nIndex);
  m_arrNames.push_back(CString());
}

static CString EntryName(const CString& format, int nIndex) {
  char name[64];
  snprintf(name, sizeof name, format, nIndex + 1);
  return name;
}

void CRecentFileList::ReadList() {
  CWinApp* pApp = AfxGetApp();
  for (int i = 0; i < GetSize(); ++i) m_arrNames[i] = pApp->GetProfileString(m_strSectionName, EntryName(m_strEntryFormat, i), "");
}

// The section is written anew, so entries beyond the list do not linger.
void CRecentFileList::WriteList() {
  CWinApp* pApp = AfxGetApp();
  pApp->WriteProfileString(m_strSectionName, nullptr, nullptr);
  for (int i = 0; i < GetSize(); ++i)
    if (!m_arrNames[i].IsEmpty()) pApp->WriteProfileString(m_strSectionName, EntryName(m_strEntryFormat, i), m_arrNames[i]);
}

BOOL CRecentFileList::GetDisplayName(CString& strName, int nIndex) const {
  if (nIndex < 0 || nIndex >= GetSize() || m_arrNames[nIndex].IsEmpty()) return FALSE;
  strName = AfxAbbreviatePath(m_arrNames[nIndex], m_nMaxDisplayLength);
  return TRUE;
}

void CRecentFileList::UpdateMenu(CCmdUI* pCmdUI) {
  CMenu* pMenu = pCmdUI->m_pMenu;
  if (m_strOriginal.IsEmpty() && pMenu) pMenu->GetMenuString(pCmdUI->m_nID, m_strOriginal, MF_BYCOMMAND);
  if (m_arrNames.empty() || m_arrNames[0].IsEmpty()) {
    if (!m_strOriginal.IsEmpty()) pCmdUI->SetText(m_strOriginal);
    pCmdUI->Enable(FALSE);
    return;
  }
  if (!pMenu) return;
  for (int i = 0; i < GetSize(); ++i) pMenu->DeleteMenu(pCmdUI->m_nID + i, MF_BYCOMMAND);
  for (int i = 0; i < GetSize(); ++i) {
    CString name;
    if (!GetDisplayName(name, i)) break;
    // An '&' in a path must not become a mnemonic.
    name.Replace("&", "&&");
    CString text;
    text.Format("&%d %s", (i + 1 + static_cast<int>(m_nStart)) % 10, static_cast<LPCSTR>(name));
    pMenu->InsertMenu(pCmdUI->m_nIndex++, MF_STRING | MF_BYPOSITION, pCmdUI->m_nID++, text);
  }
  pCmdUI->m_nIndex--;
  pCmdUI->m_nIndexMax = pMenu->GetMenuItemCount();
  pCmdUI->m_bEnableChanged = TRUE;
}

CString AfxAbbreviatePath(LPCSTR lpszPath, int nMaxLength) {
  CString path(lpszPath);
  if (path.GetLength() <= nMaxLength) return path;
  // Keep the root ("C:\" or "\\server\share\") and the last parts that fit.
  int rootEnd = path.Find('\\');
  if (path.Left(2) == "\\\\") {
    rootEnd = path.Find('\\', 2);
    if (rootEnd >= 0) rootEnd = path.Find('\\', rootEnd + 1);
  }
  CString root = rootEnd >= 0 ? path.Left(rootEnd + 1) : CString();
  CString rest = path.Mid(root.GetLength());
  int cut = rest.Find('\\');
  while (cut >= 0 && root.GetLength() + 4 + rest.GetLength() - cut - 1 > nMaxLength) {
    rest = rest.Mid(cut + 1);
    cut = rest.Find('\\');
  }
  if (cut < 0) {
    // Only the file name is left; it is shown whole even when long.
    int slash = path.ReverseFind('\\');
    return path.Mid(slash + 1);
  }
  return root + "...\\" + rest.Mid(cut + 1);
}
