#include "classlib/bars/statusbar.h"

#include "classlib/frame/framewnd.h"

IMPLEMENT_DYNAMIC(CStatusBar, CControlBar)

BEGIN_MESSAGE_MAP(CStatusBar, CControlBar)
  ON_WM_SIZE()
  ON_WM_PAINT()
  ON_WM_ERASEBKGND()
  ON_MESSAGE(WM_SETTEXT, OnSetText)
  ON_MESSAGE(WM_GETTEXT, OnGetText)
  ON_MESSAGE(WM_GETTEXTLENGTH, OnGetTextLength)
END_MESSAGE_MAP()

namespace {
const int kPaneBorder = 6;  // the room a pane gives its text beyond the text itself
}

CStatusBar::CStatusBar() {
  m_cxLeftBorder = m_cxRightBorder = 0;
  m_cyTopBorder = 2;
  m_cyBottomBorder = 0;
}

CStatusBar::~CStatusBar() { delete[] m_pPanes; }

BOOL CStatusBar::Create(CWnd* pParentWnd, DWORD dwStyle, UINT nID) {
  return CreateEx(pParentWnd, 0, dwStyle, nID);
}

BOOL CStatusBar::CreateEx(CWnd* pParentWnd, DWORD dwCtrlStyle, DWORD dwStyle, UINT nID) {
  dwStyle = SplitBarStyle(dwStyle);
  dwStyle |= CCS_NOPARENTALIGN | CCS_NOMOVEY | CCS_NODIVIDER | CCS_NORESIZE | dwCtrlStyle;
  if (pParentWnd->GetStyle() & WS_THICKFRAME) dwStyle |= SBARS_SIZEGRIP;
  AfxDeferRegisterClass(AFX_WNDCOMMCTL_BAR_REG);
  return CWnd::Create(STATUSCLASSNAMEA, nullptr, dwStyle, CRect(), pParentWnd, nID);
}

BOOL CStatusBar::SetIndicators(const UINT* lpIDArray, int nIDCount) {
  delete[] m_pPanes;
  m_pPanes = nullptr;
  m_nCount = 0;
  if (nIDCount <= 0) return TRUE;
  m_pPanes = new Pane[nIDCount];
  m_nCount = nIDCount;
  CClientDC dcScreen(nullptr);
  HGDIOBJ hOldFont = nullptr;
  if (HFONT hFont = reinterpret_cast<HFONT>(SendMessage(WM_GETFONT))) hOldFont = ::SelectObject(dcScreen.m_hDC, hFont);
  BOOL ok = TRUE;
  for (int i = 0; i < nIDCount; ++i) {
    Pane& pane = m_pPanes[i];
    pane.nID = lpIDArray ? lpIDArray[i] : ID_SEPARATOR;
    pane.nStyle = SBPS_NORMAL;
    pane.cxText = 0;
    if (pane.nID != ID_SEPARATOR) {
      if (!pane.strText.LoadString(pane.nID)) ok = FALSE;
      SIZE extent = {};
      ::GetTextExtentPoint32A(dcScreen.m_hDC, pane.strText, pane.strText.GetLength(), &extent);
      pane.cxText = extent.cx;
    } else {
      pane.cxText = ::GetSystemMetrics(SM_CXSCREEN) / 4;
      if (i == 0) pane.nStyle |= SBPS_STRETCH | SBPS_NOBORDERS;
    }
  }
  if (hOldFont) ::SelectObject(dcScreen.m_hDC, hOldFont);
  UpdateAllPanes(TRUE, TRUE);
  return ok;
}

CStatusBar::Pane* CStatusBar::GetPanePtr(int nIndex) const {
  return nIndex >= 0 && nIndex < m_nCount ? &m_pPanes[nIndex] : nullptr;
}

int CStatusBar::CommandToIndex(UINT nIDFind) const {
  for (int i = 0; i < m_nCount; ++i)
    if (m_pPanes[i].nID == nIDFind) return i;
  return -1;
}

UINT CStatusBar::GetItemID(int nIndex) const {
  const Pane* pane = GetPanePtr(nIndex);
  return pane ? pane->nID : 0;
}

void CStatusBar::GetItemRect(int nIndex, LPRECT lpRect) const {
  ::SetRectEmpty(lpRect);
  ::SendMessageA(m_hWnd, SB_GETRECT, nIndex, reinterpret_cast<LPARAM>(lpRect));
}

void CStatusBar::GetPaneInfo(int nIndex, UINT& nID, UINT& nStyle, int& cxWidth) const {
  const Pane* pane = GetPanePtr(nIndex);
  nID = pane ? pane->nID : 0;
  nStyle = pane ? pane->nStyle : 0;
  cxWidth = pane ? pane->cxText : 0;
}

void CStatusBar::SetPaneInfo(int nIndex, UINT nID, UINT nStyle, int cxWidth) {
  Pane* pane = GetPanePtr(nIndex);
  if (!pane) return;
  pane->nID = nID;
  pane->cxText = cxWidth;
  SetPaneStyle(nIndex, nStyle);
  UpdateAllPanes(TRUE, FALSE);
}

UINT CStatusBar::GetPaneStyle(int nIndex) const {
  const Pane* pane = GetPanePtr(nIndex);
  return pane ? pane->nStyle : 0;
}

void CStatusBar::SetPaneStyle(int nIndex, UINT nStyle) {
  Pane* pane = GetPanePtr(nIndex);
  if (!pane || pane->nStyle == nStyle) return;
  pane->nStyle = nStyle;
  SetPaneText(nIndex, pane->strText);
}

CString CStatusBar::GetPaneText(int nIndex) const {
  const Pane* pane = GetPanePtr(nIndex);
  return pane ? pane->strText : CString();
}

// The low word of a pane's style is the control's drawing type (no
// borders, pop out); a disabled pane keeps its text but shows none.
BOOL CStatusBar::SetPaneText(int nIndex, LPCSTR lpszNewText, BOOL bUpdate) {
  Pane* pane = GetPanePtr(nIndex);
  if (!pane) return FALSE;
  pane->strText = lpszNewText ? lpszNewText : "";
  if (!bUpdate || !m_hWnd) return TRUE;
  LPCSTR shown = (pane->nStyle & SBPS_DISABLED) ? "" : static_cast<LPCSTR>(pane->strText);
  return static_cast<BOOL>(
      DefWindowProc(SB_SETTEXTA, (pane->nStyle & 0xFF00) | nIndex, reinterpret_cast<LPARAM>(shown)));
}

void CStatusBar::UpdateAllPanes(BOOL bUpdateRects, BOOL bUpdateText) {
  if (!m_hWnd || m_nCount == 0) return;
  if (bUpdateRects) {
    CRect rect;
    GetClientRect(&rect);
    int borders[3] = {};
    DefWindowProc(SB_GETBORDERS, 0, reinterpret_cast<LPARAM>(borders));
    int cxExtra = rect.Width() + borders[2];
    int stretchy = 0;
    for (int i = 0; i < m_nCount; ++i) {
      if (m_pPanes[i].nStyle & SBPS_STRETCH) ++stretchy;
      cxExtra -= m_pPanes[i].cxText + kPaneBorder + borders[2];
    }
    std::vector<int> rights(m_nCount);
    int right = borders[0];
    for (int i = 0; i < m_nCount; ++i) {
      right += m_pPanes[i].cxText + kPaneBorder;
      if ((m_pPanes[i].nStyle & SBPS_STRETCH) && cxExtra > 0) {
        int add = cxExtra / stretchy--;
        right += add;
        cxExtra -= add;
      }
      rights[i] = right;
      right += borders[2];
    }
    DefWindowProc(SB_SETPARTS, m_nCount, reinterpret_cast<LPARAM>(rights.data()));
  }
  if (bUpdateText)
    for (int i = 0; i < m_nCount; ++i) SetPaneText(i, CString(m_pPanes[i].strText));
}

CSize CStatusBar::CalcFixedLayout(BOOL bStretch, BOOL bHorz) {
  CSize size = CControlBar::CalcFixedLayout(bStretch, bHorz);
  CClientDC dc(nullptr);
  HGDIOBJ hOldFont = nullptr;
  if (HFONT hFont = reinterpret_cast<HFONT>(SendMessage(WM_GETFONT))) hOldFont = ::SelectObject(dc.m_hDC, hFont);
  TEXTMETRICA tm = {};
  ::GetTextMetricsA(dc.m_hDC, &tm);
  if (hOldFont) ::SelectObject(dc.m_hDC, hOldFont);
  CRect inside;
  CalcInsideRect(inside, bHorz);
  int borders[3] = {};
  ::SendMessageA(m_hWnd, SB_GETBORDERS, 0, reinterpret_cast<LPARAM>(borders));
  size.cy = tm.tmHeight - tm.tmInternalLeading - 1 + borders[1] * 2 + ::GetSystemMetrics(SM_CYBORDER) * 2 -
            inside.Height();
  if (size.cy < m_nMinHeight) size.cy = m_nMinHeight;
  return size;
}

void CStatusBar::OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) {
  CStatusCmdUI state;
  state.m_pOther = this;
  state.m_nIndexMax = static_cast<UINT>(m_nCount);
  for (state.m_nIndex = 0; state.m_nIndex < state.m_nIndexMax; ++state.m_nIndex) {
    state.m_nID = m_pPanes[state.m_nIndex].nID;
    state.DoUpdate(pTarget, bDisableIfNoHndler);
  }
  UpdateDialogControls(pTarget, bDisableIfNoHndler);
}

void CStatusBar::OnSize(UINT, int, int) {
  Default();
  UpdateAllPanes(TRUE, FALSE);
}

// Painting goes to the control, with the device context the message may carry.
void CStatusBar::OnPaint() {
  UpdateAllPanes(FALSE, TRUE);
  Default();
}

LRESULT CStatusBar::OnSetText(WPARAM, LPARAM lParam) {
  int nIndex = CommandToIndex(ID_SEPARATOR);
  if (nIndex < 0) return FALSE;
  return SetPaneText(nIndex, reinterpret_cast<LPCSTR>(lParam));
}

LRESULT CStatusBar::OnGetText(WPARAM wParam, LPARAM lParam) {
  int nIndex = CommandToIndex(ID_SEPARATOR);
  if (nIndex < 0 || wParam == 0) return 0;
  const CString& text = m_pPanes[nIndex].strText;
  int n = text.GetLength() < static_cast<int>(wParam) - 1 ? text.GetLength() : static_cast<int>(wParam) - 1;
  memcpy(reinterpret_cast<LPSTR>(lParam), static_cast<LPCSTR>(text), n);
  reinterpret_cast<LPSTR>(lParam)[n] = '\0';
  return n;
}

LRESULT CStatusBar::OnGetTextLength(WPARAM, LPARAM) {
  int nIndex = CommandToIndex(ID_SEPARATOR);
  return nIndex < 0 ? 0 : m_pPanes[nIndex].strText.GetLength();
}

// ---- CStatusCmdUI

static CStatusBar* StatusBarOf(CCmdUI* pCmdUI) { return static_cast<CStatusBar*>(pCmdUI->m_pOther); }

void CStatusCmdUI::Enable(BOOL bOn) {
  m_bEnableChanged = TRUE;
  CStatusBar* pBar = StatusBarOf(this);
  UINT style = pBar->GetPaneStyle(m_nIndex) & ~SBPS_DISABLED;
  pBar->SetPaneStyle(m_nIndex, bOn ? style : style | SBPS_DISABLED);
}

void CStatusCmdUI::SetCheck(int nCheck) {
  CStatusBar* pBar = StatusBarOf(this);
  UINT style = pBar->GetPaneStyle(m_nIndex) & ~SBPS_POPOUT;
  pBar->SetPaneStyle(m_nIndex, nCheck ? style | SBPS_POPOUT : style);
}

void CStatusCmdUI::SetText(LPCSTR lpszText) {
  CStatusBar* pBar = StatusBarOf(this);
  if (pBar->GetPaneText(m_nIndex) != lpszText) pBar->SetPaneText(m_nIndex, lpszText);
}
