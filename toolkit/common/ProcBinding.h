// Binds an entry point found at run time to its function type.
#pragma once

#include <windows.h>

template <class Fn>
Fn BindProc(HMODULE module, LPCSTR name) {
  // Through the generic function type: a function pointer cast, never an
  // object pointer cast.
  return module ? reinterpret_cast<Fn>(reinterpret_cast<void (*)()>(::GetProcAddress(module, name))) : nullptr;
}
