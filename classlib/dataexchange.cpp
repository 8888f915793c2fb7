#include "classlib/dataexchange.h"

#include <errno.h>
#include <limits.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "classlib/exception.h"
#include "classlib/winapp.h"

HWND CDataExchange::PrepareCtrl(int nIDC) {
  HWND hWndCtrl = ::GetDlgItem(m_pDlgWnd->m_hWnd, nIDC);
  if (!hWndCtrl) AfxThrowResourceException();  // the template lacks a control the code binds
  m_idLastControl = nIDC;
  m_bEditLastControl = FALSE;
  return hWndCtrl;
}

HWND CDataExchange::PrepareEditCtrl(int nIDC) {
  HWND hWndCtrl = PrepareCtrl(nIDC);
  m_bEditLastControl = TRUE;
  return hWndCtrl;
}

void CDataExchange::Fail() {
  if (m_bSaveAndValidate && m_idLastControl) {
    HWND hWndLast = ::GetDlgItem(m_pDlgWnd->m_hWnd, m_idLastControl);
    ::SetFocus(hWndLast);
    if (m_bEditLastControl) ::SendMessageA(hWndLast, EM_SETSEL, 0, -1);
  }
  AfxThrowUserException();
}

BOOL CWnd::UpdateData(BOOL bSaveAndValidate) {
  CDataExchange dx(this, bSaveAndValidate);
  AFX_THREAD_STATE* state = AfxGetThreadState();
  HWND hWndOldLockout = state->m_hLockoutNotifyWindow;
  state->m_hLockoutNotifyWindow = m_hWnd;
  BOOL bOK = FALSE;
  try {
    DoDataExchange(&dx);
    bOK = TRUE;
  } catch (CException* e) {
    // A user exception means the user has been told already.
    e->Delete();
  }
  state->m_hLockoutNotifyWindow = hWndOldLockout;
  return bOK;
}

void AfxSetWindowText(HWND hWndCtrl, LPCSTR lpszNew) {
  int nNewLen = lstrlenA(lpszNew);
  char old[256];
  // Short texts are compared first, to leave an unchanged control alone.
  if (nNewLen < static_cast<int>(sizeof old) && ::GetWindowTextA(hWndCtrl, old, sizeof old) == nNewLen &&
      lstrcmpA(old, lpszNew) == 0)
    return;
  ::SetWindowTextA(hWndCtrl, lpszNew);
}

void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl) {
  if (rControl.m_hWnd) return;
  HWND hWndCtrl = pDX->PrepareCtrl(nIDC);
  if (!rControl.SubclassWindow(hWndCtrl)) AfxThrowResourceException();
}

void DDX_Text(CDataExchange* pDX, int nIDC, CString& value) {
  HWND hWndCtrl = pDX->PrepareEditCtrl(nIDC);
  if (pDX->m_bSaveAndValidate) {
    int n = ::GetWindowTextLengthA(hWndCtrl);
    n = ::GetWindowTextA(hWndCtrl, value.GetBufferSetLength(n + 1), n + 1);
    value.ReleaseBuffer(n < 0 ? 0 : n);
  } else {
    AfxSetWindowText(hWndCtrl, value);
  }
}

// A whole decimal integer, with optional sign and surrounding spaces.
static bool ParseInt(LPCSTR text, int* value) {
  while (*text == ' ' || *text == '\t') ++text;
  char* end = nullptr;
  errno = 0;
  long long v = strtoll(text, &end, 10);
  if (end == text || errno == ERANGE || v < INT_MIN || v > INT_MAX) return false;
  while (*end == ' ' || *end == '\t') ++end;
  if (*end) return false;
  *value = static_cast<int>(v);
  return true;
}

void DDX_Text(CDataExchange* pDX, int nIDC, int& value) {
  HWND hWndCtrl = pDX->PrepareEditCtrl(nIDC);
  if (pDX->m_bSaveAndValidate) {
    char text[64];
    ::GetWindowTextA(hWndCtrl, text, sizeof text);
    if (!ParseInt(text, &value)) {
      AfxMessageBox(AFX_IDP_PARSE_INT);
      pDX->Fail();
    }
  } else {
    char text[16];
    snprintf(text, sizeof text, "%d", value);
    AfxSetWindowText(hWndCtrl, text);
  }
}

void DDV_MinMaxInt(CDataExchange* pDX, int value, int minVal, int maxVal) {
  if (!pDX->m_bSaveAndValidate || (value >= minVal && value <= maxVal)) return;
  char szMin[16], szMax[16];
  snprintf(szMin, sizeof szMin, "%d", minVal);
  snprintf(szMax, sizeof szMax, "%d", maxVal);
  CString prompt;
  AfxFormatString2(prompt, AFX_IDP_PARSE_INT_RANGE, szMin, szMax);
  AfxMessageBox(prompt, MB_ICONEXCLAMATION, AFX_IDP_PARSE_INT_RANGE);
  pDX->Fail();
}

void DDX_Check(CDataExchange* pDX, int nIDC, int& value) {
  HWND hWndCtrl = pDX->PrepareCtrl(nIDC);
  if (pDX->m_bSaveAndValidate) {
    value = static_cast<int>(::SendMessageA(hWndCtrl, BM_GETCHECK, 0, 0));
  } else {
    if (value < 0 || value > 2) value = 0;
    ::SendMessageA(hWndCtrl, BM_SETCHECK, value, 0);
  }
}

void DDX_CBIndex(CDataExchange* pDX, int nIDC, int& index) {
  HWND hWndCtrl = pDX->PrepareCtrl(nIDC);
  if (pDX->m_bSaveAndValidate)
    index = static_cast<int>(::SendMessageA(hWndCtrl, CB_GETCURSEL, 0, 0));
  else
    ::SendMessageA(hWndCtrl, CB_SETCURSEL, index, 0);
}
