#include "RichTextDlg.h"

#include "stub_resource.h"

#include <richedit.h>

const StubMessageEntry<CRichTextDlg> CRichTextDlg::kMessageMap[] = {
    {WM_INITDIALOG, 0, 0, 0, &CRichTextDlg::OnInitDialog},
    {WM_COMMAND, kStubAnyCode, IDOK, IDCANCEL, &CRichTextDlg::EndWithCommand},
};
const size_t CRichTextDlg::kMessageMapSize = sizeof kMessageMap / sizeof kMessageMap[0];

// EM_SETTEXTEX takes the text as rich text when it is RTF, as plain text
// otherwise. The focus goes to OK, so the text is not shown selected.
INT_PTR CRichTextDlg::OnInitDialog(WPARAM, LPARAM) {
    CentreOnOwner();
    SETTEXTEX how = {ST_DEFAULT, CP_ACP};
    SendMessageA(GetItem(m_textControl), EM_SETTEXTEX, reinterpret_cast<WPARAM>(&how),
                 reinterpret_cast<LPARAM>(m_text.c_str()));
    SetFocus(GetItem(IDOK));
    return FALSE;
}

CAboutTextDlg::CAboutTextDlg(std::string text)
    : CRichTextDlg(IDD_STUB_ABOUT, IDC_ABOUT_TEXT, std::move(text)) {}

CCustomMessageDlg::CCustomMessageDlg(std::string text)
    : CRichTextDlg(IDD_STUB_CUSTOM_MESSAGE, IDC_CUSTOM_MESSAGE_TEXT, std::move(text)) {}
