#include "dialog_robot.h"

namespace {

constexpr DWORD kStepTimeoutMs = 15000;

HWND FindShownDialog(const std::string& caption) {
    HWND window = FindWindowA("#32770", caption.c_str());
    return window != nullptr && IsWindowVisible(window) && IsWindowEnabled(window) ? window : nullptr;
}

BOOL CALLBACK CancelWindow(HWND window, LPARAM) {
    PostMessageA(window, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    return TRUE;
}

BOOL CALLBACK FindMessageText(HWND child, LPARAM result) {
    char className[32] = {};
    GetClassNameA(child, className, sizeof className);
    if (lstrcmpiA(className, "Static") != 0 || GetDlgCtrlID(child) != 0xFFFF)
        return TRUE;
    char text[1024] = {};
    GetWindowTextA(child, text, sizeof text);
    *reinterpret_cast<std::string*>(result) = text;
    return FALSE;
}

}  // namespace

DialogRobot::DialogRobot(std::vector<RobotStep> steps)
    : m_steps(std::move(steps)), m_testThread(GetCurrentThreadId()), m_thread([this] { Play(); }) {}

DialogRobot::~DialogRobot() {
    if (m_thread.joinable())
        m_thread.join();
}

bool DialogRobot::Finished() {
    if (m_thread.joinable())
        m_thread.join();
    return m_finished;
}

void DialogRobot::Play() {
    for (const RobotStep& step : m_steps) {
        HWND dialog = nullptr;
        for (DWORD waited = 0; dialog == nullptr && waited < kStepTimeoutMs; waited += 50) {
            Sleep(50);
            dialog = FindShownDialog(step.caption);
        }
        if (dialog == nullptr) {
            for (int round = 0; round < 20; ++round) {
                EnumThreadWindows(m_testThread, CancelWindow, 0);
                Sleep(100);
            }
            return;
        }
        step.action(dialog);
    }
    m_finished = true;
}

void Press(HWND dialog, int id) {
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

std::string ItemText(HWND dialog, int id) {
    char text[1024] = {};
    GetDlgItemTextA(dialog, id, text, sizeof text);
    return text;
}

bool IsChecked(HWND dialog, int id) { return IsDlgButtonChecked(dialog, id) == BST_CHECKED; }

void TypeInto(HWND dialog, int id, const std::string& text) {
    SendDlgItemMessageA(dialog, id, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

std::string MessageBoxText(HWND box) {
    std::string text;
    EnumChildWindows(box, FindMessageText, reinterpret_cast<LPARAM>(&text));
    return text;
}

void Click(HWND dialog, int id) { SendDlgItemMessageA(dialog, id, BM_CLICK, 0, 0); }
