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
    if (host->GeneralPageHasWindow()) SetModifiedFlag(TRUE);
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
  SetModifiedFlag(TRUE);
  return kProjectFileReadable;
}

void CKorvaneBrennicorDoc::TakePath(LPCSTR path) {
  SetPathName(path, FALSE);
  SetTitle(path);
}

BOOL CKorvaneBrennicorDoc::OnOpenDocument(LPCSTR lpszPathName) { return Load(lpszPathName) == kProjectFileReadable; }

BOOL CKorvaneBrennicorDoc::OpenByPath(LPCSTR path) {
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
  return SaveProjectFile(host->Record(), lpszPathName);
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
