// Counts the builder's warning boxes this thread opens, shown or ended unseen
// (a remembered answer ends a box before it shows), from Start to Stop.
#pragma once
#include <windows.h>

#include <string>

class WarningBoxCount {
 public:
  void Start() {
    count_ = 0;
    hook_ = SetWindowsHookExA(WH_CALLWNDPROC, NoteDialog, nullptr, GetCurrentThreadId());
  }
  void Stop() { UnhookWindowsHookEx(hook_); }
  void Reset() { count_ = 0; }
  int boxes() const { return count_; }

 private:
  // Every box starts with its dialog's first message, shown or not.
  static LRESULT CALLBACK NoteDialog(int code, WPARAM wParam, LPARAM lParam) {
    const CWPSTRUCT* call = reinterpret_cast<const CWPSTRUCT*>(lParam);
    char caption[32] = {};
    if (code == HC_ACTION && call->message == WM_INITDIALOG && GetWindowTextA(call->hwnd, caption, sizeof caption) &&
        std::string(caption) == "Warning!")
      ++count_;
    return CallNextHookEx(nullptr, code, wParam, lParam);
  }

  static inline int count_ = 0;  // a hook has no data of its own
  HHOOK hook_ = nullptr;
};
