#include "dialog_robot.h"

#include "window_search.h"

#include <atomic>
#include <cstdio>
#include <cstring>

namespace {

constexpr DWORD kStepTimeoutMs = 15000;
// How long a dialog a step acted on may take to go, when the step closed it.
constexpr DWORD kClosingMs = 2000;

struct Wanted {
    const DialogKey* key;
    DWORD process;
    HWND found;
};

// Other test programs may show dialogs of the same caption on the display.
BOOL CALLBACK MatchDialog(HWND window, LPARAM data) {
    auto* wanted = reinterpret_cast<Wanted*>(data);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process != wanted->process || !HasClass(window, "#32770") || !IsWindowVisible(window) ||
        !IsWindowEnabled(window) || !wanted->key->Matches(window))
        return TRUE;
    wanted->found = window;
    return FALSE;
}


BOOL CALLBACK MatchPopupMenu(HWND window, LPARAM data) {
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    char className[16] = {};
    GetClassNameA(window, className, sizeof className);
    if (process != GetCurrentProcessId() || std::strcmp(className, "#32768") != 0 || !IsWindowVisible(window))
        return TRUE;
    *reinterpret_cast<HWND*>(data) = window;
    return FALSE;
}

HWND FindShownPopupMenu() {
    HWND found = nullptr;
    EnumWindows(MatchPopupMenu, reinterpret_cast<LPARAM>(&found));
    return found;
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

// Any shown dialog of process: the one a test waits on may come from another
// thread of it.
BOOL CALLBACK FindShownProcessDialog(HWND window, LPARAM data) {
    auto* wanted = reinterpret_cast<Wanted*>(data);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process != wanted->process || !HasClass(window, "#32770") || !IsWindowVisible(window))
        return TRUE;
    wanted->found = window;
    return FALSE;
}

HWND ShownDialogOfProcess(DWORD process) {
    Wanted wanted = {nullptr, process, nullptr};
    EnumWindows(FindShownProcessDialog, reinterpret_cast<LPARAM>(&wanted));
    return wanted.found;
}

// A step whose dialog never came: cancel what the program shows so the test
// goes on to fail. A box of this program that takes no cancel (Yes and No
// only) would hold the test for good, so then the test program ends, saying
// which box; another program is stopped by RunProgram.
void GiveUp(DWORD testThread, DWORD process) {
    for (int round = 0; round < 20; ++round) {
        EnumThreadWindows(testThread, CancelWindow, 0);
        if (const HWND shown = ShownDialogOfProcess(process)) CancelWindow(shown, 0);
        if (WaitUntil([&] { return ShownDialogOfProcess(process) == nullptr; }, 100)) return;
    }
    if (process != GetCurrentProcessId()) return;
    const HWND stuck = ShownDialogOfProcess(process);
    std::string text;
    EnumChildWindows(stuck, FindMessageText, reinterpret_cast<LPARAM>(&text));
    std::fprintf(stderr, "dialog robot: the awaited dialog never came, and \"%s\" stays open: %s\n",
                 WindowText(stuck).c_str(), text.c_str());
    std::fflush(stderr);
    TerminateProcess(GetCurrentProcess(), 3);
}

}  // namespace

DialogRobot::DialogRobot(std::vector<RobotStep> steps, DWORD process, std::function<void()> then)
    : m_steps(std::move(steps)),
      m_process(process),
      m_then(std::move(then)),
      m_testThread(GetCurrentThreadId()),
      m_thread([this] { Play(); }) {}

DialogRobot::~DialogRobot() {
    if (m_thread.joinable())
        m_thread.join();
}

HWND FindShownDialog(const DialogKey& key, DWORD process) {
    Wanted wanted = {&key, process, nullptr};
    EnumWindows(MatchDialog, reinterpret_cast<LPARAM>(&wanted));
    return wanted.found;
}

bool DialogKey::Matches(HWND dialog) const {
    if (m_control != 0) return GetDlgItem(dialog, m_control) != nullptr;
    return WindowText(dialog) == m_caption;
}

bool DialogRobot::Finished() {
    if (m_thread.joinable())
        m_thread.join();
    return m_finished;
}

void DialogRobot::Play() {
    for (const RobotStep& step : m_steps) {
        HWND dialog = nullptr;
        if (!WaitUntil([&] { return (dialog = FindShownDialog(step.dialog, m_process)) != nullptr; }, kStepTimeoutMs)) {
            GiveUp(m_testThread, m_process);
            return;
        }
        step.action(dialog);
        // A dialog the step answered stays shown for a moment while it ends:
        // the next step must not take it for the next dialog.
        WaitUntil([&] { return !IsWindow(dialog) || !IsWindowVisible(dialog); }, kClosingMs);
    }
    m_finished = true;
    if (m_then)
        m_then();
}

DWORD RunProgram(const std::string& program, const char* workingFolder, std::vector<RobotStep> steps) {
    return RunProgramWatching(program, workingFolder, std::move(steps), {}, nullptr);
}

DWORD RunProgramWatching(const std::string& program, const char* workingFolder, std::vector<RobotStep> steps,
                         const std::vector<DialogKey>& unwanted, std::vector<std::string>* shown) {
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    std::string commandLine = "\"" + program + "\"";
    if (!CreateProcessA(program.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, workingFolder,
                        &startup, &process))
        return static_cast<DWORD>(-2);
    const auto answerUnwanted = [&] {
        while (WaitForSingleObject(process.hProcess, 20) == WAIT_TIMEOUT) {
            for (const DialogKey& key : unwanted) {
                const HWND dialog = FindShownDialog(key, process.dwProcessId);
                if (dialog == nullptr)
                    continue;
                shown->push_back(WindowText(dialog) + ": " + MessageBoxText(dialog));
                Press(dialog, IDOK);
                Press(dialog, IDNO);
                WaitUntil([&] { return !IsWindow(dialog) || !IsWindowVisible(dialog); });
            }
        }
    };
    DialogRobot robot(std::move(steps), process.dwProcessId,
                      unwanted.empty() ? std::function<void()>() : std::function<void()>(answerUnwanted));
    DWORD code = static_cast<DWORD>(-1);
    if (WaitForSingleObject(process.hProcess, 60000) == WAIT_OBJECT_0)
        GetExitCodeProcess(process.hProcess, &code);
    else
        TerminateProcess(process.hProcess, code);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    if (!robot.Finished())
        return static_cast<DWORD>(-3);
    return code;
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

void PressKey(WORD virtualKey) {
    INPUT keys[2] = {};
    keys[0].type = keys[1].type = INPUT_KEYBOARD;
    keys[0].ki.wVk = keys[1].ki.wVk = virtualKey;
    keys[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(2, keys, sizeof(INPUT));
}

void SendKey(WORD virtualKey, bool down) {
    INPUT key = {};
    key.type = INPUT_KEYBOARD;
    key.ki.wVk = virtualKey;
    key.ki.dwFlags = down ? 0 : KEYEVENTF_KEYUP;
    SendInput(1, &key, sizeof(INPUT));
}

void SendMouseButton(DWORD buttonFlag) {
    INPUT button = {};
    button.type = INPUT_MOUSE;
    button.mi.dwFlags = buttonFlag;
    SendInput(1, &button, sizeof(INPUT));
}

namespace {
// Absolute input coordinates span the primary screen in 65536 steps; the
// smallest step count that lands on the pixel.
LONG AbsoluteCoordinate(LONG pixel, int extent) { return static_cast<LONG>((pixel * 65536LL + extent - 1) / extent); }

INPUT AbsoluteMove(POINT point) {
    INPUT move = {};
    move.type = INPUT_MOUSE;
    move.mi.dx = AbsoluteCoordinate(point.x, GetSystemMetrics(SM_CXSCREEN));
    move.mi.dy = AbsoluteCoordinate(point.y, GetSystemMetrics(SM_CYSCREEN));
    move.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    return move;
}
}  // namespace

void MoveMouse(POINT point) {
    INPUT move = AbsoluteMove(point);
    SendInput(1, &move, sizeof(INPUT));
}

namespace {
bool CursorAt(POINT place) {
    POINT at = {};
    return GetCursorPos(&at) && at.x == place.x && at.y == place.y;
}

// Under Wine a set cursor reaches the display late, and the place it had
// before can come back after a later move; moves in the input stream, as a
// real mouse makes them, arrive in order, yet an earlier place can still
// flash back once. So the mouse is moved to point and moved again whenever
// such a place undid it, until enough(ms since the first move, ms the
// cursor has stayed on point) holds.
void KeepMouseAt(POINT point, const std::function<bool(DWORD all, DWORD steady)>& enough) {
    MoveMouse(point);
    const DWORD start = GetTickCount();
    DWORD steadySince = start;
    while (!enough(GetTickCount() - start, GetTickCount() - steadySince)) {
        Sleep(5);
        if (CursorAt(point)) continue;
        MoveMouse(point);
        steadySince = GetTickCount();
    }
}
}  // namespace

// A move counts as made once the cursor has stayed on the point for a
// moment. A move onto the place the cursor already has need not make a move
// message, so it steps off first.
void MoveCursor(POINT point) {
    if (CursorAt(point)) MoveMouse({point.x + 1, point.y});
    KeepMouseAt(point, [](DWORD all, DWORD steady) { return steady >= 100 || all >= 2000; });
}

void SettleMouse(POINT point, DWORD ms) {
    KeepMouseAt(point, [ms](DWORD all, DWORD) { return all >= ms; });
}

void ClickWithMouse(POINT point) {
    INPUT events[3] = {AbsoluteMove(point)};
    events[1].type = events[2].type = INPUT_MOUSE;
    events[1].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    events[2].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendInput(3, events, sizeof(INPUT));
}

HWND CaptureOfThread(DWORD threadId) {
    GUITHREADINFO info = {};
    info.cbSize = sizeof info;
    return GetGUIThreadInfo(threadId, &info) ? info.hwndCapture : nullptr;
}

bool DragWith(HWND window, POINT pressAt, const std::function<void()>& script) {
    const DWORD testThread = GetCurrentThreadId();
    auto waitForCapture = [&](bool held) {
        return WaitUntil([&] { return (CaptureOfThread(testThread) == window) == held; }, 5000);
    };
    std::atomic<bool> played(false);
    std::thread player([&] {
        if (waitForCapture(true)) script();
        SendMouseButton(MOUSEEVENTF_LEFTUP);
        if (!waitForCapture(false)) SendKey(VK_ESCAPE, true), SendKey(VK_ESCAPE, false);
        played = true;
    });
    MoveCursor(pressAt);
    SendMouseButton(MOUSEEVENTF_LEFTDOWN);
    const bool ended = PumpUntil([&] { return played.load() && GetCapture() == nullptr; }, 15000);
    player.join();
    return ended;
}

bool WithPopupMenu(const std::function<void()>& open, const std::function<void(HWND popup, HMENU menu)>& choose) {
    std::atomic<bool> came(false), returned(false);
    std::thread player([&] {
        HWND popup = nullptr;
        // open() returning first means no popup is coming.
        WaitUntil([&] { return (popup = FindShownPopupMenu()) != nullptr || returned; }, kStepTimeoutMs);
        if (!popup) return;
        came = true;
        choose(popup, reinterpret_cast<HMENU>(SendMessageA(popup, MN_GETHMENU, 0, 0)));
        WaitUntil([&] { return !IsWindow(popup) || !IsWindowVisible(popup); }, 5000);
        if (IsWindow(popup) && IsWindowVisible(popup)) PostMessageA(popup, WM_KEYDOWN, VK_ESCAPE, 0);
    });
    open();
    returned = true;
    player.join();
    return came;
}

void PickPopupItem(HWND popup, int index) {
    for (int i = 0; i <= index; ++i) PostMessageA(popup, WM_KEYDOWN, VK_DOWN, 0);
    PostMessageA(popup, WM_KEYDOWN, VK_RETURN, 0);
}

void ChooseFile(HWND fileDialog, const std::string& path) {
    const int kFileNameCombo = 0x47C, kFileNameEdit = 0x480;
    const int box = GetDlgItem(fileDialog, kFileNameCombo) ? kFileNameCombo : kFileNameEdit;
    SetDlgItemTextA(fileDialog, box, path.c_str());
    Press(fileDialog, IDOK);
}
