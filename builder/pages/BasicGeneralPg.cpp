#include "BasicGeneralPg.h"

#include "GeneralPropertyPageSFX.h"
#include "MyResizePropSheet.h"
#include "PasswordProtectionPage.h"
#include "SFXOptionsPage.h"
#include "builder_resource.h"
#include "classlib/winapp.h"

IMPLEMENT_DYNCREATE(CBasicGeneralPg, CFormView)

BEGIN_MESSAGE_MAP(CBasicGeneralPg, CFormView)
ON_WM_SIZE()
ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

namespace {

constexpr char kSheetSection[] = "KorvaneBrennicor";

}  // namespace

CBasicGeneralPg::CBasicGeneralPg() : CBasicGeneralPg(StubImage(), CBuildSFXPage::OpenWithShell) {}

CBasicGeneralPg::CBasicGeneralPg(const StubImage& stub, CBuildSFXPage::ProgramLauncher launch)
    : CFormView(IDD_SETTINGS_VIEW), stub_(stub), launch_(launch) {}

CBasicGeneralPg::~CBasicGeneralPg() {
  delete sheet_;
  delete options_;
  delete general_;
  delete password_;
  delete build_;
}

void CBasicGeneralPg::OnInitialUpdate() {
  CFormView::OnInitialUpdate();
  if (sheet_) return;
  sheet_ = new CMyResizePropSheet(nullptr, "This", kSheetSection, -1, 0);
  if (CreatePages()) CreateSheet();
}

// The pages in their fixed places; false, and no sheet, when one is missing.
bool CBasicGeneralPg::CreatePages() {
  if (!stub_.bytes) stub_ = LoadStubImage(AfxGetResourceHandle());
  general_ = new CGeneralPropertyPageSFX("Brennicor Settings...", nullptr, launch_);
  options_ = new CSFXOptionsPage("SFX Option Settings...");
  password_ = new CPasswordProtectionPage("Password Protection...");
  build_ = new CBuildSFXPage(stub_, launch_);
  general_->SetTabCaption("Brennicor Settings...");
  build_->SetTabCaption("Building Brennicor...");
  for (CPropertyPage* page : Pages()) sheet_->AddPage(page);
  return true;
}

void CBasicGeneralPg::CreateSheet() {
  if (!sheet_->Create(this, WS_CHILD | WS_VISIBLE, 0)) return;
  sheet_->ModifyStyleEx(WS_EX_DLGMODALFRAME, WS_EX_CONTROLPARENT);
  sheet_->ModifyStyle(WS_THICKFRAME, WS_TABSTOP);
  // The view's own background is never painted over the sheet it holds.
  ModifyStyle(0, WS_CLIPCHILDREN);
  CRect made;
  sheet_->GetWindowRect(&made);
  sheetNeeded_ = made.Size();
  CRect client;
  GetClientRect(&client);
  FitSheet(client.Width(), client.Height());
}

// The view's own client area, so the sheet never reaches under the
// splitter's borders; from its corner, where the sheet's sizing border
// would have moved it out by a pixel.
void CBasicGeneralPg::FitSheet(int width, int height) {
  sheet_->SetWindowPos(nullptr, 0, 0, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

// The client area is read again: the scroll view's own handling may show or
// hide a bar, and the size that came with the message is then stale.
void CBasicGeneralPg::OnSize(UINT nType, int cx, int cy) {
  CFormView::OnSize(nType, cx, cy);
  if (!sheet_ || !::IsWindow(sheet_->m_hWnd)) return;
  CRect client;
  GetClientRect(&client);
  FitSheet(client.Width(), client.Height());
}

BOOL CBasicGeneralPg::OnEraseBkgnd(CDC*) {
  Default();
  return FALSE;
}

std::array<CPropertyPage*, kSettingsPageCount> CBasicGeneralPg::Pages() const {
  return {general_, options_, password_, build_};
}

std::vector<SettingsPageExchange*> CBasicGeneralPg::SettingsPages() const {
  std::vector<SettingsPageExchange*> pages;
  for (SettingsPageExchange* page :
       {static_cast<SettingsPageExchange*>(general_), static_cast<SettingsPageExchange*>(options_),
        static_cast<SettingsPageExchange*>(password_)})
    if (page) pages.push_back(page);
  return pages;
}

BOOL CBasicGeneralPg::ShowPage(int index) {
  if (!sheet_ || !::IsWindow(sheet_->m_hWnd) || index < 0 || index >= kSettingsPageCount) return FALSE;
  return sheet_->SetActivePage(index);
}

void ExchangeRecordToPages(const ProjectSettings& record, CBasicGeneralPg* view, int flag) {
  if (!view) return;
  for (SettingsPageExchange* page : view->SettingsPages()) page->RecordToPage(record, flag);
}

void ExchangePagesToRecord(ProjectSettings& record, CBasicGeneralPg* view) {
  if (!view) return;
  for (SettingsPageExchange* page : view->SettingsPages()) page->PageToRecord(&record);
}
