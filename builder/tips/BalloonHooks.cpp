#include "BalloonHooks.h"

#include <algorithm>
#include <vector>

namespace {

struct ThreadHooks {
  HHOOK hook[kBalloonHookKinds] = {};
  std::vector<BalloonHookClient*> holders[kBalloonHookKinds];
};

ThreadHooks& Hooks() {
  static thread_local ThreadHooks hooks;
  return hooks;
}

int Index(BalloonHookKind kind) { return static_cast<int>(kind); }

bool StillHolds(BalloonHookKind kind, BalloonHookClient* client) {
  const std::vector<BalloonHookClient*>& holders = Hooks().holders[Index(kind)];
  return std::find(holders.begin(), holders.end(), client) != holders.end();
}

// Calls every holder; a client may let go (and so remove the hook) from its
// own call, so the walk is over a copy and skips those already gone.
template <class Call>
void TellHolders(BalloonHookKind kind, Call call) {
  const std::vector<BalloonHookClient*> holders = Hooks().holders[Index(kind)];
  for (BalloonHookClient* client : holders)
    if (StillHolds(kind, client)) call(client);
}

LRESULT CALLBACK KeyboardHook(int code, WPARAM wParam, LPARAM lParam) {
  if (code >= 0)
    TellHolders(BalloonHookKind::kKeyboard, [&](BalloonHookClient* c) { c->OnHookKeyboard(wParam, lParam); });
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

LRESULT CALLBACK MouseHook(int code, WPARAM wParam, LPARAM lParam) {
  if (code >= 0) {
    const MOUSEHOOKSTRUCT& mouse = *reinterpret_cast<const MOUSEHOOKSTRUCT*>(lParam);
    TellHolders(BalloonHookKind::kMouse,
                [&](BalloonHookClient* c) { c->OnHookMouse(static_cast<UINT>(wParam), mouse); });
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

LRESULT CALLBACK WindowProcReturnHook(int code, WPARAM wParam, LPARAM lParam) {
  if (code >= 0) {
    const CWPRETSTRUCT& message = *reinterpret_cast<const CWPRETSTRUCT*>(lParam);
    TellHolders(BalloonHookKind::kWindowProcReturn, [&](BalloonHookClient* c) { c->OnHookWindowProcReturn(message); });
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

struct HookType {
  int idHook;
  HOOKPROC procedure;
};

const HookType kHookTypes[kBalloonHookKinds] = {
    {WH_KEYBOARD, KeyboardHook},
    {WH_MOUSE, MouseHook},
    {WH_CALLWNDPROCRET, WindowProcReturnHook},
};

}  // namespace

bool HoldBalloonHook(BalloonHookKind kind, BalloonHookClient* client) {
  ThreadHooks& hooks = Hooks();
  const int k = Index(kind);
  if (StillHolds(kind, client)) return true;
  if (hooks.hook[k] == nullptr) {
    hooks.hook[k] = SetWindowsHookExA(kHookTypes[k].idHook, kHookTypes[k].procedure, nullptr, GetCurrentThreadId());
    if (hooks.hook[k] == nullptr) return false;
  }
  hooks.holders[k].push_back(client);
  return true;
}

void ReleaseBalloonHook(BalloonHookKind kind, BalloonHookClient* client) {
  ThreadHooks& hooks = Hooks();
  const int k = Index(kind);
  std::vector<BalloonHookClient*>& holders = hooks.holders[k];
  holders.erase(std::remove(holders.begin(), holders.end(), client), holders.end());
  if (holders.empty() && hooks.hook[k] != nullptr) {
    UnhookWindowsHookEx(hooks.hook[k]);
    hooks.hook[k] = nullptr;
  }
}

int BalloonHookHolders(BalloonHookKind kind) { return static_cast<int>(Hooks().holders[Index(kind)].size()); }

bool IsBalloonHookInstalled(BalloonHookKind kind) { return Hooks().hook[Index(kind)] != nullptr; }
