// The project document: connects the frame's project record to New, Open,
// Save and Save As. A project is loaded into a scratch record first, so a
// file that cannot be read leaves the open project, its title and its path
// as they were; a failed Save As is reported and keeps both. A project has
// changes to save when the pages differ from it as it was last opened or
// saved, and every road that replaces it asks first.
#pragma once
#include "ProjectSettings.h"
#include "classlib/document/document.h"

class ProjectHost;

class CKorvaneBrennicorDoc : public CDocument {
  DECLARE_DYNCREATE(CKorvaneBrennicorDoc)
  DECLARE_MESSAGE_MAP()
 public:
  CKorvaneBrennicorDoc();
  ~CKorvaneBrennicorDoc() override;

  void SetTitle(LPCSTR lpszTitle) override;
  BOOL IsModified() override;
  void SetModifiedFlag(BOOL bModified = TRUE) override { modified_ = bModified; }
  BOOL OnNewDocument() override;
  // The recent-file list and the command line: the class library reports a failure.
  BOOL OnOpenDocument(LPCSTR lpszPathName) override;
  BOOL OnSaveDocument(LPCSTR lpszPathName) override;

  // The start page's open: asks whether to save the open project's changes,
  // reports a file it cannot load and keeps the open project.
  BOOL OpenByPath(LPCSTR path);
  // The pages as they are now count as the project on disk: nothing to save.
  void TakePagesAsSaved();

 protected:
  afx_msg void OnFileOpen();
  afx_msg void OnFileSaveAs();

 private:
  // 0 loaded and shown in the pages; else the builder string saying why not.
  int Load(LPCSTR path);
  void TakePath(LPCSTR path);
  bool PagesDifferFromSaved();

  BOOL modified_ = TRUE;
  ProjectSettings saved_;
};
