// The module whose resources the layer loads. One module holds every
// resource, but callers may point the layer at another for a while.
#pragma once

#include <windows.h>

HINSTANCE AfxGetInstanceHandle();
HINSTANCE AfxGetResourceHandle();
void AfxSetResourceHandle(HINSTANCE hInstResource);
HINSTANCE AfxFindResourceHandle(LPCSTR lpszName, LPCSTR lpszType);
