// The anchor layout of resizable dialogs, pages and sheets, and the window
// placement they keep in the application profile.
#include <gtest/gtest.h>

#include "dialogs_test_resource.h"
#include "screenshot.h"
#include "toolkit/dialogs/ResizeDialog.h"
#include "toolkit/dialogs/ResizePropertyPage.h"
#include "toolkit/dialogs/ResizePropertySheet.h"

namespace {

const char kRegistryKey[] = "BrennicorToolkitDialogsTest";

class CTestApp : public CWinApp {
 public:
  CTestApp() : CWinApp("Dialogs") {}
};
CTestApp theApp;

// Each run starts from an empty key of its own.
void UseCleanRegistryKey() {
  static bool done = false;
  if (done) return;
  done = true;
  ::RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\BrennicorToolkitDialogsTest");
  theApp.SetRegistryKey(kRegistryKey);
}

// A modeless resizable dialog, destroyed with the test.
class CSizingDlg : public CXTResizeDialog {
 public:
  explicit CSizingDlg(UINT nTemplate = IDD_SIZING, UINT nFlags = 0) : CXTResizeDialog(nTemplate, nullptr, nFlags) {
    Create(nTemplate);
  }
  ~CSizingDlg() override {
    if (m_hWnd) DestroyWindow();
  }
  CRect ItemRect(UINT id) const {
    CRect rect;
    ::GetWindowRect(::GetDlgItem(m_hWnd, id), &rect);
    ScreenToClient(&rect);
    return rect;
  }
  CSize Size() const {
    CRect rect;
    GetWindowRect(&rect);
    return CSize(rect.Width(), rect.Height());
  }
  void Grow(int dx, int dy) {
    CSize size = Size();
    SetWindowPos(nullptr, 0, 0, size.cx + dx, size.cy + dy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
};

void ExpectMoved(const CRect& before, const CRect& after, int dl, int dt, int dr, int db, const char* what) {
  EXPECT_EQ(after.left - before.left, dl) << what;
  EXPECT_EQ(after.top - before.top, dt) << what;
  EXPECT_EQ(after.right - before.right, dr) << what;
  EXPECT_EQ(after.bottom - before.bottom, db) << what;
}

}  // namespace

TEST(ResizeLayout, ControlsFollowTheirAnchors) {
  struct Case {
    UINT id;
    CXTAnchorRect anchor;
    int dl, dt, dr, db;  // expected move of each edge for a growth of (30, 20)
    const char* why;
  } cases[] = {
      {IDC_FIXED, CXTAnchorRect(0, 0, 0, 0), 0, 0, 0, 0, "fixed"},
      {IDC_STRETCH, CXTAnchorRect(0, 0, 1, 1), 0, 0, 30, 20, "grows by the window's growth"},
      {IDC_CORNER, CXTAnchorRect(1, 1, 1, 1), 30, 20, 30, 20, "keeps its distance to the corner"},
      {IDC_HALF, CXTAnchorRect(CXTAnchorPoint(0.5f, 0), CXTAnchorPoint(0.5f, 0)), 15, 0, 15, 0, "half the growth"},
  };
  CSizingDlg dlg;
  CRect before[4];
  for (int i = 0; i < 4; ++i) {
    dlg.SetAnchor(cases[i].id, cases[i].anchor);
    before[i] = dlg.ItemRect(cases[i].id);
  }
  dlg.Grow(30, 20);
  for (int i = 0; i < 4; ++i) {
    const Case& c = cases[i];
    ExpectMoved(before[i], dlg.ItemRect(c.id), c.dl, c.dt, c.dr, c.db, c.why);
  }
}

TEST(ResizeLayout, HalfAnchorsAccumulateInFloats) {
  CSizingDlg dlg;
  dlg.SetAnchor(IDC_HALF, CXTAnchorRect(0.5f, 0, 0.5f, 0));
  CRect start = dlg.ItemRect(IDC_HALF);
  const int expected[] = {1, 3, 4, 6};  // 1.5, 3.0, 4.5, 6.0 truncated
  for (int offset : expected) {
    dlg.Grow(3, 0);
    CRect now = dlg.ItemRect(IDC_HALF);
    EXPECT_EQ(now.left - start.left, offset);
    EXPECT_EQ(now.Width(), start.Width());
  }
}

TEST(ResizeLayout, AnchoringTwiceSumsTheAnchors) {
  CSizingDlg dlg;
  dlg.SetAnchor(IDC_TWICE, CXTAnchorRect(0, 0, 1, 0));
  dlg.SetAnchor(IDC_TWICE, CXTAnchorRect(0, 0, 0, 1));
  CRect before = dlg.ItemRect(IDC_TWICE);
  int items = dlg.GetItemCount();
  dlg.Grow(10, 8);
  ExpectMoved(before, dlg.ItemRect(IDC_TWICE), 0, 0, 10, 8, "one item with (0,0,1,1)");
  EXPECT_EQ(dlg.GetItemCount(), items);
}

TEST(ResizeLayout, AnIdWithoutAControlIsRegisteredAndSkipped) {
  CSizingDlg dlg;
  int items = dlg.GetItemCount();
  dlg.SetAnchor(IDC_MISSING, CXTAnchorRect(1, 1, 1, 1));
  dlg.SetAnchor(IDC_CORNER, CXTAnchorRect(1, 1, 1, 1));
  ASSERT_EQ(dlg.GetItemCount(), items + 2);
  EXPECT_EQ(dlg.GetItem(items)->m_pControl, nullptr);
  CRect before = dlg.ItemRect(IDC_CORNER);
  dlg.Grow(12, 6);
  ExpectMoved(before, dlg.ItemRect(IDC_CORNER), 12, 6, 12, 6, "the control after the missing one");
}

namespace {
int g_defersLeft = 0;
HDWP WINAPI DeferThenFail(HDWP hdwp, HWND hWnd, HWND hAfter, int x, int y, int cx, int cy, UINT flags) {
  if (g_defersLeft-- <= 0) return nullptr;  // the real call frees the batch here; ours just drops it
  return ::DeferWindowPos(hdwp, hWnd, hAfter, x, y, cx, cy, flags);
}
}  // namespace

TEST(ResizeLayout, AFailedBatchStillMovesEveryControl) {
  CSizingDlg dlg;
  const UINT ids[] = {IDC_FIXED, IDC_STRETCH, IDC_CORNER, IDC_TWICE};
  CRect before[4];
  for (int i = 0; i < 4; ++i) {
    dlg.SetAnchor(ids[i], CXTAnchorRect(1, 0, 1, 0));
    before[i] = dlg.ItemRect(ids[i]);
  }
  g_defersLeft = 2;  // the grip and the first control are deferred, then the batch fails
  g_xtWindowPosApi.defer = &DeferThenFail;
  dlg.Grow(9, 0);
  g_xtWindowPosApi.defer = &::DeferWindowPos;
  for (int i = 0; i < 4; ++i) ExpectMoved(before[i], dlg.ItemRect(ids[i]), 9, 0, 9, 0, "moved despite the failure");
  dlg.Grow(5, 0);
  for (int i = 0; i < 4; ++i) ExpectMoved(before[i], dlg.ItemRect(ids[i]), 14, 0, 14, 0, "and on the next pass");
}

TEST(ResizeLayout, TrackingSizesFollowTheFlags) {
  struct Case {
    UINT flags;
    int grownX, grownY;    // what a growth of (20, 10) gives
    int shrunkX, shrunkY;  // what a shrinking by (40, 30) below the template gives
  } cases[] = {
      {0, 20, 10, 0, 0},
      {XT_RESIZE_NOMINSIZE, 20, 10, -40, -30},
      {XT_RESIZE_NOHGROW, 0, 10, 0, 0},
      {XT_RESIZE_NOVGROW, 20, 0, 0, 0},
  };
  for (const Case& c : cases) {
    CSizingDlg dlg(IDD_SIZING, c.flags);
    CSize initial = dlg.Size();
    dlg.Grow(20, 10);
    EXPECT_EQ(dlg.Size(), CSize(initial.cx + c.grownX, initial.cy + c.grownY)) << c.flags;
    CSize grown = dlg.Size();
    dlg.Grow(initial.cx - 40 - grown.cx, initial.cy - 30 - grown.cy);
    EXPECT_EQ(dlg.Size(), CSize(initial.cx + c.shrunkX, initial.cy + c.shrunkY)) << c.flags;
  }
}

TEST(ResizeLayout, GripOnlyWithASizingBorder) {
  CSizingDlg sizing;
  HWND grip = ::GetDlgItem(sizing.m_hWnd, XT_IDC_SIZEGRIP);
  ASSERT_TRUE(grip);
  CRect client, rect;
  sizing.GetClientRect(&client);
  ::GetWindowRect(grip, &rect);
  sizing.ScreenToClient(&rect);
  EXPECT_EQ(rect.right, client.right);
  EXPECT_EQ(rect.bottom, client.bottom);
  sizing.Grow(7, 5);
  ::GetWindowRect(grip, &rect);
  sizing.ScreenToClient(&rect);
  sizing.GetClientRect(&client);
  EXPECT_EQ(rect.BottomRight(), client.BottomRight());

  CSizingDlg fixed(IDD_FIXED);
  EXPECT_FALSE(::GetDlgItem(fixed.m_hWnd, XT_IDC_SIZEGRIP));
  EXPECT_TRUE(fixed.GetFlags() & XT_RESIZE_NOGRIP);
  EXPECT_TRUE(sizing.GetStyle() & WS_CLIPCHILDREN);
}

TEST(ResizeLayout, ButtonKindsWithoutTabStopBecomeTransparent) {
  struct Case {
    UINT id;
    UINT flags;
    bool transparent;
    const char* why;
  } cases[] = {
      {IDC_CHECK_NOTAB, 0, true, "check box without a tab stop"},
      {IDC_GROUP, 0, true, "group box"},
      {IDC_CHECK_TAB, 0, false, "check box with a tab stop"},
      {IDC_PUSH, 0, false, "plain push button"},
      {IDC_FIXED, 0, false, "not a button"},
      {IDC_CHECK_NOTAB, XT_RESIZE_NOTRANSPARENT, false, "the layout asked for none"},
  };
  for (const Case& c : cases) {
    CSizingDlg dlg(IDD_SIZING, c.flags);
    dlg.SetAnchor(c.id, CXTAnchorRect(0, 0, 0, 0));
    bool transparent = (::GetWindowLongPtrA(::GetDlgItem(dlg.m_hWnd, c.id), GWL_EXSTYLE) & WS_EX_TRANSPARENT) != 0;
    EXPECT_EQ(transparent, c.transparent) << c.why;
  }
}

TEST(ResizePlacement, OnlyAFullPlacementIsRestored) {
  UseCleanRegistryKey();
  WINDOWPLACEMENT wp = {};
  wp.length = sizeof wp;
  wp.showCmd = SW_SHOWNORMAL;
  wp.rcNormalPosition = CRect(50, 60, 450, 360);
  // The placement followed by what a longer value would carry on.
  BYTE value[sizeof wp + 4] = {};
  memcpy(value, &wp, sizeof wp);
  struct Case {
    UINT bytes;
    bool restored;
  } cases[] = {{sizeof wp, true}, {40, false}, {sizeof wp + 4, false}};
  for (const Case& c : cases) {
    theApp.WriteProfileBinary("Load", "WindowPlacement", value, c.bytes);
    CSizingDlg dlg;
    CSize before = dlg.Size();
    dlg.LoadPlacement("Load");
    CRect rect;
    dlg.GetWindowRect(&rect);
    EXPECT_EQ(rect == wp.rcNormalPosition, c.restored) << c.bytes;
    if (!c.restored) EXPECT_EQ(dlg.Size(), before);
  }
}

// Leaves its value for the Python check of the stored bytes.
TEST(ResizePlacement, AWindowClosedMinimisedIsStoredNormal) {
  UseCleanRegistryKey();
  CRect normal;
  {
    CSizingDlg dlg;
    dlg.AutoLoadPlacement("Minimised");
    dlg.GetWindowRect(&normal);
    dlg.ShowWindow(SW_SHOW);
    dlg.ShowWindow(SW_MINIMIZE);
    ASSERT_TRUE(dlg.IsIconic());
  }
  LPBYTE data = nullptr;
  UINT size = 0;
  ASSERT_TRUE(theApp.GetProfileBinary("Minimised", "WindowPlacement", &data, &size));
  ASSERT_EQ(size, 44u);
  WINDOWPLACEMENT stored;
  memcpy(&stored, data, sizeof stored);
  delete[] data;
  EXPECT_EQ(stored.showCmd, static_cast<UINT>(SW_SHOWNORMAL));
  CSizingDlg again;
  again.AutoLoadPlacement("Minimised");
  EXPECT_FALSE(again.IsIconic());
}

namespace {
class CPage : public CXTResizePropertyPage {
 public:
  explicit CPage(UINT nTemplate) : CXTResizePropertyPage(nTemplate) {}
  BOOL OnInitDialog() override {
    CXTResizePropertyPage::OnInitDialog();
    SetAnchor(IDC_STRETCH, CXTAnchorRect(0, 0, 1, 0));
    return TRUE;
  }
};

CRect RectInSheet(CWnd& sheet, HWND hWnd) {
  CRect rect;
  ::GetWindowRect(hWnd, &rect);
  sheet.ScreenToClient(&rect);
  return rect;
}
}  // namespace

TEST(ResizeSheet, APageFirstShownAfterGrowingTakesTheWholeGrowth) {
  CPage one(IDD_PAGE_ONE), two(IDD_PAGE_TWO);
  CXTResizePropertySheet sheet("Sheet");
  sheet.AddPage(&one);
  sheet.AddPage(&two);
  ASSERT_TRUE(sheet.Create());
  EXPECT_TRUE(sheet.GetStyle() & WS_THICKFRAME);
  EXPECT_TRUE(::GetDlgItem(sheet.m_hWnd, XT_IDC_SIZEGRIP));
  EXPECT_FALSE(::GetDlgItem(one.m_hWnd, XT_IDC_SIZEGRIP));  // pages never have one
  EXPECT_EQ(two.m_hWnd, nullptr);

  CRect pageBefore = RectInSheet(sheet, one.m_hWnd);
  CRect editBefore = RectInSheet(one, one.GetDlgItem(IDC_STRETCH)->m_hWnd);
  CRect rect;
  sheet.GetWindowRect(&rect);
  sheet.SetWindowPos(nullptr, 0, 0, rect.Width() + 40, rect.Height() + 30, SWP_NOMOVE | SWP_NOZORDER);
  CRect pageAfter = RectInSheet(sheet, one.m_hWnd);
  ExpectMoved(pageBefore, pageAfter, 0, 0, 40, 30, "the shown page stretches");
  ExpectMoved(editBefore, RectInSheet(one, one.GetDlgItem(IDC_STRETCH)->m_hWnd), 0, 0, 40, 0, "its control too");

  sheet.SetActivePage(1);
  ASSERT_TRUE(two.m_hWnd);
  EXPECT_EQ(RectInSheet(sheet, two.m_hWnd), pageAfter);
  CRect editTwo = RectInSheet(two, two.GetDlgItem(IDC_STRETCH)->m_hWnd);
  EXPECT_EQ(editTwo.Width(), editBefore.Width() + 40);
  sheet.DestroyWindow();
}

TEST(ResizeSheet, SystemMenuHasEachSizingCommandOnce) {
  CPage one(IDD_PAGE_ONE);
  CXTResizePropertySheet sheet("Sheet");
  sheet.AddPage(&one);
  ASSERT_TRUE(sheet.Create());
  HMENU hMenu = ::GetSystemMenu(sheet.m_hWnd, FALSE);
  ASSERT_TRUE(hMenu);
  for (UINT command : {SC_RESTORE, SC_SIZE, SC_MINIMIZE, SC_MAXIMIZE}) {
    int found = 0;
    for (int i = 0; i < ::GetMenuItemCount(hMenu); ++i) found += ::GetMenuItemID(hMenu, i) == command;
    EXPECT_EQ(found, 1) << command;
  }
  sheet.DestroyWindow();
}

TEST(ResizeSheet, APageIsDrawnStretchedAfterResizing) {
  CPage one(IDD_PAGE_ONE);
  CXTResizePropertySheet sheet("Sheet");
  sheet.AddPage(&one);
  ASSERT_TRUE(sheet.Create());
  HWND edit = one.GetDlgItem(IDC_STRETCH)->m_hWnd;
  CRect before = RectInSheet(one, edit);
  Screenshot small(one.m_hWnd);
  small.Save(BRENNICOR_TEST_WORK "/page_before_resizing.bmp");
  CRect rect;
  sheet.GetWindowRect(&rect);
  sheet.SetWindowPos(nullptr, 0, 0, rect.Width() + 60, rect.Height() + 40, SWP_NOMOVE | SWP_NOZORDER);
  Screenshot large(one.m_hWnd);
  large.Save(BRENNICOR_TEST_WORK "/page_after_resizing.bmp");
  EXPECT_EQ(large.Width(), small.Width() + 60);
  EXPECT_EQ(large.Height(), small.Height() + 40);
  // The edit's top border reaches beyond its old right edge only after resizing.
  COLORREF border = small.Pixel(before.left + 30, before.top);
  COLORREF page = small.Pixel(before.right + 30, before.top);
  ASSERT_NE(border, page);
  EXPECT_EQ(large.Pixel(before.right + 30, before.top), border);
  EXPECT_EQ(large.Pixel(before.right + 70, before.top), page);
  sheet.DestroyWindow();
}

TEST(ResizeSheet, AWizardLaysEachPageOutAfresh) {
  CPage one(IDD_PAGE_ONE), two(IDD_PAGE_TWO);
  CXTResizePropertySheet wizard("Wizard");
  wizard.AddPage(&one);
  wizard.AddPage(&two);
  wizard.SetWizardMode();
  ASSERT_TRUE(wizard.Create());
  HWND next = ::GetDlgItem(wizard.m_hWnd, 0x3024);
  ASSERT_TRUE(next);
  CRect client, button;
  wizard.GetClientRect(&client);
  button = RectInSheet(wizard, next);
  CSize fromCorner(client.right - button.left, client.bottom - button.top);
  CRect pageBefore = RectInSheet(wizard, one.m_hWnd);

  CRect rect;
  wizard.GetWindowRect(&rect);
  wizard.SetWindowPos(nullptr, 0, 0, rect.Width() + 30, rect.Height() + 20, SWP_NOMOVE | SWP_NOZORDER);
  wizard.SetActivePage(1);
  wizard.SetActivePage(0);  // laid out again from the start: nothing moves twice
  wizard.GetClientRect(&client);
  button = RectInSheet(wizard, next);
  EXPECT_EQ(CSize(client.right - button.left, client.bottom - button.top), fromCorner);
  ExpectMoved(pageBefore, RectInSheet(wizard, one.m_hWnd), 0, 0, 30, 20, "the first page");
  ExpectMoved(pageBefore, RectInSheet(wizard, two.m_hWnd), 0, 0, 30, 20, "the second page");
  wizard.DestroyWindow();
}
