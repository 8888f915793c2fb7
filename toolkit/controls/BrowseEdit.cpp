#include "toolkit/controls/BrowseEdit.h"

#include "toolkit/common/SharedState.h"
#include "toolkit/controls/BrowseButton.h"
#include "toolkit/controls/ControlMessages.h"
#include "toolkit/controls/FolderBrowser.h"
#include "toolkit_resource.h"

IMPLEMENT_DYNAMIC(CXTBrowseEdit, CXTEdit)

BEGIN_MESSAGE_MAP(CXTBrowseEdit, CXTEdit)
  ON_WM_CREATE()
  ON_WM_WINDOWPOSCHANGING()
  ON_WM_WINDOWPOSCHANGED()
  ON_WM_ENABLE()
  ON_WM_SHOWWINDOW()
  ON_MESSAGE(XTWM_INITCONTROL, OnInitControl)
END_MESSAGE_MAP()

CXTBrowseEdit::CXTBrowseEdit() : m_nGap(::GetSystemMetrics(SM_CXEDGE)) {
  m_strDefExt.LoadString(IDS_XT_DEFAULT_EXTENSION);
  m_strFilter.LoadString(IDS_XT_ALL_FILES_FILTER);
  m_strTitle.LoadString(IDS_XT_CHOOSE_DIRECTORY);
}

CXTBrowseEdit::~CXTBrowseEdit() { delete m_pBrowseBtn; }

void CXTBrowseEdit::SetBrowseStyle(DWORD dwBStyle, UINT nMenu, int nSubMenuIndx) {
  m_dwBStyle = dwBStyle;
  m_nMenu = nMenu;
  m_nSubMenuIndx = nSubMenuIndx;
}

// ---- deferred set-up: only the latest post acts

void CXTBrowseEdit::PreSubclassWindow() {
  CXTEdit::PreSubclassWindow();
  m_init.Post(*this);
}

int CXTBrowseEdit::OnCreate(LPCREATESTRUCTA lpCreateStruct) {
  if (CXTEdit::OnCreate(lpCreateStruct) == -1) return -1;
  m_init.Post(*this);
  return 0;
}

LRESULT CXTBrowseEdit::OnInitControl(WPARAM, LPARAM lParam) {
  if (!m_init.Accept(lParam)) return 0;
  if (m_dwBStyle & BES_XT_KINDS) {
    m_pBrowseBtn = new CXTBrowseBtn;
    if (m_pBrowseBtn->Create(this, m_dwBStyle & BES_XT_KINDS, IDC_XT_BROWSE_BUTTON, m_nMenu, m_nSubMenuIndx)) {
      PositionBrowseButton(TRUE);
    } else {
      delete m_pBrowseBtn;
      m_pBrowseBtn = nullptr;
    }
  }
  SetFont(&GetSharedState().GetFont(CXTSharedState::kFontNormal));
  m_pWndOwner = this;
  return 0;
}

// ---- the button's share of the edit's room

int CXTBrowseEdit::ButtonShare() const { return m_pBrowseBtn ? m_nGap + XT_BROWSE_BUTTON_WIDTH : 0; }

void CXTBrowseEdit::GetOuterRect(CRect& rect) const {
  GetWindowRect(&rect);
  rect.right += ButtonShare();
}

void CXTBrowseEdit::PositionBrowseButton(BOOL bResizeEdit) {
  if (!bResizeEdit) {
    OnWindowPosChanged(nullptr);
    return;
  }
  ReapplyOwnRect(*this, SWP_NOREDRAW);
}

void CXTBrowseEdit::OnWindowPosChanging(WINDOWPOS* lpwndpos) {
  CXTEdit::OnWindowPosChanging(lpwndpos);
  if (!(lpwndpos->flags & SWP_NOSIZE)) lpwndpos->cx -= ButtonShare();
}

void CXTBrowseEdit::OnWindowPosChanged(WINDOWPOS* lpwndpos) {
  if (lpwndpos) CXTEdit::OnWindowPosChanged(lpwndpos);
  if (!m_pBrowseBtn || !m_pBrowseBtn->m_hWnd) return;
  CRect rect;
  GetWindowRect(&rect);
  CWnd* pParent = GetParent();
  pParent->ScreenToClient(&rect);
  ::SetWindowPos(m_pBrowseBtn->m_hWnd, m_hWnd, rect.right + m_nGap, rect.top, XT_BROWSE_BUTTON_WIDTH, rect.Height(),
                 SWP_NOACTIVATE);
  pParent->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
}

void CXTBrowseEdit::OnEnable(BOOL bEnable) {
  CXTEdit::OnEnable(bEnable);
  if (m_pBrowseBtn && m_pBrowseBtn->m_hWnd) m_pBrowseBtn->EnableWindow(bEnable);
}

void CXTBrowseEdit::OnShowWindow(BOOL bShow, UINT nStatus) {
  CXTEdit::OnShowWindow(bShow, nStatus);
  if (m_pBrowseBtn && m_pBrowseBtn->m_hWnd) m_pBrowseBtn->ShowWindow(bShow ? SW_SHOW : SW_HIDE);
}

// ---- browsing

void CXTBrowseEdit::Browse() {
  m_bBrowsing = TRUE;
  if (m_dwBStyle & BES_XT_CHOOSEDIR)
    BrowseForFolder();
  else if (m_dwBStyle & BES_XT_CHOOSEFILE)
    BrowseForFile();
  else if (m_dwBStyle & BES_XT_POPUPMENU)
    BrowseWithPopupMenu();
  SetSel(0, -1);
  SetFocus();
  m_bBrowsing = FALSE;
}

void CXTBrowseEdit::BrowseForFolder() {
  CString start;
  GetWindowText(start);
  if (start.IsEmpty()) {
    char current[MAX_PATH] = "";
    ::GetCurrentDirectoryA(sizeof current, current);
    start = current;
  }
  CXTFolderBrowser browser(GetParent(), m_strTitle, start);
  if (browser.DoModal() == IDOK) SetWindowText(browser.GetSelectedFolder());
}

void CXTBrowseEdit::BrowseForFile() {
  if (m_pFileDlg) {
    if (m_pFileDlg->DoModal() == IDOK) SetWindowText(m_pFileDlg->GetPathName());
    return;
  }
  CFileDialog dialog(m_bOpenFileDialog, m_strDefExt, m_strFileName, m_dwFlags, m_strFilter, m_pWndOwner);
  if (dialog.DoModal() == IDOK) SetWindowText(dialog.GetPathName());
}

// The menu is drawn by a cool menu on the first ancestor that is not a child
// window, and its commands go there.
void CXTBrowseEdit::BrowseWithPopupMenu() {
  if (!m_pBrowseBtn) return;
  m_pBrowseBtn->SetState(TRUE);
  CRect button;
  m_pBrowseBtn->GetWindowRect(&button);
  HWND hTop = m_hWnd;
  while ((::GetWindowLongPtrA(hTop, GWL_STYLE) & WS_CHILD) && ::GetParent(hTop)) hTop = ::GetParent(hTop);
  CMenu menu;
  if (menu.Attach(::LoadMenuA(AfxGetResourceHandle(), MAKEINTRESOURCEA(m_nMenu)))) {
    if (CMenu* pPopup = menu.GetSubMenu(m_nSubMenuIndx)) {
      CWnd* pTop = CWnd::FromHandle(hTop);
      CXTCoolMenu coolMenu;
      coolMenu.Install(pTop);
      coolMenu.TrackPopupMenuEx(pPopup->m_hMenu, TPM_LEFTALIGN | TPM_VERTICAL | TPM_RIGHTBUTTON, button.right,
                                button.top, pTop, &button, TRUE);
    }
  }
  m_pBrowseBtn->SetState(FALSE);
}
