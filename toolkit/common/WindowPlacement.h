// CXTWindowPlacement: a window's placement kept as one 48-byte binary value
// ("Window Position" in section "Settings" unless named otherwise):
//   0  4  zero
//   4  4  length, stored as 48
//   8  40 the rest of a WINDOWPLACEMENT (flags, showCmd, min, max, normal)
// The stored length is the format's; the system gets its own record size.
#pragma once

#include "classlib/wnd.h"

class CXTWindowPlacement {
 public:
  struct Record {
    DWORD zero;
    WINDOWPLACEMENT placement;
  };
  enum { kStoredSize = 48 };

  CXTWindowPlacement();

  // With no value name a minimised window is stored as shown normally.
  BOOL SaveWindowPlacement(CWnd* wnd, LPCSTR valueName = nullptr);
  // Accepts only a value of exactly the stored size; else the record stays.
  BOOL LoadWindowPlacement(LPCSTR valueName = nullptr);
  // TRUE only when the system took the placement.
  BOOL RestoreWindowPlacement(CWnd* wnd, LPCSTR valueName = nullptr);

  const Record& GetRecord() const { return m_record; }

 private:
  Record m_record;
};

static_assert(sizeof(CXTWindowPlacement::Record) == CXTWindowPlacement::kStoredSize,
              "the stored placement is 48 bytes");
