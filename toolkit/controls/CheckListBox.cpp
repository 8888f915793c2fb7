#include "toolkit/controls/CheckListBox.h"

#include <algorithm>

#include "toolkit/common/SharedState.h"
#include "toolkit/controls/ControlMessages.h"

IMPLEMENT_DYNAMIC(CXTCheckListBox, CXTListBox)

BEGIN_MESSAGE_MAP(CXTCheckListBox, CXTListBox)
  ON_WM_CREATE()
  ON_WM_LBUTTONDOWN()
  ON_WM_LBUTTONDBLCLK()
  ON_WM_KEYDOWN()
END_MESSAGE_MAP()

struct CXTCheckListBox::CheckData {
  int nCheck = 0;
  BOOL bEnabled = TRUE;
  DWORD_PTR dwUserData = 0;
};

namespace {
const int kCheckBand = 2;    // beside the image, in the band at the item's left
const int kTextIndent = 6;   // from the image's right edge
const COLORREF kDisabledText = RGB(0x80, 0x80, 0x80);
}  // namespace

CXTCheckListBox::CXTCheckListBox(UINT nIDBitmap) {
  if (m_checks.LoadBitmap(nIDBitmap)) {
    BITMAP bm;
    ::GetObjectA(m_checks.m_hObject, sizeof bm, &bm);
    m_sizeCheck = CSize(bm.bmWidth / 3, bm.bmHeight);
  }
}

CXTCheckListBox::~CXTCheckListBox() {
  if (m_hWnd) DestroyWindow();
}

BOOL CXTCheckListBox::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
  if (!(dwStyle & LBS_OWNERDRAWVARIABLE)) dwStyle |= LBS_OWNERDRAWFIXED;
  return CWnd::Create("LISTBOX", nullptr, dwStyle, rect, pParentWnd, nID);
}

// ---- records: the list's own item data

CXTCheckListBox::CheckData* CXTCheckListBox::RecordOf(int nIndex) const {
  LRESULT raw = const_cast<CXTCheckListBox*>(this)->CWnd::DefWindowProc(LB_GETITEMDATA, nIndex, 0);
  return raw == LB_ERR ? nullptr : reinterpret_cast<CheckData*>(raw);
}

CXTCheckListBox::CheckData* CXTCheckListBox::EnsureRecord(int nIndex) {
  if (CheckData* pData = RecordOf(nIndex)) return pData;
  if (nIndex < 0 || nIndex >= GetCount()) return nullptr;
  CheckData* pData = new CheckData;
  CWnd::DefWindowProc(LB_SETITEMDATA, nIndex, reinterpret_cast<LPARAM>(pData));
  return pData;
}

// Every way an item goes (delete, reset, destruction) sends WM_DELETEITEM.
void CXTCheckListBox::DeleteItem(LPDELETEITEMSTRUCT lpDIS) {
  delete reinterpret_cast<CheckData*>(lpDIS->itemData);
}

int CXTCheckListBox::MinimumItemHeight() const { return std::max<int>(m_cyText, m_sizeCheck.cy + 1); }

// The list messages see the caller's data, not the records that hold it.
LRESULT CXTCheckListBox::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  bool hasStrings = m_hWnd && (GetStyle() & LBS_HASSTRINGS) != 0;
  switch (message) {
    case LB_ADDSTRING:
    case LB_INSERTSTRING: {
      if (hasStrings) break;
      CheckData* pData = new CheckData;
          pData->dwUserData = static_cast<DWORD_PTR>(lParam);
      LRESULT index = CXTListBox::WindowProc(message, wParam, reinterpret_cast<LPARAM>(pData));
      if (index < 0) delete pData;
      return index;
    }
    case LB_GETITEMDATA: {
      LRESULT raw = CWnd::DefWindowProc(LB_GETITEMDATA, wParam, 0);
      if (raw == LB_ERR) return LB_ERR;
      auto* pData = reinterpret_cast<CheckData*>(raw);
      return pData ? static_cast<LRESULT>(pData->dwUserData) : 0;
    }
    case LB_SETITEMDATA: {
      CheckData* pData = EnsureRecord(static_cast<int>(wParam));
      if (!pData) return LB_ERR;
      pData->dwUserData = static_cast<DWORD_PTR>(lParam);
      return 0;
    }
    case LB_FINDSTRING:
    case LB_FINDSTRINGEXACT:
    case LB_SELECTSTRING: {
      if (hasStrings) break;
      int count = GetCount();
      for (int n = 0; n < count; ++n) {
        int index = (static_cast<int>(wParam) + 1 + n) % count;
        CheckData* pData = RecordOf(index);
        if (pData && pData->dwUserData == static_cast<DWORD_PTR>(lParam)) {
          if (message == LB_SELECTSTRING) SetCurSel(index);
          return index;
        }
      }
      return LB_ERR;
    }
    case LB_SETITEMHEIGHT:
      lParam = std::max<LPARAM>(lParam, MinimumItemHeight());
      break;
    case WM_SETFONT: {
      LRESULT result = CXTListBox::WindowProc(message, wParam, lParam);
      SetFixedItemHeight();
      return result;
    }
  }
  return CXTListBox::WindowProc(message, wParam, lParam);
}

// ---- checks

BOOL CXTCheckListBox::SetCheck(int nIndex, int nCheck) {
  if (nCheck == BST_INDETERMINATE && (m_nStyle == BS_CHECKBOX || m_nStyle == BS_AUTOCHECKBOX)) return FALSE;
  CheckData* pData = EnsureRecord(nIndex);
  if (!pData) return FALSE;
  pData->nCheck = nCheck;
  InvalidateCheck(nIndex);
  return TRUE;
}

int CXTCheckListBox::GetCheck(int nIndex) const {
  CheckData* pData = RecordOf(nIndex);
  return pData ? pData->nCheck : 0;
}

BOOL CXTCheckListBox::IsEnabled(int nIndex) const {
  CheckData* pData = RecordOf(nIndex);
  return pData ? pData->bEnabled : TRUE;
}

void CXTCheckListBox::Enable(int nIndex, BOOL bEnabled) {
  if (CheckData* pData = EnsureRecord(nIndex)) pData->bEnabled = bEnabled;
  InvalidateCheck(nIndex);
}

int CXTCheckListBox::NextState(int nState) const {
  int states = m_nStyle == BS_AUTO3STATE ? 3 : 2;
  return (nState + 1) % states;
}

void CXTCheckListBox::AdvanceCheck(int nIndex) {
  if (CheckData* pData = EnsureRecord(nIndex)) pData->nCheck = NextState(pData->nCheck);
  InvalidateCheck(nIndex);
}

void CXTCheckListBox::InvalidateCheck(int nIndex) {
  CRect rect;
  if (m_hWnd && GetItemRect(nIndex, &rect) != LB_ERR) InvalidateRect(&rect, FALSE);
}

void CXTCheckListBox::NotifyCheckChange() {
  if (CWnd* pParent = GetParent())
    pParent->SendMessage(WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(), XTCLBN_CHKCHANGE), reinterpret_cast<LPARAM>(m_hWnd));
}

// ---- measuring and drawing

int CXTCheckListBox::OnCreate(LPCREATESTRUCTA lpCreateStruct) {
  if (CXTListBox::OnCreate(lpCreateStruct) == -1) return -1;
  SetFixedItemHeight();
  return 0;
}

void CXTCheckListBox::SetFixedItemHeight() {
  if ((GetStyle() & (LBS_OWNERDRAWFIXED | LBS_HASSTRINGS)) != (LBS_OWNERDRAWFIXED | LBS_HASSTRINGS)) return;
  HDC hdc = ::GetDC(m_hWnd);
  HGDIOBJ old = ::SelectObject(hdc, reinterpret_cast<HFONT>(CWnd::DefWindowProc(WM_GETFONT, 0, 0)));
  TEXTMETRICA tm;
  ::GetTextMetricsA(hdc, &tm);
  ::SelectObject(hdc, old);
  ::ReleaseDC(m_hWnd, hdc);
  m_cyText = tm.tmHeight;
  CWnd::DefWindowProc(LB_SETITEMHEIGHT, 0, MinimumItemHeight());
}

void CXTCheckListBox::MeasureItem(LPMEASUREITEMSTRUCT lpMIS) { lpMIS->itemHeight = MinimumItemHeight(); }

void CXTCheckListBox::DrawItem(LPDRAWITEMSTRUCT lpDIS) {
  int index = static_cast<int>(lpDIS->itemID);
  if (index < 0) return;
  CDC* pDC = CDC::FromHandle(lpDIS->hDC);
  CRect item(lpDIS->rcItem);
  CRect text = item;
  text.left += m_sizeCheck.cx + kTextIndent;
  if (lpDIS->itemAction & (ODA_DRAWENTIRE | ODA_SELECT)) {
    CXTSharedState& shared = GetSharedState();
    CRect band(item.left, item.top, item.left + m_sizeCheck.cx + kCheckBand, item.bottom);
    pDC->FillSolidRect(&band, shared.m_clrWindow);
    if (m_checks.m_hObject) {
      HDC images = ::CreateCompatibleDC(pDC->m_hDC);
      HGDIOBJ old = ::SelectObject(images, m_checks.m_hObject);
      int y = item.top + std::max<int>(0, (item.Height() - m_sizeCheck.cy) / 2) + 1;
      ::BitBlt(pDC->m_hDC, item.left + 1, y, m_sizeCheck.cx, m_sizeCheck.cy, images, m_sizeCheck.cx * GetCheck(index),
               0, SRCCOPY);
      ::SelectObject(images, old);
      ::DeleteDC(images);
    }
    bool enabled = IsWindowEnabled() && IsEnabled(index);
    bool selected = (lpDIS->itemState & ODS_SELECTED) && enabled;
    COLORREF back = selected ? ::GetSysColor(COLOR_HIGHLIGHT) : shared.m_clrWindow;
    COLORREF fore = !enabled ? kDisabledText : selected ? ::GetSysColor(COLOR_HIGHLIGHTTEXT) : shared.m_clrWindowText;
    CString label;
    if (GetStyle() & LBS_HASSTRINGS) GetText(index, label);
    COLORREF oldBack = pDC->SetBkColor(back);
    COLORREF oldFore = pDC->SetTextColor(fore);
    pDC->ExtTextOut(text.left, text.top, ETO_OPAQUE, &text, label, label.GetLength(), nullptr);
    pDC->SetTextColor(oldFore);
    pDC->SetBkColor(oldBack);
  }
  if (lpDIS->itemAction & ODA_FOCUS) ::DrawFocusRect(lpDIS->hDC, &text);
}

// ---- mouse and keys

int CXTCheckListBox::HitTest(CPoint point, BOOL& bOnCheckBox) const {
  bOnCheckBox = FALSE;
  BOOL outside = TRUE;
  UINT index = ItemFromPoint(point, outside);
  if (outside || static_cast<int>(index) >= GetCount()) return -1;
  CRect item;
  GetItemRect(static_cast<int>(index), &item);
  bOnCheckBox = point.x < item.left + m_sizeCheck.cx + kCheckBand;
  return static_cast<int>(index);
}

void CXTCheckListBox::OnLButtonDown(UINT nFlags, CPoint point) {
  BOOL onCheck = FALSE;
  int index = HitTest(point, onCheck);
  if (index >= 0 && IsEnabled(index)) {
    if (m_nStyle == BS_CHECKBOX || m_nStyle == BS_3STATE) return;
    if (onCheck) {
      AdvanceCheck(index);
      CXTListBox::OnLButtonDown(nFlags, point);
      NotifyCheckChange();
      return;
    }
  }
  CXTListBox::OnLButtonDown(nFlags, point);
}

void CXTCheckListBox::OnLButtonDblClk(UINT nFlags, CPoint point) { OnLButtonDown(nFlags, point); }

void CXTCheckListBox::OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags) {
  int caret = GetCaretIndex();
  if (nChar != VK_SPACE || caret < 0 || !IsEnabled(caret) || !IsAutomatic()) {
    CXTListBox::OnKeyDown(nChar, nRepCnt, nFlags);
    return;
  }
  DWORD style = GetStyle();
  if (style & LBS_MULTIPLESEL) {
    if (GetSel(caret) > 0) {
      AdvanceCheck(caret);
      NotifyCheckChange();
    }
    SetSel(caret, !GetSel(caret));
    return;
  }
  AdvanceCheck(caret);
  if (style & LBS_EXTENDEDSEL) {
    int state = GetCheck(caret);
    for (int i = 0; i < GetCount(); ++i)
      if (i != caret && GetSel(i) > 0 && IsEnabled(i)) SetCheck(i, state);
  }
  NotifyCheckChange();
}
