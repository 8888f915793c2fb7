// Plays the user for the dialog tests: on a second thread it waits for each
// expected dialog of this process and acts on it, as a user would.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "waiting.h"

// Which dialog (class "#32770") a step waits for: the one holding the
// control of resource id control, or, for a dialog of the system's that has
// no id of ours, the one of that caption.
class DialogKey {
public:
    DialogKey(const char* caption) : m_caption(caption) {}
    DialogKey(std::string caption) : m_caption(std::move(caption)) {}
    bool Matches(HWND dialog) const;
    static DialogKey WithControl(int control) {
        DialogKey key("");
        key.m_control = control;
        return key;
    }

private:
    std::string m_caption;
    int m_control = 0;
};

// The shown, enabled dialog of process that key names; null when there is none.
HWND FindShownDialog(const DialogKey& key, DWORD process = GetCurrentProcessId());

struct RobotStep {
    DialogKey dialog;                   // the dialog to wait for (shown, enabled)
    std::function<void(HWND)> action;   // runs on the robot thread
};

class DialogRobot {
public:
    // Starts playing the steps in order, on dialogs of process (this one by
    // default); afterwards runs then (on the robot thread) when given.
    explicit DialogRobot(std::vector<RobotStep> steps, DWORD process = GetCurrentProcessId(),
                         std::function<void()> then = nullptr);
    // Waits for the robot; a step whose dialog never came cancels every open
    // dialog of the test thread so the test ends instead of hanging.
    ~DialogRobot();
    bool Finished();

private:
    void Play();

    std::vector<RobotStep> m_steps;
    DWORD m_process;
    std::function<void()> m_then;
    DWORD m_testThread;
    bool m_finished = false;
    std::thread m_thread;
};

// Runs program with workingFolder as current folder (null: the caller's)
// while a robot plays steps on its dialogs; its exit code, or -1 when it had
// to be stopped after a minute, -2 when it did not start.
DWORD RunProgram(const std::string& program, const char* workingFolder, std::vector<RobotStep> steps);
// As RunProgram; besides, once the steps are played, every dialog that one of
// unwanted names and that shows before the program ends is added to shown
// ("caption: message text") and answered with OK or No, so the run goes on.
DWORD RunProgramWatching(const std::string& program, const char* workingFolder, std::vector<RobotStep> steps,
                         const std::vector<DialogKey>& unwanted, std::vector<std::string>* shown);

// Clicks a button (or any command) of dialog.
void Press(HWND dialog, int id);
std::string ItemText(HWND dialog, int id);
bool IsChecked(HWND dialog, int id);
// Sets an edit's text; the control sends EN_CHANGE as for typing.
void TypeInto(HWND dialog, int id, const std::string& text);
// The text of a message box (its static with the message).
std::string MessageBoxText(HWND box);
// Clicks a check box as the mouse would: it toggles and tells its dialog.
void Click(HWND dialog, int id);

// Real input, as from the keyboard and mouse: it reaches whichever window has
// the focus or lies under the point, through every hook on the way. A test
// program that uses it is declared DESKTOP_INPUT, so it runs alone.
void PressKey(WORD virtualKey);
// Halves of presses, for holding a key or a button across other input
// (drags); MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_RIGHTUP and the like.
void SendKey(WORD virtualKey, bool down);
void SendMouseButton(DWORD buttonFlag);
// Moves the cursor to point (screen coordinates) so the window under it, or
// the capture, sees the move, and returns once the cursor is there.
void MoveCursor(POINT point);
// The mouse as a device moves and clicks: absolute moves in the input stream,
// in order with the presses around them, where setting the cursor's place
// may reach a popup-menu loop late and from where the cursor was.
void MoveMouse(POINT point);
void ClickWithMouse(POINT point);
// Moves the mouse to point and keeps it there for ms: under Wine a place the
// pointer had before can come back late, and is undone here.
void SettleMouse(POINT point, DWORD ms = 300);
// The window holding the mouse capture in thread threadId, or null.
HWND CaptureOfThread(DWORD threadId);
// Presses the left button at point over window; once window holds this
// thread's capture (a drag loop runs), another thread plays script, then lets
// the button up (and presses Escape if the capture stays). This thread pumps
// meanwhile; true when the capture ended in time.
bool DragWith(HWND window, POINT pressAt, const std::function<void()>& script);
// Runs open(), which tracks a popup menu on this thread, while another thread
// waits for the popup window (class "#32768") of this process and hands it
// and its menu to choose; a popup still open after that gets Escape, so the
// test ends. True when a popup came.
bool WithPopupMenu(const std::function<void()>& open, const std::function<void(HWND popup, HMENU menu)>& choose);
// Chooses the selectable item at index (from 0) of a shown popup menu with
// Down and Enter posted to it, as the keyboard would.
void PickPopupItem(HWND popup, int index);
// Types path into a system Open or Save As dialog's file name box and presses its OK.
void ChooseFile(HWND fileDialog, const std::string& path);
