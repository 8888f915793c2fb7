#include "toolkit/color/ColorPageStandard.h"

#include "toolkit/color/ColorDialog.h"
#include "toolkit/color/ColorMessages.h"
#include "toolkit/common/MemDC.h"
#include "toolkit/common/SharedState.h"
#include "toolkit_resource.h"

BEGIN_MESSAGE_MAP(CXTColorPageStandard, CPropertyPage)
ON_WM_ERASEBKGND()
ON_WM_PAINT()
ON_MESSAGE(XTWM_COLOR_SETNEW, OnSetNewColor)
END_MESSAGE_MAP()

CXTColorPageStandard::CXTColorPageStandard(CXTColorDialog* pSheet)
    : CPropertyPage(IDD_XT_COLOR_STANDARD), m_pSheet(pSheet), m_honeycomb(pSheet) {
  m_psp.dwFlags &= ~PSP_HASHELP;
}

void CXTColorPageStandard::DoDataExchange(CDataExchange* pDX) {
  CPropertyPage::DoDataExchange(pDX);
  DDX_Control(pDX, IDC_XT_HONEYCOMB, m_honeycomb);
}

BOOL CXTColorPageStandard::OnEraseBkgnd(CDC*) { return TRUE; }

void CXTColorPageStandard::OnPaint() {
  CPaintDC paint(this);
  CRect client;
  GetClientRect(&client);
  CXTMemDC dc(&paint, &client, GetSharedState().m_clrFace);
}

LRESULT CXTColorPageStandard::OnSetNewColor(WPARAM wParam, LPARAM) {
  m_pSheet->SetNewColor(static_cast<COLORREF>(wParam), FALSE);
  return 0;
}
