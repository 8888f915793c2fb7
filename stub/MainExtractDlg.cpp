#include "MainExtractDlg.h"

#include "LaunchAfterExtract.h"
#include "OverwriteFileDlg.h"
#include "PasswordVerifyDlg.h"
#include "RichTextDlg.h"
#include "StubMessages.h"
#include "StubPaths.h"
#include "stub_resource.h"

#include <commctrl.h>
#include <shlobj.h>

#include <cstring>

const StubMessageEntry<CMainExtractDlg> CMainExtractDlg::kMessageMap[] = {
    {WM_INITDIALOG, 0, 0, 0, &CMainExtractDlg::OnInitDialog},
    {WM_CTLCOLORSTATIC, 0, 0, 0, &CMainExtractDlg::OnColourStatic},
    {WM_COMMAND, kStubAnyCode, IDOK, IDOK, &CMainExtractDlg::OnUnzip},
    {WM_COMMAND, kStubAnyCode, IDCANCEL, IDCANCEL, &CMainExtractDlg::OnCancel},
    {WM_COMMAND, EN_CHANGE, IDC_DESTINATION, IDC_DESTINATION, &CMainExtractDlg::OnDestinationChange},
    {WM_COMMAND, BN_CLICKED, IDC_BROWSE, IDC_BROWSE, &CMainExtractDlg::OnBrowse},
    {WM_COMMAND, BN_CLICKED, IDC_RECREATE_FOLDERS, IDC_RECREATE_FOLDERS, &CMainExtractDlg::OnOptionClicked},
    {WM_COMMAND, BN_CLICKED, IDC_OVERWRITE, IDC_OVERWRITE, &CMainExtractDlg::OnOptionClicked},
    {WM_COMMAND, BN_CLICKED, IDC_LAUNCH, IDC_LAUNCH, &CMainExtractDlg::OnOptionClicked},
    {WM_COMMAND, kStubAnyCode, IDC_ABOUT, IDC_ABOUT, &CMainExtractDlg::OnAbout},
};
const size_t CMainExtractDlg::kMessageMapSize = sizeof kMessageMap / sizeof kMessageMap[0];

namespace {

// The banner's place in the dialog, in dialog units.
constexpr int kBannerWidth = 290, kBannerHeight = 38;

// Light rows (pixel offsets into bitmap 215).
constexpr int kRowWaiting = 0;
constexpr int kRowReady = 16;
constexpr int kRowStarting = 32;

// Controls shown only while extracting, and those locked meanwhile. Cancel
// stays: it stops the extraction after the entry in work.
const int kProgressControls[] = {IDC_PROGRESS, IDC_CURRENT_NAME, IDC_PROCESSING_LABEL,
                                 IDC_OPERATION_GROUP};
const int kInputControls[] = {IDOK,          IDC_ABOUT,     IDC_BROWSE,          IDC_DESTINATION,
                              IDC_OVERWRITE, IDC_RECREATE_FOLDERS, IDC_LAUNCH};

bool IsSuccess(int result) { return result == kExtractSuccess || result == kExtractSuccessAlternate; }

}  // namespace

CMainExtractDlg::CMainExtractDlg(HINSTANCE instance, const StubSettings& settings,
                                 std::string programPath)
    : CStubDialogImpl(IDD_STUB_MAIN),
      m_instance(instance),
      m_autoRun(settings.autoRun),
      m_overwrite(settings.overwrite),
      m_recreateFolders(settings.recreateFolders),
      m_destination(settings.destination),
      m_launchCommand(settings.launchCommand),
      m_customMessage(settings.customMessage),
      m_aboutText(settings.aboutText),
      m_programPath(std::move(programPath)),
      m_containerOffset(settings.containerOffset),
      m_containerEnd(settings.containerEnd),
      m_checksum(settings.checksum),
      m_checkedLength(settings.checkedLength),
      m_settingsDamaged(settings.damaged) {}

CMainExtractDlg::~CMainExtractDlg() {
    if (m_bigIcon != nullptr)
        DestroyIcon(m_bigIcon);
    if (m_smallIcon != nullptr)
        DestroyIcon(m_smallIcon);
    if (m_banner != nullptr)
        DeleteObject(m_banner);
}

// The banner is drawn for 96 DPI; at a larger text size it is stretched
// smoothly to the width and height its place in the dialog has grown to.
void CMainExtractDlg::FitBanner() {
    HWND banner = GetItem(IDC_BANNER);
    RECT place = {0, 0, kBannerWidth, kBannerHeight};
    MapDialogRect(GetHwnd(), &place);
    HBITMAP picture = static_cast<HBITMAP>(LoadImageA(m_instance, MAKEINTRESOURCEA(IDB_STUB_LOGO), IMAGE_BITMAP, 0, 0, 0));
    BITMAP size = {};
    if (banner == nullptr || picture == nullptr || GetObjectA(picture, sizeof size, &size) == 0 ||
        (size.bmWidth >= place.right && size.bmHeight >= place.bottom)) {
        if (picture != nullptr)
            DeleteObject(picture);
        return;
    }
    HDC screen = GetDC(GetHwnd());
    HDC from = CreateCompatibleDC(screen), to = CreateCompatibleDC(screen);
    m_banner = CreateCompatibleBitmap(screen, place.right, place.bottom);
    HGDIOBJ oldFrom = SelectObject(from, picture), oldTo = SelectObject(to, m_banner);
    SetStretchBltMode(to, HALFTONE);
    SetBrushOrgEx(to, 0, 0, nullptr);
    StretchBlt(to, 0, 0, place.right, place.bottom, from, 0, 0, size.bmWidth, size.bmHeight, SRCCOPY);
    SelectObject(from, oldFrom);
    SelectObject(to, oldTo);
    DeleteDC(from);
    DeleteDC(to);
    ReleaseDC(GetHwnd(), screen);
    DeleteObject(picture);
    // The static keeps the picture it loaded from the template as its own.
    SendMessageA(banner, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(m_banner));
}

INT_PTR CMainExtractDlg::Run(HWND owner) { return DoModal(m_instance, owner); }

INT_PTR CMainExtractDlg::OnColourStatic(WPARAM dc, LPARAM control) {
    return m_link.ColourFor(dc, control);
}

INT_PTR CMainExtractDlg::OnInitDialog(WPARAM, LPARAM) {
    CentreOnOwner();
    m_bigIcon = static_cast<HICON>(LoadImageA(m_instance, MAKEINTRESOURCEA(IDI_STUB), IMAGE_ICON,
                                              GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON), 0));
    m_smallIcon = static_cast<HICON>(LoadImageA(m_instance, MAKEINTRESOURCEA(IDI_STUB), IMAGE_ICON,
                                                GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), 0));
    SendMessageA(GetHwnd(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_bigIcon));
    SendMessageA(GetHwnd(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_smallIcon));

    FitBanner();
    m_light.AttachLight(GetItem(IDC_MAIN_STATUS_LIGHT), m_instance);
    m_light.SetCell(kRowStarting, 1, 0);
    m_light.SetBlink(1000);
    SetDlgItemTextA(GetHwnd(), IDC_DESTINATION, m_destination.c_str());
    CheckDlgButton(GetHwnd(), IDC_OVERWRITE, m_overwrite ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(GetHwnd(), IDC_RECREATE_FOLDERS, m_recreateFolders ? BST_CHECKED : BST_UNCHECKED);
    m_launch = m_launchCommand.empty() ? 0 : 1;
    CheckDlgButton(GetHwnd(), IDC_LAUNCH, m_launch ? BST_CHECKED : BST_UNCHECKED);
    m_link.AttachLink(GetItem(IDC_MAIN_LINK));

    EnableExtractControls(false);
    if (m_autoRun)
        RunUnzipCommand();
    return TRUE;
}

INT_PTR CMainExtractDlg::OnUnzip(WPARAM, LPARAM) {
    RunUnzipCommand();
    return TRUE;
}

// While extracting, Cancel (the button, Escape, the close box) stops the
// extraction at the next report; the dialog ends once the driver returns.
INT_PTR CMainExtractDlg::OnCancel(WPARAM, LPARAM) {
    if (m_extracting)
        m_userCancelled = true;
    else
        End(kExitCancelled);
    return TRUE;
}

INT_PTR CMainExtractDlg::OnDestinationChange(WPARAM, LPARAM) {
    char text[MAX_PATH + 1] = {};
    GetDlgItemTextA(GetHwnd(), IDC_DESTINATION, text, sizeof text);
    m_destination = text;
    SetStatusState(m_destination.empty() ? 0 : 1);
    return TRUE;
}

INT_PTR CMainExtractDlg::OnBrowse(WPARAM, LPARAM) {
    const std::string folder = BrowseForDestination(m_instance, GetHwnd());
    if (!folder.empty()) {
        SetDlgItemTextA(GetHwnd(), IDC_DESTINATION, folder.c_str());
        SetStatusState(1);
    }
    return TRUE;
}

INT_PTR CMainExtractDlg::OnOptionClicked(WPARAM wParam, LPARAM) {
    const int id = LOWORD(wParam);
    const int ticked = IsDlgButtonChecked(GetHwnd(), id) == BST_CHECKED ? 1 : 0;
    int& option = id == IDC_RECREATE_FOLDERS ? m_recreateFolders : id == IDC_OVERWRITE ? m_overwrite : m_launch;
    option = ticked;
    return TRUE;
}

INT_PTR CMainExtractDlg::OnAbout(WPARAM, LPARAM) {
    CAboutTextDlg about(m_aboutText);
    about.DoModal(m_instance, GetActiveWindow());
    return TRUE;
}

int CMainExtractDlg::ExitCodeOf(int result) const {
    if (m_userCancelled || result == kExtractCancelled)
        return kExitCancelled;
    if (!IsSuccess(result))
        return kExitFailed;
    return m_userSkipped ? kExitSkipped : kExitExtracted;
}

void CMainExtractDlg::RunUnzipCommand() {
    if (m_destination.empty()) {
        ShowMessageById(nullptr, m_instance, IDS_DESTINATION_ERROR, IDS_DESTINATION_NEEDED, MB_ICONERROR);
        return;
    }
    EnableExtractControls(true);
    End(OnExtract(GetHwnd()));
}

// Runs the extraction and returns the exit code it ends with.
int CMainExtractDlg::OnExtract(HWND owner) {
    if (!m_customMessage.empty()) {
        CCustomMessageDlg message(m_customMessage);
        if (message.DoModal(m_instance, GetActiveWindow()) != IDOK)
            return kExitCancelled;
    }
    const ExtractRequest request = {m_instance,       owner,         m_programPath.c_str(),
                                    m_containerOffset, m_containerEnd, m_destination.c_str(),
                                    m_recreateFolders, m_overwrite,   OnExtractProgress,
                                    AskQuestion,       m_checksum.c_str(), m_checkedLength,
                                    m_settingsDamaged};
    m_extracting = true;
    SendMessageA(GetHwnd(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetItem(IDCANCEL)), TRUE);
    const int result = m_extract(request);
    m_extracting = false;
    if (!IsSuccess(result))
        return ExitCodeOf(result);
    UpdateProgress(LoadStubString(m_instance, IDS_SUCCESS).c_str(), 0);
    Sleep(100);
    if (m_launch && !m_launchCommand.empty())
        LaunchAfterSuccess(owner);
    return ExitCodeOf(result);
}

void CMainExtractDlg::LaunchAfterSuccess(HWND owner) {
    switch (m_launchFile(m_destination, m_launchCommand, m_recreateFolders)) {
    case LaunchOutcome::Launched:
        break;
    case LaunchOutcome::NotFound:
        ShowFormattedMessage(owner, m_instance, m_launchCommand.c_str(), IDS_STUB_NAME,
                             IDS_LAUNCH_NOT_FOUND, MB_ICONWARNING);
        break;
    case LaunchOutcome::Failed:
        ShowFormattedMessage(owner, m_instance, m_launchCommand.c_str(), IDS_STUB_NAME,
                             IDS_LAUNCH_FAILED, MB_ICONWARNING);
        break;
    }
}

void CMainExtractDlg::UpdateProgress(const char* name, DWORD position) {
    HWND progress = GetItem(IDC_PROGRESS);
    if (progress == nullptr)
        return;
    SendMessageA(progress, PBM_SETRANGE32, 0, m_entryCount);
    SendMessageA(progress, PBM_SETPOS, position, 0);
    SetDlgItemTextA(GetHwnd(), IDC_CURRENT_NAME, name ? name : "");
    PumpMessages();
}

// The dialog's own loop waits while the driver runs: its keyboard goes
// through the dialog manager here, and a quit stops the extraction and is
// left for that loop, which ends on it.
void CMainExtractDlg::PumpMessages() {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            m_userCancelled = true;
            PostQuitMessage(static_cast<int>(message.wParam));
            return;
        }
        if (IsDialogMessageA(GetHwnd(), &message))
            continue;
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

void CMainExtractDlg::ShowItem(int id, bool on) { ShowWindow(GetItem(id), on ? SW_SHOW : SW_HIDE); }

void CMainExtractDlg::EnableItem(int id, bool on) { EnableWindow(GetItem(id), on ? TRUE : FALSE); }

void CMainExtractDlg::EnableExtractControls(bool extracting) {
    for (int id : kProgressControls) {
        EnableItem(id, extracting);
        ShowItem(id, extracting);
    }
    for (int id : kInputControls)
        EnableItem(id, !extracting);
    EnableItem(IDC_ABOUT, !extracting && !m_aboutText.empty());
}

void CMainExtractDlg::SetStatusState(int state) {
    if (state == 0) {
        SetDlgItemTextA(GetHwnd(), IDC_STATUS_TEXT, LoadStubString(m_instance, IDS_SET_DESTINATION).c_str());
        m_light.SetCell(kRowWaiting, m_light.Column(), 0);
    } else {
        const UINT text = m_statusShownBefore ? IDS_READY : IDS_READY_FIRST;
        SetDlgItemTextA(GetHwnd(), IDC_STATUS_TEXT, LoadStubString(m_instance, text).c_str());
        m_light.SetCell(kRowReady, m_light.Column(), 0);
        m_light.SetBlink(400);
    }
    m_statusShownBefore = true;
    EnableItem(IDOK, state != 0);
}

std::string CMainExtractDlg::BrowseForDestination(HINSTANCE instance, HWND owner) {
    const std::string title = LoadStubString(instance, IDS_BROWSE_TITLE);
    char displayName[MAX_PATH] = {};
    BROWSEINFOA browse = {};
    browse.hwndOwner = owner;
    browse.pszDisplayName = displayName;
    browse.lpszTitle = title.c_str();
    browse.ulFlags = BIF_RETURNONLYFSDIRS | BIF_RETURNFSANCESTORS | BIF_EDITBOX | BIF_VALIDATE;
    PIDLIST_ABSOLUTE chosen = SHBrowseForFolderA(&browse);
    if (chosen == nullptr)
        return std::string();
    char path[MAX_PATH] = {};
    const BOOL ok = SHGetPathFromIDListA(chosen, path);
    CoTaskMemFree(chosen);
    return ok ? std::string(path) : std::string();
}

CMainExtractDlg* CMainExtractDlg::FromOwner(HWND owner) {
    return static_cast<CMainExtractDlg*>(CStubDialog::FromHandle(owner, IDD_STUB_MAIN));
}

// Where the reports' dialogs and strings come from: the dialog's module, or
// the program when no dialog owns the extraction.
HINSTANCE CMainExtractDlg::ReportInstance(const CMainExtractDlg* dialog) {
    return dialog != nullptr ? dialog->m_instance : GetModuleHandleA(nullptr);
}

int CMainExtractDlg::AskQuestion(HWND owner, const char* text, bool defaultNo) {
    return MessageBoxA(owner, text ? text : "", LoadStubString(ReportInstance(FromOwner(owner)), IDS_STUB_NAME).c_str(),
                       MB_YESNO | MB_ICONERROR | (defaultNo ? MB_DEFBUTTON2 : MB_DEFBUTTON1));
}

int CMainExtractDlg::OnExtractProgress(UINT code, const char* name, char* buffer, DWORD valueLow,
                                       DWORD valueHigh, DWORD count, DWORD, HWND owner) {
    const uint64_t value = (static_cast<uint64_t>(valueHigh) << 32) | valueLow;
    if (CMainExtractDlg* dialog = FromOwner(owner))
        return dialog->OnReport(code, name, buffer, value, count, owner);
    // Without its dialog the extraction has no one to answer for the user.
    return code == kReportFileExists ? kAnswerCancel : code == kReportPasswordNeeded ? 1 : 0;
}

int CMainExtractDlg::OnReport(UINT code, const char* name, char* buffer, uint64_t value, DWORD count, HWND owner) {
    switch (code) {
    case kReportEntryWritten:
    case kReportEntrySkipped:
        UpdateProgress(name, static_cast<DWORD>(value));
        return m_userCancelled ? 1 : 0;
    case kReportFileExists:
        return AskWhetherToOverwrite(name);
    case kReportPasswordNeeded:
        return AskPassword(buffer);
    case kReportEntryCount:
        m_entryCount = count;
        return 0;
    case kReportFinished:
        if (value != 0 && value != kExtractCancelled)
            TellFailure(owner, value, name);
        return 0;
    }
    return 0;
}

int CMainExtractDlg::AskWhetherToOverwrite(const char* name) {
    if (m_lastExistsAnswer != kAnswerAll) {
        COverwriteFileDlg question;
        question.SetFromExistingFile(name ? name : "");
        question.DoModal(m_instance, GetActiveWindow());
        m_lastExistsAnswer = question.Answer();
    }
    m_userSkipped |= m_lastExistsAnswer == kAnswerNo;
    return m_lastExistsAnswer;
}

int CMainExtractDlg::AskPassword(char* buffer) {
    CPasswordVerifyDlg prompt;
    if (buffer == nullptr || prompt.DoModal(m_instance, GetActiveWindow()) != IDOK) {
        m_userCancelled = true;
        return 1;
    }
    std::memset(buffer, 0, kPasswordBufferLength);
    std::memcpy(buffer, prompt.Password(), strnlen(prompt.Password(), kMaxPasswordLength));
    return 0;
}

// The driver's words for a failure; a damaged program is told as such, and
// a failure without words gets the general text.
void CMainExtractDlg::TellFailure(HWND owner, uint64_t result, const char* told) {
    std::string text = told != nullptr ? told : "";
    if (result == kExtractDamaged || text.empty())
        text = LoadStubString(m_instance, result == kExtractDamaged ? IDS_PROGRAM_DAMAGED : IDS_UNEXPECTED_RESULT);
    MessageBoxA(owner, text.c_str(), LoadStubString(m_instance, IDS_STUB_ERROR).c_str(), MB_ICONERROR);
}
