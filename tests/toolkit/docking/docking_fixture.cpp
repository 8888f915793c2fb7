#include "docking_fixture.h"

#include "toolkit/docking/DockBar.h"

namespace {
const struct {
  UINT nID;
  DWORD dwStyle;
} kSides[] = {
    {AFX_IDW_DOCKBAR_TOP, CBRS_TOP},
    {AFX_IDW_DOCKBAR_BOTTOM, CBRS_BOTTOM},
    {AFX_IDW_DOCKBAR_LEFT, CBRS_LEFT},
    {AFX_IDW_DOCKBAR_RIGHT, CBRS_RIGHT},
};
}  // namespace

CFrameWnd* NewFrameWithToolkitDockBars(LPCSTR title, const RECT& rect) {
  CFrameWnd* frame = new CFrameWnd;
  if (!frame->Create(nullptr, title, WS_OVERLAPPEDWINDOW | WS_VISIBLE, rect)) return nullptr;
  for (const auto& side : kSides) {
    CXTDockBar* pDock = new CXTDockBar;
    if (!pDock->Create(frame, WS_CLIPSIBLINGS | WS_CLIPCHILDREN | WS_CHILD | WS_VISIBLE | side.dwStyle, side.nID)) {
      delete pDock;
      frame->DestroyWindow();
      return nullptr;
    }
  }
  frame->EnableDocking(CBRS_ALIGN_ANY);  // the toolkit's dock bars are there already
  AfxGetApp()->m_pMainWnd = frame;
  return frame;
}
