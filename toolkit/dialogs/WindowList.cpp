#include "toolkit/dialogs/WindowList.h"

#include <algorithm>
#include <string>

#include "toolkit/common/SharedState.h"
#include "toolkit/frame/FrameHelper.h"
#include "toolkit/menus/MenuBar.h"
#include "toolkit_resource.h"

BEGIN_MESSAGE_MAP(CXTWindowList, CXTResizeDialog)
ON_WM_DRAWITEM()
ON_WM_MEASUREITEM()
ON_LBN_SELCHANGE(IDC_XT_WINDOW_LIST, OnSelChange)
ON_BN_CLICKED(IDC_XT_WINDOW_ACTIVATE, OnActivateWindow)
ON_BN_CLICKED(IDC_XT_WINDOW_SAVE, OnSaveWindows)
ON_BN_CLICKED(IDC_XT_WINDOW_CLOSE, OnCloseWindows)
ON_BN_CLICKED(IDC_XT_WINDOW_CASCADE, OnCascade)
ON_BN_CLICKED(IDC_XT_WINDOW_TILE_HORZ, OnTileHorizontally)
ON_BN_CLICKED(IDC_XT_WINDOW_TILE_VERT, OnTileVertically)
ON_BN_CLICKED(IDC_XT_WINDOW_MINIMIZE, OnMinimizeWindows)
END_MESSAGE_MAP()

namespace {

const char kPlacementSection[] = "CXTWindowList";

// Each button with the least number of selected lines it needs; 1 exactly
// for Activate.
const struct {
  int nID, nMinimum;
} kButtonNeeds[] = {
    {IDC_XT_WINDOW_ACTIVATE, 1}, {IDC_XT_WINDOW_SAVE, 1},      {IDC_XT_WINDOW_CLOSE, 1},
    {IDC_XT_WINDOW_MINIMIZE, 1}, {IDC_XT_WINDOW_CASCADE, 2},   {IDC_XT_WINDOW_TILE_HORZ, 2},
    {IDC_XT_WINDOW_TILE_VERT, 2},
};
// The buttons the menu bar's child-window buttons show or hide with them.
const int kArrangeButtons[] = {IDC_XT_WINDOW_CASCADE, IDC_XT_WINDOW_TILE_HORZ, IDC_XT_WINDOW_TILE_VERT,
                               IDC_XT_WINDOW_MINIMIZE};
const int kAllButtons[] = {IDC_XT_WINDOW_ACTIVATE, IDOK, IDC_XT_WINDOW_SAVE, IDC_XT_WINDOW_CLOSE,
                           IDC_XT_WINDOW_CASCADE, IDC_XT_WINDOW_TILE_HORZ, IDC_XT_WINDOW_TILE_VERT,
                           IDC_XT_WINDOW_MINIMIZE};

const int kIconLeft = 2, kTextGap = 4;

// The child's small icon, else its class's, else the system's window logo.
HICON SmallIconOf(HWND hWnd) {
  if (HICON hIcon = reinterpret_cast<HICON>(::SendMessageA(hWnd, WM_GETICON, ICON_SMALL, 0))) return hIcon;
  if (HICON hIcon = reinterpret_cast<HICON>(::GetClassLongPtrA(hWnd, GCLP_HICONSM))) return hIcon;
  return ::LoadIcon(nullptr, IDI_WINLOGO);
}

// The title of the document of the child's first view; empty without one.
CString FirstViewTitle(HWND hChild) {
  for (HWND h = ::GetWindow(hChild, GW_CHILD); h; h = ::GetWindow(h, GW_HWNDNEXT)) {
    CWnd* pWnd = CWnd::FromHandlePermanent(h);
    if (pWnd && pWnd->IsKindOf(RUNTIME_CLASS(CView)))
      if (CDocument* pDoc = static_cast<CView*>(pWnd)->GetDocument()) return pDoc->GetTitle();
  }
  return CString();
}

}  // namespace

CXTWindowList::CXTWindowList(CMDIFrameWnd* pFrame, HICON hIcon)
    : CXTResizeDialog(IDD_XT_WINDOW_LIST, pFrame), m_pFrame(pFrame), m_hIcon(hIcon) {}

BOOL CXTWindowList::OnInitDialog() {
  CXTResizeDialog::OnInitDialog();
  m_list.SubclassDlgItem(IDC_XT_WINDOW_LIST, this);
  FillList();
  SelectActive();
  UpdateButtons();
  SetAnchor(IDC_XT_WINDOW_LIST, CXTAnchorRect(0, 0, 1, 1));
  for (int nID : kAllButtons) SetAnchor(nID, CXTAnchorRect(1, 0, 1, 0));
  AutoLoadPlacement(kPlacementSection);
  // The toolkit carries no icon of its own: resource compilers number the
  // images of each script's icons from 1, so they would collide with the
  // program's at link time.
  if (!m_hIcon) m_hIcon = ::LoadIcon(nullptr, IDI_APPLICATION);
  SendMessage(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_hIcon));
  m_list.SetBackColor(GetSharedState().m_clrWindow);
  return TRUE;
}

// From the last child in the sibling order back to the first; a child
// without text takes its document's title.
void CXTWindowList::FillList() {
  m_list.ResetContent();
  CMDIChildWnd* pActive = m_pFrame->MDIGetActive();
  if (!pActive) return;
  for (HWND h = ::GetWindow(pActive->m_hWnd, GW_HWNDLAST); h; h = ::GetWindow(h, GW_HWNDPREV)) {
    char text[256] = {};
    ::GetWindowTextA(h, text, sizeof text);
    CString title = text;
    if (title.IsEmpty()) {
      title = FirstViewTitle(h);
      ::SetWindowTextA(h, title);
    }
    const int index = m_list.AddString(title);
    if (index >= 0) m_list.SetItemData(index, reinterpret_cast<DWORD_PTR>(h));
  }
}

void CXTWindowList::SelectActive() {
  m_list.SetSel(-1, FALSE);
  CMDIChildWnd* pActive = m_pFrame->MDIGetActive();
  for (int i = 0; pActive && i < m_list.GetCount(); ++i)
    if (ChildAt(i) == pActive->m_hWnd) m_list.SetSel(i, TRUE);
}

void CXTWindowList::UpdateButtons() {
  const int selected = m_list.GetSelCount();
  for (const auto& need : kButtonNeeds) {
    const BOOL enable = need.nID == IDC_XT_WINDOW_ACTIVATE ? selected == 1 : selected >= need.nMinimum;
    if (CWnd* pButton = GetDlgItem(need.nID)) pButton->EnableWindow(enable);
  }
  CXTMenuBar* pMenuBar = CXTFrameHelper::FindMenuBar(m_pFrame);
  if (!pMenuBar || !pMenuBar->m_hWnd) return;
  for (int nID : kArrangeButtons)
    if (CWnd* pButton = GetDlgItem(nID)) pButton->ShowWindow(pMenuBar->ShowsChildButtons() ? SW_SHOW : SW_HIDE);
}

void CXTWindowList::Refresh() {
  FillList();
  SelectActive();
  UpdateButtons();
}

HWND CXTWindowList::ChildAt(int index) const { return reinterpret_cast<HWND>(m_list.GetItemData(index)); }

std::vector<HWND> CXTWindowList::SelectedChildren() const {
  std::vector<HWND> children;
  for (int i = 0; i < m_list.GetCount(); ++i)
    if (m_list.GetSel(i) > 0) children.push_back(ChildAt(i));
  return children;
}

void CXTWindowList::OnSelChange() { UpdateButtons(); }

void CXTWindowList::OnActivateWindow() {
  const std::vector<HWND> selected = SelectedChildren();
  if (selected.size() != 1) return;
  if (::IsIconic(selected[0])) ::ShowWindow(selected[0], SW_RESTORE);
  ::SendMessageA(m_pFrame->m_hWndMDIClient, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(selected[0]), 0);
  EndDialog(IDOK);
}

void CXTWindowList::OnSaveWindows() {
  for (HWND h : SelectedChildren()) {
    CWnd* pWnd = CWnd::FromHandlePermanent(h);
    if (!pWnd || !pWnd->IsKindOf(RUNTIME_CLASS(CFrameWnd))) continue;
    if (CDocument* pDoc = static_cast<CFrameWnd*>(pWnd)->GetActiveDocument()) pDoc->DoFileSave();
  }
  Refresh();
}

void CXTWindowList::OnCloseWindows() {
  for (HWND h : SelectedChildren()) ::SendMessageA(h, WM_CLOSE, 0, 0);
  Refresh();
}

// The client's drawing is held off (not locked screen-wide) while the
// children change their state, then shown at once.
void CXTWindowList::Arrange(BOOL bSelectedOnly, UINT nMessage, WPARAM wParam) {
  CWaitCursor wait;
  const HWND hClient = m_pFrame->m_hWndMDIClient;
  ::SendMessageA(hClient, WM_SETREDRAW, FALSE, 0);
  for (int i = m_list.GetCount() - 1; i >= 0; --i) {
    const BOOL selected = m_list.GetSel(i) > 0;
    if (bSelectedOnly && !selected) continue;
    ::ShowWindow(ChildAt(i), selected && !bSelectedOnly ? SW_RESTORE : SW_MINIMIZE);
  }
  ::SendMessageA(hClient, nMessage, wParam, 0);
  ::SendMessageA(hClient, WM_SETREDRAW, TRUE, 0);
  ::RedrawWindow(hClient, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_FRAME);
}

void CXTWindowList::OnCascade() { Arrange(FALSE, WM_MDICASCADE, 0); }
void CXTWindowList::OnTileHorizontally() { Arrange(FALSE, WM_MDITILE, MDITILE_HORIZONTAL); }
void CXTWindowList::OnTileVertically() { Arrange(FALSE, WM_MDITILE, MDITILE_VERTICAL); }
void CXTWindowList::OnMinimizeWindows() { Arrange(TRUE, WM_MDICASCADE, 0); }

// A line holds a small icon and a line of text.
void CXTWindowList::OnMeasureItem(int nIDCtl, LPMEASUREITEMSTRUCT lpMis) {
  if (nIDCtl != IDC_XT_WINDOW_LIST) {
    CXTResizeDialog::OnMeasureItem(nIDCtl, lpMis);
    return;
  }
  TEXTMETRICA metrics = {};
  CClientDC dc(this);
  CFont* pOld = dc.SelectObject(GetFont());
  dc.GetTextMetrics(&metrics);
  dc.SelectObject(pOld);
  lpMis->itemHeight = std::max<int>(::GetSystemMetrics(SM_CYSMICON) + 2, metrics.tmHeight + 2);
}

// A line: the child's small icon 2 pixels from the left, its text 4 pixels
// right of it, in the selection colours when selected.
void CXTWindowList::OnDrawItem(int nIDCtl, LPDRAWITEMSTRUCT lpDis) {
  if (nIDCtl != IDC_XT_WINDOW_LIST || lpDis->itemID == static_cast<UINT>(-1)) {
    CXTResizeDialog::OnDrawItem(nIDCtl, lpDis);
    return;
  }
  CDC* pDC = CDC::FromHandle(lpDis->hDC);
  const BOOL selected = (lpDis->itemState & ODS_SELECTED) != 0;
  const int cx = ::GetSystemMetrics(SM_CXSMICON), cy = ::GetSystemMetrics(SM_CYSMICON);
  CRect rect = lpDis->rcItem;
  if (lpDis->itemAction & (ODA_DRAWENTIRE | ODA_SELECT)) {
    CRect back(rect.left + kIconLeft + cx, rect.top, rect.right, rect.bottom);
    pDC->FillSolidRect(&back, ::GetSysColor(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
    const HWND hChild = reinterpret_cast<HWND>(lpDis->itemData);
    ::DrawIconEx(pDC->m_hDC, rect.left + kIconLeft, rect.top + (rect.Height() - cy) / 2, SmallIconOf(hChild), cx, cy,
                 0, nullptr, DI_NORMAL);
    const LRESULT length = ::SendMessageA(lpDis->hwndItem, LB_GETTEXTLEN, lpDis->itemID, 0);
    std::string text(length > 0 ? static_cast<size_t>(length) : 0, '\0');
    ::SendMessageA(lpDis->hwndItem, LB_GETTEXT, lpDis->itemID, reinterpret_cast<LPARAM>(&text[0]));
    CRect textRect(back.left + kTextGap, rect.top, rect.right, rect.bottom);
    const int saved = pDC->SaveDC();
    pDC->SetBkMode(TRANSPARENT);
    pDC->SetTextColor(::GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
    pDC->DrawText(text.c_str(), &textRect, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
    pDC->RestoreDC(saved);
  }
  if (lpDis->itemAction & ODA_FOCUS) pDC->DrawFocusRect(&rect);
}
