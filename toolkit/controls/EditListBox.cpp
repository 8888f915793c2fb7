#include "toolkit/controls/EditListBox.h"

#include "toolkit/common/SharedState.h"
#include "toolkit/controls/ControlMessages.h"
#include "toolkit/controls/DeferredInit.h"
#include "toolkit/controls/ItemEdit.h"
#include "toolkit_resource.h"

IMPLEMENT_DYNAMIC(CXTEditListBox, CXTListBox)

BEGIN_MESSAGE_MAP(CXTEditListBox, CXTListBox)
  ON_WM_WINDOWPOSCHANGING()
  ON_WM_WINDOWPOSCHANGED()
  ON_WM_ENABLE()
  ON_WM_SHOWWINDOW()
  ON_WM_LBUTTONDOWN()
  ON_WM_LBUTTONDBLCLK()
  ON_WM_NCLBUTTONDOWN()
  AFX_ON_WM(WM_NCMBUTTONDOWN, AfxSig_v_u_p, void (CWnd::*)(UINT, CPoint), OnNcMButtonDown)
  ON_WM_NCRBUTTONDOWN()
  ON_CONTROL(XTLBN_ENDEDIT, IDC_XT_ITEMEDIT, OnEndEdit)
  ON_CONTROL(XTLBN_NOCHANGE, IDC_XT_ITEMEDIT, OnEndEdit)
  ON_CONTROL(XTLBN_NEWITEM, IDC_XT_EDITGROUP, OnGroupNew)
  ON_CONTROL(XTLBN_DELETED, IDC_XT_EDITGROUP, OnGroupDelete)
  ON_CONTROL(XTLBN_MOVEUP, IDC_XT_EDITGROUP, OnGroupMoveUp)
  ON_CONTROL(XTLBN_MOVEDOWN, IDC_XT_EDITGROUP, OnGroupMoveDown)
END_MESSAGE_MAP()

namespace {
const int kBandHeight = 22;
// The in-place edit stands over the item, narrower and taller by these.
const int kEditInsetX = 2;
const int kEditOutsetY = 2;
}  // namespace

CXTEditListBox::CXTEditListBox() { m_strTitle.LoadString(IDS_XT_DIRECTORIES); }

CXTEditListBox::~CXTEditListBox() { EndItemEditNow(); }

void CXTEditListBox::SetListEditStyle(LPCSTR lpszTitle, DWORD dwLStyle) {
  m_strTitle = lpszTitle;
  m_dwLStyle = dwLStyle;
  if (m_editGroup.m_hWnd) m_editGroup.SetWindowText(m_strTitle);
}

void CXTEditListBox::SetListEditStyle(UINT nTitle, DWORD dwLStyle) {
  CString title;
  title.LoadString(nTitle);
  SetListEditStyle(title, dwLStyle);
}

BOOL CXTEditListBox::InitListBox() {
  if (!CXTListBox::InitListBox()) return FALSE;
  if (!(m_dwLStyle & LBS_XT_NOTOOLBAR)) CreateEditGroup();
  return TRUE;
}

// ---- the strip and its band

BOOL CXTEditListBox::CreateEditGroup() {
  DWORD style = WS_CHILD | WS_TABSTOP | WS_CLIPCHILDREN | SS_CENTERIMAGE | (GetStyle() & WS_VISIBLE);
  if (!m_editGroup.CreateEx(WS_EX_STATICEDGE, "Static", m_strTitle, style, CRect(), GetParent(), IDC_XT_EDITGROUP))
    return FALSE;
  if (!m_editGroup.Initialize(this)) {
    m_editGroup.DestroyWindow();
    return FALSE;
  }
  if (m_bUseToolkitFont) SetFont(&GetSharedState().GetFont(CXTSharedState::kFontNormal));
  m_bBanded = TRUE;
  PositionEditGroup(TRUE);
  m_editGroup.EnableWindow(IsWindowEnabled());
  return TRUE;
}

int CXTEditListBox::BandHeight() const { return m_bBanded ? kBandHeight : 0; }

void CXTEditListBox::GetOuterRect(CRect& rect) const {
  GetWindowRect(&rect);
  rect.top -= BandHeight();
}

void CXTEditListBox::PositionEditGroup(BOOL bSizeList) {
  if (!bSizeList) {
    OnWindowPosChanged(nullptr);
    return;
  }
  ReapplyOwnRect(*this, 0);
}

// Every position asked of the list is its whole rectangle: the band at its
// top goes to the strip.
void CXTEditListBox::OnWindowPosChanging(WINDOWPOS* lpwndpos) {
  CXTListBox::OnWindowPosChanging(lpwndpos);
  if (!(lpwndpos->flags & SWP_NOMOVE)) lpwndpos->y += BandHeight();
  if (!(lpwndpos->flags & SWP_NOSIZE)) lpwndpos->cy -= BandHeight();
}

void CXTEditListBox::OnWindowPosChanged(WINDOWPOS* lpwndpos) {
  if (lpwndpos) CXTListBox::OnWindowPosChanged(lpwndpos);
  if (!m_bBanded || !m_editGroup.m_hWnd) return;
  CRect rect;
  GetWindowRect(&rect);
  GetParent()->ScreenToClient(&rect);
  m_editGroup.SetWindowPos(nullptr, rect.left, rect.top - kBandHeight, rect.Width(), kBandHeight,
                           SWP_NOZORDER | SWP_NOACTIVATE);
}

void CXTEditListBox::OnEnable(BOOL bEnable) {
  CXTListBox::OnEnable(bEnable);
  if (m_editGroup.m_hWnd) m_editGroup.EnableWindow(bEnable);
}

void CXTEditListBox::OnShowWindow(BOOL bShow, UINT nStatus) {
  CXTListBox::OnShowWindow(bShow, nStatus);
  if (m_editGroup.m_hWnd) m_editGroup.ShowWindow(bShow ? SW_SHOW : SW_HIDE);
}

// ---- editing

void CXTEditListBox::Notify(UINT nCode) {
  CWnd* pOwner = GetOwner();
  if (pOwner)
    pOwner->SendMessage(WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(), nCode), reinterpret_cast<LPARAM>(m_hWnd));
}

void CXTEditListBox::EditItem(BOOL bNewItem) {
  SetRedraw(FALSE);
  m_strItemText.Empty();
  if (bNewItem || GetCurSel() == LB_ERR) {
    m_nIndex = AddString("");
    SetCurSel(m_nIndex);
    m_bNewItem = TRUE;
  } else {
    m_bNewItem = FALSE;
    m_nIndex = GetCurSel();
    if (m_nIndex < 0 || m_nIndex >= GetCount()) {
      SetCurSel(-1);
      SetRedraw(TRUE);
      Invalidate();
      return;
    }
    GetText(m_nIndex, m_strItemText);
  }
  SetRedraw(TRUE);
  Invalidate();
  CRect rect;
  GetItemRect(m_nIndex, &rect);
  rect.DeflateRect(kEditInsetX, 0);
  rect.InflateRect(0, kEditOutsetY);
  EndItemEditNow();
  m_pItemEdit = new CXTItemEdit(this, rect, m_strItemText, m_dwLStyle & BES_XT_KINDS, TRUE);
  if (!m_strFilter.IsEmpty()) m_pItemEdit->SetDlgFilter(m_strFilter);
}

// An in-place edit ended, accepted or not: the list takes its outcome.
void CXTEditListBox::OnEndEdit() {
  if (m_bNewItem) {
    DeleteString(m_nIndex);
    if (!m_strItemText.IsEmpty()) {
      m_nIndex = AddString(m_strItemText);
      Notify(XTLBN_NEWITEM);
    } else {
      m_nIndex = LB_ERR;
      Notify(XTLBN_NOCHANGE);
    }
  } else {
    CString old;
    GetText(m_nIndex, old);
    if (old != m_strItemText) {
      DWORD_PTR data = GetItemData(m_nIndex);
      DeleteString(m_nIndex);
      InsertString(m_nIndex, m_strItemText);
      SetItemData(m_nIndex, data);
      Notify(XTLBN_ENDEDIT);
    } else {
      Notify(XTLBN_NOCHANGE);
    }
  }
  SetCurSel(m_nIndex);
  SetFocus();
  m_pItemEdit = nullptr;
}

// Closes a running in-place edit at once, without an outcome.
void CXTEditListBox::EndItemEditNow() {
  if (!m_pItemEdit) return;
  CXTItemEdit* pEdit = m_pItemEdit;
  m_pItemEdit = nullptr;
  pEdit->CloseSilently();
}

void CXTEditListBox::DeleteItem() {
  Notify(XTLBN_DELETEITEM);
  int selected = GetCurSel();
  if (selected != LB_ERR) {
    int remaining = DeleteString(selected);
    int next = (remaining == LB_ERR || selected >= remaining) ? selected - 1 : selected;
    SetCurSel(next);
  }
  SetFocus();
  Notify(XTLBN_DELETED);
}

// Moves the item below the selection to just above it and back: the
// selected item goes up one place and stays selected.
void CXTEditListBox::MoveItemUp() {
  int selected = GetCurSel();
  if (selected != LB_ERR && selected > 0) {
    CString text;
    GetText(selected - 1, text);
    DWORD_PTR data = GetItemData(selected - 1);
    DeleteString(selected - 1);
    InsertString(selected, text);
    SetItemData(selected, data);
    SetCurSel(selected - 1);
  }
  SetFocus();
  Notify(XTLBN_MOVEUP);
}

void CXTEditListBox::MoveItemDown() {
  int selected = GetCurSel();
  if (selected != LB_ERR && selected + 1 < GetCount()) {
    CString text;
    GetText(selected, text);
    DWORD_PTR data = GetItemData(selected);
    DeleteString(selected);
    InsertString(selected + 1, text);
    SetItemData(selected + 1, data);
    SetCurSel(selected + 1);
  }
  SetFocus();
  Notify(XTLBN_MOVEDOWN);
}

void CXTEditListBox::OnGroupNew() { EditItem(TRUE); }
void CXTEditListBox::OnGroupDelete() { DeleteItem(); }
void CXTEditListBox::OnGroupMoveUp() { MoveItemUp(); }
void CXTEditListBox::OnGroupMoveDown() { MoveItemDown(); }

// ---- mouse and keys

void CXTEditListBox::OnLButtonDown(UINT nFlags, CPoint point) {
  CXTListBox::OnLButtonDown(nFlags, point);
  CRect selected;
  int index = GetCurSel();
  if (index == LB_ERR || GetItemRect(index, &selected) == LB_ERR || !selected.PtInRect(point)) SetCurSel(-1);
}

void CXTEditListBox::OnLButtonDblClk(UINT nFlags, CPoint point) {
  CXTListBox::OnLButtonDblClk(nFlags, point);
  EditItem(FALSE);
}

void CXTEditListBox::OnNcLButtonDown(UINT nHitTest, CPoint point) {
  EndItemEditNow();
  CXTListBox::OnNcLButtonDown(nHitTest, point);
}

void CXTEditListBox::OnNcMButtonDown(UINT, CPoint) {
  EndItemEditNow();
  Default();
}

void CXTEditListBox::OnNcRButtonDown(UINT nHitTest, CPoint point) {
  EndItemEditNow();
  CXTListBox::OnNcRButtonDown(nHitTest, point);
}

BOOL CXTEditListBox::PreTranslateMessage(MSG* pMsg) {
  if (m_pItemEdit && m_pItemEdit->m_hWnd) {
    if (pMsg->message == WM_KEYDOWN && pMsg->wParam == VK_TAB) {
      SetFocus();  // ends the edit
      return TRUE;
    }
    return m_pItemEdit->PreTranslateMessage(pMsg);
  }
  if (GetCurSel() == LB_ERR) return CXTListBox::PreTranslateMessage(pMsg);
  if (pMsg->message == WM_KEYUP) {
    if (pMsg->wParam == VK_DELETE) {
      DeleteItem();
      return TRUE;
    }
    if (pMsg->wParam == VK_INSERT) {
      EditItem(TRUE);
      return TRUE;
    }
  }
  bool altHeld = (pMsg->lParam & (1 << 29)) != 0;
  if (pMsg->message == WM_SYSKEYUP && altHeld) {
    if (pMsg->wParam == VK_UP) {
      MoveItemUp();
      return TRUE;
    }
    if (pMsg->wParam == VK_DOWN) {
      MoveItemDown();
      return TRUE;
    }
  }
  return CXTListBox::PreTranslateMessage(pMsg);
}
