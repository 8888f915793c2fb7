// Launched by the stub tests: leaves launched.txt in its working folder,
// holding its own path, so a test sees where it ran from and in which folder.
#include <windows.h>

#include <cstdio>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    char self[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    FILE* out = std::fopen("launched.txt", "wb");
    if (out == nullptr)
        return 1;
    std::fputs(self, out);
    std::fclose(out);
    return 0;
}
