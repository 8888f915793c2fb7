// The stub's dialogs driven as their user would drive them (needs a display).
#include "MainExtractDlg.h"
#include "OverwriteFileDlg.h"
#include "PasswordVerifyDlg.h"
#include "StubMessages.h"
#include "dialog_robot.h"
#include "stub_resource.h"
#include "stub_test_support.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace {

const char kMainCaption[] = "Korvane SFX Module";
const char kOverwriteCaption[] = "Replace/Overwrite file?";
const char kPasswordCaption[] = "Korvane Brennicor Warning!";

HINSTANCE Self() { return GetModuleHandleA(nullptr); }
std::string Text(UINT id) { return LoadStubString(Self(), id); }

// The rich edit class must exist before the about and message templates load.
const HMODULE g_richEdit = [] {
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_BAR_CLASSES | ICC_PROGRESS_CLASS};
    InitCommonControlsEx(&controls);
    return LoadLibraryA("riched20.dll");
}();

std::string MakeExistingFile(const std::string& folder) {
    const std::string path = folder + "existing.txt";
    WriteFile(path, std::string(12345, 'e'));
    SetFileDosTime(path, kLastSecondOf1999);
    return path;
}

// --- the scripted extraction driver -------------------------------------

struct Script {
    int result = 0;
    std::string probeName;                // copied into the destination when set
    std::vector<UINT> reports;            // reports made, in order, with the answers below
    std::vector<int> answers;
    std::string existingFile;             // name of the 0x502 reports
    std::string finishedText;             // name of the 0x505 report: what went wrong
    std::function<void(HWND owner)> beforeWritten;  // runs before the first 0x501 report
    char password[kPasswordBufferLength] = {};
    int calls = 0;
    ExtractRequest request = {};  // its texts belong to the dialog: copied below
    std::string destination, programPath;
} g_script;

int ScriptedExtract(const ExtractRequest& request) {
    ++g_script.calls;
    g_script.request = request;
    g_script.destination = request.destination;
    g_script.programPath = request.programPath;
    if (!g_script.probeName.empty())
        CopyFileA(BRENNICOR_LAUNCH_PROBE, (std::string(request.destination) + g_script.probeName).c_str(), FALSE);
    for (UINT code : g_script.reports) {
        if (code == kReportEntryWritten && g_script.beforeWritten) {
            g_script.beforeWritten(request.owner);
            g_script.beforeWritten = nullptr;
        }
        const char* name = code == kReportFileExists  ? g_script.existingFile.c_str()
                           : code == kReportFinished ? g_script.finishedText.c_str()
                                                     : "entry.txt";
        const DWORD value = code == kReportFinished ? static_cast<DWORD>(g_script.result) : 0;
        g_script.answers.push_back(request.callback(code, name, g_script.password, value, 0,
                                                    code == kReportEntryCount ? 3 : 0, 0, request.owner));
    }
    return g_script.result;
}

void ResetScript() { g_script = Script(); }

// What the dialog's launcher was asked to do and what came of it.
std::vector<LaunchOutcome> g_launches;

LaunchOutcome RecordedLaunch(const std::string& destination, const std::string& command, int recreateFolders) {
    g_launches.push_back(LaunchExtractedFile(destination, command, recreateFolders));
    return g_launches.back();
}

INT_PTR RunMain(const StubSettings& settings) {
    g_launches.clear();
    CMainExtractDlg dialog(Self(), settings, "Z:\\no\\program.exe");
    dialog.SetExtractor(ScriptedExtract);
    dialog.SetLauncher(RecordedLaunch);
    return dialog.Run(nullptr);
}

// The first main dialog of the process shows the first-time status text.
TEST(MainDialog, ShowsSettingsAndFollowsTheDestination) {
    ResetScript();
    StubSettings settings;
    settings.destination = "C:\\Out\\";
    settings.overwrite = 1;
    settings.launchCommand = "setup.exe";
    struct Seen {
        bool overwrite, folders, launch, aboutEnabled, progressShown;
        std::string firstStatus, emptyStatus, laterStatus;
        bool unzipWhenEmpty, unzipWhenSet;
    } seen = {};
    DialogRobot robot({{kMainCaption, [&](HWND d) {
        seen.overwrite = IsChecked(d, IDC_OVERWRITE);
        seen.folders = IsChecked(d, IDC_RECREATE_FOLDERS);
        seen.launch = IsChecked(d, IDC_LAUNCH);
        seen.aboutEnabled = IsWindowEnabled(GetDlgItem(d, IDC_ABOUT));
        seen.progressShown = IsWindowVisible(GetDlgItem(d, IDC_PROGRESS));
        seen.firstStatus = ItemText(d, IDC_STATUS_TEXT);
        TypeInto(d, IDC_DESTINATION, "");
        seen.emptyStatus = ItemText(d, IDC_STATUS_TEXT);
        seen.unzipWhenEmpty = IsWindowEnabled(GetDlgItem(d, IDOK));
        TypeInto(d, IDC_DESTINATION, "D:\\Else\\");
        seen.laterStatus = ItemText(d, IDC_STATUS_TEXT);
        seen.unzipWhenSet = IsWindowEnabled(GetDlgItem(d, IDOK));
        Click(d, IDC_LAUNCH);
        Click(d, IDC_RECREATE_FOLDERS);
        Press(d, IDCANCEL);
    }}});
    CMainExtractDlg dialog(Self(), settings, "Z:\\no\\program.exe");
    dialog.SetExtractor(ScriptedExtract);
    EXPECT_EQ(dialog.Run(nullptr), kExitCancelled);
    ASSERT_TRUE(robot.Finished());
    EXPECT_TRUE(seen.overwrite);
    EXPECT_FALSE(seen.folders);
    EXPECT_TRUE(seen.launch);
    EXPECT_FALSE(seen.aboutEnabled);
    EXPECT_FALSE(seen.progressShown);
    EXPECT_EQ(seen.firstStatus, Text(IDS_READY_FIRST));
    EXPECT_EQ(seen.emptyStatus, Text(IDS_SET_DESTINATION));
    EXPECT_FALSE(seen.unzipWhenEmpty);
    EXPECT_EQ(seen.laterStatus, Text(IDS_READY));
    EXPECT_TRUE(seen.unzipWhenSet);
    EXPECT_EQ(dialog.Destination(), "D:\\Else\\");
    EXPECT_EQ(dialog.LaunchFlag(), 0);
    EXPECT_EQ(dialog.RecreateFolders(), 1);
    EXPECT_EQ(g_script.calls, 0);
}

TEST(MainDialog, UnzipHandsTheDialogsChoicesToTheDriver) {
    ResetScript();
    StubSettings settings;
    settings.destination = "C:\\Out\\";
    settings.containerOffset = 4096;
    settings.containerEnd = 9000;
    DialogRobot robot({{kMainCaption, [](HWND d) {
        Click(d, IDC_OVERWRITE);
        Press(d, IDOK);
    }}});
    EXPECT_EQ(RunMain(settings), kExitExtracted);
    ASSERT_TRUE(robot.Finished());
    ASSERT_EQ(g_script.calls, 1);
    EXPECT_EQ(g_script.destination, "C:\\Out\\");
    EXPECT_EQ(g_script.request.overwrite, 1);
    EXPECT_EQ(g_script.request.recreateFolders, 0);
    EXPECT_EQ(g_script.request.containerOffset, 4096u);
    EXPECT_EQ(g_script.request.containerEnd, 9000u);
    EXPECT_EQ(g_script.programPath, "Z:\\no\\program.exe");
    EXPECT_EQ(g_script.request.ask, &CMainExtractDlg::AskQuestion);
}

TEST(MainDialog, AsksTheDriversQuestionsYesOrNo) {
    for (int answer : {IDYES, IDNO}) {
        std::string shown;
        DialogRobot robot({{Text(IDS_STUB_NAME), [&](HWND box) {
            shown = MessageBoxText(box);
            Press(box, answer);
        }}});
        EXPECT_EQ(CMainExtractDlg::AskQuestion(nullptr, "Retry?", false), answer);
        EXPECT_TRUE(robot.Finished());
        EXPECT_EQ(shown, "Retry?");
    }
}

TEST(MainDialog, CancelledCustomMessageExtractsNothing) {
    ResetScript();
    StubSettings settings;
    settings.destination = "C:\\Out\\";
    settings.customMessage = "{\\rtf1 Terms apply.}";
    DialogRobot robot({{kMainCaption, [](HWND d) { Press(d, IDOK); }},
                       {"Custom Message", [](HWND d) { Press(d, IDCANCEL); }}});
    EXPECT_EQ(RunMain(settings), kExitCancelled);
    EXPECT_TRUE(robot.Finished());
    EXPECT_EQ(g_script.calls, 0);
}

TEST(MainDialog, AutoRunWithoutDestinationAsksForOne) {
    ResetScript();
    StubSettings settings;
    settings.autoRun = 1;
    std::string boxText;
    DialogRobot robot({{Text(IDS_DESTINATION_ERROR), [&](HWND box) {
                           boxText = MessageBoxText(box);
                           Press(box, IDOK);
                       }},
                       {kMainCaption, [](HWND d) { Press(d, IDCANCEL); }}});
    EXPECT_EQ(RunMain(settings), kExitCancelled);
    EXPECT_TRUE(robot.Finished());
    EXPECT_EQ(boxText, Text(IDS_DESTINATION_NEEDED));
    EXPECT_EQ(g_script.calls, 0);
}

// Auto-run extracts inside the dialog's start, before it is ever shown.
TEST(MainDialog, LaunchesOnlyAfterSuccessAndOnlyInsideTheDestination) {
    struct Case {
        const char* name;
        int result;
        const char* command;
        int recreateFolders;
        bool launched;
        bool toldNotFound;
        int exitCode;
    } cases[] = {
        {"success", 0, "probe.exe", 1, true, false, kExitExtracted},
        {"alternate-success", 0x400, "probe.exe", 1, true, false, kExitExtracted},
        {"folders-dropped", 0, "bin/probe.exe", 0, true, false, kExitExtracted},
        {"failed", 1, "probe.exe", 1, false, false, kExitFailed},
        {"cancelled", 0x402, "probe.exe", 1, false, false, kExitCancelled},
        {"engine-error", 39, "probe.exe", 1, false, false, kExitFailed},
        {"damaged", kExtractDamaged, "probe.exe", 1, false, false, kExitFailed},
        {"missing", 0, "other.exe", 1, false, true, kExitExtracted},
        {"outside", 0, "..\\probe.exe", 1, false, true, kExitExtracted},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ResetScript();
        g_script.result = c.result;
        g_script.probeName = "probe.exe";
        StubSettings settings;
        settings.destination = FreshFolder(std::string("main-launch-") + c.name);
        settings.autoRun = 1;
        settings.recreateFolders = c.recreateFolders;
        settings.launchCommand = c.command;
        std::vector<RobotStep> steps;
        std::string told;
        if (c.toldNotFound)
            steps.push_back({Text(IDS_STUB_NAME), [&](HWND box) {
                                 told = MessageBoxText(box);
                                 Press(box, IDOK);
                             }});
        DialogRobot robot(steps);
        EXPECT_EQ(RunMain(settings), c.exitCode);
        EXPECT_TRUE(robot.Finished());
        EXPECT_EQ(g_script.calls, 1);
        // Only a launch that happened is waited for; the others are known at once.
        const bool launched = !g_launches.empty() && g_launches.back() == LaunchOutcome::Launched;
        EXPECT_EQ(launched, c.launched);
        EXPECT_EQ(g_launches.size(), c.launched || c.toldNotFound ? 1u : 0u);
        if (c.launched) {
            EXPECT_TRUE(WaitUntil([&] { return FileExists(settings.destination + "launched.txt"); }));
        }
        if (c.toldNotFound) {
            EXPECT_NE(told.find(c.command), std::string::npos);
        }
    }
}

TEST(MainDialog, UntickedLaunchBoxLaunchesNothing) {
    ResetScript();
    g_script.probeName = "probe.exe";
    StubSettings settings;
    settings.destination = FreshFolder("main-unticked");
    settings.launchCommand = "probe.exe";
    DialogRobot robot({{kMainCaption, [](HWND d) {
        Click(d, IDC_LAUNCH);
        Press(d, IDOK);
    }}});
    EXPECT_EQ(RunMain(settings), kExitExtracted);
    EXPECT_TRUE(robot.Finished());
    EXPECT_EQ(g_script.calls, 1);
    EXPECT_TRUE(g_launches.empty());
}

// The driver's questions reach the user through the dialog's callback; a
// failure is told as the driver words it, a damaged program as such, and
// only a failure without words gets the general text.
TEST(MainDialog, AnswersTheDriversReports) {
    struct Case {
        int result;
        const char* told;
        std::string shown;
    } cases[] = {
        {39, "Cannot extract entry.txt: Bad CRC.", "Cannot extract entry.txt: Bad CRC."},
        {kExtractDamaged, "", Text(IDS_PROGRAM_DAMAGED)},
        {kExtractFailed, "", Text(IDS_UNEXPECTED_RESULT)},
    };
    for (const Case& c : cases) {
        const int result = c.result;
        SCOPED_TRACE(result);
        ResetScript();
        g_script.finishedText = c.told;
        StubSettings settings;
        settings.destination = FreshFolder("main-reports");
        settings.autoRun = 1;
        g_script.existingFile = MakeExistingFile(settings.destination);
        g_script.result = result;
        g_script.reports = {kReportEntryCount, kReportPasswordNeeded, kReportEntryCount, kReportFileExists,
                            kReportFileExists, kReportEntryWritten, kReportEntrySkipped, kReportFinished};
        std::string sizeShown, errorShown;
        DialogRobot robot({{kPasswordCaption, [](HWND d) {
                               TypeInto(d, IDC_PASSWORD, "correct horse");
                               Press(d, IDOK);
                           }},
                           {kOverwriteCaption, [&](HWND d) {
                               sizeShown = ItemText(d, IDC_EXISTING_SIZE);
                               Press(d, IDC_ANSWER_ALL);
                           }},
                           {Text(IDS_STUB_ERROR), [&](HWND box) {
                               errorShown = MessageBoxText(box);
                               Press(box, IDOK);
                           }}});
        EXPECT_EQ(RunMain(settings), kExitFailed);
        EXPECT_TRUE(robot.Finished());
        EXPECT_EQ(g_script.answers, (std::vector<int>{0, 0, 0, kAnswerAll, kAnswerAll, 0, 0, 0}));
        EXPECT_STREQ(g_script.password, "correct horse");
        EXPECT_EQ(sizeShown, "12345 bytes");
        EXPECT_EQ(errorShown, c.shown);
    }
}

// The progress reports run the dialog's keyboard as its own loop would:
// Escape during the extraction stops it as a cancel; a quit posted meanwhile
// stops it too, and stays in the queue for the program's end.
TEST(MainDialog, KeyboardAndQuitDuringExtraction) {
    struct Case {
        const char* name;
        std::function<void(HWND)> input;
        bool quitLeft;
    } cases[] = {
        {"escape", [](HWND owner) {
             HWND focus = GetFocus();
             PostMessageA(focus != nullptr ? focus : owner, WM_KEYDOWN, VK_ESCAPE, 1);
         }, false},
        {"quit", [](HWND) { PostQuitMessage(7); }, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ResetScript();
        StubSettings settings;
        settings.destination = FreshFolder("main-keyboard");
        g_script.reports = {kReportEntryCount, kReportEntryCount, kReportEntryWritten, kReportEntryWritten,
                            kReportFinished};
        g_script.beforeWritten = c.input;
        DialogRobot robot({{kMainCaption, [](HWND d) { Press(d, IDOK); }}});
        EXPECT_EQ(RunMain(settings), kExitCancelled);
        EXPECT_TRUE(robot.Finished());
        ASSERT_EQ(g_script.answers.size(), 5u);
        EXPECT_NE(g_script.answers[2], 0);  // stop
        MSG quit;
        EXPECT_EQ(PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE) != 0, c.quitLeft);
        if (c.quitLeft)
            EXPECT_EQ(quit.wParam, 7u);
    }
}

TEST(MainDialog, CancelledPasswordPromptAnswersNonZero) {
    ResetScript();
    StubSettings settings;
    settings.destination = FreshFolder("main-no-password");
    settings.autoRun = 1;
    g_script.result = 1;
    g_script.reports = {kReportPasswordNeeded};
    DialogRobot robot({{kPasswordCaption, [](HWND d) {
        TypeInto(d, IDC_PASSWORD, "typed but cancelled");
        Press(d, IDCANCEL);
    }}});
    EXPECT_EQ(RunMain(settings), kExitCancelled);
    EXPECT_TRUE(robot.Finished());
    EXPECT_EQ(g_script.answers, std::vector<int>{1});
    EXPECT_STREQ(g_script.password, "");
}

TEST(OverwriteDialog, EachButtonGivesItsAnswerAndTheRealFileIsShown) {
    const std::string existing = MakeExistingFile(FreshFolder("overwrite"));
    struct Case {
        int button;
        INT_PTR endCode;
        int answer;
    } cases[] = {
        {IDC_ANSWER_YES, IDC_ANSWER_YES, kAnswerYes},
        {IDC_ANSWER_NO, IDC_ANSWER_NO, kAnswerNo},
        {IDC_ANSWER_ALL, IDC_ANSWER_ALL, kAnswerAll},
        {IDCANCEL, IDCANCEL, kAnswerCancel},  // also Escape and the close box
        {IDOK, IDOK, kAnswerNo},               // Enter alone keeps the default answer
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.button);
        std::string name, size, time;
        LRESULT defaultButton = 0;
        DialogRobot robot({{kOverwriteCaption, [&](HWND d) {
            name = ItemText(d, IDC_EXISTING_NAME);
            size = ItemText(d, IDC_EXISTING_SIZE);
            time = ItemText(d, IDC_EXISTING_TIME);
            defaultButton = SendMessageA(d, DM_GETDEFID, 0, 0);
            Press(d, c.button);
        }}});
        COverwriteFileDlg question;
        question.SetFromExistingFile(existing);
        EXPECT_EQ(question.DoModal(Self(), nullptr), c.endCode);
        ASSERT_TRUE(robot.Finished());
        EXPECT_EQ(question.Answer(), c.answer);
        EXPECT_EQ(name, existing);
        EXPECT_EQ(size, "12345 bytes");
        EXPECT_EQ(time, "12/31/99 23:59:58");
        EXPECT_EQ(LOWORD(defaultButton), IDC_ANSWER_NO);
    }
}

TEST(OverwriteDialog, SizeTextCarriesTheWholeSize) {
    EXPECT_EQ(COverwriteFileDlg::SizeText(0), "0 bytes");
    EXPECT_EQ(COverwriteFileDlg::SizeText(0x100000005ull), "4294967301 bytes");
}

TEST(PasswordDialog, HidesTypingLightsUpAndTakesUpTo255Characters) {
    struct Case {
        size_t typed;
        size_t taken;
    } cases[] = {{1, 1}, {130, 130}, {255, 255}, {300, 255}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        CPasswordVerifyDlg prompt;
        bool hidden = false;
        int rowAtStart = -1, rowTyped = -1, rowCleared = -1;
        DialogRobot robot({{kPasswordCaption, [&](HWND d) {
            hidden = (GetWindowLongA(GetDlgItem(d, IDC_PASSWORD), GWL_STYLE) & ES_PASSWORD) != 0;
            rowAtStart = prompt.Light().Row();
            TypeInto(d, IDC_PASSWORD, "x");
            rowTyped = prompt.Light().Row();
            TypeInto(d, IDC_PASSWORD, "");
            rowCleared = prompt.Light().Row();
            TypeInto(d, IDC_PASSWORD, std::string(c.typed, 'p'));
            Press(d, IDOK);
        }}});
        EXPECT_EQ(prompt.DoModal(Self(), nullptr), IDOK);
        ASSERT_TRUE(robot.Finished());
        EXPECT_TRUE(hidden);
        EXPECT_EQ(rowAtStart, 0);
        EXPECT_EQ(rowTyped, 16);
        EXPECT_EQ(rowCleared, 0);
        EXPECT_EQ(std::string(prompt.Password()), std::string(c.taken, 'p'));
    }
}

}  // namespace
