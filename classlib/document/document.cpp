#include "classlib/document/document.h"

#include "classlib/archive.h"
#include "classlib/document/doctemplate.h"
#include "classlib/exception.h"
#include "classlib/file.h"
#include "classlib/filedialog.h"
#include "classlib/view/view.h"
#include "classlib/winapp.h"

IMPLEMENT_DYNAMIC(CDocument, CCmdTarget)

BEGIN_MESSAGE_MAP(CDocument, CCmdTarget)
  ON_COMMAND(ID_FILE_CLOSE, OnFileClose)
  ON_COMMAND(ID_FILE_SAVE, OnFileSave)
  ON_COMMAND(ID_FILE_SAVE_AS, OnFileSaveAs)
END_MESSAGE_MAP()

CDocument::CDocument() = default;

CDocument::~CDocument() {
  // Views outliving their document must not reach back into it.
  for (POSITION pos = m_viewList.GetHeadPosition(); pos;) GetNextView(pos)->m_pDocument = nullptr;
  if (m_pDocTemplate) m_pDocTemplate->RemoveDocument(this);
}

void CDocument::SetTitle(LPCSTR lpszTitle) {
  m_strTitle = lpszTitle;
  UpdateFrameCounts();
}

void CDocument::SetPathName(LPCSTR lpszPathName, BOOL bAddToMRU) {
  char full[MAX_PATH];
  LPSTR filePart = nullptr;
  DWORD n = ::GetFullPathNameA(lpszPathName, MAX_PATH, full, &filePart);
  m_strPathName = n > 0 && n < MAX_PATH ? full : lpszPathName;
  char title[MAX_PATH];
  if (AfxGetFileTitle(m_strPathName, title, MAX_PATH) == 0) SetTitle(title);
  if (bAddToMRU)
    if (CWinApp* pApp = AfxGetApp()) pApp->AddToRecentFileList(m_strPathName);
}

// ---- views

void CDocument::AddView(CView* pView) {
  m_viewList.AddTail(pView);
  pView->m_pDocument = this;
  OnChangedViewList();
}

void CDocument::RemoveView(CView* pView) {
  POSITION pos = m_viewList.Find(pView);
  if (!pos) return;
  m_viewList.RemoveAt(pos);
  pView->m_pDocument = nullptr;
  OnChangedViewList();
}

// The last view going takes an auto-deleting document with it.
void CDocument::OnChangedViewList() {
  if (m_viewList.IsEmpty() && m_bAutoDelete) {
    OnCloseDocument();
    return;
  }
  UpdateFrameCounts();
}

BOOL CDocument::IsViewedOutside(CFrameWnd* pFrame) const {
  for (POSITION pos = GetFirstViewPosition(); pos;) {
    CView* pView = GetNextView(pos);
    if (pView->GetParentFrame() != pFrame) return TRUE;
  }
  return FALSE;
}

void CDocument::UpdateAllViews(CView* pSender, LPARAM lHint, CObject* pHint) {
  for (POSITION pos = GetFirstViewPosition(); pos;) {
    CView* pView = GetNextView(pos);
    if (pView != pSender) pView->OnUpdate(pSender, lHint, pHint);
  }
}

// Frames showing the document number themselves ":1", ":2" when there are
// several, and show the title again.
void CDocument::UpdateFrameCounts() {
  std::vector<CFrameWnd*> frames;
  for (POSITION pos = GetFirstViewPosition(); pos;) {
    CFrameWnd* pFrame = GetNextView(pos)->GetParentFrame();
    if (!pFrame) continue;
    bool seen = false;
    for (CFrameWnd* f : frames) seen = seen || f == pFrame;
    if (!seen) frames.push_back(pFrame);
  }
  int number = frames.size() > 1 ? 1 : -1;
  for (CFrameWnd* pFrame : frames) {
    pFrame->m_nWindow = number > 0 ? number++ : -1;
    pFrame->OnUpdateFrameTitle(TRUE);
  }
}

// ---- life cycle

BOOL CDocument::OnNewDocument() {
  DeleteContents();
  m_strPathName.Empty();
  SetModifiedFlag(FALSE);
  return TRUE;
}

BOOL CDocument::OnOpenDocument(LPCSTR lpszPathName) {
  CFile file;
  if (!file.Open(lpszPathName, CFile::modeRead | CFile::shareDenyWrite)) return FALSE;
  DeleteContents();
  try {
    CArchive ar(&file, CArchive::load | CArchive::bNoFlushOnDelete);
    Serialize(ar);
    ar.Close();
  } catch (CException* e) {
    e->Delete();
    return FALSE;
  }
  SetModifiedFlag(FALSE);
  return TRUE;
}

// Writes a file beside the target first, so a failed save leaves the old file whole.
BOOL CDocument::OnSaveDocument(LPCSTR lpszPathName) {
  CString temporary = CString(lpszPathName) + ".saving";
  CFile file;
  if (!file.Open(temporary, CFile::modeCreate | CFile::modeWrite | CFile::shareExclusive)) return FALSE;
  try {
    CArchive ar(&file, CArchive::store | CArchive::bNoFlushOnDelete);
    Serialize(ar);
    ar.Close();
    file.Close();
  } catch (CException* e) {
    e->Delete();
    file.Abort();
    ::DeleteFileA(temporary);
    return FALSE;
  }
  if (!::MoveFileExA(temporary, lpszPathName, MOVEFILE_REPLACE_EXISTING)) {
    ::DeleteFileA(temporary);
    return FALSE;
  }
  SetModifiedFlag(FALSE);
  return TRUE;
}

void CDocument::OnCloseDocument() {
  // Destroying the frames destroys the views; the document must outlive that.
  BOOL bAutoDelete = m_bAutoDelete;
  m_bAutoDelete = FALSE;
  while (!m_viewList.IsEmpty()) {
    CView* pView = static_cast<CView*>(m_viewList.GetHead());
    CFrameWnd* pFrame = pView->GetParentFrame();
    if (pFrame) {
      PreCloseFrame(pFrame);
      pFrame->DestroyWindow();
    }
    // A view without a frame, or one the frame kept, leaves the list here.
    if (!m_viewList.IsEmpty() && m_viewList.GetHead() == pView) RemoveView(pView);
  }
  m_bAutoDelete = bAutoDelete;
  DeleteContents();
  if (m_bAutoDelete) delete this;
}

BOOL CDocument::CanCloseFrame(CFrameWnd* pFrame) { return IsViewedOutside(pFrame) || SaveModified(); }

BOOL CDocument::SaveModified() {
  if (!IsModified()) return TRUE;
  CString name = m_strPathName;
  if (name.IsEmpty()) name = m_strTitle;
  if (name.IsEmpty()) name.LoadString(AFX_IDS_UNTITLED);
  CString prompt;
  AfxFormatString1(prompt, AFX_IDP_ASK_TO_SAVE, name);
  switch (AfxMessageBox(prompt, MB_YESNOCANCEL, AFX_IDP_ASK_TO_SAVE)) {
    case IDCANCEL: return FALSE;
    case IDYES: return DoFileSave();
    default: return TRUE;
  }
}

BOOL CDocument::DoFileSave() {
  DWORD attributes = m_strPathName.IsEmpty() ? INVALID_FILE_ATTRIBUTES : ::GetFileAttributesA(m_strPathName);
  // Missing or read-only: ask for a name rather than fail.
  if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_READONLY)) return DoSave(nullptr);
  return DoSave(m_strPathName);
}

BOOL CDocument::DoSave(LPCSTR lpszPathName, BOOL bReplace) {
  CString newName = lpszPathName ? lpszPathName : "";
  if (newName.IsEmpty()) {
    newName = m_strPathName;
    if (bReplace && newName.IsEmpty()) {
      newName = m_strTitle;
      int bad = newName.FindOneOf(":/\\");
      if (bad >= 0) newName = newName.Left(bad);
      CString ext;
      if (m_pDocTemplate && m_pDocTemplate->GetDocString(ext, CDocTemplate::filterExt) && !ext.IsEmpty())
        newName += ext;
    }
    CWinApp* pApp = AfxGetApp();
    if (!pApp || !pApp->DoPromptFileName(newName, AFX_IDS_SAVEFILE, OFN_HIDEREADONLY | OFN_PATHMUSTEXIST, FALSE,
                                         m_pDocTemplate))
      return FALSE;
  }
  CWaitCursor wait;
  if (!OnSaveDocument(newName)) {
    CString message;
    AfxFormatString1(message, AFX_IDP_FAILED_TO_SAVE_DOC, newName);
    AfxMessageBox(message, MB_OK | MB_ICONEXCLAMATION, AFX_IDP_FAILED_TO_SAVE_DOC);
    return FALSE;
  }
  if (bReplace) SetPathName(newName);
  return TRUE;
}

void CDocument::OnFileClose() {
  if (!SaveModified()) return;
  OnCloseDocument();
}

void CDocument::OnFileSave() { DoFileSave(); }

void CDocument::OnFileSaveAs() { DoSave(nullptr); }

BOOL CDocument::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) {
  if (CCmdTarget::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo)) return TRUE;
  return m_pDocTemplate && m_pDocTemplate->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}
