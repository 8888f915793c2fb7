#include "waiting.h"

namespace {

// True when any message was waiting. A WM_QUIT is left waiting for the
// loop that is to end on it.
bool RunWaiting(const MessageLoop& loop) {
  bool any = false;
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(message.wParam));
      return false;
    }
    any = true;
    if (loop.pretranslate && loop.pretranslate(message)) continue;
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  if (!any && loop.idle) loop.idle();
  return any;
}

}  // namespace

void PumpWaiting(const MessageLoop& loop) {
  while (RunWaiting(loop)) {
  }
}

bool PumpUntil(const std::function<bool()>& done, DWORD ms, const MessageLoop& loop) {
  const DWORD start = GetTickCount();
  for (;;) {
    RunWaiting(loop);
    if (done()) return true;
    if (GetTickCount() - start >= ms) return false;
    Sleep(5);
  }
}

bool WaitUntil(const std::function<bool()>& check, DWORD ms) {
  const DWORD start = GetTickCount();
  while (!check()) {
    if (GetTickCount() - start >= ms) return check();
    Sleep(10);
  }
  return true;
}
