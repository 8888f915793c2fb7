// The external progress program both sides can start and feed by WM_COPYDATA.
#pragma once
#include <windows.h>
#include <cstdint>

#pragma pack(push, 1)
struct ProgressStatusRecord {
  int32_t percent;
  char text[352];  // at most 351 characters and the terminator
};
#pragma pack(pop)
static_assert(sizeof(ProgressStatusRecord) == 356, "the progress program reads 356 bytes");

enum : ULONG_PTR {
  kProgressOverall = 0,
  kProgressItem = 1,
};

struct ProgressWindow {
  HWND window;
  int open;
  int cancelButton;
};

// Starts the program with the command line, waits until it takes input (at
// most 10 s) and keeps the first top-level window of its first thread.
// 1 when the window was found; 0 leaves the reports to the callbacks.
int ProgressProgramStart(ProgressWindow *progress, const char *commandLine, int cancelButton);

// Sends one status record; the window's reply is the answer.
LRESULT ProgressWindowSend(const ProgressWindow *progress, ULONG_PTR kind, int percent, const char *text);

// Posts WM_CLOSE and pumps while the window lives, at most 5 s. 1 when a
// window was kept.
int ProgressWindowClose(ProgressWindow *progress);

// EnumWindows routine: lParam points at a ProgressWindowSearch.
struct ProgressWindowSearch {
  DWORD threadId;
  HWND found;
};
BOOL CALLBACK FindProgressWindow(HWND window, LPARAM search);

// Dispatches every pending message of the calling thread.
void PumpThreadMessages();
