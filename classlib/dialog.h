// Dialog boxes from templates. DoModal runs its own modal loop over a
// modeless dialog: the owner is disabled, the dialog shows when the queue
// first empties (and never, when it ended during OnInitDialog).
#pragma once

#include "classlib/winapp.h"

class CDialog : public CWnd {
  DECLARE_DYNAMIC(CDialog)
  DECLARE_MESSAGE_MAP()
 public:
  CDialog() = default;
  explicit CDialog(UINT nIDTemplate, CWnd* pParentWnd = nullptr);
  explicit CDialog(LPCSTR lpszTemplateName, CWnd* pParentWnd = nullptr);

  // Modeless creation.
  virtual BOOL Create(LPCSTR lpszTemplateName, CWnd* pParentWnd = nullptr);
  virtual BOOL Create(UINT nIDTemplate, CWnd* pParentWnd = nullptr) {
    return Create(MAKEINTRESOURCEA(nIDTemplate), pParentWnd);
  }
  virtual BOOL CreateIndirect(LPCDLGTEMPLATEA lpDialogTemplate, CWnd* pParentWnd = nullptr);
  BOOL InitModalIndirect(LPCDLGTEMPLATEA lpDialogTemplate, CWnd* pParentWnd = nullptr);

  virtual INT_PTR DoModal();
  void EndDialog(int nResult);

  // Fills lists from the template's DLGINIT rows, then exchanges data into the controls.
  virtual BOOL OnInitDialog();
  virtual void PreInitDialog() {}
  virtual void OnOK();
  virtual void OnCancel();
  BOOL PreTranslateMessage(MSG* pMsg) override;
  // Commands the dialog leaves alone go on to its parent, then the application.
  BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;

  void NextDlgCtrl() const { ::SendMessageA(m_hWnd, WM_NEXTDLGCTL, 0, 0); }
  void PrevDlgCtrl() const { ::SendMessageA(m_hWnd, WM_NEXTDLGCTL, 1, 0); }
  void GotoDlgCtrl(CWnd* pWndCtrl) { ::SendMessageA(m_hWnd, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(pWndCtrl->m_hWnd), 1); }
  void SetDefID(UINT nID) { ::SendMessageA(m_hWnd, DM_SETDEFID, nID, 0); }
  DWORD GetDefID() const { return static_cast<DWORD>(::SendMessageA(m_hWnd, DM_GETDEFID, 0, 0)); }
  void MapDialogRect(LPRECT lpRect) const { ::MapDialogRect(m_hWnd, lpRect); }
  // Runs the RT_DLGINIT resource of that name; TRUE also when there is none.
  BOOL ExecuteDlgInit(LPCSTR lpszResourceName);

  LPCSTR m_lpszTemplateName = nullptr;
  UINT m_nIDHelp = 0;
  LPCDLGTEMPLATEA m_lpDialogTemplate = nullptr;
  CWnd* m_pParentWnd = nullptr;

 protected:
  BOOL CreateDlgIndirect(LPCDLGTEMPLATEA lpDialogTemplate, CWnd* pParentWnd, HINSTANCE hInst);
  afx_msg LRESULT HandleInitDialog(WPARAM, LPARAM);
  afx_msg void OnOKCommand() { OnOK(); }
  afx_msg void OnCancelCommand() { OnCancel(); }
};

// Whether the dialog manager may take pMsg for hDlg: a key or mouse message
// of hDlg or of a window in its shown, enabled part. The manager looks for a
// mnemonic by walking the dialog's shown, enabled windows until it comes
// back to the message's window; from a window below a hidden or disabled
// one (a focus left behind in a page no longer shown) it never comes back.
BOOL AfxIsDialogInput(HWND hDlg, const MSG* pMsg);
// Whether a window can take the keyboard: it and every window above it
// shown and enabled.
BOOL AfxCanTakeFocus(HWND hWnd);

// The dialog procedure behind every dialog of the layer: the window's own
// procedure (AfxWndProc) does the work, so this one asks for the defaults.
INT_PTR CALLBACK AfxDlgProc(HWND, UINT, WPARAM, LPARAM);
// The dialog template of that name and the module holding it, or null.
LPCDLGTEMPLATEA AfxLoadDialogTemplate(LPCSTR lpszTemplateName, HINSTANCE* phInst);
// Runs the RT_DLGINIT rows of that name into hWnd's lists; TRUE also when there are none.
BOOL AfxExecuteDlgInit(HWND hWnd, LPCSTR lpszResourceName);
