#include "builder_driving.h"

#include <commctrl.h>
#include <prsht.h>

#include "builder_resource.h"
#include "dialog_robot.h"
#include "keyboard_input.h"
#include "window_search.h"

const PageOf kGeneralPage = {0, IDC_GENERAL_BUILD, "Button"};
const PageOf kOptionsPage = {1, IDC_OPTIONS_LAUNCH_LIST, "ComboBox"};
const PageOf kPasswordPage = {2, IDC_PASSWORD_STRENGTH, "ComboBox"};
const PageOf kBuildPage = {3, IDC_BUILD_OVERALL_BAR, PROGRESS_CLASSA};

std::string ControlText(HWND control) {
  char text[1024] = {};
  SendMessageA(control, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
  return text;
}

HWND FindControl(HWND root, int id, const char* className) {
  return FindDescendant(root, [&](HWND window) { return GetDlgCtrlID(window) == id && HasClass(window, className); });
}

HWND FindSheet(HWND frame) {
  HWND tabs = FindDescendant(frame, [](HWND window) { return HasClass(window, WC_TABCONTROLA); });
  return tabs ? GetParent(tabs) : nullptr;
}

POINT Middle(HWND window) {
  RECT rect;
  GetWindowRect(window, &rect);
  return {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
}

// A window of another program may still lie over the control: a user would
// bring the control's window up; here it is asked to come forward. The
// pointer rests on the point first: under Wine a place it had before can
// come back late and take the press.
bool ClickControl(HWND control) {
  const bool reachable = WaitUntil(
      [&] {
        HWND root = GetAncestor(control, GA_ROOT);
        if (GetAncestor(WindowFromPoint(Middle(control)), GA_ROOT) == root) return true;
        SetForegroundWindow(root);
        return false;
      },
      5000);
  if (!reachable) return false;
  SettleMouse(Middle(control), 150);
  ClickWithMouse(Middle(control));
  return true;
}

bool ClickUntil(HWND control, const std::function<bool()>& done) {
  return WaitUntil([&] { return done() || (ClickControl(control) && WaitUntil(done, 1500)); }, 8000);
}

bool HasFocus(HWND control) { return FocusOfThread(GetWindowThreadProcessId(control, nullptr)) == control; }

bool TypeOver(HWND edit, const std::string& text) {
  PressKey(VK_HOME);
  PressWith(VK_SHIFT, VK_END);
  TypeText(text);
  return WaitUntil([&] { return ControlText(edit) == text; }, 5000);
}

bool ClickAndType(HWND edit, const std::string& text) {
  return ClickUntil(edit, [&] { return HasFocus(edit); }) && TypeOver(edit, text);
}

bool PickWithKeys(HWND list, const std::string& text) {
  const LRESULT row =
      SendMessageA(list, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(text.c_str()));
  if (row < 0 || !ClickUntil(list, [&] { return SendMessageA(list, CB_GETDROPPEDSTATE, 0, 0) != 0; })) return false;
  for (LRESULT at = SendMessageA(list, CB_GETCURSEL, 0, 0); at != row;) {
    PressKey(at < row ? VK_DOWN : VK_UP);
    const LRESULT from = at;
    if (!WaitUntil([&] { return (at = SendMessageA(list, CB_GETCURSEL, 0, 0)) != from; }, 5000)) return false;
  }
  PressKey(VK_RETURN);
  return WaitUntil([&] { return SendMessageA(list, CB_GETDROPPEDSTATE, 0, 0) == 0 && ControlText(list) == text; },
                   5000);
}

bool Tick(HWND box) {
  return ClickUntil(box, [&] { return SendMessageA(box, BM_GETCHECK, 0, 0) == BST_CHECKED; });
}

void DrivenBuilder::StartBuilder(const std::string& arguments) {
  ASSERT_TRUE(builder_.Start(arguments));
  frame_ = builder_.WaitForFrame();
  ASSERT_NE(nullptr, frame_);
  GetWindowThreadProcessId(frame_, &process_);
  ASSERT_TRUE(WaitUntil([&] { return (sheet_ = FindSheet(frame_)) != nullptr; }, 10000));
  ASSERT_TRUE(builder_.WaitUntilIdle());
}

HWND DrivenBuilder::Show(const PageOf& page) {
  SendMessageA(sheet_, PSM_SETCURSEL, page.index, 0);
  HWND mark = nullptr;
  WaitUntil([&] { return (mark = FindControl(sheet_, page.markId, page.markClass)) != nullptr; }, 5000);
  return mark ? GetParent(mark) : nullptr;
}

HWND DrivenBuilder::ComboEdit(HWND page, int id) {
  HWND edit = reinterpret_cast<HWND>(SendMessageA(Item(page, id), CBEM_GETEDITCONTROL, 0, 0));
  return edit ? edit : Item(page, id);
}

HWND DrivenBuilder::CurrentPage() const {
  return reinterpret_cast<HWND>(SendMessageA(sheet_, PSM_GETCURRENTPAGEHWND, 0, 0));
}

HWND DrivenBuilder::Shown(const PageOf& page) {
  HWND shown = nullptr;
  WaitUntil(
      [&] {
        HWND mark = FindControl(sheet_, page.markId, page.markClass);
        shown = mark && GetParent(mark) == CurrentPage() && IsWindowVisible(GetParent(mark)) ? GetParent(mark) : nullptr;
        return shown != nullptr;
      },
      5000);
  return shown;
}

HWND DrivenBuilder::TurnTo(const PageOf& page) {
  PressWith(VK_CONTROL, VK_TAB);
  return Shown(page);
}

bool DrivenBuilder::InFront() {
  RECT rect;
  GetWindowRect(frame_, &rect);
  const POINT caption = {(rect.left + rect.right) / 2, rect.top + GetSystemMetrics(SM_CYCAPTION) / 2 + 2};
  return WaitUntil(
      [&] {
        if (GetForegroundWindow() == frame_) return true;
        ClickWithMouse(caption);
        return WaitUntil([&] { return GetForegroundWindow() == frame_; }, 1000);
      },
      6000);
}

bool DrivenBuilder::FromFileMenu(WORD mnemonic) {
  if (!InFront()) return false;
  PressWith(VK_MENU, 'F');
  HWND menu =
      builder_.WaitForWindow([](HWND window) { return HasClass(window, "#32768") && IsWindowVisible(window); }, 5000);
  if (menu) PressKey(mnemonic);
  return menu != nullptr;
}

HWND DrivenBuilder::Focus() const { return FocusOfThread(GetWindowThreadProcessId(frame_, nullptr)); }

bool DrivenBuilder::Answers() const {
  DWORD_PTR result = 0;
  return SendMessageTimeoutA(frame_, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 3000, &result) != 0;
}
