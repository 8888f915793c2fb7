#include "SystemReport.h"

#include <windows.h>
#include <shlwapi.h>

#include <cstdio>

#include "ProcessorInfo.h"
#include "SystemReportTexts.h"
#include "toolkit/common/SharedState.h"

namespace {

constexpr DWORD kNameChars = 260;
// The records the system fills, as their versions the report asks for.
static_assert(sizeof(DEVMODEA) == 156, "display settings record");
static_assert(sizeof(DLLVERSIONINFO) == 20, "library version record");

std::string Printed(const char* format, ...) __attribute__((format(__MINGW_PRINTF_FORMAT, 1, 2)));
std::string Printed(const char* format, ...) {
  char text[512];
  va_list args;
  va_start(args, format);
  vsnprintf(text, sizeof text, format, args);
  va_end(args);
  return text;
}

std::string ComputerText() {
  char user[kNameChars] = {}, computer[kNameChars] = {};
  DWORD userChars = kNameChars, computerChars = kNameChars;
  const bool hasUser = GetUserNameA(user, &userChars) != FALSE;
  const bool hasComputer = GetComputerNameA(computer, &computerChars) != FALSE;
  return std::string("--- Computer ---") + "\r\nUserName: " + (hasUser ? user : "N/A") +
         "\r\nComputerName: " + (hasComputer ? computer : "N/A");
}

std::string CpuCountText() {
  SYSTEM_INFO info;
  GetSystemInfo(&info);
  return Printed("\r\nNumber of CPU(s) Present: %d", static_cast<int>(info.dwNumberOfProcessors));
}

std::string OsText() {
  const OSVERSIONINFOA& version = GetOSVersionInfo();
  return OsVersionText(version.dwPlatformId, version.dwMajorVersion, version.dwMinorVersion);
}

std::string BrowserText() {
  std::string text = "Internet Explorer Version N/A";
  HMODULE library = LoadLibraryA("shdocvw.dll");
  if (library == nullptr) return text;
  auto getVersion = reinterpret_cast<DLLGETVERSIONPROC>(
      reinterpret_cast<void (*)()>(GetProcAddress(library, "DllGetVersion")));
  DLLVERSIONINFO version = {};
  version.cbSize = sizeof version;
  if (getVersion && getVersion(&version) >= 0)
    text = Printed("Internet Explorer Ver. %ld.%ld, Build Number: %ld", static_cast<long>(version.dwMajorVersion),
                   static_cast<long>(version.dwMinorVersion), static_cast<long>(version.dwBuildNumber));
  FreeLibrary(library);
  return text;
}

std::string ScreenText() {
  const int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
  return Printed("\r\n\r\n--- Screen Resolution ---\r\nScreen resolution: %dx%d\r\nWidth: %d pixels\r\nHeight: %d pixels",
                 width, height, width, height);
}

std::string ColorText() {
  DEVMODEA mode = {};
  mode.dmSize = sizeof mode;
  if (!EnumDisplaySettingsA(nullptr, ENUM_CURRENT_SETTINGS, &mode)) return "Error: can not enumerate display settings.";
  return Printed("\r\n\r\n--- Screen Colors ---\r\nColor depth: %ld Bits per pixel.", static_cast<long>(mode.dmBitsPerPel)) +
         Printed("\r\nPixel Width: %ld", static_cast<long>(mode.dmPelsWidth)) +
         Printed("\r\nPixel Height: %ld", static_cast<long>(mode.dmPelsHeight)) +
         Printed("\r\nRefresh frequency: %d Hz", static_cast<int>(mode.dmDisplayFrequency));
}

}  // namespace

// Each section identifies the processor afresh, as each measures its own.
std::string BuildSystemReport() {
  return ComputerText() + CpuCountText() + "\r\n\r\n--- Operating System Version ---\r\n" + OsText() +
         "\r\n\r\n--- Internet Explorer Version ---\r\n" + BrowserText() + ProcessorSectionText(CProcessorInfo()) +
         ClockLineText(CProcessorInfo()) + ScreenText() + ColorText();
}
