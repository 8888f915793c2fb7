// Shows one of the builder's small windows with sample contents for a few
// seconds, so take_screenshots.sh can capture what the user sees.
// Usage: builder_preview warning|password|about|sysinfo|history|balloon|hover
#include <windows.h>
#include <commctrl.h>

#include <cstring>
#include <functional>
#include <string>
#include <thread>

#include "classlib/winapp.h"
#include "dialogs/AboutBox.h"
#include "dialogs/HistoryComboBox.h"
#include "dialogs/LiteZipPasswrdCallback.h"
#include "dialogs/WarnMessageBoxOnOff.h"
#include "sysinfo/SystemInfoDlg.h"
#include "tips/BalloonTipWnd.h"
#include "tips/HoverTipWnd.h"
#include "builder_resource.h"

namespace {

constexpr DWORD kShownMs = 6000;
constexpr char kRegistryKey[] = "Brennicor Builder Preview";

class CPreviewApp : public CWinApp {
 public:
  CPreviewApp() : CWinApp("Builder Preview") { SetRegistryKey(kRegistryKey); }
};
CPreviewApp theApp;

// Ends whatever the main thread shows once the capture had its time.
void CloseLater(DWORD thread) {
  std::thread([thread] {
    Sleep(kShownMs);
    EnumThreadWindows(
        thread,
        [](HWND window, LPARAM) -> BOOL {
          PostMessageA(window, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
          PostMessageA(window, WM_CLOSE, 0, 0);
          return TRUE;
        },
        0);
  }).detach();
}

void PumpFor(DWORD ms) {
  const DWORD start = GetTickCount();
  while (GetTickCount() - start < ms) {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&message);
      DispatchMessageA(&message);
    }
    Sleep(10);
  }
}

// A captioned window standing in for the builder's frame.
class PreviewFrame : public CWnd {
 public:
  explicit PreviewFrame(LPCSTR caption) {
    CreateEx(0, AfxRegisterWndClass(0, LoadCursorA(nullptr, IDC_ARROW), reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1)),
             caption, WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_VISIBLE, 200, 200, 480, 300, nullptr, nullptr);
    theApp.m_pMainWnd = this;
  }
  ~PreviewFrame() override { theApp.m_pMainWnd = nullptr; }
};

int ShowWarning() {
  CWarnMessageBoxOnOff box(IDS_WARNING_TITLE, IDS_OUTPUT_FILE_EXISTS, "PreviewWarning", nullptr,
                           "C:\\Projects\\setup.exe", TRUE);
  return static_cast<int>(box.DoModal());
}

int ShowHistory() {
  PreviewFrame frame("History");
  CMyHistoryComboBoxExtended combo;
  combo.Create(WS_CHILD | WS_VISIBLE | CBS_DROPDOWN, CRect(20, 20, 440, 220), &frame, 100);
  combo.SetFont(CFont::FromHandle(static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT))));
  const std::string key = std::string("Software\\") + kRegistryKey + "\\ComboBxsEx\\DefaultInitialZIP";
  combo.SetHistoryKey(key.c_str());
  HKEY values;
  RegCreateKeyA(HKEY_CURRENT_USER, key.c_str(), &values);
  const char* const rows[] = {"C:\\windows", "C:\\windows\\system32\\notepad.exe", "C:\\users"};
  for (int n = 0; n < 3; ++n)
    RegSetValueExA(values, ("Item" + std::to_string(n)).c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(rows[n]),
                   static_cast<DWORD>(strlen(rows[n]) + 1));
  RegCloseKey(values);
  combo.SetWindowText("C:\\Projects\\source.zip");
  frame.SendMessage(WM_COMMAND, MAKEWPARAM(100, CBN_DROPDOWN), reinterpret_cast<LPARAM>(combo.GetSafeHwnd()));
  combo.SendMessage(CB_SHOWDROPDOWN, TRUE);
  PumpFor(kShownMs);
  return 0;
}

int ShowBalloon() {
  PreviewFrame frame("Build");
  CButton test;
  test.Create("Test Brennicor", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, CRect(300, 200, 440, 230), &frame, 101);
  PumpFor(300);
  ShowInfoBalloon(test.GetSafeHwnd(), &frame, IDS_BUILD_SUCCEEDED_TITLE, IDS_BUILD_SUCCEEDED_TEXT, FALSE);
  PumpFor(2500);
  return 0;
}

int ShowHover() {
  PreviewFrame frame("Options");
  CButton control;
  control.Create("Launch after extraction", WS_CHILD | WS_VISIBLE | BS_AUTOCHECKBOX, CRect(200, 150, 440, 180), &frame,
                 102);
  CHoverTipWnd tip;
  tip.CreateTip(&frame);
  tip.AddTool(&control, "The file to open once every entry is extracted.", LoadIconA(nullptr, IDI_INFORMATION));
  PumpFor(300);
  CRect rect;
  control.GetWindowRect(&rect);
  SetCursorPos(rect.left + 60, rect.top + 15);
  PumpFor(200);
  MSG move = {};
  move.hwnd = control.GetSafeHwnd();
  move.message = WM_MOUSEMOVE;
  tip.RelayEvent(&move);
  PumpFor(kShownMs - 1000);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_USEREX_CLASSES | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);
  const std::string which = argc > 1 ? argv[1] : "warning";
  CloseLater(GetCurrentThreadId());
  if (which == "password") return static_cast<int>(CLiteZipPasswrdCallback(nullptr).DoModal());
  if (which == "about") {
    ShowAboutBox();
    return 0;
  }
  if (which == "sysinfo") return static_cast<int>(CMySystemInfoDlg(nullptr).DoModal());
  if (which == "history") return ShowHistory();
  if (which == "balloon") return ShowBalloon();
  if (which == "hover") return ShowHover();
  return ShowWarning();
}
