#include "SFXOptionsPage.h"

#include <richedit.h>
#include <shellapi.h>

#include "SFXAboutBoxTestDlg.h"
#include "SFXCustomMessageTestDlg.h"
#include "app/FoundItemList.h"
#include "builder_resource.h"
#include "classlib/dataexchange.h"
#include "classlib/dc.h"
#include "classlib/filedialog.h"
#include "classlib/winapp.h"
#include "dialogs/TransparentBitmap.h"
#include "dialogs/XTendedFileDlg.h"
#include "toolkit/common/SharedState.h"

IMPLEMENT_DYNAMIC(CSFXOptionsPage, CXTResizePropertyPage)

BEGIN_MESSAGE_MAP(CSFXOptionsPage, CXTResizePropertyPage)
  ON_WM_PAINT()
  ON_EN_UPDATE(IDC_OPTIONS_ABOUT_TEXT, OnAboutTextUpdate)
  ON_EN_UPDATE(IDC_OPTIONS_MESSAGE_TEXT, OnMessageTextUpdate)
  ON_EN_CHANGE(IDC_OPTIONS_ABOUT_TEXT, OnAboutTextUpdate)
  ON_EN_CHANGE(IDC_OPTIONS_MESSAGE_TEXT, OnMessageTextUpdate)
  ON_BN_CLICKED(IDC_OPTIONS_ABOUT_LOAD, OnLoadAboutText)
  ON_BN_CLICKED(IDC_OPTIONS_MESSAGE_LOAD, OnLoadMessageText)
  ON_BN_CLICKED(IDC_OPTIONS_ABOUT_SAVE, OnSaveAboutText)
  ON_BN_CLICKED(IDC_OPTIONS_MESSAGE_SAVE, OnSaveMessageText)
  ON_BN_CLICKED(IDC_OPTIONS_ABOUT_PREVIEW, OnPreviewAboutText)
  ON_BN_CLICKED(IDC_OPTIONS_MESSAGE_PREVIEW, OnPreviewMessageText)
  ON_CBN_SELCHANGE(IDC_OPTIONS_FILTER, OnFilterChange)
  ON_CBN_SELCHANGE(IDC_OPTIONS_LAUNCH_LIST, OnLaunchChoice)
END_MESSAGE_MAP()

namespace {

struct TextSlotControls {
  int edit, load, save, preview, mode, notice, mark;
  UINT loadIcon, saveIcon, previewIcon;
};
constexpr TextSlotControls kSlotControls[] = {
    {IDC_OPTIONS_ABOUT_TEXT, IDC_OPTIONS_ABOUT_LOAD, IDC_OPTIONS_ABOUT_SAVE, IDC_OPTIONS_ABOUT_PREVIEW,
     IDC_OPTIONS_ABOUT_MODE, IDC_OPTIONS_ABOUT_RTF_NOTICE, IDC_OPTIONS_ABOUT_RTF_MARK, IDI_OPTIONS_LOAD_ABOUT,
     IDI_OPTIONS_SAVE_ABOUT, IDI_OPTIONS_PREVIEW_ABOUT},
    {IDC_OPTIONS_MESSAGE_TEXT, IDC_OPTIONS_MESSAGE_LOAD, IDC_OPTIONS_MESSAGE_SAVE, IDC_OPTIONS_MESSAGE_PREVIEW,
     IDC_OPTIONS_MESSAGE_MODE, IDC_OPTIONS_MESSAGE_RTF_NOTICE, IDC_OPTIONS_MESSAGE_RTF_MARK, IDI_OPTIONS_LOAD_MESSAGE,
     IDI_OPTIONS_SAVE_MESSAGE, IDI_OPTIONS_PREVIEW_MESSAGE},
};

constexpr int kStretching[] = {
    IDC_OPTIONS_ABOUT_GROUP,        IDC_OPTIONS_MESSAGE_GROUP,      IDC_OPTIONS_LAUNCH_GROUP,
    IDC_OPTIONS_ABOUT_NOTE,         IDC_OPTIONS_MESSAGE_NOTE,       IDC_OPTIONS_ABOUT_RTF_NOTICE,
    IDC_OPTIONS_MESSAGE_RTF_NOTICE, IDC_OPTIONS_ABOUT_TEXT,         IDC_OPTIONS_MESSAGE_TEXT,
    IDC_OPTIONS_LAUNCH_LIST,        IDC_OPTIONS_FILTER,
};
constexpr int kFollowingRight[] = {
    IDC_OPTIONS_ABOUT_LOAD,    IDC_OPTIONS_ABOUT_SAVE,     IDC_OPTIONS_ABOUT_PREVIEW,  IDC_OPTIONS_MESSAGE_LOAD,
    IDC_OPTIONS_MESSAGE_SAVE,  IDC_OPTIONS_MESSAGE_PREVIEW, IDC_OPTIONS_ABOUT_MODE,    IDC_OPTIONS_MESSAGE_MODE,
    IDC_OPTIONS_TEXTS_PICTURE, IDC_OPTIONS_LAUNCH_PICTURE, IDC_OPTIONS_PROGRAM_ICON,
};

constexpr const char* kFilterRows[kLaunchFilterCount] = {
    "All Files(*.*)",
    "Executable Files(*.exe)",
    "Image Files(*.bmp, *.gif, *.jpg, *.png)",
};

constexpr char kTextOpenFilter[] = "Text files (*.txt)|*.txt|Rich Text Format Files (*.rtf)|*.rtf|All Files (*.*)|*.*||";
constexpr char kTextSaveFilter[] = "Text files (*.txt)|*.txt|All Files (*.*)|*.*||";
constexpr DWORD kOpenTextFlags = OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_HIDEREADONLY;
constexpr DWORD kSaveTextFlags = OFN_EXPLORER | OFN_HIDEREADONLY;
constexpr int kButtonIconSize = 24;

// Where the about text's file prompt starts, for the program's run.
CString& AboutTextFolder() {
  static CString folder;
  return folder;
}

std::string LoadedString(UINT id) {
  CString text;
  text.LoadString(id);
  return static_cast<LPCSTR>(text);
}

struct StringReader {
  const std::string* text;
  size_t offset;
};

DWORD CALLBACK ReadFromString(DWORD_PTR cookie, LPBYTE buffer, LONG wanted, LONG* given) {
  StringReader* reader = reinterpret_cast<StringReader*>(cookie);
  const size_t left = reader->text->size() - reader->offset;
  const size_t count = left < static_cast<size_t>(wanted) ? left : static_cast<size_t>(wanted);
  reader->text->copy(reinterpret_cast<char*>(buffer), count, reader->offset);
  reader->offset += count;
  *given = static_cast<LONG>(count);
  return 0;
}

// Streams text in as RTF or as plain text: a plain text that happens to
// look like RTF is shown as it is, never rendered.
void PutIntoRichEdit(HWND edit, const std::string& text, bool rtf) {
  StringReader reader = {&text, 0};
  EDITSTREAM stream = {reinterpret_cast<DWORD_PTR>(&reader), 0, ReadFromString};
  ::SendMessageA(edit, EM_STREAMIN, rtf ? SF_RTF : SF_TEXT, reinterpret_cast<LPARAM>(&stream));
}

HBITMAP LoadPageBitmap(UINT id) { return ::LoadBitmapA(AfxGetResourceHandle(), MAKEINTRESOURCEA(id)); }

void DrawBitmapAt(CWnd& page, CDC& dc, UINT bitmapId, int place) {
  HWND placeWindow = ::GetDlgItem(page.m_hWnd, place);
  HBITMAP bitmap = LoadPageBitmap(bitmapId);
  if (!placeWindow || !bitmap) return;
  RECT rect;
  ::GetWindowRect(placeWindow, &rect);
  ::MapWindowPoints(nullptr, page.m_hWnd, reinterpret_cast<POINT*>(&rect), 2);
  DrawTransparentBitmap(dc.m_hDC, bitmap, rect.left, rect.top, kTransparentGreen);
  ::DeleteObject(bitmap);
}

}  // namespace

CSFXOptionsPage::CSFXOptionsPage(LPCSTR caption, LPCSTR) : CXTResizePropertyPage(IDD_OPTIONS_PAGE) {
  AfxInitRichEdit2();
  if (caption) SetTabCaption(caption);
}

CSFXOptionsPage::~CSFXOptionsPage() {
  if (programIcon_) ::DestroyIcon(programIcon_);
}

void CSFXOptionsPage::DoDataExchange(CDataExchange* pDX) {
  CXTResizePropertyPage::DoDataExchange(pDX);
  for (int slot = 0; slot < kSlotCount; ++slot) {
    const TextSlotControls& c = kSlotControls[slot];
    DDX_Control(pDX, c.edit, textEdits_[slot]);
    DDX_Control(pDX, c.load, buttons_[slot * 3]);
    DDX_Control(pDX, c.save, buttons_[slot * 3 + 1]);
    DDX_Control(pDX, c.preview, buttons_[slot * 3 + 2]);
  }
  DDX_Control(pDX, IDC_OPTIONS_LAUNCH_LIST, launchList_);
  DDX_Control(pDX, IDC_OPTIONS_FILTER, filterList_);
}

BOOL CSFXOptionsPage::PreTranslateMessage(MSG* pMsg) {
  if (hoverTip_.m_hWnd) hoverTip_.RelayEvent(pMsg);
  return CXTResizePropertyPage::PreTranslateMessage(pMsg);
}

BOOL CSFXOptionsPage::OnInitDialog() {
  CXTResizePropertyPage::OnInitDialog();
  AnchorControls();
  initialised_ = true;
  for (int slot = 0; slot < kSlotCount; ++slot) {
    ShowText(static_cast<Slot>(slot));
    // Rich edits tell of changes only when asked.
    textEdits_[slot].SetEventMask(textEdits_[slot].GetEventMask() | ENM_UPDATE | ENM_CHANGE);
  }
  SHFILEINFOA info = {};
  if (SHGetFileInfoA(".exe", FILE_ATTRIBUTE_NORMAL, &info, sizeof info, SHGFI_ICON | SHGFI_USEFILEATTRIBUTES))
    programIcon_ = info.hIcon;
  ::SendDlgItemMessageA(m_hWnd, IDC_OPTIONS_PROGRAM_ICON, STM_SETICON, reinterpret_cast<WPARAM>(programIcon_), 0);
  FillFilterRows();
  SetUpButtons();
  const HFONT bold = static_cast<HFONT>(GetSharedState().GetFont(CXTSharedState::kFontBold).m_hObject);
  for (int label : {IDC_OPTIONS_ABOUT_MODE, IDC_OPTIONS_LAUNCH_LABEL, IDC_OPTIONS_MESSAGE_MODE})
    ::SendDlgItemMessageA(m_hWnd, label, WM_SETFONT, reinterpret_cast<WPARAM>(bold), TRUE);
  RefreshLaunchList(true);
  return TRUE;
}

void CSFXOptionsPage::AnchorControls() {
  const CXTAnchorRect stretch(0, 0, 1, 0), followRight(1, 0, 1, 0);
  for (int control : kStretching) SetAnchor(control, stretch);
  for (int control : kFollowingRight) SetAnchor(control, followRight);
}

void CSFXOptionsPage::FillFilterRows() {
  filterList_.ResetContent();
  for (const char* row : kFilterRows) filterList_.AddString(row);
  filterList_.SetCurSel(filterIndex_);
}

// Each button gets its picture and a hover tip saying what it does.
void CSFXOptionsPage::SetUpButtons() {
  const HINSTANCE resources = AfxGetResourceHandle();
  hoverTip_.CreateTip(this);
  hoverTip_.SetTipIcon(::LoadIconA(resources, MAKEINTRESOURCEA(IDI_BUILD_SECURED)));
  const HICON tipMark = ::LoadIconA(resources, MAKEINTRESOURCEA(IDI_HOVER_TIP_MARK));
  const std::string tips[] = {LoadedString(IDS_LOAD_TEXT_TIP), LoadedString(IDS_SAVE_TEXT_TIP),
                              LoadedString(IDS_PREVIEW_TIP)};
  for (int slot = 0; slot < kSlotCount; ++slot) {
    const UINT icons[] = {kSlotControls[slot].loadIcon, kSlotControls[slot].saveIcon,
                          kSlotControls[slot].previewIcon};
    for (int i = 0; i < 3; ++i) {
      CXTButton& button = buttons_[slot * 3 + i];
      button.SetIcons(kButtonIconSize, kButtonIconSize,
                      static_cast<HICON>(::LoadImageA(resources, MAKEINTRESOURCEA(icons[i]), IMAGE_ICON,
                                                      kButtonIconSize, kButtonIconSize, 0)),
                      nullptr);
      hoverTip_.AddTool(&button, tips[i].c_str(), tipMark);
    }
  }
}

BOOL CSFXOptionsPage::OnSetActive() {
  RefreshLaunchList(false);
  for (int slot = 0; slot < kSlotCount; ++slot) ShowTextState(static_cast<Slot>(slot));
  return CXTResizePropertyPage::OnSetActive();
}

void CSFXOptionsPage::RecordToPage(const ProjectSettings& record, int reset) {
  texts_[kAbout].TakeFromRecord(record.aboutText, reset != 0);
  texts_[kMessage].TakeFromRecord(record.customMessage, reset != 0);
  command_ = record.launchCommand;
  filterIndex_ = record.listIndex >= 0 && record.listIndex < kLaunchFilterCount ? record.listIndex : kLaunchAllFiles;
  launchRowsMade_ = false;
  if (!HasWindow()) return;
  for (int slot = 0; slot < kSlotCount; ++slot) ShowText(static_cast<Slot>(slot));
  filterList_.SetCurSel(filterIndex_);
  RefreshLaunchList(true);
}

// The launch command is the page's own, changed only by the user's pick, so
// collecting the page never loses a command the user did not touch.
void CSFXOptionsPage::PageToRecord(ProjectSettings* record) {
  if (HasWindow()) {
    for (int slot = 0; slot < kSlotCount; ++slot) texts_[slot].TakeFromEdit(EditText(static_cast<Slot>(slot)));
    const int filter = filterList_.GetCurSel();
    if (filter >= 0) filterIndex_ = filter;
  }
  if (!record) return;
  record->aboutText = texts_[kAbout].ForRecord();
  record->customMessage = texts_[kMessage].ForRecord();
  record->launchCommand = command_;
  record->listIndex = filterIndex_;
}

void CSFXOptionsPage::OnAboutTextUpdate() { TextEdited(kAbout); }
void CSFXOptionsPage::OnMessageTextUpdate() { TextEdited(kMessage); }
void CSFXOptionsPage::OnLoadAboutText() { LoadText(kAbout); }
void CSFXOptionsPage::OnLoadMessageText() { LoadText(kMessage); }
void CSFXOptionsPage::OnSaveAboutText() { SaveText(kAbout); }
void CSFXOptionsPage::OnSaveMessageText() { SaveText(kMessage); }
void CSFXOptionsPage::OnPreviewAboutText() { PreviewText(kAbout); }
void CSFXOptionsPage::OnPreviewMessageText() { PreviewText(kMessage); }

void CSFXOptionsPage::TextEdited(Slot slot) {
  if (settingText_) return;
  const bool wasRtf = texts_[slot].IsRtf();
  texts_[slot].TakeFromEdit(EditText(slot));
  if (wasRtf != texts_[slot].IsRtf()) {
    ShowTextState(slot);
    return;
  }
  const bool any = !texts_[slot].Empty();
  ::EnableWindow(::GetDlgItem(m_hWnd, kSlotControls[slot].save), any);
  ::EnableWindow(::GetDlgItem(m_hWnd, kSlotControls[slot].preview), any);
}

void CSFXOptionsPage::LoadText(Slot slot) {
  char path[kFilePathChars] = {};
  if (!PromptForTextFile(slot, path)) return;
  std::string contents;
  switch (ReadTextFile(path, &contents)) {
    case TextFileRead::kTooLarge: AfxMessageBox(IDS_TEXT_TOO_LARGE); return;
    case TextFileRead::kEmpty:
    case TextFileRead::kUnreadable: return;
    case TextFileRead::kLoaded: break;
  }
  texts_[slot].TakeFromFile(path, contents);
  ShowText(slot);
}

// The about text's prompt remembers its folder for the run; the message's is the plain system dialog.
bool CSFXOptionsPage::PromptForTextFile(Slot slot, char path[kFilePathChars]) {
  DWORD filterIndex = static_cast<DWORD>(static_cast<int>(texts_[slot].Kind()) + 1);
  if (slot == kAbout)
    return ShowFileDialog(path, this, TRUE, "txt", &AboutTextFolder(), &filterIndex, kOpenTextFlags, IDS_OPEN_FILE,
                          kTextOpenFilter) != FALSE;
  CFileDialog dialog(TRUE, nullptr, nullptr, kOpenTextFlags, kTextOpenFilter, this);
  dialog.m_ofn.nFilterIndex = filterIndex;
  if (dialog.DoModal() != IDOK) return false;
  lstrcpynA(path, dialog.GetPathName(), kFilePathChars);
  return path[0] != '\0';
}

void CSFXOptionsPage::SaveText(Slot slot) {
  CFileDialog dialog(FALSE, "txt", nullptr, kSaveTextFlags, kTextSaveFilter, this);
  if (dialog.DoModal() != IDOK) return;
  const std::string path = static_cast<LPCSTR>(dialog.GetPathName());
  if (path.empty() || WriteTextFile(path, EditText(slot))) return;
  CString message;
  message.Format(IDS_TEXT_NOT_SAVED, path.c_str());
  AfxMessageBox(message, MB_OK | MB_ICONERROR);
}

void CSFXOptionsPage::PreviewText(Slot slot) {
  texts_[slot].TakeFromEdit(EditText(slot));
  const std::string& text = texts_[slot].ForEdit();
  if (slot == kAbout) {
    CSFXAboutBoxTestDlg preview(text, this);
    preview.DoModal();
  } else {
    CSFXCustomMessageTestDlg preview(text, this);
    preview.DoModal();
  }
}

void CSFXOptionsPage::ShowText(Slot slot) {
  if (!initialised_) return;
  settingText_ = true;
  PutIntoRichEdit(textEdits_[slot].m_hWnd, texts_[slot].ForEdit(), texts_[slot].IsRtf());
  settingText_ = false;
  ShowTextState(slot);
}

// The mode label, the RTF notice and the buttons that need a text.
void CSFXOptionsPage::ShowTextState(Slot slot) {
  if (!initialised_) return;
  const TextSlotControls& c = kSlotControls[slot];
  const bool rtf = texts_[slot].IsRtf();
  ::SetDlgItemTextA(m_hWnd, c.mode, LoadedString(rtf ? IDS_RICH_TEXT_MODE : IDS_TEXT_MODE).c_str());
  ::SetDlgItemTextA(m_hWnd, c.notice, rtf ? LoadedString(IDS_RTF_NOT_MODIFIABLE).c_str() : "");
  const bool any = !texts_[slot].Empty();
  ::EnableWindow(::GetDlgItem(m_hWnd, c.save), any);
  ::EnableWindow(::GetDlgItem(m_hWnd, c.preview), any);
  Invalidate();
}

std::string CSFXOptionsPage::EditText(Slot slot) const {
  const HWND edit = textEdits_[slot].m_hWnd;
  std::string text(static_cast<size_t>(::GetWindowTextLengthA(edit)) + 1, '\0');
  text.resize(static_cast<size_t>(::GetWindowTextA(edit, &text[0], static_cast<int>(text.size()))));
  return text;
}

void CSFXOptionsPage::OnFilterChange() {
  const int filter = filterList_.GetCurSel();
  if (filter >= 0) filterIndex_ = filter;
  RefreshLaunchList(true);
}

void CSFXOptionsPage::OnLaunchChoice() { command_ = CommandOfRow(launchRows_, launchList_.GetCurSel()); }

void CSFXOptionsPage::RefreshLaunchList(bool force) {
  if (!initialised_) return;
  const FoundItemList& found = FoundItems();
  if (!force && launchRowsMade_ && shownGeneration_ == found.Generation()) return;
  shownGeneration_ = found.Generation();
  launchRowsMade_ = true;
  launchRows_ = BuildLaunchRows(found.Items(), filterIndex_, command_);
  launchList_.ResetContent();
  launchList_.AddString(LoadedString(IDS_NO_LAUNCH_COMMAND).c_str());
  for (const std::string& name : launchRows_.names) launchList_.AddString(name.c_str());
  launchList_.SetCurSel(launchRows_.commandRow);
  ShowFilterStatus();
}

void CSFXOptionsPage::ShowFilterStatus() {
  CString text;
  if (launchRows_.inFilter > 0)
    text.Format(IDS_FILES_IN_FILTER, launchRows_.inFilter);
  else
    text = LoadedString(IDS_NO_FILES_IN_FILTER).c_str();
  ::SetDlgItemTextA(m_hWnd, IDC_OPTIONS_FILTER_STATUS, text);
  Invalidate();
}

void CSFXOptionsPage::OnPaint() {
  CPaintDC dc(this);
  DrawMarks(dc);
}

// The filter's mark, and the mark beside each RTF notice.
void CSFXOptionsPage::DrawMarks(CDC& dc) {
  DrawBitmapAt(*this, dc, launchRows_.inFilter > 0 ? IDB_FILTER_FOUND : IDB_FILTER_EMPTY, IDC_OPTIONS_FILTER_MARK);
  for (int slot = 0; slot < kSlotCount; ++slot)
    if (texts_[slot].IsRtf()) DrawBitmapAt(*this, dc, IDB_FILTER_FOUND, kSlotControls[slot].mark);
}
