// The General page's status line: whether the zip typed or chosen can be
// made into a program, and how many entries it holds.
#include <string>
#include <vector>

#include "ArchiveJob.h"
#include "GeneralPropertyPageSFX.h"
#include "PlaceholderText.h"
#include "app/FoundItemList.h"
#include "builder_resource.h"
#include "classlib/dc.h"
#include "classlib/winapp.h"
#include "dialogs/TransparentBitmap.h"
#include "toolkit/common/SharedState.h"

namespace {

CString LoadedText(UINT id, std::initializer_list<std::string> arguments) {
  CString text;
  text.LoadString(id);
  return FillPlaceholders(static_cast<LPCSTR>(text), arguments).c_str();
}

std::string NameOf(const CString& path) { return CMyFileUtility::GetFileNamePart(path, 1); }

// The program beside the zip, named after it: a full path even when the zip
// was typed relative to the current folder.
CString ProgramBeside(const CString& zip) {
  char full[MAX_PATH] = {};
  if (!GetFullPathNameA(zip, sizeof full, full, nullptr)) return CMyFileUtility::MakeExeName(zip, 1);
  return CMyFileUtility::MakeExeName(full, 1);
}

constexpr int kBuildControls[] = {IDC_GENERAL_BUILD, IDC_GENERAL_BUILD_CAPTION, IDC_GENERAL_ICON_BROWSE,
                                  IDC_GENERAL_OUTPUT};
// Held off while the zip is examined. The output box stays live: it is
// examined on every character typed into it, and a box disabled under the
// caret loses the focus.
constexpr int kBuildButtons[] = {IDC_GENERAL_BUILD, IDC_GENERAL_BUILD_CAPTION};

}  // namespace

void CGeneralPropertyPageSFX::ExamineZip() {
  if (!windowCreated_) return;
  statusBitmap_ = 0;
  for (int id : kBuildButtons) GetDlgItem(id)->EnableWindow(FALSE);
  zip_ = ComboText(zipCombo_);
  output_ = ComboText(outputCombo_);
  if (CMyFileUtility::GetPathKind(zip_) != CMyFileUtility::kPathIsFile) {
    ShowZipMissing(zip_);
    return;
  }
  int listResult = 0;
  const bool listed = zip_ != lastExamined_ ? ListZip(zip_, &listResult) : entryCount_ > 0;
  SetStatusFont(FW_NORMAL);
  if (listed)
    ShowZipFound(zip_);
  else
    ShowZipNotUsable(zip_, listResult);
}

// Lists the zip into the found-item list, every entry by its name; false
// when it holds nothing or cannot be read.
bool CGeneralPropertyPageSFX::ListZip(const CString& zip, int* result) {
  FoundItems().Clear();
  std::vector<ArchiveListRecord> records;
  int count = 0;
  *result = ListArchive(AfxGetInstanceHandle(), m_hWnd, zip, &records, &count, nullptr);
  for (const ArchiveListRecord& record : records) FoundItems().Add(record.name.c_str());
  entryCount_ = *result == 0 ? static_cast<int>(records.size()) : 0;
  if (entryCount_ > 0) lastExamined_ = zip;
  return entryCount_ > 0;
}

void CGeneralPropertyPageSFX::ShowZipFound(const CString& zip) {
  statusText_ = LoadedText(IDS_ZIP_LOADED, {NameOf(zip), std::to_string(entryCount_)});
  statusBitmap_ = IDB_STATUS_FOUND;
  if (output_.IsEmpty()) {
    output_ = ProgramBeside(zip);
    settingTexts_ = true;
    SetComboText(outputCombo_, output_);
    settingTexts_ = false;
  }
  ShowStatus(!output_.IsEmpty());
}

void CGeneralPropertyPageSFX::ShowZipNotUsable(const CString& zip, int listResult) {
  SetStatusFont(FW_BOLD);
  statusText_ = LoadedText(listResult != 0 ? IDS_ZIP_NOT_RECOGNIZED : IDS_ZIP_EMPTY, {NameOf(zip)});
  statusBitmap_ = IDB_STATUS_PROBLEM;
  ShowStatus(false);
}

void CGeneralPropertyPageSFX::ShowZipMissing(const CString& zip) {
  SetStatusFont(FW_BOLD);
  statusText_ = zip.IsEmpty() ? LoadedText(IDS_TYPE_ZIP_NAME, {}) : LoadedText(IDS_ZIP_MISSING, {NameOf(zip)});
  statusBitmap_ = IDB_STATUS_PROBLEM;
  ShowStatus(false);
}

void CGeneralPropertyPageSFX::SetStatusFont(int weight) {
  CXTSharedState& state = GetSharedState();
  GetDlgItem(IDC_GENERAL_STATUS)
      ->SetFont(&state.GetFont(weight == FW_BOLD ? CXTSharedState::kFontBold : CXTSharedState::kFontNormal));
}

void CGeneralPropertyPageSFX::ShowStatus(bool buildEnabled) {
  SetDlgItemText(IDC_GENERAL_STATUS, statusText_);
  // The bitmap's place is shown and hidden again so the line repaints.
  GetDlgItem(IDC_GENERAL_STATUS_BITMAP)->ShowWindow(SW_SHOW);
  GetDlgItem(IDC_GENERAL_STATUS_BITMAP)->ShowWindow(SW_HIDE);
  for (int id : kBuildControls) GetDlgItem(id)->EnableWindow(buildEnabled);
  programIconPlace_.SetIcon(buildEnabled ? programIcon_ : greyProgramIcon_);
  CClientDC dc(this);
  DrawStatusBitmap(dc);
}

void CGeneralPropertyPageSFX::OnPaint() {
  CPaintDC dc(this);
  DrawStatusBitmap(dc);
}

void CGeneralPropertyPageSFX::DrawStatusBitmap(CDC& dc) {
  if (!statusBitmap_) return;
  CRect place;
  GetDlgItem(IDC_GENERAL_STATUS_BITMAP)->GetWindowRect(&place);
  ScreenToClient(&place);
  HBITMAP bitmap = ::LoadBitmapA(AfxGetResourceHandle(), MAKEINTRESOURCEA(statusBitmap_));
  if (!bitmap) return;
  DrawTransparentBitmap(dc.m_hDC, bitmap, place.left, place.top, kTransparentGreen);
  ::DeleteObject(bitmap);
}
