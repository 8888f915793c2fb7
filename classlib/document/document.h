// Documents: the data a template opens, saves and shows in its views.
//
// Save (57603) and Save As (57604) arrive through the active view. A save
// without a path asks for one; a failing OnSaveDocument is reported. The
// template calls OnOpenDocument virtually on every open route, and a failed
// open leaves the path, the title and the recent-file list as they were.
#pragma once

#include "classlib/cmdtarget.h"
#include "classlib/cstring.h"
#include "classlib/list.h"

class CDocTemplate;
class CFrameWnd;
class CWnd;
class COleClientItem;
class CView;

class CDocument : public CCmdTarget {
  DECLARE_DYNAMIC(CDocument)
  DECLARE_MESSAGE_MAP()
 public:
  CDocument();
  ~CDocument() override;

  const CString& GetTitle() const { return m_strTitle; }
  virtual void SetTitle(LPCSTR lpszTitle);
  const CString& GetPathName() const { return m_strPathName; }
  // Stores the full path, titles the document by the file's name and, with
  // bAddToMRU, puts the path at the top of the recent-file list.
  virtual void SetPathName(LPCSTR lpszPathName, BOOL bAddToMRU = TRUE);
  CDocTemplate* GetDocTemplate() const { return m_pDocTemplate; }
  virtual BOOL IsModified() { return m_bModified; }
  virtual void SetModifiedFlag(BOOL bModified = TRUE) { m_bModified = bModified; }

  // ---- views
  void AddView(CView* pView);
  void RemoveView(CView* pView);
  POSITION GetFirstViewPosition() const { return m_viewList.GetHeadPosition(); }
  CView* GetNextView(POSITION& rPosition) const { return static_cast<CView*>(m_viewList.GetNext(rPosition)); }
  // Whether a view of this document lives in a frame other than pFrame.
  BOOL IsViewedOutside(CFrameWnd* pFrame) const;
  void UpdateAllViews(CView* pSender, LPARAM lHint = 0, CObject* pHint = nullptr);
  virtual void UpdateFrameCounts();

  // ---- life cycle
  virtual BOOL OnNewDocument();
  // Reads the file through Serialize; FALSE when it cannot.
  virtual BOOL OnOpenDocument(LPCSTR lpszPathName);
  virtual BOOL OnSaveDocument(LPCSTR lpszPathName);
  virtual void OnCloseDocument();
  virtual void DeleteContents() {}
  // Asks "Save changes to %1?" of a modified document; FALSE on Cancel or a failed save.
  virtual BOOL SaveModified();
  virtual BOOL CanCloseFrame(CFrameWnd* pFrame);
  virtual void PreCloseFrame(CFrameWnd* pFrame) {}
  // Saves under the path, or asks for one when there is none or the file is read-only.
  virtual BOOL DoFileSave();
  // With no path, asks for one; reports a failing OnSaveDocument.
  virtual BOOL DoSave(LPCSTR lpszPathName, BOOL bReplace = TRUE);

  BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;
  // Nothing is ever active in place here (no object embedding is built).
  COleClientItem* GetInPlaceActiveItem(CWnd*) { return nullptr; }

  BOOL m_bAutoDelete = TRUE;

 protected:
  afx_msg void OnFileClose();
  afx_msg void OnFileSave();
  afx_msg void OnFileSaveAs();
  virtual void OnChangedViewList();

  CString m_strTitle;
  CString m_strPathName;
  CDocTemplate* m_pDocTemplate = nullptr;
  CPtrList m_viewList;
  BOOL m_bModified = FALSE;

  friend class CDocTemplate;
};
