// The toolkit's edit, button, hyperlink and extended combo box, attached to
// the controls of a modeless host dialog.
#include <gtest/gtest.h>

#include <vector>

#include "controls_test_resource.h"
#include "dialog_robot.h"
#include "screenshot.h"
#include "classlib/dialog.h"
#include "toolkit/common/SharedState.h"
#include "toolkit/controls/Button.h"
#include "toolkit/controls/ComboBoxEx.h"
#include "toolkit/controls/ControlMessages.h"
#include "toolkit/controls/Edit.h"
#include "toolkit/controls/HyperLink.h"
#include "toolkit_resource.h"
#include "waiting.h"

namespace {

// Message boxes are answered at once and remembered.
class CTestApp : public CWinApp {
 public:
  CTestApp() : CWinApp("Controls") {}
  std::vector<CString> boxes;
  int DoMessageBox(LPCSTR lpszPrompt, UINT, UINT) override {
    boxes.push_back(lpszPrompt);
    return IDOK;
  }
};
CTestApp theApp;

// Opens nothing: records what it was asked and answers with a set code.
std::vector<CString> g_opened;
INT_PTR g_shellAnswer = 42;
HINSTANCE WINAPI FakeShellExecute(HWND, LPCSTR verb, LPCSTR file, LPCSTR, LPCSTR, INT) {
  g_opened.push_back(CString(verb) + " " + file);
  return reinterpret_cast<HINSTANCE>(g_shellAnswer);
}

// Puts the fake shell in place for the life of the object.
struct FakeShell {
  FakeShell() : saved(g_xtShellApi) { g_xtShellApi.execute = &FakeShellExecute; }
  ~FakeShell() { g_xtShellApi = saved; }
  CXTShellApi saved;
};

class CTestButton : public CXTButton {
 public:
  using CXTButton::m_bHot;
  using CXTButton::m_dwLook;
};

class CHostDlg : public CDialog {
 public:
  CHostDlg() : CDialog(IDD_HOST) {
    Create(IDD_HOST);
    m_link.SubclassDlgItem(IDC_LINK, this);
    m_centred.SubclassDlgItem(IDC_CENTRED_LINK, this);
    m_button.SubclassDlgItem(IDC_BUTTON, this);
    m_edit.SubclassDlgItem(IDC_EDIT, this);
    PumpWaiting();
  }
  ~CHostDlg() override { DestroyWindow(); }
  CXTHyperLink m_link, m_centred;
  CTestButton m_button;
  CXTEdit m_edit;
  int clicks = 0;
  void OnButton() { ++clicks; }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CHostDlg, CDialog)
  ON_BN_CLICKED(IDC_BUTTON, OnButton)
END_MESSAGE_MAP()

// Runs step with the cursor at point. Other tests of the run share the
// desktop's cursor: a step during which it moved is run again.
template <class Step>
auto WithCursorAt(CPoint point, Step step) {
  for (int attempt = 0;; ++attempt) {
    MoveCursor(point);
    auto result = step();
    CPoint now;
    ::GetCursorPos(&now);
    if (now == point || attempt == 20) return result;
  }
}

}  // namespace

TEST(HyperLink, OpensItsCaptionWhenNoTargetWasSet) {
  CHostDlg host;
  EXPECT_STREQ(host.m_link.GetLinkTarget(), "docs\\readme.txt");
  EXPECT_TRUE(host.m_link.GetStyle() & SS_NOTIFY);
  FakeShell shell;
  g_opened.clear();
  g_shellAnswer = 42;
  CRect rect;
  host.m_link.GetWindowRect(&rect);
  WithCursorAt(CPoint(rect.left + 3, rect.top + 3), [&] {
    g_opened.clear();
    return host.m_link.SendMessage(WM_LBUTTONDOWN, 0, MAKELPARAM(3, 3));
  });
  ASSERT_EQ(g_opened.size(), 1u);
  EXPECT_STREQ(g_opened[0], "open docs\\readme.txt");
  EXPECT_TRUE(host.m_link.IsVisitedState());
}

TEST(HyperLink, ACentredLinkReactsOnlyOverItsText) {
  CHostDlg host;
  CXTHyperLink& link = host.m_centred;
  FakeShell shell;
  CRect rect;
  link.GetWindowRect(&rect);
  CPoint blank(rect.left + 2, rect.CenterPoint().y), text = rect.CenterPoint();
  EXPECT_FALSE(WithCursorAt(blank, [&] { return link.IsCursorOverText(); }));
  EXPECT_TRUE(WithCursorAt(text, [&] { return link.IsCursorOverText(); }));
  size_t opened = WithCursorAt(blank, [&] {
    g_opened.clear();
    link.SendMessage(WM_LBUTTONDOWN, 0, MAKELPARAM(2, 2));
    return g_opened.size();
  });
  EXPECT_EQ(opened, 0u);
  EXPECT_FALSE(link.IsVisitedState());
  opened = WithCursorAt(text, [&] {
    g_opened.clear();
    link.SendMessage(WM_LBUTTONDOWN, 0, MAKELPARAM(rect.Width() / 2, 2));
    return g_opened.size();
  });
  EXPECT_EQ(opened, 1u);
}

TEST(HyperLink, ShellFailuresAreExplained) {
  struct Case {
    INT_PTR code;
    const char* text;  // null: no box
  } cases[] = {
      {31, "There is no application associated with the given file name extension."},
      {2, "The specified file was not found."},
      {0, "The operating system is out of memory or resources."},
      {12, "An unknown error number 12 occured."},
      {33, nullptr},
  };
  CHostDlg host;
  FakeShell shell;
  for (const Case& c : cases) {
    theApp.boxes.clear();
    g_shellAnswer = c.code;
    EXPECT_EQ(reinterpret_cast<INT_PTR>(host.m_link.OpenTarget("x.unknown", SW_SHOW)), c.code);
    if (!c.text) {
      EXPECT_TRUE(theApp.boxes.empty());
      continue;
    }
    ASSERT_EQ(theApp.boxes.size(), 1u) << c.code;
    EXPECT_STREQ(theApp.boxes[0], c.text);
  }
}

TEST(Button, ADoubleClickIsTwoPresses) {
  CHostDlg host;
  EXPECT_TRUE((host.m_button.GetStyle() & 0x0F) == BS_OWNERDRAW);
  const UINT presses[] = {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_LBUTTONUP};
  for (UINT message : presses) host.m_button.SendMessage(message, MK_LBUTTON, MAKELPARAM(5, 5));
  PumpWaiting();
  EXPECT_EQ(host.clicks, 2);
}

TEST(Button, ImagePlacement) {
  CHostDlg host;
  CXTButton& button = host.m_button;
  CRect item;
  button.GetClientRect(&item);
  HICON icon = static_cast<HICON>(::CopyImage(::LoadIconA(nullptr, IDI_APPLICATION), IMAGE_ICON, 16, 16, 0));
  struct Case {
    const char* text;
    DWORD look;
    UINT state;
    BOOL pushedImage;
    int x, y;  // expected, -1 for the centre
    const char* why;
  } cases[] = {
      {"", BS_XT_TWOROWS, 0, FALSE, -1, -1, "no text: centred horizontally"},
      {"", BS_XT_TWOROWS, ODS_SELECTED, FALSE, -2, -2, "pressed without a pushed image: one pixel lower right"},
      {"", BS_XT_TWOROWS, ODS_SELECTED, TRUE, -1, -1, "pressed with a pushed image: stays"},
      {"Text", BS_XT_FLAT, 0, FALSE, 4, -1, "beside text: at the gap"},
  };
  CDC* pDC = button.GetDC();
  for (const Case& c : cases) {
    button.SetWindowText(c.text);
    button.SetLookStyle(c.look, FALSE);
    button.SetIcons(16, 16, static_cast<HICON>(::CopyImage(icon, IMAGE_ICON, 16, 16, 0)), nullptr, FALSE);
    CPoint point;
    button.GetImagePoint(point, pDC, c.state, item, c.pushedImage);
    int centreX = (item.Width() - 16) / 2, centreY = (item.Height() - 16) / 2;
    int x = c.x == -1 ? centreX : c.x == -2 ? centreX + 1 : c.x;
    int y = c.y == -1 ? centreY : c.y == -2 ? centreY + 1 : c.y;
    EXPECT_EQ(point, CPoint(x, y)) << c.why;
  }
  button.ReleaseDC(pDC);
  ::DestroyIcon(icon);
}

TEST(Button, LooksDrawTheirEdges) {
  CHostDlg host;
  CTestButton& button = host.m_button;
  button.SetWindowText("");
  CXTSharedState& shared = GetSharedState();
  COLORREF face = ::GetSysColor(COLOR_BTNFACE), light = ::GetSysColor(COLOR_BTNHIGHLIGHT);
  COLORREF shadow = ::GetSysColor(COLOR_BTNSHADOW);
  struct Case {
    DWORD look;
    BOOL hot;
    UINT state;
    COLORREF topLeft, bottomRight, inside;
    const char* why;
  } cases[] = {
      {BS_XT_FLAT, FALSE, 0, face, face, face, "flat idle: no edge"},
      {BS_XT_FLAT, TRUE, 0, light, shadow, face, "flat hot: raised"},
      {BS_XT_FLAT, FALSE, ODS_SELECTED, shadow, light, face, "flat pressed: sunken"},
      {0, FALSE, 0, light, shared.m_clrDarkShadow, face, "classic: thick raised edge"},
      {0, FALSE, ODS_SELECTED, shared.m_clrDarkShadow, light, face, "classic pressed: reversed"},
      {BS_XT_XPFLAT, TRUE, 0, shared.m_clrSelection, shared.m_clrSelection, GetToolkitColor(31), "XP hot"},
      {BS_XT_XPFLAT, FALSE, ODS_SELECTED, shared.m_clrSelection, shared.m_clrSelection, GetToolkitColor(33),
       "XP pressed"},
  };
  const int cx = 40, cy = 20;
  for (const Case& c : cases) {
    Dib32 surface(cx, cy);
    button.m_dwLook = c.look;
    button.m_bHot = c.hot;
    DRAWITEMSTRUCT dis = {};
    dis.CtlType = ODT_BUTTON;
    dis.itemState = c.state;
    dis.hwndItem = button.m_hWnd;
    dis.hDC = surface.Dc();
    dis.rcItem = CRect(0, 0, cx, cy);
    button.DrawItem(&dis);
    EXPECT_EQ(surface.Pixel(0, 0), c.topLeft) << c.why;
    EXPECT_EQ(surface.Pixel(cx - 1, cy - 1), c.bottomRight) << c.why;
    EXPECT_EQ(surface.Pixel(cx / 2, cy / 2), c.inside) << c.why;
  }
}

namespace {
bool ItemEnabled(HMENU menu, UINT id) { return !(::GetMenuState(menu, id, MF_BYCOMMAND) & (MF_GRAYED | MF_DISABLED)); }

void PutTextOnClipboard(HWND owner, const char* text) {
  ::OpenClipboard(owner);
  ::EmptyClipboard();
  if (text) {
    HGLOBAL block = ::GlobalAlloc(GMEM_MOVEABLE, strlen(text) + 1);
    memcpy(::GlobalLock(block), text, strlen(text) + 1);
    ::GlobalUnlock(block);
    ::SetClipboardData(CF_TEXT, block);
  }
  ::CloseClipboard();
}
}  // namespace

TEST(Edit, MenuItemsAreEnabledOnlyWhenTheyCanAct) {
  struct Case {
    const char* text;
    bool select;
    const char* clipboard;
    bool cut, paste, selectAll;
    const char* why;
  } cases[] = {
      {"", false, nullptr, false, false, false, "empty edit, empty clipboard"},
      {"abc", false, "x", false, true, true, "text without a selection, text on the clipboard"},
      {"abc", true, nullptr, true, false, true, "a selection, nothing to paste"},
  };
  CHostDlg host;
  for (const Case& c : cases) {
    host.m_edit.SetWindowText(c.text);
    host.m_edit.SetSel(0, c.select ? -1 : 0);
    PutTextOnClipboard(host.m_hWnd, c.clipboard);
    HMENU menu = ::LoadMenuA(AfxGetResourceHandle(), MAKEINTRESOURCEA(4519));
    HMENU popup = ::GetSubMenu(menu, 1);
    host.m_edit.SendMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(popup), 1);
    EXPECT_EQ(ItemEnabled(popup, ID_XT_EDIT_CUT), c.cut) << c.why;
    EXPECT_EQ(ItemEnabled(popup, ID_XT_EDIT_COPY), c.cut) << c.why;
    EXPECT_EQ(ItemEnabled(popup, ID_XT_EDIT_CLEAR), c.cut) << c.why;
    EXPECT_EQ(ItemEnabled(popup, ID_XT_EDIT_PASTE), c.paste) << c.why;
    EXPECT_EQ(ItemEnabled(popup, ID_XT_EDIT_SELECT_ALL), c.selectAll) << c.why;
    EXPECT_FALSE(ItemEnabled(popup, ID_XT_EDIT_UNDO)) << c.why;
    host.m_edit.SendMessage(WM_MENUSELECT, MAKEWPARAM(0, 0xFFFF), 0);  // closed: the cool menu lets go of it
    ::DestroyMenu(menu);
  }
}

TEST(ComboBoxEx, ItemsGoInThroughInsertItem) {
  CHostDlg host;
  CXTComboBoxEx combo;
  ASSERT_TRUE(combo.Create(WS_CHILD | WS_VISIBLE | CBS_DROPDOWN, CRect(10, 90, 150, 200), &host, 2000));
  char text[] = "first";
  COMBOBOXEXITEMA item = {};
  item.mask = CBEIF_TEXT;
  item.iItem = -1;
  item.pszText = text;
  EXPECT_EQ(combo.InsertItem(&item), 0);
  EXPECT_EQ(combo.InsertItem(&item), 1);
  EXPECT_EQ(combo.GetCount(), 2);
}

TEST(Button, BitmapsLoadOrReportMissing) {
  CHostDlg host;
  EXPECT_TRUE(host.m_button.LoadButtonBitmap(25, 34, IDB_XT_TIP_BULB, FALSE));
  EXPECT_FALSE(host.m_button.LoadButtonBitmap(25, 34, 4999, FALSE));
}

TEST(Button, HoverFollowsTheCursorForHoverLooks) {
  struct Case {
    DWORD look;
    bool hovers;
  } cases[] = {{BS_XT_FLAT, true}, {BS_XT_SEMIFLAT, true}, {BS_XT_XPFLAT, true}, {0, false}, {BS_XT_SHOWFOCUS, false}};
  CHostDlg host;
  CTestButton& button = host.m_button;
  CRect rect;
  button.GetWindowRect(&rect);
  for (const Case& c : cases) {
    button.SetLookStyle(c.look, FALSE);
    button.m_bHot = FALSE;
    bool hot = WithCursorAt(rect.CenterPoint(), [&] {
      button.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
      return button.m_bHot != FALSE;
    });
    EXPECT_EQ(hot, c.hovers) << c.look;
    bool stillHot = WithCursorAt(CPoint(rect.right + 40, rect.bottom + 40), [&] {
      button.SendMessage(WM_TIMER, 1, 0);
      return button.m_bHot != FALSE;
    });
    EXPECT_FALSE(stillHot) << c.look;
  }
}

TEST(Button, APressedHalftoneLookIsCheckered) {
  CHostDlg host;
  CTestButton& button = host.m_button;
  button.SetWindowText("");
  button.m_dwLook = BS_XT_HILITEPRESSED;
  Dib32 surface(40, 20);
  DRAWITEMSTRUCT dis = {};
  dis.CtlType = ODT_BUTTON;
  dis.itemState = ODS_SELECTED;
  dis.hwndItem = button.m_hWnd;
  dis.hDC = surface.Dc();
  dis.rcItem = CRect(0, 0, 40, 20);
  button.DrawItem(&dis);
  COLORREF a = surface.Pixel(20, 10), b = surface.Pixel(21, 10);
  EXPECT_NE(a, b);
  for (COLORREF c : {a, b}) EXPECT_TRUE(c == GetSharedState().m_clrFace || c == GetSharedState().m_clrHighlight);
}

TEST(Button, OnlyTheLatestSetUpPostActs) {
  CHostDlg host;
  CXTButton button;
  ASSERT_TRUE(button.Create("Made", WS_CHILD | BS_PUSHBUTTON, CRect(0, 0, 60, 20), &host, 2001));
  auto ownerDrawn = [&] { return (button.GetStyle() & 0x0F) == BS_OWNERDRAW; };
  EXPECT_FALSE(ownerDrawn());
  button.SendMessage(XTWM_INITCONTROL, 0, 1);  // not the count of any post
  EXPECT_FALSE(ownerDrawn());
  PumpWaiting();
  EXPECT_TRUE(ownerDrawn());
  button.DestroyWindow();
}
