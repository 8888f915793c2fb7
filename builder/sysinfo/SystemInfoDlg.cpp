#include "SystemInfoDlg.h"

#include "SystemReport.h"
#include "builder_resource.h"
#include "classlib/dataexchange.h"
#include "toolkit/common/SharedState.h"

IMPLEMENT_DYNAMIC(CMySystemInfoDlg, CDialog)

CMySystemInfoDlg::CMySystemInfoDlg(CWnd* parent) : CDialog(IDD_SYSTEM_INFO, parent) {}

void CMySystemInfoDlg::DoDataExchange(CDataExchange* pDX) {
  CDialog::DoDataExchange(pDX);
  DDX_Control(pDX, IDC_SYSINFO_REPORT, report_);
}

BOOL CMySystemInfoDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  report_.SetWindowText(BuildSystemReport().c_str());
  if (CWnd* group = GetDlgItem(IDC_SYSINFO_GROUP))
    group->SetFont(&GetSharedState().GetFont(CXTSharedState::kFontBold), TRUE);
  return TRUE;
}
