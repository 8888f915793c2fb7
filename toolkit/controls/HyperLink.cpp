#include "toolkit/controls/HyperLink.h"

#include <shellapi.h>

#include "classlib/winapp.h"
#include "toolkit/common/SharedState.h"
#include "toolkit/controls/ControlMessages.h"
#include "toolkit/controls/FlickerFreePaint.h"
#include "toolkit_resource.h"

IMPLEMENT_DYNAMIC(CXTHyperLink, CStatic)

BEGIN_MESSAGE_MAP(CXTHyperLink, CStatic)
  ON_WM_CREATE()
  ON_WM_NCHITTEST()
  ON_WM_SETCURSOR()
  ON_WM_MOUSEMOVE()
  ON_WM_TIMER()
  ON_WM_LBUTTONDOWN()
  ON_WM_ERASEBKGND()
  ON_WM_PAINT()
  ON_WM_WINDOWPOSCHANGED()
  ON_MESSAGE(XTWM_INITCONTROL, OnInitControl)
  ON_WM_CTLCOLOR_REFLECT()
END_MESSAGE_MAP()

CXTShellApi g_xtShellApi = {&::ShellExecuteA};

namespace {

const UINT_PTR kHoverTimer = 1;
const UINT kHoverPeriod = 10;

// The shell's failure codes and the strings that explain them.
struct ShellError {
  int code;
  UINT text;
};
const ShellError kShellErrors[] = {
    {0, IDS_XT_SHELL_OUT_OF_RESOURCES},  {ERROR_FILE_NOT_FOUND, IDS_XT_SHELL_FILE_NOT_FOUND},
    {ERROR_PATH_NOT_FOUND, IDS_XT_SHELL_PATH_NOT_FOUND}, {SE_ERR_ACCESSDENIED, IDS_XT_SHELL_ACCESS_DENIED},
    {SE_ERR_OOM, IDS_XT_SHELL_OUT_OF_MEMORY},          {ERROR_BAD_FORMAT, IDS_XT_SHELL_BAD_FORMAT},
    {SE_ERR_SHARE, IDS_XT_SHELL_SHARE},                {SE_ERR_ASSOCINCOMPLETE, IDS_XT_SHELL_ASSOC_INCOMPLETE},
    {SE_ERR_DDETIMEOUT, IDS_XT_SHELL_DDE_TIMEOUT},     {SE_ERR_DDEFAIL, IDS_XT_SHELL_DDE_FAIL},
    {SE_ERR_DDEBUSY, IDS_XT_SHELL_DDE_BUSY},           {SE_ERR_NOASSOC, IDS_XT_SHELL_NO_ASSOC},
    {SE_ERR_DLLNOTFOUND, IDS_XT_SHELL_DLL_NOT_FOUND},
};

CString ShellErrorText(int code) {
  CString text;
  for (const ShellError& e : kShellErrors) {
    if (e.code == code) {
      text.LoadString(e.text);
      return text;
    }
  }
  CString format;
  format.LoadString(IDS_XT_SHELL_UNKNOWN);
  text.Format(format, code);
  return text;
}

}  // namespace

CXTHyperLink::CXTHyperLink() : m_hcurHand(GetSharedState().m_cursors[CXTSharedState::kCursorHand]) {}

CXTHyperLink::~CXTHyperLink() = default;

void CXTHyperLink::PreSubclassWindow() {
  CStatic::PreSubclassWindow();
  PostMessage(XTWM_INITCONTROL);
}

int CXTHyperLink::OnCreate(LPCREATESTRUCTA lpCreateStruct) {
  if (CStatic::OnCreate(lpCreateStruct) == -1) return -1;
  SendMessage(XTWM_INITCONTROL);
  return 0;
}

LRESULT CXTHyperLink::OnInitControl(WPARAM, LPARAM) {
  if (!m_bInitPending) return 0;
  m_bInitPending = FALSE;
  if (IsPlainTextStyle() && m_strTarget.IsEmpty()) GetWindowText(m_strTarget);
  ModifyStyle(0, SS_NOTIFY);
  if (m_toolTip.Create(this)) m_toolTip.AddTool(this, m_strTarget);
  ApplyFont();
  return 0;
}

void CXTHyperLink::ApplyFont() {
  CXTSharedState& state = GetSharedState();
  SetFont(&state.GetFont(m_bUnderline ? CXTSharedState::kFontUnderline : CXTSharedState::kFontNormal));
}

void CXTHyperLink::SetLinkTarget(LPCSTR lpszTarget) {
  m_strTarget = lpszTarget;
  if (!m_bInitPending && m_toolTip.m_hWnd) m_toolTip.UpdateTipText(m_strTarget, this);
}

void CXTHyperLink::SetLinkColors(COLORREF crNormal, COLORREF crVisited, COLORREF crHot) {
  m_crNormal = crNormal;
  m_crVisited = crVisited;
  m_crHot = crHot;
  if (m_hWnd) Invalidate();
}

void CXTHyperLink::SetVisitedState(BOOL bVisited) {
  m_bVisited = bVisited;
  if (m_hWnd) Invalidate();
}

void CXTHyperLink::SetUnderlined(BOOL bUnderline) {
  m_bUnderline = bUnderline;
  if (!m_hWnd) return;
  ApplyFont();
  Invalidate();
}

COLORREF CXTHyperLink::GetBackgroundColor() const {
  return m_crBack == CLR_NONE ? GetSharedState().m_clrFace : m_crBack;
}

BOOL CXTHyperLink::IsPlainTextStyle() const {
  DWORD type = GetStyle() & SS_TYPEMASK;
  return type == SS_LEFT || type == SS_CENTER || type == SS_RIGHT;
}

// Only the span of the text counts, so the blank rest of a wide or centred
// link neither shows the hand nor opens anything.
BOOL CXTHyperLink::IsCursorOverText() const {
  if (!IsPlainTextStyle()) return TRUE;
  CString text;
  GetWindowText(text);
  HDC hdc = ::GetDC(nullptr);
  HGDIOBJ old = ::SelectObject(hdc, reinterpret_cast<HFONT>(SendMessage(WM_GETFONT)));
  SIZE extent = {};
  ::GetTextExtentPoint32A(hdc, text, text.GetLength(), &extent);
  ::SelectObject(hdc, old);
  ::ReleaseDC(nullptr, hdc);

  CRect span;
  GetWindowRect(&span);
  int spare = span.Width() - extent.cx;
  switch (GetStyle() & SS_TYPEMASK) {
    case SS_CENTER: span.DeflateRect(spare / 2, 0); break;
    case SS_RIGHT: span.left = span.right - extent.cx; break;
    default: span.right = span.left + extent.cx; break;
  }
  CPoint cursor;
  ::GetCursorPos(&cursor);
  return span.PtInRect(cursor);
}

BOOL CXTHyperLink::PreTranslateMessage(MSG* pMsg) {
  if (!m_bInitPending && m_toolTip.m_hWnd) m_toolTip.RelayEvent(pMsg);
  return CStatic::PreTranslateMessage(pMsg);
}

LRESULT CXTHyperLink::OnNcHitTest(CPoint) { return HTCLIENT; }

HBRUSH CXTHyperLink::CtlColor(CDC* pDC, UINT) {
  if (!IsPlainTextStyle()) return nullptr;
  pDC->SetTextColor(m_bHot ? m_crHot : m_bVisited ? m_crVisited : m_crNormal);
  pDC->SetBkMode(TRANSPARENT);
  return static_cast<HBRUSH>(::GetStockObject(NULL_BRUSH));
}

BOOL CXTHyperLink::OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message) {
  if (m_hcurHand && IsCursorOverText()) {
    ::SetCursor(m_hcurHand);
    return TRUE;
  }
  return CStatic::OnSetCursor(pWnd, nHitTest, message);
}

void CXTHyperLink::OnMouseMove(UINT nFlags, CPoint point) {
  if (IsPlainTextStyle() && IsCursorOverText()) SetTimer(kHoverTimer, kHoverPeriod);
  CStatic::OnMouseMove(nFlags, point);
}

void CXTHyperLink::OnTimer(UINT_PTR nIDEvent) {
  if (nIDEvent == kHoverTimer && IsPlainTextStyle()) {
    if (IsCursorOverText()) {
      m_bHot = TRUE;
    } else if (m_bHot) {
      KillTimer(kHoverTimer);
      m_bHot = FALSE;
    } else {
      m_bHot = TRUE;
    }
    RefreshNow();
  }
  CStatic::OnTimer(nIDEvent);
}

void CXTHyperLink::OnLButtonDown(UINT nFlags, CPoint point) {
  if (!IsCursorOverText()) return;
  CStatic::OnLButtonDown(nFlags, point);
  m_bVisited = TRUE;
  if (m_bFollowOnClick) OpenTarget(nullptr, SW_SHOW);
}

BOOL CXTHyperLink::OnEraseBkgnd(CDC*) { return TRUE; }

void CXTHyperLink::OnPaint() { PaintThroughMemDC(*this, GetBackgroundColor()); }

void CXTHyperLink::OnWindowPosChanged(WINDOWPOS* lpwndpos) {
  CStatic::OnWindowPosChanged(lpwndpos);
  RefreshNow();
}

void CXTHyperLink::RefreshNow() {
  Invalidate();
  UpdateWindow();
}

HINSTANCE CXTHyperLink::OpenTarget(LPCSTR lpszTarget, int nShowCmd) {
  HINSTANCE result = g_xtShellApi.execute(m_hWnd, "open", lpszTarget ? lpszTarget : m_strTarget.operator LPCSTR(),
                                          nullptr, nullptr, nShowCmd);
  int code = static_cast<int>(reinterpret_cast<INT_PTR>(result));
  if (code <= 32) AfxMessageBox(ShellErrorText(code), MB_ICONERROR);
  return result;
}
