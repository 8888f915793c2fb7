#include "classlib/imagelist.h"

#include "classlib/module.h"

IMPLEMENT_DYNCREATE(CImageList, CObject)

BOOL CImageList::Attach(HIMAGELIST hImageList) {
  if (!hImageList) return FALSE;
  m_hImageList = hImageList;
  AfxSetPermanent<CImageList>(hImageList, this);
  return TRUE;
}

HIMAGELIST CImageList::Detach() {
  HIMAGELIST h = m_hImageList;
  AfxRemovePermanent<CImageList>(h, this);
  m_hImageList = nullptr;
  return h;
}

BOOL CImageList::DeleteImageList() {
  HIMAGELIST h = Detach();
  return h ? ImageList_Destroy(h) : FALSE;
}

BOOL CImageList::Create(UINT nBitmapID, int cx, int nGrow, COLORREF crMask) {
  LPCSTR name = MAKEINTRESOURCEA(nBitmapID);
  return Attach(ImageList_LoadImageA(AfxFindResourceHandle(name, RT_BITMAP), name, cx, nGrow, crMask,
                                     IMAGE_BITMAP, 0));
}

int CImageList::Add(CBitmap* pbmImage, CBitmap* pbmMask) {
  return ImageList_Add(m_hImageList, *pbmImage, pbmMask ? static_cast<HBITMAP>(*pbmMask) : nullptr);
}

int CImageList::Add(CBitmap* pbmImage, COLORREF crMask) {
  return ImageList_AddMasked(m_hImageList, *pbmImage, crMask);
}

BOOL CImageList::Replace(int nImage, CBitmap* pbmImage, CBitmap* pbmMask) {
  return ImageList_Replace(m_hImageList, nImage, *pbmImage, pbmMask ? static_cast<HBITMAP>(*pbmMask) : nullptr);
}
