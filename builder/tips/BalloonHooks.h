// The thread hooks that close balloon tips. A thread holds at most one hook
// of each kind: installed when its first balloon asks for it, removed when
// its last one lets go. Each hook hands its events to every balloon of the
// thread that holds it, so two balloons shown at once each hear their own
// triggers. Balloons are found in a table of the thread: no code is made at
// run time.
#pragma once
#include <windows.h>

enum class BalloonHookKind { kKeyboard, kMouse, kWindowProcReturn };
constexpr int kBalloonHookKinds = 3;

class BalloonHookClient {
 public:
  // A key went down or up (key data as the keyboard hook gives it).
  virtual void OnHookKeyboard(WPARAM key, LPARAM keyData) {}
  virtual void OnHookMouse(UINT message, const MOUSEHOOKSTRUCT& mouse) {}
  // A window procedure of the thread returned from a message.
  virtual void OnHookWindowProcReturn(const CWPRETSTRUCT& message) {}

 protected:
  ~BalloonHookClient() = default;
};

// Adds client to the kind's holders; FALSE when the hook cannot be installed.
// Holding twice is holding once.
bool HoldBalloonHook(BalloonHookKind kind, BalloonHookClient* client);
void ReleaseBalloonHook(BalloonHookKind kind, BalloonHookClient* client);
// How many clients of the calling thread hold the kind's hook.
int BalloonHookHolders(BalloonHookKind kind);
// Whether the calling thread has the kind's hook installed.
bool IsBalloonHookInstalled(BalloonHookKind kind);
