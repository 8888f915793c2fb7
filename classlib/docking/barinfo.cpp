#include "classlib/docking/barinfo.h"

IMPLEMENT_DYNAMIC(CDockState, CObject)

void CDockState::Clear() {
  for (INT_PTR i = 0; i < m_arrBarInfo.GetSize(); ++i) delete m_arrBarInfo[i];
  m_arrBarInfo.RemoveAll();
}

static int Scale(int value, int from, int to) { return ::MulDiv(value, to, from); }

void CDockState::ScalePositions() {
  CSize screen(::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN));
  if (m_sizeScreen.cx == 0 || m_sizeScreen.cy == 0 || m_sizeScreen == screen) return;
  for (INT_PTR i = 0; i < m_arrBarInfo.GetSize(); ++i) {
    CControlBarInfo* pInfo = m_arrBarInfo[i];
    pInfo->m_pointPos.x = Scale(pInfo->m_pointPos.x, m_sizeScreen.cx, screen.cx);
    pInfo->m_pointPos.y = Scale(pInfo->m_pointPos.y, m_sizeScreen.cy, screen.cy);
    pInfo->m_ptMRUFloatPos.x = Scale(pInfo->m_ptMRUFloatPos.x, m_sizeScreen.cx, screen.cx);
    pInfo->m_ptMRUFloatPos.y = Scale(pInfo->m_ptMRUFloatPos.y, m_sizeScreen.cy, screen.cy);
  }
  m_sizeScreen = screen;
}
