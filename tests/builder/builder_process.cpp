#include "builder_process.h"

#include <shellapi.h>
#include <shlobj.h>

#include <vector>

#include "window_search.h"
#include "waiting.h"

namespace {

HKEY OpenSection(const char* section) {
  HKEY key = nullptr;
  const std::string path = std::string(kBuilderProfileKey) + "\\" + section;
  RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr);
  return key;
}

struct WindowSearch {
  DWORD process;
  const std::function<bool(HWND)>* match;
  HWND found;
};

BOOL CALLBACK MatchWindow(HWND window, LPARAM data) {
  auto* search = reinterpret_cast<WindowSearch*>(data);
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  if (process != search->process || !(*search->match)(window)) return TRUE;
  search->found = window;
  return FALSE;
}

bool IsDialogClass(HWND window) { return HasClass(window, "#32770"); }

}  // namespace

void ClearBuilderProfile() { RegDeleteTreeA(HKEY_CURRENT_USER, kBuilderProfileKey); }

void SetProfileInt(const char* section, const char* name, DWORD value) {
  HKEY key = OpenSection(section);
  RegSetValueExA(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
  RegCloseKey(key);
}

void SetProfileString(const char* section, const char* name, const std::string& value) {
  HKEY key = OpenSection(section);
  RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()), DWORD(value.size() + 1));
  RegCloseKey(key);
}

bool ProfileInt(const char* section, const char* name, DWORD* value) {
  const std::string path = std::string(kBuilderProfileKey) + "\\" + section;
  DWORD size = sizeof *value;
  return RegGetValueA(HKEY_CURRENT_USER, path.c_str(), name, RRF_RT_REG_DWORD, nullptr, value, &size) == ERROR_SUCCESS;
}

std::string ProfileBinary(const char* section, const char* name) {
  const std::string path = std::string(kBuilderProfileKey) + "\\" + section;
  std::vector<char> bytes(1024);
  DWORD size = DWORD(bytes.size());
  if (RegGetValueA(HKEY_CURRENT_USER, path.c_str(), name, RRF_RT_REG_BINARY, nullptr, bytes.data(), &size) !=
      ERROR_SUCCESS)
    return std::string();
  return std::string(bytes.data(), size);
}

void SkipTipOfTheDay() { SetProfileInt("Tip", "StartUp", 1); }

BuilderProcess::BuilderProcess(const std::string& folderName) {
  folder_ = std::string(BRENNICOR_TEST_WORK) + "\\builder_program\\" + folderName;
  for (char& c : folder_)
    if (c == '/') c = '\\';
  SHFILEOPSTRUCTA wipe = {};
  std::string doubleEnded = folder_ + '\0';
  wipe.wFunc = FO_DELETE;
  wipe.pFrom = doubleEnded.c_str();
  wipe.fFlags = FOF_NO_UI;
  SHFileOperationA(&wipe);
  SHCreateDirectoryExA(nullptr, folder_.c_str(), nullptr);
  CopyFileA(BRENNICOR_BUILDER_EXE, program().c_str(), FALSE);
}

BuilderProcess::~BuilderProcess() {
  if (!process_.hProcess) return;
  if (WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT) TerminateProcess(process_.hProcess, 99);
  WaitForSingleObject(process_.hProcess, 5000);
  CloseHandle(process_.hProcess);
  CloseHandle(process_.hThread);
}

bool BuilderProcess::Start(const std::string& arguments) {
  std::string commandLine = "\"" + program() + "\"" + (arguments.empty() ? "" : " " + arguments);
  STARTUPINFOA startup = {sizeof startup};
  return CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, folder_.c_str(), &startup,
                        &process_) != FALSE;
}

HWND BuilderProcess::WaitForWindow(const std::function<bool(HWND)>& match, DWORD ms) const {
  WindowSearch search = {process_.dwProcessId, &match, nullptr};
  WaitUntil(
      [&] {
        search.found = nullptr;
        EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&search));
        return search.found != nullptr;
      },
      ms);
  return search.found;
}

HWND BuilderProcess::WaitForCaption(const std::string& caption, DWORD ms) const {
  return WaitForWindow([&](HWND w) { return IsWindowVisible(w) && WindowText(w) == caption; }, ms);
}

HWND BuilderProcess::WaitForFrame(DWORD ms) const {
  const std::string suffix = " - Korvane Brennicor";
  return WaitForWindow(
      [&](HWND w) {
        const std::string text = WindowText(w);
        return IsWindowVisible(w) && !IsDialogClass(w) && text.size() > suffix.size() &&
               text.compare(text.size() - suffix.size(), suffix.size(), suffix) == 0;
      },
      ms);
}

HWND BuilderProcess::WaitForDialog(HWND except, DWORD ms) const {
  return WaitForWindow([&](HWND w) { return w != except && IsWindowVisible(w) && IsDialogClass(w); }, ms);
}

DWORD BuilderProcess::Close(HWND frame, DWORD ms) {
  PostMessageA(frame, WM_CLOSE, 0, 0);
  HWND ask = nullptr;
  WaitUntil(
      [&] {
        ask = WaitForDialog(nullptr, 0);
        return ask || WaitForSingleObject(process_.hProcess, 0) == WAIT_OBJECT_0;
      },
      ms);
  if (ask) PostMessageA(ask, WM_COMMAND, IDNO, 0);
  return WaitForExit(ms);
}

DWORD BuilderProcess::WaitForExit(DWORD ms) {
  DWORD code = STILL_ACTIVE;
  if (WaitForSingleObject(process_.hProcess, ms) == WAIT_OBJECT_0) GetExitCodeProcess(process_.hProcess, &code);
  return code;
}

bool BuilderProcess::WaitUntilIdle(DWORD ms) const { return WaitForInputIdle(process_.hProcess, ms) == 0; }

void MakeOld(const std::string& path) {
  HANDLE file = CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  FILETIME old = {0x10000000, 0x01A00000};
  SetFileTime(file, nullptr, nullptr, &old);
  CloseHandle(file);
}

ULONGLONG WriteTime(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA data = {};
  GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data);
  return (ULONGLONG(data.ftLastWriteTime.dwHighDateTime) << 32) | data.ftLastWriteTime.dwLowDateTime;
}
