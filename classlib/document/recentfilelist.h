// The recent-file list: paths kept newest first in the profile section
// ("Recent File List", values "File1", "File2", ...) and shown in the menu in
// place of its first command (57616), or that item greyed while it is empty.
#pragma once

#include <vector>

#include "classlib/cmdtarget.h"
#include "classlib/cstring.h"

class CRecentFileList {
 public:
  CRecentFileList(UINT nStart, LPCSTR lpszSection, LPCSTR lpszEntryFormat, int nSize, int nMaxDispLen = 30);
  virtual ~CRecentFileList() = default;

  int GetSize() const { return static_cast<int>(m_arrNames.size()); }
  CString& operator[](int nIndex) { return m_arrNames[nIndex]; }
  // The full path goes to the top; an equal path (in any case) further down goes.
  virtual void Add(LPCSTR lpszPathName);
  virtual void Remove(int nIndex);
  virtual void ReadList();
  virtual void WriteList();
  // The menu text of entry nIndex: the path, shortened to the display length.
  virtual BOOL GetDisplayName(CString& strName, int nIndex) const;
  virtual void UpdateMenu(CCmdUI* pCmdUI);

 protected:
  std::vector<CString> m_arrNames;
  CString m_strSectionName;
  CString m_strEntryFormat;
  UINT m_nStart;
  int m_nMaxDisplayLength;
  CString m_strOriginal;  // the menu item's own text, shown while the list is empty
};

// A long path shown as its root, "...", and as many trailing parts as fit.
CString AfxAbbreviatePath(LPCSTR lpszPath, int nMaxLength);
