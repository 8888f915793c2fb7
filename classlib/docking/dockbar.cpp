#include "classlib/docking/dockbar.h"

#include <limits.h>

#include "classlib/frame/framewnd.h"

IMPLEMENT_DYNAMIC(CDockBar, CControlBar)

BEGIN_MESSAGE_MAP(CDockBar, CControlBar)
  ON_MESSAGE(WM_SIZEPARENT, OnSizeParent)
END_MESSAGE_MAP()

CDockBar::CDockBar(BOOL bFloating) : m_bFloating(bFloating) {
  m_bAutoDelete = TRUE;
  m_cxLeftBorder = m_cxRightBorder = m_cyTopBorder = m_cyBottomBorder = 0;
  m_arrBars.Add(nullptr);
}

BOOL CDockBar::Create(CWnd* pParentWnd, DWORD dwStyle, UINT nID) {
  AfxDeferRegisterClass(AFX_WNDCONTROLBAR_REG);
  DWORD windowStyle = SplitBarStyle(dwStyle);
  return CWnd::Create(AFX_WNDCONTROLBAR, nullptr, windowStyle, CRect(), pParentWnd, nID);
}

// ---- the list

CControlBar* CDockBar::GetDockedControlBar(int nPos) const {
  void* p = m_arrBars[nPos];
  return p && !IsPlaceHolder(p) ? static_cast<CControlBar*>(p) : nullptr;
}

int CDockBar::GetDockedCount() const {
  int count = 0;
  for (INT_PTR i = 0; i < m_arrBars.GetSize(); ++i) count += GetDockedControlBar(static_cast<int>(i)) ? 1 : 0;
  return count;
}

int CDockBar::GetDockedVisibleCount() const {
  int count = 0;
  for (INT_PTR i = 0; i < m_arrBars.GetSize(); ++i) {
    CControlBar* pBar = GetDockedControlBar(static_cast<int>(i));
    count += pBar && pBar->IsVisible() ? 1 : 0;
  }
  return count;
}

int CDockBar::FindBar(CControlBar* pBar, int nPosExclude) const {
  for (INT_PTR i = 0; i < m_arrBars.GetSize(); ++i)
    if (i != nPosExclude && m_arrBars[i] == pBar) return static_cast<int>(i);
  return -1;
}

void CDockBar::RemoveEmptyRowAt(int nPos) {
  if (nPos <= 0 || nPos >= m_arrBars.GetSize()) return;
  if (m_arrBars[nPos] == nullptr && m_arrBars[nPos - 1] == nullptr) m_arrBars.RemoveAt(nPos);
}

void CDockBar::DropBar(CControlBar* pBar) {
  int nPos = FindBar(pBar);
  if (nPos <= 0) return;
  m_arrBars.RemoveAt(nPos);
  RemoveEmptyRowAt(nPos);
}

void CDockBar::RemovePlaceHolder(CControlBar* pBar) {
  void* id = reinterpret_cast<void*>(static_cast<UINT_PTR>(static_cast<WORD>(::GetDlgCtrlID(pBar->m_hWnd))));
  for (INT_PTR i = 1; i < m_arrBars.GetSize(); ++i)
    if (m_arrBars[i] == id) {
      m_arrBars.RemoveAt(i);
      RemoveEmptyRowAt(static_cast<int>(i));
      return;
    }
}

// Rows are bands across the dock bar; a point inside a band joins that row
// after the bars that start before it; before the first band or past the
// last one, it opens a row there.
int CDockBar::Insert(CControlBar* pBar, const CRect& rect, CPoint ptMid) {
  bool horz = (m_dwStyle & CBRS_ORIENT_HORZ) != 0;
  int across = horz ? ptMid.y : ptMid.x;
  int along = horz ? rect.left : rect.top;
  int rowFirst = 1, insertAfter = 0, low = INT_MAX, high = INT_MIN;
  for (int i = 1; i < m_arrBars.GetSize(); ++i) {
    if (m_arrBars[i]) {
      CControlBar* pOther = GetDockedControlBar(i);
      if (!pOther || pOther == pBar || !pOther->IsVisible()) continue;
      CRect other;
      pOther->GetWindowRect(&other);
      ScreenToClient(&other);
      low = horz ? (other.top < low ? other.top : low) : (other.left < low ? other.left : low);
      high = horz ? (other.bottom > high ? other.bottom : high) : (other.right > high ? other.right : high);
      if (along >= (horz ? other.left : other.top)) insertAfter = i;
      continue;
    }
    if (low <= high && across < high) {
      if (across < low) {
        m_arrBars.InsertAt(rowFirst, nullptr);
        m_arrBars.InsertAt(rowFirst, pBar);
        return rowFirst;
      }
      m_arrBars.InsertAt(insertAfter + 1, pBar);
      return insertAfter + 1;
    }
    rowFirst = i + 1;
    insertAfter = i;
    low = INT_MAX;
    high = INT_MIN;
  }
  if (m_arrBars[m_arrBars.GetSize() - 1] != nullptr) m_arrBars.Add(nullptr);
  int at = static_cast<int>(m_arrBars.Add(pBar));
  m_arrBars.Add(nullptr);
  return at;
}

void CDockBar::DockControlBar(CControlBar* pBar, LPCRECT lpRect) {
  CRect rectBar;
  pBar->GetWindowRect(&rectBar);
  if (pBar->m_pDockBar == this && (!lpRect || ::EqualRect(&rectBar, lpRect))) return;

  if (m_bFloating && (pBar->m_dwDockStyle & CBRS_FLOAT_MULTI)) m_dwStyle |= CBRS_FLOAT_MULTI;
  m_dwStyle = (m_dwStyle & ~(CBRS_SIZE_FIXED | CBRS_SIZE_DYNAMIC)) | (pBar->m_dwStyle & (CBRS_SIZE_FIXED | CBRS_SIZE_DYNAMIC));
  if (!(m_dwStyle & CBRS_FLOAT_MULTI)) {
    CString title;
    pBar->GetWindowText(title);
    SetWindowText(title);
  }
  DWORD dwStyle = (pBar->GetBarStyle() & ~CBRS_ALIGN_ANY) | (m_dwStyle & CBRS_ALIGN_ANY) | CBRS_BORDER_ANY;
  dwStyle = m_bFloating ? (dwStyle | CBRS_FLOATING) : (dwStyle & ~CBRS_FLOATING);
  pBar->SetBarStyle(dwStyle);

  // Hidden while it moves to another dock bar, so it does not flash.
  BOOL bShow = pBar->m_pDockBar != this && pBar->IsWindowVisible();
  if (bShow) pBar->SetWindowPos(nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_HIDEWINDOW);
  int nPos = -1;
  if (lpRect) {
    CRect rect(lpRect);
    ScreenToClient(&rect);
    nPos = Insert(pBar, rect, rect.CenterPoint());
    pBar->SetWindowPos(nullptr, rect.left, rect.top, rect.Width(), rect.Height(), SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOCOPYBITS);
  } else {
    if (m_arrBars[m_arrBars.GetSize() - 1] != nullptr) m_arrBars.Add(nullptr);
    m_arrBars.Add(pBar);
    m_arrBars.Add(nullptr);
    pBar->SetWindowPos(nullptr, -2, -2, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOCOPYBITS);
  }
  // Reparent before the old dock bar lets go: an emptied floating frame is destroyed with its children.
  if (::GetParent(pBar->m_hWnd) != m_hWnd) ::SetParent(pBar->m_hWnd, m_hWnd);
  if (pBar->m_pDockBar == this)
    RemoveControlBar(pBar, nPos);
  else if (pBar->m_pDockBar)
    pBar->m_pDockBar->RemoveControlBar(pBar, -1, m_bFloating && !pBar->m_pDockBar->m_bFloating);
  pBar->m_pDockBar = this;
  if (bShow) pBar->SetWindowPos(nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
  RemovePlaceHolder(pBar);
  if (CFrameWnd* pFrame = GetDockingFrame()) pFrame->DelayRecalcLayout();
}

BOOL CDockBar::RemoveControlBar(CControlBar* pBar, int nPosExclude, int nAddPlaceHolder) {
  int nPos = FindBar(pBar, nPosExclude);
  if (nPos <= 0) return FALSE;
  if (nAddPlaceHolder == 1) {
    void* id = reinterpret_cast<void*>(static_cast<UINT_PTR>(static_cast<WORD>(::GetDlgCtrlID(pBar->m_hWnd))));
    m_arrBars[nPos] = id;
    // One placeholder per bar is enough.
    for (INT_PTR i = 1; i < m_arrBars.GetSize(); ++i)
      if (i != nPos && m_arrBars[i] == id) {
        m_arrBars.RemoveAt(nPos);
        RemoveEmptyRowAt(nPos);
        break;
      }
  } else {
    m_arrBars.RemoveAt(nPos);
    RemoveEmptyRowAt(nPos);
    if (nAddPlaceHolder != -1) RemovePlaceHolder(pBar);
  }
  if (pBar->m_pDockBar == this) pBar->m_pDockBar = nullptr;
  CFrameWnd* pFrame = GetDockingFrame();
  if (!pFrame) return FALSE;
  if (m_bFloating && GetDockedVisibleCount() == 0) {
    if (GetDockedCount() == 0) {
      pFrame->DestroyWindow();
      return TRUE;
    }
    pFrame->ShowWindow(SW_HIDE);
  } else {
    pFrame->DelayRecalcLayout();
  }
  return FALSE;
}

void CDockBar::ShowAll(BOOL bShow) {
  CFrameWnd* pFrame = m_pDockSite ? m_pDockSite : GetDockingFrame();
  for (INT_PTR i = 0; i < m_arrBars.GetSize(); ++i)
    if (CControlBar* pBar = GetDockedControlBar(static_cast<int>(i))) pFrame->ShowControlBar(pBar, bShow, FALSE);
}

// ---- layout

LRESULT CDockBar::OnSizeParent(WPARAM wParam, LPARAM lParam) {
  AFX_SIZEPARENTPARAMS* lpLayout = reinterpret_cast<AFX_SIZEPARENTPARAMS*>(lParam);
  BOOL bLayoutQuery = m_bLayoutQuery;
  CRect rectLayout = m_rectLayout;
  m_bLayoutQuery = lpLayout->hDWP == nullptr;
  m_rectLayout = lpLayout->rect;
  LRESULT lResult = CControlBar::OnSizeParent(wParam, lParam);
  m_bLayoutQuery = bLayoutQuery;
  m_rectLayout = rectLayout;
  return lResult;
}

// Bars go row by row at their fixed sizes, each at the place it was
// dropped when that lies further along; the dock bar is as deep as its rows.
CSize CDockBar::CalcFixedLayout(BOOL bStretch, BOOL) {
  bool horz = (m_dwStyle & CBRS_ORIENT_HORZ) != 0;
  AFX_SIZEPARENTPARAMS layout = {};
  if (!m_bLayoutQuery) layout.hDWP = ::BeginDeferWindowPos(static_cast<int>(m_arrBars.GetSize()));
  int along = 0, across = 0, row = 0, longest = 0;
  for (INT_PTR i = 1; i < m_arrBars.GetSize(); ++i) {
    CControlBar* pBar = GetDockedControlBar(static_cast<int>(i));
    if (pBar && pBar->IsVisible()) {
      CSize size = pBar->CalcDynamicLayout(-1, horz ? LM_HORZ | LM_HORZDOCK : LM_VERTDOCK);
      CRect current;
      pBar->GetWindowRect(&current);
      ScreenToClient(&current);
      int at = horz ? current.left : current.top;
      if (!m_bFloating && at > along) along = at;
      CRect rect = horz ? CRect(along, across, along + size.cx, across + size.cy)
                        : CRect(across, along, across + size.cx, along + size.cy);
      if (layout.hDWP) AfxRepositionWindow(&layout, pBar->m_hWnd, &rect);
      along += horz ? size.cx : size.cy;
      int thick = horz ? size.cy : size.cx;
      if (thick > row) row = thick;
      if (along > longest) longest = along;
    } else if (!m_arrBars[i]) {
      across += row;
      row = along = 0;
    }
  }
  across += row;
  if (layout.hDWP) ::EndDeferWindowPos(layout.hDWP);
  // An empty dock bar is a line along its side, so a bar dragged there can still meet it.
  if (across == 0) return horz ? CSize(bStretch ? 32767 : 0, 0) : CSize(0, bStretch ? 32767 : 0);
  CSize border = CControlBar::CalcFixedLayout(FALSE, horz);
  int fullAlong = bStretch ? 32767 : longest + (horz ? border.cx : border.cy);
  int fullAcross = across + (horz ? border.cy : border.cx);
  return horz ? CSize(fullAlong, fullAcross) : CSize(fullAcross, fullAlong);
}

// A dark outer line and, with CBRS_BORDER_3D, a light inner one on each bordered side.
void CDockBar::DrawBorders(CDC* pDC, CRect& rect) {
  pDC->FillSolidRect(&rect, ::GetSysColor(COLOR_BTNFACE));
  COLORREF outer = ::GetSysColor(COLOR_BTNSHADOW);
  COLORREF inner = (m_dwStyle & CBRS_BORDER_3D) ? ::GetSysColor(COLOR_BTNHIGHLIGHT) : ::GetSysColor(COLOR_BTNFACE);
  struct Side {
    DWORD flag;
    int x, y, cx, cy, dx, dy;
  } sides[] = {
      {CBRS_BORDER_LEFT, rect.left, rect.top, 1, rect.Height(), 1, 0},
      {CBRS_BORDER_TOP, rect.left, rect.top, rect.Width(), 1, 0, 1},
      {CBRS_BORDER_RIGHT, rect.right - 1, rect.top, 1, rect.Height(), -1, 0},
      {CBRS_BORDER_BOTTOM, rect.left, rect.bottom - 1, rect.Width(), 1, 0, -1},
  };
  for (const Side& s : sides) {
    if (!(m_dwStyle & s.flag)) continue;
    pDC->FillSolidRect(s.x, s.y, s.cx, s.cy, outer);
    pDC->FillSolidRect(s.x + s.dx, s.y + s.dy, s.cx, s.cy, inner);
  }
}

// ---- bar information

void CDockBar::GetBarInfo(CControlBarInfo* pInfo) {
  pInfo->m_nBarID = static_cast<UINT>(::GetDlgCtrlID(m_hWnd));
  pInfo->m_pBar = this;
  pInfo->m_bVisible = IsVisible();
  pInfo->m_bDockBar = TRUE;
  pInfo->m_bFloating = m_bFloating;
  pInfo->m_bHorz = (m_dwStyle & CBRS_ORIENT_HORZ) != 0;
  if (m_bFloating) {
    CRect frame;
    GetParent()->GetWindowRect(&frame);
    pInfo->m_pointPos = frame.TopLeft();
  }
  pInfo->m_arrBarID.RemoveAll();
  for (INT_PTR i = 0; i < m_arrBars.GetSize(); ++i) {
    void* p = m_arrBars[i];
    DWORD id = 0;
    if (IsPlaceHolder(p)) {
      id = static_cast<DWORD>(reinterpret_cast<UINT_PTR>(p)) | AFX_BARINFO_PLACEHOLDER;
    } else if (p) {
      CControlBar* pBar = static_cast<CControlBar*>(p);
      id = static_cast<WORD>(::GetDlgCtrlID(pBar->m_hWnd));
    }
    pInfo->m_arrBarID.Add(id);
  }
}

void CDockBar::SetBarInfo(CControlBarInfo* pInfo, CFrameWnd* pFrameWnd) {
  INT_PTR n = pInfo->m_arrBarID.GetSize();
  while (n > 0 && (pInfo->m_arrBarID[n - 1] == 0 || pInfo->m_arrBarID[n - 1] == AFX_BARINFO_PLACEHOLDER)) --n;
  for (INT_PTR i = 0; i < n; ++i) {
    DWORD entry = pInfo->m_arrBarID[i];
    UINT nID = LOWORD(entry);
    if (entry & AFX_BARINFO_PLACEHOLDER) {
      // A placeholder, once, and only for a bar the frame has.
      CControlBar* pHidden = pFrameWnd->GetControlBar(nID);
      void* id = reinterpret_cast<void*>(static_cast<UINT_PTR>(nID));
      if (pHidden && !pHidden->IsDockBar() && FindBar(reinterpret_cast<CControlBar*>(id)) < 0) m_arrBars.Add(id);
      continue;
    }
    if (nID == 0) {
      // The leading null is there already; no empty rows.
      if (m_arrBars[m_arrBars.GetSize() - 1] != nullptr) m_arrBars.Add(nullptr);
      continue;
    }
    CControlBar* pBar = pFrameWnd->GetControlBar(nID);
    if (!pBar || pBar->IsDockBar() || pBar == this) continue;
    // One bar, one list: a bar listed twice stays where it was placed first.
    if (FindBar(pBar) > 0 || (pBar->m_pDockBar && pBar->m_pDockBar != this)) continue;
    if (::GetParent(pBar->m_hWnd) != m_hWnd) ::SetParent(pBar->m_hWnd, m_hWnd);
    DWORD dwStyle = (pBar->GetBarStyle() & ~(CBRS_ALIGN_ANY | CBRS_FLOATING)) | (m_dwStyle & CBRS_ALIGN_ANY) | CBRS_BORDER_ANY;
    pBar->SetBarStyle(m_bFloating ? dwStyle | CBRS_FLOATING : dwStyle);
    pBar->m_pDockBar = this;
    RemovePlaceHolder(pBar);
    m_arrBars.Add(pBar);
  }
  if (m_arrBars[m_arrBars.GetSize() - 1] != nullptr) m_arrBars.Add(nullptr);
}
