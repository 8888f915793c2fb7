// Names of keys and modifiers, and shortcuts written with them: "Shift+Ctrl+S".
#include "toolkit/frame/ShortcutManager.h"

namespace {

struct KeyName {
  WORD wKey;
  const char* name;
};

// Keys whose names are not their own character or a numbered series (digits,
// letters, F1-F12, Num 0-Num 9 are made in GetKeyName).
const KeyName kKeyNames[] = {
    {VK_LBUTTON, "Left Button"},
    {VK_RBUTTON, "Right Button"},
    {VK_CANCEL, "Cancel"},
    {VK_MBUTTON, "Middle Button"},
    {VK_BACK, "Back"},
    {VK_TAB, "Tab"},
    {VK_CLEAR, "Clear"},
    {VK_RETURN, "Enter"},
    {VK_SHIFT, "Shift"},
    {VK_CONTROL, "Ctrl"},
    {VK_MENU, "Alt"},
    {VK_PAUSE, "Pause"},
    {VK_CAPITAL, "Caps Lock"},
    {VK_ESCAPE, "Esc"},
    {VK_SPACE, "Space"},
    {VK_PRIOR, "Page Up"},
    {VK_NEXT, "Page Down"},
    {VK_END, "End"},
    {VK_HOME, "Home"},
    {VK_LEFT, "Left Arrow"},
    {VK_UP, "Up Arrow"},
    {VK_RIGHT, "Right Arrow"},
    {VK_DOWN, "Down Arrow"},
    {VK_SELECT, "Select"},
    {VK_PRINT, "Print"},
    {VK_EXECUTE, "Execute"},
    {VK_SNAPSHOT, "Snapshot"},
    {VK_INSERT, "Ins"},
    {VK_DELETE, "Del"},
    {VK_HELP, "Help"},
    {VK_LWIN, "Left Windows"},
    {VK_RWIN, "Right Windows"},
    {VK_APPS, "Application"},
    {VK_MULTIPLY, "Num *"},
    {VK_ADD, "Num +"},
    {VK_SEPARATOR, "Separator"},
    {VK_SUBTRACT, "Num -"},
    {VK_DECIMAL, "Num ."},
    {VK_DIVIDE, "Num /"},
    {VK_NUMLOCK, "Num Lock"},
    {VK_SCROLL, "Scrl Lock"},
    {VK_ATTN, "Attn"},
    {VK_CRSEL, "Crsel"},
    {VK_EXSEL, "Exsel"},
    {VK_EREOF, "Ereof"},
    {VK_PLAY, "Play"},
    {VK_ZOOM, "Zoom"},
    {VK_NONAME, "No Name"},
    {VK_PA1, "Pa1"},
    {VK_OEM_CLEAR, "Oem Clear"},
};

// Modifiers in the order they are written.
const struct {
  BYTE bit;
  const char* name;
} kModifiers[] = {{FSHIFT, "Shift"}, {FCONTROL, "Ctrl"}, {FALT, "Alt"}};

const int kFunctionKeys = 12;
const int kNumPadDigits = 10;

}  // namespace

CString CXTShortcutManager::GetKeyName(WORD wKey) {
  CString name;
  if ((wKey >= '0' && wKey <= '9') || (wKey >= 'A' && wKey <= 'Z')) {
    name = CString(static_cast<char>(wKey), 1);
  } else if (wKey >= VK_F1 && wKey < VK_F1 + kFunctionKeys) {
    name.Format("F%d", wKey - VK_F1 + 1);
  } else if (wKey >= VK_NUMPAD0 && wKey < VK_NUMPAD0 + kNumPadDigits) {
    name.Format("Num %d", wKey - VK_NUMPAD0);
  } else {
    for (const KeyName& entry : kKeyNames)
      if (entry.wKey == wKey) return entry.name;
  }
  return name;
}

CString CXTShortcutManager::FormatShortcut(const ACCEL& accel) {
  CString text;
  if (!accel.key) return text;
  for (const auto& modifier : kModifiers)
    if (accel.fVirt & modifier.bit) (text += modifier.name) += "+";
  return text += GetKeyName(accel.key);
}
