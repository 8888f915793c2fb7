// What a frame remembers of its bars: for each bar its place and state, and
// for each dock bar its rows. In a dock bar's list 0 ends a row, a bar id
// stands for the bar and id | 0x10000 for a placeholder: the place kept for
// a bar that is hidden or floats elsewhere.
#pragma once

#include "classlib/array.h"
#include "classlib/geometry.h"

class CControlBar;

#define AFX_BARINFO_PLACEHOLDER 0x10000u

struct CControlBarInfo {
  UINT m_nBarID = 0;
  BOOL m_bVisible = FALSE;
  BOOL m_bFloating = FALSE;
  BOOL m_bHorz = FALSE;
  BOOL m_bDockBar = FALSE;
  // A floating dock bar's frame on the screen, a docked bar's place in its
  // dock bar; (-1, -1) when unknown.
  CPoint m_pointPos = CPoint(-1, -1);
  int m_nMRUWidth = 32767;
  // The bar has a drag context: the MRU fields say where it docked and floated last.
  BOOL m_bDocking = FALSE;
  UINT m_uMRUDockID = 0;
  CRect m_rectMRUDockPos;
  DWORD m_dwMRUFloatStyle = 0;
  CPoint m_ptMRUFloatPos;
  CDWordArray m_arrBarID;  // dock bars only
  CControlBar* m_pBar = nullptr;  // while the state is applied
};

class CDockState : public CObject {
  DECLARE_DYNAMIC(CDockState)
 public:
  ~CDockState() override { Clear(); }
  void Clear();
  // The stored screen size; a state is scaled only when it is known and differs.
  CSize GetScreenSize() const { return m_sizeScreen; }
  void SetScreenSize(CSize size) { m_sizeScreen = size; }
  // Scales positions saved on a screen of another size to this one.
  void ScalePositions();

  CArray<CControlBarInfo*, CControlBarInfo*> m_arrBarInfo;

 private:
  CSize m_sizeScreen;
};
