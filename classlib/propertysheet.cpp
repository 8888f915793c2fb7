#include "classlib/propertysheet.h"

#include "classlib/module.h"

IMPLEMENT_DYNAMIC(CPropertyPage, CDialog)
IMPLEMENT_DYNAMIC(CPropertySheet, CWnd)

// ---- pages

// comctl32 calls this just before it makes the page's window: the object is
// attached from that window's first message.
static UINT CALLBACK AfxPropPageCallback(HWND, UINT message, LPPROPSHEETPAGEA ppsp) {
  if (message == PSPCB_CREATE) AfxHookWindowCreate(reinterpret_cast<CPropertyPage*>(ppsp->lParam));
  return TRUE;
}

CPropertyPage::CPropertyPage(UINT nIDTemplate, UINT nIDCaption) {
  CommonConstruct(MAKEINTRESOURCEA(nIDTemplate), nIDCaption);
  m_nIDHelp = nIDTemplate;
}

CPropertyPage::CPropertyPage(LPCSTR lpszTemplateName, UINT nIDCaption) { CommonConstruct(lpszTemplateName, nIDCaption); }

void CPropertyPage::CommonConstruct(LPCSTR lpszTemplateName, UINT nIDCaption) {
  m_lpszTemplateName = lpszTemplateName;
  m_psp = PROPSHEETPAGEA();
  m_psp.dwSize = sizeof m_psp;
  m_psp.dwFlags = PSP_USECALLBACK;
  m_psp.hInstance = AfxFindResourceHandle(lpszTemplateName, RT_DIALOG);
  m_psp.pszTemplate = lpszTemplateName;
  m_psp.pfnDlgProc = AfxDlgProc;
  m_psp.lParam = reinterpret_cast<LPARAM>(this);
  m_psp.pfnCallback = AfxPropPageCallback;
  CString caption;
  if (nIDCaption && caption.LoadString(nIDCaption)) SetTabCaption(caption);
}

void CPropertyPage::SetTabCaption(LPCSTR caption) {
  m_strCaption = caption;
  m_psp.pszTitle = m_strCaption;
  m_psp.dwFlags |= PSP_USETITLE;
}

CPropertySheet* CPropertyPage::GetParentSheet() const {
  CWnd* pParent = CWnd::FromHandlePermanent(::GetParent(m_hWnd));
  return pParent && pParent->IsKindOf(RUNTIME_CLASS(CPropertySheet)) ? static_cast<CPropertySheet*>(pParent) : nullptr;
}

BOOL CPropertyPage::OnSetActive() {
  if (m_bFirstSetActive)
    m_bFirstSetActive = FALSE;
  else
    UpdateData(FALSE);
  return TRUE;
}

BOOL CPropertyPage::OnKillActive() { return UpdateData(TRUE); }

BOOL CPropertyPage::OnApply() {
  OnOK();
  return TRUE;
}

void CPropertyPage::OnReset() { OnCancel(); }

void CPropertyPage::SetModified(BOOL bChanged) {
  HWND hSheet = ::GetParent(m_hWnd);
  if (hSheet) ::SendMessageA(hSheet, bChanged ? PSM_CHANGED : PSM_UNCHANGED, reinterpret_cast<WPARAM>(m_hWnd), 0);
}

void CPropertyPage::CancelToClose() {
  HWND hSheet = ::GetParent(m_hWnd);
  if (hSheet) ::SendMessageA(hSheet, PSM_CANCELTOCLOSE, 0, 0);
}

BOOL CPropertyPage::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
  if (CDialog::OnNotify(wParam, lParam, pResult)) return TRUE;
  NMHDR* pNMHDR = reinterpret_cast<NMHDR*>(lParam);
  if (pNMHDR->hwndFrom != m_hWnd && pNMHDR->hwndFrom != ::GetParent(m_hWnd)) return FALSE;
  switch (pNMHDR->code) {
    case PSN_SETACTIVE:
      *pResult = OnSetActive() ? 0 : -1;
      if (*pResult == 0) TakeFocusFromOtherPage();
      break;
    case PSN_KILLACTIVE: *pResult = !OnKillActive(); break;
    case PSN_APPLY: *pResult = OnApply() ? PSNRET_NOERROR : PSNRET_INVALID_NOCHANGEPAGE; break;
    case PSN_RESET: OnReset(); break;
    case PSN_QUERYCANCEL: *pResult = !OnQueryCancel(); break;
    case PSN_WIZBACK: *pResult = OnWizardBack(); break;
    case PSN_WIZNEXT: *pResult = OnWizardNext(); break;
    case PSN_WIZFINISH: *pResult = !OnWizardFinish(); break;
    case PSN_HELP: SendMessage(WM_COMMAND, IDHELP); break;
    default: return FALSE;
  }
  return TRUE;
}

// The sheet hides the page it leaves but not the focus inside it: a focus
// in another page comes to this one's first tab stop, as does a focus lost
// on the way (the page left disabled the control that had it) while the
// sheet's window is active. A focus on the tabs, or outside, stays there.
void CPropertyPage::TakeFocusFromOtherPage() {
  HWND hSheet = ::GetParent(m_hWnd);
  HWND hTabs = reinterpret_cast<HWND>(::SendMessageA(hSheet, PSM_GETTABCONTROL, 0, 0));
  HWND hHolder = ::GetFocus();
  const bool lost = !hHolder && ::GetActiveWindow() == ::GetAncestor(hSheet, GA_ROOT);
  while (hHolder && ::GetParent(hHolder) != hSheet) hHolder = ::GetParent(hHolder);
  if (!lost && (!hHolder || hHolder == m_hWnd || hHolder == hTabs)) return;
  HWND hFirst = ::GetNextDlgTabItem(m_hWnd, nullptr, FALSE);
  ::SetFocus(hFirst ? hFirst : hTabs);
}

// Keys go on to the sheet, which owns the keyboard of its pages.
BOOL CPropertyPage::PreTranslateMessage(MSG* pMsg) { return CWnd::PreTranslateMessage(pMsg); }

// ---- sheets

BEGIN_MESSAGE_MAP(CPropertySheet, CWnd)
  ON_MESSAGE(WM_INITDIALOG, HandleInitDialog)
  ON_MESSAGE(PSM_PRESSBUTTON, OnPressButton)
END_MESSAGE_MAP()

// Applies the style Create asked for to the sheet's template (a copy that
// comctl32 made), keeping DS_SETFONT, which says how the template goes on.
static int CALLBACK AfxPropSheetCallback(HWND, UINT message, LPARAM lParam) {
  if (message != PSCB_PRECREATE) return 0;
  CWnd* pInit = AfxGetThreadState()->m_pWndInit;
  if (!pInit || !pInit->IsKindOf(RUNTIME_CLASS(CPropertySheet))) return 0;
  CPropertySheet* pSheet = static_cast<CPropertySheet*>(pInit);
  if (!pSheet->m_dwCreateStyle) return 0;
  WORD* words = reinterpret_cast<WORD*>(lParam);
  bool extended = words[0] == 1 && words[1] == 0xFFFF;
  DWORD* exStyle = reinterpret_cast<DWORD*>(lParam + (extended ? 8 : 4));
  DWORD* style = reinterpret_cast<DWORD*>(lParam + (extended ? 12 : 0));
  *style = (pSheet->m_dwCreateStyle & ~DS_SETFONT) | (*style & DS_SETFONT);
  *exStyle = pSheet->m_dwCreateExStyle;
  return 0;
}

CPropertySheet::CPropertySheet() { CommonConstruct(nullptr, 0); }

CPropertySheet::CPropertySheet(UINT nIDCaption, CWnd* pParentWnd, UINT iSelectPage) {
  m_strCaption.LoadString(nIDCaption);
  CommonConstruct(pParentWnd, iSelectPage);
}

CPropertySheet::CPropertySheet(LPCSTR pszCaption, CWnd* pParentWnd, UINT iSelectPage) : m_strCaption(pszCaption) {
  CommonConstruct(pParentWnd, iSelectPage);
}

CPropertySheet::~CPropertySheet() { delete[] m_pPageArray; }

void CPropertySheet::CommonConstruct(CWnd* pParentWnd, UINT iSelectPage) {
  m_pParentWnd = pParentWnd;
  m_psh = PROPSHEETHEADERA();
  m_psh.dwSize = sizeof m_psh;
  m_psh.dwFlags = PSH_PROPSHEETPAGE | PSH_USECALLBACK;
  m_psh.hInstance = AfxGetResourceHandle();
  m_psh.pszCaption = m_strCaption;
  m_psh.nStartPage = iSelectPage;
  m_psh.pfnCallback = AfxPropSheetCallback;
}

void CPropertySheet::BuildPropPageArray() {
  delete[] m_pPageArray;
  int n = GetPageCount();
  m_pPageArray = new PROPSHEETPAGEA[n ? n : 1];
  for (int i = 0; i < n; ++i) {
    m_pPageArray[i] = GetPage(i)->m_psp;
    GetPage(i)->m_bFirstSetActive = TRUE;
  }
  m_psh.ppsp = m_pPageArray;
  m_psh.nPages = n;
  m_psh.pszCaption = m_strCaption;
  m_psh.dwFlags |= PSH_PROPSHEETPAGE;
}

INT_PTR CPropertySheet::DoModal() {
  BuildPropPageArray();
  HWND hWndTop = nullptr;
  HWND hWndParent = GetSafeOwner_(m_pParentWnd ? m_pParentWnd->m_hWnd : nullptr, &hWndTop);
  m_psh.hwndParent = hWndParent;
  BOOL bEnableParent = FALSE;
  if (hWndParent && ::IsWindowEnabled(hWndParent)) {
    ::EnableWindow(hWndParent, FALSE);
    bEnableParent = TRUE;
  }
  if (HWND hWndCapture = ::GetCapture()) ::SendMessageA(hWndCapture, WM_CANCELMODE, 0, 0);

  m_nModalResult = 0;
  m_nFlags |= WF_CONTINUEMODAL;
  m_bModeless = FALSE;
  m_dwCreateStyle = 0;
  AfxHookWindowCreate(this);
  m_psh.dwFlags |= PSH_MODELESS;
  HWND hWnd = reinterpret_cast<HWND>(::PropertySheetA(&m_psh));
  m_psh.dwFlags &= ~PSH_MODELESS;
  AfxUnhookWindowCreate();
  if (!hWnd || hWnd == reinterpret_cast<HWND>(-1)) m_nFlags &= ~WF_CONTINUEMODAL;

  INT_PTR nResult = m_nModalResult;
  if (ContinueModal()) {
    DWORD dwFlags = MLF_SHOWONIDLE;
    if (GetStyle() & DS_NOIDLEMSG) dwFlags |= MLF_NOIDLEMSG;
    nResult = RunModalLoop(dwFlags);
  }
  if (m_hWnd)
    SetWindowPos(nullptr, 0, 0, 0, 0, SWP_HIDEWINDOW | SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_NOZORDER);
  if (bEnableParent) ::EnableWindow(hWndParent, TRUE);
  if (hWndParent && ::GetActiveWindow() == m_hWnd) ::SetActiveWindow(hWndParent);
  if (hWndTop) ::EnableWindow(hWndTop, TRUE);
  DestroyWindow();
  return nResult;
}

BOOL CPropertySheet::Create(CWnd* pParentWnd, DWORD dwStyle, DWORD dwExStyle) {
  if (dwStyle == static_cast<DWORD>(-1))
    dwStyle = WS_SYSMENU | WS_POPUP | WS_CAPTION | DS_MODALFRAME | DS_CONTEXTHELP | WS_VISIBLE;
  BuildPropPageArray();
  if (!pParentWnd) pParentWnd = m_pParentWnd;
  m_psh.hwndParent = pParentWnd ? pParentWnd->m_hWnd : nullptr;
  m_dwCreateStyle = dwStyle;
  m_dwCreateExStyle = dwExStyle;
  m_bModeless = TRUE;
  m_psh.dwFlags |= PSH_MODELESS | PSH_USECALLBACK;
  m_psh.pfnCallback = AfxPropSheetCallback;
  AfxHookWindowCreate(this);
  HWND hWnd = reinterpret_cast<HWND>(::PropertySheetA(&m_psh));
  AfxUnhookWindowCreate();
  m_psh.dwFlags &= ~PSH_MODELESS;
  m_dwCreateStyle = 0;
  return hWnd && hWnd != reinterpret_cast<HWND>(-1);
}

void CPropertySheet::EndDialog(int nEndID) {
  EndModalLoop(nEndID);
  if (m_bModeless)
    DestroyWindow();
  else
    PostMessage(PSM_PRESSBUTTON, PSBTN_CANCEL);
}

// A pressed button ends the sheet as a click on it would, but the control
// presses it without a BN_CLICKED: the result is set here instead.
LRESULT CPropertySheet::OnPressButton(WPARAM wParam, LPARAM) {
  static const struct { int button; int result; } results[] = {
      {PSBTN_OK, IDOK}, {PSBTN_CANCEL, IDCANCEL}};
  for (const auto& r : results)
    if (static_cast<int>(wParam) == r.button) m_nModalResult = r.result;
  return Default();
}

LRESULT CPropertySheet::HandleInitDialog(WPARAM, LPARAM) { return OnInitDialog(); }

BOOL CPropertySheet::OnInitDialog() {
  BOOL bResult = static_cast<BOOL>(Default());
  if (m_bModeless && !IsWizard()) {
    // Such sheets have no buttons: drop them and the row they stand in.
    static const int buttons[] = {IDOK, IDCANCEL, 0x3021 /* Apply */, IDHELP};
    CRect rectWnd, rectButton;
    GetWindowRect(&rectWnd);
    if (HWND hOK = ::GetDlgItem(m_hWnd, IDOK)) {
      ::GetWindowRect(hOK, &rectButton);
      SetWindowPos(nullptr, 0, 0, rectWnd.Width(), rectButton.top - rectWnd.top,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    for (int id : buttons) {
      if (HWND hButton = ::GetDlgItem(m_hWnd, id)) {
        ::ShowWindow(hButton, SW_HIDE);
        ::EnableWindow(hButton, FALSE);
      }
    }
  }
  if (!(GetStyle() & WS_CHILD)) CenterWindow();
  return bResult;
}

BOOL CPropertySheet::ContinueModal() {
  if (!CWnd::ContinueModal()) return FALSE;
  return SendMessage(PSM_GETCURRENTPAGEHWND) != 0;
}

BOOL CPropertySheet::OnCommand(WPARAM wParam, LPARAM lParam) {
  if (CWnd::OnCommand(wParam, lParam)) return TRUE;
  HWND hWndCtrl = reinterpret_cast<HWND>(lParam);
  // The push button that ends the sheet decides DoModal's result.
  if (hWndCtrl && HIWORD(wParam) == BN_CLICKED &&
      (::SendMessageA(hWndCtrl, WM_GETDLGCODE, 0, 0) & (DLGC_BUTTON | DLGC_DEFPUSHBUTTON))) {
    LONG style = static_cast<LONG>(::GetWindowLongPtrA(hWndCtrl, GWL_STYLE)) & 0x0F;
    if (style == BS_PUSHBUTTON || style == BS_DEFPUSHBUTTON || style == BS_USERBUTTON || style == BS_OWNERDRAW)
      m_nModalResult = LOWORD(wParam);
  }
  return FALSE;
}

BOOL CPropertySheet::PreTranslateMessage(MSG* pMsg) {
  if (CWnd::PreTranslateMessage(pMsg)) return TRUE;
  if (!AfxIsDialogInput(m_hWnd, pMsg)) return FALSE;
  // Ctrl+Tab and Ctrl+PgUp/PgDn, then the dialog keys of the current page.
  return static_cast<BOOL>(SendMessage(PSM_ISDIALOGMESSAGE, 0, reinterpret_cast<LPARAM>(pMsg)));
}

void CPropertySheet::AddPage(CPropertyPage* pPage) {
  m_pages.Add(pPage);
  if (m_hWnd) {
    HPROPSHEETPAGE hPage = ::CreatePropertySheetPageA(&pPage->m_psp);
    if (hPage) SendMessage(PSM_ADDPAGE, 0, reinterpret_cast<LPARAM>(hPage));
  }
}

void CPropertySheet::RemovePage(int nPage) {
  if (nPage < 0 || nPage >= GetPageCount()) return;
  if (m_hWnd) SendMessage(PSM_REMOVEPAGE, nPage);
  m_pages.RemoveAt(nPage);
}

int CPropertySheet::GetPageIndex(CPropertyPage* pPage) const {
  for (int i = 0; i < GetPageCount(); ++i)
    if (GetPage(i) == pPage) return i;
  return -1;
}

int CPropertySheet::GetActiveIndex() const {
  if (!m_hWnd) return static_cast<int>(m_psh.nStartPage);
  HWND hTab = reinterpret_cast<HWND>(SendMessage(PSM_GETTABCONTROL));
  return static_cast<int>(::SendMessageA(hTab, TCM_GETCURSEL, 0, 0));
}

// By the tab's selection, which is already the new page while that page
// handles PSN_SETACTIVE (the current-page query still names the old one).
CPropertyPage* CPropertySheet::GetActivePage() const {
  int index = GetActiveIndex();
  return index >= 0 && index < GetPageCount() ? GetPage(index) : nullptr;
}

BOOL CPropertySheet::SetActivePage(int nPage) {
  if (nPage < 0 || nPage >= GetPageCount()) return FALSE;
  if (!m_hWnd) {
    m_psh.nStartPage = nPage;
    return TRUE;
  }
  return static_cast<BOOL>(SendMessage(PSM_SETCURSEL, nPage));
}

CTabCtrl* CPropertySheet::GetTabControl() const {
  return static_cast<CTabCtrl*>(CWnd::FromHandle(reinterpret_cast<HWND>(SendMessage(PSM_GETTABCONTROL))));
}

void CPropertySheet::SetTitle(LPCSTR lpszText, UINT nStyle) {
  m_strCaption = lpszText;
  m_psh.pszCaption = m_strCaption;
  m_psh.dwFlags = (m_psh.dwFlags & ~PSH_PROPTITLE) | (nStyle & PSH_PROPTITLE);
  if (m_hWnd) SendMessage(PSM_SETTITLEA, nStyle, reinterpret_cast<LPARAM>(lpszText));
}
