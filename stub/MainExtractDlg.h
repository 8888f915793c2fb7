// The stub's one window: destination, options, progress, and the answers to
// the extraction driver's reports.
#pragma once

#include "ExtractCallback.h"
#include "LaunchAfterExtract.h"
#include "LinkStatic.h"
#include "StatusLight.h"
#include "StubSettings.h"
#include "stub_dialog.h"

#include <string>

class CMainExtractDlg : public CStubDialogImpl<CMainExtractDlg> {
public:
    using Extractor = int (*)(const ExtractRequest& request);

    // programPath: the file whose container is extracted.
    CMainExtractDlg(HINSTANCE instance, const StubSettings& settings, std::string programPath);
    ~CMainExtractDlg() override;

    // Runs template 129; the end code is the stub's exit code (StubExitCode).
    INT_PTR Run(HWND owner);

    // The exit code of an extraction that ended with the driver's result.
    int ExitCodeOf(int result) const;

    using Launcher = LaunchOutcome (*)(const std::string& destination, const std::string& command,
                                       int recreateFolders);

    // The driver the UnZIP command calls; tests put a scripted one in its place.
    void SetExtractor(Extractor extractor) { m_extract = extractor; }
    // What opens the launch command after a success; tests watch it.
    void SetLauncher(Launcher launcher) { m_launchFile = launcher; }

    // ExtractCallback of the dialog: the reports go to the dialog that owns
    // the extraction (owner).
    static int OnExtractProgress(UINT code, const char* name, char* buffer, DWORD valueLow,
                                 DWORD valueHigh, DWORD count, DWORD reserved, HWND owner);
    // ExtractQuestion of the dialog: a Yes/No box with the error icon.
    static int AskQuestion(HWND owner, const char* text, bool defaultNo);

    const std::string& Destination() const { return m_destination; }
    int RecreateFolders() const { return m_recreateFolders; }
    int Overwrite() const { return m_overwrite; }
    int LaunchFlag() const { return m_launch; }
    const CStatusLight& Light() const { return m_light; }

    static const StubMessageEntry<CMainExtractDlg> kMessageMap[];
    static const size_t kMessageMapSize;

private:
    INT_PTR OnInitDialog(WPARAM, LPARAM);
    void FitBanner();
    INT_PTR OnColourStatic(WPARAM, LPARAM);
    INT_PTR OnUnzip(WPARAM, LPARAM);
    INT_PTR OnCancel(WPARAM, LPARAM);
    INT_PTR OnDestinationChange(WPARAM, LPARAM);
    INT_PTR OnBrowse(WPARAM, LPARAM);
    INT_PTR OnOptionClicked(WPARAM, LPARAM);
    INT_PTR OnAbout(WPARAM, LPARAM);

    void RunUnzipCommand();
    int OnExtract(HWND owner);
    void LaunchAfterSuccess(HWND owner);
    void UpdateProgress(const char* name, DWORD position);
    void EnableExtractControls(bool extracting);
    void SetStatusState(int state);
    void ShowItem(int id, bool on);
    void EnableItem(int id, bool on);
    static std::string BrowseForDestination(HINSTANCE instance, HWND owner);
    static CMainExtractDlg* FromOwner(HWND owner);
    static HINSTANCE ReportInstance(const CMainExtractDlg* dialog);
    int OnReport(UINT code, const char* name, char* buffer, uint64_t value, DWORD count, HWND owner);
    int AskWhetherToOverwrite(const char* name);
    int AskPassword(char* buffer);
    void TellFailure(HWND owner, uint64_t result, const char* told);
    void PumpMessages();

    HINSTANCE m_instance;
    int m_autoRun;
    int m_overwrite;
    int m_recreateFolders;
    int m_launch = 0;
    std::string m_destination;
    std::string m_launchCommand;
    std::string m_customMessage;
    std::string m_aboutText;
    std::string m_programPath;
    uint32_t m_containerOffset;
    uint64_t m_containerEnd;
    std::string m_checksum;
    uint64_t m_checkedLength;
    bool m_settingsDamaged;
    bool m_extracting = false;
    // What the extraction's reports keep: the entry count for the progress
    // range, the last answer to the exists question, and what the user
    // answered, for the exit code.
    DWORD m_entryCount = 0;
    int m_lastExistsAnswer = -1;
    bool m_statusShownBefore = false;
    bool m_userCancelled = false;
    bool m_userSkipped = false;
    Extractor m_extract = ExtractSecureContainer;
    Launcher m_launchFile = LaunchExtractedFile;
    CStatusLight m_light;
    CLinkStatic m_link;
    HICON m_bigIcon = nullptr;
    HICON m_smallIcon = nullptr;
    HBITMAP m_banner = nullptr;  // the banner scaled to the text size, when it had to be
};
