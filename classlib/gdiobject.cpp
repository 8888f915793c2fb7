#include "classlib/gdiobject.h"

#include "classlib/dc.h"
#include "classlib/module.h"

IMPLEMENT_DYNCREATE(CGdiObject, CObject)
IMPLEMENT_DYNAMIC(CPen, CGdiObject)
IMPLEMENT_DYNAMIC(CBrush, CGdiObject)
IMPLEMENT_DYNAMIC(CFont, CGdiObject)
IMPLEMENT_DYNAMIC(CBitmap, CGdiObject)
IMPLEMENT_DYNAMIC(CRgn, CGdiObject)
IMPLEMENT_DYNAMIC(CPalette, CGdiObject)

BOOL CGdiObject::Attach(HGDIOBJ hObject) {
  if (!hObject) return FALSE;
  m_hObject = hObject;
  AfxSetPermanent<CGdiObject>(hObject, this);
  return TRUE;
}

HGDIOBJ CGdiObject::Detach() {
  HGDIOBJ h = m_hObject;
  AfxRemovePermanent<CGdiObject>(h, this);
  m_hObject = nullptr;
  return h;
}

BOOL CGdiObject::DeleteObject() {
  HGDIOBJ h = Detach();
  return h ? ::DeleteObject(h) : FALSE;
}

BOOL CBrush::CreatePatternBrush(CBitmap* pBitmap) {
  return Attach(::CreatePatternBrush(static_cast<HBITMAP>(pBitmap->m_hObject)));
}

BOOL CFont::CreatePointFont(int nPointSize, LPCSTR lpszFaceName, CDC* pDC) {
  LOGFONTA lf = {};
  HDC hdc = pDC ? pDC->m_hAttribDC : ::GetDC(nullptr);
  lf.lfHeight = -MulDiv(nPointSize, ::GetDeviceCaps(hdc, LOGPIXELSY), 720);
  if (!pDC) ::ReleaseDC(nullptr, hdc);
  lf.lfCharSet = DEFAULT_CHARSET;
  lstrcpynA(lf.lfFaceName, lpszFaceName, LF_FACESIZE);
  return CreateFontIndirect(&lf);
}

BOOL CBitmap::LoadBitmap(LPCSTR lpszResourceName) {
  return Attach(::LoadBitmapA(AfxFindResourceHandle(lpszResourceName, RT_BITMAP), lpszResourceName));
}

BOOL CBitmap::CreateCompatibleBitmap(CDC* pDC, int nWidth, int nHeight) {
  return Attach(::CreateCompatibleBitmap(pDC->m_hDC, nWidth, nHeight));
}

CSize CBitmap::GetBitmapDimension() const {
  SIZE size = {0, 0};
  ::GetBitmapDimensionEx(static_cast<HBITMAP>(m_hObject), &size);
  return size;
}
