// The start page, left of the settings: a welcome line, four action links,
// the recent projects that still exist and three help links, on a painted
// page that drags the main window when pressed outside its links.
#pragma once
#include "MyHyperLinkText.h"
#include "classlib/gdiobject.h"
#include "classlib/view/view.h"

class CStartUpIconsView : public CView {
  DECLARE_DYNCREATE(CStartUpIconsView)
  DECLARE_MESSAGE_MAP()
 public:
  enum { kRecentLinks = 10 };

  CStartUpIconsView();
  ~CStartUpIconsView() override;

  void OnInitialUpdate() override;
  void OnDraw(CDC* pDC) override;

 protected:
  afx_msg BOOL OnEraseBkgnd(CDC* pDC);
  afx_msg void OnLButtonDown(UINT nFlags, CPoint point);

 private:
  struct Link;
  void CreateLinks();
  void LoadBitmaps();
  void ShowLinksOnce();
  void DrawBitmap(CDC* pDC, int index, int x, int y);
  void DrawHeading(CDC* pDC, int x, int y, LPCSTR text);
  // The rows' top below the recent heading's: one row per listed project.
  int PlaceRecentLinks(CDC* pDC);
  void PlaceHelpLinks(CDC* pDC, int recentRows);

  CFont headingFont_;
  BOOL linksShown_ = FALSE;
  CMyHyperLinkText openLink_, newLink_, resetLink_, aboutLink_, faqLink_, howToLink_, helpLink_;
  CMyHyperLinkText recentLinks_[kRecentLinks];
  HBITMAP bitmaps_[5] = {};
};
