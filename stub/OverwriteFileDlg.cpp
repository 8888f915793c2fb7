#include "OverwriteFileDlg.h"

#include "DosDateTime.h"
#include "ExtractCallback.h"
#include "stub_resource.h"

#include <shellapi.h>

const StubMessageEntry<COverwriteFileDlg> COverwriteFileDlg::kMessageMap[] = {
    {WM_INITDIALOG, 0, 0, 0, &COverwriteFileDlg::OnInitDialog},
    {WM_COMMAND, BN_CLICKED, IDOK, IDCANCEL, &COverwriteFileDlg::OnAnswer},
    {WM_COMMAND, BN_CLICKED, IDC_ANSWER_YES, IDC_ANSWER_ALL, &COverwriteFileDlg::OnAnswer},
    {WM_DESTROY, 0, 0, 0, &COverwriteFileDlg::OnDestroy},
};
const size_t COverwriteFileDlg::kMessageMapSize = sizeof kMessageMap / sizeof kMessageMap[0];

namespace {
struct AnswerOfButton {
    int button;
    int answer;
};
// Command 1 (Enter without a focused button) ends without changing the answer.
const AnswerOfButton kAnswers[] = {
    {IDC_ANSWER_YES, kAnswerYes},
    {IDC_ANSWER_NO, kAnswerNo},
    {IDC_ANSWER_ALL, kAnswerAll},
    {IDCANCEL, kAnswerCancel},
};
}  // namespace

COverwriteFileDlg::COverwriteFileDlg() : CStubDialogImpl(IDD_STUB_OVERWRITE) {}

void COverwriteFileDlg::Set(std::string name, uint64_t size, uint32_t dosDateTime) {
    m_name = std::move(name);
    m_size = size;
    m_dosDateTime = dosDateTime;
}

void COverwriteFileDlg::SetFromExistingFile(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data = {};
    GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data);
    const uint64_t size = (static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    Set(path, size, GetFileDosDateTime(path.c_str()));
}

std::string COverwriteFileDlg::SizeText(uint64_t size) {
    return std::to_string(size) + " bytes";
}

INT_PTR COverwriteFileDlg::OnInitDialog(WPARAM, LPARAM) {
    CentreOnOwner();
    SetDlgItemTextA(GetHwnd(), IDC_EXISTING_NAME, m_name.c_str());
    SetDlgItemTextA(GetHwnd(), IDC_EXISTING_SIZE, SizeText(m_size).c_str());
    const std::string time = m_dosDateTime != 0 ? FormatDosDateTime(m_dosDateTime, true) : "";
    SetDlgItemTextA(GetHwnd(), IDC_EXISTING_TIME, time.c_str());
    SHFILEINFOA info = {};
    if (SHGetFileInfoA(m_name.c_str(), FILE_ATTRIBUTE_NORMAL, &info, sizeof info,
                       SHGFI_ICON | SHGFI_USEFILEATTRIBUTES)) {
        m_icon = info.hIcon;
        SendDlgItemMessageA(GetHwnd(), IDC_EXISTING_ICON, STM_SETICON,
                            reinterpret_cast<WPARAM>(m_icon), 0);
    }
    m_answer = kAnswerNo;
    // The focus on the default "No", so Enter never overwrites by accident.
    SetFocus(GetItem(IDC_ANSWER_NO));
    return FALSE;
}

INT_PTR COverwriteFileDlg::OnAnswer(WPARAM wParam, LPARAM) {
    const int button = LOWORD(wParam);
    for (const AnswerOfButton& entry : kAnswers)
        if (entry.button == button)
            m_answer = entry.answer;
    End(button);
    return TRUE;
}

INT_PTR COverwriteFileDlg::OnDestroy(WPARAM, LPARAM) {
    if (m_icon != nullptr)
        DestroyIcon(m_icon);
    m_icon = nullptr;
    return FALSE;
}
