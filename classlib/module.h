// The module whose resources the layer loads. One module holds every
// resource, but callers may point the layer at another for a while and
// restore the handles afterwards.
#pragma once

#include <windows.h>

struct AFX_MODULE_STATE {
  HINSTANCE m_hCurrentInstanceHandle = nullptr;  // null: the program's own module
  HINSTANCE m_hCurrentResourceHandle = nullptr;  // null: the instance handle
};

AFX_MODULE_STATE* AfxGetModuleState();
HINSTANCE AfxGetInstanceHandle();
HINSTANCE AfxGetResourceHandle();
void AfxSetResourceHandle(HINSTANCE hInstResource);
HINSTANCE AfxFindResourceHandle(LPCSTR lpszName, LPCSTR lpszType);
