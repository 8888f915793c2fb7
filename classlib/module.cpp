#include "classlib/module.h"

AFX_MODULE_STATE* AfxGetModuleState() {
  static AFX_MODULE_STATE state;
  return &state;
}

HINSTANCE AfxGetInstanceHandle() {
  HINSTANCE h = AfxGetModuleState()->m_hCurrentInstanceHandle;
  return h ? h : ::GetModuleHandleA(nullptr);
}

HINSTANCE AfxGetResourceHandle() {
  HINSTANCE h = AfxGetModuleState()->m_hCurrentResourceHandle;
  return h ? h : AfxGetInstanceHandle();
}

void AfxSetResourceHandle(HINSTANCE hInstResource) { AfxGetModuleState()->m_hCurrentResourceHandle = hInstResource; }

HINSTANCE AfxFindResourceHandle(LPCSTR, LPCSTR) { return AfxGetResourceHandle(); }
