// Shows one of the stub's dialogs with sample contents for a few seconds, so
// take_screenshots.sh can capture what the user sees.
// Usage: stub_preview main|progress|password|overwrite|about|message [existing file]
#include "MainExtractDlg.h"
#include "OverwriteFileDlg.h"
#include "PasswordVerifyDlg.h"
#include "RichTextDlg.h"

#include <commctrl.h>

#include "dialog_robot.h"
#include "stub_resource.h"

#include <cstring>
#include <thread>

namespace {

constexpr DWORD kShownMs = 6000;

// Ends whatever dialog the main thread shows once the capture had its time.
void CloseLater(DWORD thread) {
    std::thread([thread] {
        Sleep(kShownMs);
        EnumThreadWindows(thread, [](HWND window, LPARAM) -> BOOL {
            PostMessageA(window, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
            return TRUE;
        }, 0);
    }).detach();
}

// Reports entries slowly, so the capture finds the dialog extracting.
int SlowExtract(const ExtractRequest& request) {
    request.callback(kReportEntryCount, nullptr, nullptr, 0, 0, 10, 0, request.owner);
    for (DWORD entry = 0; entry < 10; ++entry) {
        request.callback(kReportEntryWritten, "C:\\KorvaneSFX\\SecuredFiles\\docs\\guide.txt", nullptr, entry, 0,
                         0, 0, request.owner);
        Sleep(kShownMs / 10);
    }
    return kExtractFailed;  // nothing launched, no success text
}

// Presses OK in the main dialog once it is shown, so extraction starts.
void PressUnzipOnceShown() {
    std::thread([] {
        HWND dialog = nullptr;
        if (WaitUntil([&] { return (dialog = FindShownDialog(DialogKey::WithControl(IDC_DESTINATION))) != nullptr; }))
            PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    }).detach();
}

int ShowMain(HINSTANCE instance, bool extracting) {
    StubSettings settings;
    settings.destination = "C:\\KorvaneSFX\\SecuredFiles\\";
    settings.recreateFolders = 1;
    settings.launchCommand = "readme.txt";
    settings.aboutText = "Sample about text";
    CMainExtractDlg dialog(instance, settings, "");
    if (extracting) {
        dialog.SetExtractor(SlowExtract);
        PressUnzipOnceShown();
    }
    return static_cast<int>(dialog.Run(nullptr));
}

}  // namespace

int main(int argc, char** argv) {
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_BAR_CLASSES | ICC_PROGRESS_CLASS};
    InitCommonControlsEx(&controls);
    LoadLibraryA("riched20.dll");
    HINSTANCE instance = GetModuleHandleA(nullptr);
    const char* which = argc > 1 ? argv[1] : "main";
    CloseLater(GetCurrentThreadId());
    if (std::strcmp(which, "password") == 0) {
        CPasswordVerifyDlg prompt;
        return static_cast<int>(prompt.DoModal(instance, nullptr));
    }
    if (std::strcmp(which, "overwrite") == 0) {
        COverwriteFileDlg question;
        question.SetFromExistingFile(argc > 2 ? argv[2] : argv[0]);
        return static_cast<int>(question.DoModal(instance, nullptr));
    }
    if (std::strcmp(which, "about") == 0) {
        CAboutTextDlg about("{\\rtf1\\ansi {\\b Korvane Brennicor} sample about text.\\par Second line.}");
        return static_cast<int>(about.DoModal(instance, nullptr));
    }
    if (std::strcmp(which, "message") == 0) {
        CCustomMessageDlg message("Please read these terms before extracting.\r\nPress OK to go on.");
        return static_cast<int>(message.DoModal(instance, nullptr));
    }
    return ShowMain(instance, std::strcmp(which, "progress") == 0);
}
