#include "toolkit/bars/StatusBar.h"

#include "classlib/frame/framewnd.h"
#include "toolkit/bars/ControlBar.h"
#include "toolkit/common/MemDC.h"
#include "toolkit/common/SharedState.h"

IMPLEMENT_DYNAMIC(CXTStatusBar, CStatusBar)

BEGIN_MESSAGE_MAP(CXTStatusBar, CStatusBar)
ON_WM_SIZE()
ON_WM_CREATE()
ON_WM_PAINT()
ON_WM_ERASEBKGND()
ON_WM_DESTROY()
ON_MESSAGE(WM_IDLEUPDATECMDUI, OnIdleUpdateCmdUI)
END_MESSAGE_MAP()

namespace {
// The last pane of a fixed width ends this many edges after its text.
const int kLastPaneEdges = 3;
}  // namespace

CXTStatusBar::~CXTStatusBar() { ReleaseControls(); }

BOOL CXTStatusBar::AddControl(CWnd* control, UINT paneId, BOOL autoDelete) {
  if (!control || CommandToIndex(paneId) < 0) return FALSE;
  m_controls.Add(PaneControl{control, paneId, autoDelete});
  if (m_hWnd) PositionControls();
  return TRUE;
}

CRect CXTStatusBar::GetPaneRect(int index) const {
  CRect rect;
  GetItemRect(index, &rect);
  if (index != m_nCount - 1) return rect;
  UINT style = GetPaneStyle(index);
  const int edge = ::GetSystemMetrics(SM_CXEDGE);
  if (style & SBPS_STRETCH) {
    CRect client;
    GetClientRect(&client);
    rect.right = client.right;
    if (GetStyle() & SBARS_SIZEGRIP) rect.right -= GetSharedState().m_cxSmallIcon + edge;
  } else {
    UINT id;
    int width;
    GetPaneInfo(index, id, style, width);
    rect.right = rect.left + width + kLastPaneEdges * edge;
  }
  return rect;
}

void CXTStatusBar::PositionControls() {
  const int edge = ::GetSystemMetrics(SM_CXEDGE);
  for (INT_PTR i = 0; i < m_controls.GetSize(); ++i) {
    const PaneControl& entry = m_controls[i];
    int index = CommandToIndex(entry.paneId);
    if (index < 0 || !::IsWindow(entry.control->m_hWnd)) continue;
    CRect rect = GetPaneRect(index);
    if (!(GetPaneStyle(index) & SBPS_NOBORDERS)) rect.DeflateRect(edge, edge);
    entry.control->MoveWindow(&rect, TRUE);
  }
}

// Each control's window goes before its object: an object deleted with its
// window still alive would leave the window to a freed object.
void CXTStatusBar::ReleaseControls() {
  for (INT_PTR i = 0; i < m_controls.GetSize(); ++i) {
    const PaneControl& entry = m_controls[i];
    if (::IsWindow(entry.control->m_hWnd)) entry.control->DestroyWindow();
    if (entry.autoDelete) delete entry.control;
  }
  m_controls.RemoveAll();
}

void CXTStatusBar::OnSize(UINT nType, int cx, int cy) {
  CStatusBar::OnSize(nType, cx, cy);
  PositionControls();
}

int CXTStatusBar::OnCreate(LPCREATESTRUCTA lpcs) {
  if (CStatusBar::OnCreate(lpcs) == -1) return -1;
  CFont& font = GetSharedState().GetFont(CXTSharedState::kFontMenuBar);
  SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(font.m_hObject), TRUE);
  return 0;
}

void CXTStatusBar::OnPaint() {
  CPaintDC dc(this);
  CRect client;
  GetClientRect(&client);
  const CXTSharedState& state = GetSharedState();
  CXTMemDC memDC(&dc, &client, state.m_clrFace);
  UpdateAllPanes(FALSE, TRUE);
  DefWindowProc(WM_PAINT, reinterpret_cast<WPARAM>(memDC.m_hDC), 0);
  if (!state.m_xpLook) return;
  for (int i = 0; i < m_nCount; ++i) {
    if (GetPaneStyle(i) & SBPS_NOBORDERS) continue;
    CRect pane = GetPaneRect(i);
    memDC.Draw3dRect(&pane, state.m_clrShadow, state.m_clrShadow);
  }
}

void CXTStatusBar::OnDestroy() {
  ReleaseControls();
  CStatusBar::OnDestroy();
}

// The owner decides about the panes, frame or not.
LRESULT CXTStatusBar::OnIdleUpdateCmdUI(WPARAM wParam, LPARAM) {
  if (!ApplyIdleShowState(this)) return 0;
  if (CWnd* owner = GetOwner()) OnUpdateCmdUI(static_cast<CFrameWnd*>(owner), static_cast<BOOL>(wParam));
  return 0;
}
