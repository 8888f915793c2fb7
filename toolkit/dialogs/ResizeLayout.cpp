#include "toolkit/dialogs/ResizeLayout.h"

#include "classlib/winapp.h"

namespace {

const char kPlacementValue[] = "WindowPlacement";
// Stored as the system fills it: 44 bytes of 32-bit fields on every architecture.
static_assert(sizeof(WINDOWPLACEMENT) == 44, "\"WindowPlacement\" is 44 bytes");
// Flags of every layout move; position and size are dropped when they stay.
const UINT kMoveFlags = SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOOWNERZORDER;
const UINT kFrameChanged = SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE;

// Button kinds other than the plain push button: check boxes, radio buttons,
// group boxes, owner-drawn and default push buttons.
bool IsTransparentButtonKind(HWND hWnd) {
  char className[8];
  if (!::GetClassNameA(hWnd, className, sizeof className) || lstrcmpiA(className, "Button") != 0) return false;
  LONG_PTR style = ::GetWindowLongPtrA(hWnd, GWL_STYLE);
  return (style & 0x07) != 0 && !(style & WS_TABSTOP);
}

// The rectangle the layout moves: a control with parts beside its window answers for them.
CRect LayoutRectOf(HWND hWnd) {
  CRect rect;
  CWnd* pWnd = CWnd::FromHandlePermanent(hWnd);
  if (auto* provider = dynamic_cast<CXTOuterRectProvider*>(pWnd))
    provider->GetOuterRect(rect);
  else
    ::GetWindowRect(hWnd, &rect);
  return rect;
}

}  // namespace

CXTWindowPosApi g_xtWindowPosApi = {&::BeginDeferWindowPos, &::DeferWindowPos, &::EndDeferWindowPos,
                                    &::SetWindowPos};

// ---- rectangles and items

CXTResizeRect& CXTResizeRect::operator+=(const CXTResizeRect& other) {
  left += other.left;
  top += other.top;
  right += other.right;
  bottom += other.bottom;
  return *this;
}

bool CXTResizeRect::operator!=(const CXTResizeRect& other) const {
  return left != other.left || top != other.top || right != other.right || bottom != other.bottom;
}

CXTResizeItem::CXTResizeItem(CWnd* pControl, const CXTAnchorRect& anchor, const CRect& rect, BOOL bOwnsWindow)
    : m_pControl(pControl), m_anchor(anchor), m_rcCurrent(rect), m_rcInitial(rect), m_bOwnsWindow(bOwnsWindow) {}

CXTResizeItem::~CXTResizeItem() {
  if (!m_bOwnsWindow) return;
  m_pControl->Detach();
  delete m_pControl;
}

// ---- one pass of moves

CXTWindowMoves::CXTWindowMoves(int nCount) : m_hBatch(g_xtWindowPosApi.beginDefer(nCount)) {}

// An unused batch is ended too, so that it is freed.
CXTWindowMoves::~CXTWindowMoves() {
  if (m_hBatch) g_xtWindowPosApi.endDefer(m_hBatch);
}

BOOL CXTWindowMoves::Move(HWND hWnd, int x, int y, int cx, int cy, UINT nFlags) {
  Move_ move = {hWnd, x, y, cx, cy, nFlags};
  if (!m_hBatch) {
    MakeAtOnce(move);
    return TRUE;
  }
  m_hBatch = g_xtWindowPosApi.defer(m_hBatch, hWnd, nullptr, x, y, cx, cy, nFlags);
  if (m_hBatch) {
    m_deferred.push_back(move);
    return TRUE;
  }
  // The failed call freed the batch with the moves it held: make them now.
  for (const Move_& earlier : m_deferred) MakeAtOnce(earlier);
  m_deferred.clear();
  MakeAtOnce(move);
  return FALSE;
}

void CXTWindowMoves::MakeAtOnce(const Move_& move) {
  g_xtWindowPosApi.setPos(move.hWnd, nullptr, move.x, move.y, move.cx, move.cy, move.flags);
}

// ---- the layout

CXTResizeLayout::CXTResizeLayout(CWnd* pOwner, UINT nFlags) : m_pOwner(pOwner), m_nLayoutFlags(nFlags) {}

CXTResizeLayout::~CXTResizeLayout() { RemoveAllItems(); }

void CXTResizeLayout::RemoveAllItems() {
  for (INT_PTR i = 0; i < m_items.GetSize(); ++i) delete m_items[i];
  m_items.RemoveAll();
}

void CXTResizeLayout::ResetItems() {
  for (INT_PTR i = 0; i < m_items.GetSize(); ++i) {
    m_items[i]->m_rcCurrent = m_items[i]->m_rcInitial;
    m_items[i]->m_bPositioned = FALSE;
  }
}

void CXTResizeLayout::Initialize() {
  if (!m_pOwner) return;
  RemoveAllItems();
  m_pOwner->GetWindowRect(&m_rcInitial);
  m_rcLast = m_rcInitial;
  if (!(m_nLayoutFlags & XT_RESIZE_NOMINSIZE)) m_szMinTrack = CSize(m_rcInitial.Width(), m_rcInitial.Height());
  if (!(m_nLayoutFlags & XT_RESIZE_NOCLIPCHILDREN)) m_pOwner->ModifyStyle(0, WS_CLIPCHILDREN);
  if (m_nLayoutFlags & XT_RESIZE_NOGRIP) return;
  CreateGrip();
  SetAnchor(XT_IDC_SIZEGRIP, CXTAnchorRect(1, 1, 1, 1));
}

void CXTResizeLayout::CreateGrip() {
  if (!m_grip.m_hWnd) {
    CRect rect(0, 0, 16, 16);
    m_grip.Create(nullptr, WS_CHILD | WS_VISIBLE | SS_BITMAP | SS_NOTIFY, rect, m_pOwner, XT_IDC_SIZEGRIP);
  }
  if (!m_grip.m_hWnd) return;
  CRect owner, grip;
  m_pOwner->GetClientRect(&owner);
  m_grip.GetClientRect(&grip);
  ::SetWindowPos(m_grip.m_hWnd, HWND_TOP, owner.Width() - grip.Width(), owner.Height() - grip.Height(), 0, 0,
                 SWP_NOSIZE);
}

CXTResizeItem* CXTResizeLayout::FindItem(UINT nID) const {
  CXTResizeItem* found = nullptr;
  for (INT_PTR i = m_items.GetSize() - 1; i >= 0; --i) {
    HWND hWnd = m_items[i]->GetSafeHwnd();
    if (hWnd && ::IsWindow(hWnd) && static_cast<UINT>(::GetDlgCtrlID(hWnd)) == nID) found = m_items[i];
  }
  return found;
}

CRect CXTResizeLayout::OwnerClientRectOf(HWND hWnd) const {
  CRect rect = LayoutRectOf(hWnd);
  m_pOwner->ScreenToClient(&rect);
  return rect;
}

void CXTResizeLayout::SetAnchor(UINT nID, HWND hWnd, const CXTAnchorRect& anchor) {
  if (CXTResizeItem* pItem = FindItem(nID)) {
    pItem->m_anchor.left += anchor.left;
    pItem->m_anchor.top += anchor.top;
    pItem->m_anchor.right += anchor.right;
    pItem->m_anchor.bottom += anchor.bottom;
    return;
  }
  if (!hWnd && m_pOwner) hWnd = ::GetDlgItem(m_pOwner->m_hWnd, nID);
  if (!hWnd) {
    // No such control: the item stays registered and is skipped by every layout.
    m_items.Add(new CXTResizeItem(nullptr, anchor, CRect(), FALSE));
    return;
  }
  CWnd* pControl = CWnd::FromHandlePermanent(hWnd);
  BOOL bOwns = !pControl;
  if (bOwns) {
    pControl = new CWnd;
    pControl->Attach(hWnd);
  }
  m_items.Add(new CXTResizeItem(pControl, anchor, OwnerClientRectOf(hWnd), bOwns));
  if (!(m_nLayoutFlags & XT_RESIZE_NOTRANSPARENT)) MakeTransparent(hWnd);
}

// Grouping and check controls without a tab stop let the window beneath show through.
void CXTResizeLayout::MakeTransparent(HWND hWnd) const {
  if (IsTransparentButtonKind(hWnd)) CWnd::ModifyStyleEx(hWnd, 0, WS_EX_TRANSPARENT, kFrameChanged);
}

void CXTResizeLayout::AddItem(CWnd* pControl, const CXTAnchorRect& anchor, const CRect& rect) {
  m_items.Add(new CXTResizeItem(pControl, anchor, rect, FALSE));
}

void CXTResizeLayout::Resize() {
  if (m_items.IsEmpty()) return;
  CRect rect;
  m_pOwner->GetWindowRect(&rect);
  int dx = rect.Width() - m_rcLast.Width();
  int dy = rect.Height() - m_rcLast.Height();
  {
    CXTWindowMoves moves(static_cast<int>(m_items.GetSize()));
    for (INT_PTR i = 0; i < m_items.GetSize(); ++i) MoveItem(moves, m_items[i], dx, dy);
  }
  m_rcLast = rect;
}

BOOL CXTResizeLayout::MoveItem(CXTWindowMoves& moves, CXTResizeItem* pItem, int dx, int dy) {
  HWND hWnd = pItem->GetSafeHwnd();
  if (!hWnd || !::IsWindow(hWnd)) return TRUE;
  if (!pItem->m_bPositioned) {
    // A control first laid out now takes the whole growth since Initialize.
    CRect owner;
    m_pOwner->GetWindowRect(&owner);
    dx = owner.Width() - m_rcInitial.Width();
    dy = owner.Height() - m_rcInitial.Height();
    pItem->m_bPositioned = TRUE;
  }
  CXTResizeRect next = pItem->m_rcCurrent;
  next.left += dx * pItem->m_anchor.left;
  next.top += dy * pItem->m_anchor.top;
  next.right += dx * pItem->m_anchor.right;
  next.bottom += dy * pItem->m_anchor.bottom;
  if (!(next != pItem->m_rcCurrent)) return TRUE;

  int x = static_cast<int>(next.left), y = static_cast<int>(next.top);
  int cx = static_cast<int>(next.right - next.left), cy = static_cast<int>(next.bottom - next.top);
  CRect present = OwnerClientRectOf(hWnd);
  UINT flags = kMoveFlags;
  if (x == present.left && y == present.top) flags |= SWP_NOMOVE;
  if (static_cast<int>(next.right) - x == present.Width() && static_cast<int>(next.bottom) - y == present.Height())
    flags |= SWP_NOSIZE;
  else
    flags |= SWP_NOCOPYBITS;
  BOOL deferred = moves.Move(hWnd, x, y, cx, cy, flags);
  pItem->m_rcCurrent = next;
  return deferred;
}

void CXTResizeLayout::GetMinMaxInfo(MINMAXINFO* pInfo) const {
  if (!m_rcLast.IsRectNull()) {
    if (m_nLayoutFlags & XT_RESIZE_NOHGROW) pInfo->ptMaxSize.x = pInfo->ptMaxTrackSize.x = m_rcLast.Width();
    if (m_nLayoutFlags & XT_RESIZE_NOVGROW) pInfo->ptMaxSize.y = pInfo->ptMaxTrackSize.y = m_rcLast.Height();
  }
  if (m_szMinTrack.cx) pInfo->ptMinTrackSize.x = m_szMinTrack.cx;
  if (m_szMinTrack.cy) pInfo->ptMinTrackSize.y = m_szMinTrack.cy;
  if (m_szMaxTrack.cx) pInfo->ptMaxTrackSize.x = m_szMaxTrack.cx;
  if (m_szMaxTrack.cy) pInfo->ptMaxTrackSize.y = m_szMaxTrack.cy;
}

// ---- placement

void CXTResizeLayout::LoadPlacement(LPCSTR lpszSection) {
  LPBYTE pData = nullptr;
  UINT nBytes = 0;
  AfxGetApp()->GetProfileBinary(lpszSection, kPlacementValue, &pData, &nBytes);
  if (pData && nBytes == sizeof(WINDOWPLACEMENT))
    m_pOwner->SetWindowPlacement(reinterpret_cast<WINDOWPLACEMENT*>(pData));
  delete[] pData;
}

void CXTResizeLayout::SavePlacement(LPCSTR lpszSection) {
  WINDOWPLACEMENT wp;
  if (!m_pOwner->GetWindowPlacement(&wp)) return;
  // A window stored minimised would come back minimised, and a modal one
  // would then look hung: it comes back at its normal size instead.
  if (wp.showCmd == SW_SHOWMINIMIZED || wp.showCmd == SW_MINIMIZE || wp.showCmd == SW_SHOWMINNOACTIVE)
    wp.showCmd = SW_SHOWNORMAL;
  AfxGetApp()->WriteProfileBinary(lpszSection, kPlacementValue, reinterpret_cast<LPBYTE>(&wp), sizeof wp);
}

void CXTResizeLayout::AutoLoadPlacement(LPCSTR lpszSection) {
  m_strSection = lpszSection;
  LoadPlacement(m_strSection);
}

void CXTResizeLayout::OnOwnerDestroy() {
  if (!m_strSection.IsEmpty()) SavePlacement(m_strSection);
}
