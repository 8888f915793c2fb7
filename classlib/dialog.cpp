#include "classlib/dialog.h"

#include <commctrl.h>

#include "classlib/module.h"

IMPLEMENT_DYNAMIC(CDialog, CWnd)

BEGIN_MESSAGE_MAP(CDialog, CWnd)
  ON_MESSAGE(WM_INITDIALOG, HandleInitDialog)
  ON_COMMAND(IDOK, OnOKCommand)
  ON_COMMAND(IDCANCEL, OnCancelCommand)
END_MESSAGE_MAP()

INT_PTR CALLBACK AfxDlgProc(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

CDialog::CDialog(UINT nIDTemplate, CWnd* pParentWnd)
    : m_lpszTemplateName(MAKEINTRESOURCEA(nIDTemplate)), m_nIDHelp(nIDTemplate), m_pParentWnd(pParentWnd) {}

CDialog::CDialog(LPCSTR lpszTemplateName, CWnd* pParentWnd)
    : m_lpszTemplateName(lpszTemplateName), m_pParentWnd(pParentWnd) {}

LPCDLGTEMPLATEA AfxLoadDialogTemplate(LPCSTR lpszTemplateName, HINSTANCE* phInst) {
  HINSTANCE hInst = AfxFindResourceHandle(lpszTemplateName, RT_DIALOG);
  *phInst = hInst;
  HRSRC hResource = ::FindResourceA(hInst, lpszTemplateName, RT_DIALOG);
  HGLOBAL hTemplate = hResource ? ::LoadResource(hInst, hResource) : nullptr;
  return hTemplate ? static_cast<LPCDLGTEMPLATEA>(::LockResource(hTemplate)) : nullptr;
}

BOOL CDialog::CreateDlgIndirect(LPCDLGTEMPLATEA lpDialogTemplate, CWnd* pParentWnd, HINSTANCE hInst) {
  AfxDeferRegisterClass(AFX_WNDCOMMCTLS_REG);
  AfxHookWindowCreate(this);
  HWND hWnd = ::CreateDialogIndirectParamA(hInst, lpDialogTemplate, pParentWnd ? pParentWnd->m_hWnd : nullptr,
                                           AfxDlgProc, 0);
  AfxUnhookWindowCreate();
  return hWnd != nullptr;
}

BOOL CDialog::Create(LPCSTR lpszTemplateName, CWnd* pParentWnd) {
  m_lpszTemplateName = lpszTemplateName;
  if (IS_INTRESOURCE(lpszTemplateName) && !m_nIDHelp) m_nIDHelp = LOWORD(reinterpret_cast<ULONG_PTR>(lpszTemplateName));
  HINSTANCE hInst;
  LPCDLGTEMPLATEA lpTemplate = AfxLoadDialogTemplate(lpszTemplateName, &hInst);
  if (!pParentWnd) pParentWnd = AfxGetMainWnd();
  return lpTemplate && CreateDlgIndirect(lpTemplate, pParentWnd, hInst);
}

BOOL CDialog::CreateIndirect(LPCDLGTEMPLATEA lpDialogTemplate, CWnd* pParentWnd) {
  if (!pParentWnd) pParentWnd = AfxGetMainWnd();
  return CreateDlgIndirect(lpDialogTemplate, pParentWnd, AfxGetInstanceHandle());
}

BOOL CDialog::InitModalIndirect(LPCDLGTEMPLATEA lpDialogTemplate, CWnd* pParentWnd) {
  m_lpDialogTemplate = lpDialogTemplate;
  m_pParentWnd = pParentWnd;
  return TRUE;
}

INT_PTR CDialog::DoModal() {
  HINSTANCE hInst = AfxGetResourceHandle();
  LPCDLGTEMPLATEA lpTemplate = m_lpDialogTemplate;
  if (!lpTemplate && m_lpszTemplateName) lpTemplate = AfxLoadDialogTemplate(m_lpszTemplateName, &hInst);
  if (!lpTemplate) return -1;

  HWND hWndParent = GetSafeOwner_(m_pParentWnd ? m_pParentWnd->m_hWnd : nullptr, nullptr);
  BOOL bEnableParent = FALSE;
  if (hWndParent && hWndParent != ::GetDesktopWindow() && ::IsWindowEnabled(hWndParent)) {
    ::EnableWindow(hWndParent, FALSE);
    bEnableParent = TRUE;
  }
  m_nModalResult = -1;
  m_nFlags |= WF_CONTINUEMODAL;
  if (CreateDlgIndirect(lpTemplate, FromHandle(hWndParent), hInst)) {
    // EndDialog inside OnInitDialog: the loop never runs, so the dialog never shows.
    if (m_nFlags & WF_CONTINUEMODAL) {
      DWORD dwFlags = MLF_SHOWONIDLE;
      if (GetStyle() & DS_NOIDLEMSG) dwFlags |= MLF_NOIDLEMSG;
      RunModalLoop(dwFlags);
    }
    if (m_hWnd)
      SetWindowPos(nullptr, 0, 0, 0, 0, SWP_HIDEWINDOW | SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_NOZORDER);
  }
  m_nFlags &= ~WF_CONTINUEMODAL;
  if (bEnableParent) ::EnableWindow(hWndParent, TRUE);
  if (hWndParent && ::GetActiveWindow() == m_hWnd) ::SetActiveWindow(hWndParent);
  DestroyWindow();
  return m_nModalResult;
}

void CDialog::EndDialog(int nResult) {
  if (m_nFlags & (WF_MODALLOOP | WF_CONTINUEMODAL)) EndModalLoop(nResult);
  ::EndDialog(m_hWnd, nResult);
}

LRESULT CDialog::HandleInitDialog(WPARAM, LPARAM) {
  PreInitDialog();
  return OnInitDialog();
}

BOOL CDialog::OnInitDialog() {
  if (!ExecuteDlgInit(m_lpszTemplateName) || !UpdateData(FALSE)) {
    EndDialog(-1);
    return FALSE;
  }
  return TRUE;
}

void CDialog::OnOK() {
  if (!UpdateData(TRUE)) return;
  EndDialog(IDOK);
}

void CDialog::OnCancel() { EndDialog(IDCANCEL); }

BOOL CDialog::PreTranslateMessage(MSG* pMsg) {
  if (CWnd::PreTranslateMessage(pMsg)) return TRUE;
  return AfxIsDialogInput(m_hWnd, pMsg) && ::IsDialogMessageA(m_hWnd, pMsg);
}

// By the windows' own styles, as the dialog manager reads them.
static bool IsShownAndEnabled(HWND hWnd) {
  return (::GetWindowLongA(hWnd, GWL_STYLE) & (WS_VISIBLE | WS_DISABLED)) == WS_VISIBLE;
}

BOOL AfxCanTakeFocus(HWND hWnd) {
  for (; hWnd; hWnd = ::GetParent(hWnd))
    if (!IsShownAndEnabled(hWnd)) return FALSE;
  return TRUE;
}

BOOL AfxIsDialogInput(HWND hDlg, const MSG* pMsg) {
  const bool input = (pMsg->message >= WM_KEYFIRST && pMsg->message <= WM_KEYLAST) ||
                     (pMsg->message >= WM_MOUSEFIRST && pMsg->message <= WM_MOUSELAST);
  if (!input || (pMsg->hwnd != hDlg && !::IsChild(hDlg, pMsg->hwnd))) return FALSE;
  for (HWND hWnd = ::GetParent(pMsg->hwnd); hWnd && hWnd != hDlg; hWnd = ::GetParent(hWnd))
    if (!IsShownAndEnabled(hWnd)) return FALSE;
  return TRUE;
}

BOOL CDialog::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) {
  if (CWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo)) return TRUE;
  if ((nCode != CN_COMMAND && static_cast<UINT>(nCode) != CN_UPDATE_COMMAND_UI) || nID == 0 || nID >= 0xF000)
    return FALSE;
  CWnd* pOwner = GetParent();
  if (pOwner && pOwner->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo)) return TRUE;
  CWinApp* pApp = AfxGetApp();
  return pApp && pApp->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

// RT_DLGINIT rows: WORD control id, WORD message, DWORD length, then that
// many bytes (a zero-terminated text); a zero control id ends the rows.
// Messages are the 16-bit list and combo "add string" numbers 0x0401 and
// 0x0403, or 0x1234 for an extended combo box item.
BOOL CDialog::ExecuteDlgInit(LPCSTR lpszResourceName) { return AfxExecuteDlgInit(m_hWnd, lpszResourceName); }

BOOL AfxExecuteDlgInit(HWND hWnd, LPCSTR lpszResourceName) {
  if (!lpszResourceName) return TRUE;
  HINSTANCE hInst = AfxFindResourceHandle(lpszResourceName, MAKEINTRESOURCEA(240));
  HRSRC hResource = ::FindResourceA(hInst, lpszResourceName, MAKEINTRESOURCEA(240));
  if (!hResource) return TRUE;
  HGLOBAL hData = ::LoadResource(hInst, hResource);
  const BYTE* p = hData ? static_cast<const BYTE*>(::LockResource(hData)) : nullptr;
  if (!p) return FALSE;
  const BYTE* end = p + ::SizeofResource(hInst, hResource);
  while (end - p >= 2) {
    WORD nIDC = *reinterpret_cast<const WORD*>(p);
    if (nIDC == 0) return TRUE;
    if (end - p < 8) return FALSE;
    WORD nMsg = *reinterpret_cast<const WORD*>(p + 2);
    DWORD dwLen = *reinterpret_cast<const DWORD*>(p + 4);
    p += 8;
    if (dwLen > static_cast<DWORD>(end - p) || dwLen == 0 || p[dwLen - 1] != '\0') return FALSE;
    LPSTR text = const_cast<LPSTR>(reinterpret_cast<LPCSTR>(p));
    LRESULT r;
    if (nMsg == 0x1234) {
      COMBOBOXEXITEMA item = {};
      item.mask = CBEIF_TEXT;
      item.iItem = -1;
      item.pszText = text;
      r = ::SendDlgItemMessageA(hWnd, nIDC, CBEM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
    } else {
      UINT message = nMsg == 0x0401 ? LB_ADDSTRING : nMsg == 0x0403 ? CB_ADDSTRING : nMsg;
      r = ::SendDlgItemMessageA(hWnd, nIDC, message, 0, reinterpret_cast<LPARAM>(text));
    }
    if (r == LB_ERR || r == LB_ERRSPACE) return FALSE;
    p += dwLen;
  }
  return TRUE;
}
