// Whether this thread shows a balloon tip: the builder's success balloon,
// looked for by its window classes.
#pragma once
#include <windows.h>

#include <string>

#include "tips/BalloonTipWnd.h"

inline BOOL CALLBACK NoteBalloon(HWND window, LPARAM found) {
  char name[64] = {};
  GetClassNameA(window, name, sizeof name);
  if (std::string(name) == kBalloonShadowClass || std::string(name) == kBalloonPlainClass)
    *reinterpret_cast<bool*>(found) = true;
  return TRUE;
}

inline bool BalloonShown() {
  bool found = false;
  EnumThreadWindows(GetCurrentThreadId(), NoteBalloon, reinterpret_cast<LPARAM>(&found));
  return found;
}
