#include "MyFileUtility.h"

#include <htmlhelp.h>
#include <shellapi.h>
#include <shlobj.h>

#include <cstdio>
#include <cstring>

#include "BoundedText.h"

static const char kOnlineHelpBase[] = "http://www.korvane.com/onlinehelp/";

struct ShellErrorEntry {
  int result;
  const char* text;
};

static const ShellErrorEntry kShellErrors[] = {
    {0, "The operating system is out of memory or resources."},
    {2, "The specified file was not found."},
    {3, "The specified path was not found."},
    {5, "The operating system denied access to the specified file."},
    {8, "There was not enough memory to complete the operation."},
    {11, "The .exe file is invalid (non-Win32\xAB .exe or error in .exe image)."},
    {26, "A sharing violation occurred."},
    {27, "The file name association is incomplete or invalid."},
    {28, "The DDE transaction could not be completed because the request timed out."},
    {29, "The DDE transaction failed."},
    {30, "The DDE transaction could not be completed because other DDE transactions were being processed."},
    {31, "There is no application associated with the given file name extension."},
    {32, "The specified dynamic-link library was not found."},
};

const char* CMyFileUtility::ShellErrorText(int shellResult) {
  static char unknown[80];
  for (const ShellErrorEntry& entry : kShellErrors)
    if (entry.result == shellResult) return entry.text;
  std::snprintf(unknown, sizeof unknown, "An unknown error number %d occured.", shellResult);
  return unknown;
}

int CMyFileUtility::ShellExecuteWithErrorBox(const char* verb, const char* file, const char* parameters, int show) {
  int result = static_cast<int>(
      reinterpret_cast<INT_PTR>(ShellExecuteA(nullptr, verb, file, parameters, nullptr, show)));
  if (result <= 32) MessageBoxA(nullptr, ShellErrorText(result), nullptr, MB_ICONSTOP);
  return result;
}

int CMyFileUtility::OpenOrExplore(const char* path, int explore) {
  return ShellExecuteWithErrorBox(explore ? "explore" : "open", path, nullptr, SW_SHOWNORMAL) > 32;
}

int CMyFileUtility::OpenWithArguments(const char* file, const char* parameters, const char* extraArgument) {
  char arguments[1024];
  CopyBounded(arguments, parameters);
  if (extraArgument) {
    AppendBounded(arguments, " ");
    AppendBounded(arguments, Quote(extraArgument));
  }
  return ShellExecuteWithErrorBox("open", file, arguments, SW_SHOWNORMAL) > 32;
}

// How long a page's handler has to give up before the page counts as shown.
static const DWORD kHandlerVerdictMs = 2000;

// The shell hands an address to the program registered for it, and reports
// success once that program starts: a handler that finds no browser ends at
// once with a failing code, and the page was never shown.
static bool OpenedByHandler(const char* address) {
  SHELLEXECUTEINFOA request = {};
  request.cbSize = sizeof request;
  request.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI;
  request.lpVerb = "open";
  request.lpFile = address;
  request.nShow = SW_SHOWNORMAL;
  if (!ShellExecuteExA(&request) || reinterpret_cast<INT_PTR>(request.hInstApp) <= 32) return false;
  if (!request.hProcess) return true;
  DWORD code = 0;
  const bool gaveUp = WaitForSingleObject(request.hProcess, kHandlerVerdictMs) == WAIT_OBJECT_0 &&
                      GetExitCodeProcess(request.hProcess, &code) && code != 0;
  CloseHandle(request.hProcess);
  return !gaveUp;
}

int CMyFileUtility::OpenHelpOrWebPage(const char* fileName, const char* parameters, const char* extraArgument,
                                      const char* webText) {
  if (fileName && fileName[0]) {
    char beside[260];
    CopyBounded(beside, PathBesideProgram(nullptr, fileName));
    if (FileExists(beside)) return OpenWithArguments(beside, parameters, extraArgument);
  }
  char address[1024];
  if (webText && (std::strstr(webText, "http://") || std::strstr(webText, "https://"))) {
    CopyBounded(address, webText);
  } else {
    CopyBounded(address, kOnlineHelpBase);
    AppendBounded(address, webText);
  }
  AppendBounded(address, fileName);
  if (OpenedByHandler(address)) return 1;
  return ShellExecuteWithErrorBox("explore", address, nullptr, SW_SHOWNORMAL) > 32;
}

int CMyFileUtility::ShowHtmlHelp(const char* helpFile, const char* topic, const char* webText, int allowOnline) {
  char text[1024];
  if (topic && topic[0])
    std::snprintf(text, sizeof text, "%s::/%s", helpFile ? helpFile : "", topic);
  else
    std::snprintf(text, sizeof text, "%s", helpFile ? helpFile : "");
  if (FileExists(helpFile))
    HtmlHelpA(GetDesktopWindow(), text, HH_DISPLAY_TOC, 0);
  else if (allowOnline)
    OpenHelpOrWebPage(nullptr, nullptr, nullptr, webText);
  return 1;
}

struct BrowseState {
  char initialFolder[MAX_PATH];
};

static int CALLBACK BrowseCallback(HWND window, UINT message, LPARAM parameter, LPARAM data) {
  const BrowseState* state = reinterpret_cast<const BrowseState*>(data);
  if (message == BFFM_INITIALIZED && state->initialFolder[0]) {
    SendMessageA(window, BFFM_SETSELECTIONA, TRUE, reinterpret_cast<LPARAM>(state->initialFolder));
  } else if (message == BFFM_SELCHANGED) {
    char path[MAX_PATH] = "";
    if (SHGetPathFromIDListA(reinterpret_cast<LPCITEMIDLIST>(parameter), path))
      SendMessageA(window, BFFM_SETSTATUSTEXTA, 0, reinterpret_cast<LPARAM>(path));
  }
  return 0;
}

const char* CMyFileUtility::BrowseForFolder(HINSTANCE instance, UINT titleId, UINT displayId, HWND owner,
                                            const char* initialFolder) {
  static char chosen[MAX_PATH];
  char title[MAX_PATH] = "", display[MAX_PATH] = "";
  LoadStringA(instance, titleId, title, sizeof title);
  LoadStringA(instance, displayId, display, sizeof display);
  BrowseState state;
  CopyBounded(state.initialFolder, initialFolder);
  size_t length = std::strlen(state.initialFolder);
  if (length && state.initialFolder[length - 1] == '\\') state.initialFolder[length - 1] = '\0';

  BROWSEINFOA info = {};
  info.hwndOwner = owner;
  info.pszDisplayName = display;
  info.lpszTitle = title;
  info.ulFlags = 0x29;
  info.lpfn = BrowseCallback;
  info.lParam = reinterpret_cast<LPARAM>(&state);
  LPITEMIDLIST list = SHBrowseForFolderA(&info);
  if (list == nullptr) return nullptr;
  BOOL ok = SHGetPathFromIDListA(list, chosen);
  CoTaskMemFree(list);
  return ok ? chosen : nullptr;
}
