#include "DialogTextEdit.h"

BEGIN_MESSAGE_MAP(CDialogTextEdit, CRichEditCtrl)
  ON_MESSAGE(WM_GETDLGCODE, OnGetDlgCode)
END_MESSAGE_MAP()

// The dialog manager and the sheet ask with the message in hand: for a Tab
// key the edit wants neither the key nor the message.
LRESULT CDialogTextEdit::OnGetDlgCode(WPARAM, LPARAM lParam) {
  LRESULT code = Default();
  const MSG* msg = reinterpret_cast<const MSG*>(lParam);
  if (msg && (msg->message == WM_KEYDOWN || msg->message == WM_CHAR) && msg->wParam == VK_TAB)
    code &= ~(DLGC_WANTTAB | DLGC_WANTMESSAGE | DLGC_WANTALLKEYS);
  return code;
}
