#include "classlib/dc.h"

#include "classlib/exception.h"
#include "classlib/wnd.h"

IMPLEMENT_DYNCREATE(CDC, CObject)
IMPLEMENT_DYNAMIC(CPaintDC, CDC)
IMPLEMENT_DYNAMIC(CClientDC, CDC)
IMPLEMENT_DYNAMIC(CWindowDC, CDC)

CDC::~CDC() {
  if (m_hDC) ::DeleteDC(Detach());
}

BOOL CDC::Attach(HDC hDC) {
  if (!hDC) return FALSE;
  m_hDC = m_hAttribDC = hDC;
  AfxSetPermanent<CDC>(hDC, this);
  return TRUE;
}

HDC CDC::Detach() {
  HDC h = m_hDC;
  AfxRemovePermanent<CDC>(h, this);
  m_hDC = m_hAttribDC = nullptr;
  return h;
}

BOOL CDC::DeleteDC() {
  if (!m_hDC) return FALSE;
  return ::DeleteDC(Detach());
}

CWnd* CDC::GetWindow() const { return CWnd::FromHandle(::WindowFromDC(m_hDC)); }

CBrush* CDC::GetHalftoneBrush() {
  static CBrush* brush = [] {
    WORD pattern[8];
    for (int i = 0; i < 8; ++i) pattern[i] = static_cast<WORD>(0x5555 << (i & 1));
    HBITMAP bitmap = ::CreateBitmap(8, 8, 1, 1, pattern);
    CBrush* b = new CBrush;
    b->m_hObject = ::CreatePatternBrush(bitmap);  // process-wide, outside the thread maps
    ::DeleteObject(bitmap);
    return b;
  }();
  return brush;
}

void CDC::FillSolidRect(LPCRECT lpRect, COLORREF clr) {
  ::SetBkColor(m_hDC, clr);
  ::ExtTextOutA(m_hDC, 0, 0, ETO_OPAQUE, lpRect, nullptr, 0, nullptr);
}

void CDC::FillSolidRect(int x, int y, int cx, int cy, COLORREF clr) {
  RECT r = {x, y, x + cx, y + cy};
  FillSolidRect(&r, clr);
}

void CDC::Draw3dRect(LPCRECT lpRect, COLORREF clrTopLeft, COLORREF clrBottomRight) {
  Draw3dRect(lpRect->left, lpRect->top, lpRect->right - lpRect->left, lpRect->bottom - lpRect->top,
             clrTopLeft, clrBottomRight);
}

void CDC::Draw3dRect(int x, int y, int cx, int cy, COLORREF clrTopLeft, COLORREF clrBottomRight) {
  FillSolidRect(x, y, cx - 1, 1, clrTopLeft);
  FillSolidRect(x, y, 1, cy - 1, clrTopLeft);
  FillSolidRect(x + cx, y, -1, cy, clrBottomRight);
  FillSolidRect(x, y + cy, cx, -1, clrBottomRight);
}

// The frame of r, size thick, as a region.
static void FrameRegion(CRgn& rgn, LPCRECT r, SIZE size) {
  CRect inside(r);
  inside.DeflateRect(size.cx, size.cy);
  inside.IntersectRect(inside, r);
  CRgn outer, inner;
  outer.CreateRectRgnIndirect(r);
  inner.CreateRectRgnIndirect(inside);
  rgn.CreateRectRgn(0, 0, 0, 0);
  rgn.CombineRgn(&outer, &inner, RGN_XOR);
}

void CDC::DrawDragRect(LPCRECT lpRect, SIZE size, LPCRECT lpRectLast, SIZE sizeLast, CBrush* pBrush,
                       CBrush* pBrushLast) {
  if (!pBrush) pBrush = GetHalftoneBrush();
  if (!pBrushLast) pBrushLast = pBrush;
  bool sameBrush = pBrush->m_hObject == pBrushLast->m_hObject;

  CRgn rgnNew, rgnLast, rgnUpdate;
  FrameRegion(rgnNew, lpRect, size);
  if (lpRectLast) {
    FrameRegion(rgnLast, lpRectLast, sizeLast);
    if (sameBrush) {
      rgnUpdate.CreateRectRgn(0, 0, 0, 0);
      rgnUpdate.CombineRgn(&rgnLast, &rgnNew, RGN_XOR);
    }
  }
  CRect box;
  if (lpRectLast && !sameBrush) {  // a different brush cannot cancel out: erase the old frame first
    SelectClipRgn(&rgnLast);
    GetClipBox(&box);
    CBrush* old = SelectObject(pBrushLast);
    PatBlt(box.left, box.top, box.Width(), box.Height(), PATINVERT);
    SelectObject(old);
  }
  SelectClipRgn(rgnUpdate.m_hObject ? &rgnUpdate : &rgnNew);
  GetClipBox(&box);
  CBrush* old = SelectObject(pBrush);
  PatBlt(box.left, box.top, box.Width(), box.Height(), PATINVERT);
  SelectObject(old);
  SelectClipRgn(nullptr);
}

BOOL CDC::DrawState(CPoint pt, CSize size, HBITMAP hBitmap, UINT nFlags, HBRUSH hBrush) {
  return ::DrawStateA(m_hDC, hBrush, nullptr, reinterpret_cast<LPARAM>(hBitmap), 0, pt.x, pt.y, size.cx, size.cy,
                      nFlags | DST_BITMAP);
}

BOOL CDC::DrawState(CPoint pt, CSize size, CBitmap* pBitmap, UINT nFlags, CBrush* pBrush) {
  return DrawState(pt, size, static_cast<HBITMAP>(*pBitmap), nFlags, pBrush ? static_cast<HBRUSH>(*pBrush) : nullptr);
}

BOOL CDC::DrawState(CPoint pt, CSize size, HICON hIcon, UINT nFlags, HBRUSH hBrush) {
  return ::DrawStateA(m_hDC, hBrush, nullptr, reinterpret_cast<LPARAM>(hIcon), 0, pt.x, pt.y, size.cx, size.cy,
                      nFlags | DST_ICON);
}

BOOL CDC::DrawState(CPoint pt, CSize size, HICON hIcon, UINT nFlags, CBrush* pBrush) {
  return DrawState(pt, size, hIcon, nFlags, pBrush ? static_cast<HBRUSH>(*pBrush) : nullptr);
}

BOOL CDC::DrawState(CPoint pt, CSize size, LPCSTR lpszText, UINT nFlags, BOOL bPrefixText, int nTextLen,
                    HBRUSH hBrush) {
  return ::DrawStateA(m_hDC, hBrush, nullptr, reinterpret_cast<LPARAM>(lpszText), nTextLen, pt.x, pt.y, size.cx,
                      size.cy, nFlags | (bPrefixText ? DST_PREFIXTEXT : DST_TEXT));
}

BOOL CDC::DrawState(CPoint pt, CSize size, LPCSTR lpszText, UINT nFlags, BOOL bPrefixText, int nTextLen,
                    CBrush* pBrush) {
  return DrawState(pt, size, lpszText, nFlags, bPrefixText, nTextLen,
                   pBrush ? static_cast<HBRUSH>(*pBrush) : nullptr);
}

BOOL CDC::DrawState(CPoint pt, CSize size, DRAWSTATEPROC lpDrawProc, LPARAM lData, UINT nFlags, HBRUSH hBrush) {
  return ::DrawStateA(m_hDC, hBrush, lpDrawProc, lData, 0, pt.x, pt.y, size.cx, size.cy, nFlags | DST_COMPLEX);
}

CSize CDC::GetTextExtent(LPCSTR lpszString, int nCount) const {
  SIZE size = {0, 0};
  ::GetTextExtentPoint32A(m_hAttribDC, lpszString, nCount, &size);
  return size;
}

CPaintDC::CPaintDC(CWnd* pWnd) : m_hWnd(pWnd->m_hWnd) {
  if (!Attach(::BeginPaint(m_hWnd, &m_ps))) AfxThrowResourceException();
}

CPaintDC::~CPaintDC() { ::EndPaint(m_hWnd, &m_ps); Detach(); }

CClientDC::CClientDC(CWnd* pWnd) : m_hWnd(pWnd ? pWnd->m_hWnd : nullptr) {
  if (!Attach(::GetDC(m_hWnd))) AfxThrowResourceException();
}

CClientDC::~CClientDC() { ::ReleaseDC(m_hWnd, Detach()); }

CWindowDC::CWindowDC(CWnd* pWnd) : m_hWnd(pWnd ? pWnd->m_hWnd : nullptr) {
  if (!Attach(::GetWindowDC(m_hWnd))) AfxThrowResourceException();
}

CWindowDC::~CWindowDC() { ::ReleaseDC(m_hWnd, Detach()); }
