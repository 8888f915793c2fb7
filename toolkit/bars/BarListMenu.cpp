// A right click on a toolkit bar: its own context menu, or the list of the
// frame's bars, each item the bar's id and checked when the bar shows.
#include "classlib/bars/statusbar.h"
#include "classlib/docking/minidockframe.h"
#include "classlib/menu.h"
#include "classlib/module.h"
#include "toolkit/bars/ControlBar.h"
#include "toolkit/common/SharedState.h"
#include "toolkit/frame/FrameHelper.h"
#include "toolkit/menus/MenuBar.h"
#include "toolkit_resource.h"

namespace {
// The customise flag that lets bars offer the bar list.
const int kBarListCustomizeFlag = 2;

// One pass over the gathered bars: the kind it takes, the text of a bar
// without a window text, and whether the bar must be listed (and the bar
// list allowed). A separator follows a pass that added items when asked.
struct BarListPass {
  CRuntimeClass* (*kind)();
  UINT defaultText;
  bool listedOnly;
  bool separatorAfter;
};

CRuntimeClass* ControlBarKind() { return RUNTIME_CLASS(CXTControlBar); }
CRuntimeClass* StatusBarKind() { return RUNTIME_CLASS(CStatusBar); }

// Dock windows and tool bars take their own passes ahead of these when they
// exist; every other toolkit bar, then status bars.
const BarListPass kPasses[] = {
    {ControlBarKind, IDS_XT_CONTROL_BAR, true, false},
    {StatusBarKind, IDS_XT_STATUS_BAR, false, false},
};

// The menu bar is never listed: a frame cannot do without it.
bool MayBeListed(CControlBar* bar) {
  if (bar->IsKindOf(RUNTIME_CLASS(CXTMenuBar))) return false;
  return bar->IsKindOf(RUNTIME_CLASS(CXTControlBar)) || bar->IsKindOf(RUNTIME_CLASS(CStatusBar));
}

bool PassTakes(const BarListPass& pass, CControlBar* bar) {
  if (!bar->IsKindOf(pass.kind())) return false;
  if (!pass.listedOnly) return true;
  return static_cast<CXTControlBar*>(bar)->m_bListed && GetSharedState().m_customizeFlags[kBarListCustomizeFlag];
}

CString ItemText(CControlBar* bar, UINT defaultText) {
  CString text;
  bar->GetWindowText(text);
  if (text.IsEmpty()) text.LoadString(defaultText);
  return text;
}
}  // namespace

HMENU CXTControlBar::BuildBarListMenu(CFrameWnd* frame) {
  // The frame's bars, last created first.
  CPtrList bars;
  for (POSITION pos = frame->m_listControlBars.GetHeadPosition(); pos;) {
    CControlBar* bar = static_cast<CControlBar*>(frame->m_listControlBars.GetNext(pos));
    if (MayBeListed(bar)) bars.AddHead(bar);
  }
  HMENU menu = ::CreatePopupMenu();
  int items = 0;
  for (const BarListPass& pass : kPasses) {
    int added = 0;
    for (POSITION pos = bars.GetHeadPosition(); pos;) {
      POSITION here = pos;
      CControlBar* bar = static_cast<CControlBar*>(bars.GetNext(pos));
      if (!PassTakes(pass, bar)) continue;
      bars.RemoveAt(here);
      UINT flags = MF_STRING | ((bar->GetStyle() & WS_VISIBLE) ? MF_CHECKED : MF_UNCHECKED);
      ::AppendMenuA(menu, flags, static_cast<UINT>(bar->GetDlgCtrlID()), ItemText(bar, pass.defaultText));
      ++added;
    }
    if (added && pass.separatorAfter) ::AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
    items += added;
  }
  if (items) return menu;
  ::DestroyMenu(menu);
  return nullptr;
}

BOOL CXTControlBar::ShowContextMenu(POINT* point, CFrameWnd* frame) {
  HMENU menu = BuildBarListMenu(frame);
  if (!menu) return TRUE;
  // The chosen bar's id goes to the frame as a command, which shows or hides it.
  CXTFrameHelper::TrackPopupFor(menu, *point, frame);
  ::DestroyMenu(menu);
  return TRUE;
}

CFrameWnd* CXTControlBar::FrameForBarList() const {
  CFrameWnd* site = m_pDockSite;
  // A docked bar's gripper in a floating frame belongs to the frame's owner.
  if (site && (m_dwStyle & CBRS_GRIPPER) && site->IsKindOf(RUNTIME_CLASS(CMiniDockFrameWnd)))
    site = site->GetParentFrame();
  return site;
}

void CXTControlBar::TrackOwnContextMenu(CPoint point) {
  HMENU menu = ::LoadMenuA(AfxGetResourceHandle(), MAKEINTRESOURCEA(m_nContextMenuId));
  if (!menu) return;
  if (HMENU popup = ::GetSubMenu(menu, m_nContextMenuSubIndex)) {
    CWnd* owner = GetTopLevelParent();
    CXTFrameHelper::TrackPopupFor(popup, point, owner ? owner : this);
  }
  ::DestroyMenu(menu);
}

void CXTControlBar::OnRButtonDown(UINT, CPoint point) {
  if (!m_bListed || !GetSharedState().m_customizeFlags[kBarListCustomizeFlag]) {
    Default();
    return;
  }
  ClientToScreen(&point);
  if (m_nContextMenuId) {
    TrackOwnContextMenu(point);
    return;
  }
  CFrameWnd* frame = FrameForBarList();
  if (!frame) return;
  ShowContextMenu(&point, frame);
  frame->RecalcLayout(TRUE);
}
