// Real typing, as from the keyboard: it reaches whichever window has the
// focus, through every hook on the way. A test program that uses it is
// declared DESKTOP_INPUT, so it runs alone.
#pragma once

#include <windows.h>

#include <string>

// Types text as the keyboard would, one character after another, into
// whichever window has the focus.
void TypeText(const std::string& text);
// Presses key while modifier is held down: Ctrl+S, Alt+F, Ctrl+Tab.
void PressWith(WORD modifier, WORD key);
// The window with the keyboard focus in thread threadId, or null.
HWND FocusOfThread(DWORD threadId);
// Types path with the keyboard into a system Open or Save As dialog's file
// name box, replacing what it holds, and presses Enter; true once the dialog
// has gone.
bool TypeFileName(HWND fileDialog, const std::string& path);
