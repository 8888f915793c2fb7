#include "toolkit/controls/EditGroup.h"

#include "toolkit/common/SharedState.h"
#include "toolkit/controls/ControlMessages.h"
#include "toolkit/controls/EditListBox.h"
#include "toolkit/controls/FlickerFreePaint.h"
#include "toolkit/controls/ImageStrip.h"
#include "toolkit_resource.h"

IMPLEMENT_DYNAMIC(CXTEditGroup, CStatic)

BEGIN_MESSAGE_MAP(CXTEditGroup, CStatic)
  ON_WM_PAINT()
  ON_WM_ERASEBKGND()
  ON_WM_WINDOWPOSCHANGED()
  ON_WM_ENABLE()
  ON_WM_SHOWWINDOW()
END_MESSAGE_MAP()

namespace {

const int kButtonWidth = 22;
const CSize kIconSize(14, 12);

// The buttons from right to left: id (also of its tool tip's string), image
// in the strip, what the list hears.
struct GroupButton {
  UINT id;
  int image;
  UINT code;
};
const GroupButton kButtons[] = {
    {IDC_XT_EDITGROUP_DOWN, 3, XTLBN_MOVEDOWN},
    {IDC_XT_EDITGROUP_UP, 2, XTLBN_MOVEUP},
    {IDC_XT_EDITGROUP_DELETE, 1, XTLBN_DELETED},
    {IDC_XT_EDITGROUP_NEW, 0, XTLBN_NEWITEM},
};

}  // namespace

CXTEditGroup::~CXTEditGroup() {
  if (m_hWnd) DestroyWindow();
}

BOOL CXTEditGroup::Initialize(CXTEditListBox* pListBox) {
  m_pListBox = pListBox;
  for (int i = 0; i < kButtonCount; ++i) {
    const GroupButton& b = kButtons[i];
    if (!m_buttons[i].Create(nullptr, WS_CHILD | WS_VISIBLE | BS_OWNERDRAW | BS_CENTER | BS_VCENTER, CRect(),
                             this, b.id))
      return FALSE;
    HICON icon = LoadStripIcon(IDB_XT_EDITGROUP_IMAGES, kIconSize.cx, b.image);
    m_buttons[i].SetIcons(kIconSize.cx, kIconSize.cy, icon, nullptr, FALSE);
    m_buttons[i].SetLookStyle(BS_XT_FLAT, FALSE);
  }
  PositionButtons();
  if (m_toolTip.Create(this)) {
    m_toolTip.Activate(TRUE);
    for (int i = 0; i < kButtonCount; ++i) m_toolTip.AddTool(&m_buttons[i], kButtons[i].id);
  }
  SetFont(&GetSharedState().GetFont(CXTSharedState::kFontNormal));
  return TRUE;
}

void CXTEditGroup::PositionButtons() {
  CRect inner;
  GetClientRect(&inner);
  inner.DeflateRect(1, 1);
  int right = inner.right;
  for (int i = 0; i < kButtonCount; ++i) {
    m_rcButtons[i] = CRect(right - kButtonWidth, inner.top, right, inner.bottom);
    right -= kButtonWidth;
    if (m_buttons[i].m_hWnd) m_buttons[i].MoveWindow(&m_rcButtons[i]);
  }
}

// A button's command reaches the list as the strip's own notification.
BOOL CXTEditGroup::OnCommand(WPARAM wParam, LPARAM lParam) {
  for (const GroupButton& b : kButtons) {
    if (LOWORD(wParam) == b.id && HIWORD(wParam) == BN_CLICKED && m_pListBox) {
      m_pListBox->SendMessage(WM_COMMAND, MAKEWPARAM(IDC_XT_EDITGROUP, b.code), reinterpret_cast<LPARAM>(m_hWnd));
      return TRUE;
    }
  }
  return CStatic::OnCommand(wParam, lParam);
}

BOOL CXTEditGroup::PreTranslateMessage(MSG* pMsg) {
  if (m_toolTip.m_hWnd) m_toolTip.RelayEvent(pMsg);
  return CStatic::PreTranslateMessage(pMsg);
}

BOOL CXTEditGroup::OnEraseBkgnd(CDC*) { return TRUE; }

// The strip clips its children: the buttons paint themselves.
void CXTEditGroup::OnPaint() { PaintThroughMemDC(*this, GetSharedState().m_clrFace); }

void CXTEditGroup::OnWindowPosChanged(WINDOWPOS* lpwndpos) {
  CStatic::OnWindowPosChanged(lpwndpos);
  PositionButtons();
}

void CXTEditGroup::OnEnable(BOOL bEnable) {
  CStatic::OnEnable(bEnable);
  for (CXTButton& b : m_buttons)
    if (b.m_hWnd) b.EnableWindow(bEnable);
}

void CXTEditGroup::OnShowWindow(BOOL bShow, UINT nStatus) {
  CStatic::OnShowWindow(bShow, nStatus);
  for (CXTButton& b : m_buttons)
    if (b.m_hWnd) b.ShowWindow(bShow ? SW_SHOW : SW_HIDE);
}
