#include "tool_bar_harness.h"

#include "tool_bar_harness_resource.h"
#include "toolkit/bars/ToolBarMessages.h"
#include "toolkit/common/ImageStore.h"

namespace {

const UINT kStandardButtons[] = {
    ID_HARNESS_NEW,  ID_HARNESS_OPEN, ID_HARNESS_SAVE, 0, ID_HARNESS_CUT, ID_HARNESS_COPY, 0,
    ID_HARNESS_UNDO, ID_HARNESS_PRINT};
const UINT kFormatButtons[] = {ID_HARNESS_COLOR, ID_HARNESS_BOLD, 0, ID_HARNESS_FONT_COMBO};
const int kComboWidth = 110;
const DWORD kBarStyle =
    WS_CHILD | WS_VISIBLE | CBRS_TOP | CBRS_GRIPPER | CBRS_TOOLTIPS | CBRS_FLYBY | CBRS_SIZE_DYNAMIC;

}  // namespace

BEGIN_MESSAGE_MAP(CToolBarHarness, CXTFrameWnd)
ON_WM_CREATE()
ON_COMMAND_RANGE(ID_HARNESS_NEW, ID_HARNESS_UNDO_ALL, OnCommandRange)
ON_UPDATE_COMMAND_UI(ID_HARNESS_BOLD, OnUpdateBold)
ON_UPDATE_COMMAND_UI(ID_HARNESS_PRINT, OnUpdatePrint)
ON_MESSAGE(XTWM_DROPDOWN, OnOwnerDropDown)
END_MESSAGE_MAP()

CToolBarHarness* CToolBarHarness::Open(const RECT& rect) {
  CToolBarHarness* frame = new CToolBarHarness;
  if (!frame->Create(nullptr, "Tool bar harness", WS_OVERLAPPEDWINDOW | WS_VISIBLE, rect)) return nullptr;
  return frame;
}

int CToolBarHarness::OnCreate(LPCREATESTRUCTA lpcs) {
  if (CXTFrameWnd::OnCreate(lpcs) == -1) return -1;
  EnableDocking(CBRS_ALIGN_ANY);
  if (!CreateStandardBar() || !CreateFormatBar()) return -1;
  DockControlBar(&m_standard, AFX_IDW_DOCKBAR_TOP);
  DockControlBarLeftOf(&m_format, &m_standard);
  return 0;
}

BOOL CToolBarHarness::CreateStandardBar() {
  if (!m_standard.CreateEx(this, TBSTYLE_FLAT, kBarStyle, CRect(0, 0, 0, 0), ID_HARNESS_STANDARD_BAR)) return FALSE;
  m_standard.SetWindowText("Standard");
  if (!m_standard.LoadBitmap(IDR_HARNESS_STRIP)) return FALSE;
  if (!m_standard.SetButtons(kStandardButtons, static_cast<int>(std::size(kStandardButtons)))) return FALSE;
  m_standard.SetButtonText(m_standard.CommandToIndex(ID_HARNESS_OPEN), "Open");
  m_standard.SetButtonText(m_standard.CommandToIndex(ID_HARNESS_SAVE), "Save");
  m_standard.MakeDropDown(ID_HARNESS_UNDO, TRUE)->idMenu = IDR_HARNESS_UNDO_MENU;
  GetImageStore().AddToolBarButtons(m_standard.m_hWnd);
  // The user's own arrangement of this bar, stored when it closes, comes back here.
  m_standard.EnableCustomization(TRUE);
  m_standard.EnableDocking(CBRS_ALIGN_ANY);
  return TRUE;
}

BOOL CToolBarHarness::CreateFormatBar() {
  if (!m_format.CreateEx(this, TBSTYLE_FLAT, kBarStyle, CRect(0, 0, 0, 0), ID_HARNESS_FORMAT_BAR)) return FALSE;
  m_format.SetWindowText("Format");
  if (!m_format.LoadBitmap(IDR_HARNESS_STRIP)) return FALSE;
  if (!m_format.SetButtons(kFormatButtons, static_cast<int>(std::size(kFormatButtons)))) return FALSE;
  // The colour button is complete before the combo box takes its place.
  CXTDropDownButtonInfo* color = m_format.MakeDropDown(ID_HARNESS_COLOR, TRUE);
  color->bShowColor = TRUE;
  color->bPopupWindow = TRUE;
  color->clrColor = RGB(220, 0, 0);
  // The combo box sits on a separator that carries its id.
  const int comboIndex = m_format.CommandToIndex(ID_HARNESS_FONT_COMBO);
  m_format.SetButtonInfo(comboIndex, ID_HARNESS_FONT_COMBO, TBSTYLE_SEP, kComboWidth);
  CRect comboRect(0, 0, kComboWidth, 120);
  if (!m_fontCombo.Create(WS_CHILD | WS_VISIBLE | WS_VSCROLL | CBS_DROPDOWNLIST, comboRect, &m_format,
                          ID_HARNESS_FONT_COMBO))
    return FALSE;
  for (const char* face : {"Tahoma", "Courier New", "Arial"}) m_fontCombo.AddString(face);
  m_fontCombo.SetCurSel(0);
  m_format.RebuildEntries();
  m_format.SetControl(&m_fontCombo);
  GetImageStore().AddToolBarButtons(m_format.m_hWnd);
  m_format.EnableDocking(CBRS_ALIGN_ANY);
  return TRUE;
}

void CToolBarHarness::OnCommandRange(UINT id) { m_commands.push_back(id); }

LRESULT CToolBarHarness::OnOwnerDropDown(WPARAM wParam, LPARAM) {
  m_ownerDropDowns.push_back(static_cast<UINT>(reinterpret_cast<NMTOOLBARA*>(wParam)->iItem));
  return 0;
}
