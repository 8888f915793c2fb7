// A DLL planted beside a stub under a system DLL's name: if it is ever
// loaded it leaves planted.txt in the current folder.
#include <windows.h>

#include <cstdio>

BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) {
        FILE* out = std::fopen("planted.txt", "wb");
        if (out != nullptr)
            std::fclose(out);
    }
    return TRUE;
}
