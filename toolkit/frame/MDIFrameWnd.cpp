#include "toolkit/frame/MDIFrameWnd.h"

#include "toolkit/dialogs/WindowList.h"
#include "toolkit_resource.h"

IMPLEMENT_DYNCREATE(CXTMDIFrameWnd, CMDIFrameWnd)
IMPLEMENT_DYNCREATE(CXTOleIPFrameWnd, COleIPFrameWnd)
IMPLEMENT_DYNCREATE(CXTMDIChildWnd, CMDIChildWnd)

BEGIN_MESSAGE_MAP(CXTMDIFrameWnd, CMDIFrameWnd)
ON_COMMAND(ID_XT_MORE_WINDOWS, OnMoreWindows)
END_MESSAGE_MAP()

BEGIN_MESSAGE_MAP(CXTMDIChildWnd, CMDIChildWnd)
ON_WM_CREATE()
END_MESSAGE_MAP()

// The window list wears the frame's small icon, else its class's.
void CXTMDIFrameWnd::OnMoreWindows() {
  HICON hIcon = reinterpret_cast<HICON>(SendMessage(WM_GETICON, ICON_SMALL, 0));
  if (!hIcon) hIcon = reinterpret_cast<HICON>(::GetClassLongPtrA(m_hWnd, GCLP_HICONSM));
  CXTWindowList list(this, hIcon);
  list.DoModal();
}

int CXTMDIChildWnd::OnCreate(LPCREATESTRUCTA lpcs) {
  if (CMDIChildWnd::OnCreate(lpcs) == -1) return -1;
  m_childCoolMenu.Install(this);
  return 0;
}

// The first child window that is a view becomes the active view first.
void CXTMDIChildWnd::ActivateFrame(int nCmdShow) {
  for (CWnd* pChild = GetWindow(GW_CHILD); pChild; pChild = pChild->GetWindow(GW_HWNDNEXT)) {
    if (!pChild->IsKindOf(RUNTIME_CLASS(CView))) continue;
    if (GetActiveView() != pChild) SetActiveView(static_cast<CView*>(pChild));
    break;
  }
  CMDIChildWnd::ActivateFrame(nCmdShow);
}
