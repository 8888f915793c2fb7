// Waiting on state, never for a fixed time: a test runs this thread's
// messages until what it expects holds, or polls what another thread or
// process changes.
#pragma once

#include <windows.h>

#include <functional>

// What a test's message loop does besides translating and dispatching: a
// chance to take each message first (true: taken), and idle work once none waits.
struct MessageLoop {
  std::function<bool(MSG&)> pretranslate;
  std::function<void()> idle;
};

// Runs the messages waiting for this thread, and returns once none is left.
void PumpWaiting(const MessageLoop& loop = {});
// Runs this thread's waiting messages until done() holds or ms pass; done()'s last answer.
bool PumpUntil(const std::function<bool()>& done, DWORD ms, const MessageLoop& loop = {});
// Polls check() without running messages, for state that another thread or
// process changes, until it holds or ms pass; check()'s last answer.
bool WaitUntil(const std::function<bool()>& check, DWORD ms = 10000);
