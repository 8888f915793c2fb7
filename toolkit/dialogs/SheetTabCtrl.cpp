#include "toolkit/dialogs/SheetTabCtrl.h"

IMPLEMENT_DYNAMIC(CXTSheetTabCtrl, CTabCtrl)

BEGIN_MESSAGE_MAP(CXTSheetTabCtrl, CTabCtrl)
END_MESSAGE_MAP()

CXTSheetTabCtrl::CXTSheetTabCtrl() : m_crBack(::GetSysColor(COLOR_BTNFACE)) {}
