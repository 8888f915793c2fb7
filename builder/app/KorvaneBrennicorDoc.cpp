#include "KorvaneBrennicorDoc.h"

#include "BuilderGlobals.h"
#include "MyFileUtility.h"
#include "ProjectFile.h"
#include "ProjectHost.h"
#include "builder_resource.h"
#include "classlib/resource.h"
#include "classlib/winapp.h"
#include "dialogs/ProjectPrompts.h"

IMPLEMENT_DYNCREATE(CKorvaneBrennicorDoc, CDocument)

BEGIN_MESSAGE_MAP(CKorvaneBrennicorDoc, CDocument)
  ON_COMMAND(ID_FILE_OPEN, OnFileOpen)
  ON_COMMAND(ID_FILE_SAVE_AS, OnFileSaveAs)
END_MESSAGE_MAP()

namespace {

constexpr int kNoProjectRecord = -1;  // no frame to load into: nothing to say

// What a project file keeps of the record; the rest the build sets.
const std::string ProjectSettings::*const kSavedTexts[] = {
    &ProjectSettings::sourceArchive, &ProjectSettings::iconFile,      &ProjectSettings::outputName,
    &ProjectSettings::unzipToFolder, &ProjectSettings::aboutText,     &ProjectSettings::launchCommand,
    &ProjectSettings::customMessage, &ProjectSettings::password,
};
const int ProjectSettings::*const kSavedNumbers[] = {
    &ProjectSettings::overwrite,        &ProjectSettings::autoUnzip,    &ProjectSettings::recreateFolders,
    &ProjectSettings::listIndex,        &ProjectSettings::iconIndex,    &ProjectSettings::aesStrengthIndex,
    &ProjectSettings::maskPassword,     &ProjectSettings::passwordProtection, &ProjectSettings::levelListIndex,
    &ProjectSettings::deflate64,
};

bool SameSavedSettings(const ProjectSettings& a, const ProjectSettings& b) {
  for (auto text : kSavedTexts)
    if (a.*text != b.*text) return false;
  for (auto number : kSavedNumbers)
    if (a.*number != b.*number) return false;
  return true;
}

void ReportNotSaved(LPCSTR path) {
  CString text;
  text.LoadString(IDS_PROJECT_NOT_SAVED);
  const int at = text.Find("%s");
  if (at >= 0) text = text.Left(at) + path + text.Mid(at + 2);
  AfxMessageBox(text, MB_OK | MB_ICONERROR);
}

}  // namespace

CKorvaneBrennicorDoc::CKorvaneBrennicorDoc() { Builder().document = this; }

CKorvaneBrennicorDoc::~CKorvaneBrennicorDoc() {
  if (Builder().document == this) Builder().document = nullptr;
}

void CKorvaneBrennicorDoc::SetTitle(LPCSTR lpszTitle) {
  CString title = lpszTitle ? lpszTitle : "";
  if (*CMyFileUtility::GetDriveOfPath(title))
    title = CMyFileUtility::GetFileNamePart(title, 1);
  else if (title == "Untitled.ssf")
    title.LoadString(IDS_UNTITLED_PROJECT);
  CDocument::SetTitle(title);
}

BOOL CKorvaneBrennicorDoc::OnNewDocument() {
  if (!CDocument::OnNewDocument()) return FALSE;
  ProjectHost* host = Builder().projectHost;
  if (!host) return TRUE;
  if (host->HasSettingsView()) {
    ResetDefaults(host->Record());
    host->PushFreshRecordToPages();
    // Untouched, a new project has nothing to save.
    TakePagesAsSaved();
  }
  host->RepaintMainWindow();
  return TRUE;
}

int CKorvaneBrennicorDoc::Load(LPCSTR path) {
  ProjectHost* host = Builder().projectHost;
  if (!host) return kNoProjectRecord;
  ProjectSettings scratch;
  int message = kProjectFileReadable;
  if (LoadProjectFile(scratch, path, &message) != 0)
    return message == kProjectFileReadable ? kProjectFormatNotRecognized : message;
  host->Record() = scratch;
  if (host->HasSettingsView()) host->PushRecordToPages();
  TakePagesAsSaved();
  return kProjectFileReadable;
}

void CKorvaneBrennicorDoc::TakePath(LPCSTR path) {
  SetPathName(path, FALSE);
  SetTitle(path);
}

BOOL CKorvaneBrennicorDoc::OnOpenDocument(LPCSTR lpszPathName) { return Load(lpszPathName) == kProjectFileReadable; }

BOOL CKorvaneBrennicorDoc::OpenByPath(LPCSTR path) {
  if (!SaveModified()) return FALSE;
  const int result = Load(path);
  if (result != kProjectFileReadable) {
    if (result != kNoProjectRecord) AfxMessageBox(result, MB_OK | MB_ICONERROR);
    return FALSE;
  }
  TakePath(path);
  return TRUE;
}

void CKorvaneBrennicorDoc::OnFileOpen() {
  CString path;
  if (PromptOpenProject(&path)) OpenByPath(path);
}

BOOL CKorvaneBrennicorDoc::OnSaveDocument(LPCSTR lpszPathName) {
  ProjectHost* host = Builder().projectHost;
  if (!host || !host->HasSettingsView()) return FALSE;
  host->CollectPagesIntoRecord();
  if (!SaveProjectFile(host->Record(), lpszPathName)) return FALSE;
  TakePagesAsSaved();
  return TRUE;
}

BOOL CKorvaneBrennicorDoc::IsModified() { return modified_ || PagesDifferFromSaved(); }

void CKorvaneBrennicorDoc::TakePagesAsSaved() {
  modified_ = FALSE;
  ProjectHost* host = Builder().projectHost;
  if (!host || !host->HasSettingsView()) return;
  host->CollectPagesIntoRecord();
  saved_ = host->Record();
}

// The pages are collected into the record, which always follows them before it is used.
bool CKorvaneBrennicorDoc::PagesDifferFromSaved() {
  ProjectHost* host = Builder().projectHost;
  if (!host || !host->HasSettingsView()) return false;
  host->CollectPagesIntoRecord();
  return !SameSavedSettings(host->Record(), saved_);
}

void CKorvaneBrennicorDoc::OnFileSaveAs() {
  char path[260] = {};
  if (!PromptSaveProjectAs(Builder().mainWindow, path)) return;
  if (!OnSaveDocument(path)) {
    ReportNotSaved(path);
    return;
  }
  TakePath(path);
  if (Builder().projectHost) Builder().projectHost->RepaintMainWindow();
}
