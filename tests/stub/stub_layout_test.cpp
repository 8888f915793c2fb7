// The stub's dialogs at 96, 120 and 144 DPI (a user's 100, 125 and 150 %
// text size): each shows every control inside the dialog with its text
// whole. Each size runs in a copy of this program started at that size.
#include "MainExtractDlg.h"
#include "OverwriteFileDlg.h"
#include "PasswordVerifyDlg.h"
#include "RichTextDlg.h"
#include "dialog_robot.h"
#include "golden_image.h"
#include "layout_check.h"
#include "screenshot.h"
#include "stub_resource.h"
#include "test_dpi.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

HINSTANCE Self() { return GetModuleHandleA(nullptr); }

// The rich edit class must exist before the about and message templates load.
const HMODULE g_richEdit = [] {
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_BAR_CLASSES | ICC_PROGRESS_CLASS};
    InitCommonControlsEx(&controls);
    return LoadLibraryA("riched20.dll");
}();

struct Shown {
    const char* name;
    DialogKey dialog;
    std::function<INT_PTR()> show;  // runs the dialog modally until the robot cancels it
};

INT_PTR ShowMain() {
    StubSettings settings;
    settings.destination = "C:\\KorvaneSFX\\SecuredFiles\\";
    settings.recreateFolders = 1;
    settings.launchCommand = "readme.txt";
    settings.aboutText = "Sample about text";
    CMainExtractDlg dialog(Self(), settings, "");
    return dialog.Run(nullptr);
}

INT_PTR ShowPassword() {
    CPasswordVerifyDlg prompt;
    return prompt.DoModal(Self(), nullptr);
}

INT_PTR ShowOverwrite() {
    char self[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, self, sizeof self);
    COverwriteFileDlg question;
    question.SetFromExistingFile(self);
    return question.DoModal(Self(), nullptr);
}

INT_PTR ShowAbout() {
    CAboutTextDlg about("{\\rtf1\\ansi {\\b Korvane Brennicor} sample about text.\\par Second line.}");
    return about.DoModal(Self(), nullptr);
}

INT_PTR ShowMessage() {
    CCustomMessageDlg message("Please read these terms before extracting.\r\nPress OK to go on.");
    return message.DoModal(Self(), nullptr);
}

constexpr int kKeptPictureDpi = 144;

// At 150 % the main dialog's banner fills its place, stretched smoothly, as kept.
std::string CompareBannerWithKept(HWND dialog) {
    RECT banner;
    GetWindowRect(GetDlgItem(dialog, IDC_BANNER), &banner);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&banner), 2);
    Screenshot shot(dialog);
    return CompareWithGolden("stub_banner_144", banner.right - banner.left, banner.bottom - banner.top,
                             [&](int x, int y) { return shot.Pixel(banner.left + x, banner.top + y); });
}

class AtOneSize : public ::testing::Test {
protected:
    void SetUp() override {
        if (!RequestedTestDpi()) GTEST_SKIP() << "runs in a copy at a set text size";
        ASSERT_EQ(RequestedTestDpi(), DrawingDpi());
    }
};

TEST_F(AtOneSize, EveryDialogShowsEachControlWhole) {
    const Shown dialogs[] = {
        {"main", DialogKey::WithControl(IDC_DESTINATION), ShowMain},
        {"password", DialogKey::WithControl(IDC_PASSWORD), ShowPassword},
        {"overwrite", DialogKey::WithControl(IDC_EXISTING_NAME), ShowOverwrite},
        {"about", "About...", ShowAbout},
        {"message", "Custom Message", ShowMessage},
    };
    for (const Shown& shown : dialogs) {
        SCOPED_TRACE(shown.name);
        std::vector<std::string> faults;
        std::string banner;
        DialogRobot robot({{shown.dialog, [&](HWND d) {
            faults = LayoutFaults(d);
            if (GetDlgItem(d, IDC_BANNER) && RequestedTestDpi() == kKeptPictureDpi)
                banner = CompareBannerWithKept(d);
            PostMessageA(d, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
        }}});
        shown.show();
        ASSERT_TRUE(robot.Finished());
        EXPECT_EQ(std::vector<std::string>(), faults);
        EXPECT_EQ("", banner);
    }
}

TEST(Layout, AtEachTextSize) {
    if (RequestedTestDpi()) GTEST_SKIP() << "the copy at one size runs its own tests";
    for (int dpi : {96, 120, 144}) EXPECT_TRUE(RunTestsAtDpi(dpi, "AtOneSize.*")) << "at " << dpi << " DPI";
}

}  // namespace
