// What the command line asks for at start-up: a new document, or the
// document whose path it names.
#pragma once

#include "classlib/cstring.h"

class CCommandLineInfo {
 public:
  enum { FileNew, FileOpen, FileNothing = -1 } m_nShellCommand = FileNew;
  virtual ~CCommandLineInfo() = default;
  // One argument at a time; a flag is one starting with '/' or '-'.
  virtual void ParseParam(LPCSTR pszParam, BOOL bFlag, BOOL bLast);

  BOOL m_bShowSplash = TRUE;
  CString m_strFileName;
};
