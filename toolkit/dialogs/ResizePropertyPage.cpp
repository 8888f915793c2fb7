#include "toolkit/dialogs/ResizePropertyPage.h"

IMPLEMENT_DYNAMIC(CXTResizePropertyPage, CPropertyPage)

CXTResizePropertyPage::CXTResizePropertyPage(UINT nIDTemplate, UINT nIDCaption, UINT nFlags)
    : CXTResizeWindow<CPropertyPage>(nFlags | XT_RESIZE_NOGRIP, nIDTemplate, nIDCaption), m_nDialogID(nIDTemplate) {}

BOOL CXTResizePropertyPage::OnInitDialog() {
  CPropertyPage::OnInitDialog();
  Initialize();
  EnableToolTips(TRUE);
  return TRUE;
}
