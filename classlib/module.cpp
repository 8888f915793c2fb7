#include "classlib/module.h"

static HINSTANCE g_resourceHandle;

HINSTANCE AfxGetInstanceHandle() { return GetModuleHandleA(nullptr); }

HINSTANCE AfxGetResourceHandle() {
  return g_resourceHandle ? g_resourceHandle : AfxGetInstanceHandle();
}

void AfxSetResourceHandle(HINSTANCE hInstResource) { g_resourceHandle = hInstResource; }

HINSTANCE AfxFindResourceHandle(LPCSTR, LPCSTR) { return AfxGetResourceHandle(); }
