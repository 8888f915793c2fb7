#include "WarnMessageBoxOnOff.h"

#include "builder_resource.h"
#include "classlib/dataexchange.h"
#include "toolkit/common/SettingsStore.h"
#include "toolkit/common/SharedState.h"

IMPLEMENT_DYNAMIC(CWarnMessageBoxOnOff, CXTResizeDialog)

BEGIN_MESSAGE_MAP(CWarnMessageBoxOnOff, CXTResizeDialog)
  ON_BN_CLICKED(IDC_WARN_YES, OnYes)
  ON_BN_CLICKED(IDC_WARN_NO, OnNo)
  ON_BN_CLICKED(IDC_WARN_DONT_SHOW, OnDontShowAgain)
END_MESSAGE_MAP()

namespace {

constexpr UINT kWarningLayoutFlags = 0;

// The argument goes in as text, never as a format: a "%" in a file name
// must not be read as a conversion.
CString ReplaceFirstPlaceholder(const CString& text, const CString& argument) {
  const int at = text.Find("%s");
  if (at < 0) return text;
  return text.Left(at) + argument + text.Mid(at + 2);
}

// The edit breaks lines only at CR LF.
CString WithEditLineBreaks(const CString& text) {
  CString lines;
  for (int i = 0; i < text.GetLength(); ++i) {
    if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r')) lines += '\r';
    lines += text[i];
  }
  return lines;
}

// The height the edit needs to show all of its text at its width.
int NeededHeight(CEdit& edit) {
  CRect client, format;
  edit.GetClientRect(&client);
  edit.SendMessage(EM_GETRECT, 0, reinterpret_cast<LPARAM>(&format));
  CString text;
  edit.GetWindowText(text);
  CClientDC dc(&edit);
  CFont* old = dc.SelectObject(edit.GetFont());
  CRect lines(0, 0, format.Width(), 0);
  dc.DrawText(text, &lines, DT_CALCRECT | DT_WORDBREAK | DT_EDITCONTROL | DT_NOPREFIX | DT_EXPANDTABS);
  dc.SelectObject(old);
  return lines.Height() + client.Height() - format.Height();
}

// A box grows to two thirds of the work area at most; a longer message scrolls.
int TallestBox() {
  RECT work = {};
  ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
  return (work.bottom - work.top) * 2 / 3;
}

}  // namespace

CWarnMessageBoxOnOff::CWarnMessageBoxOnOff(UINT titleId, UINT textId, LPCSTR valueName, CWnd* parent,
                                           LPCSTR argument, BOOL checkBoxEnabled)
    : CXTResizeDialog(IDD_WARNING_BOX, parent, kWarningLayoutFlags),
      textId_(textId),
      titleId_(titleId),
      checkBoxEnabled_(checkBoxEnabled),
      argument_(argument ? argument : ""),
      valueName_(valueName ? valueName : "") {
  ReadStoredAnswer();
}

CWarnMessageBoxOnOff::CWarnMessageBoxOnOff(LPCSTR title, LPCSTR text, LPCSTR valueName, CWnd* parent,
                                           LPCSTR argument, BOOL checkBoxEnabled)
    : CXTResizeDialog(IDD_WARNING_BOX, parent, kWarningLayoutFlags),
      checkBoxEnabled_(checkBoxEnabled),
      message_(text ? text : ""),
      title_(title ? title : ""),
      argument_(argument ? argument : ""),
      valueName_(valueName ? valueName : "") {
  ReadStoredAnswer();
}

void CWarnMessageBoxOnOff::ReadStoredAnswer() {
  dontShowAgain_ = CXTSettingsStore().ReadInt(kWarningAnswersSection, valueName_, 0);
}

void CWarnMessageBoxOnOff::DoDataExchange(CDataExchange* pDX) {
  CXTResizeDialog::DoDataExchange(pDX);
  DDX_Control(pDX, IDC_WARN_ICON, icon_);
  DDX_Control(pDX, IDC_WARN_TITLE, titleStatic_);
  DDX_Control(pDX, IDC_WARN_MESSAGE, messageEdit_);
  DDX_Control(pDX, IDC_WARN_DONT_SHOW, dontShowBox_);
}

CString CWarnMessageBoxOnOff::MessageText() const {
  if (textId_ == 0) return message_;
  CString text;
  text.LoadString(textId_);
  return argument_.IsEmpty() ? text : ReplaceFirstPlaceholder(text, argument_);
}

BOOL CWarnMessageBoxOnOff::OnInitDialog() {
  CXTResizeDialog::OnInitDialog();
  // Remembered as Yes: end unseen and write nothing, so the stored 1 stays.
  if (dontShowAgain_ == 1) {
    EndDialog(IDOK);
    return TRUE;
  }
  CString title = title_;
  if (titleId_ != 0) title.LoadString(titleId_);
  titleStatic_.SetFont(&GetSharedState().GetFont(CXTSharedState::kFontBold));
  titleStatic_.SetWindowText(title);
  messageEdit_.SetWindowText(WithEditLineBreaks(MessageText()));
  icon_.SetIcon(LoadIconA(nullptr, IDI_EXCLAMATION));
  dontShowBox_.EnableWindow(checkBoxEnabled_);
  if (okOnly_) ShowOkOnly();
  AnchorControls();
  FitToMessage();
  return TRUE;
}

void CWarnMessageBoxOnOff::ShowOkOnly() {
  CWnd* yes = GetDlgItem(IDC_WARN_YES);
  CWnd* no = GetDlgItem(IDC_WARN_NO);
  CRect place;
  no->GetWindowRect(&place);
  ScreenToClient(&place);
  no->ShowWindow(SW_HIDE);
  no->EnableWindow(FALSE);
  yes->SetWindowText("OK");
  yes->MoveWindow(&place);
}

// The message takes what the box grows by; what lies below it keeps to the bottom.
void CWarnMessageBoxOnOff::AnchorControls() {
  const CXTAnchorRect followCorner(1, 1, 1, 1), stretch(0, 0, 1, 1), widen(0, 0, 1, 0), alongBottom(0, 1, 1, 1),
      followBottom(0, 1, 0, 1);
  SetAnchor(IDC_WARN_NO, followCorner);
  SetAnchor(IDC_WARN_YES, followCorner);
  SetAnchor(IDC_WARN_TITLE, widen);
  SetAnchor(IDC_WARN_MESSAGE, stretch);
  SetAnchor(IDC_WARN_FRAME, alongBottom);
  SetAnchor(IDC_WARN_DONT_SHOW, alongBottom);
  SetAnchor(IDC_WARN_TIP, followBottom);
}

// The box grows by what the message lacks, up to the tallest box; only a
// message that still does not fit keeps its scroll bar.
void CWarnMessageBoxOnOff::FitToMessage() {
  CRect message, box;
  messageEdit_.GetClientRect(&message);
  GetWindowRect(&box);
  const int lacking = NeededHeight(messageEdit_) - message.Height();
  const int room = TallestBox() - box.Height();
  if (lacking <= room) messageEdit_.ShowScrollBar(SB_VERT, FALSE);
  if (lacking <= 0) return;
  SetWindowPos(nullptr, 0, 0, box.Width(), box.Height() + (lacking < room ? lacking : room),
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  CenterWindow();
}

void CWarnMessageBoxOnOff::OnDontShowAgain() {
  dontShowAgain_ = dontShowBox_.GetCheck() == BST_CHECKED ? 1 : 0;
}

// A disabled box cannot be ticked and so remembers nothing.
void CWarnMessageBoxOnOff::OnYes() {
  if (checkBoxEnabled_) {
    dontShowAgain_ = dontShowBox_.GetCheck() == BST_CHECKED ? 1 : 0;
    CXTSettingsStore().WriteInt(kWarningAnswersSection, valueName_, dontShowAgain_);
  }
  EndDialog(IDOK);
}

void CWarnMessageBoxOnOff::OnNo() { EndDialog(IDNO); }
