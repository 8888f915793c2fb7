#include "toolkit/controls/ListBox.h"

#include "toolkit/common/SharedState.h"
#include "toolkit/controls/ControlMessages.h"
#include "toolkit/controls/FlickerFreePaint.h"

IMPLEMENT_DYNAMIC(CXTListBox, CListBox)

BEGIN_MESSAGE_MAP(CXTListBox, CListBox)
  ON_WM_CREATE()
  ON_WM_ERASEBKGND()
  ON_WM_PAINT()
  ON_WM_VSCROLL()
  ON_WM_HSCROLL()
  ON_MESSAGE(XTWM_INITCONTROL, OnInitControl)
END_MESSAGE_MAP()

namespace {
const int kItemHeightBelowMenu = 2;
const int kTextIndent = 2;
}  // namespace

CXTListBox::~CXTListBox() {
  if (m_hWnd) DestroyWindow();
}

void CXTListBox::PreSubclassWindow() {
  CListBox::PreSubclassWindow();
  PostMessage(XTWM_INITCONTROL);
}

int CXTListBox::OnCreate(LPCREATESTRUCTA lpCreateStruct) {
  if (CListBox::OnCreate(lpCreateStruct) == -1) return -1;
  SendMessage(XTWM_INITCONTROL);
  return 0;
}

LRESULT CXTListBox::OnInitControl(WPARAM, LPARAM) {
  InitListBox();
  return 0;
}

BOOL CXTListBox::InitListBox() {
  if (!m_bInitPending) return FALSE;
  m_bInitPending = FALSE;
  ModifyStyle(0, LBS_OWNERDRAWVARIABLE | LBS_HASSTRINGS);
  if (m_bUseToolkitFont) SetFont(&GetSharedState().GetFont(CXTSharedState::kFontNormal));
  return TRUE;
}

void CXTListBox::MeasureItem(LPMEASUREITEMSTRUCT lpMIS) {
  lpMIS->itemHeight = ::GetSystemMetrics(SM_CYMENU) - kItemHeightBelowMenu;
}

void CXTListBox::DrawItem(LPDRAWITEMSTRUCT lpDIS) {
  if (static_cast<int>(lpDIS->itemID) < 0) return;
  CDC* pDC = CDC::FromHandle(lpDIS->hDC);
  CRect rect(lpDIS->rcItem);
  if (lpDIS->itemAction & (ODA_DRAWENTIRE | ODA_SELECT)) {
    CXTSharedState& shared = GetSharedState();
    bool enabled = IsWindowEnabled() != FALSE;
    COLORREF back = enabled ? shared.m_clrWindow : shared.m_clrFace;
    COLORREF text = enabled ? shared.m_clrWindowText : shared.m_clrGrayText;
    if (lpDIS->itemState & ODS_SELECTED) {
      back = enabled ? shared.m_clrSelection : shared.m_clrGrayText;
      text = shared.m_clrSelectionText;
    }
    pDC->FillSolidRect(&rect, back);
    CString itemText;
    GetText(static_cast<int>(lpDIS->itemID), itemText);
    CRect textRect = rect;
    textRect.left += kTextIndent;
    int oldMode = pDC->SetBkMode(TRANSPARENT);
    COLORREF oldColor = pDC->SetTextColor(text);
    pDC->DrawText(itemText, &textRect, DT_EXPANDTABS | DT_SINGLELINE | DT_VCENTER);
    pDC->SetTextColor(oldColor);
    pDC->SetBkMode(oldMode);
  }
  if (lpDIS->itemAction & ODA_FOCUS) ::DrawFocusRect(lpDIS->hDC, &rect);
}

BOOL CXTListBox::OnEraseBkgnd(CDC*) { return TRUE; }

void CXTListBox::OnPaint() {
  CXTSharedState& shared = GetSharedState();
  PaintThroughMemDC(*this, IsWindowEnabled() ? shared.m_clrWindow : shared.m_clrFace);
}

void CXTListBox::OnVScroll(UINT, UINT, CScrollBar*) { ScrollWithoutFlicker(); }
void CXTListBox::OnHScroll(UINT, UINT, CScrollBar*) { ScrollWithoutFlicker(); }

// The list scrolls with redrawing off, then repaints once.
void CXTListBox::ScrollWithoutFlicker() {
  SetRedraw(FALSE);
  Default();
  SetRedraw(TRUE);
  Invalidate();
  UpdateWindow();
  SetWindowPos(nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}
