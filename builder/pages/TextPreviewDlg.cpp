#include "TextPreviewDlg.h"

#include <richedit.h>

#include "builder_resource.h"
#include "classlib/dataexchange.h"
#include "classlib/winapp.h"

IMPLEMENT_DYNAMIC(CSFXTextPreviewDlg, CDialog)

CSFXTextPreviewDlg::CSFXTextPreviewDlg(UINT templateId, const std::string& text, CWnd* parent)
    : CDialog(templateId, parent), text_(text) {
  AfxInitRichEdit2();
}

void CSFXTextPreviewDlg::DoDataExchange(CDataExchange* pDX) {
  CDialog::DoDataExchange(pDX);
  DDX_Control(pDX, IDC_PREVIEW_TEXT, textEdit_);
}

// The built program sets its texts the same way: RTF is recognised and rendered.
BOOL CSFXTextPreviewDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  SETTEXTEX how = {ST_DEFAULT, CP_ACP};
  textEdit_.SendMessage(EM_SETTEXTEX, reinterpret_cast<WPARAM>(&how), reinterpret_cast<LPARAM>(text_.c_str()));
  return TRUE;
}
