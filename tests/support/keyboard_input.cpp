#include "keyboard_input.h"

#include <vector>

#include "dialog_robot.h"

void TypeText(const std::string& text) {
  std::vector<INPUT> keys;
  for (unsigned char c : text) {
    INPUT key = {};
    key.type = INPUT_KEYBOARD;
    key.ki.wScan = c;
    key.ki.dwFlags = KEYEVENTF_UNICODE;
    keys.push_back(key);
    key.ki.dwFlags |= KEYEVENTF_KEYUP;
    keys.push_back(key);
  }
  SendInput(static_cast<UINT>(keys.size()), keys.data(), sizeof(INPUT));
}

void PressWith(WORD modifier, WORD key) {
  SendKey(modifier, true);
  PressKey(key);
  SendKey(modifier, false);
}

HWND FocusOfThread(DWORD threadId) {
  GUITHREADINFO info = {};
  info.cbSize = sizeof info;
  return GetGUIThreadInfo(threadId, &info) ? info.hwndFocus : nullptr;
}

bool TypeFileName(HWND fileDialog, const std::string& path) {
  const int kFileNameCombo = 0x47C, kFileNameEdit = 0x480;
  HWND box = GetDlgItem(fileDialog, kFileNameCombo);
  if (!box) box = GetDlgItem(fileDialog, kFileNameEdit);
  const DWORD thread = GetWindowThreadProcessId(fileDialog, nullptr);
  auto inBox = [&] {
    HWND focus = FocusOfThread(thread);
    return focus && (focus == box || IsChild(box, focus));
  };
  // The dialog gives the name box the focus as it opens; a click puts it there otherwise.
  if (!PumpUntil(inBox, 2000)) {
    RECT rect;
    GetWindowRect(box, &rect);
    ClickWithMouse({rect.left + 8, (rect.top + rect.bottom) / 2});
    if (!PumpUntil(inBox, 2000)) return false;
  }
  PressKey(VK_HOME);
  PressWith(VK_SHIFT, VK_END);
  TypeText(path);
  char shown[MAX_PATH] = {};
  if (!PumpUntil(
          [&] {
            SendMessageA(FocusOfThread(thread), WM_GETTEXT, sizeof shown, reinterpret_cast<LPARAM>(shown));
            return path == shown;
          },
          5000))
    return false;
  PressKey(VK_RETURN);
  return PumpUntil([&] { return !IsWindow(fileDialog) || !IsWindowVisible(fileDialog); }, 10000);
}
