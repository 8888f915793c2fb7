// Data exchange between a dialog's members and its controls. While it runs,
// control notifications to the dialog are ignored; a failed validation
// tells the user, puts the focus (and, in an edit, the selection) on the
// control and makes UpdateData return FALSE.
#pragma once

#include "classlib/wnd.h"

class CDataExchange {
 public:
  CDataExchange(CWnd* pDlgWnd, BOOL bSaveAndValidate) : m_bSaveAndValidate(bSaveAndValidate), m_pDlgWnd(pDlgWnd) {}

  HWND PrepareCtrl(int nIDC);
  HWND PrepareEditCtrl(int nIDC);
  // Focuses the last prepared control and throws CUserException.
  [[noreturn]] void Fail();

  BOOL m_bSaveAndValidate;
  CWnd* m_pDlgWnd;
  UINT m_idLastControl = 0;
  BOOL m_bEditLastControl = FALSE;
};

// Subclasses the control on the first exchange only.
void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl);
void DDX_Text(CDataExchange* pDX, int nIDC, CString& value);
void DDX_Text(CDataExchange* pDX, int nIDC, int& value);
void DDX_Check(CDataExchange* pDX, int nIDC, int& value);
void DDX_CBIndex(CDataExchange* pDX, int nIDC, int& index);
void DDV_MinMaxInt(CDataExchange* pDX, int value, int minVal, int maxVal);
// Sets the text only when it differs, so an unchanged control stays quiet.
void AfxSetWindowText(HWND hWndCtrl, LPCSTR lpszNew);
