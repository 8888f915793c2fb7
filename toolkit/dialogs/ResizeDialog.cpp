#include "toolkit/dialogs/ResizeDialog.h"

IMPLEMENT_DYNAMIC(CXTResizeDialog, CDialog)

CXTResizeDialog::CXTResizeDialog(UINT nIDTemplate, CWnd* pParentWnd, UINT nFlags)
    : CXTResizeWindow<CDialog>(nFlags, nIDTemplate, pParentWnd), m_nDialogID(nIDTemplate) {}

BOOL CXTResizeDialog::OnInitDialog() {
  if (!(GetStyle() & WS_THICKFRAME)) SetFlag(XT_RESIZE_NOGRIP);
  CDialog::OnInitDialog();
  Initialize();
  EnableToolTips(TRUE);
  return TRUE;
}
