#include "StartUpIconsView.h"

#include <algorithm>


#include "MyFileUtility.h"
#include "StartPageLinks.h"
#include "builder_resource.h"
#include "classlib/dc.h"
#include "classlib/document/recentfilelist.h"
#include "classlib/winapp.h"
#include "dialogs/TransparentBitmap.h"
#include "toolkit/common/ScreenScale.h"
#include "toolkit/common/SharedState.h"

IMPLEMENT_DYNCREATE(CStartUpIconsView, CView)

BEGIN_MESSAGE_MAP(CStartUpIconsView, CView)
  ON_WM_ERASEBKGND()
  ON_WM_LBUTTONDOWN()
END_MESSAGE_MAP()

namespace {

constexpr COLORREF kLinkBackground = RGB(213, 0, 213);
constexpr COLORREF kPageColour = RGB(221, 117, 255);
constexpr COLORREF kLinkColour = 0xFFFFFF;
constexpr COLORREF kHotLinkColour = 0xFFFF00;
constexpr int kRecentHeadingTop = 230;
constexpr int kLinkLeft = 70;
constexpr int kRecentLinkWidth = 250, kHelpLinkWidth = 150, kLinkHeight = 17;
constexpr int kShownPathCharacters = 35;

enum BitmapIndex { kBanner, kSettings, kArrow, kRecentBullet, kHelpBullet };
struct PageBitmap {
  UINT id;
  COLORREF transparent;
};
const PageBitmap kBitmaps[] = {
    {IDB_START_BANNER, kTransparentGreen},         {IDB_START_SETTINGS, kTransparentWhite},
    {IDB_LINK_ARROW, kTransparentWhite},           {IDB_RECENT_PROJECT_BULLET, kTransparentWhite},
    {IDB_HELP_BULLET, kTransparentGreen},
};

struct FixedBitmap {
  BitmapIndex bitmap;
  int x, y;
};
// The banner, the settings picture and an arrow beside each action link.
const FixedBitmap kFixedBitmaps[] = {
    {kBanner, 40, 74}, {kSettings, 40, 145}, {kArrow, 100, 89},
    {kArrow, 100, 108}, {kArrow, 100, 154}, {kArrow, 100, 173},
};

void StyleLink(CMyHyperLinkText& link, COLORREF background) {
  link.SetBackgroundColor(background);
  link.SetLinkColors(kLinkColour, kLinkColour, kHotLinkColour);
  link.SetFont(&GetSharedState().GetFont(CXTSharedState::kFontBold));
}

// The page is laid out in pixels at 96 DPI and scaled to the screen's text
// size. A static wraps a text wider than itself into a second line, which
// the link's height cuts off; in a font wider than the page was laid out
// for, the link grows to hold its text on one line instead.
void PlaceLink(CMyHyperLinkText& link, const CRect& at96Dpi) {
  CString text;
  link.GetWindowText(text);
  CClientDC dc(&link);
  CFont* old = dc.SelectObject(link.GetFont());
  const CSize extent = dc.GetTextExtent(text.IsEmpty() ? CString("Ag") : text);
  dc.SelectObject(old);
  const CRect place = ScaleToScreen(at96Dpi);
  link.MoveWindow(place.left, place.top, std::max<int>(place.Width(), extent.cx),
                  std::max<int>(place.Height(), extent.cy));
}

}  // namespace

struct CStartUpIconsView::Link {
  CMyHyperLinkText CStartUpIconsView::*link;
  const char* text;
  CRect rect;
  const char* target;  // null: the text
};

CStartUpIconsView::CStartUpIconsView() = default;

CStartUpIconsView::~CStartUpIconsView() {
  for (HBITMAP bitmap : bitmaps_)
    if (bitmap) ::DeleteObject(bitmap);
}

void CStartUpIconsView::OnInitialUpdate() {
  CView::OnInitialUpdate();
  if (CFrameWnd* frame = GetParentFrame()) frame->RecalcLayout();
  if (openLink_.m_hWnd) return;
  CreateLinks();
  LoadBitmaps();
  LOGFONTA heading = {};
  heading.lfHeight = ScaleToScreen(20);
  heading.lfWeight = FW_BOLD;
  heading.lfPitchAndFamily = 48;
  lstrcpyA(heading.lfFaceName, "Arial");
  headingFont_.CreateFontIndirect(&heading);
  ShowLinksOnce();
}

void CStartUpIconsView::CreateLinks() {
  static const Link kLinks[] = {
      {&CStartUpIconsView::openLink_, "Open Brennicor Project...", CRect(115, 88, 300, 102), nullptr},
      {&CStartUpIconsView::newLink_, "New Brennicor Project...", CRect(115, 107, 300, 126), nullptr},
      {&CStartUpIconsView::resetLink_, "Reset Warning Messages", CRect(115, 153, 300, 170), nullptr},
      {&CStartUpIconsView::aboutLink_, "About Korvane Brennicor v3.0", CRect(115, 172, 300, 188), nullptr},
      {&CStartUpIconsView::faqLink_, "Korvane Brennicor FAQ", CRect(70, 378, 220, 400), "faq.html"},
      {&CStartUpIconsView::howToLink_, "How To...", CRect(70, 403, 220, 430), "how_to.html"},
      {&CStartUpIconsView::helpLink_, "Korvane Brennicor Help", CRect(70, 433, 220, 450), "index.html"},
  };
  for (const Link& entry : kLinks) {
    CMyHyperLinkText& link = this->*entry.link;
    link.Create(entry.text, WS_CHILD | SS_NOTIFY, CRect(0, 0, 0, 0), this);
    link.SetLinkTarget(entry.target ? entry.target : entry.text);
    StyleLink(link, kLinkBackground);
    PlaceLink(link, entry.rect);
  }
  for (CMyHyperLinkText& link : recentLinks_) {
    link.Create("", WS_CHILD | SS_NOTIFY, CRect(0, 0, 0, 0), this);
    StyleLink(link, kLinkBackground);
  }
}

void CStartUpIconsView::LoadBitmaps() {
  for (size_t i = 0; i < sizeof kBitmaps / sizeof kBitmaps[0]; ++i)
    bitmaps_[i] = ::LoadBitmapA(AfxGetResourceHandle(), MAKEINTRESOURCEA(kBitmaps[i].id));
}

void CStartUpIconsView::ShowLinksOnce() {
  if (linksShown_) return;
  linksShown_ = TRUE;
  for (CMyHyperLinkText* link : {&openLink_, &newLink_, &resetLink_, &aboutLink_, &faqLink_, &howToLink_, &helpLink_})
    link->ShowWindow(SW_SHOW);
}

BOOL CStartUpIconsView::OnEraseBkgnd(CDC*) { return TRUE; }

void CStartUpIconsView::OnDraw(CDC* pDC) {
  ShowLinksOnce();
  CRect client;
  GetClientRect(&client);
  pDC->FillSolidRect(&client, kPageColour);
  for (const FixedBitmap& fixed : kFixedBitmaps)
    DrawBitmap(pDC, fixed.bitmap, ScaleToScreen(fixed.x), ScaleToScreen(fixed.y));
  DrawHeading(pDC, 15, 40, "Welcome To Korvane Brennicor!");
  DrawHeading(pDC, 15, kRecentHeadingTop, "Recent Brennicor Projects:");
  PlaceHelpLinks(pDC, PlaceRecentLinks(pDC));
}

void CStartUpIconsView::DrawBitmap(CDC* pDC, int index, int x, int y) {
  if (bitmaps_[index]) DrawTransparentBitmap(pDC->m_hDC, bitmaps_[index], x, y, kBitmaps[index].transparent);
}

void CStartUpIconsView::DrawHeading(CDC* pDC, int x, int y, LPCSTR text) {
  CFont* old = pDC->SelectObject(&headingFont_);
  pDC->SetTextColor(RGB(255, 255, 255));
  pDC->SetBkMode(TRANSPARENT);
  pDC->TextOut(ScaleToScreen(x), ScaleToScreen(y), text, lstrlenA(text));
  pDC->SelectObject(old);
}

int CStartUpIconsView::PlaceRecentLinks(CDC* pDC) {
  for (CMyHyperLinkText& link : recentLinks_) link.ShowWindow(SW_HIDE);
  CRecentFileList* recent = AfxGetApp()->m_pRecentFileList;
  int rows = 0;
  for (int i = 0; recent && i < recent->GetSize() && rows < kRecentLinks; ++i) {
    const CString path = (*recent)[i];
    if (path.IsEmpty() || !CMyFileUtility::FileExists(path)) continue;
    const int top = LayOutStartPage(rows + 1).recentBullets.back();
    DrawBitmap(pDC, kRecentBullet, ScaleToScreen(40), ScaleToScreen(top));
    CMyHyperLinkText& link = recentLinks_[rows++];
    link.SetWindowText(CMyFileUtility::AbbreviatePath(path, kShownPathCharacters, 0));
    StyleLink(link, kPageColour);
    PlaceLink(link, CRect(CPoint(kLinkLeft, top + 3), CSize(kRecentLinkWidth, kLinkHeight)));
    link.SetLinkTarget(path);
    link.ShowWindow(SW_SHOW);
  }
  return rows;
}

void CStartUpIconsView::PlaceHelpLinks(CDC* pDC, int recentRows) {
  const StartPageRows rows = LayOutStartPage(recentRows);
  DrawHeading(pDC, 15, rows.usefulLinksHeading, "Useful Links:");
  CMyHyperLinkText* links[] = {&faqLink_, &howToLink_, &helpLink_};
  for (int i = 0; i < 3; ++i) {
    DrawBitmap(pDC, kHelpBullet, ScaleToScreen(42), ScaleToScreen(rows.helpBullets[i]));
    PlaceLink(*links[i], CRect(CPoint(kLinkLeft, rows.helpLinks[i]), CSize(kHelpLinkWidth, kLinkHeight)));
  }
}

// Pressing the page outside its links drags the main window; the caption
// hit test takes screen coordinates.
void CStartUpIconsView::OnLButtonDown(UINT nFlags, CPoint point) {
  CView::OnLButtonDown(nFlags, point);
  CWnd* main = AfxGetMainWnd();
  if (!main) return;
  ClientToScreen(&point);
  main->PostMessage(WM_NCLBUTTONDOWN, HTCAPTION, MAKELPARAM(point.x, point.y));
}
