#include "PasswordProtectionPage.h"

#include "MyFileUtility.h"
#include "PasswordCheck.h"
#include "app/BuilderGlobals.h"
#include "builder_resource.h"
#include "classlib/dataexchange.h"
#include "classlib/dc.h"
#include "classlib/propertysheet.h"
#include "classlib/winapp.h"
#include "dialogs/TransparentBitmap.h"
#include "dialogs/WarnMessageBoxOnOff.h"
#include "toolkit/common/SharedState.h"

IMPLEMENT_DYNAMIC(CPasswordProtectionPage, CXTResizePropertyPage)

BEGIN_MESSAGE_MAP(CPasswordProtectionPage, CXTResizePropertyPage)
  ON_WM_PAINT()
  ON_BN_CLICKED(IDC_PASSWORD_PROTECT, OnProtectClicked)
  ON_BN_CLICKED(IDC_PASSWORD_MASK, OnMaskClicked)
  ON_EN_CHANGE(IDC_PASSWORD_PAGE_EDIT, OnPasswordChange)
  ON_EN_CHANGE(IDC_PASSWORD_VERIFY_EDIT, OnVerificationChange)
  ON_CBN_SELCHANGE(IDC_PASSWORD_STRENGTH, OnStrengthChange)
END_MESSAGE_MAP()

namespace {

constexpr const char* kStrengthRows[] = {
    "Use 128bit AES STRONG Encryption",
    "Use 192bit AES STRONG Encryption",
    "Use 256bit AES STRONG Encryption",
};
constexpr int kStrengthCount = sizeof kStrengthRows / sizeof kStrengthRows[0];

constexpr int kStretching[] = {IDC_PASSWORD_STRENGTH_GROUP, IDC_PASSWORD_SECURING_GROUP, IDC_PASSWORD_PAGE_EDIT,
                               IDC_PASSWORD_VERIFY_EDIT,    IDC_PASSWORD_STRENGTH,       IDC_PASSWORD_ADVICE};
// Controls that are live only while protection is on.
constexpr int kProtectionControls[] = {IDC_PASSWORD_PAGE_EDIT, IDC_PASSWORD_VERIFY_EDIT, IDC_PASSWORD_STRENGTH,
                                       IDC_PASSWORD_ADVICE,    IDC_PASSWORD_VERIFY_LABEL, IDC_PASSWORD_PAGE_LABEL,
                                       IDC_PASSWORD_PAGE_ICON, IDC_PASSWORD_MASK};
constexpr char kMaskCharacter = 'X';

struct PasswordBox {
  UINT textId;
  const char* valueName;
  int focus;  // the edit a Yes sends the user back to
};
constexpr PasswordBox kMismatchBox = {IDS_PASSWORDS_DIFFER, "BrennicorPasswordsDoNotMatch", IDC_PASSWORD_VERIFY_EDIT};
constexpr PasswordBox kEmptyBox = {IDS_EMPTY_PASSWORD, "BrennicorEmptyPasswords", IDC_PASSWORD_PAGE_EDIT};

}  // namespace

CPasswordProtectionPage::CPasswordProtectionPage(LPCSTR caption, LPCSTR) : CXTResizePropertyPage(IDD_PASSWORD_PAGE) {
  if (caption) SetTabCaption(caption);
}

CPasswordProtectionPage::~CPasswordProtectionPage() {
  if (greyIcon_) ::DestroyIcon(greyIcon_);
  if (picture_) ::DeleteObject(picture_);
}

void CPasswordProtectionPage::DoDataExchange(CDataExchange* pDX) {
  CXTResizePropertyPage::DoDataExchange(pDX);
  DDX_Control(pDX, IDC_PASSWORD_PAGE_EDIT, passwordEdit_);
  DDX_Control(pDX, IDC_PASSWORD_VERIFY_EDIT, verificationEdit_);
  DDX_Control(pDX, IDC_PASSWORD_PROTECT, protectBox_);
  DDX_Control(pDX, IDC_PASSWORD_MASK, maskBox_);
  DDX_Control(pDX, IDC_PASSWORD_STRENGTH, strengthList_);
  DDX_Control(pDX, IDC_PASSWORD_PAGE_ICON, iconPlace_);
}

BOOL CPasswordProtectionPage::OnInitDialog() {
  CXTResizePropertyPage::OnInitDialog();
  AnchorControls();
  initialised_ = true;
  const HFONT bold = static_cast<HFONT>(GetSharedState().GetFont(CXTSharedState::kFontBold).m_hObject);
  for (int control : {IDC_PASSWORD_PROTECT, IDC_PASSWORD_STRENGTH_GROUP})
    ::SendDlgItemMessageA(m_hWnd, control, WM_SETFONT, reinterpret_cast<WPARAM>(bold), TRUE);
  for (const char* row : kStrengthRows) strengthList_.AddString(row);
  const HINSTANCE resources = AfxGetResourceHandle();
  icon_ = ::LoadIconA(resources, MAKEINTRESOURCEA(IDI_PASSWORD_PAGE));
  greyIcon_ = CMyFileUtility::CreateGrayIcon(m_hWnd, icon_);
  picture_ = ::LoadBitmapA(resources, MAKEINTRESOURCEA(IDB_PASSWORD_PAGE_PICTURE));
  ShowMembers();
  return TRUE;
}

void CPasswordProtectionPage::AnchorControls() {
  const CXTAnchorRect stretch(0, 0, 1, 0), followRight(1, 0, 1, 0);
  for (int control : kStretching) SetAnchor(control, stretch);
  SetAnchor(IDC_PASSWORD_PICTURE_PLACE, followRight);
}

BOOL CPasswordProtectionPage::OnSetActive() {
  ApplyEnabledStates();
  return CXTResizePropertyPage::OnSetActive();
}

BOOL CPasswordProtectionPage::OnKillActive() {
  if (ValidatePasswords() == 0) return FALSE;
  return CXTResizePropertyPage::OnKillActive();
}

void CPasswordProtectionPage::RecordToPage(const ProjectSettings& record, int) {
  masked_ = record.maskPassword != 0;
  password_ = record.password;
  protected_ = record.passwordProtection != 0;
  aesIndex_ = record.aesStrengthIndex >= 0 && record.aesStrengthIndex < kStrengthCount ? record.aesStrengthIndex : 0;
  if (HasWindow()) ShowMembers();
}

void CPasswordProtectionPage::PageToRecord(ProjectSettings* record) {
  if (HasWindow()) {
    protected_ = protectBox_.GetCheck() == BST_CHECKED;
    masked_ = maskBox_.GetCheck() == BST_CHECKED;
    const int row = strengthList_.GetCurSel();
    if (row >= 0) aesIndex_ = row;
  }
  if (!record) return;
  record->maskPassword = masked_;
  record->password = password_;
  record->aesStrengthIndex = aesIndex_;
  record->passwordProtection = protected_;
}

void CPasswordProtectionPage::ShowMembers() {
  if (!initialised_) return;
  protectBox_.SetCheck(protected_ ? BST_CHECKED : BST_UNCHECKED);
  maskBox_.SetCheck(masked_ ? BST_CHECKED : BST_UNCHECKED);
  settingText_ = true;
  SetItemString(IDC_PASSWORD_PAGE_EDIT, password_);
  SetItemString(IDC_PASSWORD_VERIFY_EDIT, verification_);
  settingText_ = false;
  strengthList_.SetCurSel(aesIndex_);
  ApplyEnabledStates();
}

// Everything follows the protection box; the verification is live only
// while the password is shown, and the icon greys while protection is off.
void CPasswordProtectionPage::ApplyEnabledStates() {
  if (!initialised_) return;
  const bool on = protectBox_.GetCheck() == BST_CHECKED;
  masked_ = maskBox_.GetCheck() == BST_CHECKED;
  for (int control : kProtectionControls) ::EnableWindow(::GetDlgItem(m_hWnd, control), on);
  const bool verifying = on && !masked_;
  ::EnableWindow(::GetDlgItem(m_hWnd, IDC_PASSWORD_VERIFY_EDIT), verifying);
  ::EnableWindow(::GetDlgItem(m_hWnd, IDC_PASSWORD_VERIFY_LABEL), verifying);
  iconPlace_.SetIcon(on ? icon_ : greyIcon_);
  ShowPasswordsMasked();
}

// The password character alone shows only on the next paint of the text, so the texts are set again.
void CPasswordProtectionPage::ShowPasswordsMasked() {
  const char shownAs = masked_ ? kMaskCharacter : '\0';
  settingText_ = true;
  for (int control : {IDC_PASSWORD_PAGE_EDIT, IDC_PASSWORD_VERIFY_EDIT}) {
    const std::string text = ItemString(control);
    ::SendDlgItemMessageA(m_hWnd, control, EM_SETPASSWORDCHAR, static_cast<WPARAM>(shownAs), 0);
    SetItemString(control, text);
  }
  settingText_ = false;
}

void CPasswordProtectionPage::OnProtectClicked() {
  protected_ = protectBox_.GetCheck() == BST_CHECKED;
  ApplyEnabledStates();
}

void CPasswordProtectionPage::OnMaskClicked() {
  masked_ = maskBox_.GetCheck() == BST_CHECKED;
  verification_ = ItemString(IDC_PASSWORD_VERIFY_EDIT);
  ApplyEnabledStates();
}

void CPasswordProtectionPage::OnPasswordChange() {
  if (settingText_) return;
  password_ = ItemString(IDC_PASSWORD_PAGE_EDIT);
  if (password_.size() < kPasswordKeptChars) return;
  password_.resize(kPasswordKeptChars);
  CWarnMessageBoxOnOff box(IDS_PASSWORD_TOO_LONG_TITLE, IDS_PASSWORD_TOO_LONG_TEXT, "BrennicorPasswordTooLong", this,
                           nullptr, TRUE);
  box.DoModal();
}

void CPasswordProtectionPage::OnVerificationChange() {
  if (!settingText_) verification_ = ItemString(IDC_PASSWORD_VERIFY_EDIT);
}

void CPasswordProtectionPage::OnStrengthChange() {
  const int row = strengthList_.GetCurSel();
  if (row >= 0) aesIndex_ = row;
}

PasswordProblem CPasswordProtectionPage::CurrentProblem() {
  if (!HasWindow()) return protected_ && password_.empty() ? PasswordProblem::kEmpty : PasswordProblem::kNone;
  protected_ = protectBox_.GetCheck() == BST_CHECKED;
  masked_ = maskBox_.GetCheck() == BST_CHECKED;
  verification_ = ItemString(IDC_PASSWORD_VERIFY_EDIT);
  if (!protected_) return PasswordProblem::kNone;
  // The whole typed texts are compared; the kept password is their start.
  return FindPasswordProblem(masked_ != 0, ItemString(IDC_PASSWORD_PAGE_EDIT), verification_);
}

int CPasswordProtectionPage::ValidatePasswords(CPropertySheet* sheet) {
  const PasswordProblem problem = CurrentProblem();
  if (problem == PasswordProblem::kNone) return 1;
  const PasswordBox& which = problem == PasswordProblem::kMismatch ? kMismatchBox : kEmptyBox;
  CWnd* owner = HasWindow() ? this : Builder().mainWindow;
  CWarnMessageBoxOnOff box(IDS_WARNING, which.textId, which.valueName, owner, nullptr, TRUE);
  const INT_PTR answer = box.DoModal();
  if (answer == IDOK) return KeepUserHere(sheet, which.focus);
  if (answer != IDNO) return 0;
  SwitchProtectionOff();
  return 1;
}

int CPasswordProtectionPage::KeepUserHere(CPropertySheet* sheet, int control) {
  if (!sheet && HasWindow()) sheet = GetParentSheet();
  if (sheet && sheet->GetActivePage() != this) sheet->SetActivePage(this);
  if (HasWindow()) ::SetFocus(::GetDlgItem(m_hWnd, control));
  return 0;
}

void CPasswordProtectionPage::SwitchProtectionOff() {
  protected_ = 0;
  if (!HasWindow()) return;
  protectBox_.SetCheck(BST_UNCHECKED);
  protectBox_.Invalidate();
  ApplyEnabledStates();
}

std::string CPasswordProtectionPage::ItemString(int control) const {
  const HWND item = ::GetDlgItem(m_hWnd, control);
  std::string text(static_cast<size_t>(::GetWindowTextLengthA(item)) + 1, '\0');
  text.resize(static_cast<size_t>(::GetWindowTextA(item, &text[0], static_cast<int>(text.size()))));
  return text;
}

void CPasswordProtectionPage::SetItemString(int control, const std::string& text) {
  ::SetDlgItemTextA(m_hWnd, control, text.c_str());
}

void CPasswordProtectionPage::OnPaint() {
  CPaintDC dc(this);
  const HWND place = ::GetDlgItem(m_hWnd, IDC_PASSWORD_PICTURE_PLACE);
  if (!place || !picture_) return;
  RECT rect;
  ::GetWindowRect(place, &rect);
  ::MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<POINT*>(&rect), 2);
  DrawTransparentBitmap(dc.m_hDC, picture_, rect.left, rect.top, kTransparentWhite);
}
