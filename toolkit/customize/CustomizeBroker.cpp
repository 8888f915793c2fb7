#include "toolkit/customize/CustomizeBroker.h"

#include "toolkit/common/SharedState.h"

namespace {

struct CommandRange {
  UINT first, last;
};
// Recent files, the window list's entries and "Display full menus".
const CommandRange kFixedCommands[] = {{57616, 57631}, {65280, 65288}, {53783, 53783}};

// The key state the message carries, the thread's own as of that message, or
// the key as it is now: input played into the queue may carry one without the others.
bool ControlDown(WPARAM keys) {
  return (keys & MK_CONTROL) != 0 || ::GetKeyState(VK_CONTROL) < 0 || ::GetAsyncKeyState(VK_CONTROL) < 0;
}

}  // namespace

CXTCustomizeBroker& GetCustomizeBroker() {
  static CXTCustomizeBroker broker;
  return broker;
}

CXTCustomizeBroker::CXTCustomizeBroker()
    : m_factory(static_cast<XT_BAR_FACTORY_FN>(&CXTCustomizeBroker::CreateToolBar)) {
  m_arrays[kCustomizeModeListeners].Add(MakeListener(this, &CXTCustomizeBroker::OnCustomizeMode));
}

void CXTCustomizeBroker::OnCustomizeMode(INT_PTR on) { m_customizeMode[0] = m_customizeMode[1] = on != 0; }

void CXTCustomizeBroker::RemoveClient(CCmdTarget* client) {
  for (CXTListenerArray& array : m_arrays) array.RemoveClient(client);
  CXTListenerArray& modes = m_arrays[kCustomizeModeListeners];
  if (modes.GetSize() == 1 && modes.GetAt(0).object == this) modes.RemoveClient(this);
}

CPoint CXTCustomizeBroker::NextFloatPosition() {
  const CPoint position = m_nextFloat;
  m_nextFloat.Offset(kFloatStep, kFloatStep);
  return position;
}

BOOL CXTCustomizeBroker::IsCommandCustomizable(UINT id) {
  for (const CommandRange& range : kFixedCommands)
    if (id >= range.first && id <= range.last) return FALSE;
  return TRUE;
}

BOOL CXTCustomizeBroker::BeginDrag(CWnd* source, BOOL allowCopy, CXTCustomItem* item) {
  if (::GetCapture()) return FALSE;
  CXTDragTracker tracker(source, item);
  tracker.m_bAllowCopy = tracker.m_bCopyAllowed = allowCopy;
  HCURSOR saved = ::GetCursor();
  source->SetCapture();
  m_arrays[kDropTargetCollectors].NotifyAll(reinterpret_cast<INT_PTR>(&tracker));
  const BOOL move = RunDragLoop(tracker, source);
  tracker.LeaveTarget();
  ::SetCursor(saved);
  if (::GetCapture() == source->m_hWnd) ::ReleaseCapture();
  return move;
}

BOOL CXTCustomizeBroker::RunDragLoop(CXTDragTracker& tracker, CWnd* source) {
  const auto takeControlKey = [&](bool controlDown) {
    if (tracker.m_bCopyAllowed) tracker.m_bMove = !controlDown;
  };
  takeControlKey(::GetKeyState(VK_CONTROL) < 0);
  CPoint last;
  ::GetCursorPos(&last);
  tracker.TrackPoint(last);
  for (;;) {
    if (::GetCapture() != source->m_hWnd) return tracker.Drop();
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, WM_PAINT, WM_PAINT, PM_REMOVE)) ::DispatchMessageA(&msg);
    if (!::GetMessageA(&msg, nullptr, 0, 0)) {
      // The program is ending: its own loop must see the quit too.
      ::PostQuitMessage(static_cast<int>(msg.wParam));
      return FALSE;
    }
    if (::GetCapture() != source->m_hWnd) return FALSE;
    const CPoint at(msg.pt);
    switch (msg.message) {
      case WM_MOUSEMOVE:
        if (!(msg.wParam & MK_LBUTTON)) {
          takeControlKey(ControlDown(msg.wParam));
          tracker.TrackPoint(at);
          return tracker.Drop();
        }
        if (at == last) break;
        last = at;
        takeControlKey(ControlDown(msg.wParam));
        tracker.TrackPoint(at);
        break;
      case WM_LBUTTONUP:
        takeControlKey(ControlDown(msg.wParam));
        tracker.TrackPoint(at);
        return tracker.Drop();
      case WM_RBUTTONDOWN:
        return FALSE;
      case WM_KEYDOWN:
        if (msg.wParam == VK_ESCAPE) return FALSE;
        if (msg.wParam == VK_CONTROL && tracker.m_bMove && tracker.m_bCopyAllowed) tracker.SetMove(FALSE);
        break;
      case WM_KEYUP:
        if (msg.wParam == VK_CONTROL && !tracker.m_bMove) tracker.SetMove(TRUE);
        break;
      case WM_CANCELMODE:
        ::DispatchMessageA(&msg);
        if (msg.hwnd == source->m_hWnd) return FALSE;
        break;
      case WM_TIMER:
        break;
      default:
        ::DispatchMessageA(&msg);
        break;
    }
  }
}

// ---- CXTDragTracker

void CXTDragTracker::TrackPoint(CPoint point) {
  if (m_current && m_current->ContainsPoint(point)) {
    m_last = point;
    m_current->Track(point);
  } else if (m_current) {
    LeaveTarget();
  }
  if (!m_current) {
    for (CXTCustomDropTarget* target : m_targets) {
      if (!target->ContainsPoint(point)) continue;
      // What one target refuses (a copy onto itself) holds only while it is the target.
      m_bCopyAllowed = m_bAllowCopy;
      if (target->Accept(m_item, point, m_bCopyAllowed)) {
        m_current = target;
        m_last = point;
      }
      break;
    }
  }
  ShowCursor();
}

void CXTDragTracker::SetMove(BOOL move) {
  m_bMove = move;
  ShowCursor();
}

void CXTDragTracker::ShowCursor() {
  const HCURSOR* cursors = GetSharedState().m_cursors;
  CXTSharedState::Cursor cursor = CXTSharedState::kCursorNoDrop;
  if (m_current) cursor = m_bMove || !m_bCopyAllowed ? CXTSharedState::kCursorDragMove : CXTSharedState::kCursorDragCopy;
  if (cursors[cursor]) ::SetCursor(cursors[cursor]);
}

BOOL CXTDragTracker::Drop() {
  if (m_current) {
    CXTCustomDropTarget* target = m_current;
    m_current = nullptr;
    target->Drop(m_item, m_last);
  }
  return m_bMove;
}

void CXTDragTracker::LeaveTarget() {
  if (!m_current) return;
  m_current->Leave();
  m_current = nullptr;
  m_bCopyAllowed = m_bAllowCopy;
}
