#include "toolkit/controls/Button.h"

#include <algorithm>

#include "toolkit/common/DrawHelpers.h"
#include "toolkit/common/SharedState.h"
#include "toolkit/controls/ControlMessages.h"
#include "toolkit/controls/FlickerFreePaint.h"
#include "toolkit/paint/SysColorBitmap.h"

IMPLEMENT_DYNAMIC(CXTButton, CButton)

BEGIN_MESSAGE_MAP(CXTButton, CButton)
  ON_WM_CREATE()
  ON_WM_DESTROY()
  ON_WM_SYSCOLORCHANGE()
  ON_WM_MOUSEMOVE()
  ON_WM_TIMER()
  ON_WM_LBUTTONDOWN()
  ON_WM_LBUTTONUP()
  ON_WM_LBUTTONDBLCLK()
  ON_WM_ERASEBKGND()
  ON_WM_PAINT()
  ON_MESSAGE(XTWM_INITCONTROL, OnInitControl)
END_MESSAGE_MAP()

namespace {

const UINT_PTR kHoverTimer = 1;
const UINT kHoverPeriod = 10;
const int kFlatHotColor = 31;
const int kFlatPressedColor = 33;
const int kPressedTextColor = 45;

// The horizontal alignment of a button's content; none counts as centred.
DWORD HorizontalAlignment(DWORD style) {
  DWORD align = style & BS_CENTER;
  return align ? align : BS_CENTER;
}

}  // namespace

CXTButton::CXTButton() { ReadSystemColors(); }

CXTButton::~CXTButton() { CleanUpImages(); }

void CXTButton::ReadSystemColors() {
  m_crText = ::GetSysColor(COLOR_BTNTEXT);
  m_crFace = ::GetSysColor(COLOR_BTNFACE);
  m_crHighlight = ::GetSysColor(COLOR_BTNHIGHLIGHT);
  m_crShadow = ::GetSysColor(COLOR_BTNSHADOW);
}

// ---- deferred set-up

void CXTButton::PreSubclassWindow() {
  CButton::PreSubclassWindow();
  m_init.Post(*this);
}

int CXTButton::OnCreate(LPCREATESTRUCTA lpCreateStruct) {
  if (CButton::OnCreate(lpCreateStruct) == -1) return -1;
  m_init.Post(*this);
  return 0;
}

LRESULT CXTButton::OnInitControl(WPARAM, LPARAM lParam) {
  if (!m_init.Accept(lParam)) return 0;
  ModifyStyle(0, BS_OWNERDRAW);
  SetFont(&GetSharedState().GetFont(CXTSharedState::kFontNormal));
  return 0;
}

void CXTButton::OnDestroy() {
  CButton::OnDestroy();
  m_init.Reset();
}

void CXTButton::OnSysColorChange() {
  CButton::OnSysColorChange();
  if (!m_bCustomColors) ReadSystemColors();
}

// ---- setters

void CXTButton::Redraw(BOOL bRedraw) {
  if (bRedraw && m_hWnd) Invalidate();
}

void CXTButton::SetButtonColors(COLORREF crFace, COLORREF crHighlight, COLORREF crShadow, COLORREF crText) {
  m_crFace = crFace;
  m_crHighlight = crHighlight;
  m_crShadow = crShadow;
  m_crText = crText;
  m_bCustomColors = TRUE;
}

void CXTButton::SetFlatLookColors(COLORREF crBorder, COLORREF crHot, COLORREF crPressed) {
  m_crFlatBorder = crBorder;
  m_crFlatHot = crHot;
  m_crFlatPressed = crPressed;
  m_bFlatColors = TRUE;
}

DWORD CXTButton::SetLookStyle(DWORD dwLook, BOOL bRedraw) {
  DWORD previous = m_dwLook;
  m_dwLook = dwLook;
  Redraw(bRedraw);
  return previous;
}

void CXTButton::SetContentPositions(int xImage, int yImage, int xText, int yText, BOOL bRedraw) {
  m_ptImage = CPoint(xImage, yImage);
  m_ptText = CPoint(xText, yText);
  m_bExplicitPositions = TRUE;
  Redraw(bRedraw);
}

// ---- images

void CXTButton::CleanUpImages() {
  if (m_hIcon) ::DestroyIcon(m_hIcon);
  if (m_hPushedIcon) ::DestroyIcon(m_hPushedIcon);
  if (m_hBitmap) ::DeleteObject(m_hBitmap);
  if (m_hDisabledBitmap) ::DeleteObject(m_hDisabledBitmap);
  m_hIcon = m_hPushedIcon = nullptr;
  m_hBitmap = m_hDisabledBitmap = nullptr;
}

void CXTButton::ResetImage() {
  if (m_sizeImage.cx == 0 && m_sizeImage.cy == 0) return;
  CleanUpImages();
  m_sizeImage = CSize();
  m_ptImage = m_ptText = CPoint();
  Redraw(TRUE);
}

void CXTButton::SetIcons(int cx, int cy, HICON hIcon, HICON hPushedIcon, BOOL bRedraw) {
  CleanUpImages();
  m_hIcon = hIcon;
  m_hPushedIcon = hPushedIcon;
  m_sizeImage = CSize(cx, cy);
  Redraw(bRedraw);
}

BOOL CXTButton::LoadIcons(int cx, int cy, LPCSTR lpszIcon, LPCSTR lpszPushedIcon, BOOL bRedraw) {
  CleanUpImages();
  HINSTANCE hModule = GetSharedState().m_resourceModule;
  m_hIcon = static_cast<HICON>(::LoadImageA(hModule, lpszIcon, IMAGE_ICON, cx, cy, 0));
  if (lpszPushedIcon) m_hPushedIcon = static_cast<HICON>(::LoadImageA(hModule, lpszPushedIcon, IMAGE_ICON, cx, cy, 0));
  if (!m_hIcon || (lpszPushedIcon && !m_hPushedIcon)) return FALSE;
  m_sizeImage = CSize(cx, cy);
  Redraw(bRedraw);
  return TRUE;
}

BOOL CXTButton::LoadIconsById(int cx, int cy, UINT nIcon, UINT nPushedIcon) {
  return LoadIcons(cx, cy, MAKEINTRESOURCEA(nIcon), nPushedIcon ? MAKEINTRESOURCEA(nPushedIcon) : nullptr, TRUE);
}

// The normal bitmap follows the system colours; the disabled one is its
// black-and-white form, drawn embossed.
BOOL CXTButton::LoadButtonBitmap(int cx, int cy, UINT nBitmap, BOOL bRedraw) {
  CleanUpImages();
  HINSTANCE hModule = GetSharedState().m_resourceModule;
  if (!hModule) hModule = AfxGetResourceHandle();
  HRSRC resource = ::FindResourceA(hModule, MAKEINTRESOURCEA(nBitmap), RT_BITMAP);
  if (!resource) return FALSE;
  m_hBitmap = LoadSysColorBitmap(hModule, resource, FALSE);
  m_hDisabledBitmap = LoadSysColorBitmap(hModule, resource, TRUE);
  if (!m_hBitmap || !m_hDisabledBitmap) return FALSE;
  m_sizeImage = CSize(cx, cy);
  Redraw(bRedraw);
  return TRUE;
}

// ---- mouse

void CXTButton::OnMouseMove(UINT nFlags, CPoint point) {
  if (HasHoverLook()) {
    SetTimer(kHoverTimer, kHoverPeriod);
    HoverStep();
  }
  CButton::OnMouseMove(nFlags, point);
}

void CXTButton::HoverStep() {
  CRect rect;
  GetWindowRect(&rect);
  CPoint cursor;
  ::GetCursorPos(&cursor);
  if (m_bPressed || !rect.PtInRect(cursor)) {
    KillTimer(kHoverTimer);
    m_bHot = FALSE;
    if (m_bHotDrawn) Invalidate();
    m_bHotDrawn = FALSE;
    return;
  }
  if (HasHoverLook() && !m_bHotDrawn) {
    m_bHot = TRUE;
    Invalidate();
    m_bHotDrawn = TRUE;
  }
}

void CXTButton::OnTimer(UINT_PTR nIDEvent) {
  if (nIDEvent != kHoverTimer) {
    CButton::OnTimer(nIDEvent);
    return;
  }
  HoverStep();
  if (m_bHot) CButton::OnTimer(nIDEvent);
}

void CXTButton::OnLButtonDown(UINT nFlags, CPoint point) {
  if (!m_bPressed) {
    m_bPressed = TRUE;
    Invalidate();
  }
  CButton::OnLButtonDown(nFlags, point);
}

void CXTButton::OnLButtonUp(UINT nFlags, CPoint point) {
  if (m_bPressed) {
    m_bPressed = FALSE;
    Invalidate();
  }
  CButton::OnLButtonUp(nFlags, point);
}

// A double click is a second press.
void CXTButton::OnLButtonDblClk(UINT nFlags, CPoint point) {
  SendMessage(WM_LBUTTONDOWN, nFlags, MAKELPARAM(point.x, point.y));
  CButton::OnLButtonDblClk(nFlags, point);
}

// ---- painting

BOOL CXTButton::OnEraseBkgnd(CDC*) { return TRUE; }

void CXTButton::OnPaint() { PaintThroughMemDC(*this, GetSharedState().m_clrFace); }

void CXTButton::DrawItem(LPDRAWITEMSTRUCT lpDIS) {
  CDC* pDC = CDC::FromHandle(lpDIS->hDC);
  int saved = pDC->SaveDC();
  CRect rect(lpDIS->rcItem);
  UINT state = lpDIS->itemState;
  CPoint cursor;
  ::GetCursorPos(&cursor);
  ScreenToClient(&cursor);

  pDC->FillSolidRect(&rect, GetFaceColor());
  if (m_dwLook & BS_XT_HILITEPRESSED) {
    bool halftone = m_bChecked ? !rect.PtInRect(cursor) : (state & ODS_SELECTED) != 0;
    if (halftone) DrawHalftoneRect(pDC, &rect);
  }
  COLORREF back = DrawEdge(pDC, rect, state);
  pDC->SetBkMode(TRANSPARENT);
  pDC->SetBkColor(back);
  DrawButtonText(pDC, state, rect);
  DrawButtonIcon(pDC, state, rect);
  DrawButtonBitmap(pDC, state, rect);
  if ((m_dwLook & BS_XT_SHOWFOCUS) && (state & ODS_FOCUS)) {
    COLORREF oldText = pDC->SetTextColor(RGB(0, 0, 0));
    CRect focus = rect;
    focus.DeflateRect(2, 2);
    ::DrawFocusRect(pDC->m_hDC, &focus);
    pDC->SetTextColor(oldText);
  }
  pDC->RestoreDC(saved);
}

// Draws the look's edge; the colour behind the text.
COLORREF CXTButton::DrawEdge(CDC* pDC, CRect rect, UINT nState) {
  CXTSharedState& shared = GetSharedState();
  bool selected = (nState & ODS_SELECTED) != 0;
  if (m_dwLook & BS_XT_FLAT) {
    if (selected)
      pDC->Draw3dRect(&rect, m_crShadow, m_crHighlight);
    else if (m_bHot)
      pDC->Draw3dRect(&rect, m_crHighlight, m_crShadow);
    return GetFaceColor();
  }
  if (m_dwLook & BS_XT_XPFLAT) {
    if (!m_bHot && !selected) return GetFaceColor();
    COLORREF border = m_bFlatColors ? m_crFlatBorder : shared.m_clrSelection;
    COLORREF hot = m_bFlatColors ? m_crFlatHot : GetToolkitColor(kFlatHotColor);
    COLORREF pressed = m_bFlatColors ? m_crFlatPressed : GetToolkitColor(kFlatPressedColor);
    COLORREF fill = selected ? pressed : hot;
    pDC->Draw3dRect(&rect, border, border);
    CRect inner = rect;
    inner.DeflateRect(1, 1);
    pDC->FillSolidRect(&inner, fill);
    return fill;
  }
  if (m_dwLook & BS_XT_SEMIFLAT) {
    if (selected)
      pDC->Draw3dRect(&rect, shared.m_clrShadow, shared.m_clrHighlight);
    else
      pDC->Draw3dRect(&rect, shared.m_clrHighlight, shared.m_clrShadow);
    return GetFaceColor();
  }
  COLORREF outerTopLeft = selected ? shared.m_clrDarkShadow : m_crHighlight;
  COLORREF outerBottomRight = selected ? m_crHighlight : shared.m_clrDarkShadow;
  pDC->Draw3dRect(&rect, outerTopLeft, outerBottomRight);
  rect.DeflateRect(1, 1);
  pDC->Draw3dRect(&rect, selected ? m_crShadow : GetFaceColor(), selected ? GetFaceColor() : m_crShadow);
  return GetFaceColor();
}

void CXTButton::GetContentOrigin(CPoint& point, int cx, int cy) const {
  CRect client;
  GetClientRect(&client);
  point.x = (m_dwLook & BS_XT_TWOROWS) ? (client.Width() - cx) / 2 : m_nGap;
  point.y = (client.Height() - cy) / 2;
  if (point.x < 0) point.x = 0;
  if (point.y < 0) point.y = 0;
}

// Stripping removes single ampersands; a doubled one stays as it is.
void CXTButton::GetButtonText(CString& strText, BOOL bStripAmpersands) const {
  GetWindowText(strText);
  if (!bStripAmpersands) return;
  CString stripped;
  for (int i = 0; i < strText.GetLength(); ++i) {
    if (strText[i] != '&') {
      stripped += strText[i];
    } else if (i + 1 < strText.GetLength() && strText[i + 1] == '&') {
      stripped += "&&";
      ++i;
    }
  }
  strText = stripped;
}

CSize CXTButton::MeasureText(CDC* pDC) const {
  CString text;
  GetButtonText(text, TRUE);
  if (text.IsEmpty()) return CSize();
  SIZE extent = {};
  ::GetTextExtentPoint32A(pDC->m_hDC, text, text.GetLength(), &extent);
  return extent;
}

void CXTButton::GetImagePoint(CPoint& point, CDC* pDC, UINT nState, const CRect& rcItem, BOOL bHasPushedImage) {
  CSize text = MeasureText(pDC);
  DWORD style = GetStyle();
  if (m_bExplicitPositions) {
    point = m_ptImage;
  } else {
    GetContentOrigin(point, m_sizeImage.cx, m_sizeImage.cy);
    point.x = m_nGap;
    if (m_dwLook & BS_XT_TWOROWS) {
      if (text.cx) point.y -= text.cy / 2 + m_nTextGap / 2;
      switch (HorizontalAlignment(style)) {
        case BS_RIGHT: point.x = rcItem.right - m_nGap - m_sizeImage.cx; break;
        case BS_LEFT: point.x = m_nGap; break;
        default: point.x = std::max<LONG>(0, (rcItem.Width() - m_sizeImage.cx) / 2); break;
      }
    } else if (!text.cx) {
      if ((style & BS_CENTER) == BS_CENTER && rcItem.Width() >= m_sizeImage.cx)
        point.x = (rcItem.Width() - m_sizeImage.cx) / 2;
      if ((style & BS_VCENTER) == BS_VCENTER && rcItem.Height() >= m_sizeImage.cy)
        point.y = (rcItem.Height() - m_sizeImage.cy) / 2;
    }
  }
  if ((nState & ODS_SELECTED) && !bHasPushedImage) point.Offset(1, 1);
}

void CXTButton::DrawButtonIcon(CDC* pDC, UINT nState, const CRect& rcItem) {
  if (!m_hIcon) return;
  HICON hIcon = (nState & ODS_SELECTED) && m_hPushedIcon ? m_hPushedIcon : m_hIcon;
  CPoint point;
  GetImagePoint(point, pDC, nState, rcItem, m_hPushedIcon != nullptr);
  pDC->DrawState(point, m_sizeImage, hIcon, DST_ICON | ((nState & ODS_DISABLED) ? DSS_DISABLED : 0),
                 static_cast<HBRUSH>(nullptr));
}

void CXTButton::DrawButtonBitmap(CDC* pDC, UINT nState, const CRect& rcItem) {
  bool disabled = (nState & ODS_DISABLED) != 0;
  HBITMAP hBitmap = disabled ? m_hDisabledBitmap : m_hBitmap;
  if (!hBitmap) return;
  CPoint point;
  GetImagePoint(point, pDC, nState, rcItem, FALSE);
  pDC->DrawState(point, m_sizeImage, hBitmap, DST_BITMAP | (disabled ? DSS_DISABLED : 0));
}

void CXTButton::DrawButtonText(CDC* pDC, UINT nState, const CRect& rcItem) {
  CString text;
  GetButtonText(text, FALSE);
  if (text.IsEmpty()) return;
  CFont* pOldFont = pDC->SelectObject(GetFont());
  CSize extent = MeasureText(pDC);
  CRect rect = rcItem;
  rect.DeflateRect(2, 0);
  bool twoRows = (m_dwLook & BS_XT_TWOROWS) != 0;
  CPoint point;
  if (m_bExplicitPositions) {
    point = m_ptText;
  } else {
    GetContentOrigin(point, extent.cx, extent.cy);
    if (twoRows) point.y += m_sizeImage.cy / 2 + m_nTextGap / 2;
    switch (HorizontalAlignment(GetStyle())) {
      case BS_RIGHT: point.x = rect.right - m_nGap - extent.cx; break;
      case BS_LEFT: point.x = m_nGap + (twoRows ? 0 : m_nTextGap + m_sizeImage.cx); break;
      default: {
        int start = m_nGap + (twoRows ? 0 : m_sizeImage.cx);
        int end = rect.right - m_nGap;
        point.x = start + (end - start - extent.cx) / 2;
        break;
      }
    }
  }
  if ((nState & ODS_SELECTED) && !(m_dwLook & BS_XT_XPFLAT)) point.Offset(1, 1);
  COLORREF color = m_crText;
  if (nState & ODS_DISABLED)
    color = GetSharedState().m_clrGrayText;
  else if ((nState & ODS_SELECTED) && (m_dwLook & BS_XT_XPFLAT))
    color = GetToolkitColor(kPressedTextColor);
  COLORREF oldColor = pDC->SetTextColor(color);
  ::DrawStateA(pDC->m_hDC, nullptr, nullptr, reinterpret_cast<LPARAM>(text.operator LPCSTR()), 0, point.x, point.y,
               extent.cx, extent.cy, DST_PREFIXTEXT);
  pDC->SetTextColor(oldColor);
  pDC->SelectObject(pOldFont);
}
