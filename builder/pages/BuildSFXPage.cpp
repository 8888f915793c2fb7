#include "BuildSFXPage.h"

#include <shellapi.h>

#include "MyFileUtility.h"
#include "PageAnchors.h"
#include "SelfExtractorBuild.h"
#include "app/BuilderGlobals.h"
#include "builder_resource.h"
#include "classlib/dataexchange.h"
#include "classlib/dc.h"
#include "classlib/winapp.h"
#include "dialogs/LiteZipPasswrdCallback.h"
#include "dialogs/WarnMessageBoxOnOff.h"
#include "tips/BalloonTipWnd.h"
#include "toolkit/common/SharedState.h"

IMPLEMENT_DYNAMIC(CBuildSFXPage, CXTResizePropertyPage)

void CBuildSFXPage::OpenWithShell(const char* path) {
  ShellExecuteA(nullptr, nullptr, path, nullptr, nullptr, SW_SHOWNORMAL);
}

BEGIN_MESSAGE_MAP(CBuildSFXPage, CXTResizePropertyPage)
  ON_WM_PAINT()
  ON_BN_CLICKED(IDC_BUILD_TEST, OnTest)
END_MESSAGE_MAP()

namespace {

constexpr PageAnchor kAnchors[] = {
    {IDC_BUILD_TITLE, true},          {IDC_BUILD_TITLE_LINE, true},      {IDC_BUILD_DECOMPRESSING, true},
    {IDC_BUILD_ENCRYPTING, true},     {IDC_BUILD_SECURING_LABEL, true},  {IDC_BUILD_OVERALL_BAR, true},
    {IDC_BUILD_ENTRIES_BAR, true},    {IDC_BUILD_TEST, false},           {IDC_BUILD_ITEM_PERCENT, false},
    {IDC_BUILD_ENTRIES_PERCENT, false}, {IDC_BUILD_ENTRY_READ, false}, {IDC_BUILD_APPENDED_PERCENT, false},
};

}  // namespace

CBuildSFXPage::CBuildSFXPage() : CBuildSFXPage(LoadStubImage(AfxGetResourceHandle()), OpenWithShell) {}

CBuildSFXPage::CBuildSFXPage(const StubImage& stub, ProgramLauncher launch)
    : CXTResizePropertyPage(IDD_BUILD_PAGE), stub_(stub), launch_(launch), presenter_(*this) {}

CBuildSFXPage::~CBuildSFXPage() {
  if (greyZipIcon_) DestroyIcon(greyZipIcon_);
  if (greySecuredIcon_) DestroyIcon(greySecuredIcon_);
}

void CBuildSFXPage::DoDataExchange(CDataExchange* pDX) {
  CXTResizePropertyPage::DoDataExchange(pDX);
  DDX_Control(pDX, IDC_BUILD_ZIP_ICON, zipIconPlace_);
  DDX_Control(pDX, IDC_BUILD_SECURED_ICON, securedIconPlace_);
  DDX_Control(pDX, IDC_BUILD_ENTRIES_BAR, entriesBar_);
  DDX_Control(pDX, IDC_BUILD_OVERALL_BAR, overallBar_);
  DDX_Control(pDX, IDC_BUILD_TEST, testButton_);
}

BOOL CBuildSFXPage::OnInitDialog() {
  CXTResizePropertyPage::OnInitDialog();
  AnchorPageControls(*this, kAnchors);
  presenter_.ShowIdle();
  initialised_ = true;
  const HINSTANCE resources = AfxGetResourceHandle();
  zipIcon_ = LoadIconA(resources, MAKEINTRESOURCEA(IDR_MAINFRAME));
  securedIcon_ = LoadIconA(resources, MAKEINTRESOURCEA(IDI_BUILD_SECURED));
  greyZipIcon_ = CMyFileUtility::CreateGrayIcon(m_hWnd, zipIcon_);
  greySecuredIcon_ = CMyFileUtility::CreateGrayIcon(m_hWnd, securedIcon_);
  ShowIcons(greyZipIcon_, greySecuredIcon_);
  return TRUE;
}

void CBuildSFXPage::ShowIcons(HICON zip, HICON secured) {
  zipIconPlace_.SetIcon(zip);
  securedIconPlace_.SetIcon(secured);
}

BOOL CBuildSFXPage::OnSetActive() {
  if (initialised_) return CXTResizePropertyPage::OnSetActive();
  ShowNotCreatedBox();
  return FALSE;
}

int CBuildSFXPage::RunBuild(ProjectSettings* settings) {
  if (!settings || !initialised_ || Builder().buildRunning) return 0;
  // The build pumps messages: it reads its own copy, so nothing a message
  // does to the project record can change or free what it is reading.
  BuildRunningScope running;
  ProjectSettings copy = *settings;
  presenter_.BuildStarting(copy.outputName);
  const int built = BuildSelfExtractingProgram(AfxGetInstanceHandle(), copy, stub_, presenter_);
  settings->entriesFound = copy.entriesFound;
  return built;
}

void CBuildSFXPage::OnPaint() { CPaintDC paint(this); }

void CBuildSFXPage::OnTest() { presenter_.TestPressed(); }

void CBuildSFXPage::SetText(int control, const std::string& text) { ::SetDlgItemTextA(m_hWnd, control, text.c_str()); }

std::string CBuildSFXPage::Text(int control) {
  char text[512] = {};
  ::GetDlgItemTextA(m_hWnd, control, text, sizeof text);
  return text;
}

void CBuildSFXPage::Enable(int control, bool enabled) { ::EnableWindow(::GetDlgItem(m_hWnd, control), enabled); }

void CBuildSFXPage::Show(int control, bool shown) {
  ::ShowWindow(::GetDlgItem(m_hWnd, control), shown ? SW_SHOW : SW_HIDE);
}

void CBuildSFXPage::SetRange(int progressBar, int highest) {
  ::SendDlgItemMessageA(m_hWnd, progressBar, PBM_SETRANGE32, 0, highest);
}

void CBuildSFXPage::SetPosition(int progressBar, int position) {
  ::SendDlgItemMessageA(m_hWnd, progressBar, PBM_SETPOS, position, 0);
}

void CBuildSFXPage::UseBoldFont(int control) {
  ::SendDlgItemMessageA(m_hWnd, control, WM_SETFONT,
                        reinterpret_cast<WPARAM>(GetSharedState().GetFont(CXTSharedState::kFontBold).m_hObject),
                        TRUE);
}

void CBuildSFXPage::ShowIconsInColour() { ShowIcons(zipIcon_, securedIcon_); }

std::string CBuildSFXPage::LoadText(int id) {
  CString text;
  text.LoadString(id);
  return static_cast<LPCSTR>(text);
}

void CBuildSFXPage::ShowFailureBox(const std::string& errorText) {
  CWarnMessageBoxOnOff box(IDS_WARNING, IDS_BUILD_ERROR, "BuildSFXErrorGenerated", this, errorText.c_str(), TRUE);
  box.OfferOkOnly();  // it tells a failure and asks nothing
  box.DoModal();
}

void CBuildSFXPage::ShowError(int stringId) { AfxMessageBox(stringId, MB_OK | MB_ICONERROR); }

bool CBuildSFXPage::PromptSourcePassword(std::string* password) {
  CLiteZipPasswrdCallback prompt(this);
  if (prompt.DoModal() != IDOK) return false;
  *password = static_cast<LPCSTR>(prompt.password());
  return true;
}

bool CBuildSFXPage::AskAgainForPassword() {
  CWarnMessageBoxOnOff box(IDS_WARNING, IDS_ENCRYPTED_MAY_BE_SKIPPED, "PasswordedFileWillBeSkipped", this, nullptr,
                           TRUE);
  return box.DoModal() == IDOK;
}

void CBuildSFXPage::ShowSuccessBalloon() {
  CWnd* main = Builder().mainWindow;
  ShowInfoBalloon(testButton_.m_hWnd, main, IDS_BUILD_SUCCEEDED_TITLE, IDS_BUILD_SUCCEEDED_TEXT, main == nullptr);
}

// Keeps the windows painted and answering while the build works.
void CBuildSFXPage::PumpMessages() {
  CWnd* main = Builder().mainWindow;
  const HWND window = main ? main->m_hWnd : ::GetAncestor(m_hWnd, GA_ROOT);
  MSG message;
  while (::PeekMessageA(&message, window, 0, 0, PM_REMOVE)) {
    if (main && main->IsDialogMessage(&message)) continue;
    ::TranslateMessage(&message);
    ::DispatchMessageA(&message);
  }
}

bool CBuildSFXPage::FileExists(const std::string& path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

void CBuildSFXPage::Launch(const std::string& path) { launch_(path.c_str()); }

void CBuildSFXPage::ShowNotCreatedBox() {
  CWarnMessageBoxOnOff box(IDS_OUTPUT_NOT_YET_CREATED_TITLE, IDS_OUTPUT_NOT_YET_CREATED_TEXT,
                           "BrennicorOutputFileNotCreatedYet", this, nullptr, TRUE);
  box.DoModal();
}
