#include "toolkit/dialogs/SheetTabCtrl.h"

#include "toolkit/common/SharedState.h"
#include "toolkit/controls/FlickerFreePaint.h"

IMPLEMENT_DYNAMIC(CXTSheetTabCtrl, CTabCtrl)

BEGIN_MESSAGE_MAP(CXTSheetTabCtrl, CTabCtrl)
  ON_WM_ERASEBKGND()
  ON_WM_PAINT()
END_MESSAGE_MAP()

CXTSheetTabCtrl::CXTSheetTabCtrl() : m_crBack(GetSharedState().m_clrFace) {}

BOOL CXTSheetTabCtrl::OnEraseBkgnd(CDC*) { return TRUE; }

void CXTSheetTabCtrl::OnPaint() { PaintThroughMemDC(*this, m_crBack); }
