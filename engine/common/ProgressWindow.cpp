#include "ProgressWindow.h"

#include <cstring>

BOOL CALLBACK FindProgressWindow(HWND window, LPARAM search) {
  auto *wanted = reinterpret_cast<ProgressWindowSearch *>(search);
  if (GetWindowThreadProcessId(window, nullptr) != wanted->threadId) return TRUE;
  wanted->found = window;
  return FALSE;
}

int ProgressProgramStart(ProgressWindow *progress, const char *commandLine, int cancelButton) {
  progress->window = nullptr;
  progress->open = 0;
  progress->cancelButton = 0;
  char line[2048];
  lstrcpynA(line, commandLine, sizeof line);
  STARTUPINFOA startup;
  memset(&startup, 0, sizeof startup);
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = SW_SHOWNORMAL;
  PROCESS_INFORMATION process;
  if (!CreateProcessA(nullptr, line, nullptr, nullptr, FALSE, NORMAL_PRIORITY_CLASS, nullptr, nullptr, &startup,
                      &process))
    return 0;
  WaitForInputIdle(process.hProcess, 10000);
  ProgressWindowSearch search = {process.dwThreadId, nullptr};
  EnumWindows(FindProgressWindow, reinterpret_cast<LPARAM>(&search));
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  if (!search.found) return 0;
  progress->window = search.found;
  progress->open = 1;
  progress->cancelButton = cancelButton;
  return 1;
}

LRESULT ProgressWindowSend(const ProgressWindow *progress, ULONG_PTR kind, int percent, const char *text) {
  ProgressStatusRecord record;
  memset(&record, 0, sizeof record);
  record.percent = percent;
  lstrcpynA(record.text, text ? text : "", sizeof record.text);
  COPYDATASTRUCT data = {kind, sizeof record, &record};
  return SendMessageA(progress->window, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data));
}

int ProgressWindowClose(ProgressWindow *progress) {
  int hadWindow = progress->window != nullptr;
  if (hadWindow) {
    PostMessageA(progress->window, WM_CLOSE, 0, 0);
    DWORD start = GetTickCount();
    while (IsWindow(progress->window) && GetTickCount() - start < 5000) {
      PumpThreadMessages();
      Sleep(10);
    }
  }
  progress->window = nullptr;
  progress->open = 0;
  progress->cancelButton = 0;
  return hadWindow;
}

void PumpThreadMessages() {
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
}
