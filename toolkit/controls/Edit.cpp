#include "toolkit/controls/Edit.h"

#include "toolkit/common/SharedState.h"
#include "toolkit/controls/FlickerFreePaint.h"
#include "toolkit_resource.h"

IMPLEMENT_DYNAMIC(CXTEdit, CEdit)

BEGIN_MESSAGE_MAP(CXTEdit, CEdit)
  ON_WM_CREATE()
  ON_WM_CONTEXTMENU()
  ON_WM_INITMENUPOPUP()
  ON_WM_ERASEBKGND()
  ON_WM_PAINT()
  ON_COMMAND(ID_XT_EDIT_UNDO, OnEditUndo)
  ON_COMMAND(ID_XT_EDIT_CUT, OnEditCut)
  ON_COMMAND(ID_XT_EDIT_COPY, OnEditCopy)
  ON_COMMAND(ID_XT_EDIT_PASTE, OnEditPaste)
  ON_COMMAND(ID_XT_EDIT_CLEAR, OnEditClear)
  ON_COMMAND(ID_XT_EDIT_SELECT_ALL, OnEditSelectAll)
  ON_UPDATE_COMMAND_UI(ID_XT_EDIT_UNDO, OnUpdateEditUndo)
  ON_UPDATE_COMMAND_UI(ID_XT_EDIT_CUT, OnUpdateNeedsSelection)
  ON_UPDATE_COMMAND_UI(ID_XT_EDIT_COPY, OnUpdateNeedsSelection)
  ON_UPDATE_COMMAND_UI(ID_XT_EDIT_PASTE, OnUpdateEditPaste)
  ON_UPDATE_COMMAND_UI(ID_XT_EDIT_CLEAR, OnUpdateNeedsSelection)
  ON_UPDATE_COMMAND_UI(ID_XT_EDIT_SELECT_ALL, OnUpdateEditSelectAll)
END_MESSAGE_MAP()

namespace {
const int kEditMenuPopup = 1;          // "RClickHexEdit"
const CPoint kKeyboardMenuOffset(5, 5);  // from the client area's top-left corner
const UINT kFirstSystemCommand = 0xF000;
}  // namespace

BOOL CXTEdit::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
  m_bCreated = TRUE;
  return CEdit::Create(dwStyle, rect, pParentWnd, nID);
}

void CXTEdit::PreSubclassWindow() {
  CEdit::PreSubclassWindow();
  if (!m_bCreated) InitEditControl();
}

int CXTEdit::OnCreate(LPCREATESTRUCTA lpCreateStruct) {
  if (CEdit::OnCreate(lpCreateStruct) == -1) return -1;
  InitEditControl();
  return 0;
}

BOOL CXTEdit::InitEditControl() {
  if (!::IsWindow(m_hWnd)) return FALSE;
  m_coolMenu.Install(this);
  m_coolMenu.LoadToolbar(IDR_XT_EDIT_IMAGES);
  SetFont(&GetSharedState().GetFont(CXTSharedState::kFontNormal));
  return TRUE;
}

BOOL CXTEdit::CanPasteText() const { return ::IsClipboardFormatAvailable(CF_TEXT); }

BOOL CXTEdit::HasSelection() const {
  int start = 0, end = 0;
  GetSel(start, end);
  return start < end;
}

// ---- context menu

void CXTEdit::OnContextMenu(CWnd*, CPoint point) {
  if (point.x == -1 && point.y == -1) {
    point = CPoint(0, 0);
    ClientToScreen(&point);
    point.Offset(kKeyboardMenuOffset.x, kKeyboardMenuOffset.y);
  }
  CMenu menu;
  HINSTANCE hModule = GetSharedState().m_resourceModule;
  if (!menu.Attach(::LoadMenuA(hModule ? hModule : AfxGetResourceHandle(), MAKEINTRESOURCEA(IDR_XT_EDIT_MENU))))
    return;
  // The chosen command is posted back to the edit, as a plain popup would.
  if (CMenu* pPopup = menu.GetSubMenu(kEditMenuPopup))
    m_coolMenu.TrackPopupMenuEx(pPopup->m_hMenu, TPM_RIGHTBUTTON, point.x, point.y, this, nullptr, TRUE);
  menu.DestroyMenu();
}

// Each item is enabled by its update handler; one without a handler is disabled.
void CXTEdit::OnInitMenuPopup(CMenu* pPopupMenu, UINT nIndex, BOOL bSysMenu) {
  CEdit::OnInitMenuPopup(pPopupMenu, nIndex, bSysMenu);
  if (bSysMenu) return;
  CCmdUI state;
  state.m_pMenu = pPopupMenu;
  state.m_nIndexMax = pPopupMenu->GetMenuItemCount();
  for (state.m_nIndex = 0; state.m_nIndex < state.m_nIndexMax; ++state.m_nIndex) {
    UINT id = pPopupMenu->GetMenuItemID(state.m_nIndex);
    if (id == 0) continue;  // a separator
    state.m_pSubMenu = nullptr;
    if (id == UINT(-1)) {
      state.m_pSubMenu = pPopupMenu->GetSubMenu(state.m_nIndex);
      if (!state.m_pSubMenu || (id = state.m_pSubMenu->GetMenuItemID(0)) == 0 || id == UINT(-1)) continue;
    }
    state.m_nID = id;
    state.DoUpdate(this, id < kFirstSystemCommand);
  }
}

// ---- commands

void CXTEdit::OnEditUndo() { Undo(); }
void CXTEdit::OnEditCut() { Cut(); }
void CXTEdit::OnEditCopy() { Copy(); }
void CXTEdit::OnEditPaste() { Paste(); }
void CXTEdit::OnEditClear() { Clear(); }
void CXTEdit::OnEditSelectAll() { SetSel(0, -1); }
void CXTEdit::OnUpdateEditUndo(CCmdUI* pCmdUI) { pCmdUI->Enable(CanUndo()); }
void CXTEdit::OnUpdateNeedsSelection(CCmdUI* pCmdUI) { pCmdUI->Enable(HasSelection()); }
void CXTEdit::OnUpdateEditPaste(CCmdUI* pCmdUI) { pCmdUI->Enable(CanPasteText()); }
void CXTEdit::OnUpdateEditSelectAll(CCmdUI* pCmdUI) { pCmdUI->Enable(GetWindowTextLength() > 0); }

// ---- painting

BOOL CXTEdit::OnEraseBkgnd(CDC*) { return TRUE; }

void CXTEdit::OnPaint() { PaintThroughMemDC(*this, GetSharedState().m_clrWindow); }
