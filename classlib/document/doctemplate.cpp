#include "classlib/document/doctemplate.h"

#include "classlib/view/view.h"
#include "classlib/winapp.h"

IMPLEMENT_DYNAMIC(CDocTemplate, CCmdTarget)
IMPLEMENT_DYNAMIC(CSingleDocTemplate, CDocTemplate)

CDocTemplate::CDocTemplate(UINT nIDResource, CRuntimeClass* pDocClass, CRuntimeClass* pFrameClass,
                           CRuntimeClass* pViewClass)
    : m_nIDResource(nIDResource), m_pDocClass(pDocClass), m_pFrameClass(pFrameClass), m_pViewClass(pViewClass) {
  LoadTemplate();
}

CDocTemplate::~CDocTemplate() = default;

void CDocTemplate::LoadTemplate() {
  if (m_strDocStrings.IsEmpty()) m_strDocStrings.LoadString(m_nIDResource);
}

BOOL CDocTemplate::GetDocString(CString& rString, DocStringIndex index) const {
  return AfxExtractSubString(rString, m_strDocStrings, static_cast<int>(index));
}

CDocument* CDocTemplate::CreateNewDocument() {
  CObject* pObject = m_pDocClass ? m_pDocClass->CreateObject() : nullptr;
  if (!pObject || !pObject->IsKindOf(RUNTIME_CLASS(CDocument))) {
    delete pObject;
    return nullptr;
  }
  CDocument* pDocument = static_cast<CDocument*>(pObject);
  AddDocument(pDocument);
  return pDocument;
}

CFrameWnd* CDocTemplate::CreateNewFrame(CDocument* pDoc, CFrameWnd* pOther) {
  CCreateContext context;
  context.m_pCurrentFrame = pOther;
  context.m_pCurrentDoc = pDoc;
  context.m_pNewViewClass = m_pViewClass;
  context.m_pNewDocTemplate = this;
  CObject* pObject = m_pFrameClass ? m_pFrameClass->CreateObject() : nullptr;
  if (!pObject || !pObject->IsKindOf(RUNTIME_CLASS(CFrameWnd))) {
    delete pObject;
    return nullptr;
  }
  CFrameWnd* pFrame = static_cast<CFrameWnd*>(pObject);
  // A frame that fails is deleted by its own clean-up.
  if (!pFrame->LoadFrame(m_nIDResource, WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE, nullptr, &context)) return nullptr;
  return pFrame;
}

void CDocTemplate::InitialUpdateFrame(CFrameWnd* pFrame, CDocument* pDoc, BOOL bMakeVisible) {
  pFrame->InitialUpdateFrame(pDoc, bMakeVisible);
}

void CDocTemplate::AddDocument(CDocument* pDoc) { pDoc->m_pDocTemplate = this; }

void CDocTemplate::RemoveDocument(CDocument* pDoc) { pDoc->m_pDocTemplate = nullptr; }

BOOL CDocTemplate::SaveAllModified() {
  for (POSITION pos = GetFirstDocPosition(); pos;)
    if (!GetNextDoc(pos)->SaveModified()) return FALSE;
  return TRUE;
}

void CDocTemplate::CloseAllDocuments(BOOL) {
  for (POSITION pos = GetFirstDocPosition(); pos;) {
    CDocument* pDoc = GetNextDoc(pos);
    pDoc->OnCloseDocument();
    pos = GetFirstDocPosition();
  }
}

// ---- one document

CSingleDocTemplate::CSingleDocTemplate(UINT nIDResource, CRuntimeClass* pDocClass, CRuntimeClass* pFrameClass,
                                       CRuntimeClass* pViewClass)
    : CDocTemplate(nIDResource, pDocClass, pFrameClass, pViewClass) {}

CSingleDocTemplate::~CSingleDocTemplate() {
  if (m_pOnlyDoc) CDocTemplate::RemoveDocument(m_pOnlyDoc);
}

void CSingleDocTemplate::AddDocument(CDocument* pDoc) {
  CDocTemplate::AddDocument(pDoc);
  m_pOnlyDoc = pDoc;
}

void CSingleDocTemplate::RemoveDocument(CDocument* pDoc) {
  CDocTemplate::RemoveDocument(pDoc);
  if (m_pOnlyDoc == pDoc) m_pOnlyDoc = nullptr;
}

POSITION CSingleDocTemplate::GetFirstDocPosition() const {
  return m_pOnlyDoc ? reinterpret_cast<POSITION>(static_cast<INT_PTR>(1)) : nullptr;
}

CDocument* CSingleDocTemplate::GetNextDoc(POSITION& rPos) const {
  rPos = nullptr;
  return m_pOnlyDoc;
}

// "Untitled" unless the template names its documents.
void CSingleDocTemplate::SetDefaultTitle(CDocument* pDocument) {
  CString name;
  if (!GetDocString(name, docName) || name.IsEmpty()) name.LoadString(AFX_IDS_UNTITLED);
  pDocument->SetTitle(name);
}

BOOL CSingleDocTemplate::OpenInto(CDocument* pDocument, LPCSTR lpszPathName) {
  BOOL bWasModified = pDocument->IsModified();
  pDocument->SetModifiedFlag(FALSE);
  CWaitCursor wait;
  if (pDocument->OnOpenDocument(lpszPathName)) {
    pDocument->SetPathName(lpszPathName);
    return TRUE;
  }
  // Nothing of the document's path, title or the recent files changes.
  pDocument->SetModifiedFlag(bWasModified);
  CString message;
  AfxFormatString1(message, AFX_IDP_FAILED_TO_OPEN_DOC, lpszPathName);
  AfxMessageBox(message, MB_OK | MB_ICONEXCLAMATION, AFX_IDP_FAILED_TO_OPEN_DOC);
  return FALSE;
}

// The document and frame are made first; the main window is set only after
// the document's first OnNewDocument or OnOpenDocument.
CDocument* CSingleDocTemplate::OpenDocumentFile(LPCSTR lpszPathName, BOOL bMakeVisible) {
  CDocument* pDocument = m_pOnlyDoc;
  CFrameWnd* pFrame = nullptr;
  BOOL bCreated = FALSE;
  if (pDocument) {
    if (!pDocument->SaveModified()) return nullptr;
    CWnd* pMain = AfxGetMainWnd();
    if (pMain && pMain->IsKindOf(RUNTIME_CLASS(CFrameWnd))) pFrame = static_cast<CFrameWnd*>(pMain);
  } else {
    pDocument = CreateNewDocument();
    if (!pDocument) {
      AfxMessageBox(AFX_IDP_FAILED_TO_CREATE_DOC);
      return nullptr;
    }
    bCreated = TRUE;
  }
  if (!pFrame) {
    // The frame's views join the document; without any, it stays ours to delete.
    pFrame = CreateNewFrame(pDocument, nullptr);
    if (!pFrame) {
      AfxMessageBox(AFX_IDP_FAILED_TO_CREATE_DOC);
      if (bCreated && m_pOnlyDoc == pDocument && !pDocument->GetFirstViewPosition()) delete pDocument;
      return nullptr;
    }
  }
  BOOL ok;
  if (!lpszPathName) {
    SetDefaultTitle(pDocument);
    ok = pDocument->OnNewDocument();
  } else {
    ok = OpenInto(pDocument, lpszPathName);
  }
  if (!ok) {
    if (bCreated) pFrame->DestroyWindow();
    return nullptr;
  }
  CWinThread* pThread = AfxGetThread();
  if (bCreated && pThread && !pThread->m_pMainWnd) pThread->m_pMainWnd = pFrame;
  InitialUpdateFrame(pFrame, pDocument, bMakeVisible);
  return pDocument;
}
