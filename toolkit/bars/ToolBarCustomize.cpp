// The tool bar in customise mode: taking part in the broker's customise-mode
// notification with a drop target while the mode lasts, and the command
// items its buttons become and come from.
#include <memory>

#include "toolkit/bars/ToolBar.h"
#include "toolkit/bars/ToolBarDropTarget.h"
#include "toolkit/customize/CustomItem.h"
#include "toolkit/customize/CustomizeBroker.h"
#include "toolkit_resource.h"

namespace {

bool IsSeparator(const TBBUTTON& b) { return (b.fsStyle & TBSTYLE_SEP) != 0; }

}  // namespace

void CXTToolBar::EnableCustomization(BOOL enable) {
  const BYTE customizable = static_cast<BYTE>(enable != FALSE);
  if (customizable == m_bCustomizable) return;
  m_bCustomizable = customizable;
  CXTCustomizeBroker& broker = GetCustomizeBroker();
  if (customizable) {
    broker.Listeners(CXTCustomizeBroker::kCustomizeModeListeners)
        .Add(MakeListener(this, &CXTToolBar::OnCustomizeMode));
  } else {
    broker.RemoveClient(this);
  }
}

void CXTToolBar::OnCustomizeMode(INT_PTR on) {
  if (!m_bCustomizable || (m_pDropTarget != nullptr) == (on != 0)) return;
  if (on)
    m_pDropTarget = new CXTToolBarDropTarget(this);
  else
    LeaveCustomizeMode();
}

void CXTToolBar::LeaveCustomizeMode() {
  delete m_pDropTarget;
  m_pDropTarget = nullptr;
}

LRESULT CXTToolBar::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  LRESULT result = 0;
  if (m_pDropTarget && m_pDropTarget->WindowProc(message, wParam, lParam, &result)) return result;
  return CXTControlBar::WindowProc(message, wParam, lParam);
}

int CXTToolBar::SeparatorWidth() const {
  return (GetStyle() & TBSTYLE_FLAT) ? kSeparatorWidthFlat : kSeparatorWidthClassic;
}

CXTCustomItem* CXTToolBar::CreateCustomItem(int index) {
  TBBUTTON button;
  if (!GetButton(index, &button) || button.idCommand == 0) return nullptr;
  const UINT id = static_cast<UINT>(button.idCommand);
  if (IsSeparator(button)) {
    CXTCustomItem* item = new CXTCustomItem(CXTCustomItem::kControl);
    item->m_nCmdID = id;
    item->m_nValue = button.iBitmap;
    return item;
  }
  CXTCustomItem* item = new CXTCustomItem(CXTCustomItem::kButton);
  item->m_nCmdID = id;
  item->m_strText = CommandName(id);
  if (item->m_strText.IsEmpty()) {
    CString format, text;
    format.LoadString(IDS_XT_NO_HELP_TOPIC);
    text.Format(format, id);
    const int lineBreak = text.Find('\n');
    item->m_strText = lineBreak < 0 ? text : text.Mid(lineBreak + 1);
  }
  HIMAGELIST images = reinterpret_cast<HIMAGELIST>(SendMessage(TB_GETIMAGELIST));
  if (button.iBitmap >= 0 && images) item->m_normalIcon.Reset(ImageList_GetIcon(images, button.iBitmap, ILD_NORMAL));
  if (const ButtonEntry* entry = EntryOfCommand(id))
    if (entry->dropDown) item->SetDropDown(entry->dropDown.get(), FALSE);
  if (button.iString != -1) item->m_strText2 = GetButtonText(index);
  return item;
}

void CXTToolBar::InsertCustomItem(CXTCustomItem* item, int index) {
  if (item->m_nKind == CXTCustomItem::kButton) InsertCommandButton(item, index);
  if (!GetParentFrame()) return;
  m_bDelayedLayout = TRUE;
  RepositionControls();
  PostRelayout();
}

void CXTToolBar::InsertCommandButton(CXTCustomItem* item, int index) {
  TBBUTTON button = {};
  button.iBitmap = -2;
  button.idCommand = static_cast<int>(item->m_nCmdID);
  button.iString = -1;
  CString text = item->m_strText2;
  if (item->m_normalIcon.Get()) {
    HIMAGELIST disabled = reinterpret_cast<HIMAGELIST>(SendMessage(TB_GETDISABLEDIMAGELIST));
    if (item->m_disabledIcon.Get() && disabled) ImageList_AddIcon(disabled, item->m_disabledIcon.Get());
    HIMAGELIST normal = reinterpret_cast<HIMAGELIST>(SendMessage(TB_GETIMAGELIST));
    if (normal) button.iBitmap = ImageList_AddIcon(normal, item->m_normalIcon.Get());
  } else if (text.IsEmpty()) {
    text = item->m_strText;
  }
  if (!text.IsEmpty()) button.fsStyle |= TBSTYLE_AUTOSIZE;
  std::shared_ptr<CXTDropDownButtonInfo> dropDown;
  if (item->m_pDropDown) {
    button.fsStyle |= TBSTYLE_DROPDOWN;
    dropDown = std::make_shared<CXTDropDownButtonInfo>(*item->m_pDropDown);
    dropDown->idCommand = item->m_nCmdID;
  }
  SendMessage(TB_INSERTBUTTON, index, reinterpret_cast<LPARAM>(&button));
  RebuildEntries();
  if (dropDown) {
    if (ButtonEntry* entry = EntryOfCommand(item->m_nCmdID)) entry->dropDown = dropDown;
    if (dropDown->bArrow) {
      SendMessage(TB_SETEXTENDEDSTYLE, 0, SendMessage(TB_GETEXTENDEDSTYLE) | TBSTYLE_EX_DRAWDDARROWS);
      PostRelayout();
    }
  }
  if (text.IsEmpty()) return;
  if (m_texts.empty() && !(GetStyle() & TBSTYLE_LIST)) {
    // The first text on the bar puts every text beside its image.
    ModifyStyle(0, TBSTYLE_LIST);
    m_bListStyle = TRUE;
    RepositionControls();
    PostRelayout();
  }
  SetButtonText(index, text);
}
