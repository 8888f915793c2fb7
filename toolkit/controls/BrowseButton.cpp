#include "toolkit/controls/BrowseButton.h"

#include "toolkit/common/SharedState.h"
#include "toolkit/controls/BrowseEdit.h"
#include "toolkit/controls/ImageStrip.h"
#include "toolkit_resource.h"

IMPLEMENT_DYNAMIC(CXTBrowseBtn, CXTButton)

BEGIN_MESSAGE_MAP(CXTBrowseBtn, CXTButton)
  ON_WM_KEYDOWN()
  ON_CONTROL_REFLECT(BN_CLICKED, OnClicked)
END_MESSAGE_MAP()

namespace {
const int kStripImageWidth = 11;
const int kPopupImage = 4;
const int kIconSize = 10;

}  // namespace

CXTBrowseBtn::CXTBrowseBtn() {
  m_nGap = 0;
  m_nTextGap = 0;
  m_dwLook = BS_XT_SHOWFOCUS;
}

CXTBrowseBtn::~CXTBrowseBtn() {
  if (m_hWnd) DestroyWindow();
}

BOOL CXTBrowseBtn::Create(CXTBrowseEdit* pEditWnd, DWORD dwBStyle, UINT nID, UINT nMenu, int nSubMenuIndx) {
  m_pEditWnd = pEditWnd;
  m_dwBStyle = dwBStyle;
  m_nMenu = nMenu;
  m_nSubMenuIndx = nSubMenuIndx;
  bool popup = (dwBStyle & BES_XT_POPUPMENU) != 0;
  DWORD style = WS_CHILD | WS_TABSTOP | BS_CENTER | BS_VCENTER | (pEditWnd->GetStyle() & WS_VISIBLE) |
                (popup ? BS_ICON : 0);
  CString text;
  if (!popup) text.LoadString(IDS_XT_BROWSE_TEXT);
  CRect rect(0, 0, XT_BROWSE_BUTTON_WIDTH, 0);
  if (!CButton::Create(text, style, rect, pEditWnd->GetParent(), nID)) return FALSE;
  if (popup) {
    HICON icon = LoadStripIcon(IDB_XT_BROWSE_IMAGES, kStripImageWidth, kPopupImage);
    SetIcons(kIconSize, kIconSize, icon, nullptr, FALSE);
  } else {
    SetFont(&GetSharedState().GetFont(CXTSharedState::kFontNormal));
  }
  ModifyStyle(0, BS_OWNERDRAW);
  ::SetWindowPos(m_hWnd, pEditWnd->m_hWnd, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  EnableWindow(pEditWnd->IsWindowEnabled());
  return TRUE;
}

void CXTBrowseBtn::OnClicked() {
  if (m_pEditWnd) m_pEditWnd->Browse();
}

void CXTBrowseBtn::OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags) {
  if ((nChar == VK_RETURN || nChar == VK_SPACE) && m_pEditWnd) {
    m_pEditWnd->Browse();
    return;
  }
  CXTButton::OnKeyDown(nChar, nRepCnt, nFlags);
}
