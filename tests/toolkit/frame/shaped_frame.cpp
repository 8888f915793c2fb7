#include "shaped_frame.h"

#include "frame_test_resource.h"

IMPLEMENT_DYNCREATE(CPlainView, CView)
IMPLEMENT_DYNCREATE(CShapedFrame, CXTFrameWnd)

BEGIN_MESSAGE_MAP(CShapedFrame, CXTFrameWnd)
ON_WM_CREATE()
END_MESSAGE_MAP()

const char CShapedFrame::kProfile[] = "ShapedFramePOS";

namespace {
const UINT kIndicators[] = {ID_SEPARATOR, ID_INDICATOR_CAPS, ID_INDICATOR_NUM, ID_INDICATOR_SCRL};
const UINT kStrips[] = {IDR_FRAME_STRIP_A, IDR_FRAME_STRIP_B};
const DWORD kMenuBarStyle = 0x50402834;
const DWORD kStatusBarStyle = 0x50008200;
const DWORD kFlatDockStyle = 0x100;
}  // namespace

CShapedFrame* CShapedFrame::Make(const RECT& rect, bool withSideBar) {
  CShapedFrame* frame = new CShapedFrame;
  frame->m_withSideBar = withSideBar;
  CCreateContext context;
  context.m_pNewViewClass = RUNTIME_CLASS(CPlainView);
  if (!frame->Create(nullptr, "Shaped", WS_OVERLAPPEDWINDOW, rect, nullptr, nullptr, 0, &context)) return nullptr;
  frame->ShowWindow(SW_SHOWNA);
  frame->RecalcLayout();
  AfxGetApp()->m_pMainWnd = frame;
  return frame;
}

int CShapedFrame::OnCreate(LPCREATESTRUCTA lpcs) {
  if (CXTFrameWnd::OnCreate(lpcs) == -1) return -1;
  if (!m_menuBar.CreateEx(this, 0x800, kMenuBarStyle, CRect(0, 0, 0, 0), CXTMenuBar::kBarId) ||
      !m_menuBar.LoadMenuBar(IDR_FRAME_MENU))
    return -1;
  if (!m_statusBar.Create(this, kStatusBarStyle, AFX_IDW_STATUS_BAR) || !m_statusBar.SetIndicators(kIndicators, 4))
    return -1;
  m_menuBar.EnableDocking(CBRS_ALIGN_ANY);
  EnableDocking(CBRS_ALIGN_ANY);
  EnableDockingEx(CBRS_ALIGN_ANY, kFlatDockStyle);
  DockControlBar(&m_menuBar, 0, nullptr);
  EnableDocking(CBRS_ALIGN_ANY);
  if (m_withSideBar) {
    if (!m_sideBar.Create(this, kSideBarId, CBRS_ALIGN_LEFT)) return -1;
    DockControlBar(&m_sideBar, AFX_IDW_DOCKBAR_LEFT);
  }
  InstallCoolMenus(kStrips, 2);
  LoadBarState(kProfile);
  return 0;
}

BOOL CShapedFrame::OnCreateClient(LPCREATESTRUCTA, CCreateContext* pContext) {
  if (!m_splitter.CreateStatic(this, 1, 2, WS_CHILD | WS_VISIBLE, AFX_IDW_PANE_FIRST)) return FALSE;
  if (!m_splitter.CreateView(0, 0, RUNTIME_CLASS(CPlainView), CSize(170, 100), pContext) ||
      !m_splitter.CreateView(0, 1, RUNTIME_CLASS(CPlainView), CSize(100, 100), pContext)) {
    m_splitter.DestroyWindow();
    return FALSE;
  }
  m_splitter.SetColumnInfo(0, 300, 0);
  m_splitter.RecalcLayout();
  return TRUE;
}
