#include "test_dpi.h"

#include <windows.h>

#include <cstdlib>

namespace {

constexpr char kDesktopKey[] = "Control Panel\\Desktop";
constexpr char kDpiValue[] = "LogPixels";
constexpr char kDpiVariable[] = "BRENNICOR_TEST_DPI";
constexpr DWORD kCopyLimitMs = 5 * 60 * 1000;

// The profile's DPI value while it lives; the one before afterwards.
class ProfileDpi {
 public:
  explicit ProfileDpi(DWORD dpi) {
    RegCreateKeyExA(HKEY_CURRENT_USER, kDesktopKey, 0, nullptr, 0, KEY_QUERY_VALUE | KEY_SET_VALUE, nullptr, &key_,
                    nullptr);
    DWORD size = sizeof before_;
    had_ = RegQueryValueExA(key_, kDpiValue, nullptr, nullptr, reinterpret_cast<BYTE*>(&before_), &size) ==
           ERROR_SUCCESS;
    RegSetValueExA(key_, kDpiValue, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&dpi), sizeof dpi);
  }
  ~ProfileDpi() {
    if (had_)
      RegSetValueExA(key_, kDpiValue, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&before_), sizeof before_);
    else
      RegDeleteValueA(key_, kDpiValue);
    RegCloseKey(key_);
  }
  ProfileDpi(const ProfileDpi&) = delete;
  ProfileDpi& operator=(const ProfileDpi&) = delete;

 private:
  HKEY key_ = nullptr;
  DWORD before_ = 0;
  bool had_ = false;
};

std::string ThisProgram() {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, sizeof path);
  return path;
}

}  // namespace

int RequestedTestDpi() {
  const char* dpi = std::getenv(kDpiVariable);
  return dpi ? std::atoi(dpi) : 0;
}

int DrawingDpi() {
  HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  return dpi;
}

bool RunTestsAtDpi(int dpi, const std::string& filter) {
  ProfileDpi profile(dpi);
  SetEnvironmentVariableA(kDpiVariable, std::to_string(dpi).c_str());
  std::string command = "\"" + ThisProgram() + "\" --gtest_filter=" + filter;
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process = {};
  const BOOL started =
      CreateProcessA(nullptr, &command[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &process);
  SetEnvironmentVariableA(kDpiVariable, nullptr);
  if (!started) return false;
  DWORD code = 1;
  if (WaitForSingleObject(process.hProcess, kCopyLimitMs) == WAIT_OBJECT_0)
    GetExitCodeProcess(process.hProcess, &code);
  else
    TerminateProcess(process.hProcess, 1);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return code == 0;
}
