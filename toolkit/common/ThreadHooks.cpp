#include "toolkit/common/ThreadHooks.h"

#include <algorithm>
#include <vector>

#include "classlib/exception.h"

namespace {

struct ThreadHooks {
  HHOOK hook[kXTHookKinds] = {};
  std::vector<CXTHookClient*> holders[kXTHookKinds];
};

ThreadHooks& Hooks() {
  static thread_local ThreadHooks hooks;
  return hooks;
}

int Index(XTHookKind kind) { return static_cast<int>(kind); }

bool StillHolds(XTHookKind kind, CXTHookClient* client) {
  const std::vector<CXTHookClient*>& holders = Hooks().holders[Index(kind)];
  return std::find(holders.begin(), holders.end(), client) != holders.end();
}

// Asks holders until one answers true (taken); a client may let go (and so
// take the hook off) from its own call, so the walk is over a copy and skips
// those already gone. A client that throws counts as not taking.
template <class Call>
bool AskHolders(XTHookKind kind, Call call) {
  const std::vector<CXTHookClient*> holders = Hooks().holders[Index(kind)];
  for (CXTHookClient* client : holders)
    if (StillHolds(kind, client) && CallFromSystem(false, [&] { return call(client); })) return true;
  return false;
}

// Tells every holder, none of which takes the event.
template <class Call>
void TellHolders(XTHookKind kind, Call call) {
  AskHolders(kind, [&](CXTHookClient* client) {
    call(client);
    return false;
  });
}

LRESULT CALLBACK CbtHook(int code, WPARAM wParam, LPARAM lParam) {
  const LRESULT result = CallNextHookEx(nullptr, code, wParam, lParam);
  if (code >= 0) TellHolders(XTHookKind::kCbt, [&](CXTHookClient* c) { c->OnHookCbt(code, wParam, lParam); });
  return result;
}

LRESULT CALLBACK MessageFilterHook(int code, WPARAM wParam, LPARAM lParam) {
  MSG& message = *reinterpret_cast<MSG*>(lParam);
  if (code >= 0 &&
      AskHolders(XTHookKind::kMessageFilter, [&](CXTHookClient* c) { return c->OnHookMessageFilter(code, message); }))
    return 1;
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

LRESULT CALLBACK KeyboardHook(int code, WPARAM wParam, LPARAM lParam) {
  if (code >= 0)
    TellHolders(XTHookKind::kKeyboard, [&](CXTHookClient* c) { c->OnHookKeyboard(wParam, lParam); });
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

LRESULT CALLBACK MouseHook(int code, WPARAM wParam, LPARAM lParam) {
  if (code >= 0) {
    const MOUSEHOOKSTRUCT& mouse = *reinterpret_cast<const MOUSEHOOKSTRUCT*>(lParam);
    const UINT message = static_cast<UINT>(wParam);
    TellHolders(XTHookKind::kMouse, [&](CXTHookClient* c) { c->OnHookMouse(message, mouse); });
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

LRESULT CALLBACK WindowProcReturnHook(int code, WPARAM wParam, LPARAM lParam) {
  if (code >= 0) {
    const CWPRETSTRUCT& message = *reinterpret_cast<const CWPRETSTRUCT*>(lParam);
    TellHolders(XTHookKind::kWindowProcReturn,
                [&](CXTHookClient* c) { c->OnHookWindowProcReturn(message); });
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

struct HookType {
  int idHook;
  HOOKPROC procedure;
};

// In XTHookKind's order.
const HookType kHookTypes[kXTHookKinds] = {
    {WH_CBT, CbtHook},
    {WH_MSGFILTER, MessageFilterHook},
    {WH_KEYBOARD, KeyboardHook},
    {WH_MOUSE, MouseHook},
    {WH_CALLWNDPROCRET, WindowProcReturnHook},
};

}  // namespace

bool HoldThreadHook(XTHookKind kind, CXTHookClient* client) {
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

void ReleaseThreadHook(XTHookKind kind, CXTHookClient* client) {
  ThreadHooks& hooks = Hooks();
  const int k = Index(kind);
  std::vector<CXTHookClient*>& holders = hooks.holders[k];
  holders.erase(std::remove(holders.begin(), holders.end(), client), holders.end());
  if (holders.empty() && hooks.hook[k] != nullptr) {
    UnhookWindowsHookEx(hooks.hook[k]);
    hooks.hook[k] = nullptr;
  }
}

int ThreadHookHolders(XTHookKind kind) { return static_cast<int>(Hooks().holders[Index(kind)].size()); }

bool IsThreadHookInstalled(XTHookKind kind) { return Hooks().hook[Index(kind)] != nullptr; }
