// Brennicor Stub: reads the settings behind its own container and runs the
// extraction dialog.
#include "ExtractCallback.h"
#include "MainExtractDlg.h"
#include "StubMessages.h"
#include "StubPaths.h"
#include "StubSettings.h"
#include "stub_resource.h"

#include <windows.h>
#include <commctrl.h>
#include <objbase.h>

#include <string>

namespace {

// A self-extractor runs from a downloads folder: no DLL may be taken from
// there or from the current folder, only from the system folder.
void RestrictDllSearch() {
    using SetDefaultDllDirectoriesFn = BOOL(WINAPI*)(DWORD);
    auto setDefault = reinterpret_cast<SetDefaultDllDirectoriesFn>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleA("kernel32.dll"), "SetDefaultDllDirectories")));
    if (setDefault == nullptr || !setDefault(LOAD_LIBRARY_SEARCH_SYSTEM32))
        SetDllDirectoryA("");
}

HMODULE LoadSystemLibrary(const char* name) {
    char folder[MAX_PATH];
    const UINT length = GetSystemDirectoryA(folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return nullptr;
    const std::string path = JoinFolderAndName(folder, name);
    return path.empty() ? nullptr : LoadLibraryA(path.c_str());
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    RestrictDllSearch();
    CoInitialize(nullptr);
    HMODULE richEdit = LoadSystemLibrary("RICHED20.DLL");
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_BAR_CLASSES | ICC_PROGRESS_CLASS};
    InitCommonControlsEx(&controls);

    const std::string programPath = GetModuleFilePath(nullptr);
    StubSettings settings;
    int result = kExitFailed;
    if (ReadStubSettings(programPath.c_str(), settings) == 0) {
        ShowMessageById(nullptr, instance, IDS_MISSING_PARAMETERS, IDS_STUB_NAME, MB_ICONERROR);
    } else {
        CMainExtractDlg dialog(instance, settings, programPath);
        result = static_cast<int>(dialog.Run(GetActiveWindow()));
    }

    if (richEdit != nullptr)
        FreeLibrary(richEdit);
    CoUninitialize();
    return result;
}
