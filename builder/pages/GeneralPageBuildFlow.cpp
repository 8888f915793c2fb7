// The General page's Build flow and Test command: the pages into the
// project record, the questions, then the Build page's build (which reads
// its own copy of the record, so nothing done while it runs changes what
// is being built).
#include "BasicGeneralPg.h"
#include "BuildSFXPage.h"
#include "GeneralPropertyPageSFX.h"
#include "MyResizePropSheet.h"
#include "OutputLocation.h"
#include "PasswordProtectionPage.h"
#include "PlaceholderText.h"
#include "SelfExtractorFormat.h"
#include "app/BuilderGlobals.h"
#include "app/ProjectHost.h"
#include "builder_resource.h"
#include "dialogs/WarnMessageBoxOnOff.h"
#include "toolkit/common/SettingsStore.h"

namespace {

constexpr char kOverwriteValue[] = "OverWriteBrennicorOutputFile";
constexpr char kAesValue[] = "WarningSHouldUSeAESStrongEncryption";

CString StringOf(UINT id) {
  CString text;
  text.LoadString(id);
  return text;
}

// "Output file 'a.exe' already exists in folder 'C:\out\'", or in the
// current folder when the path names none.
CString OverwriteQuestion(const CString& output) {
  const std::string name = CMyFileUtility::GetFileNamePart(output, 1);
  std::string folder = CMyFileUtility::GetFolderOfPath(output, 1);
  if (folder.empty()) folder = CMyFileUtility::GetDriveOfPath(output);
  if (folder.empty()) return FillPlaceholders(static_cast<LPCSTR>(StringOf(IDS_OUTPUT_EXISTS_HERE)), {name}).c_str();
  return FillPlaceholders(static_cast<LPCSTR>(StringOf(IDS_OUTPUT_EXISTS_IN_FOLDER)), {name, folder}).c_str();
}

// The texts a built program carries, each only as long as its line takes.
struct TextLimit {
  std::string ProjectSettings::*text;
  size_t limit;
  UINT question;
};
const TextLimit kTextLimits[] = {
    {&ProjectSettings::aboutText, kAboutTextLimit, IDS_ABOUT_TEXT_TOO_LONG},
    {&ProjectSettings::customMessage, kCustomMessageLimit, IDS_MESSAGE_TEXT_TOO_LONG},
};

}  // namespace

int CGeneralPropertyPageSFX::IsBuildPossible() {
  ProjectHost* host = Builder().projectHost;
  CBasicGeneralPg* view = SettingsView();
  if (!host || !view) return 0;
  ExchangePagesToRecord(host->Record(), view);
  const ProjectSettings& record = host->Record();
  return !record.sourceArchive.empty() && !record.outputName.empty();
}

int CGeneralPropertyPageSFX::BuildSelfExtractor() {
  ProjectHost* host = Builder().projectHost;
  CBasicGeneralPg* view = SettingsView();
  if (!host || !view || Builder().buildRunning) return 0;
  ExchangePagesToRecord(host->Record(), view);
  const ProjectSettings& record = host->Record();
  if (record.sourceArchive.empty() || record.outputName.empty()) return 0;
  if (!OutputLocationAccepted(record.outputName) || !TextsWithinLimitsOrCut(record)) return 0;
  const CString output = record.outputName.c_str();
  if (CMyFileUtility::FileExists(output) && !ConfirmOverwrite(output)) return 0;
  if (record.passwordProtection && !PasswordsAccepted(view)) return 0;
  return StartBuild();
}

// Said before any question or work; a missing folder may be made at once.
bool CGeneralPropertyPageSFX::OutputLocationAccepted(const std::string& output) {
  const OutputLocation location = CheckOutputLocation(output);
  if (location.problem == OutputLocationProblem::kNone) return true;
  const std::string said = OutputLocationText(location);
  if (location.problem != OutputLocationProblem::kFolderMissing) {
    AfxMessageBox(said.c_str(), MB_OK | MB_ICONERROR);
    return false;
  }
  const std::string question = said + "\n" + static_cast<LPCSTR>(StringOf(IDS_CREATE_OUTPUT_FOLDER));
  if (AfxMessageBox(question.c_str(), MB_YESNO | MB_ICONQUESTION) != IDYES) return false;
  if (CreateFolderPath(location.where)) return true;
  AfxMessageBox(FillPlaceholders(static_cast<LPCSTR>(StringOf(IDS_OUTPUT_FOLDER_NOT_CREATED)), {location.where}).c_str(),
                MB_OK | MB_ICONERROR);
  return false;
}

// A text longer than a built program carries would be cut without a word:
// the user says whether to build it cut. No builds nothing.
bool CGeneralPropertyPageSFX::TextsWithinLimitsOrCut(const ProjectSettings& record) {
  for (const TextLimit& text : kTextLimits) {
    const size_t length = (record.*text.text).size();
    if (length <= text.limit) continue;
    const std::string question = FillPlaceholders(static_cast<LPCSTR>(StringOf(text.question)),
                                                  {std::to_string(length), std::to_string(text.limit)});
    if (AfxMessageBox(question.c_str(), MB_YESNO | MB_ICONWARNING | MB_DEFBUTTON2) != IDYES) return false;
  }
  return true;
}

bool CGeneralPropertyPageSFX::ConfirmOverwrite(const CString& output) {
  CWarnMessageBoxOnOff box(StringOf(IDS_WARNING), OverwriteQuestion(output), kOverwriteValue, this, nullptr, TRUE);
  return box.DoModal() == IDOK;
}

// The Password page's check; when the user turns protection off there, the
// page is collected again so the build follows what the page now shows.
bool CGeneralPropertyPageSFX::PasswordsAccepted(CBasicGeneralPg* view) {
  CPasswordProtectionPage* passwords = view->passwordPage();
  if (!passwords) return true;
  if (!passwords->ValidatePasswords(view->sheet())) return false;
  passwords->PageToRecord(&Builder().projectHost->Record());
  return true;
}

// An unprotected build first suggests protection; Yes goes to the Password
// page instead of building, and only No builds. A remembered answer means
// the user has seen the advice and chose to build without it.
int CGeneralPropertyPageSFX::StartBuild() {
  ProjectHost* host = Builder().projectHost;
  CBasicGeneralPg* view = SettingsView();
  if (!host || !view || !view->buildPage() || Builder().buildRunning) return 0;
  if (!host->Record().passwordProtection && !CXTSettingsStore().ReadInt(kWarningAnswersSection, kAesValue, 0)) {
    CWarnMessageBoxOnOff box(IDS_WARNING, IDS_USE_AES, kAesValue, this, nullptr, TRUE);
    const INT_PTR answer = box.DoModal();
    if (answer == IDOK) view->ShowPage(kPasswordPageIndex);
    if (answer != IDNO) return 0;
  }
  view->ShowPage(kBuildPageIndex);
  return view->buildPage()->RunBuild(&host->Record());
}

void CGeneralPropertyPageSFX::OnBuild() { BuildSelfExtractor(); }

// Builds first when the program is not there, through the whole flow with
// its questions; then starts it.
void CGeneralPropertyPageSFX::OnTestProgram() {
  const CString output = windowCreated_ ? ComboText(outputCombo_) : output_;
  if (!CMyFileUtility::FileExists(output) && !BuildSelfExtractor()) return;
  launch_(output);
}

CBasicGeneralPg* CGeneralPropertyPageSFX::SettingsView() const {
  if (!m_hWnd) return nullptr;
  CWnd* sheet = GetParent();
  CWnd* view = sheet ? sheet->GetParent() : nullptr;
  return view && view->IsKindOf(RUNTIME_CLASS(CBasicGeneralPg)) ? static_cast<CBasicGeneralPg*>(view) : nullptr;
}
