// How a popup menu is revealed: its finished image (source) is copied onto
// the popup (target) in steps. The caller copies the complete image
// afterwards in every case.
#pragma once

#include "classlib/dc.h"

enum XTMenuAnimation {
  kMenuAnimationSystem = 0,  // as the system's menu animation settings say
  kMenuAnimationRandom = 1,  // fade, slide or unfold at random
  kMenuAnimationUnfold = 2,
  kMenuAnimationSlide = 3,
  kMenuAnimationFade = 4,
  kMenuAnimationNone = -1,  // any other value also means none
};

// An application's own animation; it gets the resolved kind.
typedef void (*XTMenuAnimationFn)(const RECT& rect, CDC* target, CDC* source, int kind, int steps, int duration);
// Null restores the built-in animations.
void SetMenuAnimationHandler(XTMenuAnimationFn handler);

// The kind the popups use (the customise options set it); 0 by default.
int GetMenuAnimationKind();
void SetMenuAnimationKind(int kind);

// While the popup hooks hold the system's menu animation off, the setting
// they saved stands for the system's own (null: ask the system again).
void HoldSystemMenuAnimation(const BOOL* saved);
// Unfold, slide, fade or none for a requested kind.
int ResolveMenuAnimation(int kind);
// rect: the popup in target coordinates; the source image starts at (0, 0).
void AnimateMenuWindow(const RECT& rect, CDC* target, CDC* source, int kind, int steps, int duration);
