#include "toolkit/dialogs/ResizePropertySheet.h"

IMPLEMENT_DYNCREATE(CXTResizePropertySheet, CPropertySheet)

BEGIN_MESSAGE_MAP(CXTResizePropertySheet, CXTResizeWindow<CPropertySheet>)
  ON_NOTIFY_REFLECT_EX(PSN_SETACTIVE, OnPageSetActive)
  ON_WM_SIZE()
END_MESSAGE_MAP()

namespace {

// Ids of the sheet's own controls.
enum : UINT {
  kTabControl = 0x3020,
  kApplyNow = 0x3021,
  kWizardBack = 0x3023,
  kWizardNext = 0x3024,
  kWizardFinish = 0x3025,
  kWizardDivider = 0x3026,
};

struct StandardControl {
  UINT id;
  CXTAnchorRect anchor;
};

const CXTAnchorRect kFollowCorner(1, 1, 1, 1);
const StandardControl kWizardControls[] = {
    {kWizardBack, kFollowCorner}, {kWizardNext, kFollowCorner}, {kWizardFinish, kFollowCorner},
    {kWizardDivider, CXTAnchorRect(0, 1, 1, 1)}};
const StandardControl kSheetControls[] = {
    {IDOK, kFollowCorner}, {kApplyNow, kFollowCorner}, {kTabControl, CXTAnchorRect(0, 0, 1, 1)}};
const StandardControl kCommonControls[] = {{IDCANCEL, kFollowCorner}, {IDHELP, kFollowCorner}};

// The sizing commands a sheet's system menu needs, in the order they are
// inserted, each at its position, with its text when the top window has none.
struct SizingCommand {
  UINT command;
  UINT position;
  const char* fallback;
};
const SizingCommand kSizingCommands[] = {
    {SC_MAXIMIZE, 1, "Ma&ximize"}, {SC_MINIMIZE, 1, "Mi&nimize"}, {SC_SIZE, 1, "&Size"}, {SC_RESTORE, 0, "&Restore"}};

CString MenuText(HMENU hMenu, UINT command, const char* fallback) {
  char text[128] = "";
  if (hMenu) ::GetMenuStringA(hMenu, command, text, sizeof text, MF_BYCOMMAND);
  return text[0] ? CString(text) : CString(fallback);
}

bool HasCommand(HMENU hMenu, UINT command) { return ::GetMenuState(hMenu, command, MF_BYCOMMAND) != UINT(-1); }

}  // namespace

CXTResizePropertySheet::CXTResizePropertySheet() : CXTResizeWindow<CPropertySheet>(0, 0u, nullptr, 0) {}

CXTResizePropertySheet::CXTResizePropertySheet(UINT nIDCaption, CWnd* pParentWnd, UINT iSelectPage, UINT nFlags)
    : CXTResizeWindow<CPropertySheet>(nFlags, nIDCaption, pParentWnd, iSelectPage) {}

CXTResizePropertySheet::CXTResizePropertySheet(LPCSTR pszCaption, CWnd* pParentWnd, UINT iSelectPage, UINT nFlags)
    : CXTResizeWindow<CPropertySheet>(nFlags, pszCaption, pParentWnd, iSelectPage) {}

CXTResizePropertySheet::~CXTResizePropertySheet() = default;

BOOL CXTResizePropertySheet::OnInitDialog() {
  ModifyStyle(0, WS_THICKFRAME);
  EnableToolTips(TRUE);
  CPropertySheet::OnInitDialog();
  if (HWND hTab = reinterpret_cast<HWND>(SendMessage(PSM_GETTABCONTROL))) m_tabCtrl.SubclassWindow(hTab);
  if (!(GetFlags() & XT_RESIZE_NOGRIP) && !(m_psh.dwFlags & PSH_WIZARD)) GrowForBorder();
  if (GetStyle() & WS_SYSMENU) AddSizingCommands();
  if (!(GetStyle() & WS_THICKFRAME)) SetFlag(XT_RESIZE_NOGRIP);
  Initialize();
  RegisterButtons();
  RegisterPages();
  return TRUE;
}

// The sizing border takes room from the template's area: the sheet grows by
// 3 pixels each way to keep it.
void CXTResizePropertySheet::GrowForBorder() {
  CRect rect;
  GetWindowRect(&rect);
  rect.left -= 1;
  rect.top -= 1;
  rect.right += 2;
  rect.bottom += 2;
  if (GetStyle() & WS_CHILD) ::MapWindowPoints(nullptr, ::GetParent(m_hWnd), reinterpret_cast<LPPOINT>(&rect), 2);
  MoveWindow(&rect, TRUE);
}

// A sheet's system menu lacks the sizing commands on some systems: they are
// added, named as the top window names them, where they are missing.
void CXTResizePropertySheet::AddSizingCommands() {
  HMENU hOwn = ::GetSystemMenu(m_hWnd, FALSE);
  if (!hOwn) return;
  HWND hTop = m_hWnd;
  while (HWND hParent = ::GetParent(hTop)) hTop = hParent;
  HMENU hTopMenu = ::GetSystemMenu(hTop, FALSE);
  bool separatorAdded = false;
  for (const SizingCommand& c : kSizingCommands) {
    if (HasCommand(hOwn, c.command)) continue;
    if (!separatorAdded && c.position == 1) {
      ::InsertMenuA(hOwn, 1, MF_BYPOSITION | MF_SEPARATOR, 0, nullptr);
      separatorAdded = true;
    }
    ::InsertMenuA(hOwn, c.position, MF_BYPOSITION | MF_STRING, c.command, MenuText(hTopMenu, c.command, c.fallback));
  }
}

// Buttons the sheet lacks are registered too; the layout skips them.
void CXTResizePropertySheet::RegisterButtons() {
  if (m_psh.dwFlags & PSH_WIZARD) {
    for (const StandardControl& c : kWizardControls) SetAnchor(c.id, c.anchor);
  } else {
    for (const StandardControl& c : kSheetControls) SetAnchor(c.id, c.anchor);
  }
  for (const StandardControl& c : kCommonControls) SetAnchor(c.id, c.anchor);
}

// Every page stretches with the tab's display area, where the sheet shows
// it; pages not made yet are laid out when they are first activated.
void CXTResizePropertySheet::RegisterPages() {
  HWND hTab = reinterpret_cast<HWND>(SendMessage(PSM_GETTABCONTROL));
  if (!hTab) return;
  CRect display;
  ::GetWindowRect(hTab, &display);
  ScreenToClient(&display);
  ::SendMessageA(hTab, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&display));
  if (CWnd* pPage = GetActivePage(); pPage && pPage->m_hWnd) {
    ::GetWindowRect(pPage->m_hWnd, &display);
    ScreenToClient(&display);
  }
  for (int i = 0; i < GetPageCount(); ++i) AddItem(GetPage(i), CXTAnchorRect(0, 0, 1, 1), display);
}

BOOL CXTResizePropertySheet::OnPageSetActive(NMHDR*, LRESULT* pResult) {
  if (m_psh.dwFlags & PSH_WIZARD) ResetItems();
  Resize();
  FitActivePageToTabs();
  *pResult = 0;
  return FALSE;
}

void CXTResizePropertySheet::OnSize(UINT nType, int cx, int cy) {
  CXTResizeWindow<CPropertySheet>::OnSize(nType, cx, cy);
  FitActivePageToTabs();
}

// The tabs take as many rows as their texts need at the sheet's width and
// the system's text size: the page fills the tab's display area below them
// rather than the place it had when the sheet was made.
void CXTResizePropertySheet::FitActivePageToTabs() {
  if (m_psh.dwFlags & PSH_WIZARD) return;
  HWND hTab = reinterpret_cast<HWND>(SendMessage(PSM_GETTABCONTROL));
  CWnd* pPage = GetActivePage();
  if (!hTab || !pPage || !pPage->m_hWnd) return;
  CRect display;
  ::GetWindowRect(hTab, &display);
  ScreenToClient(&display);
  ::SendMessageA(hTab, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&display));
  CRect place;
  ::GetWindowRect(pPage->m_hWnd, &place);
  ScreenToClient(&place);
  if (place != display) pPage->MoveWindow(&display, TRUE);
}
