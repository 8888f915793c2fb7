#include "PasswordVerifyDlg.h"

#include "stub_resource.h"

const StubMessageEntry<CPasswordVerifyDlg> CPasswordVerifyDlg::kMessageMap[] = {
    {WM_INITDIALOG, 0, 0, 0, &CPasswordVerifyDlg::OnInitDialog},
    {WM_CTLCOLORSTATIC, 0, 0, 0, &CPasswordVerifyDlg::OnColourStatic},
    {WM_COMMAND, EN_CHANGE, IDC_PASSWORD, IDC_PASSWORD, &CPasswordVerifyDlg::OnPasswordChange},
    {WM_COMMAND, kStubAnyCode, IDOK, IDCANCEL, &CPasswordVerifyDlg::EndWithCommand},
};
const size_t CPasswordVerifyDlg::kMessageMapSize = sizeof kMessageMap / sizeof kMessageMap[0];

namespace {
constexpr int kRowWaiting = 0;
constexpr int kRowTyped = 16;
}  // namespace

CPasswordVerifyDlg::CPasswordVerifyDlg() : CStubDialogImpl(IDD_STUB_PASSWORD) {}

CPasswordVerifyDlg::~CPasswordVerifyDlg() { SecureZeroMemory(m_password, sizeof m_password); }

INT_PTR CPasswordVerifyDlg::OnColourStatic(WPARAM dc, LPARAM control) {
    return m_link.ColourFor(dc, control);
}

INT_PTR CPasswordVerifyDlg::OnInitDialog(WPARAM, LPARAM) {
    CentreOnOwner();
    SecureZeroMemory(m_password, sizeof m_password);
    SendDlgItemMessageA(GetHwnd(), IDC_PASSWORD, EM_LIMITTEXT, kMaxPasswordLength, 0);
    m_light.AttachLight(GetItem(IDC_PASSWORD_LIGHT), GetInstance());
    m_light.SetCell(kRowWaiting, 1, 0);
    m_light.SetBlink(200);
    m_link.AttachLink(GetItem(IDC_PASSWORD_LINK));
    return TRUE;
}

INT_PTR CPasswordVerifyDlg::OnPasswordChange(WPARAM, LPARAM) {
    SecureZeroMemory(m_password, sizeof m_password);
    GetDlgItemTextA(GetHwnd(), IDC_PASSWORD, m_password, sizeof m_password);
    m_light.SetCell(m_password[0] != '\0' ? kRowTyped : kRowWaiting, m_light.Column(), 0);
    m_light.SetBlink(500);
    return TRUE;
}
