#include "toolkit/common/OwnedPtr.h"

#include "classlib/module.h"

void CXTOwnedPtr::Take() {
  Reset();
  const AFX_MODULE_STATE* state = AfxGetModuleState();
  m_handles = new CXTModuleHandles{state->m_hCurrentInstanceHandle, state->m_hCurrentResourceHandle, true};
}

void CXTOwnedPtr::Reset() {
  if (m_handles == nullptr) return;
  if (m_handles->active) {
    AFX_MODULE_STATE* state = AfxGetModuleState();
    state->m_hCurrentInstanceHandle = m_handles->instance;
    state->m_hCurrentResourceHandle = m_handles->resource;
    m_handles->active = false;
  }
  delete m_handles;
  m_handles = nullptr;
}
