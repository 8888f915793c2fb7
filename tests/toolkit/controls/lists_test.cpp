// The edit list box with its strip and in-place edit, the list's band kept
// once under the anchor layout, and the check list box.
#include <gtest/gtest.h>

#include <vector>

#include "classlib/dialog.h"
#include "controls_test_resource.h"
#include "toolkit/controls/BrowseButton.h"
#include "toolkit/controls/CheckListBox.h"
#include "toolkit/controls/ControlMessages.h"
#include "toolkit/controls/EditListBox.h"
#include "toolkit/controls/ImageStrip.h"
#include "toolkit/controls/ItemEdit.h"
#include "toolkit/dialogs/ResizeDialog.h"
#include "screenshot.h"
#include "toolkit_resource.h"
#include "waiting.h"

namespace {

// Counts the records that reach WM_DELETEITEM, that is, the ones freed.
class CCountingCheckList : public CXTCheckListBox {
 public:
  CCountingCheckList() : CXTCheckListBox(IDB_XT_CHECKBOXES) {}
  int freed = 0;
  void DeleteItem(LPDELETEITEMSTRUCT lpDIS) override {
    if (lpDIS->itemData) ++freed;
    CXTCheckListBox::DeleteItem(lpDIS);
  }
};

// Hears the lists' notifications in order.
class CListsDlg : public CDialog {
 public:
  CListsDlg() : CDialog(IDD_LISTS) {
    Create(IDD_LISTS);
    m_edit.SubclassDlgItem(IDC_EDIT_LIST, this);
    m_check.SubclassDlgItem(IDC_CHECK_LIST, this);
    m_extended.SubclassDlgItem(IDC_CHECK_LIST_EXTENDED, this);
    PumpWaiting();
  }
  ~CListsDlg() override {
    if (m_hWnd) DestroyWindow();
  }
  void Fill(std::initializer_list<const char*> items) {
    m_edit.ResetContent();
    for (const char* item : items) m_edit.AddString(item);
    heard.clear();
  }
  CString Item(int index) {
    CString text;
    m_edit.GetText(index, text);
    return text;
  }
  CXTEditListBox m_edit;
  CCountingCheckList m_check, m_extended;
  std::vector<UINT> heard;

 protected:
  BOOL OnCommand(WPARAM wParam, LPARAM lParam) override {
    if (LOWORD(wParam) == IDC_EDIT_LIST || LOWORD(wParam) == IDC_CHECK_LIST ||
        LOWORD(wParam) == IDC_CHECK_LIST_EXTENDED) {
      UINT code = HIWORD(wParam);
      if (code >= XTLBN_ENDEDIT || code == XTCLBN_CHKCHANGE) heard.push_back(code);
    }
    return CDialog::OnCommand(wParam, lParam);
  }
};

MSG Key(HWND hWnd, UINT message, WPARAM key, bool alt) {
  MSG msg = {hWnd, message, key, alt ? (1 << 29) : 0};
  return msg;
}

}  // namespace

TEST(EditListBox, CommandsNotifyInOrder) {
  CListsDlg dlg;
  CXTEditListBox& list = dlg.m_edit;
  struct Case {
    std::vector<const char*> items;
    int selected;
    void (CXTEditListBox::*command)();
    std::vector<const char*> after;
    int selectedAfter;
    std::vector<UINT> heard;
    const char* why;
  } cases[] = {
      {{"a", "b", "c"}, 2, &CXTEditListBox::DeleteItem, {"a", "b"}, 1, {XTLBN_DELETEITEM, XTLBN_DELETED},
       "delete the last: the new last is selected"},
      {{"a"}, 0, &CXTEditListBox::DeleteItem, {}, -1, {XTLBN_DELETEITEM, XTLBN_DELETED}, "delete the only item"},
      {{"a", "b"}, -1, &CXTEditListBox::DeleteItem, {"a", "b"}, -1, {XTLBN_DELETEITEM, XTLBN_DELETED},
       "nothing selected: only the notices"},
      {{"a", "b", "c"}, 0, &CXTEditListBox::MoveItemUp, {"a", "b", "c"}, 0, {XTLBN_MOVEUP}, "up on the first"},
      {{"a", "b", "c"}, 1, &CXTEditListBox::MoveItemUp, {"b", "a", "c"}, 0, {XTLBN_MOVEUP}, "up"},
      {{"a", "b", "c"}, 1, &CXTEditListBox::MoveItemDown, {"a", "c", "b"}, 2, {XTLBN_MOVEDOWN}, "down"},
      {{"a", "b", "c"}, 2, &CXTEditListBox::MoveItemDown, {"a", "b", "c"}, 2, {XTLBN_MOVEDOWN}, "down on the last"},
  };
  for (const Case& c : cases) {
    list.ResetContent();
    for (const char* item : c.items) list.AddString(item);
    list.SetCurSel(c.selected);
    dlg.heard.clear();
    (list.*c.command)();
    ASSERT_EQ(list.GetCount(), static_cast<int>(c.after.size())) << c.why;
    for (size_t i = 0; i < c.after.size(); ++i) EXPECT_STREQ(dlg.Item(static_cast<int>(i)), c.after[i]) << c.why;
    EXPECT_EQ(list.GetCurSel(), c.selectedAfter) << c.why;
    EXPECT_EQ(dlg.heard, c.heard) << c.why;
  }
}

TEST(EditListBox, KeysReachTheCommands) {
  CListsDlg dlg;
  CXTEditListBox& list = dlg.m_edit;
  dlg.Fill({"a", "b"});
  list.SetCurSel(0);
  MSG altUp = Key(list.m_hWnd, WM_SYSKEYUP, VK_UP, true);
  EXPECT_TRUE(list.PreTranslateMessage(&altUp));
  MSG altDown = Key(list.m_hWnd, WM_SYSKEYUP, VK_DOWN, true);
  EXPECT_TRUE(list.PreTranslateMessage(&altDown));
  EXPECT_STREQ(dlg.Item(1), "a");
  MSG del = Key(list.m_hWnd, WM_KEYUP, VK_DELETE, false);
  EXPECT_TRUE(list.PreTranslateMessage(&del));
  EXPECT_EQ(list.GetCount(), 1);
  EXPECT_EQ(dlg.heard, (std::vector<UINT>{XTLBN_MOVEUP, XTLBN_MOVEDOWN, XTLBN_DELETEITEM, XTLBN_DELETED}));
}

TEST(EditListBox, InPlaceEditsEndOnce) {
  struct Case {
    bool newItem;
    const char* typed;  // null: Escape
    std::vector<const char*> after;
    UINT heard;
    const char* why;
  } cases[] = {
      {false, "changed", {"changed", "b"}, XTLBN_ENDEDIT, "Enter on a changed item"},
      {false, nullptr, {"a", "b"}, XTLBN_NOCHANGE, "Escape leaves the item"},
      {false, "a", {"a", "b"}, XTLBN_NOCHANGE, "Enter on the same text"},
      {true, "c", {"a", "b", "c"}, XTLBN_NEWITEM, "a new item with text"},
      {true, "", {"a", "b"}, XTLBN_NOCHANGE, "a new item left empty is removed"},
      {true, nullptr, {"a", "b"}, XTLBN_NOCHANGE, "a new item cancelled"},
  };
  CListsDlg dlg;
  CXTEditListBox& list = dlg.m_edit;
  for (const Case& c : cases) {
    dlg.Fill({"a", "b"});
    list.SetCurSel(0);
    list.EditItem(c.newItem);
    CXTItemEdit* edit = list.GetItemEdit();
    ASSERT_NE(edit, nullptr) << c.why;
    EXPECT_EQ(edit->GetDlgCtrlID(), IDC_XT_ITEMEDIT);
    if (c.typed) edit->SetWindowText(c.typed);
    edit->SendMessage(WM_CHAR, c.typed ? VK_RETURN : VK_ESCAPE, 0);
    edit->SendMessage(WM_CHAR, c.typed ? VK_RETURN : VK_ESCAPE, 0);  // a second key is not a second end
    PumpWaiting();
    EXPECT_EQ(list.GetItemEdit(), nullptr);
    ASSERT_EQ(list.GetCount(), static_cast<int>(c.after.size())) << c.why;
    for (size_t i = 0; i < c.after.size(); ++i) EXPECT_STREQ(dlg.Item(static_cast<int>(i)), c.after[i]) << c.why;
    EXPECT_EQ(dlg.heard, std::vector<UINT>{c.heard}) << c.why;
  }
}

TEST(EditListBox, TheStripTakesABandUnlessAskedNot) {
  for (DWORD style : {DWORD(BES_XT_CHOOSEDIR), DWORD(BES_XT_CHOOSEDIR | LBS_XT_NOTOOLBAR)}) {
    CDialog host;
    host.Create(IDD_RESIZABLE_LIST);
    CRect before;
    ::GetWindowRect(::GetDlgItem(host.m_hWnd, IDC_EDIT_LIST), &before);
    CXTEditListBox list;
    list.SetListEditStyle("Items:", style);
    list.SubclassDlgItem(IDC_EDIT_LIST, &host);
    PumpWaiting();
    CRect after;
    list.GetWindowRect(&after);
    HWND strip = ::GetDlgItem(host.m_hWnd, IDC_XT_EDITGROUP);
    int band = (style & LBS_XT_NOTOOLBAR) ? 0 : 22;
    EXPECT_EQ(after.top, before.top + band) << style;
    EXPECT_EQ(after.bottom, before.bottom) << style;
    EXPECT_EQ(strip != nullptr, band != 0) << style;
    if (strip) {
      CRect rect;
      ::GetWindowRect(strip, &rect);
      EXPECT_EQ(rect, CRect(before.left, before.top, before.right, before.top + band));
      char title[32];
      ::GetWindowTextA(strip, title, sizeof title);
      EXPECT_STREQ(title, "Items:");
      for (UINT id : {IDC_XT_EDITGROUP_NEW, IDC_XT_EDITGROUP_DELETE, IDC_XT_EDITGROUP_UP, IDC_XT_EDITGROUP_DOWN})
        EXPECT_TRUE(::GetDlgItem(strip, id)) << id;
    }
    list.DestroyWindow();
    host.DestroyWindow();
  }
}

namespace {
// A resizable dialog whose edit list is made by the template or by Create,
// and anchored before or after its strip took its band.
class CResizableListDlg : public CXTResizeDialog {
 public:
  explicit CResizableListDlg(bool created) : CXTResizeDialog(IDD_RESIZABLE_LIST), m_created(created) {
    Create(IDD_RESIZABLE_LIST);
    PumpWaiting();
  }
  ~CResizableListDlg() override {
    if (m_hWnd) DestroyWindow();
  }
  BOOL OnInitDialog() override {
    CXTResizeDialog::OnInitDialog();
    HWND templ = ::GetDlgItem(m_hWnd, IDC_EDIT_LIST);
    ::GetWindowRect(templ, &m_outer);
    ScreenToClient(&m_outer);
    if (m_created) {
      ::DestroyWindow(templ);
      m_list.Create(WS_CHILD | WS_VISIBLE | LBS_OWNERDRAWVARIABLE | LBS_HASSTRINGS | WS_VSCROLL, m_outer, this,
                    IDC_EDIT_LIST);  // sets itself up at once: the band is taken before the anchor
    } else {
      m_list.SubclassDlgItem(IDC_EDIT_LIST, this);  // sets itself up later: the anchor comes first
    }
    SetAnchor(IDC_EDIT_LIST, CXTAnchorRect(0, 0, 1, 1));
    HWND browse = ::GetDlgItem(m_hWnd, IDC_BROWSE_EDIT);
    ::GetWindowRect(browse, &m_browseOuter);
    ScreenToClient(&m_browseOuter);
    if (m_created) {
      ::DestroyWindow(browse);
      m_browse.Create(WS_CHILD | WS_VISIBLE | WS_BORDER | ES_AUTOHSCROLL, m_browseOuter, this, IDC_BROWSE_EDIT);
      PumpWaiting();  // its set-up is posted: let it take its button's share before the anchor
    } else {
      m_browse.SubclassDlgItem(IDC_BROWSE_EDIT, this);
    }
    SetAnchor(IDC_BROWSE_EDIT, CXTAnchorRect(0, 1, 1, 1));
    return TRUE;
  }
  CRect BrowseRect() const {
    CRect rect;
    m_browse.GetWindowRect(&rect);
    ScreenToClient(&rect);
    return rect;
  }
  CRect ListRect() const {
    CRect rect;
    m_list.GetWindowRect(&rect);
    ScreenToClient(&rect);
    return rect;
  }
  void Grow(int d) {
    CRect rect;
    GetWindowRect(&rect);
    SetWindowPos(nullptr, 0, 0, rect.Width() + d, rect.Height() + d, SWP_NOMOVE | SWP_NOZORDER);
  }
  bool m_created;
  CRect m_outer, m_browseOuter;
  CXTEditListBox m_list;
  CXTBrowseEdit m_browse;
};
}  // namespace

TEST(EditListBox, TheBandAndTheBrowseButtonTakeTheirShareOnceWhateverTheOrder) {
  for (bool created : {true, false}) {
    CResizableListDlg dlg(created);
    for (int step = 1; step <= 3; ++step) {
      dlg.Grow(10);
      CRect rect = dlg.ListRect();
      EXPECT_EQ(rect.top, dlg.m_outer.top + 22) << created << " step " << step;
      EXPECT_EQ(rect.bottom, dlg.m_outer.bottom + 10 * step) << created << " step " << step;
      EXPECT_EQ(rect.right, dlg.m_outer.right + 10 * step) << created << " step " << step;
      CRect browse = dlg.BrowseRect();
      int share = ::GetSystemMetrics(SM_CXEDGE) + XT_BROWSE_BUTTON_WIDTH;
      EXPECT_EQ(browse.left, dlg.m_browseOuter.left) << created << " step " << step;
      EXPECT_EQ(browse.right, dlg.m_browseOuter.right + 10 * step - share) << created << " step " << step;
      CRect button;
      ::GetWindowRect(::GetDlgItem(dlg.m_hWnd, IDC_XT_BROWSE_BUTTON), &button);
      dlg.ScreenToClient(&button);
      EXPECT_EQ(button.right, dlg.m_browseOuter.right + 10 * step) << created << " step " << step;
    }
  }
}

namespace {
// A click at x in item index's row.
void ClickItem(CXTCheckListBox& list, int index, int x) {
  CRect item;
  list.GetItemRect(index, &item);
  list.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, item.CenterPoint().y));
  list.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(x, item.CenterPoint().y));
}
}  // namespace

TEST(CheckListBox, ClicksOnTheBoxCycleByStyle) {
  struct Case {
    UINT style;
    std::vector<int> states;  // after each click on the box
  } cases[] = {
      {BS_AUTOCHECKBOX, {1, 0, 1}},
      {BS_AUTO3STATE, {1, 2, 0}},
      {BS_CHECKBOX, {0, 0}},
      {BS_3STATE, {0, 0}},
  };
  CListsDlg dlg;
  CXTCheckListBox& list = dlg.m_check;
  for (const Case& c : cases) {
    list.ResetContent();
    list.AddString("one");
    list.AddString("two");
    list.m_nStyle = c.style;
    dlg.heard.clear();
    for (int expected : c.states) {
      ClickItem(list, 1, 2);
      EXPECT_EQ(list.GetCheck(1), expected) << c.style;
    }
    bool automatic = c.style == BS_AUTOCHECKBOX || c.style == BS_AUTO3STATE;
    EXPECT_EQ(dlg.heard.size(), automatic ? c.states.size() : 0u) << c.style;
  }
}

TEST(CheckListBox, AClickOnTheTextSelectsWithoutChecking) {
  CListsDlg dlg;
  CXTCheckListBox& list = dlg.m_check;
  list.m_nStyle = BS_AUTOCHECKBOX;
  list.AddString("one");
  list.AddString("two");
  ClickItem(list, 1, 60);
  EXPECT_EQ(list.GetCurSel(), 1);
  EXPECT_EQ(list.GetCheck(1), 0);
  EXPECT_TRUE(dlg.heard.empty());
}

TEST(CheckListBox, TwoStateStylesRefuseIndeterminate) {
  CListsDlg dlg;
  CXTCheckListBox& list = dlg.m_check;
  list.AddString("one");
  list.m_nStyle = BS_AUTOCHECKBOX;
  EXPECT_FALSE(list.SetCheck(0, 2));
  list.m_nStyle = BS_AUTO3STATE;
  EXPECT_TRUE(list.SetCheck(0, 2));
  EXPECT_EQ(list.GetCheck(0), 2);
  list.SetItemData(0, 77);
  EXPECT_EQ(list.GetItemData(0), 77u);  // the caller's data, not the record
  EXPECT_EQ(list.GetCheck(0), 2);
}

TEST(CheckListBox, SpaceChecksEverySelectedItemOfAnExtendedList) {
  CListsDlg dlg;
  CXTCheckListBox& list = dlg.m_extended;
  list.m_nStyle = BS_AUTOCHECKBOX;
  for (const char* item : {"one", "two", "three"}) list.AddString(item);
  list.SetSel(0, TRUE);
  list.SetSel(2, TRUE);
  list.SendMessage(LB_SETCARETINDEX, 2, 0);
  list.SendMessage(WM_KEYDOWN, VK_SPACE, 0);
  EXPECT_EQ(list.GetCheck(0), 1);
  EXPECT_EQ(list.GetCheck(1), 0);
  EXPECT_EQ(list.GetCheck(2), 1);
  EXPECT_EQ(dlg.heard, std::vector<UINT>{XTCLBN_CHKCHANGE});
}

TEST(CheckListBox, RecordsAreFreedOnResetAndDestruction) {
  int freedOnDestroy = 0;
  {
    CListsDlg dlg;
    CCountingCheckList& list = dlg.m_check;
    for (const char* item : {"one", "two", "three"}) list.AddString(item);
    for (int i = 0; i < 3; ++i) list.SetCheck(i, 1);
    list.ResetContent();
    EXPECT_EQ(list.freed, 3);
    for (const char* item : {"four", "five"}) list.AddString(item);
    list.SetCheck(0, 1);
    list.SetCheck(1, 1);
    list.DeleteString(0);
    EXPECT_EQ(list.freed, 4);
    list.DestroyWindow();
    freedOnDestroy = list.freed;
  }
  EXPECT_EQ(freedOnDestroy, 5);
}

TEST(BrowseEdit, KindZeroHasNoButtonAndKeepsItsWidth) {
  CListsDlg dlg;
  for (DWORD kind : {DWORD(0), DWORD(BES_XT_CHOOSEFILE)}) {
    CXTBrowseEdit edit;
    edit.SetBrowseStyle(kind);
    CRect rect(10, 150, 160, 170);
    ASSERT_TRUE(edit.Create(WS_CHILD | WS_VISIBLE | WS_BORDER, rect, &dlg, 3000));
    PumpWaiting();
    CRect now;
    edit.GetWindowRect(&now);
    dlg.ScreenToClient(&now);
    int share = kind ? ::GetSystemMetrics(SM_CXEDGE) + XT_BROWSE_BUTTON_WIDTH : 0;
    EXPECT_EQ(now.Width(), rect.Width() - share) << kind;
    EXPECT_EQ(edit.GetBrowseButton() != nullptr, kind != 0) << kind;
    edit.DestroyWindow();
  }
}

TEST(EditGroup, StripIconsAreTransparentWhereTheStripIsMagenta) {
  for (int image = 0; image < 4; ++image) {
    HICON icon = LoadStripIcon(IDB_XT_EDITGROUP_IMAGES, 14, image);
    ASSERT_TRUE(icon) << image;
    Dib32 surface(14, 12);
    const COLORREF back = RGB(10, 120, 200);
    HBRUSH brush = ::CreateSolidBrush(back);
    RECT all = {0, 0, 14, 12};
    ::FillRect(surface.Dc(), &all, brush);
    ::DeleteObject(brush);
    ::DrawIconEx(surface.Dc(), 0, 0, icon, 14, 12, 0, nullptr, DI_NORMAL);
    EXPECT_EQ(surface.Pixel(0, 0), back) << image;  // every image's corner is magenta in the strip
    ::DestroyIcon(icon);
  }
}
